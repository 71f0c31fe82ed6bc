// The program's entry: the engine's entry function runs the game.
#include "engine/runtime/EngMain.h"

int main(int argc, char **argv)
{
    return EngMainEntry(argc, argv);
}
