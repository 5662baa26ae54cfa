// The content generator is part of the build: two runs must write the same
// files with the same bytes, or every build would change the data.

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>

#include "support/ChildProcess.h"
#include "support/ShowExpectations.h"
#include "support/TempDir.h"

namespace {

// Every file below `root`, by its path relative to it, with its content.
std::map<std::string, std::string> filesBelow(const std::string& root) {
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
        if (entry.is_regular_file()) {
            files[std::filesystem::relative(entry.path(), root).string()] = readWholeFile(entry.path().string());
        }
    }
    return files;
}

void runGenerator(const TempDir& output) {
    ChildProcess generator(ZORBI_CONTENTGEN, {output.path()}, output.path());
    ASSERT_TRUE(generator.waitForExit()) << "the generator did not finish: " << generator.report();
    ASSERT_EQ(generator.status(), 0) << generator.standardError();
}

}  // namespace

TEST(WorldAndSoundRepeat, TwoRunsOfTheGeneratorWriteTheSameBytes) {
    TempDir first;
    TempDir second;
    runGenerator(first);
    runGenerator(second);
    const std::map<std::string, std::string> firstFiles = filesBelow(first.path());
    const std::map<std::string, std::string> secondFiles = filesBelow(second.path());
    for (const char* expected :
         {BLOCK_TEXTURE_FILE, GROUND_TEXTURE_FILE, GROUND_NORMAL_MAP_FILE, BACKGROUND_TEXTURE_FILE, JUMP_CUE.file,
          SPIT_CUE.file, COWARDS_CUE.file, ILL_GET_YOU_CUE.file, WARCRY_CUE.file, MUSIC_CUE.file}) {
        EXPECT_EQ(firstFiles.count(expected), 1u) << expected;
    }
    ASSERT_EQ(firstFiles.size(), secondFiles.size());
    for (const auto& [path, bytes] : firstFiles) {
        auto match = secondFiles.find(path);
        ASSERT_NE(match, secondFiles.end()) << path;
        EXPECT_TRUE(match->second == bytes) << path << " differs between two runs";
    }
}
