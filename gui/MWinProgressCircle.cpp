// The progress circle's triangle lists are rebuilt whenever the control's
// area or value changes, and drawn after the control's own background.
#include "gui/MWinProgressCircle.h"

#include "engine/runtime/EngDevice.h"
#include "gui/MWin.h"

#include <cmath>

namespace {

const float kPi = 3.14159265358979f;

} // namespace

MWinProgressCircle::MWinProgressCircle(MWin *mwin, const char *id, MWinGroup *group, const char *texbut_id,
                                       float x, float y, float w, float h)
    : MWinButton(mwin, id, group, MWBT_PROGRESS_CIRCLE, texbut_id, "", x, y, w, h)
{
    // The settings hold the sector's colour first, then the inner and the outer disc's.
    const float *colours = m_mwin->GetSettingsP()->m_progress_colours;
    const Part order[NUM_PARTS] = {SECTOR, INNER, OUTER};
    for (int i = 0; i < NUM_PARTS; i++)
        for (int c = 0; c < 3; c++)
            m_colours[order[i]][c] = colours[i * 3 + c];
    AreaChanged();
}

void MWinProgressCircle::SetValue(float value, float maximum)
{
    m_value = value;
    m_maximum = maximum;
    AreaChanged();
    RequestRender();
}

void MWinProgressCircle::BuildList(Part part, float rx, float ry, float sweep, const float *rgb)
{
    if (!m_mwin->GetSettingsP()->m_progress_flags[part])
        return;
    EngTriangleList &list = m_lists[part];
    if (!m_built[part]) {
        if (!list.Create(ETLT_POS_COL, nullptr, NUM_TRIANGLES))
            return;
        m_built[part] = 1;
    }
    const float cx = m_screen.x + m_screen.w / 2, cy = m_screen.y + m_screen.h / 2;
    const float alpha = m_multiplier_mode != 0 ? m_multiplier.a : 1.0f;
    if (rx < 1)
        rx = 1;
    if (ry < 1)
        ry = 1;
    for (unsigned l = 0; l < NUM_TRIANGLES; l++) {
        const float a0 = -(sweep * l / NUM_TRIANGLES + kPi / 2);
        const float a1 = -(sweep * (l + 1) / NUM_TRIANGLES + kPi / 2);
        list.SetPositions(l, cx, cy, 0, cx + std::sin(a0) * rx, cy + std::cos(a0) * ry, 0, cx + std::sin(a1) * rx,
                          cy + std::cos(a1) * ry, 0);
        list.SetColour(l, rgb[0], rgb[1], rgb[2], alpha);
    }
}

void MWinProgressCircle::AreaChanged()
{
    MWinButton::AreaChanged();
    if (!eng_device)
        return;
    _MWinLayoutSettings *layout = GetLayoutSettings();
    const float border = layout ? layout->m_progress_border : 0.0f;
    const float inset = layout ? layout->m_progress_inner_inset : 0.0f;
    const float w = m_screen.w, h = m_screen.h;
    const float rx = w / 2 - border * w, ry = h / 2 - border * h;
    const float full = 2 * kPi;
    const float sweep = m_maximum > 0 ? full * m_value / m_maximum : 0.0f;
    BuildList(OUTER, rx, ry, full, m_colours[OUTER]);
    BuildList(INNER, rx - inset * w, ry - inset * h, full, m_colours[INNER]);
    BuildList(SECTOR, rx - inset * w, ry - inset * h, sweep, m_colours[SECTOR]);
}

void MWinProgressCircle::DestroyGraphics()
{
    MWinButton::DestroyGraphics();
    for (int part = 0; part < NUM_PARTS; part++) {
        m_lists[part].Destroy();
        m_built[part] = 0;
    }
}

void MWinProgressCircle::RenderKindParts(_MWinTextureState)
{
    const _MWinSettings *settings = m_mwin->GetSettingsP();
    const bool blend = settings->m_progress_blend_type >= 0;
    if (blend) {
        eng_device->SaveOrRestoreBlendingState(1);
        eng_device->EnableBlendingType(settings->m_progress_blend_type);
    }
    for (int part = 0; part < NUM_PARTS; part++)
        if (settings->m_progress_flags[part] && m_built[part])
            m_lists[part].Draw();
    if (blend)
        eng_device->SaveOrRestoreBlendingState(0);
}
