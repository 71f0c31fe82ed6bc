// Every menu screen in each of the five layouts, built as the screen stack
// builds it: the toolkit's layout number is switched, the screen is entered
// (GotoScreen: the collection built, then the screen's start), and its
// controls are looked at. For each screen and layout a table gives the
// controls whose place, size, visibility or text the screen's layout fixes;
// every screen in every layout must also keep each shown control inside its
// window and its windows inside the 640 x 480 screen, and no two shown
// controls may overlap unless they are drawn one over the other on purpose
// (a frame and its picture), or as the Normal layout has them.
#include "tests/game/GameTestSupport.h"

#include "gui/MWinButton.h"
#include "gui/MWinCollection.h"
#include "gui/MWinDesktop.h"
#include "gui/MWinTextures.h"
#include "gui/MWinWindow.h"
#include "modules/UserClass.h"
#include "screens/PopupScreen.h"
#include "screens/ScreenMakers.h"
#include "screens/UserLoad.h"
#include "screens/UserNew.h"
#include "screens/UserScreens.h"
#include "screens/UserSelect.h"
#include "screens/Users.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>
#include <vector>

namespace {

using namespace game_test;

// What a layout fixes of one control. A negative x, y, w or h is not checked.
struct _Expect {
    const char *id;
    float x, y, w, h;
    enum { ANY, SHOWN, HIDDEN, ABSENT } state;
    const char *text; // null: not checked
};

constexpr _Expect At(const char *id, float x, float y, float w = -1, float h = -1)
{
    return {id, x, y, w, h, _Expect::SHOWN, nullptr};
}
constexpr _Expect Place(const char *id, float x, float y, float w = -1, float h = -1)
{
    return {id, x, y, w, h, _Expect::ANY, nullptr};
}
constexpr _Expect Sized(const char *id, float w, float h)
{
    return {id, -1, -1, w, h, _Expect::ANY, nullptr};
}
constexpr _Expect Hidden(const char *id)
{
    return {id, -1, -1, -1, -1, _Expect::HIDDEN, nullptr};
}
constexpr _Expect Absent(const char *id)
{
    return {id, -1, -1, -1, -1, _Expect::ABSENT, nullptr};
}
constexpr _Expect Text(const char *id, const char *text)
{
    return {id, -1, -1, -1, -1, _Expect::ANY, text};
}

struct _ScreenCase {
    const char *name;
    unsigned int screen_id;
    // Controls that are drawn over one another on purpose, as "A|B".
    std::set<std::string> layered;
    // What each layout fixes, by layout number.
    std::vector<_Expect> expect[MWIN_NUM_LAYOUTS];
};

class ScreenLayoutsTest : public StartedGameTest {
protected:
    void UseScreens() override { ScreenMakersSetAll(); }

    void SetUp() override
    {
        StartedGameTest::SetUp();
        ASSERT_EQ(game->GetUser()->CreateNewUser("Ann", "GB", 0), 1);
    }

    void TearDown() override
    {
        game->GetMWin()->SetScreenLayout(MWIN_LAYOUT_NORMAL);
        TitlePictureDestroyGraphics();
        StartedGameTest::TearDown();
        user_screens_country_maker = nullptr;
    }

    ScreenController *Controller(unsigned int screen_id)
    {
        HW_Screens *screens = game->GetScreens();
        for (int slot = 0; slot < HWS_COUNT; slot++) {
            const char *name = slot_names[slot];
            const unsigned int id = (unsigned(name[0]) << 24) | (unsigned(name[1]) << 16) | (unsigned(name[2]) << 8) |
                                    unsigned(name[3]);
            if (id == screen_id)
                return dynamic_cast<ScreenController *>(screens->GetController(HW_ScreenSlot(slot)));
        }
        UserScreens *user = screens->GetUserScreens();
        switch (screen_id) {
        case USER_SCREEN_SELECT: return user->GetUserSelectCC();
        case USER_SCREEN_USERS: return user->GetUsersCC();
        case USER_SCREEN_LOAD: return user->GetUserLoadCC();
        case USER_SCREEN_NEW: return user->GetUserNewCC();
        case USER_SCREEN_COUNTRY: return dynamic_cast<ScreenController *>(user->GetCountryCC());
        }
        return nullptr;
    }

