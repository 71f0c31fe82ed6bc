// The game object on a started game (recording device, headless desktop):
// the first screen, Escape on the menus and in play, saving the running
// game with the player, the date format of a newly loaded player, and the
// road from a finished game to the Scores screen; and what a frame of the
// Main menu and of play shows.
#include "game/Game.h"

#include "engine/graphics/EngFont.h"
#include "engine/runtime/EngProgram.h"
#include "game/Bugs.h"
#include "game/HiveWatcher.h"
#include "game/Levels.h"
#include "game/PlayNeighbours.h"
#include "game/SavedGame.h"
#include "game/Sidebar.h"
#include "gui/MWinButton.h"
#include "gui/MWinTextures.h"
#include "engine/runtime/EngWindow.h"
#include "modules/UserClass.h"
#include "screens/MainCC.h"
#include "tests/support/GuiTestKit.h"
#include "tests/game/GameTestSupport.h"

#include <algorithm>

namespace {

using namespace game_test;

class GameTest : public StartedGameTest {
protected:
    unsigned Current() { return game->GetScreens()->GetCurrentScreen(); }

    // The texts of the open popup's buttons, in their order.
    std::vector<std::string> PopupButtons()
    {
        std::vector<std::string> texts;
        MWin *mwin = game->GetMWin();
        if (!mwin->IsPopupOn())
            return texts;
        for (int i = 0; i < MWIN_POPUP_NUM_BUTTONS; i++)
            if (mwin->GetPopupButton(i) && mwin->GetPopupButton(i)->IsShown())
                texts.push_back(mwin->GetPopupButton(i)->GetTextP());
        return texts;
    }

    char Escape() { return program->InputEventCB(EPIE_KEY_DOWN, 27, 0); }

