#include "control/SplashRules.h"

#include <climits>

#include "core/FileList.h"

namespace control::splash {

std::string SplashFilePath(const std::string& sourceFolder, const std::string& settingName,
                           unsigned codePage) {
    // A "." is never the second byte of a double-byte character.
    const std::string name = core::filelist::FileNameOf(settingName, codePage);
    const size_t dot = name.find('.');
    return sourceFolder + "setup" + (dot == std::string::npos ? std::string() : name.substr(dot));
}

unsigned DisplayMs(int seconds) {
    if (seconds <= 0) return 0;
    if (seconds >= INT_MAX / 1000) return static_cast<unsigned>(INT_MAX);
    return static_cast<unsigned>(seconds) * 1000u;
}

SplashPlan PlanSplash(const SplashSettings& settings, bool diskImage, bool unattended) {
    SplashPlan plan;
    if (unattended || (!settings.showPicture && !settings.playSound)) return plan;
    plan.open = true;
    if (!settings.showPicture) {
        plan.finishedAtOnce = true;
        return plan;
    }
    if (settings.seconds != 0)
        plan.timers.push_back({kTimerDisplay, DisplayMs(settings.seconds)});
    else
        plan.timers.push_back({kTimerPoll, kPollMs});
    if (diskImage) plan.timers.push_back({kTimerDiskImage, DisplayMs(settings.seconds)});
    return plan;
}

TickOutcome OnSplashTimer(int id, bool mayClose, bool soundOnly) {
    TickOutcome out;
    switch (id) {
    case kTimerPoll:
    case kTimerDisplay:
        if (mayClose) {
            out.stopTimer = true;
            out.setFinished = true;
            out.close = true;
        }
        break;
    case kTimerSound:
        out.stopTimer = true;
        out.startSound = true;
        // A sound-only splash has nothing left to do once its sound plays.
        out.close = soundOnly;
        break;
    case kTimerDiskImage:
        out.stopTimer = true;
        out.setMayClose = true;
        out.setFinished = true;
        out.close = true;
        break;
    }
    return out;
}

}  // namespace control::splash
