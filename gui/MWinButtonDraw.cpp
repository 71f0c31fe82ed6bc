// Button geometry, texts and drawing: the screen and crop rectangles
// computed from the window, the two text slots and the language token,
// font, colours and scale, the background texture button (registered or the
// control's own), and the drawing sequence every control runs each frame:
// background, body, text, extra render callback, inside a device crop.
//
// Failures: text operations on a control that is not valid report 'NOSU';
// bad slot numbers are reported; a missing font, texture button or device
// draws and measures nothing rather than failing.
#include "gui/MWinButton.h"

#include "engine/core/EngDebug.h"
#include "engine/core/EngLanguages.h"
#include "engine/core/EngMemory.h"
#include "engine/graphics/EngFont.h"
#include "engine/graphics/EngTexture.h"
#include "engine/runtime/EngDevice.h"
#include "engine/runtime/EngWindow.h"
#include "gui/EngMenu.h"
#include "gui/MWin.h"
#include "gui/MWinCollection.h"
#include "gui/MWinFonts.h"
#include "gui/MWinIDs.h"
#include "gui/MWinTextures.h"
#include "gui/MWinWindow.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace {

// The standard texture-button slot each kind draws its background from.
const int kDefaultBackSlot[] = {
    MWIN_STD_TEX_BUTTON_BACK,    // MWBT_NONE
    MWIN_STD_TEX_PUSH_BUTTON,    // MWBT_PUSH
    MWIN_STD_TEX_STATIC,         // MWBT_STATIC
    MWIN_STD_TEX_TEXT_EDIT,      // MWBT_TEXT_EDIT
    MWIN_STD_TEX_SCROLL_BACK,    // MWBT_HORZ_SCROLLBAR
    MWIN_STD_TEX_VSCROLL_BACK,   // MWBT_VERT_SCROLLBAR
    MWIN_STD_TEX_CHOICE,         // MWBT_LIST
    MWIN_STD_TEX_PUSH_BUTTON,    // MWBT_CHECKBOX
    MWIN_STD_TEX_CHOICE,         // MWBT_CHOICE
    MWIN_STD_TEX_PANEL,          // MWBT_PANEL
    MWIN_STD_TEX_SCROLL_BACK,    // MWBT_KIND_10
    MWIN_STD_TEX_BUTTON_BACK,    // MWBT_PROGRESS_CIRCLE
    MWIN_STD_TEX_BUTTON_BACK,    // MWBT_KIND_12
    MWIN_STD_TEX_BUTTON_BACK,    // MWBT_KIND_13
    MWIN_STD_TEX_STATIC,         // MWBT_CLASS
    MWIN_STD_TEX_BUTTON_BACK,    // MWBT_RANGE_SLIDER
    MWIN_STD_TEX_BUTTON_BACK,    // MWBT_KIND_16
};

// Texts this long are still stored whole, but reported.
const int kLongText = 512;
// SetTextPrintf's shared buffer and where it cuts.
char printf_buffer[611];
const int kPrintfCut = 510;

MWinTextures *TexturesOf(MWin *mwin)
{
    return mwin ? mwin->GetTextures() : nullptr;
}

} // namespace

// Geometry.

_MWinLayoutSettings *MWinButton::GetLayoutSettings()
{
    if (!m_mwin)
        return nullptr;
    if (m_window && m_window->GetCollection())
        return m_window->GetScreenLayout();
    return m_mwin->GetScreenLayout();
}

void MWinButton::SetPos(float x, float y)
{
    m_dim.x = x;
    m_dim.y = y;
    RecalculateArea();
}

void MWinButton::SetPosAndSize(float x, float y, float w, float h)
{
    _MWinLayoutSettings *layout = GetLayoutSettings();
    if (!layout)
        return;
    if (w < 0)
        w = layout->m_button_w;
    if (h < 0)
        h = layout->m_button_h;
    m_dim.w = w < 2 ? 2 : w;
    m_dim.h = h < 2 ? 2 : h;
    SetPos(x, y);
}

void MWinButton::SetDimension(_Dimension dimension)
{
    SetPosAndSize(dimension.x, dimension.y, dimension.w, dimension.h);
}

char MWinButton::GetDimension(_Dimension *out)
{
    if (!out)
        return 0;
    *out = m_dim;
    return 1;
}

