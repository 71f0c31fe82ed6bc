// The script button: parses its own copy of a marked-up text into
// paragraphs, counts each paragraph's wrapped lines with the font, and draws
// from the paragraph under the scroll position downwards. The scrollbar
// "Script_VS" is owned here and kept out of the group's list; it is shown
// only while the text is longer than the page.
//
// Failures: a paragraph outside the text drops every paragraph ("%d: Bad
// start pos %d (%d).", "%d: Bad end pos %d (%d)."); an empty paragraph at
// the very end (a text ending with a tag) is accepted. A font that lays out
// no line for a paragraph is reported at most five times in a run.
#include "gui/MWinScriptButton.h"

#include "engine/core/EngDebug.h"
#include "engine/graphics/EngFont.h"
#include "engine/graphics/EngFontDraw.h"
#include "gui/MWin.h"
#include "gui/MWinScrollbar.h"

#include <cstring>
#include <new>

namespace {

const char *const kScrollbarId = "Script_VS";
// Large enough that measuring a paragraph never stops for lack of room.
const float kUnboundedHeight = 1.0e7f;

// The alignment a tag's two brackets give, indexed by [opening is '>'][closing is '>'].
const int kTagAlign[2][2] = {
    {MWTA_LEFT, MWTA_CENTER}, // "<n<", "<n>"
    {-1, MWTA_RIGHT},         // ">n<" the button's own, ">n>"
};

bool IsBracket(char c)
{
    return c == '<' || c == '>';
}

bool IsTagAt(const std::string &text, int k)
{
    const int n = static_cast<int>(text.size());
    return k >= 0 && k + 2 < n && IsBracket(text[k]) && text[k + 1] >= '0' && text[k + 1] <= '5' &&
           IsBracket(text[k + 2]);
}

int multiline_fault_reports = 0;

} // namespace

MWinScriptButton::MWinScriptButton(MWin *mwin, const char *id, MWinGroup *group, const char *texbut_id, float x,
                                   float y, float w, float h)
    : MWinButton(mwin, id, group, MWBT_CLASS, texbut_id, "", x, y, w, h)
{
    ResetScript();
    if (m_mwin && m_mwin->GetTextures()) {
        _MWinLayoutSettings *layout = GetLayoutSettings();
        float sw = layout ? layout->m_vscrollbar_w : 16.0f;
        m_vscroll = new (std::nothrow)
            MWinVertScrollbar(m_mwin, kScrollbarId, group, "MWIN_TEXBUT_DEFAULT", "", x + w - sw, y, sw, h);
        if (!m_vscroll) {
            DebugErrorCode("MWinScriptButton::MWinScriptButton", 'OMEM');
        } else {
            m_vscroll->SetOwned();
            m_vscroll->SetRange(0, 1, 0.1f, 0.01f);
            m_vscroll->m_shown = 0;
        }
    }
}

MWinScriptButton::~MWinScriptButton()
{
    delete m_vscroll;
}

void MWinScriptButton::ResetScript()
{
    m_type = MWBT_KIND_13;
    for (Style &style : m_styles)
        style = {{1, 1, 1, 1}, 0};
    m_pars.clear();
    m_scroll_pos = 0;
    m_total_lines = 0;
    m_lines_per_page = 1;
    m_scrolling_needed = 0;
}

void MWinScriptButton::SetText(const char *text)
{
    if (!text)
        return;
    m_text = text;
    m_has_text = true;
    m_scroll_pos = 0;
    ParseText();
    m_interactive = 1;
    UpdateLayout();
}

void MWinScriptButton::ClearText()
{
    m_text.clear();
    m_has_text = false;
    m_pars.clear();
    m_scroll_pos = 0;
    m_total_lines = 0;
    UpdateLayout();
}

char MWinScriptButton::SetStyle(int style, float r, float g, float b, float a, float scale)
{
    if (style == 0) {
        DebugError("MWinScriptButton::SetStyle", "Style 0 is the button style and cannot be changed");
        return 0;
    }
    if (style < 1 || style > NUM_STYLES) {
        DebugError("MWinScriptButton::SetStyle", "Invalid style num %d", style);
        return 0;
    }
    m_styles[style - 1] = {{r, g, b, a}, scale};
    RequestRender();
    return 1;
}

