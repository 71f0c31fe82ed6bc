// A picture on a real window with GL: a blue back layer under a green layer
// that fades in, drawn at two moments and read back from the back buffer.
#include "tests/engine/graphics/PictureTestSupport.h"
#include "tests/support/DisplayTest.h"

#include <nlohmann/json.hpp>

#include <cstdlib>

namespace {

typedef nlohmann::ordered_json Json;

// Texture names of the description map to files of the working folder.
char ServeFromHere(const char *, const char *filename, char *out, int out_size)
{
    std::snprintf(out, out_size, "%s", filename);
    return 1;
}

class EngPictureDisplayTest : public DisplayTest<> {
protected:
    void SetUp() override
    {
        DisplayTest::SetUp();
        EngPictureResetForTests();
    }

    void TearDown() override
    {
        EngPictureResetForTests();
        DisplayTest::TearDown();
    }

    void DrawFrame(EngPicture *picture)
    {
        eng_device->SetClearColour(0, 0, 0);
        eng_device->ClearBackBufferAndZBuffer();
        ASSERT_TRUE(eng_device->BeginRendering());
        eng_device->PrepareFor2D(1);
        picture->DrawAllSets();
        eng_device->RestoreAfter2D();
        eng_device->EndRendering();
    }
};

TEST_F(EngPictureDisplayTest, AFadingLayerOverABackLayer)
{
    ASSERT_EQ(Open(), 1);
    WriteFlatPicture("blue.tga", 8, 8, 0xFF0000FF);
    WriteFlatPicture("green.tga", 8, 8, 0xFF00FF00);
    Json common = {{"Alpha Level", 1}, {"Alpha Throb On", 0}, {"Alpha Throb Min Level", 0},
                   {"Alpha Throb Speed", 0}, {"Alpha Throb Mult", 0}};
    Json back = common;
    back.update({{"TexNum", 0}, {"Show", 1}});
    // The green stage fades in over its first second and holds for one
    // more; a hidden stage follows.
    Json fading = common;
    fading.update({{"TexNum", 1}, {"Show", 1}, {"Main Area", {0.25, 0.25, 0.5, 0.5}}, {"Alpha Blend Type", 1},
                   {"Alpha Times", {1, 0, 1, 0}}});
    Json hidden = common;
    hidden.update({{"TexNum", 1}, {"Show", 0}, {"Alpha Times", {0, 0, 1, 0}}});
    Json description = {
        {"Textures", {{{"Path", ""}, {"Filename", "blue.tga"}}, {{"Path", ""}, {"Filename", "green.tga"}}}},
        {"Sets", {{{"Name", "Back"}, {"Stages", {back}}}, {{"Name", "Fade"}, {"Stages", {fading, hidden}}}}}};
    WriteTextFile("picture.ttx", description.dump());

    EngPicture picture;
    EngPictureSetTextureFileOverwriteCB(ServeFromHere);
    SetClock(20.0, 0.0f);
    ASSERT_EQ(picture.LoadFromFile(nullptr, "picture.ttx", 0), 1);
    ASSERT_EQ(picture.CreateGraphics(), 1);
    // Loading logs every optional key the description leaves out.
    DebugResetForTests();

    // Half-way through the fade: green over blue at half strength.
    SetClock(20.5, 0.5f);
    picture.Tick(1.0f);
    DrawFrame(&picture);
    EXPECT_TRUE(Near(0x007F80, Pixel(160, 120), 3));
    EXPECT_TRUE(Near(0x007F80, Pixel(81, 61), 3));
    EXPECT_TRUE(Near(0x0000FF, Pixel(10, 10), 1));
    EXPECT_TRUE(Near(0x0000FF, Pixel(78, 58), 1));

    // Faded in whole.
    SetClock(21.5, 1.0f);
    picture.Tick(1.0f);
    DrawFrame(&picture);
    EXPECT_TRUE(Near(0x00FF00, Pixel(160, 120), 1));
    EXPECT_TRUE(Near(0x00FF00, Pixel(238, 178), 1));
    EXPECT_TRUE(Near(0x0000FF, Pixel(241, 181), 1));
    EXPECT_TRUE(Near(0x0000FF, Pixel(300, 220), 1));
    EXPECT_TRUE(StoredLines().empty());

    picture.DestroyGraphics();
}

} // namespace
