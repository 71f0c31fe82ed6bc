// The splash picture on the toolkit kit with the virtual clock: the fade-in,
// hold and fade-out timing, the Players screen's endless hold, its area made
// square on a wide window, and what a start, a tick and a render do before
// a set-up and after the end.
#include "modules/Splash.h"

#include "engine/runtime/EngWindow.h"
#include "game/Program.h"
#include "modules/ModulesHooks.h"
#include "tests/support/GuiTestKit.h"
#include "tests/support/TestLog.h"
#include "tests/support/TestData.h"


namespace {

char HoldForever(double, void *)
{
    return 0;
}

class SplashTest : public GuiTest {
protected:
    void SetUp() override
    {
        parms = WindowParms(1, 1280, 720);
        GuiTest::SetUp();
        LinkGeneratedDataFolder();
        ModulesSetup(nullptr, Program_GetModulesItemFilenameCB);
        ModulesInstallEngPictureTextureFileOverwriteCB(Program_SetEngPictureTextureFileOverwriteCB);
        SplashResetForTests();
    }
    void TearDown() override
    {
        SplashEnd();
        SplashResetForTests();
        ModulesResetHooksForTests();
        GuiTest::TearDown();
    }

    // Advances the clock and ticks once.
    void TickAt(int ms_after_previous)
    {
        VirtualClock::Advance(ms_after_previous);
        SplashTick();
    }
};

TEST_F(SplashTest, FadesInHoldsAndFadesOut)
{
    ASSERT_EQ(SplashSetup(nullptr, "Data/1610.dat", nullptr, nullptr, 0, 0, nullptr, nullptr, nullptr, nullptr), 1);
    ASSERT_EQ(SplashStart(), 1);
    const struct {
        int advance_ms;
        int state;
        float alpha;
    } steps[] = {
        {0, 1, 0},      // the first tick takes the start time
        {800, 1, 0},    // black for 0.8 s
        {800, 1, 0.5f}, // half way at 1.6 s
        {900, 2, 1},    // fully visible after 2.4 s: held
        {1999, 2, 1},
        {1, 3, 1},      // 2 s held
        {750, 3, 0.5f},
        {750, 4, 0},    // faded out after 1.5 s
    };
    for (const auto &s : steps) {
        TickAt(s.advance_ms);
        EXPECT_EQ(SplashGetStateForTests(), s.state) << s.advance_ms;
        EXPECT_NEAR(SplashGetAlphaForTests(), s.alpha, 0.01) << s.advance_ms;
    }
    EXPECT_EQ(SplashIsOn(), 1);
    TickAt(16);
    EXPECT_EQ(SplashIsOn(), 0) << "ended on the tick after the fade-out";
    EXPECT_EQ(SplashTick(), 0);
    EXPECT_EQ(SplashRender(0), 0);
}

TEST_F(SplashTest, ThePlayersScreensSplashStaysAndIsSquareOnAWideWindow)
{
    ASSERT_EQ(SplashSetup(nullptr, "Data/1610.dat", nullptr, nullptr, 0, 0, nullptr, HoldForever, nullptr, this), 1);
    const float w = 240 * eng_font_scale_x;
    SplashSetArea(320 - w / 2, 135, w, 240, 1);
    float x, y, dw, dh;
    SplashGetDrawAreaForTests(&x, &y, &dw, &dh);
    EXPECT_NEAR(dw, 180, 0.01);
    EXPECT_NEAR(dh, 240, 0.01);
    EXPECT_NEAR(x + dw / 2, 320, 0.01);
    ASSERT_EQ(SplashStart(), 1);
    SplashShowAtOnce();
    TickAt(0);
    TickAt(60000);
    EXPECT_EQ(SplashGetStateForTests(), 2);
    EXPECT_EQ(SplashGetAlphaForTests(), 1);
    // The picture is drawn, with no dimming over it.
    D3D9RecordingReset();
    ASSERT_TRUE(eng_device->BeginRendering());
    EXPECT_EQ(SplashRender(0), 1);
    eng_device->EndRendering();
    EXPECT_FALSE(DrawnQuads().empty());
    EXPECT_EQ(SplashEnd(), 1);
    EXPECT_EQ(SplashIsOn(), 0);
}

TEST_F(SplashTest, StartsAreRefusedUntilSetUpAndWhileOn)
{
    EXPECT_EQ(SplashStart(), 0);
    EXPECT_TRUE(LogHas("Splash not setup"));
    EXPECT_EQ(SplashSetup(nullptr, "Data/missing.dat", nullptr, nullptr, 0, 0, nullptr, nullptr, nullptr, nullptr),
              0);
    EXPECT_EQ(SplashStart(), 0);
    EXPECT_EQ(SplashSetup(nullptr, "Data/1610.dat", "Data/no-such-sound.wav", nullptr, 0, 0, nullptr, nullptr,
                          nullptr, nullptr),
              0);
    EXPECT_TRUE(LogHas("Sound file does not exist (Data/no-such-sound.wav)"));
    ASSERT_EQ(SplashSetup(nullptr, "Data/1610.dat", nullptr, nullptr, 0, 0, nullptr, nullptr, nullptr, nullptr), 1);
    ASSERT_EQ(SplashStart(), 1);
    EXPECT_EQ(SplashStart(), 0);
    EXPECT_TRUE(LogHas("Splash is already on"));
}

} // namespace
