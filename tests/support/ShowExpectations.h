#pragma once

// What the show must do, written down once for every test and kept apart
// from src/ on purpose: a test that took these facts from the code it checks
// could not notice that the code has them wrong.

#include <string>

#include "audio/Audio.h"

// What the demo prints on standard output once its window is open, for the
// mode text its settings give.
inline std::string expectedBanner(const std::string& gameMode = "800x600:32@75") {
    return "GLUT version: 3 ::: ClocksPerSec: 1000\nLoading Demo with settings: " + gameMode + "... \n";
}

// One sound of the show: the timeline calls `play` on the first frame past
// `seconds`, and `play` opens `file`.
struct ExpectedCue {
    float seconds;
    const char* file;
    void (*play)();
};

inline constexpr ExpectedCue MUSIC_CUE = {2.0f, "data/music/music1.mp3", [] { playMusic(1); }};
inline constexpr ExpectedCue JUMP_CUE = {9.8f, "data/wav/jump.wav", playJump};
inline constexpr ExpectedCue COWARDS_CUE = {30.0f, "data/wav/cowards.wav", playCowards};
inline constexpr ExpectedCue SPIT_CUE = {31.5f, "data/wav/spit.wav", playSpit};
inline constexpr ExpectedCue ILL_GET_YOU_CUE = {34.0f, "data/wav/illgetyou.wav", playIllGetYou};
inline constexpr ExpectedCue WARCRY_CUE = {37.0f, "data/wav/warcry.wav", playWarcry};
// The voice and effect cues in show order; the music plays under them all.
inline constexpr ExpectedCue SOUND_CUES[] = {JUMP_CUE, COWARDS_CUE, SPIT_CUE, ILL_GET_YOU_CUE, WARCRY_CUE};

// The world's pictures.
inline constexpr const char* BLOCK_TEXTURE_FILE = "data/tex/g/block.tga";
inline constexpr const char* GROUND_TEXTURE_FILE = "data/tex/g/ground.tga";
inline constexpr const char* GROUND_NORMAL_MAP_FILE = "data/tex/g/groundNM.tga";
inline constexpr const char* BACKGROUND_TEXTURE_FILE = "data/gfx/background.tga";

struct ExpectedPlace {
    float x, y, z;
};
// The platforms' start places, slot by slot; slots 3 and 4 share one.
inline constexpr ExpectedPlace PLATFORM_START_PLACES[] = {
    {40, 40, -150},   {60, 40, -150},    {80, 40, -150},   {250, -14, -220}, {250, -14, -220},
    {290, -14, -220}, {460, 40, -170},   {480, 60, -170},  {500, 80, -170},  {-100, 20, -180},
    {-200, 30, -190}, {-680, -14, -110}, {600, -14, -125},
};
// Where the cast comes on at 16 s, actor by actor: x and z on the ground.
inline constexpr float CAST_ENTRANCES[][2] = {{1000, 0}, {1050, -10}, {1100, -50}, {1010, 70}, {1035, -60}, {1040, 80}};

// The seconds of the show kept as golden frames in tests/capture/golden.
inline constexpr double GOLDEN_MOMENTS[] = {1.0, 6.0, 12.0, 30.0, 39.0};
