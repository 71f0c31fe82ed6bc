// The menu bar: without a menu every query answers "none" and the
// position getters report what they could not find.
#include "gui/EngMenu.h"

#include "engine/core/EngDebug.h"
#include "engine/runtime/EngDevice.h"

namespace {

// The bar's state; nothing in this program builds a menu.
struct MenuState {
    char exists = 0;
    char enabled = 0;
    int height = 0;
    _EngMenuCol *cols = nullptr;
    _Dimension crop = {0, 0, 0, 0};
};

MenuState menu;

// The n-th entry of a list, or null past its end (or for n below 0).
template <class Entry>
Entry *Nth(Entry *first, int n)
{
    Entry *entry = n >= 0 ? first : nullptr;
    for (; entry && n > 0; n--)
        entry = entry->m_next;
    return entry;
}

template <class Entry>
int Count(const Entry *first)
{
    int n = 0;
    for (; first; first = first->m_next)
        n++;
    return n;
}

} // namespace

char EngMenuExists()
{
    return menu.exists;
}

char EngMenuIsEnabled()
{
    return menu.exists && menu.enabled;
}

char EngMenuEnable()
{
    if (!menu.exists)
        return 0;
    menu.enabled = 1;
    return 1;
}

char EngMenuDisable()
{
    if (!menu.exists)
        return 0;
    menu.enabled = 0;
    return 1;
}

int EngMenuGetHeight()
{
    return menu.exists ? menu.height : 0;
}

char EngMenuMouseMove(int, int)
{
    return 0;
}

char EngMenuMousePress(char, char)
{
    return 0;
}

const _Dimension *EngMenuTurnOnCropToDimension(const _Dimension *dimension)
{
    if (!eng_device || !dimension)
        return nullptr;
    eng_device->TurnOnCropToDimension(dimension);
    menu.crop = *dimension;
    return &menu.crop;
}

const _Dimension *EngMenuTurnOnCrop(float x, float y, float w, float h)
{
    if (!eng_device)
        return nullptr;
    eng_device->TurnOnCrop(x, y, w, h);
    menu.crop = {x, y, w, h};
    return &menu.crop;
}

_EngMenuCol *EngMenuGetColPointer(int col)
{
    if (!menu.exists || !menu.cols) {
        DebugError("EngMenuGetColPointer", "Error 1");
        return nullptr;
    }
    _EngMenuCol *found = Nth(menu.cols, col);
    if (!found)
        DebugError("EngMenuGetColPointer", "Error 2");
    return found;
}

char EngMenuGetColAndRowPointers(int col, int row, _EngMenuCol **col_out, _EngMenuRow **row_out)
{
    if (!menu.exists || !menu.cols) {
        DebugError("EngMenuGetColAndRowPointers", "Error 1");
        return 0;
    }
    _EngMenuCol *c = Nth(menu.cols, col);
    if (!c) {
        DebugError("EngMenuGetColAndRowPointers", "Error 2");
        return 0;
    }
    _EngMenuRow *r = Nth(c->m_rows, row);
    if (!r) {
        DebugError("EngMenuGetColAndRowPointers", "Error 3");
        return 0;
    }
    if (col_out)
        *col_out = c;
    if (row_out)
        *row_out = r;
    return 1;
}

char EngMenuGetColAndRowAndSubPointers(int col, int row, int sub, _EngMenuCol **col_out, _EngMenuRow **row_out,
                                       _EngMenuRow **sub_out)
{
    _EngMenuCol *c = nullptr;
    _EngMenuRow *r = nullptr;
    if (!EngMenuGetColAndRowPointers(col, row, &c, &r))
        return 0;
    _EngMenuRow *s = Nth(r->m_subs, sub);
    if (!s) {
        DebugError("EngMenuGetColAndRowAndSubPointers", "Error 3");
        return 0;
    }
    if (col_out)
        *col_out = c;
    if (row_out)
        *row_out = r;
    if (sub_out)
        *sub_out = s;
    return 1;
}

int EngMenuGetNumRowsInCol(int col)
{
    _EngMenuCol *c = menu.exists ? Nth(menu.cols, col) : nullptr;
    if (!c) {
        DebugError("EngMenuGetNumRowsInCol", "Invalid col id %d", col);
        return -1;
    }
    return Count(c->m_rows);
}

int EngMenuGetNumSubsInRow(int col, int row)
{
    _EngMenuCol *c = menu.exists ? Nth(menu.cols, col) : nullptr;
    _EngMenuRow *r = c ? Nth(c->m_rows, row) : nullptr;
    if (!r) {
        DebugError("EngMenuGetNumSubsInRow", "Invalid ids %d %d", col, row);
        return -1;
    }
    return Count(r->m_subs);
}
