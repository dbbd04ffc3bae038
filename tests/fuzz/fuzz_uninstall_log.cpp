// The uninstall log as the uninstaller reads it, and the values of its
// compound records; a record that can be written reads back as the same line.
#include <cstdint>
#include <string>

#include "core/UninstallLog.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    for (const core::LogRecord& r : core::ParseUninstallLog(text)) {
        core::AppendedItem item;
        if (core::ParseAppendedItem(r.value, item)) {
            core::AppendedItem back;
            if (!core::ParseAppendedItem(core::FormatAppendedItem(item), back) || back.path != item.path ||
                back.text != item.text)
                __builtin_trap();
        }
        core::OldValue old;
        core::ParseOldValue(r.value, old);
        if (core::IsRepresentable(r)) {
            core::LogRecord back;
            // A line without "=" naming a known kind reads back as that kind:
            // the line written, not the kind, is what stays the same.
            const std::string line = core::FormatLogLine(r);
            if (!core::ParseLogLine(line, back) || core::FormatLogLine(back) != line) __builtin_trap();
        }
    }
    return 0;
}
