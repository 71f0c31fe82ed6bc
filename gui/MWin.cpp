// The toolkit's root: life, settings and layouts, input routing, the
// one-slot message queue, lookups, the two render passes and text drawing.
#include "gui/MWin.h"

#include "engine/core/EngDebug.h"
#include "engine/core/EngMath.h"
#include "engine/core/EngMisc.h"
#include "engine/graphics/EngFont.h"
#include "engine/graphics/EngFontDraw.h"
#include "engine/runtime/EngDevice.h"
#include "engine/runtime/EngMain.h"
#include "engine/runtime/EngProgram.h"
#include "engine/runtime/EngWindow.h"
#include "gui/EngMenu.h"
#include "gui/MWinDrawState.h"
#include "gui/MWinButton.h"
#include "gui/MWinCollection.h"
#include "gui/MWinDesktop.h"
#include "gui/MWinFonts.h"
#include "gui/MWinIDs.h"
#include "gui/MWinScreens.h"
#include "gui/MWinTextures.h"
#include "gui/MWinWindow.h"

#include <cstring>
#include <new>

namespace {

// The metrics that differ between the five layouts, by layout 0 to 4.
struct LayoutColumn {
    float title_h, title_button_w, title_button_h, title_button_inset, button_w, button_h;
    float inner_border_y, win_scroll, win_thumb, panel_text_inset, choice_inset, script_inset_x, script_inset_y;
    float tab_header_h;
};

const LayoutColumn kLayoutColumns[MWIN_NUM_LAYOUTS] = {
    {30, 50, 22, 5, 60, 20, 3, 30, 28, 3, 3, 5, 5, 20},
    {50, 140, 36, 6, 100, 45, 6, 20, 20, 7, 6, 12, 8, 22},
    {55, 100, 50, 4, 60, 65, 6, 14, 14, 4, 3, 8, 5, 36},
    {35, 90, 28, 7, 60, 25, 3, 4, 4, 7, 6, 8, 5, 25},
    {40, 80, 33, 6, 60, 35, 3, 4, 4, 6, 3, 5, 5, 25},
};

_MWinLayoutSettings DefaultLayout(const LayoutColumn &c)
{
    _MWinLayoutSettings l;
    std::memset(&l, 0, sizeof(l));
    l.m_title_h = c.title_h;
    l.m_title_text_inset = 7;
    l.m_title_button_w = c.title_button_w;
    l.m_title_button_h = c.title_button_h;
    l.m_title_button_inset = c.title_button_inset;
    l.m_title_button_y = 0;
    l.m_title_buttons_swapped = 0;
    l.m_button_w = c.button_w;
    l.m_button_h = c.button_h;
    l.m_win_inner_border_x = 3;
    l.m_win_inner_border_y = c.inner_border_y;
    l.m_win_vscroll_w = c.win_scroll;
    l.m_win_vthumb_w = c.win_thumb;
    l.m_win_hscroll_h = l.m_win_vscroll_w;
    l.m_win_hthumb_h = l.m_win_vthumb_w;
    l.m_text_scale_x = 0;
    l.m_text_scale_y = 0;
    l.m_text_margin = 3;
    l.m_text_margin_per_w = 0;
    l.m_two_line_spacing = 10;
    l.m_panel_text_inset = c.panel_text_inset;
    l.m_arrow_inset = 3;
    l.m_hthumb_h = 12;
    l.m_hthumb_w = 24;
    l.m_vscrollbar_w = 12;
    l.m_vthumb_h = 24;
    l.m_panel_scrollbar_w = 15;
    l.m_panel_min_thumb_h = 3;
    l.m_hscroll_track_inset = 3;
    l.m_vscroll_track_inset = 3;
    l.m_list_arrow_w = 12;
    l.m_list_arrow_h = 12;
    l.m_list_arrow_margin = 3;
    l.m_checkbox_w = 12;
    l.m_checkbox_h = 12;
    l.m_checkbox_gap = 3;
    l.m_checkbox_offset = 3;
    l.m_choice_inset = c.choice_inset;
    l.m_script_inset_x = c.script_inset_x;
    l.m_script_inset_y = c.script_inset_y;
    l.m_tab_header_h = c.tab_header_h;
    l.m_tab_text_inset = 2;
    l.m_tab_divider_w = 1;
    l.m_tab_row_gap = 0;
    l.m_progress_border = 0;
    l.m_progress_inner_inset = 0.05f;
    l.m_slider_thumb_w = 8;
    l.m_slider_thumb_spacing = 24;
    l.m_colour_border_w = 2;
    l.m_colour_border_h = 2;
    return l;
}

// The float metrics that follow the toolkit's horizontal scale.
float _MWinLayoutSettings::*const kScaledFields[] = {
    &_MWinLayoutSettings::m_title_text_inset,   &_MWinLayoutSettings::m_title_button_inset,
    &_MWinLayoutSettings::m_win_vscroll_w,      &_MWinLayoutSettings::m_win_vthumb_w,
    &_MWinLayoutSettings::m_text_margin,        &_MWinLayoutSettings::m_panel_text_inset,
    &_MWinLayoutSettings::m_arrow_inset,        &_MWinLayoutSettings::m_vscrollbar_w,
    &_MWinLayoutSettings::m_panel_scrollbar_w,  &_MWinLayoutSettings::m_list_arrow_w,
    &_MWinLayoutSettings::m_list_arrow_margin,  &_MWinLayoutSettings::m_checkbox_w,
    &_MWinLayoutSettings::m_checkbox_gap,       &_MWinLayoutSettings::m_checkbox_offset,
    &_MWinLayoutSettings::m_choice_inset,       &_MWinLayoutSettings::m_script_inset_x,
    &_MWinLayoutSettings::m_tab_text_inset,     &_MWinLayoutSettings::m_slider_thumb_w,
    &_MWinLayoutSettings::m_slider_thumb_spacing,
};

} // namespace

