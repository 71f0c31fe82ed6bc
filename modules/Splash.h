// The splash: one layered, animated picture shown in an area of the 640 x
// 480 screen with a fade-in, a hold and a fade-out done by dimming the whole
// screen, and optionally a one-line text under it. One splash at a time; the
// Players screen shows "Data/1610.dat" at once and keeps it until the player
// leaves the screen.
//
// Failures: a set-up that cannot load its picture (or whose sound file name
// is too long or missing) answers false and leaves the previous set-up; a
// start that is refused ("Splash not setup", "Splash is already on", "No
// device") leaves the splash as it was. Main thread only.
#pragma once

class EngFont;

typedef const char *(*SplashTextCB)(void *user);
// True when the hold is to end.
typedef char (*SplashHoldCB)(double seconds_held, void *user);
typedef char (*SplashEndCB)(void *user);

char SplashSetup(const char *folder, const char *picture_file, const char *sound_file, EngFont *font,
                 float text_scale_x, float text_scale_y, SplashTextCB text_cb, SplashHoldCB hold_cb,
                 SplashEndCB end_cb, void *user);
// The area in 640 x 480 units; keep_square makes it square in pixels.
void SplashSetArea(float x, float y, float w, float h, char keep_square);
char SplashStart();
// Fully visible at once, held.
void SplashShowAtOnce();
char SplashTick();
// clear_mode: 0 nothing, 1 the back buffer, 2 back buffer and depth buffer.
char SplashRender(char clear_mode);
char SplashIsOn();
char SplashEnd();
char SplashCreateGraphics();
void SplashDestroyGraphics();

// The state of the fade (1 in, 2 held, 3 out, 4 finished) and the picture's
// visibility, for tests; and everything back as at start.
int SplashGetStateForTests();
float SplashGetAlphaForTests();
void SplashGetDrawAreaForTests(float *x, float *y, float *w, float *h);
void SplashResetForTests();
