// Feeds arbitrary bytes to the shader source cleaner and checks what the
// compiler would be handed: never longer than the file and never holding a
// NUL, since the driver takes it as one NUL-terminated string.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "resource/ShaderProgram.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string text = shaderTextFromBytes(reinterpret_cast<const char*>(data), size);
    if (text.size() > size || text.find('\0') != std::string::npos) {
        std::abort();
    }
    return 0;
}
