// Scrollbars: range and position, the bound variable, the thumb's geometry,
// and mouse, wheel and key handling, for both axes.
#include "gui/MWinScrollbar.h"

#include "engine/core/EngDebug.h"
#include "engine/runtime/EngWindow.h"
#include "gui/MWin.h"
#include "gui/MWinKeys.h"
#include "gui/MWinTextures.h"
#include "gui/MWinWindow.h"


namespace {


const int kSignedByteLimit = 127;

double Clamp(double value, double low, double high)
{
    return value < low ? low : (value > high ? high : value);
}

} // namespace

MWinScrollbar::MWinScrollbar(MWin *mwin, const char *id, MWinGroup *group, _MWinButtonType type,
                             const char *texbut_id, const char *text, float x, float y, float w, float h)
    : MWinButton(mwin, id, group, type, texbut_id, text, x, y, w, h)
{
    Reset();
    // A scrollbar takes the mouse like any control: without this it could
    // neither capture its thumb drag nor follow the pointer.
    m_interactive = 1;
}

MWinScrollbar::~MWinScrollbar()
{
    Reset();
}

void MWinScrollbar::Reset()
{
    m_pos = 0;
    m_min = 0;
    m_max = 100;
    m_page = 10;
    m_step = 1;
    m_changed_by_user = 0;
    m_drag_offset = 0;
}

void MWinScrollbar::SetRange(float min, float max, float page, float step)
{
    ApplyRange(min, max, page, step);
}

void MWinScrollbar::ApplyRange(double min, double max, double page, double step)
{
    if (min > max)
        return;
    m_min = min;
    m_max = max;
    m_page = page > 0 ? page : (max - min) / 10;
    m_step = step > 0 ? step : (max - min) / 100;
    m_pos = min;
    RequestRender();
}

void MWinScrollbar::WriteBoundVariable()
{
    switch (m_var_kind) {
    case VAR_CHAR: {
        int rounded = EngMathRoundDoubleToInt(m_pos);
        *m_var_char = static_cast<char>(EngMathClampInt(rounded, -kSignedByteLimit, kSignedByteLimit));
        break;
    }
    case VAR_INT:
        *m_var_int = EngMathRoundDoubleToInt(m_pos);
        break;
    case VAR_FLOAT:
        *m_var_float = static_cast<float>(m_var_float_mult > 0 ? m_pos / m_var_float_mult : m_pos);
        break;
    case VAR_NONE:
        break;
    }
}

char MWinScrollbar::Notify(char from_user)
{
    // An owned scrollbar's moves reach its owner through the bound position
    // alone; the window's controller knows nothing of it.
    if (m_owned || !HasCallback())
        return 1;
    _MWinButtonCallbackInfo info;
    FillCallbackInfo(&info);
    info.m_scroll_pos = m_pos;
    info.m_scroll_from_user = from_user;
    return CallCallback(&info);
}

char MWinScrollbar::SetPosDouble(double value, char from_user, char force, char notify)
{
    if (m_type != MWBT_HORZ_SCROLLBAR && m_type != MWBT_VERT_SCROLLBAR) {
        DebugError("MWinScrollbar::SetPosDouble", "Not a scrollbar [%s]", m_id);
        return 1;
    }
    value = Clamp(value, m_min, m_max);
    if (!force && value == m_pos)
        return notify ? Notify(from_user) : 1;
    m_pos = value;
    WriteBoundVariable();
    // Marked before the receiver runs: it may delete this control.
    if (from_user)
        m_changed_by_user = 1;
    RequestRender();
    return notify ? Notify(from_user) : 1;
}

void MWinScrollbar::SetPos(float value, char notify)
{
    SetPosDouble(value, 0, 0, notify);
}

double MWinScrollbar::GetPosDouble()
{
    if (m_type != MWBT_HORZ_SCROLLBAR && m_type != MWBT_VERT_SCROLLBAR)
        return -1;
    return m_pos;
}

float MWinScrollbar::GetPos()
{
    return static_cast<float>(GetPosDouble());
}

void MWinScrollbar::RegisterFloatVariable(float *variable, float multiplier, char notify)
{
    if (MWinButton::RegisterFloatVariable(variable, multiplier) && variable)
        SetPos(multiplier * *variable, notify);
}

char MWinScrollbar::StepBy(int forward)
{
    double next = m_pos;
    if (forward && m_pos + m_step <= m_max)
        next = m_pos + m_step;
    else if (!forward && m_pos - m_step >= m_min)
        next = m_pos - m_step;
    return next != m_pos ? SetPosDouble(next, 0, 0, 1) : 1;
}

