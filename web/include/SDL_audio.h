#pragma once

// The part of SDL2's audio interface the show's audio layer uses, for the
// browser, where SDL2 is not at hand: an output device fed by a callback
// (audio/WebAudioDevice.cpp, over the page's Web Audio) and a converter
// from a sound's channel layout to the mix's (audio/WebAudioStream.cpp).
// The names and meanings are SDL2's, so the audio layer compiles as it is.

#include <cstdint>

typedef std::uint8_t Uint8;
typedef std::uint16_t Uint16;
typedef std::uint32_t Uint32;
typedef Uint16 SDL_AudioFormat;
typedef Uint32 SDL_AudioDeviceID;
typedef void (*SDL_AudioCallback)(void* userdata, Uint8* stream, int len);

#define SDLCALL
#define SDL_INIT_AUDIO 0x00000010u
// 32-bit float samples in the machine's byte order, the only format here.
#define AUDIO_F32SYS 0x8120

struct SDL_AudioSpec {
    int freq;
    SDL_AudioFormat format;
    Uint8 channels;
    Uint8 silence;
    Uint16 samples;
    Uint16 padding;
    Uint32 size;
    SDL_AudioCallback callback;
    void* userdata;
};

extern "C" {

int SDL_InitSubSystem(Uint32 flags);
void SDL_QuitSubSystem(Uint32 flags);

// Opens the page's sound output, or its silent stand-in when the "dummy"
// driver is asked for; 0 when neither can be had. Only float stereo and
// the exact format asked for are offered.
SDL_AudioDeviceID SDL_OpenAudioDevice(const char* device, int iscapture, const SDL_AudioSpec* desired,
                                      SDL_AudioSpec* obtained, int allowed_changes);
void SDL_PauseAudioDevice(SDL_AudioDeviceID dev, int pause_on);
void SDL_CloseAudioDevice(SDL_AudioDeviceID dev);
// The page calls the device's callback between its own tasks on the one
// thread there is, so there is nothing to lock against.
void SDL_LockAudioDevice(SDL_AudioDeviceID dev);
void SDL_UnlockAudioDevice(SDL_AudioDeviceID dev);

struct SDL_AudioStream;
// Converts between channel layouts at one rate: the page decodes every
// sound at the mix's rate already, so a stream that would resample is
// refused (null).
SDL_AudioStream* SDL_NewAudioStream(SDL_AudioFormat src_format, Uint8 src_channels, int src_rate,
                                    SDL_AudioFormat dst_format, Uint8 dst_channels, int dst_rate);
int SDL_AudioStreamPut(SDL_AudioStream* stream, const void* buf, int len);
int SDL_AudioStreamGet(SDL_AudioStream* stream, void* buf, int len);
int SDL_AudioStreamAvailable(SDL_AudioStream* stream);
int SDL_AudioStreamFlush(SDL_AudioStream* stream);
void SDL_FreeAudioStream(SDL_AudioStream* stream);
}
