#include "engine/graphics/EngTextureCopy.h"
#include "engine/core/EngDebug.h"
#include "engine/runtime/EngUtilsDX9.h"

#include <algorithm>

namespace {

const char COPY_WHERE[] = "EngTextureDX9::CopyPartFromAnotherTextureWithColour";
const char COPY_PLACE[] = "EngTextureDX9::CopyPartOfAnotherTexture";

// The 16-bit formats cannot multiply by a colour; said a few times a run.
const int COLOUR_16_REPORTS = 10;
int colour_16_reports = 0;
int colour_16_alpha_reports = 0;

bool Is32Bit(unsigned int format)
{
    return format == D3DFMT_A8R8G8B8 || format == D3DFMT_X8R8G8B8;
}

// A colour byte times a factor, truncated, kept within a byte (a factor
// above 1 saturates rather than wrapping).
unsigned char Multiply(unsigned char byte, float factor)
{
    const float value = byte * factor;
    if (value >= 255.0f)
        return 255;
    if (!(value > 0.0f))
        return 0;
    return static_cast<unsigned char>(value);
}

// 32-bit pixels: bytes blue, green, red, alpha. A colour is given when r >= 0.
void Copy32(unsigned char *d, const unsigned char *s, bool blend, float r, float g, float b)
{
    const bool colour = r >= 0.0f;
    const float factors[3] = {b, g, r};
    if (!blend || s[3] == 255) {
        for (int i = 0; i < 3; i++)
            d[i] = colour ? Multiply(s[i], factors[i]) : s[i];
        d[3] = s[3];
        return;
    }
    if (s[3] == 0)
        return;
    const int k = s[3], j = 255 - k;
    for (int i = 0; i < 3; i++) {
        const int c = colour ? Multiply(s[i], factors[i]) : s[i];
        d[i] = static_cast<unsigned char>(std::min(255, c * k / 255 + d[i] * j / 255));
    }
    d[3] = static_cast<unsigned char>(std::max<int>(d[3], k));
}

// 16-bit pixels with alpha: laid over, only the destination's alpha rises.
void Copy16Alpha(unsigned char *d, const unsigned char *s, D3DFORMAT format)
{
    _EngTextureBit16 source = {s[0], s[1]}, dest = {d[0], d[1]};
    unsigned char sr, sg, sb, sa, dr, dg, db, da;
    EngTextureDX9_GetColPartsFromBit16(&source, format, &sr, &sg, &sb, &sa);
    if (sa == 255) {
        d[0] = s[0];
        d[1] = s[1];
        return;
    }
    if (sa == 0)
        return;
    EngTextureDX9_GetColPartsFromBit16(&dest, format, &dr, &dg, &db, &da);
    if (sa > da)
        da = sa;
    EngTextureDX9_SetBit16FromColParts(dr, dg, db, da, format, &dest);
    d[0] = dest.lo;
    d[1] = dest.hi;
}

} // namespace

void EngTextureCopyResetForTests()
{
    colour_16_reports = 0;
    colour_16_alpha_reports = 0;
}

bool EngTextureDX9_GetColPartsFromBit16(const _EngTextureBit16 *pixel, D3DFORMAT format, unsigned char *red,
                                        unsigned char *green, unsigned char *blue, unsigned char *alpha)
{
    if (!pixel || !red || !green || !blue || !alpha)
        return false;
    const unsigned hi = pixel->hi, lo = pixel->lo;
    unsigned r, g, b, a;
    switch (format) {
    case D3DFMT_R5G6B5:
        a = 255;
        r = hi & 0xF8;
        g = (((hi & 7) << 3) | (lo >> 5)) << 2;
        b = lo << 3;
        break;
    case D3DFMT_X1R5G5B5:
    case D3DFMT_A1R5G5B5:
        a = (hi & 0x80) ? 255 : 0;
        r = (hi & 0x7C) << 1;
        g = (((hi & 3) << 3) | (lo >> 5)) << 3;
        b = lo << 3;
        break;
    case D3DFMT_A4R4G4B4:
    case D3DFMT_X4R4G4B4: {
        // A nibble n stands for n x 17: 0xF0 becomes 0xFF.
        auto widen = [](unsigned v) { return (v & 0xFF) ? (v & 0xFF) + 15 : 0u; };
        a = widen(hi & 0xF0);
        r = widen(hi << 4);
        g = widen(lo & 0xF0);
        b = widen(lo << 4);
        break;
    }
    default:
        DebugError("EngTextureDX9_GetColPartsFromBit16", "Format not supported: %d", static_cast<int>(format));
        return false;
    }
    *red = static_cast<unsigned char>(r);
    *green = static_cast<unsigned char>(g);
    *blue = static_cast<unsigned char>(b);
    *alpha = static_cast<unsigned char>(a);
    return true;
}

