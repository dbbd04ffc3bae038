// The uninstall log: line format, reading, and the writer against real files.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "core/UninstallLog.h"

namespace fs = std::filesystem;
using core::LogKind;
using core::LogRecord;

namespace {

const std::vector<LogKind>& kKnownKinds = core::KnownLogKinds();
// The line every log this program makes begins with.
const std::string kFormatLine = std::string("LOGFORMAT=") + core::kLogFormatVersion + "\r\n";

// A fresh folder per test, removed afterwards.
class Scratch {
public:
    Scratch() {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        path_ = fs::temp_directory_path() /
                (std::string("cv_log_") + info->test_suite_name() + "_" + info->name());
        fs::remove_all(path_);
        fs::create_directories(path_);
    }
    ~Scratch() {
        std::error_code ec;
        fs::remove_all(path_, ec);
    }
    std::string Path(const std::string& name) const { return (path_ / name).string(); }

private:
    fs::path path_;
};

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

LogRecord Parsed(const std::string& line) {
    LogRecord r;
    EXPECT_TRUE(core::ParseLogLine(line, r)) << line;
    return r;
}

void ExpectRecord(const LogRecord& r, LogKind kind, const std::string& key,
                  const std::string& value) {
    EXPECT_EQ(r.kind, kind);
    EXPECT_EQ(r.key, key);
    EXPECT_EQ(r.value, value);
}

TEST(UninstallLogLine, EveryKindReadsBackTheSame) {
    for (LogKind kind : kKnownKinds) {
        const std::string key = core::KeyOf(kind);
        ASSERT_FALSE(key.empty());
        EXPECT_EQ(core::KindOfKey(key), kind) << key;
        const std::string line = core::FormatLogLine(core::MakeLogRecord(kind, "C:\\App\\a b.txt"));
        EXPECT_EQ(line, key + "=C:\\App\\a b.txt\r\n");
        ExpectRecord(Parsed(line), kind, key, "C:\\App\\a b.txt");
    }
    // Keys are matched exactly.
    EXPECT_EQ(core::KindOfKey("file"), LogKind::Unknown);
    EXPECT_EQ(core::KindOfKey("FILE "), LogKind::Unknown);
    EXPECT_EQ(core::KindOfKey("RUN3"), LogKind::Unknown);
}

TEST(UninstallLogLine, ValuesMayHoldEqualsSignsAndBeLong) {
    ExpectRecord(Parsed("RUN3RDCMD=/x=1 /y==2=\r\n"), LogKind::Run3rdCmd, "RUN3RDCMD",
                 "/x=1 /y==2=");
    ExpectRecord(Parsed("DIR=\r\n"), LogKind::Dir, "DIR", "");

    std::string longValue(100000, 'v');
    longValue[50000] = '=';
    const std::string line = core::FormatLogLine(core::MakeLogRecord(LogKind::File, longValue));
    EXPECT_EQ(line.size(), longValue.size() + 7);
    ExpectRecord(Parsed(line), LogKind::File, "FILE", longValue);
}

TEST(UninstallLogLine, LineBreaksCannotBeWritten) {
    for (const char* value : {"a\r\nb", "a\nb", "a\rb", "tail\n"})
        EXPECT_EQ(core::FormatLogLine(core::MakeLogRecord(LogKind::File, value)), "") << value;
    EXPECT_EQ(core::FormatLogLine(LogRecord{LogKind::Unknown, "A=B", "v"}), "");
    EXPECT_EQ(core::FormatLogLine(LogRecord{LogKind::Unknown, "A\nB", "v"}), "");

    Scratch dir;
    core::UninstallLogWriter log;
    log.Start(dir.Path("uninstall.log"));
    EXPECT_TRUE(log.Append(LogKind::Dir, "C:\\App"));
    EXPECT_FALSE(log.Append(LogKind::File, "C:\\App\\a\r\nFILE=C:\\Windows\\x.dll"));
    EXPECT_FALSE(log.Append(LogRecord{LogKind::Unknown, "X=Y", "v"}));
    log.Close();
    EXPECT_EQ(ReadBytes(dir.Path("uninstall.log")), kFormatLine + "DIR=C:\\App\r\n");
}

TEST(UninstallLogRead, UnknownLinesAreKept) {
    const auto records =
        core::ParseUninstallLog("NEWKEY=x=y\r\nfile=lower\r\nno separator\r\n=empty key\r\n");
    ASSERT_EQ(records.size(), 4u);
    ExpectRecord(records[0], LogKind::Unknown, "NEWKEY", "x=y");
    ExpectRecord(records[1], LogKind::Unknown, "file", "lower");
    ExpectRecord(records[2], LogKind::Unknown, "no separator", "");
    ExpectRecord(records[3], LogKind::Unknown, "", "empty key");
    // A kept line is written back as it was read.
    EXPECT_EQ(core::FormatLogLine(records[0]), "NEWKEY=x=y\r\n");
    EXPECT_EQ(core::FormatLogLine(records[3]), "=empty key\r\n");
    // A known key without "=" is not taken for a record of that kind.
    ExpectRecord(Parsed("FILE\r\n"), LogKind::Unknown, "FILE", "");
}

TEST(UninstallLogRead, LineEnds) {
    const std::string expected[] = {"a", "b", "c"};
    // LF only; mixed with no final end; empty lines around; a final lone CR.
    for (const char* text : {"FILE=a\nFILE=b\nFILE=c\n", "FILE=a\r\nFILE=b\nFILE=c",
                             "\r\nFILE=a\r\n\r\n\nFILE=b\r\nFILE=c\r\n\n",
                             "FILE=a\r\nFILE=b\r\nFILE=c\r"}) {
        const auto records = core::ParseUninstallLog(text);
        ASSERT_EQ(records.size(), 3u) << text;
        for (size_t i = 0; i < 3; ++i) ExpectRecord(records[i], LogKind::File, "FILE", expected[i]);
    }
    // A CR that ends no line belongs to the value.
    const auto records = core::ParseUninstallLog("FILE=a\rb\r\n");
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].value, "a\rb");
    EXPECT_TRUE(core::ParseUninstallLog("").empty());
    EXPECT_TRUE(core::ParseUninstallLog("\r\n\n\r\n").empty());
    LogRecord r;
    EXPECT_FALSE(core::ParseLogLine("\r\n", r));
}

