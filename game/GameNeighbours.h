// What the game object calls of the modules built beside it that are not in
// the program yet: the world scores with the Scores screen.
//
// Each call is declared here under its module's own name and forwarded to
// the hook of the same name in `game_neighbours`; a module that is not there
// yet leaves its hook null, and the call then does what an absent module
// means: nothing to start, nothing downloaded or submitted.
// When a module arrives it defines its functions itself and its lines leave
// this file; tests fill the hooks to watch the order of the game's calls.
#pragma once

#include "modules/ScoresScore.h"

class Game;

struct _GameNeighbours {
    // The world-scores object and its glue: without them nothing is set up,
    // downloaded or submitted, and internet access is not allowed.
    void (*scores_create_world)();
    void (*scores_delete_world)();
    unsigned char (*scores_world_update_if_needed)();
    char (*scores_world_update)();
    char (*scores_world_is_updating)();
    unsigned char (*scores_world_is_update_finished)();
    int (*scores_world_get_num_scores)();
    _ScoresScore *(*scores_world_get_scores_list)();
    void (*scores_world_release)();
    void (*scores_world_all_scores_for_current_garden_need_to_be_updated)();
    char (*scores_is_internet_access_allowed)(Game *game, char ask);
    char (*scores_submit_users_best_score_for_current_garden_and_range)(_ScoresRange range);
    char (*scores_submit_users_last_score_for_current_garden)();
    // The Scores screen's garden and its highlight of the game just
    // finished: the screen's own unless a test fills the hook.
    void (*scores_set_screen_garden)(int garden);
    void (*scores_set_show_last_game)();
};

extern _GameNeighbours game_neighbours;

// Every hook null, as at start.
void GameNeighboursResetForTests();

void ScoresCreateWorld();
void ScoresDeleteWorld();
unsigned char ScoresWorldUpdateIfNeeded();
char ScoresWorldUpdate();
char ScoresWorldIsUpdating();
// 0 while nothing arrived, 1 when a list arrived; 255 (-1 as a signed byte)
// a failed download.
unsigned char ScoresWorldIsUpdateFinished();
int ScoresWorldGetNumScores();
_ScoresScore *ScoresWorldGetScoresList();
void ScoresWorldRelease();
void ScoresWorldAllScoresForCurrentGardenNeedToBeUpdated();
char ScoresIsInternetAccessAllowed(Game *game, char ask);
char ScoresSubmitUsersBestScoreForCurrentGardenAndRange(_ScoresRange range);
char ScoresSubmitUsersLastScoreForCurrentGarden();
void ScoresSetScreenGarden(int garden);
void ScoresSetShowLastGame();

