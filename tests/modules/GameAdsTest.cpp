#include "modules/GameAds.h"
#include "engine/core/EngServers.h"
#include "engine/runtime/EngMain.h"
#include "engine/runtime/EngProgram.h"
#include "modules/Updater.h"
#include "tests/modules/ModulesTestSupport.h"

#include <algorithm>
#include <vector>

namespace {

using namespace modules_test;

class GameAdsTest : public ModulesTest {
protected:
    void SetUp() override
    {
        ModulesTest::SetUp();
        GameAdsResetForTests();
        GameAdsSetIncludedAds();
    }

    void TearDown() override
    {
        GameAdsResetForTests();
        ModulesTest::TearDown();
    }

    static std::vector<int> Included()
    {
        std::vector<int> ads;
        for (int ad = 0; ad < GAME_ADS_NUM_ADS; ad++)
            if (GameAdsIsAdIncluded(ad))
                ads.push_back(ad);
        return ads;
    }
};

TEST_F(GameAdsTest, TheTwelveDownloadableOtherDesktopTitlesAreIncluded)
{
    ASSERT_EQ(GameAdsGetNumIncludedAds(), GAME_ADS_NUM_INCLUDED);
    for (int ad : Included()) {
        SCOPED_TRACE(ad);
        GameAdsSetCurGameAd(ad);
        ASSERT_EQ(GameAdsGetCurGameAd(), ad);
        EXPECT_EQ(GameAdsGetCurAdPlatform(), GAP_DESKTOP);
        EXPECT_NE(GameAdsGetCurAdUpdaterProgram(), UPN_NONE);
        EXPECT_NE(GameAdsGetCurAdUpdaterProgram(), UPN_HIVE_WATCHER);
        // The updater knows every product id the table names.
        EXPECT_TRUE(UpdaterSetupUrl(GameAdsGetCurAdUpdaterProgram(), 0.0f, UPT_FULL));
        ASSERT_NE(GameAdsGetCurAdDownloadAddress(), nullptr);
        EXPECT_EQ(std::string(GameAdsGetCurAdDownloadAddress()).rfind(EngServersGetMakerSiteAddress(), 0), 0u);
        EXPECT_NE(GameAdsGetCurAdTitle()[0], 0);
        EXPECT_STRNE(GameAdsGetCurAdTitle(), "HIVE WATCHER");
    }
    EXPECT_EQ(GameAdsGetTarnwickAdNumForCurrentPlatform(), 17);

    GameAdsResetForTests();
    EXPECT_EQ(GameAdsGetNumIncludedAds(), 0);
    EXPECT_EQ(GameAdsGetTarnwickAdNumForCurrentPlatform(), -1);
    EXPECT_TRUE(Logged("Ad 17 is not included."));
}

TEST_F(GameAdsTest, BrowsingWrapsOverTheIncludedAdsAndKeepsTheCallersVariable)
{
    const std::vector<int> included = Included();
    short variable = static_cast<short>(included.back());
    GameAdsSetCurGameAdVar(&variable);
    EXPECT_EQ(GameAdsGetCurGameAd(), included.back());
    EXPECT_EQ(GameAdsGoToNextAd(), included.front());
    EXPECT_EQ(variable, included.front());
    EXPECT_EQ(GameAdsGoToPrevAd(), included.back());
    EXPECT_EQ(variable, included.back());
    // A full round forward visits every included ad once.
    std::vector<int> visited;
    for (size_t i = 0; i < included.size(); i++)
        visited.push_back(GameAdsGoToNextAd());
    std::sort(visited.begin(), visited.end());
    EXPECT_EQ(visited, included);

    const struct {
        int asked;
        int shown;
        bool logged;
    } cases[] = {
        {2, 3, false},   // this game gives way to the next included ad
        {12, 17, false}, // past the excluded ads between
        {18, 0, false},  // and round the end of the table
        {17, 17, false},
        {30, 0, true},
        {-1, 0, true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.asked);
        ResetEngineForTest();
        GameAdsSetCurGameAd(c.asked);
        EXPECT_EQ(GameAdsGetCurGameAd(), c.shown);
        EXPECT_EQ(variable, c.shown);
        EXPECT_EQ(Logged("Invalid ad num " + std::to_string(c.asked)), c.logged);
    }
}

TEST_F(GameAdsTest, LinksPathTagAndUserAreCheckedBeforeTheyAreKept)
{
    const std::string good_path = "http://ads.example.invalid/";
    const struct {
        std::string path, tag, user;
        const char *log; // null: kept
    } cases[] = {
        {good_path, "HiveW", "Bob", nullptr},
        {"htt/", "HiveW", "Bob", "Invalid path"},
        {"http://ads.example.invalid", "HiveW", "Bob", "Invalid path"},
        {"http://x/" + std::string(390, 'p') + "/", "HiveW", "Bob", "Invalid path"},
        {"", "HiveW", "Bob", "Invalid path"},
        {good_path, "Hive", "Bob", "Invalid from prog"},
        {good_path, std::string(64, 't'), "Bob", "Invalid from prog"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.path.substr(0, 30) + " " + c.tag.substr(0, 10));
        ResetEngineForTest();
        GameAdsResetForTests();
        GameAdsSetIncludedAds();
        GameAdsSetInternetLinksPath(c.path.c_str(), c.tag.c_str(), c.user.c_str());
        if (c.log) {
            EXPECT_TRUE(Logged(c.log));
        }
        GameAdsSetCurGameAd(0);
        GameAdsOpenCurAdPage();
        EXPECT_EQ(GameAdsGetPageAddress(),
                  (c.log ? std::string(EngServersGetMakerSiteAddress()) + "/" : good_path) + "w_lanternfly.html");
    }
    // The longest path that fits is kept; a user name of 80 characters is not.
    const std::string longest = "http://x/" + std::string(389, 'p') + "/";
    GameAdsSetInternetLinksPath(longest.c_str(), std::string(63, 't').c_str(), std::string(80, 'u').c_str());
    GameAdsOpenCurAdPage();
    EXPECT_EQ(GameAdsGetPageAddress(), longest + "w_lanternfly.html");
    GameAdsTellAFriend();
    std::string address = GameAdsGetPageAddress();
    EXPECT_EQ(address.substr(address.size() - 10), "user_name=");
}

TEST_F(GameAdsTest, PagesAndTellAFriendOpenAfterTheProgramHasClosed)
{
    GameAdsSetInternetLinksPath("http://www.lichenware.invalid/games/", "HiveWatcher PC", "Mary-Jo O'Neil & Co. Jos\xe9");
    GameAdsSetCurGameAd(17);
    {
        EngProgram program;
        ASSERT_EQ(eng_main_program, &program);
        GameAdsTellAFriend();
        EXPECT_EQ(eng_main_program, nullptr);
    }
    GameAdsOpenCurAdPage();
    ASSERT_EQ(TestHooks::shell_opens.size(), 2u);
    // Values are encoded; the doubled '&' before the user name stays.
    EXPECT_EQ(TestHooks::shell_opens[0].file,
              std::string(EngServersGetTellAFriendAddress()) +
                  "/cgi-bin/common/friend/ShowTellAFriend.cgi?from_prog=HiveWatcher%20PC&rec=Tarnwick&&user_name="
                  "Mary-Jo%20O%27Neil%20%26%20Co.%20Jos%C3%A9");
    EXPECT_EQ(TestHooks::shell_opens[1].file, "http://www.lichenware.invalid/games/w_tarnwick.html");

    // Codes by platform: the all-platforms ad and the ads without a page use "all" and "All".
    const struct {
        int ad;
        const char *page;
        const char *friend_code;
    } cases[] = {{16, "w_tarnwick_ip.html", "rec=TarnwickIP&"},         {20, "w_tarnwick_ipad.html", "rec=TarnwickIPad&"},
                 {25, "w_bramblerush_android.html", "rec=BrambleRushAndroid&"}, {14, "w_all.html", "rec=All&"},
                 {15, "w_all.html", "rec=AcornDrop&"}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.ad);
        // With no ad included, any ad asked for by number stays current.
        GameAdsResetForTests();
        GameAdsSetInternetLinksPath("http://www.lichenware.invalid/games/", "HiveW", "");
        GameAdsSetCurGameAd(c.ad);
        ASSERT_EQ(GameAdsGetCurGameAd(), c.ad);
        GameAdsOpenCurAdPage();
        EXPECT_EQ(std::string(GameAdsGetPageAddress()), std::string("http://www.lichenware.invalid/games/") + c.page);
        GameAdsTellAFriend();
        EXPECT_NE(std::string(GameAdsGetPageAddress()).find(c.friend_code), std::string::npos);
    }
}