MWin::MWin(Game *game)
    : m_game(game), m_queue_count(0), m_layout(0), m_screens(nullptr), m_is_on(0), m_desktop(nullptr), m_textures(nullptr), m_fonts(nullptr), m_mouse_x(0),
      m_mouse_y(0), m_pointer_x(0), m_pointer_y(0), m_texture_file_ext(ETFE_TGA), m_event_hook(nullptr),
      m_event_hook_user(nullptr), m_scale_on(1), m_entry_kind(0), m_entry_hidden(0),
      m_entry_auto_capitals(0)
{
    std::memset(&m_queue, 0, sizeof(m_queue));
    std::memset(m_hue_palette, 0, sizeof(m_hue_palette));
    for (auto &size : m_virtual_size) {
        size[0] = 640;
        size[1] = 480;
    }
    SetDefaultSettings();
    UpdateLayoutSettings();
    PopupResetAll();

    m_desktop = new (std::nothrow) MWinDesktop(this);
    if (!DebugCheckFatal(m_desktop != nullptr, "MWin::MWin", "Could not create desktop"))
        return;
    m_textures = new (std::nothrow) MWinTextures(this);
    if (!DebugCheckFatal(m_textures != nullptr, "MWin::MWin", "Could not create textures"))
        return;
    m_fonts = new (std::nothrow) MWinFonts(this);
    DebugCheckFatal(m_fonts != nullptr, "MWin::MWin", "Could not create fonts");
}

MWin::~MWin()
{
    Destroy();
}

void MWin::SetDefaultSettings()
{
    _MWinSettings &s = m_settings;
    std::memset(&s, 0, sizeof(s));
    std::memset(s.m_flags, 1, sizeof(s.m_flags));
    s.m_collection_focus_follows_mouse = 1;
    s.m_window_focus_follows_mouse = 1;
    s.m_bg_mode = 0;
    s.m_bg_texture = nullptr;
    s.m_disabled_text_alpha = 1.0f;
    s.m_shrink_to_fit = 1;
    s.m_choice_style = EngMiscIsDesktopPlatform() ? 2 : 0;
    std::memset(s.m_tab_panel_flags, 1, sizeof(s.m_tab_panel_flags));
    std::memset(s.m_progress_flags, 1, sizeof(s.m_progress_flags));
    s.m_progress_blend_type = -1;
    const float colours[9] = {0.8f, 0.3984f, 0.3984f, 0.3984f, 0.8f, 0.3984f, 0, 0, 0};
    std::memcpy(s.m_progress_colours, colours, sizeof(colours));
    for (int layout = 0; layout < MWIN_NUM_LAYOUTS; layout++)
        s.m_layouts[layout] = DefaultLayout(kLayoutColumns[layout]);
}

// Life.

