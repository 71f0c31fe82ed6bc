// Saved games: file names and slots, round trips of the play through the
// enciphered record, refused and tampered files, and failed writes.
#include "game/SavedGame.h"

#include "engine/core/EngEncryption.h"
#include "engine/core/EngPrefs.h"
#include "modules/UserClass.h"
#include "platform/win32/Win32Files.h"
#include "tests/game/PlayTestSupport.h"
#include "tests/support/TestLog.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <filesystem>
#include <functional>
#include <limits>

namespace {

namespace fs = std::filesystem;

_UserInfo player;

fs::path UsersFolder()
{
    return fs::path(std::getenv("XDG_DATA_HOME")) / "Lichenware" / "Hive Watcher" / "Users";
}

fs::path GameFile()
{
    return UsersFolder() / "Bob_SavedGame00.dat";
}

int FailingRename(const char *, const char *)
{
    return -1;
}

class SavedGameTest : public testing::Test {
protected:
    void SetUp() override
    {
        ResetPlayForTest();
        RecordNeighbours();
        PrefFolderResetForTests();
        std::error_code ignored;
        fs::remove_all(UsersFolder(), ignored);
        PrefFolderSetup("Hive Watcher", 0, nullptr, 0);
        EngEncryptionInit("HiveKey");
        player = _UserInfo{};
        std::snprintf(player.name, sizeof(player.name), "Bob");
        std::snprintf(player.country, sizeof(player.country), "GB");
        player.player_id = 42;
        play_neighbours.player_get_loaded = [] { return (const _UserInfo *)&player; };
        // Garden 0's generated road and ground map.
        fs::remove_all("Data", ignored);
        fs::create_directories("Data");
        fs::copy_file(fs::path(HW_DATA_DIR) / "1130.dat", "Data/1130.dat");
        levels_garden = 0;
        levels_difficulty = 1;
        ASSERT_TRUE(HiveWatcherStartNewGame(0));
    }
    void TearDown() override
    {
        PlatformSetRenameFunction(nullptr);
        ResetPlayForTest();
        EngEncryptionResetForTests();
        std::error_code ignored;
        fs::remove_all("Data", ignored);
    }

    // Places a free weapon of the type on the first free ground found.
    static Weapon *Place(int type)
    {
        for (float y = -0.9f; y <= 0.9f; y += 0.05f)
            for (float x = -0.9f; x <= 0.9f; x += 0.05f)
                if (WeaponsCanPlaceAt(type, x, y, 0) && WeaponsCreateNew(type, x, y, 0, 1))
                    return weapons_list[weapons_count - 1];
        ADD_FAILURE() << "no ground for type " << type;
        return nullptr;
    }

    // A game in the middle of level 6: weapons with a sold one between them,
    // a factory, an upgrade under way, and a wave partly on the road.
    static void PlayAWhile()
    {
        play_level = 6;
        HiveWatcherInitForNewLevel(0);
        Weapon *first = Place(2);
        first->m_level = 2;
        first->m_target_mode = BTM_STRONG;
        first->m_angle = 1.25f;
        first->m_throb = 0.5f;
        Place(4);
        Weapon *factory = Place(10);
        factory->m_level = 1;
        factory->m_upgrading = 1;
        factory->m_upgrade_progress = 0.25f;
        WeaponsCountFactoryLevels();
        WeaponsSell(1);
        ASSERT_EQ(3, weapons_count);
        ASSERT_EQ(nullptr, weapons_list[1]);
        play_score = 1234;
        play_bonus = 56;
        play_lives = 17;
        play_money = 789;
        play_run_state = 1;
        ASSERT_GE(bugs_count, 6);
        ASSERT_GT(traverse_data.num_steps, 300);
        for (int i = 0; i < 4; i++) {
            bugs_table[i]->m_distance = 200.0f + 30.0f * i;
            bugs_table[i]->m_hp = bugs_table[i]->m_max_hp / (i + 2);
            bugs_table[i]->m_anim_phase = 0.75f * i;
            bugs_table[i]->UpdatePosition();
        }
        // One bug killed this frame, another already gone from its slot.
        bugs_table[2]->m_alive = 0;
        delete bugs_table[3];
        bugs_table[3] = nullptr;
    }

