// What the play hub, the levels, the bugs and the weapons call of the modules
// built on top of them: the game object, the current player and its
// options, and the Scores screen with its popups.
//
// Each of those calls is declared here under its module's own name and
// forwarded to the hook of the same name in `play_neighbours`. A module that
// is not there yet leaves its hook null, and the call then does what an
// absent module means: set-up and graphics creation succeed, queries answer
// "no" (nothing placed, nothing taken, no font), everything else does
// nothing. When a module arrives it
// defines its functions itself and its lines leave this file; tests fill the
// hooks to watch what the play calls.
#pragma once

class EngFont;
struct _UserInfo;

struct _PlayNeighbours {
    // The game object and the current player.
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
    char (*player_get_tutorial_hints)();
};

extern _PlayNeighbours play_neighbours;

// Every hook null.
void PlayNeighboursResetForTests();

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
// The player's hints option; off while there is no game object.
char PlayerGetTutorialHints();
