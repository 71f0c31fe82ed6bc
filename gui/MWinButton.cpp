// The button base class: construction and destruction, the state flags,
// the press handling with its liveness check, and bound variables.
#include "gui/MWinButton.h"

#include "engine/core/EngDebug.h"
#include "engine/core/EngMisc.h"
#include "engine/runtime/EngMain.h"
#include "engine/runtime/EngProgram.h"
#include "engine/runtime/EngWindow.h"
#include "gui/MWin.h"
#include "gui/MWinCollection.h"
#include "gui/MWinFonts.h"
#include "gui/MWinGroup.h"
#include "gui/MWinIDs.h"
#include "gui/MWinScreens.h"
#include "gui/MWinTextures.h"
#include "gui/MWinWindow.h"

#include <cstdlib>
#include <cstring>

namespace {

int live_count = 0;
// Serials are never reused, so an old serial never matches a new control.
unsigned long next_serial = 0;
// One toolkit-wide guard: Enable re-runs the window's mouse move, which
// may enable controls again.
bool enabling = false;

// The kinds that start interactive; the others become so when set up.
const _MWinButtonType kInteractiveKinds[] = {MWBT_NONE, MWBT_PUSH, MWBT_STATIC, MWBT_CHECKBOX};

} // namespace

MWinButton::MWinButton(MWin *mwin, const char *id, MWinGroup *group, _MWinButtonType type, const char *texbut_id,
                       const char *text, float x, float y, float w, float h)
    : m_shown(0), m_mwin(nullptr), m_window(nullptr), m_group(nullptr), m_prev(nullptr), m_next(nullptr),
      m_type(static_cast<_MWinButtonType>(-1)), m_id{}, m_serial(0), m_enabled(0), m_active(0), m_pressed(0),
      m_interactive(0), m_on_screen(0), m_dragging(0), m_editing(0), m_dim{}, m_screen{}, m_crop{},
      m_text_margin(0), m_shrink_to_fit(0), m_font_id{}, m_font_num(MWIN_FONT_DEFAULT),
      m_text_colour{0, 0, 0, 1}, m_text_scale_x(1), m_text_scale_y(1), m_text_align(MWTA_CENTER),
      m_multiplier{1, 1, 1, 1}, m_multiplier_mode(0), m_texbut_id{}, m_texbut(-1), m_callback_a(nullptr),
      m_callback_b(nullptr), m_callback_c(nullptr), m_callback_int_a(0), m_callback_int_b(0),
      m_callback_user(nullptr), m_has_callback(0)
{
    m_serial = ++next_serial;
    if (!DebugCheckFatalPlainName(mwin != nullptr, "MWinButton::MWinButton", "No mw"))
        return;
    m_mwin = mwin;
    MWinCopyID(m_id, id);
    if (!DebugCheckFatalPlainName(group != nullptr, "MWinButton::MWinButton", "No Group"))
        return;
    if (!DebugCheckFatalPlainName(group->GetWindow() != nullptr, "MWinButton::MWinButton", "No Window"))
        return;
    m_group = group;
    m_window = group->GetWindow();
    m_type = type;
    m_enabled = 1;
    m_shown = 1;
    m_shrink_to_fit = mwin->GetSettingsP()->m_shrink_to_fit;
    SetBackTexButToTexBut(texbut_id);

    _MWinLayoutSettings *layout = GetLayoutSettings();
    if (type != MWBT_NONE) {
        if (!layout)
            return;
        if (w < 0)
            w = layout->m_button_w;
        if (h < 0)
            h = layout->m_button_h;
    }
    if (x < 0)
        x = m_window->GetDesignWidth() / 2 - w / 2;
    if (y < 0)
        y = m_window->GetDesignHeight() / 2 - h / 2;
    SetPosAndSize(x, y, w, h);
    SetFont("MWIN_FONT_DEFAULT");
    SetTypeDefaults();

    m_valid = 1;
    int r = EngMiscRand() % 65533;
    m_valid_ids[0] = static_cast<unsigned short>(r + 1);
    m_valid_ids[1] = static_cast<unsigned short>(r + 2);
    SetText(text);
    SetText2("");
    SetLangToken("");
    live_count++;
}

