// The animated picture control: GIF frames played on their own thread with
// their waits and disposals, Stop during a long wait, still pictures, and
// files that are empty, truncated or not pictures at all.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <vector>

#include "GifWriter.h"
#include "skin/AnimatedPicture.h"
#include "skin_support.h"

namespace {

const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kGreen = RGB(0, 255, 0);
const COLORREF kBlue = RGB(0, 0, 255);

// What the animation thread reported: each frame, its wait, and the canvas
// at a point while the frame showed.
struct Played {
    int frame;
    int waitMs;
    COLORREF probe;
};

class SkinAnimation : public ::testing::Test {
protected:
    void SetUp() override {
        holder = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(holder, nullptr);
        picture.reset(new skin::CAnimatedPicture(holder));
    }
    void TearDown() override {
        picture.reset();
        if (IsWindow(holder)) DestroyWindow(holder);
    }

    bool Load(const giftest::GifWriter& g) { return picture->Load(g.bytes.data(), g.bytes.size()); }
    // Records every frame with the canvas at (x, y) while it shows.
    void Observe(int x, int y) {
        picture->SetFrameObserver([this, x, y](int frame, int waitMs) {
            std::lock_guard<std::mutex> hold(lock);
            played.push_back(Played{frame, waitMs, picture->CanvasPixel(x, y)});
            ++framesShown;
        });
    }
    // Dispatches messages until `done` holds, at most `limitMs`.
    static bool Until(const std::function<bool()>& done, DWORD limitMs = 10000) {
        const DWORD start = GetTickCount();
        while (!done()) {
            if (GetTickCount() - start > limitMs) return false;
            skintest::Pump(10);
        }
        return true;
    }

    HWND holder = nullptr;
    std::unique_ptr<skin::CAnimatedPicture> picture;
    std::mutex lock;
    std::vector<Played> played;
    std::atomic<int> framesShown{0};
};

TEST_F(SkinAnimation, ThreeFramesPlayOnceWithTheirWaits) {
    ASSERT_TRUE(Load(giftest::ThreeFrames(1, 1, 1)));
    EXPECT_EQ(picture->FrameCount(), 3u);
    EXPECT_EQ(picture->GetSize().cx, 12);
    EXPECT_EQ(picture->GetSize().cy, 12);
    RECT rc;
    GetWindowRect(holder, &rc);
    EXPECT_EQ(rc.right - rc.left, 12);  // the control takes the picture's size
    EXPECT_EQ(picture->CanvasPixel(5, 5), GetSysColor(COLOR_MENU));
    Observe(9, 9);
    picture->Draw();
    ASSERT_TRUE(Until([&] { return !picture->Playing(); }));
    ASSERT_EQ(played.size(), 3u);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(played[i].frame, i);
    // Delays 0, 4 and 50 hundredths wait 100, 100 and 500 ms.
    EXPECT_EQ(played[0].waitMs, 100);
    EXPECT_EQ(played[1].waitMs, 100);
    EXPECT_EQ(played[2].waitMs, 500);
    EXPECT_EQ(played[2].probe, kBlue);
    EXPECT_EQ(picture->LastEnding(), skin::CAnimatedPicture::Ending::Played);
    // Disposal 1 keeps every frame: all three squares stay.
    EXPECT_EQ(picture->CanvasPixel(1, 1), kRed);
    EXPECT_EQ(picture->CanvasPixel(9, 1), kGreen);
    EXPECT_EQ(picture->CanvasPixel(9, 9), kBlue);

    // Painting copies the canvas.
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 12, 12);
    HGDIOBJ old = SelectObject(memory, bitmap);
    SendMessageA(holder, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory), PRF_CLIENT);
    EXPECT_EQ(GetPixel(memory, 9, 1), kGreen);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
}

