// File actions and merge modules: which actions a page runs and in what
// order, run-once, system masks and conditions, the abandoning library
// result; the merge-module entries, their package and its command line.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "install/addons/MergeModuleRules.h"
#include "pages/FileActionRules.h"
#include "util/Text.h"

namespace {

using pages::FileAction;
using pages::FileActionKind;

// Records every call; conditions named "no" do not hold, "stop" cancels.
class RecordingRunner : public pages::FileActionRunner {
public:
    std::string Expand(const std::string& text) const override {
        return text == "<InstallDir>\\app.exe" ? "C:\\App\\app.exe" : text;
    }
    bool ConditionHolds(const std::string& name) override {
        calls.push_back("condition " + name);
        if (name == "stop") cancelled = true;
        return name != "no";
    }
    bool Cancelled() const override { return cancelled; }
    void RunProgram(const std::string& path, const std::string& arguments, bool wait) override {
        calls.push_back((wait ? "wait " : "start ") + path + " " + arguments);
    }
    void OpenAddress(const std::string& address) override { calls.push_back("open " + address); }
    int CallLibrary(const std::string& path, const std::string& function) override {
        calls.push_back("call " + path + " " + function);
        return function == "Abandon" ? 1 : function == "Two" ? 2 : 0;
    }
    void Refused(const std::string& file) override { calls.push_back("refused " + file); }

