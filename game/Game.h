// The game's application object. It owns the game font, the toolkit root,
// the screen set and the current player, and each frame runs either the menu
// screens (the toolkit and the current screen's controller) or the play,
// routing mouse and keys the same way. It holds the player's life-cycle
// steps (after loading, saving, unloading), the offer to resume a saved
// game, the exit prompt on Escape, the road from a finished game to the high
// scores, and the reaction to the computer going to sleep.
//
// A saved game goes only on the player's own "No" to the offer to resume
// it (or when a game ends or is saved over). A run that ends without a
// player loaded still writes the start-up settings back, so the dialog
// byte holds the player's choice; a failed start leaves them asking for the
// dialog.
//
// Failures: a font or play graphics that cannot be made fail the graphics
// creation ("Could not create font", "Could not load graphics"); sounds that
// cannot start are logged ("Problem loading sounds") and the game goes on
// silent; a missing toolkit, screen set, player object or record behind an
// accessor is a fatal check.
#pragma once

class EngFont;
class HW_Screens;
class MWin;
class Program;
class UserClass;
struct _UserInfo;
struct _UserOptions;

class Game {
public:
    Game(Program *program, const char *name, int tag);
    ~Game();
    Game(const Game &) = delete;
    Game &operator=(const Game &) = delete;

    MWin *GetMWin();
    HW_Screens *GetScreens();
    UserClass *GetUser();
    EngFont *GetFont();
    // The loaded player's record and the game's options in it (a zeroed
    // record while no player is loaded).
    _UserInfo *GetUserInfo();
    _UserOptions *GetUserOptions();
    // Null instead of a fatal check, for the hooks that may run without.
    MWin *GetMWinIfAny() { return m_mwin; }
    EngFont *GetFontIfAny() { return m_font; }
    const char *GetName() const { return m_name; }

    // Engine hooks, through the program object.
    char CreateTexturesAndFonts();
    char CreateGraphics();
    char Post3dInit();
    void GraphicsObjectsCreated();
    void DestroyGraphics();
    char Tick();
    void Render();
    char InputEvent(int event, float a, float b);
    void ComputerSleepingCB(char sleeping);
    void WindowActivated(char active);
    // A tablet turned (the program object calls this only on a tablet): the
    // game runs in landscape, so a portrait orientation keeps the current
    // landscape one (or takes landscape). Unless the orientation is the
    // current one and force is clear, an open popup closes, the layout for
    // the device is chosen again, the current screen is rebuilt in it and
    // the toolkit's graphics state and style are set up again.
    void OrientationChanged(int orientation, char force);
    // The same for the current orientation, forced.
    void LayoutChanged();
    void PreDestroyDevice();

    // Player hooks.
    void AfterUserLoaded(char set_defaults, char skip);
    void SaveUser(char note_if_no_user);
    void SaveUserIfLoaded();
    void UserIsBeingUnloaded();
    char AskToResumeUsersGameIfExists();
    void ResumeUsersGame(char yes);
    // A player's file could not be written: the toolkit's popup tells while
    // the menus run (at the next frame without another popup), a system
    // message box otherwise (in play, at exit); the program goes on either
    // way.
    void ShowWriteFailure(const char *title, const char *text);
    void WriteFailureAnswered();
    void HandleSleep(char sleeping);

    // Play transitions.
    void CloseMenusAndPlay();
    void EscapeDuringPlay();
    void GotoScoresAfterGame();
    void UpdatePlayMousePosition();
    // True when Escape was taken (the exit prompt, or the play's pause).
    char HandleEscapeKey();

    char CreateFontA();
    void DestroyFont();
    void SetupToolkitStyle();

private:
    char MenusOn();
    char PlayerLoaded();
    void MouseMove(float x, float y);
    char MouseButton(int button, int state);

    char m_name[8];
    [[maybe_unused]] int m_tag;
    [[maybe_unused]] Program *m_program;
    EngFont *m_font;
    MWin *m_mwin;
    HW_Screens *m_screens;
    UserClass *m_user;
    // The start-up finished (Post3dInit): a close-down from here on is the
    // end of a run, not of a failed start.
    char m_started;
    // "Resume your last game?" is waiting for its answer: until then the
    // saved game is kept whatever ends the run.
    char m_resume_asked;
    // A save is being written: a save asked for meanwhile (by a close-down
    // that a failure inside the save started) is left to it.
    char m_saving;
    // The exit save ran: the close-down saves once, and never deletes the
    // saved game (an error exit closes down too).
    char m_closing;
    // The popup about a failed write: none, waiting for the next frame, or
    // open; the offer to resume a saved game waits until it is answered.
    enum { WRITE_FAILURE_NONE, WRITE_FAILURE_PENDING, WRITE_FAILURE_SHOWN } m_write_failure;
    char m_write_failure_title[64];
    char m_write_failure_text[1200];
    char m_resume_waiting;
    // The play's pictures: not made, waiting for the first menu frame to be
    // shown (made while the menus are on, they are kept off the way to the
    // first frame), or made. A menu frame was shown since the graphics were
    // made.
    enum { PLAY_GRAPHICS_NONE, PLAY_GRAPHICS_PENDING, PLAY_GRAPHICS_MADE } m_play_graphics;
    char m_menu_frame_shown;

    void ShowPendingWriteFailure();
    char CreatePlayGraphics();
    void CreatePlayGraphicsOrExit();
};

// Run before the game object is deleted: frees the play's objects, the
// world scores and the languages.
void GameExit();

// The popups' answers to the exit prompts and the offer to resume.
void ExitOrWindowedPopupCB(MWin *mwin, char result, void *user);
void ExitPopupCB(MWin *mwin, char result, void *user);
void ResumeGamePopupCB(MWin *mwin, char result, void *user);
void WriteFailurePopupCB(MWin *mwin, char result, void *user);
