// Textures on the recording device: the extension and alpha tables, loading
// and its failures, alpha set-up, placement, texture coordinates, colour,
// the nine-part drawing and release.
#include "tests/engine/graphics/GraphicsTestSupport.h"

#include "engine/core/EngFile.h"

#include <algorithm>

namespace {

const char LOAD[] = "EngTextureDX9::DoLoadFromFile";

TEST(EngTextureTables, FileKindsComeFromTheExtension)
{
    struct Case {
        const char *name;
        _EngTextureFileExt kind;
    };
    const Case cases[] = {
        {"Data/a.bmp", ETFE_BMP},     {"pic.TGA", ETFE_TGA},      {"photo.jpg", ETFE_JPG},
        {"photo.jpeg", ETFE_JPG},     {"Data/1001.PNG", ETFE_PNG}, {"x.gif", ETFE_GIF},
        {"x.Dds", ETFE_DDS},          {"Data/1600.dat", ETFE_TGA}, {"abc", ETFE_UNKNOWN},
        {"png", ETFE_UNKNOWN},        {"a.txt", ETFE_UNKNOWN},     {"apng", ETFE_UNKNOWN},
        {"picture.webp", ETFE_UNKNOWN}, {".png", ETFE_PNG},        {"", ETFE_UNKNOWN},
    };
    for (const Case &c : cases)
        EXPECT_EQ(EngTextureGetFileExtFromFilename(c.name, ETFE_TGA), c.kind) << c.name;
    EXPECT_EQ(EngTextureGetFileExtFromFilename(nullptr, ETFE_PNG), ETFE_UNKNOWN);
    EXPECT_EQ(EngTextureGetFileExtFromFilename("x.DAT", ETFE_PNG), ETFE_PNG);
}

TEST(EngTextureTables, AlphaTypesMakeAlphaFromBrightness)
{
    ResetEngineForTest();
    EngTextureResetForTests();
    struct Case {
        char type;
        unsigned char r, g, b;
        unsigned char alpha;
    };
    const Case cases[] = {
        {0, 0, 0, 0, 255},       {1, 255, 255, 255, 0},   {3, 10, 200, 30, 200},  {4, 70, 0, 0, 255},
        {4, 64, 0, 0, 255},      {4, 31, 0, 0, 0},        {4, 40, 0, 0, 64},      {5, 16, 0, 0, 128},
        {5, 0, 32, 0, 255},      {5, 0, 0, 0, 0},         {6, 255, 10, 200, 245}, {7, 191, 255, 255, 255},
        {7, 224, 230, 240, 0},   {7, 200, 210, 220, 184}, {8, 223, 255, 255, 255}, {8, 250, 255, 255, 40},
        {9, 0, 0, 0, 255},
    };
    for (const Case &c : cases)
        EXPECT_EQ(EngTexture_GetPixelAlphaFromBrightness(c.type, c.r, c.g, c.b), c.alpha)
            << "type " << int(c.type) << " rgb " << int(c.r) << "," << int(c.g) << "," << int(c.b);
    EXPECT_TRUE(StoredLines().empty());

    // Type 2 and unknown types give 0 and say so, but only so often in a run.
    for (int i = 0; i < 30; i++) {
        EXPECT_EQ(EngTexture_GetPixelAlphaFromBrightness(2, 9, 9, 9), 0);
        EXPECT_EQ(EngTexture_GetPixelAlphaFromBrightness(10, 9, 9, 9), 0);
    }
    std::vector<std::string> lines = StoredLines();
    const std::string from_file = ErrorText("EngTexture_GetPixelAlphaFromBrightness", "Alpha from file specified");
    const std::string unknown = ErrorText("EngTexture_GetPixelAlphaFromBrightness", "Unknown alpha type 10");
    EXPECT_EQ(std::count(lines.begin(), lines.end(), from_file), 20);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), unknown), 5);
}

