// The in-game weapon popup (see the header).
#include "screens/PopupScreen.h"

#include "engine/core/EngMemory.h"
#include "game/HW_Screens.h"
#include "game/HiveWatcher.h"
#include "game/Sidebar.h"
#include "game/Weapon.h"
#include "game/Weapons.h"
#include "gui/MWin.h"
#include "gui/MWinButton.h"
#include "gui/MWinCollection.h"
#include "gui/MWinDesktop.h"
#include "gui/MWinIDs.h"
#include "gui/MWinWindow.h"

#include <cstdio>
#include <initializer_list>
#include <new>

PopupCC *main_popup_cc = nullptr;

namespace {

const char *const COLLECTION = "Popup";

const _ScreenTextStyle centred = {"Main", 1, 1, 1, 0.7f, 0.9f, 0.95f, MWTA_CENTER};
const _ScreenTextStyle left = {"Main", 1, 1, 1, 0.7f, 0.9f, 0.95f, MWTA_LEFT};
const _ScreenTextStyle right = {"Main", 1, 1, 1, 0.7f, 0.9f, 0.95f, MWTA_RIGHT};
const _ScreenTextStyle target_right = {"Main", 1, 1, 1, 0.7f, 0.75f, 0.9f, MWTA_RIGHT};
const _ScreenTextStyle target_centred = {"Main", 1, 1, 1, 0.7f, 0.75f, 0.9f, MWTA_CENTER};

#define POPUP_STATIC(id, text, x, y, w, h, style)                                                                  \
    {id, SCA_BUTTON, MWBT_STATIC, "MWIN_TEXBUT_NONE", text, nullptr, x, y, w, h, &style, {0, 0, 0, 0}, 0}
#define POPUP_CONTROL(id, kind, text, x, y, w, h, style)                                                           \
    {id, SCA_BUTTON, kind, "MWIN_TEXBUT_DEFAULT", text, nullptr, x, y, w, h, &style, {0, 0, 0, 0}, 0}

const _ScreenControlRow sidebar_rows[PSC_COUNT] = {
    POPUP_STATIC("Title", "Unset", 0, 6, 140, 25, centred),
    POPUP_STATIC("Cost", "Unset", 90, 40, 50, 20, left),
    POPUP_STATIC("CostT", "Cost:", 10, 40, 80, 20, right),
    POPUP_STATIC("Reload", "Unset", 90, 90, 50, 20, left),
    POPUP_STATIC("DamageT", "Damage:", 10, 110, 80, 20, right),
    POPUP_STATIC("Damage", "Unset", 90, 110, 50, 20, left),
    POPUP_STATIC("ReloadT", "Reload Rate:", 10, 90, 80, 20, right),
    POPUP_STATIC("Slow", "Unset", 90, 130, 50, 20, left),
    POPUP_STATIC("SlowT", "Slowdown:", 10, 130, 80, 20, right),
    POPUP_STATIC("Range", "Unset", 90, 70, 50, 20, left),
    POPUP_STATIC("RangeT", "Range:", 10, 70, 80, 20, right),
};

const _ScreenControlRow weapon_rows[PWC_COUNT] = {
    POPUP_STATIC("Title", "Unset", 0, 6, 210, 25, centred),
    POPUP_STATIC("Reload", "Unset", 110, 74, 30, 20, centred),
    POPUP_STATIC("DamageT", "Damage:", 20, 90, 80, 20, right),
    POPUP_STATIC("Damage", "Unset", 110, 90, 30, 20, centred),
    POPUP_STATIC("ReloadT", "Reload Rate:", 20, 74, 80, 20, right),
    POPUP_STATIC("Slow", "Unset", 110, 106, 30, 20, centred),
    POPUP_STATIC("SlowT", "Slowdown:", 20, 106, 80, 20, right),
    POPUP_STATIC("Range", "Unset", 110, 58, 30, 20, centred),
    POPUP_STATIC("RangeT", "Range:", 20, 58, 80, 20, right),
    POPUP_STATIC("Reload2", "Unset", 160, 74, 30, 20, centred),
    POPUP_STATIC("Damage2", "Unset", 160, 90, 30, 20, centred),
    POPUP_STATIC("Slow2", "Unset", 160, 106, 30, 20, centred),
    POPUP_STATIC("Range2", "Unset", 160, 58, 30, 20, centred),
    POPUP_STATIC("Level", "Level X", 0, 32, 210, 20, centred),
    POPUP_CONTROL("Upgrade", MWBT_PUSH, "Upgrade", 10, 162, 115, 25, centred),
    POPUP_CONTROL("Sell", MWBT_PUSH, "Sell", 135, 162, 65, 25, centred),
    POPUP_STATIC("Arrow1", "->", 140, 58, 20, 20, left),
    POPUP_STATIC("Arrow2", "->", 140, 74, 20, 20, left),
    POPUP_STATIC("Arrow3", "->", 140, 90, 20, 20, left),
    POPUP_STATIC("Arrow4", "->", 140, 106, 20, 20, left),
    POPUP_CONTROL("FullUpgrade", MWBT_PUSH, "Full Upgrade", 10, 192, 190, 25, centred),
    // The label ends where the choice begins, so the choice does not cover
    // its colon.
    POPUP_STATIC("TargetT", "Target:", 3, 133, 37, 20, target_right),
    POPUP_CONTROL("Target", MWBT_CHOICE, "", 40, 133, 165, 20, target_centred),
};

// The landscape phone: larger windows, wider labels, and buttons and the
// choice 40 high for a finger.
const _ScreenControlRow phone_landscape_sidebar_rows[PSC_COUNT] = {
    POPUP_STATIC("Title", "Unset", 0, 5, 190, 30, centred),
    POPUP_STATIC("Cost", "Unset", 115, 40, 70, 24, left),
    POPUP_STATIC("CostT", "Cost:", 5, 40, 105, 24, right),
    POPUP_STATIC("Reload", "Unset", 115, 96, 70, 24, left),
    POPUP_STATIC("DamageT", "Damage:", 5, 122, 105, 24, right),
    POPUP_STATIC("Damage", "Unset", 115, 122, 70, 24, left),
    POPUP_STATIC("ReloadT", "Reload Rate:", 5, 96, 105, 24, right),
    POPUP_STATIC("Slow", "Unset", 115, 148, 70, 24, left),
    POPUP_STATIC("SlowT", "Slowdown:", 5, 148, 105, 24, right),
    POPUP_STATIC("Range", "Unset", 115, 70, 70, 24, left),
    POPUP_STATIC("RangeT", "Range:", 5, 70, 105, 24, right),
};

const _ScreenControlRow phone_landscape_weapon_rows[PWC_COUNT] = {
    POPUP_STATIC("Title", "Unset", 0, 5, 235, 30, centred),
    POPUP_STATIC("Reload", "Unset", 110, 88, 40, 24, centred),
    POPUP_STATIC("DamageT", "Damage:", 5, 114, 100, 24, right),
    POPUP_STATIC("Damage", "Unset", 110, 114, 40, 24, centred),
    POPUP_STATIC("ReloadT", "Reload Rate:", 5, 88, 100, 24, right),
    POPUP_STATIC("Slow", "Unset", 110, 140, 40, 24, centred),
    POPUP_STATIC("SlowT", "Slowdown:", 5, 140, 100, 24, right),
    POPUP_STATIC("Range", "Unset", 110, 62, 40, 24, centred),
    POPUP_STATIC("RangeT", "Range:", 5, 62, 100, 24, right),
    POPUP_STATIC("Reload2", "Unset", 180, 88, 45, 24, centred),
    POPUP_STATIC("Damage2", "Unset", 180, 114, 45, 24, centred),
    POPUP_STATIC("Slow2", "Unset", 180, 140, 45, 24, centred),
    POPUP_STATIC("Range2", "Unset", 180, 62, 45, 24, centred),
    POPUP_STATIC("Level", "Level X", 0, 36, 235, 24, centred),
    POPUP_CONTROL("Upgrade", MWBT_PUSH, "Upgrade", 10, 224, 135, 40, centred),
    POPUP_CONTROL("Sell", MWBT_PUSH, "Sell", 150, 224, 75, 40, centred),
    POPUP_STATIC("Arrow1", "->", 152, 62, 25, 24, left),
    POPUP_STATIC("Arrow2", "->", 152, 88, 25, 24, left),
    POPUP_STATIC("Arrow3", "->", 152, 114, 25, 24, left),
    POPUP_STATIC("Arrow4", "->", 152, 140, 25, 24, left),
    POPUP_CONTROL("FullUpgrade", MWBT_PUSH, "Full Upgrade", 10, 274, 215, 40, centred),
    POPUP_STATIC("TargetT", "Target:", 5, 174, 60, 40, target_right),
    POPUP_CONTROL("Target", MWBT_CHOICE, "", 70, 174, 155, 40, target_centred),
};

#undef POPUP_STATIC
#undef POPUP_CONTROL

// The other layouts build both windows as the Normal one.
const _ScreenWindowRow window_rows[PW_COUNT] = {
    {"Sidebar", 50, 30, 140, 160, "MWIN_TEXBUT_DEFAULT",
     {sidebar_rows, nullptr, phone_landscape_sidebar_rows, nullptr, nullptr}, PSC_COUNT},
    {"Weapon", 290, 30, 210, 224, "MWIN_TEXBUT_DEFAULT",
     {weapon_rows, nullptr, phone_landscape_weapon_rows, nullptr, nullptr}, PWC_COUNT},
};

// The landscape phone's window sizes, by window.
const float phone_landscape_sizes[PW_COUNT][2] = {{190, 180}, {235, 330}};

// A window's width and height as built in the layout.
void BuiltSize(int window, int layout, float size[2])
{
    const bool phone = layout == MWIN_LAYOUT_IPHONE_LANDSCAPE;
    size[0] = phone ? phone_landscape_sizes[window][0] : window_rows[window].w;
    size[1] = phone ? phone_landscape_sizes[window][1] : window_rows[window].h;
}

// The figure rows of a weapon type, hidden for a factory.
const char *const figure_ids[] = {"ReloadT", "RangeT", "DamageT", "SlowT", "Reload", "Range", "Damage", "Slow"};
// What else the Weapon window hides for a factory.
const char *const weapon_only_ids[] = {"Arrow1", "Arrow2", "Arrow3", "Arrow4", "Reload2", "Range2",
                                       "Damage2", "Slow2", "Sell", "TargetT", "Target", "FullUpgrade"};
const char *const target_modes[5] = {"Front", "Back", "Strong", "Weak", "Near"};

constexpr float FACTORY_SIDEBAR_H = 70.0f;
constexpr float FACTORY_WEAPON_H = 100.0f;

bool IsWeaponType(int type)
{
    return type < WEAPON_SHOOTING_TYPES;
}

int LevelsOf(int type)
{
    return IsWeaponType(type) ? WEAPON_LEVELS : 3;
}

void SetNumber(MWinButton *button, const char *format, int value)
{
    if (!button)
        return;
    char text[48];
    snprintf(text, sizeof(text), format, value);
    button->SetText(text);
}

void SetFigure(MWinButton *button, float value)
{
    if (!button)
        return;
    char text[32];
    snprintf(text, sizeof(text), "%.0f", value);
    button->SetText(text);
}

void SetTextAndEnabled(MWinButton *button, const char *text, char enabled)
{
    if (!button)
        return;
    button->SetText(text);
    button->SetEnabled(enabled);
}

Weapon *SelectedWeapon()
{
    if (weapons_selected < 0 || weapons_selected >= weapons_count)
        return nullptr;
    return weapons_list[weapons_selected];
}

// The weapon's square in 640 x 480 units.
_Dimension WeaponSquare(const Weapon *weapon)
{
    return {(weapon->m_x - weapon->m_draw_half + 1.0f) * 540.0f / 2.0f + 100.0f,
            (weapon->m_y - weapon->m_draw_half + 1.0f) * 480.0f / 2.0f, weapon->m_draw_size * 540.0f / 2.0f,
            weapon->m_draw_size * 480.0f / 2.0f};
}

// Centres the window on the weapon, its bottom edge level with the weapon's.
void PlaceOverWeapon(MWinWindow *win, const Weapon *weapon, float w, float h)
{
    const _Dimension square = WeaponSquare(weapon);
    win->SetPositionAndSize(square.x + square.w / 2.0f - w / 2.0f, square.y + square.h - h, w, h);
}


} // namespace

