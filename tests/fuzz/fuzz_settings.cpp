// Feeds arbitrary text to the start.ini reader and the conversions start-up
// applies to what it read. Every setting must come out either as its default
// or as one token: white space never ends up inside a value.

#include <cctype>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "app/Settings.h"

namespace {

void requireOneToken(const std::string& value) {
    for (unsigned char c : value) {
        if (std::isspace(c)) {
            std::abort();
        }
    }
}

volatile long long sink;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    Settings read = readSettings(in);
    for (const std::string* value : {&read.width, &read.height, &read.fullscreen, &read.frequency, &read.bitdepth}) {
        requireOneToken(*value);
    }
    sink = (long long)gameModeString(read).size() + decimalValue(read.width) + decimalValue(read.height);
    return 0;
}
