// The colour picker (control kind 10): three horizontal scrollbars choose
// hue (0 to 255), saturation and brightness (0 to 1); above each, a strip
// shows the choice's gradient: every hue, the hue from the brightness to
// full, and the saturated hue from black to full. The chosen colour is kept
// as r, g, b and, when linked, written to three floats of the caller's as
// colour x scale + offset.
//
// The picker owns its three scrollbars (ids the picker's id with ".H",
// ".S" and ".B") and hands them the mouse, as the tab panel does its own.
// The strips are painted into three 256 x 32 pixel buffers and uploaded to
// the root's three colour textures; the hue palette is the root's.
//
// Failures: a missing scrollbar is reported ("No scrollbars") and nothing
// changes; a texture that cannot be written is reported and left as it is.
// In a window with a controller the scrollbars' changes go to the
// controller, and the picker reads them after handing on each event; the
// controller may delete the picker, which is then never touched again.
#pragma once

#include "gui/MWinButton.h"

#include <vector>

class MWinHorzScrollbar;

class MWinColour : public MWinButton {
public:
    enum { STRIP_W = 256, STRIP_H = 32, NUM_STRIPS = 3 };

    MWinColour(MWin *mwin, const char *id, MWinGroup *group, const char *texbut_id, float x, float y, float w,
               float h);
    ~MWinColour() override;

    // Reads the three scrollbars; repaints when a value changed or force is set.
    void UpdateFromScrollbars(char force);
    // Repaints the strips and recomputes the colour; upload copies the
    // strips into the root's textures.
    void UpdateTextures(char upload);
    void ScrollbarCB();
    static void ScrollbarCB(MWin *, _MWinButtonCallbackInfo *, int, int, void *colour);

    // Three floats that follow the colour (null unlinks).
    void LinkOutput(float *output, float scale, float offset);
    float GetHue() const { return m_hue; }
    float GetSaturation() const { return m_saturation; }
    float GetBrightness() const { return m_brightness; }
    const float *GetColour() const { return m_colour; }
    // Strip i's pixels, rows of STRIP_W x 3 bytes R, G, B.
    const unsigned char *GetPixels(int strip) const { return m_pixels[strip].data(); }
    // Scrollbar 0 hue, 1 saturation, 2 brightness; null when it could not be made.
    MWinHorzScrollbar *GetScrollbar(int i) { return i >= 0 && i < NUM_STRIPS ? m_bars[i] : nullptr; }

    char CreateGraphics() override;
    void AreaChanged() override;
    void Render() override;
    char HandleMouseButtonPressed(char button, char down, char extra) override;
    char CancelPress() override;
    void HandleMouseMove() override;
    char HandleMouseWheel(int count) override;
    char IsCapturingInput() override;
    void Activate() override;
    char Deactivate() override;

private:
    // Places the scrollbars below their strips and brings their screen
    // areas up to date with the picker's.
    void PlaceScrollbars();
    // The scrollbar that is dragging or lies under the mouse.
    MWinHorzScrollbar *ScrollbarUnderMouse();
    // The strip's rectangle in the window's design area.
    _Dimension StripArea(int strip) const;
    void PaintStrips();
    void Upload();

    MWinHorzScrollbar *m_bars[NUM_STRIPS];
    float m_hue, m_saturation, m_brightness;
    float m_colour[3];
    float *m_output;
    float m_output_scale, m_output_offset;
    std::vector<unsigned char> m_pixels[NUM_STRIPS];
};
