// Running the project's file actions in the wizard: the FILEACTION list read
// from the settings, and the runner that starts the programs, opens the
// addresses and calls the library functions for the rules of
// pages/FileActionRules.h.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "core/SetupState.h"
#include "pages/FileActionRules.h"

namespace pages {

// The FILEACTION list of the settings file.
FileActions ReadFileActions(const std::string& settingsPath);

// Loads the library by its full path, calls `function` with a
// kFileActionBufferSize-byte buffer holding `text` (cut to fit) and unloads
// it. Returns the function's result; 0 when the library cannot be loaded or
// lacks the function (the failing call goes to the trace). `after` (may be
// null) receives what the buffer holds after the call.
int CallFileActionFunction(const std::string& library, const std::string& function,
                           const std::string& text, std::string* after = nullptr);

// Runs file actions for the wizard: texts expanded with the setup's values
// and the folder the user chose, conditions asked through `conditionHolds`.
// While it waits for a program, the page `page` (may be null) takes no
// input, so that no second move can start from it meanwhile.
class SetupFileActionRunner : public FileActionRunner {
public:
    SetupFileActionRunner(const core::SetupState& state,
                          std::function<bool(const std::string&)> conditionHolds, HWND page);

    std::string Expand(const std::string& text) const override;
    bool ConditionHolds(const std::string& name) override;
    // Whether the run was cancelled since this runner was made.
    bool Cancelled() const override;
    void RunProgram(const std::string& path, const std::string& arguments, bool wait) override;
    void OpenAddress(const std::string& address) override;
    int CallLibrary(const std::string& path, const std::string& function) override;
    void Refused(const std::string& file) override;

private:
    const core::SetupState& state_;
    std::function<bool(const std::string&)> conditionHolds_;
    HWND page_;
    bool cancelledBefore_;
};

}  // namespace pages
