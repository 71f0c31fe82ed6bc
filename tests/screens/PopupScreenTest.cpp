// The in-game weapon popup and its glue, on the toolkit test kit: which
// window shows for the hovered slot and the selection, what the Weapon
// window says about prices, levels and upgrades, the factory windows, the
// Upgrade button, and how the popup takes clicks.
#include "screens/PopupScreen.h"

#include "game/PopupGlue.h"
#include "tests/game/PlayTestSupport.h"
#include "tests/support/GuiTestKit.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class PopupScreenTest : public GuiTest {
protected:
    void SetUp() override
    {
        GuiTest::SetUp();
        ResetPlayForTest();
        RecordNeighbours();
        eng_font_scale_x = 1.0f;
        SidebarSetup();
        screens = new MWinScreens(mwin, 0);
        popup = new PopupCC(screens);
        play_money = 1000;
    }
    void TearDown() override
    {
        delete popup;
        delete screens;
        ResetPlayForTest();
        GuiTest::TearDown();
    }

    MWinButton *Weapon(const char *id) { return mwin->GetButtonFromIDs("Popup", "Weapon", id, 0); }
    MWinButton *Sidebar(const char *id) { return mwin->GetButtonFromIDs("Popup", "Sidebar", id, 0); }
    static std::string Text(MWinButton *button) { return button ? button->GetTextP() : "(none)"; }
    static bool IsRed(MWinButton *button) { return button->GetTextColour()->g == 0.0f; }
    // Which window shows: "Sidebar", "Weapon" or "".
    std::string Shown()
    {
        if (!popup->IsShown())
            return "";
        if (popup->GetSidebarWindow() && popup->GetSidebarWindow()->IsShown())
            return "Sidebar";
        if (popup->GetWeaponWindow() && popup->GetWeaponWindow()->IsShown())
            return "Weapon";
        return "none";
    }
    // A placed weapon of the type and level, selected, and the popup filled.
    ::Weapon *SelectWeapon(int type, int level, float x = 0.0f, float y = 0.0f)
    {
        ::Weapon *weapon = AddTestWeapon(type, x, y);
        weapon->m_level = level;
        weapon->UpdateSizes();
        weapons_selected = weapons_count - 1;
        PopupRefresh(1);
        return weapon;
    }
    _Dimension WindowArea(MWinWindow *window)
    {
        _Dimension area;
        window->GetPosAndSize(&area);
        return area;
    }

    MWinScreens *screens = nullptr;
    PopupCC *popup = nullptr;
};

}  // namespace

