// Saved games: the input laid into a record after its version, stored
// enciphered in slot 0 of the loaded player, and the game loaded from it as
// the Continue button does. A game that loads must be one the play can run:
// its state is checked, it is started as Space does and played for a few
// seconds, then saved and loaded again, and the second load must bring back
// the game as it was saved. Garden files come from the generated data.
#include "engine/core/EngEncryption.h"
#include "engine/core/EngPrefs.h"
#include "engine/runtime/EngMain.h"
#include "engine/runtime/EngProgram.h"
#include "game/Bugs.h"
#include "game/SavedGame.h"
#include "game/Weapons.h"
#include "modules/UserClass.h"
#include "platform/win32/Win32Time.h"
#include "tests/fuzz/FuzzSupport.h"
#include "tests/game/PlayTestSupport.h"

#include <cstdio>
#include <cstdlib>
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

// The program clock, moved on by the frames played.
int64_t clock_ns = 0;
int64_t ClockNow() { return clock_ns; }
void ClockSleep(DWORD milliseconds) { clock_ns += static_cast<int64_t>(milliseconds) * 1000000; }

// Frames of play after a load: four seconds at the program's 60 a second.
const int kFrames = 240;
const float kFrameTime = 1.0f / 60.0f;

void Fail(const char *what)
{
    std::fprintf(stderr, "FuzzSavedGame: %s\n", what);
    std::abort();
}

void Check(bool sound, const char *what)
{
    if (!sound)
        Fail(what);
}

bool Within(double value, double lowest, double highest)
{
    return value >= lowest && value <= highest;
}

// What every loaded game must hold for the play to run it.
void CheckLoadedGame()
{
    Check(SavedGameExists(0, 1), "a load removed the game it loaded");
    Check(!play_game_over && !play_game_won, "a loaded game runs an end scene");
    Check(play_lives >= 1 && play_money >= 0 && play_score >= 0 && play_bonus >= 0, "accounts out of range");
    Check(play_level >= 0 && play_level < 50 && levels_garden >= 0 && levels_garden < 4 && levels_difficulty >= 0 &&
              levels_difficulty < 3,
          "level, garden or difficulty out of range");
    Check(bugs_last_boss_level >= 0 && bugs_last_boss_level <= play_level, "last boss level not yet played");
    Check(Within(bugs_hp, 1.0, BUGS_HP_MOST) && Within(bugs_reward, 1.0, BUGS_REWARD_MOST) &&
              Within(bugs_speed, BUGS_SPEED_SLOWEST, BUGS_SPEED_FASTEST),
          "wave values out of range");
    Check(weapons_count >= 0 && weapons_count <= WEAPONS_MAX, "weapon count out of range");
    for (int i = 0; i < weapons_count; i++) {
        const Weapon *w = weapons_list[i];
        if (!w)
            continue;
        Check(w->m_type >= 0 && w->m_type < WEAPON_TYPES, "weapon type out of range");
        const int top = w->GetTopLevelCount() - 1;
        Check(w->m_level >= 0 && w->m_level <= top && !(w->m_level == top && w->m_upgrading),
              "weapon level past its table");
    }
    for (int level : weapons_factory_level)
        Check(level >= 0 && level <= 3, "factory level out of range");
    Check(bugs_count >= 0 && bugs_count <= BUGS_MAX, "bug count out of range");
    for (int i = 0; i < bugs_count; i++) {
        const Bug *b = bugs_table[i];
        if (b && b->m_alive)
            Check(Within(b->m_speed, BUGS_SPEED_SLOWEST, BUGS_SPEED_FASTEST) &&
                      Within(b->m_max_hp, 1.0, BUGS_HP_MOST) && Within(b->m_hp, 0.0, b->m_max_hp),
                  "bug values out of range");
    }
}

// Space pressed when the game is not running, then the frames played as
// the main loop runs them.
void PlayOn()
{
    if (play_run_state != 0)
        eng_main_key_states[VK_SPACE] = 2;
    for (int frame = 0; frame < kFrames && !play_game_over && !play_game_won; frame++) {
        ClockSleep(static_cast<DWORD>(kFrameTime * 1000.0f));
        EngMainUpdateProgramTime();
        eng_main_frame_time = kFrameTime;
        HiveWatcherTick();
    }
}

// A game still under way is saved as the player's save does it and must
// come back as it was.
void SaveAndLoadAgain()
{
    if (play_game_over || play_game_won)
        return;
    if (!SaveGame(0, 1))
        Fail("a played game was not saved");
    const std::string saved = DescribePlayForTest();
    if (!LoadSavedGame(0, 1))
        Fail("a game saved by the play does not load");
    CheckLoadedGame();
    if (DescribePlayForTest() != saved) {
        std::fprintf(stderr, "saved:\n%s\nloaded:\n%s\n", saved.c_str(), DescribePlayForTest().c_str());
        Fail("the second load differs from the game saved");
    }
}

void SetUpOnce()
{
    FuzzSetup();
    PlatformSetClockHooks(ClockNow, ClockSleep);
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
    if (name && EngEncryptionEncryptAndWriteToFile(name, record.data(), SAVED_GAME_RECORD_SIZE) &&
        LoadSavedGame(0, 1)) {
        CheckLoadedGame();
        PlayOn();
        SaveAndLoadAgain();
    }
    ResetPlayForTest();
    FuzzEndInput();
    return 0;
}
