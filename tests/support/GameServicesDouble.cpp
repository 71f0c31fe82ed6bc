#include "tests/support/GameServicesDouble.h"
#include "engine/core/EngDebug.h"
#include "engine/runtime/EngMain.h"
#include "engine/runtime/EngMainServices.h"
#include "engine/runtime/EngProgram.h"

static EngProgram *CreatePlainProgram()
{
    return new EngProgram();
}

GameServicesDoubleFactoryCB GameServicesDouble::factory = CreatePlainProgram;
EngProgram *GameServicesDouble::program = nullptr;
_EngCreateWindowParms GameServicesDouble::window_parms = {-1, -1, 1024, 768, 32, 1, 60, 0, 0, 0, 0, 0, "EngineClass"};
int GameServicesDouble::exit_calls = 0;

void GameServicesDouble::Reset()
{
    factory = CreatePlainProgram;
    program = nullptr;
    exit_calls = 0;
}

char MainCreateAndInitMainProgram(void *instance, char *command_line, int *exit_code)
{
    GameServicesDouble::program = GameServicesDouble::factory();
    if (!GameServicesDouble::program) {
        DebugError("MainCreateAndInitMainProgram", "No memory");
        *exit_code = -1;
        return 0;
    }
    EngMainUpdateProgramTime();
    char answer = GameServicesDouble::program->Init(instance, command_line);
    if (answer > 0)
        return 1;
    if (answer < 0) {
        *exit_code = 0;
        return 0;
    }
    DebugError("MainCreateAndInitMainProgram", "Init Failed");
    *exit_code = -1;
    return 0;
}

void MainDeleteMainProgram(char)
{
    GameServicesDouble::exit_calls++;
    if (GameServicesDouble::program) {
        GameServicesDouble::program->CloseDown(1);
        delete GameServicesDouble::program;
        GameServicesDouble::program = nullptr;
    }
    DebugRaw("Exited program.");
    DebugRaw("------------------------------------------------------");
}

const char *MainGetProgramName()
{
    return "Hive Watcher";
}

const char *MainGetWindowClassName()
{
    return "HiveWatcherClass";
}

_EngCreateWindowParms *MainGetCreateWindowParms()
{
    return &GameServicesDouble::window_parms;
}
