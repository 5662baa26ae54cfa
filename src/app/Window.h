#pragma once

#include <string>

#include "app/Settings.h"

constexpr const char* WINDOW_TITLE = "Get Zorbi";
constexpr int GLUT_API_VERSION_NUMBER = 3;
constexpr int TICKS_PER_SECOND = 1000;

// Initialises GLUT and sets the
// display mode: double-buffered RGBA with depth and a stencil for the shadows.
void initDisplay(const char* programName);

// Only the exact text "1" asks for game mode: "true", "01", "1.0" and an
// empty value all mean a window.
bool asksForGameMode(const Settings& from);

// Enters game mode when fullscreen is exactly "1", otherwise opens the
// "Get Zorbi" window at the configured size. When the display refuses game
// mode (freeglut then creates no window at all) it falls back to the window,
// since every later GL call needs a context.
void openOutput(const Settings& from);

// Registers reshape, idle, display and keyboard, in that order.
void registerCallbacks();

// The two banner lines, each flushed.
void printBanner(const std::string& modeString);
