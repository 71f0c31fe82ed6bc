// The play's neighbour calls, each forwarded to its hook when one is set
// (see PlayNeighbours.h for what an absent module answers).
#include "game/PlayNeighbours.h"

#include "game/Game.h"
#include "gui/MWin.h"
#include "game/Program.h"
#include "modules/UserClass.h"
#include "screens/ScoresCC.h"

#include <cstring>

_PlayNeighbours play_neighbours = {};

void PlayNeighboursResetForTests()
{
    play_neighbours = _PlayNeighbours{};
}

// The game object answers these two unless a test watches them.
void GameGotoScoresAfterGame()
{
    if (play_neighbours.game_goto_scores_after_game)
        play_neighbours.game_goto_scores_after_game();
    else if (main_game)
        main_game->GotoScoresAfterGame();
}

EngFont *GameGetFont()
{
    if (play_neighbours.game_get_font)
        return play_neighbours.game_get_font();
    return main_game ? main_game->GetFontIfAny() : nullptr;
}

void PlayerSetTutorialHints(char on)
{
    if (play_neighbours.player_set_tutorial_hints)
        play_neighbours.player_set_tutorial_hints(on);
    else if (main_game)
        main_game->GetUserOptions()->tutorial_hints = on;
}

// The game object's player and popups unless a test fills the hook.
const _UserInfo *PlayerGetLoaded()
{
    if (play_neighbours.player_get_loaded)
        return play_neighbours.player_get_loaded();
    if (!main_game || !main_game->GetUser()->IsLoaded())
        return nullptr;
    return main_game->GetUserInfo();
}

// The Scores screen's unless a test fills the hook.
int ScoresScreenGetGarden()
{
    if (play_neighbours.scores_screen_get_garden)
        return play_neighbours.scores_screen_get_garden();
    ScoresCC *scores = ScoresCC_Get(nullptr);
    return scores ? scores->GetShownGarden() : -1;
}

void ScoresScreenRefreshList()
{
    if (play_neighbours.scores_screen_refresh_list)
        play_neighbours.scores_screen_refresh_list();
    else if (ScoresCC *scores = ScoresCC_Get(nullptr))
        scores->RefreshList();
}

char ScoresScreenIsCurrent()
{
    if (play_neighbours.scores_screen_is_current)
        return play_neighbours.scores_screen_is_current();
    return ScoresCC::IsScreenCurrent();
}

void ScoresScreenAskSubmit(const char *text)
{
    if (play_neighbours.scores_screen_ask_submit)
        play_neighbours.scores_screen_ask_submit(text);
    else
        ScoresCC_AskSubmit(text);
}

void PopupMessageNoTitle(const char *text)
{
    if (play_neighbours.popup_message_no_title)
        play_neighbours.popup_message_no_title(text);
    else if (main_game && main_game->GetMWinIfAny())
        main_game->GetMWinIfAny()->PopupMessageNoTitle(text);
}

char PlayerGetTutorialHints()
{
    if (play_neighbours.player_get_tutorial_hints)
        return play_neighbours.player_get_tutorial_hints();
    return main_game ? main_game->GetUserOptions()->tutorial_hints : 0;
}
