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

char GameOverCreateGraphics()
{
    return play_neighbours.game_over_create_graphics ? play_neighbours.game_over_create_graphics() : 1;
}

void GameOverDestroyGraphics()
{
    if (play_neighbours.game_over_destroy_graphics)
        play_neighbours.game_over_destroy_graphics();
}

void GameOverStart()
{
    if (play_neighbours.game_over_start)
        play_neighbours.game_over_start();
}

void GameOverTick()
{
    if (play_neighbours.game_over_tick)
        play_neighbours.game_over_tick();
}

void GameOverRender()
{
    if (play_neighbours.game_over_render)
        play_neighbours.game_over_render();
}

char GameOverEnd()
{
    return play_neighbours.game_over_end ? play_neighbours.game_over_end() : 0;
}

char GameWonCreateGraphics()
{
    return play_neighbours.game_won_create_graphics ? play_neighbours.game_won_create_graphics() : 1;
}

void GameWonDestroyGraphics()
{
    if (play_neighbours.game_won_destroy_graphics)
        play_neighbours.game_won_destroy_graphics();
}

void GameWonInit()
{
    if (play_neighbours.game_won_init)
        play_neighbours.game_won_init();
}

void GameWonTick(char animated)
{
    if (play_neighbours.game_won_tick)
        play_neighbours.game_won_tick(animated);
}

void GameWonRender()
{
    if (play_neighbours.game_won_render)
        play_neighbours.game_won_render();
}

char GameWonEnd(char from_click)
{
    return play_neighbours.game_won_end ? play_neighbours.game_won_end(from_click) : 0;
}

void SoundPlay(int id)
{
    if (play_neighbours.sound_play)
        play_neighbours.sound_play(id);
}

void SoundPlayShotSound(int kind)
{
    if (kind >= 0 && kind < 9)
        SoundPlay(kind);
}

void SoundPlayShotSound2(int kind)
{
    if (kind >= 0 && kind < 9)
        SoundPlay(9 + kind);
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
