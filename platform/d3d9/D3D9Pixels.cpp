#include "platform/d3d9/D3D9Pixels.h"

#include <cstdlib>
#include <cstring>

namespace {

DWORD Expand5(DWORD value)
{
    return (value << 3) | (value >> 2);
}

DWORD Expand6(DWORD value)
{
    return (value << 2) | (value >> 4);
}

DWORD Expand4(DWORD value)
{
    return value * 17;
}

WORD Read16(const BYTE *pixel)
{
    return static_cast<WORD>(pixel[0] | (pixel[1] << 8));
}

void Write16(BYTE *pixel, DWORD value)
{
    pixel[0] = static_cast<BYTE>(value & 0xFF);
    pixel[1] = static_cast<BYTE>((value >> 8) & 0xFF);
}

} // namespace

UINT D3D9FormatBytesPerPixel(D3DFORMAT format)
{
    switch (format) {
    case D3DFMT_A8R8G8B8:
    case D3DFMT_X8R8G8B8: return 4;
    case D3DFMT_R8G8B8: return 3;
    case D3DFMT_R5G6B5:
    case D3DFMT_X1R5G5B5:
    case D3DFMT_A1R5G5B5:
    case D3DFMT_A4R4G4B4:
    case D3DFMT_X4R4G4B4: return 2;
    case D3DFMT_L8: return 1;
    default: return 0;
    }
}

bool D3D9PixelsAllocate(D3D9Pixels *pixels, D3DFORMAT format, UINT width, UINT height)
{
    *pixels = D3D9Pixels{format, width, height, 0, nullptr};
    UINT bytes = D3D9FormatBytesPerPixel(format);
    // Sizes beyond what any texture has would overflow the pitch arithmetic.
    if (!bytes || width == 0 || height == 0 || width > 16384 || height > 16384)
        return false;
    pixels->pitch = (width * bytes + 3) & ~3u;
    pixels->bits = static_cast<BYTE *>(std::calloc(height, pixels->pitch));
    return pixels->bits != nullptr;
}

void D3D9PixelsFree(D3D9Pixels *pixels)
{
    std::free(pixels->bits);
    pixels->bits = nullptr;
}

bool D3D9PixelsGetRect(const D3D9Pixels *pixels, const RECT *rect, RECT *out)
{
    if (!rect) {
        *out = {0, 0, static_cast<LONG>(pixels->width), static_cast<LONG>(pixels->height)};
        return true;
    }
    if (rect->left < 0 || rect->top < 0 || rect->left >= rect->right || rect->top >= rect->bottom ||
        rect->right > static_cast<LONG>(pixels->width) || rect->bottom > static_cast<LONG>(pixels->height))
        return false;
    *out = *rect;
    return true;
}

BYTE *D3D9PixelsAt(const D3D9Pixels *pixels, UINT x, UINT y)
{
    return pixels->bits + static_cast<size_t>(y) * pixels->pitch + static_cast<size_t>(x) *
                                                                        D3D9FormatBytesPerPixel(pixels->format);
}

void D3D9PixelsFill(D3D9Pixels *pixels, const RECT *rect, D3DCOLOR colour)
{
    RECT area;
    if (!pixels->bits || !D3D9PixelsGetRect(pixels, rect, &area))
        return;
    for (LONG y = area.top; y < area.bottom; y++)
        for (LONG x = area.left; x < area.right; x++)
            D3D9WritePixel(pixels->format, D3D9PixelsAt(pixels, x, y), colour);
}

D3DCOLOR D3D9ReadPixel(D3DFORMAT format, const BYTE *pixel)
{
    DWORD value;
    switch (format) {
    case D3DFMT_A8R8G8B8:
        std::memcpy(&value, pixel, 4);
        return value;
    case D3DFMT_X8R8G8B8:
        std::memcpy(&value, pixel, 4);
        return value | 0xFF000000u;
    case D3DFMT_R8G8B8: return D3DCOLOR_ARGB(255, pixel[2], pixel[1], pixel[0]);
    case D3DFMT_R5G6B5:
        value = Read16(pixel);
        return D3DCOLOR_ARGB(255, Expand5(value >> 11), Expand6((value >> 5) & 0x3F), Expand5(value & 0x1F));
    case D3DFMT_X1R5G5B5:
    case D3DFMT_A1R5G5B5:
        value = Read16(pixel);
        return D3DCOLOR_ARGB((format == D3DFMT_X1R5G5B5 || (value & 0x8000)) ? 255 : 0, Expand5((value >> 10) & 0x1F),
                             Expand5((value >> 5) & 0x1F), Expand5(value & 0x1F));
    case D3DFMT_A4R4G4B4:
    case D3DFMT_X4R4G4B4:
        value = Read16(pixel);
        return D3DCOLOR_ARGB(format == D3DFMT_X4R4G4B4 ? 255 : Expand4(value >> 12), Expand4((value >> 8) & 0xF),
                             Expand4((value >> 4) & 0xF), Expand4(value & 0xF));
    case D3DFMT_L8: return D3DCOLOR_ARGB(255, pixel[0], pixel[0], pixel[0]);
    default: return 0;
    }
}

void D3D9WritePixel(D3DFORMAT format, BYTE *pixel, D3DCOLOR colour)
{
    DWORD a = colour >> 24, r = (colour >> 16) & 0xFF, g = (colour >> 8) & 0xFF, b = colour & 0xFF;
    switch (format) {
    case D3DFMT_A8R8G8B8:
    case D3DFMT_X8R8G8B8: std::memcpy(pixel, &colour, 4); break;
    case D3DFMT_R8G8B8:
        pixel[0] = static_cast<BYTE>(b);
        pixel[1] = static_cast<BYTE>(g);
        pixel[2] = static_cast<BYTE>(r);
        break;
    case D3DFMT_R5G6B5: Write16(pixel, ((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3)); break;
    case D3DFMT_X1R5G5B5:
    case D3DFMT_A1R5G5B5: Write16(pixel, ((a >> 7) << 15) | ((r >> 3) << 10) | ((g >> 3) << 5) | (b >> 3)); break;
    case D3DFMT_A4R4G4B4:
    case D3DFMT_X4R4G4B4: Write16(pixel, ((a >> 4) << 12) | ((r >> 4) << 8) | ((g >> 4) << 4) | (b >> 4)); break;
    case D3DFMT_L8: pixel[0] = static_cast<BYTE>((2125 * r + 7154 * g + 721 * b + 5000) / 10000); break;
    default: break;
    }
}
