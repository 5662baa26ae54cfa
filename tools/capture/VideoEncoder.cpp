#include "VideoEncoder.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <sstream>

namespace {

std::string quoted(const std::string& text) {
    std::string result = "'";
    for (char c : text) {
        result += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return result + "'";
}

bool commandSucceeded(int status) { return status != -1 && WIFEXITED(status) && WEXITSTATUS(status) == 0; }

}  // namespace

bool programOnPath(const std::string& program) {
    const char* path = std::getenv("PATH");
    std::stringstream folders(path ? path : "");
    std::string folder;
    while (std::getline(folders, folder, ':')) {
        std::string candidate = (folder.empty() ? "." : folder) + "/" + program;
        if (access(candidate.c_str(), X_OK) == 0) {
            return true;
        }
    }
    return false;
}

bool VideoEncoder::open(const std::string& path, int width, int height, int framesPerSecond) {
    if (!programOnPath("ffmpeg")) {
        std::fprintf(stderr,
                     "getzorbi-capture: ffmpeg was not found on PATH; install Debian's ffmpeg package "
                     "(scripts/bootstrap.sh does) to write videos\n");
        return false;
    }
    // GL hands rows bottom-up; vflip turns the picture the right way round.
    // Encoding shares the two cores with llvmpipe's rendering: x264's veryfast
    // preset takes about half the CPU of medium for 1.7 dB less PSNR, still
    // above 40 dB at this quality setting (scripts/perf-report.sh compares them).
    std::string command = "ffmpeg -loglevel error -y -f rawvideo -pix_fmt rgba -s " + std::to_string(width) + "x" +
                          std::to_string(height) + " -r " + std::to_string(framesPerSecond) +
                          " -i - -vf vflip -c:v libx264 -preset veryfast -crf 18 -pix_fmt yuv420p " + quoted(path);
    pipe = popen(command.c_str(), "w");
    if (!pipe) {
        std::fprintf(stderr, "getzorbi-capture: cannot start ffmpeg\n");
        return false;
    }
    return true;
}

bool VideoEncoder::addFrame(const std::vector<std::uint8_t>& rgbaBottomUp) {
    return std::fwrite(rgbaBottomUp.data(), 1, rgbaBottomUp.size(), pipe) == rgbaBottomUp.size();
}

bool VideoEncoder::close() {
    if (!pipe) {
        return false;
    }
    int status = pclose(pipe);
    pipe = nullptr;
    return commandSucceeded(status);
}

bool muxSound(const std::string& silentVideo, const std::string& soundTrack, const std::string& output) {
    std::string command = "ffmpeg -loglevel error -y -i " + quoted(silentVideo) + " -i " + quoted(soundTrack) +
                          " -c:v copy -c:a aac -b:a 192k -shortest " + quoted(output);
    return commandSucceeded(std::system(command.c_str()));
}
