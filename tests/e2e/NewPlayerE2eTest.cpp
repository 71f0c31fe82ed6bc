// A first start with no player: the Players screen, "New Player", a name
// typed into the text entry, a country chosen on the country screen with
// its flags, and the main screen greeting the new player, by clicks and
// keys on the real program.
#include "tests/e2e/E2eDriver.h"
#include "tests/e2e/E2eScreens.h"

#include "engine/core/EngMisc.h"
#include "modules/UserClass.h"
#include "screens/UserNew.h"

#include <cstdlib>
#include <set>

namespace {

using namespace e2e;

// The distinct colours (to 5 bits a channel) in the strip beside the list.
size_t FlagColours(const Screen &screen)
{
    std::set<uint32_t> colours;
    for (float y = 52; y < 372; y += 1)
        for (float x = 148; x < 168; x += 1)
            colours.insert(GamePixel(screen, x, y) & 0xF8F8F8);
    return colours.size();
}

class NewPlayerE2eTest : public E2eTest {
protected:
    void SetUp() override
    {
        E2eTest::SetUp();
        // The program takes the player's own country from the locale.
        unsetenv("LC_ALL");
        unsetenv("LC_MESSAGES");
        setenv("LANG", "fr_FR.UTF-8", 1);
    }
};

TEST_F(NewPlayerE2eTest, ANewPlayerIsNamedGivenACountryAndGreeted)
{
    ASSERT_TRUE(StartProgram());
    ASSERT_TRUE(WaitFor(PlayersScreenDrawn));
    SaveShot("NewPlayer_Players");
    Screen screen = Shot();

    Click(75, 447); // New Player
    ASSERT_TRUE(WaitForNewScreen(screen, &screen));
    ASSERT_TRUE(WaitFor(NewPlayerScreenDrawn));
    // The log-on name is proposed when it makes a valid player name; then
    // the text entry opens on a click on the name.
    char logon[UserNewCC::NAME_SIZE] = "";
    EngMiscGetDefaultUsersName(logon, UserNewCC::NAME_LIMIT);
    if (UserNewIsNameValid(logon, UserNewCC::NAME_LIMIT, nullptr)) {
        SaveShot("NewPlayer_Proposed");
        screen = Shot();
        Click(320, 217); // Name
        ASSERT_TRUE(WaitForNewScreen(screen, &screen));
    }
    SaveShot("NewPlayer_Entry");
    Type("Wren Hollis");
    Key("Return");
    ASSERT_TRUE(WaitForNewScreen(screen, &screen));
    SaveShot("NewPlayer_Named");

    Click(320, 292); // Country
    ASSERT_TRUE(WaitFor(CountryScreenDrawn));
    ASSERT_TRUE(WaitForNewScreen(screen, &screen));
    SaveShot("NewPlayer_Country");
    EXPECT_GT(FlagColours(screen), 12u) << "the flags beside the list";

    // France, the locale's country, is chosen and centred; Germany lies
    // four rows below it.
    Click(320, 307); // Germany
    ASSERT_TRUE(WaitFor([](const Screen &shot) { return CountryRowChosen(shot, 307); }));
    EXPECT_FALSE(CountryRowChosen(Shot(), 231)) << "France no longer chosen";
    SaveShot("NewPlayer_CountryChosen");
    Click(320, 442); // Continue
    ASSERT_TRUE(WaitFor(NewPlayerScreenDrawn));
    ASSERT_TRUE(WaitForNewScreen(screen, &screen));
    SaveShot("NewPlayer_WithCountry");

    Click(320, 447); // Continue
    ASSERT_TRUE(WaitFor(MainScreenDrawn));
    ASSERT_TRUE(WaitForNewScreen(screen, &screen));
    SaveShot("NewPlayer_Main");
    EXPECT_EQ(StopProgram(), 0);

    UserClass user(nullptr, nullptr, 0, UFM_ENCIPHERED_OR_PLAIN);
    char always_load = 0;
    char country[8] = "";
    ASSERT_TRUE(user.LoadUser("Wren Hollis", 1, &always_load, country));
    EXPECT_STREQ(country, "DE");
}

} // namespace