TEST(UninstallLogWriter, WritesLinesThatReadBackInOrder) {
    Scratch dir;
    const std::string path = dir.Path("uninstall.log");
    std::vector<LogRecord> written;
    for (LogKind kind : kKnownKinds)
        written.push_back(core::MakeLogRecord(kind, std::string("v=") + core::KeyOf(kind)));
    written.push_back(core::MakeLogRecord(LogKind::File, std::string(100000, 'x')));
    written.push_back(LogRecord{LogKind::Unknown, "LATER", "kept"});

    core::UninstallLogWriter log;
    log.Start(path);
    std::string expectedBytes = kFormatLine;
    for (const LogRecord& r : written) {
        EXPECT_TRUE(log.Append(r));
        expectedBytes += core::FormatLogLine(r);
    }
    // Every line is on disk before the writer closes.
    EXPECT_EQ(ReadBytes(path), expectedBytes);
    log.Close();
    // Appending after Close goes on at the end of the same log.
    EXPECT_TRUE(log.Append(LogKind::Dir, "C:\\More"));
    log.Close();
    EXPECT_EQ(ReadBytes(path), expectedBytes + "DIR=C:\\More\r\n");
    written.push_back(core::MakeLogRecord(LogKind::Dir, "C:\\More"));
    written.insert(written.begin(), core::MakeLogRecord(LogKind::LogFormat, core::kLogFormatVersion));

    const auto read = core::ReadUninstallLog(path);
    ASSERT_TRUE(read.has_value());
    ASSERT_EQ(read->size(), written.size());
    for (size_t i = 0; i < written.size(); ++i)
        ExpectRecord((*read)[i], written[i].kind, written[i].key, written[i].value);
}

TEST(UninstallLogWriter, StartBeginsANewLog) {
    Scratch dir;
    const std::string path = dir.Path("uninstall.log");
    WriteBytes(path, "FILE=C:\\Old\\run.txt\r\n");
    core::UninstallLogWriter log;
    log.Start(path);
    EXPECT_FALSE(fs::exists(path));
    EXPECT_TRUE(log.Append(LogKind::TotalFile, "2"));
    log.Start(path);  // a second run on the same writer starts over too
    EXPECT_TRUE(log.Append(LogKind::TotalFile, "5"));
    log.Close();
    EXPECT_EQ(ReadBytes(path), kFormatLine + "TOTALFILE=5\r\n");

    core::UninstallLogWriter unstarted;
    EXPECT_FALSE(unstarted.Append(LogKind::Dir, "x"));
}

TEST(UninstallLogWriter, MakesTheMissingFolderChainOrDropsTheLine) {
    Scratch dir;
    const std::string deep = dir.Path("Installer/{CODE}/sub/uninstall.log");
    core::UninstallLogWriter log;
    log.Start(deep);
    EXPECT_TRUE(log.Append(LogKind::TotalFile, "3"));
    log.Close();
    EXPECT_EQ(ReadBytes(deep), kFormatLine + "TOTALFILE=3\r\n");

    // A file where the folder should be: the line is dropped, the file untouched.
    WriteBytes(dir.Path("taken"), "a file");
    log.Start(dir.Path("taken/uninstall.log"));
    EXPECT_FALSE(log.Append(LogKind::Dir, "x"));
    log.Close();
    EXPECT_EQ(ReadBytes(dir.Path("taken")), "a file");
}

