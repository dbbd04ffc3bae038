// cvdrive: drives setup.exe from outside, as a user would: finds its windows,
// reads their texts and presses their buttons. Texts are printed with CR and
// LF written as \r and \n so shell tests can compare them exactly.
//
//   cvdrive dialog TIMEOUT_MS [TITLE]      wait for a dialog box (class #32770,
//                                          not a page), print "TITLE:" and
//                                          "TEXT:", close it with its first button
//   cvdrive answer TIMEOUT_MS BUTTON       same, for a dialog box holding a button
//                                          whose text (without "&") is BUTTON; press it
//   cvdrive wait-dialog TIMEOUT_MS         wait for a dialog box, print its text, leave it open
//   cvdrive absent TIMEOUT_MS [TITLE]      succeed when no dialog box shows up; else
//                                          print "DIALOG:<title>: <text>" and fail
//   cvdrive page TIMEOUT_MS LAYOUT         wait until the page of LAYOUT (a
//                                          layout file path) is on screen
//   cvdrive text LAYOUT NAME               print "TEXT:" of a named control
//   cvdrive wtext LAYOUT NAME              the same, read as UTF-16 (WM_GETTEXT of the
//                                          wide window procedure) and printed as UTF-8,
//                                          whatever the system's code page
//   cvdrive state LAYOUT NAME              print "STATE:" enabled/disabled,
//                                          visible/hidden, checked/unchecked, default
//   cvdrive click LAYOUT NAME              press a named control
//   cvdrive settext LAYOUT NAME TEXT       type a text into a named control
//   cvdrive key LAYOUT VKEY                send a key (13 Enter, 27 Escape) to the page
//   cvdrive close LAYOUT                   use the page's close box
//   cvdrive range LAYOUT NAME              print "RANGE:<max> POS:<pos>" of a progress bar
//   cvdrive place LAYOUT NAME              print "PLACE:x,y,w,h" of a named control in
//                                          the page's client area, in screen pixels
//   cvdrive tree LAYOUT NAME               print "ITEM:<image> <text>" for each root
//                                          item of a tree view
//   cvdrive treemenu LAYOUT NAME INDEX N   select root item INDEX (from 0) of a tree
//                                          view and choose command N (from 1) of the
//                                          pop-up menu that opens
//   cvdrive list LAYOUT NAME               print "ITEM:<text>" for each entry of a
//                                          combo box, then "SELECTED:<text>" ("" for none)
//   cvdrive select LAYOUT NAME TEXT        select the combo box entry equal to TEXT
//   cvdrive wlist LAYOUT NAME              list, the texts in UTF-8 whatever the
//                                          system's code page
//   cvdrive selectat LAYOUT NAME INDEX     select the combo box entry at INDEX (from 0):
//                                          a name the code page lacks cannot be typed
//   cvdrive visible-pages                  print the layout of every visible page
//   cvdrive dlgset TIMEOUT_MS TITLE ID TEXT  set the text of control ID of a
//                                          dialog box titled TITLE
//   cvdrive dlgpress TIMEOUT_MS TITLE ID   press button ID of that dialog box
//   cvdrive window TIMEOUT_MS CLASS        wait for a visible top-level window of
//                                          that class; print "RECT:x,y,w,h" of the
//                                          window and "CLIENT:x,y,w,h" of its client
//                                          area, both in screen pixels
//   cvdrive gone TIMEOUT_MS CLASS          succeed once no visible window of that
//                                          class is left
//
// A page is found by the layout name the setup (or the uninstaller) gives its
// window (the window property "CorvaneLayout", a global atom); named controls
// are found the way the program names them, by reading the same layout file.
// Exit codes: 0 done, 1 not found in time, 2 usage.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "core/WideText.h"
#include "skin/ControlKinds.h"
#include "skin/LayoutFile.h"
#include "skin/LayoutLoader.h"
#include "skin/PageName.h"
#include "skin/ProfileIniSource.h"