char MWinScrollbar::PageBy(int direction)
{
    double next = direction > 0 ? m_pos + m_page : m_pos - m_page;
    return SetPosDouble(Clamp(next, m_min, m_max), 0, 0, 1);
}

char MWinScrollbar::EndDrag()
{
    m_dragging = 0;
    m_pressed = 0;
    if (!m_changed_by_user)
        return 1;
    m_changed_by_user = 0;
    // The value is unchanged: this tells the receiver the drag has ended.
    return Notify(0);
}

// Geometry along the axis, on the control's screen area.

float MWinScrollbar::GetThumbLength()
{
    _MWinLayoutSettings *l = GetLayoutSettings();
    if (!l)
        return 0;
    return IsVertical() ? l->m_vthumb_h : GetXScale() * l->m_hthumb_w;
}

float MWinScrollbar::GetThumbBreadth()
{
    _MWinLayoutSettings *l = GetLayoutSettings();
    if (!l)
        return 0;
    return IsVertical() ? l->m_vscrollbar_w * eng_font_scale_x : GetYScale() * l->m_hthumb_h;
}

float MWinScrollbar::TrackStart()
{
    _MWinLayoutSettings *l = GetLayoutSettings();
    float inset = l ? (IsVertical() ? l->m_vscroll_track_inset : l->m_hscroll_track_inset) : 0;
    return (IsVertical() ? m_screen.y : m_screen.x) + inset;
}

float MWinScrollbar::Travel()
{
    _MWinLayoutSettings *l = GetLayoutSettings();
    float inset = l ? (IsVertical() ? l->m_vscroll_track_inset : l->m_hscroll_track_inset) : 0;
    float track = (IsVertical() ? m_screen.h : m_screen.w) - 2 * inset;
    return track - GetThumbLength();
}

float MWinScrollbar::ThumbStart()
{
    if (m_max == m_min)
        return TrackStart();
    return TrackStart() + static_cast<float>(Travel() * (m_pos - m_min) / (m_max - m_min));
}

double MWinScrollbar::ValueAt(float p)
{
    float travel = Travel();
    if (travel == 0)
        return 0;
    return m_min + (p - GetThumbLength() / 2 - TrackStart()) * (m_max - m_min) / travel;
}

float MWinScrollbar::PointerAlong()
{
    return IsVertical() ? m_mwin->GetPointerY() : m_mwin->GetPointerX();
}

// Input.

char MWinScrollbar::HandleMouseButtonPressed(char button, char pressed, char)
{
    m_pressed = 0;
    if (!IsUsable() || !m_enabled || button != 0) {
        m_dragging = 0;
        return 0;
    }
    if (!pressed) {
        char was_dragging = m_dragging;
        EndDrag();
        return was_dragging;
    }
    m_pressed = 1;
    float p = PointerAlong();
    float start = IsVertical() ? m_screen.y : m_screen.x;
    float length = IsVertical() ? m_screen.h : m_screen.w;
    if (p < start || p >= start + length)
        return 0;
    float thumb = ThumbStart(), thumb_length = GetThumbLength();
    if (p > thumb && p < thumb + thumb_length) {
        m_dragging = 1;
        m_drag_offset = p - (thumb + thumb_length / 2);
        return 1;
    }
    double value = ValueAt(p);
    if (value >= m_min && value <= m_max)
        PageBy(value <= m_pos ? -1 : 1);
    return 1;
}

char MWinScrollbar::HandleMouseButtonReleased(char button)
{
    // A release over the control counts as a press on it.
    if (IsUsable() && m_enabled && button == 0)
        return HandleMouseButtonPressed(button, 1, 0);
    return 0;
}

char MWinScrollbar::CancelPress()
{
    EndDrag();
    return 0;
}

void MWinScrollbar::HandleMouseMove()
{
    if (!m_interactive || !m_shown)
        return;
    if (MWinTakeReleasedOutside() && !EndDrag())
        return;
    if (!m_dragging)
        return;
    if (IsVertical())
        RequestRender();
    // One notification per change: the toolkit may run a move twice (once
    // to settle the focus), and a pointer past an end changes nothing.
    double value = Clamp(ValueAt(PointerAlong() - m_drag_offset), m_min, m_max);
    if (value != m_pos)
        SetPosDouble(value, 1, 0, 1);
}

char MWinScrollbar::HandleMouseWheel(int clicks)
{
    if (!IsUsable())
        return 0;
    // Wheel up (clicks above 0) moves back, a step per click. A receiver
    // that deletes the control ends the steps.
    const int forward = clicks < 0;
    const int count = clicks < 0 ? -clicks : clicks;
    for (int i = 0; i < count; i++)
        if (!StepBy(forward))
            break;
    return 1;
}

