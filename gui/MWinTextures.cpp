// The texture registry: registration, standard slots, loading and drawing.
#include "gui/MWinTextures.h"

#include "engine/core/EngDebug.h"
#include "engine/core/EngFile.h"
#include "engine/core/EngMemory.h"
#include "engine/graphics/EngTexture.h"
#include "engine/runtime/EngWindow.h"
#include "gui/MWin.h"
#include "gui/MWinIDs.h"

#include <cstring>
#include <new>

MWinTextures::MWinTextures(MWin *root) : m_root(root), m_created(0), m_num_textures(0), m_num_texbuts(0)
{
    if (!root)
        DebugFatal("MWinTextures::MWinTextures", "Internal Error (MWinTextures)");
    std::memset(m_textures, 0, sizeof(m_textures));
    std::memset(m_texbuts, 0, sizeof(m_texbuts));
    for (int &slot : m_std)
        slot = -1;
    for (EngTexture *&texture : m_colour)
        texture = new EngTexture();
}

MWinTextures::~MWinTextures()
{
    // Textures still loaded are reported and released rather than leaked,
    // also those left from a creation that failed part-way.
    DebugCheck(!m_created, "MWinTextures::~MWinTextures", "Textures still loaded");
    for (int i = 0; i < m_num_textures; i++) {
        delete m_textures[i].texture;
        m_textures[i].texture = nullptr;
    }
    m_created = 0;
    m_num_textures = 0;
    for (EngTexture *&texture : m_colour) {
        delete texture;
        texture = nullptr;
    }
}

char MWinTextures::AddTexture(const char *id, const char *file, char alpha, char alpha_type)
{
    const char *where = "MWinTextures::AddTexture";
    if (!file || !file[0]) {
        DebugError(where, "No filename passed in");
        return 0;
    }
    if (strnlen(file, MWIN_FILE_SIZE) >= MWIN_FILE_SIZE) {
        DebugError(where, "Filename too long");
        return 0;
    }
    if (m_num_textures >= MWIN_MAX_TEXTURES) {
        DebugError(where, "Too many textures");
        return 0;
    }
    if (!EngFileExists(file, 0)) {
        DebugError(where, "File does not exist <%s>", file);
        return 0;
    }
    Entry &entry = m_textures[m_num_textures];
    if (!MWinCopyID(entry.id, id))
        return 0;
    std::memcpy(entry.file, file, std::strlen(file) + 1);
    entry.alpha = alpha;
    entry.alpha_type = alpha_type;
    entry.texture = nullptr;
    m_num_textures++;
    return 1;
}

_MWinTextureButton *MWinTextures::AddTextureButton(const char *id, const char *tex0, float l0, float t0, float r0,
                                                   float b0, const char *tex1, float l1, float t1, float r1,
                                                   float b1, const char *tex2, float l2, float t2, float r2,
                                                   float b2, const char *tex3, float l3, float t3, float r3,
                                                   float b3)
{
    const char *where = "MWinTextures::AddTextureButton";
    if (MWinIsIDInvalid(id)) {
        DebugError(where, "Invalid ID passed in");
        return nullptr;
    }
    if (m_num_texbuts >= MWIN_MAX_TEXTURE_BUTTONS) {
        DebugError(where, "Too many texture buttons");
        return nullptr;
    }
    if (GetTexButNumFromID(id) >= 0) {
        DebugError(where, "Texture button alread exits <%s>", id);
        return nullptr;
    }
    _MWinTextureButton *button = &m_texbuts[m_num_texbuts];
    std::memset(button, 0, sizeof(*button));
    const struct {
        const char *texture;
        float l, t, r, b;
    } states[4] = {{tex0, l0, t0, r0, b0}, {tex1, l1, t1, r1, b1}, {tex2, l2, t2, r2, b2}, {tex3, l3, t3, r3, b3}};
    for (int s = 0; s < 4; s++) {
        button->m_states[s].m_texture = -1;
        if (!MWinIsIDInvalid(states[s].texture))
            SetTextureButtonState(button, static_cast<_MWinTextureState>(s), states[s].texture, states[s].l,
                                  states[s].t, states[s].r, states[s].b);
    }
    if (!MWinCopyID(button->m_id, id))
        return nullptr;
    button->m_h_style = 1;
    button->m_v_style = 1;
    button->m_h_border = 16.0f;
    button->m_v_border = 16.0f;
    m_num_texbuts++;
    return button;
}