TEST(EngTextureTables, FormatsGiveTheirBitsAndAlpha)
{
    ResetEngineForTest();
    struct Case {
        D3DFORMAT format;
        int bits;
        bool alpha;
    };
    const Case cases[] = {
        {D3DFMT_R8G8B8, 24, false},   {D3DFMT_A8R8G8B8, 32, true},  {D3DFMT_X8R8G8B8, 32, false},
        {D3DFMT_R5G6B5, 16, false},   {D3DFMT_X1R5G5B5, 16, false}, {D3DFMT_A1R5G5B5, 16, true},
        {D3DFMT_A4R4G4B4, 16, true},  {D3DFMT_X4R4G4B4, 16, false}, {D3DFMT_L8, 8, true},
    };
    for (const Case &c : cases) {
        bool alpha = !c.alpha;
        EXPECT_EQ(EngTextureDX9::GetBitdepthFromFormat(c.format, &alpha), c.bits) << c.format;
        EXPECT_EQ(alpha, c.alpha) << c.format;
    }
    bool untouched = true;
    EXPECT_EQ(EngTextureDX9::GetBitdepthFromFormat(D3DFMT_A16B16G16R16, &untouched), 0);
    EXPECT_TRUE(untouched);
    EXPECT_EQ(StoredLines(),
              (std::vector<std::string>{ErrorText("EngTextureDX9::GetBitdepthFromFormat", "Unrecognised format [36]")}));
}

class EngTextureTest : public RecordingDeviceTest {
protected:
    std::vector<ReadVertex> QuadCorners(EngTexture &texture)
    {
        const IDirect3DVertexBuffer9 *buffer = texture.GetTextureDX9()->GetQuad()->GetVertexBuffer();
        return ReadVertices(buffer, buffer->GetLength() / 4);
    }

    std::vector<QuadPlace> DrawnPlaces()
    {
        std::vector<QuadPlace> places;
        for (const D3D9RecordedDraw &draw : Draws())
            places.push_back(PlaceOf3dQuad(ReadVertices(draw)));
        return places;
    }
};

TEST_F(EngTextureTest, APictureLoadsAtItsOwnSizeWithHalfTexelCoordinates)
{
    ASSERT_TRUE(WritePng("wide.png", 64, 32, [](int x, int) { return x < 32 ? 0xFFFF0000u : 0x8000FF00u; }));
    const int live = D3D9GetLiveObjectCount();
    EngTexture texture;
    ASSERT_TRUE(texture.LoadFromFile("wide.png", 1, 2));
    EXPECT_TRUE(texture.IsCreated());
    EXPECT_EQ(texture.GetWidth(), 64);
    EXPECT_EQ(texture.GetHeight(), 32);
    EngTextureDX9 *part = texture.GetTextureDX9();
    EXPECT_EQ(part->GetFormat(), static_cast<unsigned>(D3DFMT_A8R8G8B8));
    EXPECT_EQ(part->GetBitsPerPixel(), 32);
    EXPECT_TRUE(part->HasAlpha());
    EXPECT_FALSE(part->Is2D());
    EXPECT_EQ(D3D9GetLiveObjectCount(), live + 2) << "the texture and its quad";

    // The file's alpha is kept with type 2.
    std::vector<DWORD> pixels = ReadPixels(&texture);
    EXPECT_EQ(pixels.at(0), 0xFFFF0000u);
    EXPECT_EQ(pixels.at(40), 0x8000FF00u);

    // Half a texel in from each edge, reaching the quad at the first draw.
    const float *coords = part->GetTextureCoordinates();
    EXPECT_EQ(coords[0], 0.0078125f);
    EXPECT_EQ(coords[1], 0.015625f);
    EXPECT_EQ(coords[2], 0.9921875f);
    EXPECT_EQ(coords[3], 0.984375f);
    EXPECT_TRUE(part->AreCoordinatesPending());
    texture.PositionRatioed(0, 0, 320, 240);
    StartRecording();
    InScene([&] { texture.Draw(); });
    ASSERT_EQ(Draws().size(), 1u);
    QuadPlace place = PlaceOf3dQuad(ReadVertices(Draws()[0]));
    EXPECT_EQ(place.u0, 0.0078125f);
    EXPECT_EQ(place.v1, 0.984375f);
    EXPECT_FALSE(part->AreCoordinatesPending());
    EXPECT_TRUE(StoredLines().empty());

    texture.Destroy();
    EXPECT_FALSE(texture.IsCreated());
    EXPECT_EQ(D3D9GetLiveObjectCount(), live);
    // The object may load again.
    EXPECT_TRUE(texture.LoadFromFile("wide.png", 0, 0));
}

