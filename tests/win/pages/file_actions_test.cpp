// File actions under Wine: programs started with the project's command line,
// waited for or not; library functions called by full path with the
// installation folder in their buffer; bare names never looked for.
#include <windows.h>
#include <tlhelp32.h>

#include <gtest/gtest.h>

#include "core/SetupState.h"
#include "pages/FileActions.h"

#include "TestFiles.h"

namespace {

// The lines "done" a recordrun copy has written so far.
int DoneLines(const std::string& record) {
    const std::string text = ScratchFolder::Read(record);
    int n = 0;
    for (size_t at = text.find("done\n"); at != std::string::npos; at = text.find("done\n", at + 1)) ++n;
    return n;
}

// How many processes of this name exist: tells a program never started from
// one that started and has not yet written.
int Running(const char* name) {
    int n = 0;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry))
        if (lstrcmpiA(entry.szExeFile, name) == 0) ++n;
    CloseHandle(snapshot);
    return n;
}

struct FileActionFixture {
    explicit FileActionFixture(const ScratchFolder& dir) : app(dir.Path() + "app\\") {
        CreateDirectoryA(app.c_str(), nullptr);
        CopyFileA((ProgramFolder() + "recordrun.exe").c_str(), (app + "tool.exe").c_str(), FALSE);
        CopyFileA((ProgramFolder() + "fileaction.dll").c_str(), (app + "fileaction.dll").c_str(), FALSE);
        // The folder chosen on the destination page, before the installation.
        state.installFolder = "C:\\Default\\";
        state.currentInstallFolder = app;
        state.osName = "XP";
    }

    pages::FileAction Action(const std::string& file, const std::string& command, bool wait = false) {
        pages::FileAction a;
        a.file = file;
        a.command = command;
        a.when = "Install Welcome";
        a.wait = wait;
        return a;
    }

    pages::FileActionsOutcome Run(pages::FileActions& actions) {
        pages::SetupFileActionRunner runner(state, [](const std::string&) { return true; }, nullptr);
        return pages::RunFileActions(actions, "welcome.lcd", state.osName, runner);
    }

    std::string app;
    core::SetupState state;
};

TEST(FileActionsRun, ProgramsWaitedForOrNotAndALibraryInOrder) {
    ScratchFolder dir;
    FileActionFixture f(dir);
    pages::FileActions actions = {
        f.Action("<InstallDir>\\tool.exe", "waited in <InstallDir>", true),
        f.Action("<InstallDir>\\fileaction.dll", "Rewrite"),
        f.Action("<InstallDir>\\tool.exe", "not waited"),
    };
    ASSERT_EQ(f.Run(actions), pages::FileActionsOutcome::Done);
    const std::string record = f.app + "tool.exe.calls.txt";
    // Back from the run: the first program has ended, the last one not yet.
    EXPECT_EQ(DoneLines(record), 1);
    EXPECT_EQ(ScratchFolder::Read(f.app + "fileaction.dll.calls.txt"), "Rewrite:" + f.app + "\n");
    // Waited for up to 30 s: starting a process under Wine on a loaded machine
    // has been seen to take far longer than the program's own 1.5 s.
    for (int i = 0; i < 300 && DoneLines(record) < 2; ++i) Sleep(100);
    if (DoneLines(record) < 2) ADD_FAILURE() << "tool.exe processes still running: " << Running("tool.exe");
    // Each command line is the program's quoted name, then the project's text.
    const std::string tool = "CMDLINE:\"" + f.app + "tool.exe\" ";
    EXPECT_EQ(ScratchFolder::Read(record), tool + "waited in " + f.app + "\ndone\n" + tool + "not waited\ndone\n");
}

TEST(FileActionsRun, LibraryBufferHoldsTheFolderAndIsNeverOverrun) {
    ScratchFolder dir;
    FileActionFixture f(dir);
    const std::string library = f.app + "fileaction.dll";
    std::string after;
    EXPECT_EQ(pages::CallFileActionFunction(library, "Rewrite", "C:\\Folder\\", &after), 0);
    EXPECT_EQ(after, "rewritten C:\\Folder\\");
    // A folder longer than the buffer arrives cut to 254 characters.
    const std::string longText(300, 'a');
    EXPECT_EQ(pages::CallFileActionFunction(library, "Rewrite", longText, &after), 0);
    EXPECT_EQ(after, ("rewritten " + longText).substr(0, 254));
    EXPECT_EQ(ScratchFolder::Read(library + ".calls.txt"),
              "Rewrite:C:\\Folder\\\nRewrite:" + longText.substr(0, 254) + "\n");

    EXPECT_EQ(pages::CallFileActionFunction(library, "Abandon", "x"), 1);
    EXPECT_EQ(pages::CallFileActionFunction(library, "Missing", "x"), 0);
    EXPECT_EQ(pages::CallFileActionFunction(f.app + "absent.dll", "Rewrite", "x"), 0);

    pages::FileActions actions = {f.Action(library, "Abandon"), f.Action(f.app + "tool.exe", "after")};
    EXPECT_EQ(f.Run(actions), pages::FileActionsOutcome::Abandoned);
    EXPECT_FALSE(ScratchFolder::Exists(f.app + "tool.exe.calls.txt"));
}

// The test program's folder holds fileaction.dll and recordrun.exe: a bare
// name must not reach them.
TEST(FileActionsRun, BareNamesAreNotLookedFor) {
    ScratchFolder dir;
    FileActionFixture f(dir);
    const std::string beside = ProgramFolder() + "fileaction.dll.calls.txt";
    DeleteFileA(beside.c_str());
    const std::string folder = ProgramFolder();
    DeleteFileA((folder + "recordrun.exe.calls.txt").c_str());
    char before[MAX_PATH] = "";
    GetCurrentDirectoryA(sizeof before, before);
    SetCurrentDirectoryA(folder.c_str());
    pages::FileActions actions = {f.Action("fileaction.dll", "Abandon"), f.Action("recordrun.exe", "bare")};
    EXPECT_EQ(f.Run(actions), pages::FileActionsOutcome::Done);
    SetCurrentDirectoryA(before);
    EXPECT_FALSE(ScratchFolder::Exists(beside));
    EXPECT_FALSE(ScratchFolder::Exists(folder + "recordrun.exe.calls.txt"));
}

}  // namespace
