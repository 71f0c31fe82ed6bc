// The GL backend on a real window: each rule of Direct3D that GL does not
// share by default, drawn once and read back.
#include "tests/support/D3D9WindowTest.h"
#include "tests/support/TestPixels.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

namespace {

const int WIDTH = 64;
const int HEIGHT = 48;

struct ScreenVertex {
    float x, y, z, rhw;
    D3DCOLOR colour;
};
const DWORD SCREEN_FVF = D3DFVF_XYZRHW | D3DFVF_DIFFUSE;

struct TexturedScreenVertex {
    float x, y, z, rhw;
    D3DCOLOR colour;
    float u, v;
};
const DWORD TEXTURED_SCREEN_FVF = D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1;

struct SpaceVertex {
    float x, y, z;
    D3DCOLOR colour;
};
const DWORD SPACE_FVF = D3DFVF_XYZ | D3DFVF_DIFFUSE;

class D3D9GLDisplayTest : public D3D9WindowTest {
protected:
    IDirect3DVertexBuffer9 *buffer = nullptr;

    D3D9GLDisplayTest() : D3D9WindowTest(WIDTH, HEIGHT) {}

    void TearDown() override
    {
        if (buffer)
            buffer->Release();
        D3D9WindowTest::TearDown();
    }

    template <typename Vertex>
    void Draw(D3DPRIMITIVETYPE type, const std::vector<Vertex> &vertices, DWORD fvf)
    {
        if (buffer)
            buffer->Release();
        UINT length = static_cast<UINT>(sizeof(Vertex) * vertices.size());
        ASSERT_EQ(device->CreateVertexBuffer(length, D3DUSAGE_WRITEONLY, fvf, D3DPOOL_MANAGED, &buffer, nullptr), S_OK);
        void *data = nullptr;
        ASSERT_EQ(buffer->Lock(0, 0, &data, 0), S_OK);
        std::copy(vertices.begin(), vertices.end(), static_cast<Vertex *>(data));
        buffer->Unlock();
        ASSERT_EQ(device->SetFVF(fvf), S_OK);
        ASSERT_EQ(device->SetStreamSource(0, buffer, 0, sizeof(Vertex)), S_OK);
        UINT count = type == D3DPT_TRIANGLESTRIP ? static_cast<UINT>(vertices.size()) - 2
                                                 : static_cast<UINT>(vertices.size()) / 3;
        ASSERT_EQ(device->BeginScene(), S_OK);
        ASSERT_EQ(device->DrawPrimitive(type, 0, count), S_OK);
        ASSERT_EQ(device->EndScene(), S_OK);
    }

    // A quad of screen pixels: corners top-left to bottom-right, at a depth.
    void DrawScreenQuad(float left, float top, float right, float bottom, D3DCOLOR colour, float z = 0.0f)
    {
        Draw<ScreenVertex>(D3DPT_TRIANGLESTRIP,
                           {{left, bottom, z, 1, colour},
                            {left, top, z, 1, colour},
                            {right, bottom, z, 1, colour},
                            {right, top, z, 1, colour}},
                           SCREEN_FVF);
    }

    // The whole viewport in clip space, as lit 3D geometry (identity matrices).
    void DrawSpaceQuad(D3DCOLOR colour)
    {
        Draw<SpaceVertex>(D3DPT_TRIANGLESTRIP,
                          {{-1, -1, 0.5f, colour}, {-1, 1, 0.5f, colour}, {1, -1, 0.5f, colour}, {1, 1, 0.5f, colour}},
                          SPACE_FVF);
    }

    void Clear(D3DCOLOR colour) { ASSERT_EQ(device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, colour, 1.0f, 0), S_OK); }
};

TEST_F(D3D9GLDisplayTest, ADeviceClearsPresentsAndGoesWithoutLeftovers)
{
    MakeDevice();
    Clear(D3DCOLOR_ARGB(255, 255, 128, 0));
    EXPECT_TRUE(Near(0xFF8000, Pixel(0, 0)));
    EXPECT_TRUE(Near(0xFF8000, Pixel(WIDTH - 1, HEIGHT - 1)));
    EXPECT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), S_OK);
    // The back buffer keeps what was drawn; the next frame clears it anyway.
    EXPECT_TRUE(Near(0xFF8000, Pixel(10, 10)));
    EXPECT_EQ(D3D9GetLiveDeviceCount(), 1);
}

