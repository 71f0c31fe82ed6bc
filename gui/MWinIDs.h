// Identifier and area helpers shared by the whole toolkit. Every collection,
// window and control is named by 1 to 31 characters, compared exactly.
// The copy refuses (and reports) a source that would not fit, so a
// char[32] is never overrun; the area helpers report a null pointer.
#pragma once

#include "engine/core/EngMath.h"

// Copies at most 31 characters and the terminator into dest (char[32]);
// false, reported, for a null pointer or a source of 32 characters or more.
char MWinCopyID(char *dest, const char *src);
// False when either is null or empty; otherwise exact equality.
char MWinAreIDsTheSame(const char *a, const char *b);
char MWinIsIDInvalid(const char *id);

// Fill dest and return it; null, reported, for a null pointer.
_Dimension *MWinCopyArea(_Dimension *dest, const _Dimension *src);
_Dimension *MWinSetArea(_Dimension *dest, float x, float y, float w, float h);
