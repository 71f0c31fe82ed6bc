// The GL device's batching on a real window: a scene of many draws gives
// the same pixels whether draws that share their state go to GL together or
// one by one; a texture changed between two draws shows each draw its own
// pixels; a texture drawn without coordinates shows its first texel; and a
// GL error found after a batch reaches the error reporter once.
#include "tests/support/D3D9WindowTest.h"
#include "tests/support/TestPixels.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

const int WIDTH = 128;
const int HEIGHT = 96;

struct ScreenVertex {
    float x, y, z, rhw;
    D3DCOLOR colour;
    float u, v;
};
const DWORD SCREEN_FVF = D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1;

struct PlainScreenVertex {
    float x, y, z, rhw;
    D3DCOLOR colour;
};
const DWORD PLAIN_SCREEN_FVF = D3DFVF_XYZRHW | D3DFVF_DIFFUSE;

struct SpaceVertex {
    float x, y, z;
    float u, v;
};
const DWORD SPACE_FVF = D3DFVF_XYZ | D3DFVF_TEX1;

std::vector<std::string> reports;

void RecordReport(const char *where, const char *text)
{
    reports.push_back(std::string(where) + ": " + text);
}

// A window with a GL device of WIDTH x HEIGHT, and two small textures.
class D3D9BatchingDisplayTest : public D3D9WindowTest {
protected:
    IDirect3DTexture9 *textures[2] = {nullptr, nullptr};

    D3D9BatchingDisplayTest() : D3D9WindowTest(WIDTH, HEIGHT) {}

    void SetUp() override
    {
        D3D9WindowTest::SetUp();
        if (HasFatalFailure())
            return;
        // The scenes draw without depth.
        D3DPRESENT_PARAMETERS parameters = Parameters();
        parameters.EnableAutoDepthStencil = FALSE;
        ASSERT_EQ(MakeDevice(parameters), S_OK);
        for (IDirect3DTexture9 *&texture : textures)
            ASSERT_EQ(device->CreateTexture(4, 4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture, nullptr), S_OK);
        reports.clear();
        D3D9SetErrorReport(RecordReport);
    }

    void TearDown() override
    {
        D3D9SetErrorReport(nullptr);
        for (IDirect3DTexture9 *texture : textures)
            if (texture)
                texture->Release();
        D3D9WindowTest::TearDown();
    }

    // Every texel of the texture from colour(x, y).
    template <typename Colour>
    void Fill(IDirect3DTexture9 *texture, Colour colour)
    {
        D3DLOCKED_RECT locked;
        ASSERT_EQ(texture->LockRect(0, &locked, nullptr, 0), S_OK);
        for (int y = 0; y < 4; y++)
            for (int x = 0; x < 4; x++)
                reinterpret_cast<DWORD *>(static_cast<BYTE *>(locked.pBits) + y * locked.Pitch)[x] = colour(x, y);
        texture->UnlockRect(0);
    }

    // The vertices go in a buffer of their own, released at once: the
    // device must have taken what it holds back.
    template <typename Vertex>
    void Draw(D3DPRIMITIVETYPE type, const std::vector<Vertex> &vertices, DWORD fvf)
    {
        IDirect3DVertexBuffer9 *buffer = nullptr;
        UINT length = static_cast<UINT>(sizeof(Vertex) * vertices.size());
        ASSERT_EQ(device->CreateVertexBuffer(length, D3DUSAGE_WRITEONLY, fvf, D3DPOOL_MANAGED, &buffer, nullptr), S_OK);
        void *data = nullptr;
        ASSERT_EQ(buffer->Lock(0, 0, &data, 0), S_OK);
        std::copy(vertices.begin(), vertices.end(), static_cast<Vertex *>(data));
        buffer->Unlock();
        device->SetFVF(fvf);
        device->SetStreamSource(0, buffer, 0, sizeof(Vertex));
        UINT count = type == D3DPT_TRIANGLESTRIP ? static_cast<UINT>(vertices.size()) - 2
                                                 : static_cast<UINT>(vertices.size()) / 3;
        EXPECT_EQ(device->DrawPrimitive(type, 0, count), S_OK);
        buffer->Release();
    }

    void ScreenQuad(float left, float top, float right, float bottom, D3DCOLOR colour)
    {
        Draw<ScreenVertex>(D3DPT_TRIANGLESTRIP,
                           {{left, bottom, 0, 1, colour, 0, 1},
                            {left, top, 0, 1, colour, 0, 0},
                            {right, bottom, 0, 1, colour, 1, 1},
                            {right, top, 0, 1, colour, 1, 0}},
                           SCREEN_FVF);
    }

