#include "audio/Audio.h"

namespace {

// One message per result code, indexed by the code. Every failure message ends
// in one space, because the report line puts nothing after it.
const char* const MESSAGES[] = {
    /* 0 */ "No errors.",
    /* 1 */ "A sample buffer could not be locked for access. ",
    /* 2 */ "A sample buffer was unlocked that was not locked. ",
    /* 3 */ "This operation is not allowed on a sound of this data type. ",
    /* 4 */ "The data of this sound cannot be read back in its data type. ",
    /* 5 */ "The CD device could not be opened. ",
    /* 6 */ "The CD device could not be started. ",
    /* 7 */ "The CD device failed while reading. ",
    /* 8 */ "The CD drive holds no disc with audio tracks. ",
    /* 9 */ "No CD device was found on this machine. ",
    /* 10 */ "Error trying to allocate a channel. ",
    /* 11 */ "The channel was taken over by another sound and can no longer be used. ",
    /* 12 */ "The channel handle no longer refers to a playing sound. ",
    /* 13 */ "The COM subsystem could not be initialized. ",
    /* 14 */ "A DMA transfer to the sound hardware failed. ",
    /* 15 */ "A DSP connection could not be made: it would close a loop in the DSP network. ",
    /* 16 */ "A DSP unit has a format that the DSP network cannot connect. ",
    /* 17 */ "The DSP unit was not found in the DSP network. ",
    /* 18 */ "The DSP network has no room for another connection. ",
    /* 19 */ "Error loading file. ",
    /* 20 */ "Seeking within the file failed. ",
    /* 21 */ "End of file unexpectedly reached while trying to read essential data (truncated data?). ",
    /* 22 */ "File not found. ",
    /* 23 */ "The file could not be read: access was refused or the device failed. ",
    /* 24 */ "Unsupported file or audio format. ",
    /* 25 */ "The HTTP server refused access to the stream. ",
    /* 26 */ "The HTTP server answered with an error. ",
    /* 27 */ "The HTTP server could not be reached. ",
    /* 28 */ "The HTTP request timed out. ",
    /* 29 */ "The HTTP stream is not ready yet: no data has arrived. ",
    /* 30 */ "FMOD was not initialized correctly to support this function. ",
    /* 31 */ "Cannot call this command after System::init. ",
    /* 32 */ "An internal error occurred in the audio system. ",
    /* 33 */ "A function of the console platform failed. ",
    /* 34 */ "A floating point argument was not a finite number. ",
    /* 35 */ "An invalid object handle was used. ",
    /* 36 */ "An invalid parameter was passed to this function. ",
    /* 37 */ "A speaker argument named a speaker that the output does not have. ",
    /* 38 */ "A vector argument was zero or not of unit length. ",
    /* 39 */ "The console platform ran out of sound memory. ",
    /* 40 */ "Not enough memory or resources. ",
    /* 41 */ "This operation is not allowed on a sound that plays from memory given by the caller. ",
    /* 42 */ "This operation needs a 3D sound, and the sound is 2D. ",
    /* 43 */ "This operation needs a 2D sound, and the sound is 3D. ",
    /* 44 */ "The hardware engine does not support this operation. ",
    /* 45 */ "The hardware engine has no voice left for this sound. ",
    /* 46 */ "The software engine does not support this operation. ",
    /* 47 */ "The host name could not be resolved. ",
    /* 48 */ "A network socket failed. ",
    /* 49 */ "The URL could not be understood. ",
    /* 50 */ "The network stream was closed by the other side. ",
    /* 51 */ "The sound is not ready yet: it is still being opened. ",
    /* 52 */
    "Error initializing output device, but more specifically, the output device is already in use and "
    "cannot be reused. ",
    /* 53 */ "Error creating hardware sound buffer. ",
    /* 54 */
    "A call to a standard soundcard driver failed, which could possibly mean a bug in the driver or "
    "resources were missing or exhausted. ",
    /* 55 */ "Soundcard does not support the minimum features needed for this soundsystem (16bit stereo output). ",
    /* 56 */ "Error initializing output device. ",
    /* 57 */ "The sound hardware has no resources left for this request. ",
    /* 58 */ "The software mixer has no channel left for this sound. ",
    /* 59 */ "Panning is not available for this sound or output. ",
    /* 60 */ "The plug-in failed while it was running. ",
    /* 61 */ "The plug-in could not be found or loaded. ",
    /* 62 */ "The plug-in needs a resource that could not be found. ",
    /* 63 */ "The recording device could not be started or read. ",
    /* 64 */ "The reverb setting could not be applied. ",
    /* 65 */ "The subsound is already in use by another sound. ",
    /* 66 */ "The subsound was not found in the sound. ",
    /* 67 */ "The subsound cannot be played in this mode. ",
    /* 68 */ "The requested tag was not found in the sound. ",
    /* 69 */ "Too many input channels for the output to mix. ",
    /* 70 */ "This command failed because System::init or System::setDriver was not called. ",
    /* 71 */ "This feature is not implemented yet. ",
    /* 72 */ "This command is not supported by the current output or sound. ",
    /* 73 */ "The update call was made too often or from the wrong thread. ",
    /* 74 */ "The file was written by a version of the format that is not supported. ",
    /* 75 */ "An internal error occurred in the event system. ",
    /* 76 */ "The event was not found. ",
    /* 77 */ "The event could not be started: no instance of it is free. ",
    /* 78 */ "The category was not found. ",
};

constexpr unsigned MESSAGE_COUNT = sizeof(MESSAGES) / sizeof(MESSAGES[0]);
static_assert(MESSAGE_COUNT == 79, "one message for every code from 0 to 78");

}  // namespace

const char* audioErrorText(int code) {
    // Compared as unsigned, so a negative code falls past the table too.
    unsigned index = static_cast<unsigned>(code);
    return index < MESSAGE_COUNT ? MESSAGES[index] : "Unknown error.";
}
