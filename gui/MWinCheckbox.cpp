// The checkbox: a box that is checked or not, toggled by a left press,
// drawn beside its text. Its state goes into the bound char or int
// variable (as 0 or 1) and, when asked, to the control's callback. A state
// other than 0 or 1 is reported and changes nothing.
#include "engine/core/EngDebug.h"
#include "gui/MWin.h"
#include "gui/MWinButton.h"
#include "gui/MWinTextures.h"

#include <algorithm>

namespace {

// One timer for every checkbox: the placement line is logged at most this often.
const double kPlacementLogSeconds = 3.0;
double next_placement_log = 0;

} // namespace

void MWinButton::WriteBoundValue(int value)
{
    if (m_var_kind == VAR_CHAR && m_var_char)
        *m_var_char = static_cast<char>(value);
    else if (m_var_kind == VAR_INT && m_var_int)
        *m_var_int = value;
}

void MWinButton::CheckboxSet(char state, char notify)
{
    if (state != 0 && state != 1) {
        DebugError("MWinButton::CheckboxSet", "Invalid check parameter: %d", state);
        return;
    }
    m_check_state = state;
    WriteBoundValue(state);
    RequestRender();
    if (notify && HasCallback()) {
        _MWinButtonCallbackInfo info;
        FillCallbackInfo(&info);
        info.m_checkbox_state = state;
        CallCallback(&info);
    }
}

namespace {

struct BoxMetrics {
    float w, h, gap, offset;
};

} // namespace

static BoxMetrics CheckboxMetrics(MWinButton *button)
{
    BoxMetrics m = {0, 0, 0, 0};
    _MWinLayoutSettings *layout = button->GetLayoutSettings();
    if (!layout)
        return m;
    float scale = button->GetXScale();
    m = {layout->m_checkbox_w * scale, layout->m_checkbox_h, layout->m_checkbox_gap * scale,
         layout->m_checkbox_offset * scale};
    return m;
}

void MWinButton::CheckboxRenderText()
{
    const char *text = GetShownText();
    if (!text || !text[0])
        return;
    BoxMetrics m = CheckboxMetrics(this);
    float a = m.w + m.offset + m.gap;
    _Dimension area = m_screen;
    switch (m_text_align) {
    case MWTA_LEFT:
        area.x += a;
        area.w -= a;
        break;
    case MWTA_RIGHT:
        area.w -= a;
        break;
    case MWTA_CENTER:
        area.x += a;
        area.w -= 2 * a;
        break;
    default:
        return;
    }
    PrepareFont();
    m_mwin->DrawTextLineInDimension(m_font_num, m_text_align, m_text_margin, &area, nullptr, text, 0, 1,
                                    m_shrink_to_fit);
    if (m_text_align == MWTA_CENTER) {
        // Where the centred text ends: the box sits just after it.
        float width = GetTextWidth();
        m_check_text_end = area.x + area.w / 2 + width / 2;
    }
}

void MWinButton::CheckboxRenderBack(_MWinTextureState state)
{
    MWinTextures *textures = m_mwin ? m_mwin->GetTextures() : nullptr;
    if (!textures)
        return;
    BoxMetrics m = CheckboxMetrics(this);
    int texbut = textures->GetStandardTexButNum(m_check_state ? MWIN_STD_TEX_CHECK_BUTTON : MWIN_STD_TEX_UNCHECK_BUTTON);
    const _ColourRGBA *multiplier = m_multiplier_mode ? &m_multiplier : nullptr;
    float y = m_screen.y + m_screen.h / 2 - m.h / 2;
    const char *text = GetShownText();
    if (!text || !text[0]) {
        textures->DrawTexBut(texbut, state, m_screen.x + m_screen.w / 2 - m.w / 2, y, m.w, m.h, multiplier);
        return;
    }
    float left = m_screen.x + m.offset, right = m_screen.x + m_screen.w - m.w - m.offset, x = left;
    if (m_text_align == MWTA_RIGHT)
        x = right;
    else if (m_text_align == MWTA_CENTER) {
        if (m_check_text_end == 0)
            return; // the text has not been drawn yet
        x = std::max(std::min(m_check_text_end + m.gap, right), left);
    }
    textures->DrawTexBut(texbut, state, x, y, m.w, m.h, multiplier);
    DebugInfoThrottled(&next_placement_log, kPlacementLogSeconds, "%.0f %.0f %.0f", x, left, right);
}
