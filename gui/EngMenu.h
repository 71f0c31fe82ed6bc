// The menu bar along the top of the screen. The toolkit's root offers it
// every mouse move and press first and asks it for its height and for crops
// below it. No operation of this program builds a menu, so every query finds
// none: the bar takes no event, has no height, and its crops pass straight
// to the device.
#pragma once

#include "engine/core/EngMath.h"

struct _EngMenuRow;
typedef void (*EngMenuCB)(int value);

// A row of a column's drop-down, or a sub-row of a row (same fields).
struct _EngMenuRow {
    _EngMenuRow *m_next;
    _EngMenuRow *m_subs;
    float m_y;
    char m_disabled;
    char m_subs_open;
    EngMenuCB m_callback;
    int m_value;
};

// A column of the bar and its drop-down rows.
struct _EngMenuCol {
    _EngMenuCol *m_next;
    _EngMenuRow *m_rows;
    float m_x, m_w;
};

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

// Columns, rows and sub-rows by position. The pointer getters answer null
// or false and report "Error 1" without a menu or rows, "Error 2" past the
// columns, "Error 3" past the rows or sub-rows; the counters answer -1 for a
// column or row that does not exist.
_EngMenuCol *EngMenuGetColPointer(int col);
char EngMenuGetColAndRowPointers(int col, int row, _EngMenuCol **col_out, _EngMenuRow **row_out);
char EngMenuGetColAndRowAndSubPointers(int col, int row, int sub, _EngMenuCol **col_out, _EngMenuRow **row_out,
                                       _EngMenuRow **sub_out);
int EngMenuGetNumRowsInCol(int col);
int EngMenuGetNumSubsInRow(int col, int row);
