// The game's skin for the toolkit: its two textures ("Buttons" and "Popup"),
// the game's own texture buttons that the screen layouts name, the pictures
// with which the toolkit draws its standard parts (windows, title bars,
// scrollbars, lists, check boxes, choices, edits, panels, tab panels, push
// buttons), the game font "Main", and the metrics of the five screen layouts.
//
// Failures are logged one by one with the texture or texture button they
// concern; the set-up goes on with the next step and answers false at the
// end, so a missing picture leaves only that part unskinned.
#pragma once

class EngFont;
class MWin;

// Registers the textures and makes every texture button; true when every
// step succeeded.
char HiveWatcherMWinSetupTexturesAndTexButs(MWin *mwin);
// Renders the game font (number 0, the only one) from its file.
char HiveWatcherMWinCreateFontApart(int font_num, const char *file, EngFont *font);
// Writes the skin's layout metrics into the toolkit's settings block.
void HiveWatcherMWinSetupLayoutSettings(MWin *mwin);
