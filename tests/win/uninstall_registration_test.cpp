// The uninstall-time program and the size the list of programs shows, run
// in-process against a scripted context on the real file system.
#include <windows.h>

#include <vector>

#include "install/InstallContext.h"
#include "install/InstalledSize.h"
#include "install/UninstallTimeProgram.h"

#include "TestFiles.h"

namespace {

// Working folder <scratch>work\, installation folder <scratch>app\, Windows
// folder <scratch>win (with the product's uninstall folder), settings in
// <scratch>setup.inf.
class UninstallContext : public install::InstallContext {
public:
    explicit UninstallContext(const ScratchFolder& dir) {
        for (const char* sub : {"work", "app", "win", "win\\Installer", "win\\Installer\\{UT}"})
            CreateDirectoryA((dir.Path() + sub).c_str(), nullptr);
        setup_.values.installDir = dir.Path() + "app\\";
        setup_.values.windowsFolder = dir.Path() + "win";
        setup_.values.productCode = "{UT}";
        setup_.currentInstallFolder = setup_.defaultInstallFolder = setup_.values.installDir;
        setup_.workingFolder = dir.Path() + "work\\";
        setup_.sourceFolder = dir.Path();
        setup_.settingsPath = dir.Path() + "setup.inf";
    }
    std::string UninstallFolder() const { return setup_.values.windowsFolder + "\\Installer\\{UT}\\"; }
    void AddRecord(const std::string& destDir, const std::string& name) {
        core::filelist::FileRecord r;
        r.fileName = name;
        r.destDir = destDir;
        records_.push_back(r);
    }

    const install::EngineSetup& Setup() const override { return setup_; }
    std::string Expand(const std::string& text) const override {
        return core::ExpandEngineText(text, setup_.values, setup_.currentInstallFolder,
                                      setup_.defaultInstallFolder);
    }
    void Log(core::LogKind kind, const std::string& value) override {
        log.push_back(std::string(core::KeyOf(kind)) + "=" + value);
    }
    std::string PayloadFilePath(size_t, const std::string&) const override { return ""; }
    std::vector<core::filelist::FileRecord>& FileRecords() override { return records_; }
    void SetStatus(const std::string&) override {}
    void SetProgressRange(int) override {}
    void SetProgressPosition(int) override {}
    bool CancelRequested() const override { return false; }
    void Abandon() override {}
    void MarkAbandoned() override {}
    install::ErrorChoice Ask(const install::Question&) override { return install::ErrorChoice::Cancel; }
    void ReportError(int, const std::string&) override {}

    std::vector<std::string> log;

private:
    install::EngineSetup setup_;
    std::vector<core::filelist::FileRecord> records_;
};

// Only a file is a program: an empty setting or one naming a folder logs
// nothing (the uninstaller would run nothing useful); a path with
// placeholders is expanded and its file copied beside the log.
TEST(UninstallTimeProgram, OnlyAnExistingFileIsRegistered) {
    ScratchFolder dir;
    {
        UninstallContext ctx(dir);
        CreateDirectoryA((dir.Path() + "work\\tools").c_str(), nullptr);
        dir.Write("setup.inf", "[APPINFO]\r\na11=tools\r\na12=/x\r\n");
        install::RegisterUninstallTimeProgram(ctx);
        EXPECT_TRUE(ctx.log.empty());
        dir.Write("setup.inf", "[APPINFO]\r\na11=\r\na12=/x\r\n");
        install::RegisterUninstallTimeProgram(ctx);
        EXPECT_TRUE(ctx.log.empty());
    }
    UninstallContext ctx(dir);
    dir.Write("app\\clean.exe", "cleanup");
    dir.Write("setup.inf", "[APPINFO]\r\na11=<InstallDir>clean.exe\r\na12=/from <InstallDir>\r\na13=No\r\n");
    install::RegisterUninstallTimeProgram(ctx);
    EXPECT_EQ(ctx.log, (std::vector<std::string>{"RUN3RD=clean.exe",
                                                 "RUN3RDCMD=/from " + dir.Path() + "app\\",
                                                 "REMOVEALL=Yes"}));
    EXPECT_EQ(ScratchFolder::Read(ctx.UninstallFolder() + "clean.exe"), "cleanup");
}

// 1 + 1024 bytes in files: 2 KiB. A second record of the same file (another
// case), a missing file and a folder add nothing.
TEST(InstalledSize, CountsEachInstalledFileOnceRoundedUp) {
    ScratchFolder dir;
    UninstallContext ctx(dir);
    dir.Write("app\\one.txt", "1");
    dir.Write("app\\kib.bin", std::string(1024, 'k'));
    CreateDirectoryA((dir.Path() + "app\\folder").c_str(), nullptr);
    ctx.AddRecord("Destination Computer\\<InstallDir>", "one.txt");
    ctx.AddRecord("<InstallDir>", "kib.bin");
    ctx.AddRecord("<InstallDir>", "ONE.TXT");
    ctx.AddRecord("<InstallDir>", "missing.txt");
    ctx.AddRecord("<InstallDir>", "folder");
    EXPECT_EQ(install::InstalledKibibytes(ctx), 2u);
}

}  // namespace
