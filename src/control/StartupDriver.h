// The start-up driver: begins as the frame is created (folders, project files,
// settings, the language step), then runs once after the language step, checks the machine,
// reads what the wizard needs, extracts the payload behind the start page and
// shows the first wizard page (at once, or from the frame's timer once a
// splash has closed). A failing check ends the setup.
#pragma once

#include <string>
#include <vector>

#include "billboard/BillboardRules.h"
#include "control/BackgroundRules.h"
#include "control/SystemChecks.h"
#include "core/SetupState.h"
#include "pages/Wizard.h"

namespace control {

// What the driver needs from the main frame that runs it.
class StartupHost {
public:
    // Frame timers the driver starts; the frame answers them when they fire.
    enum class Timer { AfterPreparation, AfterSplash };

    virtual ~StartupHost() = default;
    virtual core::SetupState& State() = 0;
    virtual pages::Wizard& Pages() = 0;
    // The frame window, owner of the splash.
    virtual HWND Window() const = 0;
    // Shows the setup's message dialog (nothing in an unattended run).
    virtual void ShowMessage(const std::string& text) = 0;
    // Ends the setup; see pages::WizardOwner::EndSetup.
    virtual void EndSetup(int exitCode) = 0;
    // Polls, once a second, for the splash to close before moving on.
    virtual void StartTimer(Timer timer) = 0;
    virtual void ShowFirstPage() = 0;
    virtual void CloseStartPage() = 0;
    // Shows the frame as the background behind the wizard.
    virtual void OpenBackground(const background::BackgroundSettings& settings,
                                const std::string& picturePath) = 0;
    // Starts the billboard slide show on its own thread.
    virtual void StartBillboards(std::vector<billboard::Billboard> billboards) = 0;
};

class StartupDriver {
public:
    explicit StartupDriver(StartupHost& host);

    enum class Beginning {
        Stopped,         // the project files could not be had: the setup ends
        AskingLanguage,  // the language page is up; Run follows its answer
        Ready            // Run follows now
    };
    // Steps 2 to 10, as the frame is created: the start-up values, the
    // project files and the language step.
    Beginning Begin();
    // Steps 11 to 26, each announced in the trace.
    void Run();

private:
    bool LanguageStep();
    bool SplashStep();
    bool CheckSystemRequirements();
    bool CheckAdministratorRights();
    void ReadConditions();
    bool PreviousInstallation();
    void ApplyCommandLineFolder();
    void ReadPageList();
    void ReadFileActions();
    void ReadSetupTypesAndFeatures();
    bool StartPageStep();
    void PreparationFailed();
    void OpenBackgroundWindow();
    void ReadBillboards();
    void ReadVariables();
    void ReadMergeModules();
    SystemCheckContext CheckContext();

    std::string Expand(const std::string& text) const;

    StartupHost& host_;
    core::SetupState& state_;
};

}  // namespace control
