// The program's entry: the engine's entry function runs the game with its
// screens.
#include "engine/runtime/EngMain.h"
#include "screens/ScreenMakers.h"

int main(int argc, char **argv)
{
    ScreenMakersSetAll();
    return EngMainEntry(argc, argv);
}
