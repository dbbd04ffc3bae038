// The background window's place behind the wizard, in-process under Wine:
// never the active window, so never raised over a page.
#include <windows.h>

#include <gtest/gtest.h>

#include "control/Background.h"
#include "core/Messages.h"

namespace {

control::Background* g_background = nullptr;

LRESULT CALLBACK FrameProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (g_background && g_background->HandleMessage(hwnd, msg, wParam, lParam, result)) return result;
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

HWND MakeWindow(const char* cls, WNDPROC proc, DWORD style) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = cls;
    RegisterClassA(&wc);
    return CreateWindowExA(0, cls, "", style, 100, 100, 200, 150, nullptr, nullptr, wc.hInstance, nullptr);
}

// Lets the window system's answers to a change (mapping, activation) arrive
// and be handled.
void Pump() {
    for (int round = 0; round < 5; ++round) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
        Sleep(40);
    }
}

// True when `upper` lies above `lower` in the z-order.
bool Above(HWND upper, HWND lower) {
    for (HWND w = GetWindow(upper, GW_HWNDNEXT); w; w = GetWindow(w, GW_HWNDNEXT))
        if (w == lower) return true;
    return false;
}

TEST(Background, MaximisedBehindThePagesAndNeverActive) {
    control::Background background;
    g_background = &background;
    HWND start = MakeWindow("CvTestStart", DefWindowProcA, WS_POPUP | WS_VISIBLE);
    HWND frame = MakeWindow("CvTestFrame", FrameProc, WS_OVERLAPPEDWINDOW);
    ASSERT_TRUE(start && frame);
    SetActiveWindow(start);
    control::background::BackgroundSettings s;
    s.enabled = "1";
    s.topColor = "x@0x00,0x00,0xFF";
    background.Open(frame, s, "C:\\no\\such\\picture.bmp");
    Pump();
    EXPECT_TRUE(IsWindowVisible(frame) && IsZoomed(frame));
    char title[64] = "";
    GetWindowTextA(frame, title, sizeof title);
    EXPECT_STREQ(title, core::kMessageCaption);
    // Opened while a start page is up: that page stays active.
    EXPECT_EQ(GetActiveWindow(), start);
    // The next page comes and the start page goes: the activation never
    // falls to the background, which stays behind.
    HWND page = MakeWindow("CvTestPage", DefWindowProcA, WS_POPUP | WS_VISIBLE);
    ASSERT_TRUE(page);
    DestroyWindow(start);
    Pump();
    EXPECT_NE(GetActiveWindow(), frame);
    EXPECT_TRUE(Above(page, frame));
    DestroyWindow(page);
    Pump();
    EXPECT_NE(GetActiveWindow(), frame);
    SendMessageA(frame, WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindow(frame));
    DestroyWindow(frame);
    g_background = nullptr;
}

}  // namespace
