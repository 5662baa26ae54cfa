#include "ProgressBar.h"

#include <unistd.h>

#include <cstdio>

namespace {
constexpr int BAR_WIDTH = 30;
}

ProgressBar::ProgressBar(int totalFrames)
    : total(totalFrames > 0 ? totalFrames : 1),
      enabled(isatty(STDERR_FILENO) != 0),
      started(std::chrono::steady_clock::now()),
      lastDrawn(started) {}

void ProgressBar::update(int framesDone) {
    auto now = std::chrono::steady_clock::now();
    // Redrawing more than ten times a second would only cost time.
    if (!enabled || (now - lastDrawn < std::chrono::milliseconds(100) && framesDone < total)) {
        return;
    }
    lastDrawn = now;
    double seconds = std::chrono::duration<double>(now - started).count();
    double rate = seconds > 0.0 ? framesDone / seconds : 0.0;
    int secondsLeft = rate > 0.0 ? static_cast<int>((total - framesDone) / rate) : 0;
    int filled = framesDone * BAR_WIDTH / total;
    char bar[BAR_WIDTH + 1];
    for (int i = 0; i < BAR_WIDTH; ++i) {
        bar[i] = i < filled ? '#' : '-';
    }
    bar[BAR_WIDTH] = '\0';
    std::fprintf(stderr, "\r[%s] %d/%d frames  %.1f fps  %d:%02d left ", bar, framesDone, total, rate,
                 secondsLeft / 60, secondsLeft % 60);
    std::fflush(stderr);
}

void ProgressBar::finish() {
    if (enabled) {
        update(total);
        std::fputc('\n', stderr);
    }
}
