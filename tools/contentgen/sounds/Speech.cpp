#include "sounds/Speech.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "formats/SoundFile.h"

extern char** environ;

namespace {

// A fresh, empty temporary file for espeak-ng to fill; empty string on failure.
std::string makeTemporaryWavPath() {
    std::string pattern = (std::filesystem::temp_directory_path() / "zorbi-speech-XXXXXX.wav").string();
    const int descriptor = mkstemps(pattern.data(), 4);
    if (descriptor < 0) {
        return std::string();
    }
    close(descriptor);
    return pattern;
}

// Runs espeak-ng without a shell, so the text needs no quoting.
bool runEspeak(const std::string& text, const SpeechVoice& voice, const std::string& outputPath) {
    const std::string pitch = std::to_string(voice.pitch);
    const std::string speed = std::to_string(voice.wordsPerMinute);
    std::vector<std::string> arguments = {"espeak-ng", "-v",  voice.voice, "-p",       pitch,
                                          "-s",        speed, "-w",        outputPath, text};
    std::vector<char*> argv;
    for (std::string& argument : arguments) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    pid_t child = 0;
    if (posix_spawnp(&child, "espeak-ng", nullptr, nullptr, argv.data(), environ) != 0) {
        return false;
    }
    int status = 0;
    if (waitpid(child, &status, 0) != child) {
        return false;
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

bool readMono(const std::string& path, SpeechSamples& speech) {
    SoundFile sound = readSoundFile(path);
    if (!sound.opened) {
        return false;
    }
    speech.sampleRate = sound.rate;
    speech.samples = sound.channel(0);
    return !speech.samples.empty();
}

}  // namespace

bool speak(const std::string& text, const SpeechVoice& voice, SpeechSamples& speech) {
    const std::string path = makeTemporaryWavPath();
    if (path.empty()) {
        std::fprintf(stderr, "zorbi-contentgen: cannot make a temporary file for the speech \"%s\"\n", text.c_str());
        return false;
    }
    const bool ok = runEspeak(text, voice, path) && readMono(path, speech);
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
    if (!ok) {
        std::fprintf(stderr, "zorbi-contentgen: espeak-ng could not say \"%s\" (is espeak-ng installed?)\n",
                     text.c_str());
    }
    return ok;
}