    // Enters the screen in the layout, as the screen stack does; the weapon
    // popup, which the stack never makes current, is laid over the board by
    // its own builder.
    ScreenController *Build(const _ScreenCase &screen, int layout)
    {
        game->GetMWin()->SetScreenLayout(layout);
        ScreenController *controller = Controller(screen.screen_id);
        if (!controller)
            return nullptr;
        if (screen.screen_id == HW_SCREEN_POPU) {
            game->GetMWin()->GetDesktop()->RemoveAllCollections();
            controller->CreateCollection(game->GetMWin());
        } else {
            game->GetScreens()->GotoScreen(screen.screen_id, nullptr);
        }
        return controller;
    }

    static MWinButton *Find(ScreenController *controller, const char *id)
    {
        for (int w = 0; controller->GetWindow(w); w++)
            for (int i = 0; i < 64; i++)
                if (MWinButton *control = controller->GetControl(w, i))
                    if (std::string(control->GetID()) == id)
                        return control;
        return nullptr;
    }

    // Checks that shown controls lie inside their window and windows inside
    // the screen; returns the pairs of shown controls that overlap, as "A|B".
    static std::set<std::string> CheckFitsAndFindOverlaps(ScreenController *controller)
    {
        std::set<std::string> overlaps;
        for (int w = 0; controller->GetWindow(w); w++) {
            MWinWindow *window = controller->GetWindow(w);
            _Dimension area;
            window->GetPosAndSize(&area);
            EXPECT_TRUE(area.x >= 0 && area.y >= 0 && area.x + area.w <= 640 && area.y + area.h <= 480)
                << "window " << window->GetID() << " at " << area.x << ", " << area.y << ", " << area.w << ", "
                << area.h;
            std::vector<MWinButton *> shown;
            for (int i = 0; i < 64; i++) {
                MWinButton *control = controller->GetControl(w, i);
                if (control && control->IsShown())
                    shown.push_back(control);
            }
            for (size_t i = 0; i < shown.size(); i++) {
                const _Dimension *a = shown[i]->GetDimensionP();
                EXPECT_TRUE(a->x >= 0 && a->y >= 0 && a->x + a->w <= area.w + 0.01f &&
                            a->y + a->h <= area.h + 0.01f)
                    << shown[i]->GetID() << " lies outside its window " << window->GetID();
                for (size_t j = i + 1; j < shown.size(); j++) {
                    const _Dimension *b = shown[j]->GetDimensionP();
                    if (a->x < b->x + b->w - 0.01f && b->x < a->x + a->w - 0.01f && a->y < b->y + b->h - 0.01f &&
                        b->y < a->y + a->h - 0.01f) {
                        overlaps.insert(std::string(shown[i]->GetID()) + "|" + shown[j]->GetID());
                        overlaps.insert(std::string(shown[j]->GetID()) + "|" + shown[i]->GetID());
                    }
                }
            }
        }
        return overlaps;
    }

    static void CheckExpected(ScreenController *controller, const _Expect &expect)
    {
        MWinButton *control = Find(controller, expect.id);
        if (expect.state == _Expect::ABSENT) {
            EXPECT_EQ(control, nullptr) << expect.id;
            return;
        }
        ASSERT_NE(control, nullptr) << expect.id;
        const _Dimension *d = control->GetDimensionP();
        const float got[4] = {d->x, d->y, d->w, d->h};
        const float want[4] = {expect.x, expect.y, expect.w, expect.h};
        for (int k = 0; k < 4; k++)
            if (want[k] >= 0)
                EXPECT_NEAR(got[k], want[k], 0.01f) << expect.id << " coordinate " << k;
        if (expect.state != _Expect::ANY)
            EXPECT_EQ(control->IsShown(), expect.state == _Expect::SHOWN) << expect.id;
        if (expect.text)
            EXPECT_STREQ(control->GetTextP(), expect.text) << expect.id;
    }

