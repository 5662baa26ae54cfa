#include "Generators.h"

bool generateTextures(const std::string&) { return true; }
