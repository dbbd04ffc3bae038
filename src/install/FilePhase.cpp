#include "install/FilePhase.h"

#include <windows.h>

#include <fstream>
#include <iterator>

#include "control/SetupState.h"
#include "install/DirectoryPath.h"
#include "install/ErrorChoiceDialog.h"
#include "install/FileMove.h"
#include "install/FileRules.h"
#include "install/FileVersion.h"
#include "install/InstallEngine.h"

using namespace filerules;

namespace {

bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool ReadWholeFile(const std::string& path, std::string& out) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    out.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return true;
}

}  // namespace

bool FilePhase::LoadFileData() {
    std::string text;
    if (!ReadWholeFile(engine_.Setup().dataPath, text)) return false;
    records_ = core::filelist::ParseFileList(text);
    engine_.SetTotalFiles(static_cast<int>(records_.size()));
    engine_.Log("TOTALFILE", std::to_string(records_.size()));
    engine_.SetStatus("Creating directories...");
    CreateDirectoryPath(engine_.UninstallFolder());
    const std::string installDir = engine_.Expand("<InstallDir>");
    CreateDirectoryPath(installDir);
    engine_.Log("DIR", installDir);
    for (const std::string& dir : core::filelist::DistinctDirectories(records_)) {
        const std::string expanded = engine_.Expand(DirectoryToCreate(dir));
        CreateDirectoryPath(expanded);
        engine_.Log("DIR", expanded);
    }
    return true;
}

bool FilePhase::InstallFiles() {
    for (size_t k = 0; k < records_.size(); ++k)
        if (InstallRecord(k, records_[k]) == Outcome::Stop) return false;
    return true;
}

FilePhase::Outcome FilePhase::InstallRecord(size_t k, const core::filelist::FileRecord& r) {
    if (ProgressSink* p = engine_.Progress()) p->SetProgressPosition(static_cast<int>(k));
    const std::string source = engine_.PayloadFilePath(k, r.fileName);
    const std::string destination = engine_.Expand(DestinationPath(r.destDir, r.fileName));
    if (GlobalFlags().cancel != 0) return Outcome::Stop;
    if (!SystemMaskMatches(r.systemMask, engine_.Setup().osName)) return Outcome::Done;

    const bool skipCopy = (HasFlag(r.flags, kFlagOnlyIfAbsent) && Exists(destination)) ||
                          engine_.Setup().features.IsExcluded(r.feature);
    if (!skipCopy) {
        if (core::filelist::IsWebItem(r.sourceLine)) {
            DownloadWebItem(r);
            if (GlobalFlags().cancel == 1) return Outcome::Stop;
        } else {
            const std::string from =
                HasFlag(r.flags, kFlagExpandContent) ? ExpandedCopy(source) : source;
            if (!CopyPayloadFile(from, destination, HasFlag(r.flags, kFlagCritical)))
                return Outcome::Stop;
        }
    }
    if (!HasFlag(r.flags, kFlagPermanent)) engine_.Log("FILE", destination);
    if (HasFlag(r.flags, kFlagSelfRegister)) StartSelfRegistration(destination);
    ApplyAttributes(destination, r.flags);
    return Outcome::Done;
}

// Copies one payload file, asking the user what to do when it fails.
bool FilePhase::CopyPayloadFile(std::string source, const std::string& destination,
                                bool critical) {
    if (IsVersionedLibrary(source) && Exists(destination) &&
        !ShouldReplaceByVersion(ReadFileVersionText(source), ReadFileVersionText(destination)))
        return true;
    for (;;) {
        // A read-only destination refuses to be replaced: its attributes are
        // reset and the file placed again. Trying first saves a look at the
        // destination for the usual new file.
        if (PlaceFile(source, destination)) return true;
        if (ResetReadOnly(destination) && PlaceFile(source, destination)) return true;

        HWND owner = engine_.Progress() ? engine_.Progress()->DialogOwner() : nullptr;
        if (critical) {
            if (!engine_.Setup().unattended)
                AskErrorChoice(owner,
                               "Corvane will abort installation, the file:\r\n" + destination +
                                   "\r\nCan't be installed.",
                               true);
            Abandon();
            return false;
        }
        // Nobody answers in an unattended run: a failed copy abandons it.
        const ErrorChoice choice =
            engine_.Setup().unattended
                ? ErrorChoice::Cancel
                : AskErrorChoice(owner,
                                 "Corvane can't copy the file:\r\n" + destination +
                                     "\r\nWhat you would like to do ?",
                                 false);
        if (choice == ErrorChoice::Ignore) return true;
        if (choice == ErrorChoice::Cancel) {
            Abandon();
            return false;
        }
    }
}

// Files extracted into the working folder are moved into place: the folder is
// deleted at the end of the run anyway, and a move costs a rename where a copy
// costs writing the file again and deleting it later. Files of a disk image
// are copied.
bool FilePhase::PlaceFile(const std::string& source, const std::string& destination) {
    if (engine_.Setup().diskImage)
        return CopyFileA(source.c_str(), destination.c_str(), FALSE) != 0;
    return fileops::MoveReplacing(source, destination);
}

bool FilePhase::ResetReadOnly(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_READONLY)) return false;
    return SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL) != 0;
}

void FilePhase::Abandon() {
    engine_.RemoveTemporaryFiles();
    GlobalFlags().cancelled = kFlagOn;
}

// Writes the source with its placeholders expanded beside it (name + "2").
std::string FilePhase::ExpandedCopy(const std::string& source) {
    std::string text;
    ReadWholeFile(source, text);
    const std::string target = source + "2";
    std::ofstream(target, std::ios::binary | std::ios::trunc) << engine_.Expand(text);
    return target;
}

void FilePhase::StartSelfRegistration(const std::string& destination) {
    std::string commandLine = "regsvr32.exe /s \"" + destination + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, NORMAL_PRIORITY_CLASS,
                       nullptr, nullptr, &startup, &process)) {
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
}

void FilePhase::ApplyAttributes(const std::string& destination, int32_t flags) {
    const DWORD current = GetFileAttributesA(destination.c_str());
    if (current == INVALID_FILE_ATTRIBUTES) return;
    const DWORD wanted = AttributesAfterInstall(current, flags);
    if (wanted != current) SetFileAttributesA(destination.c_str(), wanted);
}

// Web items are fetched by the download step, which this engine does not
// have yet: the item is reported as not downloaded and the run goes on.
bool FilePhase::DownloadWebItem(const core::filelist::FileRecord&) { return false; }
