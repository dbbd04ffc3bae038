// A run that did not complete, undone in-process: the file action runs
// against a scripted context, then the rollback replays what it logged with
// the undo steps a removal uses.
#include <windows.h>

#include <string>
#include <vector>

#include "core/Messages.h"
#include "install/files/FilePhase.h"
#include "install/InterruptedRun.h"
#include "install/files/ReplacedFiles.h"
#include "install/Rollback.h"

#include "ScriptedContext.h"

namespace {

using install::ActionResult;

// What the progress page would show.
class RecordingSink : public install::ProgressSink {
public:
    void SetStatus(const std::string& text, int line) override { (line == 0 ? statuses : details).push_back(text); }
    void SetProgressRange(int count) override { range = count; }
    void SetProgressPosition(int position) override { last = position; }
    install::ErrorChoice Ask(const install::Question&) override { return install::ErrorChoice::Cancel; }
    void ShowError(const std::string&) override {}
    void ShowDownloadProgress() override {}
    void UpdateDownloadProgress(const download::ProgressReport&) override {}
    void HideDownloadProgress() override {}

    std::vector<std::string> statuses, details;
    int range = -1, last = -1;
};

struct FileFacts {
    std::string bytes;
    DWORD attributes = INVALID_FILE_ATTRIBUTES;
    FILETIME written = {};
    bool operator==(const FileFacts& o) const {
        return bytes == o.bytes && attributes == o.attributes && CompareFileTime(&written, &o.written) == 0;
    }
};

FileFacts FactsOf(const std::string& path) {
    FileFacts facts;
    facts.bytes = ScratchFolder::Read(path);
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) {
        facts.attributes = data.dwFileAttributes;
        facts.written = data.ftLastWriteTime;
    }
    return facts;
}

// An old file with attributes and a time of its own.
std::string WriteOldFile(const ScratchFolder& dir, const std::string& name, const std::string& bytes, DWORD attributes) {
    const std::string path = dir.Write(name, bytes);
    HANDLE file = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    FILETIME old = {0x12345678, 0x01C00000};  // a day in 1998
    SetFileTime(file, &old, &old, &old);
    CloseHandle(file);
    SetFileAttributesA(path.c_str(), attributes);
    return path;
}

// The uninstall log a killed run leaves: the records it wrote so far.
void WriteRunLog(const ScriptedContext& ctx, const std::string& folder) {
    core::UninstallLogWriter log;
    log.Start(folder + "uninstall.log");
    for (const core::LogRecord& record : ctx.logRecords) log.Append(record);
    log.Close();
}

constexpr core::scope::InstallScope kEveryone = core::scope::InstallScope::AllUsers;

install::UndoSetup SetupOf(ScriptedContext& ctx) {
    return install::RollbackSetup(ctx.Setup().values.productCode, ctx.Expand(core::kUninstallFolder),
                                  ctx.Setup().values.windowsFolder, kEveryone, false);
}

