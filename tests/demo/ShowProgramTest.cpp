// The real demo, run from the ready-to-run folder under an X server of its
// own, for the whole scripted show.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "support/ChildProcess.h"
#include "support/PrivateDisplay.h"
#include "support/RunFolder.h"
#include "support/ShowExpectations.h"
#include "support/TempDir.h"

namespace {

// Milliseconds since `start`.
int since(std::chrono::steady_clock::time_point start) {
    return static_cast<int>(
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count());
}

void waitUntil(std::chrono::steady_clock::time_point start, int ms) {
    int left = ms - since(start);
    if (left > 0) {
        std::this_thread::sleep_for(std::chrono::milliseconds(left));
    }
}

// The standard deviation of a screenshot's grey levels, 0 to 1.
double contrast(const PrivateDisplay& display, const std::string& png) {
    return std::stod("0" +
                     display.run("convert " + png + " -colorspace Gray -format '%[fx:standard_deviation]' info:"));
}

double difference(const std::string& a, const std::string& b) {
    // compare prints the mean absolute error (normalised) on standard error.
    std::string out = shellOutput("compare -metric MAE " + a + " " + b + " null: 2>&1");
    size_t open = out.find('(');
    return open == std::string::npos ? 1.0 : std::stod(out.substr(open + 1));
}

}  // namespace

TEST(ShowProgram, PlaysTheWholeShowQuietlyAndEndsOnEscape) {
    TempDir shots;
    PrivateDisplay display;
    // The silent driver stands in for a sound card the test machine lacks.
    ChildProcess demo(demoExecutable(), {}, readyToRunFolder(), display.name(), {"SDL_AUDIODRIVER=dummy"});
    std::string window = display.findWindow("Get Zorbi", demo);
    ASSERT_FALSE(window.empty()) << demo.report();

    // The show's clock starts once loading is over, which is about when the
    // window first shows a picture.
    std::string first = shots.file("first.png");
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(PATIENCE_MS);
    do {
        display.run("import -window " + window + " " + first);
    } while (contrast(display, first) <= 0.05 && demo.running() && std::chrono::steady_clock::now() < deadline);
    ASSERT_GT(contrast(display, first), 0.05) << "the window never showed the show: " << demo.report();
    auto showStart = std::chrono::steady_clock::now();

    std::vector<std::string> files;
    for (double moment : GOLDEN_MOMENTS) {
        const int ms = static_cast<int>(moment * 1000.0);
        waitUntil(showStart, ms);
        files.push_back(shots.file("at" + std::to_string(ms) + ".png"));
        display.run("import -window " + window + " " + files.back());
        ASSERT_TRUE(std::filesystem::exists(files.back()));
        EXPECT_GT(contrast(display, files.back()), 0.05) << files.back() << " looks blank";
        ASSERT_TRUE(demo.running()) << demo.report();
    }
    for (size_t i = 1; i < files.size(); ++i) {
        EXPECT_GT(difference(files[i - 1], files[i]), 0.005) << "the show should move on";
    }

    // With no window manager, keys go to the window under the pointer.
    display.run("xdotool mousemove --window " + window + " 400 300 key Escape");
    ASSERT_TRUE(demo.waitForExit()) << "Escape did not end the demo";
    EXPECT_EQ(demo.status(), 0) << demo.report();
    EXPECT_EQ(demo.standardOutput(), expectedBanner());
    EXPECT_EQ(demo.standardError(), "");
}

TEST(ShowProgram, AMissingFirstModelEndsTheRunBeforeAnythingElseLoads) {
    TempDir empty;
    PrivateDisplay display;
    ChildProcess demo(demoExecutable(), {}, empty.path(), display.name());
    ASSERT_TRUE(demo.waitForExit()) << demo.report();
    EXPECT_EQ(demo.status(), 1) << demo.report();
    EXPECT_EQ(demo.standardOutput(), expectedBanner());
    EXPECT_EQ(demo.standardError(), "Error! Cannot find file: data/models/c/zorbi.md2\n");
}
