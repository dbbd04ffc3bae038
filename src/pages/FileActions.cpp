#include "pages/FileActions.h"

#include <cstring>

#include "core/RunProgram.h"
#include "core/Settings.h"
#include "core/SettingsKeys.h"
#include "core/Trace.h"
#include "util/Text.h"

namespace pages {

namespace {

// The calling convention left open to projects: the buffer in, a number out.
using FileActionFunction = int(WINAPI*)(char* buffer);

}  // namespace

FileActions ReadFileActions(const std::string& settingsPath) {
    return ReadFileActions([&settingsPath](const std::string& key) {
        return core::settings::Read(settingsPath, core::keys::fileaction::kSection, key.c_str());
    });
}

int CallFileActionFunction(const std::string& library, const std::string& function,
                           const std::string& text, std::string* after) {
    // The altered search order finds the library's own dependencies beside it.
    HMODULE module = LoadLibraryExA(library.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    if (!module) {
        core::trace::Failure("LoadLibraryExA", library, GetLastError());
        return 0;
    }
    int result = 0;
    auto call = reinterpret_cast<FileActionFunction>(
        reinterpret_cast<void*>(GetProcAddress(module, function.c_str())));
    if (!call) {
        core::trace::Failure("GetProcAddress", function, GetLastError());
    } else {
        char buffer[kFileActionBufferSize] = {};
        util::text::CopyTruncated(buffer, sizeof buffer, text.c_str());
        result = call(buffer);
        // Whatever the function wrote, the text read back ends inside the buffer.
        buffer[sizeof buffer - 1] = '\0';
        if (after) *after = buffer;
        core::trace::Value("file action buffer", buffer);
    }
    FreeLibrary(module);
    return result;
}

SetupFileActionRunner::SetupFileActionRunner(const core::SetupState& state,
                                             std::function<bool(const std::string&)> conditionHolds,
                                             HWND page)
    : state_(state),
      conditionHolds_(std::move(conditionHolds)),
      page_(page),
      cancelledBefore_(core::CurrentRun().Stopped()) {}

// <InstallDir> is the folder the user chose, also before the installation.
std::string SetupFileActionRunner::Expand(const std::string& text) const {
    core::PlaceholderValues values = core::PlaceholderValuesOf(state_);
    values.installDir = state_.currentInstallFolder;
    return core::ExpandSetupText(text, values);
}

bool SetupFileActionRunner::ConditionHolds(const std::string& name) { return conditionHolds_(name); }

bool SetupFileActionRunner::Cancelled() const { return !cancelledBefore_ && core::CurrentRun().Stopped(); }

void SetupFileActionRunner::RunProgram(const std::string& path, const std::string& arguments, bool wait) {
    core::trace::Value(wait ? "file action program, waited for" : "file action program",
                       path + "|" + arguments);
    if (!wait) {
        core::StartProgram(path, arguments);
        return;
    }
    const bool disable = page_ && IsWindowEnabled(page_);
    if (disable) EnableWindow(page_, FALSE);
    core::RunProgramAndWait(path, arguments);
    if (disable) EnableWindow(page_, TRUE);
}

void SetupFileActionRunner::OpenAddress(const std::string& address) {
    core::trace::Value("file action address", address);
    core::OpenWithShell(address);
}

int SetupFileActionRunner::CallLibrary(const std::string& path, const std::string& function) {
    core::trace::Value("file action library", path + "|" + function);
    const int result = CallFileActionFunction(path, function, state_.currentInstallFolder);
    core::trace::Value("file action result", std::to_string(result));
    return result;
}

void SetupFileActionRunner::Refused(const std::string& file) {
    core::trace::Value("file action refused, not a full path", file);
}

}  // namespace pages
