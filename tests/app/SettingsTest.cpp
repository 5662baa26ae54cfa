#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <sstream>

#include "app/Settings.h"
#include "app/Window.h"
#include "support/TempDir.h"

namespace {

Settings read(const std::string& text) {
    std::istringstream in(text);
    return readSettings(in);
}

}  // namespace

TEST(Settings, MissingFileGivesTheDefaultsAndTheirModeString) {
    Settings defaults = readSettingsFile("/nonexistent/start.ini");
    EXPECT_EQ(defaults.width, "800");
    EXPECT_EQ(defaults.height, "600");
    EXPECT_EQ(defaults.fullscreen, "0");
    EXPECT_EQ(gameModeString(defaults), "800x600:32@75");
}

TEST(Settings, KeysAreExactAndTheLastRepeatWins) {
    Settings read1 = read("fullscreen 1\nwidth 1024\nheight 768\nbitdepth 16\nfrequency 60\n");
    EXPECT_EQ(read1.fullscreen, "1");
    EXPECT_EQ(gameModeString(read1), "1024x768:16@60");

    EXPECT_EQ(read("Width 1024").width, "800");
    EXPECT_EQ(read("width 640 width 1280").width, "1280");
}

TEST(Settings, TokensPairUpRegardlessOfLines) {
    // An unknown key swallows the next token as its value.
    Settings skipped = read("depth 24 width 640");
    EXPECT_EQ(skipped.width, "640");

    // "width=1024" is one unknown token; "height" becomes its value, so the pairs shift.
    Settings shifted = read("width=1024 height 700 bitdepth 16");
    EXPECT_EQ(shifted.height, "600");
    EXPECT_EQ(shifted.width, "800");
    EXPECT_EQ(shifted.bitdepth, "32");

    Settings oneLine = read("width 640 height 480");
    EXPECT_EQ(gameModeString(oneLine), "640x480:32@75");
}

TEST(Settings, OnlyTheExactTextOneAsksForGameMode) {
    EXPECT_TRUE(asksForGameMode(read("fullscreen 1")));
    EXPECT_FALSE(asksForGameMode(read("")));
    for (const char* text : {"fullscreen true", "fullscreen 01", "fullscreen 1.0", "fullscreen yes", "fullscreen"}) {
        EXPECT_FALSE(asksForGameMode(read(text))) << text;
    }
}

TEST(Settings, OddTokenCountSetsTheLastKeyEmpty) {
    Settings odd = read("width 640 height");
    EXPECT_EQ(odd.width, "640");
    EXPECT_EQ(odd.height, "");
    EXPECT_EQ(gameModeString(odd), "640x:32@75");
}

TEST(Settings, FinalLineBreakMakesNoDifference) {
    Settings withBreak = read("width 640\nheight 480\n");
    Settings withoutBreak = read("width 640\nheight 480");
    EXPECT_EQ(withBreak.width, withoutBreak.width);
    EXPECT_EQ(withBreak.height, withoutBreak.height);
    EXPECT_EQ(withoutBreak.height, "480");
}

// A FIFO blocked start-up for ever and /dev/zero grew the process without
// bound; neither is a settings file, and neither is one too large to be.
TEST(Settings, OnlyARegularFileWithinTheLimitIsRead) {
    TempDir folder;
    ASSERT_EQ(mkfifo(folder.file("fifo.ini").c_str(), 0600), 0);
    std::filesystem::create_symlink("/dev/zero", folder.file("zero.ini"));
    folder.write("huge.ini", "width 1024\n");
    std::filesystem::resize_file(folder.file("huge.ini"), std::uintmax_t(1) << 40);
    for (const char* name : {"fifo.ini", "zero.ini", "huge.ini"}) {
        testing::internal::CaptureStderr();
        Settings settings = readSettingsFile(folder.file(name).c_str());
        std::string said = testing::internal::GetCapturedStderr();
        EXPECT_EQ(gameModeString(settings), "800x600:32@75") << name;
        EXPECT_EQ(said, std::string(name) == "huge.ini" ? folder.file(name) +
                                                              " is larger than the 64 KiB settings may take: "
                                                              "using the defaults.\n"
                                                        : "")
            << name;
    }
}

TEST(Settings, ReadsTheFileFromDisk) {
    TempDir folder;
    folder.write("start.ini", "width 1024\r\nheight 768\r\nfullscreen true\r\n");
    Settings fromFile = readSettingsFile(folder.file("start.ini").c_str());
    EXPECT_EQ(fromFile.width, "1024");
    EXPECT_EQ(fromFile.height, "768");
    EXPECT_EQ(fromFile.fullscreen, "true");
}

TEST(DecimalValue, LeadingDigitsWithOptionalSpaceAndSign) {
    EXPECT_EQ(decimalValue("1024"), 1024);
    EXPECT_EQ(decimalValue("  768px"), 768);
    EXPECT_EQ(decimalValue("+42"), 42);
    EXPECT_EQ(decimalValue("-7"), -7);
    EXPECT_EQ(decimalValue("abc"), 0);
    EXPECT_EQ(decimalValue(""), 0);
    EXPECT_EQ(decimalValue("- 5"), 0);
    EXPECT_EQ(decimalValue("99999999999999999999"), 2147483647);
}
