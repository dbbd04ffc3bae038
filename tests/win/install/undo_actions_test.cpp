// The undo steps run in-process against a scripted context: what the real
// install actions (and a few hand-made files) put on the machine of the test
// prefix is taken back from their log records.
#include <windows.h>
#include <objbase.h>

#include <algorithm>
#include <optional>
#include <vector>

#include "core/Placeholders.h"
#include "core/Registry.h"
#include "core/UninstallKey.h"
#include "download/FileDigest.h"
#include "install/associations/Associations.h"
#include "install/environment/Environment.h"
#include "install/registry/RegistryValues.h"
#include "install/files/RemoveFiles.h"
#include "install/files/ReplacedFiles.h"
#include "install/services/Services.h"
#include "install/shortcuts/ShellLink.h"
#include "install/UndoActions.h"
#include "install/registration/UnregisterUninstall.h"

#include "ScriptedContext.h"

namespace {

using core::LogKind;

// What the uninstaller would give the steps; reports are kept for the test.
class ScriptedUndo : public install::UndoContext {
public:
    explicit ScriptedUndo(const ScratchFolder& dir) {
        setup.productCode = "{CVUNDO-TEST}";
        setup.uninstallFolder = dir.Path() + "win\\Installer\\{CVUNDO-TEST}\\";
        setup.uninstallerFolder = dir.Path() + "win\\";
        setup.protectedFolders = {dir.Path() + "win", dir.Path() + "profile"};
        CreateDirectoryA((dir.Path() + "win").c_str(), nullptr);
        CreateDirectoryA((dir.Path() + "win\\Installer").c_str(), nullptr);
        CreateDirectoryA(setup.uninstallFolder.c_str(), nullptr);
    }
    void Add(LogKind kind, const std::string& value) { records.push_back(core::MakeLogRecord(kind, value)); }

    const install::UndoSetup& Setup() const override { return setup; }
    const std::vector<core::LogRecord>& Records() const override { return records; }
    void SetStatus(const std::string& text) override { statuses.push_back(text); }
    void Advance() override { ++advanced; }
    void LeftOver(const std::string& what) override { leftOver.push_back(what); }
    bool AnythingLeftOver() const override { return !leftOver.empty(); }
    void RestartNeeded(const std::string& what) override { restart.push_back(what); }
    void WaitForProcess(HANDLE process) override {
        waited = WaitForSingleObject(process, 30000) == WAIT_OBJECT_0;
    }

    install::UndoSetup setup;
    std::vector<core::LogRecord> records;
    std::vector<std::string> statuses, leftOver, restart;
    size_t advanced = 0;
    bool waited = false;
};

// ---- The machine of the prefix, set up and read back ----

constexpr char kTestKey[] = "Software\\CorvaneTests";
const std::string kUninstallKey = core::uninstallkey::KeyPath("{CVUNDO-TEST}");

void MakeKey(HKEY root, const std::string& path, const char* name = nullptr, const char* text = "") {
    core::registry::EnsureKey(root, path);
    if (name) core::registry::WriteText(root, path, name, text);
}

bool ValueExists(HKEY root, const std::string& path, const std::string& name) {
    return core::registry::ReadValue(root, path, name).has_value();
}

std::string Text(HKEY root, const std::string& path, const std::string& name) {
    return core::registry::ReadText(root, path, name);
}

std::vector<std::string> PendingRenames() {
    const auto value = core::registry::ReadValue(
        HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Control\\Session Manager", "PendingFileRenameOperations");
    std::vector<std::string> items;
    if (!value) return items;
    for (size_t at = 0; at < value->bytes.size();) {
        const std::string item(value->bytes.c_str() + at);
        items.push_back(item);
        at += item.size() + 1;
    }
    return items;
}

// Opens a file as a program holding it would: it cannot be deleted or replaced meanwhile.
HANDLE HoldOpen(const std::string& path) {
    return CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                       nullptr);
}

void ClearPendingRenames() {
    core::registry::DeleteValue(HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Control\\Session Manager",
                                "PendingFileRenameOperations");
}

class CleanMachine {
public:
    CleanMachine() { Clean(); }
    ~CleanMachine() { Clean(); }

private:
    static void Clean() {
        core::registry::DeleteKeyTree(HKEY_CURRENT_USER, kTestKey);
        for (const char* key : {".cvundonew", "CvUndoNew.File", ".cvundoold", "CvUndoOld.File"})
            core::registry::DeleteKeyTree(HKEY_CLASSES_ROOT, key);
        for (const char* name : {"CVUNDO_SET", "CVUNDO_LIST", "CVUNDO_ONLY"})
            core::registry::DeleteValue(HKEY_CURRENT_USER, "Environment", name);
        core::registry::DeleteKeyTree(HKEY_LOCAL_MACHINE, kUninstallKey);
        SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
        SC_HANDLE service = manager ? OpenServiceA(manager, "cvundo_svc", DELETE) : nullptr;
        if (service) {
            DeleteService(service);
            CloseServiceHandle(service);
        }
        if (manager) CloseServiceHandle(manager);
        ClearPendingRenames();
    }
};

bool ServiceExists(const char* name) {
    SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT);
    SC_HANDLE service = manager ? OpenServiceA(manager, name, SERVICE_QUERY_STATUS) : nullptr;
    if (service) CloseServiceHandle(service);
    if (manager) CloseServiceHandle(manager);
    return service != nullptr;
}

