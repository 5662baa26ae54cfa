// The real executable under an X server of its own: what it prints, the
// window it opens and how it ends.

#include <gtest/gtest.h>
#include <signal.h>

#include <cstring>
#include <string>

#include "support/RunningDemo.h"
#include "support/ShowExpectations.h"

TEST(DemoProgram, WithoutStartIniOpensTheDefaultWindowAndPrintsTheBanner) {
    RunningDemo run("");
    ASSERT_FALSE(run.window.empty()) << run.demo->report();
    EXPECT_EQ(run.settledSize("800x600"), "800x600");
    ASSERT_TRUE(run.demo->waitForOutput(expectedBanner())) << run.demo->report();
    EXPECT_EQ(run.demo->standardOutput(), expectedBanner());
}

// ALSA asked for a device that no machine has fails as on a machine without
// a sound card, where it printed eight "ALSA lib" lines of its own and the
// show then played silently without a word.
TEST(DemoProgram, WithoutASoundDeviceItSaysSoInOneLineOfItsOwnAndPlaysOn) {
    RunningDemo run("", {"SDL_AUDIODRIVER=alsa", "AUDIODEV=no-such-sound-device"});
    const std::string line = "No sound device: the show goes on without sound.\n";
    EXPECT_TRUE(run.demo->waitForError(line)) << run.demo->report();
    EXPECT_EQ(run.demo->standardError(), line);
    EXPECT_EQ(run.demo->standardOutput(), expectedBanner());
    EXPECT_TRUE(run.demo->running());
}

TEST(DemoProgram, StartIniSetsTheWindowSize) {
    RunningDemo run("width 1024\nheight 768\n");
    ASSERT_FALSE(run.window.empty()) << run.demo->report();
    ASSERT_TRUE(run.demo->waitForOutput(expectedBanner("1024x768:32@75"))) << run.demo->report();
    EXPECT_EQ(run.settledSize("1024x768"), "1024x768");
}

TEST(DemoProgram, GameModeTheDisplayRefusesFallsBackToAWindow) {
    RunningDemo run("fullscreen 1\nwidth 640\nheight 480\nbitdepth 16\nfrequency 60\n");
    ASSERT_FALSE(run.window.empty()) << run.demo->report();
    ASSERT_TRUE(run.demo->waitForOutput(expectedBanner("640x480:16@60"))) << run.demo->report();
    // Past loading, in the main loop, which would end a run without a window.
    run.settledSize("640x480");
    EXPECT_TRUE(run.demo->running()) << run.demo->report();
}

TEST(DemoProgram, EscapeEndsItWithStatusZeroAndOtherKeysDoNot) {
    RunningDemo run("");
    ASSERT_FALSE(run.window.empty()) << run.demo->report();
    ASSERT_TRUE(run.demo->waitForOutput("... \n")) << run.demo->report();
    // Once the window has its configured size the main loop runs.
    run.settledSize("800x600");

    run.press("a space q");
    EXPECT_FALSE(run.demo->waitForExit(500)) << "a key other than Escape ended the demo";

    run.press("Escape");
    ASSERT_TRUE(run.demo->waitForExit()) << run.demo->report();
    EXPECT_FALSE(run.demo->killedBySignal());
    EXPECT_EQ(run.demo->status(), 0);
}

// Ctrl+C and kill end the demo by the signal itself, so a shell reports 130
// and 143. SDL's audio start-up would install handlers for both that only
// queue a quit event, which the demo never reads.
TEST(DemoProgram, CtrlCAndTerminateEndItByTheSignal) {
    for (int signal : {SIGINT, SIGTERM}) {
        RunningDemo run("");
        ASSERT_FALSE(run.window.empty()) << run.demo->report();
        // The window takes its configured size in the main loop: the sound has started.
        run.settledSize("800x600");
        ASSERT_TRUE(run.demo->running()) << run.demo->report();

        run.demo->sendSignal(signal);
        ASSERT_TRUE(run.demo->waitForExit()) << strsignal(signal) << " did not end the demo";
        EXPECT_EQ(run.demo->terminatingSignal(), signal) << run.demo->report();
    }
}
