// Drag-and-flick scrolling: per-axis press, drag, flick and glide, and tap
// detection over both axes.
#include "gui/EngScroller.h"

#include "engine/core/EngDebug.h"
#include "engine/core/EngMisc.h"
#include "engine/runtime/EngMain.h"
#include "engine/runtime/EngProgram.h"

#include <cmath>

namespace {

const double kSampleInterval = 0.005;
const float kBounceMargin = 100.0f;
const float kSpringPerFriction = 60.0f;
const float kDefaultThreshold = 3.0f;
// A flick shorter than this many units between its samples is no flick.
const float kFlickMinDistance = 3.0f;
const double kTapWindow = 0.2;
const double kTapSettle = 0.3;
const float kNoPress = -9999.0f;

float ClampFloat(float value, float low, float high)
{
    return value < low ? low : (value > high ? high : value);
}

} // namespace

EngScroller::EngScroller()
    : m_on(0), m_area{0, 0, 640, 480}, m_one_axis(0), m_axis{}, m_press_x(kNoPress), m_press_y(kNoPress),
      m_button_down(0), m_press_time(0), m_tap_callback(nullptr), m_tap_value(0), m_tap_time(0), m_tap_x(0),
      m_tap_y(0), m_tap_count(0)
{
}

EngScroller::~EngScroller()
{
    TurnOff();
}

void EngScroller::SetUpAxis(Axis *axis, char on, float pos, float min, float max, float scale, float threshold,
                            char free, float friction)
{
    *axis = Axis{};
    axis->on = on;
    axis->pos = pos;
    axis->min = min;
    axis->max = max;
    axis->scale = scale;
    axis->threshold = threshold < 0 ? kDefaultThreshold : threshold;
    axis->free = free;
    axis->range = max == min ? 1.0f : max - min;
    axis->sample_interval = kSampleInterval;
    axis->bounce = kBounceMargin;
    axis->friction = friction;
    axis->spring = friction * kSpringPerFriction;
}

char EngScroller::TurnOn(const _Dimension *area, char one_axis, char x_on, float x_pos, float x_min, float x_max,
                         float x_scale, float x_threshold, char x_free, char y_on, float y_pos, float y_min,
                         float y_max, float y_scale, float y_threshold, char y_free, float friction)
{
    _Dimension chosen = area ? *area : _Dimension{0, 0, 640, 480};
    if (chosen.w <= 0 || chosen.h <= 0) {
        DebugError("EngScroller::TurnOn", "Invalid Dimension");
        m_on = 0;
        return 0;
    }
    m_area = chosen;
    m_one_axis = one_axis;
    SetUpAxis(&m_axis[0], x_on, x_pos, x_min, x_max, x_scale, x_threshold, x_free, friction);
    SetUpAxis(&m_axis[1], y_on, y_pos, y_min, y_max, y_scale, y_threshold, y_free, friction);
    m_on = 1;
    ResetAll();
    return 1;
}

void EngScroller::Reset(int axis)
{
    if (!m_on) {
        DebugError("EngScroller::Reset", "Not on");
        return;
    }
    Axis &a = m_axis[axis & 1];
    a.state = STATE_IDLE;
    a.velocity = 0;
    a.pos = ClampFloat(a.pos, a.min, a.max);
    m_press_x = kNoPress;
    m_press_y = kNoPress;
}

void EngScroller::ResetAll()
{
    Reset(0);
    Reset(1);
}

void EngScroller::SetPositionX(float x)
{
    Reset(0);
    m_axis[0].pos = x;
}

void EngScroller::SetPositionY(float y)
{
    Reset(1);
    m_axis[1].pos = y;
}

char EngScroller::Inside(float x, float y) const
{
    return x >= m_area.x && x < m_area.x + m_area.w && y >= m_area.y && y < m_area.y + m_area.h;
}

float EngScroller::Size(int axis) const
{
    return axis == 0 ? m_area.w : m_area.h;
}

bool EngScroller::Blocked(int axis) const
{
    const Axis &other = m_axis[1 - axis];
    return m_one_axis && other.on && other.state == STATE_DRAGGING;
}

void EngScroller::Press(int axis, float x, float y)
{
    if (Blocked(axis))
        return;
    Axis &a = m_axis[axis];
    if (a.state != STATE_IDLE || a.velocity != 0)
        Reset(axis);
    if (Inside(x, y))
        a.state = STATE_PRESSED;
}

void EngScroller::Release(int axis)
{
    Axis &a = m_axis[axis];
    if (a.state != STATE_DRAGGING) {
        Reset(axis);
        return;
    }
    if (EngMiscIsTabletPlatform()) {
        TakeSample(&a);
        double dt = a.sample_time - a.previous_sample_time;
        float distance = a.sample - a.previous_sample;
        if (dt > 0 && std::fabs(distance) > kFlickMinDistance)
            a.velocity += static_cast<float>(distance / dt / a.range);
    }
    a.state = STATE_IDLE;
}

void EngScroller::TakeSample(Axis *axis)
{
    double now = eng_main_program_time;
    if (now - axis->sample_time > axis->sample_interval && axis->pointer != axis->sample) {
        axis->previous_sample = axis->sample;
        axis->previous_sample_time = axis->sample_time;
        axis->sample = axis->pointer;
        axis->sample_time = now;
    }
}