char MWinTextures::SetTextureButtonState(_MWinTextureButton *button, _MWinTextureState state,
                                         const char *texture_id, float left, float top, float right, float bottom)
{
    const char *where = "MWinTextures::SetTextureButtonState";
    if (!button || state < 0 || state > 3) {
        DebugError(where, "Invalid parameters passed in");
        return 0;
    }
    _MWinTextureButtonState &entry = button->m_states[state];
    entry.m_texture = -1;
    if (MWinIsIDInvalid(texture_id)) {
        DebugError(where, "Invalid parameters passed in");
        return 0;
    }
    for (int i = 0; i < m_num_textures; i++)
        if (MWinAreIDsTheSame(m_textures[i].id, texture_id)) {
            entry.m_texture = i;
            entry.m_left = left;
            entry.m_top = top;
            entry.m_right = right;
            entry.m_bottom = bottom;
            return 1;
        }
    DebugError(where, "Texture <%s> does not exist", texture_id);
    return 0;
}

char MWinTextures::SetTextureButtonStateColourMultiplier(const char *id, _MWinTextureState state,
                                                         const _ColourRGBA *colour)
{
    const char *where = "MWinTextures::SetTextureButtonStateColourMultiplier";
    if (MWinIsIDInvalid(id)) {
        DebugError(where, "Empty texbut ID");
        return 0;
    }
    int num = GetTexButNumFromID(id);
    if (num < 0 || state < 0 || state > 3) {
        DebugError(where, "Unknown texbut ID <%s>", id);
        return 0;
    }
    _MWinTextureButtonState &entry = m_texbuts[num].m_states[state];
    entry.m_multiplier_on = colour && colour->a > 0;
    if (entry.m_multiplier_on)
        entry.m_multiplier = *colour;
    return 1;
}

char MWinTextures::SetTextureButtonStateColourMultiplierRGBA(const char *id, _MWinTextureState state, float r,
                                                             float g, float b, float a)
{
    _ColourRGBA colour = {r, g, b, a};
    return SetTextureButtonStateColourMultiplier(id, state, &colour);
}

char MWinTextures::SetStandardTextureToTexBut(int num, const char *id)
{
    const char *where = "MWinTextures::SetStandardTextureToTexBut";
    if (num < 0 || num >= MWIN_NUM_STD_TEXTURES) {
        DebugError(where, "Invalid std tex num %d", num);
        return 0;
    }
    if (MWinIsIDInvalid(id)) {
        m_std[num] = -1;
        return 1;
    }
    int texbut = GetTexButNumFromID(id);
    if (texbut < 0) {
        DebugError(where, "Texture Button <%s> does not exist", id);
        return 0;
    }
    m_std[num] = texbut;
    return 1;
}

int MWinTextures::GetStandardTexButNum(int num)
{
    if (num < 0 || num >= MWIN_NUM_STD_TEXTURES) {
        DebugError("MWinTextures::GetStandardTexButNum", "Invalid standard texbut num: %d", num);
        return -1;
    }
    return m_std[num];
}

int MWinTextures::GetTexButNumFromID(const char *id)
{
    for (int i = 0; i < m_num_texbuts; i++)
        if (MWinAreIDsTheSame(m_texbuts[i].m_id, id))
            return i;
    return -1;
}

char MWinTextures::SetTexButDrawStyle(const char *id, int h_style, float h_fraction, float h_border, int v_style,
                                      float v_fraction, float v_border)
{
    int num = GetTexButNumFromID(id);
    if (num < 0) {
        DebugError("MWinTextures::SetTexButDrawStyle", "Texture Button <%s> does not exist", EngStrOrNone(id));
        return 0;
    }
    _MWinTextureButton &button = m_texbuts[num];
    button.m_h_style = h_style;
    button.m_h_fraction = h_fraction;
    button.m_h_border = h_border;
    button.m_v_style = v_style;
    button.m_v_fraction = v_fraction;
    button.m_v_border = v_border;
    return 1;
}

char MWinTextures::SetTexButDrawExtra(const char *id, float extra_w, float extra_top, float extra_bottom)
{
    int num = GetTexButNumFromID(id);
    if (num < 0) {
        DebugError("MWinTextures::SetTexButDrawExtra", "Texture Button <%s> does not exist", EngStrOrNone(id));
        return 0;
    }
    m_texbuts[num].m_extra_w = extra_w;
    m_texbuts[num].m_extra_top = extra_top;
    m_texbuts[num].m_extra_bottom = extra_bottom;
    return 1;
}

