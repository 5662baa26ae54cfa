// The voice cues stay words: a speech recogniser (pocketsphinx with its US
// English model, spotting one key phrase at a time) finds each cue's key
// phrase in the generated file at least as reliably as in espeak-ng's plain
// reading of the same words. Cartoon processing that smears consonants (a
// sliding pitch at a word's start, formants raised too far, a cut presence
// band, hard clipping) fails this long before a listener would say so.

#include <SDL_audio.h>
#include <gtest/gtest.h>
#include <pocketsphinx.h>

#include <algorithm>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "formats/SoundFile.h"
#include "support/ChildProcess.h"
#include "support/RunFolder.h"
#include "support/ShowExpectations.h"
#include "support/TempDir.h"

namespace {

struct VoiceCue {
    const char* file;
    const char* words;      // what the line says
    const char* keyPhrase;  // what the recogniser listens for, in its dictionary's spelling
};

// The recogniser cannot spot "cowards" even in espeak-ng's plain reading, so
// the taunt carries a word it can.
const VoiceCue VOICE_CUES[] = {
    {COWARDS_CUE.file, "You cheeky cowards!", "cheeky"},
    {ILL_GET_YOU_CUE.file, "I'll get you!", "get you"},
    {WARCRY_CUE.file, "Yaaah, charge!", "charge"},
};

constexpr int RECOGNISER_RATE = 16000;
// How sure the spotter must be: the ratio of the phrase's likelihood to that
// of any other sounds. Spotting is deterministic, so a phrase is heard or
// not in a given recording; the reading is repeated with the speech starting
// 0 to 9 ms later, which moves it against the recogniser's 10 ms frames, and
// the hits are counted.
const char* const SPOTTING_THRESHOLD = "1e-20";
constexpr int READINGS = 10;
constexpr double TRAILING_SILENCE_SECONDS = 0.25;

struct Sound {
    std::vector<float> mono;
    int rate = 0;
};

Sound readMono(const std::string& path) {
    SoundFile file = readSoundFile(path);
    if (!file.opened) {
        ADD_FAILURE() << "cannot read " << path;
    }
    return {file.channel(0), file.rate};
}

// 16-bit samples at the recogniser's rate, through SDL's resampler.
std::vector<short> forRecogniser(const Sound& sound) {
    SDL_AudioStream* stream = SDL_NewAudioStream(AUDIO_F32SYS, 1, sound.rate, AUDIO_S16SYS, 1, RECOGNISER_RATE);
    std::vector<float> input = sound.mono;
    // SDL drops the last few hundred frames of a resampling stream on flush.
    input.resize(input.size() + 4096, 0.0f);
    SDL_AudioStreamPut(stream, input.data(), static_cast<int>(input.size() * sizeof(float)));
    SDL_AudioStreamFlush(stream);
    std::vector<short> output(static_cast<size_t>(SDL_AudioStreamAvailable(stream)) / sizeof(short));
    SDL_AudioStreamGet(stream, output.data(), static_cast<int>(output.size() * sizeof(short)));
    SDL_FreeAudioStream(stream);
    return output;
}

// The recogniser's dictionary cut down to the key phrases' words, which
// makes each decoder start in a few milliseconds instead of half a second.
std::string writeDictionary(const TempDir& folder) {
    std::set<std::string> words;
    for (const VoiceCue& cue : VOICE_CUES) {
        std::istringstream phrase(cue.keyPhrase);
        for (std::string word; phrase >> word;) {
            words.insert(word);
        }
    }
    std::ifstream full(POCKETSPHINX_MODEL_DIR "/en-us/cmudict-en-us.dict");
    EXPECT_TRUE(full.good()) << "the pocketsphinx-en-us model is missing";
    std::string entries;
    for (std::string line; std::getline(full, line);) {
        // Alternative pronunciations come as "word(2)".
        const std::string word = line.substr(0, std::min(line.find(' '), line.find('(')));
        if (words.count(word) != 0) {
            entries += line + "\n";
        }
    }
    folder.write("keywords.dict", entries);
    return folder.file("keywords.dict");
}

class KeyPhraseSpotter {
public:
    explicit KeyPhraseSpotter(std::string dictionary) : dictionary(std::move(dictionary)) {}

    // In how many of READINGS readings of `speech` the phrase is spotted.
    int hits(const std::vector<short>& speech, const std::string& keyPhrase) const {
        int count = 0;
        for (int reading = 0; reading < READINGS; ++reading) {
            std::vector<short> samples(static_cast<size_t>(reading * RECOGNISER_RATE / 1000), 0);
            samples.insert(samples.end(), speech.begin(), speech.end());
            samples.resize(samples.size() + static_cast<size_t>(TRAILING_SILENCE_SECONDS * RECOGNISER_RATE), 0);
            count += spotted(samples, keyPhrase) ? 1 : 0;
        }
        return count;
    }

private:
    // A fresh decoder for every reading: its running cepstral mean would
    // otherwise carry one reading's voice into the next.
    bool spotted(const std::vector<short>& samples, const std::string& keyPhrase) const {
        cmd_ln_t* config = cmd_ln_init(nullptr, ps_args(), TRUE, "-hmm", POCKETSPHINX_MODEL_DIR "/en-us/en-us", "-dict",
                                       dictionary.c_str(), "-keyphrase", keyPhrase.c_str(), "-kws_threshold",
                                       SPOTTING_THRESHOLD, "-logfn", "/dev/null", nullptr);
        ps_decoder_t* decoder = config ? ps_init(config) : nullptr;
        if (decoder == nullptr) {
            ADD_FAILURE() << "pocketsphinx cannot start for \"" << keyPhrase << "\"";
            cmd_ln_free_r(config);
            return false;
        }
        // Fed in blocks as from a microphone, the way the recogniser adapts
        // to a voice while it listens.
        constexpr size_t BLOCK = 2048;
        ps_start_utt(decoder);
        for (size_t at = 0; at < samples.size(); at += BLOCK) {
            ps_process_raw(decoder, samples.data() + at, std::min(BLOCK, samples.size() - at), FALSE, FALSE);
        }
        ps_end_utt(decoder);
        const bool found = ps_get_hyp(decoder, nullptr) != nullptr;
        ps_free(decoder);
        cmd_ln_free_r(config);
        return found;
    }

    std::string dictionary;
};

Sound plainReading(const TempDir& folder, const std::string& words) {
    const std::string path = folder.file("plain.wav");
    ChildProcess espeak("/usr/bin/espeak-ng", {"-w", path, words}, folder.path());
    EXPECT_TRUE(espeak.waitForExit(60000));
    EXPECT_EQ(espeak.status(), 0) << espeak.standardError();
    return readMono(path);
}

}  // namespace

TEST(VoiceCueRecognition, EachKeyPhraseIsSpottedInTheCueAsReliablyAsInPlainSpeech) {
    TempDir folder;
    const KeyPhraseSpotter spotter(writeDictionary(folder));
    for (const VoiceCue& cue : VOICE_CUES) {
        SCOPED_TRACE(cue.file);
        const int plainHits = spotter.hits(forRecogniser(plainReading(folder, cue.words)), cue.keyPhrase);
        const std::vector<short> generated = forRecogniser(readMono(readyToRunFolder() + "/" + cue.file));
        const int cueHits = spotter.hits(generated, cue.keyPhrase);
        // Chosen words: the plain reading itself must be clear to the recogniser.
        EXPECT_GE(plainHits, READINGS * 8 / 10) << "\"" << cue.keyPhrase << "\" in the plain reading";
        EXPECT_GE(cueHits, plainHits) << "\"" << cue.keyPhrase << "\" in the cue";
    }
}
