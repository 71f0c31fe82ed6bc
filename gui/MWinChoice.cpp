// The choice: a row of segments of which one is selected (-1 for none).
// Its entries are copied from the caller's strings or asked of a string
// callback. The selection goes into the bound char or int variable and,
// when asked, to the callback. Bad counts, null strings and selections out
// of range are reported and change nothing.
#include "engine/core/EngDebug.h"
#include "gui/MWin.h"
#include "gui/MWinButton.h"
#include "gui/MWinKeys.h"
#include "gui/MWinTextures.h"

namespace {


} // namespace

void MWinButton::ChoiceSetStrings(int num, const char **strings)
{
    if (num <= 0) {
        DebugError("MWinButton::ChoiceSetStrings", "invalid num %d (ID: %s)", num, m_id);
        return;
    }
    if (!strings) {
        DebugError("MWinButton::ChoiceSetStrings", "Null strings (ID: %s)", m_id);
        return;
    }
    // Copies: the caller's array may be a local that is gone by the next frame.
    m_choice_strings.assign(num, std::string());
    for (int i = 0; i < num; i++)
        if (strings[i])
            m_choice_strings[i] = strings[i];
    m_choice_num = num;
    m_choice_sel = 0;
    m_choice_callback = nullptr;
    m_uses_token = 0;
    m_interactive = 1;
    RequestRender();
}

void MWinButton::ChoiceSetStringsCallback(int num, StringCallback callback, void *context)
{
    if (context)
        m_context = context;
    if (num <= 0) {
        DebugError("MWinButton::ChoiceSetStringsCallback", "invalid num entries %d (ID: %s)", num, m_id);
        return;
    }
    if (!callback) {
        DebugError("MWinButton::ChoiceSetStringsCallback", "Null callback entry (ID: %s)", m_id);
        return;
    }
    m_choice_callback = callback;
    m_choice_num = num;
    m_choice_sel = 0;
    m_choice_strings.clear();
    m_uses_token = 0;
    m_interactive = 1;
    RequestRender();
}

const char *MWinButton::ChoiceGetEntryText(int index)
{
    if (index < 0)
        return nullptr;
    if (m_choice_callback)
        return m_choice_callback(index, this, m_context);
    if (index < static_cast<int>(m_choice_strings.size()))
        return m_choice_strings[index].c_str();
    return nullptr;
}

void MWinButton::ChoiceSetSel(int sel, char notify)
{
    if (sel < -1 || sel >= m_choice_num) {
        DebugError("MWinButton::ChoiceSetSel", "invalid sel : %d (m_id: %s, entries = %d)", sel, m_id,
                   m_choice_num);
        return;
    }
    int previous = m_choice_sel;
    m_choice_sel = sel;
    WriteBoundValue(sel);
    RequestRender();
    if (notify == 0 || (notify == 2 && sel == previous) || !HasCallback())
        return;
    _MWinButtonCallbackInfo info;
    FillCallbackInfo(&info);
    info.m_choice_sel = sel;
    CallCallback(&info);
}

void MWinButton::ChoiceRegisterCharVariable(char *variable, char notify)
{
    if (m_type != MWBT_CHOICE)
        return;
    RegisterCharVariable(variable);
    if (variable)
        ChoiceSetSel(*variable, notify);
}

void MWinButton::ChoiceSetSelectionExtraWidthMultiplier(float multiplier)
{
    if (multiplier > 1) {
        if (multiplier != 2)
            DebugError("MWinButton::ChoiceSetSelectionExtraWidthMultiplier",
                       "Not supported yet for other sizes (can be).");
        m_choice_extra = multiplier;
    } else {
        m_choice_extra = 0;
    }
    RequestRender();
}

