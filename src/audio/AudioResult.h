#pragma once

// Result codes of the audio layer: 0 is success, every other value a failure
// whose message audioErrorText gives. The report line shows the number, so a
// code keeps its value for good. Only the codes the layer itself returns are
// named here; the table in AudioErrorText.cpp covers 0 to 78.
constexpr int AUDIO_OK = 0;
constexpr int AUDIO_NO_FREE_CHANNEL = 10;
constexpr int AUDIO_FILE_UNREADABLE = 19;
constexpr int AUDIO_FILE_NOT_FOUND = 22;
constexpr int AUDIO_UNSUPPORTED_FORMAT = 24;
constexpr int AUDIO_WRONG_MODE = 30;
constexpr int AUDIO_ALREADY_INITIALISED = 31;
constexpr int AUDIO_INVALID_HANDLE = 35;
constexpr int AUDIO_INVALID_PARAMETER = 36;
constexpr int AUDIO_OUT_OF_MEMORY = 40;
constexpr int AUDIO_OUTPUT_FAILED = 56;
constexpr int AUDIO_NOT_INITIALISED = 70;
