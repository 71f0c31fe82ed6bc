// The game's application object (see the header).
#include "game/Game.h"

#include "engine/core/EngDebug.h"
#include "engine/core/EngLanguages.h"
#include "engine/core/EngMemory.h"
#include "engine/core/EngMisc.h"
#include "engine/graphics/EngFont.h"
#include "engine/runtime/EngDevice.h"
#include "engine/runtime/EngMain.h"
#include "engine/runtime/EngProgram.h"
#include "engine/runtime/EngWindow.h"
#include "game/GameNeighbours.h"
#include "game/GameOver.h"
#include "game/GameWon.h"
#include "game/HW_Screens.h"
#include "game/HiveWatcher.h"
#include "game/HiveWatcherMWin.h"
#include "game/Levels.h"
#include "game/PlayNeighbours.h"
#include "game/Sound.h"
#include "game/Tutorial.h"
#include "game/Program.h"
#include "game/SavedGame.h"
#include "game/Scores.h"
#include "game/ScoresWorld.h"
#include "gui/MWin.h"
#include "gui/MWinFonts.h"
#include "gui/MWinScreens.h"
#include "modules/Countries.h"
#include "modules/Platform.h"
#include "screens/UserScreens.h"
#include "modules/Resolution.h"
#include "modules/UserClass.h"
#include "screens/OptionsCC.h"
#include "screens/ScreenController.h"
#include "screens/SelectCC.h"

#include <cstring>
#include <new>

namespace {

const char *kFontFile = "Data/1000.dat";

} // namespace

Game::Game(Program *program, const char *name, int tag)
    : m_tag(tag), m_program(program), m_font(nullptr), m_mwin(nullptr), m_screens(nullptr), m_user(nullptr),
      m_started(0), m_resume_asked(0), m_saving(0), m_closing(0), m_write_failure(WRITE_FAILURE_NONE),
      m_resume_waiting(0), m_play_graphics(PLAY_GRAPHICS_NONE), m_menu_frame_shown(0)
{
    m_write_failure_title[0] = 0;
    m_write_failure_text[0] = 0;
    DebugCheckFatal(program != nullptr, "Game::Game", "no program");
    EngSafeStrcpy(m_name, name ? name : "Game", sizeof(m_name));
    m_font = new (std::nothrow) EngFont();
    m_mwin = new (std::nothrow) MWin(this);
    m_screens = new (std::nothrow) HW_Screens(this, m_mwin);
    m_user = new (std::nothrow) UserClass(this, "HiveWatcher", 1, UFM_ENCIPHERED_OR_PLAIN);
}

Game::~Game()
{
    delete m_user;
    m_user = nullptr;
    delete m_screens;
    m_screens = nullptr;
    delete m_mwin;
    m_mwin = nullptr;
    delete m_font;
    m_font = nullptr;
}

void GameExit()
{
    HiveWatcherFreeObjects();
    ScoresDeleteWorld();
    EngLanguagesDestroy();
}

// ---- Accessors ----

MWin *Game::GetMWin()
{
    DebugCheckFatal(m_mwin != nullptr, "Game::GetMWin", "No mwin");
    return m_mwin;
}

HW_Screens *Game::GetScreens()
{
    DebugCheckFatal(m_screens != nullptr, "Game::GetScreens", "No screens");
    return m_screens;
}

UserClass *Game::GetUser()
{
    DebugCheckFatal(m_user != nullptr, "Game::GetUser", "No user");
    return m_user;
}

EngFont *Game::GetFont()
{
    DebugCheckFatal(m_font != nullptr, "Game::GetFont", "No font");
    return m_font;
}

_UserInfo *Game::GetUserInfo()
{
    _UserInfo *info = GetUser()->GetInfo();
    DebugCheckFatal(info != nullptr, "Game::GetUserInfo", "No user info");
    return info;
}

_UserOptions *Game::GetUserOptions()
{
    return &GetUserInfo()->options;
}

char Game::MenusOn()
{
    return m_screens && m_screens->IsOn();
}

char Game::PlayerLoaded()
{
    return m_user && m_user->IsLoaded();
}

// ---- Fonts, toolkit and graphics ----