    std::vector<std::string> calls;
    bool cancelled = false;
};

FileAction Action(const std::string& file, const std::string& command, const std::string& when) {
    FileAction a;
    a.file = file;
    a.command = command;
    a.when = when;
    return a;
}

std::vector<std::string> RunAt(pages::FileActions& actions, const std::string& trigger,
                             pages::FileActionsOutcome* outcome = nullptr, const std::string& os = "XP") {
    RecordingRunner runner;
    const pages::FileActionsOutcome o = pages::RunFileActions(actions, trigger, os, runner);
    if (outcome) *outcome = o;
    return runner.calls;
}

TEST(FileActionRules, KindsAndFullPaths) {
    EXPECT_EQ(pages::KindOfFileAction("C:\\Tools\\SETUP.EXE"), FileActionKind::Program);
    EXPECT_EQ(pages::KindOfFileAction("C:\\Tools\\Hook.Dll"), FileActionKind::Library);
    EXPECT_EQ(pages::KindOfFileAction("Z:\\tmp\\tmp.exEHZOV7qd\\hook.dll"), FileActionKind::Library);
    EXPECT_EQ(pages::KindOfFileAction("http://example.com/get.exe"), FileActionKind::Address);
    EXPECT_EQ(pages::KindOfFileAction("http://example.com/news"), FileActionKind::Address);
    EXPECT_EQ(pages::KindOfFileAction("HTTPS://example.com/news"), FileActionKind::Address);
    // Only the schemes make an address: a program whose name starts so is a program.
    EXPECT_EQ(pages::KindOfFileAction("httptool.exe"), FileActionKind::Program);
    EXPECT_EQ(pages::KindOfFileAction("http:tool.exe"), FileActionKind::Program);
    EXPECT_EQ(pages::KindOfFileAction("http://"), FileActionKind::None);
    EXPECT_EQ(pages::KindOfFileAction("C:\\Docs\\readme.txt"), FileActionKind::None);
    EXPECT_EQ(pages::KindOfFileAction(""), FileActionKind::None);

    EXPECT_TRUE(util::text::IsFullPath("C:\\App\\a.exe"));
    EXPECT_TRUE(util::text::IsFullPath("\\\\server\\share\\a.exe"));
    for (const char* path : {"a.exe", "App\\a.exe", "C:a.exe", "\\a.exe", "\\\\?\\C:\\a.exe", "\\\\.\\pipe", ""})
        EXPECT_FALSE(util::text::IsFullPath(path)) << path;
}

// Page titles and file names name the same page; Finish has its own
// trigger. Each kind does its own thing, in list order, with the expanded texts.
TEST(FileActionRules, ActionsOfAPageRunInListOrder) {
    pages::FileActions actions = {
        Action("<InstallDir>\\app.exe", "/first", "Install Welcome"),
        Action("C:\\Other\\other.exe", "", "ready.lcd"),
        Action("http://example.com/", "", "welcome.lcd"),
        Action("C:\\App\\hook.dll", "Hook", "Install Welcome"),
        Action("C:\\App\\notes.txt", "", "Install Welcome"),
        Action("tool.exe", "", "Install Welcome"),
        Action("C:\\App\\finish.exe", "", "After Click Finish Button"),
    };
    actions[0].wait = true;
    EXPECT_EQ(RunAt(actions, "welcome.lcd"),
              (std::vector<std::string>{"condition ", "wait C:\\App\\app.exe /first", "condition ",
                                        "open http://example.com/", "condition ", "call C:\\App\\hook.dll Hook",
                                        "condition ", "condition ", "refused tool.exe"}));
    EXPECT_EQ(RunAt(actions, "After Click Finish Button"),
              (std::vector<std::string>{"condition ", "start C:\\App\\finish.exe "}));
    EXPECT_TRUE(RunAt(actions, "complete.lcd").empty());
    EXPECT_TRUE(RunAt(actions, "").empty());
}

TEST(FileActionRules, RunOnceMasksAndConditions) {
    pages::FileActions actions = {
        Action("C:\\a.exe", "once", "welcome.lcd"),
        Action("C:\\a.exe", "every", "welcome.lcd"),
        Action("C:\\a.exe", "98 only, once", "welcome.lcd"),
        Action("C:\\a.exe", "XP", "welcome.lcd"),
        Action("C:\\a.exe", "no", "welcome.lcd"),
    };
    actions[0].runOnce = true;
    actions[2].runOnce = true;
    actions[2].systemMask = 2;
    actions[3].systemMask = 64;
    actions[4].condition = "no";
    const std::vector<std::string> first = {"condition ", "start C:\\a.exe once", "condition ",
                                            "start C:\\a.exe every", "condition ", "start C:\\a.exe XP",
                                            "condition no"};
    EXPECT_EQ(RunAt(actions, "welcome.lcd"), first);
    // The run-once action whose system did not match is done all the same.
    EXPECT_TRUE(actions[2].done);
    EXPECT_EQ(RunAt(actions, "welcome.lcd"),
              (std::vector<std::string>{"condition ", "start C:\\a.exe every", "condition ",
                                        "start C:\\a.exe XP", "condition no"}));
    // On another system the XP action does not run, and no condition is asked for it.
    pages::FileActions xp = {actions[3]};
    EXPECT_TRUE(RunAt(xp, "welcome.lcd", nullptr, "NET").empty());
}

TEST(FileActionRules, AbandoningLibraryAndCancellingConditionStopTheRest) {
    pages::FileActions actions = {
        Action("C:\\a.dll", "Two", "welcome.lcd"),
        Action("C:\\a.dll", "Abandon", "welcome.lcd"),
        Action("C:\\after.exe", "", "welcome.lcd"),
    };
    pages::FileActionsOutcome outcome;
    EXPECT_EQ(RunAt(actions, "welcome.lcd", &outcome),
              (std::vector<std::string>{"condition ", "call C:\\a.dll Two", "condition ",
                                        "call C:\\a.dll Abandon"}));
    EXPECT_EQ(outcome, pages::FileActionsOutcome::Abandoned);

    pages::FileActions cancelling = {Action("C:\\a.exe", "", "welcome.lcd"),
                                     Action("C:\\b.exe", "", "welcome.lcd")};
    cancelling[0].condition = "stop";
    EXPECT_EQ(RunAt(cancelling, "welcome.lcd", &outcome), (std::vector<std::string>{"condition stop"}));
    EXPECT_EQ(outcome, pages::FileActionsOutcome::Done);
}

// ---- Merge modules -----------------------------------------------------------

namespace mm = install::mergemodules;

class RecordingMergeRunner : public mm::MergeModuleRunner {
public:
    std::string Expand(const std::string& text) const override {
        std::string s = text;
        const std::string from = "<SystemFolder>\\";
        if (s.compare(0, from.size(), from) == 0) s = "C:\\Windows\\System32\\" + s.substr(from.size());
        return s;
    }
    bool ConditionHolds(const std::string& name) override {
        calls.push_back("condition " + name);
        if (name == "cancels") cancelled = true;
        return name != "no";
    }
    bool Cancelled() const override { return cancelled; }
    bool FileExists(const std::string& path) const override { return files.count(path) != 0; }
    mm::ProgramEnd RunAddOnProgram(const std::string& path, const std::string& arguments) override {
        calls.push_back("program " + path + " " + arguments);
        return {path != "C:\\missing.exe", exitCode};
    }
    void Refused(const std::string& program) override { calls.push_back("refused " + program); }
    mm::ProgramEnd RunPackageInstaller(const std::string& commandLine) override {
        calls.push_back(commandLine);
        return {true, packageExitCode};
    }

