// cvdrive: drives setup.exe from outside, as a user would. Finds its windows,
// reads their texts and presses their buttons. Texts are printed with CR and
// LF written as \r and \n so shell tests can compare them exactly.
//
//   cvdrive dialog TIMEOUT_MS [TITLE]   wait for a dialog box (class #32770),
//                                       print "TITLE:..." and "TEXT:...",
//                                       then close it with its first button
//   cvdrive absent TIMEOUT_MS [TITLE]   succeed when no such dialog shows up
//
// Exit codes: 0 done, 1 not found in time, 2 usage.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

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
    char buf[4096] = "";
    SendMessageTimeoutA(hwnd, WM_GETTEXT, sizeof buf, reinterpret_cast<LPARAM>(buf),
                        SMTO_ABORTIFHUNG, 2000, nullptr);
    return buf;
}

std::string ClassOf(HWND hwnd) {
    char buf[256] = "";
    GetClassNameA(hwnd, buf, sizeof buf);
    return buf;
}

struct DialogSearch {
    const char* title;
    HWND found;
};

BOOL CALLBACK FindDialog(HWND hwnd, LPARAM param) {
    auto* search = reinterpret_cast<DialogSearch*>(param);
    if (!IsWindowVisible(hwnd) || ClassOf(hwnd) != "#32770") return TRUE;
    if (search->title && WindowText(hwnd) != search->title) return TRUE;
    search->found = hwnd;
    return FALSE;
}

HWND WaitForDialog(DWORD timeoutMs, const char* title) {
    const DWORD start = GetTickCount();
    do {
        DialogSearch search = {title, nullptr};
        EnumWindows(FindDialog, reinterpret_cast<LPARAM>(&search));
        if (search.found) return search.found;
        Sleep(50);
    } while (GetTickCount() - start < timeoutMs);
    return nullptr;
}

// The message text of a message box: its static text control (id 0xFFFF),
// or else the first static control that has text.
std::string DialogMessage(HWND dialog) {
    if (HWND text = GetDlgItem(dialog, 0xFFFF)) return WindowText(text);
    std::string result;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (ClassOf(child) == "Static" && !(GetWindowLongA(child, GWL_STYLE) & SS_ICON)) {
            result = WindowText(child);
            if (!result.empty()) break;
        }
    }
    return result;
}

void PressFirstButton(HWND dialog) {
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (ClassOf(child) == "Button" && IsWindowVisible(child)) {
            PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(child), BN_CLICKED),
                         reinterpret_cast<LPARAM>(child));
            return;
        }
    }
    PostMessageA(dialog, WM_CLOSE, 0, 0);
}

int CmdDialog(DWORD timeout, const char* title) {
    HWND dialog = WaitForDialog(timeout, title);
    if (!dialog) {
        std::printf("NOTFOUND\n");
        return 1;
    }
    Sleep(100);  // let the box finish laying out its texts
    std::printf("TITLE:%s\nTEXT:%s\n", Escape(WindowText(dialog)).c_str(),
                Escape(DialogMessage(dialog)).c_str());
    std::fflush(stdout);
    PressFirstButton(dialog);
    return 0;
}

int Usage() {
    std::fprintf(stderr, "usage: cvdrive dialog|absent TIMEOUT_MS [TITLE]\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) return Usage();
    const std::string command = argv[1];
    const DWORD timeout = static_cast<DWORD>(std::strtoul(argv[2], nullptr, 10));
    const char* title = argc > 3 ? argv[3] : nullptr;
    if (command == "dialog") return CmdDialog(timeout, title);
    if (command == "absent") return WaitForDialog(timeout, title) ? 1 : 0;
    return Usage();
}
