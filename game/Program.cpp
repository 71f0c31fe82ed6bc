// The game's program object and its start-up (see the header).
#include "game/Program.h"

#include "engine/core/EngDebug.h"
#include "engine/core/EngEncryption.h"
#include "engine/core/EngLanguages.h"
#include "engine/core/EngMemory.h"
#include "engine/core/EngMisc.h"
#include "engine/core/EngPrefs.h"
#include "engine/core/EngServers.h"
#include "engine/runtime/EngMain.h"
#include "engine/runtime/EngWindow.h"
#include "game/Game.h"
#include "game/GameNeighbours.h"
#include "game/HW_Screens.h"
#include "gui/MWin.h"
#include "modules/Countries.h"
#include "modules/ModulesHooks.h"
#include "modules/Resolution.h"
#include "modules/Splash.h"
#include "platform/win32/Win32MessageBox.h"
#include "screens/UserLoad.h"
#include "screens/UserScreens.h"

#include <cstdio>
#include <cstring>
#include <new>

Program *main_program = nullptr;
Game *main_game = nullptr;

namespace {

const float kProgramVersion = 2.01f;
const float kUserFileVersion = 2.0f;
const float kSettingsVersion = 1.5f;

// The per-user folder's name, and the file whose lock keeps the folder to
// one program at a time.
const char kProductFolder[] = "Hive Watcher";
const char kLockFile[] = "HiveWatcher.lock";
const char kAlreadyRunningText[] =
    "Hive Watcher is already running for this user.\n\nOnly one copy of the game can use a player's files at a "
    "time, so this one closes without changing them.";

// The main window's parameters before the start-up settings are applied.
_EngCreateWindowParms main_window_parms = {-1, -1, 1024, 768, 32, 1, 60, 0, 0, 0, 0, 0, "EngineClass"};

// The shared modules' items that the game supplies.
const struct {
    int item;
    const char *file;
} modules_items[] = {
    {MI_BACKGROUND_PICTURE, "Data/1021.dat"}, {MI_LOGO_PICTURE, "Data/1611.dat"},
    {MI_MAKER_RING, "Data/1612.dat"},         {MI_MAKER_TEXT, "Data/1613.dat"},
    {MI_TEX_EFFECTS, "Data/1614.dat"},        {MI_MENU_BG, "Data/1615.dat"},
};

// The game's pages on the maker's site, by page number.
const struct {
    int page;
    const char *path;
} web_pages[] = {
    {1, "/games/hive-watcher/"},
    {2, "/forums/hive-watcher/"},
};

char modules_initialised = 0;

Program *MakeProgram()
{
    return new (std::nothrow) Program();
}
ProgramFactoryCB program_factory = MakeProgram;

} // namespace

void ProgramSetFactoryForTests(ProgramFactoryCB factory)
{
    program_factory = factory ? factory : MakeProgram;
}

void MainResetModulesForTests()
{
    modules_initialised = 0;
    main_window_parms = _EngCreateWindowParms{-1, -1, 1024, 768, 32, 1, 60, 0, 0, 0, 0, 0, "EngineClass"};
}

// ---- Identity ----

const char *MainGetProgramName()
{
    return "Hive Watcher";
}

const char *MainGetWindowClassName()
{
    return "HiveWatcherClass";
}

float MainGetProgramVersion()
{
    return kProgramVersion;
}

float MainGetUserFileVersion()
{
    return kUserFileVersion;
}

_EngCreateWindowParms *MainGetCreateWindowParms()
{
    return &main_window_parms;
}

const char *MainGetWebPageAddress(int page)
{
    static char address[512];
    for (const auto &entry : web_pages) {
        if (entry.page == page) {
            std::snprintf(address, sizeof(address), "%s%s", EngServersGetMakerSiteAddress(), entry.path);
            return address;
        }
    }
    return nullptr;
}

const char *Program_GetModulesItemFilenameCB(int item)
{
    for (const auto &entry : modules_items)
        if (entry.item == item)
            return entry.file;
    DebugError("Program_GetModulesItemFilenameCB", "Unexpected item %d", item);
    return "";
}

