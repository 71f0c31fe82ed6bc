// Identifier and area helpers of the toolkit.
#include "gui/MWinIDs.h"

#include "engine/core/EngDebug.h"
#include "gui/MWinTypes.h"

#include <cstring>

char MWinCopyID(char *dest, const char *src)
{
    if (!dest) {
        DebugError("MWinCopyID", "No Dest ID");
        return 0;
    }
    if (!src) {
        DebugError("MWinCopyID", "No Source ID");
        return 0;
    }
    size_t length = strnlen(src, MWIN_ID_SIZE);
    if (length >= MWIN_ID_SIZE) {
        DebugError("MWinCopyID", "Source string Too Long <%s>", src);
        return 0;
    }
    std::memcpy(dest, src, length + 1);
    return 1;
}

char MWinAreIDsTheSame(const char *a, const char *b)
{
    if (MWinIsIDInvalid(a) || MWinIsIDInvalid(b))
        return 0;
    return std::strcmp(a, b) == 0;
}

char MWinIsIDInvalid(const char *id)
{
    return !id || !id[0];
}

_Dimension *MWinCopyArea(_Dimension *dest, const _Dimension *src)
{
    if (!dest || !src) {
        DebugError("MWinCopyArea", "Parameter Error");
        return nullptr;
    }
    *dest = *src;
    return dest;
}

_Dimension *MWinSetArea(_Dimension *dest, float x, float y, float w, float h)
{
    if (!dest) {
        DebugError("MWinSetArea", "Parameter Error");
        return nullptr;
    }
    dest->x = x;
    dest->y = y;
    dest->w = w;
    dest->h = h;
    return dest;
}
