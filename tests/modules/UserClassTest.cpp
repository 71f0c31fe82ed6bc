#include "modules/UserClass.h"
#include "modules/Account.h"
#include "engine/core/EngMisc.h"
#include "engine/runtime/EngProgram.h"
#include "tests/modules/ModulesTestSupport.h"

#include <cmath>
#include <functional>
#include <limits>
#include <vector>

namespace {

using namespace modules_test;

class UserClassTest : public ModulesTest {
protected:
    static fs::path UserFile(const std::string &name) { return UsersFolder() / (name + ".usr"); }

    // Creates and saves a player in the given file mode; returns its file's bytes.
    std::string SavePlayer(const char *name, char mode)
    {
        UserClass user(nullptr, "HiveWatcher", 0, mode);
        EXPECT_TRUE(user.CreateNewUser(name, "GB", 0));
        EXPECT_TRUE(user.Save(1));
        return ReadWhole(UserFile(name));
    }

    // A plain record of a valid player named name.
    std::string PlainRecord(const char *name) { return SavePlayer(name, UFM_PLAIN); }

    // Writes a plain record enciphered, as the program would store it.
    void WriteEnciphered(const std::string &name, const std::string &plain)
    {
        fs::create_directories(UsersFolder());
        ASSERT_TRUE(EngEncryptionEncryptAndWriteToFile(UserFile(name).c_str(), plain.data(),
                                                       static_cast<unsigned>(plain.size())));
    }
};

TEST_F(UserClassTest, PlainFileIsTheRecordByteForByte)
{
    EngMiscRandSeed(7);
    std::string bytes = SavePlayer("Bob", UFM_PLAIN);
    ASSERT_EQ(bytes.size(), 660u);
    EXPECT_EQ(At<float>(bytes, 0), 2.0f);
    EXPECT_EQ(std::string(bytes.c_str() + 4), "2010");
    EXPECT_EQ(std::string(bytes.c_str() + 14), "Bob");
    EXPECT_EQ(std::string(bytes.c_str() + 34), "GB");
    EXPECT_EQ(bytes[37], 0);
    unsigned short id = At<unsigned short>(bytes, 38);
    EXPECT_GE(id, 1);
    EXPECT_LE(id, 30000);

    // The defaults, by offset; every other byte of the options is zero.
    struct Byte {
        size_t offset;
        int value;
    };
    const Byte BYTES[] = {{56, 1},  {64, 1},  {65, 1},  {76, 1},  {84, 1},  {412, 1}, {477, 0}, {478, 1},
                          {479, 1}, {480, 0}, {481, 1}, {482, 0}, {500, 1}, {501, 3}, {502, 0}, {503, 0}, {504, 0}};
    const size_t FLOATS[] = {60, 68, 80, 88};
    std::vector<bool> named(660, false);
    for (const Byte &b : BYTES) {
        EXPECT_EQ(static_cast<unsigned char>(bytes[b.offset]), b.value) << "offset " << b.offset;
        named[b.offset] = true;
    }
    for (size_t offset : FLOATS) {
        EXPECT_EQ(At<float>(bytes, offset), 0.5f) << "offset " << offset;
        for (size_t i = 0; i < 4; i++)
            named[offset + i] = true;
    }
    EXPECT_EQ(At<short>(bytes, 592), -1);
    for (size_t offset = 40; offset < 660; offset++) {
        if (!named[offset] && offset != 592 && offset != 593) {
            EXPECT_EQ(bytes[offset], 0) << "offset " << offset;
        }
    }
}

TEST_F(UserClassTest, EncipheredFileHoldsTheSameRecordAndLoadsBack)
{
    std::string plain = SavePlayer("Ann", UFM_PLAIN);
    fs::remove(UserFile("Ann"));
    WriteEnciphered("Ann", plain);
    std::string stored = ReadWhole(UserFile("Ann"));
    ASSERT_EQ(stored.size(), 676u);

    UserClass user(nullptr, "HiveWatcher", 0, UFM_ENCIPHERED);
    ASSERT_TRUE(user.LoadUser("Ann", 0, nullptr, nullptr));
    EXPECT_EQ(std::string(reinterpret_cast<const char *>(user.GetInfo()), 660), plain);

    // Its save writes a fresh block that deciphers to the same record.
    ASSERT_TRUE(user.Save(0));
    std::string again(660, '\0');
    ASSERT_EQ(fs::file_size(UserFile("Ann")), 676u);
    ASSERT_TRUE(EngEncryptionReadFromFileAndDecrypt(UserFile("Ann").c_str(), &again[0], 660));
    EXPECT_EQ(again, plain);
}

TEST_F(UserClassTest, PlainRecordIsReadInTheFallbackModeAndStoredEncipheredFromThen)
{
    std::string plain = PlainRecord("Cy");
    UserClass user(nullptr, "HiveWatcher", 1, UFM_ENCIPHERED_OR_PLAIN);
    char always = -1, country[3] = {};
    ASSERT_TRUE(user.LoadUser("Cy", 0, &always, country));
    EXPECT_EQ(always, 0);
    EXPECT_STREQ(country, "GB");
    EXPECT_EQ(fs::file_size(UserFile("Cy")), 676u);
    // The load names the player to continue with on disk at once, so a run
    // that ends in a crash still continues with it.
    EXPECT_STREQ(ResolutionGetSettings()->player_name, "Cy");
    ASSERT_EQ(fs::file_size(SettingsFile()), 424u);
    EXPECT_EQ(std::string(ReadWhole(SettingsFile()).c_str() + 316), "Cy");
}

TEST_F(UserClassTest, DamagedRecordsAreRefusedAndTheCurrentPlayerStays)
{
    std::string good = PlainRecord("Bad");
    struct Case {
        const char *what;
        std::function<void(std::string *)> damage;
        bool enciphered;
        const char *message;
    };
    const Case CASES[] = {
        {"short plain", [](std::string *b) { b->pop_back(); }, false, "Could not load user file (Bad)"},
        {"long plain", [](std::string *b) { b->push_back(0); }, false, "Could not load user file (Bad)"},
        {"short enciphered", [](std::string *b) { b->pop_back(); }, true, "Could not load user file (Bad)"},
        {"long enciphered", [](std::string *b) { b->push_back(0); }, true, "Could not load user file (Bad)"},
        {"plain of version 1.0", [](std::string *b) { Put(b, 0, 1.0f); }, false, "Could not load user file (Bad)"},
        {"enciphered of version 1.0", [](std::string *b) { Put(b, 0, 1.0f); }, true,
         "Invalid version in user file (1.000000 not 2.000000) (Bad)"},
        {"name without its end", [](std::string *b) { b->replace(14, 20, 20, 'N'); }, true,
         "Could not load user file (Bad)"},
        {"country without its end", [](std::string *b) { b->replace(34, 3, "GBR"); }, true,
         "Could not load user file (Bad)"},
        {"version text without its end", [](std::string *b) { b->replace(4, 10, 10, '9'); }, true,
         "Could not load user file (Bad)"},
        {"player id 0", [](std::string *b) { Put<unsigned short>(b, 38, 0); }, true, "Could not load user file (Bad)"},
        {"player id 30001", [](std::string *b) { Put<unsigned short>(b, 38, 30001); }, true,
         "Could not load user file (Bad)"},
    };

    UserClass user(nullptr, "HiveWatcher", 0, UFM_ENCIPHERED_OR_PLAIN);
    ASSERT_TRUE(user.CreateNewUser("Current", "FR", 0));
    std::string before(reinterpret_cast<const char *>(user.GetInfo()), 660);
    for (const Case &c : CASES) {
        SCOPED_TRACE(c.what);
        DebugResetForTests();
        std::string bytes = good;
        if (c.enciphered) {
            // Damage the record, then encipher (the size cases damage the block).
            bool size_case = std::string(c.what).find("short") == 0 || std::string(c.what).find("long") == 0;
            if (!size_case)
                c.damage(&bytes);
            WriteEnciphered("Bad", bytes);
            if (size_case) {
                std::string block = ReadWhole(UserFile("Bad"));
                c.damage(&block);
                WriteWhole(UserFile("Bad"), block);
            }
        } else {
            c.damage(&bytes);
            WriteWhole(UserFile("Bad"), bytes);
        }
        std::string on_disk = ReadWhole(UserFile("Bad"));
        EXPECT_FALSE(user.LoadUser("Bad", 0, nullptr, nullptr));
        EXPECT_TRUE(Logged(c.message)) << LastStored();
        EXPECT_EQ(std::string(reinterpret_cast<const char *>(user.GetInfo()), 660), before);
        EXPECT_TRUE(user.IsLoaded());
        EXPECT_EQ(ReadWhole(UserFile("Bad")), on_disk); // never repaired or rewritten
    }
}

// One value out of its range costs the player nothing but that value: it
// is brought into its range, the player loads, and the next save keeps it
// there.
TEST_F(UserClassTest, OptionsOutOfRangeAreBroughtIntoIt)
{
    const std::string good = PlainRecord("Odd");
    const float NaN = std::numeric_limits<float>::quiet_NaN();
    const float INF = std::numeric_limits<float>::infinity();
    struct Case {
        const char *what;
        size_t offset;
        std::function<void(std::string *)> damage;
        std::function<bool(const _UserOptions &)> loaded;
    };
    const Case CASES[] = {
        {"volume 1.2", 60, [](std::string *b) { Put(b, 60, 1.2f); },
         [](const _UserOptions &o) { return o.sounds_volume == 1.0f; }},
        {"volume below 0", 68, [](std::string *b) { Put(b, 68, -0.5f); },
         [](const _UserOptions &o) { return o.main_music_volume == 0.0f; }},
        {"volume not a number", 80, [NaN](std::string *b) { Put(b, 80, NaN); },
         [](const _UserOptions &o) { return o.game_over_music_volume == 0.5f; }},
        {"volume infinite", 88, [INF](std::string *b) { Put(b, 88, INF); },
         [](const _UserOptions &o) { return o.game_won_music_volume == 1.0f; }},
        {"music position not a number", 72, [NaN](std::string *b) { Put(b, 72, NaN); },
         [](const _UserOptions &o) { return o.main_music_position == 0.0f; }},
        {"music place past its list", 65, [](std::string *b) { (*b)[65] = 7; },
         [](const _UserOptions &o) { return o.main_music_when == 2; }},
        {"sound switch 9", 56, [](std::string *b) { (*b)[56] = 9; },
         [](const _UserOptions &o) { return o.sounds_on == 1; }},
        {"date format past its list", 503, [](std::string *b) { (*b)[503] = 4; },
         [](const _UserOptions &o) { return o.date_format == 1; }},
        {"load count below 0", 508, [](std::string *b) { Put(b, 508, -3); },
         [](const _UserOptions &o) { return o.load_count == 0; }},
    };
    for (const Case &c : CASES) {
        SCOPED_TRACE(c.what);
        DebugResetForTests();
        std::string bytes = good;
        c.damage(&bytes);
        WriteEnciphered("Odd", bytes);
        UserClass user(nullptr, "HiveWatcher", 0, UFM_ENCIPHERED_OR_PLAIN);
        ASSERT_TRUE(user.LoadUser("Odd", 0, nullptr, nullptr)) << LastStored();
        EXPECT_TRUE(c.loaded(user.GetInfo()->options));
        // Everything else is the record as stored.
        std::string loaded(reinterpret_cast<const char *>(user.GetInfo()), 660);
        for (size_t i = 0; i < loaded.size(); i++)
            if (i < c.offset || i >= c.offset + 4)
                ASSERT_EQ(loaded[i], bytes[i]) << "byte " << i;
        UserClass again(nullptr, nullptr, 0, UFM_ENCIPHERED_OR_PLAIN);
        ASSERT_TRUE(again.LoadUser("Odd", 0, nullptr, nullptr));
        EXPECT_EQ(std::string(reinterpret_cast<const char *>(again.GetInfo()), 660), loaded);
    }
}

// A copy of Bob's file, or the file renamed, is loaded under its own name:
// its saves go back to it and Bob's file stays as it was. A name the record
// cannot hold is refused rather than saved elsewhere.
TEST_F(UserClassTest, ARecordIsLoadedUnderTheNameOfItsFile)
{
    std::string bob = PlainRecord("Bob");
    const struct {
        const char *file;
        std::function<void(std::string *)> change;
    } CASES[] = {
        {"Bobcopy", [](std::string *) {}},
        {"Rob", [](std::string *b) { b->replace(14, 6, "Robert"); }},
        {"Empty", [](std::string *b) { b->replace(14, 20, 20, '\0'); }},
        {"Outside", [](std::string *b) { b->replace(14, 6, "../x\0\0", 6); }},
    };
    for (const auto &c : CASES) {
        SCOPED_TRACE(c.file);
        std::string bytes = bob;
        c.change(&bytes);
        WriteEnciphered(c.file, bytes);
        const std::string bob_file = ReadWhole(UserFile("Bob"));
        UserClass user(nullptr, "HiveWatcher", 1, UFM_ENCIPHERED_OR_PLAIN);
        ASSERT_TRUE(user.LoadUser(c.file, 0, nullptr, nullptr));
        EXPECT_EQ(std::string(user.GetInfo()->name, sizeof(user.GetInfo()->name)),
                  std::string(c.file) + std::string(sizeof(user.GetInfo()->name) - std::strlen(c.file), '\0'));
        EXPECT_EQ(user.GetInfo()->player_id, At<unsigned short>(bob, 38)) << "the rest is the record's own";
        user.GetInfo()->options.cpu_usage = 1;
        ASSERT_TRUE(user.Save(1));
        EXPECT_EQ(ReadWhole(UserFile("Bob")), bob_file);
        EXPECT_STREQ(ResolutionGetSettings()->player_name, c.file);
        UserClass check(nullptr, nullptr, 0, UFM_ENCIPHERED_OR_PLAIN);
        ASSERT_TRUE(check.LoadUser(c.file, 0, nullptr, nullptr));
        EXPECT_EQ(check.GetInfo()->options.cpu_usage, 1);
    }

    const std::string name20(20, 'b');
    WriteEnciphered(name20, bob);
    UserClass user(nullptr, "HiveWatcher", 1, UFM_ENCIPHERED_OR_PLAIN);
    EXPECT_FALSE(user.LoadUser(name20.c_str(), 0, nullptr, nullptr));
    EXPECT_EQ(LastStored(), ErrorLine("UserClass::LoadUser", ("Could not load user file (" + name20 + ")").c_str()));
    EXPECT_FALSE(fs::exists(UserFile(name20.substr(0, 19))));
}

TEST_F(UserClassTest, PlainModeReportsAWrongSize)
{
    std::string bytes = PlainRecord("Dee");
    bytes.pop_back();
    WriteWhole(UserFile("Dee"), bytes);
    UserClass user(nullptr, nullptr, 0, UFM_PLAIN);
    EXPECT_FALSE(user.LoadUser("Dee", 0, nullptr, nullptr));
    EXPECT_EQ(LastStored(), ErrorLine("UserClass::LoadUser", "Invalid user size (Dee)"));
}

TEST_F(UserClassTest, MissingFileIsReportedOnlyWhenNotJustChecking)
{
    UserClass user(nullptr, nullptr, 0, UFM_ENCIPHERED_OR_PLAIN);
    EXPECT_FALSE(user.LoadUser("Nobody", 1, nullptr, nullptr));
    EXPECT_EQ(DebugGetNumMessages(), 0);
    EXPECT_FALSE(user.LoadUser("Nobody", 0, nullptr, nullptr));
    EXPECT_EQ(LastStored(), ErrorLine("UserClass::LoadUser", "User file does not exist <Nobody>"));
    EXPECT_FALSE(user.IsLoaded());
}

TEST_F(UserClassTest, CheckOnlyLeavesThePlayerObjectAlone)
{
    PlainRecord("Eve");
    UserClass user(nullptr, nullptr, 0, UFM_ENCIPHERED_OR_PLAIN);
    char country[3] = {};
    EXPECT_TRUE(user.LoadUser("Eve", 1, nullptr, country));
    EXPECT_STREQ(country, "GB");
    EXPECT_FALSE(user.IsLoaded());
    EXPECT_EQ(fs::file_size(UserFile("Eve")), 660u); // not rewritten
}

TEST_F(UserClassTest, AFailedSaveIsReportedAndKeepsThePreviousFile)
{
    UserClass user(nullptr, "HiveWatcher", 0, UFM_ENCIPHERED);
    ASSERT_TRUE(user.CreateNewUser("Fay", "DE", 0));
    ASSERT_TRUE(user.Save(1));
    std::string before = ReadWhole(UserFile("Fay"));
    user.GetInfo()->options.cpu_usage = 1;

    // The new file cannot take the old one's place.
    PlatformSetRenameFunction(FailingRename);
    EXPECT_FALSE(user.Save(1));
    EXPECT_EQ(LastStored(), ErrorLine("UserClass::Save", "Error writing to user file"));
    EXPECT_EQ(ReadWhole(UserFile("Fay")), before);
    EXPECT_FALSE(fs::exists(UsersFolder() / "Fay.usr.tmp"));
    PlatformSetRenameFunction(nullptr);

    // The new file cannot even be made (something else holds its name).
    fs::create_directories(UsersFolder() / "Fay.usr.tmp" / "in the way");
    EXPECT_FALSE(user.Save(1));
    EXPECT_EQ(ReadWhole(UserFile("Fay")), before);

    UserClass plain(nullptr, nullptr, 0, UFM_PLAIN);
    ASSERT_TRUE(plain.CreateNewUser("Fay", "DE", 0));
    EXPECT_FALSE(plain.Save(1));
    EXPECT_EQ(LastStored(), ErrorLine("UserClass::Save", "Could not create user file"));
    EXPECT_EQ(ReadWhole(UserFile("Fay")), before);

    // The player is told of the first failure only: the disk that failed
    // one save fails the next.
    ASSERT_EQ(TestHooks::message_boxes.size(), 1u);
    EXPECT_EQ(TestHooks::message_boxes[0].caption, "Problem Saving Player");
}

TEST_F(UserClassTest, NamesAreCutToTheirFieldAndLongOnesRefused)
{
    EngProgram program;
    std::string name19(19, 'a'), name20(20, 'b'), name21(21, 'c');
    UserClass user(nullptr, "HiveWatcher", 0, UFM_ENCIPHERED_OR_PLAIN);
    ASSERT_TRUE(user.CreateNewUser(name19.c_str(), "US", 0));
    EXPECT_EQ(std::string(user.GetInfo()->name), name19);

    ASSERT_TRUE(user.CreateNewUser(name20.c_str(), "US", 0));
    EXPECT_EQ(std::string(user.GetInfo()->name), name20.substr(0, 19));
    ASSERT_TRUE(user.Save(1));
    EXPECT_TRUE(fs::exists(UserFile(name20.substr(0, 19))));

    char path[USER_FILENAME_SIZE];
    EXPECT_NE(UserGetUserFileName(name20.c_str(), path, nullptr), nullptr);
    EXPECT_EQ(UserGetUserFileName(name21.c_str(), path, nullptr), nullptr);
    EXPECT_EQ(LastStored(), ErrorLine("UserGetUserFileName", "Invlalid name parameter"));

    EXPECT_FALSE(program.GetExitFlag());
    EXPECT_FALSE(user.CreateNewUser(name21.c_str(), "US", 0));
    EXPECT_EQ(LastStored(), ErrorLine("UserClass::CreateNewUser", "Invalid name or country"));
    EXPECT_TRUE(program.GetExitFlag());
}

TEST_F(UserClassTest, FileNamesStayInTheUsersFolderAndSpeakTheSystemsText)
{
    char path[USER_FILENAME_SIZE];
    const char *const UNSAFE[] = {"..", ".", "a/b", "a\\b"};
    for (const char *name : UNSAFE)
        EXPECT_EQ(UserGetUserFileName(name, path, nullptr), nullptr) << name;
    EXPECT_EQ(std::string(UserGetUserFileName("", path, nullptr)), "");
    EXPECT_EQ(LastStored(), ErrorLine("UserGetUserFileName", "No name"));
    EXPECT_EQ(std::string(UserGetUserFileName("Bob", path, "_SavedGame00.dat")),
              std::string(PrefFolderGetMainFolder()) + "\\Users\\Bob_SavedGame00.dat");

    // A 1252 name becomes UTF-8 once, on the disk.
    SavePlayer("Jos\xe9", UFM_ENCIPHERED);
    EXPECT_TRUE(fs::exists(UsersFolder() / "Jos\xc3\xa9.usr"));
    UserClass user(nullptr, nullptr, 0, UFM_ENCIPHERED_OR_PLAIN);
    EXPECT_TRUE(user.LoadUser("Jos\xe9", 0, nullptr, nullptr));
    EXPECT_STREQ(user.GetInfo()->name, "Jos\xe9");
}

class UserFilesTest : public UserClassTest {
protected:
    const std::vector<std::string> FILES = {"Bob.usr",       "Bob.bak",       "Bob_SavedGame00.dat",
                                            "Bob_SavedGame13.dat", "Bob_SavedGame010.dat", "Bobby.usr",
                                            "Bobby_SavedGame00.dat"};

