// A player's whole game on the real program, from an empty per-user folder:
// the start-up dialog and the internet test's message boxes, a new player
// named and given a country, a new game on the first garden with weapons
// placed and upgraded through the weapon popup, two levels won by killing
// their bugs, the game saved from the pause screen, the program started
// again and the game resumed as it was, then lost on purpose, and its score
// highlighted in the local table.
#include "tests/e2e/E2eScreens.h"
#include "tests/e2e/PlayE2eSteps.h"

#include "engine/core/EngEncryption.h"
#include "engine/core/EngMisc.h"
#include "modules/UserClass.h"
#include "screens/UserNew.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <thread>

namespace {

using namespace e2e;

// The question whether to resume the last game: its box's honey-coloured
// left border.
bool ResumeQuestionShown(const Screen &screen)
{
    for (float y = 220; y < 260; y += 4) {
        const uint32_t p = GamePixel(screen, 202.2f, y);
        if (((p >> 16) & 0xff) < 120 || (p & 0xff) > 90)
            return false;
    }
    return true;
}

// The bottom bar's score, money and lives.
const float SCORE_MONEY_LIVES[4] = {100, 452, 360, 26};

// What a player sees again of a saved game, from its record.
struct SavedPlay {
    int32_t lives = 0, money = 0, level = -1, weapons = 0;
    std::vector<int32_t> types, levels;
};

template <typename T> T At(const std::vector<unsigned char> &record, size_t offset)
{
    T value;
    std::memcpy(&value, record.data() + offset, sizeof(T));
    return value;
}

bool ReadSavedPlay(const std::string &file, SavedPlay *play)
{
    std::vector<unsigned char> record(64096);
    if (!EngEncryptionReadFromFileAndDecrypt(file.c_str(), record.data(), static_cast<unsigned>(record.size())))
        return false;
    play->lives = At<int32_t>(record, 64076);
    play->money = At<int32_t>(record, 64080);
    play->level = At<int32_t>(record, 64084);
    play->weapons = At<int32_t>(record, 56004);
    // Weapons from offset 4, 56 bytes each: present, type, level, ...
    for (int i = 0; i < play->weapons && i < 1000; i++) {
        const size_t weapon = 4 + 56 * static_cast<size_t>(i);
        if (!record[weapon])
            continue;
        play->types.push_back(At<int32_t>(record, weapon + 4));
        play->levels.push_back(At<int32_t>(record, weapon + 8));
    }
    return true;
}

// Turrets beside the road: inside its bends and between its runs, where
// one reaches two runs of the road.
const BoardPoint TURRETS[] = {{0.56f, -0.26f}, {0.1f, -0.3f}, {-0.45f, 0.32f}, {0.45f, 0.3f}};
// The ones upgraded, before the first wave and once it is won.
const int UPGRADED_FIRST = 3, UPGRADED_SECOND = 1;

class WholeGameE2eTest : public PlayingE2eTest {
protected:
    void SetUp() override
    {
        PlayingE2eTest::SetUp();
        // The program takes the player's own country from the locale.
        unsetenv("LC_ALL");
        unsetenv("LC_MESSAGES");
        setenv("LANG", "fr_FR.UTF-8", 1);
    }

    // The start-up dialog, which comes at every start until the player turns
    // it off: the windowed choice when asked for, PLAY, then the internet
    // test's message boxes, each answered with Escape (OK, or No to "Try
    // Again ?"), until the game shows the screen waited for. Answers
    // whether a box came; the first is saved.
    bool PlayThroughDialog(const std::function<bool(const Screen &)> &arrived, const std::string &shot_prefix,
                           bool windowed, bool *box_seen)
    {
        *box_seen = false;
        if (!WaitFor(DialogShown))
            return false;
        SaveShot(shot_prefix + "Dialog");
        if (windowed)
            m_display->Click(WINDOWED_X, WINDOWED_Y);
        m_display->Click(PLAY_X, PLAY_Y);
        return WaitFor(
            [&](const Screen &screen) {
                if (arrived(screen))
                    return true;
                // The boxes are dark: any lit point in the middle of a
                // screen that is neither the dialog nor the game's.
                if (DialogShown(screen) || PlayersScreenDrawn(screen) || LitPoints(screen, 220, 180, 200, 120) == 0)
                    return false;
                if (!*box_seen)
                    XDisplay::SavePng(HW_SCREENSHOT_DIR "/" + shot_prefix + "InternetTestBox.png", screen);
                *box_seen = true;
                // Without a window manager the keyboard follows the pointer.
                int x, y;
                if (FindTopLeftLitPixel(screen, &x, &y))
                    m_display->MoveTo(x + 8, y + 8);
                Key("Escape");
                return false;
            },
            90);
    }