PopupCollectionController::PopupCollectionController(MWinScreens *screens)
    : ScreenController(screens, "PopupCollectionController", COLLECTION, window_rows, PW_COUNT)
{
}

void PopupCollectionController::AdjustWindowInfo(int window, int layout, _MWinWindowCreateInfo *info)
{
    float size[2];
    BuiltSize(window, layout, size);
    info->m_w = size[0];
    info->m_h = size[1];
    info->m_drag_mode = 2;
    EngSafeStrcpy(info->m_title_texbut, "Back3", sizeof(info->m_title_texbut));
}

PopupCC::PopupCC(MWinScreens *screens)
    : PopupCollectionController(screens), m_shown(0), m_price_above_money(0), m_weapon_window(nullptr),
      m_sidebar_window(nullptr), m_close_requested(0)
{
    main_popup_cc = this;
}

PopupCC::~PopupCC()
{
    if (main_popup_cc == this)
        main_popup_cc = nullptr;
}

void PopupCC::Forget()
{
    m_shown = 0;
    m_weapon_window = m_sidebar_window = nullptr;
    m_price_above_money = 0;
    ClearPointers();
}

char PopupCC::IsShown()
{
    if (!m_shown)
        return 0;
    MWinDesktop *desktop = m_mwin ? m_mwin->GetDesktop() : nullptr;
    if (!desktop || !desktop->DoesCollectionExist(COLLECTION))
        Forget();
    return m_shown;
}

