// A window: construction from its descriptor, controls and groups, the
// title bar and its buttons, position and size, and drawing.
#include "gui/MWinWindow.h"

#include "engine/core/EngDebug.h"
#include "engine/core/EngLanguages.h"
#include "engine/core/EngMemory.h"
#include "engine/core/EngMisc.h"
#include "engine/graphics/EngFont.h"
#include "engine/runtime/EngWindow.h"
#include "gui/MWin.h"
#include "gui/MWinButton.h"
#include "gui/MWinCollection.h"
#include "gui/MWinFonts.h"
#include "gui/MWinProgressCircle.h"
#include "gui/MWinRangeSlider.h"
#include "gui/MWinScriptButton.h"
#include "gui/MWinTabPanel.h"
#include "gui/MWinGroup.h"
#include "gui/MWinIDs.h"
#include "gui/MWinScrollbar.h"
#include "gui/MWinTextures.h"

#include <cstring>
#include <new>

namespace {

const float kCentre = -9999.0f;

_MWinWindowCreateInfo DefaultInfo()
{
    _MWinWindowCreateInfo info;
    std::memset(&info, 0, sizeof(info));
    info.m_kind = MWWK_NORMAL;
    info.m_x = 10;
    info.m_y = 10;
    info.m_w = 50;
    info.m_h = 50;
    EngSafeStrcpy(info.m_title_texbut, "MWIN_TEXBUT_DEFAULT", sizeof(info.m_title_texbut));
    EngSafeStrcpy(info.m_back_texbut, "MWIN_TEXBUT_DEFAULT", sizeof(info.m_back_texbut));
    EngSafeStrcpy(info.m_font, "MWIN_FONT_DEFAULT", sizeof(info.m_font));
    return info;
}

} // namespace

MWinWindow::MWinWindow(MWin *mwin, const char *id, MWinCollection *collection, const _MWinWindowCreateInfo *info)
    : m_was_active_before_popup(0), m_mwin(mwin), m_kind(MWWK_NORMAL), m_valid(0), m_hide_button(nullptr),
      m_extra_button(nullptr), m_active(0), m_shown(0), m_title_token_num(-1), m_dragging(0), m_drag_pointer_x(0),
      m_drag_pointer_y(0), m_drag_start_x(0), m_drag_start_y(0), m_controller(nullptr), m_has_controller(0), m_id{},
      m_collection(nullptr), m_first_group(nullptr), m_last_group(nullptr), m_prev(nullptr), m_next(nullptr),
      m_info(DefaultInfo()), m_x(0), m_y(0), m_w(0), m_h(0), m_area{}, m_title_area{}, m_title_text_area{},
      m_body_area{}, m_scaled(0), m_escape_button(nullptr), m_default_button(nullptr),
      m_font_num(MWIN_FONT_DEFAULT), m_title_texbut(-1), m_hide_texbut(-1), m_extra_texbut(-1), m_back_texbut(-1),
      m_title_colour{0, 0, 0, 1}, m_title_scale_x(1), m_title_scale_y(1), m_title_align(MWTA_LEFT),
      m_multiplier_on(0), m_multiplier{1, 1, 1, 1}, m_offset_x(0), m_offset_y(0), m_scroll_size{0, 0},
      m_scroll{}, m_scrolling_on(0)
{
    const char *where = "MWinWindow::MWinWindow";
    if (!DebugCheckFatal(mwin != nullptr, where, "No mw"))
        return;
    m_first_group = m_last_group = new (std::nothrow) MWinGroup(mwin, this);
    MWinCopyID(m_id, id);
    m_collection = collection;
    m_scaled = mwin->IsScaleOn() && collection && collection->GetScaleWindows();

    _MWinWindowCreateInfo given = DefaultInfo();
    if (info)
        given = *info;
    else
        DebugError(where, "No info passed in");
    m_kind = given.m_kind;
    if (given.m_w < 0)
        given.m_w = 100;
    if (given.m_h < 0)
        given.m_h = 100;
    float virtual_w = 640, virtual_h = 480;
    mwin->GetVirtualSize(&virtual_w, &virtual_h);
    if (given.m_x == kCentre)
        given.m_x = virtual_w / 2 - given.m_w / 2;
    if (given.m_y == kCentre)
        given.m_y = virtual_h / 2 - given.m_h / 2;
    m_info = given;

    if (m_info.m_has_hide_button && !m_info.m_has_title_bar) {
        DebugError(where, "Hide button but no title bar");
        m_info.m_has_hide_button = 0;
    }
    if (m_info.m_has_extra_button != 0 && m_info.m_has_extra_button != 1) {
        DebugError(where, "has_extra_button is %d - setting to 0.", m_info.m_has_extra_button);
        m_info.m_has_extra_button = 0;
        m_info.m_extra_text[0] = 0;
    }
    if (m_info.m_has_extra_button && !m_info.m_has_title_bar) {
        DebugError(where, "Extra button but no title bar");
        m_info.m_has_extra_button = 0;
    }

    SetTitleToken(m_info.m_title_token);
    SetTitleTexBut(m_info.m_title_texbut);
    SetBackTexBut(m_info.m_back_texbut);
    SetFont(m_info.m_font, 0);
    SetPositionAndSize(m_info.m_x, m_info.m_y, m_info.m_w, m_info.m_h);
    m_active = 0;
    m_shown = 1;
    m_valid = 1;
}