    std::set<std::string> files;
    std::vector<std::string> calls;
    unsigned long exitCode = 0;
    unsigned long packageExitCode = 0;
    bool cancelled = false;
};

mm::MergeModule Entry(const std::string& program, const std::string& commandLine = "") {
    mm::MergeModule m;
    m.program = program;
    m.commandLine = commandLine;
    return m;
}

const char kSource[] = "D:\\Setup\\";
const char kBeside[] = "D:\\Setup\\mergemod.msi";
const char kSupport[] = "D:\\Setup\\SupportFiles\\mergemod.msi";

TEST(MergeModuleRules, ProgramThenPackageOncePerAllowedEntry) {
    core::FeatureTable features;
    features.Add("Extras");
    features.SetState(0, core::kFeatureExcluded);
    mm::MergeModules entries = {Entry("<ResourceDir>\\vcredist.EXE", "/quiet"), Entry("", ""),
                                Entry("C:\\tool.exe"), Entry("C:\\tool.exe"), Entry("C:\\tool.exe"),
                                Entry("readme.txt"), Entry("runtime.exe")};
    entries[2].systemMask = 2;       // 98 only
    entries[3].feature = "Extras";   // excluded
    entries[4].condition = "no";
    RecordingMergeRunner runner;
    runner.files = {kSupport};
    mm::MergeModuleSetup setup{kSource, "XP", &features};
    const mm::AddOnOutcome outcome = mm::RunMergeModules(entries, setup, runner);
    EXPECT_FALSE(outcome.restart);
    EXPECT_EQ(outcome.failures, std::vector<std::string>{"runtime.exe: not started, not a full path"});
    const std::string install = "C:\\Windows\\System32\\msiexec.exe /i \"D:\\Setup\\SupportFiles\\mergemod.msi\" /q";
    EXPECT_EQ(runner.calls,
              (std::vector<std::string>{"condition ", "program D:\\Setup\\SupportFiles\\vcredist.EXE /quiet", install,
                                        "condition ", install, "condition ", "condition ", "condition no",
                                        "condition ", install, "condition ", "refused runtime.exe", install}));
}

TEST(MergeModuleRules, AProgramIsNamedByItsOwnFileName) {
    EXPECT_TRUE(mm::NamesAddOnProgram("<ResourceDir>\\Addon.EXE"));
    EXPECT_FALSE(mm::NamesAddOnProgram("C:\\tmp.exe1\\notes.txt"));
}

TEST(MergeModuleRules, PackageBesideTheSetupComesFirstNoneIsSkipped) {
    EXPECT_EQ(mm::PackageLocations(kSource), (std::vector<std::string>{kBeside, kSupport}));
    RecordingMergeRunner runner;
    runner.files = {kBeside, kSupport};
    mm::MergeModuleSetup setup{kSource, "", nullptr};
    mm::RunMergeModules({Entry("")}, setup, runner);
    EXPECT_EQ(runner.calls.back(), "C:\\Windows\\System32\\msiexec.exe /i \"D:\\Setup\\mergemod.msi\" /q");

    runner.calls.clear();
    runner.files.clear();
    mm::RunMergeModules({Entry("")}, setup, runner);
    EXPECT_EQ(runner.calls, (std::vector<std::string>{"condition "}));
}

// A condition that cancels the installation stops the entries there.
TEST(MergeModuleRules, ACancellingConditionStopsTheEntries) {
    mm::MergeModules entries = {Entry("C:\\first.exe"), Entry("C:\\second.exe"), Entry("C:\\third.exe")};
    entries[1].condition = "cancels";
    RecordingMergeRunner runner;
    mm::MergeModuleSetup setup{kSource, "XP", nullptr};
    mm::RunMergeModules(entries, setup, runner);
    EXPECT_EQ(runner.calls, (std::vector<std::string>{"condition ", "program C:\\first.exe ", "condition cancels"}));
}

// Restart codes ask for a restart; any other code but 0, or a program that
// could not start, is a failure named with its code.
TEST(MergeModuleRules, RestartAndFailureCodesOfProgramsAndPackages) {
    mm::MergeModuleSetup setup{kSource, "XP", nullptr};
    for (unsigned long code : {0ul, 1ul, 1603ul, 1627ul, 3010ul, 1641ul}) {
        const bool restart = code == 3010 || code == 1641, failed = code == 1 || code == 1603 || code == 1627;
        RecordingMergeRunner program;
        program.exitCode = code;
        const mm::AddOnOutcome ran = mm::RunMergeModules({Entry("C:\\tool.exe")}, setup, program);
        EXPECT_EQ(ran.restart, restart) << code;
        EXPECT_EQ(ran.failures, failed ? std::vector<std::string>{"C:\\tool.exe: exit code " + std::to_string(code)}
                                       : std::vector<std::string>{});
        RecordingMergeRunner package;
        package.files = {kBeside};
        package.packageExitCode = code;
        const mm::AddOnOutcome installed = mm::RunMergeModules({Entry("")}, setup, package);
        EXPECT_EQ(installed.restart, restart) << code;
        EXPECT_EQ(installed.failures.size(), failed ? 1u : 0u) << code;
    }
    RecordingMergeRunner notStarted;
    notStarted.exitCode = 3010;
    const mm::AddOnOutcome missing = mm::RunMergeModules({Entry("C:\\missing.exe")}, setup, notStarted);
    EXPECT_FALSE(missing.restart);
    EXPECT_EQ(missing.failures, std::vector<std::string>{"C:\\missing.exe: not started"});
}

// Both lists as the settings give them; a damaged count is cut.
TEST(FileActionRules, ListsReadFromTheSettings) {
    std::map<std::string, std::string> keys = {
        {"TOTAL", "2"}, {"B0", "<InstallDir>\\a.exe"}, {"C0", "/x"}, {"E0", "Setup Complete"}, {"G0", "Yes"},
        {"H0", "yes"},  {"L0", "66"},  {"M0", "Cond"},  {"D0", "/q"}, {"F0", "Main"}, {"G1", "No"}, {"H1", "Yes"}};
    auto read = [&keys](const std::string& key) { return keys[key]; };
    const pages::FileActions actions = pages::ReadFileActions(read);
    ASSERT_EQ(actions.size(), 2u);
    const FileAction& a = actions[0];
    EXPECT_EQ(a.file + "|" + a.command + "|" + a.when + "|" + a.condition, "<InstallDir>\\a.exe|/x|Setup Complete|Cond");
    EXPECT_EQ(a.systemMask, 66);
    EXPECT_TRUE(a.runOnce);
    EXPECT_FALSE(a.wait);  // "Yes" exactly
    EXPECT_TRUE(actions[1].wait);
    EXPECT_FALSE(actions[1].runOnce);

    const mm::MergeModules entries = mm::ReadMergeModules(read);
    ASSERT_EQ(entries.size(), 2u);
    const mm::MergeModule& m = entries[0];
    EXPECT_EQ(m.program + "|" + m.commandLine + "|" + m.feature + "|" + m.condition, "/x|/q|Main|Yes");
    EXPECT_EQ(entries[1].condition, "No");

    keys = {{"TOTAL", "2000000000"}};
    EXPECT_EQ(pages::ReadFileActions(read).size(), pages::kMaxFileActions);
    EXPECT_EQ(mm::ReadMergeModules(read).size(), mm::kMaxMergeModules);
}

}  // namespace
