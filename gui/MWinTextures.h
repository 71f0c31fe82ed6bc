// The toolkit's texture registry: named image files, and named texture
// buttons cut out of them (one rectangle per control state, with a colour
// multiplier per state), plus 33 standard slots naming the texture buttons
// that windows and controls use when nothing else is named. The skin fills
// it once; the files are loaded when the toolkit creates its graphics and
// released with them, and registrations survive any number of such cycles.
//
// Failures: refused registrations are reported and leave the registry as it
// was; a texture that fails to load is dropped (the others still draw) and
// the registry stays uncreated. Drawing with a bad number, an empty state or
// an unloaded texture draws nothing and reports nothing.
#pragma once

#include "engine/core/EngMath.h"
#include "gui/MWinTypes.h"

class EngTexture;
class MWin;

enum {
    MWIN_MAX_TEXTURES = 64,
    MWIN_MAX_TEXTURE_BUTTONS = 256,
    MWIN_NUM_STD_TEXTURES = 33,
    MWIN_NUM_COLOUR_TEXTURES = 3,
};

// The standard slots.
enum {
    MWIN_STD_TEX_WIN_BACK = 0,
    MWIN_STD_TEX_WIN_TITLE = 1,
    MWIN_STD_TEX_BUTTON_HIDE = 2,
    MWIN_STD_TEX_BUTTON_BACK = 3,
    MWIN_STD_TEX_STATIC = 4,
    MWIN_STD_TEX_LEFT_ARROW = 5,
    MWIN_STD_TEX_RIGHT_ARROW = 6,
    MWIN_STD_TEX_UP_ARROW = 7,
    MWIN_STD_TEX_DOWN_ARROW = 8,
    MWIN_STD_TEX_SCROLL_BUTTON = 9,
    MWIN_STD_TEX_SCROLL_BACK = 10,
    MWIN_STD_TEX_VSCROLL_BUTTON = 11,
    MWIN_STD_TEX_VSCROLL_BACK = 12,
    MWIN_STD_TEX_LIST_OPEN_MAIN = 13,
    MWIN_STD_TEX_LIST_OPEN_TOP = 14,
    MWIN_STD_TEX_LIST_OPEN_BOT = 15,
    MWIN_STD_TEX_LIST_OPEN_SEL = 16,
    MWIN_STD_TEX_CHECK_BUTTON = 17,
    MWIN_STD_TEX_UNCHECK_BUTTON = 18,
    MWIN_STD_TEX_TABPANEL_HEADING = 19,
    MWIN_STD_TEX_TABPANEL_VERT_DIV = 20,
    MWIN_STD_TEX_TABPANEL_ROW_BACK_1 = 21,
    MWIN_STD_TEX_TABPANEL_ROW_BACK_2 = 22,
    MWIN_STD_TEX_TABPANEL_ROW_SEL = 23,
    MWIN_STD_TEX_TABPANEL_ROW_EMPTY = 24,
    MWIN_STD_TEX_BACK_HEADING = 25,
    MWIN_STD_TEX_BACK_MAIN = 26,
    MWIN_STD_TEX_PUSH_BUTTON = 27,
    MWIN_STD_TEX_TEXT_EDIT = 28,
    MWIN_STD_TEX_CHOICE = 29,
    MWIN_STD_TEX_PANEL = 30,
    MWIN_STD_TEX_BLACK = 31,
    MWIN_STD_TEX_WHITE = 32,
};

struct _MWinTextureButtonState {
    int m_texture;
    float m_left, m_top, m_right, m_bottom;
    char m_multiplier_on;
    _ColourRGBA m_multiplier;
};

struct _MWinTextureButton {
    char m_id[MWIN_ID_SIZE];
    _MWinTextureButtonState m_states[4];
    int m_h_style, m_v_style;
    float m_h_fraction, m_v_fraction;
    float m_h_border, m_v_border;
    float m_extra_w, m_extra_top, m_extra_bottom;
};

class MWinTextures {
public:
    explicit MWinTextures(MWin *root);
    ~MWinTextures();
    MWinTextures(const MWinTextures &) = delete;
    MWinTextures &operator=(const MWinTextures &) = delete;

