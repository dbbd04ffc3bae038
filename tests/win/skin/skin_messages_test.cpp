// What a page answers: clicks from identifiers 3000 to 3030 with their click
// codes, Enter swallowed, Escape and the close box asking to cancel, Tab
// moving the focus, timers and notifications going to the host, and the
// current page.
#include <windows.h>
#include <commctrl.h>

#include "skin_support.h"

using namespace skintest;

namespace {

class SkinPageMessages : public PageFixture {
protected:
    skin::SkinnedPage& Navigation() {
        return Open("nav.lcd",
                    MainWindow() + "[INFO]\r\nTOTAL=4\r\n" + Line(0, "BUTTON", 1) +
                        Line(1, "BUTTON", 2, 120) + Line(2, "BUTTON", 3, 230) +
                        Line(3, "TEXTBOX", 4, 10, 60) + "[DADOS]\r\n" +
                        Entries(1, {{"Name", "IDC_BACK"}, {"Caption", "Back"}, {"On Click", "2-Back"}}) +
                        Entries(2, {{"Name", "IDC_NEXT"}, {"Caption", "Next"}, {"Mouse Click", "1-Next"}}) +
                        Entries(3, {{"Name", "IDC_GO"}, {"Caption", "Go"}, {"On Click", "[Do Nothing]"}}) +
                        Entries(4, {{"Name", "IDC_NAME"}}));
    }
    MSG Key(HWND target, UINT message, WPARAM key) {
        MSG msg = {};
        msg.hwnd = target;
        msg.message = message;
        msg.wParam = key;
        msg.time = GetTickCount();
        return msg;
    }
};

TEST_F(SkinPageMessages, ClicksReachTheHostWithRecordAndClickCode) {
    skin::SkinnedPage& page = Navigation();
    ShowAndPaint(page);
    SendMessageA(page.ControlWindow("IDC_NEXT"), BM_CLICK, 0, 0);
    SendMessageA(page.ControlWindow("IDC_BACK"), BM_CLICK, 0, 0);
    SendMessageA(page.ControlWindow("IDC_GO"), BM_CLICK, 0, 0);
    Pump();
    ASSERT_EQ(host.commands.size(), 3u);
    EXPECT_EQ(host.commands[0].id, 3002);
    EXPECT_EQ(host.commands[0].recordIndex, 1);
    EXPECT_EQ(host.commands[0].clickCode, 1);
    EXPECT_EQ(host.commands[0].name, "IDC_NEXT");
    EXPECT_EQ(host.commands[1].id, 3003);
    EXPECT_EQ(host.commands[1].recordIndex, 0);
    EXPECT_EQ(host.commands[1].clickCode, 2);
    EXPECT_EQ(host.commands[2].name, "IDC_GO");
    EXPECT_EQ(host.commands[2].clickCode, 0);
}

TEST_F(SkinPageMessages, OnlyClicksOfTheFirstThirtyOneIdentifiersCount) {
    std::string layout = MainWindow() + "[INFO]\r\nTOTAL=32\r\n";
    for (int i = 0; i < 32; ++i)
        layout += Line(i, i < 15 ? "BUTTON" : (i < 30 ? "CHECKBOX" : "RADIO"), i, 5 + (i % 4) * 95, 5 + (i / 4) * 30, 90, 25);
    layout += "[DADOS]\r\n";
    for (int i = 0; i < 32; ++i) layout += Entries(i, {{"Name", "C" + std::to_string(i)}, {"Caption", "c"}});
    skin::SkinnedPage& page = Open("many.lcd", layout);
    ASSERT_EQ(page.FindControl("C0"), 3031);
    EXPECT_EQ(page.FindControl("C1"), 3030);
    SendMessageA(page.ControlWindow("C0"), BM_CLICK, 0, 0);
    Pump();
    EXPECT_TRUE(host.commands.empty());
    SendMessageA(page.ControlWindow("C1"), BM_CLICK, 0, 0);
    SendMessageA(page.ControlWindow("C31"), BM_CLICK, 0, 0);
    Pump();
    ASSERT_EQ(host.commands.size(), 2u);
    EXPECT_EQ(host.commands[0].name, "C1");
    EXPECT_EQ(host.commands[1].id, 3000);
    // Other notification codes, and identifiers outside the range, are not clicks.
    SendMessageA(page.Window(), WM_COMMAND, MAKEWPARAM(3005, EN_CHANGE), 0);
    SendMessageA(page.Window(), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    SendMessageA(page.Window(), WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    SendMessageA(page.Window(), WM_COMMAND, MAKEWPARAM(2999, BN_CLICKED), 0);
    EXPECT_EQ(host.commands.size(), 2u);
    EXPECT_EQ(host.cancelRequests, 0);
}

TEST_F(SkinPageMessages, EnterIsSwallowedEvenOnTheDefaultButton) {
    skin::SkinnedPage& page = Navigation();
    ShowAndPaint(page);
    for (HWND target : {page.ControlWindow("IDC_NEXT"), page.ControlWindow("IDC_NAME"), page.Window()}) {
        MSG down = Key(target, WM_KEYDOWN, VK_RETURN);
        EXPECT_TRUE(skin::SkinnedPage::PreTranslatePageMessage(&down));
        MSG chr = Key(target, WM_CHAR, '\r');
        EXPECT_TRUE(skin::SkinnedPage::PreTranslatePageMessage(&chr));
    }
    // A real key press on the page goes the same way.
    SetForegroundWindow(page.Window());
    SetFocus(page.ControlWindow("IDC_NEXT"));
    PostMessageA(page.ControlWindow("IDC_NEXT"), WM_KEYDOWN, VK_RETURN, 0);
    Pump(100);
    EXPECT_TRUE(host.commands.empty());
    EXPECT_EQ(host.cancelRequests, 0);
    EXPECT_TRUE(page.IsOpen());
}

TEST_F(SkinPageMessages, EscapeAsksToCancel) {
    skin::SkinnedPage& page = Navigation();
    ShowAndPaint(page);
    MSG down = Key(page.ControlWindow("IDC_NAME"), WM_KEYDOWN, VK_ESCAPE);
    EXPECT_TRUE(skin::SkinnedPage::PreTranslatePageMessage(&down));
    EXPECT_EQ(host.cancelRequests, 1);
    MSG chr = Key(page.ControlWindow("IDC_NAME"), WM_CHAR, 27);
    EXPECT_TRUE(skin::SkinnedPage::PreTranslatePageMessage(&chr));
    EXPECT_EQ(host.cancelRequests, 1);  // one request per key press
    PostMessageA(page.Window(), WM_KEYDOWN, VK_ESCAPE, 0);
    Pump();
    EXPECT_EQ(host.cancelRequests, 2);
    EXPECT_TRUE(host.commands.empty());  // no IDCANCEL click from the dialog manager
}

TEST_F(SkinPageMessages, CloseBoxAsksToCancel) {
    skin::SkinnedPage& page = Navigation();
    SendMessageA(page.Window(), WM_CLOSE, 0, 0);
    SendMessageA(page.Window(), WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(host.cancelRequests, 2);
    EXPECT_TRUE(page.IsOpen());  // the host decides
}

TEST_F(SkinPageMessages, TabMovesBetweenTheControls) {
    skin::SkinnedPage& page = Navigation();
    page.Show(SW_SHOWNORMAL);
    SetForegroundWindow(page.Window());
    SetFocus(page.ControlWindow("IDC_NEXT"));
    Pump();
    ASSERT_EQ(GetFocus(), page.ControlWindow("IDC_NEXT"));
    MSG tab = Key(GetFocus(), WM_KEYDOWN, VK_TAB);
    EXPECT_TRUE(skin::SkinnedPage::PreTranslatePageMessage(&tab));
    EXPECT_NE(GetFocus(), page.ControlWindow("IDC_NEXT"));
    EXPECT_EQ(GetParent(GetFocus()), page.Window());
}

TEST_F(SkinPageMessages, OtherWindowsAreLeftAlone) {
    Navigation();
    HWND other = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    MSG msg = Key(other, WM_KEYDOWN, VK_RETURN);
    EXPECT_FALSE(skin::SkinnedPage::PreTranslatePageMessage(&msg));
    msg.hwnd = nullptr;
    EXPECT_FALSE(skin::SkinnedPage::PreTranslatePageMessage(&msg));
    EXPECT_FALSE(skin::SkinnedPage::PreTranslatePageMessage(nullptr));
    DestroyWindow(other);
}

TEST_F(SkinPageMessages, TimersAndNotificationsGoToTheHost) {
    skin::SkinnedPage& page = Open("tree.lcd", MainWindow() + "[INFO]\r\nTOTAL=1\r\n" +
                                             Line(0, "TREEVIEW", 1, 10, 10, 200, 100) + "[DADOS]\r\n" +
                                             Entries(1, {{"Name", "IDC_TREE"}}));
    SetTimer(page.Window(), 2, 10, nullptr);
    DWORD start = GetTickCount();
    while (host.timers.empty() && GetTickCount() - start < 20000) Pump(20);
    ASSERT_EQ(host.timers.size(), 1u);
    EXPECT_EQ(host.timers[0], 2u);
    HWND tree = page.ControlWindow("IDC_TREE");
    TVINSERTSTRUCTA item = {};
    item.hParent = TVI_ROOT;
    item.hInsertAfter = TVI_LAST;
    item.item.mask = TVIF_TEXT;
    item.item.pszText = const_cast<char*>("Feature");
    HTREEITEM h = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
    SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(h));
    bool changed = false;
    for (UINT code : host.notifications) changed |= code == TVN_SELCHANGEDA || code == TVN_SELCHANGEDW;
    EXPECT_TRUE(changed);
}

TEST_F(SkinPageMessages, CurrentPageFollowsCreationShowAndClose) {
    skin::SkinnedPage& first = Open("a.lcd", MainWindow());
    EXPECT_EQ(skin::SkinnedPage::Current(), &first);
    skin::SkinnedPage& second = Open("b.lcd", MainWindow());
    EXPECT_EQ(skin::SkinnedPage::Current(), &second);
    first.Show(SW_SHOWNOACTIVATE);
    EXPECT_EQ(skin::SkinnedPage::Current(), &first);
    first.Close();
    EXPECT_FALSE(first.IsOpen());
    EXPECT_EQ(skin::SkinnedPage::Current(), nullptr);
    EXPECT_EQ(skin::SkinnedPage::FromWindow(second.Window()), &second);
    second.Close();
    EXPECT_EQ(skin::SkinnedPage::FromWindow(nullptr), nullptr);
}

TEST_F(SkinPageMessages, ControlsKnowTheirPage) {
    skin::SkinnedPage& page = Navigation();
    EXPECT_EQ(skin::SkinnedPage::FromWindow(page.ControlWindow("IDC_NAME")), &page);
    EXPECT_EQ(skin::SkinnedPage::FromWindow(page.Window()), &page);
}

}  // namespace
