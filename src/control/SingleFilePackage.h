// A single-file setup: the package block in the program's own file
// (core/PackageBlock.h), unpacked before the setup reads anything into a
// private folder of the run's own under the temporary folder, which is then
// the run's source folder, and removed when the run ends, however it ends.
// A program without a block (a folder package's setup.exe) runs as it is.
#pragma once

#include <memory>
#include <optional>
#include <string>

namespace control {

namespace package {
class OwnFile;
}

class SingleFilePackage {
public:
    SingleFilePackage();
    ~SingleFilePackage();
    SingleFilePackage(const SingleFilePackage&) = delete;
    SingleFilePackage& operator=(const SingleFilePackage&) = delete;

    // Looks at the program's own file and unpacks its block, with the
    // engine's own bytes as setup.exe beside the files, so that the folder is
    // a folder package (the setup kept for repair is copied from it); only
    // the payload cabinet stays in the program's file, summed with the rest
    // and read there by the extraction. nullopt: the setup runs, from Folder() or, for a
    // folder package, as ever. Else the exit code the setup ends with: 4 for a
    // damaged file, one that could not be unpacked or a file at the program's
    // name that is not the one running (a message box unless `silent`, a
    // line in the log), 1 when the user cancelled the unpacking.
    // An interactive run shows a progress window when it takes more than a
    // moment.
    std::optional<int> Unpack(bool silent);
    // The unpacked package (trailing backslash); "" for a folder package.
    const std::string& Folder() const { return folder_; }
    // The single file's own name (UTF-8, no folder); "" for a folder package.
    const std::string& FileName() const { return fileName_; }
    // Removes the unpacked package, if any (traced), and lets the program's
    // file go.
    void Remove();

private:
    // A folder package: its program's file is let go.
    std::optional<int> RunAsFolder();

    std::string folder_;
    std::string fileName_;
    // Held from the check of its block to the end of the run: the payload
    // cabinet is read through it.
    std::unique_ptr<package::OwnFile> own_;
};

}  // namespace control
