// "Instant Download" of an ad: the program closes first, and the updater
// then fetches the title's installer from the maker's site (here a loopback
// server) onto the desktop.
#include "modules/GameAds.h"
#include "engine/runtime/EngMain.h"
#include "engine/runtime/EngProgram.h"
#include "modules/Updater.h"
#include "platform/ui/UiWindow.h"
#include "tests/fixtures/ScoreServer.h"
#include "tests/modules/ModulesTestSupport.h"

namespace {

using namespace modules_test;

ScoreServer server;

class GameAdsNetTest : public ModulesTest {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(server.Start()); }
    static void TearDownTestSuite() { server.Stop(); }

    void SetUp() override
    {
        ModulesTest::SetUp();
        EngServersSetMakerSiteAddressForTests(server.Base().c_str());
        GameAdsResetForTests();
        UpdaterResetForTests();
        GameAdsSetIncludedAds();
        // The download window is left to run by itself.
        UiSetTestHook([](UiWindow *) {}, true);
        fs::create_directories(Desktop());
    }

    void TearDown() override
    {
        EngServersSetMakerSiteAddressForTests(nullptr);
        GameAdsResetForTests();
        UpdaterResetForTests();
        ModulesTest::TearDown();
    }

    static fs::path Desktop() { return fs::path(std::getenv("HOME")) / "Desktop"; }
};

TEST_F(GameAdsNetTest, TheInstallerIsDownloadedOnceTheProgramHasClosed)
{
    server.Script({{"/downloads/TarnwickSetup.exe", {{"body", Pattern(3000)}}}});
    GameAdsSetCurGameAd(GAME_ADS_TARNWICK_AD);
    {
        EngProgram program;
        GameAdsDownloadCurAdAtExit();
        EXPECT_EQ(eng_main_program, nullptr);
    }
    EXPECT_EQ(ReadWhole(Desktop() / "TarnwickSetup.exe"), Pattern(3000));
    ASSERT_EQ(TestHooks::message_boxes.size(), 1u);
    EXPECT_EQ(TestHooks::message_boxes[0].caption, "Download Complete");
    EXPECT_EQ(TestHooks::message_boxes[0].text.rfind("The file \"TarnwickSetup.exe\" has been downloaded on your Desktop.", 0),
              0u);

    // An ad without an installer closes nothing and fetches nothing.
    server.ForgetRequests();
    ResetEngineForTest();
    GameAdsResetForTests();
    GameAdsSetCurGameAd(14);
    EngProgram program;
    GameAdsDownloadCurAdAtExit();
    EXPECT_EQ(eng_main_program, &program);
    EXPECT_TRUE(server.Requests().empty());
}

} // namespace
