#include "install/environment/RestoreEnvironment.h"

#include <windows.h>

#include <optional>

#include "core/Registry.h"
#include "core/Trace.h"
#include "core/WideText.h"
#include "install/registry/RemoveRegistry.h"
#include "install/shared/SystemNotify.h"
#include "install/shared/SystemSettingRules.h"
#include "install/shared/UndoRules.h"

namespace install {

namespace {

using core::LogKind;

bool IsTextType(DWORD type) { return type == REG_SZ || type == REG_EXPAND_SZ; }

// Takes the appended item out of its variable; the variable keeps its type
// (a REG_EXPAND_SZ Path keeps expanding). True when the variable changed.
bool TakeOutItem(UndoContext& context, const std::string& recordValue) {
    core::AppendedItem item;
    std::optional<undorules::ValuePath> split;
    std::string key;
    HKEY root = nullptr;
    if (!core::ParseAppendedItem(recordValue, item) ||
        !(split = undorules::SplitValuePath(item.path, GetACP())) ||
        !(root = core::registry::SplitRootPath(split->key, key)) || key.empty() || split->name.empty()) {
        core::trace::Value("unreadable ENVAPPEND", recordValue);
        context.LeftOver(recordValue);  // the item it names stays in its variable
        return false;
    }
    // Read and written as the system keeps it: the other items stay exactly
    // as they are, whatever script they are written in (compared in UTF-8,
    // which holds them and the logged item, ANSI text of the project).
    std::optional<core::registry::WideText> current = core::registry::ReadWideText(root, key, split->name);
    if (!current || !IsTextType(current->type)) return false;  // gone or no longer a list
    const std::string list = core::wide::ToCodePage(current->text, CP_UTF8);
    if (list.empty() != current->text.empty()) {  // left alone rather than replaced
        context.LeftOver(item.path);
        return false;
    }
    const std::optional<std::string> rest =
        systemrules::RemoveItem(list,
                                core::wide::ToCodePage(core::wide::FromCodePage(item.text, CP_ACP), CP_UTF8));
    if (!rest) return false;  // the item was taken out already
    current->text = core::wide::FromCodePage(*rest, CP_UTF8);
    const bool done = rest->empty() ? core::registry::DeleteValue(root, key, split->name)
                                    : core::registry::WriteWideText(root, key, split->name, *current);
    if (!done) context.LeftOver(item.path);
    return done;
}

}  // namespace

void RestoreEnvironment(UndoContext& context) {
    const unsigned codePage = GetACP();
    bool changed = false;
    const std::vector<core::LogRecord>& records = context.Records();
    for (auto it = records.rbegin(); it != records.rend(); ++it) {
        if (it->kind == LogKind::EnvAppend) changed = TakeOutItem(context, it->value) || changed;
        else if (it->kind == LogKind::RegVal && undorules::IsEnvironmentVariable(it->value, codePage))
            changed = RemoveLoggedValue(context, it->value) || changed;
        else if (it->kind == LogKind::EnvKept && context.Setup().rollback)
            changed = RemoveLoggedValue(context, it->value) || changed;
        else if (it->kind != LogKind::EnvKept) continue;
        context.Advance();
    }
    if (changed) AnnounceEnvironmentChange();
}

}  // namespace install
