// A picture control that shows a picture file at its natural size: any
// picture the system's OLE loader reads is shown still; a GIF of two or more
// frames is played once, frame by frame with each frame's delay and
// disposal, on a thread of the control's own. The splash screen uses it.
//
// The control draws into an off-screen canvas (a memory device context with
// a bitmap of the picture's size); painting only copies the canvas to the
// screen. The canvas is shared by the animation thread (drawing frames) and
// the user-interface thread (painting) under one lock, so no device context
// or bitmap is ever used by both at once. Each frame's picture is used only
// by the animation thread while it plays, and only by the control's own
// thread while none plays.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "skin/OlePicture.h"
#include "skin/SkinControl.h"

namespace skin {

// One frame of an animated GIF, decoded once when the file is loaded.
struct AnimationFrame {
    std::unique_ptr<OlePicture> picture;
    int width = 0;
    int height = 0;
    int left = 0;
    int top = 0;
    int delay = -1;    // hundredths of a second as stored; -1: no graphic control extension
    int disposal = 0;  // 0..7
};

// Frames kept of one GIF at the most: each holds a bitmap, and a process has
// some ten thousand GDI objects for all its windows.
constexpr size_t kMaxAnimationFrames = 1000;

class CAnimatedPicture : public SkinControl {
public:
    // Takes over painting of a static control of a dialog or window.
    explicit CAnimatedPicture(HWND staticControl);
    ~CAnimatedPicture() override;

    // Reads the whole file and loads it; false when it cannot be read or shown.
    bool LoadFile(const std::string& path);
    // Replaces whatever was loaded; true when a picture or at least one frame
    // was loaded and the canvas was made (the control is resized to it).
    bool Load(const uint8_t* data, size_t size);
    SIZE GetSize() const { return SIZE{width_, height_}; }
    // Shows the loaded picture: a still picture is drawn at once, an
    // animation starts playing (again from its first frame).
    void Draw();
    // Ends the animation, if one plays; true when its thread ended in time.
    bool Stop();
    // Stop, then releases everything loaded.
    void Unload();

    size_t FrameCount() const { return frames_.size(); }
    // An animation thread is running.
    bool Playing() const;
    // How the last animation ended: it played to the end, or Stop ended it.
    enum class Ending { None, Played, Stopped };
    Ending LastEnding() const { return ending_; }
    // What the canvas holds at a point (CLR_INVALID outside it).
    COLORREF CanvasPixel(int x, int y) const;
    // Called on the animation thread after each frame was drawn, with the
    // frame's index and how long it stays.
    void SetFrameObserver(std::function<void(int frame, int waitMs)> observer) {
        observer_ = std::move(observer);
    }

protected:
    bool HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    void Paint(HDC dc) override;

private:
    bool LoadStill(const uint8_t* data, size_t size, bool keepScreenSize);
    bool LoadFrames(const uint8_t* data, size_t size);
    bool PrepareCanvas(int width, int height);
    static DWORD WINAPI ThreadEntry(void* self);
    void AnimationThread();
    // Draws a picture onto the canvas under the lock; true when it was drawn.
    bool DrawOnCanvas(const OlePicture& picture, int left, int top, int width, int height);

    int width_ = 0;
    int height_ = 0;
    COLORREF background_ = RGB(255, 255, 255);  // fills frames of disposal 2
    bool isGif_ = false;
    std::atomic<bool> exit_{false};
    bool canvasReady_ = false;
    mutable std::mutex canvasLock_;
    HDC canvas_ = nullptr;
    HBITMAP canvasBitmap_ = nullptr;
    HGDIOBJ previousBitmap_ = nullptr;
    HANDLE thread_ = nullptr;
    HANDLE exitEvent_ = nullptr;
    OlePicture still_;
    RECT stillPlace_ = {};
    std::vector<AnimationFrame> frames_;
    std::atomic<Ending> ending_{Ending::None};
    std::function<void(int, int)> observer_;
};

}  // namespace skin
