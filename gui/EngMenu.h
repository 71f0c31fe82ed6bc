// The menu bar along the top of the screen. The toolkit's root offers it
// every mouse move and press first and asks it for its height and for crops
// below it. No operation of this program builds a menu, so every query finds
// none: the bar takes no event, has no height, and its crops pass straight
// to the device.
#pragma once

#include "engine/core/EngMath.h"

char EngMenuExists();
char EngMenuIsEnabled();
char EngMenuEnable();
char EngMenuDisable();
int EngMenuGetHeight();
// True when the bar took the event (never, without a menu).
char EngMenuMouseMove(int x, int y);
char EngMenuMousePress(char ignore, char pressed);
// Crops below the bar: the rectangle (640 x 480 units) is handed to the
// device unchanged; null without a device facade or, for the first, a
// rectangle.
const _Dimension *EngMenuTurnOnCropToDimension(const _Dimension *dimension);
const _Dimension *EngMenuTurnOnCrop(float x, float y, float w, float h);
