// The range slider: two thumbs on a rail bound a range of values between a
// minimum and a maximum, never closer than the step. Dragging a thumb moves
// that end, dragging the bar between them moves both; the arrow keys move,
// widen or centre the range. Each change while dragging notifies the
// receiver with range-slider code 1; letting go notifies once more with 0.
//
// Failures: values are always limited to the range; a receiver may delete
// the control, after which nothing of it is touched.
#pragma once

#include "gui/MWinButton.h"

class MWinRangeSlider : public MWinButton {
public:
    // Where a mouse x lies: the grabbed parts, the rail outside the thumbs
    // and the outside of the control.
    enum Hit {
        HIT_BAR = 0,
        HIT_HIGH = 1,
        HIT_RIGHT_OF_HIGH = 2,
        HIT_RIGHT_OUTSIDE = 3,
        HIT_LEFT_OUTSIDE = 253,
        HIT_LEFT_OF_LOW = 254,
        HIT_LOW = 255,
    };

    MWinRangeSlider(MWin *mwin, const char *id, MWinGroup *group, const char *texbut_id, float x, float y, float w,
                    float h);

    // Ignored when min >= max or the step is negative; makes the control
    // interactive and places the values inside the new range.
    void RangeSliderSetRange(float min, float max, float step);
    // False when the receiver deleted the control.
    char RangeSliderSetValues(float low, float high, char dragging, char notify);
    // True with one common value in both when the thumbs touch.
    char RangeSliderGetValues(float *low, float *high);
    float GetLow() const { return m_low; }
    float GetHigh() const { return m_high; }

    float GetLowThumbX();
    float GetHighThumbX();
    int HitCode(float mx);
    float ValueAt(float mx);

    char HandleMouseButtonPressed(char button, char down, char extra) override;
    char HandleMouseButtonReleased(char button) override;
    char CancelPress() override;
    void HandleMouseMove() override;
    char HandleKeyDown(int key) override;

protected:
    // The rail with its two thumbs.
    void RenderKindParts(_MWinTextureState state) override;

private:
    // False when the receiver deleted the control.
    char DragStep();
    char EndDrag();

    float m_min = 0, m_max = 1, m_low = 0.25f, m_high = 0.75f, m_step = 0.1f;
    // A Hit of a thumb or the bar, or kGrabNone.
    unsigned char m_grabbed;
    float m_grab_offset = 0;
    char m_pending = 0;
};