MWinWindow::~MWinWindow()
{
    // The title-bar buttons first: they live in the first group's context.
    // Everything goes while the window is still in its collection, so the
    // controls can find and drop their queued messages.
    delete m_hide_button;
    m_hide_button = nullptr;
    delete m_extra_button;
    m_extra_button = nullptr;
    while (m_last_group) {
        MWinGroup *group = m_last_group;
        MWinGroup *prev = group->GetPrev();
        if (prev && prev->GetNext() != group) {
            DebugErrorCode("MWinWindow::~MWinWindow", 'IERR');
            break;
        }
        delete group;
        m_last_group = prev;
        if (prev)
            prev->SetLinks(prev->GetPrev(), nullptr);
    }
    m_first_group = m_last_group = nullptr;
    DestroyGraphics();
    if (m_collection)
        m_collection->ForgetWindow(this);
    m_valid = 0;
}

// Controls.

MWinButton *MWinWindow::AddButton(const char *id, _MWinButtonType type, const char *texbut_id, const char *text,
                                  float x, float y, float w, float h)
{
    if (!m_first_group) {
        DebugErrorCode("MWinWindow::AddButton", 'NOSU');
        return nullptr;
    }
    return m_first_group->AddButton(id, type, texbut_id, text, x, y, w, h);
}

MWinButton *MWinWindow::AddButtonWithCallback(const char *id, _MWinButtonType type, const char *texbut_id,
                                              const char *text, float x, float y, float w, float h,
                                              void (*callback)(MWin *, _MWinButtonCallbackInfo *, int, int), int a,
                                              int b)
{
    if (!m_first_group) {
        DebugErrorCode("MWinWindow::AddButtonWithCallback", 'NOSU');
        return nullptr;
    }
    return m_first_group->AddButtonWithCallback(id, type, texbut_id, text, x, y, w, h, callback, a, b);
}

MWinHorzScrollbar *MWinWindow::AddHorzScrollbar(const char *id, const char *texbut_id, const char *text, float x,
                                                float y, float w, float h)
{
    if (!m_first_group) {
        DebugErrorCode("MWinWindow::AddHorzScrollbar", 'NOSU');
        return nullptr;
    }
    MWinHorzScrollbar *bar = new (std::nothrow) MWinHorzScrollbar(m_mwin, id, m_first_group, texbut_id, text, x, y, w, h);
    if (!bar)
        DebugErrorCode("MWinWindow::AddHorzScrollbar", 'OMEM');
    return static_cast<MWinHorzScrollbar *>(m_first_group->CompleteAddButton(bar));
}