char PopupCC::Show(char refresh)
{
    if (IsShown()) {
        if (refresh)
            StartingCB(nullptr);
        return 1;
    }
    Forget();
    CreateCollection(m_mwin);
    MWinDesktop *desktop = m_mwin ? m_mwin->GetDesktop() : nullptr;
    m_shown = desktop && desktop->DoesCollectionExist(COLLECTION);
    StartingCB(nullptr);
    m_close_requested = 0;
    return m_shown;
}

void PopupCC::Hide()
{
    if (!m_shown || !m_mwin || !m_mwin->GetDesktop())
        return;
    MWinDesktop *desktop = m_mwin->GetDesktop();
    if (desktop->DoesCollectionExist(COLLECTION))
        desktop->RemoveCollection(COLLECTION);
    Forget();
}

char PopupCC::IsMouseOver()
{
    if (!IsShown() || !m_weapon_window || !m_weapon_window->IsShown())
        return 0;
    _Dimension area;
    m_weapon_window->GetPosAndSize(&area);
    return m_mwin->IsMouseInDimension(&area, nullptr);
}

void PopupCC::TickCB()
{
    if (!m_close_requested)
        return;
    weapons_selected = -1;
    m_close_requested = 0;
    Hide();
}

MWinButton *PopupCC::Control(MWinWindow *win, const char *id)
{
    return win ? win->GetButtonFromID(id, 1) : nullptr;
}

