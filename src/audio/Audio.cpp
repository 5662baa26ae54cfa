#include "audio/Audio.h"

#include <cstdio>

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
    playFile("data/wav/spit.wav");
}
void playWarcry() {
    playFile("data/wav/warcry.wav");
}
void playIllGetYou() {
    playFile("data/wav/illgetyou.wav");
}
void playCowards() {
    playFile("data/wav/cowards.wav");
}
void playJump() {
    playFile("data/wav/jump.wav");
}

void playMusic(int n) {
    char path[] = "data/music/musicX.mp3";
    // The X at index 16 becomes the track digit. Unsigned arithmetic, so any n
    // wraps modulo 256 like a byte instead of overflowing.
    path[16] = static_cast<char>(static_cast<unsigned char>('0' + static_cast<unsigned>(n)));
    playFile(path);
}

void reportAudioFailure(int result) {
    if (result == AUDIO_OK) {
        return;
    }
    std::printf("FMOD error! %d %s\n", result, audioErrorText(result));
    std::fflush(stdout);
}