    // A square of side 2 in its own space, turned and moved by the world matrix.
    void TurnedQuad(float x, float y, float angle, float size)
    {
        const float c = std::cos(angle) * size, s = std::sin(angle) * size;
        const D3DMATRIX world = {{{c, s, 0, 0}, {-s, c, 0, 0}, {0, 0, 1, 0}, {x, y, 0, 1}}};
        device->SetTransform(D3DTS_WORLD, &world);
        Draw<SpaceVertex>(D3DPT_TRIANGLESTRIP,
                          {{-1, -1, 0.5f, 0, 1}, {-1, 1, 0.5f, 0, 0}, {1, -1, 0.5f, 1, 1}, {1, 1, 0.5f, 1, 0}},
                          SPACE_FVF);
    }

    // Blended sprites overlapping in order, a second texture in between,
    // turned and lit 3D quads, a list of coloured triangles, a scissored
    // part, and a texture changed half way through; the GL calls it took.
    unsigned long DrawScene()
    {
        Fill(textures[0], [](int x, int y) { return D3DCOLOR_ARGB(64 + 60 * x, 255 - 60 * y, 40 * x, 200); });
        Fill(textures[1], [](int x, int y) { return D3DCOLOR_ARGB(255, 30, 60 * x + 20, 60 * y); });
        unsigned long calls_before = D3D9GLGetCallCount(device);
        EXPECT_EQ(device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF102030, 1.0f, 0), S_OK);
        EXPECT_EQ(device->BeginScene(), S_OK);
        device->SetRenderState(D3DRS_LIGHTING, FALSE);
        device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
        device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
        device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
        device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
        device->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_LINEAR);
        device->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_LINEAR);
        device->SetTexture(0, textures[0]);
        for (int i = 0; i < 24; i++) {
            float x = static_cast<float>((i * 37) % (WIDTH - 20)), y = static_cast<float>((i * 23) % (HEIGHT - 20));
            ScreenQuad(x + 0.3f, y + 0.7f, x + 19.6f, y + 15.2f, D3DCOLOR_ARGB(255 - i * 8, 255, 200 + i, 255));
            if (i == 10) {
                device->SetTexture(0, textures[1]);
                ScreenQuad(50, 10, 70, 40, 0xFFFFFFFF);
                device->SetTexture(0, textures[0]);
            }
        }

        // Lit by the material alone: emissive plus ambient times the scene's ambient.
        D3DMATERIAL9 material = {};
        material.Diffuse.a = 0.75f;
        material.Emissive = {0.3f, 0.5f, 0.1f, 1.0f};
        material.Ambient = {0.5f, 0.5f, 1.0f, 1.0f};
        device->SetMaterial(&material);
        device->SetRenderState(D3DRS_AMBIENT, 0xFF808080);
        device->SetRenderState(D3DRS_LIGHTING, TRUE);
        for (int i = 0; i < 8; i++)
            TurnedQuad(-0.8f + 0.22f * i, 0.4f - 0.1f * i, 0.4f * i, 0.15f);
        const D3DMATRIX identity = {{{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}}};
        device->SetTransform(D3DTS_WORLD, &identity);
        device->SetRenderState(D3DRS_LIGHTING, FALSE);

        device->SetTexture(0, nullptr);
        Draw<PlainScreenVertex>(D3DPT_TRIANGLELIST,
                                {{5, 80, 0, 1, 0xFFFF0000},
                                 {40, 60, 0, 1, 0x8000FF00},
                                 {30, 94, 0, 1, 0xFF0000FF},
                                 {60, 90, 0, 1, 0xC0FFFF00},
                                 {90, 50, 0, 1, 0xFF00FFFF},
                                 {120, 95, 0, 1, 0x40FF00FF}},
                                PLAIN_SCREEN_FVF);

        RECT scissor = {70, 20, 110, 60};
        device->SetScissorRect(&scissor);
        device->SetRenderState(D3DRS_SCISSORTESTENABLE, TRUE);
        device->SetTexture(0, textures[1]);
        ScreenQuad(60, 10, 120, 70, 0xC0FFFFFF);
        device->SetRenderState(D3DRS_SCISSORTESTENABLE, FALSE);

        // The second texture changes between two of its draws.
        ScreenQuad(2, 2, 30, 30, 0xFFFFFFFF);
        Fill(textures[1], [](int x, int y) { return D3DCOLOR_ARGB(255, 250, 40 * y, 40 * x); });
        ScreenQuad(96, 60, 126, 94, 0xFFFFFFFF);
        EXPECT_EQ(device->EndScene(), S_OK);
        EXPECT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), S_OK);
        return D3D9GLGetCallCount(device) - calls_before;
    }
};

