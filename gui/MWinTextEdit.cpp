// The text edit: a single-line entry. Once editing is on it edits its own
// buffer (limit + 3 bytes) with a blinking caret; Enter accepts, Escape,
// a click outside or losing the focus cancels, and either way the text is
// written back into the control, the bound buffer (bounded by that
// buffer's own size) or a bound int. Characters arrive as WM_CHAR bytes in
// Windows-1252; Ctrl+V (22) pastes and Ctrl+C (3) copies through the
// engine's clipboard. Pasted characters go through the same filter and
// insertion as typed ones; control characters in the clipboard are
// dropped, so a pasted 22 or 3 never pastes or copies again.
//
// Failures: "Length too long", "Length not set", "No text", "No text
// length", "No window." and 'OMEM' are reported; the control keeps its text.
#include "engine/core/EngDebug.h"
#include "engine/core/EngMemory.h"
#include "engine/core/EngMisc.h"
#include "engine/core/EngPrefs.h"
#include "engine/graphics/EngFont.h"
#include "engine/runtime/EngMain.h"
#include "engine/runtime/EngProgram.h"
#include "engine/runtime/EngWindow.h"
#include "engine/runtime/EngWindowInput.h"
#include "gui/MWin.h"
#include "gui/MWinButton.h"
#include "gui/MWinCollection.h"
#include "gui/MWinKeys.h"
#include "gui/MWinWindow.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

const int kMaxLimit = 511;
const double kBlinkSeconds = 0.3;
const unsigned char kCharCopy = 3, kCharPaste = 22;

// One blink clock for every text edit.
double last_blink = 0;

bool Held(int vk)
{
    return eng_main_key_states[vk] > 1;
}

} // namespace

// Whether the filter lets ch join the text.
bool MWinTextEditFilterAccepts(int filter, const char *text, unsigned char ch)
{
    int len = static_cast<int>(std::strlen(text));
    bool digit = ch >= '0' && ch <= '9';
    bool has_point = std::strchr(text, '.') != nullptr;
    switch (filter) {
    case 1:
        if (ch == '-')
            return len == 0 && !has_point;
        if (ch == '.')
            return !has_point;
        return digit;
    case 2:
        if (ch == '.')
            return len > 0 && text[len - 1] != '.';
        if (!digit)
            return false;
        // At most three digits in a row.
        if (len > 2 && !std::memchr(text + len - 3, '.', 3))
            return false;
        return true;
    case 3:
        return ch != ' ' && ch != '\t';
    default:
        return true;
    }
}


void MWinButton::TextEditFreeBuffer()
{
    if (m_edit_buffer)
        EngFree(m_edit_buffer, 0, "MWinButton::TextEditFreeBuffer");
    m_edit_buffer = nullptr;
    m_edit_size = 0;
}

void MWinButton::TextEditSetText(const char *text)
{
    if (!text) {
        SetText("");
    } else {
        char *copy = static_cast<char *>(EngMalloc(m_edit_limit + 1, "MWinButton::TextEditSetText", 0));
        if (!copy) {
            DebugErrorCode("MWinButton::TextEditSetText", 'OMEM');
            return;
        }
        std::snprintf(copy, m_edit_limit + 1, "%s", text);
        SetText(copy);
        EngFree(copy, 0, "MWinButton::TextEditSetText");
    }
    m_edit_caret = std::max(0, std::min(m_edit_caret, m_edit_limit - 1));
}

void MWinButton::TextEditSetLength(int n)
{
    if (n > kMaxLimit) {
        DebugError("MWinButton::TextEditSetLength", "Length too long: %d", n);
        n = kMaxLimit;
    }
    // A bound buffer never receives more than it holds.
    if (m_edit_bound && n > m_edit_bound_size - 1)
        n = m_edit_bound_size - 1;
    if (m_editing && m_edit_buffer && n + 3 > m_edit_size) {
        char *grown = static_cast<char *>(EngMalloc(n + 3, "MWinButton::TextEditSetLength", 1));
        if (!grown) {
            DebugErrorCode("MWinButton::TextEditSetLength", 'OMEM');
            return;
        }
        std::memcpy(grown, m_edit_buffer, m_edit_size);
        EngFree(m_edit_buffer, 0, "MWinButton::TextEditSetLength");
        m_edit_buffer = grown;
        m_edit_size = n + 3;
    }
    m_edit_limit = n;
    if (m_editing && m_edit_buffer && n >= 0 && static_cast<int>(std::strlen(m_edit_buffer)) > n) {
        m_edit_buffer[n] = 0;
        m_edit_caret = std::min(m_edit_caret, n);
        TextEditUpdateCursor();
    }
    m_interactive = 1;
}