char MWinTextures::GetTexButDrawExtra(int texbut, float *extra_w, float *extra_top, float *extra_bottom)
{
    bool known = texbut >= 0 && texbut < m_num_texbuts;
    const _MWinTextureButton *button = known ? &m_texbuts[texbut] : nullptr;
    if (extra_w)
        *extra_w = button ? button->m_extra_w : 0;
    if (extra_top)
        *extra_top = button ? button->m_extra_top : 0;
    if (extra_bottom)
        *extra_bottom = button ? button->m_extra_bottom : 0;
    return known;
}

char MWinTextures::AddStandardTextureButton(int num, const char *id, const char *tex0, float l0, float t0, float r0,
                                            float b0, const char *tex1, float l1, float t1, float r1, float b1,
                                            const char *tex2, float l2, float t2, float r2, float b2,
                                            const char *tex3, float l3, float t3, float r3, float b3)
{
    if (!AddTextureButton(id, tex0, l0, t0, r0, b0, tex1, l1, t1, r1, b1, tex2, l2, t2, r2, b2, tex3, l3, t3, r3,
                          b3))
        return 0;
    return SetStandardTextureToTexBut(num, id);
}

char MWinTextures::RemoveStandardTextureButton(int num)
{
    if (num < 0 || num >= MWIN_NUM_STD_TEXTURES) {
        DebugError("MWinTextures::RemoveStandardTextureButton", "Invalid standard texbut num: %d", num);
        return -1;
    }
    int texbut = m_std[num];
    if (texbut < 0 || texbut >= m_num_texbuts)
        return 0;
    // The record keeps its place: numbers held by controls stay in range.
    m_texbuts[texbut].m_id[0] = 0;
    m_std[num] = -1;
    return 1;
}

char MWinTextures::SetStandardTextureButtonStateColourMultiplier(int num, _MWinTextureState state, float r, float g,
                                                                 float b, float a)
{
    return SetTextureButtonStateColourMultiplierRGBA(GetStandardTexButID(num), state, r, g, b, a);
}

const char *MWinTextures::GetStandardTexButID(int num)
{
    int texbut = GetStandardTexButNum(num);
    if (texbut < 0 || texbut >= m_num_texbuts)
        return nullptr;
    return m_texbuts[texbut].m_id;
}

const _MWinTextureButtonState *MWinTextures::GetDrawableState(int texbut, _MWinTextureState state,
                                                              EngTexture **texture)
{
    if (texbut < 0 || texbut >= m_num_texbuts || state < 0 || state > 3)
        return nullptr;
    const _MWinTextureButton &button = m_texbuts[texbut];
    const _MWinTextureButtonState *entry = &button.m_states[state];
    if (entry->m_texture < 0)
        entry = &button.m_states[MWTS_NORMAL];
    if (entry->m_texture < 0 || entry->m_texture >= m_num_textures)
        return nullptr;
    *texture = m_textures[entry->m_texture].texture;
    if (!*texture || !(*texture)->IsCreated())
        return nullptr;
    return entry;
}

namespace {

// The caller's colour times the state's multiplier, either alone, or white.
_ColourRGBA PieceColour(const _MWinTextureButtonState *entry, const _ColourRGBA *colour)
{
    if (colour && entry->m_multiplier_on)
        return {colour->r * entry->m_multiplier.r, colour->g * entry->m_multiplier.g,
                colour->b * entry->m_multiplier.b, colour->a * entry->m_multiplier.a};
    if (colour)
        return *colour;
    if (entry->m_multiplier_on)
        return entry->m_multiplier;
    return {1, 1, 1, 1};
}

void DrawPiece(EngTexture *texture, const _MWinTextureButtonState *entry, const _ColourRGBA &c, float x, float y,
               float w, float h, float s0, float t0, float s1, float t1)
{
    float du = entry->m_right - entry->m_left, dv = entry->m_bottom - entry->m_top;
    texture->PositionRatioed(x, y, w, h);
    texture->DrawWithTextureCoordinatesAndColour(entry->m_left + du * s0, entry->m_top + dv * t0,
                                                 entry->m_left + du * s1, entry->m_top + dv * t1, c.r, c.g, c.b,
                                                 c.a);
}

// One column or row of a sliced texture button: where it lies on screen
// and which fractions of the area it shows.
struct Span {
    float start, size, f0, f1;
};

// The spans along one axis: the whole length, or a border, the middle and
// a border.
int Slice(float start, float length, bool sliced, float border, float fraction, Span out[3])
{
    if (!sliced) {
        out[0] = {start, length, 0, 1};
        return 1;
    }
    out[0] = {start, border, 0, fraction};
    out[1] = {start + border, length - 2 * border, fraction, 1 - fraction};
    out[2] = {start + length - border, border, 1 - fraction, 1};
    return 3;
}

} // namespace

