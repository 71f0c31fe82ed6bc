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