void PopupCC::RestoreAsBuilt(int window, MWinWindow *win)
{
    const int layout = m_collection ? m_collection->GetScreenLayout() : MWIN_LAYOUT_NORMAL;
    const _ScreenControlRow *rows = GetRows(window, layout);
    _Dimension now;
    win->GetPosAndSize(&now);
    float size[2];
    BuiltSize(window, layout, size);
    win->SetPositionAndSize(now.x, now.y, now.w, size[1]);
    for (int i = 0; i < window_rows[window].num_controls; i++) {
        MWinButton *button = GetControl(window, i);
        if (!button)
            continue;
        button->m_shown = 1;
        button->SetPos(rows[i].x, rows[i].y);
    }
}

void PopupCC::ColourPrice(MWinButton *button, int price)
{
    if (!button)
        return;
    if (price > play_money) {
        button->SetTextColour(1, 0, 0, -1);
        m_price_above_money = 1;
    } else {
        button->SetTextColour(1, 1, 1, -1);
    }
}

void PopupCC::StartingCB(void *)
{
    if (!m_mwin)
        return;
    m_sidebar_window = m_mwin->GetWindowFromIDs(COLLECTION, "Sidebar", 1);
    m_weapon_window = m_mwin->GetWindowFromIDs(COLLECTION, "Weapon", 1);
    if (!m_sidebar_window || !m_weapon_window)
        return;
    // A locked slot is not described; a selected weapon then is.
    const bool slot = sidebar_hovered >= 0 && sidebar_hovered < SIDEBAR_BUTTONS && sidebar_enabled[sidebar_hovered];
    if (slot && !sidebar_placing) {
        if (!m_sidebar_window->IsShown())
            m_sidebar_window->SetShown(1);
        m_weapon_window->Hide();
        FillSidebar(sidebar_hovered);
        return;
    }
    if (weapons_selected < 0)
        return;
    m_weapon_window->SetShown(1);
    m_sidebar_window->Hide();
    FillWeapon();
}

