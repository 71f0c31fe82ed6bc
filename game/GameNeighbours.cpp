// The game object's calls into modules not yet in the program (see the
// header): each forwards to its hook, or does what an absent module means.
#include "game/GameNeighbours.h"

#include "screens/ScoresCC.h"

_GameNeighbours game_neighbours = {};

void GameNeighboursResetForTests()
{
    game_neighbours = _GameNeighbours{};
}

// A call whose absent module does nothing.
#define FORWARD_VOID(hook, ...)                                                                                   \
    if (game_neighbours.hook)                                                                                      \
        game_neighbours.hook(__VA_ARGS__);

// A call whose absent module answers `absent`.
#define FORWARD(hook, absent, ...) return game_neighbours.hook ? game_neighbours.hook(__VA_ARGS__) : (absent);

void ScoresCreateWorld() { FORWARD_VOID(scores_create_world) }
void ScoresDeleteWorld() { FORWARD_VOID(scores_delete_world) }
unsigned char ScoresWorldUpdateIfNeeded() { FORWARD(scores_world_update_if_needed, 0) }
char ScoresWorldUpdate() { FORWARD(scores_world_update, 0) }
char ScoresWorldIsUpdating() { FORWARD(scores_world_is_updating, 0) }
unsigned char ScoresWorldIsUpdateFinished() { FORWARD(scores_world_is_update_finished, 0) }
int ScoresWorldGetNumScores() { FORWARD(scores_world_get_num_scores, 0) }
_ScoresScore *ScoresWorldGetScoresList() { FORWARD(scores_world_get_scores_list, nullptr) }
void ScoresWorldRelease() { FORWARD_VOID(scores_world_release) }
void ScoresWorldAllScoresForCurrentGardenNeedToBeUpdated()
{
    FORWARD_VOID(scores_world_all_scores_for_current_garden_need_to_be_updated)
}
char ScoresIsInternetAccessAllowed(Game *game, char ask) { FORWARD(scores_is_internet_access_allowed, 0, game, ask) }
char ScoresSubmitUsersBestScoreForCurrentGardenAndRange(_ScoresRange range)
{
    FORWARD(scores_submit_users_best_score_for_current_garden_and_range, 0, range)
}
char ScoresSubmitUsersLastScoreForCurrentGarden() { FORWARD(scores_submit_users_last_score_for_current_garden, 0) }

void ScoresSetScreenGarden(int garden)
{
    if (game_neighbours.scores_set_screen_garden)
        game_neighbours.scores_set_screen_garden(garden);
    else if (ScoresCC *scores = ScoresCC_Get("ScoresSetScreenGarden"))
        scores->SetShownGarden(static_cast<short>(garden));
}
void ScoresSetShowLastGame()
{
    if (game_neighbours.scores_set_show_last_game)
        game_neighbours.scores_set_show_last_game();
    else if (ScoresCC *scores = ScoresCC_Get("ScoresSetShowLastGame"))
        scores->ShowLastGame();
}