TEST_F(D3D9GLDisplayTest, AClearReachesOnlyTheViewportAndTheScissorRectangle)
{
    MakeDevice();
    Clear(0xFF0000FF);
    // Rows count from the top, as on the screen.
    D3DVIEWPORT9 viewport = {4, 6, 20, 10, 0.0f, 1.0f};
    ASSERT_EQ(device->SetViewport(&viewport), S_OK);
    Clear(0xFFFF0000);
    EXPECT_TRUE(Near(0xFF0000, Pixel(4, 6)));
    EXPECT_TRUE(Near(0xFF0000, Pixel(23, 15)));
    EXPECT_TRUE(Near(0x0000FF, Pixel(3, 6)));
    EXPECT_TRUE(Near(0x0000FF, Pixel(4, 5)));
    EXPECT_TRUE(Near(0x0000FF, Pixel(24, 15)));
    EXPECT_TRUE(Near(0x0000FF, Pixel(23, 16)));

    RECT scissor = {10, 8, 12, 9};
    ASSERT_EQ(device->SetScissorRect(&scissor), S_OK);
    ASSERT_EQ(device->SetRenderState(D3DRS_SCISSORTESTENABLE, TRUE), S_OK);
    Clear(0xFF00FF00);
    EXPECT_TRUE(Near(0x00FF00, Pixel(10, 8)));
    EXPECT_TRUE(Near(0x00FF00, Pixel(11, 8)));
    EXPECT_TRUE(Near(0xFF0000, Pixel(12, 8)));
    EXPECT_TRUE(Near(0xFF0000, Pixel(10, 9)));
}

TEST_F(D3D9GLDisplayTest, ScreenVerticesCoverThePixelsWhoseCentresTheyHold)
{
    MakeDevice();
    Clear(0xFF000000);
    // Pixel centres lie on whole coordinates: the quad from 9.5 to 19.5 holds
    // the centres of columns 10 to 19, and 4.5 to 9.5 rows 5 to 9.
    DrawScreenQuad(9.5f, 4.5f, 19.5f, 9.5f, 0xFFFFFFFF);
    EXPECT_TRUE(Near(0xFFFFFF, Pixel(10, 5)));
    EXPECT_TRUE(Near(0xFFFFFF, Pixel(19, 9)));
    EXPECT_TRUE(Near(0x000000, Pixel(9, 5)));
    EXPECT_TRUE(Near(0x000000, Pixel(20, 5)));
    EXPECT_TRUE(Near(0x000000, Pixel(10, 4)));
    EXPECT_TRUE(Near(0x000000, Pixel(10, 10)));
}

TEST_F(D3D9GLDisplayTest, ScreenVerticesKeepTheirPlaceInsideAViewport)
{
    MakeDevice();
    Clear(0xFF000000);
    D3DVIEWPORT9 viewport = {16, 8, 32, 32, 0.0f, 1.0f};
    ASSERT_EQ(device->SetViewport(&viewport), S_OK);
    DrawScreenQuad(19.5f, 9.5f, 21.5f, 11.5f, 0xFF00FF00);
    EXPECT_TRUE(Near(0x00FF00, Pixel(20, 10)));
    EXPECT_TRUE(Near(0x00FF00, Pixel(21, 11)));
    EXPECT_TRUE(Near(0x000000, Pixel(22, 11)));
    EXPECT_TRUE(Near(0x000000, Pixel(20, 12)));
}

