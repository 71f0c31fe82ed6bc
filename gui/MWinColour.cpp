// The colour picker: the root's shared graphics (three empty 256 x 32
// textures and the hue palette they are painted from, made and released
// with the toolkit's graphics) and the picker control. A texture that cannot
// be made stops the creation and is answered with false.
#include "gui/MWinColour.h"

#include "engine/core/EngDebug.h"
#include "engine/graphics/EngTexture.h"
#include "engine/runtime/EngDevice.h"
#include "gui/MWin.h"
#include "gui/MWinCollection.h"
#include "gui/MWinDesktop.h"
#include "gui/MWinGroup.h"
#include "gui/MWinScrollbar.h"
#include "gui/MWinTextures.h"
#include "gui/MWinWindow.h"

#include <algorithm>
#include <cstdio>
#include <new>

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

// Each scrollbar: its id suffix, range, page, step and starting value.
struct BarSpec {
    const char *suffix;
    float min, max, page, step, start;
};

const BarSpec kBars[MWinColour::NUM_STRIPS] = {
    {".H", 0, 255, 51, 1, 0},
    {".S", 0, 1, 0.25f, 0.01f, 1},
    {".B", 0, 1, 0.25f, 0.01f, 1},
};

// A strip takes the upper half of its third of the control, its scrollbar
// the lower half.
const float kStripShare = 0.5f;

// Visits every colour picker of every created group of every window of
// every collection.
template <class Visit>
void ForEachColourControl(MWinDesktop *desktop, Visit visit)
{
    for (MWinCollection *c = desktop ? desktop->GetFirstCollection() : nullptr; c; c = c->GetNext())
        for (MWinWindow *w = c->GetFirstWindow(); w; w = w->GetNext())
            for (MWinGroup *g = w->GetFirstGroup(); g; g = g->GetNext())
                if (g->IsCreated())
                    for (MWinButton *b = g->GetFirstButton(); b; b = b->GetNext())
                        if (b->GetType() == MWBT_KIND_10)
                            visit(static_cast<MWinColour *>(b));
}

} // namespace

