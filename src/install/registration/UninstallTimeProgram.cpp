#include "install/registration/UninstallTimeProgram.h"

#include <windows.h>

#include <vector>

#include "core/Folders.h"
#include "core/Settings.h"
#include "core/Trace.h"
#include "install/shared/UndoRules.h"
#include "install/shared/ShippedFiles.h"

namespace install {

namespace {

namespace appinfo = core::keys::appinfo;

std::string ReadAppInfo(const InstallContext& context, const char* key) {
    return core::settings::Read(context.Setup().settingsPath, appinfo::kSection, key);
}

// The uninstaller runs the program from the uninstall folder, where the run
// puts a copy of its own: the payload is gone by then. An empty setting names
// no program (the payload folder itself would "exist").
void PlaceProgram(InstallContext& context) {
    const std::string program = NamedFile(context, ReadAppInfo(context, appinfo::kUninstallExecute));
    if (!core::folders::IsFile(program)) return;
    const std::string name = FileNameOfPath(program);
    CopyReplacing(program, UninstallFolderOf(context) + name);
    context.Log(core::LogKind::Run3rd, name);
    context.Log(core::LogKind::Run3rdCmd,
                context.Expand(ReadAppInfo(context, appinfo::kUninstallCmdLine)));
}

// The command line of the RUN3RD record at `index`: the first RUN3RDCMD
// after it, before any other RUN3RD; "" when there is none.
std::string CommandOf(const std::vector<core::LogRecord>& records, size_t index) {
    for (size_t i = index + 1; i < records.size(); ++i) {
        if (records[i].kind == core::LogKind::Run3rdCmd) return records[i].value;
        if (records[i].kind == core::LogKind::Run3rd) break;
    }
    return std::string();
}

// Starts the program in its folder; the process handle, or null. The
// program's own name comes first on its command line, as a program expects.
HANDLE StartProgram(const std::string& program, const std::string& arguments, const std::string& folder) {
    const std::string line = "\"" + program + "\"" + (arguments.empty() ? "" : " " + arguments);
    std::vector<char> writable(line.begin(), line.end());
    writable.push_back('\0');
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started = {};
    if (!CreateProcessA(program.c_str(), writable.data(), nullptr, nullptr, FALSE, NORMAL_PRIORITY_CLASS,
                        nullptr, folder.c_str(), &startup, &started)) {
        core::trace::Failure("CreateProcessA", program, GetLastError());
        return nullptr;
    }
    CloseHandle(started.hThread);
    return started.hProcess;
}

// Whether the log names the installation folder as one the product made.
bool MadeInstallationFolder(const InstallContext& context) {
    const std::string folder = undorules::ComparableFolder(context.Expand("<InstallDir>"), GetACP());
    for (const core::LogRecord& r : context.Logged())
        if (r.kind == core::LogKind::Dir && undorules::ComparableFolder(r.value, GetACP()) == folder) return true;
    return false;
}

void RunProgram(UndoContext& context, const std::string& name, const std::string& arguments) {
    const std::string& folder = context.Setup().uninstallFolder;
    if (!undorules::IsPlainFileName(name, GetACP()) || folder.empty()) {
        core::trace::Value("uninstall-time program refused", name);
        return;
    }
    const std::string program = folder + name;
    if (!core::folders::IsFile(program)) {
        core::trace::Value("uninstall-time program missing", program);
        return;
    }
    if (HANDLE process = StartProgram(program, arguments, folder)) {
        context.WaitForProcess(process);
        CloseHandle(process);
    }
}

}  // namespace

void RunUninstallTimeProgram(UndoContext& context) {
    const std::vector<core::LogRecord>& records = context.Records();
    for (size_t i = records.size(); i-- > 0;) {
        // A rollback undoes a product that never was installed: its program does not run.
        if (records[i].kind == core::LogKind::Run3rd) {
            if (!context.Setup().rollback) RunProgram(context, records[i].value, CommandOf(records, i));
        } else if (records[i].kind != core::LogKind::Run3rdCmd) continue;
        context.Advance();
    }
}

// Remove-all deletes the installation folder with everything in it, so it
// is asked for only when the product made that folder: a folder the user
// chose that held their files keeps them, and loses only what the run put in.
ActionResult RegisterUninstallTimeProgram(InstallContext& context) {
    PlaceProgram(context);
    if (ReadAppInfo(context, appinfo::kUninstallRemoveAll) == "No") {
        if (MadeInstallationFolder(context))
            context.Log(core::LogKind::RemoveAll, "Yes");
        else
            core::trace::Value("remove-all not asked, the installation folder was there", context.Expand("<InstallDir>"));
    }
    return ActionResult::Continue;
}

}  // namespace install