TEST_F(D3D9GLDisplayTest, TransformedVerticesShareTheScreensPixelCentres)
{
    MakeDevice();
    ASSERT_EQ(device->SetRenderState(D3DRS_LIGHTING, FALSE), S_OK);
    Clear(0xFF000000);
    // Clip space onto 64 x 48 pixels: x from 10.3 to 20.3, y from 5.3 to 9.3
    // down. Whole coordinates are centres: columns 11 to 20, rows 6 to 9.
    auto clip_x = [](float x) { return x * 2 / WIDTH - 1; };
    auto clip_y = [](float y) { return 1 - y * 2 / HEIGHT; };
    const float left = clip_x(10.3f), right = clip_x(20.3f), top = clip_y(5.3f), bottom = clip_y(9.3f);
    Draw<SpaceVertex>(D3DPT_TRIANGLESTRIP,
                      {{left, bottom, 0.5f, 0xFFFFFFFF},
                       {left, top, 0.5f, 0xFFFFFFFF},
                       {right, bottom, 0.5f, 0xFFFFFFFF},
                       {right, top, 0.5f, 0xFFFFFFFF}},
                      SPACE_FVF);
    EXPECT_TRUE(Near(0x000000, Pixel(10, 7)));
    EXPECT_TRUE(Near(0xFFFFFF, Pixel(11, 7)));
    EXPECT_TRUE(Near(0xFFFFFF, Pixel(20, 7)));
    EXPECT_TRUE(Near(0x000000, Pixel(21, 7)));
    EXPECT_TRUE(Near(0x000000, Pixel(15, 5)));
    EXPECT_TRUE(Near(0xFFFFFF, Pixel(15, 6)));
    EXPECT_TRUE(Near(0xFFFFFF, Pixel(15, 9)));
    EXPECT_TRUE(Near(0x000000, Pixel(15, 10)));
}

TEST_F(D3D9GLDisplayTest, LitVerticesShowTheMaterialsEmissiveColour)
{
    MakeDevice();
    // Lighting is on by default and there are no lights: the default
    // material (diffuse and ambient white) draws black, whatever the vertex
    // colour.
    D3DMATERIAL9 material = {};
    material.Diffuse = {1, 1, 1, 1};
    material.Ambient = {1, 1, 1, 1};
    ASSERT_EQ(device->SetMaterial(&material), S_OK);
    Clear(0xFF0000FF);
    DrawSpaceQuad(0xFFFFFFFF);
    EXPECT_TRUE(Near(0x000000, Pixel(32, 24)));

    // Text takes its colour from the emissive colour, its alpha from the
    // material's diffuse alpha.
    material.Emissive = {1.0f, 0.5f, 0.0f, 1.0f};
    material.Diffuse = {0, 0, 0, 0.5f};
    ASSERT_EQ(device->SetMaterial(&material), S_OK);
    ASSERT_EQ(device->SetRenderState(D3DRS_DIFFUSEMATERIALSOURCE, D3DMCS_MATERIAL), S_OK);
    ASSERT_EQ(device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA), S_OK);
    ASSERT_EQ(device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA), S_OK);
    ASSERT_EQ(device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE), S_OK);
    Clear(0xFF0000FF);
    DrawSpaceQuad(0xFFFFFFFF);
    EXPECT_TRUE(Near(0x804080, Pixel(32, 24), 3));

    // Unlit, the vertex colour shows.
    ASSERT_EQ(device->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE), S_OK);
    ASSERT_EQ(device->SetRenderState(D3DRS_LIGHTING, FALSE), S_OK);
    DrawSpaceQuad(0xFF00FF00);
    EXPECT_TRUE(Near(0x00FF00, Pixel(32, 24)));
}

TEST_F(D3D9GLDisplayTest, CounterClockwiseFacesAreCulledByDefault)
{
    MakeDevice();
    ASSERT_EQ(device->SetRenderState(D3DRS_LIGHTING, FALSE), S_OK);
    Clear(0xFF000000);
    // Left half: clockwise on the screen; right half: counter-clockwise.
    Draw<ScreenVertex>(D3DPT_TRIANGLELIST,
                       {{0, 0, 0, 1, 0xFFFF0000},
                        {31, 0, 0, 1, 0xFFFF0000},
                        {0, 47, 0, 1, 0xFFFF0000},
                        {33, 0, 0, 1, 0xFF00FF00},
                        {33, 47, 0, 1, 0xFF00FF00},
                        {63, 0, 0, 1, 0xFF00FF00}},
                       SCREEN_FVF);
    EXPECT_TRUE(Near(0xFF0000, Pixel(5, 5)));
    EXPECT_TRUE(Near(0x000000, Pixel(40, 5)));

    ASSERT_EQ(device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE), S_OK);
    ASSERT_EQ(device->SetStreamSource(0, buffer, 0, sizeof(ScreenVertex)), S_OK);
    ASSERT_EQ(device->BeginScene(), S_OK);
    ASSERT_EQ(device->DrawPrimitive(D3DPT_TRIANGLELIST, 0, 2), S_OK);
    ASSERT_EQ(device->EndScene(), S_OK);
    EXPECT_TRUE(Near(0x00FF00, Pixel(40, 5)));
}

