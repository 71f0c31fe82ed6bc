// Textures from image files, told by their content, at their own size, in
// the format asked for.
#include "platform/d3d9/D3DX9.h"
#include "platform/d3d9/D3D9Backend.h"
#include "platform/d3d9/D3D9Recording.h"
#include "platform/win32/Win32Headless.h"
#include "platform/win32/Win32Window.h"

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STB_IMAGE_WRITE_STATIC
#include <stb/stb_image_write.h>
#pragma GCC diagnostic pop

#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

namespace {

LRESULT TestWindowProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam)
{
    return DefWindowProcA(hwnd, message, wparam, lparam);
}

// Three by two pixels, RGBA: red, green, blue / white, black, half-transparent grey.
const unsigned char IMAGE[] = {255, 0,   0,   255, 0, 255, 0, 255, 0,   0,   255, 255,
                               255, 255, 255, 255, 0, 0,   0, 255, 128, 128, 128, 128};

class D3DX9TextureTest : public testing::Test {
protected:
    IDirect3D9 *d3d = nullptr;
    IDirect3DDevice9 *device = nullptr;

    void SetUp() override
    {
        PlatformResetWindowsForTests();
        PlatformSetHeadless(true);
        D3D9SetBackend(D3D9_BACKEND_RECORDING);
        WNDCLASSA window_class = {0, TestWindowProc, nullptr, "D3DX9TextureTest"};
        RegisterClassA(&window_class);
        HWND window = CreateWindowExA(0, "D3DX9TextureTest", "D3DX9", WS_OVERLAPPEDWINDOW, 0, 0, 200, 200, nullptr,
                                      nullptr, nullptr, nullptr);
        d3d = Direct3DCreate9(D3D_SDK_VERSION);
        D3DPRESENT_PARAMETERS parameters = {};
        parameters.Windowed = TRUE;
        ASSERT_EQ(d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window, 0, &parameters, &device), S_OK);
    }

    void TearDown() override
    {
        EXPECT_EQ(device->Release(), 0u);
        d3d->Release();
        PlatformResetWindowsForTests();
    }

    HRESULT Load(const char *file, D3DFORMAT format, IDirect3DTexture9 **texture, D3DXIMAGE_INFO *info = nullptr,
                 UINT width = D3DX_DEFAULT)
    {
        return D3DXCreateTextureFromFileExA(device, file, width, D3DX_DEFAULT, 1, 0, format, D3DPOOL_MANAGED,
                                            D3DX_DEFAULT, D3DX_DEFAULT, 0, info, nullptr, texture);
    }

    D3DCOLOR Pixel(IDirect3DTexture9 *texture, UINT x, UINT y)
    {
        return D3D9ReadPixel(texture->GetPixels().format, D3D9PixelsAt(&texture->GetPixels(), x, y));
    }
};

void WriteFile(const char *name, const std::vector<unsigned char> &bytes)
{
    FILE *file = std::fopen(name, "wb");
    ASSERT_NE(file, nullptr);
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
}

TEST_F(D3DX9TextureTest, APngLoadsAtItsOwnSizeInTheFormatAskedFor)
{
    // A name that says nothing of the content, as the game's data files have.
    ASSERT_TRUE(stbi_write_png("image.dat", 3, 2, 4, IMAGE, 3 * 4));
    IDirect3DTexture9 *texture = nullptr;
    D3DXIMAGE_INFO info = {};
    ASSERT_EQ(Load("image.dat", D3DFMT_A8R8G8B8, &texture, &info), S_OK);
    D3DSURFACE_DESC desc;
    texture->GetLevelDesc(0, &desc);
    EXPECT_EQ(desc.Width, 3u);
    EXPECT_EQ(desc.Height, 2u);
    EXPECT_EQ(desc.Format, D3DFMT_A8R8G8B8);
    EXPECT_EQ(info.Width, 3u);
    EXPECT_EQ(info.ImageFileFormat, D3DXIFF_PNG);
    EXPECT_EQ(Pixel(texture, 0, 0), 0xFFFF0000u);
    EXPECT_EQ(Pixel(texture, 2, 0), 0xFF0000FFu);
    EXPECT_EQ(Pixel(texture, 2, 1), 0x80808080u);
    texture->Release();

    struct Case {
        D3DFORMAT format;
        D3DCOLOR grey;
    };
    for (const Case &c : {Case{D3DFMT_X8R8G8B8, 0xFF808080u}, Case{D3DFMT_A4R4G4B4, 0x88888888u},
                          Case{D3DFMT_L8, 0xFF808080u}}) {
        ASSERT_EQ(Load("image.dat", c.format, &texture), S_OK);
        EXPECT_EQ(Pixel(texture, 2, 1), c.grey) << c.format;
        texture->Release();
    }
}

TEST_F(D3DX9TextureTest, ATgaLoadsTopRowFirst)
{
    // Uncompressed true colour, 32 bits, rows from the top (descriptor bit 5).
    std::vector<unsigned char> tga = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 0, 1, 0, 32, 8 | 0x20};
    // Bytes blue, green, red, alpha.
    for (unsigned char byte : {0, 0, 255, 255, 255, 0, 0, 128})
        tga.push_back(byte);
    WriteFile("cursor.dat", tga);
    IDirect3DTexture9 *texture = nullptr;
    D3DXIMAGE_INFO info = {};
    ASSERT_EQ(Load("cursor.dat", D3DFMT_A8R8G8B8, &texture, &info), S_OK);
    EXPECT_EQ(info.ImageFileFormat, D3DXIFF_TGA);
    EXPECT_EQ(Pixel(texture, 0, 0), 0xFFFF0000u);
    EXPECT_EQ(Pixel(texture, 1, 0), 0x800000FFu);
    texture->Release();
}

TEST_F(D3DX9TextureTest, WhatCannotBeLoadedIsToldApart)
{
    IDirect3DTexture9 *texture = nullptr;
    EXPECT_EQ(Load("missing.dat", D3DFMT_A8R8G8B8, &texture), D3DERR_NOTFOUND);
    WriteFile("garbage.dat", {'n', 'o', ' ', 'i', 'm', 'a', 'g', 'e'});
    EXPECT_EQ(Load("garbage.dat", D3DFMT_A8R8G8B8, &texture), D3DXERR_INVALIDDATA);
    ASSERT_TRUE(stbi_write_png("image.png", 3, 2, 4, IMAGE, 3 * 4));
    EXPECT_EQ(Load("image.png", D3DFMT_A8R8G8B8, &texture, nullptr, 4), D3DERR_INVALIDCALL);
    EXPECT_EQ(Load("image.png", D3DFMT_D24S8, &texture), D3DERR_INVALIDCALL);
    EXPECT_EQ(texture, nullptr);
    EXPECT_EQ(D3DXCreateTextureFromFileExA(device, "image.png", D3DX_DEFAULT, D3DX_DEFAULT, 1, 0, D3DFMT_A8R8G8B8,
                                           D3DPOOL_MANAGED, D3DX_DEFAULT, D3DX_DEFAULT, 0xFF000000, nullptr, nullptr,
                                           &texture),
              D3DERR_INVALIDCALL);

    ASSERT_EQ(D3DXCreateTexture(device, 7, 9, 1, 0, D3DFMT_UNKNOWN, D3DPOOL_MANAGED, &texture), S_OK);
    D3DSURFACE_DESC desc;
    texture->GetLevelDesc(0, &desc);
    EXPECT_EQ(desc.Format, D3DFMT_A8R8G8B8);
    EXPECT_EQ(desc.Width, 7u);
    texture->Release();
}

} // namespace