void MWinButton::TextEditRegisterString(char *buffer, int size)
{
    if (!buffer || size < 1)
        return;
    m_edit_bound = buffer;
    m_edit_bound_size = size;
    m_edit_limit = std::min(size - 1, kMaxLimit);
    // The caller's buffer may not be terminated yet.
    buffer[size - 1] = 0;
    TextEditSetText(buffer);
}

int MWinButton::TextEditGetNumber()
{
    const char *text = nullptr;
    if (m_editing) {
        if (!m_edit_buffer) {
            DebugError("MWinButton::TextEditGetNumber", "No text");
            return 0;
        }
        text = m_edit_buffer;
    } else {
        text = HasText(0) ? m_texts[0] : nullptr;
    }
    int value = 0;
    if (!text || std::sscanf(text, "%d", &value) != 1)
        return 0;
    return value;
}

void MWinButton::TextEditUpdateCursor()
{
    if (!m_editing)
        return;
    if (!m_edit_buffer) {
        DebugError("MWinButton::TextEditUpdateCursor", "No text");
        return;
    }
    SetText(m_edit_buffer);
    RequestRender();
}

char MWinButton::TextEditTurnOnEditing(char mode)
{
    if (m_editing)
        return 1;
    if (m_edit_begin_cb)
        m_edit_begin_cb(this);
    if (m_edit_clear_on_edit)
        SetText("");
    TextEditFreeBuffer();
    if (m_edit_limit <= 0) {
        DebugError("MWinButton::TextEditTurnOnEditing", "Length not set");
        return 0;
    }
    m_edit_buffer = static_cast<char *>(EngMalloc(m_edit_limit + 3, "MWinButton::TextEditTurnOnEditing", 1));
    if (!m_edit_buffer) {
        DebugErrorCode("MWinButton::TextEditTurnOnEditing", 'OMEM');
        return 0;
    }
    m_edit_size = m_edit_limit + 3;
    const char *text = HasText(0) ? m_texts[0] : "";
    if (static_cast<int>(std::strlen(text)) < m_edit_limit)
        std::snprintf(m_edit_buffer, m_edit_size, "%s", text);
    m_edit_caret = static_cast<int>(std::strlen(m_edit_buffer));
    m_editing = 1;
    m_edit_mode = mode;
    if (m_mwin)
        m_mwin->CallEventHook(2);
    if (m_window) {
        if (m_window->GetCollection())
            m_window->GetCollection()->Activate();
        m_window->Activate();
    }
    Activate();
    RequestRender();
    return 1;
}

void MWinButton::TextEditTurnOffEditing(char accept)
{
    if (!m_editing)
        return;
    if (!m_edit_buffer) {
        DebugError("MWinButton::TextEditTurnOffEditing", "No text");
        return;
    }
    if (m_edit_limit >= 0 && m_edit_limit < m_edit_size)
        m_edit_buffer[m_edit_limit] = 0;
    SetText(m_edit_buffer);
    m_edit_mode = 0;
    m_edit_caret = 0;
    m_pressed = 0;
    m_editing = 0;
    if (m_edit_bound)
        std::snprintf(m_edit_bound, m_edit_bound_size, "%s", m_edit_buffer);
    else if (m_var_kind == VAR_INT && m_var_int)
        *m_var_int = TextEditGetNumber();
    TextEditFreeBuffer();

    MWin *mwin = m_mwin;
    if (accept && mwin)
        mwin->CallEventHook(2);
    RequestRender();
    if (HasCallback() && m_shown) {
        _MWinButtonCallbackInfo info;
        FillCallbackInfo(&info);
        info.m_text_edit_event = accept ? 1 : 0;
        // The receiver may delete this control: only the toolkit is used after.
        CallCallback(&info);
    }
    if (mwin)
        mwin->ButtonsChanged();
}

void MWinButton::TextEditHandleMousePress()
{
    if (!m_editing) {
        TextEditTurnOnEditing(1);
        return;
    }
    float mouse_x = m_mwin ? m_mwin->GetPointerX() : 0, mouse_y = m_mwin ? m_mwin->GetPointerY() : 0;
    if (mouse_x < m_screen.x || mouse_x >= m_screen.x + m_screen.w || mouse_y < m_screen.y ||
        mouse_y >= m_screen.y + m_screen.h) {
        TextEditTurnOffEditing(0);
        return;
    }
    if (!m_edit_buffer)
        return;
    int len = static_cast<int>(std::strlen(m_edit_buffer));
    int caret = len;
    EngFont *font = GetFont();
    if (font) {
        PrepareFont();
        float x = m_screen.x + m_text_margin;
        for (int p = 0; p <= len; p++) {
            if (x >= mouse_x) {
                caret = p;
                break;
            }
            if (p < len)
                x += font->GetCharWidth(static_cast<unsigned char>(m_edit_buffer[p]));
        }
    }
    m_edit_caret = std::max(0, std::min(caret, m_edit_limit - 1));
    TextEditUpdateCursor();
}