TEST_F(PopupScreenTest, TheHoveredSlotOrTheSelectionChoosesTheWindow)
{
    weapons_factory_level[0] = 1;
    SidebarRefresh(SIDEBAR_REFRESH_ENABLED_ONLY);
    AddTestWeapon(0, 0.0f, 0.0f);
    struct Case {
        const char *name;
        int hovered;
        char placing;
        int selected;
        const char *shown;
    };
    const Case cases[] = {
        {"nothing", -1, 0, -1, ""},
        {"an enabled slot", 0, 0, -1, "Sidebar"},
        {"a locked slot", 1, 0, -1, ""},
        {"a locked slot with a selection", 1, 0, 0, "Weapon"},
        {"a slot while a weapon is selected", 0, 0, 0, "Sidebar"},
        {"a slot while placing", 0, 1, -1, ""},
        {"a slot while placing with a selection", 0, 1, 0, "Weapon"},
        {"the selection", -1, 0, 0, "Weapon"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        PopupHide();
        sidebar_hovered = c.hovered;
        sidebar_placing = c.placing;
        weapons_selected = c.selected;
        PopupRefresh(0);
        EXPECT_EQ(c.shown, Shown());
    }
}

TEST_F(PopupScreenTest, TheSidebarWindowDescribesTheSlot)
{
    weapons_factory_level[0] = 1;
    SidebarRefresh(SIDEBAR_REFRESH_ENABLED_ONLY);
    sidebar_hovered = 0;
    PopupRefresh(1);
    ASSERT_EQ("Sidebar", Shown());
    EXPECT_EQ(weapons_type_names[0], Text(Sidebar("Title")));
    EXPECT_EQ(std::to_string(weapons_level_info[0][0].cost), Text(Sidebar("Cost")));
    char range[16];
    snprintf(range, sizeof(range), "%.0f", weapons_level_info[0][0].range * 100.0f);
    EXPECT_EQ(range, Text(Sidebar("Range")));
    // Right of the slot, their middles level.
    _Dimension slot, area = WindowArea(popup->GetSidebarWindow());
    SidebarGetSideButtonPosition(0, 1, 0, 0, &slot);
    EXPECT_FLOAT_EQ(slot.x + slot.w + 10.0f, area.x);
    EXPECT_NEAR(slot.y + slot.h / 2.0f, area.y + area.h / 2.0f, 0.01f);
    EXPECT_FALSE(popup->IsPriceAboveMoney());

    // A factory's window shows its name and price only, 70 high; a price
    // above the money is red and flagged.
    play_money = weapons_level_info[10][0].cost - 1;
    sidebar_hovered = 10;
    PopupRefresh(1);
    EXPECT_EQ(weapons_type_names[10], Text(Sidebar("Title")));
    EXPECT_FALSE(Sidebar("Range")->IsShown());
    EXPECT_FALSE(Sidebar("ReloadT")->IsShown());
    EXPECT_FLOAT_EQ(70.0f, WindowArea(popup->GetSidebarWindow()).h);
    EXPECT_TRUE(IsRed(Sidebar("Cost")));
    EXPECT_TRUE(popup->IsPriceAboveMoney());

    // Straight back to a weapon's slot: its figures and height return.
    sidebar_hovered = 0;
    PopupRefresh(1);
    EXPECT_TRUE(Sidebar("Range")->IsShown());
    EXPECT_FLOAT_EQ(160.0f, WindowArea(popup->GetSidebarWindow()).h);
}

TEST_F(PopupScreenTest, TheWeaponWindowPricesTheUpgrades)
{
    struct Case {
        const char *name;
        int level;
        int money_offset;  // from the next level's cost
        const char *upgrade;
        bool enabled, red;
    };
    const int next = weapons_level_info[1][1].cost;
    const Case cases[] = {
        {"money equal to the price", 0, 0, "Upgrade (%d)", true, false},
        {"one unit short", 0, -1, "Upgrade (%d)", false, true},
        {"the top level", 3, -1, "Maximum Level", false, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        PopupHide();
        WeaponsDeleteAll();
        play_money = next + c.money_offset;
        SelectWeapon(1, c.level);
        ASSERT_EQ("Weapon", Shown());
        char want[48];
        snprintf(want, sizeof(want), c.upgrade, next);
        EXPECT_EQ(want, Text(Weapon("Upgrade")));
        EXPECT_EQ(c.enabled, (bool)Weapon("Upgrade")->IsEnabled());
        EXPECT_EQ(c.red, IsRed(Weapon("Upgrade")));
        // The full upgrade's price is above the money whenever an upgrade is left.
        EXPECT_EQ(c.level < 3, (bool)popup->IsPriceAboveMoney());
        snprintf(want, sizeof(want), "Level %d", c.level + 1);
        EXPECT_EQ(want, Text(Weapon("Level")));
        if (c.level == 3) {
            EXPECT_EQ("Maximum Level", Text(Weapon("FullUpgrade")));
            EXPECT_EQ("-", Text(Weapon("Range2")));
        }
    }

    // Money that comes in refills a popup whose price was above it.
    PopupHide();
    WeaponsDeleteAll();
    play_money = next - 1;
    SelectWeapon(1, 0);
    ASSERT_FALSE(Weapon("Upgrade")->IsEnabled());
    HiveWatcherAddToMoney(1);
    EXPECT_TRUE(Weapon("Upgrade")->IsEnabled());
    EXPECT_FALSE(IsRed(Weapon("Upgrade")));
    EXPECT_TRUE(IsRed(Weapon("FullUpgrade")));
}

TEST_F(PopupScreenTest, SellTargetAndFactoryWindows)
{
    // A total of 175 paid at 50 % sells for 87.
    weapons_level_info[0][0].cost = 100;
    weapons_level_info[0][1].cost = 75;
    weapons_level_info[0][1].sell_percent = 50;
    ::Weapon *turret = SelectWeapon(0, 1);
    EXPECT_EQ("Sell (87)", Text(Weapon("Sell")));
    EXPECT_EQ(0, Weapon("Target")->ChoiceGetSel());
    turret->m_target_mode = 3;
    PopupRefresh(1);
    EXPECT_EQ(3, Weapon("Target")->ChoiceGetSel());

    // A factory: name, level and one centred Upgrade, 100 high.
    PopupHide();
    SelectWeapon(10, 2);
    ASSERT_EQ("Weapon", Shown());
    _Dimension area = WindowArea(popup->GetWeaponWindow());
    EXPECT_FLOAT_EQ(100.0f, area.h);
    EXPECT_EQ("Maximum Level", Text(Weapon("Upgrade")));
    EXPECT_FALSE(Weapon("Sell")->IsShown());
    EXPECT_FALSE(Weapon("Target")->IsShown());
    EXPECT_FALSE(Weapon("Range")->IsShown());
    _Dimension upgrade;
    Weapon("Upgrade")->GetDimension(&upgrade);
    // Placed in the window: centred, 40 above its bottom.
    EXPECT_FLOAT_EQ(area.w / 2.0f, upgrade.x + upgrade.w / 2.0f);
    EXPECT_FLOAT_EQ(60.0f, upgrade.y);
}

// The landscape phone's larger windows: a factory shrinks the window and
// moves Upgrade, and the next weapon gets the phone's own places back.
TEST_F(PopupScreenTest, OnTheLandscapePhoneTheWindowComesBackToThePhonesPlaces)
{
    mwin->SetScreenLayout(MWIN_LAYOUT_IPHONE_LANDSCAPE);
    SelectWeapon(10, 0);
    ASSERT_EQ("Weapon", Shown());
    EXPECT_FLOAT_EQ(100.0f, WindowArea(popup->GetWeaponWindow()).h);
    SelectWeapon(0, 0);
    ASSERT_EQ("Weapon", Shown());
    const _Dimension area = WindowArea(popup->GetWeaponWindow());
    EXPECT_FLOAT_EQ(235.0f, area.w);
    EXPECT_FLOAT_EQ(330.0f, area.h);
    _Dimension upgrade;
    Weapon("Upgrade")->GetDimension(&upgrade);
    EXPECT_FLOAT_EQ(10.0f, upgrade.x);
    EXPECT_FLOAT_EQ(224.0f, upgrade.y);
    EXPECT_FLOAT_EQ(40.0f, upgrade.h);
    mwin->SetScreenLayout(MWIN_LAYOUT_NORMAL);
}

TEST_F(PopupScreenTest, AnUpgradeOrATargetChoiceClosesThePopupOnTheNextFrame)
{
    // Through the play's own input handlers and frame tick, as the game
    // runs them: a click on a control of the Weapon window, then a frame.
    struct Case {
        const char *name;
        const char *control;
        float x_in_control; // where along the control the click lands, 0..1
        bool upgrades;
    };
    const Case cases[] = {
        {"Upgrade", "Upgrade", 0.5f, true},
        {"Full Upgrade", "FullUpgrade", 0.5f, true},
        // The choice's second of five segments: "Back".
        {"a target mode", "Target", 0.3f, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        PopupHide();
        play_money = 100000;
        ::Weapon *cannon = SelectWeapon(1, 0);
        HiveWatcherTick();
        ASSERT_EQ("Weapon", Shown());
        const _Dimension window = WindowArea(popup->GetWeaponWindow());
        _Dimension control;
        Weapon(c.control)->GetDimension(&control);
        const float x = window.x + control.x + control.w * c.x_in_control, y = window.y + control.y + control.h / 2;
        HiveWatcherMouseMove(x, y);
        HiveWatcherMouseButton(0, 1);
        HiveWatcherMouseButton(0, 0);
        EXPECT_EQ(c.upgrades, (bool)cannon->m_upgrading);
        if (c.upgrades) {
            EXPECT_LT(play_money, 100000);
            EXPECT_EQ("Upgrading ...", Text(Weapon("Upgrade")));
            EXPECT_EQ("Upgrading ...", Text(Weapon("FullUpgrade")));
            EXPECT_FALSE(Weapon("Sell")->IsEnabled());
        } else {
            EXPECT_EQ(1, cannon->m_target_mode);
        }
        HiveWatcherTick();
        EXPECT_EQ("", Shown());
        EXPECT_EQ(-1, weapons_selected);
        // It stays closed while the mouse rests where the window was.
        HiveWatcherMouseMove(x, y);
        HiveWatcherTick();
        EXPECT_EQ("", Shown());
    }

    // An upgrading weapon's window says so, and cannot be sold meanwhile.
    weapons_selected = weapons_count - 2;
    PopupRefresh(1);
    EXPECT_EQ("Upgrading ...", Text(Weapon("Upgrade")));
    EXPECT_FALSE(Weapon("Sell")->IsEnabled());
}

TEST_F(PopupScreenTest, ThePopupTakesOnlyItsOwnClicks)
{
    SelectWeapon(0, 0, 0.5f, 0.5f);
    const _Dimension area = WindowArea(popup->GetWeaponWindow());
    // Inside the Weapon window the popup takes the move and the click.
    MoveMouse(area.x + area.w / 2.0f, area.y + area.h - 5.0f);
    EXPECT_TRUE(PopupMouseMove(area.x + area.w / 2.0f, area.y + area.h - 5.0f));
    EXPECT_TRUE(PopupMouseButton(0, 1));
    // Outside it, a left click goes on; a right click closes and deselects.
    MoveMouse(area.x - 20.0f, area.y);
    EXPECT_FALSE(PopupMouseMove(area.x - 20.0f, area.y));
    EXPECT_FALSE(PopupMouseButton(0, 1));
    EXPECT_TRUE(PopupMouseButton(1, 0));
    EXPECT_EQ("", Shown());
    EXPECT_EQ(-1, weapons_selected);
    EXPECT_FALSE(PopupMouseButton(1, 1));
}

TEST_F(PopupScreenTest, APopupRemovedByAScreenChangeCountsAsHidden)
{
    SelectWeapon(0, 0);
    ASSERT_EQ("Weapon", Shown());
    // Entering a menu screen empties the desktop.
    mwin->GetDesktop()->RemoveAllCollections();
    EXPECT_FALSE(PopupIsShown());
    EXPECT_EQ(nullptr, popup->GetWeaponWindow());
    EXPECT_FALSE(PopupMouseButton(0, 1));
    // Back in play, it is built anew.
    PopupRefresh(0);
    EXPECT_EQ("Weapon", Shown());
}

TEST_F(PopupScreenTest, WithoutAPopupTheGlueDoesNothing)
{
    delete popup;
    popup = nullptr;
    EXPECT_EQ(nullptr, main_popup_cc);
    EXPECT_TRUE(PopupPriceAboveMoney());
    EXPECT_FALSE(PopupIsShown());
    EXPECT_FALSE(PopupMouseMove(10, 10));
    EXPECT_FALSE(PopupMouseButton(1, 1));
    PopupRefresh(1);
    PopupTick();
    PopupRender();
    PopupHide();
}