TEST_F(D3D9BatchingDisplayTest, TheSameSceneBatchedAndOneByOneGivesTheSamePixels)
{
    DrawScene();
    const unsigned long batched_calls = DrawScene();
    const std::vector<DWORD> batched = Screen();
    D3D9GLSetBatching(device, false);
    DrawScene();
    const unsigned long single_calls = DrawScene();
    const std::vector<DWORD> single = Screen();

    int different = 0, drawn = 0;
    for (size_t i = 0; i < batched.size(); i++) {
        different += (batched[i] & 0xFFFFFF) != (single[i] & 0xFFFFFF);
        drawn += (batched[i] & 0xFFFFFF) != 0x102030;
    }
    EXPECT_EQ(different, 0);
    EXPECT_GT(drawn, WIDTH * HEIGHT / 2);
    // Only changes are sent, and draws sharing their state go together.
    EXPECT_LT(batched_calls * 2, single_calls);
    EXPECT_TRUE(reports.empty()) << reports.front();
}

TEST_F(D3D9BatchingDisplayTest, ATextureChangedBetweenTwoDrawsShowsEachDrawItsOwnPixels)
{
    Fill(textures[0], [](int, int) { return 0xFFFF0000u; });
    ASSERT_EQ(device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0), S_OK);
    ASSERT_EQ(device->BeginScene(), S_OK);
    device->SetRenderState(D3DRS_LIGHTING, FALSE);
    device->SetTexture(0, textures[0]);
    ScreenQuad(10, 10, 30, 30, 0xFFFFFFFF);
    Fill(textures[0], [](int, int) { return 0xFF00FF00u; });
    ScreenQuad(50, 10, 70, 30, 0xFFFFFFFF);
    ASSERT_EQ(device->EndScene(), S_OK);
    EXPECT_TRUE(Near(0xFF0000, Pixel(20, 20)));
    EXPECT_TRUE(Near(0x00FF00, Pixel(60, 20)));
}

TEST_F(D3D9BatchingDisplayTest, ATextureDrawnWithoutCoordinatesShowsItsFirstTexel)
{
    Fill(textures[0], [](int x, int y) { return x == 0 && y == 0 ? 0xFF0000FFu : 0xFFFF0000u; });
    ASSERT_EQ(device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0), S_OK);
    ASSERT_EQ(device->BeginScene(), S_OK);
    device->SetRenderState(D3DRS_LIGHTING, FALSE);
    device->SetTexture(0, textures[0]);
    // A draw that ends on the far corner of the texture, then one without
    // coordinates of its own.
    ScreenQuad(10, 10, 30, 30, 0xFFFFFFFF);
    Draw<PlainScreenVertex>(D3DPT_TRIANGLESTRIP,
                            {{50, 30, 0, 1, 0xFFFFFFFF},
                             {50, 10, 0, 1, 0xFFFFFFFF},
                             {70, 30, 0, 1, 0xFFFFFFFF},
                             {70, 10, 0, 1, 0xFFFFFFFF}},
                            PLAIN_SCREEN_FVF);
    ASSERT_EQ(device->EndScene(), S_OK);
    EXPECT_TRUE(Near(0x0000FF, Pixel(60, 20)));
}

TEST_F(D3D9BatchingDisplayTest, AGLErrorOfABatchIsReportedOnce)
{
    ASSERT_EQ(device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0), S_OK);
    ASSERT_EQ(device->BeginScene(), S_OK);
    device->SetRenderState(D3DRS_LIGHTING, FALSE);
    for (int i = 0; i < 5; i++) {
        if (i == 2)
            D3D9GLRaiseErrorForTests(device);
        ScreenQuad(10.0f * i, 10, 10.0f * i + 8, 20, 0xFFFFFFFF);
    }
    ASSERT_EQ(device->EndScene(), S_OK);
    // The draws are held back until Present sends them.
    EXPECT_TRUE(reports.empty());
    ASSERT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), S_OK);
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0], "D3D9GLBackend::Flush: GL error 0x0500 drawing 10 triangles");
    EXPECT_TRUE(Near(0xFFFFFF, Pixel(44, 15)));
}

TEST_F(D3D9BatchingDisplayTest, EveryRectangleOfALongClearListIsCleared)
{
    ASSERT_EQ(device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0), S_OK);
    // More rectangles than the device hands on at a time, some outside.
    std::vector<D3DRECT> rects;
    for (LONG i = 0; i < 40; i++)
        rects.push_back({i * 3, i * 2, i * 3 + 2, i * 2 + 2});
    ASSERT_EQ(device->Clear(static_cast<DWORD>(rects.size()), rects.data(), D3DCLEAR_TARGET, 0xFFFFFFFF, 1.0f, 0),
              S_OK);
    for (LONG i = 0; i < 40; i++) {
        if (i * 2 + 1 >= HEIGHT)
            break;
        EXPECT_TRUE(Near(0xFFFFFF, Pixel(i * 3 + 1, i * 2 + 1))) << i;
        EXPECT_TRUE(Near(0x000000, Pixel(i * 3 + 2, i * 2 + 1))) << i;
    }
}

} // namespace
