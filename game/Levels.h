// The levels module: the current garden (0 to 3) and difficulty, the tuning
// that bugs and waves read per level, the names of a garden's picture and
// road data files, the road data itself (the path every bug walks and the
// ground map behind the placement grid), the garden picture drawn under the
// board and the banner that shows the level number as a level starts.
//
// Failures: a road data file that is missing, short, of another version or
// not whole and sane leaves the road zeroed (no steps, step length 1.0),
// reports why, and stops the garden's set-up before the grid and the
// picture. A picture that does not load or has an unsupported size is
// reported and the board is drawn without one. Asking for a file name with no
// garden chosen is a fatal internal error.
#pragma once

#include "game/RoadDataFile.h"

class EngTexture;

#include <cstdint>

// -1 until a garden is chosen; 0 "NORMAL", 1 "TOUGH", 2 "EXTREME".
extern int16_t levels_garden;
extern int16_t levels_difficulty;
// Money per kill and hit points / kill score multipliers of this level.
extern float levels_reward_factor;
extern float levels_difficulty_factor;
// A bug is targetable while its distance along the road is above start and
// below the step count less end.
extern float levels_target_start;
extern float levels_target_end;
// Road steps per second of a bug of speed 1.
extern float levels_step_rate;

// The current garden's road, exactly as its file holds it after the version.
extern _TraverseData traverse_data;

// The level banner: state -1 hidden, 0 waiting, 1 fading in, 2 holding, 3
// fading out; the time mark in program seconds; alpha 0..1.
extern int levels_banner_state;
extern double levels_banner_time;
extern float levels_banner_alpha;
extern char levels_banner_text[32];

// At play set-up: no garden, difficulty 0. True.
char LevelsSetup();
// "Data/110<garden>.dat" and "Data/113<garden>.dat", in one static buffer
// shared by both (valid until the next call of either).
const char *LevelsGetPicFilename();
const char *LevelsGetTravCalcsFilename();
// The per-level tuning and the banner's restart. True.
char LevelsInitForNewLevel();
// "NORMAL", "TOUGH", "EXTREME"; "" with "Unsupported: %d" for anything else.
const char *LevelsGetDifficultyAsText(int16_t difficulty);
// At a new game: the road data, the placement grid and the picture of the
// chosen garden, stopping at the first failure.
char LevelsSetupGarden();
// Reads the current garden's road data into traverse_data.
char TraverseSetup();
// The garden picture: the middle seven eighths of the garden's image,
// placed over the board. True when no garden is chosen.
char LevelsCreateGraphics();
void LevelsDestroyGraphics();
// The garden whose picture is made, -1 while there is none.
int LevelsGetGraphicsGarden();
void LevelsDrawGardenPicture();
// The picture drawn under the board (not created while there is none).
EngTexture *LevelsGetGardenPicture();
void LevelsUpdateBanner();
void LevelsDrawBanner();
void LevelsHideBanner();

// The module's state as at start, the road zeroed and the textures released.
void LevelsResetForTests();