    // Ann, a new player, plays the second garden and her game is saved; the
    // program is then back on the Main screen with no game under way, as
    // before her next load.
    void SaveAGameOfAnn()
    {
        ASSERT_EQ(game->GetUser()->CreateNewUser("Ann", "GB", 0), 1);
        game->GetUser()->FinishLoading(1, 0);
        levels_garden = 1;
        ASSERT_TRUE(HiveWatcherStartNewGame(0));
        game->CloseMenusAndPlay();
        game->SaveUser(1);
        play_under_way = 0;
        levels_garden = -1;
        game->GetScreens()->StartScreen(HW_SCREEN_MAIN, -1);
    }
};

TEST_F(GameTest, StartsOnTheFirstScreenWithTheSkinAndFont)
{
    EXPECT_EQ(main_game, game);
    EXPECT_TRUE(game->GetScreens()->IsOn());
    EXPECT_EQ(Current(), HW_SCREEN_MAIN);
    ASSERT_NE(GameGetFont(), nullptr);
    EXPECT_EQ(GameGetFont(), game->GetFont());
    EXPECT_EQ(GameGetFont()->IsCreated(), 1);
    EXPECT_GE(game->GetMWin()->GetTextures()->GetTexButNumFromID("Back1"), 0);
    // Focus does not follow the mouse in the game's menus.
    EXPECT_EQ(game->GetMWin()->GetSettingsP()->m_collection_focus_follows_mouse, 0);
    EXPECT_EQ(game->GetMWin()->GetSettingsP()->m_window_focus_follows_mouse, 0);
    for (const std::string &line : StoredLines())
        EXPECT_EQ(line.find("Could not"), std::string::npos) << line;
}

// The play's pictures stay off the way to the first frame: made once a menu
// frame has been shown, or at once when the play starts before that.
TEST_F(GameTest, ThePlaysPicturesAreMadeAfterTheFirstMenuFrameOrWhenThePlayStarts)
{
    ASSERT_FALSE(play_textures[0].IsCreated());
    program->TickCB();
    EXPECT_FALSE(play_textures[0].IsCreated());
    program->RenderCB();
    program->TickCB();
    EXPECT_TRUE(play_textures[0].IsCreated());

    // Made again after the device's graphics were, once a frame shows.
    program->DestroyGraphicsObjectsCB();
    ASSERT_TRUE(program->CreateGraphicsObjectsCB());
    EXPECT_FALSE(play_textures[0].IsCreated());
    levels_garden = 0;
    ASSERT_TRUE(HiveWatcherStartNewGame(0));
    game->CloseMenusAndPlay();
    EXPECT_TRUE(play_textures[0].IsCreated());
    program->TickCB();
    program->RenderCB();
    levels_garden = -1;
}

TEST_F(GameTest, EscapeTable)
{
    play_neighbours.scores_screen_ask_submit = [](const char *) { calls.push_back("prompt"); };
    struct Case {
        const char *what;
        bool menus, popup_open;
        unsigned screen;
        char windowed;
        char over, won;
        char taken;
        std::vector<std::string> buttons;
        std::vector<std::string> calls;
        unsigned after;
    } cases[] = {
        {"Main screen in a window", true, false, HW_SCREEN_MAIN, 1, 0, 0, 1, {"Exit", "Cancel"}, {}, HW_SCREEN_MAIN},
        {"Main screen in full screen", true, false, HW_SCREEN_MAIN, 0, 0, 0, 1, {"Exit", "Cancel", "Windowed"}, {},
         HW_SCREEN_MAIN},
        {"Main screen with a popup open", true, true, HW_SCREEN_MAIN, 1, 0, 0, 0, {"Ok"}, {}, HW_SCREEN_MAIN},
        {"another menu screen", true, false, HW_SCREEN_OPTN, 1, 0, 0, 0, {}, {}, HW_SCREEN_OPTN},
        {"play", false, false, 0, 1, 0, 0, 1, {}, {"start PAUS"}, HW_SCREEN_PAUS},
        {"play after game over", false, false, 0, 1, 1, 0, 1, {}, {"start MAIN", "start STAT", "prompt"},
         HW_SCREEN_STAT},
        {"play after game won", false, false, 0, 1, 0, 1, 1, {}, {"start MAIN", "start STAT", "prompt"},
         HW_SCREEN_STAT},
    };
    MWin *mwin = game->GetMWin();
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        if (c.menus) {
            game->GetScreens()->StartScreen(c.screen, -1);
        } else {
            game->CloseMenusAndPlay();
            ASSERT_FALSE(game->GetScreens()->IsOn());
        }
        if (c.popup_open) {
            ASSERT_EQ(mwin->PopupMessage(nullptr, "Hello"), 1);
        }
        eng_screen_windowed = c.windowed;
        play_game_over = c.over;
        play_game_won = c.won;
        calls.clear();
        EXPECT_EQ(game->HandleEscapeKey(), c.taken);
        EXPECT_EQ(PopupButtons(), c.buttons);
        EXPECT_EQ(calls, c.calls);
        EXPECT_EQ(Current(), c.after);
        // Escape ended the scene.
        EXPECT_EQ(play_game_over, 0);
        EXPECT_EQ(play_game_won, 0);
        mwin->PopupCloseIfOn();
    }
    eng_screen_windowed = 1;
    play_game_over = play_game_won = 0;
}

TEST_F(GameTest, TheExitPromptsQuitOrSwitchToAWindow)
{
    MWin *mwin = game->GetMWin();
    // In a window: Cancel keeps the game, OK ends the main loop.
    ASSERT_EQ(Escape(), 1);
    mwin->PopupAnswer(0);
    EXPECT_EQ(program->GetExitFlag(), 0);
    ASSERT_EQ(Escape(), 1);
    mwin->PopupAnswer(1);
    EXPECT_EQ(program->GetExitFlag(), 1);
    program->ClearExitFlag();
    // In full screen, No asks the window to leave full screen instead.
    eng_screen_windowed = 0;
    ASSERT_EQ(Escape(), 1);
    mwin->PopupAnswer(2);
    EXPECT_EQ(program->GetExitFlag(), 0);
    eng_screen_windowed = 1;
}

