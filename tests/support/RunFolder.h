#pragma once

#include <string>

#include "support/TempDir.h"

// Lays out a working folder for the real demo in `folder`: the shaders and
// the data tree of the build's ready-to-run folder (linked, not copied), and
// start.ini only when `startIni` is not empty.
void prepareRunFolder(const TempDir& folder, const std::string& startIni);

// The same, but with the data tree made of real folders holding a link for
// each file, so a test can swap single files without touching the build's.
void prepareSwappableRunFolder(const TempDir& folder, const std::string& startIni);

// The demo executable and its ready-to-run folder in this build.
std::string demoExecutable();
std::string readyToRunFolder();
