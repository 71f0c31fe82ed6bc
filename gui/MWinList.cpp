// The drop-down list: a closed control showing its current entry with up
// and down arrows, which opens into a column of rows drawn over the screen
// (after the group's other controls). The open list takes all input:
// moves hover rows, a press or Enter accepts, Escape or a move outside its
// columns cancels; resting on a "more" marker row scrolls ever faster.
// Entries are copied from the caller's strings or asked of a callback.
//
// Failures: "button %s not a list", "invalid pos", "Bad pos" and "Open List
// ID %s is not a list" are reported and change nothing.
#include "engine/core/EngDebug.h"
#include "engine/core/EngMath.h"
#include "engine/core/EngMisc.h"
#include "engine/runtime/EngMain.h"
#include "engine/runtime/EngProgram.h"
#include "gui/MWin.h"
#include "gui/MWinButton.h"
#include "gui/MWinKeys.h"
#include "gui/MWinTextures.h"

#include <algorithm>
#include <cmath>

namespace {

const float kScreenHeight = 480;
const int kStartDelayMs = 400, kDelayStepMs = 70, kFastDelayMs = 5, kFastBelowMs = 75;
const double kFirstStepAfter = 0.1;

// One toolkit-wide guard: a wheel or key on a closed list opens, scrolls
// and closes it, and the closing callback must not start another round.
bool list_step_running = false;
// The last auto-scroll step of any list.
double last_list_step = 0;

} // namespace

void MWinButton::ListSetStrings(int num, const char **strings)
{
    if (num <= 0 || !strings) {
        DebugError("MWinButton::ListSetStrings", "invalid num %d (ID: %s)", num, m_id);
        return;
    }
    m_list_strings.assign(num, std::string());
    for (int i = 0; i < num; i++)
        if (strings[i])
            m_list_strings[i] = strings[i];
    m_list_callback = nullptr;
    m_list_num = num;
    m_interactive = 1;
    ListSetPos(0, 0);
}

void MWinButton::ListSetStringsCallback(int num, StringCallback callback, void *context)
{
    if (context)
        m_context = context;
    if (num <= 0 || !callback) {
        DebugError("MWinButton::ListSetStringsCallback", "invalid num entries %d (ID: %s)", num, m_id);
        return;
    }
    m_list_strings.clear();
    m_list_callback = callback;
    m_list_num = num;
    m_interactive = 1;
    ListSetPos(0, 0);
}

int MWinButton::ListGetPos()
{
    if (m_type != MWBT_LIST) {
        DebugError("MWinButton::ListGetPos", "button %s not a list", m_id);
        return 0;
    }
    return m_list_pos;
}

const char *MWinButton::ListGetStringAtPos(int pos)
{
    if (m_type != MWBT_LIST) {
        DebugError("MWinButton::ListGetStringAtPos", "button %s not a list", m_id);
        return nullptr;
    }
    if (pos < 0 || pos >= m_list_num) {
        DebugError("MWinButton::ListGetStringAtPos", "Bad pos %d (%d)", pos, m_list_num);
        return nullptr;
    }
    if (m_list_callback)
        return m_list_callback(pos, this, m_context);
    if (pos < static_cast<int>(m_list_strings.size()))
        return m_list_strings[pos].c_str();
    return nullptr;
}

void MWinButton::ListSetPos(int pos, char notify)
{
    if (m_type != MWBT_LIST) {
        DebugError("MWinButton::ListSetPos", "button %s not a list", m_id);
        return;
    }
    if (pos < 0 || pos >= m_list_num) {
        DebugError("MWinButton::ListSetPos", "invalid pos : %d (id: %s, entries = %d)", pos, m_id, m_list_num);
        return;
    }
    m_list_pos = pos;
    const char *text = ListGetStringAtPos(pos);
    SetText(text ? text : "");
    WriteBoundValue(pos);
    if (notify && HasCallback()) {
        _MWinButtonCallbackInfo info;
        FillCallbackInfo(&info);
        info.m_list_event = m_list_open ? 1 : 0;
        info.m_list_pos = pos;
        CallCallback(&info);
    }
}

char MWinButton::ListIsOpen()
{
    return m_interactive && m_type == MWBT_LIST && m_list_open;
}