    // Clicks a weapon on the board, which opens its popup over it.
    bool OpenWeaponPopup(BoardPoint at)
    {
        const Screen before = Shot();
        Click(BoardToGameX(at.x), BoardToGameY(at.y));
        return WaitFor(
            [&](const Screen &now) {
                return ChangedIn(before, now, BoardToGameX(at.x) - 100, BoardToGameY(at.y) - 200, 200, 180) > 0.2;
            },
            10);
    }

    // The weapon popup's window (210 x 224) stands centred on the weapon
    // with its bottom level with the weapon's, the weapon's square being
    // measured 480 units to the board's height; it is kept on the screen.
    static constexpr float POPUP_WIDTH = 210, POPUP_HEIGHT = 224;
    static float PopupLeft(BoardPoint at) { return std::clamp(BoardToGameX(at.x) - POPUP_WIDTH / 2, 0.0f, 640 - POPUP_WIDTH); }
    static float PopupTop(BoardPoint at)
    {
        const float turret_half_size = 0.06f;
        return std::clamp((at.y + turret_half_size + 1) * 240 - POPUP_HEIGHT, 0.0f, 480 - POPUP_HEIGHT);
    }

    // Clicks a control of the weapon popup, at its place in the popup's window.
    void ClickInWeaponPopup(BoardPoint at, float x, float y) { Click(PopupLeft(at) + x, PopupTop(at) + y); }
};

TEST_F(WholeGameE2eTest, APlayersGameFromAFirstStartToTheLocalScores)
{
    // The first start finds no settings: the dialog asks for the window.
    ASSERT_TRUE(StartProgram(false));
    bool box_seen = false;
    ASSERT_TRUE(PlayThroughDialog(PlayersScreenDrawn, "WholeGame01_", true, &box_seen));
    EXPECT_TRUE(box_seen) << "the internet test said nothing";
    ASSERT_TRUE(WaitFor(PlayersScreenDrawn));
    SaveShot("WholeGame03_Players");

    // A new player, named and given a country.
    Screen screen = Shot();
    Click(75, 447); // New Player
    ASSERT_TRUE(WaitForNewScreen(screen, &screen));
    ASSERT_TRUE(WaitFor(NewPlayerScreenDrawn));
    char logon[UserNewCC::NAME_SIZE] = "";
    EngMiscGetDefaultUsersName(logon, UserNewCC::NAME_LIMIT);
    if (UserNewIsNameValid(logon, UserNewCC::NAME_LIMIT, nullptr)) {
        // The log-on name is proposed; a click on it opens the text entry.
        SaveShot("WholeGame04_NameProposed");
        Click(320, 217);
        ASSERT_TRUE(WaitForNewScreen(screen, &screen));
    }
    SaveShot("WholeGame05_NameEntry");
    Type("Jo Marsh");
    Key("Return");
    ASSERT_TRUE(WaitForNewScreen(screen, &screen));
    Click(320, 292); // Country
    ASSERT_TRUE(WaitFor(CountryScreenDrawn));
    ASSERT_TRUE(WaitForNewScreen(screen, &screen));
    // France, the locale's, is chosen; Germany lies four rows below it.
    Click(320, 307);
    ASSERT_TRUE(WaitFor([](const Screen &shot) { return CountryRowChosen(shot, 307); }));
    SaveShot("WholeGame06_Country");
    Click(320, 442); // Continue
    ASSERT_TRUE(WaitFor(NewPlayerScreenDrawn));
    ASSERT_TRUE(WaitForNewScreen(screen, &screen));
    SaveShot("WholeGame07_NewPlayer");
    Click(320, 447); // Continue
    ASSERT_TRUE(WaitFor(MainScreenDrawn));
    ASSERT_TRUE(WaitForNewScreen(screen, &screen));
    SaveShot("WholeGame08_Main");

    // A new game on the first garden, through its notice.
    Click(320, 225); // New Game
    ASSERT_TRUE(WaitForNewScreen(screen, &screen));
    SaveShot("WholeGame09_Select");
    Click(235, 200); // the first garden
    ASSERT_TRUE(WaitForNewScreen(screen, &screen));
    SaveShot("WholeGame10_Notice");
    Click(320, 312); // Ok
    ASSERT_TRUE(WaitForNewScreen(screen, &screen));
    SaveShot("WholeGame11_Garden");

    // The factory, then turrets along the road.
    ASSERT_TRUE(PlaceWeapon(GUN_FACTORY_BUTTON, FACTORY_SPOT));
    for (const BoardPoint &spot : TURRETS)
        ASSERT_TRUE(PlaceWeapon(TURRET_BUTTON, spot));
    SaveShot("WholeGame12_Weapons");

    // A turret upgraded through its popup, which closes at once; then the
    // wave starts and the upgrade goes on while the game runs.
    const Screen no_popup = Shot();
    ASSERT_TRUE(OpenWeaponPopup(TURRETS[UPGRADED_FIRST]));
    SaveShot("WholeGame13_WeaponPopup");
    ClickInWeaponPopup(TURRETS[UPGRADED_FIRST], 67, 174); // Upgrade
    // The window's upper part, above the turret and its upgrade's marks, is
    // the board again.
    const float popup_left = PopupLeft(TURRETS[UPGRADED_FIRST]), popup_top = PopupTop(TURRETS[UPGRADED_FIRST]);
    const bool closed = WaitFor(
        [&](const Screen &now) { return ChangedIn(no_popup, now, popup_left, popup_top, POPUP_WIDTH, 150) < 0.02; },
        5);
    SaveShot("WholeGame13_UpgradedPopupClosed");
    ASSERT_TRUE(closed) << "the popup stayed open after Upgrade";
    ParkPointer();
    Key("space");
    const Screen level_one = Shot();

    // Two levels won: the title changes with each new level. The first
    // level's rewards pay for another upgrade.
    ASSERT_TRUE(WaitFor([&](const Screen &now) { return TitleChange(level_one, now) > 0.03; }, 120));
    SaveShot("WholeGame14_LevelTwo");
    const Screen level_two = Shot();
    ASSERT_TRUE(OpenWeaponPopup(TURRETS[UPGRADED_SECOND]));
    ClickInWeaponPopup(TURRETS[UPGRADED_SECOND], 67, 174); // Upgrade
    ParkPointer();
    ASSERT_TRUE(WaitFor([&](const Screen &now) { return TitleChange(level_two, now) > 0.03; }, 120));
    Key("space");
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    const Screen before = Shot();
    SaveShot("WholeGame15_LevelThree");

    // Saved from the pause screen, which ends the program.
    Key("Escape");
    ASSERT_TRUE(WaitForNewScreen(before, &screen));
    SaveShot("WholeGame16_Pause");
    Click(320, 437); // Save Game & Exit
    ASSERT_EQ(WaitForExit(), 0);
    SavedPlay saved;
    const std::string file = (modules_test::UsersFolder() / "Jo Marsh_SavedGame00.dat").string();
    ASSERT_TRUE(ReadSavedPlay(file, &saved)) << file;
    // Two levels won at least: on a busy machine the test may see the title
    // change only after the next level has begun too.
    EXPECT_GE(saved.level, 2);
    EXPECT_EQ(saved.lives, 20) << "bugs got through";
    ASSERT_EQ(saved.types.size(), 1 + std::size(TURRETS));
    EXPECT_EQ(saved.types[0], 9);
    for (int i = 0; i < static_cast<int>(std::size(TURRETS)); i++) {
        SCOPED_TRACE(i);
        EXPECT_EQ(saved.types[1 + i], 0);
        EXPECT_EQ(saved.levels[1 + i], i == UPGRADED_FIRST || i == UPGRADED_SECOND ? 1 : 0);
    }

    // Started again, through the dialog and on with the same player, the
    // program offers the game back.
    ASSERT_TRUE(StartProgram(false));
    ASSERT_TRUE(PlayThroughDialog(PlayersScreenDrawn, "WholeGame17_Restart", false, &box_seen));
    SaveShot("WholeGame18_ContinuePlayer");
    Click(320, 448); // Continue Player
    ASSERT_TRUE(WaitFor([](const Screen &s) { return MainScreenDrawn(s) && ResumeQuestionShown(s); }));
    screen = Shot();
    SaveShot("WholeGame19_ResumeQuestion");
    Click(290, 255); // Yes
    ParkPointer();
    ASSERT_TRUE(WaitForNewScreen(screen, &screen));
    SaveShot("WholeGame20_Resumed");
    EXPECT_LT(ChangedIn(before, screen, SCORE_MONEY_LIVES[0], SCORE_MONEY_LIVES[1], SCORE_MONEY_LIVES[2],
                        SCORE_MONEY_LIVES[3]),
              0.01);
    EXPECT_LT(TitleChange(before, screen), 0.01);

    // Lost on purpose: the turrets sold through their popups, the waves
    // run until the bugs have taken every life.
    for (const BoardPoint &spot : TURRETS) {
        const Screen standing = Shot();
        ASSERT_TRUE(OpenWeaponPopup(spot));
        if (&spot == &TURRETS[0])
            SaveShot("WholeGame21_SellPopup");
        ClickInWeaponPopup(spot, 167, 174); // Sell
        ParkPointer();
        ASSERT_TRUE(WaitFor([&](const Screen &now) { return ChangedAround(standing, now, spot, 10) > 0.3; }, 10))
            << "the turret at " << spot.x << ", " << spot.y << " was not sold";
    }
    SaveShot("WholeGame22_Sold");
    Key("space");
    ASSERT_TRUE(WaitFor(GameOverShown, 300));
    SaveShot("WholeGame23_GameOver");

    // A click after the end leads to the scores and the question whether to
    // submit; without it, the local table holds the game, highlighted.
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    screen = Shot();
    Click(320, 240);
    // The scene's bugs keep the screen moving until it is gone.
    ASSERT_TRUE(WaitFor([](const Screen &now) { return !GameOverShown(now); }));
    ASSERT_TRUE(WaitForNewScreen(screen, &screen));
    SaveShot("WholeGame24_SubmitQuestion");
    Click(349, 292); // Cancel
    ASSERT_TRUE(WaitForNewScreen(screen, &screen));
    Click(196, 133); // Local
    // The game's score, the only one, is the first row, highlighted.
    const bool highlighted = WaitFor([](const Screen &shot) { return ScoreRowHighlighted(shot, SCORE_ROWS[0]); });
    SaveShot("WholeGame25_LocalScores");
    ASSERT_TRUE(highlighted);
    screen = Shot();
    EXPECT_GT(TextPointsInRow(screen, SCORE_ROWS[0]), 20) << "the game's row is empty";
    EXPECT_FALSE(ScoreRowHighlighted(screen, SCORE_ROWS[1]));
    EXPECT_EQ(TextPointsInRow(screen, SCORE_ROWS[1]), 0) << "a second score";
    EXPECT_EQ(StopProgram(), 0);

    // The player as the file holds it.
    UserClass user(nullptr, nullptr, 0, UFM_ENCIPHERED_OR_PLAIN);
    char always_load = 0;
    char country[8] = "";
    ASSERT_TRUE(user.LoadUser("Jo Marsh", 1, &always_load, country));
    EXPECT_STREQ(country, "DE");
}

} // namespace
