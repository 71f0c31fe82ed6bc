// Drag-and-flick scrolling of an area by touch or mouse. A press inside the
// area arms each enabled axis; once the pointer has moved past the axis's
// threshold the position follows the drag (scaled by the drag scale over
// the area's size) and, on release, keeps gliding with the flick's speed,
// slowed by friction, held at most the bounce margin beyond the range and
// then sprung back into it. A short press and release without a drag is a
// tap, reported to the tap callback once no further tap follows.
//
// Windows, tab panels and script buttons own one and drive it only on
// tablets; on the desktop it is constructed off and its tick does nothing.
// The flick's speed is measured only on tablets.
//
// Failures: an area of no width or height ("Invalid Dimension") leaves the
// scroller off; resetting an axis of a scroller that is off reports "Not on".
#pragma once

#include "engine/core/EngMath.h"

class EngScroller {
public:
    // Called with (0, taps, x, y, value) once a run of taps has ended.
    typedef void (*TapCallback)(char, int taps, float x, float y, int value);

    // Axis states.
    enum { STATE_IDLE = 0, STATE_PRESSED = 2, STATE_WAITING = 3, STATE_DRAGGING = 4 };

    EngScroller();
    ~EngScroller();
    EngScroller(const EngScroller &) = delete;
    EngScroller &operator=(const EngScroller &) = delete;

    // A null area is 0, 0, 640, 480; a threshold below 0 is 3. False when
    // the area is refused.
    char TurnOn(const _Dimension *area, char one_axis, char x_on, float x_pos, float x_min, float x_max,
                float x_scale, float x_threshold, char x_free, char y_on, float y_pos, float y_min, float y_max,
                float y_scale, float y_threshold, char y_free, float friction);
    // Clears the on flag only.
    void TurnOff() { m_on = 0; }
    char IsOn() const { return m_on; }

    // Axis 0 is x, 1 is y: idle, still, and clamped into its range.
    void Reset(int axis);
    void ResetAll();
    void SetPositionX(float x);
    void SetPositionY(float y);

    // Each answers false when ignore is set. MouseMove: true while an axis
    // drags. MouseButton: true for a tap (with allow_tap) or when an axis
    // took the press or ended its drag. Tap: a press and a release at x, y.
    char MouseMove(float x, float y, char ignore);
    char MouseButton(char ignore, char pressed, float x, float y, char cancel, char allow_tap);
    char Tap(char ignore, float x, float y);
    // Glides the axes; true while a tap is pending or when its callback ran.
    char Tick();

    void SetTapCallback(TapCallback callback, int value)
    {
        m_tap_callback = callback;
        m_tap_value = value;
    }

    float GetPositionX() const { return m_axis[0].pos; }
    float GetPositionY() const { return m_axis[1].pos; }
    float GetVelocity(int axis) const { return m_axis[axis & 1].velocity; }
    int GetState(int axis) const { return m_axis[axis & 1].state; }
    int GetTapCount() const { return m_tap_count; }

private:
    struct Axis {
        char on;
        float pos, min, max, scale;
        float pos_at_press;
        char state;
        float press_pointer;
        float sample, previous_sample;
        double sample_time, previous_sample_time;
        float velocity;
        float pointer;
        float range;
        double sample_interval;
        float bounce, friction, spring, threshold;
        char free;
    };

    void SetUpAxis(Axis *axis, char on, float pos, float min, float max, float scale, float threshold, char free,
                   float friction);
    char Inside(float x, float y) const;
    // The area's size along the axis.
    float Size(int axis) const;
    // True when one-axis-at-a-time keeps this axis still.
    bool Blocked(int axis) const;
    void Press(int axis, float x, float y);
    void Release(int axis);
    void Drag(int axis, float pointer);
    void TakeSample(Axis *axis);
    void Glide(int axis);

    char m_on;
    _Dimension m_area;
    char m_one_axis;
    Axis m_axis[2];
    float m_press_x, m_press_y;
    char m_button_down;
    double m_press_time;
    TapCallback m_tap_callback;
    int m_tap_value;
    double m_tap_time;
    float m_tap_x, m_tap_y;
    int m_tap_count;
};