// A change made by a key: reported when asked. The receiver may delete this
// control, so the hook goes through the saved toolkit.
void MWinButton::TextEditNotifyChange()
{
    MWin *mwin = m_mwin;
    if (m_edit_notify_each && HasCallback() && m_shown) {
        _MWinButtonCallbackInfo info;
        FillCallbackInfo(&info);
        info.m_text_edit_event = -1;
        CallCallback(&info);
    }
    if (mwin)
        mwin->CallEventHook(1);
}

char MWinButton::TextEditHandleKeyDown(int key)
{
    if (!m_editing) {
        if (key == kKeyEnter) {
            TextEditTurnOnEditing(1);
            return 1;
        }
        return 0;
    }
    if (!m_edit_buffer) {
        DebugError("MWinButton::TextEditHandleKeyDown", "No text");
        return 0;
    }
    int len = static_cast<int>(std::strlen(m_edit_buffer));
    bool deleted = false, moved = false;
    switch (key) {
    case kKeyBackspace:
        if (m_edit_caret > 0) {
            std::memmove(m_edit_buffer + m_edit_caret - 1, m_edit_buffer + m_edit_caret, len - m_edit_caret + 1);
            m_edit_caret--;
            deleted = true;
        }
        break;
    case kKeyDelete:
        if (m_edit_caret < len) {
            std::memmove(m_edit_buffer + m_edit_caret, m_edit_buffer + m_edit_caret + 1, len - m_edit_caret);
            deleted = true;
        }
        break;
    case kKeyEnter:
        TextEditTurnOffEditing(1);
        return 1;
    case kKeyEscape:
        TextEditTurnOffEditing(0);
        return 1;
    case kKeyEnd:
        m_edit_caret = len;
        moved = true;
        break;
    case kKeyHome:
        m_edit_caret = 0;
        moved = true;
        break;
    case kKeyLeft:
        m_edit_caret = std::max(0, m_edit_caret - 1);
        moved = true;
        break;
    case kKeyRight:
        m_edit_caret = std::min(len, m_edit_caret + 1);
        moved = true;
        break;
    case kKeyUp:
    case kKeyDown:
        return 1;
    case kKeyV:
        if (!Held(kKeyControl))
            return 0;
        DebugInfo("PASTE");
        return 1;
    default:
        return 0;
    }
    if (deleted) {
        TextEditUpdateCursor();
        TextEditNotifyChange();
    } else if (moved) {
        TextEditUpdateCursor();
        if (m_mwin)
            m_mwin->CallEventHook(1);
    }
    return 1;
}

// The filter and the insertion at the caret; the typed and the pasted
// characters both come through here.
char MWinButton::TextEditInsertChar(unsigned char ch)
{
    int len = static_cast<int>(std::strlen(m_edit_buffer));
    if (len >= m_edit_limit || len + 1 >= m_edit_size)
        return 1; // full: the character is dropped
    if (!MWinTextEditFilterAccepts(m_edit_filter, m_edit_buffer, ch))
        return 0;
    int caret = std::max(0, std::min(m_edit_caret, len));
    std::memmove(m_edit_buffer + caret + 1, m_edit_buffer + caret, len - caret + 1);
    m_edit_buffer[caret] = static_cast<char>(ch);
    m_edit_caret = std::min(caret + 1, len + 1);
    TextEditUpdateCursor();
    return 1;
}

char MWinButton::TextEditPaste()
{
    eng_main_key_states[kKeyControl] = 0;
    int room = m_edit_limit - m_edit_caret;
    if (room > 0) {
        char *pasted = static_cast<char *>(EngMalloc(room + 2, "MWinButton::TextEditHandleKeyDownUChar", 1));
        if (!pasted) {
            DebugErrorCode("MWinButton::TextEditHandleKeyDownUChar", 'OMEM');
            return 1;
        }
        if (VariousPasteClipboardToString(pasted, room + 1))
            for (int i = 0; pasted[i]; i++)
                if (static_cast<unsigned char>(pasted[i]) >= 32)
                    TextEditInsertChar(static_cast<unsigned char>(pasted[i]));
        EngFree(pasted, 0, "MWinButton::TextEditHandleKeyDownUChar");
    }
    TextEditNotifyChange();
    return 1;
}