const _MWinScriptParagraph *MWinScriptButton::GetParagraph(int n) const
{
    return n >= 0 && n < GetNumParagraphs() ? &m_pars[n] : nullptr;
}

void MWinScriptButton::ParseText()
{
    m_pars.clear();
    if (!m_has_text)
        return;
    const int n = static_cast<int>(m_text.size());
    int pos = 0;
    while (pos < n) {
        _MWinScriptParagraph par = {-1, -1, pos, pos, n, 1, 1, 0};
        if (IsTagAt(m_text, pos)) {
            par.m_style = static_cast<signed char>(m_text[pos + 1] - '0');
            par.m_align = kTagAlign[m_text[pos] == '>'][m_text[pos + 2] == '>'];
            par.m_start = pos + 3;
        }
        int k = par.m_start;
        while (k < n && m_text[k] != '\n' && !IsTagAt(m_text, k))
            k++;
        par.m_end = k;
        // A following tag ends the paragraph without ending its line.
        par.m_ends_line = k < n && m_text[k] != '\n' ? 0 : 1;
        m_pars.push_back(par);
        pos = k < n && m_text[k] == '\n' ? k + 1 : k;
        if (par.m_start >= n)
            break;
    }
    CalcLinesInPars();
}

EngFont *MWinScriptButton::PrepareStyleFont(const _MWinScriptParagraph &par)
{
    EngFont *font = GetFont();
    if (!font)
        return nullptr;
    float sx = m_text_scale_x, sy = m_text_scale_y;
    _MWinLayoutSettings *layout = GetLayoutSettings();
    if (layout && layout->m_text_scale_x > 0 && layout->m_text_scale_y > 0) {
        sx *= layout->m_text_scale_x;
        sy *= layout->m_text_scale_y;
    }
    const Style *style = par.m_style >= 1 && par.m_style <= NUM_STYLES ? &m_styles[par.m_style - 1] : nullptr;
    if (style && style->scale > 0) {
        sx *= style->scale;
        sy *= style->scale;
    }
    font->SetScale(sx * GetXScale(), sy * GetYScale());
    ApplyTextColour(font, style ? &style->colour : nullptr);
    return font;
}

void MWinScriptButton::CalcLinesInPars()
{
    const char *where = "MWinScriptButton::CalcLinesInPars";
    _MWinLayoutSettings *layout = GetLayoutSettings();
    EngFont *font = GetFont();
    m_scrolling_needed = 0;
    m_total_lines = 0;
    m_lines_per_page = 1;
    m_text_width = m_screen.w;
    if (!m_has_text || !font || !layout)
        return;
    const int n = static_cast<int>(m_text.size());
    for (size_t i = 0; i < m_pars.size(); i++) {
        const _MWinScriptParagraph &par = m_pars[i];
        if (par.m_start > n || (par.m_start == n && i + 1 != m_pars.size())) {
            DebugError(where, "%d: Bad start pos %d (%d).", static_cast<int>(i), par.m_start, n);
            m_pars.clear();
            return;
        }
        if (par.m_end > n || par.m_end < par.m_start) {
            DebugError(where, "%d: Bad end pos %d (%d).", static_cast<int>(i), par.m_end, n);
            m_pars.clear();
            return;
        }
    }

    const float margin_x = layout->m_script_inset_x, margin_y = layout->m_script_inset_y;
    float width = m_screen.w - 2 * margin_x;
    const float height = m_screen.h - 2 * margin_y;
    _MWinScriptParagraph plain = {-1, -1, 0, 0, n, 1, 0, 0};
    PrepareStyleFont(plain);

    // The whole text without tags decides whether a scrollbar is needed.
    std::string whole;
    for (const _MWinScriptParagraph &par : m_pars) {
        whole.append(m_text, par.m_start, par.m_end - par.m_start);
        if (par.m_ends_line)
            whole += '\n';
    }
    char all_placed = 1;
    font->DrawMultilineText(0, 0, width, height, 0, 0, whole.c_str(), 0, 0, nullptr, nullptr, nullptr,
                            &all_placed);
    if (!all_placed) {
        m_scrolling_needed = 1;
        width -= layout->m_vscrollbar_w;
        m_text_width = m_screen.w - layout->m_vscrollbar_w;
    }

    int first_line = 0;
    std::string part;
    for (_MWinScriptParagraph &par : m_pars) {
        part.assign(m_text, par.m_start, par.m_end - par.m_start);
        int lines = 1;
        if (!part.empty()) {
            PrepareStyleFont(par);
            font->DrawMultilineText(0, 0, width, kUnboundedHeight, 0, 0, part.c_str(), 0, 0, nullptr, nullptr,
                                    &lines, nullptr);
            if (lines == 0) {
                DebugError(where, "Bad num lines for string <%s>", part.c_str());
                lines = 1;
            }
        }
        if (!par.m_ends_line)
            lines--;
        par.m_line_count = lines;
        par.m_first_line = first_line;
        first_line += lines;
    }
    PrepareStyleFont(plain);
    float line_h = font->GetHeight(1);
    if (line_h <= 0)
        return;
    m_lines_per_page = EngMathTruncateToInt(m_screen.h / line_h);
    if (m_lines_per_page < 1)
        m_lines_per_page = 1;
    m_total_lines = first_line + 1;
}

