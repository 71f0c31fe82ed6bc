// The game's skin for the toolkit. Every texture button is one row of a
// table: its id (and standard slot), the area of each draw state in the
// "Buttons" texture, its draw styles, the extra size and the colour
// multipliers. A row's failures are logged with its id and the row goes on,
// so one bad call never leaves the rest of the skin unmade.
#include "game/HiveWatcherMWin.h"

#include "engine/core/EngDebug.h"
#include "engine/graphics/EngFont.h"
#include "gui/MWin.h"
#include "gui/MWinTextures.h"


namespace {

// How a state gets its picture: none of its own (drawn with the normal
// state's), its own area, or the same area as the normal state.
enum SkinStateKind : char { SKIN_NONE, SKIN_OWN, SKIN_AS_NORMAL };

struct SkinState {
    SkinStateKind kind;
    float l, t, r, b;
};

struct SkinStyle {
    int style;
    float fraction, size;
};

struct SkinColour {
    char on;
    float r, g, b, a;
};

struct SkinTexBut {
    const char *id;
    int slot; // the toolkit's standard slot, -1 for a button of the game's own
    SkinState states[4];
    SkinStyle horz, vert;
    float extra[3];
    SkinColour colours[4];
};

constexpr SkinState Area(float l, float t, float r, float b)
{
    return SkinState{SKIN_OWN, l, t, r, b};
}
constexpr SkinState NONE{SKIN_NONE, 0, 0, 0, 0};
constexpr SkinState SAME{SKIN_AS_NORMAL, 0, 0, 0, 0};
constexpr SkinColour Mul(float r, float g, float b, float a)
{
    return SkinColour{1, r, g, b, a};
}
constexpr SkinColour NO_MUL{0, 0, 0, 0, 0};

const SkinTexBut skin_texbuts[] = {
    // The game's own texture buttons, named by the screen layouts.
    {"ArrowL", -1, {Area(0.007f, 0.635f, 0.124f, 0.875f), Area(0.127f, 0.627f, 0.249f, 0.874f), Area(0.251f, 0.628f, 0.374f, 0.875f), Area(0.376f, 0.627f, 0.498f, 0.874f)}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {NO_MUL, NO_MUL, NO_MUL, NO_MUL}},
    // Left and right swapped: "ArrowL" mirrored.
    {"ArrowR", -1, {Area(0.124f, 0.629f, 0.002f, 0.875f), Area(0.25f, 0.628f, 0.127f, 0.874f), Area(0.374f, 0.628f, 0.251f, 0.876f), Area(0.499f, 0.627f, 0.377f, 0.873f)}, {1, 0, 0}, {0, 0, 0}, {0, 0, 0}, {NO_MUL, NO_MUL, NO_MUL, NO_MUL}},
    {"Back1", -1, {Area(0.003f, 0.003f, 0.247f, 0.247f), NONE, NONE, NONE}, {2, 0.09f, 7}, {2, 0.09f, 7}, {8, 4, 4}, {NO_MUL, NO_MUL, NO_MUL, NO_MUL}},
    {"Back1NoHead", -1, {Area(0.001f, 0.057f, 0.249f, 0.247f), NONE, NONE, NONE}, {2, 0.04f, 3}, {2, 0.09f, 5}, {0, 0, 0}, {NO_MUL, NO_MUL, NO_MUL, NO_MUL}},
    {"Back2", -1, {Area(0.256f, 0.001f, 0.495f, 0.249f), NONE, NONE, NONE}, {2, 0.18f, 12}, {2, 0.18f, 12}, {4, 2, 2}, {NO_MUL, NO_MUL, NO_MUL, NO_MUL}},
    {"Back3", -1, {Area(0.002f, 0.002f, 0.248f, 0.248f), NONE, NONE, NONE}, {2, 0.09f, 5}, {2, 0.09f, 5}, {4, 2, 2}, {Mul(0.597f, 0.597f, 0.597f, 1), NO_MUL, NO_MUL, NO_MUL}},
    {"Back4", -1, {Area(0.649f, 0.774f, 0.726f, 0.851f), NONE, NONE, NONE}, {2, 0.4f, 14}, {2, 0.3f, 12}, {0, 0, 0}, {NO_MUL, NO_MUL, NO_MUL, NO_MUL}},
    {"Black", -1, {Area(0.649f, 0.774f, 0.726f, 0.851f), NONE, NONE, NONE}, {2, 0.08f, 3}, {2, 0.09f, 3}, {0, 0, 0}, {NO_MUL, NO_MUL, NO_MUL, NO_MUL}},
    {"Black2", -1, {Area(0.661f, 0.784f, 0.711f, 0.841f), NONE, NONE, NONE}, {1, 0, 0}, {1, 0, 0}, {0, 0, 0}, {NO_MUL, NO_MUL, NO_MUL, NO_MUL}},
    {"Box", -1, {Area(0, 0, 1, 1), NONE, NONE, NONE}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {NO_MUL, NO_MUL, NO_MUL, NO_MUL}},
    {"Heading", -1, {Area(0.001f, 0.315f, 0.249f, 0.369f), NONE, NONE, NONE}, {2, 0.04f, 3}, {1, 0.18f, 3}, {0, 0, 0}, {NO_MUL, NO_MUL, NO_MUL, NO_MUL}},
    {"HorzLine", -1, {Area(0.784f, 0.775f, 0.843f, 0.851f), NONE, NONE, NONE}, {1, 0.43f, 19}, {2, 0.03f, 1}, {0, 0, 0}, {Mul(1, 1, 1, 0.303f), NO_MUL, NO_MUL, NO_MUL}},
    {"Main", -1, {Area(0.503f, 0.002f, 0.746f, 0.06f), Area(0.503f, 0.063f, 0.749f, 0.124f), Area(0.503f, 0.126f, 0.746f, 0.187f), Area(0.503f, 0.189f, 0.746f, 0.248f)}, {2, 0.08f, 4}, {2, 0.23f, 3}, {0, 0, 0}, {Mul(0.874f, 0.874f, 0.874f, 1), NO_MUL, Mul(0.81f, 0.81f, 0.81f, 1), NO_MUL}},
    {"Panel", -1, {Area(0.501f, 0.375f, 0.749f, 0.436f), Area(0.502f, 0.313f, 0.749f, 0.374f), Area(0.501f, 0.44f, 0.749f, 0.499f), SAME}, {2, 0.04f, 4}, {2, 0.07f, 2}, {2, 1.8f, 1.8f}, {NO_MUL, NO_MUL, NO_MUL, Mul(0.475f, 0.475f, 0.475f, 1)}},
    {"Start", -1, {Area(0.879f, 0.752f, 0.997f, 0.87f), NONE, NONE, NONE}, {2, 0.12f, 3}, {0, 0, 0}, {0, 0, 0}, {NO_MUL, NO_MUL, NO_MUL, NO_MUL}},
    {"Title", -1, {Area(0.001f, 0.254f, 0.249f, 0.31f), NONE, NONE, NONE}, {2, 0.18f, 12}, {2, 0.25f, 5}, {4, 2, 2}, {NO_MUL, NO_MUL, NO_MUL, NO_MUL}},
    {"TitleBack", -1, {Area(0.033f, 0.022f, 0.47f, 0.447f), NONE, NONE, NONE}, {2, 0.13f, 7}, {2, 0.11f, 4}, {0, 0, 0}, {NO_MUL, NO_MUL, NO_MUL, NO_MUL}},
    // Top and bottom swapped: drawn upside down.
    {"TitleInv", -1, {Area(0.02f, 0.311f, 0.23f, 0.251f), NONE, NONE, NONE}, {0, 0.04f, 3}, {0, 0, 0}, {0.001f, 0, 0}, {NO_MUL, NO_MUL, NO_MUL, NO_MUL}},

    // The toolkit's standard parts, by slot (slot 4 keeps the toolkit's own).
    {"StdWinBack", 0, {Area(0.001f, 0.001f, 0.249f, 0.249f), NONE, NONE, NONE}, {2, 0.1f, 6}, {2, 0.14f, 6}, {4, 2, 2}, {NO_MUL, NO_MUL, NO_MUL, NO_MUL}},
    {"StdWinTitle", 1, {Area(0.001f, 0.318f, 0.249f, 0.369f), NONE, NONE, NONE}, {2, 0.04f, 5}, {2, 0.1f, 3}, {4, 0, 0}, {NO_MUL, NO_MUL, NO_MUL, NO_MUL}},
    {"StdButtonHide", 2, {Area(0.001f, 0.438f, 0.249f, 0.498f), SAME, SAME, SAME}, {2, 0.09f, 6}, {0, 0, 0}, {0, 0, 0}, {Mul(0.865f, 0.865f, 0.865f, 1), NO_MUL, Mul(0.974f, 0.962f, 1, 1), Mul(0.452f, 0.452f, 0.452f, 1)}},
    {"StdButtonBack", 3, {Area(0.001f, 0.001f, 0.249f, 0.249f), NONE, NONE, NONE}, {2, 0.09f, 7}, {2, 0.09f, 7}, {0, 0, 0}, {NO_MUL, NO_MUL, NO_MUL, NO_MUL}},
    {"StdLeftArrow", 5, {Area(0.003f, 0.255f, 0.12f, 0.37f), SAME, SAME, SAME}, {1, 0, 0}, {0, 0, 0}, {0, 0, 0}, {Mul(0.829f, 0.829f, 0.829f, 1), Mul(1, 1, 1, 1), Mul(0.846f, 0.846f, 0.846f, 1), Mul(0.558f, 0.558f, 0.558f, 1)}},
    {"StdRightArrow", 6, {Area(0.131f, 0.255f, 0.246f, 0.37f), SAME, SAME, SAME}, {1, 0, 0}, {0, 0, 0}, {0, 0, 0}, {Mul(0.883f, 0.883f, 0.883f, 1), Mul(1, 1, 1, 1), Mul(0.892f, 0.892f, 0.892f, 1), Mul(0.533f, 0.533f, 0.533f, 1)}},
    {"StdUpArrow", 7, {Area(0.751f, 0.876f, 0.874f, 0.999f), NONE, NONE, NONE}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {NO_MUL, NO_MUL, NO_MUL, NO_MUL}},
    {"StdDownArrow", 8, {Area(0.876f, 0.876f, 0.999f, 0.999f), NONE, NONE, NONE}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {NO_MUL, NO_MUL, NO_MUL, NO_MUL}},
    {"StdScrollButton", 9, {Area(0.506f, 0.504f, 0.619f, 0.563f), SAME, SAME, SAME}, {0, 0, 0}, {0, 0, 0}, {0, 0.5f, 0.5f}, {Mul(0.933f, 0.933f, 0.933f, 1), NO_MUL, Mul(0.907f, 0.907f, 0.907f, 1), Mul(0.716f, 0.716f, 0.716f, 1)}},
    {"StdScrollBack", 10, {Area(0.501f, 0.128f, 0.749f, 0.184f), NONE, NONE, SAME}, {2, 0.08f, 6}, {0, 0, 0}, {2.5f, 0.75f, 0.75f}, {NO_MUL, NO_MUL, NO_MUL, Mul(0.443f, 0.443f, 0.443f, 1)}},
    {"StdVScrollButton", 11, {Area(0.628f, 0.508f, 0.682f, 0.616f), NONE, NONE, NONE}, {0, 0, 0}, {2, 0.15f, 4}, {0, 0, 0}, {NO_MUL, NO_MUL, NO_MUL, NO_MUL}},
    {"StdVScrollBack", 12, {Area(0.688f, 0.507f, 0.746f, 0.747f), NONE, NONE, NONE}, {0, 0, 0}, {2, 0.14f, 13}, {2, 0.65f, 0.65f}, {NO_MUL, NO_MUL, NO_MUL, NO_MUL}},
    {"StdListOpenMain", 13, {Area(0.001f, 0.025f, 0.249f, 0.226f), NONE, NONE, NONE}, {2, 0.08f, 4}, {0, 0, 0}, {4, 0, 0}, {NO_MUL, NO_MUL, NO_MUL, NO_MUL}},
    {"StdListOpenTop", 14, {Area(0.001f, 0.001f, 0.249f, 0.024f), NONE, NONE, NONE}, {2, 0.08f, 4}, {0, 0, 0}, {4, 0, 0}, {NO_MUL, NO_MUL, NO_MUL, NO_MUL}},
    {"StdListOpenBot", 15, {Area(0.001f, 0.22f, 0.249f, 0.248f), NONE, NONE, NONE}, {2, 0.08f, 4}, {0, 0, 0}, {4, 0, 0}, {NO_MUL, NO_MUL, NO_MUL, NO_MUL}},
    {"StdListOpenSel", 16, {Area(0.501f, 0.445f, 0.749f, 0.494f), NONE, NONE, NONE}, {2, 0.08f, 4}, {0, 0, 0}, {0, 0, 0}, {NO_MUL, NO_MUL, NO_MUL, NO_MUL}},
    {"StdCheckButton", 17, {Area(0.561f, 0.563f, 0.625f, 0.624f), NONE, NONE, NONE}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {NO_MUL, NO_MUL, NO_MUL, NO_MUL}},
    {"StdUnCheckButton", 18, {Area(0.499f, 0.563f, 0.562f, 0.624f), NONE, NONE, NONE}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {NO_MUL, NO_MUL, NO_MUL, NO_MUL}},
    {"StdTabPanelHeading", 19, {Area(0.015f, 0.267f, 0.234f, 0.296f), SAME, SAME, SAME}, {2, 0.18f, 12}, {0, 0, 0}, {4, 0, 0}, {NO_MUL, NO_MUL, NO_MUL, Mul(0.69f, 0.69f, 0.69f, 1)}},
    {"StdTabPanelVertDiv", 20, {Area(0.691f, 0.508f, 0.743f, 0.745f), NONE, NONE, NONE}, {0, 0, 0}, {1, 0.21f, 4}, {0, 0, 0}, {Mul(1, 1, 1, 0.339f), NO_MUL, NO_MUL, NO_MUL}},
    {"StdTabPanelRowBack1", 21, {Area(0.501f, 0.32f, 0.749f, 0.369f), NONE, NONE, NONE}, {2, 0.18f, 12}, {0, 0, 0}, {4, 0, 0}, {Mul(0.545f, 0.545f, 0.545f, 1), NO_MUL, NO_MUL, NO_MUL}},
    {"StdTabPanelRowBack2", 22, {Area(0.501f, 0.258f, 0.749f, 0.305f), NONE, NONE, NONE}, {2, 0.18f, 12}, {0, 0, 0}, {4, 0, 0}, {Mul(0.727f, 0.727f, 0.727f, 1), NO_MUL, NO_MUL, NO_MUL}},
    {"StdTabPanelRowSel", 23, {Area(0.501f, 0.317f, 0.749f, 0.37f), NONE, NONE, NONE}, {2, 0.18f, 12}, {0, 0, 0}, {4, 0, 0}, {Mul(1, 1, 1, 1), NO_MUL, NO_MUL, NO_MUL}},
    {"StdTabPanelRowEmpty", 24, {Area(0.02f, 0.027f, 0.212f, 0.089f), NONE, NONE, NONE}, {2, 0.18f, 12}, {0, 0, 0}, {4, 0, 0}, {Mul(0.379f, 0.379f, 0.379f, 1), NO_MUL, NO_MUL, NO_MUL}},
    {"StdBackHeading", 25, {Area(0.001f, 0.313f, 0.249f, 0.369f), NONE, NONE, NONE}, {2, 0.04f, 3}, {2, 0.18f, 3}, {4.025f, 0, 0}, {NO_MUL, NO_MUL, NO_MUL, NO_MUL}},
    {"StdBackMain", 26, {Area(0, 0.057f, 0.249f, 0.246f), NONE, NONE, NONE}, {2, 0.18f, 12}, {2, 0.24f, 11}, {4.011f, 0, 0}, {NO_MUL, NO_MUL, NO_MUL, NO_MUL}},
    {"StdPushButton", 27, {Area(0.752f, 0.005f, 0.998f, 0.058f), Area(0.752f, 0.068f, 0.998f, 0.12f), Area(0.752f, 0.13f, 0.998f, 0.183f), Area(0.752f, 0.192f, 0.998f, 0.246f)}, {2, 0.11f, 6}, {2, 0.28f, 4}, {6, 1.75f, 1.75f}, {Mul(0.874f, 0.874f, 0.874f, 1), NO_MUL, Mul(0.81f, 0.81f, 0.81f, 1), NO_MUL}},
    {"StdTextEdit", 28, {Area(0.503f, 0.25f, 0.746f, 0.311f), SAME, Area(0.503f, 0.312f, 0.746f, 0.374f), SAME}, {2, 0.04f, 5}, {2, 0.14f, 5}, {0, 2, 2}, {Mul(0.837f, 0.837f, 0.837f, 1), Mul(1, 1, 1, 1), NO_MUL, Mul(0.625f, 0.625f, 0.625f, 1)}},
    {"StdChoice", 29, {Area(0.503f, 0.377f, 0.746f, 0.436f), SAME, Area(0.503f, 0.439f, 0.746f, 0.498f), SAME}, {2, 0.08f, 8}, {0, 0, 0}, {2, 1.05f, 1.05f}, {NO_MUL, Mul(0.925f, 0.925f, 0.925f, 1), NO_MUL, Mul(0.543f, 0.543f, 0.543f, 1)}},
    {"StdPanel", 30, {Area(0.503f, 0.379f, 0.746f, 0.433f), Area(0.503f, 0.442f, 0.746f, 0.496f), Area(0.503f, 0.442f, 0.746f, 0.496f), SAME}, {2, 0.09f, 6}, {1, 0.18f, 3}, {2, 1.8f, 1.8f}, {NO_MUL, NO_MUL, NO_MUL, Mul(0.475f, 0.475f, 0.475f, 1)}},
    {"StdBlack", 31, {Area(0.649f, 0.774f, 0.726f, 0.851f), NONE, NONE, NONE}, {2, 0.08f, 3}, {2, 0.08f, 3}, {3.2f, 2, 2}, {NO_MUL, NO_MUL, NO_MUL, NO_MUL}},
    {"StdWhite", 32, {Area(0.774f, 0.774f, 0.851f, 0.851f), NONE, NONE, NONE}, {2, 0.08f, 3}, {2, 0.08f, 3}, {3.2f, 2, 2}, {NO_MUL, NO_MUL, NO_MUL, NO_MUL}},
};

// The toolkit's names of the standard slots whose colours the skin sets.
const struct {
    int slot;
    const char *name;
} std_slot_names[] = {
    {MWIN_STD_TEX_BUTTON_HIDE, "MWIN_STD_TEX_BUTTON_HIDE"},
    {MWIN_STD_TEX_LEFT_ARROW, "MWIN_STD_TEX_LEFT_ARROW"},
    {MWIN_STD_TEX_RIGHT_ARROW, "MWIN_STD_TEX_RIGHT_ARROW"},
    {MWIN_STD_TEX_SCROLL_BUTTON, "MWIN_STD_TEX_SCROLL_BUTTON"},
    {MWIN_STD_TEX_SCROLL_BACK, "MWIN_STD_TEX_SCROLL_BACK"},
    {MWIN_STD_TEX_TABPANEL_HEADING, "MWIN_STD_TEX_TABPANEL_HEADING"},
    {MWIN_STD_TEX_TABPANEL_VERT_DIV, "MWIN_STD_TEX_TABPANEL_VERT_DIV"},
    {MWIN_STD_TEX_TABPANEL_ROW_BACK_1, "MWIN_STD_TEX_TABPANEL_ROW_BACK_1"},
    {MWIN_STD_TEX_TABPANEL_ROW_BACK_2, "MWIN_STD_TEX_TABPANEL_ROW_BACK_2"},
    {MWIN_STD_TEX_TABPANEL_ROW_SEL, "MWIN_STD_TEX_TABPANEL_ROW_SEL"},
    {MWIN_STD_TEX_TABPANEL_ROW_EMPTY, "MWIN_STD_TEX_TABPANEL_ROW_EMPTY"},
    {MWIN_STD_TEX_PUSH_BUTTON, "MWIN_STD_TEX_PUSH_BUTTON"},
    {MWIN_STD_TEX_TEXT_EDIT, "MWIN_STD_TEX_TEXT_EDIT"},
    {MWIN_STD_TEX_CHOICE, "MWIN_STD_TEX_CHOICE"},
    {MWIN_STD_TEX_PANEL, "MWIN_STD_TEX_PANEL"},
};

const struct {
    const char *id;
    const char *file;
} skin_textures[] = {
    {"Buttons", "Data/1001.dat"},
    {"Popup", "Data/1002.dat"},
};

const char *StdSlotName(int slot)
{
    for (const auto &entry : std_slot_names)
        if (entry.slot == slot)
            return entry.name;
    return "";
}

// The texture and area the toolkit is given for one state of a row.
struct StateArgs {
    const char *texture;
    float l, t, r, b;
};

StateArgs ArgsOf(const SkinTexBut &row, int state)
{
    const SkinState &own = row.states[state];
    const SkinState &area = own.kind == SKIN_AS_NORMAL ? row.states[0] : own;
    if (own.kind == SKIN_NONE)
        return StateArgs{"", 0, 0, 0, 0};
    return StateArgs{"Buttons", area.l, area.t, area.r, area.b};
}

// Makes one texture button from its row; false when any call failed.
char AddSkinTexBut(MWinTextures *textures, const SkinTexBut &row)
{
    const char *where = "HiveWatcherMWinSetupTexturesAndTexButs";
    const bool standard = row.slot >= 0;
    StateArgs s[4];
    for (int i = 0; i < 4; i++)
        s[i] = ArgsOf(row, i);
    char ok = 1;
    char made;
    if (standard) {
        textures->RemoveStandardTextureButton(row.slot);
        made = textures->AddStandardTextureButton(row.slot, row.id, s[0].texture, s[0].l, s[0].t, s[0].r, s[0].b,
                                                  s[1].texture, s[1].l, s[1].t, s[1].r, s[1].b, s[2].texture,
                                                  s[2].l, s[2].t, s[2].r, s[2].b, s[3].texture, s[3].l, s[3].t,
                                                  s[3].r, s[3].b);
    } else {
        made = textures->AddTextureButton(row.id, s[0].texture, s[0].l, s[0].t, s[0].r, s[0].b, s[1].texture,
                                          s[1].l, s[1].t, s[1].r, s[1].b, s[2].texture, s[2].l, s[2].t, s[2].r,
                                          s[2].b, s[3].texture, s[3].l, s[3].t, s[3].r, s[3].b) != nullptr;
    }
    if (!made) {
        DebugError(where, standard ? "Could not load standard texbut <%s>" : "Could not load texbut <%s>", row.id);
        ok = 0;
    }
    if (!textures->SetTexButDrawStyle(row.id, row.horz.style, row.horz.fraction, row.horz.size, row.vert.style,
                                      row.vert.fraction, row.vert.size)) {
        DebugError(where,
                   standard ? "Could not set standard texbut draw style <%s>" : "Could not set texbut draw style <%s>",
                   row.id);
        ok = 0;
    }
    if (!textures->SetTexButDrawExtra(row.id, row.extra[0], row.extra[1], row.extra[2])) {
        DebugError(where, "Could not set texbut draw extra <%s>", row.id);
        ok = 0;
    }
    for (int i = 0; i < 4; i++) {
        const SkinColour &c = row.colours[i];
        if (!c.on)
            continue;
        _MWinTextureState state = static_cast<_MWinTextureState>(i);
        if (standard) {
            if (!textures->SetStandardTextureButtonStateColourMultiplier(row.slot, state, c.r, c.g, c.b, c.a)) {
                DebugError(where, "Could not set standard texbut colour <%s>", StdSlotName(row.slot));
                ok = 0;
            }
        } else if (!textures->SetTextureButtonStateColourMultiplierRGBA(row.id, state, c.r, c.g, c.b, c.a)) {
            DebugError(where, "Could not set colour <%s>", row.id);
            ok = 0;
        }
    }
    return ok;
}

// The layout metrics for the layouts Normal, IPhonePortrait,
// IPhoneLandscape, IPadPortrait and IPadLandscape. The art's table numbers
// its fields by their place in the layout record of the toolkit it was made
// for (four-byte steps from 1); that record starts with the control size and
// keeps the title-bar metrics elsewhere, so each number is mapped to the
// metric it means here rather than to a byte offset. Fields 5 to 8 (window
// scrolling) and 14 (panel text inset) keep the toolkit's defaults; fields
// 15 and 16 (12 in every layout) name metrics this toolkit does not have.
typedef float _MWinLayoutSettings::*LayoutMetric;
const struct {
    int field;
    LayoutMetric metric;
    float values[MWIN_NUM_LAYOUTS];
} skin_layout_fields[] = {
    {1, &_MWinLayoutSettings::m_button_w, {60, 60, 60, 60, 60}},
    {2, &_MWinLayoutSettings::m_button_h, {20, 45, 50, 30, 35}},
    {3, &_MWinLayoutSettings::m_win_inner_border_x, {3, 3, 3, 3, 3}},
    {4, &_MWinLayoutSettings::m_win_inner_border_y, {3, 6, 6, 3, 3}},
    {9, &_MWinLayoutSettings::m_text_scale_x, {0, 2.5f, 1.7f, 1.6f, 1.4f}},
    {10, &_MWinLayoutSettings::m_text_scale_y, {0, 1.2f, 1.8f, 0.8f, 1.2f}},
    {11, &_MWinLayoutSettings::m_text_margin, {4.5f, 10, 5, 7, 5}},
    {12, &_MWinLayoutSettings::m_text_margin_per_w, {0, 0, 0, 0, 0}},
    {13, &_MWinLayoutSettings::m_two_line_spacing, {7.1f, 8, 6, 6.6f, 6}},
    {17, &_MWinLayoutSettings::m_arrow_inset, {3, 3, 3, 3, 3}},
    {18, &_MWinLayoutSettings::m_hthumb_h, {14, 27.1f, 35, 20, 25}},
    {19, &_MWinLayoutSettings::m_hthumb_w, {27.1f, 75, 45.1f, 44.3f, 45.1f}},
    {20, &_MWinLayoutSettings::m_vscrollbar_w, {12.3f, 40, 40, 28.9f, 20}},
    {21, &_MWinLayoutSettings::m_vthumb_h, {24.8f, 30.1f, 40.9f, 40.1f, 30.2f}},
    {22, &_MWinLayoutSettings::m_panel_scrollbar_w, {13.7f, 42.1f, 42.2f, 30.1f, 22}},
    {23, &_MWinLayoutSettings::m_panel_min_thumb_h, {17, 30.2f, 49.8f, 20.7f, 30.1f}},
    {24, &_MWinLayoutSettings::m_hscroll_track_inset, {3, 3, 3, 3, 3}},
    {25, &_MWinLayoutSettings::m_vscroll_track_inset, {3, 3, 3, 3, 3}},
    {26, &_MWinLayoutSettings::m_list_arrow_w, {12, 23.2f, 16.7f, 20.6f, 16}},
    {27, &_MWinLayoutSettings::m_list_arrow_h, {15.6f, 25.5f, 32.1f, 16.1f, 32.5f}},
    {28, &_MWinLayoutSettings::m_list_arrow_margin, {3, 5.8f, 3, 5, 3}},
    {29, &_MWinLayoutSettings::m_checkbox_w, {12, 25, 18.3f, 14.1f, 12}},
    {30, &_MWinLayoutSettings::m_checkbox_h, {12, 15.9f, 20.2f, 12, 12}},
    {31, &_MWinLayoutSettings::m_checkbox_gap, {3, 10.9f, 8.1f, 9.1f, 8.9f}},
    {32, &_MWinLayoutSettings::m_checkbox_offset, {3, 9.3f, 6.1f, 9, 5.9f}},
};

// The font's sixteen glyph-rendering values: border, shadow offsets, shadow
// colour and alpha, blur passes of both channels, then unused ones.
_EngFontSetting GlyphSetting(int i)
{
    _EngFontSetting s;
    s.i = i;
    return s;
}
_EngFontSetting GlyphSettingF(float f)
{
    _EngFontSetting s;
    s.f = f;
    return s;
}

} // namespace