char Game::CreateFontA()
{
    if (!m_font)
        return 0;
    if (m_font->IsCreated())
        return 1;
    EngFontSetReportMissingLetters(0);
    if (!HiveWatcherMWinCreateFontApart(0, kFontFile, m_font)) {
        DebugError("Game::CreateFontA", "Could not create the game font from %s", kFontFile);
        return 0;
    }
    return 1;
}

void Game::DestroyFont()
{
    if (m_font)
        m_font->Destroy();
}

void Game::SetupToolkitStyle()
{
    MWin *mwin = GetMWin();
    HiveWatcherMWinSetupLayoutSettings(mwin);
    _MWinSettings settings;
    mwin->GetSettings(&settings);
    settings.m_collection_focus_follows_mouse = 0;
    settings.m_window_focus_follows_mouse = 0;
    mwin->SetSettings(&settings);
    mwin->SetSettingsFlags(0, 0, 0, 1);
    mwin->PopupSetStyle("Back1", "Back1", "Main", "Main", "Main", 1, 1, 1, 0.7f, 1.2f, 1.2f, 1, 1, 1, 0.7f, 1.4f,
                        1.4f, 1);
}

char Game::CreateTexturesAndFonts()
{
    SoundInitSlots();
    ScoresDeleteWorld();
    ScoresCreateWorld();
    ScoresInit();
    MWin *mwin = GetMWin();
    HiveWatcherMWinSetupTexturesAndTexButs(mwin);
    if (mwin->GetFonts())
        mwin->GetFonts()->AddUserFontPointer("Main", m_font);
    SetupToolkitStyle();
    return HiveWatcherSetup();
}

char Game::CreateGraphics()
{
    MWin *mwin = GetMWin();
    if (!mwin->CreateGraphicsObjects())
        return 0;
    if (!CreateFontA()) {
        DebugError("Game::CreateGraphics", "Could not create font");
        return 0;
    }
    if (GetScreens()->GetUserScreens()->IsUserScreenOn())
        UserScreensCreateGraphics();
    GetScreens()->CreateGraphics();
    if (MenusOn())
        TitlePictureCreateGraphics();
    // The menus (where every run starts) need none of the play's pictures:
    // they are made once a menu frame shows (Tick), or when the play starts.
    if (MenusOn() || !m_started) {
        m_play_graphics = PLAY_GRAPHICS_PENDING;
        m_menu_frame_shown = 0;
    } else if (!CreatePlayGraphics()) {
        return 0;
    }
    return MenusOn() || mwin->IsOn() || mwin->Startup();
}

char Game::CreatePlayGraphics()
{
    if (m_play_graphics == PLAY_GRAPHICS_MADE)
        return 1;
    if (!HiveWatcherCreateGraphics()) {
        DebugError("Game::CreateGraphics", "Could not load graphics");
        return 0;
    }
    m_play_graphics = PLAY_GRAPHICS_MADE;
    return 1;
}

// Without its pictures the play cannot run: the program ends as it does when
// its graphics cannot be made again after a device change.
void Game::CreatePlayGraphicsOrExit()
{
    if (CreatePlayGraphics())
        return;
    EngMainForceExit("ERROR", "Could not load graphics");
    EngMainCallExit(-1);
}

char Game::Post3dInit()
{
    if (!SoundInit())
        DebugError("Game::Post3dInit", "Problem loading sounds");
    if (!HiveWatcherStartNewGame(0))
        return 0;
    GraphicsObjectsCreated();
    GetScreens()->SetupAllScreens();
    GetScreens()->GetUserScreens()->StartFirstScreen();
    m_started = 1;
    return 1;
}

void Game::GraphicsObjectsCreated()
{
    if (eng_device) {
        eng_device->ModulateTextureAlphaWithColourAlpha();
        eng_device->SuspendZBufferIfOn();
        eng_device->PrepareFor2DIfNeeded(1);
    }
    if (eng_main_window) {
        if (MenusOn()) {
            eng_main_window->ShowMouseCursor();
            m_screens->ReloadCurrentScreen();
        } else {
            eng_main_window->HideMouseCursor();
        }
    }
    UpdatePlayMousePosition();
    TutorialUpdateHint();
}

void Game::DestroyGraphics()
{
    SelectCC_DestroyGraphics();
    TitlePictureDestroyGraphics();
    DestroyFont();
    UserScreensDestroyGraphics();
    if (m_screens)
        m_screens->DestroyGraphics();
    CountryDestroyGraphics();
    PlatformDestroyGraphics();
    if (m_mwin)
        m_mwin->DestroyGraphicsObjects();
    HiveWatcherDestroyGraphics();
    m_play_graphics = PLAY_GRAPHICS_NONE;
}