char MWinButton::GetScreenDimension(_Dimension *out)
{
    if (!out)
        return 0;
    *out = m_screen;
    return 1;
}

float MWinButton::GetXScale()
{
    return m_window && m_window->IsScaled() ? eng_font_scale_x : 1.0f;
}

float MWinButton::GetYScale()
{
    return m_window && m_window->IsScaled() ? eng_font_scale_y : 1.0f;
}

namespace {

// Cuts the crop rectangle to the clip area: top, bottom, then left and
// right while anything is left of its width.
void ClipCrop(_Dimension *crop, const _Dimension &clip)
{
    if (crop->y < clip.y) {
        crop->h -= clip.y - crop->y;
        crop->y = clip.y;
    }
    if (crop->y + crop->h > clip.y + clip.h)
        crop->h = clip.y + clip.h - crop->y;
    if (crop->w > 0 && crop->x < clip.x) {
        crop->w -= clip.x - crop->x;
        crop->x = clip.x;
    }
    if (crop->w > 0 && crop->x + crop->w > clip.x + clip.w)
        crop->w = clip.x + clip.w - crop->x;
}

} // namespace

void MWinButton::RecalculateArea()
{
    MWinTextures *textures = TexturesOf(m_mwin);
    if (!textures)
        return;
    m_screen = m_dim;
    const _Dimension *area = m_window ? m_window->GetArea() : nullptr;
    if (m_window) {
        float ox = m_window->GetOffsetX(), oy = m_window->GetOffsetY();
        float design_w = m_window->GetDesignWidth(), design_h = m_window->GetDesignHeight();
        m_screen.x = m_dim.x + area->x + ox;
        m_screen.y = m_dim.y + area->y + oy;
        if (m_window->IsScaled() && design_w > 0) {
            // Placed as a share of the window, so the control keeps its relative place.
            float start = area->x + ox + area->w * m_dim.x / design_w;
            m_screen.w = area->x + ox + area->w * (m_dim.x + m_dim.w) / design_w - start;
            m_screen.x = start;
            if (design_h > 0 && !m_window->IsTitleButton(this)) {
                float top = area->y + oy + area->h * m_dim.y / design_h;
                m_screen.h = area->y + oy + area->h * (m_dim.y + m_dim.h) / design_h - top;
                m_screen.y = top;
            }
        }
    }
    _MWinLayoutSettings *layout = GetLayoutSettings();
    if (!layout)
        return;
    if (m_window) {
        if (m_screen.w < 2)
            m_screen.w = 2;
        if (m_screen.h < 2)
            m_screen.h = 2;
    }

    m_crop = m_screen;
    float extra_w = 0, extra_top = 0, extra_bottom = 0;
    if (m_texbut >= 0 && m_type != MWBT_PANEL && m_type != MWBT_KIND_13 &&
        textures->GetTexButDrawExtra(m_texbut, &extra_w, &extra_top, &extra_bottom)) {
        m_crop.x -= extra_w;
        m_crop.w += 2 * extra_w;
        m_crop.y -= extra_top;
        m_crop.h += extra_top + extra_bottom;
    }
    if (m_window) {
        _Dimension clip = *area;
        if (m_window->GetInfo()->m_back_texbut[0]) {
            // A window with a background keeps its inner border free.
            if (m_window->GetDesignWidth() < 640) {
                clip.x += layout->m_win_inner_border_x;
                clip.w -= 2 * layout->m_win_inner_border_x;
            }
            if (m_window->GetDesignHeight() < 480) {
                clip.y += layout->m_win_inner_border_y;
                clip.h -= 2 * layout->m_win_inner_border_y;
            }
        }
        ClipCrop(&m_crop, clip);
    }
    if (m_crop.w <= 0 || m_crop.h <= 0) {
        m_crop.w = 0;
        m_crop.h = 0;
    }

    m_text_margin = layout->m_text_margin;
    bool margin_per_width = m_type == MWBT_PUSH || m_type == MWBT_STATIC || m_type == MWBT_HORZ_SCROLLBAR;
    if (margin_per_width && (m_texbut >= 0 || m_custom_on))
        m_text_margin += layout->m_text_margin_per_w * m_dim.w;
    m_on_screen = !(m_screen.y + m_screen.h < 0 || m_screen.y > 480 || m_screen.x + m_screen.w < 0 ||
                    m_screen.x > 640);
    AreaChanged();
}

