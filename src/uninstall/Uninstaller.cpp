#include "uninstall/Uninstaller.h"

#include <windows.h>

#include <memory>

#include "core/Folders.h"
#include "core/Messages.h"
#include "core/Registry.h"
#include "core/Trace.h"
#include "core/TraceNames.h"
#include "core/UninstallKey.h"
#include "uninstall/BoxTitle.h"
#include "uninstall/ExitCodes.h"
#include "uninstall/InstalledProduct.h"
#include "uninstall/Maintenance.h"
#include "uninstall/PlainRemovalDialog.h"
#include "install/InterruptedRun.h"
#include "install/registration/SetupCache.h"
#include "install/shared/OwnershipRules.h"
#include "install/shared/ProtectedFolders.h"
#include "uninstall/Remover.h"
#include "uninstall/SkinnedRemovalPage.h"
#include "uninstall/UninstallTexts.h"

namespace uninstall {

namespace {

using core::MessageId;

const char kLayoutName[] = "uninstall.lcd";
const char kMessageFileName[] = "language.lan";

// `title`: BoxTitle of the product being removed (the neutral one before
// its registration is read).
int ShowMessage(HWND owner, const std::string& title, const std::string& text, UINT style) {
    return MessageBoxA(owner, text.c_str(), title.c_str(), style | MB_SETFOREGROUND);
}

// The setup copies its theme folder into the uninstall folder; a layout
// placed in the folder itself is taken too.
std::string LayoutPathIn(const std::string& uninstallFolder) {
    for (const std::string& path : {uninstallFolder + "theme\\" + kLayoutName, uninstallFolder + kLayoutName})
        if (core::folders::IsFile(path)) return path;
    return std::string();
}

install::UndoSetup MakeUndoSetup(const std::string& code, core::scope::InstallScope scope, bool silent) {
    install::UndoSetup setup;
    setup.productCode = code;
    setup.uninstallFolder = UninstallFolderOf(code, scope);
    setup.uninstallerFolder = install::ProgramFolder();
    setup.scope = scope;
    // The folders of the product's owner: everyone's product protects every
    // profile's, whoever removes it (a deployment removing as SYSTEM too).
    setup.protectedFolders = install::ProtectedFolders(scope);
    setup.silent = silent;
    return setup;
}

// The theme's page when the product shipped one that opens, else the built-in dialog.
std::unique_ptr<RemovalWindow> OpenRemovalWindow(const std::string& uninstallFolder, const UninstallTexts& texts) {
    const std::string layout = LayoutPathIn(uninstallFolder);
    if (!layout.empty()) {
        auto page = std::make_unique<SkinnedRemovalPage>(texts);
        const std::string language = uninstallFolder + core::uninstallkey::kPageLanguageFile;
        if (page->Open(layout, core::folders::IsFile(language) ? language : std::string())) return page;
    }
    auto dialog = std::make_unique<PlainRemovalDialog>(texts);
    if (dialog->Open()) return dialog;
    return nullptr;
}

class UninstallRun {
public:
    UninstallRun(const Command& command, const InstalledProduct& product)
        : command_(command),
          product_(product),
          uninstallFolder_(UninstallFolderOf(command.productCode, product.scope)),
          texts_(product, uninstallFolder_ + kMessageFileName),
          boxTitle_(BoxTitle(product.displayName, GetACP())) {}

    int Start() {
        const bool silent = command_.mode == Mode::Silent;
        // A run of the product's setup that was killed (or a machine that went
        // down) left its marker: the run is finished first, as the setup's
        // next start would finish it (rolled back, or committed once its
        // installation had completed), so that the log read below names what
        // the product holds: the earlier installation's, after a rollback.
        const bool rolledBack =
            install::RecoverInterruptedRun(command_.productCode, uninstallFolder_, install::ProgramFolder(),
                                           product_.scope);
        auto records = core::ReadUninstallLog(UninstallLogOf(command_.productCode, product_.scope));
        if (rolledBack && !records && !ReadInstalledProduct(command_.productCode).registered) {
            core::trace::Value(core::tracenames::kUninstallOutcome, "interrupted first run rolled back");
            return kExitRemoved;  // the product never was installed: nothing is left of it
        }
        // A run that stopped before it registered the product (killed, or
        // the machine went down) left its log: what the log names is removed
        // all the same.
        if (!product_.registered && !records) {
            core::trace::Value(core::tracenames::kUninstallOutcome, "not registered");
            if (!silent)
                ShowMessage(nullptr, boxTitle_, texts_.Of(MessageId::UninstallNotRegistered),
                            MB_OK | MB_ICONEXCLAMATION);
            return kExitNotRemovable;
        }
        if (command_.mode == Mode::Maintain && product_.registered) {
            const int code = Maintain();
            if (code >= 0) return code;
        }
        if (!records) return LogMissing(silent);
        // What only a rollback of the run that wrote the log undoes stays out.
        std::vector<core::LogRecord> toRemove = install::ownership::RecordsFor(*records, core::UndoPurpose::Removal);
        if (silent) return RemoveSilently(std::move(toRemove));
        return RemoveInteractively(std::move(toRemove));
    }

private:
    // The exit code when maintenance ends the run, or -1 to go on removing.
    // Modify and repair run the setup the product keeps in its uninstall
    // folder, never one from the folder it was installed from, which any
    // user may write; its cabinet comes from there only as installed.
    int Maintain() {
        const bool setupPresent =
            core::folders::IsFile(install::setupcache::CacheFolder(uninstallFolder_) + "setup.exe");
        switch (ChooseMaintenance(product_, texts_, setupPresent)) {
            case MaintenanceChoice::Remove:
                return -1;
            case MaintenanceChoice::Modify:
            case MaintenanceChoice::Repair: {
                const std::string setup = install::setupcache::PrepareCachedSetup(uninstallFolder_, product_.installSource);
                if (!setup.empty() && StartSetup(setup)) return kExitRemoved;
                ShowMessage(nullptr, boxTitle_, texts_.Of(MessageId::MaintenanceSetupFailed),
                            MB_OK | MB_ICONEXCLAMATION);
                return kExitFailed;
            }
            case MaintenanceChoice::Leave:
                break;
        }
        return kExitDeclined;
    }

