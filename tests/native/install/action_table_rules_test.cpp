// The declared install actions and undo steps against the log's kinds: what
// an action logs, one of its undo steps consumes; every kind has exactly one
// consuming step; the format document lists exactly the kinds there are.
#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <set>
#include <sstream>

#include "install/ActionTableRules.h"

namespace {

using core::LogKind;
using core::LogRecord;
namespace tables = install::tables;

TEST(ActionTables, AgreeWithTheLogKinds) {
    EXPECT_EQ(tables::TableProblems(), std::vector<std::string>{});
    for (LogKind kind : core::KnownLogKinds())
        EXPECT_EQ(tables::ConsumerOf(kind) == nullptr, core::IsHeaderKind(kind)) << core::KeyOf(kind);
    // Each action's undo steps consume everything it logs but the header.
    for (const tables::ActionRow& action : tables::Actions())
        for (LogKind kind : action.logs) {
            if (core::IsHeaderKind(kind)) continue;
            const tables::UndoStepRow* consumer = tables::ConsumerOf(kind);
            ASSERT_NE(consumer, nullptr);
            bool named = false;
            for (const char* step : action.undoneBy) named = named || consumer->name == std::string(step);
            EXPECT_TRUE(named) << action.name << " " << core::KeyOf(kind);
        }
}

TEST(ActionTables, ReadOnlyKindsAreConsumedElsewhere) {
    for (const tables::UndoStepRow& step : tables::UndoSteps())
        for (LogKind kind : step.alsoReads) {
            const tables::UndoStepRow* consumer = tables::ConsumerOf(kind);
            ASSERT_NE(consumer, nullptr);
            EXPECT_STRNE(consumer->name, step.name);
        }
}

// Header lines describe the log; every other known kind has its step.
TEST(ActionTables, UnconsumedRecordsAreTheUnknownOnes) {
    std::vector<LogRecord> records;
    for (LogKind kind : core::KnownLogKinds()) records.push_back(core::MakeLogRecord(kind, "x"));
    records.push_back(LogRecord{LogKind::Unknown, "NEWKIND", "something new"});
    records.push_back(LogRecord{LogKind::Unknown, "BARE", ""});
    const std::vector<const LogRecord*> left = tables::UnconsumedRecords(records);
    ASSERT_EQ(left.size(), 2u);
    EXPECT_EQ(tables::LineOf(*left[0]), "NEWKIND=something new");
    EXPECT_EQ(tables::LineOf(*left[1]), "BARE");
}

// The document's table of kinds names every kind once and nothing else.
TEST(ActionTables, FormatDocumentListsEveryKind) {
    std::ifstream in(CV_SOURCE_DIR "/core/UninstallLogFormat.md");
    ASSERT_TRUE(in) << CV_SOURCE_DIR "/core/UninstallLogFormat.md";
    std::stringstream text;
    text << in.rdbuf();
    std::multiset<std::string> documented;
    const std::regex row("^\\| `([A-Z0-9]+)` \\|");
    std::string line;
    while (std::getline(text, line)) {
        std::smatch m;
        if (std::regex_search(line, m, row)) documented.insert(m[1]);
    }
    std::multiset<std::string> known;
    for (LogKind kind : core::KnownLogKinds()) known.insert(core::KeyOf(kind));
    EXPECT_EQ(documented, known);
}

}  // namespace