TEST_F(EngTextureTest, LoadingByContentWhateverTheNameAndFromBackslashedPaths)
{
    ASSERT_TRUE(EngFileDirectoryExists("Data") || EngFileCreateDirectory("Data", 0));
    ASSERT_TRUE(WritePng("Data/1600.dat", 20, 20, [](int, int) { return 0xFF102030u; }));
    EngTexture texture;
    EXPECT_TRUE(texture.LoadFromFileUsingExt("Data\\1600.dat", 1, 2, ETFE_TGA));
    EXPECT_EQ(texture.GetWidth(), 20);

    // Other extensions are refused before the file is looked at.
    for (const char *name : {"Data/1600.gif", "Data/1600.dds", "Data/1600"}) {
        EXPECT_FALSE(texture.LoadFromFileUsingExt(name, 1, 2, ETFE_PNG));
        EXPECT_EQ(StoredLines().back(),
                  ErrorText("EngTextureDX9::LoadFromFileUsingExt", std::string("Unknown extension in file <") + name + ">"));
    }
    EXPECT_FALSE(texture.LoadFromFileUsingExt("Data/1600.dat", 1, 2, ETFE_GIF));
}

TEST_F(EngTextureTest, LoadsThatFailSayWhyAndLeaveNothingBehind)
{
    ASSERT_TRUE(WriteBytes("broken.png", "\x89PNG\r\n\x1a\n this is not a picture"));
    ASSERT_TRUE(WritePng("fine.png", 4, 4, [](int, int) { return 0xFFFFFFFFu; }));
    const int live = D3D9GetLiveObjectCount();
    EngTexture texture;
    EngTextureDX9 *part = nullptr;
    struct Case {
        std::function<bool()> load;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {[&] { return texture.LoadFromFile("missing.png", 1, 2); },
         {ErrorText(LOAD, "File does not exist <missing.png>")}},
        {[&] { return texture.LoadFromFile("", 1, 2); }, {ErrorText(LOAD, "No file specified")}},
        {[&] { return texture.LoadFromFile(nullptr, 1, 2); }, {ErrorText(LOAD, "No file specified")}},
        {[&] { return texture.LoadFromFile("broken.png", 1, 2); },
         {ErrorText(LOAD, "D3DXCreateTextureFromFileExA: The data is invalid."),
          ErrorText(LOAD, "Could not load <broken.png>")}},
        {[&] { return part->DoLoadFromFile("fine.png", 0, 0, 1, 1); },
         {ErrorText(LOAD, "Cannot specify both 2d and light only flags")}},
    };
    for (const Case &c : cases) {
        DebugClearLogs();
        EXPECT_FALSE(c.load());
        part = texture.GetTextureDX9();
        EXPECT_EQ(StoredLines(), c.lines);
        EXPECT_FALSE(texture.IsCreated());
        EXPECT_EQ(D3D9GetLiveObjectCount(), live);
    }

    // A texture whose quad cannot be made is released and the load fails.
    DebugClearLogs();
    D3D9RecordingFailCall("CreateVertexBuffer", E_OUTOFMEMORY);
    EXPECT_FALSE(texture.LoadFromFile("fine.png", 1, 2));
    EXPECT_FALSE(texture.IsCreated());
    EXPECT_EQ(texture.GetTextureDX9()->GetD3DTexture(), nullptr);
    EXPECT_EQ(D3D9GetLiveObjectCount(), live);
    EXPECT_EQ(StoredLines().back(),
              ErrorText("EngTextureDX9::DoFinaliseTextureCreation", "Could not create vertex buffers"));

    // Loading over a texture replaces it.
    ASSERT_TRUE(texture.LoadFromFile("fine.png", 1, 2));
    DebugClearLogs();
    ASSERT_TRUE(texture.LoadFromFile("fine.png", 1, 2));
    EXPECT_EQ(StoredLines(), (std::vector<std::string>{ErrorText(LOAD, "Texture already exists <fine.png>")}));
    EXPECT_EQ(D3D9GetLiveObjectCount(), live + 2);
}

