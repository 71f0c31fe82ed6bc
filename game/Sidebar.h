// The sidebar and the bottom bar of the play screen. The sidebar (x 0 to
// 100, y 0 to 450 of the 640 x 480 virtual screen) holds twelve buttons, one
// per weapon type, composed into one picture: each button's background, the
// picture of what it sells, and a locked overlay over a weapon whose family
// factory is not built far enough. The bottom bar (y 450 to 480) shows the
// score, money and lives with the level title, and holds the start/pause and
// menu buttons. Hovering a button makes the weapon popup describe its type; a
// press on an enabled button starts placing that weapon with a preview that
// follows the mouse until the weapons module places it or it is cancelled.
//
// Failures: missing sidebar pictures make the refresh and the graphics
// creation answer false; bad arguments to the rectangle queries are reported
// ('BAPA', "Bad bnum %d.", 'NOIM') and answered false; a type above 11 is an
// internal error; starting to place without the money, or while placing, is
// refused silently. Everything that draws does nothing while no device
// exists; the layout and input work headless.
#pragma once

#include "engine/core/EngMath.h"

#include <cstdint>

enum {
    SIDEBAR_BUTTONS = 12,
    // SidebarRefresh: only recompute which buttons are enabled.
    SIDEBAR_REFRESH_ENABLED_ONLY = 0x80,
};

// A button's rectangle in the pixels of the 256 x 1024 sidebar picture.
struct _SidebarPixelRect {
    int left, top, right, bottom;
};

extern _SidebarPixelRect sidebar_button_pixels[SIDEBAR_BUTTONS];
// The same in 640 x 480 units, widths following the aspect factor.
extern _Dimension sidebar_button_rects[SIDEBAR_BUTTONS];
extern uint8_t sidebar_enabled[SIDEBAR_BUTTONS];
// The button under the mouse, -1 for none.
extern int32_t sidebar_hovered;
// 0 none, 1 start/pause, 2 menu.
extern uint8_t sidebar_bottom_hover;
// 1 while a weapon is being placed, and its type (-1 at a new game).
extern char sidebar_placing;
extern int sidebar_placing_type;

char SidebarSetup();
char SidebarCreateGraphics();
void SidebarDestroyGraphics();
// Recomputes the enabled flags; unless SIDEBAR_REFRESH_ENABLED_ONLY is set,
// composes the sidebar picture again and makes sure the bottom bar is loaded
// (reloaded first for flags other than 0).
char SidebarRefresh(int flags);
void SidebarResetForNewGame();
void SidebarDraw();
// The mouse in 640 x 480 units; true while it is over the sidebar or the
// bottom bar.
char SidebarMouseMove(float x, float y);
// Button 0 left, 1 right; state 1 press, 0 release, 2 double click. True
// when the sidebar or the bottom bar used the click.
char SidebarHandleClick(char button, char state);
char SidebarStartPlacingWeapon(int type);
void SidebarCancelPlacing();
void SidebarDeselect();
// The preview weapon that follows the mouse while placing.
void SidebarDeletePreviewWeapon();
void SidebarDrawPreviewWeapon();
// Screen units, as the pointer picture.
void SidebarMovePreviewWeapon(float x, float y);
// A side button's rectangle; with sidebar_space set, on the drawn sidebar.
// Grown by the amounts on each side and kept on the screen.
char SidebarGetSideButtonPosition(int button, char sidebar_space, float grow_x, float grow_y, _Dimension *out);
// Only button 0 (start/pause) exists; log set writes its rectangle to the log.
char SidebarGetBottomButtonPosition(int button, char log, float grow_x, float grow_y, _Dimension *out);
// The framed panel at the top of the drawn sidebar that holds the level
// title and the hit points, in 640 x 480 units.
_Dimension SidebarGetLevelPanel();

// The sidebar as at start, its pictures and preview released.
void SidebarResetForTests();
