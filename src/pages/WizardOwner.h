// What the wizard needs from the program that runs it: the setup state, the
// installation, the end of the setup and a later moment to free pages.
// setup.exe's main frame implements it.
#pragma once

#include <string>

#include "core/RunEndingRules.h"
#include "core/SetupState.h"

namespace pages {

class WizardOwner {
public:
    virtual ~WizardOwner() = default;

    // The setup state the pages show and change.
    virtual core::SetupState& State() = 0;
    // Runs the installation behind the progress page and moves on when it
    // has ended (the complete, error or next page, or the end of the setup).
    virtual void StartInstallation() = 0;
    // Ends the setup with the code of how it ended (core/ExitCodes.h), in
    // every mode: 0 only when it installed.
    virtual void EndSetup(int exitCode) = 0;
    // Asks to be called back (Wizard::DeleteRetiredPages) once the page
    // callback now running has returned.
    virtual void DeleteRetiredPagesLater() = 0;
    // Asks to be called back (Wizard::RunInstallation) at the next turn of
    // the message loop, without any page window being involved.
    virtual void StartInstallationLater() = 0;
    // How the run goes on or ends now that a page's actions, a cancel or
    // Finish has run (`abandoned`: a file action gave the setup up). A
    // completed installation the answer does not keep is already rolled
    // back when it returns; the wizard shows what it answers.
    virtual core::ending::RunEnding DecideEnding(core::ending::Moment moment, bool abandoned) = 0;
    // The user confirmed the language page (its window is already closed):
    // applies that language and goes on with the start-up.
    virtual void LanguageChosen(const std::string& name) = 0;
};

}  // namespace pages
