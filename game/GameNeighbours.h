// What the game object calls of the Scores screen: the garden it shows and
// its highlight of the game just finished.
//
// Each call is forwarded to the hook of the same name in `game_neighbours`
// when a test fills it, to watch the order of the game's calls; otherwise
// it goes to the Scores screen itself.
#pragma once

struct _GameNeighbours {
    void (*scores_set_screen_garden)(int garden);
    void (*scores_set_show_last_game)();
};

extern _GameNeighbours game_neighbours;

// Every hook null, as at start.
void GameNeighboursResetForTests();

void ScoresSetScreenGarden(int garden);
void ScoresSetShowLastGame();
