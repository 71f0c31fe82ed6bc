// The colour picker's shared graphics on the toolkit's root: three empty
// 256 x 32 textures in the texture registry that the picker paints its
// strips into, and the hue palette they are painted from. Made and released
// with the toolkit's graphics; a texture that cannot be made stops the
// creation and is answered with false.
#include "engine/core/EngDebug.h"
#include "engine/graphics/EngTexture.h"
#include "gui/MWin.h"
#include "gui/MWinTextures.h"

namespace {

// The hue ramps: six bands from red round to red again, each ramping one
// channel up or down. A row per band: its first and last index and span,
// then r, g, b each as a constant plus a slope times (i - first) / span.
struct HueBand {
    int first, last;
    float span;
    float r0, r1, g0, g1, b0, b1;
};

const HueBand kHueBands[] = {
    {0, 42, 42, 1, 0, 0, 0, 0, 1},
    {43, 84, 41, 1, -1, 0, 0, 1, 0},
    {85, 127, 42, 0, 0, 0, 1, 1, 0},
    {128, 170, 42, 0, 0, 1, 0, 1, -1},
    {171, 212, 42, 0, 1, 1, 0, 0, 0},
    {213, 255, 42, 1, 0, 1, -1, 0, 0},
};

} // namespace

char MWin::ColourCreateGraphics()
{
    if (!m_textures) {
        DebugError("MWin::ColourCreateGraphics", "No textures");
        return 0;
    }
    for (int i = 0; i < MWIN_NUM_COLOUR_TEXTURES; i++) {
        int w = 256, h = 32;
        EngTexture *texture = m_textures->GetColourTexture(i);
        if (!texture || !texture->CreateEmptyTexture(&w, &h, 0))
            return 0;
    }
    for (const HueBand &band : kHueBands)
        for (int i = band.first; i <= band.last; i++) {
            float t = (i - band.first) / band.span;
            m_hue_palette[i][0] = band.r0 + band.r1 * t;
            m_hue_palette[i][1] = band.g0 + band.g1 * t;
            m_hue_palette[i][2] = band.b0 + band.b1 * t;
        }
    return 1;
}

void MWin::ColourDestroyGraphics()
{
    if (!m_textures)
        return;
    for (int i = 0; i < MWIN_NUM_COLOUR_TEXTURES; i++)
        if (EngTexture *texture = m_textures->GetColourTexture(i))
            texture->Destroy();
}