MWinButton::~MWinButton()
{
    if (m_mwin && m_mwin->IsOn() && m_window && m_window->GetCollection())
        m_mwin->RemoveAnyQueuedMessagesForButton(this, m_window, m_window->GetCollection());
    if (m_window)
        m_window->ForgetButton(this);
    if (m_group)
        m_group->Unlink(this);
    if (IsValid())
        FreeAllText();
    TextEditFreeBuffer();
    PanelFreeArrays();
    DestroyGraphics();
    if (m_text_allocs)
        DebugError("MWinButton::~MWinButton", "Text alloc count: %d", m_text_allocs);
    if (m_valid)
        live_count--;
    m_valid = 0;
    m_valid_ids[0] = 0;
    m_serial = 0;
}

int MWinButton::GetLiveCount()
{
    return live_count;
}

char MWinButton::IsValid() const
{
    return m_valid == 1 && m_valid_ids[1] == static_cast<unsigned short>(m_valid_ids[0] + 1);
}

void MWinButton::SetTypeDefaults()
{
    for (_MWinButtonType kind : kInteractiveKinds)
        if (m_type == kind)
            m_interactive = 1;
    if (m_type == MWBT_PANEL)
        PanelSetUp();
}

void MWinButton::RequestRender()
{
    if (eng_main_program)
        eng_main_program->RequestRenderWhenNeeded();
}

// The virtual operations.

char MWinButton::CreateGraphics()
{
    // A custom texture button only borrows engine textures: nothing to load.
    RecalculateArea();
    return 1;
}

void MWinButton::DestroyGraphics() {}

void MWinButton::AreaChanged()
{
    if (m_type == MWBT_PANEL)
        PanelUpdateNumPerPageVar(-99);
    RequestRender();
}

char MWinButton::Tick(char)
{
    if (!m_interactive || !m_enabled || !m_shown)
        return 0;
    switch (m_type) {
    case MWBT_TEXT_EDIT:
        return TextEditTick();
    case MWBT_LIST:
        return m_list_open ? ListTick() : 0;
    case MWBT_PANEL:
        return 0;
    default:
        return TickPicture();
    }
}

char MWinButton::HandleMouseButtonPressed(char button, char down, char)
{
    if (!m_interactive)
        return 0;
    if (!m_active || !m_enabled || !m_shown) {
        m_pressed = 0;
        m_dragging = 0;
        return 0;
    }
    if (m_type == MWBT_PANEL)
        return PanelHandleMouseButtonPressed(button, down);
    if (m_type == MWBT_LIST && button == 0)
        return ListHandleMouseButtonPressed(down);
    if (button != 0)
        return 0;
    RequestRender();
    if (down && m_type == MWBT_CHECKBOX) {
        CheckboxSet(!m_check_state, 1);
        return 1;
    }
    if (down && m_type == MWBT_CHOICE) {
        int item = ChoiceGetItemFromMousePos(1);
        if (item < 0)
            return 0;
        int previous = m_choice_sel;
        MWin *mwin = m_mwin;
        // The callback may delete this control: the hook goes through the toolkit.
        ChoiceSetSel(item, 2);
        if (item != previous && mwin && mwin->IsOn())
            mwin->CallEventHook(2);
        return 1;
    }
    if (down) {
        m_pressed = 1;
        return 1;
    }
    if (m_pressed && m_type == MWBT_TEXT_EDIT) {
        m_pressed = 0;
        TextEditHandleMousePress();
        return 1;
    }
    if (m_pressed) {
        m_pressed = 0;
        // The receiver may delete this control: nothing after the call.
        CallCallback(nullptr);
        return 1;
    }
    if (m_dragging) {
        m_dragging = 0;
        return 0;
    }
    return 1;
}

