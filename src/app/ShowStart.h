#pragma once

#include <functional>
#include <string>

// Where a show's frames go.
enum class ShowOutput {
    // The demo's own: start.ini's window or game mode, the demo's callbacks
    // and the banner.
    SCREEN,
    // The caller's off-screen picture; start.ini, callbacks and banner are
    // left out, since nothing is shown and no main loop calls back.
    OFFSCREEN,
    // The GL context the caller has already made current, with its GL state
    // set and its projection in place (the tests' window).
    CURRENT_CONTEXT,
};

// What differs between the demo, the capture tool and the test fixtures.
// The defaults are the demo's.
struct ShowOptions {
    ShowOutput output = ShowOutput::SCREEN;
    // Handed to freeglut as the program's name; unused with CURRENT_CONTEXT.
    const char* programName = "getzorbi";
    // OFFSCREEN only: opens a GL context and binds the caller's off-screen
    // target of pictureWidth x pictureHeight pixels. False, after its own
    // message, ends the start-up.
    std::function<bool()> openOffscreen;
    int pictureWidth = 0;
    int pictureHeight = 0;
    // Entered before the scene is assembled, since every file of the show is
    // read relative to it; empty keeps the working folder.
    std::string dataFolder;
    // Passed to the audio system (SoundSystem::INIT_NO_DEVICE mixes off line
    // without a sound card).
    unsigned audioFlags = 0;
    // The toolkit's main loop never returns; without it, the caller drives
    // the frames.
    bool enterMainLoop = true;
};

// Starts a show in the one order every caller shares: settings, display
// mode, window or game mode or off-screen target, callbacks, GL state (which
// starts the frame clock), banner, scene assembly, and last the start time,
// so that loading does not count towards the show. False after a message
// when the off-screen target or the data folder cannot be used; a file the
// scene cannot load ends the process as its loader says. With enterMainLoop
// it does not return.
bool startShow(const ShowOptions& options);
