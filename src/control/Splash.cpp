#include "control/Splash.h"

#include <mmsystem.h>

#include <memory>

#include "control/SplashRules.h"
#include "core/Settings.h"
#include "core/SettingsKeys.h"
#include "core/Trace.h"
#include "core/TraceNames.h"
#include "skin/AnimatedPicture.h"

namespace control {

namespace {

const char kSplashClass[] = "CorvaneSplash";

// The splash on screen, if any (there is one per start-up).
HWND openSplash = nullptr;

splash::SplashSettings ReadSplashSettings(const std::string& ini) {
    namespace k = core::keys::splash;
    splash::SplashSettings s;
    s.showPicture = core::settings::ReadYes(ini, k::kSection, k::kShowPicture);
    s.picture = core::settings::Read(ini, k::kSection, k::kPicture);
    s.seconds = core::settings::ReadNumber(ini, k::kSection, k::kSeconds);
    s.playSound = core::settings::ReadYes(ini, k::kSection, k::kPlaySound);
    s.sound = core::settings::Read(ini, k::kSection, k::kSound);
    s.soundOnce = core::settings::Read(ini, k::kSection, k::kSoundOnce) == "Once";
    return s;
}

// The window lives until its timers close it (or its owner goes) and
// deletes itself when destroyed.
class SplashWindow {
public:
    SplashWindow(core::SetupState& state, bool soundOnly) : state_(state), soundOnly_(soundOnly) {}

    bool Create(HWND owner) {
        HINSTANCE instance = GetModuleHandleA(nullptr);
        WNDCLASSA wc = {};
        wc.lpfnWndProc = &SplashWindow::WindowProc;
        wc.hInstance = instance;
        wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
        wc.lpszClassName = kSplashClass;
        RegisterClassA(&wc);  // fails harmlessly when already registered
        // Not topmost: a check's message or a question about an earlier
        // installation, which may follow while it shows, must come above it.
        hwnd_ = CreateWindowExA(WS_EX_TOOLWINDOW, kSplashClass, "", WS_POPUP, 0, 0, 0, 0, owner, nullptr,
                                instance, this);
        if (!hwnd_) {
            core::trace::Failure("CreateWindowEx", "splash", GetLastError());
            return false;
        }
        openSplash = hwnd_;
        HWND holder = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, hwnd_, nullptr,
                                      instance, nullptr);
        if (!holder) core::trace::Failure("CreateWindowEx", "splash picture", GetLastError());
        else picture_.reset(new skin::CAnimatedPicture(holder));
        return true;
    }

    // Loads the picture; when it shows, sizes and centres the window on it,
    // starts it and shows the window. A missing picture leaves it hidden.
    void ShowPicture(const std::string& path) {
        if (!picture_ || !picture_->LoadFile(path)) {
            core::trace::Value(core::tracenames::kSplashPicture, "none");
            return;
        }
        const SIZE size = picture_->GetSize();
        SetWindowPos(hwnd_, nullptr, GetSystemMetrics(SM_CXSCREEN) / 2 - size.cx / 2,
                     GetSystemMetrics(SM_CYSCREEN) / 2 - size.cy / 2, size.cx, size.cy,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        picture_->Draw();
        ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
        UpdateWindow(hwnd_);
        const size_t frames = picture_->FrameCount();
        core::trace::Value(core::tracenames::kSplashPicture,
                           std::to_string(size.cx) + "x" + std::to_string(size.cy) + ", " +
                               (frames ? std::to_string(frames) + " frames" : std::string("still")));
    }

    void StartTimer(int id, unsigned ms) { SetTimer(hwnd_, static_cast<UINT_PTR>(id), ms, nullptr); }

    void SetSound(const std::string& path, bool once) {
        soundPath_ = path;
        soundFlags_ = SND_ASYNC | SND_NODEFAULT | (once ? 0 : SND_LOOP);
    }

    void Close(int timer) {
        core::trace::Value(core::tracenames::kSplashClosed, "timer " + std::to_string(timer));
        DestroyWindow(hwnd_);  // deletes this
    }

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
        SplashWindow* self;
        if (msg == WM_NCCREATE) {
            self = static_cast<SplashWindow*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
            SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        } else {
            self = reinterpret_cast<SplashWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
        }
        if (self && msg == WM_TIMER) {
            self->OnTimer(static_cast<int>(wParam));
            return 0;
        }
        if (self && msg == WM_NCDESTROY) {
            SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
            if (openSplash == hwnd) openSplash = nullptr;
            delete self;
        }
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }

    void OnTimer(int id) {
        const splash::TickOutcome out = splash::OnSplashTimer(id, state_.splashMayClose, soundOnly_);
        if (out.stopTimer) KillTimer(hwnd_, static_cast<UINT_PTR>(id));
        if (out.startSound) {
            core::trace::Value(core::tracenames::kSplashSound, soundPath_);
            if (!sndPlaySoundA(soundPath_.c_str(), soundFlags_))
                core::trace::Failure("sndPlaySound", soundPath_, GetLastError());
        }
        if (out.setMayClose) state_.splashMayClose = true;
        if (out.setFinished) state_.splashFinished = true;
        if (out.close) Close(id);
    }

    core::SetupState& state_;
    const bool soundOnly_;
    HWND hwnd_ = nullptr;
    std::unique_ptr<skin::CAnimatedPicture> picture_;
    std::string soundPath_;
    UINT soundFlags_ = 0;
};

}  // namespace

bool OpenSplash(core::SetupState& state, HWND owner) {
    if (state.unattended) return false;  // not even a settings read
    const splash::SplashSettings settings = ReadSplashSettings(state.settingsPath);
    const splash::SplashPlan plan = splash::PlanSplash(settings, state.diskImage, state.unattended);
    if (!plan.open) return false;
    SplashWindow* window = new SplashWindow(state, plan.finishedAtOnce);
    if (!window->Create(owner)) {
        delete window;
        return false;
    }
    if (plan.finishedAtOnce) state.splashFinished = true;
    for (const splash::TimerStart& t : plan.timers) window->StartTimer(t.id, t.ms);
    bool soundComing = false;
    if (settings.playSound) {
        const std::string sound = splash::SplashFilePath(state.sourceFolder, settings.sound, GetACP());
        if (skin::FileExists(sound)) {
            window->SetSound(sound, settings.soundOnce);
            window->StartTimer(splash::kTimerSound, splash::kSoundDelayMs);
            soundComing = true;
        }
    }
    if (settings.showPicture)
        window->ShowPicture(splash::SplashFilePath(state.sourceFolder, settings.picture, GetACP()));
    // A sound-only splash whose sound is missing has nothing to do.
    if (plan.finishedAtOnce && !soundComing) window->Close(0);
    return true;
}

void RaiseSplash() {
    if (openSplash) SetWindowPos(openSplash, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

}  // namespace control