char MWinButton::HandleMouseButtonReleased(char button)
{
    if (!m_interactive || !m_active || !m_shown || !m_enabled || button != 0)
        return 0;
    if (m_type == MWBT_CHECKBOX) {
        CheckboxSet(!m_check_state, 1);
        return 1;
    }
    if (m_type != MWBT_PANEL)
        return 0;
    MWin *mwin = m_mwin;
    PanelRecompute();
    PanelSetPos(m_panel_pos, 2, 2);
    if (mwin && mwin->IsOn())
        mwin->CallEventHook(2);
    return 1;
}

char MWinButton::CancelPress()
{
    if (m_interactive) {
        m_pressed = 0;
        m_dragging = 0;
    }
    return 0;
}

void MWinButton::HandleMouseMove()
{
    if (!m_interactive || !m_shown)
        return;
    // A release outside the program's window never reaches the control: a
    // dragged thumb must not go on following a pointer with no button held.
    if (MWinTakeReleasedOutside())
        CancelPress();
    if (m_type == MWBT_PANEL && m_dragging) {
        PanelHandleMouseMove();
        return;
    }
    if (m_type == MWBT_LIST && m_list_open) {
        ListHandleMouseMove();
        return;
    }
    m_dragging = 0;
}

char MWinButton::HandleMouseWheel(int count)
{
    if (!m_interactive || !m_active || !m_shown)
        return 0;
    if (m_type == MWBT_LIST)
        return ListHandleMouseWheel(count);
    if (m_type != MWBT_PANEL)
        return 0;
    m_panel_scroll -= static_cast<float>(count);
    PanelClampScroll();
    PanelRecompute();
    return 1;
}

char MWinButton::HandleKeyDown(int key)
{
    if (!m_interactive || !m_active || !m_shown)
        return 0;
    if (m_type == MWBT_PUSH && (key == 13 || key == 32)) {
        CallCallback(nullptr);
        return 1;
    }
    // A handler whose receiver moved the control to another window or group
    // (or removed it) used the key: it must not be offered to anything else.
    // A control that left its window is no longer found under its old ids.
    const MWinButtonIdentity self(this);
    MWinGroup *group = m_group;
    char handled;
    switch (m_type) {
    case MWBT_TEXT_EDIT:
        handled = TextEditHandleKeyDown(key);
        break;
    case MWBT_CHOICE:
        handled = ChoiceHandleKeyDown(key);
        break;
    case MWBT_PANEL:
        handled = PanelHandleKeyDown(key);
        break;
    case MWBT_LIST:
        handled = ListHandleKeyDown(key);
        break;
    default:
        return 0;
    }
    if (!self.StillAlive() || m_group != group)
        return 1;
    return handled;
}

char MWinButton::HandleKeyDownUChar(unsigned char ch)
{
    if (m_type != MWBT_TEXT_EDIT || !m_interactive || !m_active || !m_shown)
        return 0;
    return TextEditHandleKeyDownUChar(ch);
}

char MWinButton::HandleKeyUp(int)
{
    return 0;
}

char MWinButton::IsCapturingInput()
{
    if (!m_interactive || !m_active)
        return 0;
    switch (m_type) {
    case MWBT_TEXT_EDIT:
        return m_editing;
    case MWBT_LIST:
        return m_list_open;
    case MWBT_PANEL:
    case MWBT_KIND_13:
    case MWBT_RANGE_SLIDER:
        return m_dragging;
    default:
        return 0;
    }
}

bool MWinIsOpenList(MWinButton *button)
{
    return button && button->GetType() == MWBT_LIST && button->IsCapturingInput();
}

void MWinButton::Activate()
{
    if (!m_active) {
        m_active = 1;
        RequestRender();
    }
}

