// The install actions run in-process against a scripted context: the real
// file system, no setup.exe, answers and cancel requests chosen by the test.
#include <windows.h>
#include <aclapi.h>
#include <sddl.h>

#include <vector>

#include "install/files/FilePhase.h"
#include "install/files/FileRules.h"
#include "install/InstallActions.h"
#include "install/ActionTableRules.h"
#include "install/files/ReplacedFiles.h"
#include "install/UndoActions.h"
#include "install/files/SelfRegistration.h"

#include "ScriptedContext.h"

namespace {

using install::ActionResult;
using install::ErrorChoice;

TEST(InstallFilesAction, ReplacesAReadOnlyDestinationWithoutAskingAndKeepsItAside) {
    ScratchFolder dir;
    ScriptedContext ctx(dir);
    ctx.AddFile("notes.txt", "new");
    const std::string dest = dir.Write("app\\notes.txt", "old");
    SetFileAttributesA(dest.c_str(), FILE_ATTRIBUTE_READONLY);
    const std::string backup = ctx.Expand(core::kUninstallFolder) + "Backup\\b0\\1_notes.txt";

    EXPECT_EQ(install::InstallFiles(ctx), ActionResult::Continue);
    EXPECT_EQ(ScratchFolder::Read(dest), "new");
    EXPECT_TRUE(ctx.questions.empty());
    EXPECT_EQ(ctx.log, (std::vector<std::string>{"FILE=" + dest, "BACKUP=" + dest + "|" + backup}));
    // No read-only flag was asked for: the installed file is writable.
    EXPECT_FALSE(GetFileAttributesA(dest.c_str()) & FILE_ATTRIBUTE_READONLY);
    // The file that was there waits, as it was, until the run ends.
    EXPECT_EQ(ScratchFolder::Read(backup), "old");
    EXPECT_TRUE(GetFileAttributesA(backup.c_str()) & FILE_ATTRIBUTE_READONLY);

    // A completed run deletes it, and the backup folder with it.
    EXPECT_EQ(install::DeleteBackups(ctx), ActionResult::Continue);
    EXPECT_FALSE(ScratchFolder::Exists(backup));
    EXPECT_FALSE(ScratchFolder::Exists(ctx.Expand(core::kUninstallFolder) + "Backup"));
    EXPECT_EQ(ScratchFolder::Read(dest), "new");
}

unsigned long long FileIdentity(const std::string& path) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    BY_HANDLE_FILE_INFORMATION info = {};
    GetFileInformationByHandle(h, &info);
    CloseHandle(h);
    return (static_cast<unsigned long long>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
}

// Over an earlier run's copy that already is the payload's file, nothing
// moves: the file is claimed as found. A changed copy, or one that shares its
// data with another name, is moved aside and replaced.
TEST(InstallFilesAction, AnEarlierRunsUnchangedCopyStaysAndIsClaimed) {
    ScratchFolder dir;
    ScriptedContext ctx(dir);
    ctx.AddFile("same.txt", "v1 text");
    ctx.AddFile("changed.txt", "v2 text");
    ctx.AddFile("linked.txt", "v1 link");
    const std::string same = dir.Write("app\\same.txt", "v1 text");
    const std::string changed = dir.Write("app\\changed.txt", "v1 text");
    const std::string linked = dir.Write("app\\linked.txt", "v1 link");
    const std::string outside = dir.Path() + "outside.txt";
    ASSERT_TRUE(CreateHardLinkA(outside.c_str(), linked.c_str(), nullptr));
    ctx.earlierFiles = {same, changed, linked};
    const unsigned long long identity = FileIdentity(same);

    EXPECT_EQ(install::InstallFiles(ctx), ActionResult::Continue);
    const std::string backups = ctx.Expand(core::kUninstallFolder) + "Backup\\b0\\";
    EXPECT_EQ(ctx.log, (std::vector<std::string>{"UNDOBY=REMOVAL", "FILE=" + same, "FILE=" + changed,
                                                 "BACKUP=" + changed + "|" + backups + "1_changed.txt",
                                                 "FILE=" + linked,
                                                 "BACKUP=" + linked + "|" + backups + "2_linked.txt"}));
    EXPECT_EQ(FileIdentity(same), identity);  // the very file, not a copy of it
    EXPECT_EQ(ScratchFolder::Read(changed), "v2 text");
    // The other name keeps the data it shared; the product's file is its own again.
    EXPECT_EQ(ScratchFolder::Read(outside), "v1 link");
}

// Wine keeps no descriptors of its own for files: it shows the Unix mode as
// a DACL, without inheritance marks or protection.
bool RunningUnderWine() {
    return GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr;
}

std::string CurrentUserSid() {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return "";
    unsigned char buffer[256];
    DWORD size = 0;
    std::string text;
    char* sid = nullptr;
    if (GetTokenInformation(token, TokenUser, buffer, sizeof buffer, &size) &&
        ConvertSidToStringSidA(reinterpret_cast<TOKEN_USER*>(buffer)->User.Sid, &sid)) {
        text = sid;
        LocalFree(sid);
    }
    CloseHandle(token);
    return text;
}

bool SetProtectedDacl(const std::string& path, const std::string& sddl) {
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorA(sddl.c_str(), SDDL_REVISION_1,
                                                              &descriptor, nullptr))
        return false;
    const bool set = SetFileSecurityA(path.c_str(),
                                      DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION,
                                      descriptor) != 0;
    LocalFree(descriptor);
    return set;
}

