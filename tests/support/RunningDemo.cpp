#include "support/RunningDemo.h"

#include "support/RunFolder.h"

RunningDemo::RunningDemo(const std::string& startIni, const std::vector<std::string>& environment) {
    prepareRunFolder(folder, startIni);
    demo = std::make_unique<ChildProcess>(demoExecutable(), std::vector<std::string>{}, folder.path(), display.name(),
                                          environment);
    window = display.findWindow("Get Zorbi", *demo);
}

std::string RunningDemo::settledSize(const std::string& expected) {
    demo->waitUntil([&] { return display.windowSize(window) == expected; }, 50);
    return display.windowSize(window);
}

void RunningDemo::press(const std::string& keys) {
    display.run("xdotool mousemove --window " + window + " 400 300 key " + keys);
}
