// The current ad's pictures loaded as textures on the recording device from
// the generated Data folder.
#include "tests/engine/graphics/GraphicsTestSupport.h"
#include "engine/graphics/EngTexture.h"
#include "modules/GameAds.h"

#include <filesystem>

namespace {

class GameAdsGraphicsTest : public RecordingDeviceTest {
protected:
    void SetUp() override
    {
        RecordingDeviceTest::SetUp();
        // The pictures are read from "Data/IGA" under the current folder.
        if (!std::filesystem::exists("Data"))
            std::filesystem::create_directory_symlink(HW_DATA_DIR, "Data");
        GameAdsResetForTests();
        GameAdsSetIncludedAds();
        GameAdsSetCurGameAd(GAME_ADS_TARNWICK_AD);
    }
    void TearDown() override
    {
        GameAdsResetForTests();
        RecordingDeviceTest::TearDown();
    }
};

TEST_F(GameAdsGraphicsTest, BothPicturesOfTheCurrentAdAreLoadedOnceAndReleased)
{
    GameAdsCreateGraphics(1);
    EXPECT_TRUE(LogHas("No pic filename callback specified"));
    EXPECT_EQ(GameAdsGetPicTexture(0), nullptr);

    GameAdsSetPicFilenameCB(GameAdsPictureFile);
    GameAdsCreateGraphics(1);
    EngTexture *first = GameAdsGetPicTexture(0);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(GameAdsGetPicTexture(1), nullptr);
    EXPECT_EQ(first->GetWidth(), 256);
    EXPECT_EQ(GameAdsGetPicTexture(1)->GetHeight(), 256);
    GameAdsCreateGraphics(1);
    EXPECT_EQ(GameAdsGetPicTexture(0), first);

    // Browsing replaces them; an ad with one picture leaves the second empty.
    GameAdsSetPicFilenameCB([](int, int picture) -> const char * {
        return picture == 0 ? "Data/IGA/Lanternfly1.jpg" : nullptr;
    });
    GameAdsCreateGraphics(0);
    ASSERT_NE(GameAdsGetPicTexture(0), nullptr);
    EXPECT_EQ(GameAdsGetPicTexture(1), nullptr);

    // A file that cannot be read leaves the ad without pictures.
    GameAdsSetPicFilenameCB([](int, int) -> const char * { return "Data/IGA/Missing1.jpg"; });
    GameAdsCreateGraphics(0);
    EXPECT_EQ(GameAdsGetPicTexture(0), nullptr);
    GameAdsSetPicFilenameCB([](int, int) -> const char * { return nullptr; });
    GameAdsCreateGraphics(0);
    EXPECT_TRUE(LogHas("No pic filename for pic 17:0"));

    GameAdsDestroyGraphics();
    EXPECT_EQ(GameAdsGetPicTexture(0), nullptr);
}

} // namespace