// ---- Frames and input ----

char Game::Tick()
{
    play_frame_time = eng_main_frame_time;
    SoundMusicTick();
    if (MenusOn()) {
        if (m_play_graphics == PLAY_GRAPHICS_PENDING && m_menu_frame_shown)
            CreatePlayGraphicsOrExit();
        // Before the screen's tick, which may close the program down.
        ShowPendingWriteFailure();
        m_screens->Tick();
    } else {
        if (m_write_failure == WRITE_FAILURE_PENDING) {
            m_write_failure = WRITE_FAILURE_NONE;
            EngMiscShowPopupMessage_PC(EMPT_ERROR, m_write_failure_title, m_write_failure_text);
        }
        HiveWatcherTick();
    }
    return 1;
}

void Game::Render()
{
    if (!eng_device || !eng_device->BeginRendering())
        return;
    eng_device->ClearBackBuffer();
    if (MenusOn()) {
        m_screens->Render(0);
        m_mwin->RenderMain();
        m_screens->Render(1);
        if (m_mwin->IsPopupOn())
            m_mwin->RenderPopups();
        m_screens->Render(2);
        m_menu_frame_shown = 1;
    } else if (m_mwin && m_mwin->IsOn()) {
        m_mwin->RenderMain();
        HiveWatcherRender();
        m_mwin->RenderPopups();
    } else {
        HiveWatcherRender();
    }
    eng_device->EndRendering();
}

void Game::MouseMove(float x, float y)
{
    if (MenusOn())
        m_mwin->MouseMove(x, y);
    else
        HiveWatcherMouseMove(x, y);
}

char Game::MouseButton(int button, int state)
{
    if (MenusOn())
        return m_mwin->ButtonPressed(static_cast<char>(button), static_cast<char>(state == 2 ? 0 : state), 0);
    HiveWatcherMouseButton(button, state);
    return 1;
}

char Game::InputEvent(int event, float a, float b)
{
    if (!eng_main_window)
        return 0;
    switch (event) {
    case EPIE_MOUSE_MOVE:
        MouseMove(a, b);
        return 1;
    case EPIE_MOUSE_BUTTON:
        return MouseButton(static_cast<int>(a), static_cast<int>(b));
    case EPIE_WHEEL:
        return MenusOn() ? m_mwin->MouseWheelMoved(static_cast<int>(a)) : 0;
    case EPIE_KEY_DOWN:
        if (static_cast<int>(a) == 27 && HandleEscapeKey())
            return 1;
        return MenusOn() ? m_mwin->KeyDown(static_cast<int>(a)) : 0;
    case EPIE_KEY_UP:
        return MenusOn() ? m_mwin->KeyUp(static_cast<int>(a)) : 0;
    case EPIE_CHARACTER:
        return MenusOn() ? m_mwin->KeyDownChar(static_cast<int>(a)) : 0;
    default:
        return 0;
    }
}

// ---- Escape and the exit prompts ----

void ExitOrWindowedPopupCB(MWin *, char result, void *)
{
    if (result == 1)
        EngMiscQuitMainLoop();
    else if (result == 2 && eng_main_window)
        eng_main_window->ToggleFullscreenMode();
}

void ExitPopupCB(MWin *, char result, void *)
{
    if (result == 1)
        EngMiscQuitMainLoop();
}

char Game::HandleEscapeKey()
{
    if (MenusOn()) {
        if (m_screens->GetCurrentScreen() != HW_SCREEN_MAIN || m_mwin->IsPopupOn())
            return 0;
        if (!eng_screen_windowed) {
            m_mwin->PopupSetWideButtons();
            m_mwin->PopupSetYesNoCancelTexts(EngLanguagesGetString("Main_ExitOrWindowedButtons", 0),
                                             EngLanguagesGetString("Main_ExitOrWindowedButtons", 1), nullptr);
            m_mwin->PopupYesNoCancel(nullptr, EngLanguagesGetStringForToken("Main_ExitOrWindowedMsg"),
                                     ExitOrWindowedPopupCB, this);
            m_mwin->PopupResetButtonWidths();
        } else {
            m_mwin->PopupSetButtonTexts(EngLanguagesGetString("Main_ExitOrWindowedButtons", 0), nullptr);
            m_mwin->PopupOkCancel(nullptr, EngLanguagesGetStringForToken("Main_ExitMsg"), ExitPopupCB, this);
        }
        return 1;
    }
    EscapeDuringPlay();
    return 1;
}

