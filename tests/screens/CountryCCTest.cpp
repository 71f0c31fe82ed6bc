// The country screen: the list of countries with the user's own chosen at
// start, "Continue" and Enter keeping the choice and going on, the refusal
// with nothing chosen, and the controls moved by the set-up's offsets.
#include "tests/screens/PlayerScreensTestSupport.h"

#include "modules/Countries.h"
#include "screens/CountryCC.h"

#include <cstdlib>

namespace {

using namespace player_screens_test;

class CountryCCTest : public PlayerScreensTest {
protected:
    void UseScreens() override
    {
        PlayerScreensTest::UseScreens();
        user_screens_country_maker = CountryCC_Make;
    }
    void SetUp() override
    {
        saved_lang = std::getenv("LANG") ? std::getenv("LANG") : "";
        SetLocale("de_DE.UTF-8");
        PlayerScreensTest::SetUp();
    }
    void TearDown() override
    {
        PlayerScreensTest::TearDown();
        user_screens_country_maker = nullptr;
        setenv("LANG", saved_lang.c_str(), 1);
    }

    static void SetLocale(const char *lang)
    {
        unsetenv("LC_ALL");
        unsetenv("LC_MESSAGES");
        setenv("LANG", lang, 1);
    }

    CountryCC *Country() { return static_cast<CountryCC *>(Screens()->GetCountryCC()); }
    MWinButton *List() { return Country()->Control(CountryCollectionController::COUNTRY); }
    // The list pressed as the toolkit reports it: a click (mode 0) or Enter (1).
    char PressList(int row, int mode)
    {
        List()->PanelSetPos(row, 0, 0);
        _MWinButtonCallbackInfo info;
        std::memset(&info, 0, sizeof(info));
        List()->FillCallbackInfo(&info);
        info.m_panel_mode = mode;
        info.m_panel_pos = row;
        return Country()->ButtonPressedCB(List(), &info);
    }

    std::string saved_lang;
};

TEST_F(CountryCCTest, TheListHoldsEveryCountryWithTheUsersOwnChosenAndCentred)
{
    game->GetScreens()->GotoScreen(USER_SCREEN_COUNTRY, nullptr);
    ASSERT_EQ(Current(), USER_SCREEN_COUNTRY);
    ASSERT_NE(List(), nullptr);
    EXPECT_STREQ(List()->PanelGetEntryText(0), "Afghanistan");
    EXPECT_STREQ(List()->PanelGetEntryText(221), "Zimbabwe");
    EXPECT_STREQ(List()->PanelGetEntryText(222), "");
    EXPECT_EQ(List()->PanelGetPos(), 71) << "Germany";
    int first = -1, end = -1;
    ASSERT_TRUE(List()->PanelGetVisibleRange(&first, &end));
    EXPECT_LT(first, 71);
    EXPECT_GT(end, 71);
    EXPECT_LE(std::abs((first + end) / 2 - 71), 1) << "centred";
    EXPECT_NE(CountryGetFlagsTexture(), nullptr);
}

TEST_F(CountryCCTest, ContinueWithNothingChosenAsksForACountryAndKeepsTheOldChoice)
{
    SetLocale("C");
    CountrySetChosenCountryCode("FR");
    game->GetScreens()->GotoScreen(USER_SCREEN_COUNTRY, nullptr);
    EXPECT_EQ(List()->PanelGetPos(), -1);
    ASSERT_TRUE(Press(Country(), Country()->Control(CountryCollectionController::CONTINUE)));
    ASSERT_TRUE(Mwin()->IsPopupOn());
    EXPECT_EQ(PopupText(), "Please select a country first");
    EXPECT_STREQ(CountryGetChosenCountryCode(), "FR");
    EXPECT_EQ(Current(), USER_SCREEN_COUNTRY);
}

TEST_F(CountryCCTest, TheNewPlayerScreensChoiceComesBackToItAndTheProgramsGoesToTheTitleMenu)
{
    // From the new-player screen: a click only selects, Enter chooses.
    game->GetScreens()->GotoScreen(USER_SCREEN_NEW, nullptr);
    Mwin()->PopupCloseIfOn();
    UserNewCC *new_cc = Screens()->GetUserNewCC();
    ASSERT_TRUE(Press(new_cc, new_cc->Control(UserNewCollectionController::COUNTRY)));
    ASSERT_EQ(Current(), USER_SCREEN_COUNTRY);
    EXPECT_TRUE(PressList(0, 0));
    EXPECT_EQ(Current(), USER_SCREEN_COUNTRY);
    EXPECT_TRUE(PressList(0, 1));
    EXPECT_EQ(Current(), USER_SCREEN_NEW);
    EXPECT_STREQ(CountryGetChosenCountryCode(), "AF");
    EXPECT_STREQ(new_cc->Control(UserNewCollectionController::COUNTRY)->GetTextP(), "Afghanistan");

    // With the program's continue callback "Continue" leads to the title menu.
    CountrySetup(0, 0, ProgramAfterCountryCB, program, 0, 0);
    game->GetScreens()->GotoScreen(USER_SCREEN_COUNTRY, nullptr);
    List()->PanelSetPos(142, 0, 0);
    ASSERT_TRUE(Press(Country(), Country()->Control(CountryCollectionController::CONTINUE)));
    EXPECT_EQ(Current(), HW_SCREEN_MAIN);
    EXPECT_STREQ(CountryGetChosenCountryCode(), "NC");
}

TEST_F(CountryCCTest, TheOffsetsMoveTheControlsFromWhereTheyWereBuiltOnEveryStart)
{
    CountrySetup(0, 0, nullptr, nullptr, 10, 20);
    const struct {
        CountryCollectionController::Row row;
        float y, h;
    } expected[] = {
        {CountryCollectionController::TITLE, 28, 18},
        {CountryCollectionController::COUNTRY, 60, 293},
        {CountryCollectionController::NOTE, 360, 33},
        {CountryCollectionController::CONTINUE, 405, 35},
    };
    for (int start = 0; start < 2; start++) {
        game->GetScreens()->GotoScreen(USER_SCREEN_COUNTRY, nullptr);
        for (const auto &e : expected) {
            _Dimension placed = {};
            ASSERT_TRUE(Country()->Control(e.row)->GetDimension(&placed));
            EXPECT_FLOAT_EQ(placed.y, e.y) << "row " << e.row << ", start " << start;
            EXPECT_FLOAT_EQ(placed.h, e.h) << "row " << e.row << ", start " << start;
        }
        game->GetScreens()->GotoScreen(HW_SCREEN_MAIN, nullptr);
    }
}

} // namespace