char MWinButton::Deactivate()
{
    if (m_type == MWBT_LIST)
        ListClose(0, 0);
    char result = CancelPress();
    m_dragging = 0;
    if (m_active) {
        m_active = 0;
        RequestRender();
    }
    // Last: the end-of-editing callback may delete this control.
    if (m_type == MWBT_TEXT_EDIT && m_editing)
        TextEditTurnOffEditing(0);
    return result;
}

// State.

char MWinButton::DeactivateSurvives()
{
    const MWinButtonIdentity self(this);
    Deactivate();
    return self.Survived();
}

void MWinButton::Hide()
{
    if (m_active && !DeactivateSurvives())
        return;
    m_shown = 0;
    RequestRender();
}

void MWinButton::Enable()
{
    if (m_enabled || enabling)
        return;
    enabling = true;
    m_enabled = 1;
    if (m_shown && m_window && m_mwin && m_mwin->IsPointerInDimension(&m_screen, nullptr))
        m_window->HandleMouseMove();
    enabling = false;
    RequestRender();
}

void MWinButton::Disable()
{
    if (!m_enabled)
        return;
    if (m_active && !DeactivateSurvives())
        return;
    m_enabled = 0;
    RequestRender();
}

void MWinButton::SetEnabled(char on)
{
    if (on)
        Enable();
    else
        Disable();
}

char MWinButton::CanBeActive()
{
    if (!m_enabled || !m_shown || m_type == MWBT_STATIC || m_type == MWBT_KIND_16)
        return 0;
    if (m_type == MWBT_PUSH && m_window && !m_window->GetController(0) && !m_callback_a && !m_callback_b &&
        !m_callback_c)
        return 0;
    return 1;
}

char MWinButton::SetEscapeButtonForParentWindow()
{
    if (!m_window) {
        DebugError("MWinButton::SetEscapeButtonForParentWindow", "No parent");
        return 0;
    }
    m_window->SetEscapeButton(this);
    return 1;
}

char MWinButton::SetDefaultButtonForParentWindow()
{
    if (!m_window) {
        DebugError("MWinButton::SetDefaultButtonForParentWindow", "No parent");
        return 0;
    }
    m_window->SetDefaultButton(this);
    return 1;
}

_MWinTextureState MWinButton::GetTextureState()
{
    if (!m_enabled)
        return MWTS_DISABLED;
    if (m_pressed)
        return MWTS_PRESSED;
    return m_active ? MWTS_HIGHLIGHTED : MWTS_NORMAL;
}

// Callbacks.

char MWinButton::SetCallback(MWinButtonCallback callback, int a, int b, char check_controller)
{
    if (check_controller && callback && m_window && m_window->GetController(0)) {
        DebugError("MWinButton::SetCallback", "Use controller");
        return 0;
    }
    m_callback_a = callback;
    m_callback_b = nullptr;
    m_callback_c = nullptr;
    m_callback_int_a = a;
    m_callback_int_b = b;
    m_has_callback = 1;
    return 1;
}

char MWinButton::SetCallback(MWinButtonCallbackUser callback, int a, int b, void *user, char check_controller)
{
    if (check_controller && callback && m_window && m_window->GetController(0)) {
        DebugError("MWinButton::SetCallback", "Use controller");
        return 0;
    }
    m_callback_b = callback;
    m_callback_a = nullptr;
    m_callback_c = nullptr;
    m_callback_int_a = a;
    m_callback_int_b = b;
    m_callback_user = user;
    m_has_callback = 1;
    return 1;
}

char MWinButton::SetPlainCallback(MWinButtonPlainCallback callback, void *user)
{
    if (callback && m_window && m_window->GetController(0)) {
        DebugError("MWinButton::SetPlainCallback", "Use controller");
        return 0;
    }
    m_callback_c = callback;
    m_callback_user = user;
    m_callback_a = nullptr;
    m_callback_b = nullptr;
    m_callback_int_a = 0;
    m_callback_int_b = 0;
    m_has_callback = 1;
    return 1;
}

char MWinButton::HasCallback()
{
    return (m_window && m_window->GetController(0)) || m_callback_a || m_callback_b || m_callback_c;
}

