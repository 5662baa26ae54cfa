#pragma once

#include <cstddef>
#include <istream>
#include <string>

// Display settings from start.ini, each kept as the text that was read: no
// trimming, no validation, no conversion until use.
struct Settings {
    std::string width = "800";
    std::string height = "600";
    std::string fullscreen = "0";  // exactly "1" selects game mode
    std::string frequency = "75";
    std::string bitdepth = "32";
};

// Written once by startShow before the window opens; read by start-up only.
extern Settings settings;

// Reads white-space separated tokens two at a time as key and value. A stream
// that failed to open gives the defaults.
Settings readSettings(std::istream& in);

// Five settings take a few dozen bytes; a larger file is not read.
constexpr std::size_t MAX_SETTINGS_BYTES = 64 * 1024;

// Reads `path` when it is a regular file of at most MAX_SETTINGS_BYTES; any
// other path gives the defaults (a file too large says so on standard error).
Settings readSettingsFile(const char* path);

// width "x" height ":" bitdepth "@" frequency, e.g. "800x600:32@75".
std::string gameModeString(const Settings& from);

// Leading white space, an optional sign, then leading digits; no digits gives 0.
int decimalValue(const std::string& text);
