#include "VideoEncoder.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <sstream>

#include "FinishedFile.h"
#include "Interruption.h"

namespace {

// Starts ffmpeg with `arguments` (its name first), reading `input`. It runs
// in a process group of its own, so that Ctrl+C at the terminal reaches only
// this tool, which decides what becomes of ffmpeg's output, and the kernel
// kills it if this tool dies first. -1 when it cannot be started.
pid_t startFfmpeg(std::vector<std::string> arguments, int input) {
    // Without -xerror ffmpeg ends with status 0 when it cannot write the end
    // of its file (a full disk), and the cut-short file would pass for a video.
    arguments.insert(arguments.begin() + 1, "-xerror");
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
    // Encoding shares the two cores with llvmpipe's rendering: x264's
    // superfast preset takes about half the CPU of medium and three fifths
    // of veryfast's, keeps the PSNR above 41 dB at this quality setting, and
    // makes a file about half as large again (scripts/perf-report.sh
    // compares the presets).
    ffmpeg = startFfmpeg({"ffmpeg",   "-loglevel",
                          "error",    "-y",
                          "-f",       "rawvideo",
                          "-pix_fmt", "rgba",
                          "-s",       std::to_string(width) + "x" + std::to_string(height),
                          "-r",       std::to_string(framesPerSecond),
                          "-i",       "-",
                          "-vf",      "vflip",
                          "-c:v",     "libx264",
                          "-preset",  "superfast",
                          "-crf",     "18",
                          "-pix_fmt", "yuv420p",
                          path},
                         ends[0]);
    ::close(ends[0]);
    if (ffmpeg <= 0) {
        ::close(ends[1]);
        std::fprintf(stderr, "getzorbi-capture: cannot start ffmpeg\n");
        return false;
    }
    pipeEnd = ends[1];
    writer = std::thread([this] { writeQueuedFrames(); });
    return true;
}

VideoEncoder::~VideoEncoder() {
    if (writer.joinable()) {
        close();
    }
}

bool VideoEncoder::addFrame(std::vector<std::uint8_t> rgbaBottomUp) {
    std::unique_lock<std::mutex> hold(queueLock);
    queueChanged.wait(hold, [this] { return queue.size() < QUEUE_DEPTH || writeFailed; });
    if (writeFailed) {
        return false;
    }
    queue.push_back(std::move(rgbaBottomUp));
    queueChanged.notify_all();
    return true;
}

void VideoEncoder::writeQueuedFrames() {
    // An ffmpeg that ends early makes writes fail with EPIPE rather than end
    // the tool; interruptions are left to the main thread's handler.
    sigset_t blocked;
    sigemptyset(&blocked);
    sigaddset(&blocked, SIGPIPE);
    sigaddset(&blocked, SIGINT);
    sigaddset(&blocked, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &blocked, nullptr);
    for (;;) {
        std::vector<std::uint8_t> frame;
        {
            std::unique_lock<std::mutex> hold(queueLock);
            queueChanged.wait(hold, [this] { return !queue.empty() || noMoreFrames; });
            if (queue.empty()) {
                return;
            }
            frame = std::move(queue.front());
            queue.pop_front();
        }
        bool written = writeAll(pipeEnd, frame.data(), frame.size());
        std::lock_guard<std::mutex> hold(queueLock);
        writeFailed = writeFailed || !written;
        queueChanged.notify_all();
        if (writeFailed) {
            return;
        }
    }
}

bool VideoEncoder::close() {
    if (!writer.joinable()) {
        return false;
    }
    {
        std::lock_guard<std::mutex> hold(queueLock);
        noMoreFrames = true;
        queueChanged.notify_all();
    }
    writer.join();
    // The end of its input is ffmpeg's cue to finish the file.
    bool flushed = ::close(pipeEnd) == 0 && !writeFailed;
    pipeEnd = -1;
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