    char AddTexture(const char *id, const char *file, char alpha, char alpha_type);
    // Each state's texture id may be empty (that state draws state 0).
    _MWinTextureButton *AddTextureButton(const char *id, const char *tex0, float l0, float t0, float r0, float b0,
                                         const char *tex1, float l1, float t1, float r1, float b1,
                                         const char *tex2, float l2, float t2, float r2, float b2,
                                         const char *tex3, float l3, float t3, float r3, float b3);
    char SetTextureButtonState(_MWinTextureButton *button, _MWinTextureState state, const char *texture_id,
                               float left, float top, float right, float bottom);
    // Alpha 0 or below (or a null colour) turns the multiplier off.
    char SetTextureButtonStateColourMultiplier(const char *id, _MWinTextureState state, const _ColourRGBA *colour);
    char SetTextureButtonStateColourMultiplierRGBA(const char *id, _MWinTextureState state, float r, float g,
                                                   float b, float a);
    // Styles above 1 stretch in three or nine parts with fixed borders of
    // the given fraction of the area (texture) and size (640 x 480 units).
    char SetTexButDrawStyle(const char *id, int h_style, float h_fraction, float h_border, int v_style,
                            float v_fraction, float v_border);
    // How far the drawn rectangle reaches beyond the control's.
    char SetTexButDrawExtra(const char *id, float extra_w, float extra_top, float extra_bottom);
    // Any output may be null; a bad number sets them to 0 and answers false.
    char GetTexButDrawExtra(int texbut, float *extra_w, float *extra_top, float *extra_bottom);

    char SetStandardTextureToTexBut(int num, const char *id);
    char AddStandardTextureButton(int num, const char *id, const char *tex0, float l0, float t0, float r0, float b0,
                                  const char *tex1, float l1, float t1, float r1, float b1, const char *tex2,
                                  float l2, float t2, float r2, float b2, const char *tex3, float l3, float t3,
                                  float r3, float b3);
    // -1 for a bad slot, 0 for an empty one, 1 when the slot's texture
    // button was removed (its place in the table stays taken).
    char RemoveStandardTextureButton(int num);
    char SetStandardTextureButtonStateColourMultiplier(int num, _MWinTextureState state, float r, float g, float b,
                                                       float a);
    int GetStandardTexButNum(int num);
    // Null for an empty or bad slot.
    const char *GetStandardTexButID(int num);
    // -1 when no texture button has the id; no report.
    int GetTexButNumFromID(const char *id);

    // Each true when it drew; colour may be null.
    char DrawTexBut(int texbut, _MWinTextureState state, float x, float y, float w, float h,
                    const _ColourRGBA *colour);
    char DrawTexButInArea(int texbut, _MWinTextureState state, const _Dimension *area, const _ColourRGBA *colour);
    char DrawTexButInAreaWithOffset(int texbut, _MWinTextureState state, const _Dimension *area,
                                    const float *offset, const _ColourRGBA *colour);
    // One quad with the fractions s0..s1, t0..t1 of the state's area; no
    // extras, no slicing.
    char DrawTexButPart(int texbut, _MWinTextureState state, float x, float y, float w, float h, float s0,
                        float t0, float s1, float t1, const _ColourRGBA *colour);

    char CreateTextures();
    void DestroyTextures();
    char IsCreated() const { return m_created; }

    // The colour picker's three 256 x 32 textures (0 to 2).
    EngTexture *GetColourTexture(int i) { return i >= 0 && i < MWIN_NUM_COLOUR_TEXTURES ? m_colour[i] : nullptr; }

private:
    // The state entry to draw (state 0's when the state has none) and its
    // loaded texture; null when there is nothing to draw.
    const _MWinTextureButtonState *GetDrawableState(int texbut, _MWinTextureState state, EngTexture **texture);

    struct Entry {
        char id[MWIN_ID_SIZE];
        char file[MWIN_FILE_SIZE];
        char alpha;
        char alpha_type;
        EngTexture *texture;
    };

    MWin *m_root;
    char m_created;
    Entry m_textures[MWIN_MAX_TEXTURES];
    int m_num_textures;
    _MWinTextureButton m_texbuts[MWIN_MAX_TEXTURE_BUTTONS];
    int m_num_texbuts;
    int m_std[MWIN_NUM_STD_TEXTURES];
    EngTexture *m_colour[MWIN_NUM_COLOUR_TEXTURES];
};