TEST_F(D3D9GLDisplayTest, ScissorRectanglesCountRowsFromTheTop)
{
    MakeDevice();
    Clear(0xFF000000);
    RECT scissor = {0, 0, 8, 4};
    ASSERT_EQ(device->SetScissorRect(&scissor), S_OK);
    ASSERT_EQ(device->SetRenderState(D3DRS_SCISSORTESTENABLE, TRUE), S_OK);
    DrawScreenQuad(-0.5f, -0.5f, 63.5f, 47.5f, 0xFFFFFFFF);
    EXPECT_TRUE(Near(0xFFFFFF, Pixel(0, 0)));
    EXPECT_TRUE(Near(0xFFFFFF, Pixel(7, 3)));
    EXPECT_TRUE(Near(0x000000, Pixel(8, 3)));
    EXPECT_TRUE(Near(0x000000, Pixel(7, 4)));
    EXPECT_TRUE(Near(0x000000, Pixel(0, 47)));
}

TEST_F(D3D9GLDisplayTest, BlendFactorsMixWithTheBackBuffer)
{
    MakeDevice();
    struct Case {
        D3DBLEND src, dest;
        DWORD expected;
    };
    // Half-transparent red over blue (0, 0, 255).
    const Case cases[] = {
        {D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA, 0x800080},
        // The back buffer has no alpha channel: its alpha reads 1.
        {D3DBLEND_ONE, D3DBLEND_SRCALPHA, 0xFF0080},
        {D3DBLEND_DESTALPHA, D3DBLEND_ZERO, 0xFF0000},
    };
    for (const Case &c : cases) {
        Clear(0xFF0000FF);
        ASSERT_EQ(device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE), S_OK);
        ASSERT_EQ(device->SetRenderState(D3DRS_SRCBLEND, c.src), S_OK);
        ASSERT_EQ(device->SetRenderState(D3DRS_DESTBLEND, c.dest), S_OK);
        DrawScreenQuad(-0.5f, -0.5f, 63.5f, 47.5f, 0x80FF0000);
        EXPECT_TRUE(Near(c.expected, Pixel(20, 20))) << c.src << " " << c.dest;
    }
}

// The first draw that tests depth finds the colours drawn before it and the
// depth clears made before it, whole or in part.
TEST_F(D3D9GLDisplayTest, DepthTestingFindsEarlierColoursAndDepthClears)
{
    struct Case {
        const char *name;
        D3DVIEWPORT9 depth_cleared;
        // Colours read at the top and the bottom of the right half after a
        // green quad at depth 0.5 (the left half was drawn red before).
        DWORD top, bottom;
    };
    const Case cases[] = {
        {"whole", {0, 0, WIDTH, HEIGHT, 0.0f, 1.0f}, 0x0000FF, 0x0000FF},
        {"top half", {0, 0, WIDTH, HEIGHT / 2, 0.0f, 1.0f}, 0x0000FF, 0x00FF00},
    };
    for (const Case &c : cases) {
        MakeDevice();
        // Blue, the depth 1 everywhere, then 0.2 where the case clears it.
        Clear(0xFF0000FF);
        ASSERT_EQ(device->SetViewport(&c.depth_cleared), S_OK);
        ASSERT_EQ(device->Clear(0, nullptr, D3DCLEAR_ZBUFFER, 0, 0.2f, 0), S_OK);
        D3DVIEWPORT9 whole = {0, 0, WIDTH, HEIGHT, 0.0f, 1.0f};
        ASSERT_EQ(device->SetViewport(&whole), S_OK);
        ASSERT_EQ(device->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE), S_OK);
        DrawScreenQuad(-0.5f, -0.5f, 31.5f, 47.5f, 0xFFFF0000);
        ASSERT_EQ(device->SetRenderState(D3DRS_ZENABLE, D3DZB_TRUE), S_OK);
        DrawScreenQuad(31.5f, -0.5f, 63.5f, 47.5f, 0xFF00FF00, 0.5f);
        // Nearer than every depth cleared.
        DrawScreenQuad(-0.5f, -0.5f, 63.5f, 1.5f, 0xFFFFFF00, 0.1f);
        EXPECT_TRUE(Near(0xFF0000, Pixel(5, 10))) << c.name;
        EXPECT_TRUE(Near(0xFF0000, Pixel(5, 40))) << c.name;
        EXPECT_TRUE(Near(c.top, Pixel(40, 10))) << c.name;
        EXPECT_TRUE(Near(c.bottom, Pixel(40, 40))) << c.name;
        EXPECT_TRUE(Near(0xFFFF00, Pixel(5, 1))) << c.name;
        EXPECT_TRUE(Near(0xFFFF00, Pixel(40, 1))) << c.name;
        EXPECT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), S_OK);
        buffer->Release();
        buffer = nullptr;
        EXPECT_EQ(device->Release(), 0u);
        device = nullptr;
    }
}

