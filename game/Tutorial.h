// The tutorial hints of the first level: one short text in a framed box
// above the control the player should use next, with a pulsing red frame
// round that control. The hint is chosen again whenever the situation
// changes (play started, paused or resumed, a weapon placed, a game loaded,
// graphics recreated): place a factory, then two weapons near the road, then
// press Start; after that, or when the player's hints option is off, nothing
// is shown. The hint fades in and then stays.
//
// Failures: a hint picture that does not load leaves the box undrawn; the
// text is still chosen and drawn. Without a font the box takes a default
// width.
#pragma once

#include "engine/core/EngMath.h"

#include <cstdint>

enum {
    TUTORIAL_HIGHLIGHTS = 3,
    TUTORIAL_TEXT_SIZE = 128,
};

extern uint8_t tutorial_on;
// Below 0 nothing runs; 0 just chosen, 1 fading in, 2 shown.
extern int32_t tutorial_state;
extern float tutorial_alpha;
extern float tutorial_pulse;
extern char tutorial_text[TUTORIAL_TEXT_SIZE];
// The box the text stands in, and its centre.
extern _Dimension tutorial_box;
extern float tutorial_box_centre_x, tutorial_box_centre_y;
// The frames round the controls to use; one of width 0 is not drawn.
extern _Dimension tutorial_highlights[TUTORIAL_HIGHLIGHTS];

void TutorialRestart();
void TutorialUpdateHint();
void TutorialTick();
void TutorialDraw();
char TutorialCreateGraphics();
void TutorialDestroyGraphics();

void TutorialResetForTests();