// A turn of the device reaches the game only on a tablet; there the game
// stays in landscape, and a real change closes the popup and builds the
// current screen again.
TEST_F(GameTest, OnlyATabletFollowsTheDevicesTurn)
{
    MWin *mwin = game->GetMWin();
    const int before = EngMainGetOrientation();
    auto started_again = [] {
        const std::vector<std::string> taken = TakeCalls();
        return std::find(taken.begin(), taken.end(), "start MAIN") != taken.end();
    };
    EngMainSetOrientation(EO_LANDSCAPE);
    mwin->PopupMessage("Note", "Open");
    calls.clear();
    program->OrientationChangedCB(EO_LANDSCAPE_FLIPPED);
    EXPECT_EQ(EngMainGetOrientation(), EO_LANDSCAPE);
    EXPECT_TRUE(mwin->IsPopupOn());
    EXPECT_FALSE(started_again());

    EngMiscSetTabletPlatformForTests(1);
    program->OrientationChangedCB(EO_LANDSCAPE_FLIPPED);
    EXPECT_EQ(EngMainGetOrientation(), EO_LANDSCAPE_FLIPPED);
    EXPECT_FALSE(mwin->IsPopupOn());
    EXPECT_TRUE(started_again());
    // Portrait keeps the current landscape: unforced, nothing changes.
    game->OrientationChanged(EO_PORTRAIT, 0);
    EXPECT_EQ(EngMainGetOrientation(), EO_LANDSCAPE_FLIPPED);
    EXPECT_FALSE(started_again());
    // From a portrait start, portrait becomes landscape.
    EngMainSetOrientation(EO_PORTRAIT);
    game->OrientationChanged(EO_PORTRAIT_FLIPPED, 0);
    EXPECT_EQ(EngMainGetOrientation(), EO_LANDSCAPE);
    EXPECT_TRUE(started_again());
    game->LayoutChanged();
    EXPECT_EQ(EngMainGetOrientation(), EO_LANDSCAPE);
    EXPECT_TRUE(started_again());
    EngMiscSetTabletPlatformForTests(0);
    EngMainSetOrientation(before);
}

TEST_F(GameTest, EscapeReachesTheToolkitWhenTheGameDoesNotTakeIt)
{
    game->GetScreens()->StartScreen(HW_SCREEN_OPTN, -1);
    Escape();
    EXPECT_FALSE(game->GetMWin()->IsPopupOn());
    game->GetScreens()->StartScreen(HW_SCREEN_MAIN, -1);
    EXPECT_EQ(Escape(), 1);
    EXPECT_TRUE(game->GetMWin()->IsPopupOn());
}