char Program_SetEngPictureTextureFileOverwriteCB(const char *, const char *texture_file, char *out, int out_size)
{
    if (texture_file && std::strcmp(texture_file, "HiveWatcherText.png") == 0) {
        if (out && out_size > 0)
            EngSafeStrcpy(out, "Data/1022.dat", static_cast<unsigned>(out_size));
        return 1;
    }
    DebugError("Program_SetEngPictureTextureFileOverwriteCB", "Unexpected file <%s>",
               texture_file ? texture_file : "");
    return 0;
}

void ProgramAfterCountryCB(Program *program)
{
    if (program)
        program->AfterCountryChosen();
}

// ---- Start and end ----

void MainInitModules()
{
    if (modules_initialised)
        return;
    EngEncryptionInit("HW_CIPHER_SEED");
    PrefFolderSetup(kProductFolder, 1, "LogFile.txt", 1);
    // Of the dialog's optional lists only "Music" is offered.
    ResolutionSetup(3, 0, kProgramVersion, kSettingsVersion, MainGetWebPageAddress, 0, 1, 0, 0, 0);
    ResolutionLoadSettings();
    modules_initialised = 1;
}

// The shared modules reach the program through these hooks.
static void ConnectModulesHooks()
{
    modules_hooks.get_program_version = MainGetProgramVersion;
    modules_hooks.get_create_window_parms = MainGetCreateWindowParms;
    modules_hooks.after_user_loaded = [](char set_defaults, char skip) {
        if (main_game)
            main_game->AfterUserLoaded(set_defaults, skip);
    };
    modules_hooks.free_load_list = [] {
        if (main_game)
            main_game->GetScreens()->GetUserScreens()->GetUserLoadCC()->FreeUserNameList();
    };
    modules_hooks.splash_end = [] { SplashEnd(); };
    modules_hooks.show_write_failure = [](const char *title, const char *text) {
        if (main_game)
            main_game->ShowWriteFailure(title, text);
        else
            EngMiscShowPopupMessage_PC(EMPT_ERROR, title, text);
    };
}

// Another program on the same per-user folder would save over this one's
// players and saved games: the second one to start says so and ends before
// it touches any file there, the log (which the modules' set-up starts
// anew) included.
static char TakePerUserFolder()
{
    PrefFolderSetup(kProductFolder, 0, nullptr, 1);
    if (PrefFolderTakeLock(kLockFile))
        return 1;
    DebugInfo("Another program uses the per-user folder <%s>.", PrefFolderGetMainFolder());
    MessageBoxA(nullptr, kAlreadyRunningText, MainGetProgramName(), MB_OK | MB_ICONINFORMATION);
    return 0;
}

char MainCreateAndInitMainProgram(void *instance, char *command_line, int *exit_code)
{
    if (!TakePerUserFolder()) {
        *exit_code = 0;
        return 0;
    }
    MainInitModules();
    main_program = program_factory();
    if (!main_program) {
        DebugError("MainCreateAndInitMainProgram", "No memory");
        *exit_code = -1;
        return 0;
    }
    EngMainUpdateProgramTime();
    signed char result = static_cast<signed char>(main_program->Init(instance, command_line));
    if (result < 0) {
        *exit_code = 0;
        return 0;
    }
    if (result == 0) {
        DebugError("MainCreateAndInitMainProgram", "Init Failed");
        *exit_code = -1;
        return 0;
    }
    return 1;
}

void MainDeleteMainProgram(char)
{
    if (main_program) {
        main_program->CloseDown(1);
        delete main_program;
        main_program = nullptr;
    }
    DebugRaw("Exited program.");
    DebugRaw("------------------------------------------------------");
    PrefFolderReleaseLock();
}

// ---- The program object ----

Program::Program() : m_game(nullptr) {}

Program::~Program()
{
    if (m_game) {
        delete m_game;
        m_game = nullptr;
        main_game = nullptr;
    }
}

