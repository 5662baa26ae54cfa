#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "audio/Audio.h"

TEST(AudioErrorText, ListedCodesReadExactly) {
    EXPECT_STREQ(audioErrorText(0), "No errors.");
    EXPECT_STREQ(audioErrorText(10), "Error trying to allocate a channel. ");
    EXPECT_STREQ(audioErrorText(19), "Error loading file. ");
    EXPECT_STREQ(audioErrorText(21),
                 "End of file unexpectedly reached while trying to read essential data (truncated data?). ");
    EXPECT_STREQ(audioErrorText(22), "File not found. ");
    EXPECT_STREQ(audioErrorText(24), "Unsupported file or audio format. ");
    EXPECT_STREQ(audioErrorText(30), "FMOD was not initialized correctly to support this function. ");
    EXPECT_STREQ(audioErrorText(31), "Cannot call this command after System::init. ");
    EXPECT_STREQ(audioErrorText(35), "An invalid object handle was used. ");
    EXPECT_STREQ(audioErrorText(36), "An invalid parameter was passed to this function. ");
    EXPECT_STREQ(audioErrorText(40), "Not enough memory or resources. ");
    EXPECT_STREQ(audioErrorText(52),
                 "Error initializing output device, but more specifically, the output device is already in use and "
                 "cannot be reused. ");
    EXPECT_STREQ(audioErrorText(53), "Error creating hardware sound buffer. ");
    EXPECT_STREQ(audioErrorText(54),
                 "A call to a standard soundcard driver failed, which could possibly mean a bug in the driver or "
                 "resources were missing or exhausted. ");
    EXPECT_STREQ(audioErrorText(55),
                 "Soundcard does not support the minimum features needed for this soundsystem (16bit stereo output). ");
    EXPECT_STREQ(audioErrorText(56), "Error initializing output device. ");
    EXPECT_STREQ(audioErrorText(70), "This command failed because System::init or System::setDriver was not called. ");
}

TEST(AudioErrorText, EveryFailureEndsInOneSpaceAndOthersFallBack) {
    for (int code = 1; code <= 78; ++code) {
        std::string message = audioErrorText(code);
        ASSERT_GE(message.size(), 3u) << code;
        EXPECT_EQ(message.back(), ' ') << code;
        EXPECT_NE(message[message.size() - 2], ' ') << code;
        EXPECT_NE(message, "Unknown error.") << code;
    }
    for (int code : {79, 80, 1000, INT_MAX, -1, -78, INT_MIN}) {
        EXPECT_STREQ(audioErrorText(code), "Unknown error.") << code;
    }
}

TEST(AudioReport, FailureWritesOneLineAndSuccessNothing) {
    testing::internal::CaptureStdout();
    reportAudioFailure(0);
    reportAudioFailure(22);
    reportAudioFailure(-1);
    reportAudioFailure(79);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "FMOD error! 22 File not found. \n"
              "FMOD error! -1 Unknown error.\n"
              "FMOD error! 79 Unknown error.\n");
}
