#include "install/InstallEngine.h"

#include <objbase.h>

#include "cabinet/CabinetNames.h"
#include "control/MessageWait.h"
#include "control/SetupState.h"
#include "core/FileList.h"
#include "install/FilePhase.h"
#include "install/ShellFileOps.h"

InstallEngine::InstallEngine(const EngineSetup& setup, ProgressSink* progress)
    : setup_(setup), progress_(progress) {}

InstallEngine::~InstallEngine() = default;

std::string InstallEngine::Expand(const std::string& text) const {
    return ExpandEngineText(text, setup_.values, setup_.currentInstallFolder,
                            setup_.defaultInstallFolder);
}

std::string InstallEngine::PayloadFilePath(size_t index, const std::string& fileName) const {
    if (setup_.diskImage) return core::filelist::StoredPath(payloadFolder_, index, fileName);
    return cabinet::ExtractedFilePath(payloadFolder_, core::filelist::StoredName(index, fileName));
}

void InstallEngine::SetStatus(const std::string& text) {
    if (progress_) progress_->SetStatus(text, 0);
}

int InstallEngine::Run() {
    payloadFolder_ = setup_.diskImage ? setup_.sourceFolder + "DiskImage1\\"
                                      : setup_.tempFolder + setup_.workingFolderName + "\\";
    uninstallFolder_ = Expand("<WindowsFolder>\\Installer\\<ProductCode>\\");
    log_.Start(Expand("<WindowsFolder>\\Installer\\<ProductCode>\\uninstall.log"));

    DWORD id = 0;
    HANDLE worker = CreateThread(nullptr, 0, &InstallEngine::WorkerEntry, this, 0, &id);
    if (worker) {
        WaitDispatchingMessages(worker);
        CloseHandle(worker);
    }
    log_.Close();
    if (progress_) progress_->SetProgressPosition(totalFiles_);
    return 1;
}

DWORD WINAPI InstallEngine::WorkerEntry(void* self) {
    static_cast<InstallEngine*>(self)->RunPhases();
    return 0;
}

// The phases, in their fixed order, on the worker thread. Only the file phase
// and the uninstall registration can end the run early.
void InstallEngine::RunPhases() {
    if (FAILED(CoInitialize(nullptr))) {
        ShowEngineError(nullptr, 0,
                        "Iniciar() - Corvane Can't CO-INITIALIZE; Please restart your computer; If "
                        "not work, you must update your Windows!");
        return;
    }
    RunPhasesInitialised();
    CoUninitialize();
}

void InstallEngine::RunPhasesInitialised() {
    FilePhase files(*this);
    SetStatus("Loading data information...");
    if (!files.LoadFileData()) {
        if (!setup_.unattended)
            ShowEngineError(progress_ ? progress_->DialogOwner() : nullptr, 1, "LoadFileData() - Error");
        GlobalFlags().cancelled = kFlagOn;  // nothing could be installed
        return;
    }
    RegisterUninstallTimeProgram();
    if (progress_) progress_->SetProgressRange(totalFiles_);
    SetStatus("Please Wait, Copying Files...");
    if (!setup_.preview && !files.InstallFiles()) return;
    SetStatus("Please Wait, Creating Shortcuts...");
    if (!setup_.preview) CreateShortcuts();
    SetStatus("Please Wait, Setting system...");
    if (!setup_.preview) SetSystemSettings();
    InstallServices();
    SetStatus("Finishing settings...");
    if (setup_.preview) return;
    if (!RegisterUninstall()) return;
    RemoveTemporaryFiles();
}

// Phases other subsystems of the engine fill in; until then they do nothing.
void InstallEngine::RegisterUninstallTimeProgram() {}
void InstallEngine::CreateShortcuts() {}
void InstallEngine::SetSystemSettings() {}
void InstallEngine::InstallServices() {}
bool InstallEngine::RegisterUninstall() { return true; }

void InstallEngine::RemoveTemporaryFiles() {
    SetStatus("Removing temporary files...");
    if (setup_.mergeModulesPending) return;
    const std::string folder = Expand("<TempFolder>\\" + setup_.workingFolderName);
    if (GetFileAttributesA(folder.c_str()) != INVALID_FILE_ATTRIBUTES)
        shellops::Delete(folder, true);
}

void ShowEngineError(HWND owner, int number, const std::string& message) {
    const std::string text = "Error Number: " + std::to_string(number) + "\r\nMessage: " + message;
    MessageBoxA(owner, text.c_str(), "Brenmark Corvane", MB_OK);
}