TEST_F(EngTextureTest, TheAlphaChannelIsMadeFromBrightnessOnLoad)
{
    // Brightest channels 16, 32 and 200, all opaque in the file.
    const DWORD colours[3] = {0xFF100000u, 0xFF002000u, 0xFF0000C8u};
    ASSERT_TRUE(WritePng("grey.png", 3, 1, [&](int x, int) { return colours[x]; }));
    EngTexture texture;
    ASSERT_TRUE(texture.LoadFromFile("grey.png", 1, 5));
    std::vector<DWORD> pixels = ReadPixels(&texture);
    EXPECT_EQ(pixels, (std::vector<DWORD>{0x80100000u, 0xFF002000u, 0xFF0000C8u}));
    ASSERT_TRUE(texture.LoadFromFile("grey.png", 1, 3));
    EXPECT_EQ(ReadPixels(&texture), (std::vector<DWORD>{0x10100000u, 0x20002000u, 0xC80000C8u}));
    // Without the alpha flag, or with type 9, the file's alpha stays.
    ASSERT_TRUE(texture.LoadFromFile("grey.png", 0, 5));
    EXPECT_EQ(ReadPixels(&texture)[0], 0xFF100000u);
    ASSERT_TRUE(texture.LoadFromFile("grey.png", 1, 9));
    EXPECT_EQ(ReadPixels(&texture)[0], 0xFF100000u);

    // A picture loaded without alpha has no channel to set up.
    ASSERT_TRUE(texture.LoadFromFile("grey.png", 0, 0));
    EXPECT_FALSE(texture.GetTextureDX9()->SetupAlphaChannel(5));
    EXPECT_EQ(StoredLines().back(),
              ErrorText("EngTextureDX9::SetupAlphaChannel", "Format does not have alpha channel [22]"));
    // Without a lock nothing is set up.
    ASSERT_TRUE(texture.LoadFromFile("grey.png", 1, 2));
    DebugClearLogs();
    D3D9RecordingFailCall("LockRect", D3DERR_INVALIDCALL);
    EXPECT_FALSE(texture.GetTextureDX9()->SetupAlphaChannel(5));
    EXPECT_EQ(StoredLines(),
              (std::vector<std::string>{
                  ErrorText("EngTextureDX9::LockDxSurface", "LockRect: The method call is invalid."),
                  ErrorText("EngTextureDX9::SetupAlphaChannel", "Could not lock texture")}));
    EXPECT_EQ(ReadPixels(&texture)[0], 0xFF100000u);
}

