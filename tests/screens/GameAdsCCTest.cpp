// The "other games" screen, entered from the Main screen of a started game:
// what it shows of the current title, browsing by buttons and arrow keys
// with the choice kept in the player's record, Back, the download control's
// text and pulse, the pictures around a recreation of the graphics device,
// and telling a friend, which ends the program before the browser opens.
#include "tests/screens/MenuScreensTestSupport.h"

#include "engine/core/EngMisc.h"
#include "engine/runtime/EngMain.h"
#include "engine/runtime/EngProgram.h"
#include "engine/runtime/EngWindowInput.h"
#include "platform/win32/Win32Input.h"
#include "tests/support/TestLog.h"

namespace {

using namespace menu_screens_test;
using G = GameAdsCollectionController;

class GameAdsCCTest : public MenuScreensTest {
protected:
    void SetUp() override
    {
        MenuScreensTest::SetUp();
        ads = dynamic_cast<GameAdsCC *>(screens->GetController(HWS_GAME_ADS));
        ASSERT_NE(ads, nullptr);
        screens->GotoScreen(HW_SCREEN_MAIN, nullptr);
        ASSERT_EQ(game->GetUserInfo()->current_ad, -1); // a new player has seen no title yet
        ASSERT_EQ(Press(main_cc->Control(MainCollectionController::MAIN_OTHER_GAMES)), 1);
        ASSERT_EQ(screens->GetCurrentScreen(), HW_SCREEN_GADS);
    }

    std::string Text(int control) const
    {
        MWinButton *button = ads->Control(control);
        return button && button->GetTextP() ? button->GetTextP() : "(none)";
    }
    bool Shown(int control) const { return ads->Control(control) && ads->Control(control)->IsShown(); }

    // A press is kept by the screen and handled on its next tick.
    void PressAndTick(MWinButton *button)
    {
        ASSERT_NE(button, nullptr);
        _MWinButtonCallbackInfo info = {};
        button->FillCallbackInfo(&info);
        ASSERT_EQ(ads->ButtonPressedCB(button, &info), 1);
        game->Tick();
    }

    GameAdsCC *ads = nullptr;
};

TEST_F(GameAdsCCTest, OtherGamesShowsTarnwickFirstWithBothPicturesAndAPulsingDownload)
{
    EXPECT_EQ(game->GetUserInfo()->current_ad, 17);
    EXPECT_FALSE(TitlePictureIsLoaded());
    MWinWindow *window = ads->GetWindow(0);
    ASSERT_NE(window, nullptr);
    EXPECT_STREQ(window->GetInfo()->m_title, "Also by Lichenware");
    EXPECT_EQ(ads->GetBackControl(), window->GetHideButton());
    ASSERT_NE(ads->GetBackControl(), nullptr);

    EXPECT_EQ(Text(G::GADS_TITLE), "TARNWICK");
    EXPECT_EQ(Text(G::GADS_DESC1), "Build a mountain town around its tarn.");
    EXPECT_EQ(Text(G::GADS_DESC4), "A town builder without hurry.");
    EXPECT_EQ(Text(G::GADS_DOWNLOAD), "Instant Download");
    for (int control : {G::GADS_PIC1_BG, G::GADS_PIC1, G::GADS_PIC2_BG, G::GADS_PIC2, G::GADS_PREV, G::GADS_NEXT})
        EXPECT_TRUE(Shown(control)) << control;
    EXPECT_FALSE(Shown(G::GADS_PIC_CEN));
    EXPECT_NE(GameAdsGetPicTexture(0), nullptr);
    EXPECT_NE(GameAdsGetPicTexture(1), nullptr);

    // The download control pulses between 0.7 and 1 with the frames.
    EXPECT_FLOAT_EQ(ads->GetDownloadAlpha(), 1.0f);
    eng_main_frame_time = 0.05f;
    float low = 1, high = 0;
    for (int frame = 0; frame < 40; frame++) {
        game->Tick();
        low = std::min(low, ads->GetDownloadAlpha());
        high = std::max(high, ads->GetDownloadAlpha());
    }
    EXPECT_GE(low, 0.7f);
    EXPECT_LT(low, 0.75f);
    EXPECT_LE(high, 1.0f);
    EXPECT_GT(high, 0.95f);
}

TEST_F(GameAdsCCTest, ButtonsAndArrowKeysBrowseOnTheNextTickAndTheRecordFollows)
{
    MWinButton *next = ads->Control(G::GADS_NEXT);
    _MWinButtonCallbackInfo info = {};
    next->FillCallbackInfo(&info);
    ASSERT_EQ(ads->ButtonPressedCB(next, &info), 1);
    EXPECT_EQ(Text(G::GADS_TITLE), "TARNWICK"); // not yet
    game->Tick();
    // Past the end of the table to the first included title.
    EXPECT_EQ(Text(G::GADS_TITLE), "LANTERNFLY");
    EXPECT_EQ(game->GetUserInfo()->current_ad, 0);
    EXPECT_NE(GameAdsGetPicTexture(0), nullptr);

    const struct {
        int key;
        const char *title;
        short ad;
    } steps[] = {
        {VK_RIGHT, "PEBBLE COVE", 1},
        {VK_RIGHT, "GLOAMWOOD", 3}, // this game's own title is left out
        {VK_LEFT, "PEBBLE COVE", 1},
        {VK_LEFT, "LANTERNFLY", 0},
        {VK_LEFT, "TARNWICK", 17},
    };
    for (const auto &step : steps) {
        SCOPED_TRACE(step.title);
        eng_main_key_states[step.key] = 2;
        game->Tick();
        EXPECT_EQ(eng_main_key_states[step.key], 0);
        EXPECT_EQ(Text(G::GADS_TITLE), step.title);
        EXPECT_EQ(game->GetUserInfo()->current_ad, step.ad);
    }
    PressAndTick(ads->Control(G::GADS_PREV));
    EXPECT_EQ(Text(G::GADS_TITLE), "PUDDLE JUMP");
}

// The tablet's screen, opened again from the Main screen in the iPad's
// landscape layout: one picture, a drag on it browses, and the swipe hint
// plays once.
class GameAdsTabletTest : public GameAdsCCTest {
protected:
    void SetUp() override
    {
        GameAdsCCTest::SetUp();
        EngMiscSetTabletPlatformForTests(1);
        game->GetMWin()->SetScreenLayout(MWIN_LAYOUT_IPAD_LANDSCAPE);
        screens->GotoScreen(HW_SCREEN_MAIN, nullptr);
        ASSERT_EQ(Press(main_cc->Control(MainCollectionController::MAIN_OTHER_GAMES)), 1);
        ASSERT_EQ(screens->GetCurrentScreen(), HW_SCREEN_GADS);
    }

