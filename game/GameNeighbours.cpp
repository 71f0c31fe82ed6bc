// The game object's calls into the Scores screen (see the header).
#include "game/GameNeighbours.h"

#include "screens/ScoresCC.h"

_GameNeighbours game_neighbours = {};

void GameNeighboursResetForTests()
{
    game_neighbours = _GameNeighbours{};
}

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
