// The pixel copy between textures (EngTextureDX9::CopyPartFromAnotherTexture
// and its forms, declared in EngTexture.h) and the 16-bit pixel helpers it
// uses: packing and unpacking the pixels of the 16-bit texture formats.
#pragma once

#include "engine/graphics/EngTexture.h"

// One 16-bit pixel in memory order: the low byte first.
struct _EngTextureBit16 {
    unsigned char lo;
    unsigned char hi;
};

// The red, green, blue and alpha bytes of a pixel of R5G6B5, X1R5G5B5,
// A1R5G5B5, A4R4G4B4 or X4R4G4B4; other formats are reported and refused.
bool EngTextureDX9_GetColPartsFromBit16(const _EngTextureBit16 *pixel, D3DFORMAT format, unsigned char *red,
                                        unsigned char *green, unsigned char *blue, unsigned char *alpha);
// The pixel of those formats made of the four bytes.
bool EngTextureDX9_SetBit16FromColParts(unsigned char red, unsigned char green, unsigned char blue,
                                        unsigned char alpha, D3DFORMAT format, _EngTextureBit16 *pixel);

// The limits on repeated reports of the copy back as at start (part of
// EngTextureResetForTests).
void EngTextureCopyResetForTests();