TEST_F(D3D9GLDisplayTest, ATexturedQuadTakesItsTexelsAndTheirAlpha)
{
    MakeDevice();
    IDirect3DTexture9 *texture = nullptr;
    ASSERT_EQ(device->CreateTexture(2, 2, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture, nullptr), S_OK);
    D3DLOCKED_RECT locked;
    ASSERT_EQ(texture->LockRect(0, &locked, nullptr, 0), S_OK);
    DWORD *row0 = static_cast<DWORD *>(locked.pBits);
    DWORD *row1 = reinterpret_cast<DWORD *>(static_cast<BYTE *>(locked.pBits) + locked.Pitch);
    // Top row: opaque red, half-transparent green; bottom row: transparent, opaque white.
    row0[0] = 0xFFFF0000;
    row0[1] = 0x8000FF00;
    row1[0] = 0x00FFFFFF;
    row1[1] = 0xFFFFFFFF;
    ASSERT_EQ(texture->UnlockRect(0), S_OK);

    ASSERT_EQ(device->SetTexture(0, texture), S_OK);
    // Alpha = vertex alpha x texel alpha, as the engine sets it.
    ASSERT_EQ(device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE), S_OK);
    ASSERT_EQ(device->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_DIFFUSE), S_OK);
    ASSERT_EQ(device->SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_TEXTURE), S_OK);
    ASSERT_EQ(device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE), S_OK);
    ASSERT_EQ(device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA), S_OK);
    ASSERT_EQ(device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA), S_OK);
    Clear(0xFF0000FF);
    // The whole screen; point filtering gives each quarter one texel.
    Draw<TexturedScreenVertex>(D3DPT_TRIANGLESTRIP,
                               {{-0.5f, 47.5f, 0, 1, 0xFFFFFFFF, 0, 1},
                                {-0.5f, -0.5f, 0, 1, 0xFFFFFFFF, 0, 0},
                                {63.5f, 47.5f, 0, 1, 0xFFFFFFFF, 1, 1},
                                {63.5f, -0.5f, 0, 1, 0xFFFFFFFF, 1, 0}},
                               TEXTURED_SCREEN_FVF);
    EXPECT_TRUE(Near(0xFF0000, Pixel(10, 10)));
    EXPECT_TRUE(Near(0x00807F, Pixel(50, 10)));
    EXPECT_TRUE(Near(0x0000FF, Pixel(10, 40)));
    EXPECT_TRUE(Near(0xFFFFFF, Pixel(50, 40)));

    // A changed texel is drawn at the next draw.
    ASSERT_EQ(texture->LockRect(0, &locked, nullptr, 0), S_OK);
    static_cast<DWORD *>(locked.pBits)[0] = 0xFF00FFFF;
    ASSERT_EQ(texture->UnlockRect(0), S_OK);
    ASSERT_EQ(device->BeginScene(), S_OK);
    ASSERT_EQ(device->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2), S_OK);
    ASSERT_EQ(device->EndScene(), S_OK);
    EXPECT_TRUE(Near(0x00FFFF, Pixel(10, 10)));

    // The fonts' mode: alpha = vertex alpha x texel alpha + texel alpha x (1 -
    // texel alpha). Half a vertex alpha over the half-transparent texel gives
    // a half, where modulating would give a quarter.
    ASSERT_EQ(device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_BLENDTEXTUREALPHA), S_OK);
    Clear(0xFF0000FF);
    Draw<TexturedScreenVertex>(D3DPT_TRIANGLESTRIP,
                               {{-0.5f, 47.5f, 0, 1, 0x80FFFFFF, 0, 1},
                                {-0.5f, -0.5f, 0, 1, 0x80FFFFFF, 0, 0},
                                {63.5f, 47.5f, 0, 1, 0x80FFFFFF, 1, 1},
                                {63.5f, -0.5f, 0, 1, 0x80FFFFFF, 1, 0}},
                               TEXTURED_SCREEN_FVF);
    EXPECT_TRUE(Near(0x00807F, Pixel(50, 10), 3));
    texture->Release();
}