void MWinButton::FillCallbackInfo(_MWinButtonCallbackInfo *info)
{
    std::memset(info, 0, sizeof(*info));
    std::memcpy(info->m_button_id, m_id, sizeof(m_id));
    if (m_window)
        std::memcpy(info->m_window_id, m_window->GetID(), MWIN_ID_SIZE);
    info->m_button = this;
}

MWinButtonIdentity::MWinButtonIdentity(MWinButton *button)
    : mwin(button->GetMWin()), collection_id{}, window_id{}, button_id{}, serial(button->GetSerial()),
      window(button->GetWindow()), group(button->GetGroup()), found_before(false)
{
    std::memcpy(button_id, button->GetID(), MWIN_ID_SIZE);
    if (window) {
        std::memcpy(window_id, window->GetID(), MWIN_ID_SIZE);
        if (window->GetCollection())
            std::memcpy(collection_id, window->GetCollection()->GetID(), MWIN_ID_SIZE);
    }
    found_before = Find() == button;
}

MWinButton *MWinButtonIdentity::Find() const
{
    if (!eng_main_program || !eng_main_window || !mwin->IsOn())
        return nullptr;
    MWinButton *found = mwin->GetButtonFromIDs(collection_id, window_id, button_id, 0);
    return found && found->GetSerial() == serial ? found : nullptr;
}

MWinButton *MWinButtonIdentity::FindInPlace() const
{
    MWinButton *found = Find();
    // Compared, never read: the old window and group may be gone.
    return found && found->GetWindow() == window && found->GetGroup() == group ? found : nullptr;
}

char MWinButton::CallCallback(_MWinButtonCallbackInfo *info)
{
    const MWinButtonIdentity self(this);
    const bool push = m_type == MWBT_PUSH;
    _MWinButtonCallbackInfo filled;
    if (!info) {
        FillCallbackInfo(&filled);
        info = &filled;
    }

    MWinCollectionController *controller = m_window ? m_window->GetController(0) : nullptr;
    if (controller) {
        char handled = controller->ButtonPressedCB(this, info);
        if (!self.StillAlive())
            return 0;
        if (handled && push)
            self.mwin->CallEventHook(0);
        RequestRender();
        return 1;
    }

    MWinButtonCallback a = m_callback_a;
    MWinButtonCallbackUser b = m_callback_b;
    MWinButtonPlainCallback c = m_callback_c;
    int int_a = m_callback_int_a, int_b = m_callback_int_b;
    void *user = m_callback_user;
    if (a)
        a(self.mwin, info, int_a, int_b);
    else if (c)
        c(user);
    else if (b)
        b(self.mwin, info, int_a, int_b, user);
    else
        return 0;
    if (!self.StillAlive())
        return 0;
    if (push)
        self.mwin->CallEventHook(0);
    RequestRender();
    return 1;
}

// Variables.

char MWinButton::RegisterIntVariable(int *variable, int multiplier)
{
    if (multiplier == 0) {
        DebugError("MWinButton::RegisterIntVariable", "ID: %s - 0 val passed as mult", m_id);
        return 0;
    }
    m_var_kind = variable ? VAR_INT : VAR_NONE;
    m_var_int = variable;
    m_var_int_mult = multiplier;
    return 1;
}

char MWinButton::RegisterCharVariable(char *variable)
{
    m_var_kind = variable ? VAR_CHAR : VAR_NONE;
    m_var_char = variable;
    return 1;
}

char MWinButton::RegisterFloatVariable(float *variable, float multiplier)
{
    m_var_kind = variable ? VAR_FLOAT : VAR_NONE;
    m_var_float = variable;
    m_var_float_mult = multiplier;
    return 1;
}

void *MWinButton::GetContext(char report)
{
    if (!m_context && report)
        DebugError("MWinButton::GetContext", "No context (ID: %s)", m_id);
    return m_context;
}
