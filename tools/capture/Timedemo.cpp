#include "Timedemo.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <numeric>

double FrameTimes::total() const {
    return std::accumulate(milliseconds.begin(), milliseconds.end(), 0.0);
}

double FrameTimes::percentile(double p) const {
    if (milliseconds.empty()) {
        return 0.0;
    }
    std::vector<double> sorted = milliseconds;
    std::sort(sorted.begin(), sorted.end());
    size_t rank = static_cast<size_t>(std::ceil(p / 100.0 * sorted.size()));
    return sorted[std::min(sorted.size(), std::max<size_t>(rank, 1)) - 1];
}

std::string timedemoReport(const FrameTimes& show, const FrameTimes& baseline, const FrameTimes& floor,
                           long peakResidentKiB) {
    char text[640];
    double seconds = show.total() / 1000.0;
    double median = show.percentile(50.0);
    double baselineMedian = baseline.percentile(50.0);
    double floorMedian = floor.percentile(50.0);
    std::snprintf(text, sizeof text,
                  "%zu frames %.2f seconds %.1f fps; frame ms: median %.2f, 99th %.2f, worst %.2f\n"
                  "baseline (clear and finish only): median %.2f ms; show/baseline %.1fx\n"
                  "floor (background, marked ground, one shadow quad): median %.2f ms; frame/floor %.2f\n"
                  "peak resident memory %.1f MiB\n",
                  show.milliseconds.size(), seconds, seconds > 0.0 ? show.milliseconds.size() / seconds : 0.0, median,
                  show.percentile(99.0), show.percentile(100.0), baselineMedian,
                  baselineMedian > 0.0 ? median / baselineMedian : 0.0, floorMedian,
                  floorMedian > 0.0 ? median / floorMedian : 0.0, peakResidentKiB / 1024.0);
    return text;
}

long peakResidentMemoryKiB() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0) {
            return std::stol(line.substr(6));
        }
    }
    return -1;
}