char MWinScrollbar::HandleKeyDown(int key)
{
    if (!IsUsable())
        return 0;
    int count = 0;
    const KeyMove *moves = KeyMoves(&count);
    for (int i = 0; i < count; i++) {
        if (moves[i].key != key)
            continue;
        if (moves[i].page)
            PageBy(moves[i].forward ? 1 : -1);
        else
            StepBy(moves[i].forward);
        return 1;
    }
    return 0;
}

char MWinScrollbar::IsCapturingInput()
{
    return m_interactive && m_active && m_dragging;
}

char MWinScrollbar::Deactivate()
{
    if (!EndDrag())
        return 0;
    return MWinButton::Deactivate();
}

// Drawing.

void MWinScrollbar::Render()
{
    if (!m_on_screen || !IsRenderable())
        return;
    _MWinTextureState state = GetTextureState();
    RenderBack(state);
    MWinTextures *textures = m_mwin->GetTextures();
    if (textures) {
        int slot = IsVertical() ? MWIN_STD_TEX_VSCROLL_BUTTON : MWIN_STD_TEX_SCROLL_BUTTON;
        float length = GetThumbLength(), breadth = GetThumbBreadth();
        const _ColourRGBA *multiplier = m_multiplier_mode ? &m_multiplier : nullptr;
        if (IsVertical())
            textures->DrawTexBut(textures->GetStandardTexButNum(slot), MWTS_NORMAL,
                                 m_screen.x + m_screen.w / 2 - breadth / 2, ThumbStart(), breadth, length,
                                 multiplier);
        else
            textures->DrawTexBut(textures->GetStandardTexButNum(slot), MWTS_NORMAL, ThumbStart(),
                                 m_screen.y + m_screen.h / 2 - breadth / 2, length, breadth, multiplier);
    }
    PrepareFont();
    RenderText();
    if (m_render_callback)
        m_render_callback(this, &m_screen, state, m_render_value, m_render_user);
    FinishRender();
}

// The two classes.

MWinHorzScrollbar::MWinHorzScrollbar(MWin *mwin, const char *id, MWinGroup *group, const char *texbut_id,
                                     const char *text, float x, float y, float w, float h)
    : MWinScrollbar(mwin, id, group, MWBT_HORZ_SCROLLBAR, texbut_id, text, x, y, w, h)
{
}

const MWinScrollbar::KeyMove *MWinHorzScrollbar::KeyMoves(int *count) const
{
    static const KeyMove moves[] = {
        {kKeyPageUp, true, 0}, {kKeyUp, true, 0},     {kKeyPageDown, true, 1},
        {kKeyDown, true, 1},   {kKeyLeft, false, 0}, {kKeyRight, false, 1},
    };
    *count = sizeof(moves) / sizeof(moves[0]);
    return moves;
}

MWinVertScrollbar::MWinVertScrollbar(MWin *mwin, const char *id, MWinGroup *group, const char *texbut_id,
                                     const char *text, float x, float y, float w, float h)
    : MWinScrollbar(mwin, id, group, MWBT_VERT_SCROLLBAR, texbut_id, text, x, y, w, h)
{
}

const MWinScrollbar::KeyMove *MWinVertScrollbar::KeyMoves(int *count) const
{
    static const KeyMove moves[] = {
        {kKeyPageUp, true, 0}, {kKeyLeft, true, 0}, {kKeyPageDown, true, 1},
        {kKeyRight, true, 1},  {kKeyUp, false, 0},  {kKeyDown, false, 1},
    };
    *count = sizeof(moves) / sizeof(moves[0]);
    return moves;
}

void MWinVertScrollbar::SetRangeDouble(double min, double max, double page, double step)
{
    ApplyRange(min, max, page, step);
}

void MWinVertScrollbar::SetRangeInt(int min, int max, int page, int step)
{
    ApplyRange(min, max, page, step);
}

void MWinVertScrollbar::SetPosInt(int value)
{
    SetPosDouble(value, 0, 0, 0);
}

void MWinVertScrollbar::SetPosUInt(unsigned int value)
{
    SetPosDouble(value, 0, 0, 0);
}

void MWinVertScrollbar::UpdateFromBoundVariable(char notify)
{
    switch (m_var_kind) {
    case VAR_CHAR:
        SetPosDouble(*m_var_char, 0, 0, notify);
        break;
    case VAR_INT:
        SetPosDouble(static_cast<double>(*m_var_int) * m_var_int_mult, 0, 0, notify);
        break;
    case VAR_FLOAT:
        SetPosDouble(static_cast<double>(*m_var_float) * m_var_float_mult, 0, 0, notify);
        break;
    case VAR_NONE:
        break;
    }
}