void EngScroller::Drag(int axis, float pointer)
{
    if (Blocked(axis))
        return;
    Axis &a = m_axis[axis];
    a.pointer = pointer;
    if (a.state == STATE_PRESSED) {
        a.press_pointer = pointer;
        a.sample = a.previous_sample = pointer;
        a.sample_time = a.previous_sample_time = eng_main_program_time;
        a.pos_at_press = a.pos;
        a.velocity = 0;
        a.state = STATE_WAITING;
        return;
    }
    if (a.state == STATE_WAITING && std::fabs(pointer - a.press_pointer) > a.threshold)
        a.state = STATE_DRAGGING;
    if (a.state != STATE_DRAGGING)
        return;
    a.pos = a.pos_at_press - (pointer - a.press_pointer) / Size(axis) * a.scale;
    if (!a.free)
        a.pos = ClampFloat(a.pos, a.min, a.max);
    TakeSample(&a);
}

char EngScroller::MouseMove(float x, float y, char ignore)
{
    if (!m_on || ignore)
        return 0;
    m_axis[0].pointer = x;
    m_axis[1].pointer = y;
    bool neither_dragging = m_axis[0].state != STATE_DRAGGING && m_axis[1].state != STATE_DRAGGING;
    // One axis at a time: a mostly vertical move leaves x alone until one axis drags.
    bool x_may_drag = !(m_one_axis && m_axis[1].on && neither_dragging) ||
                      std::fabs(y - m_press_y) < std::fabs(x - m_press_x);
    if (m_axis[0].on && x_may_drag)
        Drag(0, x);
    if (m_axis[1].on)
        Drag(1, y);
    return m_axis[0].state == STATE_DRAGGING || m_axis[1].state == STATE_DRAGGING;
}

char EngScroller::MouseButton(char ignore, char pressed, float x, float y, char cancel, char allow_tap)
{
    if (!m_on || ignore)
        return 0;
    if (cancel) {
        ResetAll();
        m_button_down = 0;
        return 0;
    }
    if (pressed) {
        m_press_x = x;
        m_press_y = y;
        m_press_time = eng_main_program_time;
    } else if (m_button_down && eng_main_program_time - m_press_time <= kTapWindow) {
        bool tap = true;
        for (const Axis &a : m_axis)
            if (a.on && a.state != STATE_PRESSED && a.state != STATE_WAITING)
                tap = false;
        if (tap) {
            m_button_down = 0;
            if (!allow_tap)
                return 0;
            m_tap_count = m_tap_count > 0 ? m_tap_count + 1 : 1;
            m_tap_time = eng_main_program_time;
            m_tap_x = x;
            m_tap_y = y;
            m_axis[0].state = m_axis[1].state = STATE_IDLE;
            return 1;
        }
    }
    char took = 0;
    for (int i = 0; i < 2; i++) {
        if (!m_axis[i].on)
            continue;
        char was_dragging = m_axis[i].state == STATE_DRAGGING;
        if (pressed)
            Press(i, x, y);
        else
            Release(i);
        if (pressed ? m_axis[i].state == STATE_PRESSED : was_dragging)
            took = 1;
    }
    m_button_down = pressed;
    return took;
}

char EngScroller::Tap(char ignore, float x, float y)
{
    MouseButton(ignore, 1, x, y, 0, 1);
    return MouseButton(ignore, 0, x, y, 0, 1);
}

void EngScroller::Glide(int axis)
{
    Axis &a = m_axis[axis];
    float frame = eng_main_frame_time;
    if (a.state == STATE_DRAGGING)
        TakeSample(&a);
    if (a.velocity != 0) {
        a.pos -= a.velocity * frame * a.scale / Size(axis) * a.range;
        if (a.pos > a.max + a.bounce) {
            a.pos = a.max + a.bounce;
            a.velocity = 0;
        } else if (a.pos < a.min - a.bounce) {
            a.pos = a.min - a.bounce;
            a.velocity = 0;
        }
        float slowed = a.velocity - a.velocity * a.friction * frame;
        // Friction stops the glide; it never turns it round.
        a.velocity = slowed * a.velocity > 0 ? slowed : 0;
        return;
    }
    // Once the glide has ended, the spring pulls the position back into range.
    if (a.state != STATE_IDLE)
        return;
    if (a.pos < a.min)
        a.pos = std::fmin(a.min, a.pos + (a.min - a.pos + 1) * a.spring * frame);
    else if (a.pos > a.max)
        a.pos = std::fmax(a.max, a.pos - (a.pos - a.max + 1) * a.spring * frame);
}

char EngScroller::Tick()
{
    if (!m_on)
        return 0;
    if (m_tap_count == 0) {
        for (int i = 0; i < 2; i++)
            if (m_axis[i].on)
                Glide(i);
        return 0;
    }
    if (eng_main_program_time < m_tap_time + kTapSettle)
        return 1;
    int taps = m_tap_count;
    float x = m_tap_x, y = m_tap_y;
    m_tap_count = 0;
    m_tap_time = 0;
    if (m_tap_callback)
        m_tap_callback(0, taps, x, y, m_tap_value);
    return 1;
}
