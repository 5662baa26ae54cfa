#pragma once

#include <string>

// Each generator writes its files below `outputRoot` (the ready-to-run
// folder), making folders as needed, and returns false after printing one
// line on standard error when it could not.
bool generateCharacters(const std::string& outputRoot);  // data/models/c/*.md2, data/tex/c/*.tga
bool generateTextures(const std::string& outputRoot);    // data/tex/g/*.tga, data/gfx/background.tga
bool generateSounds(const std::string& outputRoot);      // data/wav/*.wav
bool generateMusic(const std::string& outputRoot);       // data/music/music1.mp3
