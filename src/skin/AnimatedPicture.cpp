#include "skin/AnimatedPicture.h"

#include "core/Trace.h"
#include "skin/GifScanner.h"

namespace skin {

namespace {

// How long Stop waits for the animation thread. Its only waits end with the
// exit event, so it ends at once; should it not, its frames and canvas are
// still in use and cannot be freed, so it is waited for still.
constexpr DWORD kStopWaitMs = 5000;

// A part of the canvas kept while a frame of disposal 3 shows, put back after it.
class SavedArea {
public:
    SavedArea(HDC canvas, const RECT& r) : rect_(r) {
        dc_ = CreateCompatibleDC(canvas);
        bitmap_ = dc_ ? CreateCompatibleBitmap(canvas, Width(), Height()) : nullptr;
        if (!bitmap_) return;
        previous_ = SelectObject(dc_, bitmap_);
        BitBlt(dc_, 0, 0, Width(), Height(), canvas, rect_.left, rect_.top, SRCCOPY);
    }
    ~SavedArea() {
        if (previous_) SelectObject(dc_, previous_);
        if (bitmap_) DeleteObject(bitmap_);
        if (dc_) DeleteDC(dc_);
    }
    SavedArea(const SavedArea&) = delete;
    SavedArea& operator=(const SavedArea&) = delete;

    void Restore(HDC canvas) const {
        if (bitmap_) BitBlt(canvas, rect_.left, rect_.top, Width(), Height(), dc_, 0, 0, SRCCOPY);
    }

private:
    int Width() const { return rect_.right - rect_.left; }
    int Height() const { return rect_.bottom - rect_.top; }