TEST_F(D3D9GLDisplayTest, AManagedTextureLeavesItsPixelsToGLAndGetsThemBackWhole)
{
    MakeDevice();
    struct Case {
        D3DFORMAT format;
        D3DCOLOR colours[4];
    };
    // Colours each format holds exactly, so they must come back unchanged.
    const Case cases[] = {
        {D3DFMT_A8R8G8B8, {0xFFFF0000, 0x8000FF01, 0x00FFFFFF, 0x12345678}},
        {D3DFMT_X8R8G8B8, {0xFFFF0000, 0xFF00FF01, 0xFFFFFFFF, 0xFF345678}},
        {D3DFMT_A4R4G4B4, {0xFFFF0000, 0x8800FF11, 0x00FFFFFF, 0x33447788}},
        {D3DFMT_R5G6B5, {0xFFFF0000, 0xFF00FF00, 0xFF0882FF, 0xFF000000}},
        {D3DFMT_L8, {0xFF000000, 0xFF7F7F7F, 0xFFFFFFFF, 0xFF010101}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.format);
        IDirect3DTexture9 *texture = nullptr;
        ASSERT_EQ(device->CreateTexture(2, 2, 1, 0, c.format, D3DPOOL_MANAGED, &texture, nullptr), S_OK);
        D3DLOCKED_RECT locked;
        ASSERT_EQ(texture->LockRect(0, &locked, nullptr, 0), S_OK);
        const UINT bytes = D3D9FormatBytesPerPixel(c.format);
        for (int i = 0; i < 4; i++)
            D3D9WritePixel(c.format, static_cast<BYTE *>(locked.pBits) + (i / 2) * locked.Pitch + (i % 2) * bytes,
                           c.colours[i]);
        ASSERT_EQ(texture->UnlockRect(0), S_OK);

        ASSERT_EQ(device->SetTexture(0, texture), S_OK);
        Draw<TexturedScreenVertex>(D3DPT_TRIANGLESTRIP,
                                   {{-0.5f, 47.5f, 0, 1, 0xFFFFFFFF, 0, 1},
                                    {-0.5f, -0.5f, 0, 1, 0xFFFFFFFF, 0, 0},
                                    {63.5f, 47.5f, 0, 1, 0xFFFFFFFF, 1, 1},
                                    {63.5f, -0.5f, 0, 1, 0xFFFFFFFF, 1, 0}},
                                   TEXTURED_SCREEN_FVF);
        // Drawn once (the draw reaches GL at the latest when the frame is
        // read), GL holds the only copy.
        Pixel(0, 0);
        EXPECT_EQ(texture->GetPixels().bits, nullptr);

        ASSERT_EQ(texture->LockRect(0, &locked, nullptr, D3DLOCK_READONLY), S_OK);
        for (int i = 0; i < 4; i++)
            EXPECT_EQ(D3D9ReadPixel(c.format, static_cast<BYTE *>(locked.pBits) + (i / 2) * locked.Pitch +
                                                  (i % 2) * bytes),
                      c.colours[i])
                << i;
        ASSERT_EQ(texture->UnlockRect(0), S_OK);
        // Locked after it was drawn, it keeps its pixels from now on rather
        // than read them back at every lock.
        ASSERT_EQ(device->BeginScene(), S_OK);
        ASSERT_EQ(device->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2), S_OK);
        ASSERT_EQ(device->EndScene(), S_OK);
        Pixel(0, 0);
        EXPECT_NE(texture->GetPixels().bits, nullptr);
        ASSERT_EQ(device->SetTexture(0, nullptr), S_OK);
        texture->Release();
    }
}