bool MWinScriptButton::ScrollbarShown()
{
    return m_vscroll && m_vscroll->m_shown;
}

void MWinScriptButton::UpdateLayout()
{
    _MWinLayoutSettings *layout = GetLayoutSettings();
    const float sw = layout ? layout->m_vscrollbar_w : 0.0f;
    if (m_scrolling_needed && m_lines_per_page < m_total_lines) {
        m_text_width = m_screen.w - sw;
        if (m_vscroll) {
            m_vscroll->SetPosAndSize(m_dim.x + m_dim.w - sw, m_dim.y, sw, m_dim.h);
            m_vscroll->m_shown = 1;
            m_vscroll->SetRangeDouble(-0.1, m_total_lines - m_lines_per_page, m_lines_per_page, 1);
            m_vscroll->MWinScrollbar::RegisterFloatVariable(&m_scroll_pos, 1.0f, 0);
            if (m_active)
                m_vscroll->Activate();
        }
    } else {
        m_text_width = m_screen.w;
        if (m_vscroll)
            m_vscroll->m_shown = 0;
    }
    RequestRender();
}

void MWinScriptButton::AreaChanged()
{
    MWinButton::AreaChanged();
    CalcLinesInPars();
    UpdateLayout();
}

void MWinScriptButton::Render()
{
    if (!m_on_screen || !IsRenderable())
        return;
    _Dimension back = m_screen;
    if (ScrollbarShown())
        back.w = m_text_width;
    RenderTexButState(GetTextureState(), &back);
    RenderPicture();
    RenderTexts();
    TurnOffCrop();
    if (ScrollbarShown())
        m_vscroll->Render();
}

