// Road data: a garden's road file read as a level starts, and the board's
// grid built from it when it is taken.
#include "game/HiveWatcher.h"
#include "game/Levels.h"
#include "tests/fuzz/FuzzSupport.h"

#include <filesystem>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzSetup();
    std::filesystem::create_directories("Data");
    levels_garden = 0;
    FuzzWriteFile(LevelsGetTravCalcsFilename(), data, size);
    if (TraverseSetup())
        HiveWatcherBuildGrid();
    LevelsResetForTests();
    HiveWatcherResetForTests();
    FuzzEndInput();
    return 0;
}
