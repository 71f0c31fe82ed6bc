// The areas that the game's toolkit skin cuts from its "Buttons" texture
// (Data/1001.dat), as texture coordinates left, top, right, bottom in 0..1.
// A right below its left or a bottom above its top mirrors the picture on
// that axis. The skin painter draws a piece under each area and the data
// test checks that none of them is empty.
#pragma once

struct SkinArea {
    const char *button;
    const char *state;
    double left, top, right, bottom;
    // True for pieces that fill their area (backgrounds, bars, buttons);
    // false for shapes on clear ground (arrows, check marks).
    bool filled;
};

// clang-format off
inline constexpr SkinArea SKIN_AREAS[] = {
    {"ArrowL", "normal", 0.007, 0.635, 0.124, 0.875, false},
    {"ArrowL", "highlighted", 0.127, 0.627, 0.249, 0.874, false},
    {"ArrowL", "pressed", 0.251, 0.628, 0.374, 0.875, false},
    {"ArrowL", "disabled", 0.376, 0.627, 0.498, 0.874, false},
    {"ArrowR", "normal", 0.124, 0.629, 0.002, 0.875, false},
    {"ArrowR", "highlighted", 0.25, 0.628, 0.127, 0.874, false},
    {"ArrowR", "pressed", 0.374, 0.628, 0.251, 0.876, false},
    {"ArrowR", "disabled", 0.499, 0.627, 0.377, 0.873, false},
    {"Back1", "normal", 0.003, 0.003, 0.247, 0.247, true},
    {"Back1NoHead", "normal", 0.001, 0.057, 0.249, 0.247, true},
    {"Back2", "normal", 0.256, 0.001, 0.495, 0.249, true},
    {"Back3", "normal", 0.002, 0.002, 0.248, 0.248, true},
    {"Back4", "normal", 0.649, 0.774, 0.726, 0.851, true},
    {"Black", "normal", 0.649, 0.774, 0.726, 0.851, true},
    {"Black2", "normal", 0.661, 0.784, 0.711, 0.841, true},
    {"Heading", "normal", 0.001, 0.315, 0.249, 0.369, true},
    {"HorzLine", "normal", 0.784, 0.775, 0.843, 0.851, true},
    {"Main", "normal", 0.503, 0.002, 0.746, 0.06, true},
    {"Main", "highlighted", 0.503, 0.063, 0.749, 0.124, true},
    {"Main", "pressed", 0.503, 0.126, 0.746, 0.187, true},
    {"Main", "disabled", 0.503, 0.189, 0.746, 0.248, true},
    {"Panel", "normal", 0.501, 0.375, 0.749, 0.436, true},
    {"Panel", "highlighted", 0.502, 0.313, 0.749, 0.374, true},
    {"Panel", "pressed", 0.501, 0.44, 0.749, 0.499, true},
    {"Start", "normal", 0.879, 0.752, 0.997, 0.87, true},
    {"Title", "normal", 0.001, 0.254, 0.249, 0.31, true},
    {"TitleBack", "normal", 0.033, 0.022, 0.47, 0.447, false},
    {"TitleInv", "normal", 0.02, 0.311, 0.23, 0.251, true},
    {"StdWinBack", "normal", 0.001, 0.001, 0.249, 0.249, true},
    {"StdWinTitle", "normal", 0.001, 0.318, 0.249, 0.369, true},
    {"StdButtonHide", "normal", 0.001, 0.438, 0.249, 0.498, true},
    {"StdButtonBack", "normal", 0.001, 0.001, 0.249, 0.249, true},
    {"StdLeftArrow", "normal", 0.003, 0.255, 0.12, 0.37, false},
    {"StdRightArrow", "normal", 0.131, 0.255, 0.246, 0.37, false},
    {"StdUpArrow", "normal", 0.751, 0.876, 0.874, 0.999, false},
    {"StdDownArrow", "normal", 0.876, 0.876, 0.999, 0.999, false},
    {"StdScrollButton", "normal", 0.506, 0.504, 0.619, 0.563, true},
    {"StdScrollBack", "normal", 0.501, 0.128, 0.749, 0.184, true},
    {"StdVScrollButton", "normal", 0.628, 0.508, 0.682, 0.616, true},
    {"StdVScrollBack", "normal", 0.688, 0.507, 0.746, 0.747, true},
    {"StdListOpenMain", "normal", 0.001, 0.025, 0.249, 0.226, true},
    {"StdListOpenTop", "normal", 0.001, 0.001, 0.249, 0.024, true},
    {"StdListOpenBot", "normal", 0.001, 0.22, 0.249, 0.248, true},
    {"StdListOpenSel", "normal", 0.501, 0.445, 0.749, 0.494, true},
    {"StdCheckButton", "normal", 0.561, 0.563, 0.625, 0.624, true},
    {"StdUnCheckButton", "normal", 0.499, 0.563, 0.562, 0.624, true},
    {"StdTabPanelHeading", "normal", 0.015, 0.267, 0.234, 0.296, true},
    {"StdTabPanelVertDiv", "normal", 0.691, 0.508, 0.743, 0.745, true},
    {"StdTabPanelRowBack1", "normal", 0.501, 0.32, 0.749, 0.369, true},
    {"StdTabPanelRowBack2", "normal", 0.501, 0.258, 0.749, 0.305, true},
    {"StdTabPanelRowSel", "normal", 0.501, 0.317, 0.749, 0.37, true},
    {"StdTabPanelRowEmpty", "normal", 0.02, 0.027, 0.212, 0.089, true},
    {"StdBackHeading", "normal", 0.001, 0.313, 0.249, 0.369, true},
    {"StdBackMain", "normal", 0.0, 0.057, 0.249, 0.246, true},
    {"StdPushButton", "normal", 0.752, 0.005, 0.998, 0.058, true},
    {"StdPushButton", "highlighted", 0.752, 0.068, 0.998, 0.12, true},
    {"StdPushButton", "pressed", 0.752, 0.13, 0.998, 0.183, true},
    {"StdPushButton", "disabled", 0.752, 0.192, 0.998, 0.246, true},
    {"StdTextEdit", "normal", 0.503, 0.25, 0.746, 0.311, true},
    {"StdTextEdit", "pressed", 0.503, 0.312, 0.746, 0.374, true},
    {"StdChoice", "normal", 0.503, 0.377, 0.746, 0.436, true},
    {"StdChoice", "pressed", 0.503, 0.439, 0.746, 0.498, true},
    {"StdPanel", "normal", 0.503, 0.379, 0.746, 0.433, true},
    {"StdPanel", "highlighted", 0.503, 0.442, 0.746, 0.496, true},
    {"StdBlack", "normal", 0.649, 0.774, 0.726, 0.851, true},
    {"StdWhite", "normal", 0.774, 0.774, 0.851, 0.851, true},
};
// clang-format on