TEST(UninstallLogRead, AMissingFileIsNotAnEmptyLog) {
    Scratch dir;
    EXPECT_FALSE(core::ReadUninstallLog(dir.Path("none.log")).has_value());
    WriteBytes(dir.Path("empty.log"), "");
    const auto empty = core::ReadUninstallLog(dir.Path("empty.log"));
    ASSERT_TRUE(empty.has_value());
    EXPECT_TRUE(empty->empty());
}

TEST(UninstallLogValues, AppendedItemsAndOldValuesReadBackAsWritten) {
    // The text may hold the separator; the path may not.
    const std::string item = core::FormatAppendedItem({"HKEY_CURRENT_USER\\Environment\\Path", "C:\\a|b;c"});
    core::AppendedItem readItem;
    ASSERT_TRUE(core::ParseAppendedItem(item, readItem));
    EXPECT_EQ(readItem.path, "HKEY_CURRENT_USER\\Environment\\Path");
    EXPECT_EQ(readItem.text, "C:\\a|b;c");
    EXPECT_EQ(core::FormatAppendedItem({"HKEY_CURRENT_USER\\a|b", "x"}), "");
    EXPECT_FALSE(core::ParseAppendedItem("no separator", readItem));

    const std::string old = core::FormatOldValue({2, "HKEY_CLASSES_ROOT\\t\\DefaultIcon\\", "%x%|,1"});
    EXPECT_EQ(old, "2|HKEY_CLASSES_ROOT\\t\\DefaultIcon\\|%x%|,1");
    core::OldValue readOld;
    ASSERT_TRUE(core::ParseOldValue(old, readOld));
    EXPECT_EQ(readOld.type, 2u);
    EXPECT_EQ(readOld.path, "HKEY_CLASSES_ROOT\\t\\DefaultIcon\\");
    EXPECT_EQ(readOld.text, "%x%|,1");
    EXPECT_EQ(core::FormatOldValue({4, "HKEY_CLASSES_ROOT\\t\\", "x"}), "");  // not a text
    EXPECT_FALSE(core::ParseOldValue("3|HKEY_CLASSES_ROOT\\t\\|x", readOld));
    EXPECT_FALSE(core::ParseOldValue("1||x", readOld));

    const std::string moved = core::FormatMovedAside({"C:\\App\\a.dll", "C:\\Backup\\1_a.dll"});
    EXPECT_EQ(moved, "C:\\App\\a.dll|C:\\Backup\\1_a.dll");
    core::MovedAside readMoved;
    ASSERT_TRUE(core::ParseMovedAside(moved, readMoved));
    EXPECT_EQ(readMoved.path, "C:\\App\\a.dll");
    EXPECT_EQ(readMoved.backup, "C:\\Backup\\1_a.dll");
    EXPECT_EQ(core::FormatMovedAside({"C:\\a", ""}), "");
    EXPECT_EQ(core::FormatMovedAside({"C:\\a|b", "C:\\c"}), "");
    EXPECT_FALSE(core::ParseMovedAside("C:\\a|", readMoved));
    EXPECT_FALSE(core::ParseMovedAside("C:\\a|b|c", readMoved));
    EXPECT_EQ(core::KindOfKey("BACKUP"), core::LogKind::Backup);

    // Any type, any bytes (zeros, "|", line ends) as hex.
    const std::string bytes("\x00|\r\n\xff", 5);
    const std::string previous = core::FormatPreviousValue({3, "HKEY_CURRENT_USER\\Software\\A\\Blob", bytes});
    EXPECT_EQ(previous, "3|HKEY_CURRENT_USER\\Software\\A\\Blob|007C0D0AFF");
    core::PreviousValue readPrevious;
    ASSERT_TRUE(core::ParsePreviousValue(previous, readPrevious));
    EXPECT_EQ(readPrevious.type, 3u);
    EXPECT_EQ(readPrevious.path, "HKEY_CURRENT_USER\\Software\\A\\Blob");
    EXPECT_EQ(readPrevious.bytes, bytes);
    EXPECT_FALSE(readPrevious.wide);
    // A text read through the wide functions says so after its type.
    EXPECT_EQ(core::FormatPreviousValue({1, "HKEY_CURRENT_USER\\A\\n", std::string("A\0\0\0", 4), true}),
              "1U|HKEY_CURRENT_USER\\A\\n|41000000");
    ASSERT_TRUE(core::ParsePreviousValue("1U|HKEY_CURRENT_USER\\A\\n|4100", readPrevious));
    EXPECT_TRUE(readPrevious.wide);
    EXPECT_EQ(readPrevious.type, 1u);
    EXPECT_FALSE(core::ParsePreviousValue("U|HKEY_CURRENT_USER\\A\\n|4100", readPrevious));
    EXPECT_TRUE(core::ParsePreviousValue("4|HKEY_CURRENT_USER\\A\\n|", readPrevious));
    EXPECT_TRUE(readPrevious.bytes.empty());
    EXPECT_EQ(core::FormatPreviousValue({1, "HKEY_CURRENT_USER\\a|b", "x"}), "");
    EXPECT_FALSE(core::ParsePreviousValue("1|HKEY_CURRENT_USER\\A\\n|0", readPrevious));   // half a byte
    EXPECT_FALSE(core::ParsePreviousValue("1|HKEY_CURRENT_USER\\A\\n|GG", readPrevious));  // not hex
    EXPECT_FALSE(core::ParsePreviousValue("x|HKEY_CURRENT_USER\\A\\n|00", readPrevious));
    EXPECT_FALSE(core::ParsePreviousValue("1||00", readPrevious));

    // A service's settings: the command line last, "|" and all.
    const std::string service = core::FormatServiceSettings({"svc", 16, 2, 1, "My Service", "\"C:\\a b\\s.exe\" -x|y"});
    EXPECT_EQ(service, "svc|16|2|1|My Service|\"C:\\a b\\s.exe\" -x|y");
    core::ServiceSettings readService;
    ASSERT_TRUE(core::ParseServiceSettings(service, readService));
    EXPECT_EQ(readService.startType, 2u);
    EXPECT_EQ(readService.commandLine, "\"C:\\a b\\s.exe\" -x|y");
    EXPECT_EQ(core::FormatServiceSettings({"a|b", 16, 2, 1, "", ""}), "");
    EXPECT_FALSE(core::ParseServiceSettings("svc|16|x|1|d|c", readService));
    EXPECT_FALSE(core::ParseServiceSettings("svc|16|2|1", readService));
}

