#include "ProgressBar.h"

#include <unistd.h>

namespace {
constexpr int BAR_WIDTH = 30;
}

ProgressBar::ProgressBar(int totalFrames, std::FILE* stream)
    : total(totalFrames > 0 ? totalFrames : 1),
      stream(stream),
      onTerminal(isatty(fileno(stream)) != 0),
      started(std::chrono::steady_clock::now()),
      lastDrawn(started) {}

void ProgressBar::update(int framesDone) {
    auto now = std::chrono::steady_clock::now();
    const int tenth = framesDone * 10 / total;
    // Redrawing the bar more than ten times a second would only cost time.
    const bool due = onTerminal ? now - lastDrawn >= std::chrono::milliseconds(100) || framesDone >= total
                                : tenth > lastTenthPrinted;
    if (!due) {
        return;
    }
    lastDrawn = now;
    double seconds = std::chrono::duration<double>(now - started).count();
    double rate = seconds > 0.0 ? framesDone / seconds : 0.0;
    int secondsLeft = rate > 0.0 ? static_cast<int>((total - framesDone) / rate) : 0;
    if (onTerminal) {
        drawBar(framesDone, rate, secondsLeft);
    } else {
        lastTenthPrinted = tenth;
        printLine(framesDone, rate, secondsLeft);
    }
}

void ProgressBar::finish() {
    if (onTerminal) {
        std::fputc('\n', stream);
    }
}

void ProgressBar::drawBar(int framesDone, double rate, int secondsLeft) {
    int filled = framesDone * BAR_WIDTH / total;
    char bar[BAR_WIDTH + 1];
    for (int i = 0; i < BAR_WIDTH; ++i) {
        bar[i] = i < filled ? '#' : '-';
    }
    bar[BAR_WIDTH] = '\0';
    std::fprintf(stream, "\r[%s] %d/%d frames  %.1f fps  %d:%02d left ", bar, framesDone, total, rate, secondsLeft / 60,
                 secondsLeft % 60);
    std::fflush(stream);
}

void ProgressBar::printLine(int framesDone, double rate, int secondsLeft) {
    const int percent = framesDone * 100 / total;
    // Before a tenth is done the rate is mostly the first frame's warm-up,
    // and the time left it gives would mislead.
    if (framesDone * 10 / total == 0) {
        std::fprintf(stream, "getzorbi-capture: %d %% (%d of %d frames)\n", percent, framesDone, total);
    } else {
        std::fprintf(stream, "getzorbi-capture: %d %% (%d of %d frames, %.1f fps, %d:%02d left)\n", percent, framesDone,
                     total, rate, secondsLeft / 60, secondsLeft % 60);
    }
    std::fflush(stream);
}
