// Pixels in memory in the device's colour formats: what textures and
// surfaces keep, and how their pixels convert to and from ARGB colours.
#pragma once

#include "platform/d3d9/D3D9Types.h"

// width x height pixels of one format, rows pitch bytes apart (a multiple of 4).
struct D3D9Pixels {
    D3DFORMAT format;
    UINT width;
    UINT height;
    UINT pitch;
    BYTE *bits;
};

// Bytes per pixel of the colour formats kept in memory (R8G8B8 3, the 32-bit
// formats 4, the 16-bit formats 2, L8 1); 0 for any other format.
UINT D3D9FormatBytesPerPixel(D3DFORMAT format);

// Zeroed pixels; false for an unknown format, a zero size or no memory.
bool D3D9PixelsAllocate(D3D9Pixels *pixels, D3DFORMAT format, UINT width, UINT height);
void D3D9PixelsFree(D3D9Pixels *pixels);

// The part of the block a rectangle covers (null: all of it); false when the
// rectangle is empty or reaches outside the block.
bool D3D9PixelsGetRect(const D3D9Pixels *pixels, const RECT *rect, RECT *out);
BYTE *D3D9PixelsAt(const D3D9Pixels *pixels, UINT x, UINT y);
// Every pixel of the rectangle (null: all) becomes the colour.
void D3D9PixelsFill(D3D9Pixels *pixels, const RECT *rect, D3DCOLOR colour);

// One pixel as an ARGB colour; the alpha of a format without alpha reads
// 255, and L8 gives its level in red, green and blue.
D3DCOLOR D3D9ReadPixel(D3DFORMAT format, const BYTE *pixel);
// The colour stored at the format's precision; L8 keeps the colour's
// brightness (0.2125 red + 0.7154 green + 0.0721 blue).
void D3D9WritePixel(D3DFORMAT format, BYTE *pixel, D3DCOLOR colour);
