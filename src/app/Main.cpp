// Get Zorbi: a self-running real-time 3D demo. Start-up runs once, in a
// straight line; from glutMainLoop on everything happens in the callbacks.

#include "app/ShowStart.h"

int main(int, char** argv) {
    ShowOptions options;
    options.programName = argv[0];
    startShow(options);
    return 0;
}
