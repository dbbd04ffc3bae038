#include "pages/PageConditions.h"

#include "core/MessageDialog.h"
#include "core/Trace.h"

namespace pages {

std::string SetupConditionRunner::Expand(const std::string& text) const {
    return core::ExpandSetupText(state_, text);
}

void SetupConditionRunner::CancelInstall() {
    core::trace::Line("condition cancelled the setup");
    cancelled_ = true;
    core::CurrentRun().RequestCancel();
}

void SetupConditionRunner::ShowMessage(const std::string& text) {
    core::trace::Value("condition message", text);
    if (!state_.unattended) core::ShowMessageDialog(owner_, text);
}

}  // namespace pages
