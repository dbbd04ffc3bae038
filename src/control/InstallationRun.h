// The installation from the progress page to the setup's end: it hands the
// run to the engine, runs the add-on programs and merge modules, and at each
// of those moments, at a page's cancel and at Finish decides how the run goes
// on or ends (core/RunEndingRules.h): the page the wizard shows, the exit
// code, and whether a completed installation stands or is rolled back. The
// wizard asks it and shows what it answers.
#pragma once

#include <windows.h>

#include <string>

#include "core/RunEndingRules.h"
#include "core/SetupState.h"
#include "install/InstallEngine.h"

namespace pages {
class Wizard;
}

namespace control {

class InstallationRun {
public:
    // The frame's timer that starts the add-on programs.
    static constexpr UINT_PTR kAddOnTimer = 2;

    InstallationRun(core::SetupState& state, pages::Wizard& wizard) : state_(state), wizard_(wizard) {}
    void SetFrame(HWND frame) { frame_ = frame; }

    // For the progress page: the engine runs the installation, then the run
    // goes on as decided.
    void Install();
    // The add-on programs and merge modules, once the add-on page is up.
    void RunAddOns();
    // How the run goes on or ends now. A completed installation that the
    // answer does not keep is rolled back before it returns.
    core::ending::RunEnding Decide(core::ending::Moment moment, bool abandoned = false);
    // Ends the message loop with `exitCode` (ExitCodes.h). A completed
    // installation stands when the code says installed; under any other
    // code it is taken back, so a failure never leaves a run half-owned.
    void End(int exitCode);

private:
    core::ending::RunFacts Facts(core::ending::Moment moment, bool abandoned) const;
    void RollBack();
    install::EngineSetup MakeEngineSetup() const;
    // The product's uninstall folder (its log, backups and run marker).
    std::string UninstallFolder() const;
    std::string UninstallerFolder() const;  // trailing backslash

    core::SetupState& state_;
    pages::Wizard& wizard_;
    HWND frame_ = nullptr;
    core::ending::EngineResult engine_ = core::ending::EngineResult::NotRun;
    // The installation completed and is neither kept nor rolled back yet:
    // its backups and the earlier log wait for that decision.
    bool completed_ = false;
};

}  // namespace control