char HiveWatcherMWinSetupTexturesAndTexButs(MWin *mwin)
{
    const char *where = "HiveWatcherMWinSetupTexturesAndTexButs";
    if (!mwin) {
        DebugError(where, "No mwinp");
        return 0;
    }
    MWinTextures *textures = mwin->GetTextures();
    if (!textures) {
        DebugError(where, "No mwin textures");
        return 0;
    }
    char ok = 1;
    for (const auto &texture : skin_textures) {
        if (!textures->AddTexture(texture.id, texture.file, 1, 2)) {
            DebugError(where, "Could not load texture <%s>", texture.file);
            ok = 0;
        }
    }
    for (const SkinTexBut &row : skin_texbuts)
        if (!AddSkinTexBut(textures, row))
            ok = 0;
    return ok;
}

char HiveWatcherMWinCreateFontApart(int font_num, const char *file, EngFont *font)
{
    if (!font || !file || !file[0])
        return 0;
    if (font_num != 0) {
        DebugError("HiveWatcherMWinCreateFontApart", "Bad font number %d", font_num);
        return 0;
    }
    const _EngFontSetting settings[ENG_FONT_SETTING_COUNT] = {
        GlyphSetting(2),  GlyphSetting(7),  GlyphSetting(6),  GlyphSettingF(0.0f),
        GlyphSettingF(0.766549f), GlyphSetting(3), GlyphSetting(2), GlyphSetting(0),
        GlyphSettingF(0), GlyphSettingF(0), GlyphSettingF(0), GlyphSettingF(0),
        GlyphSettingF(0), GlyphSettingF(0), GlyphSettingF(0), GlyphSettingF(0),
    };
    font->SetMatrix(settings);
    if (!font->CreateFromFontFile(file, 1, 144, 32, 32, 254, nullptr, 0, 0.160404f, 0.204889f, 1.000135f, 6.747f, 0,
                                  0, 0, 0, 1)) {
        DebugError("HiveWatcherMWinCreateFontApart", "EngFont::Create failed <Main>");
        return 0;
    }
    return 1;
}

void HiveWatcherMWinSetupLayoutSettings(MWin *mwin)
{
    if (!mwin)
        return;
    _MWinSettings *settings = mwin->GetSettingsP();
    settings->m_shrink_to_fit = 1;
    settings->m_choice_style = 0;
    for (int layout = 0; layout < MWIN_NUM_LAYOUTS; layout++)
        for (const auto &row : skin_layout_fields)
            settings->m_layouts[layout].*row.metric = row.values[layout];
}