// The controls with a class of their own and no text of their own are made
// the same way: in the first group, reported under the caller's name.
template <class Control>
Control *MWinWindow::AddOwnControl(const char *caller, const char *id, const char *texbut_id, float x, float y,
                                   float w, float h)
{
    if (!m_first_group) {
        DebugErrorCode(caller, 'NOSU');
        return nullptr;
    }
    Control *control = new (std::nothrow) Control(m_mwin, id, m_first_group, texbut_id, x, y, w, h);
    if (!control)
        DebugErrorCode(caller, 'OMEM');
    return static_cast<Control *>(m_first_group->CompleteAddButton(control));
}

MWinScriptButton *MWinWindow::AddScriptButton(const char *id, const char *texbut_id, float x, float y, float w,
                                              float h)
{
    return AddOwnControl<MWinScriptButton>("MWinWindow::AddScriptButton", id, texbut_id, x, y, w, h);
}

MWinProgressCircle *MWinWindow::AddProgressCircle(const char *id, const char *texbut_id, float x, float y, float w, float h)
{
    return AddOwnControl<MWinProgressCircle>("MWinWindow::AddProgressCircle", id, texbut_id, x, y, w, h);
}

MWinTabPanel *MWinWindow::AddTabPanel(const char *id, const char *texbut_id, float x, float y, float w, float h)
{
    return AddOwnControl<MWinTabPanel>("MWinWindow::AddTabPanel", id, texbut_id, x, y, w, h);
}

MWinRangeSlider *MWinWindow::AddRangeSlider(const char *id, const char *texbut_id, float x, float y, float w, float h)
{
    return AddOwnControl<MWinRangeSlider>("MWinWindow::AddRangeSlider", id, texbut_id, x, y, w, h);
}

void MWinWindow::RemoveAllButtons()
{
    for (MWinGroup *g = m_first_group; g; g = g->GetNext())
        g->RemoveAllButtons();
    while (m_last_group && m_last_group != m_first_group) {
        MWinGroup *group = m_last_group;
        m_last_group = group->GetPrev();
        m_last_group->SetLinks(m_last_group->GetPrev(), nullptr);
        delete group;
    }
}

MWinButton *MWinWindow::GetFirstButton()
{
    if (!m_first_group) {
        DebugErrorCode("MWinWindow::GetFirstButton", 'NOSU');
        return nullptr;
    }
    return m_first_group->GetFirstButton();
}

MWinButton *MWinWindow::GetActiveButton()
{
    const char *where = "MWinWindow::GetActiveButton";
    if (!m_shown || !m_last_group)
        return nullptr;
    for (MWinGroup *g = m_last_group; g; g = g->GetPrev()) {
        if (!g->IsCreated()) {
            DebugError(where, "Group not created ok.");
            return nullptr;
        }
        if (g->GetPrev() && g->GetPrev()->GetNext() != g) {
            DebugError(where, "Group pointers not ok.");
            return nullptr;
        }
        if (!g->IsEnabled())
            continue;
        for (MWinButton *b = g->GetLastButton(); b; b = b->GetPrev()) {
            if (b->GetSerial() == 0) {
                DebugError(where, "Button not created ok.");
                return nullptr;
            }
            if (b->GetPrev() && b->GetPrev()->GetNext() != b) {
                DebugError(where, "Button pointers not ok.");
                return nullptr;
            }
            if (b->IsActive())
                return b;
        }
    }
    return nullptr;
}

