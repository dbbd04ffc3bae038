// The invisible main frame: the window that owns the setup state, the
// wizard, the installation run, the background and the slide show. Its
// creation starts the start-up driver; its timers hand over to the first page
// once a splash has closed and start the add-on programs.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "billboard/SlideShow.h"
#include "control/Background.h"
#include "core/Placeholders.h"
#include "core/SetupState.h"
#include "control/InstallationRun.h"
#include "control/StartupDriver.h"
#include "pages/Wizard.h"

namespace control {

class CMainFrame : public pages::WizardOwner, public StartupHost {
public:
    // Timer 2 is the installation run's (InstallationRun::kAddOnTimer).
    enum TimerId { kTimerAfterPreparation = 1, kTimerAfterSplash = 3 };
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
    core::ending::RunEnding DecideEnding(core::ending::Moment moment, bool abandoned) override;
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


    HWND m_hWnd = nullptr;
    core::SetupState m_state;
    bool m_driverRan = false;
    std::unique_ptr<pages::Wizard> m_wizard;
    // The installation and how the run ends; after the wizard it asks.
    InstallationRun m_run;
    Background m_background;
    // Declared last: destroyed first, so the show's thread has ended before
    // anything else of the frame goes.
    billboard::SlideShow m_billboards;
};

}  // namespace control