void MWin::SetScreens(MWinScreens *screens)
{
    if (!DebugCheckFatal(m_screens == nullptr, "MWin::SetScreens", "Screens already set"))
        return;
    m_screens = screens;
}

MWinScreens *MWin::GetScreens()
{
    DebugCheckFatal(m_screens != nullptr, "MWin::GetScreens", "No screens");
    return m_screens;
}

unsigned int MWin::GetCurrentScreen()
{
    return m_screens ? m_screens->GetCurrentScreen() : 0;
}

char MWin::AreScreensOn()
{
    return m_screens && IsOn() && m_screens->IsOn();
}

Game *MWin::GetGame(char allow_null)
{
    if (!allow_null)
        DebugCheckFatal(m_game != nullptr, "MWin::GetGame", "No game");
    return m_game;
}

char MWin::Startup()
{
    if (m_is_on)
        DebugError("MWin::Startup", "MWin already on");
    m_is_on = 1;
    if (eng_device && !CreateGraphicsObjects())
        DebugError("MWin::Startup", "Could not create graphics objects");
    SetScreenLayoutForDevice();
    return 1;
}

char MWin::Shutdown()
{
    PopupCloseIfOn();
    if (m_desktop)
        m_desktop->RemoveAllCollections();
    if (!m_is_on)
        DebugError("MWin::Shutdown", "MWin not on");
    DestroyGraphicsObjects();
    m_mouse_x = -1;
    m_mouse_y = -1;
    m_is_on = 0;
    m_queue_count = 0;
    RequestRender();
    return 1;
}

void MWin::Destroy()
{
    if (m_is_on)
        Shutdown();
    if (m_desktop) {
        m_desktop->Destroy();
        delete m_desktop;
        m_desktop = nullptr;
    }
    m_screens = nullptr;
    delete m_textures;
    m_textures = nullptr;
    delete m_fonts;
    m_fonts = nullptr;
}

char MWin::IsOn()
{
    if (m_is_on == 1)
        return 1;
    if (m_is_on != 0)
        DebugError("MWin::IsOn", "m_is_on = %d.", m_is_on);
    return 0;
}

char MWin::CreateGraphicsObjects()
{
    if (!IsOn())
        return 1;
    char ok = 1;
    if (!DebugCheck(m_textures && m_textures->CreateTextures(), "MWin::CreateGraphicsObjects",
                    "Could not load textures"))
        ok = 0;
    if (!DebugCheck(m_fonts && m_fonts->CreateFonts(), "MWin::CreateGraphicsObjects", "Could not load fonts"))
        ok = 0;
    if (!m_desktop || !m_desktop->CreateGraphics())
        ok = 0;
    if (!CreateBgClearImage())
        ok = 0;
    if (!ColourCreateGraphics())
        ok = 0;
    ButtonsChanged();
    return ok;
}

char MWin::CreateBgClearImage()
{
    if (m_settings.m_bg_mode != 3) {
        m_bg_clear_image.Destroy();
        return 1;
    }
    EngTexture *image = m_settings.m_bg_texture;
    if (!image) {
        if (!m_bg_clear_image.LoadFromFileUsingExt(m_settings.m_bg_file, 0, 0, m_texture_file_ext)) {
            DebugError("MWin::CreateBgClearImage", "Could not load background image <%s>", m_settings.m_bg_file);
            m_settings.m_bg_mode = 1;
            return 0;
        }
        image = &m_bg_clear_image;
    }
    image->PositionRatioed(0, 0, 640, 480);
    return 1;
}

void MWin::DestroyGraphicsObjects()
{
    if (m_textures && m_textures->IsCreated())
        m_textures->DestroyTextures();
    if (m_fonts && m_fonts->IsCreated())
        m_fonts->DestroyFonts();
    if (m_desktop)
        m_desktop->DestroyGraphics();
    ColourDestroyGraphics();
    m_bg_clear_image.Destroy();
}

// Settings and layout.

void MWin::SetSettingsFlags(char a, char b, char c, char d)
{
    m_settings.m_flags[0] = a;
    m_settings.m_flags[1] = b;
    m_settings.m_flags[2] = c;
    m_settings.m_flags[3] = d;
}

void MWin::GetSettings(_MWinSettings *out)
{
    if (out)
        *out = m_settings;
}

void MWin::SetSettings(const _MWinSettings *in)
{
    if (in)
        m_settings = *in;
}