TEST_F(EngTextureTest, EmptyTexturesLightTexturesAndRenderTargets)
{
    EngTexture texture;
    int width = 30, height = 10;
    ASSERT_TRUE(texture.CreateEmptyTexture(&width, &height, 1));
    EXPECT_EQ(texture.GetTextureDX9()->GetFormat(), static_cast<unsigned>(D3DFMT_A8R8G8B8));
    EXPECT_EQ(ReadPixels(&texture), std::vector<DWORD>(300, 0u));
    EXPECT_EQ(texture.GetTextureDX9()->GetQuad()->GetType(), EVBT_POS_TEX);

    ASSERT_TRUE(texture.CreateEmpty2DTexture(&width, &height, 0));
    EXPECT_EQ(StoredLines().back(), ErrorText("EngTextureDX9::DoCreateEmptyTexture", "Texture already exists"));
    EXPECT_EQ(texture.GetTextureDX9()->GetFormat(), static_cast<unsigned>(D3DFMT_X8R8G8B8));
    EXPECT_TRUE(texture.GetTextureDX9()->Is2D());
    EXPECT_EQ(texture.GetTextureDX9()->GetQuad()->GetType(), EVBT_POS_TEX_2D);

    // A one-channel light texture, and a render target in the back buffer's format.
    EngTextureDX9 *part = texture.GetTextureDX9();
    ASSERT_TRUE(part->DoCreateEmptyTexture(&width, &height, 0, 0, 0, 1));
    EXPECT_EQ(part->GetFormat(), static_cast<unsigned>(D3DFMT_L8));
    EXPECT_EQ(part->GetBitsPerPixel(), 8);
    ASSERT_TRUE(part->DoCreateEmptyTexture(&width, &height, 0, 1, 1, 0));
    EXPECT_EQ(part->GetFormat(), static_cast<unsigned>(eng_d3d_back_buffer_format));
    ASSERT_TRUE(WritePng("light.png", 2, 2, [](int, int) { return 0xFF808080u; }));
    ASSERT_TRUE(part->DoLoadFromFile("light.png", 0, 0, 0, 1));
    EXPECT_EQ(part->GetFormat(), static_cast<unsigned>(D3DFMT_L8));

    DebugClearLogs();
    EXPECT_FALSE(part->DoCreateEmptyTexture(&width, &height, 0, 1, 0, 1));
    EXPECT_EQ(StoredLines(), (std::vector<std::string>{ErrorText("EngTextureDX9::DoCreateEmptyTexture", "Parameter error")}));
    int zero = 0;
    EXPECT_FALSE(texture.CreateEmptyTexture(&zero, &height, 1));
    EXPECT_FALSE(texture.CreateEmptyTexture(nullptr, &height, 1));
    D3D9RecordingFailCall("CreateTexture", E_OUTOFMEMORY);
    EXPECT_FALSE(texture.CreateEmptyTexture(&width, &height, 1));
    EXPECT_EQ(StoredLines().back(), ErrorText("EngTextureDX9::DoCreateEmptyTexture", "Could not create texture"));
    EXPECT_FALSE(texture.IsCreated());
}

