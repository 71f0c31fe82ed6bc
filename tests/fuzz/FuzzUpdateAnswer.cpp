// Update answers: the update script's answer taken as the version check and
// the internet test take it once read.
#include "modules/Updater.h"
#include "tests/fuzz/FuzzSupport.h"

#include <algorithm>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzSetup();
    unsigned length = static_cast<unsigned>(std::min<size_t>(size, UPDATER_ANSWER_SIZE));
    for (char raw : {0, 1}) {
        UpdaterTakeAnswer(reinterpret_cast<const char *>(data), length, raw);
        char name[256];
        UpdaterGetSafeFileName(UpdaterGetDownloadLink(), name, sizeof(name));
    }
    UpdaterResetForTests();
    FuzzEndInput();
    return 0;
}