_MWinLayoutSettings *MWin::GetScreenLayout()
{
    return &m_layouts[m_layout];
}

_MWinLayoutSettings *MWin::GetLayoutSettings(int layout)
{
    return MWinIsValidLayout(layout) ? &m_layouts[layout] : nullptr;
}

float MWin::GetScale()
{
    return m_scale_on ? eng_font_scale_x : 1.0f;
}

void MWin::SetScreenLayoutForDevice()
{
    int layout;
    if (EngMiscIsDesktopPlatform())
        layout = MWIN_LAYOUT_NORMAL;
    else if (EngMiscIsTabletPlatform())
        layout = EngMainIsPortrait() ? MWIN_LAYOUT_IPAD_PORTRAIT : MWIN_LAYOUT_IPAD_LANDSCAPE;
    else
        layout = EngMainIsPortrait() ? MWIN_LAYOUT_IPHONE_PORTRAIT : MWIN_LAYOUT_IPHONE_LANDSCAPE;
    SetScreenLayout(layout);
}

void MWin::SetScreenLayout(int layout)
{
    // Any other number is the Normal layout.
    if (!MWinIsValidLayout(layout)) {
        DebugError("MWin::SetScreenLayout", "Invalid screen layout %d", layout);
        layout = MWIN_LAYOUT_NORMAL;
    }
    UpdateLayoutSettings();
    MWinCollection *active = m_desktop ? m_desktop->GetActiveCollection() : nullptr;
    if (active)
        active->Deactivate();
    m_layout = layout;
    if (m_desktop)
        for (MWinCollection *c = m_desktop->GetFirstCollection(); c; c = c->GetNext())
            c->SetScreenLayout(layout);
    if (active)
        active->Activate();
    PopupSelectSizesForPlatform();
}

void MWin::UpdateLayoutSettings()
{
    float scale = GetScale();
    for (int layout = 0; layout < MWIN_NUM_LAYOUTS; layout++) {
        _MWinLayoutSettings &working = m_layouts[layout];
        working = m_settings.m_layouts[layout];
        if (scale == 1.0f)
            continue;
        for (float _MWinLayoutSettings::*field : kScaledFields)
            working.*field *= scale;
        working.m_colour_border_w = EngMathRoundFloatToInt(scale * working.m_colour_border_w);
    }
}

void MWin::ButtonsChanged()
{
    if (!DebugCheck(m_desktop != nullptr, "MWin::ButtonsChanged", "No desktop"))
        return;
    if (!DebugCheck(eng_main_window != nullptr, "MWin::ButtonsChanged", "No main window"))
        return;
    UpdateLayoutSettings();
    if (EngMiscIsTabletPlatform()) {
        // No pointer hovers on a touch screen: the last touch stands.
        if (m_mouse_x < 0 || m_mouse_y < 0)
            return;
    } else {
        int x = 0, y = 0;
        eng_main_window->GetMousePos(&x, &y);
        EngMainConvertWindowPosToVirtualPos(static_cast<float>(x), static_cast<float>(y), &m_mouse_x, &m_mouse_y);
    }
    UpdatePointerPosition();
    m_desktop->MouseMove();
    m_desktop->ReactivateCollectionUnderMouse();
    m_desktop->MouseMove();
    RequestRender();
}

void MWin::LanguageChanged()
{
    if (!m_desktop)
        return;
    for (MWinCollection *c = m_desktop->GetFirstCollection(); c; c = c->GetNext())
        for (MWinWindow *w = c->GetFirstWindow(); w; w = w->GetNext())
            w->LanguageChanged();
}

void MWin::GetVirtualSize(float *w, float *h)
{
    if (w)
        *w = m_virtual_size[m_layout][0];
    if (h)
        *h = m_virtual_size[m_layout][1];
}

// Input.

char MWin::ButtonPressed(char button, char pressed, char extra)
{
    if (EngMenuMousePress(button, pressed))
        return 1;
    if (!DebugCheck(m_desktop != nullptr, "MWin::ButtonPressed", "No desktop"))
        return 0;
    return m_desktop->ButtonPressed(button, pressed, extra);
}

char MWin::MouseWheelMoved(int clicks)
{
    if (!DebugCheck(m_desktop != nullptr, "MWin::MouseWheelMoved", "No desktop"))
        return 0;
    return m_desktop->MouseWheel(clicks);
}

