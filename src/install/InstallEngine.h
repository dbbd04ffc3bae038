// One installation run: the phases in their fixed order on a worker thread,
// while the calling (user-interface) thread keeps dispatching messages.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "control/Placeholders.h"
#include "core/UninstallLog.h"
#include "install/FileRules.h"
#include "install/ProgressSink.h"

// What the engine takes from the setup state at the hand-over.
struct EngineSetup {
    PlaceholderValues values;           // installDir = the folder chosen for this run
    std::string currentInstallFolder;   // chosen folder, trailing backslash
    std::string defaultInstallFolder;   // the project's folder, trailing backslash
    std::string windowsFolder;
    std::string tempFolder;             // trailing backslash
    std::string sourceFolder;           // trailing backslash
    std::string workingFolderName;
    std::string themeFolder;
    std::string settingsPath;           // setup.inf
    std::string dataPath;               // data.inf
    std::string osName;
    bool preview = false;
    bool diskImage = false;
    bool mergeModulesPending = false;
    // No one answers dialogs: a copy failure abandons the run instead of asking.
    bool unattended = false;
    core::FeatureTable features;
};

class InstallEngine {
public:
    InstallEngine(const EngineSetup& setup, ProgressSink* progress);
    ~InstallEngine();

    // Runs every phase and returns 1 when the worker has ended; the abort flag
    // tells whether the run was abandoned.
    int Run();

    // The engine expansion of a project text.
    std::string Expand(const std::string& text) const;
    // Appends one line to the uninstall log; a line that cannot be written is dropped.
    void Log(core::LogKind kind, const std::string& value) { log_.Append(kind, value); }
    void SetStatus(const std::string& text);
    const EngineSetup& Setup() const { return setup_; }
    const std::string& PayloadFolder() const { return payloadFolder_; }
    // Where the payload file of the record at zero-based position `index`
    // lies: its stored name in DiskImage1, or where the cabinet extraction
    // put it in the working folder.
    std::string PayloadFilePath(size_t index, const std::string& fileName) const;
    const std::string& UninstallFolder() const { return uninstallFolder_; }
    ProgressSink* Progress() const { return progress_; }
    // Removes the working folder unless merge modules still need it.
    void RemoveTemporaryFiles();
    int TotalFiles() const { return totalFiles_; }
    void SetTotalFiles(int n) { totalFiles_ = n; }

private:
    static DWORD WINAPI WorkerEntry(void* self);
    void RunPhases();
    void RunPhasesInitialised();
    void RegisterUninstallTimeProgram();
    void CreateShortcuts();
    void SetSystemSettings();
    void InstallServices();
    bool RegisterUninstall();

    EngineSetup setup_;
    ProgressSink* progress_;
    std::string payloadFolder_;
    std::string uninstallFolder_;
    core::UninstallLogWriter log_;
    int totalFiles_ = 0;
};

// Shows "Error Number: %i\r\nMessage: %s" with an OK button.
void ShowEngineError(HWND owner, int number, const std::string& message);
