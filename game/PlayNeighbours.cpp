// The play's neighbour calls, each forwarded to its hook when one is set
// (see PlayNeighbours.h for what an absent module answers).
#include "game/PlayNeighbours.h"

#include "game/Game.h"
#include "gui/MWin.h"
#include "game/Program.h"
#include "modules/UserClass.h"
#include "screens/ScoresCC.h"

#include <cstring>

char sidebar_placing = 0;
int sidebar_placing_type = -1;

_PlayNeighbours play_neighbours = {};

void PlayNeighboursResetForTests()
{
    play_neighbours = _PlayNeighbours{};
    sidebar_placing = 0;
    sidebar_placing_type = -1;
}

char SidebarSetup()
{
    return play_neighbours.sidebar_setup ? play_neighbours.sidebar_setup() : 1;
}

char SidebarCreateGraphics()
{
    return play_neighbours.sidebar_create_graphics ? play_neighbours.sidebar_create_graphics() : 1;
}

void SidebarDestroyGraphics()
{
    if (play_neighbours.sidebar_destroy_graphics)
        play_neighbours.sidebar_destroy_graphics();
}

void SidebarResetForNewGame()
{
    if (play_neighbours.sidebar_reset_for_new_game)
        play_neighbours.sidebar_reset_for_new_game();
}

void SidebarDraw()
{
    if (play_neighbours.sidebar_draw)
        play_neighbours.sidebar_draw();
}

char SidebarMouseMove(float x, float y)
{
    return play_neighbours.sidebar_mouse_move ? play_neighbours.sidebar_mouse_move(x, y) : 0;
}

char SidebarHandleClick(char button, char state)
{
    return play_neighbours.sidebar_handle_click ? play_neighbours.sidebar_handle_click(button, state) : 0;
}

char SidebarStartPlacingWeapon(int type)
{
    return play_neighbours.sidebar_start_placing_weapon ? play_neighbours.sidebar_start_placing_weapon(type) : 0;
}

void SidebarDeletePreviewWeapon()
{
    if (play_neighbours.sidebar_delete_preview)
        play_neighbours.sidebar_delete_preview();
}

void SidebarDrawPreviewWeapon()
{
    if (play_neighbours.sidebar_draw_preview)
        play_neighbours.sidebar_draw_preview();
}

void SidebarMovePreviewWeapon(float x, float y)
{
    if (play_neighbours.sidebar_move_preview)
        play_neighbours.sidebar_move_preview(x, y);
}

void SidebarCancelPlacing()
{
    if (play_neighbours.sidebar_cancel_placing)
        play_neighbours.sidebar_cancel_placing();
    else
        sidebar_placing = 0;
}

void SidebarDeselect()
{
    if (play_neighbours.sidebar_deselect)
        play_neighbours.sidebar_deselect();
}

void SidebarRefresh(int flags)
{
    if (play_neighbours.sidebar_refresh)
        play_neighbours.sidebar_refresh(flags);
}

char TutorialCreateGraphics()
{
    return play_neighbours.tutorial_create_graphics ? play_neighbours.tutorial_create_graphics() : 1;
}

void TutorialDestroyGraphics()
{
    if (play_neighbours.tutorial_destroy_graphics)
        play_neighbours.tutorial_destroy_graphics();
}

void TutorialRestart(char restoring)
{
    if (play_neighbours.tutorial_restart)
        play_neighbours.tutorial_restart(restoring);
}

void TutorialUpdateHint()
{
    if (play_neighbours.tutorial_update_hint)
        play_neighbours.tutorial_update_hint();
}

void TutorialTick()
{
    if (play_neighbours.tutorial_tick)
        play_neighbours.tutorial_tick();
}

void TutorialDraw()
{
    if (play_neighbours.tutorial_draw)
        play_neighbours.tutorial_draw();
}

char PopupPriceAboveMoney()
{
    return play_neighbours.popup_price_above_money ? play_neighbours.popup_price_above_money() : 0;
}

char PopupIsShown()
{
    return play_neighbours.popup_is_shown ? play_neighbours.popup_is_shown() : 0;
}

void PopupShow(char refresh)
{
    if (play_neighbours.popup_show)
        play_neighbours.popup_show(refresh);
}

void PopupRefresh(char refill)
{
    if (play_neighbours.popup_refresh)
        play_neighbours.popup_refresh(refill);
}

void PopupHide()
{
    if (play_neighbours.popup_hide)
        play_neighbours.popup_hide();
}

void PopupTick()
{
    if (play_neighbours.popup_tick)
        play_neighbours.popup_tick();
}

void PopupRender()
{
    if (play_neighbours.popup_render)
        play_neighbours.popup_render();
}

char PopupMouseMove(float x, float y)
{
    return play_neighbours.popup_mouse_move ? play_neighbours.popup_mouse_move(x, y) : 0;
}

char PopupMouseButton(int button, int state)
{
    return play_neighbours.popup_mouse_button ? play_neighbours.popup_mouse_button(button, state) : 0;
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
