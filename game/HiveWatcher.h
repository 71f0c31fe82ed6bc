// The play hub: ties the play modules together. It sets them up, creates and
// releases their graphics, starts a new game and each new level, keeps the
// score, money and lives with their head-up texts, runs each frame of play
// with its keyboard shortcuts, draws the board, routes the mouse to the
// weapon popup, the weapons and the sidebar, keeps the placement grid, and
// offers the board's coordinate conversions and sprite transform to the
// modules that draw on it. The game object calls it whenever the menu
// screens are off.
//
// Coordinates: the virtual screen is 640 x 480 units; screen units are
// x / 320 - 1 and y / 240 - 1 of it; the board is the viewport 100, 0, 540,
// 450 with board units (x - 100) / 270 - 1 and y / 225 - 1; both grow
// downwards and span -1..1. A board unit b lies in grid cell
// round((b + 1) x 224) + 32, exact halves toward zero, so the board covers
// cells 32 to 480 of the 512 x 512 placement grid.
//
// Failures: graphics that do not load make the creation answer false, each
// module's with its own "...CreateGraphics() failed" line (the tutorial's
// only logs). Everything that draws does nothing while no device exists.
#pragma once

#include "engine/graphics/EngTexture.h"
#include "game/RoadDataFile.h"

#include <cstdint>

extern int play_level;
extern int play_score;
extern int play_bonus;
extern int play_lives;
extern int play_money;
extern char play_under_way;
extern char play_game_over;
extern char play_game_won;
extern double play_end_time;
// 2 not started yet, 1 paused, 0 running.
extern char play_run_state;
// 0 the normal pointer, 1 "cannot place here".
extern signed char play_pointer;
extern float play_pointer_x, play_pointer_y;
extern float play_board_x, play_board_y;
extern float play_frame_time;
// Nonzero where nothing may be placed; cell (cx, cy) at cx * 512 + cy.
extern uint8_t play_grid[ROAD_GRID_SIDE * ROAD_GRID_SIDE];

// The head-up texts the sidebar draws.
extern char play_score_text[16];
extern char play_lives_text[16];
extern char play_money_text[16];
extern char play_title_text[64];
extern char play_hp_text[32];

// The hub's textures: the two pointers, and the range circle and level
// marker that the weapons draw.
enum _HiveWatcherTexture {
    HWT_POINTER = 0,
    HWT_POINTER_CANNOT_PLACE = 1,
    HWT_RANGE_CIRCLE = 2,
    HWT_LEVEL_MARKER = 3,
    HWT_COUNT = 4,
};
extern EngTexture play_textures[HWT_COUNT];

char HiveWatcherSetup();
char HiveWatcherCreateGraphics();
void HiveWatcherDestroyGraphics();
char HiveWatcherStartNewGame(char restoring);
char HiveWatcherInitForNewLevel(char restoring);
// Money, score and lives change only through these; none acts while the
// game-over scene runs.
void HiveWatcherAddToScore(int bonus_delta);
void HiveWatcherAddToLives(int delta);
void HiveWatcherAddToMoney(int delta);
void HiveWatcherUpdateTitle();
void HiveWatcherTick();
void HiveWatcherRender();
// Window pixels.
void HiveWatcherMouseMove(float x, float y);
// Button 0 left, 1 right, 2 middle; state 1 down, 0 up.
void HiveWatcherMouseButton(int button, int state);
// A picture of 0 or more selects it; any value then places the selected one.
void HiveWatcherSetPointer(signed char picture);
void HiveWatcherBuildGrid();
// Each out-pointer that is not null gets its cell; returns the last one
// computed (-1 when both are null).
int HiveWatcherBoardToGrid(float bx, float by, int *cell_x, int *cell_y);
// The world transform for one sprite at board position (x, y), turned by
// angle about the pivot, optionally squeezed to the board's width.
void HiveWatcherSetBoardTransform(float x, float y, float pivot_x, float pivot_y, float angle, char squeeze_x,
                                  char save_current);
void HiveWatcherRestoreTransform();
void HiveWatcherFreeObjects();

// The hub's state as at start (no game), its textures released.
void HiveWatcherResetForTests();
