#include "VideoEncoder.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <sstream>

#include "Interruption.h"

namespace {

// Starts ffmpeg with `arguments`, reading `input`. It runs in a process group
// of its own, so that Ctrl+C at the terminal reaches only this tool, which
// decides what becomes of ffmpeg's output, and the kernel kills it if this
// tool dies first. -1 when it cannot be started.
pid_t startFfmpeg(const std::vector<std::string>& arguments, int input) {
    std::vector<char*> argv;
    for (const std::string& argument : arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);
    sigset_t interrupts, previous;
    sigemptyset(&interrupts);
    sigaddset(&interrupts, SIGINT);
    sigaddset(&interrupts, SIGTERM);
    // Held until the interruption handler knows the new process.
    sigprocmask(SIG_BLOCK, &interrupts, &previous);
    pid_t parent = getpid();
    pid_t child = fork();
    if (child == 0) {
        setpgid(0, 0);
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (getppid() != parent) {
            _exit(127);
        }
        sigprocmask(SIG_SETMASK, &previous, nullptr);
        dup2(input, STDIN_FILENO);
        execvp("ffmpeg", argv.data());
        _exit(127);
    }
    setInterruptedChild(child);
    sigprocmask(SIG_SETMASK, &previous, nullptr);
    return child;
}

// Waits for ffmpeg to end; true when it ended with status 0. Its end is seen
// before it is reaped, so the interruption handler never kills a process that
// has taken over its id.
bool finishFfmpeg(pid_t child) {
    if (child <= 0) {
        return false;
    }
    siginfo_t info = {};
    while (waitid(P_PID, child, &info, WEXITED | WNOWAIT) != 0 && errno == EINTR) {
    }
    setInterruptedChild(-1);
    int status = 0;
    return waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

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
    int ends[2];
    if (pipe2(ends, O_CLOEXEC) != 0) {
        std::fprintf(stderr, "getzorbi-capture: cannot start ffmpeg\n");
        return false;
    }
    // GL hands rows bottom-up; vflip turns the picture the right way round.
    // Encoding shares the two cores with llvmpipe's rendering: x264's veryfast
    // preset takes about half the CPU of medium for 1.7 dB less PSNR, still
    // above 40 dB at this quality setting (scripts/perf-report.sh compares them).
    ffmpeg = startFfmpeg({"ffmpeg",   "-loglevel",
                          "error",    "-y",
                          "-f",       "rawvideo",
                          "-pix_fmt", "rgba",
                          "-s",       std::to_string(width) + "x" + std::to_string(height),
                          "-r",       std::to_string(framesPerSecond),
                          "-i",       "-",
                          "-vf",      "vflip",
                          "-c:v",     "libx264",
                          "-preset",  "veryfast",
                          "-crf",     "18",
                          "-pix_fmt", "yuv420p",
                          path},
                         ends[0]);
    ::close(ends[0]);
    pipe = ffmpeg > 0 ? fdopen(ends[1], "w") : nullptr;
    if (!pipe) {
        ::close(ends[1]);
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
    // The end of its input is ffmpeg's cue to finish the file.
    bool flushed = std::fclose(pipe) == 0;
    pipe = nullptr;
    bool finished = finishFfmpeg(ffmpeg);
    ffmpeg = -1;
    return flushed && finished;
}

bool muxSound(const std::string& silentVideo, const std::string& soundTrack, const std::string& output) {
    int nothing = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    pid_t child = startFfmpeg({"ffmpeg", "-nostdin", "-loglevel", "error", "-y", "-i", silentVideo, "-i", soundTrack,
                               "-c:v", "copy", "-c:a", "aac", "-b:a", "192k", "-shortest", output},
                              nothing);
    ::close(nothing);
    return finishFfmpeg(child);
}
