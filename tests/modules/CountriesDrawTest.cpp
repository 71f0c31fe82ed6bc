// Flags drawn from the generated flags texture on the recording device: the
// cell each country shows, the rectangles beside buttons, and the cases that
// draw nothing.
#include "tests/engine/graphics/GraphicsTestSupport.h"
#include "modules/Countries.h"

#include <filesystem>

namespace {

class CountriesDrawTest : public RecordingDeviceTest {
protected:
    void SetUp() override
    {
        RecordingDeviceTest::SetUp();
        // The flags texture is read from "Data\Common" under the current folder.
        if (!std::filesystem::exists("Data"))
            std::filesystem::create_directory_symlink(HW_DATA_DIR, "Data");
        CountryResetForTests();
        CountrySetup(0, 1, nullptr, nullptr, 0, 0);
    }
    void TearDown() override
    {
        CountryResetForTests();
        RecordingDeviceTest::TearDown();
    }

    // The places of the quads drawn by draw.
    std::vector<QuadPlace> Drawn(const std::function<void()> &draw)
    {
        StartRecording();
        InScene(draw);
        std::vector<QuadPlace> places;
        for (const D3D9RecordedDraw &recorded : Draws())
            places.push_back(PlaceOf3dQuad(ReadVertices(recorded)));
        return places;
    }
};

void ExpectPlace(const QuadPlace &place, _Dimension rect, int cell)
{
    const float span = 1.0f / 16;
    EXPECT_NEAR(place.x, rect.x, 0.01f);
    EXPECT_NEAR(place.y, rect.y, 0.01f);
    EXPECT_NEAR(place.w, rect.w, 0.01f);
    EXPECT_NEAR(place.h, rect.h, 0.01f);
    EXPECT_FLOAT_EQ(place.u0, (cell % 16) * span) << cell;
    EXPECT_FLOAT_EQ(place.v0, (cell / 16) * span) << cell;
    EXPECT_FLOAT_EQ(place.u1, (cell % 16) * span + span) << cell;
    EXPECT_FLOAT_EQ(place.v1, (cell / 16) * span + span) << cell;
}

TEST_F(CountriesDrawTest, EachCountryDrawsItsOwnCell)
{
    ASSERT_TRUE(CountryCreateGraphics());
    ASSERT_NE(CountryGetFlagsTexture(), nullptr);
    EXPECT_EQ(CountryGetFlagsTexture()->GetWidth(), 512);
    EXPECT_TRUE(CountryCreateGraphics()); // loaded once

    const _Dimension rect = {100, 50, 40, 30};
    struct Case {
        unsigned country;
        int cell; // -1 draws nothing
    };
    const Case cases[] = {{0, 0}, {67, 67}, {142, 67}, {221, 221}, {223, 223}, {222, -1}, {224, -1}};
    for (const Case &c : cases) {
        std::vector<QuadPlace> drawn = Drawn([&] { CountryDrawFlag(c.country, &rect); });
        ASSERT_EQ(drawn.size(), c.cell < 0 ? 0u : 1u) << c.country;
        if (c.cell >= 0)
            ExpectPlace(drawn[0], rect, c.cell);
    }
    EXPECT_TRUE(Drawn([] { CountryDrawFlag(0, nullptr); }).empty());

    // With alpha: the texture's colour is white with that alpha.
    StartRecording();
    InScene([&] { CountryDrawFlagWithAlpha(71, &rect, 0.5f); });
    ASSERT_EQ(Draws().size(), 1u);
    EXPECT_EQ(ReadVertices(Draws()[0]).at(0).colour >> 24, 0x7Fu);
    EXPECT_TRUE(StoredLines().empty());

    CountryDestroyGraphics();
    EXPECT_EQ(CountryGetFlagsTexture(), nullptr);
    EXPECT_TRUE(Drawn([&] { CountryDrawFlag(0, &rect); }).empty());
}

TEST_F(CountriesDrawTest, FlagsSitInsideOrBesideTheButton)
{
    ASSERT_TRUE(CountryCreateGraphics());
    float width = 0, height_change = 0, gap = 0;
    CountryGetFlagSize(&width, &height_change, &gap);
    // An 800 x 600 window has the 4:3 shape: the full width.
    EXPECT_FLOAT_EQ(width, 25.0f);
    EXPECT_FLOAT_EQ(height_change, -4.0f);
    EXPECT_FLOAT_EQ(gap, 5.0f);

    const _Dimension button = {200, 100, 150, 30};
    std::vector<QuadPlace> drawn = Drawn([&] {
        CountryDrawFlagOnRightSideOfButton(60, &button);
        CountryDrawFlagBesideButton(223, &button);
    });
    ASSERT_EQ(drawn.size(), 2u);
    ExpectPlace(drawn[0], {200 + 150 - 25 - 5, 102.5f, 25, 26}, 60);
    ExpectPlace(drawn[1], {200 + 150 + 5, 102.5f, 25, 26}, 223);

    // A wide window narrows the flags.
    const float scale = eng_font_scale_x;
    eng_font_scale_x = 0.75f;
    CountryGetFlagSize(&width, nullptr, nullptr);
    eng_font_scale_x = scale;
    EXPECT_FLOAT_EQ(width, 18.75f);

    EXPECT_TRUE(Drawn([&] {
        CountryDrawFlagBesideButton(-1, &button);
        CountryDrawFlagBesideButton(0, nullptr);
    }).empty());
    EXPECT_TRUE(StoredLines().empty());
    EXPECT_TRUE(Drawn([] { CountryDrawFlagOnRightSideOfButton(0, nullptr); }).empty());
    EXPECT_TRUE(LogHas(ErrorLine("CountryDrawFlagOnRightSideOfButton", "No dimension.")));
}

TEST_F(CountriesDrawTest, ABadNumberEveryFrameIsLoggedOnceEveryTwoSeconds)
{
    ASSERT_TRUE(CountryCreateGraphics());
    const _Dimension button = {200, 100, 150, 30};
    // Five seconds of frames, four a second: logged at 0, 2 and 4 s.
    for (int frame = 0; frame < 20; frame++) {
        eng_main_program_time = 100.0 + frame * 0.25;
        EXPECT_TRUE(Drawn([&] { CountryDrawFlagOnRightSideOfButton(-3, &button); }).empty());
    }
    EXPECT_EQ(LogCount("ERROR: CountryDrawFlagOnRightSideOfButton: Invalid cnum -3."), 3);
}

TEST_F(CountriesDrawTest, ChoosingFreesTheFlagsOnlyWhenAsked)
{
    CountrySetup(0, 0, nullptr, nullptr, 0, 0);
    ASSERT_TRUE(CountryCreateGraphics());
    CountryChooseCountry(71);
    EXPECT_NE(CountryGetFlagsTexture(), nullptr);
    CountrySetup(0, 1, nullptr, nullptr, 0, 0);
    CountryChooseCountry(71);
    EXPECT_EQ(CountryGetFlagsTexture(), nullptr);
    EXPECT_STREQ(CountryGetChosenCountryCode(), "DE");
}

} // namespace