MWinButton *MWinWindow::GetButtonFromID(const char *id, char report)
{
    if (MWinIsIDInvalid(id)) {
        if (report)
            DebugError("MWinWindow::GetButtonFromID", "No Button ID");
        return nullptr;
    }
    if (m_hide_button && std::strcmp(m_hide_button->GetID(), id) == 0)
        return m_hide_button;
    if (m_extra_button && std::strcmp(m_extra_button->GetID(), id) == 0)
        return m_extra_button;
    for (MWinGroup *g = m_first_group; g; g = g->GetNext())
        for (MWinButton *b = g->GetFirstButton(); b; b = b->GetNext())
            if (MWinAreIDsTheSame(b->GetID(), id))
                return b;
    if (report)
        DebugError("MWinWindow::GetButtonFromID", "Button <%s> not found in window <%s> of collection <%s>", id,
                   m_id, m_collection ? m_collection->GetID() : "(none)");
    return nullptr;
}

MWinButton *MWinWindow::GetButtonFromIDOrReport(const char *id)
{
    return GetButtonFromID(id, 1);
}

void MWinWindow::ForgetButton(MWinButton *button)
{
    if (m_escape_button == button)
        m_escape_button = nullptr;
    if (m_default_button == button)
        m_default_button = nullptr;
}

// The controller.

void MWinWindow::SetController(MWinCollectionController *controller)
{
    m_controller = controller;
    m_has_controller = controller != nullptr;
}

void MWinWindow::ClearController()
{
    m_controller = nullptr;
    m_has_controller = 0;
}

MWinCollectionController *MWinWindow::GetController(char required)
{
    if (required)
        DebugCheckFatal(m_has_controller && m_controller, "MWinWindow::GetController", "No controller");
    return m_has_controller ? m_controller : nullptr;
}

char MWinWindow::SendButtonCallCallbackMessage(MWinButton *button, char report)
{
    const char *where = "MWinWindow::SendButtonCallCallbackMessage";
    if (!button || button->GetWindow() != this || !m_collection) {
        DebugError(where, "Invalid button");
        return 0;
    }
    if (!button->IsShown()) {
        if (report)
            DebugError(where, "Button [%s] is not shown.", button->GetID());
        return 0;
    }
    if (!button->IsEnabled())
        return 0;
    return m_mwin->AddMessageToQueue(m_collection->GetID(), m_id, button->GetID(), MWMN_BUTTON_PRESSED);
}

void MWinWindow::SetEscapeButton(MWinButton *button)
{
    m_escape_button = button;
    if (m_collection)
        m_collection->SetEscapeWindow(this);
}

void MWinWindow::SetDefaultButton(MWinButton *button)
{
    m_default_button = button;
}

// Activity and visibility.

void MWinWindow::Activate()
{
    m_active = 1;
    UpdateMouseOver();
}

void MWinWindow::Deactivate()
{
    m_active = 0;
}

void MWinWindow::Hide()
{
    m_active = 0;
    m_shown = 0;
    if (m_collection)
        m_collection->WindowsChanged();
}

void MWinWindow::SetShown(char shown)
{
    if (!shown) {
        Hide();
        return;
    }
    m_shown = 1;
    if (m_collection)
        m_collection->WindowsChanged();
}

// Position and size.

void MWinWindow::SetPosition(float x, float y)
{
    m_x = x;
    m_y = y;
    m_area.x = m_scaled ? MWin::AdjustXForScale(x, m_w) : x;
    m_area.y = m_scaled ? MWin::AdjustYForScale(y, m_h) : y;
    for (MWinGroup *g = m_first_group; g; g = g->GetNext())
        g->UpdateButtonAreas();
    UpdateAreas(0);
}

