// The real demo, with all its data, under an X server of its own: the window
// shrunk to a single pixel, a height of 0 asked for, focus taken away and
// given back, the window unmapped and mapped, keys pressed in bursts. After
// each the show must still be running and drawing, and Escape must still end
// it with status 0.

#include <gtest/gtest.h>

#include <chrono>
#include <set>
#include <string>
#include <thread>

#include "support/RunningDemo.h"

namespace {

void pause(int milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

int distinctColours(const std::string& rgb) {
    std::set<std::string> colours;
    for (std::size_t i = 0; i + 3 <= rgb.size() && colours.size() < 1000; i += 3) {
        colours.insert(rgb.substr(i, 3));
    }
    return int(colours.size());
}

void resize(const PrivateDisplay& display, const std::string& window, int width, int height) {
    display.run("xdotool windowsize --sync " + window + " " + std::to_string(width) + " " + std::to_string(height));
}

// The demo in a fresh run folder, with the silent sound driver.
class DrawingDemo : public RunningDemo {
public:
    explicit DrawingDemo(const std::string& startIni) : RunningDemo(startIni, {"SDL_AUDIODRIVER=dummy"}) {}

    bool started() { return !window.empty() && stillDrawing(); }

    // True once the window shows a picture (not one flat colour) that changes
    // from one look to the next: frames are still being drawn and swapped.
    bool stillDrawing() {
        std::string previous = display.screenshot(window);
        return demo->waitUntil(
            [&] {
                std::string current = display.screenshot(window);
                bool changing = distinctColours(current) > 20 && !previous.empty() && current != previous;
                previous = current;
                return changing;
            },
            250);
    }

    void expectEscapeEndsItCleanly() {
        display.run("xdotool windowfocus --sync " + window + " key Escape");
        ASSERT_TRUE(demo->waitForExit()) << "Escape did not end the demo";
        EXPECT_FALSE(demo->killedBySignal()) << demo->report();
        EXPECT_EQ(demo->status(), 0) << demo->report();
        EXPECT_EQ(demo->standardError().find("Error"), std::string::npos) << demo->standardError();
    }
};

}  // namespace

TEST(WindowRobustness, ShrunkToOnePixelAndToTheLowestHeightItDrawsOnWhenGrownAgain) {
    DrawingDemo run("");
    ASSERT_TRUE(run.started()) << run.demo->report();

    resize(run.display, run.window, 1, 1);
    EXPECT_EQ(run.display.windowSize(run.window), "1x1");
    pause(500);
    ASSERT_TRUE(run.demo->running()) << run.demo->report();

    // X has no zero-sized windows: 1 is the lowest height a window can get
    // from outside (xdotool takes 0 as "leave it"). The height 0 itself comes
    // from start.ini in the next test.
    resize(run.display, run.window, 800, 1);
    EXPECT_EQ(run.display.windowSize(run.window), "800x1");
    pause(500);
    ASSERT_TRUE(run.demo->running()) << run.demo->report();

    // Quick shrinking and growing, each size reshaping the projection.
    for (int size = 1; size <= 601; size += 40) {
        resize(run.display, run.window, size, 601 - size + 1);
    }
    resize(run.display, run.window, 640, 480);
    EXPECT_EQ(run.display.windowSize(run.window), "640x480");
    EXPECT_TRUE(run.stillDrawing());
    run.expectEscapeEndsItCleanly();
}

// A width or height that is not a number converts to 0, and X takes sides
// modulo 65536: either would end the process with an X protocol error at the
// first reshape. Far below that, sides past the GL viewport limit crashed
// Mesa's software path or left the window black: the window gets the nearest
// size GL can show, and says so. A window larger than the screen is what it
// asks for, without a word.
TEST(WindowRobustness, SidesOfZeroOrPastTheViewportLimitGiveTheNearestWindowGLShows) {
    struct Case {
        const char* startIni;
        const char* expectedSize;  // llvmpipe's viewport limit is 16384; the screen is 1280x1024
        const char* error;
        bool showsAPicture;  // a single row is too thin to tell
    } cases[] = {
        {"width 65536\nheight 0\n", "16384x1", "Window size 65536x0 cannot be shown here: using 16384x1.\n", false},
        {"width 1600\nheight 1200\n", "1600x1200", "", true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.startIni);
        DrawingDemo run(c.startIni);
        ASSERT_FALSE(run.window.empty()) << run.demo->report();
        EXPECT_EQ(run.settledSize(c.expectedSize), c.expectedSize);
        if (c.showsAPicture) {
            EXPECT_TRUE(run.started()) << run.demo->report();
        }
        EXPECT_EQ(run.demo->standardError(), c.error) << run.demo->report();

        resize(run.display, run.window, 640, 480);
        EXPECT_TRUE(run.stillDrawing()) << run.demo->report();
        run.expectEscapeEndsItCleanly();
    }
}

TEST(WindowRobustness, FocusChangesHidingAndKeyBurstsLeaveTheShowRunning) {
    DrawingDemo run("");
    ASSERT_TRUE(run.started()) << run.demo->report();

    // Another client's window takes the focus, then gives it back, several times.
    ChildProcess message("/usr/bin/xmessage", {"-title", "other", "another window"}, "/tmp", run.display.name());
    std::string other = run.display.findWindow("other", message);
    ASSERT_FALSE(other.empty()) << message.report();
    for (int i = 0; i < 5; ++i) {
        run.display.run("xdotool windowfocus --sync " + other);
        run.display.run("xdotool windowraise " + other);
        run.display.run("xdotool windowfocus --sync " + run.window);
        run.display.run("xdotool windowraise " + run.window);
    }
    // Hidden and shown again: no expose for a while, then a fresh one.
    run.display.run("xdotool windowunmap --sync " + run.window);
    pause(300);
    run.display.run("xdotool windowmap --sync " + run.window);
    ASSERT_TRUE(run.stillDrawing()) << run.demo->report();

    // Bursts of every kind of key but Escape, with no delay between them:
    // letters, digits, Return, Tab, space, Backspace, Delete, arrows,
    // function keys and modifiers, pressed and held together.
    run.display.run("xdotool windowfocus --sync " + run.window);
    std::string keys;
    const char* names[] = {"a",  "q",    "z",    "1",     "0",  "Return", "Tab",  "space",     "BackSpace", "Delete",
                           "Up", "Down", "Left", "Right", "F1", "F12",    "Home", "Page_Down", "ctrl+c",    "alt+F4"};
    for (int repeat = 0; repeat < 10; ++repeat) {
        for (const char* name : names) {
            keys += std::string(" ") + name;
        }
    }
    run.display.run("xdotool key --delay 0" + keys);
    run.display.run("xdotool keydown shift keydown a keydown s keydown d");
    pause(300);
    run.display.run("xdotool keyup d keyup s keyup a keyup shift");
    run.display.run("xdotool type --delay 0 'Get Zorbi goes on and on 0123456789 !@#$%^&*()'");
    ASSERT_TRUE(run.stillDrawing()) << run.demo->report();
    run.expectEscapeEndsItCleanly();
}