// The project's registry keys and values, associations, environment
// variables and service, installed by the real actions.
const char kSettings[] =
    "[REGISTRYKEYS]\r\nTOTAL=3\r\n"
    "0=HKEY_CURRENT_USER\\Software\\CorvaneTests\\Made\r\n"
    "1=HKEY_CURRENT_USER\\Software\\CorvaneTests\\Made\\Sub\r\n"
    "2=HKEY_CURRENT_USER\\Software\\CorvaneTests\\Shared\r\n"
    "[REGISTRY]\r\nTOTAL=2\r\n"
    "A0=HKEY_CURRENT_USER\\Software\\CorvaneTests\\Made\\Sub\r\nB0=Path\r\nC0=<InstallDir>\r\nD0=0\r\n"
    "A1=HKEY_CURRENT_USER\\Software\\CorvaneTests\\Existing\r\nB1=Count\r\nC1=7\r\nD1=1\r\n"
    "[EXTCV]\r\nTOTAL=2\r\n"
    "B0=<InstallDir>tool.exe\r\nC0=.cvundonew\r\nD0=CvUndoNew.File\r\nE0=New file\r\nG0=\"%1\"\r\n"
    "B1=<InstallDir>tool.exe\r\nC1=.cvundoold\r\nD1=CvUndoOld.File\r\nE1=Taken over\r\nG1=\"%1\"\r\n"
    "[ENVIRCV]\r\nTOTAL=3\r\n"
    "A0=CVUNDO_SET\r\nC0=set by the run\r\nF0=Remove\r\nG0=User\r\n"
    "A1=CVUNDO_LIST\r\nC1=C:\\added\r\nE1=Append\r\nF1=Remove\r\nG1=User\r\n"
    "A2=CVUNDO_ONLY\r\nC2=C:\\only\r\nE2=Append\r\nF2=Remove\r\nG2=User\r\n"
    "[NTSERVICE]\r\nTOTAL=1\r\n"
    "A0=cvundo_svc\r\nB0=Undo test\r\nC0=SERVICE_WIN32_OWN_PROCESS\r\nD0=SERVICE_DEMAND_START\r\n"
    "E0=SERVICE_ERROR_IGNORE\r\nF0=\"<InstallDir>svc.exe\"\r\n";