struct DaclFacts {
    bool read = false;
    bool isProtected = true;
    bool everyEntryInherited = true;
    bool everyoneMayRead = false;
};

DaclFacts FactsOf(const std::string& path) {
    DaclFacts facts;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    PACL dacl = nullptr;
    if (GetNamedSecurityInfoA(path.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr,
                              nullptr, &dacl, nullptr, &descriptor) != ERROR_SUCCESS)
        return facts;
    SECURITY_DESCRIPTOR_CONTROL control = 0;
    DWORD revision = 0;
    facts.read = dacl && GetSecurityDescriptorControl(descriptor, &control, &revision);
    facts.isProtected = (control & SE_DACL_PROTECTED) != 0;
    unsigned char worldBytes[SECURITY_MAX_SID_SIZE];
    DWORD worldSize = sizeof worldBytes;
    CreateWellKnownSid(WinWorldSid, nullptr, worldBytes, &worldSize);
    for (DWORD i = 0; dacl && i < dacl->AceCount; ++i) {
        ACCESS_ALLOWED_ACE* ace = nullptr;
        if (!GetAce(dacl, i, reinterpret_cast<void**>(&ace))) continue;
        if (!(ace->Header.AceFlags & INHERITED_ACE)) facts.everyEntryInherited = false;
        if (ace->Header.AceType == ACCESS_ALLOWED_ACE_TYPE && (ace->Mask & FILE_READ_DATA) &&
            EqualSid(&ace->SidStart, worldBytes))
            facts.everyoneMayRead = true;
    }
    LocalFree(descriptor);
    return facts;
}