void MWinWindow::SetPositionAndSize(float x, float y, float w, float h)
{
    if (w < 1)
        w = 1;
    if (h < 1)
        h = 1;
    _MWinLayoutSettings *layout = GetScreenLayout();
    if (m_info.m_has_title_bar && layout && y < layout->m_title_h)
        y = layout->m_title_h;
    m_w = w;
    m_h = h;
    m_area.w = m_scaled ? w * eng_font_scale_x : w;
    m_area.h = m_scaled ? h * eng_font_scale_y : h;
    SetPosition(x, y);
    UpdateAreas(0);
    for (MWinGroup *g = m_first_group; g; g = g->GetNext())
        for (MWinButton *b = g->GetFirstButton(); b; b = b->GetNext()) {
            _Dimension d = *b->GetDimensionP();
            b->SetPosAndSize(d.x, d.y, d.w, d.h);
        }
}

void MWinWindow::GetPosAndSize(_Dimension *out)
{
    if (out)
        *out = {m_x, m_y, m_w, m_h};
}

char MWinWindow::KeepOnScreen()
{
    float x = m_x, y = m_y;
    if (x < 0)
        x = 0;
    if (y < 0)
        y = 0;
    if (x + m_w > 640)
        x = 640 - m_w;
    if (y + m_h > 480)
        y = 480 - m_h;
    if (x == m_x && y == m_y)
        return 0;
    SetPositionAndSize(x, y, m_w, m_h);
    return 1;
}

void MWinWindow::CenterGroupOfButtons(MWinButton **list, char horizontally, char vertically)
{
    if (!list) {
        DebugError("MWinWindow::CenterGroupOfButtons", "No buttons");
        return;
    }
    bool any = false;
    float left = 0, top = 0, right = 0, bottom = 0;
    for (MWinButton **b = list; *b; b++) {
        if (!(*b)->IsShown())
            continue;
        const _Dimension &d = *(*b)->GetDimensionP();
        if (!any || d.x < left)
            left = d.x;
        if (!any || d.y < top)
            top = d.y;
        if (!any || d.x + d.w > right)
            right = d.x + d.w;
        if (!any || d.y + d.h > bottom)
            bottom = d.y + d.h;
        any = true;
    }
    if (!any)
        return;
    _MWinLayoutSettings *layout = GetScreenLayout();
    float title_h = m_info.m_has_title_bar && layout ? layout->m_title_h : 0;
    float dx = horizontally ? m_w / 2 - (left + right) / 2 : 0;
    float dy = vertically ? (m_h / 2 - title_h / 2) - (top + bottom) / 2 : 0;
    for (MWinButton **b = list; *b; b++) {
        if (!(*b)->IsShown())
            continue;
        _Dimension d = *(*b)->GetDimensionP();
        d.x += dx;
        d.y += dy;
        (*b)->SetDimension(d);
    }
}

void MWinWindow::GetVirtualSize(float *w, float *h, char)
{
    if (!m_mwin) {
        DebugError("MWinWindow::GetVirtualSize", "No mwin");
        if (w)
            *w = 640;
        if (h)
            *h = 480;
        return;
    }
    m_mwin->GetVirtualSize(w, h);
}

_MWinLayoutSettings *MWinWindow::GetScreenLayout()
{
    if (!m_mwin) {
        DebugError("MWinWindow::GetScreenLayout", "No mwin");
        return nullptr;
    }
    if (!m_collection) {
        DebugError("MWinWindow::GetScreenLayout", "No parent");
        return m_mwin->GetScreenLayout();
    }
    return m_mwin->GetLayoutSettings(m_collection->GetScreenLayout());
}

float MWinWindow::GetScale()
{
    return m_scaled ? eng_font_scale_x : 1.0f;
}

// Style.

void MWinWindow::SetTitleTextColour(float r, float g, float b, float a)
{
    m_title_colour = {r, g, b, a};
}

void MWinWindow::SetTitleTextColourFromRecord(const _ColourRGBA *colour)
{
    if (colour)
        m_title_colour = *colour;
}

void MWinWindow::SetTitleTextScale(float x, float y)
{
    m_title_scale_x = x;
    m_title_scale_y = y;
}

void MWinWindow::SetTitleTextAlign(_MWinTextAlign align)
{
    m_title_align = align;
}