char MWin::ColourCreateGraphics()
{
    if (!m_textures) {
        DebugError("MWin::ColourCreateGraphics", "No textures");
        return 0;
    }
    for (int i = 0; i < MWIN_NUM_COLOUR_TEXTURES; i++) {
        int w = MWinColour::STRIP_W, h = MWinColour::STRIP_H;
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
    ForEachColourControl(m_desktop, [](MWinColour *colour) { colour->UpdateTextures(0); });
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

MWinColour::MWinColour(MWin *mwin, const char *id, MWinGroup *group, const char *texbut_id, float x, float y,
                       float w, float h)
    : MWinButton(mwin, id, group, MWBT_KIND_10, texbut_id, "", x, y, w, h), m_bars{}, m_hue(0), m_saturation(0),
      m_brightness(0), m_colour{0, 0, 0}, m_output(nullptr), m_output_scale(1), m_output_offset(0)
{
    for (auto &pixels : m_pixels)
        pixels.assign(STRIP_W * STRIP_H * 3, 0);
    for (int i = 0; i < NUM_STRIPS; i++) {
        char bar_id[MWIN_ID_SIZE];
        std::snprintf(bar_id, sizeof(bar_id), "%.*s%s", MWIN_ID_SIZE - 3, GetID(), kBars[i].suffix);
        m_bars[i] = new (std::nothrow) MWinHorzScrollbar(mwin, bar_id, group, "MWIN_TEXBUT_DEFAULT", "", x, y, w, h);
        if (!m_bars[i]) {
            DebugErrorCode("MWinColour::MWinColour", 'OMEM');
            continue;
        }
        m_bars[i]->m_shown = 1;
        m_bars[i]->SetRange(kBars[i].min, kBars[i].max, kBars[i].page, kBars[i].step);
        m_bars[i]->SetPos(kBars[i].start, 0);
        m_bars[i]->SetCallback(&MWinColour::ScrollbarCB, i, 0, this, 0);
    }
    PlaceScrollbars();
    UpdateFromScrollbars(1);
}

MWinColour::~MWinColour()
{
    for (MWinHorzScrollbar *bar : m_bars)
        delete bar;
}

_Dimension MWinColour::StripArea(int strip) const
{
    float third = m_dim.h / NUM_STRIPS;
    return {m_dim.x, m_dim.y + third * strip, m_dim.w, third * kStripShare};
}

void MWinColour::PlaceScrollbars()
{
    for (int i = 0; i < NUM_STRIPS; i++)
        if (MWinHorzScrollbar *bar = m_bars[i]) {
            _Dimension strip = StripArea(i);
            float third = m_dim.h / NUM_STRIPS;
            bar->SetPosAndSize(strip.x, strip.y + strip.h, strip.w, third - strip.h);
            bar->RecalculateArea();
        }
}

void MWinColour::UpdateFromScrollbars(char force)
{
    MWinHorzScrollbar *bars[NUM_STRIPS];
    for (int i = 0; i < NUM_STRIPS; i++)
        if (!(bars[i] = GetScrollbar(i))) {
            DebugError("MWinColour::UpdateFromScrollbars", "No scrollbars");
            return;
        }
    float hue = std::min(std::max(bars[0]->GetPos(), 0.0f), 255.0f);
    float saturation = bars[1]->GetPos(), brightness = bars[2]->GetPos();
    bool changed = hue != m_hue || saturation != m_saturation || brightness != m_brightness;
    m_hue = hue;
    m_saturation = saturation;
    m_brightness = brightness;
    if (changed || force)
        UpdateTextures(force);
}

void MWinColour::ScrollbarCB()
{
    UpdateFromScrollbars(1);
}

void MWinColour::ScrollbarCB(MWin *, _MWinButtonCallbackInfo *, int, int, void *colour)
{
    static_cast<MWinColour *>(colour)->ScrollbarCB();
}

void MWinColour::LinkOutput(float *output, float scale, float offset)
{
    m_output = output;
    m_output_scale = scale;
    m_output_offset = offset;
    UpdateTextures(0);
}

void MWinColour::PaintStrips()
{
    const float *h = m_mwin->GetHuePaletteColour(static_cast<int>(m_hue));
    float saturated[3];
    for (int c = 0; c < 3; c++)
        saturated[c] = (1 - m_saturation) + m_saturation * h[c];
    _MWinLayoutSettings *layout = GetLayoutSettings();
    const int bw = layout ? layout->m_colour_border_w : 0, bh = layout ? layout->m_colour_border_h : 0;
    const float *border = m_mwin->GetSettingsP()->m_colour_picker_values;

    for (int strip = 0; strip < NUM_STRIPS; strip++) {
        unsigned char *row = m_pixels[strip].data();
        for (int y = 0; y < STRIP_H; y++, row += STRIP_W * 3)
            for (int x = 0; x < STRIP_W; x++) {
                float l = x / 255.0f;
                const float *hx = m_mwin->GetHuePaletteColour(x);
                bool in_border = x < bw || x >= STRIP_W - bw || y < bh || y >= STRIP_H - bh;
                for (int c = 0; c < 3; c++) {
                    float value;
                    if (in_border)
                        value = border[c];
                    else if (strip == 0)
                        value = hx[c];
                    else if (strip == 1)
                        value = l * h[c] + (1 - l) * m_brightness;
                    else
                        value = l * saturated[c];
                    row[x * 3 + c] = static_cast<unsigned char>(255 * value);
                }
            }
    }

    float top = std::max({h[0], h[1], h[2]});
    for (int c = 0; c < 3; c++)
        m_colour[c] = m_brightness * ((1 - m_saturation) + m_saturation * (h[c] + (1 - top)));
}

void MWinColour::UpdateTextures(char upload)
{
    PaintStrips();
    if (m_output)
        for (int c = 0; c < 3; c++)
            m_output[c] = m_colour[c] * m_output_scale + m_output_offset;
    if (upload)
        Upload();
    RequestRender();
}

void MWinColour::Upload()
{
    MWinTextures *textures = m_mwin->GetTextures();
    for (int strip = 0; strip < NUM_STRIPS; strip++) {
        EngTexture *texture = textures ? textures->GetColourTexture(strip) : nullptr;
        EngTextureDX9 *dx9 = texture && texture->IsCreated() ? texture->GetTextureDX9() : nullptr;
        if (!dx9 || dx9->GetBitsPerPixel() != 32 || texture->GetWidth() != STRIP_W ||
            texture->GetHeight() != STRIP_H) {
            DebugError("MWinColour::UpdateTextures", "Texture %d not ready", strip);
            continue;
        }
        D3DLOCKED_RECT locked;
        if (!dx9->LockDxSurface(&locked)) {
            DebugError("MWinColour::UpdateTextures", "Could not lock texture %d", strip);
            continue;
        }
        const unsigned char *from = m_pixels[strip].data();
        for (int y = 0; y < STRIP_H; y++) {
            unsigned char *to = static_cast<unsigned char *>(locked.pBits) + static_cast<size_t>(y) * locked.Pitch;
            // Texture bytes run blue, green, red, alpha.
            for (int x = 0; x < STRIP_W; x++, from += 3, to += 4) {
                to[0] = from[2];
                to[1] = from[1];
                to[2] = from[0];
                to[3] = 0xFF;
            }
        }
        dx9->UnlockDxSurface();
    }
}

char MWinColour::CreateGraphics()
{
    char ok = MWinButton::CreateGraphics();
    PlaceScrollbars();
    UpdateTextures(1);
    return ok;
}

void MWinColour::AreaChanged()
{
    PlaceScrollbars();
    MWinButton::AreaChanged();
}

void MWinColour::Render()
{
    MWinTextures *textures = m_mwin->GetTextures();
    if (!eng_device || !textures || !m_on_screen || !m_shown)
        return;
    PlaceScrollbars();
    float sx = m_dim.w > 0 ? m_screen.w / m_dim.w : 1, sy = m_dim.h > 0 ? m_screen.h / m_dim.h : 1;
    for (int strip = 0; strip < NUM_STRIPS; strip++) {
        EngTexture *texture = textures->GetColourTexture(strip);
        if (texture && texture->IsCreated()) {
            _Dimension area = StripArea(strip);
            texture->PositionRatioed(m_screen.x + (area.x - m_dim.x) * sx, m_screen.y + (area.y - m_dim.y) * sy,
                                     area.w * sx, area.h * sy);
            texture->DrawWithColour(1, 1, 1, 1);
        }
        if (m_bars[strip]) {
            m_bars[strip]->TurnOnCropToWindow();
            m_bars[strip]->Render();
        }
    }
}

MWinHorzScrollbar *MWinColour::ScrollbarUnderMouse()
{
    PlaceScrollbars();
    for (MWinHorzScrollbar *bar : m_bars)
        if (bar && (bar->IsDraggingThumb() || m_mwin->IsMouseInDimension(bar->GetScreenDimensionP(), nullptr)))
            return bar;
    return nullptr;
}

// A scrollbar's receiver (the picker itself, or the window's controller)
// may delete the picker: after handing an event on, the picker reads itself
// again only when the toolkit still finds it, and then catches up with any
// change the controller took instead of it.
char MWinColour::HandleMouseButtonPressed(char button, char down, char extra)
{
    MWinHorzScrollbar *bar = ScrollbarUnderMouse();
    if (!bar || !m_enabled || !m_shown)
        return 0;
    if (m_active)
        bar->Activate();
    const MWinButtonIdentity self(this);
    char used = bar->HandleMouseButtonPressed(button, down, extra);
    if (self.StillAlive())
        UpdateFromScrollbars(0);
    return used;
}

char MWinColour::CancelPress()
{
    const MWinButtonIdentity self(this);
    for (MWinHorzScrollbar *bar : m_bars) {
        if (bar)
            bar->CancelPress();
        if (!self.StillAlive())
            return 0;
    }
    UpdateFromScrollbars(0);
    return 0;
}

void MWinColour::HandleMouseMove()
{
    for (MWinHorzScrollbar *bar : m_bars)
        if (bar && bar->IsDraggingThumb()) {
            const MWinButtonIdentity self(this);
            bar->HandleMouseMove();
            if (self.StillAlive())
                UpdateFromScrollbars(0);
            return;
        }
}

char MWinColour::HandleMouseWheel(int count)
{
    MWinHorzScrollbar *bar = ScrollbarUnderMouse();
    if (!bar)
        return 0;
    const MWinButtonIdentity self(this);
    char used = bar->HandleMouseWheel(count);
    if (self.StillAlive())
        UpdateFromScrollbars(0);
    return used;
}

char MWinColour::IsCapturingInput()
{
    for (MWinHorzScrollbar *bar : m_bars)
        if (bar && bar->IsCapturingInput())
            return 1;
    return 0;
}

void MWinColour::Activate()
{
    MWinButton::Activate();
    for (MWinHorzScrollbar *bar : m_bars)
        if (bar)
            bar->Activate();
}

char MWinColour::Deactivate()
{
    const MWinButtonIdentity self(this);
    for (MWinHorzScrollbar *bar : m_bars) {
        if (bar)
            bar->Deactivate();
        if (!self.StillAlive())
            return 0;
    }
    return MWinButton::Deactivate();
}