void MWinScriptButton::RenderTexts()
{
    _MWinLayoutSettings *layout = GetLayoutSettings();
    EngFont *font = GetFont();
    if (!font || !layout || m_pars.empty())
        return;
    const float left = m_screen.x + layout->m_script_inset_x;
    const float right = left + m_text_width - 2 * layout->m_script_inset_x;
    const float top = m_screen.y + layout->m_script_inset_y;
    const float bottom = m_screen.y + m_screen.h - layout->m_script_inset_y;

    // The paragraph holding the first visible line, and its lines above it.
    const int first_visible = m_scroll_pos > 0 ? EngMathTruncateToInt(m_scroll_pos) : 0;
    int p = 0;
    for (int i = 0; i < GetNumParagraphs(); i++)
        if (m_pars[i].m_first_line <= first_visible)
            p = i;
    int skip = first_visible - m_pars[p].m_first_line;
    if (skip > 0 && skip >= m_pars[p].m_line_count && p + 1 < GetNumParagraphs()) {
        p++;
        skip = 0;
    }
    // A paragraph sharing its last line with this one is drawn from that line.
    if (skip == 0 && p > 0 && !m_pars[p - 1].m_ends_line) {
        p--;
        skip = m_pars[p].m_line_count;
    }

    const float fraction = m_scroll_pos > 0 ? m_scroll_pos - first_visible : 0.0f;
    _MWinScriptParagraph plain = {-1, -1, 0, 0, 0, 1, 0, 0};
    PrepareStyleFont(plain);
    float y = top - fraction * font->GetHeight(1);
    TurnOnCropToArea(left, top, right - left, bottom - top);
    const bool prepared_here = !EngFontIsPreparedForDrawing();
    if (prepared_here)
        EngFontPrepareForDrawing(1);
    std::string part;
    for (; p < GetNumParagraphs(); p++, skip = 0) {
        const _MWinScriptParagraph &par = m_pars[p];
        PrepareStyleFont(par);
        const float line_h = font->GetHeight(1);
        if (y >= bottom + 2 * line_h)
            break;
        const int align = par.m_align >= 0 ? par.m_align : static_cast<int>(m_text_align);
        const float x = align == MWTA_CENTER ? (left + right) / 2 : align == MWTA_RIGHT ? right : left;
        part.assign(m_text, par.m_start, par.m_end - par.m_start);
        float used = 0;
        int lines = 0;
        char all_placed = 1;
        font->DrawMultilineText(x, y, right - left, bottom - y + 2 * line_h, static_cast<char>(align), 0,
                                part.c_str(), 1, skip, nullptr, &used, &lines, &all_placed);
        if (lines == 0 && multiline_fault_reports < 5) {
            multiline_fault_reports++;
            DebugError("MWinScriptButton::RenderTexts", "Multi-line not working for paragraph %d: <%s>", p,
                        part.c_str());
        }
        y += used;
        if (!par.m_ends_line)
            y -= line_h;
        if (!all_placed)
            break;
    }
    if (prepared_here)
        EngFontRestoreAfterDrawing();
    TurnOffCrop();
}

// Input goes to the scrollbar while it is shown.

char MWinScriptButton::HandleMouseButtonPressed(char button, char down, char extra)
{
    if (ScrollbarShown() &&
        (m_vscroll->IsDraggingThumb() || m_mwin->IsMouseInDimension(m_vscroll->GetScreenDimensionP(), nullptr)))
        return m_vscroll->HandleMouseButtonPressed(button, down, extra);
    return 0;
}

char MWinScriptButton::HandleMouseButtonReleased(char button)
{
    return ScrollbarShown() ? m_vscroll->HandleMouseButtonReleased(button) : 0;
}

char MWinScriptButton::CancelPress()
{
    return ScrollbarShown() ? m_vscroll->CancelPress() : 0;
}

void MWinScriptButton::HandleMouseMove()
{
    if (ScrollbarShown())
        m_vscroll->HandleMouseMove();
}

char MWinScriptButton::HandleMouseWheel(int count)
{
    if (!ScrollbarShown())
        return 0;
    const float before = m_scroll_pos;
    char used = m_vscroll->HandleMouseWheel(count);
    // The range starts a little above 0; a step up that cannot be taken
    // from near the top lands on the first line.
    if (count > 0 && before > 0 && m_scroll_pos == before) {
        m_scroll_pos = 0;
        m_vscroll->UpdateFromBoundVariable(0);
        RequestRender();
    }
    return used;
}

char MWinScriptButton::HandleKeyDown(int key)
{
    return ScrollbarShown() ? m_vscroll->HandleKeyDown(key) : 0;
}

char MWinScriptButton::IsCapturingInput()
{
    return ScrollbarShown() ? m_vscroll->IsCapturingInput() : 0;
}

void MWinScriptButton::Activate()
{
    MWinButton::Activate();
    if (m_vscroll)
        m_vscroll->Activate();
}

char MWinScriptButton::Deactivate()
{
    char result = MWinButton::Deactivate();
    if (m_vscroll)
        m_vscroll->Deactivate();
    return result;
}
