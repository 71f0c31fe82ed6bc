#include "modules/Resolution.h"
#include "modules/ModulesFiles.h"
#include "engine/runtime/EngProgram.h"
#include "tests/modules/ModulesTestSupport.h"

#include <functional>

namespace {

using namespace modules_test;

class ResolutionTest : public ModulesTest {
protected:
    // A valid block as a file: defaults, windowed 800 x 600 at 16 bits,
    // full screen 1280 x 1024 at 75 Hz, mouse synchronisation off.
    std::string ValidFile()
    {
        ResolutionSetDefaults();
        _ResolutionSettings *s = ResolutionGetSettings();
        s->show_dialog = 0;
        s->windowed = 1;
        s->windowed_width = 800;
        s->windowed_height = 600;
        s->windowed_bits = 16;
        s->full_screen_width = 1280;
        s->full_screen_height = 1024;
        s->full_screen_refresh_rate = 75;
        s->windowed_aa_type = 4;
        s->mouse_sync = 0;
        s->internet_test[0] = 1;
        std::string bytes(reinterpret_cast<const char *>(s), sizeof(*s));
        *s = _ResolutionSettings{};
        return bytes;
    }

    static std::string Block()
    {
        return std::string(reinterpret_cast<const char *>(ResolutionGetSettings()), sizeof(_ResolutionSettings));
    }

    static std::string Defaults()
    {
        ResolutionSetDefaults();
        std::string bytes = Block();
        *ResolutionGetSettings() = _ResolutionSettings{};
        return bytes;
    }