char MWin::KeyDownChar(int ch)
{
    if (!DebugCheck(m_desktop != nullptr, "MWin::KeyDownChar", "No desktop"))
        return 0;
    return m_desktop->KeyDownChar(ch);
}

char MWin::KeyDown(int key)
{
    if (!DebugCheck(m_desktop != nullptr, "MWin::KeyDown", "No desktop"))
        return 0;
    return m_desktop->KeyDown(key);
}

char MWin::KeyUp(int key)
{
    if (!DebugCheck(m_desktop != nullptr, "MWin::KeyUp", "No desktop"))
        return 0;
    return m_desktop->KeyUp(key);
}

char MWin::MouseMove(float x, float y)
{
    if (EngMenuMouseMove(static_cast<int>(x), static_cast<int>(y)))
        return 1;
    if (!DebugCheck(m_desktop != nullptr, "MWin::MouseMove", "No desktop"))
        return 0;
    EngMainConvertWindowPosToVirtualPos(x, y, &m_mouse_x, &m_mouse_y);
    UpdatePointerPosition();
    return m_desktop->MouseMove();
}

char MWin::MouseMoveInt(int x, int y)
{
    return MouseMove(static_cast<float>(x), static_cast<float>(y));
}

char MWin::Tick()
{
    PopupCheckTimeout();
    // A delivered press may have rebuilt the screen: the desktop waits a frame.
    if (ProcessQueueMessages())
        return 1;
    if (!DebugCheck(m_desktop != nullptr, "MWin::Tick", "No desktop"))
        return 0;
    return m_desktop->Tick();
}

namespace {

char IsPointInArea(float px, float py, const _Dimension *area, const _Vector2d *offset)
{
    if (!area)
        return 0;
    float x = area->x + (offset ? offset->x : 0.0f);
    float y = area->y + (offset ? offset->y : 0.0f);
    return px >= x && px < x + area->w && py >= y && py < y + area->h;
}

} // namespace

char MWin::IsPointerInDimension(const _Dimension *area, const _Vector2d *offset)
{
    return IsPointInArea(m_pointer_x, m_pointer_y, area, offset);
}

char MWin::IsMouseInDimension(const _Dimension *area, const _Vector2d *offset)
{
    return IsPointInArea(m_mouse_x, m_mouse_y, area, offset);
}

char MWin::IsAnyButtonEditing()
{
    if (!m_desktop)
        return 0;
    for (MWinCollection *c = m_desktop->GetFirstCollection(); c; c = c->GetNext()) {
        if (!c->IsActive())
            continue;
        MWinWindow *window = c->GetActiveWindow();
        MWinButton *button = window ? window->GetActiveButton() : nullptr;
        if (button && button->IsEditing())
            return 1;
    }
    return 0;
}

float MWin::PointerYBelowMenu(float mouse_y, float menu_h)
{
    if (menu_h <= 0 || menu_h >= 480)
        return mouse_y;
    return (mouse_y - menu_h) * 480.0f / (480.0f - menu_h);
}

void MWin::UpdatePointerPosition()
{
    m_pointer_x = m_mouse_x;
    float menu_h = EngMenuExists() && EngMenuIsEnabled() ? static_cast<float>(EngMenuGetHeight()) : 0.0f;
    m_pointer_y = PointerYBelowMenu(m_mouse_y, menu_h);
}

// The message queue.

char MWin::AddMessageToQueue(const char *collection_id, const char *window_id, const char *button_id,
                             _MWinMessageNum message)
{
    if (MWinIsIDInvalid(collection_id) || MWinIsIDInvalid(window_id) || MWinIsIDInvalid(button_id)) {
        DebugError("MWin::AddMessageToQueue", "ID(s) invalid");
        return 0;
    }
    if (m_queue_count > 0) {
        DebugError("MWin::AddMessageToQueue", "Queue not empty");
        return 0;
    }
    _MWinQueuedMessage queued;
    if (!MWinCopyID(queued.collection_id, collection_id) || !MWinCopyID(queued.window_id, window_id) ||
        !MWinCopyID(queued.button_id, button_id))
        return 0;
    queued.message = message;
    m_queue = queued;
    m_queue_count = 1;
    return 1;
}