TEST(Rollback, ReplacedFilesComeBackByteForByteWithAttributesAndTimes) {
    ScratchFolder dir;
    ScriptedContext ctx(dir);
    const std::string older = ScratchFolder::Read(ProgramFolder() + "versioned_1_9.dll");
    const std::string newer = ScratchFolder::Read(ProgramFolder() + "versioned_2_0.dll");
    ASSERT_FALSE(older.empty());
    ctx.AddFile("new.txt", "mine");
    ctx.AddFile("notes.txt", "new notes");
    ctx.AddFile("lib.dll", newer);
    ctx.AddFile("notes.txt", "newer notes");  // the same path twice: the first copy is moved aside too
    const std::string untouched = dir.Write("app\\user.txt", "the user's");
    const std::string notes = WriteOldFile(dir, "app\\notes.txt", "old notes",
                                           FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
    const std::string lib = WriteOldFile(dir, "app\\lib.dll", older, FILE_ATTRIBUTE_ARCHIVE);
    const FileFacts notesBefore = FactsOf(notes), libBefore = FactsOf(lib);

    ASSERT_EQ(install::InstallFiles(ctx), ActionResult::Continue);
    ASSERT_EQ(ScratchFolder::Read(notes), "newer notes");
    ASSERT_EQ(ScratchFolder::Read(lib), newer);

    RecordingSink sink;
    install::Rollback rollback(SetupOf(ctx), ctx.logRecords, &sink);
    EXPECT_TRUE(rollback.Run());
    EXPECT_FALSE(ScratchFolder::Exists(ctx.Installed("new.txt")));
    EXPECT_TRUE(FactsOf(notes) == notesBefore);
    EXPECT_TRUE(FactsOf(lib) == libBefore);
    EXPECT_EQ(ScratchFolder::Read(untouched), "the user's");
    EXPECT_FALSE(ScratchFolder::Exists(ctx.Expand(core::kUninstallFolder)));
    // The page says what happens, the steps below it; the bar ends full.
    EXPECT_EQ(sink.statuses, std::vector<std::string>{core::EnglishText(core::MessageId::StatusRollingBack)});
    EXPECT_FALSE(sink.details.empty());
    EXPECT_EQ(sink.range, static_cast<int>(ctx.logRecords.size()));
    EXPECT_EQ(sink.last, sink.range);
}

// A completed run deleted its backups: replaying its log (as the uninstaller
// does) removes its files and finds nothing to put back, without a leftover.
TEST(Rollback, AfterACompletedRunNothingIsPutBack) {
    ScratchFolder dir;
    ScriptedContext ctx(dir);
    ctx.AddFile("notes.txt", "new");
    const std::string notes = dir.Write("app\\notes.txt", "old");
    ASSERT_EQ(install::InstallFiles(ctx), ActionResult::Continue);
    ASSERT_EQ(install::DeleteBackups(ctx), ActionResult::Continue);

    install::Rollback rollback(SetupOf(ctx), ctx.logRecords, nullptr);
    EXPECT_TRUE(rollback.Run());
    EXPECT_FALSE(ScratchFolder::Exists(notes));
}

// A file the user answered Ignore for stays as it was, and a rollback
// leaves it; a copy given up leaves the file there untouched too.
TEST(Rollback, AFileThatCouldNotBeReplacedStaysAsItWas) {
    ScratchFolder dir;
    ScriptedContext ctx(dir);
    ctx.AddFile("held.txt", "new");
    ctx.AddFile("missing.txt", "");  // its payload file is missing: the copy fails
    const std::string held = WriteOldFile(dir, "app\\held.txt", "old", FILE_ATTRIBUTE_ARCHIVE);
    const std::string missing = WriteOldFile(dir, "app\\missing.txt", "kept", FILE_ATTRIBUTE_ARCHIVE);
    const FileFacts heldBefore = FactsOf(held), missingBefore = FactsOf(missing);
    HANDLE holder = CreateFileA(held.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    ctx.answers = {install::ErrorChoice::Ignore, install::ErrorChoice::Cancel};

    EXPECT_EQ(install::InstallFiles(ctx), ActionResult::Stop);
    CloseHandle(holder);
    EXPECT_EQ(ctx.questions.size(), 2u);
    EXPECT_TRUE(FactsOf(held) == heldBefore);
    EXPECT_TRUE(FactsOf(missing) == missingBefore);

    install::Rollback rollback(SetupOf(ctx), ctx.logRecords, nullptr);
    rollback.Run();
    EXPECT_TRUE(FactsOf(held) == heldBefore);
    EXPECT_TRUE(FactsOf(missing) == missingBefore);
}

// A run killed after replacing a file left its marker, its log and the
// backup: the next start puts the file back, takes the run's file away and
// leaves no marker; without a marker nothing happens.
TEST(Rollback, TheNextStartFinishesARunThatWasKilled) {
    ScratchFolder dir;
    ScriptedContext ctx(dir);
    ctx.AddFile("new.txt", "mine");
    ctx.AddFile("notes.txt", "new");
    const std::string notes = WriteOldFile(dir, "app\\notes.txt", "old", FILE_ATTRIBUTE_READONLY);
    const FileFacts before = FactsOf(notes);
    const std::string folder = ctx.Expand(core::kUninstallFolder);
    ASSERT_TRUE(install::MarkRunPending(folder));
    ASSERT_EQ(install::InstallFiles(ctx), ActionResult::Continue);
    WriteRunLog(ctx, folder);

    const std::string windows = ctx.Setup().values.windowsFolder;
    EXPECT_TRUE(install::RecoverInterruptedRun(ctx.Setup().values.productCode, folder, windows, kEveryone));
    EXPECT_TRUE(FactsOf(notes) == before);
    EXPECT_FALSE(ScratchFolder::Exists(ctx.Installed("new.txt")));
    EXPECT_FALSE(ScratchFolder::Exists(install::PendingRunMarker(folder)));
    EXPECT_FALSE(install::RecoverInterruptedRun(ctx.Setup().values.productCode, folder, windows, kEveryone));
}

// A setup killed after its installation completed (while file actions or
// Finish were still to come) is committed by the next start, not rolled
// back: the run's files stay, the backups go.
TEST(Rollback, TheNextStartCommitsARunWhoseInstallationCompleted) {
    ScratchFolder dir;
    ScriptedContext ctx(dir);
    ctx.AddFile("notes.txt", "new");
    const std::string notes = WriteOldFile(dir, "app\\notes.txt", "old", 0);
    const std::string folder = ctx.Expand(core::kUninstallFolder);
    ASSERT_TRUE(install::MarkRunPending(folder));
    ASSERT_EQ(install::InstallFiles(ctx), ActionResult::Continue);
    WriteRunLog(ctx, folder);
    install::MarkRunCompleted(folder);

    EXPECT_FALSE(install::RecoverInterruptedRun(ctx.Setup().values.productCode, folder,
                                                ctx.Setup().values.windowsFolder, kEveryone));
    EXPECT_EQ(ScratchFolder::Read(notes), "new");
    EXPECT_FALSE(ScratchFolder::Exists(folder + "Backup"));
    EXPECT_FALSE(ScratchFolder::Exists(install::PendingRunMarker(folder)));
}

}  // namespace