namespace {

using skin::kLayoutProperty;

std::string Escape(const std::string& s) {
    std::string out;
    for (char c : s) {
        if (c == '\r') out += "\\r";
        else if (c == '\n') out += "\\n";
        else out += c;
    }
    return out;
}

std::string WindowText(HWND hwnd) {
    char buf[8192] = "";
    SendMessageTimeoutA(hwnd, WM_GETTEXT, sizeof buf, reinterpret_cast<LPARAM>(buf),
                        SMTO_ABORTIFHUNG, 2000, nullptr);
    return buf;
}

std::string ClassOf(HWND hwnd) {
    char buf[256] = "";
    GetClassNameA(hwnd, buf, sizeof buf);
    return buf;
}

std::string BaseName(const std::string& path) {
    const size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The layout name a page window carries, or "" for other windows.
std::string PageLayout(HWND hwnd) {
    const ATOM atom = static_cast<ATOM>(reinterpret_cast<UINT_PTR>(GetPropA(hwnd, kLayoutProperty)));
    char name[256] = "";
    if (!atom || !GlobalGetAtomNameA(atom, name, sizeof name)) return std::string();
    return name;
}

template <typename Match>
HWND FindTopWindow(Match match) {
    struct Search {
        Match* match;
        HWND found;
    } search = {&match, nullptr};
    EnumWindows(
        [](HWND hwnd, LPARAM param) -> BOOL {
            auto* s = reinterpret_cast<Search*>(param);
            if (!IsWindowVisible(hwnd) || !(*s->match)(hwnd)) return TRUE;
            s->found = hwnd;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

template <typename Match>
HWND WaitForWindow(DWORD timeoutMs, Match match) {
    const DWORD start = GetTickCount();
    for (;;) {
        if (HWND hwnd = FindTopWindow(match)) return hwnd;
        if (GetTickCount() - start >= timeoutMs) return nullptr;
        Sleep(50);
    }
}

HWND ButtonNamed(HWND dialog, const char* caption);

// A dialog box (not a page), with that title and holding that button when given.
// A page is a dialog window too, and has no layout name while it is being
// built: only a visible window counts, so a page under construction (created
// hidden) is never taken for a dialog box.
HWND FindDialogBox(DWORD timeoutMs, const char* title, const char* button = nullptr) {
    return WaitForWindow(timeoutMs, [title, button](HWND hwnd) {
        return ClassOf(hwnd) == "#32770" && IsWindowVisible(hwnd) && PageLayout(hwnd).empty() &&
               (!title || WindowText(hwnd) == title) && (!button || ButtonNamed(hwnd, button));
    });
}

// How long a command on a page waits for the page (or its pop-up menu): it
// returns as soon as it is there; the limit only ends a wait for a page that
// never comes, and is generous for a loaded machine.
constexpr DWORD kControlWaitMs = 20000;

HWND FindPage(DWORD timeoutMs, const std::string& layoutPath) {
    const std::string name = BaseName(layoutPath);
    return WaitForWindow(timeoutMs, [&name](HWND hwnd) { return PageLayout(hwnd) == name; });
}

// The window identifier the setup gives the first control named `name`.
class NoWindows : public skin::layout::ControlFactory {
    void CreateControl(skin::layout::ControlRecord&, const skin::layout::ControlLine&) override {}
};

int ControlId(const std::string& layoutPath, const std::string& name) {
    skin::ProfileIniSource source(layoutPath);
    skin::layout::LayoutFile file(source, layoutPath);
    skin::layout::ControlTable table;
    NoWindows factory;
    skin::layout::LoadControls(file, table, factory);
    for (size_t i = 0; i < table.Size(); ++i) {
        const skin::layout::ControlRecord& r = table.At(i);
        const std::string recordName =
            skin::layout::Info(r.kind).nameFromEntry0 ? r.Entry(0) : r.name;
        if (recordName == name) return r.id;
    }
    return -1;
}

// The message text of a message box: its static text control (id 0xFFFF),
// or else the first static control that has text.
std::string DialogMessage(HWND dialog) {
    if (HWND text = GetDlgItem(dialog, 0xFFFF)) return WindowText(text);
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (ClassOf(child) == "Static" && !(GetWindowLongA(child, GWL_STYLE) & SS_ICON)) {
            const std::string text = WindowText(child);
            if (!text.empty()) return text;
        }
    }
    return std::string();
}

std::string WithoutAmpersands(std::string s) {
    std::string out;
    for (char c : s)
        if (c != '&') out += c;
    return out;
}

void Press(HWND dialog, HWND button) {
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
                 reinterpret_cast<LPARAM>(button));
}

HWND ButtonNamed(HWND dialog, const char* caption) {
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (ClassOf(child) != "Button" || !IsWindowVisible(child)) continue;
        if (!caption || WithoutAmpersands(WindowText(child)) == caption) return child;
    }
    return nullptr;
}

// The box is answered by a posted message: wait until it has gone, so that
// the next command never takes this box for the one that follows it.
void WaitUntilGone(HWND dialog) {
    for (DWORD start = GetTickCount(); GetTickCount() - start < 10000; Sleep(20))
        if (!IsWindow(dialog) || !IsWindowVisible(dialog)) return;
}

int CmdDialog(DWORD timeout, const char* title, const char* button) {
    HWND dialog = FindDialogBox(timeout, title, button);
    if (!dialog) {
        std::printf("NOTFOUND\n");
        return 1;
    }
    Sleep(150);  // let the box finish laying out its texts
    std::printf("TITLE:%s\nTEXT:%s\n", Escape(WindowText(dialog)).c_str(),
                Escape(DialogMessage(dialog)).c_str());
    std::fflush(stdout);
    if (HWND b = ButtonNamed(dialog, button)) {
        Press(dialog, b);
        WaitUntilGone(dialog);
        return 0;
    }
    if (!button) {
        PostMessageA(dialog, WM_CLOSE, 0, 0);
        WaitUntilGone(dialog);
        return 0;
    }
    std::printf("NOBUTTON:%s; buttons:", button);
    for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        if (ClassOf(c) == "Button") std::printf(" [%s]", WindowText(c).c_str());
    std::printf("\n");
    return 1;
}

HWND PageControl(const std::string& layout, const std::string& name) {
    HWND page = FindPage(kControlWaitMs, layout);
    const int id = page ? ControlId(layout, name) : -1;
    return id < 0 ? nullptr : GetDlgItem(page, id);
}

int CmdText(const std::string& layout, const std::string& name) {
    HWND control = PageControl(layout, name);
    if (!control) return 1;
    std::printf("TEXT:%s\n", Escape(WindowText(control)).c_str());
    return 0;
}

int CmdWideText(const std::string& layout, const std::string& name) {
    HWND control = PageControl(layout, name);
    if (!control) return 1;
    wchar_t buf[8192] = L"";
    SendMessageTimeoutW(control, WM_GETTEXT, sizeof buf / sizeof buf[0], reinterpret_cast<LPARAM>(buf),
                        SMTO_ABORTIFHUNG, 2000, nullptr);
    std::printf("TEXT:%s\n", Escape(core::wide::ToCodePage(buf, CP_UTF8)).c_str());
    return 0;
}

int CmdState(const std::string& layout, const std::string& name) {
    HWND control = PageControl(layout, name);
    if (!control) return 1;
    const LONG style = GetWindowLongA(control, GWL_STYLE);
    const bool isButton = ClassOf(control) == "Button";
    const LRESULT check = isButton ? SendMessageA(control, BM_GETCHECK, 0, 0) : 0;
    std::printf("STATE:%s %s %s%s\n", IsWindowEnabled(control) ? "enabled" : "disabled",
                IsWindowVisible(control) ? "visible" : "hidden",
                check == BST_CHECKED ? "checked" : "unchecked",
                isButton && (style & 0x0F) == BS_DEFPUSHBUTTON ? " default" : "");
    return 0;
}

int CmdRange(const std::string& layout, const std::string& name) {
    HWND control = PageControl(layout, name);
    if (!control) return 1;
    const LRESULT high = SendMessageA(control, PBM_GETRANGE, FALSE, 0);
    const LRESULT pos = SendMessageA(control, PBM_GETPOS, 0, 0);
    std::printf("RANGE:%ld POS:%ld\n", static_cast<long>(high), static_cast<long>(pos));
    return 0;
}

int CmdPlace(const std::string& layout, const std::string& name) {
    HWND control = PageControl(layout, name);
    if (!control) return 1;
    RECT r;
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
    std::printf("PLACE:%ld,%ld,%ld,%ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top);
    return 0;
}

HTREEITEM RootItem(HWND tree, int index) {
    HTREEITEM item = TreeView_GetRoot(tree);
    for (int i = 0; item && i < index; ++i) item = TreeView_GetNextSibling(tree, item);
    return item;
}

// TVM_GETITEMA fills a structure and a text buffer in the tree's own process:
// they are placed there and read back.
int CmdTree(const std::string& layout, const std::string& name) {
    HWND tree = PageControl(layout, name);
    DWORD pid = 0;
    if (!tree || !GetWindowThreadProcessId(tree, &pid)) return 1;
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (!process) return 1;
    struct Item {
        TVITEMA item;
        char text[256];
    };
    auto* remote = static_cast<Item*>(
        VirtualAllocEx(process, nullptr, sizeof(Item), MEM_COMMIT, PAGE_READWRITE));
    for (HTREEITEM it = RootItem(tree, 0); remote && it; it = TreeView_GetNextSibling(tree, it)) {
        Item local = {};
        local.item.mask = TVIF_TEXT | TVIF_IMAGE;
        local.item.hItem = it;
        local.item.pszText = remote->text;
        local.item.cchTextMax = sizeof local.text;
        WriteProcessMemory(process, remote, &local, sizeof local, nullptr);
        SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&remote->item));
        ReadProcessMemory(process, remote, &local, sizeof local, nullptr);
        local.text[sizeof local.text - 1] = '\0';
        std::printf("ITEM:%d %s\n", local.item.iImage, local.text);
    }
    if (remote) VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    CloseHandle(process);
    return remote ? 0 : 1;
}

// The menu's own loop reads the keys: Down N times, then Enter.
// The combo box messages with texts are carried across processes by the
// system; the wide forms are, whatever the control's own character set.
std::wstring Wide(const std::string& text, UINT codePage = CP_ACP) {
    std::wstring wide(text.size() + 1, L'\0');
    const int n = MultiByteToWideChar(codePage, 0, text.c_str(), -1, &wide[0], static_cast<int>(wide.size()));
    wide.resize(n > 0 ? static_cast<size_t>(n - 1) : 0);
    return wide;
}

std::string ComboEntry(HWND combo, LRESULT index, UINT codePage) {
    const LRESULT length = SendMessageW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length == CB_ERR || length < 0 || length > 4096) return "";
    std::wstring wide(static_cast<size_t>(length) + 1, L'\0');
    SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&wide[0]));
    char text[4 * 4096 + 4] = "";
    WideCharToMultiByte(codePage, 0, wide.c_str(), -1, text, sizeof text, nullptr, nullptr);
    return text;
}