void MWinButton::ChoiceGetSegment(int i, float *x, float *w)
{
    float left = m_screen.x;
    for (int k = 0; k <= i; k++) {
        float width;
        if (m_choice_num <= 1)
            width = m_screen.w;
        else if (m_choice_extra <= 0)
            width = m_screen.w / m_choice_num;
        else
            width = m_screen.w / (m_choice_num + 1) * (k == m_choice_sel ? 2 : 1);
        if (k == i) {
            *x = left;
            *w = width;
            return;
        }
        left += width;
    }
    *x = left;
    *w = 0;
}

int MWinButton::ChoiceGetItemFromMousePos(char clamp)
{
    if (m_choice_num <= 0) {
        if (clamp)
            DebugError("MWinButton::ChoiceGetItemFromMousePos", "Empty Choice List (ID =  %s)", m_id);
        return -1;
    }
    float mouse_x = m_mwin ? m_mwin->GetPointerX() : 0;
    if (mouse_x < m_screen.x)
        return clamp ? 0 : -1;
    for (int i = 0; i < m_choice_num; i++) {
        float x, w;
        ChoiceGetSegment(i, &x, &w);
        if (mouse_x >= x && mouse_x < x + w)
            return i;
    }
    return clamp ? m_choice_num - 1 : -1;
}

char MWinButton::ChoiceHandleKeyDown(int key)
{
    int n = m_choice_sel;
    switch (key) {
    case kKeyEnter:
        n = n + 1 >= m_choice_num ? 0 : n + 1;
        break;
    case kKeyLeft:
    case kKeyUp:
        n = n > 0 ? n - 1 : 0;
        break;
    case kKeyRight:
    case kKeyDown:
        n = n + 1 < m_choice_num ? n + 1 : m_choice_num - 1;
        break;
    default:
        return 0;
    }
    if (m_choice_num > 0)
        ChoiceSetSel(n, 2);
    return 1;
}

void MWinButton::ChoiceRenderBack(_MWinTextureState state)
{
    MWinTextures *textures = m_mwin ? m_mwin->GetTextures() : nullptr;
    if (!textures)
        return;
    const _ColourRGBA *multiplier = m_multiplier_mode ? &m_multiplier : nullptr;
    if (m_choice_num <= 0) {
        RenderBack(state);
        return;
    }
    char highlight = m_mwin->GetSettingsP()->m_choice_style;
    for (int i = 0; i < m_choice_num; i++) {
        _MWinTextureState segment = MWTS_NORMAL;
        if (!m_enabled)
            segment = MWTS_DISABLED;
        else if (i == m_choice_sel)
            segment = MWTS_PRESSED;
        else if (highlight != 2 && highlight != 0 && m_active)
            segment = MWTS_HIGHLIGHTED;
        float x, w;
        ChoiceGetSegment(i, &x, &w);
        textures->DrawTexBut(m_texbut, segment, x, m_screen.y, w, m_screen.h, multiplier);
    }
}

void MWinButton::ChoiceRenderText()
{
    EngFont *font = GetFont();
    if (!font)
        return;
    _MWinLayoutSettings *layout = GetLayoutSettings();
    float inset = layout ? layout->m_choice_inset : 0;
    PrepareFont();
    for (int i = 0; i < m_choice_num; i++) {
        const char *text = ChoiceGetEntryText(i);
        if (!text)
            continue;
        _ColourRGBA colour = m_text_colour;
        if (m_multiplier_mode)
            colour = {colour.r * m_multiplier.r, colour.g * m_multiplier.g, colour.b * m_multiplier.b,
                      colour.a * m_multiplier.a};
        if (!m_enabled && i != m_choice_sel)
            colour.a *= 0.5f;
        ApplyTextColour(font, &colour);
        float x, w;
        ChoiceGetSegment(i, &x, &w);
        _Dimension area = {x, m_screen.y, w, m_screen.h};
        m_mwin->DrawTextLineInDimension(m_font_num, MWTA_CENTER, inset, &area, nullptr, text, 0, 1, m_shrink_to_fit);
    }
}
