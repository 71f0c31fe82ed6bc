// The screen pattern on the toolkit kit: a two-window screen built from its
// tables when entered, the layout's own table or the Normal one, a control
// that cannot be made skipped with both reports, the presses reaching the
// controller, pointers that always name the current controls, and the
// title picture.
#include "screens/ScreenController.h"

#include "engine/graphics/EngPicture.h"
#include "game/Program.h"
#include "modules/ModulesHooks.h"
#include "tests/support/GuiTestKit.h"
#include "tests/support/TestLog.h"

#include <filesystem>

namespace {

const unsigned kScreenId = 'TEST';

const _ScreenTextStyle kPlain = {"Main", 0, 0, 0, 1, 1, 1, MWTA_LEFT};

// Window 0: a title, a menu button, a hint and a hidden, coloured static. Window 1: one button.
const _ScreenControlRow kMenuNormal[] = {
    {"Title", SCA_BUTTON, MWBT_PUSH, "MWIN_TEXBUT_NONE", "", nullptr, 128, 0, 384, 84, &kPlain, {0, 0, 0, 0}, 0},
    {"Play", SCA_BUTTON, MWBT_PUSH, "MWIN_TEXBUT_DEFAULT", "Play", "Main_Play", 100, 100, 80, 30,
     &screen_menu_style, {0, 0, 0, 0}, 0},
    {"Hint", SCA_BUTTON, MWBT_STATIC, "MWIN_TEXBUT_NONE", "Hint", nullptr, 0, 0, 10, 10, &kPlain, {0, 0, 0, 0}, 0},
    {"Version", SCA_BUTTON, MWBT_STATIC, "MWIN_TEXBUT_NONE", "Version", nullptr, 240, 90, 160, 10,
     &screen_menu_style, {1, 1, 1, 0.6f}, 1},
};
// The same rows at other places for the iPad portrait layout.
const _ScreenControlRow kMenuPortrait[] = {
    {"Title", SCA_BUTTON, MWBT_PUSH, "MWIN_TEXBUT_NONE", "", nullptr, 28, 0, 384, 84, &kPlain, {0, 0, 0, 0}, 0},
    {"Play", SCA_BUTTON, MWBT_PUSH, "MWIN_TEXBUT_DEFAULT", "Play", nullptr, 20, 300, 80, 30, &screen_menu_style,
     {0, 0, 0, 0}, 0},
    {"Hint", SCA_BUTTON, MWBT_STATIC, "MWIN_TEXBUT_NONE", "Hint", nullptr, 0, 0, 10, 10, &kPlain, {0, 0, 0, 0}, 0},
    {"Version", SCA_BUTTON, MWBT_STATIC, "MWIN_TEXBUT_NONE", "Version", nullptr, 40, 90, 160, 10,
     &screen_menu_style, {0, 0, 0, 0}, 0},
};
const _ScreenControlRow kBackRows[] = {
    {"Back", SCA_BUTTON, MWBT_PUSH, "MWIN_TEXBUT_DEFAULT", "Back", nullptr, 10, 10, 80, 30, &screen_menu_style,
     {0, 0, 0, 0}, 0},
};
const _ScreenWindowRow kWindows[] = {
    {"Menu", 0, 0, 640, 400, nullptr, {kMenuNormal, nullptr, nullptr, kMenuPortrait, nullptr}, 4},
    {"Bottom", 0, 400, 640, 80, "White", {kBackRows, nullptr, nullptr, nullptr, nullptr}, 1},
};

class TestScreen : public ScreenController {
public:
    explicit TestScreen(MWinScreens *screens)
        : ScreenController(screens, "TestCollectionController", "Test", kWindows, 2)
    {
    }
    char ButtonPressedCB(MWinButton *button, _MWinButtonCallbackInfo *info) override
    {
        if (IsPressEmpty(button, info))
            return 0;
        pressed.push_back(button == GetControl(0, 1) ? "Play" : button == GetControl(1, 0) ? "Back" : "other");
        return 1;
    }
    std::vector<std::string> pressed;
};

// A screen set of the test screen and one other.
class TwoScreens : public MWinScreens {
public:
    explicit TwoScreens(MWin *mwin) : MWinScreens(mwin, 0) {}
    char SetupScreensCB() override { return AddScreen(kScreenId, screen) && AddScreen('OTHR', other); }

    MWinCollectionController *screen = nullptr;
    MWinCollectionController *other = nullptr;
};

class ScreenControllerTest : public GuiTest {
protected:
    void SetUp() override
    {
        GuiTest::SetUp();
        screens = new TwoScreens(mwin);
        screen = new TestScreen(screens);
        screens->screen = screen;
        screens->other = &other;
        ASSERT_EQ(screens->SetupAllScreens(), 1);
    }
    void TearDown() override
    {
        screens->RemoveAllScreens();
        delete screen;
        delete screens;
        GuiTest::TearDown();
    }

