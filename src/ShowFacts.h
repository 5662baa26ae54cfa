#pragma once

// Facts of the show that the program, its content generator, its tools and
// its tests must all agree on. Each is written here once; where two facts
// depend on each other a static_assert says how, so a change that breaks the
// relation stops the build instead of drifting silently.

#include <cstdint>
#include <iterator>
#include <string>

// The cast, in the order of `actors`: each name picks its model and skin
// (characterModelPath, characterSkinPath). The size follows the names, so a
// table sized by it that misses a member does not compile.
constexpr const char* CAST_NAMES[] = {"zorbi", "kurbis", "marvin", "droid", "bunny", "tigger"};
constexpr int CAST_SIZE = static_cast<int>(std::size(CAST_NAMES));

// The show's files, relative to the program's working directory; the
// generator writes them below its output folder.
inline std::string characterModelPath(const std::string& name) {
    return "data/models/c/" + name + ".md2";
}
inline std::string characterSkinPath(const std::string& name) {
    return "data/tex/c/" + name + ".tga";
}
constexpr const char* BLOCK_TEXTURE_PATH = "data/tex/g/block.tga";
constexpr const char* GROUND_TEXTURE_PATH = "data/tex/g/ground.tga";
constexpr const char* GROUND_NORMAL_MAP_PATH = "data/tex/g/groundNM.tga";
constexpr const char* BACKGROUND_TEXTURE_PATH = "data/gfx/background.tga";
constexpr const char* SPIT_SOUND_PATH = "data/wav/spit.wav";
constexpr const char* WARCRY_SOUND_PATH = "data/wav/warcry.wav";
constexpr const char* ILL_GET_YOU_SOUND_PATH = "data/wav/illgetyou.wav";
constexpr const char* COWARDS_SOUND_PATH = "data/wav/cowards.wav";
constexpr const char* JUMP_SOUND_PATH = "data/wav/jump.wav";
// Music track n: the path below with its X replaced by the character '0' + n.
// Unsigned arithmetic, so any n wraps modulo 256 like a byte instead of
// overflowing.
inline std::string musicPath(int track) {
    std::string path = "data/music/musicX.mp3";
    path[path.find('X')] = static_cast<char>(static_cast<unsigned char>('0' + static_cast<unsigned>(track)));
    return path;
}
// The track the show plays.
constexpr int SHOW_MUSIC_TRACK = 1;

// World units from the actors' origin down to the ground they stand on: the
// figures' feet touch y = -GROUND_DEPTH, and the ground is drawn there.
constexpr float GROUND_DEPTH = 24.0f;

// Keyframes in every character file the generator writes (frames 0 to 197).
constexpr int KEYFRAME_COUNT = 198;

// Width and height in pixels of every character's skin.
constexpr int SKIN_SIZE = 256;

// Vertices per frame a model may have: the size of the drawing buffers.
constexpr int MODEL_MAX_VERTICES = 2048;

// Sample frames per second of the mix, of the device output and of the
// capture tool's sound track.
constexpr int MIX_RATE = 44100;

// Seconds of show a recording of the whole show holds; the demo plays on until closed.
constexpr int SHOW_SECONDS = 45;

struct AnimationRange {
    std::int32_t firstFrame;
    std::int32_t lastFrame;  // inclusive
    std::int32_t framesPerSecond;
};

// The fixed frame ranges every model shares; animation number N is row N.
// Frames 0 to 198 in consecutive ranges. Which motion a range shows depends
// on how the model file orders its frames.
constexpr int ANIMATION_RANGE_COUNT = 21;
constexpr AnimationRange animationRanges[ANIMATION_RANGE_COUNT] = {
    {0, 39, 9},      // 0
    {40, 45, 10},    // 1
    {46, 53, 10},    // 2
    {54, 57, 7},     // 3
    {58, 61, 7},     // 4
    {62, 65, 7},     // 5
    {66, 71, 7},     // 6
    {72, 83, 7},     // 7
    {84, 94, 7},     // 8
    {95, 111, 10},   // 9
    {112, 122, 7},   // 10
    {123, 134, 6},   // 11
    {135, 153, 10},  // 12
    {154, 159, 7},   // 13
    {160, 168, 10},  // 14
    {169, 172, 7},   // 15
    {173, 177, 5},   // 16
    {178, 183, 7},   // 17
    {184, 189, 7},   // 18
    {190, 197, 7},   // 19
    {198, 198, 5},   // 20
};

// The animation numbers the show's script plays, and the motions the
// generator puts in their ranges.
constexpr int STAND = 0;
constexpr int RUN = 1;
constexpr int JUMP = 6;
constexpr int SALUTE = 8;
constexpr int POINT = 11;

namespace showfacts {

constexpr bool rangesFollowOneAnother() {
    for (int i = 1; i < ANIMATION_RANGE_COUNT; ++i) {
        if (animationRanges[i].firstFrame != animationRanges[i - 1].lastFrame + 1) {
            return false;
        }
    }
    return animationRanges[0].firstFrame == 0;
}

}  // namespace showfacts

static_assert(showfacts::rangesFollowOneAnother(), "the animation ranges split the frames without gap or overlap");
// The last row is the one frame past a character file's keyframes, which
// plays as frame 0; every other row lies inside the file.
static_assert(animationRanges[ANIMATION_RANGE_COUNT - 2].lastFrame == KEYFRAME_COUNT - 1,
              "the character files hold the frames of every range but the last");
static_assert(STAND < ANIMATION_RANGE_COUNT && RUN < ANIMATION_RANGE_COUNT && JUMP < ANIMATION_RANGE_COUNT &&
                  SALUTE < ANIMATION_RANGE_COUNT && POINT < ANIMATION_RANGE_COUNT,
              "the script's animations are rows of the table");