    void WriteSettings(const std::string &bytes)
    {
        fs::create_directories(ProductFolder());
        WriteWhole(SettingsFile(), bytes);
    }
};

TEST_F(ResolutionTest, DefaultsAreFullScreenOnTheWholeDesktopAndAskForTheDialog)
{
    EXPECT_FALSE(ResolutionLoadSettings());
    const _ResolutionSettings &s = *ResolutionGetSettings();
    EXPECT_EQ(s.settings_version, 1.5f);
    EXPECT_EQ(s.program_version, 2.01f);
    EXPECT_EQ(s.show_dialog, 1);
    EXPECT_EQ(s.windowed, 0);
    EXPECT_EQ(s.window_x, -1);
    EXPECT_EQ(s.windowed_width, 1024);
    EXPECT_EQ(s.windowed_height, 768);
    EXPECT_EQ(s.full_screen_width, 1920); // the whole desktop, not the work area
    EXPECT_EQ(s.full_screen_height, 1080);
    EXPECT_EQ(s.full_screen_refresh_rate, 60);
    EXPECT_STREQ(s.language, "English");
    EXPECT_EQ(s.mouse_sync, 2);
    EXPECT_EQ(s.cursor_type, 1);
    EXPECT_EQ(s.music_on, 1);
    EXPECT_EQ(s.internet_test[0], -1);
    EXPECT_EQ(s.reserved_356[1], 1);
    EXPECT_FALSE(fs::exists(SettingsFile())); // loading writes nothing
}

TEST_F(ResolutionTest, SavedFileIsTheBlockAndLoadsBackApplied)
{
    EngProgram program;
    WriteSettings(ValidFile());
    ASSERT_TRUE(ResolutionLoadSettings());
    std::string loaded = Block();
    ASSERT_TRUE(ResolutionSaveSettings());
    std::string bytes = ReadWhole(SettingsFile());
    ASSERT_EQ(bytes.size(), 424u);
    EXPECT_EQ(bytes, loaded);
    EXPECT_EQ(At<float>(bytes, 0), 1.5f);
    EXPECT_EQ(At<float>(bytes, 4), 2.01f);
    EXPECT_EQ(bytes[20], 1);
    EXPECT_EQ(At<int>(bytes, 32), 800);
    EXPECT_EQ(At<int>(bytes, 56), 75);
    EXPECT_EQ(std::string(bytes.c_str() + 78), "English");
    EXPECT_FALSE(fs::exists(ProductFolder() / "Resolution.dat.tmp"));

    // Applied: the engine's screen, the program's mouse synchronisation and
    // the main window's create parameters (windowed: the refresh rate stays).
    EXPECT_EQ(eng_screen_windowed, 1);
    EXPECT_EQ(eng_screen_width, 800);
    EXPECT_EQ(eng_screen_bits, 16);
    EXPECT_EQ(eng_screen_aa_type, 4);
    EXPECT_EQ(program.GetSyncWithGpuMethod(), -1);
    EXPECT_EQ(window_parms.windowed, 1);
    EXPECT_EQ(window_parms.x, -1);
    EXPECT_EQ(window_parms.width, 800);
    EXPECT_EQ(window_parms.aa_type, 4);
}

TEST_F(ResolutionTest, DamagedFilesAreRefusedWholeForTheDefaults)
{
    std::string good = ValidFile();
    struct Case {
        const char *what;
        std::function<void(std::string *)> damage;
        bool reported;
    };
    const Case CASES[] = {
        {"423 bytes", [](std::string *b) { b->pop_back(); }, false},
        {"425 bytes", [](std::string *b) { b->push_back(0); }, false},
        {"settings version 1.4", [](std::string *b) { Put(b, 0, 1.4f); }, false},
        {"language without its end", [](std::string *b) { b->replace(78, 64, 64, 'E'); }, true},
        {"player name without its end", [](std::string *b) { b->replace(316, 32, 32, 'P'); }, true},
        {"windowed width 0", [](std::string *b) { Put(b, 32, 0); }, true},
        {"full-screen depth -32", [](std::string *b) { Put(b, 52, -32); }, true},
        {"mouse synchronisation 3", [](std::string *b) { Put(b, 144, 3); }, true},
        {"cursor type 2", [](std::string *b) { (*b)[148] = 2; }, true},
        {"windowed flag 7", [](std::string *b) { (*b)[20] = 7; }, true},
        {"internet test -2", [](std::string *b) { (*b)[312] = -2; }, true},
        {"check date in month 13", [](std::string *b) {
             Put(b, 12, 2024);
             (*b)[16] = 13;
             (*b)[17] = 1;
         }, true},
    };
    std::string defaults = Defaults();
    for (const Case &c : CASES) {
        SCOPED_TRACE(c.what);
        DebugResetForTests();
        std::string bytes = good;
        c.damage(&bytes);
        WriteSettings(bytes);
        EXPECT_FALSE(ResolutionLoadSettings());
        EXPECT_EQ(Block(), defaults);
        EXPECT_EQ(ReadWhole(SettingsFile()), bytes);
        EXPECT_EQ(Logged("Bad resolution values"), c.reported);
    }
}

TEST_F(ResolutionTest, AnotherProgramVersionForgetsOnlyTheInternetTest)
{
    std::string bytes = ValidFile();
    Put(&bytes, 4, 2.0f);
    bytes[314] = 5;
    WriteSettings(bytes);
    ASSERT_TRUE(ResolutionLoadSettings());
    std::string loaded = Block();
    for (size_t i = 0; i < bytes.size(); i++) {
        if (i < 312 || i > 315) {
            EXPECT_EQ(loaded[i], bytes[i]) << "offset " << i;
        }
    }
    EXPECT_EQ(loaded[312], -1);
    EXPECT_EQ(loaded[313], -1);
    EXPECT_EQ(loaded[314], 0);
    EXPECT_EQ(loaded[315], 0);
    EXPECT_EQ(ReadWhole(SettingsFile()), bytes); // only in memory
}

TEST_F(ResolutionTest, AFailedSaveShowsItsBoxAndKeepsThePreviousFile)
{
    WriteSettings(ValidFile());
    ASSERT_TRUE(ResolutionLoadSettings());
    std::string before = ReadWhole(SettingsFile());
    ResolutionGetSettings()->cursor_type = 0;
    // The box names the file as the system does, folders split by "/".
    const std::string name = SettingsFile().string();
    ASSERT_EQ(name.find('\\'), std::string::npos);

    PlatformSetRenameFunction(FailingRename);
    EXPECT_FALSE(ResolutionSaveSettings());
    ASSERT_EQ(TestHooks::message_boxes.size(), 1u);
    EXPECT_EQ(TestHooks::message_boxes[0].caption, "Problem Writing to Resolution File");
    EXPECT_EQ(TestHooks::message_boxes[0].text, "Could not write to file  " + name + "  .");
    EXPECT_EQ(ReadWhole(SettingsFile()), before);
    // A full or read-only disk fails every save: the player is told once a
    // run, the log keeps each.
    EXPECT_FALSE(ResolutionSaveSettings());
    EXPECT_EQ(TestHooks::message_boxes.size(), 1u);
    int logged = 0;
    for (const std::string &stored : StoredLines())
        logged += stored.find("Problem Writing to Resolution File: Could not write to file") != std::string::npos;
    EXPECT_EQ(logged, 2);
    PlatformSetRenameFunction(nullptr);

    ModulesResetWriteFailureForTests();
    fs::create_directories(ProductFolder() / "Resolution.dat.tmp" / "in the way");
    EXPECT_FALSE(ResolutionSaveSettings());
    ASSERT_EQ(TestHooks::message_boxes.size(), 2u);
    EXPECT_EQ(TestHooks::message_boxes[1].caption, "Problem Creating to Resolution File");
    EXPECT_EQ(TestHooks::message_boxes[1].text,
              "Could not create file  " + name + "  . \n\n Ensure the disk is not full and has writing permission.");
    EXPECT_EQ(ReadWhole(SettingsFile()), before);
    EXPECT_EQ(ResolutionGetSettings()->cursor_type, 0); // the block stays as it is
}

TEST_F(ResolutionTest, TheRunningStateIsCopiedBack)
{
    ResolutionSetDefaults();
    ResolutionUpdateSettingsFromCurrent();
    EXPECT_EQ(LastStored(), ErrorLine("ResolutionUpdateSettingsFromCurrent", "No main program"));

    EngProgram program;
    program.SetSyncWithGpuMethod(1, 0, 1);
    ResolutionSetDefaults();
    eng_screen_windowed = 0;
    eng_screen_width = 1280;
    eng_screen_height = 720;
    eng_screen_bits = 32;
    eng_screen_refresh_rate = 50;
    eng_screen_aa_type = 2;
    ResolutionUpdateSettingsFromCurrent();
    const _ResolutionSettings &s = *ResolutionGetSettings();
    EXPECT_EQ(s.windowed, 0);
    EXPECT_EQ(s.full_screen_width, 1280);
    EXPECT_EQ(s.full_screen_refresh_rate, 50);
    EXPECT_EQ(s.full_screen_aa_type, 2);
    EXPECT_EQ(s.windowed_width, 1024); // the window's own numbers stay
    EXPECT_EQ(s.mouse_sync, 1);

    // A window larger than the work area is cut to it.
    eng_screen_windowed = 1;
    eng_screen_width = 4000;
    eng_screen_height = 3000;
    ResolutionUpdateSettingsFromCurrent();
    EXPECT_EQ(s.windowed_width, 1920);
    EXPECT_EQ(s.windowed_height, 1040);
}

TEST_F(ResolutionTest, NothingRunsBeforeTheModuleIsSetUp)
{
    ResolutionResetForTests();
    EngProgram program;
    EXPECT_FALSE(ResolutionLoadSettings());
    EXPECT_FALSE(ResolutionDoWeeklyVersionCheck());
    EXPECT_EQ(ResolutionDoDialog(), 0);
    EXPECT_EQ(StoredLines(), (std::vector<std::string>{ErrorLine("ResolutionLoadSettings", "Module not setup"),
                                                       ErrorLine("ResolutionDoWeeklyVersionCheck", "Module not setup"),
                                                       ErrorLine("ResolutionDoDialog", "Module not setup")}));
}

TEST_F(ResolutionTest, TheWeeklyCheckAsksTheUpdaterAndAlwaysSaves)
{
    // Checked two days ago: the updater waits, and the file is written all the same.
    ResolutionSetDefaults();
    _EngMiscDate checked;
    EngMiscGetCurrentDate(&checked);
    EngMiscGetPreviousDay(&checked);
    EngMiscGetPreviousDay(&checked);
    ResolutionGetSettings()->last_update_check = checked;
    ASSERT_TRUE(ResolutionSaveSettings());
    EXPECT_FALSE(ResolutionDoWeeklyVersionCheck());
    std::string bytes = ReadWhole(SettingsFile());
    EXPECT_EQ(At<int>(bytes, 12), checked.year);
    EXPECT_EQ(bytes[16], checked.month);
    EXPECT_EQ(bytes[17], checked.day);

    // The program without updates neither checks nor saves.
    fs::remove(SettingsFile());
    ResolutionSetup(17, 0, 2.01f, 1.5f, nullptr, 0, 1, 0, 0, 0);
    EXPECT_FALSE(ResolutionDoWeeklyVersionCheck());
    EXPECT_FALSE(fs::exists(SettingsFile()));
}

} // namespace
