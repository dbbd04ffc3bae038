#include "billboard/BillboardWindow.h"

#include <utility>

#include "core/Trace.h"
#include "core/TraceNames.h"

namespace billboard {

namespace {

constexpr UINT_PTR kTimerNext = 1;

void RegisterWindowClass(WNDPROC proc) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = kWindowClass;
    // A second slide show of the process finds the class registered.
    if (!RegisterClassA(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        core::trace::Failure("RegisterClass (billboard)", GetLastError());
}

}  // namespace

BillboardWindow::BillboardWindow(std::vector<Billboard> billboards, std::string workingFolder,
                                 std::string sourceFolder)
    : billboards_(std::move(billboards)), workingFolder_(std::move(workingFolder)),
      sourceFolder_(std::move(sourceFolder)) {}

BillboardWindow::~BillboardWindow() {
    if (hwnd_) DestroyWindow(hwnd_);
}

bool BillboardWindow::Open() {
    if (billboards_.empty()) return false;
    RegisterWindowClass(&BillboardWindow::WindowProc);
    // Above the wizard like a system-modal box, but never taking the focus
    // from the page the user types into; hidden until a picture is loaded.
    HWND hwnd = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, kWindowClass, "",
                                WS_POPUP, 1, 1, 1, 1, nullptr, nullptr, GetModuleHandleA(nullptr), this);
    if (!hwnd) {
        core::trace::Failure("CreateWindowEx (billboard)", GetLastError());
        return false;
    }
    ShowBillboard(0);
    return true;
}

LRESULT CALLBACK BillboardWindow::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    BillboardWindow* self;
    if (msg == WM_NCCREATE) {
        self = static_cast<BillboardWindow*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    } else {
        self = reinterpret_cast<BillboardWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    }
    if (!self) return DefWindowProcA(hwnd, msg, wParam, lParam);
    return self->OnMessage(msg, wParam, lParam);
}

LRESULT BillboardWindow::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    HWND hwnd = hwnd_;
    switch (msg) {
    case WM_TIMER:
        if (wParam == kTimerNext) NextBillboard();
        return 0;
    case WM_ERASEBKGND:
        return 1;  // the picture covers the whole client area
    case WM_PAINT:
        Paint();
        return 0;
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    case WM_NCDESTROY:
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        hwnd_ = nullptr;
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    default:
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
}

// Moves the window to the billboard's place and loads its picture; a picture
// that cannot be found or decoded leaves the previous one on screen.
void BillboardWindow::ShowBillboard(size_t index) {
    current_ = index;
    const Billboard& b = billboards_[index];
    SetTimer(hwnd_, kTimerNext, b.milliseconds, nullptr);
    std::string loadedFrom;
    auto next = std::make_unique<skin::OlePicture>();
    if (!b.picture.empty()) {
        for (const std::string& path : PictureCandidates(workingFolder_, sourceFolder_, b.picture)) {
            if (!skin::FileExists(path)) continue;
            if (next->LoadFileBytes(path)) loadedFrom = path;
            break;  // the first file found is the billboard's, readable or not
        }
    }
    if (!loadedFrom.empty()) picture_ = std::move(next);
    if (picture_) {
        SetWindowPos(hwnd_, nullptr, b.left, b.top, picture_->Width(), picture_->Height(),
                     SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
        InvalidateRect(hwnd_, nullptr, FALSE);
        if (!IsWindowVisible(hwnd_)) ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
        UpdateWindow(hwnd_);  // drawn now, not whenever the queue next runs dry
    }
    // Said once the picture is in place and painted, so "shown" means on screen.
    core::trace::Value(core::tracenames::kBillboardShown,
                       std::to_string(index) + " " + (loadedFrom.empty() ? "kept" : loadedFrom));
}

void BillboardWindow::NextBillboard() {
    KillTimer(hwnd_, kTimerNext);
    if (current_ + 1 >= billboards_.size()) {
        core::trace::Line(core::tracenames::kBillboardsEnded);
        DestroyWindow(hwnd_);
        return;
    }
    ShowBillboard(current_ + 1);
}

void BillboardWindow::Paint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd_, &ps);
    if (dc && picture_) picture_->Render(dc, 0, 0);
    EndPaint(hwnd_, &ps);
}

}  // namespace billboard
