// stb_image's TGA decoder, compiled here with the same compiler and flags as
// the program's own decoder so that the comparison is between the two
// decoders and not between two builds.
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_TGA
#include <stb/stb_image.h>
