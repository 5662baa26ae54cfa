#pragma once

// The program's sound: one music track and five voice and effect cues, each
// played once at its moment in the show. Every call into the sound system is
// checked at once; a failure prints one line on standard output and the show
// goes on, at worst without that sound.

class SoundSystem;

// The one sound system of the program: null until initAudio creates it at
// start-up. The cues play through it and the capture tool pulls its off-line
// mix from it (render); audio tests delete and clear it between tests.
extern SoundSystem* audioSystem;

// Flags initAudio starts the system with: 0 opens the sound device. With
// SoundSystem::INIT_NO_DEVICE it opens no device and starts no thread: the mix
// only advances when the caller pulls it with audioSystem->render, so the
// capture tool, which sets it before assembly, gets the same sound on every
// run. Written by startShow from its options, and by audio tests that start
// the audio system alone.
extern unsigned audioInitFlags;

// Creates audioSystem and opens the output for 100 channels. Called once by
// the scene assembly.
void initAudio();

// Opens `path` as a stream and starts it on any free channel. Both steps are
// always attempted and each is checked on its own.
void playFile(const char* path);

void playSpit();
void playWarcry();
void playIllGetYou();
void playCowards();
void playJump();

// Plays music track n (musicPath in ShowFacts.h); the show plays
// SHOW_MUSIC_TRACK.
void playMusic(int n);

// The message of a result code; "Unknown error." for anything outside 0..78.
const char* audioErrorText(int code);

// The check after every call: a nonzero result writes
// "FMOD error! <code> <message>" and a newline to standard output and flushes
// it; zero writes nothing.
void reportAudioFailure(int result);