    // Clears the play to something unlike any saved game.
    static void Scramble()
    {
        levels_garden = 2;
        levels_difficulty = 0;
        play_level = 30;
        play_money = 3;
        play_score = 9;
        play_lives = 1;
        WeaponsClearForNewGame();
        BugsDeleteAll();
        bugs_count = 0;
        bugs_kind = 1;
    }

    static std::string ReadRecord()
    {
        std::string record(SAVED_GAME_RECORD_SIZE, '\0');
        EXPECT_TRUE(EngEncryptionReadFromFileAndDecrypt(GameFile().c_str(), record.data(), SAVED_GAME_RECORD_SIZE));
        return record;
    }
    static void WriteRecord(const std::string &record)
    {
        ASSERT_TRUE(EngEncryptionEncryptAndWriteToFile(GameFile().c_str(), record.data(), SAVED_GAME_RECORD_SIZE));
    }
    template <typename T> static T At(const std::string &bytes, size_t offset)
    {
        T value;
        std::memcpy(&value, bytes.data() + offset, sizeof(T));
        return value;
    }
    template <typename T> static void Put(std::string *bytes, size_t offset, T value)
    {
        std::memcpy(&(*bytes)[offset], &value, sizeof(T));
    }
};

}  // namespace

TEST_F(SavedGameTest, NamesFollowThePlayerGardenAndSlot)
{
    const std::string users = std::string(PrefFolderGetSubFolder("Users", 0)) + "\\";
    EXPECT_EQ(users + "Bob_SavedGame00.dat", SavedGameFileName(0, 1));
    levels_garden = 2;
    EXPECT_EQ(users + "Bob_SavedGame37.dat", SavedGameFileName(7, 0));
    EXPECT_EQ(users + "Bob_SavedGame010.dat", SavedGameFileName(10, 1));

    // Out of range: a slot above 10 or below 0, no garden chosen, no player.
    EXPECT_EQ(nullptr, SavedGameFileName(11, 1));
    EXPECT_EQ(nullptr, SavedGameFileName(-1, 1));
    levels_garden = -1;
    EXPECT_EQ(nullptr, SavedGameFileName(0, 0));
    levels_garden = 0;
    play_neighbours.player_get_loaded = nullptr;
    EXPECT_EQ(nullptr, SavedGameFileName(0, 1));
    EXPECT_TRUE(LogHas("User not loaded"));
    EXPECT_FALSE(SaveGame(0, 1));
}

TEST_F(SavedGameTest, SlotsAboveTenAndGameOverAreRefused)
{
    EXPECT_FALSE(SaveGame(11, 1));
    EXPECT_FALSE(SavedGameExists(11, 1));
    EXPECT_FALSE(LoadSavedGame(11, 1));
    EXPECT_FALSE(DeleteSavedGame(11, 1));

    play_game_over = 1;
    EXPECT_FALSE(SaveGame(0, 1));
    EXPECT_FALSE(SavedGameExists(0, 1));

    // Nothing saved yet: nothing to load or delete.
    DebugClearLogs();
    EXPECT_FALSE(LoadSavedGame(0, 1));
    EXPECT_TRUE(LogHas("Saved game does not exist at slot 0"));
    EXPECT_FALSE(DeleteSavedGame(0, 1));
}

