// The progress circle: a round gauge drawn from three lists of 64
// triangles - an outer disc, an inner disc and a sector for value / maximum
// that starts at 9 o'clock and grows clockwise. The discs' sizes come from
// the layout (border width and inner inset, fractions of the control's
// size), their colours and enable flags from the toolkit settings.
//
// Failures: without a device nothing is built or drawn; a list that cannot
// be created is reported by the triangle list and left out of the drawing.
#pragma once

#include "engine/graphics/EngTriangleList.h"
#include "gui/MWinButton.h"

class MWinProgressCircle : public MWinButton {
public:
    enum { NUM_TRIANGLES = 64 };
    enum Part { OUTER = 0, INNER = 1, SECTOR = 2, NUM_PARTS = 3 };

    MWinProgressCircle(MWin *mwin, const char *id, MWinGroup *group, const char *texbut_id, float x, float y,
                       float w, float h);

    // A maximum of 0 or less draws an empty sector; the lists are rebuilt.
    void SetValue(float value, float maximum);
    float GetValue() const { return m_value; }
    float GetMaximum() const { return m_maximum; }
    EngTriangleList *GetList(Part part) { return &m_lists[part]; }
    char IsListBuilt(Part part) const { return m_built[part]; }

    void DestroyGraphics() override;
    void AreaChanged() override;

protected:
    void RenderKindParts(_MWinTextureState state) override;

private:
    void BuildList(Part part, float rx, float ry, float sweep, const float *rgb);

    float m_value = 0.5f, m_maximum = 1.0f;
    float m_colours[NUM_PARTS][3];
    EngTriangleList m_lists[NUM_PARTS];
    char m_built[NUM_PARTS] = {0, 0, 0};
};