void MWinButton::GetTextHorzRange(float *left, float *right, float margin)
{
    if (margin < 0)
        margin = m_text_margin;
    float l = m_screen.x + margin, r = m_screen.x + m_screen.w - margin;
    if (m_type == MWBT_CHECKBOX) {
        _MWinLayoutSettings *layout = GetLayoutSettings();
        if (layout)
            r -= 2 * (layout->m_checkbox_w + layout->m_checkbox_gap);
    }
    float left_margin = l - m_screen.x, right_margin = m_screen.x + m_screen.w - r;
    if (right_margin < left_margin)
        r = m_screen.x + m_screen.w - left_margin;
    else if (right_margin > left_margin)
        l = m_screen.x + right_margin;
    if (left)
        *left = l;
    if (right)
        *right = r;
}

// Texts.

char MWinButton::AllocAndSetText(int slot, const char *text)
{
    const char *where = "MWinButton::AllocAndSetText";
    if (!IsValid()) {
        DebugErrorCode(where, 'NOSU');
        return 0;
    }
    if (slot < 0 || slot > 1) {
        DebugError(where, "Invalid text num");
        return 0;
    }
    FreeText(slot);
    if (!text || !text[0])
        return 1;
    int length = static_cast<int>(std::strlen(text));
    char *copy = static_cast<char *>(EngMalloc(static_cast<unsigned>(length) + 1, where, 0));
    if (!copy) {
        DebugErrorCode(where, 'OMEM');
        return 0;
    }
    std::memcpy(copy, text, static_cast<size_t>(length) + 1);
    m_texts[slot] = copy;
    m_text_allocs++;
    m_text_lengths[slot] = length;
    if (length >= kLongText)
        DebugError(where, "String too long");
    return 1;
}

void MWinButton::FreeText(int slot)
{
    const char *where = "MWinButton::FreeText";
    if (!IsValid()) {
        DebugErrorCode(where, 'NOSU');
        return;
    }
    if (slot < 0 || slot > 1) {
        DebugError(where, "Invalid text num");
        return;
    }
    if (m_texts[slot]) {
        EngFree(m_texts[slot], 0, where);
        m_texts[slot] = nullptr;
        m_text_allocs--;
    }
    m_text_lengths[slot] = 0;
}

void MWinButton::FreeAllText()
{
    FreeText(0);
    FreeText(1);
}

void MWinButton::SetText(const char *text)
{
    // The control's own text from now on: the token is forgotten, so a
    // language change does not bring it back.
    m_uses_token = 0;
    m_token[0] = 0;
    m_token_num = -1;
    m_token_subs = 0;
    AllocAndSetText(0, text);
    RequestRender();
}

void MWinButton::SetText2(const char *text)
{
    AllocAndSetText(1, text);
    RequestRender();
}

void MWinButton::SetTextNum(int slot, const char *text)
{
    AllocAndSetText(slot, text);
    RequestRender();
}

void MWinButton::SetTextPrintf(const char *format, ...)
{
    printf_buffer[0] = 0;
    if (format) {
        va_list args;
        va_start(args, format);
        std::vsnprintf(printf_buffer, sizeof(printf_buffer), format, args);
        va_end(args);
    }
    printf_buffer[kPrintfCut] = 0;
    SetText(printf_buffer);
}

void MWinButton::SetMultilineText(const char *text)
{
    SetText(text);
    SetMultiline(1);
}

void MWinButton::SetMultiline(char on)
{
    m_multiline = on;
    RequestRender();
}

char MWinButton::HasText(int slot)
{
    if (slot < 0 || slot > 1) {
        DebugError("MWinButton::HasText", "Invalid text number %d", slot);
        return 0;
    }
    return m_texts[slot] && m_texts[slot][0];
}

const char *MWinButton::GetTextP()
{
    if (!m_texts[0])
        DebugError("MWinButton::GetTextP", "No text present. Ensure call HasText() first.");
    return m_texts[0];
}

