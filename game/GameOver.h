// The game-over scene: when the lives run out, a picture fades in over the
// board and then pulses while an endless parade of runner bugs crosses the
// screen. A click more than a second after the end, or Escape, ends it and
// the player goes on to the high scores.
//
// Failures: a picture that does not load makes the graphics creation answer
// false (the scene then runs without it).
#pragma once

// "Data/1390.dat", placed at 50, 50, 540 x 380 of the virtual screen.
extern const char *const game_over_picture_file;

// When the lives reach 0; nothing while the scene runs.
void GameOverStart();
// Loads and places the picture while the scene runs; true otherwise.
char GameOverCreateGraphics();
void GameOverDestroyGraphics();
// A new runner every 0.3 s into the first empty bug slot, then every bug
// moved and the ones gone removed.
void GameOverTick();
void GameOverRender();
// Stops the scene's music and the scene; false when it was not running.
char GameOverEnd();

// The picture's alpha as last drawn, and whether it has been fully shown.
float GameOverGetPictureAlpha();
char GameOverIsPictureFullyShown();
// The scene's state as at start, its picture released.
void GameOverResetForTests();