TEST_F(GameTest, SavingThePlayerKeepsTheRunningGameInSlotZero)
{
    // Without a loaded player nothing is saved.
    game->SaveUser(1);
    EXPECT_TRUE(LogHas("User is not loaded."));
    ASSERT_EQ(game->GetUser()->CreateNewUser("Ann", "GB", 0), 1);
    struct Case {
        const char *what;
        char under_way, over, won;
        bool saved;
    } cases[] = {
        {"game under way", 1, 0, 0, true},
        {"after game over", 1, 1, 0, false},
        {"game under way again", 1, 0, 0, true},
        {"after game won", 1, 0, 1, false},
        {"game under way once more", 1, 0, 0, true},
        {"no game", 0, 0, 0, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        play_under_way = c.under_way;
        play_game_over = c.over;
        play_game_won = c.won;
        ResolutionGetSettings()->show_dialog = 0;
        game->SaveUser(1);
        EXPECT_EQ(SavedGameExists(0, 1), c.saved);
        // The settings are written with the real show-dialog byte.
        EXPECT_EQ(ReadWhole(modules_test::SettingsFile())[8], 0);
    }
    play_under_way = play_game_over = play_game_won = 0;
}

TEST_F(GameTest, DecliningToResumeDeletesTheSavedGameAndAcceptingLoadsIt)
{
    ASSERT_EQ(game->GetUser()->CreateNewUser("Ann", "GB", 0), 1);
    levels_garden = 1;
    ASSERT_TRUE(HiveWatcherStartNewGame(0));
    game->CloseMenusAndPlay();
    play_money = 1234;
    ASSERT_EQ(SaveGame(0, 1), 1);
    play_money = 5;
    game->ResumeUsersGame(1);
    EXPECT_FALSE(game->GetScreens()->IsOn());
    EXPECT_EQ(play_money, 1234);
    EXPECT_TRUE(SavedGameExists(0, 1));
    game->ResumeUsersGame(0);
    EXPECT_FALSE(SavedGameExists(0, 1));
    play_under_way = 0;
    levels_garden = -1;
}

// Only the answer "No" deletes the saved game; a run that ends while
// "Resume your last game?" is still open (the window closed, a SIGTERM)
// keeps it for the next load.
TEST_F(GameTest, OnlyTheAnswerNoDeletesTheSavedGame)
{
    const std::filesystem::path saved = modules_test::UsersFolder() / "Ann_SavedGame00.dat";
    const struct {
        const char *what;
        char answer; // -1: none, the run ends
        bool kept;
    } cases[] = {
        {"No", 2, false},
        {"unanswered when the run ends", -1, true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_NO_FATAL_FAILURE(SaveAGameOfAnn());
        ASSERT_TRUE(std::filesystem::exists(saved));
        // The next load of Ann, from the menus.
        ASSERT_TRUE(game->GetUser()->LoadUser("Ann", 0, nullptr, nullptr));
        game->GetUser()->FinishLoading(0, 0);
        ASSERT_TRUE(game->GetMWin()->IsPopupOn()) << "Resume your last game?";
        if (c.answer >= 0) {
            game->GetMWin()->PopupAnswer(c.answer);
            game->SaveUser(1);
        } else {
            program->CloseDown(1);
            delete program;
            program = nullptr;
        }
        EXPECT_EQ(std::filesystem::exists(saved), c.kept);
    }
}

// The disk stops taking writes (full, read-only) just before a player
// loads, with a saved game on it: every save of the load fails. The player
// is told once, in the toolkit's popup, before the offer of the saved game;
// the program and the player stay as they were, no further save says more,
// and the exit keeps the saved game and the record whole.
TEST_F(GameTest, WritesThatFailAreToldOnceAndTheProgramGoesOn)
{
    const std::filesystem::path saved = modules_test::UsersFolder() / "Ann_SavedGame00.dat";
    const std::filesystem::path record = modules_test::UsersFolder() / "Ann.usr";
    ASSERT_NO_FATAL_FAILURE(SaveAGameOfAnn());
    const std::string saved_bytes = ReadWhole(saved), record_bytes = ReadWhole(record);
    ASSERT_EQ(saved_bytes.size(), 64096u + 16u);

    PlatformSetRenameFunction(modules_test::FailingRename);
    TestHooks::message_boxes.clear();
    ASSERT_TRUE(game->GetUser()->LoadUser("Ann", 0, nullptr, nullptr));
    game->GetUser()->FinishLoading(0, 0);
    ASSERT_EQ(main_game, game) << "the game lives on";
    ASSERT_TRUE(game->GetUser()->IsLoaded());
    EXPECT_FALSE(game->GetMWin()->IsPopupOn()) << "the popup waits for the next frame";
    for (int frame = 0; frame < 100 && !game->GetMWin()->IsPopupOn(); frame++)
        game->Tick();
    ASSERT_TRUE(game->GetMWin()->IsPopupOn());
    EXPECT_EQ(PopupButtons(), std::vector<std::string>{"Ok"}) << "the failure is told first";

    game->GetMWin()->PopupAnswer(1);
    EXPECT_TRUE(game->GetMWin()->IsPopupOn());
    EXPECT_EQ(PopupButtons(), (std::vector<std::string>{"Yes", "No"})) << "then the saved game is offered";
    game->SaveUser(1);
    EXPECT_EQ(PopupButtons(), (std::vector<std::string>{"Yes", "No"}));

    program->CloseDown(1);
    delete program;
    program = nullptr;
    EXPECT_TRUE(TestHooks::message_boxes.empty()) << "one report a run, and it was the popup";
    EXPECT_EQ(ReadWhole(saved), saved_bytes);
    EXPECT_EQ(ReadWhole(record), record_bytes);
    PlatformSetRenameFunction(nullptr);
}

// The start writes the settings asking for the start-up dialog, against a
// start that fails; a run that ends in order without a player writes them
// back with the player's own choice.
TEST_F(GameTest, AnOrderlyExitWithoutAPlayerWritesThePlayersDialogChoice)
{
    EXPECT_EQ(ReadWhole(modules_test::SettingsFile())[8], 1) << "the guard while the game runs";
    ASSERT_EQ(ResolutionGetSettings()->show_dialog, 0);
    program->CloseDown(1);
    delete program;
    program = nullptr;
    EXPECT_EQ(ReadWhole(modules_test::SettingsFile())[8], 0);
}

TEST_F(GameTest, CompletingALevelTurnsTheLoadedPlayersHintsOff)
{
    ASSERT_EQ(game->GetUser()->CreateNewUser("Ann", "GB", 0), 1);
    ASSERT_EQ(game->GetUserOptions()->tutorial_hints, 1);
    levels_garden = 0;
    ASSERT_TRUE(HiveWatcherStartNewGame(0));
    game->CloseMenusAndPlay();
    play_run_state = 0;
    // Every bug gone: the level ends on the second update that finds none.
    BugsDeleteAll();
    BugsUpdate();
    BugsUpdate();
    EXPECT_EQ(play_level, 1);
    EXPECT_EQ(game->GetUserOptions()->tutorial_hints, 0);
    EXPECT_EQ(PlayerGetTutorialHints(), 0);
    play_under_way = 0;
    levels_garden = -1;
}

TEST_F(GameTest, APlayerLoadedWithDefaultsGetsTheDateFormatOfTheirCountry)
{
    ASSERT_EQ(game->GetUser()->CreateNewUser("Ann", "GB", 0), 1);
    _UserInfo *info = game->GetUserInfo();
    const struct {
        const char *country;
        int date_format;
    } cases[] = {{"US", 0}, {"us", 1}, {"GB", 1}, {"", 1}};
    for (const auto &c : cases) {
        std::strcpy(info->country, c.country);
        info->options.date_format = 7;
        int loads = info->options.load_count;
        game->GetScreens()->StartScreen(HW_SCREEN_OPTN, -1);
        game->AfterUserLoaded(1, 0);
        EXPECT_EQ(info->options.date_format, c.date_format) << c.country;
        EXPECT_EQ(info->options.load_count, loads + 1) << c.country;
        EXPECT_EQ(Current(), HW_SCREEN_MAIN) << c.country;
    }
    // Skipped: nothing at all.
    int loads = info->options.load_count;
    game->AfterUserLoaded(1, 1);
    EXPECT_EQ(info->options.load_count, loads);
}

TEST_F(GameTest, AFinishedGameLeadsToTheScoresScreenInOrder)
{
    levels_garden = 2;
    game_neighbours.scores_set_screen_garden = [](int garden) {
        calls.push_back("garden " + std::to_string(garden));
    };
    // Recording the game asks the shown garden; the question after it goes
    // to the Scores screen.
    play_neighbours.scores_screen_get_garden = [] {
        calls.push_back("record");
        return 2;
    };
    game_neighbours.scores_set_show_last_game = [] { calls.push_back("show last game"); };
    play_neighbours.scores_screen_ask_submit = [](const char *) { calls.push_back("prompt"); };
    game->CloseMenusAndPlay();
    calls.clear();
    GameGotoScoresAfterGame();
    EXPECT_EQ(calls, (std::vector<std::string>{"garden 2", "start MAIN", "record", "show last game", "start STAT",
                                               "prompt"}));
    EXPECT_EQ(Current(), HW_SCREEN_STAT);
    levels_garden = 0;
}

// The game with its real Main screen and a player loaded.
class GameFrameTest : public GameTest {
protected:
    void UseScreens() override
    {
        UseRecordingScreens();
        hw_screen_makers[HWS_MAIN] = MainCC_Make;
    }
    void SetUp() override
    {
        GameTest::SetUp();
        ASSERT_EQ(game->GetUser()->CreateNewUser("Ann", "GB", 0), 1);
        game->GetScreens()->GotoScreen(HW_SCREEN_MAIN, nullptr);
    }

    // Whether the quads drawn in and around the rectangle (a skin's frame
    // reaches past it) cover it whole.
    static bool Covered(const _Dimension &r)
    {
        const float margin = 8.0f;
        float left = 1e9f, top = 1e9f, right = -1e9f, bottom = -1e9f;
        for (const DrawnQuad &q : DrawnQuads()) {
            if (q.x < r.x - margin || q.y < r.y - margin || q.x + q.w > r.x + r.w + margin ||
                q.y + q.h > r.y + r.h + margin)
                continue;
            left = std::min(left, q.x);
            top = std::min(top, q.y);
            right = std::max(right, q.x + q.w);
            bottom = std::max(bottom, q.y + q.h);
        }
        return left <= r.x && top <= r.y && right >= r.x + r.w && bottom >= r.y + r.h;
    }

    // Whether one quad drawn (of the texture, when one is given) holds the
    // rectangle.
    static bool DrawnOver(const _Dimension &r, const void *texture = nullptr)
    {
        for (const DrawnQuad &q : DrawnQuads())
            if ((!texture || q.texture == texture) && q.x <= r.x + 0.5f && q.y <= r.y + 0.5f &&
                q.x + q.w >= r.x + r.w - 0.5f && q.y + q.h >= r.y + r.h - 0.5f)
                return true;
        return false;
    }
};

TEST_F(GameFrameTest, TheMenuDrawsItsButtonsAndThePlayItsBoardSidebarAndBottomBar)
{
    D3D9RecordingReset();
    program->TickCB();
    program->RenderCB();
    auto *main_cc = dynamic_cast<MainCollectionController *>(game->GetScreens()->GetController(HWS_MAIN));
    ASSERT_NE(main_cc, nullptr);
    int buttons = 0;
    for (int c = MainCollectionController::MAIN_PLAY; c <= MainCollectionController::MAIN_EXIT; c++) {
        MWinButton *button = main_cc->Control((MainCollectionController::MainControl)c);
        if (!button || !button->IsShown())
            continue;
        EXPECT_TRUE(Covered(*button->GetScreenDimensionP())) << button->GetID();
        buttons++;
    }
    EXPECT_GE(buttons, 8);

    // A game in garden 0, started as the Select screen starts one.
    levels_garden = 0;
    LevelsDestroyGraphics();
    ASSERT_TRUE(LevelsCreateGraphics());
    ASSERT_TRUE(HiveWatcherStartNewGame(0));
    game->CloseMenusAndPlay();
    D3D9RecordingReset();
    program->TickCB();
    program->RenderCB();
    const void *garden = LevelsGetGardenPicture()->GetTextureDX9()->GetD3DTexture();
    EXPECT_TRUE(DrawnOver({100, 0, 540, 450}, garden));
    // The sidebar's picture holds its twelve buttons.
    for (const _Dimension &button : sidebar_button_rects)
        EXPECT_TRUE(DrawnOver(button)) << button.x << "," << button.y;
    EXPECT_TRUE(DrawnOver({0, 450, 640, 30}));
    levels_garden = 0;
}

} // namespace
