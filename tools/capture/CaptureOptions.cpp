#include "CaptureOptions.h"

#include <cstdio>
#include <cstdlib>

const char* const CAPTURE_USAGE =
    "usage: getzorbi-capture [options]\n"
    "Plays the Get Zorbi show on a virtual clock and renders it off screen.\n"
    "\n"
    "  --data DIR      ready-to-run folder to play from (default: the current folder)\n"
    "  --size WxH      picture size (default 800x600)\n"
    "  --fps N         frames per second of show time (default 60)\n"
    "  --start S       first second written (default 0)\n"
    "  --end S         last second played (default 45)\n"
    "  --still T       save the frame at T seconds as still-T.png in --out (repeatable)\n"
    "  --sequence      save every frame from start to end as frame-NNNNNN.png in --out\n"
    "  --video FILE    write an MP4 with the show's sound through ffmpeg\n"
    "  --audio FILE    write the sound track from start to end as a WAV file\n"
    "  --timedemo      render as fast as possible and print frame timings\n"
    "  --out DIR       folder for stills and sequences (default: the current folder)\n"
    "  --help          show this text\n"
    "\n"
    "The same options always give the same pictures and sound.\n";

namespace {

bool parseNumber(const std::string& text, double& value) {
    char* end = nullptr;
    value = std::strtod(text.c_str(), &end);
    return !text.empty() && *end == '\0';
}

bool parseSize(const std::string& text, int& width, int& height) {
    return std::sscanf(text.c_str(), "%dx%d", &width, &height) == 2 && width > 0 && height > 0 &&
           width <= 8192 && height <= 8192;
}

}  // namespace

bool parseCaptureOptions(const std::vector<std::string>& arguments, CaptureOptions& options, std::string& error) {
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& name = arguments[i];
        if (name == "--help") {
            options.help = true;
            continue;
        }
        if (name == "--sequence") {
            options.sequence = true;
            continue;
        }
        if (name == "--timedemo") {
            options.timedemo = true;
            continue;
        }
        if (i + 1 >= arguments.size()) {
            error = name.rfind("--", 0) == 0 ? name + " needs a value" : "unknown argument " + name;
            return false;
        }
        const std::string& value = arguments[++i];
        double number = 0.0;
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
                error = "--size wants WIDTHxHEIGHT, e.g. 800x600, not " + value;
                return false;
            }
        } else if (name == "--fps" || name == "--start" || name == "--end" || name == "--still") {
            if (!parseNumber(value, number) || number < 0.0 || (name == "--fps" && (number < 1.0 || number > 1000.0))) {
                error = name + " wants a number of seconds (frames for --fps), not " + value;
                return false;
            }
            if (name == "--fps") options.framesPerSecond = static_cast<int>(number);
            if (name == "--start") options.startSeconds = number;
            if (name == "--end") options.endSeconds = number;
            if (name == "--still") options.stills.push_back(number);
        } else {
            error = "unknown option " + name;
            return false;
        }
    }
    if (options.endSeconds < options.startSeconds) {
        error = "--end comes before --start";
        return false;
    }
    return true;
}
