#include "Generators.h"

bool generateSounds(const std::string&) { return true; }
