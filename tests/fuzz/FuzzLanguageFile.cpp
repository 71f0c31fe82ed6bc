// Language files: a folder with two languages, English and a translation,
// read whole as the program does at start with the translation chosen, so
// the translation check compares the two on every input. The input is the
// English file, then, after its first form feed, the translation (empty
// when there is none).
#include "engine/core/EngLanguages.h"
#include "tests/fuzz/FuzzSupport.h"

#include <algorithm>
#include <filesystem>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzSetup();
    std::filesystem::create_directories("Lang");
    const uint8_t *end = data + size;
    const uint8_t *split = std::find(data, end, '\f');
    const uint8_t *translation = split == end ? end : split + 1;
    FuzzWriteFile("Lang/English.txt", data, split - data);
    FuzzWriteFile("Lang/Deutsch.txt", translation, end - translation);
    if (EngLanguagesInit("Lang", "Deutsch", 0)) {
        EngLanguagesInitFinished();
        // A token the translation lacks is taken from English.
        EngLanguagesGetString("Quit", 0);
    }
    EngLanguagesDestroy();
    FuzzEndInput();
    return 0;
}
