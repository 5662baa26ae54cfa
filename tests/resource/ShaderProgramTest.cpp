// The bump program built by the real driver (Mesa under Xvfb in the test run):
// the shipped shaders, and each way a build can fail.

#include <GL/glew.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>

#include "resource/ShaderProgram.h"
#include "support/ExitCapture.h"
#include "support/GLTestWindow.h"
#include "support/TempDir.h"

namespace {

const std::string GOOD_VERTEX =
    "#version 110\n"
    "void main() { gl_Position = ftransform(); }\n";
const std::string GOOD_FRAGMENT =
    "#version 110\n"
    "uniform sampler2D texture;\n"
    "void main() { gl_FragColor = texture2D(texture, vec2(0.5)); }\n";
const std::string BROKEN = "#version 110\nvoid main() { gl_Position = ; }\n";

class ShaderBuildTest : public testing::Test {
protected:
    void SetUp() override { testgl::prepareContext(); }

    // Builds from whatever the test wrote into `folder`, as the working directory.
    testexit::Outcome buildIn(const TempDir& folder) {
        WorkingDirectory inFolder(folder.path());
        return testexit::run(buildBumpShader);
    }

    void expectQuietEnd(const testexit::Outcome& outcome, const std::string& line) {
        EXPECT_TRUE(outcome.exited);
        EXPECT_EQ(outcome.status, 0);
        EXPECT_EQ(outcome.standardOutput, line + "\n");
        EXPECT_EQ(outcome.standardError, "");
    }

    TempDir folder;
};

}  // namespace

TEST_F(ShaderBuildTest, ShippedShadersLinkAndSampleBothMaps) {
    WorkingDirectory inData(std::string(ZORBI_SOURCE_DIR) + "/data");
    testexit::Outcome outcome = testexit::run(buildBumpShader);
    ASSERT_FALSE(outcome.exited) << outcome.standardOutput;
    ASSERT_NE(shaderProgram, 0u);
    // Both maps must really be used, or the driver drops the uniform.
    EXPECT_GE(glGetUniformLocationARB(shaderProgram, "texture"), 0);
    EXPECT_GE(glGetUniformLocationARB(shaderProgram, "normalMapTexture"), 0);
    // The build leaves the fixed pipeline current.
    EXPECT_EQ(glGetHandleARB(GL_PROGRAM_OBJECT_ARB), 0u);
}

TEST_F(ShaderBuildTest, VertexSyntaxErrorEndsBeforeTheFragmentShaderIsNeeded) {
    folder.write("bump.vsh", BROKEN);
    expectQuietEnd(buildIn(folder), "Compile Error in Vertex Shader...");
}

TEST_F(ShaderBuildTest, FragmentSyntaxErrorEndsWithTheFragmentMessage) {
    folder.write("bump.vsh", GOOD_VERTEX);
    folder.write("bump.fsh", "#version 110\nvoid main() { gl_FragColor = vec4(1.0) }\n");
    expectQuietEnd(buildIn(folder), "Compile Error in Fragment Shader...");
}

TEST_F(ShaderBuildTest, ShadersThatCompileButDoNotLinkEndWithTheLinkMessage) {
    // Each stage compiles alone; the call to a function nobody defines only
    // fails when the stages are linked.
    folder.write("bump.vsh",
                 "#version 110\n"
                 "vec4 place(vec4 vertex);\n"
                 "void main() { gl_Position = place(gl_Vertex); }\n");
    folder.write("bump.fsh", GOOD_FRAGMENT);
    expectQuietEnd(buildIn(folder), "Error linking shaders...");
}

TEST_F(ShaderBuildTest, MissingFileEndsWithThatShadersCompileMessage) {
    expectQuietEnd(buildIn(folder), "Compile Error in Vertex Shader...");

    folder.write("bump.vsh", GOOD_VERTEX);
    expectQuietEnd(buildIn(folder), "Compile Error in Fragment Shader...");
}

TEST(ShaderTextTest, DropsCarriageReturnsBeforeLineFeedsOnly) {
    const std::string bytes = "a\r\nb\rc\r\r\nd\r";
    EXPECT_EQ(shaderTextFromBytes(bytes.data(), bytes.size()), "a\nb\rc\r\nd\r");
}

TEST(ShaderTextTest, EndsAtTheFirstNul) {
    const std::string bytes("void main() {}\n\0garbage", 24);
    EXPECT_EQ(shaderTextFromBytes(bytes.data(), bytes.size()), "void main() {}\n");
}

TEST(ShaderTextTest, EmptyFileIsEmptyTextAndMissingFileIsNone) {
    TempDir folder;
    folder.write("empty.vsh", std::string());
    std::unique_ptr<char[]> empty = readTextFile(folder.file("empty.vsh").c_str());
    ASSERT_NE(empty, nullptr);
    EXPECT_STREQ(empty.get(), "");
    EXPECT_EQ(readTextFile(folder.file("absent.vsh").c_str()), nullptr);
    EXPECT_EQ(readTextFile(folder.path().c_str()), nullptr);
}

// A FIFO blocked the open for ever, and /dev/zero or an endless writer grew
// the text without bound: only regular files of a sensible size are read.
TEST(ShaderTextTest, OnlyRegularFilesWithinTheLimitAreRead) {
    TempDir folder;
    ASSERT_EQ(mkfifo(folder.file("fifo.vsh").c_str(), 0600), 0);
    EXPECT_EQ(readTextFile(folder.file("fifo.vsh").c_str()), nullptr);
    std::filesystem::create_symlink("/dev/zero", folder.file("zero.vsh"));
    EXPECT_EQ(readTextFile(folder.file("zero.vsh").c_str()), nullptr);

    folder.write("huge.vsh", std::string("void main() {}\n"));
    std::filesystem::resize_file(folder.file("huge.vsh"), std::uintmax_t(1) << 40);
    std::string hugePath = folder.file("huge.vsh");
    testexit::Outcome huge = testexit::run([&] { readTextFile(hugePath.c_str()); });
    EXPECT_TRUE(huge.exited);
    EXPECT_EQ(huge.status, 0);
    EXPECT_EQ(huge.standardOutput,
              "Error! Broken shader file: " + hugePath + " (it is larger than the 1 MiB a shader source may take)\n");
}