    // Nothing is removed on a guess; the entry goes only when the user says so.
    int LogMissing(bool silent) {
        core::trace::Value(core::tracenames::kUninstallOutcome, "log missing or unreadable");
        if (!silent && ShowMessage(nullptr, boxTitle_, texts_.Of(MessageId::UninstallLogMissing),
                                   MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON2) == IDYES)
            RemoveRegistration(command_.productCode, product_.scope);
        return kExitNotRemovable;
    }

    int RemoveSilently(std::vector<core::LogRecord> records) {
        Remover remover(MakeUndoSetup(command_.productCode, product_.scope, true), std::move(records), nullptr);
        if (!remover.Run()) return kExitFailed;
        return Finished(remover.Report());
    }

    int RemoveInteractively(std::vector<core::LogRecord> records) {
        std::unique_ptr<RemovalWindow> window = OpenRemovalWindow(uninstallFolder_, texts_);
        if (!window) return kExitFailed;
        if (!window->AskToRemove()) return kExitDeclined;
        window->RemovalStarted(texts_.Of(MessageId::UninstallPreparing));
        Remover remover(MakeUndoSetup(command_.productCode, product_.scope, false), std::move(records), window.get());
        if (!remover.Run()) return kExitFailed;
        const int code = Finished(remover.Report());
        const auto text = [this](MessageId id) { return texts_.Of(id); };
        window->RemovalEnded(OutcomeText(remover.Report(), text));
        const std::string closing = ClosingText(remover.Report(), text);
        ShowMessage(window->Window(), boxTitle_, closing,
                    MB_OK | (code == kExitRemoved ? MB_ICONINFORMATION : MB_ICONEXCLAMATION));
        return code;
    }

    int Finished(const RemovalReport& report) { return ExitCodeOf(report); }

    const Command& command_;
    const InstalledProduct& product_;
    std::string uninstallFolder_;
    UninstallTexts texts_;
    std::string boxTitle_;
};

int RunCommand(const Command& command) {
    if (command.problem != CommandProblem::None) {
        core::trace::Value(core::tracenames::kUninstallOutcome, "bad command line");
        // A silent caller waits for the exit code and nobody would see a window.
        if (command.mode != Mode::Silent)
            ShowMessage(nullptr, kNeutralBoxTitle, core::EnglishText(MessageId::UninstallUsage),
                        MB_OK | MB_ICONEXCLAMATION);
        return kExitBadCommandLine;
    }
    core::trace::Value(core::tracenames::kUninstallProductCode, command.productCode);
    const InstalledProduct product = ReadInstalledProduct(command.productCode);
    return UninstallRun(command, product).Start();
}

}  // namespace

int RunUninstaller(const Command& command) {
    // A log that cannot be written is refused before anything is removed: the
    // caller asked for a record of the removal.
    if (const unsigned long error = core::trace::Start(command.logFile)) {
        if (command.mode != Mode::Silent) {
            const std::string text = core::FormatText(core::EnglishText(MessageId::LogNotWritten),
                                                      {command.logFile, core::trace::SystemErrorText(error)});
            ShowMessage(nullptr, kNeutralBoxTitle, text, MB_OK | MB_ICONEXCLAMATION);
        }
        return kExitBadCommandLine;
    }
    const int code = RunCommand(command);
    core::trace::Value(core::tracenames::kUninstallExitCode, std::to_string(code));
    return code;
}

}  // namespace uninstall
