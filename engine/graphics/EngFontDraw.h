// The drawing state that a run of text is drawn in: lighting on with the
// colour taken from the material, texture alpha modulated, alpha blending,
// and (in modes 0 and 1) an orthographic projection with y down from the
// top. One state for the program, main thread only. The measuring and
// drawing members of EngFont are declared in EngFont.h and built in
// EngFontDraw.cpp.
//
// Modes: 0 window pixels, 1 the 640 x 480 virtual screen, 2 ("Pure2") the
// caller's own matrices and projection.
#pragma once

#include "engine/core/EngMisc.h"

// Modes 0 and 1; mode 2 is handed to EngFontPrepareForDrawingPure2 with a
// report. The orientation is not used.
void EngFontPrepareForDrawingWithOrientation(_EngOrientation orientation, char mode);
void EngFontPrepareForDrawing(char mode);
void EngFontPrepareForDrawingDefaultOrientation(char mode);
// Lighting and blending only; no matrices are pushed.
void EngFontPrepareForDrawingPure2();
// True when already prepared in a matching mode (0 matches 0, any other any
// non-zero mode); otherwise prepares in the mode (after restoring one of the
// other kind) and sets prepared_here.
bool EngFontPrepareForDrawingWithOrientationIfNeeded(char mode, char *prepared_here);
void EngFontRestoreAfterDrawing();
// Restores when prepared; true when it did.
bool EngFontRestoreAfterDrawingIfNeeded();
bool EngFontIsPreparedForDrawing();
// save set: remembers whether the state was prepared and in which mode, and
// restores it. save clear: prepares again as remembered.
void EngFontSaveAndUnPrepareStateOrRestoreAndPrepareState(char save);

// The drawing state back as at start.
void EngFontDrawResetForTests();
