// Scrollbars: a thumb dragged along a track picks a number between a
// minimum and a maximum. MWinHorzScrollbar (kind 4) runs along x and is
// what a window adds as a slider; MWinVertScrollbar (kind 5) runs along y
// and is owned by the controls that scroll their contents. The two are one
// behaviour with the axes exchanged, kept in MWinScrollbar; only their key
// mapping and thumb size differ.
//
// A press on the thumb starts a drag, a press elsewhere on the track moves
// one page, the wheel and the arrow keys move one step (a step that would
// pass an end is not taken). Every change reaches the bound variable and,
// when the control has a receiver, the window's controller or the control's
// callback; the end of a drag notifies once more with the final value. A
// scrollbar another control owns has no receiver but its owner.
//
// Failures: a range with min above max is ignored; a position outside the
// range is clamped. A receiver may delete the control: after a
// notification nothing of it is touched unless the toolkit still finds it.
#pragma once

#include "gui/MWinButton.h"

class MWinScrollbar : public MWinButton {
public:
    ~MWinScrollbar() override;

    void Reset();
    // Ignored when min > max; a page or step of 0 or less becomes a tenth or
    // a hundredth of the range. The position moves to min, silently and
    // without writing the bound variable.
    void SetRange(float min, float max, float page, float step);
    // Clamped to the range. An unchanged value without force only notifies
    // (when notify is set); from_user marks the change as the user's, so
    // the end of the drag notifies again. These and the moves below answer
    // false when the receiver deleted the control.
    char SetPosDouble(double value, char from_user, char force, char notify);
    void SetPos(float value, char notify);
    // -1 on a control of another kind.
    double GetPosDouble();
    float GetPos();
    // Binds the variable and moves the position to multiplier x variable.
    void RegisterFloatVariable(float *variable, float multiplier, char notify);

    // Made and kept by another control (the script button, the tab panel)
    // outside every group's list: its moves reach the owner through the
    // bound position alone and never the window's controller.
    void SetOwned() { m_owned = 1; }

    char StepBy(int forward);
    char PageBy(int direction);
    // Ends a thumb drag; false when the final notification deleted the
    // control (the caller must not touch it).
    char EndDrag();

    double GetMin() const { return m_min; }
    double GetMax() const { return m_max; }
    double GetPage() const { return m_page; }
    double GetStep() const { return m_step; }
    char IsDraggingThumb() const { return m_dragging; }
    // The thumb's size along and across the track, in 640 x 480 units.
    float GetThumbLength();
    float GetThumbBreadth();

    void Render() override;
    char HandleMouseButtonPressed(char button, char pressed, char extra) override;
    char HandleMouseButtonReleased(char button) override;
    char CancelPress() override;
    void HandleMouseMove() override;
    char HandleMouseWheel(int clicks) override;
    char HandleKeyDown(int key) override;
    char IsCapturingInput() override;
    char Deactivate() override;

protected:
    MWinScrollbar(MWin *mwin, const char *id, MWinGroup *group, _MWinButtonType type, const char *texbut_id,
                  const char *text, float x, float y, float w, float h);

    void ApplyRange(double min, double max, double page, double step);
    // The leading edge of the thumb along the axis, and the value whose
    // thumb centre lies at p.
    float ThumbStart();
    double ValueAt(float p);

    // How a key moves the position: a page or a step, back or forward.
    struct KeyMove {
        int key;
        bool page;
        int forward;
    };
    virtual const KeyMove *KeyMoves(int *count) const = 0;

private:
    bool IsVertical() const { return m_type == MWBT_VERT_SCROLLBAR; }
    bool IsUsable() const { return IsValid() && m_active && m_shown; }
    float PointerAlong();
    float TrackStart();
    float Travel();
    void WriteBoundVariable();
    // Tells the receiver; false when it deleted this control.
    char Notify(char from_user);

    double m_pos, m_min, m_max, m_page, m_step;
    char m_changed_by_user;
    char m_owned = 0;
    // The pointer's distance from the thumb centre when the drag began.
    float m_drag_offset;
};

class MWinHorzScrollbar : public MWinScrollbar {
public:
    MWinHorzScrollbar(MWin *mwin, const char *id, MWinGroup *group, const char *texbut_id, const char *text,
                      float x, float y, float w, float h);

    float GetThumbX() { return ThumbStart(); }
    double ValueFromX(float px) { return ValueAt(px); }

protected:
    const KeyMove *KeyMoves(int *count) const override;
};

class MWinVertScrollbar : public MWinScrollbar {
public:
    MWinVertScrollbar(MWin *mwin, const char *id, MWinGroup *group, const char *texbut_id, const char *text,
                      float x, float y, float w, float h);

    void SetRangeDouble(double min, double max, double page, double step);
    void SetRangeInt(int min, int max, int page, int step);
    void SetPosInt(int value);
    void SetPosUInt(unsigned int value);
    // The position from the bound variable: a byte as it is, an int or a
    // float times its multiplier.
    void UpdateFromBoundVariable(char notify);

    float GetThumbY() { return ThumbStart(); }
    double ValueFromY(float py) { return ValueAt(py); }

protected:
    const KeyMove *KeyMoves(int *count) const override;
};