char MWin::ProcessQueueMessages()
{
    if (m_queue_count == 0)
        return 0;
    if (m_queue_count > 1)
        DebugError("MWin::ProcessQueueMessages", "Num messages != 1");
    MWinButton *button = GetButtonFromIDs(m_queue.collection_id, m_queue.window_id, m_queue.button_id, 1);
    if (!button) {
        DebugError("MWin::ProcessQueueMessages", "mwinp->GetButtonFromIDs() failed [%s, %s, %s]",
                   m_queue.collection_id, m_queue.window_id, m_queue.button_id);
        m_queue_count = 0;
        return 0;
    }
    if (m_queue.message == MWMN_BUTTON_PRESSED)
        button->CallCallback(nullptr);
    m_queue_count = 0;
    return 1;
}

void MWin::RemoveAnyQueuedMessagesForButton(MWinButton *button, MWinWindow *window, MWinCollection *collection)
{
    if (!button || !window || !collection) {
        DebugErrorCode("MWin::RemoveAnyQueuedMessagesForButton", 'BAPA');
        return;
    }
    MWinButton *found = GetButtonFromIDs(collection->GetID(), window->GetID(), button->GetID(), 0);
    if (!found)
        return;
    if (found != button) {
        for (MWinButton *b = window->GetFirstButton(); b; b = b->GetNext())
            DebugError("MWin::RemoveAnyQueuedMessagesForButton", "(%s) [w:%s] [b:%s]", button->GetID(),
                       window->GetID(), b->GetID());
        DebugErrorCode("MWin::RemoveAnyQueuedMessagesForButton", 'IERR');
        return;
    }
    if (m_queue_count > 0 && MWinAreIDsTheSame(m_queue.collection_id, collection->GetID()) &&
        MWinAreIDsTheSame(m_queue.window_id, window->GetID()) &&
        MWinAreIDsTheSame(m_queue.button_id, button->GetID()))
        m_queue_count = 0;
}

// Lookups.

MWinCollection *MWin::GetCollectionFromID(const char *id, char report)
{
    if (!DebugCheck(m_desktop != nullptr, "MWin::GetCollectionFromID", "No desktop"))
        return nullptr;
    return m_desktop->GetCollectionFromID(id, report);
}

MWinWindow *MWin::GetWindowFromIDs(const char *collection_id, const char *window_id, char report)
{
    MWinCollection *collection = GetCollectionFromID(collection_id, report);
    if (!collection)
        return nullptr;
    if (MWinIsIDInvalid(window_id)) {
        if (report)
            DebugError("MWin::GetWindowFromIDs", "No Window ID");
        return nullptr;
    }
    return collection->GetWindowFromID(window_id, report);
}

MWinButton *MWin::GetButtonFromIDs(const char *collection_id, const char *window_id, const char *button_id,
                                   char report)
{
    MWinWindow *window = GetWindowFromIDs(collection_id, window_id, report);
    if (!window)
        return nullptr;
    if (MWinIsIDInvalid(button_id)) {
        if (report)
            DebugError("MWin::GetButtonFromIDs", "No Button ID");
        return nullptr;
    }
    return window->GetButtonFromID(button_id, report);
}

// Rendering.


void MWin::RenderMain()
{
    if (!eng_device || !IsOn())
        return;
    if (PopupRenderFullScreenTextEntryMobile(1))
        return;
    if (!DebugCheck(m_desktop != nullptr, "MWin::RenderMain", "No desktop"))
        return;

    bool began = false, prepared = false;
    switch (m_settings.m_bg_mode) {
    case 1:
        eng_device->ClearBackBuffer();
        break;
    case 2:
        eng_device->ClearBackBufferAndZBuffer();
        break;
    case 3: {
        began = eng_device->BeginRenderingIfNeeded();
        prepared = eng_device->PrepareFor2DIfNeeded(0);
        EngTexture *image = m_settings.m_bg_texture ? m_settings.m_bg_texture : &m_bg_clear_image;
        ToolkitDrawState state;
        image->Draw();
        break;
    }
    default:
        break;
    }
    if (m_settings.m_bg_mode != 3) {
        began = eng_device->BeginRenderingIfNeeded();
        prepared = eng_device->PrepareFor2DIfNeeded(0);
    }
    {
        ToolkitDrawState state;
        m_desktop->RenderMain();
    }
    if (began)
        eng_device->EndRendering();
    if (prepared)
        eng_device->RestoreAfter2D();
}

