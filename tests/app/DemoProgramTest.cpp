// The real executable under the X display of the test run: what it prints,
// the window it opens and how it ends.

#include <gtest/gtest.h>
#include <signal.h>

#include <chrono>
#include <string>
#include <thread>

#include "support/ChildProcess.h"
#include "support/PrivateDisplay.h"
#include "support/RunFolder.h"
#include "support/TempDir.h"

namespace {

const char* TITLE = "Get Zorbi";
const std::string BANNER_800 =
    "GLUT version: 3 ::: ClocksPerSec: 1000\n"
    "Loading Demo with settings: 800x600:32@75... \n";

struct Geometry {
    int width = -1;
    int height = -1;
};

Geometry windowGeometry(const PrivateDisplay& display, const std::string& windowId) {
    std::string info = display.run("xwininfo -id " + windowId);
    Geometry geometry;
    auto field = [&](const std::string& name) {
        size_t at = info.find(name);
        return at == std::string::npos ? -1 : std::stoi(info.substr(at + name.size()));
    };
    geometry.width = field("Width: ");
    geometry.height = field("Height: ");
    return geometry;
}

// The size the window settles at: GLUT applies the configured size once the
// main loop runs, after loading, so the first size seen may be its default.
Geometry settledGeometry(const PrivateDisplay& display, const std::string& windowId, Geometry expected,
                         ChildProcess& program) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(PATIENCE_MS);
    Geometry geometry = windowGeometry(display, windowId);
    while ((geometry.width != expected.width || geometry.height != expected.height) && program.running() &&
           std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        geometry = windowGeometry(display, windowId);
    }
    return geometry;
}

// Waits until the banner has been printed, which is after the window opened.
bool waitForOutput(ChildProcess& program, const std::string& expected) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(PATIENCE_MS);
    while (std::chrono::steady_clock::now() < deadline) {
        bool ended = !program.running();
        if (program.standardOutput().find(expected) != std::string::npos) {
            return true;
        }
        if (ended) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
}

void pressKey(const PrivateDisplay& display, const std::string& key) {
    display.run("xdotool key " + key);
}

}  // namespace

TEST(DemoProgram, WithoutStartIniOpensTheDefaultWindowAndPrintsTheBanner) {
    TempDir folder;
    prepareRunFolder(folder, "");
    PrivateDisplay display;
    ChildProcess demo(demoExecutable(), {}, folder.path(), display.name());

    std::string window = display.findWindow(TITLE, demo);
    ASSERT_FALSE(window.empty()) << demo.report();
    Geometry geometry = settledGeometry(display, window, {800, 600}, demo);
    EXPECT_EQ(geometry.width, 800);
    EXPECT_EQ(geometry.height, 600);
    ASSERT_TRUE(waitForOutput(demo, BANNER_800)) << demo.report();
    EXPECT_EQ(demo.standardOutput(), BANNER_800);
}

// ALSA asked for a device that no machine has fails as on a machine without
// a sound card, where it printed eight "ALSA lib" lines of its own and the
// show then played silently without a word.
TEST(DemoProgram, WithoutASoundDeviceItSaysSoInOneLineOfItsOwnAndPlaysOn) {
    TempDir folder;
    prepareRunFolder(folder, "");
    PrivateDisplay display;
    ChildProcess demo(demoExecutable(), {}, folder.path(), display.name(),
                      {"SDL_AUDIODRIVER=alsa", "AUDIODEV=no-such-sound-device"});
    const std::string line = "No sound device: the show goes on without sound.\n";
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (demo.standardError().find(line) == std::string::npos && demo.running() &&
           std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    EXPECT_EQ(demo.standardError(), line);
    EXPECT_EQ(demo.standardOutput(), BANNER_800);
    EXPECT_TRUE(demo.running());
}

TEST(DemoProgram, StartIniSetsTheWindowSize) {
    TempDir folder;
    prepareRunFolder(folder, "width 1024\nheight 768\n");
    PrivateDisplay display;
    ChildProcess demo(demoExecutable(), {}, folder.path(), display.name());

    std::string window = display.findWindow(TITLE, demo);
    ASSERT_FALSE(window.empty()) << demo.report();
    ASSERT_TRUE(waitForOutput(demo, "1024x768:32@75... \n")) << demo.report();
    Geometry geometry = settledGeometry(display, window, {1024, 768}, demo);
    EXPECT_EQ(geometry.width, 1024);
    EXPECT_EQ(geometry.height, 768);
}

TEST(DemoProgram, GameModeTheDisplayRefusesFallsBackToAWindow) {
    TempDir folder;
    prepareRunFolder(folder, "fullscreen 1\nwidth 640\nheight 480\nbitdepth 16\nfrequency 60\n");
    PrivateDisplay display;
    ChildProcess demo(demoExecutable(), {}, folder.path(), display.name());

    std::string window = display.findWindow(TITLE, demo);
    ASSERT_FALSE(window.empty()) << demo.report();
    ASSERT_TRUE(waitForOutput(demo, "Loading Demo with settings: 640x480:16@60... \n")) << demo.report();
    // Past loading, in the main loop, which would end a run without a window.
    settledGeometry(display, window, {640, 480}, demo);
    EXPECT_TRUE(demo.running()) << demo.report();
}

TEST(DemoProgram, EscapeEndsItWithStatusZeroAndOtherKeysDoNot) {
    TempDir folder;
    prepareRunFolder(folder, "");
    PrivateDisplay display;
    ChildProcess demo(demoExecutable(), {}, folder.path(), display.name());
    std::string window = display.findWindow(TITLE, demo);
    ASSERT_FALSE(window.empty()) << demo.report();
    ASSERT_TRUE(waitForOutput(demo, "... \n")) << demo.report();
    // Once the window has its configured size the main loop runs; with no
    // window manager, keys go to the window under the pointer.
    settledGeometry(display, window, {800, 600}, demo);
    display.run("xdotool mousemove --window " + window + " 400 300");

    pressKey(display, "a");
    pressKey(display, "space");
    pressKey(display, "q");
    EXPECT_FALSE(demo.waitForExit(500)) << "a key other than Escape ended the demo";

    pressKey(display, "Escape");
    ASSERT_TRUE(demo.waitForExit()) << demo.report();
    EXPECT_FALSE(demo.killedBySignal());
    EXPECT_EQ(demo.status(), 0);
}

// Ctrl+C and kill end the demo by the signal itself, so a shell reports 130
// and 143. SDL's audio start-up would install handlers for both that only
// queue a quit event, which the demo never reads.
TEST(DemoProgram, CtrlCAndTerminateEndItByTheSignal) {
    for (int signal : {SIGINT, SIGTERM}) {
        TempDir folder;
        prepareRunFolder(folder, "");
        PrivateDisplay display;
        ChildProcess demo(demoExecutable(), {}, folder.path(), display.name());
        std::string window = display.findWindow(TITLE, demo);
        ASSERT_FALSE(window.empty()) << demo.report();
        // The window takes its configured size in the main loop: the sound has started.
        settledGeometry(display, window, {800, 600}, demo);
        ASSERT_TRUE(demo.running()) << demo.report();

        demo.sendSignal(signal);
        ASSERT_TRUE(demo.waitForExit()) << strsignal(signal) << " did not end the demo";
        EXPECT_EQ(demo.terminatingSignal(), signal) << demo.report();
    }
}