char MWinButton::TextEditHandleKeyDownUChar(unsigned char ch)
{
    if (!m_editing)
        return 0;
    if (!m_edit_buffer) {
        DebugError("MWinButton::TextEditHandleKeyDownUChar", "No text");
        return 0;
    }
    if (m_edit_limit <= 0) {
        DebugError("MWinButton::TextEditHandleKeyDownUChar", "No text length");
        return 0;
    }
    // Keys that also arrive as characters belong to the key handler. '#'
    // and '$' share their codes with End and Home, but End and Home never
    // arrive as characters: both are typed like any other.
    if (ch == kKeyBackspace || ch == kKeyTab || ch == kKeyEnter || ch == kKeyEscape)
        return 0;
    bool plain = !Held(kKeyShift) && !Held(kKeyAlt);
    bool control = Held(kKeyControl);
    if (plain && (ch == kCharPaste || (control && (ch == 'v' || ch == 'V'))))
        return TextEditPaste();
    if (plain && (ch == kCharCopy || (control && (ch == 'c' || ch == 'C')))) {
        VariousCopyClipboardFromString(m_edit_buffer);
        return 1;
    }
    if (ch < 32)
        return 0; // other control characters are not text
    if (m_mwin)
        m_mwin->CallEventHook(1);
    int len = static_cast<int>(std::strlen(m_edit_buffer));
    if (len >= m_edit_limit)
        return 1;
    if (!TextEditInsertChar(ch))
        return 0;
    if (m_edit_notify_each)
        TextEditNotifyChange();
    return 1;
}

void MWinButton::TextEditMoveCursorToButtonAndTurnOnEditing()
{
    if (!eng_main_window) {
        DebugError("MWinButton::TextEditMoveCursorToButtonAndTurnOnEditing", "No window.");
        return;
    }
    float x = m_screen.x + m_screen.w / 2, y = m_screen.y + m_screen.h / 2;
    // The toolkit's mouse moves take window pixels; the centre is in 640 x 480 units.
    if (m_mwin)
        m_mwin->MouseMoveInt(EngMathTruncateToInt(x * static_cast<float>(eng_screen_width) / 640.0f),
                             EngMathTruncateToInt(y * static_cast<float>(eng_screen_height) / 480.0f));
    eng_main_window->SetMousePos(x, eng_screen_windowed ? y + 10 : y);
    if (m_mwin)
        m_mwin->MouseMoveInt(-1, -1);
    TextEditTurnOnEditing(1);
}

char MWinButton::TextEditTick()
{
    if (!m_editing) {
        if (m_edit_caret_on) {
            m_edit_caret_on = 0;
            RequestRender();
        }
        return 0;
    }
    m_pressed = 1;
    RequestRender();
    double now = EngMiscGetTime_PC();
    if (now - last_blink >= kBlinkSeconds) {
        m_edit_caret_on = !m_edit_caret_on;
        TextEditUpdateCursor();
        last_blink = now;
    }
    return 1;
}

void MWinButton::TextEditRenderText()
{
    EngFont *font = GetFont();
    const char *text = HasText(0) ? m_texts[0] : "";
    int len = static_cast<int>(std::strlen(text));
    bool caret = m_editing && m_edit_caret_on;
    if (!m_edit_password && !caret) {
        RenderSingleText();
        return;
    }
    if (!font)
        return;
    PrepareFont();
    float left, right;
    GetTextHorzRange(&left, &right, -1);
    float x = left;
    if (m_edit_password) {
        float star = font->GetStringWidth("*");
        for (int i = 0; i < len; i++, x += star)
            m_mwin->DrawTextLine(m_font_num, MWTA_LEFT, 0, x, m_screen.y, star * 2, m_screen.h, nullptr, "*", 0, 1, 0);
    } else {
        RenderSingleText();
        float width = font->GetStringWidth(text);
        if (m_text_align == MWTA_CENTER)
            x = left + (right - left - width) / 2;
        else if (m_text_align == MWTA_RIGHT)
            x = right - width;
        for (int i = 0; i < std::min(m_edit_caret, len); i++)
            x += font->GetCharWidth(static_cast<unsigned char>(text[i]));
    }
    if (!caret)
        return;
    x = std::min(x, m_screen.x + m_screen.w);
    _ColourRGBA colour = m_text_colour;
    colour.a *= 0.6f;
    ApplyTextColour(font, &colour);
    float sx = GetXScale() * m_text_scale_x, sy = GetYScale() * m_text_scale_y;
    _MWinLayoutSettings *layout = GetLayoutSettings();
    if (layout && layout->m_text_scale_x > 0 && layout->m_text_scale_y > 0) {
        sx *= layout->m_text_scale_x;
        sy *= layout->m_text_scale_y * 1.5f;
    }
    font->SetScale(sx, sy);
    float caret_w = font->GetStringWidth("I");
    m_mwin->DrawTextLine(m_font_num, MWTA_CENTER, 0, x - caret_w, m_screen.y, caret_w * 2, m_screen.h, nullptr, "I", 0,
                         1, 0);
    PrepareFont();
    if (eng_main_program)
        eng_main_program->RequestRenderWhenNeeded();
}