void PopupCC::FillSidebar(int type)
{
    if (type > 11)
        return;
    MWinWindow *win = m_sidebar_window;
    // A fast mouse may go from a factory's slot straight to a weapon's.
    RestoreAsBuilt(PW_SIDEBAR, win);
    _Dimension slot, size;
    SidebarGetSideButtonPosition(type, 1, 0, 0, &slot);
    win->GetPosAndSize(&size);
    win->SetPositionAndSize(slot.x + slot.w + 10.0f, slot.y + slot.h / 2.0f - size.h / 2.0f, size.w, size.h);
    win->KeepOnScreen();
    const _WeaponLevelInfo &record = weapons_level_info[type][0];

    if (MWinButton *title = Control(win, "Title"))
        title->SetText(weapons_type_names[type]);
    m_price_above_money = 0;
    MWinButton *cost = Control(win, "Cost");
    SetNumber(cost, "%d", record.cost);
    ColourPrice(cost, record.cost);
    if (IsWeaponType(type)) {
        SetFigure(Control(win, "Reload"), record.reload_rate);
        SetFigure(Control(win, "Range"), record.range * 100.0f);
        SetFigure(Control(win, "Damage"), record.damage);
        SetFigure(Control(win, "Slow"), record.slowdown);
        return;
    }
    for (const char *id : figure_ids)
        if (MWinButton *button = Control(win, id))
            button->Hide();
    win->GetPosAndSize(&size);
    win->SetPositionAndSize(size.x, size.y - FACTORY_SIDEBAR_H / 2.0f + size.h / 2.0f, size.w, FACTORY_SIDEBAR_H);
}