char Program::InitCB(const char *command_line)
{
    m_game = nullptr;
    _ResolutionSettings *settings = ResolutionGetSettings();
    EngLanguagesSetLangNameStringToEnglish(settings->language, 1, 1);
    if (!EngLanguagesInitWithCommonTexts(settings->language, 1))
        return 0;
    EngLanguagesInitFinished();

    _ModulesParms parms;
    std::memset(&parms, 0, sizeof(parms));
    parms.background_source = 2;
    parms.show_splash = 1;
    if (!ModulesSetup(&parms, Program_GetModulesItemFilenameCB))
        return 0;
    ModulesInstallEngPictureTextureFileOverwriteCB(Program_SetEngPictureTextureFileOverwriteCB);
    ConnectModulesHooks();
    CountrySetup(0, 0, ProgramAfterCountryCB, this, 0.0f, 0.0f);

    m_game = new (std::nothrow) Game(this, "Game", 0);
    main_game = m_game;

    const char wants_dialog = command_line && std::strcmp(command_line, "CONFIGURATION") == 0;
    // The update check saves the settings, stamping this program's version
    // into them: the version of the program that wrote the file is taken
    // first, so that a file of another version still brings the dialog.
    const float stored_version = settings->program_version;
    if (ResolutionDoWeeklyVersionCheck()) {
        settings->show_dialog = 1;
        return -1;
    }
    // The settings are read again here: the update check may have changed them.
    if (wants_dialog || !ResolutionLoadSettings() || settings->show_dialog || stored_version != kProgramVersion) {
        settings->show_dialog = 1;
        signed char answer = ResolutionDoDialog();
        if (answer <= 0)
            return answer;
    }
    // On disk the dialog stays asked for while the game runs, so a start that
    // fails brings it back; the game's own saves write the real value.
    unsigned char show_dialog = settings->show_dialog;
    settings->show_dialog = 1;
    ResolutionUpdateSettingsFromCurrent();
    ResolutionSaveSettings();
    settings->show_dialog = show_dialog;
    return 1;
}

char Program::PreCreateWindowCB(_EngCreateWindowParms *parms)
{
    return m_game ? EngProgram::PreCreateWindowCB(parms) : 0;
}

char Program::PreDeviceInitCB()
{
    if (!m_game)
        return 0;
    if (eng_main_window && ResolutionGetSettings()->cursor_type == 0)
        eng_main_window->SetupTextureCursor_PC("Data/1600.dat", 2, 2, 20, 20, 1, 0, 0);
    return m_game->CreateTexturesAndFonts();
}

char Program::PostDeviceInitCB()
{
    return m_game ? m_game->Post3dInit() : 0;
}

char Program::CreateGraphicsObjectsCB()
{
    return m_game ? m_game->CreateGraphics() : 0;
}

void Program::DestroyGraphicsObjectsCB()
{
    if (m_game)
        m_game->DestroyGraphics();
}

char Program::TickCB()
{
    if (!eng_device)
        return 0;
    if (eng_main_window && m_game)
        m_game->Tick();
    return 1;
}

void Program::RenderCB()
{
    if (m_game)
        m_game->Render();
}

char Program::InputEventCB(int event, float a, float b)
{
    return m_game ? m_game->InputEvent(event, a, b) : 0;
}

void Program::OrientationChangedCB(_EngOrientation orientation)
{
    // The PC keeps its one layout whatever the window's shape.
    if (m_game && EngMiscIsTabletPlatform())
        m_game->OrientationChanged(orientation, 1);
}

void Program::ComputerSleepingCB(char sleeping)
{
    if (m_game)
        m_game->ComputerSleepingCB(sleeping);
}

void Program::ActivatedCB(char active)
{
    if (m_game)
        m_game->WindowActivated(active);
}

void Program::WindowMinimisedCB(char) {}

void Program::GraphicsObjectsCreatedCB()
{
    if (m_game)
        m_game->GraphicsObjectsCreated();
}

void Program::PreDestroyDeviceCB()
{
    if (m_game)
        m_game->PreDestroyDevice();
}

void Program::ExitCB()
{
    if (!m_game)
        return;
    GameExit();
    delete m_game;
    m_game = nullptr;
    main_game = nullptr;
}

void Program::AfterCountryChosen()
{
    UserScreensDestroyGraphics();
    if (m_game && m_game->GetMWinIfAny())
        m_game->GetScreens()->GotoScreen(HW_SCREEN_MAIN, nullptr);
}
