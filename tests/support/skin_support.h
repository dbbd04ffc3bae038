// Shared pieces of the skinned-page tests: a page host that records what the
// page reports, layout files written into a scratch folder, bitmap files,
// message pumping, screen pixels of a shown page, and a watcher that reads and
// closes the message boxes a page shows.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "TestFiles.h"
#include "skin/SkinnedPage.h"

namespace skintest {

struct Command {
    int id;
    int recordIndex;
    int clickCode;
    std::string name;
};

// Expands "<ProductName>" to "Widget"; records commands, cancel requests and timers.
class FakeHost : public skin::PageHost {
public:
    std::string ExpandPageText(const std::string& text) override {
        std::string out = text;
        for (size_t at; (at = out.find("<ProductName>")) != std::string::npos;)
            out.replace(at, 13, "Widget");
        return out;
    }
    void OnPageCommand(skin::SkinnedPage&, int id, int recordIndex, int clickCode,
                       const std::string& name) override {
        commands.push_back(Command{id, recordIndex, clickCode, name});
    }
    void OnCancelRequest(skin::SkinnedPage&) override { ++cancelRequests; }
    void OnPageTimer(skin::SkinnedPage& page, UINT_PTR id) override {
        KillTimer(page.Window(), id);
        timers.push_back(id);
    }
    LRESULT OnPageNotify(skin::SkinnedPage&, const NMHDR& header) override {
        notifications.push_back(header.code);
        return 0;
    }

    std::vector<Command> commands;
    int cancelRequests = 0;
    std::vector<UINT_PTR> timers;
    std::vector<UINT> notifications;
};

// Dispatches every queued message, through the page's key handling, for
// about `ms` milliseconds.
inline void Pump(DWORD ms = 50) {
    DWORD start = GetTickCount();
    do {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (skin::SkinnedPage::PreTranslatePageMessage(&msg)) continue;
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        Sleep(5);
    } while (GetTickCount() - start < ms);
}

// A page created on a layout written into the test's scratch folder.
class PageFixture : public ::testing::Test {
protected:
    // Writes `text` as NAME into the scratch folder (a "theme" folder).
    std::string WriteLayout(const std::string& name, const std::string& text) {
        return dir.Write(name, text);
    }
    skin::SkinnedPage& Open(const std::string& name, const std::string& text, int index = 1,
                      int count = 3) {
        WriteLayout(name, text);
        return OpenExisting(name, index, count);
    }
    skin::SkinnedPage& OpenExisting(const std::string& name, int index = 1, int count = 3) {
        pages.push_back(std::make_unique<skin::SkinnedPage>(&host));
        skin::SkinnedPage& page = *pages.back();
        EXPECT_TRUE(page.Create());
        page.Load(dir.Path(), name, index, count);
        return page;
    }
    void TearDown() override {
        for (auto& page : pages) page->Close();
        Pump(10);
    }