// ---- Play transitions ----

void Game::CloseMenusAndPlay()
{
    if (m_play_graphics == PLAY_GRAPHICS_PENDING)
        CreatePlayGraphicsOrExit();
    GetScreens()->End(-1);
    if (eng_main_window)
        eng_main_window->HideMouseCursor();
    HiveWatcherSetPointer(0);
    TutorialUpdateHint();
    play_under_way = 1;
}

void Game::EscapeDuringPlay()
{
    if (GameOverEnd() || GameWonEnd(0)) {
        GotoScoresAfterGame();
        return;
    }
    GetScreens()->StartScreen(HW_SCREEN_PAUS, -1);
}

void Game::GotoScoresAfterGame()
{
    HW_Screens *screens = GetScreens();
    ScoresSetScreenGarden(levels_garden);
    screens->StartScreen(HW_SCREEN_MAIN, -1);
    ScoresRecordFinishedGame();
    ScoresSetShowLastGame();
    screens->GotoScreen(HW_SCREEN_STAT, nullptr);
    ScoresPromptToSubmitLastScore();
}

void Game::UpdatePlayMousePosition()
{
    if (!eng_main_window || MenusOn())
        return;
    int x = 100, y = 100;
    if (!eng_main_window->GetMousePos(&x, &y)) {
        x = 100;
        y = 100;
    }
    HiveWatcherMouseMove(static_cast<float>(x), static_cast<float>(y));
}

// ---- The player ----

void Game::AfterUserLoaded(char set_defaults, char skip)
{
    if (skip)
        return;
    if (set_defaults) {
        if (PlayerLoaded()) {
            _UserInfo *info = GetUserInfo();
            info->options.date_format = std::strcmp(info->country, "US") == 0 ? 0 : 1;
        } else {
            DebugError("Game::AfterUserLoaded", "User not loaded.");
        }
    }
    OptionsApplyCpuUsage();
    SoundSetGameSoundsVolume();
    SoundUpdateMusicForCurrentState();
    GetUserInfo()->options.load_count++;
    GetScreens()->GotoScreen(HW_SCREEN_MAIN, nullptr);
    AskToResumeUsersGameIfExists();
}

void Game::SaveUser(char note_if_no_user)
{
    if (!m_user) {
        if (note_if_no_user)
            DebugNoteWithName(2, "Game::SaveUser", "No user.");
        return;
    }
    if (!m_user->IsLoaded()) {
        if (note_if_no_user)
            DebugNoteWithName(2, "Game::SaveUser", "User is not loaded.");
        return;
    }
    if (m_saving)
        return;
    m_saving = 1;
    if (play_under_way && !play_game_over && !play_game_won)
        SaveGame(0, 1);
    else if (!m_resume_asked && !m_closing)
        DeleteSavedGame(0, 1);
    m_user->Save(1);
    ResolutionUpdateSettingsFromCurrent();
    ResolutionSaveSettings();
    m_saving = 0;
}

void Game::SaveUserIfLoaded()
{
    if (PlayerLoaded())
        SaveUser(1);
}

void Game::UserIsBeingUnloaded()
{
    if (!m_user) {
        DebugNoteWithName(2, "Game::UserIsBeingUnloaded", "No user.");
        return;
    }
    if (!m_user->IsLoaded()) {
        DebugNoteWithName(2, "Game::UserIsBeingUnloaded", "User is not loaded.");
        return;
    }
    SoundStopAllMusic(1);
    SaveUser(1);
    m_user->UnloadUser();
    m_resume_asked = 0;
    m_resume_waiting = 0;
}

char Game::AskToResumeUsersGameIfExists()
{
    m_resume_asked = 0;
    m_resume_waiting = 0;
    if (!SavedGameExists(0, 1))
        return 0;
    // The player reads of the failed write first; the offer follows.
    if (m_write_failure != WRITE_FAILURE_NONE) {
        m_resume_waiting = 1;
        m_resume_asked = 1;
        return 1;
    }
    MWin *mwin = GetMWin();
    if (mwin->IsPopupOn()) {
        DebugError("Game::AskToResumeUsersGameIfExists", "Popup was on.");
        mwin->PopupCloseIfOn();
    }
    mwin->PopupYesNo(nullptr, "Resume your last game?", ResumeGamePopupCB, this);
    m_resume_asked = 1;
    return 1;
}