void MWinWindow::SetAlpha(float a)
{
    if (a != 1.0f || m_multiplier_on) {
        m_multiplier_on = 1;
        m_multiplier.a = a;
    }
}

void MWinWindow::SetTitleToken(const char *token)
{
    EngSafeStrcpy(m_info.m_title_token, token, sizeof(m_info.m_title_token));
    m_title_token_num = -1;
    if (m_info.m_title_token[0] && EngLanguagesHaveLanguages())
        m_title_token_num = EngLanguagesGetTokenNum(m_info.m_title_token, 1);
}

void MWinWindow::SetFont(const char *id, char store_id)
{
    MWinFonts *fonts = m_mwin->GetFonts();
    m_font_num = fonts ? fonts->GetFontNumFromID(id) : MWIN_FONT_DEFAULT;
    if (store_id)
        EngSafeStrcpy(m_info.m_font, id, sizeof(m_info.m_font));
}

char MWinWindow::ResolveTexBut(const char *id, int default_slot, int *number)
{
    MWinTextures *textures = m_mwin->GetTextures();
    *number = -1;
    if (!textures || MWinIsIDInvalid(id))
        return 0;
    if (std::strcmp(id, "MWIN_TEXBUT_DEFAULT") == 0) {
        *number = textures->GetStandardTexButNum(default_slot);
        return 1;
    }
    if (std::strcmp(id, "MWIN_TEXBUT_NONE") == 0)
        return 1;
    *number = textures->GetTexButNumFromID(id);
    return *number >= 0;
}

char MWinWindow::SetTitleTexBut(const char *id)
{
    EngSafeStrcpy(m_info.m_title_texbut, id, sizeof(m_info.m_title_texbut));
    return ResolveTexBut(id, MWIN_STD_TEX_WIN_TITLE, &m_title_texbut);
}

char MWinWindow::SetBackTexBut(const char *id)
{
    EngSafeStrcpy(m_info.m_back_texbut, id, sizeof(m_info.m_back_texbut));
    return ResolveTexBut(id, MWIN_STD_TEX_WIN_BACK, &m_back_texbut);
}

char MWinWindow::SetHideTexBut(const char *id)
{
    EngSafeStrcpy(m_info.m_hide_texbut, id, sizeof(m_info.m_hide_texbut));
    char ok = ResolveTexBut(id, MWIN_STD_TEX_PUSH_BUTTON, &m_hide_texbut);
    if (m_hide_button)
        m_hide_button->SetBackTexButToTexBut(id);
    return ok;
}

char MWinWindow::SetExtraTexBut(const char *id)
{
    EngSafeStrcpy(m_info.m_extra_texbut, id, sizeof(m_info.m_extra_texbut));
    char ok = ResolveTexBut(id, MWIN_STD_TEX_PUSH_BUTTON, &m_extra_texbut);
    if (m_extra_button)
        m_extra_button->SetBackTexButToTexBut(id);
    return ok;
}

// The title bar.

MWinButton *MWinWindow::MakeTitleButton(const char *id, const char *texbut_id, float x, float y, float w, float h)
{
    if (!m_first_group)
        return nullptr;
    MWinButton *button = new (std::nothrow) MWinButton(m_mwin, id, m_first_group, MWBT_NONE, texbut_id, "", x, y, w, h);
    if (button)
        button->SetBackTexButToTexBut(texbut_id);
    return button;
}

void MWinWindow::PlaceTitleButton(MWinButton *button, const char *text, const char *token, float x, float y,
                                  float w, float h)
{
    button->SetPosAndSize(x, y - m_offset_y, w, h);
    button->SetFont(m_info.m_font);
    button->SetTextColour(m_title_colour.r, m_title_colour.g, m_title_colour.b, m_title_colour.a);
    float factor = EngMiscIsTabletPlatform() ? 0.9f : 0.8f;
    button->SetTextScale(m_title_scale_x * factor, m_title_scale_y * factor);
    const char *shown = text;
    if (token && token[0] && EngLanguagesHaveLanguages() && EngLanguagesDoesTokenExist(token))
        shown = EngLanguagesGetString(token, 0);
    button->SetText(shown && shown[0] ? shown : nullptr);
}