    void TearDown() override
    {
        eng_main_key_states[VK_LBUTTON] = 0;
        game->GetMWin()->SetScreenLayout(MWIN_LAYOUT_NORMAL);
        EngMiscSetTabletPlatformForTests(0);
        GameAdsCCTest::TearDown();
    }

    // The left button held from one point to another of the 640 x 480
    // screen, a frame at each of five steps, then let go.
    void Drag(float from_x, float to_x, float y)
    {
        auto move = [&](float x) {
            game->InputEvent(EPIE_MOUSE_MOVE, x * eng_screen_width / 640.0f, y * eng_screen_height / 480.0f);
            game->Tick();
        };
        move(from_x);
        eng_main_key_states[VK_LBUTTON] = 2;
        game->Tick();
        for (int step = 1; step <= 5; step++)
            move(from_x + (to_x - from_x) * step / 5.0f);
        eng_main_key_states[VK_LBUTTON] = 0;
        game->Tick();
    }
};

TEST_F(GameAdsTabletTest, ADragOnThePictureBrowsesAndAShortOneDoesNot)
{
    EXPECT_EQ(Text(G::GADS_TITLE), "TARNWICK");
    EXPECT_NE(GameAdsGetPicTexture(0), nullptr);
    EXPECT_EQ(GameAdsGetPicTexture(1), nullptr); // one picture on a tablet
    EXPECT_FALSE(Shown(G::GADS_GET_APP));
    // A finger that moves less than the toolkit's threshold browses nothing.
    Drag(320, 322, 170);
    EXPECT_EQ(Text(G::GADS_TITLE), "TARNWICK");
    // To the left the next title; to the right back again.
    Drag(400, 250, 170);
    EXPECT_EQ(Text(G::GADS_TITLE), "LANTERNFLY");
    EXPECT_EQ(game->GetUserInfo()->current_ad, 0);
    Drag(250, 400, 170);
    EXPECT_EQ(Text(G::GADS_TITLE), "TARNWICK");
    // Off the picture a drag does nothing.
    Drag(400, 250, 470);
    EXPECT_EQ(Text(G::GADS_TITLE), "TARNWICK");
}

TEST_F(GameAdsTabletTest, TheSwipeHintWaitsFadesInHoldsAndFadesOutOnce)
{
    EXPECT_EQ(ads->GetSwipeHintState(), 1);
    eng_main_frame_time = 0.05f;
    auto frame = [&] {
        eng_main_program_time = eng_main_program_time + eng_main_frame_time;
        game->Render();
    };
    frame();
    EXPECT_FLOAT_EQ(ads->GetSwipeHintFade(), 0); // the half-second wait
    float highest = 0;
    int frames_at_full = 0, frames = 0;
    while (ads->GetSwipeHintState() != 0 && frames < 200) {
        frame();
        frames++;
        highest = std::max(highest, ads->GetSwipeHintFade());
        frames_at_full += ads->GetSwipeHintFade() == 1.0f;
    }
    EXPECT_FLOAT_EQ(highest, 1);
    // Half a second of waiting, half of fading in, one and a half held, half
    // of fading out: about three seconds at twenty frames a second.
    EXPECT_NEAR(frames, 60, 3);
    EXPECT_NEAR(frames_at_full, 30, 2);
    EXPECT_FLOAT_EQ(ads->GetSwipeHintFade(), 0);
    // Not again, also after leaving and coming back.
    screens->GotoScreen(HW_SCREEN_MAIN, nullptr);
    ASSERT_EQ(Press(main_cc->Control(MainCollectionController::MAIN_OTHER_GAMES)), 1);
    EXPECT_EQ(ads->GetSwipeHintState(), 0);
}

TEST_F(GameAdsCCTest, BackAndEscapeReturnToTheMainScreenAndReleaseThePictures)
{
    PressAndTick(ads->GetBackControl());
    EXPECT_EQ(screens->GetCurrentScreen(), HW_SCREEN_MAIN);
    EXPECT_EQ(GameAdsGetPicTexture(0), nullptr);
    EXPECT_TRUE(TitlePictureIsLoaded());

    // Opened again, on the title the record kept.
    game->GetUserInfo()->current_ad = 5;
    ASSERT_EQ(Press(main_cc->Control(MainCollectionController::MAIN_OTHER_GAMES)), 1);
    EXPECT_EQ(Text(G::GADS_TITLE), "FERN CASTLE");
    PressEscape(); // the toolkit presses the hide button; the screen acts on the next tick
    game->Tick();
    EXPECT_EQ(screens->GetCurrentScreen(), HW_SCREEN_MAIN);
    EXPECT_EQ(GameAdsGetPicTexture(0), nullptr);
}

TEST_F(GameAdsCCTest, TheDownloadControlAndPicturesFollowTheTitlesPlatform)
{
    // With no title included, any title asked for stays current.
    const struct {
        int ad;
        const char *title;
        const char *download;
        bool centre;
    } cases[] = {
        {16, "TARNWICK  (iPhone)", "App Store", false},
        {20, "TARNWICK  (iPad)", "App Store", true},
        {23, "TARNWICK  (Android)", "Play Store", false},
        {14, "LICHENWARE GAMES", "Home Page", true},
        {12, "COPPER BEETLE", "Home Page", false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.ad);
        GameAdsResetForTests();
        GameAdsSetPicFilenameCB(GameAdsPictureFile);
        GameAdsSetCurGameAd(c.ad);
        screens->ReloadCurrentScreen();
        EXPECT_EQ(Text(G::GADS_TITLE), c.title);
        EXPECT_EQ(Text(G::GADS_DOWNLOAD), c.download);
        EXPECT_EQ(Shown(G::GADS_PIC_CEN), c.centre);
        EXPECT_EQ(Shown(G::GADS_PIC1), !c.centre);
        EXPECT_EQ(Shown(G::GADS_PIC2), !c.centre);
        EXPECT_FALSE(Shown(G::GADS_PREV));
        EXPECT_FALSE(Shown(G::GADS_NEXT));
        // Without an installer the control does not pulse.
        game->Tick();
        EXPECT_FLOAT_EQ(ads->GetDownloadAlpha(), 1.0f);
    }
    // A phone title's download control only says where to find the app.
    GameAdsSetCurGameAd(23);
    screens->ReloadCurrentScreen();
    PressAndTick(ads->Control(G::GADS_DOWNLOAD));
    EXPECT_TRUE(game->GetMWin()->IsPopupOn());
    EXPECT_EQ(eng_main_program, program);
    EXPECT_EQ(screens->GetCurrentScreen(), HW_SCREEN_GADS);
}

TEST_F(GameAdsCCTest, ThePicturesAreMadeAgainAfterTheDeviceOnlyOnThisScreen)
{
    // The game's graphics released and made again, as around a new device.
    game->DestroyGraphics();
    EXPECT_EQ(GameAdsGetPicTexture(0), nullptr);
    ASSERT_EQ(game->CreateGraphics(), 1);
    EXPECT_NE(GameAdsGetPicTexture(0), nullptr);
    EXPECT_NE(GameAdsGetPicTexture(1), nullptr);

    PressAndTick(ads->GetBackControl());
    game->DestroyGraphics();
    ASSERT_EQ(game->CreateGraphics(), 1);
    EXPECT_EQ(GameAdsGetPicTexture(0), nullptr);
}

TEST_F(GameAdsCCTest, TellAFriendEndsTheProgramThenOpensThePageWithThePlayersName)
{
    PressAndTick(ads->Control(G::GADS_TELL_A_FRIEND));
    EXPECT_EQ(eng_main_program, nullptr);
    ASSERT_EQ(TestHooks::shell_opens.size(), 1u);
    const std::string &address = TestHooks::shell_opens[0].file;
    EXPECT_NE(address.find("?from_prog=HiveWatcherPC&rec=Tarnwick&&user_name=Ann"), std::string::npos) << address;
    game = nullptr;
}

} // namespace