void MWinButton::ListOpen()
{
    m_list_open = 1;
    m_list_x = m_screen.x;
    m_list_y = m_screen.y;
    m_list_anchor = m_list_hover = m_list_pos;
    m_list_scroll = 0;
    m_list_delay_ms = kStartDelayMs;
    m_list_open_time = EngMiscGetTime_PC();
    if (!ListCalcOpenListVariables())
        return;
    // Keep at least one row on the screen.
    if (m_list_first >= m_list_num)
        m_list_y += m_screen.h;
    else if (m_list_end <= 0)
        m_list_y -= m_screen.h;
    else
        return;
    ListCalcOpenListVariables();
}

char MWinButton::ListCalcOpenListVariables()
{
    m_list_top_cap_y = m_list_top_cap_h = m_list_bot_cap_y = m_list_bot_cap_h = -1;
    m_list_more_above = m_list_more_below = 0;
    m_list_hover_y = -1;
    if (!m_list_open)
        return 0;
    if (m_list_num <= 0) {
        ListClose(0, 1);
        return 0;
    }
    if (m_type != MWBT_LIST) {
        DebugError("MWinButton::ListCalcOpenListVariables", "Open List ID %s is not a list", m_id);
        return 0;
    }
    float r = m_screen.h, y = m_list_y;
    if (r <= 0)
        return 0;
    int a = m_list_scroll + m_list_anchor;
    int above = EngMathTruncateToInt(std::floor(y / r));
    int down = EngMathTruncateToInt(std::floor((kScreenHeight - y - r) / r)) + 1;
    above = std::min(above, a);
    down = std::min(down, m_list_num - a);
    m_list_first = a - above;
    if (m_list_first < 0)
        DebugError("MWinButton::ListCalcOpenListVariables", "Internal Error 1");
    m_list_more_above = m_list_first > 0;
    m_list_end = a + down;
    if (m_list_end > m_list_num)
        DebugError("MWinButton::ListCalcOpenListVariables", "Internal Error 2");
    m_list_more_below = m_list_end < m_list_num;

    m_list_area_y = y - above * r;
    m_list_area_h = r * (m_list_end - m_list_first);
    if (m_list_area_y < 0) {
        m_list_area_h += m_list_area_y;
        m_list_area_y = 0;
    }
    if (m_list_area_y + m_list_area_h > kScreenHeight)
        m_list_area_h = kScreenHeight - m_list_area_y;
    if (!m_list_more_above) {
        m_list_top_cap_h = r / 2;
        m_list_top_cap_y = std::max(0.0f, m_list_area_y - r / 4);
    }
    if (!m_list_more_below) {
        m_list_bot_cap_h = r / 2;
        m_list_bot_cap_y = std::min(kScreenHeight - r / 2, m_list_area_y + m_list_area_h - r / 4);
    }
    if (m_list_hover >= m_list_first && m_list_hover < m_list_end)
        m_list_hover_y = (m_list_hover - m_list_scroll - m_list_anchor) * r + y;
    if (m_list_more_above) {
        m_list_above_y = m_list_area_y;
        m_list_above_h = r;
        m_list_area_y += r;
        m_list_area_h -= r;
        m_list_first++;
    }
    if (m_list_more_below) {
        m_list_below_h = r;
        m_list_below_y = m_list_area_y + m_list_area_h - r;
        m_list_area_h -= r;
        m_list_end--;
    }
    return 1;
}

char MWinButton::ListSetHover(int index, char set_anchor)
{
    index = std::max(0, std::min(index, m_list_num - 1));
    if (index == m_list_hover)
        return 0;
    m_list_hover = index;
    if (set_anchor) {
        m_list_anchor = index;
        m_list_scroll = 0;
    }
    ListCalcOpenListVariables();
    RequestRender();
    if (HasCallback()) {
        _MWinButtonCallbackInfo info;
        FillCallbackInfo(&info);
        info.m_list_event = 0;
        info.m_list_pos = m_list_hover;
        CallCallback(&info);
    }
    return 1;
}

void MWinButton::ListScroll(int delta)
{
    int target = std::max(m_list_first - 1, std::min(m_list_hover + delta, m_list_end));
    ListSetHover(target, 0);
}

