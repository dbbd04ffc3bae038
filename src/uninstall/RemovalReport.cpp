#include "uninstall/RemovalReport.h"

#include "install/ActionTableRules.h"
#include "uninstall/ExitCodes.h"

namespace uninstall {

namespace {

using core::MessageId;

void AppendList(std::string& out, const std::string& heading, const std::vector<std::string>& items) {
    if (items.empty()) return;
    out += "\r\n\r\n" + heading;
    for (size_t i = 0; i < items.size() && i < kMaxListedItems; ++i) out += "\r\n" + items[i];
    if (items.size() > kMaxListedItems)
        out += "\r\n" + core::FormatText(core::EnglishText(MessageId::UninstallMoreItems),
                                         {std::to_string(items.size() - kMaxListedItems)});
}

}  // namespace

std::vector<std::string> UnconsumedLines(const std::vector<core::LogRecord>& records) {
    std::vector<std::string> lines;
    for (const core::LogRecord* record : install::tables::UnconsumedRecords(records))
        lines.push_back(install::tables::LineOf(*record));
    return lines;
}

int ExitCodeOf(const RemovalReport& report) {
    if (!report.leftOver.empty() || !report.skippedLines.empty()) return kExitLeftOver;
    if (!report.restartNeeded.empty()) return kExitRestartNeeded;
    return kExitRemoved;
}

std::string OutcomeText(const RemovalReport& report, const std::function<std::string(MessageId)>& text) {
    const bool complete = report.leftOver.empty() && report.skippedLines.empty();
    return text(complete ? MessageId::UninstallRemoved : MessageId::UninstallRemovedPartly);
}

std::string ClosingText(const RemovalReport& report, const std::function<std::string(MessageId)>& text) {
    std::string out = OutcomeText(report, text);
    AppendList(out, text(MessageId::UninstallLeftOverHeading), report.leftOver);
    AppendList(out, text(MessageId::UninstallSkippedHeading), report.skippedLines);
    AppendList(out, text(MessageId::UninstallRestartHeading), report.restartNeeded);
    return out;
}

}  // namespace uninstall