// Payload files are made in the working folder under the user's temporary
// folder and are readable by that user alone; placed, they hold what their
// folder passes on, per folder. Under Wine the test sees what the folders
// pass on arrive (Everyone may read, or not); the inheritance marks only on
// Windows.
TEST(InstallFilesAction, PlacedFilesTakeThePermissionsOfTheirFolder) {
    ScratchFolder dir;
    ScriptedContext ctx(dir);
    const std::string me = CurrentUserSid();
    ASSERT_FALSE(me.empty());
    const std::string privateOnly = "(A;OICI;FA;;;" + me + ")(A;OICI;FA;;;SY)";
    ASSERT_TRUE(SetProtectedDacl(ctx.Installed(""), "D:P" + privateOnly + "(A;OICI;FR;;;WD)"));
    CreateDirectoryA(ctx.Installed("private").c_str(), nullptr);
    ASSERT_TRUE(SetProtectedDacl(ctx.Installed("private"), "D:P" + privateOnly));
    ctx.AddFile("a.txt", "a");
    ctx.AddFile("b.txt", "b");
    ctx.AddFile("c.txt", "c");
    ctx.FileRecords().back().destDir = "<InstallDir>private";
    for (size_t k = 0; k < 3; ++k) {
        const std::string payload = ctx.PayloadFilePath(k, ctx.FileRecords()[k].fileName);
        ASSERT_TRUE(SetProtectedDacl(payload, "D:P(A;;FA;;;" + me + ")(A;;FA;;;SY)"));
        ASSERT_FALSE(FactsOf(payload).everyoneMayRead);
    }

    EXPECT_EQ(install::InstallFiles(ctx), ActionResult::Continue);
    for (const char* name : {"a.txt", "b.txt", "private\\c.txt"}) {
        SCOPED_TRACE(name);
        const DaclFacts facts = FactsOf(ctx.Installed(name));
        ASSERT_TRUE(facts.read);
        EXPECT_FALSE(facts.isProtected);
        if (!RunningUnderWine()) {
            EXPECT_TRUE(facts.everyEntryInherited);
        }
        EXPECT_EQ(facts.everyoneMayRead, name[0] != 'p');
    }
}

// The newer library there is not the run's: nothing claims it for removal.
TEST(InstallFilesAction, KeepsANewerLibraryAndDoesNotClaimIt) {
    ScratchFolder dir;
    ScriptedContext ctx(dir);
    const std::string older = ScratchFolder::Read(ProgramFolder() + "versioned_1_9.dll");
    const std::string newer = ScratchFolder::Read(ProgramFolder() + "versioned_2_0.dll");
    ASSERT_FALSE(older.empty());
    ASSERT_FALSE(newer.empty());
    ctx.AddFile("lib.dll", older);
    const std::string dest = dir.Write("app\\lib.dll", newer);

    EXPECT_EQ(install::InstallFiles(ctx), ActionResult::Continue);
    EXPECT_EQ(ScratchFolder::Read(dest), newer);
    EXPECT_TRUE(ctx.log.empty());
}

TEST(InstallFilesAction, ACancelStopsBeforeTheNextFile) {
    ScratchFolder dir;
    ScriptedContext ctx(dir);
    ctx.AddFile("first.txt", "1");
    ctx.AddFile("second.txt", "2");
    ctx.cancelAtPosition = 1;  // the user cancels while the first file is placed

    EXPECT_EQ(install::InstallFiles(ctx), ActionResult::Stop);
    EXPECT_EQ(ScratchFolder::Read(ctx.Installed("first.txt")), "1");
    EXPECT_FALSE(ScratchFolder::Exists(ctx.Installed("second.txt")));
    EXPECT_EQ(ctx.log, std::vector<std::string>{"FILE=" + ctx.Installed("first.txt")});
    EXPECT_FALSE(ctx.abandoned);  // a cancel is not an abandoned run
}

TEST(InstallFilesAction, ACopyFailureAsksAndFollowsTheAnswer) {
    ScratchFolder dir;
    {
        ScriptedContext ctx(dir);
        ctx.AddFile("blocked.txt", "x");
        ctx.AddFile("after.txt", "y");
        CreateDirectoryA(ctx.Installed("blocked.txt").c_str(), nullptr);  // in the way
        ctx.answers = {ErrorChoice::Retry, ErrorChoice::Ignore};

        EXPECT_EQ(install::InstallFiles(ctx), ActionResult::Continue);
        ASSERT_EQ(ctx.questions.size(), 2u);
        EXPECT_NE(ctx.questions[0].text.find(ctx.Installed("blocked.txt")), std::string::npos);
        EXPECT_FALSE(ctx.questions[0].cancelOnly);
        EXPECT_EQ(ScratchFolder::Read(ctx.Installed("after.txt")), "y");
        EXPECT_FALSE(ctx.abandoned);
    }
    {
        ScriptedContext ctx(dir);
        ctx.AddFile("blocked.txt", "x", install::filerules::kFlagCritical);
        ctx.answers = {ErrorChoice::Ignore};  // a critical file cannot be ignored

        EXPECT_EQ(install::InstallFiles(ctx), ActionResult::Stop);
        ASSERT_EQ(ctx.questions.size(), 1u);
        EXPECT_TRUE(ctx.questions[0].cancelOnly);
        EXPECT_TRUE(ctx.abandoned);
        // Logged before the copy, then marked as not placed: a removal leaves it.
        const std::string blocked = ctx.Installed("blocked.txt");
        EXPECT_EQ(ctx.log, (std::vector<std::string>{"FILE=" + blocked, "KEEPFILE=" + blocked}));
    }
}

