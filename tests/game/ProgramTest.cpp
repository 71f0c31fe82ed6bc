// The program object and its start-up: the exit codes of the start, the
// one-time module set-up, the identity values, the modules' item table and
// the texture-name hooks, and when the start-up settings dialog opens.
#include "game/Program.h"

#include "engine/runtime/EngMain.h"
#include "modules/ModulesHooks.h"
#include "platform/ui/UiWindow.h"
#include "platform/win32/Win32Files.h"
#include "tests/game/GameTestSupport.h"

#include <cstring>
#include <map>
#include <new>

namespace {

using namespace game_test;
using namespace modules_test;

// A program whose start-up answers a chosen value.
signed char init_answer = 1;
class AnsweringProgram : public Program {
public:
    char InitCB(const char *) override { return init_answer; }
};
Program *MakeAnsweringProgram()
{
    return new AnsweringProgram();
}
Program *FailAllocation()
{
    return nullptr;
}

class ProgramTest : public GameTestBase {};

TEST_F(ProgramTest, StartAnswersAndExitCodes)
{
    struct Case {
        const char *what;
        ProgramFactoryCB factory;
        signed char answer;
        char result;
        int exit_code;
        const char *logged;
    } cases[] = {
        {"started", MakeAnsweringProgram, 1, 1, 77, nullptr},
        {"quiet end", MakeAnsweringProgram, -1, 0, 0, nullptr},
        {"failed start", MakeAnsweringProgram, 0, 0, -1, "Init Failed"},
        {"no memory", FailAllocation, 1, 0, -1, "No memory"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        ResetEngineForTest();
        ProgramSetFactoryForTests(c.factory);
        init_answer = c.answer;
        int exit_code = 77;
        char command_line[] = "";
        EXPECT_EQ(MainCreateAndInitMainProgram(nullptr, command_line, &exit_code), c.result);
        EXPECT_EQ(exit_code, c.exit_code);
        if (c.logged) {
            EXPECT_TRUE(LogHas(c.logged));
        }
        EXPECT_EQ(main_program != nullptr, c.factory != FailAllocation);
        MainDeleteMainProgram(c.result);
        EXPECT_EQ(main_program, nullptr);
        EXPECT_TRUE(LogHas("Exited program."));
        EXPECT_TRUE(LogHas(std::string(54, '-')));
    }
}

// Every file below the per-user folder with its bytes.
std::map<std::string, std::string> FolderFiles()
{
    std::map<std::string, std::string> files;
    for (const auto &entry : fs::recursive_directory_iterator(ProductFolder()))
        if (entry.is_regular_file())
            files[entry.path().string()] = ReadWhole(entry.path());
    return files;
}

// One program at a time on a per-user folder: while another holds it, a
// start says so in a message box and ends quietly (exit code 0) without
// changing a byte there, its log included; the program that holds the
// folder releases it when it ends.
TEST_F(ProgramTest, ASecondProgramOnTheFolderTouchesNothing)
{
    ResetEngineForTest();
    ProgramSetFactoryForTests(MakeAnsweringProgram);
    init_answer = 1;
    fs::create_directories(UsersFolder());
    WriteWhole(ProductFolder() / "LogFile.txt", "the first program's log\n");
    WriteWhole(SettingsFile(), std::string(424, '\1'));
    WriteWhole(UsersFolder() / "Bob.usr", "Bob");
    const std::string lock_file = (ProductFolder() / "HiveWatcher.lock").string();
    const int first = PlatformLockFile(lock_file.c_str());
    ASSERT_GE(first, 0);
    const auto before = FolderFiles();

    int exit_code = 77;
    char command_line[] = "";
    EXPECT_EQ(MainCreateAndInitMainProgram(nullptr, command_line, &exit_code), 0);
    EXPECT_EQ(exit_code, 0);
    EXPECT_EQ(main_program, nullptr);
    MainDeleteMainProgram(0);
    ASSERT_EQ(TestHooks::message_boxes.size(), 1u);
    EXPECT_EQ(TestHooks::message_boxes[0].caption, "Hive Watcher");
    EXPECT_NE(TestHooks::message_boxes[0].text.find("already running"), std::string::npos);
    EXPECT_EQ(FolderFiles(), before);

    // Once the first has ended, the next start holds the folder until its end.
    PlatformUnlockFile(first);
    ASSERT_EQ(MainCreateAndInitMainProgram(nullptr, command_line, &exit_code), 1);
    EXPECT_EQ(PlatformLockFile(lock_file.c_str()), PLATFORM_LOCK_HELD);
    MainDeleteMainProgram(1);
    const int after = PlatformLockFile(lock_file.c_str());
    EXPECT_GE(after, 0);
    PlatformUnlockFile(after);
    EXPECT_EQ(TestHooks::message_boxes.size(), 1u);
}

TEST_F(ProgramTest, ModulesAreSetUpOnce)
{
    ResolutionResetForTests();
    MainInitModules();
    EXPECT_EQ(ResolutionGetSetup()->program_id, 3);
    EXPECT_EQ(ResolutionGetSetup()->program_version, 2.01f);
    EXPECT_EQ(ResolutionGetSetup()->settings_version, 1.5f);
    EXPECT_EQ(ResolutionGetSetup()->music_choice, 1);
    ResolutionResetForTests();
    MainInitModules();
    EXPECT_EQ(ResolutionGetSetup()->program_id, 0) << "a second call does nothing";
}

TEST_F(ProgramTest, IdentityValues)
{
    EXPECT_STREQ(MainGetProgramName(), "Hive Watcher");
    EXPECT_STREQ(MainGetWindowClassName(), "HiveWatcherClass");
    EXPECT_EQ(MainGetProgramVersion(), 2.01f);
    EXPECT_EQ(MainGetUserFileVersion(), 2.0f);
    const _EngCreateWindowParms *p = MainGetCreateWindowParms();
    EXPECT_EQ(p->x, -1);
    EXPECT_EQ(p->y, -1);
    EXPECT_EQ(p->width, 1024);
    EXPECT_EQ(p->height, 768);
    EXPECT_EQ(p->bits, 32);
    EXPECT_EQ(p->windowed, 1);
    EXPECT_EQ(p->refresh_rate, 60);
    EXPECT_STREQ(p->class_name, "EngineClass");
    EXPECT_EQ(MainGetWebPageAddress(0), nullptr);
    EXPECT_EQ(MainGetWebPageAddress(3), nullptr);
    ASSERT_NE(MainGetWebPageAddress(1), nullptr);
    std::string home = MainGetWebPageAddress(1);
    ASSERT_NE(MainGetWebPageAddress(2), nullptr);
    EXPECT_NE(home, MainGetWebPageAddress(2));
}

TEST_F(ProgramTest, ItemTable)
{
    const struct {
        int item;
        const char *file;
    } cases[] = {
        {MI_BACKGROUND_PICTURE, "Data/1021.dat"}, {MI_LOGO_PICTURE, "Data/1611.dat"},
        {MI_MAKER_RING, "Data/1612.dat"},         {MI_MAKER_TEXT, "Data/1613.dat"},
        {MI_TEX_EFFECTS, "Data/1614.dat"},        {MI_MENU_BG, "Data/1615.dat"},
        {MI_BACKGROUND_TEXTURE, ""},              {MI_BUTTON_TEXT, ""},
        {MI_MISC, ""},                            {99, ""},
    };
    for (const auto &c : cases) {
        DebugResetForTests();
        EXPECT_STREQ(Program_GetModulesItemFilenameCB(c.item), c.file) << c.item;
        EXPECT_EQ(LogHas("Unexpected item " + std::to_string(c.item)), c.file[0] == 0) << c.item;
    }
}

TEST_F(ProgramTest, TextureNamesGoToTheirFilesCaseSensitive)
{
    ModulesSetup(nullptr, Program_GetModulesItemFilenameCB);
    ModulesInstallEngPictureTextureFileOverwriteCB(Program_SetEngPictureTextureFileOverwriteCB);
    const struct {
        const char *texture;
        char result;
        const char *file;
        const char *logged;
    } cases[] = {
        {"LichenRing.png", 1, "Data/1612.dat", nullptr},
        {"LwText.png", 1, "Data/1613.dat", nullptr},
        {"TexEffects1.png", 1, "Data/1614.dat", nullptr},
        {"MenuBg.jpg", 1, "Data/1615.dat", nullptr},
        // Item 13 is not supplied: the empty name, after the item's report.
        {"Misc.png", 1, "", "Unexpected item 13"},
        {"HiveWatcherText.png", 1, "Data/1022.dat", nullptr},
        // Any other case is not the same name.
        {"texeffects1.png", 0, "", "Unexpected file <texeffects1.png>"},
        {"hivewatchertext.png", 0, "", "Unexpected file <hivewatchertext.png>"},
        {"Other.png", 0, "", "Unexpected file <Other.png>"},
    };
    for (const auto &c : cases) {
        DebugResetForTests();
        char out[64] = "";
        EXPECT_EQ(ModulesEngPictureTextureFileOverwriteCB("Pic.ttx", c.texture, out, sizeof(out)), c.result)
            << c.texture;
        EXPECT_STREQ(out, c.file) << c.texture;
        if (c.logged) {
            EXPECT_TRUE(LogHas(c.logged)) << c.texture;
        } else {
            EXPECT_EQ(DebugGetNumMessages(), 0) << c.texture;
        }
    }
    // The copy is bounded by the room given.
    char small[6];
    std::memset(small, 'x', sizeof(small));
    EXPECT_EQ(Program_SetEngPictureTextureFileOverwriteCB(nullptr, "HiveWatcherText.png", small, 5), 1);
    EXPECT_STREQ(small, "Data");
    EXPECT_EQ(small[5], 'x');
}

// The start-up dialog, answered by the test hook with PLAY. The hook runs
// at every idle pump of every native window, the updater's too, so only
// the dialog's first appearance is counted.
int dialogs_shown = 0;
UiWindow *last_dialog = nullptr;
bool IsStartupDialog(UiWindow *window)
{
    char text[64];
    return UiControlGetText(window, 1000, text, sizeof(text));
}
bool CountDialog(UiWindow *window)
{
    if (!IsStartupDialog(window))
        return false;
    if (window != last_dialog)
        dialogs_shown++;
    last_dialog = window;
    return true;
}
void PressPlay(UiWindow *window)
{
    if (CountDialog(window))
        UiTestClick(window, 1000);
}

class StartupTest : public GameTestBase {
protected:
    void SetUp() override
    {
        GameTestBase::SetUp();
        ResolutionSetup(3, 0, 2.01f, 1.5f, MainGetWebPageAddress, 0, 1, 0, 0, 0);
        UiSetTestHook(PressPlay, true);
        dialogs_shown = 0;
        last_dialog = nullptr;
        program = new Program();
        eng_main_program = program;
    }
    void TearDown() override
    {
        program->ExitCB();
        eng_main_program = nullptr;
        delete program;
        GameTestBase::TearDown();
    }

    // A valid file of this version, with the changes.
    void WriteSettings(unsigned char show_dialog, float program_version)
    {
        ResolutionSetDefaults();
        _ResolutionSettings *s = ResolutionGetSettings();
        s->show_dialog = show_dialog;
        s->program_version = program_version;
        s->internet_test[0] = 1;
        // Checked for updates today: no weekly check at start.
        EngMiscGetCurrentDate(&s->last_update_check);
        std::strcpy(s->language, "English");
        fs::create_directories(ProductFolder());
        WriteWhole(SettingsFile(), std::string(reinterpret_cast<const char *>(s), sizeof(*s)));
        *s = _ResolutionSettings{};
    }

    Program *program = nullptr;
};

TEST_F(StartupTest, TheDialogOpensOnlyWhenItMust)
{
    struct Case {
        const char *what;
        const char *command_line;
        bool file;
        unsigned char show_dialog;
        float version;
        bool dialog;
    } cases[] = {
        {"valid file", "", true, 0, 2.01f, false},
        {"no command line", nullptr, true, 0, 2.01f, false},
        {"CONFIGURATION", "CONFIGURATION", true, 0, 2.01f, true},
        {"lower case", "configuration", true, 0, 2.01f, false},
        {"trailing blank", "CONFIGURATION ", true, 0, 2.01f, false},
        {"no file", "", false, 0, 2.01f, true},
        {"byte 8 set", "", true, 1, 2.01f, true},
        {"version 2.00", "", true, 0, 2.0f, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        program->ExitCB();
        fs::remove(SettingsFile());
        if (c.file)
            WriteSettings(c.show_dialog, c.version);
        ResolutionLoadSettings();
        dialogs_shown = 0;
        last_dialog = nullptr;
        EXPECT_EQ(program->InitCB(c.command_line), 1);
        EXPECT_EQ(dialogs_shown, c.dialog ? 1 : 0);
        ASSERT_NE(program->GetGame(), nullptr);
        EXPECT_EQ(main_game, program->GetGame());
        // While the game runs the file asks for the dialog; memory keeps
        // the real value (a start through the dialog keeps the dialog's).
        std::string disk = ReadWhole(SettingsFile());
        ASSERT_EQ(disk.size(), 424u);
        EXPECT_EQ(disk[8], 1);
        EXPECT_EQ(At<float>(disk, 4), 2.01f);
        if (!c.dialog) {
            EXPECT_EQ(ResolutionGetSettings()->show_dialog, 0);
        }
    }
}

// A start that fails once the device is there closes the game down without
// a player: the settings on disk keep asking for the dialog.
TEST_F(StartupTest, AStartThatFailsLeavesTheDialogAskedFor)
{
    WriteSettings(0, 2.01f);
    ResolutionLoadSettings();
    ASSERT_EQ(program->InitCB(""), 1);
    program->GetGame()->PreDestroyDevice();
    EXPECT_EQ(ReadWhole(SettingsFile())[8], 1);
}

TEST_F(StartupTest, ADialogClosedWithoutPlayEndsQuietly)
{
    UiSetTestHook(
        [](UiWindow *window) {
            if (CountDialog(window))
                UiTestCloseBox(window);
        },
        true);
    EXPECT_EQ(program->InitCB("CONFIGURATION"), -1);
    EXPECT_EQ(dialogs_shown, 1);
}

TEST_F(StartupTest, TheModulesAreConnected)
{
    WriteSettings(0, 2.01f);
    ResolutionLoadSettings();
    ASSERT_EQ(program->InitCB(""), 1);
    EXPECT_EQ(ModulesGetParms()->background_source, 2);
    EXPECT_EQ(ModulesGetParms()->show_splash, 1);
    EXPECT_EQ(ModulesGetParms()->logo_source, 0);
    EXPECT_STREQ(ModulesGetItemFilename(MI_LOGO_PICTURE), "Data/1611.dat");
    ASSERT_NE(modules_hooks.get_program_version, nullptr);
    EXPECT_EQ(modules_hooks.get_program_version(), 2.01f);
    EXPECT_EQ(modules_hooks.get_create_window_parms(), MainGetCreateWindowParms());
    EXPECT_NE(modules_hooks.after_user_loaded, nullptr);
    // Without a game every hook that reports success fails.
    program->ExitCB();
    EXPECT_EQ(main_game, nullptr);
    EXPECT_EQ(program->PreDeviceInitCB(), 0);
    EXPECT_EQ(program->PostDeviceInitCB(), 0);
    EXPECT_EQ(program->CreateGraphicsObjectsCB(), 0);
    EXPECT_EQ(program->InputEventCB(1, 0, 0), 0);
    program->RenderCB();
}

} // namespace
