// The shortcut action run in-process
// against a scripted context whose shell folders are scratch folders.
#include <windows.h>
#include <objidl.h>
#include <shlobj.h>

#include <string>
#include <vector>

#include "install/shortcuts/Shortcuts.h"

#include "ScriptedContext.h"

namespace {



// The product Editor, whose Programs menu and desktop are folders of the
// scratch folder and whose feature Extras is excluded.
void SetUpEditor(ScriptedContext& ctx, const ScratchFolder& dir) {
    install::EngineSetup& setup = ctx.MutableSetup();
    setup.values.productName = "Editor";
    setup.shellFolders.programMenu = dir.Path() + "programs";
    setup.shellFolders.desktop = dir.Path() + "desktop";
    for (const std::string& folder : {setup.shellFolders.programMenu, setup.shellFolders.desktop})
        CreateDirectoryA(folder.c_str(), nullptr);
    setup.features.Add("Core");
    setup.features.Add("Extras");
    setup.features.SetState(1, core::kFeatureExcluded);
}

// The fields of a saved link, read back through the link object.
struct ReadBack {
    std::string target, arguments, description, workingFolder, icon;
    int iconIndex = -1;
};

// The show command in a link file's header (offset 0x3C of the format):
// Wine's link object reports 1 after loading any file.
int StoredShowCommand(const std::string& path) {
    const std::string bytes = ScratchFolder::Read(path);
    return bytes.size() < 0x40 ? -1 : static_cast<unsigned char>(bytes[0x3C]);
}

bool ReadLink(const std::string& path, ReadBack& out) {
    IShellLinkA* link = nullptr;
    IPersistFile* file = nullptr;
    WCHAR wide[MAX_PATH] = L"";
    MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH);
    bool ok = SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                         reinterpret_cast<void**>(&link))) &&
              SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) &&
              SUCCEEDED(file->Load(wide, STGM_READ));
    if (ok) {
        char text[MAX_PATH] = "";
        link->GetPath(text, MAX_PATH, nullptr, SLGP_RAWPATH), out.target = text;
        link->GetArguments(text, MAX_PATH), out.arguments = text;
        link->GetDescription(text, MAX_PATH), out.description = text;
        link->GetWorkingDirectory(text, MAX_PATH), out.workingFolder = text;
        link->GetIconLocation(text, MAX_PATH, &out.iconIndex), out.icon = text;
    }
    if (file) file->Release();
    if (link) link->Release();
    return ok;
}

TEST(CreateShortcutsAction, MakesLogsAndFiltersShortcuts) {
    ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
    {
        ScratchFolder dir;
        ScriptedContext ctx(dir);
        SetUpEditor(ctx, dir);
        const std::string target = dir.Write("app\\editor.exe", "program");
        dir.Write("payload\\editor.ico", "icon");
        dir.Write("setup.inf",
                  "[FOLDERCV]\r\nTOTAL=3\r\n"
                  // In a group of the Programs menu, with every field.
                  "A0=Start Menu\\Programs Menu\\<ProductName> Tools\\<ProductName>\r\nB0=<ProductName>\r\n"
                  "C0=<InstallDir>editor.exe\r\nD0=Edits <ProductName> files\r\nE0=Maximized\r\n"
                  "F0=<InstallDir>\r\nG0=--new \"<InstallDir>doc.txt\"\r\nH0=C:\\art\\editor.ico\r\nI0=2\r\n"
                  "J0=Core\r\n"
                  // Of an excluded feature ("|" marks are not part of its name).
                  "A1=Desktop\\Extra\r\nB1=Extra\r\nC1=<InstallDir>editor.exe\r\nJ1=Ext|ras\r\n"
                  // A name no file can have: the icon is still installed and logged.
                  "A2=Desktop\\Bad|Name\r\nB2=Bad|Name\r\nC2=<InstallDir>editor.exe\r\nH2=editor.ico\r\n");

        EXPECT_EQ(install::CreateShortcuts(ctx), install::ActionResult::Continue);

        const std::string group = dir.Path() + "programs\\Editor Tools\\";
        const std::string icon = dir.Path() + "app\\editor.ico";
        const std::vector<std::string> expected = {"DIR=" + group, "FILE=" + icon,
                                                   "SHORTCUT=" + group + "Editor.lnk", "FILE=" + icon};
        EXPECT_EQ(ctx.log, expected);
        EXPECT_EQ(ScratchFolder::Read(icon), "icon");
        EXPECT_FALSE(ScratchFolder::Exists(dir.Path() + "desktop\\Extra.lnk"));

        ReadBack link;
        ASSERT_TRUE(ReadLink(group + "Editor.lnk", link));
        EXPECT_STRCASEEQ(link.target.c_str(), target.c_str());
        EXPECT_EQ(link.arguments, "--new \"" + dir.Path() + "app\\doc.txt\"");
        EXPECT_EQ(link.description, "Edits Editor files");
        EXPECT_EQ(link.workingFolder, dir.Path() + "app\\");
        EXPECT_EQ(link.icon, icon);
        EXPECT_EQ(link.iconIndex, 2);
        EXPECT_EQ(StoredShowCommand(group + "Editor.lnk"), SW_SHOWMAXIMIZED);
    }
    CoUninitialize();
}

}  // namespace