TEST_F(SavedGameTest, TheFileIsTheEnciphereredRecordAtItsOffsets)
{
    PlayAWhile();
    ASSERT_TRUE(SaveGame(0, 1));
    EXPECT_TRUE(LogHas("GAME SAVED TO SLOT 0:0"));
    EXPECT_TRUE(SavedGameExists(0, 1));
    EXPECT_EQ(64112u, fs::file_size(GameFile()));

    const std::string r = ReadRecord();
    EXPECT_EQ(2.01f, At<float>(r, 0));
    EXPECT_EQ(3, At<int32_t>(r, 56004));
    EXPECT_EQ(bugs_count, At<int32_t>(r, 64056));
    EXPECT_EQ(0, At<int16_t>(r, 64064));
    EXPECT_EQ(1, At<int16_t>(r, 64066));
    EXPECT_EQ(1234, At<int32_t>(r, 64068));
    EXPECT_EQ(56, At<int32_t>(r, 64072));
    EXPECT_EQ(17, At<int32_t>(r, 64076));
    EXPECT_EQ(789, At<int32_t>(r, 64080));
    EXPECT_EQ(6, At<int32_t>(r, 64084));
    EXPECT_EQ(1, r[64088]);
    EXPECT_EQ(bugs_hp, At<double>(r, 56016));
    EXPECT_EQ(bugs_size, At<float>(r, 56052));
    // Weapon 0 in use, weapon 1 sold (all zero), weapon 2 the factory.
    EXPECT_EQ(1, r[4]);
    EXPECT_EQ(2, At<int32_t>(r, 4 + 4));
    EXPECT_EQ(2, At<int32_t>(r, 4 + 8));
    EXPECT_EQ(BTM_STRONG, At<int32_t>(r, 4 + 12));
    EXPECT_EQ(1.25f, At<float>(r, 4 + 28));
    EXPECT_EQ(std::string(56, '\0'), r.substr(4 + 56, 56));
    EXPECT_EQ(10, At<int32_t>(r, 4 + 112 + 4));
    EXPECT_EQ(1, r[4 + 112 + 36]);
    EXPECT_EQ(0.25f, At<float>(r, 4 + 112 + 40));
    // Bug 1 alive on the road, bug 2 dead, slot 3 empty.
    EXPECT_EQ(1, At<int32_t>(r, 56056 + 80));
    EXPECT_EQ(230.0f, At<float>(r, 56056 + 80 + 16));
    EXPECT_EQ(1, r[56056 + 80 + 36]);
    EXPECT_EQ(0, r[56056 + 160 + 36]);
    EXPECT_EQ(std::string(80, '\0'), r.substr(56056 + 240, 80));
    // Nothing past the counts.
    EXPECT_EQ(std::string(56, '\0'), r.substr(4 + 3 * 56, 56));
    EXPECT_EQ(std::string(80, '\0'), r.substr(56056 + bugs_count * 80, 80));
    EXPECT_EQ(std::string(5, '\0'), r.substr(64091, 5));
}

TEST_F(SavedGameTest, AnEmptyGameComesBackEmpty)
{
    BugsDeleteAll();
    bugs_count = 0;
    play_level = 3;
    const std::string saved = DescribePlayForTest();
    ASSERT_TRUE(SaveGame(0, 1));

    Scramble();
    ASSERT_TRUE(LoadSavedGame(0, 1));
    EXPECT_EQ(saved, DescribePlayForTest());
    EXPECT_EQ(0, weapons_count);
    EXPECT_EQ(0, bugs_count);
    EXPECT_EQ(-1, levels_banner_state);
    // The file stays until the game ends or the player declines.
    EXPECT_TRUE(SavedGameExists(0, 1));
}

TEST_F(SavedGameTest, WeaponsWithHolesAndTheWaveComeBack)
{
    PlayAWhile();
    const std::string saved = DescribePlayForTest();
    ASSERT_TRUE(SaveGame(0, 1));

    Scramble();
    ASSERT_TRUE(LoadSavedGame(0, 1));
    // The sold weapon's hole is skipped: two weapons, in their order.
    EXPECT_EQ(saved, DescribePlayForTest());
    EXPECT_EQ(2, weapons_count);
    EXPECT_EQ(2, weapons_factory_level[1]);

    // The dead bug and the empty slot come back dead and go at the next update.
    ASSERT_NE(nullptr, bugs_table[2]);
    ASSERT_NE(nullptr, bugs_table[3]);
    EXPECT_EQ(0, bugs_table[2]->m_alive);
    EXPECT_EQ(0, bugs_table[3]->m_alive);
    play_run_state = 0;
    BugsUpdate();
    EXPECT_EQ(nullptr, bugs_table[2]);
    EXPECT_EQ(nullptr, bugs_table[3]);
    EXPECT_NE(nullptr, bugs_table[1]);
}

