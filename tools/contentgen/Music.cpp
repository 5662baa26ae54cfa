#include "Generators.h"

bool generateMusic(const std::string&) { return true; }
