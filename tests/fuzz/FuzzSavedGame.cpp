// Saved games: the bytes after the version are a record, stored enciphered
// in slot 0 of the loaded player, and the game is loaded from it as the
// Continue button does. Garden files come from the generated data.
#include "engine/core/EngEncryption.h"
#include "engine/core/EngPrefs.h"
#include "game/SavedGame.h"
#include "modules/UserClass.h"
#include "tests/fuzz/FuzzSupport.h"
#include "tests/game/PlayTestSupport.h"

#include <cstring>
#include <filesystem>
#include <vector>

namespace {

_UserInfo player;

void SetUpOnce()
{
    FuzzSetup();
    PrefFolderSetup("Hive Watcher", 0, nullptr, 0);
    EngEncryptionInit("HiveKey");
    std::snprintf(player.name, sizeof(player.name), "Bob");
    std::snprintf(player.country, sizeof(player.country), "GB");
    // The gardens' road data, which a loaded game starts on.
    namespace fs = std::filesystem;
    fs::create_directories("Data");
    for (const fs::directory_entry &entry : fs::directory_iterator(HW_FUZZ_DATA_DIR)) {
        std::string name = entry.path().filename().string();
        if (name.rfind("113", 0) == 0)
            fs::copy_file(entry.path(), "Data/" + name, fs::copy_options::overwrite_existing);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static bool ready = (SetUpOnce(), true);
    (void)ready;
    ResetPlayForTest();
    RecordNeighbours();
    play_neighbours.player_get_loaded = [] { return (const _UserInfo *)&player; };

    std::vector<unsigned char> record(SAVED_GAME_RECORD_SIZE, 0);
    const float version = 2.01f;
    std::memcpy(record.data(), &version, sizeof(version));
    std::memcpy(record.data() + sizeof(version), data, std::min(size, record.size() - sizeof(version)));
    const char *name = SavedGameFileName(0, 1);
    if (name && EngEncryptionEncryptAndWriteToFile(name, record.data(), SAVED_GAME_RECORD_SIZE))
        LoadSavedGame(0, 1);
    ResetPlayForTest();
    FuzzEndInput();
    return 0;
}