void MWinWindow::UpdateHideAndExtraButtons(char rebuild_hide, char rebuild_extra, char)
{
    const char *where = "MWinWindow::UpdateHideAndExtraButtons";
    if (!m_info.m_has_hide_button || rebuild_hide) {
        delete m_hide_button;
        m_hide_button = nullptr;
    }
    if (!m_info.m_has_extra_button || rebuild_extra) {
        delete m_extra_button;
        m_extra_button = nullptr;
    }
    if (!m_info.m_has_hide_button && !m_info.m_has_extra_button)
        return;
    _MWinLayoutSettings *l = GetScreenLayout();
    if (!l)
        return;
    float bw = l->m_title_button_w, bh = l->m_title_button_h;
    float left = l->m_title_button_inset, right = m_w - l->m_title_button_inset - bw;
    float hide_x = l->m_title_buttons_swapped == 1 ? right : left;
    float extra_x = l->m_title_buttons_swapped == 1 ? left : right;
    float y = -l->m_title_h / 2 - bh / 2 + l->m_title_button_y;

    if (m_info.m_has_hide_button && !m_hide_button) {
        if (!m_info.m_hide_texbut[0])
            EngSafeStrcpy(m_info.m_hide_texbut, "MWIN_TEXBUT_DEFAULT", sizeof(m_info.m_hide_texbut));
        m_hide_button = MakeTitleButton("STD_HIDE", m_info.m_hide_texbut, hide_x, y, bw, bh);
        if (!m_hide_button)
            DebugError(where, "Could not create hide button");
    }
    if (m_info.m_has_extra_button && !m_extra_button) {
        if (!m_info.m_extra_texbut[0])
            EngSafeStrcpy(m_info.m_extra_texbut, "MWIN_TEXBUT_DEFAULT", sizeof(m_info.m_extra_texbut));
        m_extra_button = MakeTitleButton("STD_EXTRA", m_info.m_extra_texbut, extra_x, y, bw, bh);
        if (!m_extra_button)
            DebugError(where, "Could not create extra button");
    }
    if (m_hide_button)
        PlaceTitleButton(m_hide_button, m_info.m_hide_text, m_info.m_hide_token, hide_x, y, bw, bh);
    if (m_extra_button)
        PlaceTitleButton(m_extra_button, m_info.m_extra_text, m_info.m_extra_token, extra_x, y, bw, bh);
}

void MWinWindow::UpdateAreas(char keep_title_buttons)
{
    _MWinLayoutSettings *l = GetScreenLayout();
    m_body_area = {0, 0, m_area.w, m_area.h};
    if (m_info.m_has_title_bar && l) {
        m_title_area = {0, -l->m_title_h, m_area.w, l->m_title_h};
        m_title_text_area = m_title_area;
        if (m_info.m_has_hide_button || m_info.m_has_extra_button) {
            float narrow = l->m_title_button_inset + l->m_title_button_w;
            m_title_text_area.x += narrow;
            m_title_text_area.w -= 2 * narrow;
        }
        if (!keep_title_buttons)
            UpdateHideAndExtraButtons(0, 0, 1);
    } else {
        m_title_area = {0, 0, 0, 0};
        m_title_text_area = {0, 0, 0, 0};
    }
    // Every layout change returns the content to its start.
    UpdateScrollbars();
}

// Graphics.

char MWinWindow::CreateGraphics()
{
    char ok = 1;
    for (MWinGroup *g = m_first_group; g; g = g->GetNext())
        if (!g->CreateGraphics())
            ok = 0;
    return ok;
}