// The skin buttons drawn with a draw extra: the skin draws them extra_w/2
// units wider on each side, extra_top higher and extra_bottom lower than
// the control's rectangle, so their pieces keep a clear margin that the
// extra spans and the piece's body fills just the rectangle. Along each
// axis as in the skin: draw style (above 1: a border, a stretched middle
// and a border), the fraction of the area each border shows and the
// border's size in design units (vertical ones drawn a third taller). An
// axis drawn whole stretches its area over the control's usual length.
//
// Buttons that share a piece with a more common one go without, and show
// their extra: the table rows (cut from the text-edit fields, which reach
// their edges), the horizontal scroll track (cut from a "Main" button), the
// empty table row (cut from inside the window panel) and the tab heading
// and "Title" (cut from the ribbon whose ends make the arrows).
struct SkinAxis {
    int style;
    double fraction, size;
};

struct SkinExtra {
    const char *button;
    SkinAxis horz, vert;
    double extra_w, extra_top, extra_bottom;
    // The control's usual size in design units, for an axis drawn whole.
    double usual_w, usual_h;
};

// clang-format off
inline constexpr SkinExtra SKIN_EXTRAS[] = {
    {"Back1", {2, 0.09, 7}, {2, 0.09, 7}, 8, 4, 4, 0, 0},
    {"Back2", {2, 0.18, 12}, {2, 0.18, 12}, 4, 2, 2, 0, 0},
    {"Back3", {2, 0.09, 5}, {2, 0.09, 5}, 4, 2, 2, 0, 0},
    {"Panel", {2, 0.04, 4}, {2, 0.07, 2}, 2, 1.8, 1.8, 0, 0},
    {"StdWinBack", {2, 0.1, 6}, {2, 0.14, 6}, 4, 2, 2, 0, 0},
    {"StdWinTitle", {2, 0.04, 5}, {2, 0.1, 3}, 4, 0, 0, 0, 0},
    {"StdScrollButton", {0, 0, 0}, {0, 0, 0}, 0, 0.5, 0.5, 27.1, 14},
    {"StdVScrollBack", {0, 0, 0}, {2, 0.14, 13}, 2, 0.65, 0.65, 12.3, 0},
    {"StdListOpenMain", {2, 0.08, 4}, {0, 0, 0}, 4, 0, 0, 0, 0},
    {"StdListOpenTop", {2, 0.08, 4}, {0, 0, 0}, 4, 0, 0, 0, 0},
    {"StdListOpenBot", {2, 0.08, 4}, {0, 0, 0}, 4, 0, 0, 0, 0},
    {"StdBackHeading", {2, 0.04, 3}, {2, 0.18, 3}, 4.025, 0, 0, 0, 0},
    {"StdBackMain", {2, 0.18, 12}, {2, 0.24, 11}, 4.011, 0, 0, 0, 0},
    {"StdPushButton", {2, 0.11, 6}, {2, 0.28, 4}, 6, 1.75, 1.75, 0, 0},
    {"StdTextEdit", {2, 0.04, 5}, {2, 0.14, 5}, 0, 2, 2, 0, 0},
    {"StdChoice", {2, 0.08, 8}, {0, 0, 0}, 2, 1.05, 1.05, 0, 20},
    {"StdPanel", {2, 0.09, 6}, {1, 0.18, 3}, 2, 1.8, 1.8, 0, 220},
    {"StdBlack", {2, 0.08, 3}, {2, 0.08, 3}, 3.2, 2, 2, 0, 0},
    {"StdWhite", {2, 0.08, 3}, {2, 0.08, 3}, 3.2, 2, 2, 0, 0},
};
// clang-format on

// The clear margin, in atlas pixels, that an extra needs on each side of
// an area of `area_w` x `area_h` pixels.
struct SkinMargins {
    double left, top, right, bottom;
};

inline double SkinMarginAlong(const SkinAxis &axis, double border_scale, double extra, double whole_extra,
                              double usual, double area_px)
{
    if (extra <= 0)
        return 0;
    if (axis.style > 1)
        return extra / (axis.size * border_scale) * axis.fraction * area_px;
    return extra / (usual + whole_extra) * area_px;
}

inline SkinMargins SkinMarginsOf(const SkinExtra &e, double area_w, double area_h)
{
    double side = SkinMarginAlong(e.horz, 1.0, e.extra_w / 2, e.extra_w, e.usual_w, area_w);
    double tall = e.extra_top + e.extra_bottom;
    return SkinMargins{side, SkinMarginAlong(e.vert, 4.0 / 3.0, e.extra_top, tall, e.usual_h, area_h), side,
                       SkinMarginAlong(e.vert, 4.0 / 3.0, e.extra_bottom, tall, e.usual_h, area_h)};
}