TEST_F(SkinAnimation, DisposalsClearOrRestoreTheFrameArea) {
    giftest::GifWriter g(12, 12);
    g.GraphicControl(0, 1).Image(0, 0, 4, 4, giftest::kRed);    // stays
    g.GraphicControl(0, 3).Image(0, 0, 4, 4, giftest::kGreen);  // the red comes back after it
    g.GraphicControl(0, 2).Image(8, 8, 4, 4, giftest::kBlue);   // cleared after it
    g.Image(4, 4, 2, 2, giftest::kGreen);                       // no extension: no wait
    g.Trailer();
    ASSERT_TRUE(Load(g));
    Observe(1, 1);
    picture->Draw();
    ASSERT_TRUE(Until([&] { return !picture->Playing(); }));
    ASSERT_EQ(played.size(), 4u);
    EXPECT_EQ(played[1].probe, kGreen);
    EXPECT_EQ(played[2].probe, kRed);
    EXPECT_EQ(played[3].waitMs, 0);
    EXPECT_EQ(picture->CanvasPixel(1, 1), kRed);
    EXPECT_EQ(picture->CanvasPixel(9, 9), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(picture->CanvasPixel(4, 4), kGreen);
}

TEST_F(SkinAnimation, StopEndsALongWaitAndDrawPlaysAgain) {
    giftest::GifWriter g(8, 8);
    g.GraphicControl(2000, 0).Image(0, 0, 8, 8, giftest::kRed);  // 20 s, cut to 10
    g.GraphicControl(5, 0).Image(0, 0, 8, 8, giftest::kBlue);
    g.Trailer();
    ASSERT_TRUE(Load(g));
    Observe(1, 1);
    picture->Draw();
    ASSERT_TRUE(Until([&] { return framesShown == 1; }));
    EXPECT_TRUE(picture->Playing());
    // The thread wakes on the exit event, not at the end of its wait.
    EXPECT_TRUE(picture->Stop());
    EXPECT_FALSE(picture->Playing());
    EXPECT_EQ(picture->LastEnding(), skin::CAnimatedPicture::Ending::Stopped);
    ASSERT_EQ(played.size(), 1u);
    EXPECT_EQ(played[0].waitMs, 10000);

    picture->Draw();  // from the first frame again
    ASSERT_TRUE(Until([&] { return framesShown == 2; }));
    EXPECT_EQ(played[1].frame, 0);
    // Destroying the window ends the animation too.
    DestroyWindow(holder);
    EXPECT_FALSE(picture->Playing());
    EXPECT_EQ(picture->LastEnding(), skin::CAnimatedPicture::Ending::Stopped);
    EXPECT_EQ(framesShown, 2);
}

TEST_F(SkinAnimation, StillPicturesAndBadFiles) {
    ScratchFolder dir;
    // A bitmap shows still, at its size in pixels.
    ASSERT_TRUE(picture->LoadFile(dir.Write("still.bmp", skintest::Bmp(3, 2, 2, kBlue, kBlue))));
    EXPECT_EQ(picture->GetSize().cx, 3);
    EXPECT_EQ(picture->GetSize().cy, 2);
    EXPECT_EQ(picture->FrameCount(), 0u);
    picture->Draw();
    EXPECT_FALSE(picture->Playing());
    EXPECT_EQ(picture->CanvasPixel(2, 1), kBlue);

    // A single-frame GIF shows still at the screen's size, its frame in its place.
    giftest::GifWriter one(12, 12);
    one.Image(8, 8, 4, 4, giftest::kRed).Trailer();
    ASSERT_TRUE(picture->LoadFile(dir.Write("one.gif", one.Str())));
    EXPECT_EQ(picture->GetSize().cx, 12);
    EXPECT_EQ(picture->FrameCount(), 0u);
    picture->Draw();
    EXPECT_EQ(picture->CanvasPixel(9, 9), kRed);
    EXPECT_EQ(picture->CanvasPixel(1, 1), GetSysColor(COLOR_MENU));

    // A GIF cut inside its third frame plays the two before it.
    giftest::GifWriter three = giftest::ThreeFrames();
    ASSERT_TRUE(picture->Load(three.bytes.data(), three.bytes.size() - 6));
    EXPECT_EQ(picture->FrameCount(), 2u);

    // No more frames than the control keeps.
    giftest::GifWriter many(4, 4);
    for (size_t i = 0; i <= skin::kMaxAnimationFrames; ++i) many.Image(0, 0, 1, 1, giftest::kRed);
    ASSERT_TRUE(Load(many.Trailer()));
    EXPECT_EQ(picture->FrameCount(), skin::kMaxAnimationFrames);

    // Nothing to show: an empty file, a missing one, a header and nothing
    // more, a GIF header over text.
    EXPECT_FALSE(picture->LoadFile(dir.Write("empty.gif", "")));
    EXPECT_EQ(picture->GetSize().cx, 0);
    EXPECT_FALSE(picture->LoadFile(dir.Path() + "missing.gif"));
    EXPECT_FALSE(picture->LoadFile(dir.Write("short.gif", "GIF89a")));
    const std::string screenOnly("GIF89a\x0c\0\x0c\0\0\0\0", 13);
    EXPECT_FALSE(picture->LoadFile(dir.Write("text.gif", screenOnly + " not a picture at all")));
    picture->Draw();  // nothing loaded: nothing happens
    EXPECT_FALSE(picture->Playing());
}

}  // namespace