bool EngTextureDX9_SetBit16FromColParts(unsigned char red, unsigned char green, unsigned char blue,
                                        unsigned char alpha, D3DFORMAT format, _EngTextureBit16 *pixel)
{
    if (!pixel)
        return false;
    unsigned hi, lo;
    switch (format) {
    case D3DFMT_R5G6B5:
        hi = (red & 0xF8) + (green >> 5);
        lo = ((green & 0xFC) << 3) + (blue >> 3);
        break;
    case D3DFMT_X1R5G5B5:
    case D3DFMT_A1R5G5B5:
        hi = ((red >> 1) & 0x7C) + (alpha & 0x80) + (green >> 6);
        lo = ((green & 0xF8) << 2) + (blue >> 3);
        break;
    case D3DFMT_A4R4G4B4:
    case D3DFMT_X4R4G4B4:
        hi = (alpha & 0xF0) + (red >> 4);
        lo = (green & 0xF0) + (blue >> 4);
        break;
    default:
        DebugError("EngTextureDX9_SetBit16FromColParts", "Format not supported: %d", static_cast<int>(format));
        return false;
    }
    pixel->hi = static_cast<unsigned char>(hi);
    pixel->lo = static_cast<unsigned char>(lo);
    return true;
}

bool EngTextureDX9::CopyPartFromAnotherTexture(EngTexture *from, float fx, float fy, float fw, float fh, float tx,
                                               float ty, float tw, float th, char blend,
                                               const _EngTextureCopyPartSettings *settings)
{
    if (settings) {
        DebugError(COPY_WHERE, "Cps not implemeted yet");
        return false;
    }
    return CopyPartFromAnotherTextureWithColour(from, fx, fy, fw, fh, tx, ty, tw, th, blend, -1.0f, -1.0f, -1.0f);
}