TEST_F(EngTextureTest, PlacingInPureAndRatioedUnits)
{
    int size = 16;
    EngTexture space, screen;
    ASSERT_TRUE(space.CreateEmptyTexture(&size, &size, 1));
    ASSERT_TRUE(screen.CreateEmpty2DTexture(&size, &size, 1));

    // A 3D quad in clip units: (x / 320 - 1, y / 240 - 1, w / 320, h / 240).
    space.PositionRatioed(160, 120, 320, 240);
    const float *rect = space.GetTextureDX9()->GetQuadPosition();
    EXPECT_EQ(rect[0], -0.5f);
    EXPECT_EQ(rect[1], -0.5f);
    EXPECT_EQ(rect[2], 1.0f);
    EXPECT_EQ(rect[3], 1.0f);
    std::vector<ReadVertex> c = QuadCorners(space);
    EXPECT_EQ(c[1].x, -0.5f);
    EXPECT_EQ(c[1].y, 0.5f) << "the top of the quad is up in clip space";
    EXPECT_EQ(c[2].y, -0.5f);

    // A 2D quad in pixels of the 800 x 600 back buffer.
    const _Dimension area = {10, 20, 100, 50};
    screen.PositionRatioedToDimension(&area);
    rect = screen.GetTextureDX9()->GetQuadPosition();
    EXPECT_EQ(rect[0], 12.5f);
    EXPECT_EQ(rect[1], 25.0f);
    EXPECT_EQ(rect[2], 125.0f);
    EXPECT_EQ(rect[3], 62.5f);
    screen.PositionPure(10, 20, 100, 50);
    EXPECT_EQ(QuadCorners(screen)[1].x, 9.5f);
    screen.PositionRatioedUsingInts(1, 2, 3, 4);
    EXPECT_EQ(screen.GetTextureDX9()->GetQuadPosition()[3], 5.0f);
    EXPECT_TRUE(StoredLines().empty());

    // Pure sizes must be positive; Ratioed ones only not 0, and their
    // complaints stop after ten in a run.
    screen.PositionPure(0, 0, -1, 5);
    EXPECT_EQ(StoredLines().back(), ErrorText("EngTextureDX9::PositionPure", "Invalid sizes"));
    space.PositionRatioed(0, 0, -320, 240);
    EXPECT_EQ(space.GetTextureDX9()->GetQuadPosition()[2], -1.0f);
    DebugClearLogs();
    for (int i = 0; i < 15; i++)
        space.PositionRatioed(0, 0, 0, 10);
    EXPECT_EQ(StoredLines(), std::vector<std::string>(10, ErrorText("EngTextureDX9::PositionRatioed", "Invalid sizes")));
    EXPECT_EQ(space.GetTextureDX9()->GetQuadPosition()[2], -1.0f);
}

TEST_F(EngTextureTest, ColouringSwitchesTheQuadToAColouredLayoutOnce)
{
    int size = 64;
    EngTexture texture;
    ASSERT_TRUE(texture.CreateEmptyTexture(&size, &size, 1));
    EngTextureDX9 *part = texture.GetTextureDX9();
    texture.PositionRatioed(10, 20, 30, 40);
    texture.SetTextureCoordinatesStruct(nullptr);
    const _Dimension tc = {0.25f, 0.5f, 0.75f, 1.0f};
    texture.SetTextureCoordinatesStruct(&tc);

    // White on a quad never coloured keeps the plain layout.
    texture.SetColour(1, 1, 1, 1);
    texture.SetColourRGBA(nullptr);
    EXPECT_EQ(part->GetQuad()->GetType(), EVBT_POS_TEX);
    EXPECT_FALSE(part->IsColoured());

    StartRecording();
    texture.SetAlpha(0.5f);
    EXPECT_EQ(part->GetQuad()->GetType(), EVBT_POS_COL_TEX);
    EXPECT_TRUE(part->IsColoured());
    std::vector<ReadVertex> c = QuadCorners(texture);
    QuadPlace place = PlaceOf3dQuad(c);
    EXPECT_NEAR(place.x, 10, 1e-3);
    EXPECT_NEAR(place.y, 20, 1e-3);
    EXPECT_NEAR(place.w, 30, 1e-3);
    EXPECT_NEAR(place.h, 40, 1e-3);
    EXPECT_EQ(place.u0, 0.25f);
    EXPECT_EQ(place.v1, 1.0f);
    for (const ReadVertex &corner : c)
        EXPECT_EQ(corner.colour, 0x7FFFFFFFu);

    // Later colours only change the vertices.
    const _ColourRGBA red = {1, 0, 0, 1};
    texture.SetColourRGBA(&red);
    EXPECT_EQ(QuadCorners(texture)[0].colour, 0xFFFF0000u);
    texture.SetColour(1, 1, 1, 1);
    EXPECT_EQ(QuadCorners(texture)[0].colour, 0xFFFFFFFFu);
    const std::vector<std::string> &calls = D3D9RecordingGetCalls();
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "CreateVertexBuffer 96 0x142"), 1);

    // Pending default coordinates survive the switch and arrive at the draw.
    EngTexture fresh;
    ASSERT_TRUE(fresh.CreateEmptyTexture(&size, &size, 1));
    fresh.PositionRatioed(0, 0, 64, 64);
    fresh.DrawWithColour(0, 1, 0, 1);
    EXPECT_EQ(QuadCorners(fresh)[1].u, 0.5f / 64);

    // 2D quads switch to the pre-transformed coloured layout.
    EngTexture flat;
    ASSERT_TRUE(flat.CreateEmpty2DTexture(&size, &size, 1));
    flat.PositionPure(1, 2, 3, 4);
    flat.SetColour(0, 0, 1, 1);
    EXPECT_EQ(flat.GetTextureDX9()->GetQuad()->GetType(), EVBT_POS_COL_TEX_2D);
    EXPECT_EQ(QuadCorners(flat)[1].x, 0.5f);
    EXPECT_EQ(QuadCorners(flat)[1].colour, 0xFF0000FFu);
    EXPECT_TRUE(StoredLines().empty());
}