void PopupCC::FillWeapon()
{
    Weapon *weapon = SelectedWeapon();
    if (!weapon)
        return;
    MWinWindow *win = m_weapon_window;
    RestoreAsBuilt(PW_WEAPON, win);
    const int type = weapon->m_type;
    const int level = weapon->m_level;
    _Dimension size;
    win->GetPosAndSize(&size);
    PlaceOverWeapon(win, weapon, size.w, size.h);
    win->Activate();
    win->KeepOnScreen();
    const _WeaponLevelInfo &record = weapons_level_info[type][level];

    if (MWinButton *title = Control(win, "Title"))
        title->SetText(weapons_type_names[type]);
    m_price_above_money = 0;
    const bool weapon_type = IsWeaponType(type);
    if (weapon_type) {
        SetFigure(Control(win, "Reload"), record.reload_rate);
        SetFigure(Control(win, "Range"), record.range * 100.0f);
        SetFigure(Control(win, "Damage"), record.damage);
        SetFigure(Control(win, "Slow"), record.slowdown);
    } else {
        for (const char *id : figure_ids)
            if (MWinButton *button = Control(win, id))
                button->Hide();
        for (const char *id : weapon_only_ids)
            if (MWinButton *button = Control(win, id))
                button->Hide();
        PlaceOverWeapon(win, weapon, size.w, FACTORY_WEAPON_H);
        win->KeepOnScreen();
        if (MWinButton *upgrade = Control(win, "Upgrade")) {
            _Dimension button;
            upgrade->GetDimension(&button);
            upgrade->SetPos(size.w / 2.0f - button.w / 2.0f, FACTORY_WEAPON_H - 40.0f);
        }
    }

    // What was paid so far, and what selling gives back of it.
    int paid = 0;
    for (int l = 0; l <= level && l < WEAPON_LEVELS; l++)
        paid += weapons_level_info[type][l].cost;
    if (MWinButton *sell = Control(win, "Sell")) {
        SetNumber(sell, "Sell (%d)", paid * record.sell_percent / 100);
        sell->SetEnabled(1);
    }
    SetNumber(Control(win, "Level"), "Level %d", level + 1);
    if (MWinButton *target = Control(win, "Target")) {
        target->ChoiceSetStrings(5, const_cast<const char **>(target_modes));
        target->ChoiceSetSel(weapon->m_target_mode, 0);
    }

    MWinButton *upgrade = Control(win, "Upgrade");
    MWinButton *full = Control(win, "FullUpgrade");
    const int levels = LevelsOf(type);
    if (level < levels - 1) {
        const int next = weapons_level_info[type][level + 1].cost;
        int all = 0;
        for (int l = level + 1; l < levels; l++)
            all += weapons_level_info[type][l].cost;
        SetNumber(upgrade, "Upgrade (%d)", next);
        if (upgrade)
            upgrade->SetEnabled(play_money >= next);
        ColourPrice(upgrade, next);
        SetNumber(full, "Full Upgrade (%d)", all);
        if (full)
            full->SetEnabled(play_money >= all);
        ColourPrice(full, all);
        if (weapon_type) {
            const _WeaponLevelInfo &after = weapons_level_info[type][level + 1];
            SetFigure(Control(win, "Reload2"), after.reload_rate);
            SetFigure(Control(win, "Range2"), after.range * 100.0f);
            SetFigure(Control(win, "Damage2"), after.damage);
            SetFigure(Control(win, "Slow2"), after.slowdown);
        }
    } else {
        SetTextAndEnabled(upgrade, "Maximum Level", 0);
        SetTextAndEnabled(full, "Maximum Level", 0);
        if (weapon_type)
            for (const char *id : {"Reload2", "Range2", "Damage2", "Slow2"})
                if (MWinButton *button = Control(win, id))
                    button->SetText("-");
    }
    if (weapon->m_upgrading) {
        SetTextAndEnabled(upgrade, "Upgrading ...", 0);
        SetTextAndEnabled(full, "Upgrading ...", 0);
        if (MWinButton *sell = Control(win, "Sell"))
            sell->SetEnabled(0);
    }
}

void PopupCC::StartUpgradeFromButton(MWinButton *pressed, bool full, _MWinButtonCallbackInfo *info)
{
    Weapon *weapon = SelectedWeapon();
    if (!weapon || !(full ? weapon->StartFullUpgrade() : weapon->StartUpgrade()) || !info->m_button)
        return;
    SetTextAndEnabled(pressed, "Upgrading ...", 0);
    if (MWinButton *sell = m_mwin->GetButtonFromIDs(COLLECTION, "Weapon", "Sell", 1))
        sell->SetEnabled(0);
    MWinWindow *win = m_mwin->GetWindowFromIDs(COLLECTION, "Weapon", 1);
    SetTextAndEnabled(Control(win, full ? "Upgrade" : "FullUpgrade"), "Upgrading ...", 0);
    RequestHide();
}

char PopupCC::ButtonPressedCB(MWinButton *button, _MWinButtonCallbackInfo *info)
{
    if (IsPressEmpty(button, info))
        return 0;
    if (!MWinAreIDsTheSame(info->m_window_id, "Weapon"))
        return 0;
    const char *id = info->m_button_id;
    if (MWinAreIDsTheSame(id, "Upgrade") || MWinAreIDsTheSame(id, "FullUpgrade")) {
        StartUpgradeFromButton(button, MWinAreIDsTheSame(id, "FullUpgrade"), info);
        return 1;
    }
    if (MWinAreIDsTheSame(id, "Target")) {
        Weapon *weapon = SelectedWeapon();
        if (weapon && info->m_choice_sel >= 0 && info->m_choice_sel < 5) {
            weapon->m_target_mode = info->m_choice_sel;
            RequestHide();
        }
        return 1;
    }
    if (MWinAreIDsTheSame(id, "Sell")) {
        WeaponsSell(weapons_selected);
        return 1;
    }
    return 0;
}

MWinCollectionController *PopupCC_Make(HW_Screens *screens)
{
    return new (std::nothrow) PopupCC(screens);
}
