// The game object on a started game (recording device, headless desktop):
// the first screen, Escape on the menus and in play, saving the running
// game with the player, the date format of a newly loaded player, and the
// road from a finished game to the Scores screen.
#include "game/Game.h"

#include "engine/graphics/EngFont.h"
#include "engine/runtime/EngProgram.h"
#include "game/Levels.h"
#include "game/SavedGame.h"
#include "gui/MWinTextures.h"
#include "engine/runtime/EngWindow.h"
#include "modules/UserClass.h"
#include "tests/game/GameTestSupport.h"

namespace {

using namespace game_test;

class GameTest : public StartedGameTest {
protected:
    unsigned Current() { return game->GetScreens()->GetCurrentScreen(); }

    // The popups the game asks for, by kind and text.
    static void RecordPopups()
    {
        game_neighbours.popup_set_wide_buttons = [](MWin *) { calls.push_back("wide buttons"); };
        game_neighbours.popup_reset_button_widths = [](MWin *) { calls.push_back("reset widths"); };
        game_neighbours.popup_set_yes_no_cancel_texts = [](MWin *, const char *yes, const char *no, const char *) {
            calls.push_back(std::string("texts ") + yes + " / " + no);
        };
        game_neighbours.popup_set_button_texts = [](MWin *, const char *first, const char *) {
            calls.push_back(std::string("texts ") + first);
        };
        game_neighbours.popup_yes_no_cancel = [](MWin *, const char *, const char *text, GamePopupDoneCB, void *) {
            calls.push_back(std::string("yes/no/cancel ") + text);
            return char(1);
        };
        game_neighbours.popup_ok_cancel = [](MWin *, const char *, const char *text, GamePopupDoneCB, void *) {
            calls.push_back(std::string("ok/cancel ") + text);
            return char(1);
        };
    }

    char Escape() { return program->InputEventCB(EPIE_KEY_DOWN, 27, 0); }
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
    EXPECT_FALSE(LogHas("Could not"));
}

TEST_F(GameTest, EscapeTable)
{
    RecordPopups();
    play_neighbours.game_over_end = [] {
        calls.push_back("game over end");
        return char(play_game_over);
    };
    play_neighbours.game_won_end = [](char) {
        calls.push_back("game won end");
        return char(play_game_won);
    };
    play_neighbours.scores_screen_ask_submit = [](const char *) { calls.push_back("prompt"); };
    struct Case {
        const char *what;
        bool menus;
        unsigned screen;
        char windowed;
        char over, won;
        char taken;
        std::vector<std::string> calls;
        unsigned after;
    } cases[] = {
        {"Main screen in a window", true, HW_SCREEN_MAIN, 1, 0, 0, 1,
         {"texts Exit", "ok/cancel Exit the game?"}, HW_SCREEN_MAIN},
        {"Main screen in full screen", true, HW_SCREEN_MAIN, 0, 0, 0, 1,
         {"wide buttons", "texts Exit / Windowed", "yes/no/cancel Exit the game, or switch to a window?",
          "reset widths"},
         HW_SCREEN_MAIN},
        {"another menu screen", true, HW_SCREEN_OPTN, 1, 0, 0, 0, {}, HW_SCREEN_OPTN},
        {"play", false, 0, 1, 0, 0, 1, {"game over end", "game won end", "start PAUS"}, HW_SCREEN_PAUS},
        {"play after game over", false, 0, 1, 1, 0, 1, {"game over end", "start MAIN", "start STAT", "prompt"},
         HW_SCREEN_STAT},
        {"play after game won", false, 0, 1, 0, 1, 1,
         {"game over end", "game won end", "start MAIN", "start STAT", "prompt"}, HW_SCREEN_STAT},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        if (c.menus) {
            game->GetScreens()->StartScreen(c.screen, -1);
        } else {
            game->CloseMenusAndPlay();
            ASSERT_FALSE(game->GetScreens()->IsOn());
        }
        eng_screen_windowed = c.windowed;
        play_game_over = c.over;
        play_game_won = c.won;
        calls.clear();
        EXPECT_EQ(game->HandleEscapeKey(), c.taken);
        EXPECT_EQ(calls, c.calls);
        EXPECT_EQ(Current(), c.after);
    }
    eng_screen_windowed = 1;
    play_game_over = play_game_won = 0;
}

TEST_F(GameTest, EscapeReachesTheToolkitWhenTheGameDoesNotTakeIt)
{
    RecordPopups();
    game->GetScreens()->StartScreen(HW_SCREEN_OPTN, -1);
    calls.clear();
    Escape();
    EXPECT_TRUE(calls.empty());
    game->GetScreens()->StartScreen(HW_SCREEN_MAIN, -1);
    EXPECT_EQ(Escape(), 1);
    EXPECT_EQ(calls.size(), 2u);
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

TEST_F(GameTest, MenusAndPlayEachDrawAFrame)
{
    D3D9RecordingReset();
    program->RenderCB();
    size_t menu_draws = D3D9RecordingGetDraws().size();
    game->CloseMenusAndPlay();
    D3D9RecordingReset();
    program->RenderCB();
    // The play draws its garden and sidebar; the empty menus only clear.
    EXPECT_GT(D3D9RecordingGetDraws().size(), menu_draws);
}

} // namespace