void MWinWindow::DestroyGraphics()
{
    for (MWinGroup *g = m_first_group; g; g = g->GetNext())
        g->DestroyGraphics();
}

char MWinWindow::Render()
{
    MWinTextures *textures = m_mwin ? m_mwin->GetTextures() : nullptr;
    if (!m_valid || !m_collection || !textures || !m_shown)
        return 1;
    _MWinTextureState state = m_active ? MWTS_HIGHLIGHTED : MWTS_NORMAL;
    const _ColourRGBA *multiplier = m_multiplier_on ? &m_multiplier : nullptr;
    _MWinLayoutSettings *l = GetScreenLayout();

    if (m_info.m_has_title_bar && l) {
        textures->DrawTexBut(m_title_texbut, state, m_area.x + m_title_area.x, m_area.y + m_title_area.y,
                             m_title_area.w, m_title_area.h, multiplier);
        const char *title = m_info.m_title;
        if (m_title_token_num >= 0)
            title = EngLanguagesGetString(m_title_token_num, 0);
        EngFont *font = m_mwin->GetFonts() ? m_mwin->GetFonts()->GetFont(m_font_num) : nullptr;
        if (title && title[0] && m_font_num != MWIN_FONT_NONE && font) {
            float sx = m_title_scale_x, sy = m_title_scale_y;
            if (l->m_text_scale_x > 0 && l->m_text_scale_y > 0) {
                sx *= l->m_text_scale_x;
                sy *= l->m_text_scale_y;
            }
            if (m_scaled) {
                sx *= eng_font_scale_x;
                sy *= eng_font_scale_y;
            }
            font->SetScale(sx, sy);
            _ColourRGBA colour = m_title_colour;
            if (m_multiplier_on)
                colour = {colour.r * m_multiplier.r, colour.g * m_multiplier.g, colour.b * m_multiplier.b,
                          colour.a * m_multiplier.a};
            font->SetColourRGBA(&colour);
            _Vector2d offset = {m_area.x, m_area.y};
            m_mwin->DrawTextLineAllChars(m_font_num, m_title_align, l->m_title_text_inset, m_title_text_area.x,
                                         m_title_text_area.y, m_title_text_area.w, m_title_text_area.h, &offset,
                                         title, 1, 1);
        }
        // Drawn uncropped: they stand on the title bar, outside the body.
        if (m_hide_button && m_hide_button->IsShown())
            m_hide_button->RenderUnchecked();
        if (m_extra_button && m_extra_button->IsShown())
            m_extra_button->RenderUnchecked();
    }

    if (m_back_texbut >= 0) {
        _Dimension body = m_area;
        if (m_scrolling_on && m_scroll_size[MWIN_AXIS_VERT] > 0 && l)
            body.w -= l->m_win_vscroll_w;
        else if (m_scrolling_on && m_scroll_size[MWIN_AXIS_HORZ] > 0 && l)
            body.h -= l->m_win_hscroll_h;
        textures->DrawTexButInArea(m_back_texbut, state, &body, multiplier);
    }
    RenderScrollbars();
    for (MWinGroup *g = m_first_group; g; g = g->GetNext())
        g->Render();
    return 1;
}

char MWinWindow::Tick()
{
    if (!m_shown)
        return 0;
    if (EngMiscIsTabletPlatform() && m_scroller.Tick())
        return 1;
    char changed = 0;
    for (MWinGroup *g = m_first_group; g; g = g->GetNext())
        if (g->Tick())
            changed = 1;
    return changed;
}

void MWinWindow::LanguageChanged()
{
    SetTitleToken(m_info.m_title_token);
    UpdateHideAndExtraButtons(0, 0, 1);
    for (MWinGroup *g = m_first_group; g; g = g->GetNext())
        for (MWinButton *b = g->GetFirstButton(); b; b = b->GetNext())
            b->RefreshLangToken();
}
