// The engine's device on a real window with GL: a frame cleared and shown,
// a textured and blended quad, the lit colour of text, and anti-aliasing,
// each read back from the back buffer.
#include "engine/runtime/EngDeviceDX9.h"
#include "engine/runtime/EngUtilsDX9.h"
#include "platform/d3d9/D3DX9.h"
#include "tests/support/DisplayTest.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

// The layouts of the engine's quads: pre-transformed with colour and texture
// coordinates, and untransformed with colour.
struct ScreenVertex {
    float x, y, z, rhw;
    D3DCOLOR colour;
    float u, v;
};
const DWORD SCREEN_FVF = D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1;

struct SpaceVertex {
    float x, y, z;
    D3DCOLOR colour;
};
const DWORD SPACE_FVF = D3DFVF_XYZ | D3DFVF_DIFFUSE;

class EngDeviceDX9DisplayTest : public DisplayTest<> {
protected:
    template <typename Vertex>
    void Draw(const std::vector<Vertex> &vertices, DWORD fvf, D3DPRIMITIVETYPE type = D3DPT_TRIANGLESTRIP)
    {
        IDirect3DVertexBuffer9 *buffer = nullptr;
        UINT length = static_cast<UINT>(sizeof(Vertex) * vertices.size());
        ASSERT_EQ(eng_d3d_device->CreateVertexBuffer(length, D3DUSAGE_WRITEONLY, fvf, D3DPOOL_MANAGED, &buffer, nullptr),
                  S_OK);
        void *data = nullptr;
        ASSERT_EQ(buffer->Lock(0, 0, &data, 0), S_OK);
        std::copy(vertices.begin(), vertices.end(), static_cast<Vertex *>(data));
        buffer->Unlock();
        eng_d3d_device->SetFVF(fvf);
        eng_d3d_device->SetStreamSource(0, buffer, 0, sizeof(Vertex));
        UINT count = type == D3DPT_TRIANGLESTRIP ? static_cast<UINT>(vertices.size()) - 2
                                                 : static_cast<UINT>(vertices.size()) / 3;
        EXPECT_EQ(eng_d3d_device->DrawPrimitive(type, 0, count), S_OK);
        buffer->Release();
    }
};

TEST_F(EngDeviceDX9DisplayTest, AFrameIsClearedToTheProgramsColourAndShown)
{
    ASSERT_EQ(Open(), 1);
    ASSERT_NE(eng_d3d_device, nullptr);
    // The program's own frame: the clear colour (0.2, 0.4, 0.3), waiting for
    // the graphics processor by either method, and the buffer swap.
    for (int method : {1, 0}) {
        program->SetSyncWithGpuMethod(1, method, 0);
        program->DoRender();
        program->DoRender();
        EXPECT_EQ(program->GetSyncWithGpuMethod(), method);
    }
    EXPECT_TRUE(Near(0x33664C, Pixel(0, 0), 1));
    EXPECT_TRUE(Near(0x33664C, Pixel(319, 239), 1));
    EXPECT_TRUE(StoredLines().empty());
}

TEST_F(EngDeviceDX9DisplayTest, ATexturedQuadIsBlendedTexelForPixel)
{
    ASSERT_EQ(Open(), 1);
    // A 4 x 4 picture: the left half opaque red, the right half green at
    // half alpha, written as a top-first TGA.
    std::vector<unsigned char> tga = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 4, 0, 4, 0, 32, 8 | 0x20};
    for (int y = 0; y < 4; y++)
        for (int x = 0; x < 4; x++)
            for (int byte : x < 2 ? std::vector<int>{0, 0, 255, 255} : std::vector<int>{0, 255, 0, 128})
                tga.push_back(static_cast<unsigned char>(byte));
    FILE *file = std::fopen("quad.dat", "wb");
    ASSERT_NE(file, nullptr);
    std::fwrite(tga.data(), 1, tga.size(), file);
    std::fclose(file);
    D3DFORMAT format = D3DFMT_UNKNOWN;
    ASSERT_TRUE(EngUtilsDX9_GetSupportedSurfaceFormat(&format, 1));
    IDirect3DTexture9 *texture = nullptr;
    ASSERT_EQ(D3DXCreateTextureFromFileExA(eng_d3d_device, "quad.dat", D3DX_DEFAULT, D3DX_DEFAULT, 1, 0, format,
                                           D3DPOOL_MANAGED, D3DX_DEFAULT, D3DX_DEFAULT, 0, nullptr, nullptr, &texture),
              S_OK);

    eng_device->SetClearColour(0, 0, 1);
    eng_device->ClearBackBufferAndZBuffer();
    ASSERT_TRUE(eng_device->BeginRendering());
    eng_device->PrepareFor2D(1);
    eng_device->EnableBlendingType(0);
    eng_device->ModulateTextureAlphaWithColourAlpha();
    eng_d3d_device->SetTexture(0, texture);
    // Pixels 10 to 13 across and 20 to 23 down, reached half a pixel beyond
    // on every side: with Direct3D's pixel centres each pixel takes one
    // texel whole, even with linear filtering on.
    Draw<ScreenVertex>({{9.5f, 23.5f, 0, 1, 0xFFFFFFFF, 0, 1},
                        {9.5f, 19.5f, 0, 1, 0xFFFFFFFF, 0, 0},
                        {13.5f, 23.5f, 0, 1, 0xFFFFFFFF, 1, 1},
                        {13.5f, 19.5f, 0, 1, 0xFFFFFFFF, 1, 0}},
                       SCREEN_FVF);
    eng_device_dx9->SetNoTexture();
    eng_device->RestoreAfter2D();
    eng_device->EndRendering();
    texture->Release();

    for (int y : {20, 23}) {
        EXPECT_TRUE(Near(0xFF0000, Pixel(10, y), 1));
        EXPECT_TRUE(Near(0xFF0000, Pixel(11, y), 1));
        EXPECT_TRUE(Near(0x00807F, Pixel(12, y), 1));
        EXPECT_TRUE(Near(0x00807F, Pixel(13, y), 1));
    }
    EXPECT_TRUE(Near(0x0000FF, Pixel(9, 20), 1));
    EXPECT_TRUE(Near(0x0000FF, Pixel(14, 20), 1));
    EXPECT_TRUE(Near(0x0000FF, Pixel(10, 19), 1));
    EXPECT_TRUE(Near(0x0000FF, Pixel(10, 24), 1));
    EXPECT_TRUE(StoredLines().empty());
}