int CmdList(const std::string& layout, const std::string& name, UINT codePage) {
    HWND combo = PageControl(layout, name);
    if (!combo) return 1;
    const LRESULT count = SendMessageW(combo, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) std::printf("ITEM:%s\n", Escape(ComboEntry(combo, i, codePage)).c_str());
    const LRESULT selected = SendMessageA(combo, CB_GETCURSEL, 0, 0);
    std::printf("SELECTED:%s\n", selected == CB_ERR ? "" : Escape(ComboEntry(combo, selected, codePage)).c_str());
    return 0;
}

int CmdSelect(const std::string& layout, const std::string& name, const std::string& text, UINT codePage) {
    HWND combo = PageControl(layout, name);
    if (!combo) return 1;
    const std::wstring wide = Wide(text, codePage);
    const LRESULT index = SendMessageW(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                       reinterpret_cast<LPARAM>(wide.c_str()));
    if (index == CB_ERR) return 1;
    SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    return 0;
}

int CmdSelectAt(const std::string& layout, const std::string& name, int index) {
    HWND combo = PageControl(layout, name);
    if (!combo) return 1;
    return SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0) == CB_ERR ? 1 : 0;
}

int CmdTreeMenu(const std::string& layout, const std::string& name, int index, int command) {
    HWND tree = PageControl(layout, name);
    HTREEITEM item = tree ? RootItem(tree, index) : nullptr;
    if (!item) return 1;
    PostMessageA(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
    HWND menu = WaitForWindow(kControlWaitMs, [](HWND hwnd) { return ClassOf(hwnd) == "#32768"; });
    if (!menu) return 1;
    for (int i = 0; i < command; ++i) PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 1);
    PostMessageA(menu, WM_KEYDOWN, VK_RETURN, 1);
    return 0;
}

