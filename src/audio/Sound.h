#pragma once

#include <string>

class Channel;

// A stream made by SoundSystem::createStream: a file checked and opened, ready
// to play. The first play takes the prepared channel; a later play of the same
// sound opens the file again, so each play decodes from the start.
class Sound {
public:
    Sound() = default;
    ~Sound();
    Sound(const Sound&) = delete;
    Sound& operator=(const Sound&) = delete;

    std::string path;
    Channel* prepared = nullptr;  // owned; null once played
};
