// Turns a readable project folder into the folder that ships:
//   setup.inf   -> setup.nsx   (encrypted)
//   data.inf    -> data.nsx    (CR LF line ends, encrypted)
//   payload files of data.inf and the files of working/ -> file1.cab
//   the uninstaller -> cvexec.exe in file1.cab (unless working/ has its own)
//   theme/ (but its README files), languages/, language.lan, SupportFiles/,
//   mergemod.msi -> copied;
//   the engine -> setup.exe, stamped with the product's name, version and icon
//   the splash picture and sound setup.inf names -> setup.<extension>
#pragma once

#include <cstddef>
#include <string>

#include "Diagnostics.h"
#include "SourceText.h"
#include "core/CodePage.h"

struct BuildOptions {
    std::string enginePath;  // setup.exe to ship beside the project; empty: none
    // cvexec.exe to ship in the cabinet's root, where the setup takes it from
    // to place it in the Windows folder; empty: none.
    std::string uninstallerPath;
    // The ANSI code page the project's texts (data.inf, file names) are
    // written in; the setup must run under the same one to read its names.
    unsigned codePage = core::codepage::kWesternEuropean;
    // How the text files (setup.inf, data.inf, the language files) are
    // written: UTF-8 ones are converted to `codePage`.
    SourceEncoding sourceEncoding = SourceEncoding::kAnsi;
    // Receives each warning about the project's texts; none: they are dropped.
    WarningSink warn;
    // Refuse a project whose cabinet would get no uninstaller (neither
    // uninstallerPath nor working/'s own): its product could not be removed.
    bool requireUninstaller = false;
};

struct BuildSummary {
    size_t payloadFiles = 0;  // local payload files placed in the cabinet
    size_t webItems = 0;      // records downloaded at install time
    size_t workingFiles = 0;  // files of working/ placed in the cabinet
    // The cabinet holds an uninstaller: the one given, or working/'s own.
    bool shipsUninstaller = false;
};

// Builds projectDir into outDir. Throws std::runtime_error with a message
// naming the file (and for data.inf the line) at fault, or, for the texts'
// characters, every problem of the project, one a line; outDir is then as it
// was before, and no temporary folder is left behind.
BuildSummary BuildProject(const std::string& projectDir, const std::string& outDir,
                          const BuildOptions& options);