int CmdClick(const std::string& layout, const std::string& name) {
    HWND control = PageControl(layout, name);
    if (!control) return 1;
    Press(GetParent(control), control);
    return 0;
}

int CmdSetText(const std::string& layout, const std::string& name, const std::string& text) {
    HWND control = PageControl(layout, name);
    if (!control) return 1;
    SendMessageA(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    return 0;
}

int CmdKey(const std::string& layout, int key) {
    HWND page = FindPage(kControlWaitMs, layout);
    if (!page) return 1;
    HWND target = GetWindow(page, GW_CHILD) ? GetWindow(page, GW_CHILD) : page;
    PostMessageA(target, WM_KEYDOWN, static_cast<WPARAM>(key), 1);
    PostMessageA(target, WM_KEYUP, static_cast<WPARAM>(key), 0xC0000001);
    return 0;
}

int CmdClose(const std::string& layout) {
    HWND page = FindPage(kControlWaitMs, layout);
    if (!page) return 1;
    PostMessageA(page, WM_SYSCOMMAND, SC_CLOSE, 0);
    return 0;
}

int CmdVisiblePages() {
    EnumWindows(
        [](HWND hwnd, LPARAM) -> BOOL {
            const std::string layout = PageLayout(hwnd);
            if (!layout.empty() && IsWindowVisible(hwnd)) std::printf("PAGE:%s\n", layout.c_str());
            return TRUE;
        },
        0);
    return 0;
}

int CmdDialogSet(DWORD timeout, const char* title, int id, const char* text) {
    HWND dialog = WaitForWindow(timeout, [title, id](HWND hwnd) {
        return ClassOf(hwnd) == "#32770" && WindowText(hwnd) == title && GetDlgItem(hwnd, id);
    });
    if (!dialog) return 1;
    SendMessageA(GetDlgItem(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
    return 0;
}

int CmdDialogPress(DWORD timeout, const char* title, int id) {
    HWND dialog = WaitForWindow(timeout, [title, id](HWND hwnd) {
        return ClassOf(hwnd) == "#32770" && WindowText(hwnd) == title && GetDlgItem(hwnd, id);
    });
    if (!dialog) return 1;
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
    return 0;
}

int Usage() {
    std::fprintf(stderr, "usage: see the comment at the top of cvdrive.cpp\n");
    return 2;
}

DWORD Millis(const char* text) { return static_cast<DWORD>(std::strtoul(text, nullptr, 10)); }

int CmdWindow(DWORD timeoutMs, const std::string& windowClass) {
    HWND hwnd = WaitForWindow(timeoutMs, [&windowClass](HWND w) { return ClassOf(w) == windowClass; });
    if (!hwnd) return 1;
    RECT r, c;
    GetWindowRect(hwnd, &r);
    GetClientRect(hwnd, &c);
    POINT origin = {0, 0};
    ClientToScreen(hwnd, &origin);
    std::printf("RECT:%ld,%ld,%ld,%ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top);
    std::printf("CLIENT:%ld,%ld,%ld,%ld\n", origin.x, origin.y, c.right, c.bottom);
    return 0;
}

int CmdGone(DWORD timeoutMs, const std::string& windowClass) {
    const DWORD start = GetTickCount();
    while (FindTopWindow([&windowClass](HWND w) { return ClassOf(w) == windowClass; })) {
        if (GetTickCount() - start >= timeoutMs) return 1;
        Sleep(50);
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return Usage();
    const std::string c = argv[1];
    if (c == "dialog" && argc >= 3) return CmdDialog(Millis(argv[2]), argc > 3 ? argv[3] : nullptr, nullptr);
    if (c == "answer" && argc == 4) return CmdDialog(Millis(argv[2]), nullptr, argv[3]);
    if (c == "wait-dialog" && argc == 3) {
        HWND dialog = FindDialogBox(Millis(argv[2]), nullptr);
        if (!dialog) return 1;
        Sleep(150);
        std::printf("TEXT:%s\n", Escape(DialogMessage(dialog)).c_str());
        return 0;
    }
    if (c == "absent" && argc >= 3) {
        HWND dialog = FindDialogBox(Millis(argv[2]), argc > 3 ? argv[3] : nullptr);
        if (!dialog) return 0;
        // Named, so a test tells a dialog that showed from a driver that could not run.
        std::printf("DIALOG:%s\n", Escape(WindowText(dialog) + ": " + DialogMessage(dialog)).c_str());
        return 1;
    }
    if (c == "page" && argc == 4) {
        if (!FindPage(Millis(argv[2]), argv[3])) return 1;
        std::printf("PAGE:%s\n", BaseName(argv[3]).c_str());
        return 0;
    }
    if (c == "text" && argc == 4) return CmdText(argv[2], argv[3]);
    if (c == "wtext" && argc == 4) return CmdWideText(argv[2], argv[3]);
    if (c == "state" && argc == 4) return CmdState(argv[2], argv[3]);
    if (c == "click" && argc == 4) return CmdClick(argv[2], argv[3]);
    if (c == "range" && argc == 4) return CmdRange(argv[2], argv[3]);
    if (c == "place" && argc == 4) return CmdPlace(argv[2], argv[3]);
    if (c == "tree" && argc == 4) return CmdTree(argv[2], argv[3]);
    if (c == "treemenu" && argc == 6)
        return CmdTreeMenu(argv[2], argv[3], std::atoi(argv[4]), std::atoi(argv[5]));
    if (c == "settext" && argc == 5) return CmdSetText(argv[2], argv[3], argv[4]);
    if (c == "key" && argc == 4) return CmdKey(argv[2], std::atoi(argv[3]));
    if (c == "close" && argc == 3) return CmdClose(argv[2]);
    if (c == "list" && argc == 4) return CmdList(argv[2], argv[3], CP_ACP);
    if (c == "select" && argc == 5) return CmdSelect(argv[2], argv[3], argv[4], CP_ACP);
    if (c == "wlist" && argc == 4) return CmdList(argv[2], argv[3], CP_UTF8);
    if (c == "selectat" && argc == 5) return CmdSelectAt(argv[2], argv[3], std::atoi(argv[4]));
    if (c == "visible-pages") return CmdVisiblePages();
    if (c == "dlgset" && argc == 6)
        return CmdDialogSet(Millis(argv[2]), argv[3], std::atoi(argv[4]), argv[5]);
    if (c == "window" && argc == 4) return CmdWindow(Millis(argv[2]), argv[3]);
    if (c == "gone" && argc == 4) return CmdGone(Millis(argv[2]), argv[3]);
    if (c == "dlgpress" && argc == 5) return CmdDialogPress(Millis(argv[2]), argv[3], std::atoi(argv[4]));
    return Usage();
}
