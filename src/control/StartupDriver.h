// The start-up driver: runs once after the language step, checks the machine,
// reads what the wizard needs, extracts the payload behind the start page and
// shows the first wizard page (at once, or from the frame's timer once a
// splash has closed). A failing check ends the setup.
#pragma once

#include "control/SystemChecks.h"
#include "core/SetupState.h"

namespace control {

class CMainFrame;

class StartupDriver {
public:
    explicit StartupDriver(CMainFrame& frame);

    // Steps 11 to 26, each announced in the trace.
    void Run();

private:
    bool SplashStep();
    bool CheckSystemRequirements();
    bool CheckAdministratorRights();
    void ReadConditions();
    bool PreviousInstallation();
    void ReadPageList();
    void ReadFileActions();
    void ReadSetupTypesAndFeatures();
    bool StartPageStep();
    void OpenBackgroundWindow();
    void ReadBillboards();
    void ReadVariables();
    void ReadMergeModules();
    SystemCheckContext CheckContext();

    CMainFrame& frame_;
    core::SetupState& state_;
};

}  // namespace control
