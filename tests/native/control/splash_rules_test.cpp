// The splash screen's rules: the shipped file names, the timers each setting
// starts, and what each timer does when it fires.
#include <gtest/gtest.h>

#include "control/SplashRules.h"

using namespace control::splash;

namespace {

std::vector<int> TimerIds(const SplashPlan& plan) {
    std::vector<int> ids;
    for (const TimerStart& t : plan.timers) ids.push_back(static_cast<int>(t.id));
    return ids;
}

TEST(SplashRules, FilesAreSetupWithTheExtensionOfTheSetting) {
    EXPECT_EQ(SplashFilePath("C:\\Src\\", "splash.bmp", 1252), "C:\\Src\\setup.bmp");
    EXPECT_EQ(SplashFilePath("C:\\Src\\", "D:\\art.v2\\intro.anim.gif", 1252), "C:\\Src\\setup.anim.gif");
    EXPECT_EQ(SplashFilePath("C:\\Src\\", "noextension", 1252), "C:\\Src\\setup");
    // The second byte of "\x83\x5C" is no separator in code page 932.
    EXPECT_EQ(SplashFilePath("C:\\S\\", "a\\\x83\x5C.wav", 932), "C:\\S\\setup.wav");
}

TEST(SplashRules, TimersFollowTheSettings) {
    SplashSettings picture;
    picture.showPicture = true;
    SplashPlan p = PlanSplash(picture, false, false);
    EXPECT_TRUE(p.open);
    EXPECT_FALSE(p.finishedAtOnce);
    ASSERT_EQ(TimerIds(p), std::vector<int>{kTimerPoll});  // no display time: poll every second
    EXPECT_EQ(p.timers[0].ms, 1000u);

    picture.seconds = 5;
    p = PlanSplash(picture, true, false);
    ASSERT_EQ(TimerIds(p), (std::vector<int>{kTimerDisplay, kTimerDiskImage}));
    EXPECT_EQ(p.timers[0].ms, 5000u);
    EXPECT_EQ(p.timers[1].ms, 5000u);
    picture.seconds = 2147483647;
    EXPECT_EQ(PlanSplash(picture, false, false).timers[0].ms, 2147483647u);

    // Unattended: nothing. No picture and no sound: nothing.
    EXPECT_FALSE(PlanSplash(picture, false, true).open);
    EXPECT_FALSE(PlanSplash(SplashSettings(), false, false).open);

    // A sound alone holds nothing back.
    SplashSettings sound;
    sound.playSound = true;
    p = PlanSplash(sound, true, false);
    EXPECT_TRUE(p.open);
    EXPECT_TRUE(p.finishedAtOnce);
    EXPECT_TRUE(p.timers.empty());
}

TEST(SplashRules, TimerTicks) {
    for (int id : {kTimerPoll, kTimerDisplay}) {
        TickOutcome waiting = OnSplashTimer(id, false, false);
        EXPECT_FALSE(waiting.close || waiting.stopTimer || waiting.setFinished) << id;
        TickOutcome done = OnSplashTimer(id, true, false);
        EXPECT_TRUE(done.close && done.stopTimer && done.setFinished) << id;
        EXPECT_FALSE(done.setMayClose);
    }
    TickOutcome disk = OnSplashTimer(kTimerDiskImage, false, false);
    EXPECT_TRUE(disk.close && disk.stopTimer && disk.setFinished && disk.setMayClose);
    TickOutcome sound = OnSplashTimer(kTimerSound, false, false);
    EXPECT_TRUE(sound.startSound && sound.stopTimer);
    EXPECT_FALSE(sound.close || sound.setFinished);
    EXPECT_TRUE(OnSplashTimer(kTimerSound, false, true).close);  // sound only: done once it plays
}

}  // namespace