bool EngTextureDX9::CopyPartFromAnotherTextureWithColour(EngTexture *from, float fx, float fy, float fw, float fh,
                                                         float tx, float ty, float tw, float th, char blend, float r,
                                                         float g, float b)
{
    EngTextureDX9 *source = from ? from->GetTextureDX9() : nullptr;
    if (!source) {
        DebugError(COPY_WHERE, "From texture not ok");
        return false;
    }
    if (!source->m_created || !source->m_texture) {
        DebugError(COPY_WHERE, "From texture not ok (2)");
        return false;
    }
    if (!m_created || !m_texture) {
        DebugError(COPY_WHERE, "To texture not ok");
        return false;
    }
    const unsigned int source_format = source->m_format;
    if (source_format != m_format && !(Is32Bit(source_format) && Is32Bit(m_format))) {
        DebugError(COPY_WHERE, "Formats are not the same [%d,%d]", static_cast<int>(source_format),
                   static_cast<int>(m_format));
        return false;
    }
    if (fw < 0.0f)
        fw = static_cast<float>(source->m_width);
    if (fh < 0.0f)
        fh = static_cast<float>(source->m_height);
    if (tw < 0.0f)
        tw = static_cast<float>(m_width);
    if (th < 0.0f)
        th = static_cast<float>(m_height);
    if (fw <= 0.0f || fh <= 0.0f) {
        DebugError(COPY_WHERE, "Invalid from sizes");
        return false;
    }
    if (tw <= 0.0f || th <= 0.0f) {
        DebugError(COPY_WHERE, "Invalid to sizes");
        return false;
    }

    D3DSURFACE_DESC from_desc, to_desc;
    if (!EngUtilsDX9_CheckResult(COPY_PLACE, "GetLevelDesc (from)", source->m_texture->GetLevelDesc(0, &from_desc)) ||
        !EngUtilsDX9_CheckResult(COPY_PLACE, "GetLevelDesc (to)", m_texture->GetLevelDesc(0, &to_desc)))
        return false;
    if (static_cast<unsigned int>(from_desc.Format) != source_format ||
        static_cast<unsigned int>(to_desc.Format) != m_format) {
        DebugError(COPY_WHERE, "Formats are not the same (2)");
        return false;
    }

    D3DLOCKED_RECT from_lock, to_lock;
    if (!EngUtilsDX9_CheckResult(COPY_PLACE, "LockRect (from)", source->m_texture->LockRect(0, &from_lock, nullptr, 0)))
        return false;
    if (!EngUtilsDX9_CheckResult(COPY_PLACE, "LockRect (to)", m_texture->LockRect(0, &to_lock, nullptr, 0))) {
        source->m_texture->UnlockRect(0);
        return false;
    }

    const D3DFORMAT format = static_cast<D3DFORMAT>(source_format);
    const bool colour = r >= 0.0f;
    int pixel_size = 2;
    switch (format) {
    case D3DFMT_A8R8G8B8:
    case D3DFMT_X8R8G8B8: pixel_size = 4; break;
    case D3DFMT_R5G6B5:
    case D3DFMT_X1R5G5B5:
    case D3DFMT_X4R4G4B4:
        if (colour && colour_16_reports < COLOUR_16_REPORTS) {
            colour_16_reports++;
            DebugError(COPY_WHERE, "Colour multiplication not supported on 16 bit textures (2)");
        }
        break;
    case D3DFMT_A1R5G5B5:
    case D3DFMT_A4R4G4B4:
        if (colour && colour_16_alpha_reports < COLOUR_16_REPORTS) {
            colour_16_alpha_reports++;
            DebugError(COPY_WHERE, "Colour multiplication not supported on 16 biy textures");
        }
        break;
    default:
        m_texture->UnlockRect(0);
        source->m_texture->UnlockRect(0);
        DebugError(COPY_WHERE, "Unsupported format 0x%x", source_format);
        return false;
    }
    const bool blend_32 = blend && format == D3DFMT_A8R8G8B8;
    const bool blend_16 = blend && (format == D3DFMT_A1R5G5B5 || format == D3DFMT_A4R4G4B4);

    // Each destination pixel takes the nearest source pixel, the source
    // indices kept inside the source rectangle.
    const int from_x0 = static_cast<int>(fx), from_x1 = static_cast<int>(fx + fw);
    const int from_y0 = static_cast<int>(fy), from_y1 = static_cast<int>(fy + fh);
    const int to_x0 = static_cast<int>(tx), to_x1 = static_cast<int>(tx + tw);
    const int y0 = static_cast<int>(ty);
    const int from_w = source->m_width, from_h = source->m_height;
    for (int y = y0; static_cast<float>(y) < static_cast<float>(y0) + th; y++) {
        if (y < 0 || y >= m_height)
            continue;
        const int sy = std::clamp(static_cast<int>((static_cast<float>(y) - ty) * fh / th + fy), from_y0, from_y1);
        if (sy < 0 || sy >= from_h)
            continue;
        const unsigned char *from_row = static_cast<const unsigned char *>(from_lock.pBits) +
                                        static_cast<size_t>(sy) * from_lock.Pitch;
        unsigned char *to_row = static_cast<unsigned char *>(to_lock.pBits) + static_cast<size_t>(y) * to_lock.Pitch;
        for (int x = to_x0; x < to_x1; x++) {
            if (x < 0 || x >= m_width)
                continue;
            const int sx =
                std::clamp(static_cast<int>((static_cast<float>(x) - tx) * fw / tw + fx), from_x0, from_x1);
            if (sx < 0 || sx >= from_w)
                continue;
            const unsigned char *s = from_row + static_cast<size_t>(sx) * pixel_size;
            unsigned char *d = to_row + static_cast<size_t>(x) * pixel_size;
            if (pixel_size == 4) {
                Copy32(d, s, blend_32, r, g, b);
            } else if (blend_16) {
                Copy16Alpha(d, s, format);
            } else {
                d[0] = s[0];
                d[1] = s[1];
            }
        }
    }

    m_texture->UnlockRect(0);
    source->m_texture->UnlockRect(0);
    return true;
}