void ResumeGamePopupCB(MWin *, char result, void *user)
{
    if (user)
        static_cast<Game *>(user)->ResumeUsersGame(result == 1);
}

void Game::ResumeUsersGame(char yes)
{
    m_resume_asked = 0;
    if (!yes) {
        DeleteSavedGame(0, 1);
        return;
    }
    CloseMenusAndPlay();
    if (LoadSavedGame(0, 1))
        return;
    play_under_way = 0;
    GetScreens()->StartScreen(HW_SCREEN_MAIN, -1);
    GetMWin()->PopupMessage(nullptr, "Your last game could not be resumed");
}

void Game::ShowWriteFailure(const char *title, const char *text)
{
    if (!m_closing && MenusOn()) {
        EngSafeStrcpy(m_write_failure_title, title, sizeof(m_write_failure_title));
        EngSafeStrcpy(m_write_failure_text, text, sizeof(m_write_failure_text));
        m_write_failure = WRITE_FAILURE_PENDING;
        return;
    }
    // Not the engine's popup, which closes the program down first.
    EngMiscShowPopupMessage_PC(EMPT_ERROR, title, text);
}

void Game::ShowPendingWriteFailure()
{
    MWin *mwin = GetMWin();
    // Closed without an answer (another popup took its place).
    if (m_write_failure == WRITE_FAILURE_SHOWN && !mwin->IsPopupOn())
        WriteFailureAnswered();
    if (m_write_failure != WRITE_FAILURE_PENDING || mwin->IsPopupOn())
        return;
    if (mwin->PopupOk(m_write_failure_title, m_write_failure_text, WriteFailurePopupCB, this))
        m_write_failure = WRITE_FAILURE_SHOWN;
}

void WriteFailurePopupCB(MWin *, char, void *user)
{
    if (user)
        static_cast<Game *>(user)->WriteFailureAnswered();
}

void Game::WriteFailureAnswered()
{
    m_write_failure = WRITE_FAILURE_NONE;
    if (m_resume_waiting)
        AskToResumeUsersGameIfExists();
}

void Game::ComputerSleepingCB(char sleeping)
{
    DebugInfoWithObjectAndName(m_name, "Game::ComputerSleepingCB", "%d", sleeping);
    HandleSleep(sleeping);
}

void Game::HandleSleep(char sleeping)
{
    if (sleeping)
        SoundStopAllMusic(1);
    else
        SoundUpdateMusicForCurrentState();
    if (PlayerLoaded()) {
        m_user->SaveAccount(sleeping);
        if (sleeping)
            SaveUserIfLoaded();
    }
}

void Game::WindowActivated(char) {}

void Game::OrientationChanged(int orientation, char force)
{
    if (orientation == EO_PORTRAIT || orientation == EO_PORTRAIT_FLIPPED)
        orientation = EngMainIsLandscape() ? EngMainGetOrientation() : EO_LANDSCAPE;
    if (orientation == EngMainGetOrientation() && !force)
        return;
    MWin *mwin = GetMWin();
    mwin->PopupCloseIfOn();
    EngMainSetOrientation(orientation);
    mwin->SetScreenLayoutForDevice();
    if (m_screens && m_screens->IsOn())
        m_screens->ReloadCurrentScreen();
    GraphicsObjectsCreated();
    SetupToolkitStyle();
}

void Game::LayoutChanged()
{
    OrientationChanged(EngMainGetOrientation(), 1);
}

void Game::PreDestroyDevice()
{
    if (m_closing)
        return;
    m_closing = 1;
    if (PlayerLoaded()) {
        UserIsBeingUnloaded();
    } else if (m_started) {
        // Saving a player writes the settings too; without one they are
        // written here, or the file would keep asking for the start-up
        // dialog that the start forced on as a guard.
        ResolutionUpdateSettingsFromCurrent();
        ResolutionSaveSettings();
    }
    SoundShutdown();
    if (m_screens)
        m_screens->RemoveAllScreens();
    if (m_mwin)
        m_mwin->Destroy();
}