TEST_F(GameAdsTest, PictureFilesFollowTheAdsPlatformAndExistForTheIncludedAds)
{
    const struct {
        int ad, picture;
        const char *file; // null: none
    } cases[] = {
        {17, 0, "Data/IGA/Tarnwick1.jpg"}, {17, 1, "Data/IGA/Tarnwick2.jpg"},   {17, 2, nullptr},
        {20, 0, "Data/IGA/TarnwickIPad.jpg"}, {20, 1, "Data/IGA/TarnwickIPad.jpg"}, {14, 1, "Data/IGA/Lichenware.jpg"},
        {19, 0, "Data/IGA/DewRunner1.jpg"}, {19, 1, nullptr},                 {26, 0, nullptr},
        {-1, 0, nullptr},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::to_string(c.ad) + ":" + std::to_string(c.picture));
        ResetEngineForTest();
        const char *file = GameAdsPictureFile(c.ad, c.picture);
        EXPECT_STREQ(file ? file : "(none)", c.file ? c.file : "(none)");
        EXPECT_EQ(Logged("Unsuppored ad/pic [" + std::to_string(c.ad) + ":" + std::to_string(c.picture) + "]"),
                  c.file == nullptr);
    }
    for (int ad : Included())
        for (int picture = 0; picture < 2; picture++) {
            std::string file = GameAdsPictureFile(ad, picture);
            EXPECT_TRUE(fs::exists(fs::path(HW_DATA_DIR) / file.substr(5))) << file;
        }

    EXPECT_EQ(GameAdsGetPicFilenameCB(17, 0), nullptr);
    GameAdsSetPicFilenameCB(GameAdsPictureFile);
    EXPECT_STREQ(GameAdsGetPicFilenameCB(17, 0), "Data/IGA/Tarnwick1.jpg");
}

} // namespace
