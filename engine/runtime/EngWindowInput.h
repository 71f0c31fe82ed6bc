// What the main window's message handling keeps of the keyboard and the
// mouse: the key-state table, the tracking of a mouse that left the window
// and the texture drawn in place of the system cursor. The handling itself is
// EngWindow::WindowProc_PC (EngWindowInput.cpp).
#pragma once

#include "engine/graphics/EngTexture.h"
#include "platform/win32/Win32Messages.h"

// One byte per virtual key code: 2 while the key or mouse button is down,
// 0 when up. The mouse buttons use their codes (left 1, right 2, middle 4).
extern unsigned char eng_main_key_states[256];

// The mouse once it has left the client area.
struct _EngWindowMouseTracking {
    // Set when the mouse left the client area (and at first, and after the
    // device is released); cleared by the next move inside.
    char outside;
    // The position last polled while outside, client pixels.
    int last_x, last_y;
    // The left button was held when the mouse left.
    char left_held_on_leaving;
    // The held left button was found released while the mouse was outside;
    // kept until read once, so a press begun inside can be cancelled.
    char left_released_outside;
    // Program time of the last left double click; 0 = none.
    double double_click_time;
};

// The texture drawn in place of the system cursor. The graphics device
// loads the texture and fills the drawn sizes when it is created.
struct _EngWindowTextureCursor {
    char in_use;
    char filename[256];
    // The texture loader's two options.
    signed char option1;
    unsigned char option2;
    // The size in pixels of the 640 x 480 design.
    int width, height;
    // The sizes follow the screen's aspect factors (eng_font_scale_x/_y).
    char scale;
    // Drawn size, hot spot, and the hot spot scaled like the size.
    int draw_width, draw_height;
    int hot_x, hot_y;
    int hot_x_scaled, hot_y_scaled;
    // The mouse is outside the window.
    char leaving;
    // Where the texture's top-left corner goes, in virtual units: the
    // cursor's client position less the scaled hot spot.
    float x, y;
    // The picture, loaded with every new device and released with it.
    EngTexture texture;
};
