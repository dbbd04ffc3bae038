// The project's conditions as the wizard asks them: operands by the setup
// expansion, messages in the setup's message dialog over the current page.
#pragma once

#include <windows.h>

#include <string>

#include "core/Conditions.h"
#include "core/SetupState.h"

namespace pages {

class SetupConditionRunner : public core::ConditionRunner {
public:
    // `owner` (may be null) owns the message dialogs.
    SetupConditionRunner(const core::SetupState& state, HWND owner) : state_(state), owner_(owner) {}

    std::string Expand(const std::string& text) const override;
    // Marks the run cancelled as a confirmed cancel does; the wizard then
    // leaves by its cancel path.
    void CancelInstall() override;
    // The message dialog; nothing in an unattended run, which shows no window.
    void ShowMessage(const std::string& text) override;

    // Whether a "CancelInstall();" action ran through this runner.
    bool Cancelled() const { return cancelled_; }

private:
    const core::SetupState& state_;
    HWND owner_;
    bool cancelled_ = false;
};

}  // namespace pages
