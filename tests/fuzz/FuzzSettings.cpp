// Settings files: the program's settings read at start. The bytes after the
// settings version fill the block; inputs that start with 0xFF are written
// as they are, so the size and version checks are fuzzed too.
#include "engine/core/EngPrefs.h"
#include "modules/Resolution.h"
#include "tests/fuzz/FuzzSupport.h"

#include <cstring>
#include <vector>

namespace {

const float SETTINGS_VERSION = 1.5f;

void SetUpOnce()
{
    FuzzSetup();
    PrefFolderSetup("Hive Watcher", 0, nullptr, 0);
    ResolutionSetup(3, 0, 2.01f, SETTINGS_VERSION, nullptr, 0, 1, 0, 0, 0);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static bool ready = (SetUpOnce(), true);
    (void)ready;
    const char *name = ResolutionGetSettingsFilename();
    if (size > 0 && data[0] == 0xFF) {
        FuzzWriteFile(name, data + 1, size - 1);
    } else {
        std::vector<unsigned char> block(sizeof(_ResolutionSettings), 0);
        std::memcpy(block.data(), &SETTINGS_VERSION, sizeof(SETTINGS_VERSION));
        std::memcpy(block.data() + 4, data, std::min(size, block.size() - 4));
        FuzzWriteFile(name, block.data(), block.size());
    }
    ResolutionLoadSettings();
    FuzzEndInput();
    return 0;
}
