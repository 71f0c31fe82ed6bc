// The main window and the life of its graphics device.
#pragma once

// The start-up settings of window and device. The shared modules fill the
// program's one record; the game core hands it over (MainGetCreateWindowParms).
struct _EngCreateWindowParms {
    int x, y;          // windowed position; negative centres on the work area
    int width, height; // client size (windowed) or display mode size
    int bits;
    char windowed;
    int refresh_rate;
    int reserved;      // recorded with the anti-aliasing fields, never read
    int aa_type;
    int aa_quality;
    char double_clicks;
    int cursor;        // below 1: the system arrow
    char class_name[256];
};
