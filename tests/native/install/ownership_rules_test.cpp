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
        1252);
    EXPECT_TRUE(earlier.Owns(LogKind::Dir, "c:\\apps\\tool"));
    EXPECT_TRUE(earlier.Owns(LogKind::File, "C:/Apps/Tool/A.TXT"));
    // The same path under another kind is not the same claim.
    EXPECT_FALSE(earlier.Owns(LogKind::File, "C:\\Apps\\Tool\\"));
    EXPECT_FALSE(earlier.Owns(LogKind::File, "C:\\Apps\\Tool\\b.txt"));
    EXPECT_FALSE(earlier.Owns(LogKind::TotalFile, "3"));
    EXPECT_FALSE(install::ownership::EarlierRecords().Owns(LogKind::Dir, "C:\\Apps\\Tool\\"));
}

}  // namespace
