// The platforms a score can come from, each named by one letter, this
// build's own letter, and the platforms' icons drawn from one texture
// ("Data\Common\Platform.png", a 4 x 4 grid of cells). A texture that cannot
// be loaded is reported and the icons are then not drawn; an unknown letter
// draws nothing and is reported for its first 20 draws.
#pragma once

struct _Dimension;

// 'W': this build runs on the PC.
char PlatformGetCurrentPlatform();
// True for a known letter; otherwise false, reported when report is set.
bool PlatformIsPlatformValid(char platform, char report);

// Loads the icons texture unless it is loaded.
bool PlatformCreateGraphics();
void PlatformDestroyGraphics();
// The platform's icon over rect (640 x 480 units), white with alpha.
void PlatformDrawIcon(char platform, const _Dimension *rect, float alpha);
// Forgets the texture and the report count; for tests.
void PlatformResetForTests();