// A whole removal in the table's order: every record is handled once,
// nothing the log does not name goes, and what was there before is put back.
TEST(UndoActions, RemovalTakesBackWhatTheInstallationMade) {
    CleanMachine machine;
    ScratchFolder dir;
    ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
    // What existed before the run: a key with a value of its own, a class
    // with its description and command, a variable with an item.
    MakeKey(HKEY_CURRENT_USER, std::string(kTestKey) + "\\Existing", "Own", "mine");
    const std::string formerCount("\x01\x00\x02", 3);  // a value of another type the run overwrites
    ASSERT_TRUE(core::registry::WriteValue(HKEY_CURRENT_USER, std::string(kTestKey) + "\\Existing", "Count",
                                           REG_BINARY, formerCount));
    MakeKey(HKEY_CLASSES_ROOT, "CvUndoOld.File", "", "Old description");
    MakeKey(HKEY_CLASSES_ROOT, "CvUndoOld.File\\shell\\Open\\Command", "", "old.exe \"%1\"");
    core::registry::WriteText(HKEY_CURRENT_USER, "Environment", "CVUNDO_LIST", "C:\\keep");
    MakeKey(HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayName", "Undo test");

    ScriptedUndo undo(dir);
    const std::string app = dir.Path() + "app\\", group = dir.Path() + "menu\\Group\\";
    // The log of the run: folders, the uninstall-time program, files and
    // shortcuts by hand, the system settings by the real actions.
    CreateDirectoryA(app.c_str(), nullptr);
    for (const std::string& folder : {app + "bin", app + "bin\\deep", dir.Path() + "menu", group})
        CreateDirectoryA(folder.c_str(), nullptr);
    undo.Add(LogKind::Dir, app);
    undo.Add(LogKind::Dir, app + "bin\\deep");
    undo.Add(LogKind::Dir, app + "bin");
    CopyFileA((ProgramFolder() + "recordrun.exe").c_str(), (undo.setup.uninstallFolder + "cleanup.exe").c_str(), FALSE);
    undo.Add(LogKind::Run3rd, "cleanup.exe");
    undo.Add(LogKind::Run3rdCmd, "/clean \"C:\\some folder\"");
    const std::string readOnly = dir.Write("app\\bin\\lib.dll", "x");
    SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_READONLY);
    const std::string shared = dir.Write("win\\cvexec.exe", "shared");
    for (const std::string& file : {dir.Write("app\\tool.exe", "x"), readOnly, dir.Write("app\\bin\\deep\\d.dat", "x"),
                                   app + "gone.txt", shared})
        undo.Add(LogKind::File, file);
    const std::string userFile = dir.Write("app\\notes.txt", "the user's");
    undo.Add(LogKind::Dir, group);
    install::shelllink::LinkFields link;
    link.target = app + "tool.exe";
    ASSERT_TRUE(install::shelllink::SaveLink(group + "Tool.lnk", link));
    undo.Add(LogKind::Shortcut, group + "Tool.lnk");

    dir.Write("setup.inf", kSettings);
    ScriptedContext run(dir);
    install::WriteRegistryValues(run);
    MakeKey(HKEY_CURRENT_USER, std::string(kTestKey) + "\\Shared", "Other", "someone else's");
    install::RegisterAssociations(run);
    install::WriteEnvironment(run);
    install::InstallServices(run);
    ASSERT_TRUE(ServiceExists("cvundo_svc"));
    ASSERT_EQ(Text(HKEY_CURRENT_USER, "Environment", "CVUNDO_LIST"), "C:\\keep;C:\\added");
    ASSERT_EQ(Text(HKEY_CLASSES_ROOT, "CvUndoOld.File", ""), "Taken over");
    undo.records.insert(undo.records.end(), run.logRecords.begin(), run.logRecords.end());

    // The program the product runs first sees its command line, and the
    // removal waits for it (it writes "done" after a pause).
    size_t count = 0;
    const install::UndoAction* steps = install::UndoActions(count);
    ASSERT_STREQ(steps[0].name, "RunUninstallTimeProgram");
    steps[0].run(undo);
    EXPECT_TRUE(undo.waited);
    const std::string calls = ScratchFolder::Read(undo.setup.uninstallFolder + "cleanup.exe.calls.txt");
    EXPECT_NE(calls.find("cleanup.exe\" /clean \"C:\\some folder\""), std::string::npos) << calls;
    EXPECT_NE(calls.find("done"), std::string::npos);
    for (size_t i = 1; i < count; ++i) steps[i].run(undo);

    EXPECT_EQ(undo.leftOver, std::vector<std::string>{});
    EXPECT_EQ(undo.restart, std::vector<std::string>{});
    EXPECT_EQ(undo.advanced, undo.records.size());
    // Files, shortcuts and folders; the user's file keeps its folder; the
    // shared uninstaller stays.
    for (const std::string& gone : {readOnly, app + "tool.exe", app + "bin", group, group + "Tool.lnk"})
        EXPECT_FALSE(ScratchFolder::Exists(gone)) << gone;
    EXPECT_TRUE(ScratchFolder::Exists(userFile));
    EXPECT_TRUE(ScratchFolder::Exists(shared));
    EXPECT_TRUE(ScratchFolder::Exists(dir.Path() + "menu"));  // made, but not logged
    // Registry: the project's keys unless someone else's value is in them;
    // a key that existed keeps its own value, and an overwritten value gets
    // its former type and bytes back.
    EXPECT_FALSE(core::registry::KeyExists(HKEY_CURRENT_USER, std::string(kTestKey) + "\\Made"));
    EXPECT_EQ(Text(HKEY_CURRENT_USER, std::string(kTestKey) + "\\Shared", "Other"), "someone else's");
    const std::optional<core::registry::Value> former =
        core::registry::ReadValue(HKEY_CURRENT_USER, std::string(kTestKey) + "\\Existing", "Count");
    ASSERT_TRUE(former.has_value());
    EXPECT_EQ(former->type, static_cast<DWORD>(REG_BINARY));
    EXPECT_EQ(former->bytes, formerCount);
    EXPECT_EQ(Text(HKEY_CURRENT_USER, std::string(kTestKey) + "\\Existing", "Own"), "mine");
    // Associations: new classes gone, a class that existed as it was.
    EXPECT_FALSE(core::registry::KeyExists(HKEY_CLASSES_ROOT, ".cvundonew"));
    EXPECT_FALSE(core::registry::KeyExists(HKEY_CLASSES_ROOT, "CvUndoNew.File"));
    EXPECT_FALSE(core::registry::KeyExists(HKEY_CLASSES_ROOT, ".cvundoold"));
    EXPECT_EQ(Text(HKEY_CLASSES_ROOT, "CvUndoOld.File", ""), "Old description");
    EXPECT_EQ(Text(HKEY_CLASSES_ROOT, "CvUndoOld.File\\shell\\Open\\Command", ""), "old.exe \"%1\"");
    EXPECT_FALSE(core::registry::KeyExists(HKEY_CLASSES_ROOT, "CvUndoOld.File\\DefaultIcon"));
    // Environment: the set variable and the one made by appending go; the
    // other keeps what it had.
    EXPECT_FALSE(ValueExists(HKEY_CURRENT_USER, "Environment", "CVUNDO_SET"));
    EXPECT_FALSE(ValueExists(HKEY_CURRENT_USER, "Environment", "CVUNDO_ONLY"));
    EXPECT_EQ(Text(HKEY_CURRENT_USER, "Environment", "CVUNDO_LIST"), "C:\\keep");
    EXPECT_FALSE(ServiceExists("cvundo_svc"));
    // The registration and the uninstall folder with it.
    EXPECT_FALSE(core::registry::KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
    EXPECT_FALSE(ScratchFolder::Exists(undo.setup.uninstallFolder));
    EXPECT_TRUE(ScratchFolder::Exists(dir.Path() + "win\\Installer"));
    CoUninitialize();
}

// The remove-all choice deletes the installation folder with the user's
// files in it, but never a folder that is kept (nor one the log does not name).
TEST(UndoActions, RemoveAllDeletesTheInstallationFolderUnlessItIsKept) {
    ScratchFolder dir;
    for (const bool kept : {false, true}) {
        ScriptedUndo undo(dir);
        const std::string app = dir.Path() + (kept ? "profile\\" : "app\\");
        CreateDirectoryA(app.c_str(), nullptr);
        CreateDirectoryA((app + "empty").c_str(), nullptr);
        CreateDirectoryA((app + "data").c_str(), nullptr);
        const std::string userFile = dir.Write((kept ? "profile" : "app") + std::string("\\data\\user.txt"), "x");
        undo.Add(LogKind::Dir, app);
        undo.Add(LogKind::Dir, app + "empty");
        undo.Add(LogKind::RemoveAll, "Yes");

        install::RemoveFolders(undo);

        EXPECT_EQ(undo.advanced, 3u);
        EXPECT_TRUE(undo.leftOver.empty());
        EXPECT_FALSE(ScratchFolder::Exists(app + "empty")) << kept;
        EXPECT_EQ(ScratchFolder::Exists(userFile), kept);
        EXPECT_EQ(ScratchFolder::Exists(app), kept);
    }
}

// A file in use goes at the next restart; what cannot go keeps the
// product's registration and log, so that the removal can run again.
TEST(UndoActions, WhatCannotGoNowGoesAtRestartOrKeepsTheRegistration) {
    CleanMachine machine;
    ScratchFolder dir;
    ScriptedUndo undo(dir);
    MakeKey(HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayName", "Undo test");
    const std::string held = dir.Write("held.dll", "x");
    CreateDirectoryA((dir.Path() + "folder.txt").c_str(), nullptr);
    undo.Add(LogKind::File, held);
    undo.Add(LogKind::File, dir.Path() + "folder.txt");  // a folder where a file was logged
    HANDLE open = HoldOpen(held);
    ASSERT_NE(open, INVALID_HANDLE_VALUE);

    install::RemoveFiles(undo);
    install::UnregisterUninstall(undo);
    CloseHandle(open);

    EXPECT_EQ(undo.restart, std::vector<std::string>{held});
    const std::vector<std::string> pending = PendingRenames();
    EXPECT_NE(std::find(pending.begin(), pending.end(), "\\??\\" + held), pending.end());
    EXPECT_EQ(undo.leftOver, std::vector<std::string>{dir.Path() + "folder.txt"});
    EXPECT_TRUE(core::registry::KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
    EXPECT_TRUE(ScratchFolder::Exists(undo.setup.uninstallFolder));
}

// A backup whose record was lost (the machine went down between the line
// and the rename) is somebody's file: the uninstall folder goes, it stays.
TEST(UndoActions, ABackupNotPutBackOutlivesTheUninstallFolder) {
    CleanMachine machine;
    ScratchFolder dir;
    ScriptedUndo undo(dir);
    MakeKey(HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayName", "Undo test");
    CreateDirectoryA((undo.setup.uninstallFolder + "Backup").c_str(), nullptr);
    const std::string backup = dir.Write("win\\Installer\\{CVUNDO-TEST}\\Backup\\1_thesis.docx", "my thesis");
    dir.Write("win\\Installer\\{CVUNDO-TEST}\\uninstall.log", "LOGFORMAT=2\r\n");

    install::UnregisterUninstall(undo);

    EXPECT_EQ(ScratchFolder::Read(backup), "my thesis");
    EXPECT_FALSE(ScratchFolder::Exists(undo.setup.uninstallFolder + "uninstall.log"));
    EXPECT_FALSE(core::registry::KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
}

// A rollback while a program holds the run's file: the original replaces it
// (now, or at the next restart), and no deletion at restart is ever left to
// take the original away.
TEST(UndoActions, AHeldFileIsReplacedByItsOriginalNeverDeletedAtRestart) {
    CleanMachine machine;
    ScratchFolder dir;
    ScriptedUndo undo(dir);
    undo.setup.rollback = true;
    const std::string path = dir.Write("lib.dll", "the run's");
    const std::string backup = dir.Write("win\\Installer\\{CVUNDO-TEST}\\1_lib.dll", "the original");
    undo.Add(LogKind::File, path);
    undo.Add(LogKind::Backup, path + "|" + backup);
    HANDLE open = HoldOpen(path);
    ASSERT_NE(open, INVALID_HANDLE_VALUE);

    install::RemoveFiles(undo);
    install::RestoreReplacedFiles(undo);
    CloseHandle(open);

    const std::vector<std::string> pending = PendingRenames();
    // A deletion is a path followed by an empty target; a path followed by
    // another is a rename into place.
    for (size_t i = 0; i + 1 < pending.size(); i += 2)
        EXPECT_FALSE(pending[i] == "\\??\\" + path && pending[i + 1].empty()) << "deleted at restart";
    EXPECT_TRUE(undo.leftOver.empty());
    if (undo.restart.empty()) EXPECT_EQ(ScratchFolder::Read(path), "the original");
    else EXPECT_EQ(undo.restart, std::vector<std::string>{path});
}

// A backup outside the uninstall folder that someone swapped meanwhile is
// not put back: its size and digest are not those the run logged; nor one
// the run logged no sum for (a planted record's).
TEST(UndoActions, ASwappedBackupIsNotPutBack) {
    ScratchFolder dir;
    ScriptedUndo undo(dir);
    undo.setup.rollback = true;
    const std::string path = dir.Write("a.txt", "the run's");
    const std::string kept = dir.Write("1_a.txt", "the original");
    const std::string swapped = dir.Write("2_b.txt", "planted");
    const std::string digest = download::FileSha256Hex(kept);
    undo.Add(LogKind::Backup, path + "|" + kept);
    undo.Add(LogKind::BackupSum, core::FormatBackupCheck({kept, 12, digest}));
    const std::string other = dir.Path() + "b.txt";
    undo.Add(LogKind::Backup, other + "|" + swapped);
    undo.Add(LogKind::BackupSum, core::FormatBackupCheck({swapped, 7, digest}));
    const std::string unsummed = dir.Write("3_c.txt", "planted");
    undo.Add(LogKind::Backup, dir.Path() + "c.txt|" + unsummed);

    install::RestoreReplacedFiles(undo);

    EXPECT_EQ(ScratchFolder::Read(path), "the original");
    EXPECT_FALSE(ScratchFolder::Exists(other));
    EXPECT_FALSE(ScratchFolder::Exists(dir.Path() + "c.txt"));
    EXPECT_EQ(undo.leftOver, (std::vector<std::string>{unsummed, swapped}));
}

}  // namespace
