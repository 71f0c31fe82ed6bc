// The range slider's geometry, values, input and drawing. Positions are in
// the same absolute 640 x 480 units as the control's screen rectangle and
// the toolkit's mouse position; the end margin, thumb width and thumb
// spacing come from the layout.
#include "gui/MWinRangeSlider.h"

#include "engine/core/EngDebug.h"
#include "engine/runtime/EngWindowInput.h"
#include "gui/MWin.h"
#include "gui/MWinKeys.h"
#include "gui/MWinTextures.h"

namespace {

const unsigned char kGrabNone = 254;

struct SliderMetrics {
    float margin, thumb, spacing;
};

SliderMetrics MetricsOf(MWinButton *button)
{
    _MWinLayoutSettings *layout = button->GetLayoutSettings();
    if (!layout)
        return {0, 0, 0};
    return {layout->m_arrow_inset, layout->m_slider_thumb_w, layout->m_slider_thumb_spacing};
}

} // namespace

MWinRangeSlider::MWinRangeSlider(MWin *mwin, const char *id, MWinGroup *group, const char *texbut_id, float x,
                                 float y, float w, float h)
    : MWinButton(mwin, id, group, MWBT_RANGE_SLIDER, texbut_id, "", x, y, w, h), m_grabbed(kGrabNone)
{
}

void MWinRangeSlider::RangeSliderSetRange(float min, float max, float step)
{
    if (min >= max || step < 0) {
        DebugError("MWinRangeSlider::RangeSliderSetRange", "Bad range %g..%g (step %g)", min, max, step);
        return;
    }
    m_min = min;
    m_max = max;
    m_step = step > max - min ? max - min : step;
    m_interactive = 1;
    RangeSliderSetValues(m_low, m_high, 0, 0);
}

char MWinRangeSlider::RangeSliderSetValues(float low, float high, char dragging, char notify)
{
    if (low > high)
        low = high;
    if (low < m_min)
        low = m_min;
    if (high > m_max)
        high = m_max;
    if (high - low < m_step) {
        const float half = (m_step - (high - low)) / 2;
        low -= half;
        high += half;
        if (low < m_min) {
            high += m_min - low;
            low = m_min;
        }
        if (high > m_max) {
            low -= high - m_max;
            high = m_max;
        }
    }
    if (low != m_low || high != m_high) {
        m_low = low;
        m_high = high;
        RequestRender();
    }
    if (dragging)
        m_pending = 1;
    if (!notify || !HasCallback())
        return 1;
    _MWinButtonCallbackInfo info;
    FillCallbackInfo(&info);
    info.m_range_slider_code = dragging ? 1 : 0;
    return CallCallback(&info);
}

char MWinRangeSlider::RangeSliderGetValues(float *low, float *high)
{
    if (!low || !high)
        return 0;
    if (m_high - m_low > m_step * 1.00001f) {
        *low = m_low;
        *high = m_high;
        return 0;
    }
    float common = m_low == m_min ? m_min : m_high == m_max ? m_max : (m_low + m_high) / 2;
    *low = *high = common;
    return 1;
}

float MWinRangeSlider::GetLowThumbX()
{
    SliderMetrics m = MetricsOf(this);
    const float range = m_max - m_min;
    const float x = m_screen.x + m.margin;
    return range != 0 ? x + (m_screen.w - 2 * m.margin - m.spacing) * (m_low - m_min) / range : x;
}

float MWinRangeSlider::GetHighThumbX()
{
    SliderMetrics m = MetricsOf(this);
    const float range = m_max - m_min;
    const float x = m.spacing + m_screen.x + m.margin;
    return range != 0 ? x + (m_screen.w - 2 * m.margin - m.spacing) * (m_high - m_min) / range : x;
}

int MWinRangeSlider::HitCode(float mx)
{
    SliderMetrics m = MetricsOf(this);
    const float low_x = GetLowThumbX(), high_x = GetHighThumbX();
    if (mx < m_screen.x)
        return HIT_LEFT_OUTSIDE;
    if (mx >= m_screen.x + m_screen.w)
        return HIT_RIGHT_OUTSIDE;
    if (mx < low_x)
        return HIT_LEFT_OF_LOW;
    if (mx >= high_x)
        return HIT_RIGHT_OF_HIGH;
    if (mx < low_x + m.thumb)
        return HIT_LOW;
    if (mx >= high_x - m.thumb)
        return HIT_HIGH;
    return HIT_BAR;
}

float MWinRangeSlider::ValueAt(float mx)
{
    SliderMetrics m = MetricsOf(this);
    if (m_dragging && m_grabbed == HIT_LOW)
        mx += m.thumb;
    else if (m_dragging && m_grabbed == HIT_HIGH)
        mx -= m.thumb;
    const float span = m_screen.w - 2 * m.margin - 2 * m.thumb;
    float value = span != 0 ? m_min + (mx - (m_screen.x + m.margin + m.thumb)) * (m_max - m_min) / span : m_min;
    if (value < m_min)
        value = m_min;
    if (value > m_max)
        value = m_max;
    return value;
}