TEST_F(SavedGameTest, AWeaponThatCannotStandAgainIsLeftOutAndLoadingGoesOn)
{
    PlayAWhile();
    ASSERT_TRUE(SaveGame(0, 1));
    // The factory's element moved onto the first weapon's ground.
    std::string record = ReadRecord();
    Put<float>(&record, 4 + 112 + 16, At<float>(record, 4 + 16));
    Put<float>(&record, 4 + 112 + 20, At<float>(record, 4 + 20));
    WriteRecord(record);

    Scramble();
    DebugClearLogs();
    ASSERT_TRUE(LoadSavedGame(0, 1));
    EXPECT_TRUE(LogHas("Could not create weapon [2]"));
    ASSERT_EQ(1, weapons_count);
    EXPECT_EQ(2, weapons_list[0]->m_type);
    EXPECT_EQ(0, weapons_factory_level[1]);
    EXPECT_EQ(789, play_money);
    EXPECT_EQ(6, play_level);
}

TEST_F(SavedGameTest, DeletingRemovesTheFileOnce)
{
    ASSERT_TRUE(SaveGame(0, 1));
    EXPECT_TRUE(DeleteSavedGame(0, 1));
    EXPECT_FALSE(fs::exists(GameFile()));
    EXPECT_FALSE(DeleteSavedGame(0, 1));
}

TEST_F(SavedGameTest, BadFilesAreRefusedAndDeletedWithThePlayUntouched)
{
    const std::string reading = "Problem reading saved game file 0";
    using Raw = std::function<void(std::string *)>;
    struct Case {
        const char *name;
        Raw change_file;    // on the enciphered bytes
        Raw change_record;  // on the record, enciphered again
        std::string log;
    };
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const Case cases[] = {
        {"one byte short", [](std::string *f) { f->pop_back(); }, nullptr, reading},
        {"one byte long", [](std::string *f) { f->push_back('x'); }, nullptr, reading},
        {"version 2.00", nullptr, [](std::string *r) { Put<float>(r, 0, 2.00f); },
         "Incorrect version [2.000000 not 2.010000] reading saved game file 0"},
        {"1001 weapons", nullptr, [](std::string *r) { Put<int32_t>(r, 56004, 1001); }, reading},
        {"101 bugs", nullptr, [](std::string *r) { Put<int32_t>(r, 64056, 101); }, reading},
        {"weapon type 12", nullptr, [](std::string *r) { Put<int32_t>(r, 4 + 4, 12); }, reading},
        {"factory at level 3", nullptr, [](std::string *r) { Put<int32_t>(r, 4 + 112 + 8, 3); }, reading},
        {"target mode 5", nullptr, [](std::string *r) { Put<int32_t>(r, 4 + 12, 5); }, reading},
        {"weapon off the board", nullptr, [](std::string *r) { Put<float>(r, 4 + 16, 40.0f); }, reading},
        {"weapon marker 2", nullptr, [](std::string *r) { (*r)[4 + 56] = 2; }, reading},
        {"bug index of another slot", nullptr, [](std::string *r) { Put<int32_t>(r, 56056 + 80, 4); }, reading},
        {"bug step out of the road", nullptr, [](std::string *r) { Put<int32_t>(r, 56056 + 20, 16000); }, reading},
        {"bug state 6", nullptr, [](std::string *r) { (*r)[56056 + 72] = 6; }, reading},
        {"bug distance NaN", nullptr, [nan](std::string *r) { Put<float>(r, 56056 + 16, nan); }, reading},
        {"bug hp infinite", nullptr,
         [](std::string *r) { Put<double>(r, 56056 + 56, std::numeric_limits<double>::infinity()); }, reading},
        {"garden 4", nullptr, [](std::string *r) { Put<int16_t>(r, 64064, 4); }, reading},
        {"difficulty 3", nullptr, [](std::string *r) { Put<int16_t>(r, 64066, 3); }, reading},
        {"level 50", nullptr, [](std::string *r) { Put<int32_t>(r, 64084, 50); }, reading},
        {"negative money", nullptr, [](std::string *r) { Put<int32_t>(r, 64080, -5); }, reading},
        {"run state 3", nullptr, [](std::string *r) { (*r)[64088] = 3; }, reading},
        {"game won 2", nullptr, [](std::string *r) { (*r)[64090] = 2; }, reading},
        {"bug kind 11", nullptr, [](std::string *r) { Put<int32_t>(r, 56008, 11); }, reading},
        {"wave size NaN", nullptr, [nan](std::string *r) { Put<float>(r, 56052, nan); }, reading},
    };
    PlayAWhile();
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(SaveGame(0, 1));
        if (c.change_file) {
            std::string bytes = ReadWhole(GameFile());
            c.change_file(&bytes);
            WriteWhole(GameFile(), bytes);
        } else {
            std::string record = ReadRecord();
            c.change_record(&record);
            WriteRecord(record);
        }
        const std::string before = DescribePlayForTest();
        DebugClearLogs();
        EXPECT_FALSE(LoadSavedGame(0, 1));
        EXPECT_TRUE(LogHas(c.log)) << LastStored();
        EXPECT_FALSE(fs::exists(GameFile()));
        EXPECT_EQ(before, DescribePlayForTest());
    }
}

