// The query by name of the project's conditions as the installation and the
// wizard put it: operands by their expansion, messages where each shows them
// (the engine's progress display, the setup's message dialog), a cancel that
// stops the run.
#include <windows.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "core/Conditions.h"
#include "core/SetupState.h"
#include "install/ConditionQuery.h"
#include "install/InstallEngine.h"
#include "pages/PageConditions.h"
#include "res/resource.h"

namespace {

class RecordingSink : public install::ProgressSink {
public:
    void SetStatus(const std::string&, int) override {}
    void SetProgressRange(int) override {}
    void SetProgressPosition(int) override {}
    install::ErrorChoice Ask(const install::Question&) override { return install::ErrorChoice::Cancel; }
    void ShowError(const std::string& text) override { shown.push_back(text); }
    void ShowDownloadProgress() override {}
    void UpdateDownloadProgress(const download::ProgressReport&) override {}
    void HideDownloadProgress() override {}
    std::vector<std::string> shown;
};

core::Conditions SampleConditions() {
    return {{"Disk", "<ProductVersion>", ">=", "2.45", "", {"ShowMessage(Disk full);"}},
            {"Edition", "<Edition>", "==", "Pro", "", {"ShowMessage(edition);"}},
            {"Stop", "<ProductVersion>", "=<", "2.50", "", {"CancelInstall();"}}};
}

class ConditionQuery : public ::testing::Test {
protected:
    void TearDown() override {
        core::CurrentRun().Reset();
    }
};

TEST_F(ConditionQuery, InstallationItemsAskThroughTheEngine) {
    install::EngineSetup setup;
    setup.values.productVersion = "2.5";
    setup.values.variables = {{"<Edition>", "Pro"}};
    setup.conditions = SampleConditions();
    RecordingSink sink;
    install::InstallEngine engine(setup, &sink);
    EXPECT_TRUE(install::ConditionHolds(engine, "Disk"));
    EXPECT_TRUE(install::ConditionHolds(engine, "Edition"));
    EXPECT_EQ(sink.shown, (std::vector<std::string>{"Disk full", "edition"}));
    EXPECT_TRUE(install::ConditionHolds(engine, "No Condition"));
    EXPECT_FALSE(engine.CancelRequested());
    EXPECT_TRUE(install::ConditionHolds(engine, "Stop"));
    EXPECT_TRUE(engine.CancelRequested());
    EXPECT_TRUE(core::CurrentRun().Stopped());

    setup.unattended = true;
    RecordingSink quiet;
    install::InstallEngine unattended(setup, &quiet);
    EXPECT_TRUE(install::ConditionHolds(unattended, "Disk"));
    EXPECT_TRUE(quiet.shown.empty());
}

// Reads and closes the message dialogs this process shows, for up to `ms`.
class DialogReader {
public:
    explicit DialogReader(int ms) : thread_([this, ms] { Run(ms); }) {}
    ~DialogReader() { Stop(); }
    std::vector<std::string> Stop() {
        stop_ = true;
        if (thread_.joinable()) thread_.join();
        return texts_;
    }

private:
    void Run(int ms) {
        for (int waited = 0; waited < ms && !stop_; waited += 20) {
            HWND dialog = FindWindowA("#32770", "Brenmark Corvane");
            DWORD pid = 0;
            if (dialog) GetWindowThreadProcessId(dialog, &pid);
            if (dialog && pid == GetCurrentProcessId() && IsWindowVisible(dialog)) {
                char text[512] = "";
                GetDlgItemTextA(dialog, IDC_MESSAGE_TEXT, text, sizeof text);
                texts_.push_back(text);
                PostMessageA(dialog, WM_COMMAND, IDOK, 0);
                Sleep(200);
            }
            Sleep(20);
        }
    }
    std::atomic<bool> stop_{false};
    std::vector<std::string> texts_;
    std::thread thread_;
};

TEST_F(ConditionQuery, TheWizardShowsItsMessageDialog) {
    core::SetupState state;
    state.productVersion = "2.5";
    state.conditions = SampleConditions();
    state.variables = {{"<Edition>", "", "Pro"}};
    pages::SetupConditionRunner runner(state, nullptr);
    DialogReader reader(10000);
    EXPECT_TRUE(core::ConditionHolds(state.conditions, "Disk", runner));
    EXPECT_TRUE(core::ConditionHolds(state.conditions, "Edition", runner));
    EXPECT_EQ(reader.Stop(), (std::vector<std::string>{"Disk full", "edition"}));
    EXPECT_FALSE(runner.Cancelled());
    EXPECT_TRUE(core::ConditionHolds(state.conditions, "Stop", runner));
    EXPECT_TRUE(runner.Cancelled());
    EXPECT_TRUE(core::CurrentRun().Stopped());

    state.unattended = true;
    pages::SetupConditionRunner quiet(state, nullptr);
    DialogReader none(500);
    EXPECT_TRUE(core::ConditionHolds(state.conditions, "Disk", quiet));
    EXPECT_TRUE(none.Stop().empty());
}

}  // namespace
