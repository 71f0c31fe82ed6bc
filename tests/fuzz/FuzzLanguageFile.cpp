// Language files: a folder with the fuzzed file as the only language, read
// whole as the program does at start.
#include "engine/core/EngLanguages.h"
#include "tests/fuzz/FuzzSupport.h"

#include <filesystem>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzSetup();
    std::filesystem::create_directories("Lang");
    FuzzWriteFile("Lang/English.txt", data, size);
    if (EngLanguagesInit("Lang", "English", 0)) {
        EngLanguagesInitFinished();
        EngLanguagesGetString("Quit", 0);
    }
    EngLanguagesDestroy();
    FuzzEndInput();
    return 0;
}
