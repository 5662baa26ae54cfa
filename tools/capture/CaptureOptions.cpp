#include "CaptureOptions.h"

#include <cstdio>
#include <cstdlib>

// ZORBI_VERSION is the project's version, from the VERSION file (CMake).
const std::string CAPTURE_USAGE =
    "getzorbi-capture " ZORBI_VERSION
    "\n"
    "usage: getzorbi-capture [options]\n"
    "Plays the Get Zorbi show on a virtual clock and renders it off screen.\n"
    "\n"
    "  --data DIR      ready-to-run folder to play from (default: the current folder)\n"
    "  --size WxH      picture size (default 800x600)\n"
    "  --fps N         frames per second of show time, 1 to 1000 (default 60)\n"
    "  --start S       first second written (default 0)\n"
    "  --end S         last second played (default " +
    std::to_string(SHOW_SECONDS) +
    ")\n"
    "  --still T       save the frame at T seconds in --out, named like still-012.50.png\n"
    "                  for --still 12.5 (repeatable)\n"
    "  --sequence      save every frame from start to end in --out as frame-000000.png,\n"
    "                  frame-000001.png, ... (numbered from the show's first frame)\n"
    "  --video FILE    write an MP4 with the show's sound through ffmpeg\n"
    "  --audio FILE    write the sound track from start to end as a WAV file\n"
    "  --timedemo      render as fast as possible and print frame timings\n"
    "  --out DIR       folder for stills and sequences (default: the current folder)\n"
    "  --help          show this text\n"
    "\n"
    "At least one of --still, --sequence, --video, --audio or --timedemo is needed.\n"
    "Every file written is named on standard output; progress goes to standard error.\n"
    "The same options always give the same pictures and sound.\n";

std::string stillFileName(double seconds) {
    char name[64];
    std::snprintf(name, sizeof name, "still-%06.2f.png", seconds);
    return name;
}

std::string frameFileName(int frame) {
    char name[64];
    std::snprintf(name, sizeof name, "frame-%06d.png", frame);
    return name;
}

namespace {

bool parseNumber(const std::string& text, double& value) {
    char* end = nullptr;
    value = std::strtod(text.c_str(), &end);
    return !text.empty() && *end == '\0';
}

bool parseSize(const std::string& text, int& width, int& height) {
    char rest = 0;
    return std::sscanf(text.c_str(), "%dx%d%c", &width, &height, &rest) == 2 && width > 0 && height > 0 &&
           width <= 8192 && height <= 8192;
}

// A moment of the show: a number of seconds, not negative. The bound keeps
// the frame count within an int at the highest frame rate.
bool parseSeconds(const std::string& name, const std::string& value, double& seconds, std::string& error) {
    if (!parseNumber(value, seconds) || !(seconds >= 0.0 && seconds <= 1.0e6)) {
        error = name + " wants a number of seconds from 0 on, not " + value;
        return false;
    }
    return true;
}

bool parseFramesPerSecond(const std::string& value, int& framesPerSecond, std::string& error) {
    double number = 0.0;
    if (!parseNumber(value, number) || !(number >= 1.0 && number <= 1000.0) || number != static_cast<int>(number)) {
        error = "--fps wants a whole number of frames per second from 1 to 1000, not " + value;
        return false;
    }
    framesPerSecond = static_cast<int>(number);
    return true;
}

bool isValueOption(const std::string& name) {
    for (const char* option :
         {"--data", "--out", "--video", "--audio", "--size", "--fps", "--start", "--end", "--still"}) {
        if (name == option) {
            return true;
        }
    }
    return false;
}

bool parseValue(const std::string& name, const std::string& value, CaptureOptions& options, std::string& error) {
    double seconds = 0.0;
    if (name == "--data") {
        options.dataFolder = value;
    } else if (name == "--out") {
        options.outputFolder = value;
    } else if (name == "--video") {
        options.videoFile = value;
    } else if (name == "--audio") {
        options.audioFile = value;
    } else if (name == "--size") {
        if (!parseSize(value, options.width, options.height)) {
            error = "--size wants WIDTHxHEIGHT up to 8192x8192, e.g. 800x600, not " + value;
            return false;
        }
    } else if (name == "--fps") {
        return parseFramesPerSecond(value, options.framesPerSecond, error);
    } else if (!parseSeconds(name, value, seconds, error)) {
        return false;
    } else if (name == "--start") {
        options.startSeconds = seconds;
    } else if (name == "--end") {
        options.endSeconds = seconds;
    } else {
        options.stills.push_back(seconds);
    }
    return true;
}

}  // namespace

bool parseCaptureOptions(const std::vector<std::string>& arguments, CaptureOptions& options, std::string& error) {
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& name = arguments[i];
        if (name == "--help") {
            options.help = true;
        } else if (name == "--sequence") {
            options.sequence = true;
        } else if (name == "--timedemo") {
            options.timedemo = true;
        } else if (!isValueOption(name)) {
            error = "unknown option: " + name;
            return false;
        } else if (i + 1 >= arguments.size()) {
            error = name + " needs a value";
            return false;
        } else if (!parseValue(name, arguments[++i], options, error)) {
            return false;
        }
    }
    if (options.help) {
        return true;
    }
    if (options.endSeconds < options.startSeconds) {
        error = "--end comes before --start";
        return false;
    }
    if (options.stills.empty() && !options.sequence && options.videoFile.empty() && options.audioFile.empty() &&
        !options.timedemo) {
        error = "nothing to write: give --still, --sequence, --video, --audio or --timedemo";
        return false;
    }
    return true;
}
