// What the play hub, the levels, the bugs and the weapons call of the modules
// built on top of them: the sidebar with its tutorial hints, the weapon popup
// glue, the game-over and game-won scenes, the game sounds, the game object,
// the current player, and the Scores screen with its popups.
//
// Each of those calls is declared here under its module's own name and
// forwarded to the hook of the same name in `play_neighbours`. A module that
// is not there yet leaves its hook null, and the call then does what an
// absent module means: set-up and graphics creation succeed, queries answer
// "no" (nothing placed, nothing taken, no font), everything else does
// nothing, except that cancelling the placing still clears the shared flag
// and the shot sounds become game sounds 0 to 17. When a module arrives it
// defines its functions itself and its lines leave this file; tests fill the
// hooks to watch what the play calls.
//
// The placing state of the sidebar is a shared module variable that the play
// hub and the weapons read and reset; it lives here until the sidebar does.
#pragma once

class EngFont;
struct _UserInfo;

// The sidebar's placing state: whether a weapon is being placed, and its type.
extern char sidebar_placing;
extern int sidebar_placing_type;

struct _PlayNeighbours {
    // Sidebar, its preview weapon that follows the mouse, and the tutorial.
    char (*sidebar_setup)();
    char (*sidebar_create_graphics)();
    void (*sidebar_destroy_graphics)();
    void (*sidebar_reset_for_new_game)();
    void (*sidebar_draw)();
    char (*sidebar_mouse_move)(float x, float y);
    char (*sidebar_handle_click)(char button, char state);
    char (*sidebar_start_placing_weapon)(int type);
    void (*sidebar_delete_preview)();
    void (*sidebar_draw_preview)();
    void (*sidebar_move_preview)(float x, float y);
    void (*sidebar_cancel_placing)();
    void (*sidebar_deselect)();
    void (*sidebar_refresh)(int flags);
    char (*tutorial_create_graphics)();
    void (*tutorial_destroy_graphics)();
    void (*tutorial_restart)(char restoring);
    void (*tutorial_update_hint)();
    void (*tutorial_tick)();
    void (*tutorial_draw)();
    // Weapon popup glue.
    char (*popup_price_above_money)();
    char (*popup_is_shown)();
    void (*popup_show)(char refresh);
    void (*popup_refresh)(char refill);
    void (*popup_hide)();
    void (*popup_tick)();
    void (*popup_render)();
    char (*popup_mouse_move)(float x, float y);
    char (*popup_mouse_button)(int button, int state);
    // Game-over and game-won scenes.
    char (*game_over_create_graphics)();
    void (*game_over_destroy_graphics)();
    void (*game_over_start)();
    void (*game_over_tick)();
    void (*game_over_render)();
    char (*game_over_end)();
    char (*game_won_create_graphics)();
    void (*game_won_destroy_graphics)();
    void (*game_won_init)();
    void (*game_won_tick)(char animated);
    void (*game_won_render)();
    char (*game_won_end)(char from_click);
    // Game sounds, the game object and the current player.
    void (*sound_play)(int id);
    void (*game_goto_scores_after_game)();
    EngFont *(*game_get_font)();
    void (*player_set_tutorial_hints)(char on);
    // The loaded player's record, or null while no player is loaded; the
    // game object's player unless a test fills the hook.
    const _UserInfo *(*player_get_loaded)();
    // The Scores screen: the garden it shows, its table's refresh, whether
    // the screen stack is on with it current, and the question after a game
    // (an OK/Cancel popup whose answer goes to the screen) or a plain message,
    // both without title; the screen's and the game's popups unless a test
    // fills the hook.
    int (*scores_screen_get_garden)();
    void (*scores_screen_refresh_list)();
    char (*scores_screen_is_current)();
    void (*scores_screen_ask_submit)(const char *text);
    void (*popup_message_no_title)(const char *text);
};

extern _PlayNeighbours play_neighbours;

// Every hook null and the shared variables as at start (no placing, type -1,
// no factories).
void PlayNeighboursResetForTests();

char SidebarSetup();
char SidebarCreateGraphics();
void SidebarDestroyGraphics();
void SidebarResetForNewGame();
void SidebarDraw();
char SidebarMouseMove(float x, float y);
char SidebarHandleClick(char button, char state);
char SidebarStartPlacingWeapon(int type);
void SidebarDeletePreviewWeapon();
void SidebarDrawPreviewWeapon();
void SidebarMovePreviewWeapon(float x, float y);
// Without a sidebar, cancelling only ends the shared placing flag.
void SidebarCancelPlacing();
void SidebarDeselect();
void SidebarRefresh(int flags);
char TutorialCreateGraphics();
void TutorialDestroyGraphics();
void TutorialRestart(char restoring);
void TutorialUpdateHint();
void TutorialTick();
void TutorialDraw();

char PopupPriceAboveMoney();
char PopupIsShown();
void PopupShow(char refresh);
void PopupRefresh(char refill);
void PopupHide();
void PopupTick();
void PopupRender();
char PopupMouseMove(float x, float y);
char PopupMouseButton(int button, int state);

char GameOverCreateGraphics();
void GameOverDestroyGraphics();
void GameOverStart();
void GameOverTick();
void GameOverRender();
char GameOverEnd();
char GameWonCreateGraphics();
void GameWonDestroyGraphics();
void GameWonInit();
void GameWonTick(char animated);
void GameWonRender();
char GameWonEnd(char from_click);

void SoundPlay(int id);
// The firing (sound kind) and hit (sound 9 + kind) sounds of weapon type kind 0 to 8.
void SoundPlayShotSound(int kind);
void SoundPlayShotSound2(int kind);
// The game object's, unless a test fills the hook.
void GameGotoScoresAfterGame();
// The game font, or null while there is no game object.
EngFont *GameGetFont();
void PlayerSetTutorialHints(char on);
const _UserInfo *PlayerGetLoaded();
// -1 (no garden) without a Scores screen.
int ScoresScreenGetGarden();
void ScoresScreenRefreshList();
char ScoresScreenIsCurrent();
void ScoresScreenAskSubmit(const char *text);
void PopupMessageNoTitle(const char *text);