char MWinTextures::DrawTexBut(int texbut, _MWinTextureState state, float x, float y, float w, float h,
                              const _ColourRGBA *colour)
{
    EngTexture *texture = nullptr;
    const _MWinTextureButtonState *entry = GetDrawableState(texbut, state, &texture);
    if (!entry)
        return 0;
    const _MWinTextureButton &button = m_texbuts[texbut];

    x -= button.m_extra_w / 2;
    w += button.m_extra_w;
    y -= button.m_extra_top;
    h += button.m_extra_top + button.m_extra_bottom;

    float border_h = button.m_h_border * eng_font_scale_x;
    float border_v = button.m_v_border * eng_font_scale_y;
    bool slice_h = button.m_h_style > 1 && border_h > 0 && 2 * border_h < w;
    bool slice_v = button.m_v_style > 1 && border_v > 0 && 2 * border_v < h;
    if (slice_v) {
        // Vertical borders are drawn a third taller, if they still fit.
        border_v *= 1.333333f;
        slice_v = 2 * border_v < h;
    }
    int layout = m_root->GetLayout();
    if (layout == MWIN_LAYOUT_IPHONE_PORTRAIT || layout == MWIN_LAYOUT_IPAD_PORTRAIT)
        border_h *= 2.4f;

    Span columns[3], rows[3];
    int num_columns = Slice(x, w, slice_h, border_h, button.m_h_fraction, columns);
    int num_rows = Slice(y, h, slice_v, border_v, button.m_v_fraction, rows);
    _ColourRGBA drawn = PieceColour(entry, colour);
    for (int r = 0; r < num_rows; r++)
        for (int c = 0; c < num_columns; c++)
            DrawPiece(texture, entry, drawn, columns[c].start, rows[r].start, columns[c].size, rows[r].size,
                      columns[c].f0, rows[r].f0, columns[c].f1, rows[r].f1);
    return 1;
}

char MWinTextures::DrawTexButInArea(int texbut, _MWinTextureState state, const _Dimension *area,
                                    const _ColourRGBA *colour)
{
    return area ? DrawTexBut(texbut, state, area->x, area->y, area->w, area->h, colour) : 0;
}

char MWinTextures::DrawTexButInAreaWithOffset(int texbut, _MWinTextureState state, const _Dimension *area,
                                              const float *offset, const _ColourRGBA *colour)
{
    if (!area)
        return 0;
    float dx = offset ? offset[0] : 0, dy = offset ? offset[1] : 0;
    return DrawTexBut(texbut, state, area->x + dx, area->y + dy, area->w, area->h, colour);
}

char MWinTextures::DrawTexButPart(int texbut, _MWinTextureState state, float x, float y, float w, float h, float s0,
                                  float t0, float s1, float t1, const _ColourRGBA *colour)
{
    EngTexture *texture = nullptr;
    const _MWinTextureButtonState *entry = GetDrawableState(texbut, state, &texture);
    if (!entry)
        return 0;
    DrawPiece(texture, entry, PieceColour(entry, colour), x, y, w, h, s0, t0, s1, t1);
    return 1;
}

char MWinTextures::CreateTextures()
{
    if (!DebugCheck(!m_created, "MWinTextures::CreateTextures", "Textures already loaded"))
        DestroyTextures();
    char all = 1;
    for (int i = 0; i < m_num_textures; i++) {
        Entry &entry = m_textures[i];
        delete entry.texture;
        entry.texture = new (std::nothrow) EngTexture();
        if (!entry.texture) {
            DebugErrorCode("MWinTextures::CreateTextures", 'OMEM');
            all = 0;
            continue;
        }
        if (!entry.texture->LoadFromFileUsingExt(entry.file, entry.alpha, entry.alpha_type,
                                                 m_root->GetTextureFileExt(), 0)) {
            delete entry.texture;
            entry.texture = nullptr;
            all = 0;
        }
    }
    m_created = all;
    return all;
}

void MWinTextures::DestroyTextures()
{
    DebugCheck(m_created, "MWinTextures::DestroyTextures", "Textures not loaded");
    for (int i = 0; i < m_num_textures; i++) {
        delete m_textures[i].texture;
        m_textures[i].texture = nullptr;
    }
    m_created = 0;
}
