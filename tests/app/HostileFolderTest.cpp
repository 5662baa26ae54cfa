// The real demo started in run folders where one file has been swapped for
// something hostile: a FIFO (an open would wait for a writer for ever), a
// link to /dev/zero (bytes without end) or a sparse terabyte. Each must end
// with its loader's line and status, or start with the defaults where a
// missing file means the defaults, and never hang or grow without bound.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>

#include "support/RunFolder.h"
#include "support/RunningDemo.h"
#include "support/ShowExpectations.h"

namespace {

namespace fs = std::filesystem;

enum class Hostile { Fifo, EndlessDevice, SparseTerabyte };

void swapIn(const TempDir& folder, const std::string& relativePath, Hostile kind) {
    std::string path = folder.file(relativePath);
    fs::remove(path);
    switch (kind) {
        case Hostile::Fifo:
            ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
            break;
        case Hostile::EndlessDevice:
            fs::create_symlink("/dev/zero", path);
            break;
        case Hostile::SparseTerabyte:
            folder.write(relativePath, std::string("x"));
            fs::resize_file(path, std::uintmax_t(1) << 40);
            break;
    }
}

}  // namespace

TEST(HostileFolder, DataFilesThatAreNotRegularOrTooLargeEndWithTheirLoadersLine) {
    struct Case {
        const char* file;
        Hostile kind;
        int status;
        const char* standardError;   // the whole of it
        const char* lastOutputLine;  // after the banner
    } cases[] = {
        {"data/models/c/zorbi.md2", Hostile::Fifo, 1, "Error! Cannot find file: data/models/c/zorbi.md2\n", ""},
        {"data/tex/c/zorbi.tga", Hostile::EndlessDevice, 1, "Error! Cannot find file: data/tex/c/zorbi.tga\n", ""},
        {"data/models/c/kurbis.md2", Hostile::SparseTerabyte, 1,
         "Error! Broken model file: data/models/c/kurbis.md2 (it is larger than the 16 MiB a model file may take)\n",
         ""},
        {"data/tex/c/kurbis.tga", Hostile::SparseTerabyte, 1,
         "Error! Broken image file: data/tex/c/kurbis.tga (it is larger than the 320 MiB an image file may take)\n",
         ""},
        {"bump.vsh", Hostile::Fifo, 0, "", "Compile Error in Vertex Shader...\n"},
        {"bump.fsh", Hostile::EndlessDevice, 0, "", "Compile Error in Fragment Shader...\n"},
        {"bump.vsh", Hostile::SparseTerabyte, 0, "",
         "Error! Broken shader file: bump.vsh (it is larger than the 1 MiB a shader source may take)\n"},
    };
    PrivateDisplay display;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        TempDir folder;
        prepareSwappableRunFolder(folder, "");
        swapIn(folder, c.file, c.kind);
        ChildProcess demo(demoExecutable(), {}, folder.path(), display.name(), {"SDL_AUDIODRIVER=dummy"});
        ASSERT_TRUE(demo.waitForExit()) << demo.report();
        EXPECT_FALSE(demo.killedBySignal());
        EXPECT_EQ(demo.status(), c.status);
        EXPECT_EQ(demo.standardError(), c.standardError);
        std::string output = demo.standardOutput();
        std::string last = std::string(c.lastOutputLine);
        EXPECT_TRUE(output.size() >= last.size() && output.compare(output.size() - last.size(), last.size(), last) == 0)
            << output;
    }
}

TEST(HostileFolder, AStartIniThatIsNotARegularFileOrTooLargeGivesTheDefaults) {
    struct Case {
        Hostile kind;
        const char* standardError;
    } cases[] = {
        {Hostile::Fifo, ""},
        {Hostile::EndlessDevice, ""},
        {Hostile::SparseTerabyte, "start.ini is larger than the 64 KiB settings may take: using the defaults.\n"}};
    PrivateDisplay display;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.standardError);
        TempDir folder;
        prepareRunFolder(folder, "");
        swapIn(folder, "start.ini", c.kind);
        ChildProcess demo(demoExecutable(), {}, folder.path(), display.name(), {"SDL_AUDIODRIVER=dummy"});
        EXPECT_TRUE(demo.waitForOutput(expectedBanner())) << demo.report();
        EXPECT_TRUE(demo.running());
        EXPECT_EQ(demo.standardError(), c.standardError);
    }
}
