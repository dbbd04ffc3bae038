// The rules of the splash screen: which files it shows and plays, which of
// its timers run, and what each timer does when it fires. The splash window
// (control/Splash.h) follows them; the start-up driver's frame timers wait
// for its finished flag before the first wizard page shows.
#pragma once

#include <string>
#include <vector>

namespace control::splash {

// The SPLASH section of the settings.
struct SplashSettings {
    bool showPicture = false;  // "a1" is "Yes"
    std::string picture;       // "a2": only its extension counts
    int seconds = 0;           // "a3": display time
    bool playSound = false;    // "a5" is "Yes"
    std::string sound;         // "a6": only its extension counts
    bool soundOnce = false;    // "a7" is "Once"; otherwise the sound loops
};

// The splash window's timers.
enum TimerId {
    kTimerPoll = 1,       // no display time: closes once the preparation is done
    kTimerSound = 2,      // starts the sound
    kTimerDisplay = 3,    // after the display time: closes once the preparation is done
    kTimerDiskImage = 4,  // disk-image mode (nothing to prepare): closes after the display time
};
constexpr unsigned kPollMs = 1000;
constexpr unsigned kSoundDelayMs = 1500;

// The file shipped beside setup.exe for a picture or sound the settings
// name: the source folder, "setup" and the extension of the name (from the
// first "." of its file name part), so "art\splash.gif" gives
// "<source>setup.gif".
std::string SplashFilePath(const std::string& sourceFolder, const std::string& settingName,
                           unsigned codePage);

struct TimerStart {
    int id;
    unsigned ms;
};

struct SplashPlan {
    bool open = false;            // a splash window is made
    bool finishedAtOnce = false;  // nothing is shown, so nothing holds the first page back
    std::vector<TimerStart> timers;  // the display timers (the sound's comes with its file)
};

// What the splash step does. An unattended run shows and plays nothing. A
// sound without a picture counts as finished at once: no display timer
// would ever end it.
SplashPlan PlanSplash(const SplashSettings& settings, bool diskImage, bool unattended);

// Display time in milliseconds, within what a window timer takes.
unsigned DisplayMs(int seconds);

struct TickOutcome {
    bool stopTimer = false;
    bool startSound = false;
    bool setMayClose = false;
    bool setFinished = false;
    bool close = false;
};

// What timer `id` does when it fires, given the may-close flag (the
// preparation is done) and whether the splash is only a sound.
TickOutcome OnSplashTimer(int id, bool mayClose, bool soundOnly);

}  // namespace control::splash