void MWinButton::ListClose(char accept, char notify)
{
    if (!m_list_open)
        return;
    m_list_open = 0;
    RequestRender();
    if (accept) {
        ListSetPos(m_list_hover, 0);
        if (notify && HasCallback()) {
            _MWinButtonCallbackInfo info;
            FillCallbackInfo(&info);
            info.m_list_event = 1;
            info.m_list_pos = m_list_pos;
            CallCallback(&info);
        }
    } else if (notify && HasCallback() && m_list_hover != m_list_pos) {
        _MWinButtonCallbackInfo info;
        FillCallbackInfo(&info);
        info.m_list_event = 2;
        info.m_list_pos = m_list_pos;
        CallCallback(&info);
    }
}

char MWinButton::ListCancel()
{
    if (!m_list_open)
        return 0;
    ListClose(0, 1);
    return 1;
}

char MWinButton::ListHandleMouseButtonPressed(char down)
{
    if (!down)
        return 1;
    if (!m_list_open) {
        ListOpen();
        return 1;
    }
    ListCalcOpenListVariables();
    float mx = m_mwin->GetPointerX(), my = m_mwin->GetPointerY();
    bool inside = mx >= m_list_x && mx <= m_list_x + m_screen.w && my >= m_list_area_y &&
                  my <= m_list_area_y + m_list_area_h;
    ListClose(inside ? 1 : 0, 1);
    return 1;
}

void MWinButton::ListHandleMouseMove()
{
    float mx = m_mwin->GetPointerX(), my = m_mwin->GetPointerY();
    if (mx < m_list_x || mx > m_list_x + m_screen.w) {
        ListClose(0, 1);
        return;
    }
    float r = m_screen.h;
    int row = EngMathRoundFloatToInt((my - (m_list_y + r / 2)) / r) + m_list_anchor + m_list_scroll;
    MWin *mwin = m_mwin;
    if (ListSetHover(row, 0) && mwin->IsOn())
        mwin->CallEventHook(2);
}

char MWinButton::ListHandleMouseWheel(int count)
{
    if (m_list_open) {
        ListScroll(-count);
        return 1;
    }
    if (count == 0 || (count < 0 && m_list_pos >= m_list_num - 1) || (count > 0 && m_list_pos <= 0))
        return 1;
    return ListStepClosed(-count);
}

char MWinButton::ListStepClosed(int delta)
{
    if (list_step_running)
        return 1;
    // The hovered entry's notice may remove the screen: the list closes
    // only while the toolkit still finds it.
    const MWinButtonIdentity self(this);
    list_step_running = true;
    ListOpen();
    ListScroll(delta);
    if (self.Survived())
        ListClose(1, 1);
    list_step_running = false;
    return 1;
}

char MWinButton::ListHandleKeyDown(int key)
{
    const struct {
        int key;
        int delta;
    } steps[] = {{kKeyPageUp, -10}, {kKeyPageDown, 10}, {kKeyUp, -1}, {kKeyDown, 1}};
    int delta = 0;
    for (const auto &s : steps)
        if (s.key == key)
            delta = s.delta;
    if (!m_list_open) {
        if (key == kKeyEnter) {
            ListOpen();
            return 1;
        }
        return delta != 0 && ListStepClosed(delta);
    }
    if (key == kKeyEnter) {
        ListClose(1, 1);
        return 1;
    }
    if (key == kKeyEscape) {
        ListClose(0, 1);
        return 1;
    }
    if (delta != 0) {
        ListScroll(delta);
        return 1;
    }
    // Type-ahead: the first entry after the hovered one starting with the
    // key's letter, else the first such before it.
    for (int step = 1; step <= m_list_num; step++) {
        int i = (m_list_hover + step) % m_list_num;
        const char *text = ListGetStringAtPos(i);
        if (text && static_cast<unsigned char>(text[0]) == key) {
            ListSetHover(i, 1);
            return 1;
        }
    }
    return 0;
}

char MWinButton::ListTick()
{
    if (!m_list_open)
        return 0;
    RequestRender();
    int direction = 0;
    if (m_list_more_above && m_list_first == m_list_hover + 1)
        direction = -1;
    else if (m_list_more_below && m_list_hover == m_list_end)
        direction = 1;
    if (direction == 0) {
        m_list_delay_ms = kStartDelayMs;
        return 1;
    }
    double now = EngMiscGetTime_PC();
    if (now - last_list_step < m_list_delay_ms / 1000.0 || now - m_list_open_time < kFirstStepAfter)
        return 1;
    last_list_step = now;
    m_list_delay_ms = m_list_delay_ms < kFastBelowMs ? kFastDelayMs : m_list_delay_ms - kDelayStepMs;
    m_list_scroll += direction;
    m_list_hover += direction;
    if (m_mwin)
        m_mwin->CallEventHook(2);
    ListCalcOpenListVariables();
    return 1;
}

