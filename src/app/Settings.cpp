#include "app/Settings.h"

#include <cctype>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <sstream>
#include <vector>

#include "platform/FileBytes.h"

Settings settings;

Settings readSettings(std::istream& in) {
    Settings result;
    // The stream is tested before each pair, so a value read that reaches end
    // of file is still applied, and a failed read leaves the value empty.
    while (in.good()) {
        std::string key;
        std::string value;
        in >> key;
        in >> value;
        if (key == "width") {
            result.width = value;
        } else if (key == "height") {
            result.height = value;
        } else if (key == "fullscreen") {
            result.fullscreen = value;
        } else if (key == "frequency") {
            result.frequency = value;
        } else if (key == "bitdepth") {
            result.bitdepth = value;
        }
    }
    return result;
}

Settings readSettingsFile(const char* path) {
    std::vector<std::uint8_t> bytes;
    platform::FileReadStatus read = platform::readFileBytes(path, MAX_SETTINGS_BYTES, bytes);
    if (read == platform::FileReadStatus::TooLarge) {
        std::fprintf(stderr, "%s is larger than the %s settings may take: using the defaults.\n", path,
                     platform::byteCountText(MAX_SETTINGS_BYTES).c_str());
        std::fflush(stderr);
    }
    // A file that is missing, not a regular file or too large gives the
    // defaults, like a stream that failed to open.
    std::istringstream in(std::string(bytes.begin(), bytes.end()));
    if (read != platform::FileReadStatus::Read) {
        in.setstate(std::ios::failbit);
    }
    return readSettings(in);
}

std::string gameModeString(const Settings& from) {
    return from.width + "x" + from.height + ":" + from.bitdepth + "@" + from.frequency;
}

int decimalValue(const std::string& text) {
    size_t index = 0;
    while (index < text.size() && std::isspace(static_cast<unsigned char>(text[index]))) {
        ++index;
    }
    bool negative = false;
    if (index < text.size() && (text[index] == '+' || text[index] == '-')) {
        negative = text[index] == '-';
        ++index;
    }
    // Accumulate as a negative number so INT_MIN fits; saturate instead of
    // overflowing on absurdly long digit runs.
    long long value = 0;
    for (; index < text.size() && std::isdigit(static_cast<unsigned char>(text[index])); ++index) {
        value = value * 10 + (text[index] - '0');
        if (value > static_cast<long long>(INT_MAX) + 1) {
            value = static_cast<long long>(INT_MAX) + 1;
        }
    }
    if (negative) {
        return static_cast<int>(-value);
    }
    return value > INT_MAX ? INT_MAX : static_cast<int>(value);
}