char MWin::RenderPopups()
{
    if (!eng_device || !IsOn())
        return 0;
    if (PopupRenderFullScreenTextEntryMobile(0))
        return 1;
    if (!DebugCheck(m_desktop != nullptr, "MWin::RenderPopups", "No desktop"))
        return 0;
    if (!m_popup_collection)
        return 0;
    bool began = eng_device->BeginRenderingIfNeeded();
    bool prepared = eng_device->PrepareFor2DIfNeeded(0);
    {
        ToolkitDrawState state;
        m_desktop->RenderPopupCollection();
    }
    if (began)
        eng_device->EndRendering();
    if (prepared)
        eng_device->RestoreAfter2D();
    return 1;
}

void MWin::RequestRender()
{
    if (eng_main_program)
        eng_main_program->RequestRenderWhenNeeded();
}

// Text drawing.

void MWin::DrawTextLine(int font_num, _MWinTextAlign align, float inset, float x, float y, float w, float h,
                        const _Vector2d *offset, const char *text, int max_chars, char prepare, char fit)
{
    EngFont *font = m_fonts ? m_fonts->GetFont(font_num) : nullptr;
    if (!font || !text || !text[0])
        return;
    inset *= eng_font_scale_x;
    if (offset) {
        x += offset->x;
        y += offset->y;
    }
    float scale_x = 1, scale_y = 1;
    font->GetScale(&scale_x, &scale_y);
    bool shrunk = false;
    if (fit) {
        float room = align == MWTA_CENTER ? w - 2 * inset : w - inset;
        // No room at all would scale the text to nothing or mirror it.
        if (room <= 0)
            return;
        float width = font->GetStringWidth(text);
        if (width > 0 && width >= room) {
            font->SetScale(scale_x * room / width, scale_y);
            shrunk = true;
        }
    }
    float anchor_x = align == MWTA_CENTER ? x + w / 2 : align == MWTA_RIGHT ? x + w : x + inset;
    font->DrawStringPartAligned(anchor_x, y + h / 2, static_cast<char>(align), 1, text, max_chars, 0, prepare);
    if (shrunk)
        font->SetScale(scale_x, scale_y);
}

void MWin::DrawTextLineInDimension(int font_num, _MWinTextAlign align, float inset, const _Dimension *area,
                                   const _Vector2d *offset, const char *text, int max_chars, char prepare, char fit)
{
    if (area)
        DrawTextLine(font_num, align, inset, area->x, area->y, area->w, area->h, offset, text, max_chars, prepare,
                     fit);
}

void MWin::DrawTextLineAllChars(int font_num, _MWinTextAlign align, float inset, float x, float y, float w, float h,
                                const _Vector2d *offset, const char *text, char prepare, char fit)
{
    DrawTextLine(font_num, align, inset, x, y, w, h, offset, text, 0, prepare, fit);
}

void MWin::DrawTextMultiline(int font_num, _MWinTextAlign align, float inset, const _Dimension *area,
                             const _Vector2d *offset, const char *text, char prepare)
{
    EngFont *font = m_fonts ? m_fonts->GetFont(font_num) : nullptr;
    if (!font || !area || !text || !text[0])
        return;
    float x = area->x + (offset ? offset->x : 0.0f);
    float y = area->y + (offset ? offset->y : 0.0f);
    float anchor_x = align == MWTA_CENTER ? x + area->w / 2 : align == MWTA_RIGHT ? x + area->w - inset : x + inset;
    bool prepared_here = prepare && !EngFontIsPreparedForDrawing();
    if (prepared_here)
        EngFontPrepareForDrawing(1);
    font->DrawMultilineText(anchor_x, y, area->w, area->h, static_cast<char>(align), 0, text, 1, 0, nullptr,
                            nullptr, nullptr, nullptr);
    if (prepared_here)
        EngFontRestoreAfterDrawing();
}

float MWin::AdjustXForScale(float x, float w)
{
    float f = eng_font_scale_x;
    return f != 1.0f ? x + (w - f * w) / 2 : x;
}

float MWin::AdjustYForScale(float y, float h)
{
    float f = eng_font_scale_y;
    return f != 1.0f ? y + (h - f * h) / 2 : y;
}

void MWin::CallEventHook(int event)
{
    if (m_event_hook)
        m_event_hook(event, m_event_hook_user);
}

char MWinTakeReleasedOutside()
{
    return eng_main_window && eng_main_window->WasLeftButtonReleasedOutside_PC();
}