void MWinButton::ListRenderBack(_MWinTextureState state)
{
    RenderBack(state);
    MWinTextures *textures = m_mwin->GetTextures();
    _MWinLayoutSettings *layout = GetLayoutSettings();
    if (!textures || !layout)
        return;
    float w = layout->m_list_arrow_w, h = layout->m_list_arrow_h / 2;
    float x = m_screen.x + m_screen.w - layout->m_list_arrow_margin - w;
    float mid = m_screen.y + m_screen.h / 2;
    textures->DrawTexBut(textures->GetStandardTexButNum(MWIN_STD_TEX_UP_ARROW), state, x, mid - h, w, h, nullptr);
    textures->DrawTexBut(textures->GetStandardTexButNum(MWIN_STD_TEX_DOWN_ARROW), state, x, mid, w, h, nullptr);
}

void MWinButton::ListRenderText()
{
    _MWinLayoutSettings *layout = GetLayoutSettings();
    if (!HasText(0) || !layout)
        return;
    _Dimension area = m_screen;
    area.w -= layout->m_list_arrow_w + layout->m_list_arrow_margin;
    m_mwin->DrawTextLineInDimension(m_font_num, m_text_align, m_text_margin, &area, nullptr, m_texts[0], 0, 1,
                                    m_shrink_to_fit);
}

void MWinButton::RenderOpenList()
{
    MWinTextures *textures = m_mwin ? m_mwin->GetTextures() : nullptr;
    if (!m_list_open || !textures || !m_shown)
        return;
    _MWinTextureState state = GetTextureState();
    if (state == MWTS_HIGHLIGHTED)
        state = MWTS_NORMAL;
    float r = m_screen.h, w = m_screen.w, x = m_list_x;
    auto draw = [&](int slot, _MWinTextureState s, float y, float h) {
        textures->DrawTexBut(textures->GetStandardTexButNum(slot), s, x, y, w, h, nullptr);
    };
    draw(MWIN_STD_TEX_LIST_OPEN_MAIN, state, m_list_area_y, m_list_area_h);
    if (m_list_top_cap_h > 0)
        draw(MWIN_STD_TEX_LIST_OPEN_TOP, state, m_list_top_cap_y, m_list_top_cap_h);
    if (m_list_bot_cap_h > 0)
        draw(MWIN_STD_TEX_LIST_OPEN_BOT, state, m_list_bot_cap_y, m_list_bot_cap_h);
    if (m_list_more_above)
        draw(MWIN_STD_TEX_LIST_OPEN_MAIN, state, m_list_above_y, m_list_above_h);
    if (m_list_more_below)
        draw(MWIN_STD_TEX_LIST_OPEN_MAIN, state, m_list_below_y, m_list_below_h);
    if (m_list_hover >= m_list_first - 1 && m_list_hover < m_list_end + 1)
        draw(MWIN_STD_TEX_LIST_OPEN_SEL, state == MWTS_NORMAL ? MWTS_HIGHLIGHTED : state,
             (m_list_hover - m_list_scroll - m_list_anchor) * r + m_list_y, r);
    _MWinLayoutSettings *layout = GetLayoutSettings();
    float aw = layout ? layout->m_list_arrow_w : 0, ah = layout ? layout->m_list_arrow_h : 0;
    if (m_list_more_above)
        textures->DrawTexBut(textures->GetStandardTexButNum(MWIN_STD_TEX_UP_ARROW), state, x + w / 2 - aw / 2,
                             m_list_above_y + r / 2 - ah / 2, aw, ah, nullptr);
    if (m_list_more_below)
        textures->DrawTexBut(textures->GetStandardTexButNum(MWIN_STD_TEX_DOWN_ARROW), state, x + w / 2 - aw / 2,
                             m_list_below_y + r / 2 - ah / 2, aw, ah, nullptr);
    PrepareFont();
    for (int i = m_list_first; i < m_list_end; i++) {
        const char *text = ListGetStringAtPos(i);
        float y = (i - m_list_scroll - m_list_anchor) * r + m_list_y;
        m_mwin->DrawTextLine(m_font_num, m_text_align, m_text_margin, x, y, w, r, nullptr, text, 0, 1,
                             m_shrink_to_fit);
    }
}