TEST_F(EngTextureTest, DrawingWithCoordinatesAndColourInOneCall)
{
    int size = 8;
    EngTexture texture;
    ASSERT_TRUE(texture.CreateEmptyTexture(&size, &size, 1));
    texture.PositionRatioed(0, 0, 8, 8);
    StartRecording();
    const _ColourRGBA half = {1, 1, 1, 0.5f};
    InScene([&] {
        texture.DrawWithTextureCoordinates(0, 0, 0.5f, 0.5f);
        texture.DrawWithTextureCoordinatesAndColour(0.5f, 0, 1, 0.5f, 0, 1, 0, 1);
        texture.DrawWithTextureCoordinatesAndColourRGBA(0, 0.5f, 0.5f, 1, &half);
        texture.DrawWithTextureCoordinatesStruct(nullptr);
    });
    ASSERT_EQ(Draws().size(), 4u);
    std::vector<QuadPlace> places = DrawnPlaces();
    EXPECT_EQ(places[0].u1, 0.5f);
    EXPECT_EQ(places[1].u0, 0.5f);
    EXPECT_EQ(ReadVertices(Draws()[1])[0].colour, 0xFF00FF00u);
    EXPECT_EQ(places[2].v0, 0.5f);
    EXPECT_EQ(ReadVertices(Draws()[2])[0].colour, 0x7FFFFFFFu);
    EXPECT_EQ(places[3].u0, 0.5f / 8);
    for (const D3D9RecordedDraw &draw : Draws())
        EXPECT_EQ(draw.state.textures[0], texture.GetTextureDX9()->GetD3DTexture());

    // The texture set on the device for geometry of the caller's own.
    EXPECT_TRUE(texture.SetDx9D3dDeviceTextureToTexture());
    EXPECT_EQ(D3D9RecordingGetCalls().back(), "SetTexture 0 8x8");
    eng_d3d_device->SetTexture(0, nullptr);
    texture.Destroy();
    EXPECT_FALSE(texture.SetDx9D3dDeviceTextureToTexture());
    StartRecording();
    InScene([&] { texture.Draw(); });
    EXPECT_TRUE(Draws().empty());
}

