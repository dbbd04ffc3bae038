#include "install/ConditionQuery.h"

#include "core/Conditions.h"
#include "core/SetupState.h"

namespace install {

namespace {

class EngineConditionRunner : public core::ConditionRunner {
public:
    explicit EngineConditionRunner(InstallContext& context) : context_(context) {}

    std::string Expand(const std::string& text) const override { return context_.Expand(text); }
    void CancelInstall() override {
        core::CurrentRun().RequestCancel();
    }
    void ShowMessage(const std::string& text) override { context_.ShowMessage(text); }

private:
    InstallContext& context_;
};

}  // namespace

bool ConditionHolds(InstallContext& context, const std::string& name) {
    EngineConditionRunner runner(context);
    return core::ConditionHolds(context.Setup().conditions, name, runner);
}

}  // namespace install
