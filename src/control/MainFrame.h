// The invisible main frame: owner of the setup state. Its creation runs the
// start-up (folders, theme files, working folder, project decryption, product
// settings, language step); the start-up driver then prepares and opens the
// wizard. Its timers hand over to the first page once a splash has closed.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "billboard/SlideShow.h"
#include "control/Background.h"
#include "core/Placeholders.h"
#include "core/SetupState.h"
#include "crypt/RijndaelFileCrypt.h"
#include "install/InstallEngine.h"
#include "control/StartupDriver.h"
#include "pages/Wizard.h"

namespace control {

class CMainFrame : public pages::WizardOwner, public StartupHost {
public:
    enum TimerId { kTimerAfterPreparation = 1, kTimerMergeModules = 2, kTimerAfterSplash = 3 };
    // Posted to the frame when a page window was left behind by a move.
    static constexpr UINT kMessageDeleteRetiredPages = WM_APP + 1;
    // Posted to the frame to start the installation at the next turn of the loop.
    static constexpr UINT kMessageStartInstallation = WM_APP + 2;

    CMainFrame();
    ~CMainFrame();

    // Creates the frame window; false when creation failed (the start-up then
    // has already shown its message and posted the quit message).
    bool Create(HINSTANCE instance);
    HWND Window() const override { return m_hWnd; }

    core::SetupState& State() override { return m_state; }
    const core::SetupState& State() const { return m_state; }

    // Start-up driver (steps after the language step); runs once per start-up.
    void RunStartupDriver();
    // Called by the progress page: runs the installation, then moves on.
    void StartInstallation() override;
    void ShowFirstPage() override;
    void LanguageChosen(const std::string& name) override;
    void RollBackCompletedInstallation() override;
    void CloseStartPage() override;
    void StartTimer(Timer timer) override;
    void OpenBackground(const background::BackgroundSettings& settings,
                        const std::string& picturePath) override;
    void StartBillboards(std::vector<billboard::Billboard> billboards) override;

    // The setup expansion of a project text, with the values known now.
    std::string Expand(const std::string& text) const;
    // Shows the setup's message dialog over the current page.
    void ShowMessage(const std::string& text) override;
    // Ends the message loop with the code of how the run ended (ExitCodes.h),
    // in every mode.
    void EndSetup(int exitCode) override;
    void DeleteRetiredPagesLater() override;
    void StartInstallationLater() override;
    // Deletes the working folder with everything in it.
    void RemoveWorkingFolder();
    // At the program's end: the slide show stops reading its pictures from
    // the working folder, which then goes, whatever ended the run.
    void ReleaseWorkingFolder();
    pages::Wizard& Pages() override { return *m_wizard; }

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    bool OnCreate();
    void OnTimer(UINT_PTR id);

    // Frame creation steps.
    void ResetStartupValues();
    void DiscoverFolders();
    void UnpackThemeFiles();
    bool LocateProjectFiles();
    void ResolveMachineValues();
    void ReadProductSettings();
    void DetermineOsName();
    bool LanguageStep();

    void RunMergeModuleStep();

    install::EngineSetup MakeEngineSetup() const;
    // The product's uninstall folder (its log, backups and run marker).
    std::string UninstallFolder() const;
    CRijndaelFileCrypt& Cipher();

    HWND m_hWnd = nullptr;
    core::SetupState m_state;
    std::unique_ptr<CRijndaelFileCrypt> m_cipher;
    bool m_driverRan = false;
    // The installation completed and can still be rolled back: its backups
    // are deleted when the setup ends (EndSetup).
    bool m_installationCompleted = false;
    std::unique_ptr<pages::Wizard> m_wizard;
    Background m_background;
    // Declared last: destroyed first, so the show's thread has ended before
    // anything else of the frame goes.
    billboard::SlideShow m_billboards;
};

}  // namespace control