const char *MWinButton::GetTextP2()
{
    if (!m_texts[1])
        DebugError("MWinButton::GetTextP2", "No text present. Ensure call HasText2() first.");
    return m_texts[1];
}

const char *MWinButton::GetTextP(int slot)
{
    if (slot == 0)
        return GetTextP();
    if (slot == 1)
        return GetTextP2();
    DebugError("MWinButton::GetTextP", "Invalid text number %d", slot);
    return nullptr;
}

char MWinButton::SetLangToken(const char *token)
{
    if (EngLanguagesHaveLanguages() && token && token[0] && std::strlen(token) < sizeof(m_token)) {
        int subs = 0;
        int num = EngLanguagesGetTokenNumAndNumSubTextsForToken(token, &subs);
        if (num >= 0) {
            std::memcpy(m_token, token, std::strlen(token) + 1);
            m_token_num = num;
            m_token_subs = subs;
            m_uses_token = 1;
            if (subs >= 1)
                m_text_lengths[0] = static_cast<int>(std::strlen(EngLanguagesGetString(num, 0)));
            if (subs >= 2)
                m_text_lengths[1] = static_cast<int>(std::strlen(EngLanguagesGetString(num, 1)));
            RequestRender();
            return 1;
        }
    }
    m_uses_token = 0;
    m_token[0] = 0;
    m_token_subs = 0;
    m_token_num = -1;
    return 0;
}

void MWinButton::RefreshLangToken()
{
    if (m_token[0]) {
        char token[MWIN_TOKEN_SIZE];
        std::memcpy(token, m_token, sizeof(token));
        SetLangToken(token);
    }
    RequestRender();
}

const char *MWinButton::GetShownText()
{
    if (m_uses_token)
        return m_token_subs >= 1 ? EngLanguagesGetString(m_token_num, 0) : nullptr;
    return HasText(0) ? m_texts[0] : nullptr;
}

float MWinButton::GetTextWidth()
{
    // The text on screen is measured: a control following a language token
    // shows the token's text, not what its slot held before.
    const char *text = GetShownText();
    if (m_multiline || !text || !text[0] || m_font_num < 0)
        return 0;
    EngFont *font = GetFont();
    if (!font)
        return 0;
    PrepareFont();
    return font->GetStringWidth(text);
}

char MWinButton::GetMultilineTextSize(float *w, float *h)
{
    if (w)
        *w = 0;
    if (h)
        *h = 0;
    EngFont *font = GetFont();
    if (!m_multiline || !HasText(0) || m_font_num < MWIN_FONT_DEFAULT || !font)
        return 0;
    PrepareFont();
    float anchor_x = m_text_align == MWTA_CENTER  ? m_screen.x + m_screen.w / 2
                     : m_text_align == MWTA_RIGHT ? m_screen.x + m_screen.w - m_text_margin
                                                  : m_screen.x + m_text_margin;
    font->DrawMultilineText(anchor_x, m_screen.y, m_screen.w, m_screen.h, static_cast<char>(m_text_align), 0,
                            m_texts[0], 0, 0, w, h, nullptr, nullptr);
    return 1;
}

// Look.

char MWinButton::SetFont(const char *font_id)
{
    const char *where = "MWinButton::SetFont";
    MWinFonts *fonts = m_mwin ? m_mwin->GetFonts() : nullptr;
    int num = MWIN_FONT_NONE;
    if (MWinIsIDInvalid(font_id))
        DebugError(where, "Font id is empty");
    else if (fonts)
        num = fonts->GetFontNumFromID(font_id);
    if (num == MWIN_FONT_NONE && !(font_id && std::strcmp(font_id, "MWIN_FONT_NONE") == 0)) {
        if (!MWinIsIDInvalid(font_id))
            DebugError(where, "User font <%s> not found", font_id);
        MWinCopyID(m_font_id, "MWIN_FONT_DEFAULT");
        m_font_num = MWIN_FONT_DEFAULT;
        return 0;
    }
    MWinCopyID(m_font_id, font_id);
    m_font_num = num;
    return 1;
}

EngFont *MWinButton::GetFont()
{
    MWinFonts *fonts = m_mwin ? m_mwin->GetFonts() : nullptr;
    return fonts ? fonts->GetFont(m_font_num) : nullptr;
}

