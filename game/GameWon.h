// The game-won scene: when the last level of a garden is cleared, a short
// accounting show runs over the board. It sells every weapon, turns the
// money into score, turns every life beyond the first into score and shows
// the final score under a wobbling picture. Winning also counts towards
// unlocking the garden's next difficulty. The show always runs to its end
// before the high scores are shown, so Escape gives the same score as
// watching it.
//
// Failures: a picture that does not load makes the graphics creation answer
// false (the scene then runs without it); a garden outside 0..3 reports
// "Internal error." and counts no progress.
#pragma once

struct _UserGardenProgress;

// The show's step, 0 to 22; -1 when finished.
extern int gamewon_step;
// The caption on top and the unlock message at the bottom (empty for none).
extern char gamewon_caption[128];
extern char gamewon_unlock_message[128];
// 0 no message, else the difficulty it names + 1.
extern char gamewon_unlock_flag;

// "Data/1019.dat".
extern const char *const game_won_picture_file;

// When the last level is cleared; nothing while the scene runs.
void GameWonInit();
// One win at difficulty counted into a garden's progress; the unlock
// message and flag are set when the win counted.
void GameWonCountProgress(_UserGardenProgress *progress, int difficulty);
char GameWonCreateGraphics();
void GameWonDestroyGraphics();
// One step of the show. Not animated: no waits, fades complete at once,
// no sound.
void GameWonStep(char animated);
void GameWonTick(char animated);
void GameWonRender();
// On the PC a click before the final score is shown is ignored (false).
// Otherwise the rest of the show happens at once and silently, and the
// scene ends: true. False when the scene was not running.
char GameWonEnd(char from_click);

// The scene's state as at start, its picture released.
void GameWonResetForTests();