    TwoScreens *screens = nullptr;
    TestScreen *screen = nullptr;
    TestController other;
};

TEST_F(ScreenControllerTest, EnteringBuildsTheWindowsAndControlsOfTheTables)
{
    screens->StartScreen(kScreenId, 0);
    ASSERT_NE(screen->GetCollection(), nullptr);
    MWinWindow *menu = screen->GetWindow(0);
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->GetController(0), screen);
    EXPECT_EQ(screen->GetWindow(1)->GetController(0), screen);
    MWinButton *play = screen->GetControl(0, 1);
    ASSERT_NE(play, nullptr);
    EXPECT_STREQ(play->GetID(), "Play");
    EXPECT_FLOAT_EQ(play->GetDimensionP()->x, 100);
    MWinButton *version = screen->GetControl(0, 3);
    ASSERT_NE(version, nullptr);
    EXPECT_FALSE(version->IsShown());
    EXPECT_EQ(screen->GetControl(0, 9), nullptr);
    EXPECT_EQ(screen->GetControl(5, 0), nullptr);

    // Presses reach the controller, which matches them with its pointers.
    Click(120, 115);
    Click(30, 420);
    EXPECT_EQ(screen->pressed, (std::vector<std::string>{"Play", "Back"}));
    EXPECT_EQ(screen->ButtonPressedCB(nullptr, nullptr), 0);

    // Without a window the controls are not made, and the pointers go.
    EXPECT_EQ(screen->AddWindowButtonsToWindow(0, 0, nullptr), 0);
    EXPECT_TRUE(LogHas("No window"));
    EXPECT_EQ(screen->GetControl(0, 1), nullptr);
}

TEST_F(ScreenControllerTest, LeavingForgetsAndReturningBuildsAnew)
{
    screens->StartScreen(kScreenId, 0);
    MWinButton *first = screen->GetControl(0, 1);
    ASSERT_NE(first, nullptr);
    screens->GotoScreen('OTHR', nullptr);
    EXPECT_EQ(screen->GetCollection(), nullptr);
    EXPECT_EQ(screen->GetWindow(0), nullptr);
    EXPECT_EQ(screen->GetControl(0, 1), nullptr);
    screens->GotoScreen(kScreenId, nullptr);
    ASSERT_NE(screen->GetControl(0, 1), nullptr);
    EXPECT_EQ(mwin->GetDesktop()->GetCollectionFromID("Test", 0), screen->GetCollection());
    Click(120, 115);
    EXPECT_EQ(screen->pressed, (std::vector<std::string>{"Play"}));
}

TEST_F(ScreenControllerTest, ALayoutWithItsOwnTableUsesIt)
{
    mwin->SetScreenLayout(MWIN_LAYOUT_IPAD_PORTRAIT);
    screens->StartScreen(kScreenId, 0);
    ASSERT_NE(screen->GetControl(0, 1), nullptr);
    EXPECT_FLOAT_EQ(screen->GetControl(0, 1)->GetDimensionP()->y, 300);
    // The second window has no portrait table: the Normal rows.
    ASSERT_NE(screen->GetControl(1, 0), nullptr);
    EXPECT_FLOAT_EQ(screen->GetControl(1, 0)->GetDimensionP()->x, 10);
    mwin->SetScreenLayout(MWIN_LAYOUT_NORMAL);
}

TEST_F(ScreenControllerTest, ACollectionThatCannotBeMadeIsReported)
{
    EXPECT_EQ(screen->CreateCollection(nullptr), 0);
    EXPECT_TRUE(LogHas("No mwinp"));
    ASSERT_NE(mwin->GetDesktop()->AddCollection("Test"), nullptr);
    EXPECT_EQ(screen->AddCollectionToDesktop(mwin, nullptr), nullptr);
    EXPECT_TRUE(LogHas("Could not create collection <Test>"));
}

TEST_F(ScreenControllerTest, TheTitlePictureComesAndGoes)
{
    if (!std::filesystem::exists("Data"))
        std::filesystem::create_directory_symlink(HW_DATA_DIR, "Data");
    // The picture's own texture comes through the program's texture hook.
    ModulesSetup(nullptr, Program_GetModulesItemFilenameCB);
    ModulesInstallEngPictureTextureFileOverwriteCB(Program_SetEngPictureTextureFileOverwriteCB);
    screens->StartScreen(kScreenId, 0);
    ASSERT_EQ(TitlePictureCreateGraphics(), 1);
    TitlePictureAttachToButton(screen->GetControl(0, 0));
    TitlePictureAttachToButton(nullptr);
    TitlePictureDestroyGraphics();
    // Loaded again for the next screen that shows it.
    EXPECT_EQ(TitlePictureCreateGraphics(), 1);
    TitlePictureDestroyGraphics();
}

} // namespace
