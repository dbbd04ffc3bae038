#include "control/LanguageStep.h"

#include <windows.h>

#include "control/LanguageRules.h"
#include "core/Folders.h"
#include "core/Trace.h"
#include "core/TraceNames.h"

namespace control {

// Looked up rather than linked: the function is missing from the oldest
// systems. kernel32 is always loaded, so no library search is involved.
unsigned SystemUiLanguage() {
    HMODULE kernel = GetModuleHandleA("KERNEL32.DLL");
    if (!kernel) return 0;
    using Function = LANGID(WINAPI*)();
    auto function = reinterpret_cast<Function>(
        reinterpret_cast<void*>(GetProcAddress(kernel, "GetSystemDefaultUILanguage")));
    return function ? function() : 0;
}

bool ApplyLanguage(core::SetupState& state, const std::string& name) {
    const std::string path = LanguageFilePath(state.sourceFolder, name);
    if (name.empty() || !core::folders::IsFile(path)) {
        core::trace::Value("language file missing", path);
        return false;
    }
    state.appliedLanguageFile = path;
    core::trace::Value(core::tracenames::kLanguageApplied, name);
    return true;
}

}  // namespace control