void MWinButton::SetTextColour(float r, float g, float b, float a)
{
    float *components[] = {&m_text_colour.r, &m_text_colour.g, &m_text_colour.b, &m_text_colour.a};
    float values[] = {r, g, b, a};
    for (int i = 0; i < 4; i++)
        if (values[i] >= 0)
            *components[i] = values[i];
    if (m_multiplier_mode == 1)
        m_multiplier_mode = 2;
    RequestRender();
}

const _ColourRGBA *MWinButton::SetTextColourRGBA(const _ColourRGBA *colour)
{
    if (colour)
        SetTextColour(colour->r, colour->g, colour->b, colour->a);
    return colour;
}

void MWinButton::SetTextScale(float x, float y)
{
    m_text_scale_x = x;
    m_text_scale_y = y;
    RequestRender();
}

void MWinButton::SetTextScaleVector(const float *scale)
{
    SetTextScale(scale ? scale[0] : 1.0f, scale ? scale[1] : 1.0f);
}

void MWinButton::GetTextScale(float *x, float *y)
{
    if (x)
        *x = m_text_scale_x;
    if (y)
        *y = m_text_scale_y;
}

void MWinButton::SetColourMultiplier(float r, float g, float b, float a)
{
    m_multiplier = {r, g, b, a};
    m_multiplier_mode = 1;
    RequestRender();
}

void MWinButton::SetColourMultiplierAlpha(float a)
{
    if (m_multiplier_mode == 0 && a == 1.0f)
        return;
    m_multiplier_mode = 1;
    if (m_multiplier.a != a) {
        m_multiplier.a = a;
        RequestRender();
    }
}

void MWinButton::SetExtraRenderCallback(MWinButtonRenderCallback callback, int value, void *user)
{
    m_render_callback = callback;
    m_render_value = value;
    m_render_user = user;
}

void MWinButton::SetCustomOff()
{
    // The records only borrow engine textures: forgetting them releases all.
    m_custom_on = 0;
    std::memset(m_custom, 0, sizeof(m_custom));
}

char MWinButton::SetBackTexButToTexBut(const char *id)
{
    if (MWinIsIDInvalid(id)) {
        DebugError("MWinButton::SetBackTexButToTexBut", "No id");
        SetBackTexButToNone();
        return 0;
    }
    if (std::strcmp(id, "MWIN_TEXBUT_DEFAULT") == 0) {
        SetBackTexButToDefault();
        return 1;
    }
    if (std::strcmp(id, "MWIN_TEXBUT_NONE") == 0) {
        SetBackTexButToNone();
        return 1;
    }
    SetCustomOff();
    if (!MWinCopyID(m_texbut_id, id)) {
        SetBackTexButToNone();
        return 0;
    }
    MWinTextures *textures = TexturesOf(m_mwin);
    m_texbut = textures ? textures->GetTexButNumFromID(id) : -1;
    return m_texbut >= 0;
}

void MWinButton::SetBackTexButToDefault()
{
    SetCustomOff();
    MWinCopyID(m_texbut_id, "MWIN_TEXBUT_DEFAULT");
    MWinTextures *textures = TexturesOf(m_mwin);
    bool known_kind = m_type >= 0 && m_type < static_cast<int>(sizeof(kDefaultBackSlot) / sizeof(int));
    m_texbut = textures && known_kind ? textures->GetStandardTexButNum(kDefaultBackSlot[m_type]) : -1;
}

void MWinButton::SetBackTexButToNone()
{
    SetCustomOff();
    MWinCopyID(m_texbut_id, "MWIN_TEXBUT_NONE");
    m_texbut = -1;
}

char MWinButton::SetCustomTexButTexture(EngTexture *texture)
{
    return SetCustomTexBut(0, texture, 0, 0, 0, 1, 1, 1, 1, 1, 1);
}

char MWinButton::SetCustomTexBut(int state, EngTexture *texture, char, float left, float top, float right,
                                 float bottom, float r, float g, float b, float a)
{
    if (state == -1)
        state = 0;
    if (state < 0 || state > 3) {
        DebugError("MWinButton::SetCustomTexBut", "Invalid state %d", state);
        return 0;
    }
    SetBackTexButToNone();
    m_custom[state] = {texture, left, top, right, bottom, {r, g, b, a}};
    m_custom_on = 1;
    RecalculateArea();
    RequestRender();
    return 1;
}