TEST(UninstallLogValues, IniEntriesReadBackWithWhatWasThere) {
    using Before = core::IniEntry::Before;
    core::IniEntry read;
    const std::string value = core::FormatIniEntry({"C:\\win.ini", "Main", "Path", Before::Value, "a|b="});
    EXPECT_EQ(value, "C:\\win.ini|Main|Path|2a|b=");
    ASSERT_TRUE(core::ParseIniEntry(value, read));
    EXPECT_EQ(read.section, "Main");
    EXPECT_EQ(read.before, Before::Value);
    EXPECT_EQ(read.value, "a|b=");  // the former value may hold the separator
    ASSERT_TRUE(core::ParseIniEntry(core::FormatIniEntry({"C:\\a.ini", "", "K", Before::Nothing, ""}), read));
    EXPECT_EQ(read.before, Before::Nothing);
    EXPECT_EQ(read.section, "");
    EXPECT_EQ(core::FormatIniEntry({"C:\\a.ini", "S|T", "K", Before::SectionOnly, ""}), "");
    EXPECT_EQ(core::FormatIniEntry({"C:\\a.ini", "S", "", Before::Nothing, ""}), "");
    for (const char* bad : {"C:\\a.ini|S|K|3", "C:\\a.ini|S|K|1x", "C:\\a.ini|S|K|", "|S|K|0", "C:\\a.ini|S||0"})
        EXPECT_FALSE(core::ParseIniEntry(bad, read)) << bad;
}

TEST(UninstallLogValues, BackupChecksReadBackWithSizeAndDigest) {
    const std::string digest(64, 'a');
    core::BackupCheck read;
    ASSERT_TRUE(core::ParseBackupCheck(core::FormatBackupCheck({"D:\\Rollback.{P}.07\\1_a.txt", 12, digest}), read));
    EXPECT_EQ(read.backup, "D:\\Rollback.{P}.07\\1_a.txt");
    EXPECT_EQ(read.size, 12u);
    EXPECT_EQ(read.sha256, digest);
    EXPECT_EQ(core::FormatBackupCheck({"D:\\a|b", 1, digest}), "");
    EXPECT_EQ(core::FormatBackupCheck({"D:\\a", 1, "abc"}), "");
    for (const std::string& bad : std::vector<std::string>{"D:\\a|x|" + digest, "|1|" + digest, "D:\\a|1|abc",
                                                           "D:\\a||" + digest})
        EXPECT_FALSE(core::ParseBackupCheck(bad, read)) << bad;
}

}  // namespace