    void SetUp() override
    {
        UserClassTest::SetUp();
        fs::create_directories(UsersFolder());
        for (const std::string &file : FILES)
            WriteWhole(UsersFolder() / file, file);
    }

    std::vector<std::string> Remaining()
    {
        std::vector<std::string> names;
        for (const char *file : {"Bob.usr", "Bob.bak", "Bob_SavedGame00.dat", "Bob_SavedGame13.dat",
                                        "Bob_SavedGame010.dat", "Bobby.usr", "Bobby_SavedGame00.dat", "Rob.usr",
                                        "Rob.bak"})
            if (fs::exists(UsersFolder() / file))
                names.push_back(file);
        return names;
    }
};

TEST_F(UserFilesTest, DeletingAPlayerTakesItsFilesAndSavedGames)
{
    EXPECT_TRUE(UserDeleteUser("Bob", 0));
    EXPECT_EQ(Remaining(), (std::vector<std::string>{"Bobby.usr", "Bobby_SavedGame00.dat"}));
    EXPECT_TRUE(Logged("Deleting user Bob"));
}

TEST_F(UserFilesTest, ResettingAPlayerTakesOnlyItsRecord)
{
    EXPECT_TRUE(UserDeleteUser("Bob", 1));
    EXPECT_EQ(Remaining(), (std::vector<std::string>{"Bob.bak", "Bob_SavedGame00.dat", "Bob_SavedGame13.dat",
                                                     "Bob_SavedGame010.dat", "Bobby.usr", "Bobby_SavedGame00.dat"}));
    EXPECT_TRUE(Logged("Reseting user Bob"));
    EXPECT_FALSE(UserDeleteUser("Bob", 1));
    EXPECT_EQ(LastStored(), ErrorLine("UserDeleteUser", "User <Bob> does not exist."));
}

TEST_F(UserFilesTest, RenamingMovesNameDotFilesOnly)
{
    EXPECT_TRUE(UserRenameUser("Bob", "Rob"));
    EXPECT_EQ(Remaining(), (std::vector<std::string>{"Bob_SavedGame00.dat", "Bob_SavedGame13.dat",
                                                     "Bob_SavedGame010.dat", "Bobby.usr", "Bobby_SavedGame00.dat",
                                                     "Rob.usr", "Rob.bak"}));
    EXPECT_EQ(ReadWhole(UsersFolder() / "Rob.bak"), "Bob.bak");

    struct Case {
        const char *from, *to, *message;
    };
    const Case REFUSED[] = {
        {"Rob", "Rob", "Names are the same."},
        {"Bob", "Sue", "Old user <Bob> does not exist."},
        {"Rob", "Bobby", "New user <Bobby> exists."},
    };
    for (const Case &c : REFUSED) {
        EXPECT_FALSE(UserRenameUser(c.from, c.to)) << c.from;
        EXPECT_EQ(LastStored(), ErrorLine("UserRenameUser", c.message));
    }
    EXPECT_TRUE(fs::exists(UsersFolder() / "Rob.usr"));
}

TEST_F(UserClassTest, GameVersionIsReadFromTheRecordsText)
{
    UserClass user(nullptr, nullptr, 0, UFM_PLAIN);
    _UserInfo record = {};
    struct Case {
        const char *text;
        float version;
        std::string logged;
    };
    const Case CASES[] = {
        {"2010", 2.01f, ""},
        {"1500", 1.5f, ""},
        {"", 0.0f, "No game version set."},
        {"0", 0.0f, DebugGetCodeText('OPFA')},
        {"-5", 0.0f, DebugGetCodeText('OPFA')},
    };
    for (const Case &c : CASES) {
        DebugResetForTests();
        std::snprintf(record.game_version, sizeof(record.game_version), "%s", c.text);
        EXPECT_FLOAT_EQ(user.GetGameVersion(&record), c.version) << c.text;
        if (!c.logged.empty()) {
            EXPECT_TRUE(Logged(c.logged)) << c.text;
        } else {
            EXPECT_EQ(DebugGetNumMessages(), 0) << c.text;
        }
    }
}

TEST_F(UserClassTest, AlwaysLoadNeedsALoadedPlayer)
{
    UserClass user(nullptr, nullptr, 0, UFM_PLAIN);
    user.AlwaysLoadThisUser(1);
    EXPECT_EQ(LastStored(), ErrorLine("UserClass::AlwaysLoadThisUser", "User not loaded."));
    ASSERT_TRUE(user.CreateNewUser("Gil", "IE", 0));
    user.AlwaysLoadThisUser(1);
    EXPECT_EQ(user.GetInfo()->options.always_load, 1);
    user.UnloadUser();
    EXPECT_FALSE(user.IsLoaded());
    EXPECT_EQ(user.GetInfo()->options.always_load, 0);
    EXPECT_FALSE(user.Save(1)); // nothing loaded, nothing written
    EXPECT_FALSE(fs::exists(UserFile("Gil")));
}

// The game's steps after a load, in order, as the program connects them.
std::vector<std::string> finish_steps;

TEST_F(UserClassTest, FinishingANewPlayerSavesItThenHandsOver)
{
    finish_steps.clear();
    modules_hooks.after_user_loaded = [](char is_new, char quiet) {
        finish_steps.push_back(std::string("after ") + char('0' + is_new) + char('0' + quiet) +
                               (fs::exists(UsersFolder() / "Hal.usr") ? " saved" : " unsaved"));
    };
    modules_hooks.free_load_list = [] { finish_steps.push_back("free list"); };
    modules_hooks.splash_end = [] { finish_steps.push_back("splash end"); };
    UserClass user(nullptr, "HiveWatcher", 1, UFM_ENCIPHERED_OR_PLAIN);
    ASSERT_TRUE(user.CreateNewUser("Hal", "NZ", 0));
    EXPECT_FALSE(fs::exists(UserFile("Hal")));
    user.FinishLoading(1, 0);
    EXPECT_EQ(finish_steps, (std::vector<std::string>{"after 10 saved", "free list", "splash end"}));
    EXPECT_EQ(fs::file_size(UserFile("Hal")), 676u);
    EXPECT_EQ(std::string(ResolutionGetSettings()->player_name), "Hal");
}

TEST_F(UserClassTest, TheAccountIsNeverSignedIn)
{
    UserClass user(nullptr, "HiveWatcher", 0, UFM_PLAIN);
    ASSERT_TRUE(user.CreateNewUser("Ivy", "CA", 0));
    ASSERT_NE(user.GetAccount(), nullptr);
    EXPECT_FALSE(user.GetAccount()->IsSignedIn());
    EXPECT_FALSE(user.GetAccount()->LoadFromUserFile("Ivy"));
    EXPECT_FALSE(user.GetAccount()->SaveToUserFile("Ivy"));
    EXPECT_TRUE(Logged(DebugGetCodeText('FILL')));
    EXPECT_TRUE(user.SaveAccount(1));
}

} // namespace