// Drawing.

char MWinButton::IsRenderable()
{
    if (!m_shown || (m_multiplier_mode != 0 && m_multiplier.a == 0))
        return 0;
    return TurnOnCrop();
}

void MWinButton::Render()
{
    if (!m_on_screen || !IsRenderable())
        return;
    RenderUnchecked();
    TurnOffCrop();
}

void MWinButton::RenderUnchecked()
{
    if (!m_on_screen)
        return;
    _MWinTextureState state = GetTextureState();
    RenderBackByType(state);
    RenderBody();
    if (m_render_callback && m_type != MWBT_PANEL)
        m_render_callback(this, &m_screen, state, m_render_value, m_render_user);
}

void MWinButton::RenderBackByType(_MWinTextureState state)
{
    switch (m_type) {
    case MWBT_CHECKBOX:
        CheckboxRenderBack(state);
        break;
    case MWBT_CHOICE:
        ChoiceRenderBack(state);
        break;
    case MWBT_PANEL:
        PanelRenderBack(state);
        break;
    case MWBT_LIST:
        ListRenderBack(state);
        break;
    default:
        RenderBack(state);
        break;
    }
    RenderKindParts(state);
    RenderPicture();
}

void MWinButton::RenderBody()
{
    PrepareFont();
    switch (m_type) {
    case MWBT_TEXT_EDIT:
        TextEditRenderText();
        break;
    case MWBT_CHECKBOX:
        CheckboxRenderText();
        break;
    case MWBT_CHOICE:
        ChoiceRenderText();
        break;
    case MWBT_PANEL:
        PanelRenderText();
        break;
    case MWBT_LIST:
        ListRenderText();
        break;
    case MWBT_RANGE_SLIDER:
        RenderSingleText();
        break;
    default:
        RenderText();
        break;
    }
}

void MWinButton::RenderBack(_MWinTextureState state)
{
    RenderTexButState(state, &m_screen);
}

void MWinButton::RenderTexButState(_MWinTextureState state, const _Dimension *area)
{
    if (!area)
        return;
    const _ColourRGBA *multiplier = m_multiplier_mode ? &m_multiplier : nullptr;
    if (!m_custom_on) {
        MWinTextures *textures = TexturesOf(m_mwin);
        if (textures)
            textures->DrawTexButInArea(m_texbut, state, area, multiplier);
        return;
    }
    const _MWinCustomTexButState *record = &m_custom[state >= 0 && state <= 3 ? state : 0];
    if (!record->m_texture)
        record = &m_custom[MWTS_NORMAL];
    if (!record->m_texture || !record->m_texture->IsCreated())
        return;
    _ColourRGBA c = record->m_colour;
    if (multiplier)
        c = {c.r * multiplier->r, c.g * multiplier->g, c.b * multiplier->b, c.a * multiplier->a};
    record->m_texture->PositionRatioed(area->x, area->y, area->w, area->h);
    record->m_texture->DrawWithTextureCoordinatesAndColour(record->m_left, record->m_top, record->m_right,
                                                           record->m_bottom, c.r, c.g, c.b, c.a);
}

void MWinButton::RenderTexButState(_MWinTextureState state, float x, float y, float w, float h)
{
    _Dimension area = {x, y, w, h};
    RenderTexButState(state, &area);
}

void MWinButton::RenderText()
{
    if (m_multiline)
        RenderMultilineText();
    else
        RenderSingleText();
}

void MWinButton::RenderMultilineText()
{
    if (HasText(0))
        m_mwin->DrawTextMultiline(m_font_num, m_text_align, m_text_margin, &m_screen, nullptr, m_texts[0], 1);
}

