#include "Generators.h"

bool generateCharacters(const std::string&) { return true; }