TEST_F(SavedGameTest, RecordsThePlayCannotHandleAreRefusedOrMadeSound)
{
    const std::string reading = "Problem reading saved game file 0";
    using Raw = std::function<void(std::string *)>;
    struct Case {
        const char *name;
        Raw change_record;
        // Null: refused. Otherwise the game loads and this checks it plays soundly.
        std::function<void()> plays;
    };
    static constexpr int bug0 = 56056;
    const Case cases[] = {
        {"a weapon at its top level marked as upgrading",
         [](std::string *r) {
             Put<int32_t>(r, 4 + 8, WEAPON_LEVELS - 1);
             (*r)[4 + 36] = 1;
             (*r)[4 + 37] = 1;
             Put<float>(r, 4 + 40, 0.9f);
         },
         [] {
             Weapon *w = weapons_list[0];
             ASSERT_NE(nullptr, w);
             EXPECT_EQ(0, w->m_upgrading);
             // Seconds of play leave it at its top level.
             play_run_state = 0;
             play_frame_time = 0.5f;
             for (int i = 0; i < 20; i++)
                 WeaponsUpdate();
             EXPECT_EQ(WEAPON_LEVELS - 1, w->m_level);
             EXPECT_EQ(0, w->m_upgrading);
         }},
        {"a reward per bug beyond what the game makes", [](std::string *r) { Put<double>(r, 56032, 1e12); },
         nullptr},
        {"a bug's hit points beyond what the game makes",
         [](std::string *r) {
             Put<double>(r, bug0 + 56, 1e12);
             Put<double>(r, bug0 + 64, 1e12);
         },
         nullptr},
        {"a wave's hit points beyond what the game makes", [](std::string *r) { Put<double>(r, 56016, 1e12); },
         nullptr},
        {"a bug with more hit points than its most", 
         [](std::string *r) { Put<double>(r, bug0 + 56, 2.0 * At<double>(*r, bug0 + 64)); },
         nullptr},
        {"money and lives near the int's top",
         [](std::string *r) {
             Put<int32_t>(r, 64080, INT_MAX - 10);
             Put<int32_t>(r, 64076, INT_MAX);
         },
         [] {
             // A kill pays up to the top and no further.
             bugs_table[0]->Hit(bugs_table[0]->m_hp + 1.0);
             EXPECT_EQ(INT_MAX, play_money);
             HiveWatcherAddToLives(5);
             EXPECT_EQ(INT_MAX, play_lives);
             HiveWatcherAddToLives(-1);
             EXPECT_EQ(INT_MAX - 1, play_lives);
         }},
        {"a last boss level of INT_MIN", [](std::string *r) { Put<int32_t>(r, 64060, INT_MIN); }, nullptr},
        {"a last boss level not yet played", [](std::string *r) { Put<int32_t>(r, 64060, 7); }, nullptr},
        {"a bug standing still", [](std::string *r) { Put<double>(r, bug0 + 48, 0.0); }, nullptr},
        {"a bug walking backwards", [](std::string *r) { Put<double>(r, bug0 + 48, -40.0); }, nullptr},
        {"a bug leaving in one frame", [](std::string *r) { Put<double>(r, bug0 + 48, 1e9); }, nullptr},
        {"a wave of speed 0", [](std::string *r) { Put<double>(r, 56024, 0.0); }, nullptr},
        // Its bugs would wait behind the road while they walk past its end,
        // alive: the game the play then saves would not load.
        {"a wave of negative spacing", [](std::string *r) { Put<float>(r, 56048, -4.4e20f); }, nullptr},
        {"the game-won flag", [](std::string *r) { (*r)[64090] = 1; }, nullptr},
        {"the game-over flag", [](std::string *r) { (*r)[64089] = 1; }, nullptr},
        {"no lives left", [](std::string *r) { Put<int32_t>(r, 64076, 0); }, nullptr},
    };
    PlayAWhile();
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(SaveGame(0, 1));
        std::string record = ReadRecord();
        c.change_record(&record);
        WriteRecord(record);
        const std::string before = DescribePlayForTest();
        DebugClearLogs();
        if (!c.plays) {
            EXPECT_FALSE(LoadSavedGame(0, 1));
            EXPECT_TRUE(LogHas(reading)) << LastStored();
            EXPECT_FALSE(fs::exists(GameFile()));
            EXPECT_EQ(before, DescribePlayForTest());
            continue;
        }
        ASSERT_TRUE(LoadSavedGame(0, 1));
        c.plays();
        // Back to the game every case starts from.
        levels_garden = 0;
        levels_difficulty = 1;
        ASSERT_TRUE(HiveWatcherStartNewGame(0));
        PlayAWhile();
    }
}