TEST_F(EngDeviceDX9DisplayTest, LitQuadsShowTheirMaterialsEmissiveColour)
{
    ASSERT_EQ(Open(), 1);
    eng_device->SetClearColour(0, 0, 1);
    eng_device->ClearBackBufferAndZBuffer();
    ASSERT_TRUE(eng_device->BeginRendering());
    // As text is drawn: lighting left on, the colour from the material, the
    // virtual screen as an orthographic projection with y up.
    eng_device->PrepareFor2D(0);
    eng_d3d_device->SetRenderState(D3DRS_DIFFUSEMATERIALSOURCE, D3DMCS_MATERIAL);
    D3DMATERIAL9 text = {};
    text.Emissive = {1.0f, 1.0f, 0.0f, 1.0f};
    text.Diffuse = {0.0f, 0.0f, 0.0f, 1.0f};
    eng_d3d_device->SetMaterial(&text);
    D3DXMATRIX ortho;
    D3DXMatrixOrthoOffCenterLH(&ortho, 0, 640, 0, 480, -1, 1);
    eng_device_dx9->SetProjectionMatrixToDxMatrix(&ortho.m[0][0]);
    const std::vector<SpaceVertex> square = {
        {100, 100, 0, 0xFFFFFFFF}, {100, 300, 0, 0xFFFFFFFF}, {300, 100, 0, 0xFFFFFFFF}, {300, 300, 0, 0xFFFFFFFF}};
    Draw(square, SPACE_FVF);
    // Virtual (200, 200) is pixel (100, 140) of 320 x 240.
    EXPECT_TRUE(Near(0xFFFF00, Pixel(100, 140), 3));
    EXPECT_TRUE(Near(0x0000FF, Pixel(10, 10), 3));

    // The engine's default material, lit without lights, is black.
    eng_d3d_device->SetRenderState(D3DRS_DIFFUSEMATERIALSOURCE, D3DMCS_COLOR1);
    eng_device_dx9->SetMaterialToDefault();
    Draw(square, SPACE_FVF);
    EXPECT_TRUE(Near(0x000000, Pixel(100, 140), 3));
    eng_device->RestoreAfter2D();
    eng_device->EndRendering();
    EXPECT_TRUE(StoredLines().empty());
}

TEST_F(EngDeviceDX9DisplayTest, AntiAliasingSmoothsEdgesWhereTheDisplayHasIt)
{
    parms.aa_type = 4;
    if (Open() != 1)
        GTEST_SKIP() << "this display offers no 4-sample back buffer; the device refused anti-aliasing";
    EXPECT_EQ(eng_device_dx9->GetSettings()->pp.MultiSampleType, D3DMULTISAMPLE_4_SAMPLES);
    eng_device->SetClearColour(0, 0, 0);
    eng_device->ClearBackBufferAndZBuffer();
    ASSERT_TRUE(eng_device->BeginRendering());
    eng_device->PrepareFor2D(1);
    eng_device->ShowTwoSidedPolygons(1);
    // The edge x + y = 200 runs through the centres of the pixels it crosses.
    Draw<ScreenVertex>({{-0.5f, -0.5f, 0, 1, 0xFFFFFFFF, 0, 0},
                        {200.5f, -0.5f, 0, 1, 0xFFFFFFFF, 0, 0},
                        {-0.5f, 200.5f, 0, 1, 0xFFFFFFFF, 0, 0}},
                       SCREEN_FVF, D3DPT_TRIANGLELIST);
    eng_device->RestoreAfter2D();
    eng_device->EndRendering();
    DWORD edge = Pixel(100, 100) & 0xFF;
    EXPECT_GT(edge, 0x10u);
    EXPECT_LT(edge, 0xF0u);
    EXPECT_TRUE(Near(0xFFFFFF, Pixel(50, 50), 3));
    EXPECT_TRUE(Near(0x000000, Pixel(150, 150), 3));
}

} // namespace