// An expanded copy that cannot be made is a failed copy: the user is asked,
// and no empty file is installed.
TEST(InstallFilesAction, AnExpandedCopyOfAnUnreadableSourceIsACopyFailure) {
    using install::filerules::kFlagExpandContent;
    ScratchFolder dir;
    {
        ScriptedContext ctx(dir);
        ctx.AddFile("readme.txt", "Installed in <InstallDir>", kFlagExpandContent);
        HANDLE lock = CreateFileA(ctx.PayloadFilePath(0, "readme.txt").c_str(), GENERIC_READ, 0,
                                  nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(lock, INVALID_HANDLE_VALUE);
        ctx.answers = {ErrorChoice::Retry};
        ctx.beforeAnswer = [&](size_t) {
            EXPECT_FALSE(ScratchFolder::Exists(ctx.Installed("readme.txt")));
            CloseHandle(lock);  // readable again: the retry expands it
        };

        EXPECT_EQ(install::InstallFiles(ctx), ActionResult::Continue);
        ASSERT_EQ(ctx.questions.size(), 1u);
        EXPECT_NE(ctx.questions[0].text.find(ctx.Installed("readme.txt")), std::string::npos);
        EXPECT_EQ(ScratchFolder::Read(ctx.Installed("readme.txt")), "Installed in " + ctx.Installed(""));
    }
    {
        ScriptedContext ctx(dir);
        ctx.AddFile("missing.txt", "", kFlagExpandContent);  // no payload file at all
        ctx.answers = {ErrorChoice::Ignore};

        EXPECT_EQ(install::InstallFiles(ctx), ActionResult::Continue);
        EXPECT_EQ(ctx.questions.size(), 1u);
        EXPECT_FALSE(ScratchFolder::Exists(ctx.Installed("missing.txt")));
    }
}

TEST(InstallFilesAction, AnExpandedCopyThatCannotBeWrittenIsACopyFailure) {
    ScratchFolder dir;
    ScriptedContext ctx(dir);
    ctx.AddFile("readme.txt", "<InstallDir>", install::filerules::kFlagExpandContent);
    // Where the expanded copy is written, something that cannot be written as
    // a file (the closest to a full disk a test can come).
    CreateDirectoryA((dir.Path() + "payload\\F0_readme.txt2").c_str(), nullptr);

    EXPECT_EQ(install::InstallFiles(ctx), ActionResult::Stop);
    EXPECT_EQ(ctx.questions.size(), 1u);
    EXPECT_TRUE(ctx.abandoned);
    EXPECT_FALSE(ScratchFolder::Exists(ctx.Installed("readme.txt")));
}

// A disk image may lie on read-only media or be shared by several installs:
// nothing is written beside its files.
TEST(InstallFilesAction, ADiskImageFileIsExpandedInTheWorkingFolder) {
    ScratchFolder dir;
    ScriptedContext ctx(dir);
    ctx.UseDiskImage();
    ctx.AddFile("readme.txt", "Installed in <InstallDir>", install::filerules::kFlagExpandContent);

    EXPECT_EQ(install::InstallFiles(ctx), ActionResult::Continue);
    EXPECT_EQ(ScratchFolder::Read(ctx.Installed("readme.txt")), "Installed in " + ctx.Installed(""));
    EXPECT_TRUE(ScratchFolder::Exists(dir.Path() + "DiskImage1\\F0_readme.txt"));
    EXPECT_FALSE(ScratchFolder::Exists(dir.Path() + "DiskImage1\\F0_readme.txt2"));
    EXPECT_TRUE(ctx.questions.empty());
}

// Self-registration names its program in full, in the snapshot's system
// folder: a regsvr32.exe beside the setup or in the current folder is never
// searched for.
TEST(InstallFilesAction, SelfRegistrationStartsRegsvr32FromTheSystemFolder) {
    ScratchFolder dir;
    ScriptedContext ctx(dir);
    ctx.MutableSetup().values.systemFolder = "C:\\System Files\\";
    ctx.AddFile("control.ocx", "x", install::filerules::kFlagSelfRegister);
    // A file the run leaves as it finds it (only if absent, and there) is not
    // registered: the elevated run starts nothing it did not place.
    ctx.AddFile("planted.ocx", "x", install::filerules::kFlagSelfRegister | install::filerules::kFlagOnlyIfAbsent);
    dir.Write("app\\planted.ocx", "a user's file");
    std::vector<std::string> started;
    install::SetProgramStarterForTests([&](const std::string& program, const std::string& line) {
        started.push_back(program + "|" + line);
        return true;
    });

    EXPECT_EQ(install::InstallFiles(ctx), ActionResult::Continue);
    install::SetProgramStarterForTests(nullptr);
    EXPECT_EQ(started, std::vector<std::string>{
                           "C:\\System Files\\regsvr32.exe|\"C:\\System Files\\regsvr32.exe\" /s \"" +
                           ctx.Installed("control.ocx") + "\""});
}

// A preview walks every row's status but changes nothing beyond reading the
// file list and making its folders.
TEST(InstallActionTable, APreviewShowsEveryStepAndPlacesNoFile) {
    ScratchFolder dir;
    ScriptedContext ctx(dir);
    ctx.MutableSetup().preview = true;
    dir.Write("data.inf", "C:\\project\\a.txt\r\n<InstallDir>sub*0*0*0|\r\n");
    dir.Write("payload\\F0_a.txt", "a");

    EXPECT_EQ(install::RunInstallActions(ctx), ActionResult::Continue);
    EXPECT_EQ(ctx.statuses, (std::vector<std::string>{
                                "Loading data information...", "Creating directories...",
                                "Please Wait, Copying Files...", "Please Wait, Creating Shortcuts...",
                                "Please Wait, Setting system...", "Finishing settings..."}));
    EXPECT_EQ(ctx.log.front(), "TOTALFILE=1");
    EXPECT_TRUE(ScratchFolder::Exists(ctx.Installed("sub")));
    EXPECT_TRUE(ScratchFolder::Exists(dir.Path() + "win\\Installer\\{TEST}"));
    EXPECT_FALSE(ScratchFolder::Exists(ctx.Installed("sub\\a.txt")));
    EXPECT_TRUE(ScratchFolder::Exists(dir.Path() + "payload\\F0_a.txt"));  // the working folder stays
}

TEST(InstallActionTable, AnUnreadableFileListEndsTheRunAsAbandoned) {
    ScratchFolder dir;
    ScriptedContext ctx(dir);  // no data.inf

    EXPECT_EQ(install::RunInstallActions(ctx), ActionResult::Stop);
    EXPECT_EQ(ctx.errors, std::vector<std::string>{"LoadFileData() - Error"});
    EXPECT_TRUE(ctx.abandoned);
    EXPECT_TRUE(ctx.log.empty());
}

// Every declared action and undo step has its function, in the declared order.
TEST(InstallActionTable, FunctionsFollowTheDeclarations) {
    size_t count = 0;
    const install::InstallAction* actions = install::InstallActions(count);
    ASSERT_EQ(count, install::tables::Actions().size());
    for (size_t i = 0; i < count; ++i) EXPECT_STREQ(actions[i].name, install::tables::Actions()[i].name);
    const install::UndoAction* steps = install::UndoActions(count);
    ASSERT_EQ(count, install::tables::UndoSteps().size());
    for (size_t i = 0; i < count; ++i) EXPECT_STREQ(steps[i].name, install::tables::UndoSteps()[i].name);
}

}  // namespace
