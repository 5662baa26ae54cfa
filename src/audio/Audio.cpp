#include "audio/Audio.h"

#include <cstdio>

#include "ShowFacts.h"
#include "audio/AudioResult.h"
#include "audio/Mixer.h"
#include "audio/SoundSystem.h"

SoundSystem* audioSystem = nullptr;
unsigned audioInitFlags = 0;

namespace {

constexpr int MAX_CHANNELS = 100;

}  // namespace

void initAudio() {
    reportAudioFailure(createSoundSystem(&audioSystem));
    // A failed creation leaves no system: the init is still attempted and is
    // reported as a second failure instead of calling through a null handle.
    reportAudioFailure(audioSystem ? audioSystem->init(MAX_CHANNELS, audioInitFlags) : AUDIO_INVALID_HANDLE);
}

void playFile(const char* path) {
    Sound* sound = nullptr;
    Channel* channel = nullptr;
    reportAudioFailure(audioSystem ? audioSystem->createStream(path, &sound) : AUDIO_INVALID_HANDLE);
    // After a failed stream creation `sound` is null; playSound reports that as
    // an invalid handle, a second line for the same cue.
    reportAudioFailure(audioSystem ? audioSystem->playSound(ANY_FREE_CHANNEL, sound, ChannelStart::Playing, &channel)
                                   : AUDIO_INVALID_HANDLE);
}

void playSpit() {
    playFile(SPIT_SOUND_PATH);
}
void playWarcry() {
    playFile(WARCRY_SOUND_PATH);
}
void playIllGetYou() {
    playFile(ILL_GET_YOU_SOUND_PATH);
}
void playCowards() {
    playFile(COWARDS_SOUND_PATH);
}
void playJump() {
    playFile(JUMP_SOUND_PATH);
}

void playMusic(int n) {
    playFile(musicPath(n).c_str());
}

void reportAudioFailure(int result) {
    if (result == AUDIO_OK) {
        return;
    }
    std::printf("FMOD error! %d %s\n", result, audioErrorText(result));
    std::fflush(stdout);
}