TEST_F(SavedGameTest, ALivingBugAtTheRoadsEndFailsTheLoadWithoutTakingALife)
{
    PlayAWhile();
    play_lives = 1;
    ASSERT_TRUE(SaveGame(0, 1));
    std::string record = ReadRecord();
    Put<float>(&record, 56056 + 16, (float)traverse_data.num_steps);
    WriteRecord(record);

    DebugClearLogs();
    EXPECT_FALSE(LoadSavedGame(0, 1));
    EXPECT_TRUE(LogHas("Problem loading game (bugs)"));
    EXPECT_FALSE(fs::exists(GameFile()));
    EXPECT_EQ(0, play_game_over);
    EXPECT_EQ(1, play_lives);
}

TEST_F(SavedGameTest, AFailedWriteKeepsThePreviousGame)
{
    PlayAWhile();
    ASSERT_TRUE(SaveGame(0, 1));
    const std::string previous = ReadWhole(GameFile());
    play_money = 5;

    // Something that is not a file holds the temporary name.
    const fs::path temp = GameFile().string() + ".tmp";
    fs::create_directories(temp / "in the way");
    DebugClearLogs();
    EXPECT_FALSE(SaveGame(0, 1));
    EXPECT_FALSE(LogHas("GAME SAVED"));
    EXPECT_EQ(previous, ReadWhole(GameFile()));
    fs::remove_all(temp);

    // The new file cannot take the old one's place.
    PlatformSetRenameFunction(FailingRename);
    EXPECT_FALSE(SaveGame(0, 1));
    EXPECT_FALSE(LogHas("GAME SAVED"));
    EXPECT_EQ(previous, ReadWhole(GameFile()));
    EXPECT_FALSE(fs::exists(temp));
    PlatformSetRenameFunction(nullptr);

    // The old game still loads with its own money.
    ASSERT_TRUE(LoadSavedGame(0, 1));
    EXPECT_EQ(789, play_money);
}