char MWinRangeSlider::DragStep()
{
    const float v = ValueAt(m_mwin->GetMouseX());
    float low = m_low, high = m_high;
    if (m_grabbed == HIT_LOW) {
        low = v;
        if (high - v < m_step)
            high = v + m_step;
    } else if (m_grabbed == HIT_HIGH) {
        high = v;
        if (v - low < m_step)
            low = v - m_step;
    } else {
        const float width = m_high - m_low;
        low = m_grab_offset + v;
        if (low < m_min)
            low = m_min;
        if (low + width > m_max)
            low = m_max - width;
        high = low + width;
    }
    return RangeSliderSetValues(low, high, 1, 1);
}

char MWinRangeSlider::EndDrag()
{
    const bool was_pending = m_pending;
    m_dragging = 0;
    m_pressed = 0;
    m_grabbed = kGrabNone;
    m_pending = 0;
    if (!was_pending)
        return 1;
    return RangeSliderSetValues(m_low, m_high, 0, 1);
}

char MWinRangeSlider::HandleMouseButtonPressed(char button, char down, char)
{
    if (!m_interactive || !m_active || !m_enabled || !m_shown)
        return 0;
    if (button != 0 || !down) {
        if (m_dragging)
            EndDrag();
        return 1;
    }
    const float mx = m_mwin->GetMouseX();
    const int hit = HitCode(mx);
    switch (hit) {
    case HIT_LOW:
    case HIT_BAR:
    case HIT_HIGH:
        m_grabbed = static_cast<unsigned char>(hit);
        m_grab_offset = m_low - ValueAt(mx);
        m_dragging = 1;
        m_pressed = 1;
        DragStep();
        return 1;
    case HIT_LEFT_OF_LOW:
        DebugInfo("JUMP LEFT");
        return 1;
    case HIT_RIGHT_OF_HIGH:
        DebugInfo("JUMP RIGHT");
        return 1;
    default:
        return 0;
    }
}

char MWinRangeSlider::HandleMouseButtonReleased(char)
{
    if (!m_dragging)
        return 0;
    EndDrag();
    return 1;
}

char MWinRangeSlider::CancelPress()
{
    if (!m_dragging)
        return 0;
    EndDrag();
    return 1;
}

void MWinRangeSlider::HandleMouseMove()
{
    // A release outside the program's window never reaches the slider: the
    // drag ends (and notifies, after which nothing of it is touched).
    if (MWinTakeReleasedOutside()) {
        CancelPress();
        return;
    }
    if (m_dragging)
        DragStep();
}

char MWinRangeSlider::HandleKeyDown(int key)
{
    if (!m_interactive || !m_active || !m_shown)
        return 0;
    const float range = m_max - m_min, width = m_high - m_low;
    float low = m_low, high = m_high;
    if (key == kKeyLeft || key == kKeyRight) {
        const float delta = key == kKeyLeft ? -range / 100 : range / 100;
        const bool shift = eng_main_key_states[kKeyShift] > 1, control = eng_main_key_states[kKeyControl] > 1;
        if (!control)
            high += delta;
        if (!shift)
            low += delta;
    } else if (key == kKeyDown) {
        low = m_min + range / 2 - width / 2;
        high = low + width;
    } else if (key == kKeyUp) {
        low = high = 0;
    } else {
        return 0;
    }
    RangeSliderSetValues(low, high, 0, 1);
    return 1;
}

void MWinRangeSlider::RenderKindParts(_MWinTextureState state)
{
    MWinTextures *textures = m_mwin->GetTextures();
    _MWinLayoutSettings *layout = GetLayoutSettings();
    if (!textures || !layout)
        return;
    SliderMetrics m = MetricsOf(this);
    const float rail_h = layout->m_hthumb_h;
    const float low_x = GetLowThumbX(), high_x = GetHighThumbX();
    const float y = m_screen.y + m_screen.h / 2 - rail_h / 2;
    if (low_x >= high_x || rail_h <= 0)
        return;
    const int texbut = textures->GetStandardTexButNum(MWIN_STD_TEX_SCROLL_BUTTON);
    const _ColourRGBA *colour = m_multiplier_mode != 0 ? &m_multiplier : nullptr;
    const float t = m.thumb;
    if (2 * t < high_x - low_x)
        textures->DrawTexButPart(texbut, state, low_x + t, y, high_x - low_x - 2 * t, rail_h, 0.25f, 0, 0.75f, 1,
                                 colour);
    if (t > 0) {
        textures->DrawTexButPart(texbut, state, low_x, y, t, rail_h, 0, 0, 0.25f, 1, colour);
        textures->DrawTexButPart(texbut, state, high_x - t, y, t, rail_h, 0.75f, 0, 1, 1, colour);
    }
    if (t > 4 && rail_h > 4) {
        const float in = m.margin;
        textures->DrawTexBut(textures->GetStandardTexButNum(MWIN_STD_TEX_LEFT_ARROW), state, low_x + in, y + in,
                             t - 2 * in, rail_h - 2 * in, colour);
        textures->DrawTexBut(textures->GetStandardTexButNum(MWIN_STD_TEX_RIGHT_ARROW), state, high_x - t + in,
                             y + in, t - 2 * in, rail_h - 2 * in, colour);
    }
}
