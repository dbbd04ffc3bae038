// What an earlier run of the product owns: its records, paths compared as
// the file system does, header lines owning nothing.
#include <gtest/gtest.h>

#include "install/shared/OwnershipRules.h"

namespace {

using core::LogKind;
using core::MakeLogRecord;

TEST(OwnershipRules, AnEarlierRunOwnsWhatItLogged) {
    const install::ownership::EarlierRecords earlier(
        {MakeLogRecord(LogKind::LogFormat, "2"), MakeLogRecord(LogKind::TotalFile, "3"),
         MakeLogRecord(LogKind::Dir, "C:\\Apps\\Tool\\"), MakeLogRecord(LogKind::File, "C:\\Apps\\Tool\\a.txt")},
        install::ownership::AsciiPathKey(1252));
    EXPECT_TRUE(earlier.Owns(LogKind::Dir, "c:\\apps\\tool"));
    EXPECT_TRUE(earlier.Owns(LogKind::File, "C:/Apps/Tool/A.TXT"));
    // The same path under another kind is not the same claim.
    EXPECT_FALSE(earlier.Owns(LogKind::File, "C:\\Apps\\Tool\\"));
    EXPECT_FALSE(earlier.Owns(LogKind::File, "C:\\Apps\\Tool\\b.txt"));
    EXPECT_FALSE(earlier.Owns(LogKind::TotalFile, "3"));
    EXPECT_FALSE(install::ownership::EarlierRecords().Owns(LogKind::Dir, "C:\\Apps\\Tool\\"));
}

// A removal leaves what only a rollback undoes, and the other way round.
TEST(OwnershipRules, EachUndoSeesTheRecordsMeantForIt) {
    using core::UndoPurpose;
    const std::vector<core::LogRecord> log = {
        MakeLogRecord(LogKind::UndoBy, core::kUndoByRemoval), MakeLogRecord(LogKind::Dir, "C:\\App\\"),
        MakeLogRecord(LogKind::File, "C:\\App\\a.txt"), MakeLogRecord(LogKind::UndoBy, core::kUndoByRollback),
        MakeLogRecord(LogKind::RegPrev, "1|HKEY_CURRENT_USER\\Environment\\X|76310000")};
    auto kinds = [](const std::vector<core::LogRecord>& records) {
        std::vector<LogKind> k;
        for (const core::LogRecord& r : records) k.push_back(r.kind);
        return k;
    };
    EXPECT_EQ(kinds(install::ownership::RecordsFor(log, UndoPurpose::Removal)),
              (std::vector<LogKind>{LogKind::Dir, LogKind::File}));
    EXPECT_EQ(kinds(install::ownership::RecordsFor(log, UndoPurpose::Rollback)),
              (std::vector<LogKind>{LogKind::File, LogKind::RegPrev}));
}

// What the new version no longer touches is left behind, never its choices
// and backups; a target it touched in any way (another kind of line, one for
// neither undo) is not.
TEST(OwnershipRules, WhatTheNewRunDidNotTouchIsLeftBehind) {
    const std::vector<core::LogRecord> earlier = {
        MakeLogRecord(LogKind::TotalFile, "2"), MakeLogRecord(LogKind::Dir, "C:\\App\\"),
        MakeLogRecord(LogKind::File, "C:\\App\\a.txt"), MakeLogRecord(LogKind::File, "C:\\App\\dropped.txt"),
        MakeLogRecord(LogKind::File, "C:\\App\\kept.txt"), MakeLogRecord(LogKind::RegVal, "HKEY_CURRENT_USER\\Environment\\V"),
        MakeLogRecord(LogKind::RegPrev, "1|HKEY_CURRENT_USER\\Environment\\V|6F00"),
        MakeLogRecord(LogKind::RemoveAll, "Yes"), MakeLogRecord(LogKind::Backup, "C:\\App\\a.txt|C:\\b\\1_a.txt")};
    const std::vector<core::LogRecord> current = {
        MakeLogRecord(LogKind::Dir, "c:\\app"), MakeLogRecord(LogKind::File, "C:\\APP\\A.TXT"),
        MakeLogRecord(LogKind::KeepFile, "C:\\App\\kept.txt"), MakeLogRecord(LogKind::UndoBy, core::kUndoByNeither),
        MakeLogRecord(LogKind::RegVal, "HKEY_CURRENT_USER\\Environment\\V")};
    const std::vector<core::LogRecord> left =
        install::ownership::LeftBehind(earlier, current, install::ownership::AsciiPathKey(1252));
    ASSERT_EQ(left.size(), 1u);
    EXPECT_EQ(left[0].value, "C:\\App\\dropped.txt");
    EXPECT_TRUE(install::ownership::RecordsFor(current, core::UndoPurpose::Removal).size() == 3);
}

}  // namespace
