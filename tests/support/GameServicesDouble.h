// A stand-in for the game core's start-up services, so engine tests can run
// the entry function. A test chooses the program object it creates.
#pragma once

class EngProgram;
struct _EngCreateWindowParms;

typedef EngProgram *(*GameServicesDoubleFactoryCB)();

struct GameServicesDouble {
    // Creates the program object (null plays an allocation failure).
    static GameServicesDoubleFactoryCB factory;
    static EngProgram *program;
    static _EngCreateWindowParms window_parms;
    static int exit_calls;

    static void Reset();
};
