// The game's screens put into the screen set: every screen's maker goes
// into `hw_screen_makers` from one explicit call that the program makes
// before the screen set exists. (A maker set by a static initialiser would
// be lost: the linker leaves out a screen's object file that nothing else
// refers to.) Tests that want the real screens make the same call.
#pragma once

void ScreenMakersSetAll();