TEST_F(EngTextureTest, NinePartsStretchTheEdgesAndKeepTheCorners)
{
    int size = 64;
    EngTexture texture;
    ASSERT_TRUE(texture.CreateEmptyTexture(&size, &size, 1));
    texture.PositionRatioed(100, 100, 200, 100);
    const float u0 = 0.5f / 64, u1 = 1 - u0, cu = 0.25f;
    StartRecording();
    InScene([&] { texture.DrawStretchedWithCorners(10, 20, cu, cu, 1); });
    const QuadPlace expected[] = {
        {100, 100, 10, 20, u0, u0, u0 + cu, u0 + cu},
        {110, 100, 180, 20, u0 + cu, u0, u1 - cu, u0 + cu},
        {290, 100, 10, 20, u1 - cu, u0, u1, u0 + cu},
        {100, 120, 10, 60, u0, u0 + cu, u0 + cu, u1 - cu},
        {110, 120, 180, 60, u0 + cu, u0 + cu, u1 - cu, u1 - cu},
        {290, 120, 10, 60, u1 - cu, u0 + cu, u1, u1 - cu},
        {100, 180, 10, 20, u0, u1 - cu, u0 + cu, u1},
        {110, 180, 180, 20, u0 + cu, u1 - cu, u1 - cu, u1},
        {290, 180, 10, 20, u1 - cu, u1 - cu, u1, u1},
    };
    std::vector<QuadPlace> places = DrawnPlaces();
    ASSERT_EQ(places.size(), 9u);
    for (size_t i = 0; i < places.size(); i++) {
        SCOPED_TRACE(i);
        const float got[8] = {places[i].x, places[i].y, places[i].w, places[i].h,
                              places[i].u0, places[i].v0, places[i].u1, places[i].v1};
        const float want[8] = {expected[i].x, expected[i].y, expected[i].w, expected[i].h,
                               expected[i].u0, expected[i].v0, expected[i].u1, expected[i].v1};
        for (int k = 0; k < 8; k++)
            EXPECT_NEAR(got[k], want[k], k < 4 ? 1e-3 : 1e-6) << "value " << k;
    }
    // The quad is back where it was, its default coordinates pending again.
    EngTextureDX9 *part = texture.GetTextureDX9();
    EXPECT_NEAR(part->GetQuadPosition()[0], -0.6875f, 1e-6);
    EXPECT_TRUE(part->AreCoordinatesPending());
    EXPECT_EQ(part->GetTextureCoordinates()[0], u0);

    // Without the centre; and corners as tall as half the quad leave out the
    // middle row.
    StartRecording();
    InScene([&] { texture.DrawStretchedWithCorners(10, 20, cu, cu, 0); });
    EXPECT_EQ(Draws().size(), 8u);
    StartRecording();
    InScene([&] { texture.DrawStretchedWithCorners(10, 50, cu, cu, 1); });
    places = DrawnPlaces();
    ASSERT_EQ(places.size(), 6u);
    EXPECT_NEAR(places[3].y, 150, 1e-3);
    EXPECT_TRUE(StoredLines().empty());

    // Coordinates set by the caller come back after the drawing; an edge of
    // no width is left out rather than drawn in the corner's place.
    texture.SetTextureCoordinatesStruct(nullptr);
    const _Dimension tc = {0, 0, 0.5f, 0.5f};
    texture.SetTextureCoordinatesStruct(&tc);
    StartRecording();
    InScene([&] { texture.DrawStretchedWithCorners(100, 20, 0.1f, 0.1f, 1); });
    EXPECT_EQ(Draws().size(), 6u);
    EXPECT_FALSE(part->AreCoordinatesPending());
    EXPECT_EQ(part->GetTextureCoordinates()[2], 0.5f);
    EXPECT_TRUE(StoredLines().empty());
}

TEST_F(EngTextureTest, TexturesAreReleasedEvenWhileTheFacadeIsAway)
{
    const int live = D3D9GetLiveObjectCount();
    EngTexture texture;
    int size = 4;
    ASSERT_TRUE(texture.CreateEmptyTexture(&size, &size, 1));
    // As inside a change of device, when the facade is not yet back.
    EngDevice *facade = eng_device;
    eng_device = nullptr;
    texture.Destroy();
    eng_device = facade;
    EXPECT_EQ(D3D9GetLiveObjectCount(), live);

    // Without the Direct3D 9 kind a texture has no part and does nothing.
    eng_device_type = EDT_NONE;
    EngTexture other;
    EXPECT_EQ(other.GetTextureDX9(), nullptr);
    EXPECT_FALSE(other.CreateEmptyTexture(&size, &size, 1));
    EXPECT_EQ(other.GetWidth(), 0);
    other.Draw();
    eng_device_type = EDT_DX9;
    EXPECT_TRUE(StoredLines().empty());
}

} // namespace
