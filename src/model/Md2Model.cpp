#include "model/Md2Model.h"

#include <string>

#include "platform/FileBytes.h"
#include "platform/ProcessExit.h"

// Reading the file and the one way out for a missing or broken one. Parsing
// is in Md2Parse.cpp, normals in Md2Normals.cpp, playback in
// Md2Animation.cpp and drawing in Md2Drawing.cpp.

Md2Model::Md2Model(const char* path) {
    load(path);
}

bool Md2Model::load(const char* path) {
    std::vector<std::uint8_t> bytes;
    platform::FileReadStatus read = platform::readFileBytes(path, MAX_FILE_BYTES, bytes);
    if (read == platform::FileReadStatus::Missing) {
        platform::exitWithMessage(platform::OutputStream::StandardError,
                                  std::string("Error! Cannot find file: ") + path, 1);
    }
    if (read == platform::FileReadStatus::TooLarge) {
        platform::exitWithMessage(platform::OutputStream::StandardError,
                                  std::string("Error! Broken model file: ") + path + " (it is larger than the " +
                                      platform::byteCountText(MAX_FILE_BYTES) + " a model file may take)",
                                  1);
    }
    Md2ParseResult result = parse(bytes.data(), bytes.size(), path);
    if (result.status == Md2ParseStatus::Broken) {
        platform::exitWithMessage(platform::OutputStream::StandardError, result.message, 1);
    }
    return result.status == Md2ParseStatus::Loaded;
}
