// What a removal could not do, gathered while it runs, and what follows from
// it: the exit code and the closing message that lists it. Pure rules.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "core/Messages.h"
#include "core/UninstallLog.h"

namespace uninstall {

struct RemovalReport {
    std::vector<std::string> leftOver;       // stays on the machine
    std::vector<std::string> restartNeeded;  // goes at the next restart
    std::vector<std::string> skippedLines;   // log lines of a kind nobody removes, "KEY=VALUE"
};

// The closing message shows at most this many items of each list, then how
// many more there are.
constexpr size_t kMaxListedItems = 10;

// The log's lines no undo step consumes (unknown kinds, a newer product's),
// as "KEY=VALUE" (the bare key for a line without "="): they are left alone
// and reported.
std::vector<std::string> UnconsumedLines(const std::vector<core::LogRecord>& records);

// kExitRemoved, kExitLeftOver (anything left over or skipped) or
// kExitRestartNeeded (only restart items).
int ExitCodeOf(const RemovalReport& report);

// The outcome sentence: removed, or removed but not completely.
std::string OutcomeText(const RemovalReport& report,
                        const std::function<std::string(core::MessageId)>& text);

// The closing message: the outcome sentence, then each non-empty list under
// its heading, one item a line. `text` gives the (localised, expanded) text of
// a message id.
std::string ClosingText(const RemovalReport& report,
                        const std::function<std::string(core::MessageId)>& text);

}  // namespace uninstall
