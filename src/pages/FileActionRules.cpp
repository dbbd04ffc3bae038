#include "pages/FileActionRules.h"

#include "core/SettingsKeys.h"
#include "core/SettingsRules.h"
#include "install/files/FileRules.h"
#include "pages/PageSequence.h"
#include "util/Text.h"

namespace pages {

namespace {

namespace k = core::keys::fileaction;

}  // namespace

FileActions ReadFileActions(const FileActionKeyReader& read) {
    const int total = core::settings::ParseNumber(read(core::keys::kTotal).c_str());
    FileActions actions;
    for (int i = 0; i < total && actions.size() < kMaxFileActions; ++i) {
        auto field = [&read, i](const char* letter) { return read(core::settings::ListKey(letter, i)); };
        FileAction a;
        a.file = field(k::kFile);
        a.command = field(k::kCommand);
        a.when = field(k::kWhen);
        a.runOnce = core::settings::IsYes(field(k::kRunOnce).c_str());
        a.wait = core::settings::IsYes(field(k::kWait).c_str());
        a.systemMask = core::settings::ParseNumber(field(k::kSystemMask).c_str());
        a.condition = field(k::kCondition);
        actions.push_back(std::move(a));
    }
    return actions;
}

FileActionKind KindOfFileAction(const std::string& file) {
    if (util::text::IsWebAddress(file)) return FileActionKind::Address;
    // Judged by the file's own name: a folder on the way may hold ".exe" too
    // ("C:\tmp.exe1\hook.dll").
    const size_t slash = file.find_last_of("\\/");
    const std::string lower = util::text::AsciiLower(slash == std::string::npos ? file : file.substr(slash + 1));
    if (lower.find(".exe") != std::string::npos) return FileActionKind::Program;
    if (lower.find(".dll") != std::string::npos) return FileActionKind::Library;
    return FileActionKind::None;
}

bool RunsAt(const FileAction& action, const std::string& trigger) {
    return !trigger.empty() && !action.when.empty() && wizard::LayoutForPageTitle(action.when) == trigger;
}

FileActionsOutcome RunFileActions(FileActions& actions, const std::string& trigger,
                                  const std::string& osName, FileActionRunner& runner) {
    for (FileAction& a : actions) {
        if (runner.Cancelled()) break;
        if (a.done || !RunsAt(a, trigger)) continue;
        if (a.runOnce) a.done = true;
        if (!install::filerules::SystemMaskMatches(a.systemMask, osName)) continue;
        if (!runner.ConditionHolds(a.condition) || runner.Cancelled()) continue;
        const std::string file = runner.Expand(a.file);
        const FileActionKind kind = KindOfFileAction(file);
        if (kind == FileActionKind::Address) {
            runner.OpenAddress(file);
        } else if (kind != FileActionKind::None && !util::text::IsFullPath(file)) {
            runner.Refused(file);
        } else if (kind == FileActionKind::Program) {
            runner.RunProgram(file, runner.Expand(a.command), a.wait);
        } else if (kind == FileActionKind::Library) {
            if (runner.CallLibrary(file, runner.Expand(a.command)) == kAbandonSetup)
                return FileActionsOutcome::Abandoned;
        }
    }
    return FileActionsOutcome::Done;
}

}  // namespace pages
