#include <SDL.h>

#include <cstring>
#include <string>

// SDL's device calls over the page's sound output (web_audio.js): the page
// asks the device's callback for the next frames whenever its queue of
// scheduled sound runs short, on the one thread there is.

namespace {

std::string audioDriver;

}  // namespace

extern "C" {
int webAudioOpen(int rate, int channels, int frames, SDL_AudioCallback callback, void* userdata, int silent);
void webAudioPause(int paused);
void webAudioClose();
}

extern "C" {

SDL_bool SDL_SetHint(const char* name, const char* value) {
    return SDL_SetHintWithPriority(name, value, SDL_HINT_NORMAL);
}

SDL_bool SDL_SetHintWithPriority(const char* name, const char* value, SDL_HintPriority) {
    if (name && std::strcmp(name, SDL_HINT_AUDIODRIVER) == 0) {
        audioDriver = value ? value : "";
    }
    return 1;
}

int SDL_InitSubSystem(Uint32) {
    return 0;
}

void SDL_QuitSubSystem(Uint32) {}

SDL_AudioDeviceID SDL_OpenAudioDevice(const char*, int iscapture, const SDL_AudioSpec* desired, SDL_AudioSpec* obtained,
                                      int) {
    if (iscapture || !desired || !desired->callback || desired->format != AUDIO_F32SYS || desired->channels != 2) {
        return 0;
    }
    if (!webAudioOpen(desired->freq, desired->channels, desired->samples, desired->callback, desired->userdata,
                      audioDriver == "dummy")) {
        return 0;
    }
    if (obtained) {
        *obtained = *desired;
    }
    return 1;
}

void SDL_PauseAudioDevice(SDL_AudioDeviceID, int pauseOn) {
    webAudioPause(pauseOn);
}

void SDL_CloseAudioDevice(SDL_AudioDeviceID) {
    webAudioClose();
}

void SDL_LockAudioDevice(SDL_AudioDeviceID) {}
void SDL_UnlockAudioDevice(SDL_AudioDeviceID) {}
}
