// Saved games: the input laid into a record after its version, stored
// enciphered in slot 0 of the loaded player, and the game loaded from it as
// the Continue button does. Garden files come from the generated data.
#include "engine/core/EngEncryption.h"
#include "engine/core/EngPrefs.h"
#include "game/Bugs.h"
#include "game/SavedGame.h"
#include "game/Weapons.h"
#include "modules/UserClass.h"
#include "tests/fuzz/FuzzSupport.h"
#include "tests/game/PlayTestSupport.h"

#include <cstring>
#include <filesystem>
#include <vector>

namespace {

_UserInfo player;

// Where the record's parts lie: the weapons, the wave's values with the
// weapon count, the bugs, and the game's values (counts, garden, level).
const size_t kWeapons = 4, kWeaponSize = 56, kWeaponsMax = WEAPONS_MAX;
const size_t kWave = 56004;
const size_t kBugs = 56056, kBugSize = 80, kBugsMax = BUGS_MAX;
const size_t kGame = 64056;
static_assert(kWeapons + kWeaponsMax * kWeaponSize == kWave && kBugs + kBugsMax * kBugSize == kGame,
              "saved game record layout");

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
    // The input fills the record's parts in the order they are checked, the
    // game's values first, so that a short input reaches each of them.
    size_t at = 0;
    auto take = [&](size_t offset, size_t length) {
        size_t n = std::min(length, size - at);
        if (n)
            std::memcpy(record.data() + offset, data + at, n);
        at += n;
    };
    take(kGame, SAVED_GAME_RECORD_SIZE - kGame);
    take(kWave, kBugs - kWave);
    for (size_t i = 0; at < size && i < kWeaponsMax; i++) {
        take(kWeapons + i * kWeaponSize, kWeaponSize);
        if (i < kBugsMax)
            take(kBugs + i * kBugSize, kBugSize);
    }
    const char *name = SavedGameFileName(0, 1);
    if (name && EngEncryptionEncryptAndWriteToFile(name, record.data(), SAVED_GAME_RECORD_SIZE))
        LoadSavedGame(0, 1);
    ResetPlayForTest();
    FuzzEndInput();
    return 0;
}