TEST_F(D3D9GLDisplayTest, EventsAndLockedSurfacesWaitForTheGraphicsProcessor)
{
    MakeDevice();
    IDirect3DQuery9 *query = nullptr;
    ASSERT_EQ(device->CreateQuery(D3DQUERYTYPE_EVENT, &query), S_OK);
    Clear(0xFF000000);
    ASSERT_EQ(query->Issue(D3DISSUE_END), S_OK);
    BOOL done = FALSE;
    HRESULT result;
    while ((result = query->GetData(&done, sizeof(done), D3DGETDATA_FLUSH)) == S_FALSE) {
    }
    EXPECT_EQ(result, S_OK);
    EXPECT_TRUE(done);
    query->Release();

    IDirect3DSurface9 *surface = nullptr;
    ASSERT_EQ(device->CreateOffscreenPlainSurface(16, 16, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT, &surface, nullptr), S_OK);
    ASSERT_EQ(device->ColorFill(surface, nullptr, 0xFF123456), S_OK);
    D3DLOCKED_RECT locked;
    ASSERT_EQ(surface->LockRect(&locked, nullptr, D3DLOCK_READONLY), S_OK);
    EXPECT_EQ(static_cast<DWORD *>(locked.pBits)[17], 0xFF123456u);
    EXPECT_EQ(surface->UnlockRect(), S_OK);
    surface->Release();
}

TEST_F(D3D9GLDisplayTest, MultisampledEdgesAreMixed)
{
    D3DPRESENT_PARAMETERS parameters = Parameters();
    parameters.MultiSampleType = D3DMULTISAMPLE_4_SAMPLES;
    HRESULT result = MakeDevice(parameters);
    if (result == D3DERR_INVALIDCALL)
        GTEST_SKIP() << "this display offers no 4-sample back buffer";
    ASSERT_EQ(result, S_OK);
    ASSERT_EQ(device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE), S_OK);
    Clear(0xFF000000);
    // A diagonal edge through the middle of the pixels it crosses.
    Draw<ScreenVertex>(D3DPT_TRIANGLELIST,
                       {{-0.5f, -0.5f, 0, 1, 0xFFFFFFFF}, {63.5f, -0.5f, 0, 1, 0xFFFFFFFF},
                        {-0.5f, 63.5f, 0, 1, 0xFFFFFFFF}},
                       SCREEN_FVF);
    DWORD edge = Pixel(31, 32) & 0xFF;
    EXPECT_GT(edge, 0x10u);
    EXPECT_LT(edge, 0xF0u);
    EXPECT_TRUE(Near(0xFFFFFF, Pixel(5, 5)));
    EXPECT_TRUE(Near(0x000000, Pixel(60, 40)));
    EXPECT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), S_OK);
}

TEST_F(D3D9GLDisplayTest, AWindowWithoutGLHasNoDevice)
{
    D3D9SetBackend(D3D9_BACKEND_RECORDING);
    HWND plain = CreateWindowExA(0, "D3D9WindowTest", "Plain", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 100, 100,
                                 nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(plain, nullptr);
    D3D9SetBackend(D3D9_BACKEND_GL);
    D3DPRESENT_PARAMETERS parameters = Parameters();
    parameters.hDeviceWindow = plain;
    EXPECT_EQ(MakeDevice(parameters), D3DERR_NOTAVAILABLE);
    EXPECT_EQ(device, nullptr);
}

} // namespace