    // The Normal layout's numbers are the screen's own; what overlaps there
    // may overlap in the other layouts too, and nothing else may.
    void CheckScreen(const _ScreenCase &screen)
    {
        std::set<std::string> allowed = screen.layered;
        for (const std::string &pair : screen.layered)
            allowed.insert(pair.substr(pair.find('|') + 1) + "|" + pair.substr(0, pair.find('|')));
        for (int layout = 0; layout < MWIN_NUM_LAYOUTS; layout++) {
            SCOPED_TRACE(std::string(screen.name) + " in layout " + std::to_string(layout));
            ScreenController *controller = Build(screen, layout);
            ASSERT_NE(controller, nullptr);
            ASSERT_NE(controller->GetWindow(0), nullptr);
            EXPECT_EQ(controller->GetCollection()->GetScreenLayout(), layout);
            for (const std::string &pair : CheckFitsAndFindOverlaps(controller)) {
                if (layout == MWIN_LAYOUT_NORMAL)
                    allowed.insert(pair);
                else
                    EXPECT_TRUE(allowed.count(pair)) << pair << " overlap";
            }
            for (const _Expect &expect : screen.expect[layout])
                CheckExpected(controller, expect);
        }
    }
};

// The Main screen's own numbers: every mobile layout hides "Exit".
TEST_F(ScreenLayoutsTest, Main)
{
    CheckScreen({"Main",
                 HW_SCREEN_MAIN,
                 {},
                 {
                     {At("Play", 235, 205, 170, 40), At("Exit", 330, 400, 150, 30), At("Version", 560, 0),
                      At("OtherGames", 160, 400, 150, 30)},
                     {Hidden("Exit"), At("OtherGames", 245, 405, 150, 30), At("Play", 235, 205, 170, 40)},
                     {Hidden("Exit"), Hidden("Version"), At("Title", 0, 0, 640, 120),
                      At("Welcome", 57.5f, 120, 525, 30), At("Play", 50, 180, 250, 60), At("Help", 50, 250, 250, 60),
                      At("Scores", 50, 320, 250, 60), At("User", 50, 390, 250, 60), At("Sound", 340, 180, 250, 60),
                      At("Options", 340, 250, 250, 60), At("About", 340, 320, 250, 60),
                      At("OtherGames", 340, 390, 250, 60)},
                     {Hidden("Exit"), At("OtherGames", 245, 400, 150, 30)},
                     {Hidden("Exit"), At("Play", 235, 200), At("Scores", 160, 275, 150, 35),
                      At("Help", 330, 275, 150, 35), At("Options", 160, 320, 150, 35), At("Sound", 330, 320, 150, 35),
                      At("User", 160, 365, 150, 35), At("About", 330, 365, 150, 35), At("OtherGames", 245, 410)},
                 }});
}

// The landscape phone's larger welcome line and its buttons' own picture.
TEST_F(ScreenLayoutsTest, MainLandscapePhoneLooks)
{
    game->GetMWin()->SetScreenLayout(MWIN_LAYOUT_IPHONE_LANDSCAPE);
    game->GetScreens()->GotoScreen(HW_SCREEN_MAIN, nullptr);
    ScreenController *main = Controller(HW_SCREEN_MAIN);
    MWinButton *welcome = Find(main, "Welcome");
    ASSERT_NE(welcome, nullptr);
    EXPECT_FLOAT_EQ(welcome->GetTextColour()->a, 0.7f);
    float sx = 0, sy = 0;
    welcome->GetTextScale(&sx, &sy);
    EXPECT_FLOAT_EQ(sx, 1);
    EXPECT_FLOAT_EQ(sy, 1.1f);
    const int main_texbut = game->GetMWin()->GetTextures()->GetTexButNumFromID("Main");
    EXPECT_EQ(Find(main, "Play")->GetTexButNum(), main_texbut);
    EXPECT_EQ(Find(main, "About")->GetTexButNum(), main_texbut);
    EXPECT_NE(Find(main, "OtherGames")->GetTexButNum(), main_texbut);
}

// The garden grid: the Part fixes the Normal numbers and, for the other
// layouts, the ranges of the frames', difficulty buttons' and Back's sizes.
TEST_F(ScreenLayoutsTest, Select)
{
    _ScreenCase select = {"Select", HW_SCREEN_SELE, {"Title|SelectT"}, {}};
    for (int g = 0; g < 4; g++) {
        const std::string n = std::to_string(g);
        select.layered.insert("Bg" + n + "|Level" + n);
        select.layered.insert("Bg" + n + "|Diff" + n);
        select.layered.insert("Level" + n + "|Diff" + n);
    }
    select.expect[0] = {Place("Bg0", 158, 137, 154, 146), Place("Bg3", 328, 297, 154, 146),
                        Place("Level2", 160, 300, 150, 140), Place("Diff1", 333, 256, 67, 22),
                        Place("Diff3", 333, 416, 67, 22), At("Back", 550, 440, 80, 30)};
    // Every garden open to "Extreme": the difficulty buttons show.
    for (_UserGardenProgress &garden : game->GetUserOptions()->gardens)
        garden.unlocked_difficulty = 2;
    CheckScreen(select);
    for (int layout = 1; layout < MWIN_NUM_LAYOUTS; layout++) {
        SCOPED_TRACE("layout " + std::to_string(layout));
        ScreenController *controller = Build(select, layout);
        for (int g = 0; g < 4; g++) {
            const std::string n = std::to_string(g);
            const _Dimension *frame = Find(controller, ("Bg" + n).c_str())->GetDimensionP();
            const _Dimension *diff = Find(controller, ("Diff" + n).c_str())->GetDimensionP();
            EXPECT_TRUE(frame->w >= 154 && frame->w <= 162) << frame->w;
            EXPECT_TRUE(diff->w >= 80 && diff->w <= 146 && diff->h >= 30 && diff->h <= 50) << diff->w << " " << diff->h;
            EXPECT_TRUE(Find(controller, ("Diff" + n).c_str())->IsShown());
        }
        const _Dimension *back = Find(controller, "Back")->GetDimensionP();
        EXPECT_TRUE(back->w >= 80 && back->w <= 115 && back->h >= 30 && back->h <= 45) << back->w << " " << back->h;
    }
}

// The weapon popup: the landscape phone's larger windows and 40-high
// buttons and choice; every other layout builds the Normal windows.
TEST_F(ScreenLayoutsTest, Popup)
{
    const std::vector<_Expect> normal = {Place("Upgrade", 10, 162, 115, 25), Place("Sell", 135, 162, 65, 25),
                                         Place("FullUpgrade", 10, 192, 190, 25), Place("Target", 40, 133, 165, 20),
                                         Place("CostT", 10, 40, 80, 20), Place("TargetT", 3, 133, 37, 20)};
    CheckScreen({"Popup",
                 HW_SCREEN_POPU,
                 {},
                 {normal,
                  normal,
                  {Sized("Upgrade", -1, 40), Sized("Sell", -1, 40), Sized("FullUpgrade", -1, 40),
                   Sized("Target", -1, 40)},
                  normal,
                  normal}});
    const float sizes[MWIN_NUM_LAYOUTS][2][2] = {{{140, 160}, {210, 224}}, {{140, 160}, {210, 224}},
                                                 {{190, 180}, {235, 330}}, {{140, 160}, {210, 224}},
                                                 {{140, 160}, {210, 224}}};
    for (int layout = 0; layout < MWIN_NUM_LAYOUTS; layout++) {
        ScreenController *popup = Build({"Popup", HW_SCREEN_POPU, {}, {}}, layout);
        for (int w = 0; w < 2; w++) {
            _Dimension area;
            popup->GetWindow(w)->GetPosAndSize(&area);
            EXPECT_FLOAT_EQ(area.w, sizes[layout][w][0]) << layout << " " << w;
            EXPECT_FLOAT_EQ(area.h, sizes[layout][w][1]) << layout << " " << w;
        }
    }
}

TEST_F(ScreenLayoutsTest, Scores)
{
    const std::vector<_Expect> normal = {Place("Scores", 10, 155, 620, 280), At("Title", 128, 0, 384, 84),
                                         At("Heading", 170, 85, 300, 20), At("Back", 565, 440, 65, 30)};
    std::vector<_Expect> tablet_landscape = normal;
    tablet_landscape[0] = Place("Scores", 10, 155, 620, 275);
    CheckScreen({"Scores",
                 HW_SCREEN_STAT,
                 {},
                 {normal,
                  normal,
                  {Hidden("Title"), Place("Heading", -1, 0), Place("Level0", -1, 5), Place("Level3", -1, 5),
                   Sized("Update", -1, 50), Sized("Submit", -1, 50), Sized("FindMe", -1, 50), Sized("Reset", -1, 50),
                   Sized("Back", -1, 50)},
                  normal,
                  tablet_landscape}});
}

// The mobile layouts offer no save-and-exit.
TEST_F(ScreenLayoutsTest, Pause)
{
    const std::vector<_Expect> mobile = {Hidden("Save"), At("Resume", -1, -1)};
    CheckScreen({"Pause",
                 HW_SCREEN_PAUS,
                 {},
                 {{At("Save", -1, -1), At("Resume", 220, 120, 200, 35)},
                  {Hidden("Save"), At("Resume", -1, 125, 340, 40), At("Scores", -1, -1, 340, 40)},
                  mobile,
                  mobile,
                  mobile}});
}

// The start-up window is the desktop's alone.
TEST_F(ScreenLayoutsTest, Options)
{
    const std::vector<_Expect> mobile = {Hidden("ShowResT"), Hidden("ShowRes"), Hidden("ShowResInfo"),
                                         At("OneUser", -1, -1), At("Back", -1, -1)};
    CheckScreen({"Options",
                 HW_SCREEN_OPTN,
                 {},
                 {{At("ShowRes", -1, -1), At("ShowResT", -1, -1), At("ShowResInfo", -1, -1)},
                  mobile,
                  mobile,
                  mobile,
                  mobile}});
}

TEST_F(ScreenLayoutsTest, Sounds)
{
    CheckScreen({"Sounds",
                 HW_SCREEN_PLRS,
                 {},
                 {{At("Title", 128, 0, 384, 84), At("Back", 550, 440, 80, 30)},
                  {At("Title", 128, 0, 384, 84)},
                  {Hidden("Title"), Place("Title", 0, 0, 85, 45), At("SoundsOnText", 10, 5, 190, 45),
                   At("SoundsOn", 205, 5, 315, 45), At("SoundsVol", 205, 50, 315, 45), At("Back", 540, 420, 90, 50)},
                  {At("Title", 128, 0, 384, 84)},
                  {At("Title", 128, 0, 384, 84)}}});
}

// Info grows; the phones hide Title and Keys, the tablets Keys.
TEST_F(ScreenLayoutsTest, Help)
{
    CheckScreen({"Help",
                 HW_SCREEN_HELP,
                 {},
                 {{At("Title", 128, 0), At("Keys", -1, -1), Place("Info", 85, 115, 470, 270)},
                  {Hidden("Title"), Hidden("Keys"), Place("Info", 10, 5, 620, 420)},
                  {Hidden("Title"), Hidden("Keys"), Place("Info", 0, 0, 640, 415)},
                  {At("Title", -1, -1), Hidden("Keys"), Place("Info", 10, 100, 620, 330)},
                  {At("Title", -1, -1), Hidden("Keys"), Place("Info", 25, 85, 590, 340)}}});
}

TEST_F(ScreenLayoutsTest, About)
{
    const std::vector<_Expect> normal = {At("HomePage", 10, 440, 80, 30), At("Forums", 190, 440, 80, 30),
                                         At("Logs", 370, 440, 80, 30), At("Back", 550, 440, 80, 30),
                                         At("Version", 240, 90, 160, 10)};
    CheckScreen({"About",
                 HW_SCREEN_ABOT,
                 {},
                 {normal,
                  normal,
                  {At("HomePage", 10, 420, 110, 50), At("Forums", 175, 420, 110, 50), At("Logs", 355, 420, 110, 50),
                   At("Back", 520, 420, 110, 50)},
                  normal,
                  {At("HomePage", 10, 435, 100, 35), At("Forums", 180, 435, 100, 35), At("Logs", 360, 435, 100, 35),
                   At("Back", 530, 435, 100, 35)}}});
}

// The same controls in all five layouts.
TEST_F(ScreenLayoutsTest, Notice)
{
    const std::vector<_Expect> all = {At("Ok", -1, -1)};
    CheckScreen({"Notice", HW_SCREEN_GENL, {"Frame|Ok", "Frame|Text"}, {all, all, all, all, all}});
}

TEST_F(ScreenLayoutsTest, Log)
{
    const std::vector<_Expect> phone = {Text("CopySel", "Copy Selected"), Text("CopyAll", "Copy All")};
    const std::vector<_Expect> tablet = {Text("CopySel", "Copy Selected Lines"), Text("CopyAll", "Copy All Lines")};
    CheckScreen({"Log", HW_SCREEN_LOGS, {}, {{At("Log", 10, 5, 620, 390)}, phone, phone, tablet, tablet}});
}

// One picture on the mobile layouts; no download, no tell-a-friend.
TEST_F(ScreenLayoutsTest, GameAds)
{
    const std::vector<_Expect> phone = {Absent("Download"), Absent("TellAFriend"), Absent("Pic2"), Absent("Pic1Frame"),
                                        Place("Pic1", -1, -1), Text("GetApp", "Get App!")};
    std::vector<_Expect> phone_landscape = phone;
    phone_landscape.push_back(Text("Back", "Ok"));
    std::vector<_Expect> phone_portrait = phone;
    phone_portrait.push_back(Absent("Back"));
    const std::vector<_Expect> tablet = {Absent("Download"), Absent("TellAFriend"), Absent("Pic2"),
                                         Place("Pic1Frame", -1, -1), Place("Desc4", -1, -1),
                                         Text("GetApp", "Get App!")};
    CheckScreen({"GameAds",
                 HW_SCREEN_GADS,
                 {"Pic1Bg|Pic1", "Pic2Bg|Pic2", "Pic1Frame|Pic1", "PicCen|Pic1Bg", "PicCen|Pic1", "PicCen|Pic2Bg",
                  "PicCen|Pic2"},
                 {{Place("Download", 77.88f, 400, 130, 30), Place("Pic2", 329, 125, 257, 262)},
                  phone_portrait,
                  phone_landscape,
                  tablet,
                  tablet}});
}

// The Players screen: "Exit" in the top left corner on the mobile layouts;
// the iPhones put "Continue" over a row of "New" and "Manage".
TEST_F(ScreenLayoutsTest, Players)
{
    const std::vector<_Expect> iphone = {Place("Exit", 5, 5), Place("LoadProgress", -1, -1)};
    const std::vector<_Expect> ipad = {Place("Exit", 5, 5)};
    CheckScreen({"Players",
                 USER_SCREEN_USERS,
                 {},
                 {{Place("Continue", 215, 430, 210, 35), Place("Exit", 505, 430, 120, 35)}, iphone, iphone, ipad,
                  ipad}});
}

TEST_F(ScreenLayoutsTest, LoadPlayer)
{
    const std::vector<_Expect> mobile = {Text("Delete", "Delete"), Place("Load", -1, 395), Place("Delete", -1, 395),
                                         Place("Back", -1, 395), Place("Settings", -1, 395)};
    CheckScreen({"LoadPlayer",
                 USER_SCREEN_LOAD,
                 {},
                 {{Text("Delete", "Delete User"), Place("Panel", 200, 145, 240, 230)}, mobile, mobile, mobile,
                  mobile}});
}

TEST_F(ScreenLayoutsTest, NewPlayer)
{
    const std::vector<_Expect> mobile = {Place("Name", -1, -1), Place("Country", -1, -1), Place("Continue", -1, -1)};
    CheckScreen({"NewPlayer",
                 USER_SCREEN_NEW,
                 {},
                 {{Place("Name", 210, 200, 220, 35), Place("Continue", 245, 430, 150, 35)}, mobile, mobile, mobile,
                  mobile}});
}

// The tablets' player choice: no "Exit" on the mobile layouts but "Always
// load this player:" under the panel and a hidden "Device".
TEST_F(ScreenLayoutsTest, SelectPlayer)
{
    const std::vector<_Expect> mobile = {Absent("Exit"), Place("AlwaysLoad", -1, -1), Hidden("Device"),
                                         Text("Delete", "Delete")};
    CheckScreen({"SelectPlayer",
                 USER_SCREEN_SELECT,
                 {},
                 {{At("Exit", 489.34f, 438.73f, 140.66f, 25.48f), Absent("AlwaysLoad"), Absent("Device"),
                   Text("Delete", "Delete Player")},
                  mobile,
                  mobile,
                  mobile,
                  mobile}});
    // Only the iPad held upright gives "Device" its language key.
    for (int layout = 1; layout < MWIN_NUM_LAYOUTS; layout++) {
        ScreenController *select = Build({"SelectPlayer", USER_SCREEN_SELECT, {}, {}}, layout);
        EXPECT_EQ(Find(select, "Device")->UsesLangToken(), layout == MWIN_LAYOUT_IPAD_PORTRAIT) << layout;
    }
}

TEST_F(ScreenLayoutsTest, Country)
{
    const std::vector<_Expect> mobile = {Place("Country", -1, -1), At("Continue", -1, -1),
                                         Text("Note", "Your country is used for online scores.")};
    CheckScreen({"Country",
                 USER_SCREEN_COUNTRY,
                 {},
                 {{Place("Country", 169.5f, 50, 301, 323), At("Continue", 250, 425, 140, 35)}, mobile, mobile, mobile,
                  mobile}});
}

} // namespace
