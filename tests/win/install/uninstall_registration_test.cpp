// The uninstall-time program and the size the list of programs shows, run
// in-process against a scripted context on the real file system.
#include <windows.h>

#include <vector>

#include "install/registration/InstalledSize.h"
#include "install/registration/UninstallTimeProgram.h"

#include "ScriptedContext.h"

namespace {

// The product's uninstall folder <scratch>win\Installer\{TEST}\, made.
std::string MakeUninstallFolder(const ScratchFolder& dir) {
    for (const char* sub : {"win", "win\\Installer", "win\\Installer\\{TEST}"})
        CreateDirectoryA((dir.Path() + sub).c_str(), nullptr);
    return dir.Path() + "win\\Installer\\{TEST}\\";
}

// Only a file is a program: an empty setting or one naming a folder logs
// nothing (the uninstaller would run nothing useful); a path with
// placeholders is expanded and its file copied beside the log.
TEST(UninstallTimeProgram, OnlyAnExistingFileIsRegistered) {
    ScratchFolder dir;
    const std::string uninstallFolder = MakeUninstallFolder(dir);
    {
        ScriptedContext ctx(dir);
        CreateDirectoryA((dir.Path() + "payload\\tools").c_str(), nullptr);
        dir.Write("setup.inf", "[APPINFO]\r\na11=tools\r\na12=/x\r\n");
        install::RegisterUninstallTimeProgram(ctx);
        EXPECT_TRUE(ctx.log.empty());
        dir.Write("setup.inf", "[APPINFO]\r\na11=\r\na12=/x\r\n");
        install::RegisterUninstallTimeProgram(ctx);
        EXPECT_TRUE(ctx.log.empty());
    }
    ScriptedContext ctx(dir);
    dir.Write("app\\clean.exe", "cleanup");
    dir.Write("setup.inf", "[APPINFO]\r\na11=<InstallDir>clean.exe\r\na12=/from <InstallDir>\r\na13=No\r\n");
    // Remove-all only for an installation folder the run made (logged).
    install::RegisterUninstallTimeProgram(ctx);
    ctx.Log(core::LogKind::Dir, dir.Path() + "APP");
    install::RegisterUninstallTimeProgram(ctx);
    const std::string command = "RUN3RDCMD=/from " + dir.Path() + "app\\";
    EXPECT_EQ(ctx.log, (std::vector<std::string>{"RUN3RD=clean.exe", command, "DIR=" + dir.Path() + "APP",
                                                 "RUN3RD=clean.exe", command, "REMOVEALL=Yes"}));
    EXPECT_EQ(ScratchFolder::Read(uninstallFolder + "clean.exe"), "cleanup");
}

// 1 + 1024 bytes in files: 2 KiB. A second record of the same file (another
// case), a missing file and a folder add nothing.
TEST(InstalledSize, CountsEachInstalledFileOnceRoundedUp) {
    ScratchFolder dir;
    ScriptedContext ctx(dir);
    dir.Write("app\\one.txt", "1");
    dir.Write("app\\kib.bin", std::string(1024, 'k'));
    CreateDirectoryA((dir.Path() + "app\\folder").c_str(), nullptr);
    ctx.AddFile("one.txt", "", 0, "Destination Computer\\<InstallDir>");
    for (const char* name : {"kib.bin", "ONE.TXT", "missing.txt", "folder"}) ctx.AddFile(name, "");
    EXPECT_EQ(install::InstalledKibibytes(ctx), 2u);
}

}  // namespace