void MWinButton::RenderSingleText()
{
    const char *first = nullptr, *second = nullptr;
    if (m_uses_token) {
        if (m_token_subs < 1 || m_token_subs > 2)
            return;
        first = EngLanguagesGetString(m_token_num, 0);
        if (m_token_subs == 2)
            second = EngLanguagesGetString(m_token_num, 1);
    } else {
        if (!HasText(0))
            return;
        first = m_texts[0];
        second = m_texts[1];
    }
    if (!second) {
        m_mwin->DrawTextLineInDimension(m_font_num, m_text_align, m_text_margin, &m_screen, nullptr, first, 0, 1,
                                        m_shrink_to_fit);
        return;
    }
    _MWinLayoutSettings *layout = GetLayoutSettings();
    float d = layout ? layout->m_two_line_spacing * m_text_scale_y : 0;
    if (layout && layout->m_text_scale_y > 0)
        d *= layout->m_text_scale_y;
    _Vector2d up = {0, -d}, down = {0, d};
    m_mwin->DrawTextLineInDimension(m_font_num, m_text_align, m_text_margin, &m_screen, &up, first, 0, 1,
                                    m_shrink_to_fit);
    m_mwin->DrawTextLineInDimension(m_font_num, m_text_align, m_text_margin, &m_screen, &down, second, 0, 1,
                                    m_shrink_to_fit);
}

void MWinButton::PrepareFont()
{
    EngFont *font = GetFont();
    if (!font)
        return;
    ApplyTextColour(font, nullptr);
    float x = m_text_scale_x, y = m_text_scale_y;
    _MWinLayoutSettings *layout = GetLayoutSettings();
    if (layout && layout->m_text_scale_x > 0 && layout->m_text_scale_y > 0) {
        x *= layout->m_text_scale_x;
        y *= layout->m_text_scale_y;
    }
    font->SetScale(x * GetXScale(), y * GetYScale());
}

void MWinButton::ApplyTextColour(EngFont *font, const _ColourRGBA *colour)
{
    if (!font)
        return;
    float disabled_alpha = m_mwin ? m_mwin->GetSettingsP()->m_disabled_text_alpha : 1.0f;
    _ColourRGBA c = colour ? *colour : m_text_colour;
    if (!colour && m_multiplier_mode == 1)
        c = {c.r * m_multiplier.r, c.g * m_multiplier.g, c.b * m_multiplier.b, c.a * m_multiplier.a};
    if (!m_enabled)
        c.a *= disabled_alpha;
    font->SetColourRGBA(&c);
}

// Crops.

namespace {

// Below a full-screen viewport the menu bar owns the crop; otherwise the
// crop lies inside the viewport.
void CropTo(const _Dimension *area)
{
    if (eng_device->IsViewportFullScreen())
        EngMenuTurnOnCropToDimension(area);
    else
        eng_device->TurnOnCropInViewportToDimension(area);
}

} // namespace

char MWinButton::TurnOnCrop()
{
    if (!eng_device || m_crop.h <= 0)
        return 0;
    // Labels with nothing but text are drawn uncropped.
    if (m_type == MWBT_STATIC && !HasTexBut() && m_pic_kind == PIC_NONE)
        return 1;
    TurnOnCropWithin(&m_crop);
    return 1;
}

void MWinButton::TurnOnCropWithin(const _Dimension *area)
{
    // Inside a crop already on (the caller's, a table's rows) the drawing
    // stays within it.
    RECT outer;
    bool nested = eng_device->GetCrop(&outer);
    CropTo(area);
    if (nested)
        eng_device->IntersectCrop(&outer);
}

void MWinButton::TurnOffCrop()
{
    if (!eng_device || m_crop.h <= 0)
        return;
    if (m_type == MWBT_STATIC && !HasTexBut() && m_pic_kind == PIC_NONE)
        return;
    if (eng_device->IsCropOn())
        eng_device->TurnOffCrop();
}

char MWinButton::TurnOnCropToWindow()
{
    if (!eng_device || !m_window)
        return 0;
    CropTo(m_window->GetArea());
    return 1;
}

char MWinButton::TurnOnCropToArea(float x, float y, float w, float h)
{
    if (!eng_device || !m_window)
        return 0;
    // Only the client rectangle's top and left edges cut the area.
    const _Dimension *client = m_window->GetArea();
    if (x < client->x) {
        w -= client->x - x;
        x = client->x;
    }
    if (y < client->y) {
        h -= client->y - y;
        y = client->y;
    }
    _Dimension area = {x, y, w, h};
    CropTo(&area);
    return 1;
}

char MWinButton::TurnOnCropToDimension(const _Dimension *area)
{
    return area ? TurnOnCropToArea(area->x, area->y, area->w, area->h) : TurnOnCropToWindow();
}