    ScratchFolder dir;
    FakeHost host;
    std::vector<std::unique_ptr<skin::SkinnedPage>> pages;
};

// Layout text helpers.
inline std::string MainWindow(const std::string& extra = "") {
    return "[MAINWINDOW]\r\ncaption=Test page\r\nstartup=2\r\nwidth=400\r\nheight=300\r\n"
           "fontname=Tahoma\r\nfontsize=8\r\nfontbold=No\r\nfontitalic=No\r\n" + extra;
}
// Control line KEY: "name,left,top,width,height,KIND,image,x,NUMBER".
inline std::string Line(int key, const std::string& kind, int number, int left = 10, int top = 10,
                        int width = 100, int height = 24, const std::string& image = "") {
    return std::to_string(key) + "=c," + std::to_string(left) + "," + std::to_string(top) + "," +
           std::to_string(width) + "," + std::to_string(height) + "," + kind + "," + image + ",x," +
           std::to_string(number) + "\r\n";
}
// The DADOS entries of control NUMBER, each "name|value|0".
inline std::string Entries(int number, const std::vector<std::pair<std::string, std::string>>& e) {
    std::string out = std::to_string(number) + ",t=" + std::to_string(e.size()) + "\r\n";
    for (size_t i = 0; i < e.size(); ++i)
        out += std::to_string(number) + "," + std::to_string(i) + "=" + e[i].first + "|" +
               e[i].second + "|0\r\n";
    return out;
}

// A 24-bit BMP of `width` x `height`: the top `split` rows `top`, the rest `bottom`.
inline std::string Bmp(int width, int height, int split, COLORREF top, COLORREF bottom) {
    int stride = (width * 3 + 3) & ~3;
    int imageSize = stride * height;
    std::string data(54 + imageSize, '\0');
    auto put32 = [&](size_t at, unsigned v) {
        for (int i = 0; i < 4; ++i) data[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
    };
    data[0] = 'B';
    data[1] = 'M';
    put32(2, static_cast<unsigned>(data.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, static_cast<unsigned>(width));
    put32(22, static_cast<unsigned>(height));
    data[26] = 1;
    data[28] = 24;
    put32(34, static_cast<unsigned>(imageSize));
    for (int row = 0; row < height; ++row) {
        int y = height - 1 - row;  // bottom-up rows
        COLORREF c = y < split ? top : bottom;
        for (int x = 0; x < width; ++x) {
            size_t at = 54 + static_cast<size_t>(row) * stride + x * 3;
            data[at] = static_cast<char>(GetBValue(c));
            data[at + 1] = static_cast<char>(GetGValue(c));
            data[at + 2] = static_cast<char>(GetRValue(c));
        }
    }
    return data;
}

inline std::string ClassOf(HWND hwnd) {
    char name[64] = "";
    GetClassNameA(hwnd, name, sizeof name);
    return name;
}
inline LONG_PTR StyleOf(HWND hwnd) { return GetWindowLongPtrA(hwnd, GWL_STYLE); }
inline LONG_PTR ExStyleOf(HWND hwnd) { return GetWindowLongPtrA(hwnd, GWL_EXSTYLE); }
inline std::string TextOf(HWND hwnd) {
    char text[512] = "";
    GetWindowTextA(hwnd, text, sizeof text);
    return text;
}
// The rectangle of a control in its page's client coordinates.
inline RECT RectInParent(HWND control) {
    RECT rc;
    GetWindowRect(control, &rc);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}
inline LOGFONTA FontOf(HFONT font) {
    LOGFONTA lf = {};
    GetObjectA(font, sizeof lf, &lf);
    return lf;
}

// The client area of a shown window as the screen shows it (32-bit pixels).
class Pixels {
public:
    explicit Pixels(HWND hwnd) {
        RECT rc;
        GetClientRect(hwnd, &rc);
        width_ = rc.right;
        height_ = rc.bottom;
        pixels_.assign(static_cast<size_t>(width_) * height_, 0);
        HDC dc = GetDC(hwnd);
        HDC memory = CreateCompatibleDC(dc);
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width_;
        info.bmiHeader.biHeight = -height_;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        HBITMAP canvas = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        HGDIOBJ old = SelectObject(memory, canvas);
        BitBlt(memory, 0, 0, width_, height_, dc, 0, 0, SRCCOPY);
        GdiFlush();
        if (bits) memcpy(pixels_.data(), bits, pixels_.size() * 4);
        SelectObject(memory, old);
        DeleteObject(canvas);
        DeleteDC(memory);
        ReleaseDC(hwnd, dc);
    }
    int Width() const { return width_; }
    int Height() const { return height_; }
    // As a COLORREF (red in the low byte).
    COLORREF At(int x, int y) const {
        if (x < 0 || y < 0 || x >= width_ || y >= height_) return CLR_INVALID;
        DWORD p = pixels_[static_cast<size_t>(y) * width_ + x];
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }

private:
    int width_ = 0, height_ = 0;
    std::vector<DWORD> pixels_;
};

// Shows a page at its place and lets it paint.
inline void ShowAndPaint(skin::SkinnedPage& page) {
    page.Show(SW_SHOWNOACTIVATE);
    SetWindowPos(page.Window(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    RedrawWindow(page.Window(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
    Pump(200);
}

// Reads and closes (OK) the message boxes of one thread while it lives.
class MessageBoxWatcher {
public:
    explicit MessageBoxWatcher(DWORD threadId = GetCurrentThreadId()) : threadId_(threadId) {
        stop_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        thread_ = CreateThread(nullptr, 0, &MessageBoxWatcher::Run, this, 0, nullptr);
    }
    ~MessageBoxWatcher() {
        SetEvent(stop_);
        // The watcher may be reading a box of this thread, which needs this
        // thread's messages: wait while serving them, never blocked.
        while (MsgWaitForMultipleObjects(1, &thread_, FALSE, INFINITE, QS_SENDMESSAGE) == WAIT_OBJECT_0 + 1) {
            MSG msg;
            PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        }
        CloseHandle(thread_);
        CloseHandle(stop_);
    }
    // Texts and captions of the boxes seen so far (read after the watched
    // thread has returned from its box).
    std::vector<std::string> Texts() {
        EnterCriticalSection(&lock_.cs);
        std::vector<std::string> copy = texts_;
        LeaveCriticalSection(&lock_.cs);
        return copy;
    }
    std::vector<std::string> Captions() {
        EnterCriticalSection(&lock_.cs);
        std::vector<std::string> copy = captions_;
        LeaveCriticalSection(&lock_.cs);
        return copy;
    }

private:
    struct Lock {
        Lock() { InitializeCriticalSection(&cs); }
        ~Lock() { DeleteCriticalSection(&cs); }
        CRITICAL_SECTION cs;
    };
    // A window of the watched thread answers only while that thread serves
    // messages: ask with a limit instead of waiting for it for ever.
    static std::string TextWithin(HWND hwnd) {
        char text[512] = "";
        DWORD_PTR copied = 0;
        SendMessageTimeoutA(hwnd, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                            5000, &copied);
        return text;
    }
    static BOOL CALLBACK Visit(HWND hwnd, LPARAM param) {
        auto* self = reinterpret_cast<MessageBoxWatcher*>(param);
        if (ClassOf(hwnd) != "#32770" || !IsWindowVisible(hwnd)) return TRUE;
        HWND text = GetDlgItem(hwnd, 0xFFFF);
        if (!text) return TRUE;
        for (HWND seen : self->seen_)
            if (seen == hwnd) return TRUE;
        self->seen_.push_back(hwnd);
        EnterCriticalSection(&self->lock_.cs);
        self->texts_.push_back(TextWithin(text));
        self->captions_.push_back(TextWithin(hwnd));
        LeaveCriticalSection(&self->lock_.cs);
        PostMessageA(hwnd, WM_COMMAND, IDOK, 0);
        return TRUE;
    }
    static DWORD WINAPI Run(void* param) {
        auto* self = static_cast<MessageBoxWatcher*>(param);
        while (WaitForSingleObject(self->stop_, 20) == WAIT_TIMEOUT)
            EnumThreadWindows(self->threadId_, &MessageBoxWatcher::Visit, reinterpret_cast<LPARAM>(self));
        return 0;
    }

    DWORD threadId_;
    HANDLE stop_;
    HANDLE thread_;
    Lock lock_;
    std::vector<HWND> seen_;
    std::vector<std::string> texts_;
    std::vector<std::string> captions_;
};

}  // namespace skintest