    RECT rect_;
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ previous_ = nullptr;
};

RECT FrameRect(const AnimationFrame& f) { return RECT{f.left, f.top, f.left + f.width, f.top + f.height}; }

}  // namespace

CAnimatedPicture::CAnimatedPicture(HWND staticControl) : SkinControl(staticControl) {
    exitEvent_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (!exitEvent_) core::trace::Failure("CreateEvent (animation)", GetLastError());
    Subclass();
}

CAnimatedPicture::~CAnimatedPicture() {
    Unload();
    if (exitEvent_) CloseHandle(exitEvent_);
}

bool CAnimatedPicture::LoadFile(const std::string& path) {
    std::vector<uint8_t> bytes;
    if (!ReadPictureFile(path, &bytes)) {
        Unload();
        return false;
    }
    return Load(bytes.data(), bytes.size());
}

bool CAnimatedPicture::Load(const uint8_t* data, size_t size) {
    Unload();
    if (!data || size == 0) return false;
    if (gif::IsGif(data, size)) {
        isGif_ = true;
        return LoadFrames(data, size);
    }
    return LoadStill(data, size, false);
}

bool CAnimatedPicture::LoadStill(const uint8_t* data, size_t size, bool keepScreenSize) {
    if (!still_.LoadMemory(data, size)) return false;
    if (!keepScreenSize) {
        width_ = still_.Width();
        height_ = still_.Height();
        stillPlace_ = RECT{0, 0, width_, height_};
    }
    return PrepareCanvas(width_, height_);
}

bool CAnimatedPicture::LoadFrames(const uint8_t* data, size_t size) {
    gif::GifScanner scanner(data, size);
    if (!scanner.Valid()) return false;
    width_ = scanner.ScreenWidth();
    height_ = scanner.ScreenHeight();
    const int count = scanner.CountFrames();
    gif::FrameInfo info;
    std::vector<uint8_t> standalone;
    if (count == 1) {
        // The loader decodes the first frame at its own size: it is drawn
        // where that frame lies on the screen.
        scanner.ExtractFrame(&info, &standalone);
        stillPlace_ = RECT{info.left, info.top, info.left + info.width, info.top + info.height};
        return LoadStill(data, size, true);
    }
    if (count == 0) return false;
    while (frames_.size() < kMaxAnimationFrames && scanner.ExtractFrame(&info, &standalone)) {
        AnimationFrame frame;
        frame.picture.reset(new OlePicture());
        if (!frame.picture->LoadMemory(standalone.data(), standalone.size())) continue;
        frame.width = info.width;
        frame.height = info.height;
        frame.left = info.left;
        frame.top = info.top;
        frame.delay = info.delay;
        frame.disposal = info.disposal;
        frames_.push_back(std::move(frame));
    }
    return !frames_.empty() && PrepareCanvas(width_, height_);
}

bool CAnimatedPicture::PrepareCanvas(int width, int height) {
    if (width <= 0 || height <= 0) return false;
    SetWindowPos(Window(), nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    HDC screen = GetDC(Window());
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = dc ? CreateCompatibleBitmap(screen, width, height) : nullptr;
    if (!bitmap) core::trace::Failure("CreateCompatibleBitmap (animation canvas)", GetLastError());
    if (screen) ReleaseDC(Window(), screen);
    if (!bitmap) {
        if (dc) DeleteDC(dc);
        return false;
    }
    std::lock_guard<std::mutex> hold(canvasLock_);
    canvas_ = dc;
    canvasBitmap_ = bitmap;
    previousBitmap_ = SelectObject(canvas_, canvasBitmap_);
    background_ = GetSysColor(COLOR_BTNFACE);
    RECT all = {0, 0, width, height};
    FillRect(canvas_, &all, GetSysColorBrush(COLOR_MENU));
    canvasReady_ = true;
    return true;
}

void CAnimatedPicture::Draw() {
    if (!canvasReady_) return;
    // Frames are kept only for a GIF of two or more; should the loader have
    // taken just one of them, that one is played all the same.
    if (isGif_ && !frames_.empty()) {
        Stop();
        ending_ = Ending::None;
        thread_ = CreateThread(nullptr, 0, &CAnimatedPicture::ThreadEntry, this, CREATE_SUSPENDED, nullptr);
        if (!thread_) {
            core::trace::Failure("CreateThread (animation)", GetLastError());
            return;
        }
        ResumeThread(thread_);
        return;
    }
    if (still_.Loaded() && DrawOnCanvas(still_, stillPlace_.left, stillPlace_.top,
                                        stillPlace_.right - stillPlace_.left,
                                        stillPlace_.bottom - stillPlace_.top))
        InvalidateRect(Window(), nullptr, FALSE);
}

DWORD WINAPI CAnimatedPicture::ThreadEntry(void* self) {
    static_cast<CAnimatedPicture*>(self)->AnimationThread();
    return 0;
}

bool CAnimatedPicture::DrawOnCanvas(const OlePicture& picture, int left, int top, int width, int height) {
    std::lock_guard<std::mutex> hold(canvasLock_);
    return canvas_ && picture.Render(canvas_, left, top, width, height);
}

// Plays the frames once. The thread handle belongs to the control, which
// closes it in Stop; the thread never does.
void CAnimatedPicture::AnimationThread() {
    HANDLE timer = CreateWaitableTimerA(nullptr, TRUE, nullptr);
    if (!timer) {
        core::trace::Failure("CreateWaitableTimer (animation)", GetLastError());
        return;
    }
    Ending end = Ending::Played;
    for (size_t i = 0; i < frames_.size() && end == Ending::Played; ++i) {
        if (exit_) {
            end = Ending::Stopped;
            break;
        }
        const AnimationFrame& f = frames_[i];
        std::unique_ptr<SavedArea> saved;
        if (f.disposal == 3) {
            std::lock_guard<std::mutex> hold(canvasLock_);
            saved.reset(new SavedArea(canvas_, FrameRect(f)));
        }
        if (DrawOnCanvas(*f.picture, f.left, f.top, f.width, f.height)) InvalidateRect(Window(), nullptr, FALSE);
        const int waitMs = gif::FrameWaitMs(f.delay);
        if (observer_) observer_(static_cast<int>(i), waitMs);
        if (exit_) {
            end = Ending::Stopped;
            break;
        }
        if (waitMs > 0) {
            LARGE_INTEGER due;
            due.QuadPart = -static_cast<LONGLONG>(waitMs) * 10000;  // relative, in 100 ns
            SetWaitableTimer(timer, &due, 0, nullptr, nullptr, FALSE);
            HANDLE waits[] = {timer, exitEvent_};
            WaitForMultipleObjects(exitEvent_ ? 2 : 1, waits, FALSE, gif::kMaxFrameWaitMs);
        }
        if (exit_) {
            end = Ending::Stopped;
            break;
        }
        std::lock_guard<std::mutex> hold(canvasLock_);
        if (f.disposal == 2) {
            RECT r = FrameRect(f);
            HBRUSH fill = CreateSolidBrush(background_);
            FillRect(canvas_, &r, fill);
            DeleteObject(fill);
        } else if (saved) {
            saved->Restore(canvas_);
        }
        // The last frame's disposal shows at the next paint.
    }
    CloseHandle(timer);
    ending_ = end;
}

bool CAnimatedPicture::Stop() {
    exit_ = true;
    if (exitEvent_) SetEvent(exitEvent_);
    bool ended = true;
    if (thread_) {
        if (WaitForSingleObject(thread_, kStopWaitMs) != WAIT_OBJECT_0) {
            core::trace::Failure("WaitForSingleObject (animation thread)", GetLastError());
            ended = false;
            WaitForSingleObject(thread_, INFINITE);
        }
        CloseHandle(thread_);
        thread_ = nullptr;
    }
    if (exitEvent_) ResetEvent(exitEvent_);
    exit_ = false;
    return ended;
}

bool CAnimatedPicture::Playing() const {
    return thread_ && WaitForSingleObject(thread_, 0) == WAIT_TIMEOUT;
}

void CAnimatedPicture::Unload() {
    Stop();
    still_.Release();
    frames_.clear();
    std::lock_guard<std::mutex> hold(canvasLock_);
    if (canvas_) {
        SelectObject(canvas_, previousBitmap_);
        DeleteDC(canvas_);
        DeleteObject(canvasBitmap_);
    }
    canvas_ = nullptr;
    canvasBitmap_ = nullptr;
    previousBitmap_ = nullptr;
    width_ = height_ = 0;
    stillPlace_ = RECT{};
    isGif_ = false;
    canvasReady_ = false;
    background_ = RGB(255, 255, 255);
}

COLORREF CAnimatedPicture::CanvasPixel(int x, int y) const {
    std::lock_guard<std::mutex> hold(canvasLock_);
    return canvas_ ? GetPixel(canvas_, x, y) : CLR_INVALID;
}

void CAnimatedPicture::Paint(HDC dc) {
    std::lock_guard<std::mutex> hold(canvasLock_);
    if (canvas_) BitBlt(dc, 0, 0, width_, height_, canvas_, 0, 0, SRCCOPY);
}

bool CAnimatedPicture::HandleMessage(UINT msg, WPARAM wParam, LPARAM, LRESULT* result) {
    if (msg == WM_DESTROY) Stop();  // then the default handling
    return HandlePaintMessage(msg, wParam, result);
}

}  // namespace skin
