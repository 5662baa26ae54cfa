#include "audio/SoundSystem.h"

#include <SDL.h>

#include <cstdio>
#include <new>

#include "audio/AudioResult.h"
#include "audio/MixFormat.h"
#include "audio/QuietAudioLibraries.h"

namespace {

// More slots than this would only waste memory; the program asks for 100.
constexpr int MAX_CHANNEL_LIMIT = 4096;
// Device buffer: about 23 ms at 44.1 kHz.
constexpr int DEVICE_BUFFER_FRAMES = 1024;

void SDLCALL mixIntoDevice(void* mixer, Uint8* stream, int bytes) {
    static_cast<Mixer*>(mixer)->mix(reinterpret_cast<float*>(stream), bytes / MIX_FRAME_BYTES);
}

}  // namespace

int createSoundSystem(SoundSystem** system) {
    if (!system) {
        return AUDIO_INVALID_PARAMETER;
    }
    *system = new (std::nothrow) SoundSystem;
    return *system ? AUDIO_OK : AUDIO_OUT_OF_MEMORY;
}

SoundSystem::~SoundSystem() {
    // Closing the device waits for a running callback, so nothing mixes after this.
    if (device) {
        SDL_CloseAudioDevice(device);
    }
    stopAudio();
}

int SoundSystem::init(int maxChannels, unsigned flags) {
    if (initialised) {
        return AUDIO_ALREADY_INITIALISED;
    }
    if (maxChannels < 1 || maxChannels > MAX_CHANNEL_LIMIT || (flags & ~INIT_NO_DEVICE) != 0) {
        return AUDIO_INVALID_PARAMETER;
    }
    // The slots exist before the device can call back into them.
    mixer.setChannelCount(maxChannels);
    rendersOffline = (flags & INIT_NO_DEVICE) != 0;
    if (!rendersOffline) {
        int result = openDevice();
        if (result != AUDIO_OK) {
            return result;
        }
    }
    initialised = true;
    return AUDIO_OK;
}

int SoundSystem::openDevice() {
    if (startAudioAndOpenDevice()) {
        return AUDIO_OK;
    }
    // No sound card (a headless machine): ALSA starts without hardware and
    // only the open fails, and SDL does not fall back by itself. The dummy
    // driver consumes the mix in real time, so streams still advance and end
    // as they would on a device. Forced over any SDL_AUDIODRIVER setting.
    SDL_SetHintWithPriority(SDL_HINT_AUDIODRIVER, "dummy", SDL_HINT_OVERRIDE);
    if (startAudioAndOpenDevice()) {
        std::fputs("No sound device: the show goes on without sound.\n", stderr);
        std::fflush(stderr);
        return AUDIO_OK;
    }
    return AUDIO_OUTPUT_FAILED;
}

bool SoundSystem::startAudioAndOpenDevice() {
    quietAudioLibraries();
    // SDL's audio start-up would otherwise catch SIGINT and SIGTERM and only
    // queue a quit event that nothing reads: Ctrl+C and kill must end the
    // program as they end any other.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        return false;
    }
    audioSubsystemStarted = true;
    SDL_AudioSpec wanted = {};
    wanted.freq = MIX_RATE;
    wanted.format = AUDIO_F32SYS;
    wanted.channels = MIX_CHANNELS;
    wanted.samples = DEVICE_BUFFER_FRAMES;
    wanted.callback = mixIntoDevice;
    wanted.userdata = &mixer;
    // No changes allowed: SDL converts to whatever the device takes, so the
    // callback always gets float stereo at 44.1 kHz.
    device = SDL_OpenAudioDevice(nullptr, 0, &wanted, nullptr, 0);
    if (device == 0) {
        stopAudio();
        return false;
    }
    SDL_PauseAudioDevice(device, 0);
    return true;
}

void SoundSystem::stopAudio() {
    if (audioSubsystemStarted) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        audioSubsystemStarted = false;
    }
}

int SoundSystem::createStream(const char* path, Sound** sound) {
    if (!sound) {
        return AUDIO_INVALID_PARAMETER;
    }
    *sound = nullptr;
    if (!initialised) {
        return AUDIO_NOT_INITIALISED;
    }
    Channel* prepared = nullptr;
    int result = Channel::open(path, &prepared);
    if (result != AUDIO_OK) {
        return result;
    }
    sounds.push_back(std::make_unique<Sound>());
    sounds.back()->path = path;
    sounds.back()->prepared = prepared;
    *sound = sounds.back().get();
    return AUDIO_OK;
}

int SoundSystem::playSound(int channelIndex, Sound* sound, ChannelStart start, Channel** channel) {
    if (channel) {
        *channel = nullptr;
    }
    if (!initialised) {
        return AUDIO_NOT_INITIALISED;
    }
    if (!sound) {
        return AUDIO_INVALID_HANDLE;
    }
    if (channelIndex < ANY_FREE_CHANNEL || channelIndex >= mixer.channelCount()) {
        return AUDIO_INVALID_PARAMETER;
    }
    // All file work happens here, before the lock.
    Channel* starting = sound->prepared;
    sound->prepared = nullptr;
    if (!starting) {
        int result = Channel::open(sound->path.c_str(), &starting);
        if (result != AUDIO_OK) {
            return result;
        }
    }
    starting->paused = start == ChannelStart::Paused;

    std::vector<Channel*> retired;
    retired.reserve(mixer.channelCount());
    // The device lock waits at most for one callback; held only for the slot search.
    if (device) {
        SDL_LockAudioDevice(device);
    }
    int result = mixer.place(starting, channelIndex, retired);
    if (device) {
        SDL_UnlockAudioDevice(device);
    }
    for (Channel* finished : retired) {
        delete finished;
    }
    if (result != AUDIO_OK) {
        // Kept ready, so a later play of this sound needs no second open.
        sound->prepared = starting;
        return result;
    }
    if (channel) {
        *channel = starting;
    }
    return AUDIO_OK;
}

int SoundSystem::render(float* out, int frames) {
    if (!initialised) {
        return AUDIO_NOT_INITIALISED;
    }
    if (!rendersOffline) {
        return AUDIO_WRONG_MODE;
    }
    if (!out || frames < 0) {
        return AUDIO_INVALID_PARAMETER;
    }
    mixer.mix(out, frames);
    renderedFrames += frames;
    return AUDIO_OK;
}
