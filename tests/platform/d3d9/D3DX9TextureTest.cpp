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

#include <cstdint>
#include <cstdio>
#include <string>
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

TEST_F(D3DX9TextureTest, BmpAndJpegLoadByTheirContent)
{
    // Two by two, 24 bits, rows bottom up, each padded to 4 bytes.
    std::vector<unsigned char> bmp = {'B', 'M', 70, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, 40, 0, 0, 0, 2, 0, 0, 0,
                                      2, 0, 0, 0, 1, 0, 24, 0};
    bmp.resize(54, 0);
    // Bottom row blue, green; top row red, white (bytes blue, green, red).
    for (unsigned char byte : {255, 0, 0, 0, 255, 0, 0, 0, 0, 0, 255, 255, 255, 255, 0, 0})
        bmp.push_back(byte);
    WriteFile("picture.dat", bmp);
    IDirect3DTexture9 *texture = nullptr;
    D3DXIMAGE_INFO info = {};
    ASSERT_EQ(Load("picture.dat", D3DFMT_A8R8G8B8, &texture, &info), S_OK);
    EXPECT_EQ(info.ImageFileFormat, D3DXIFF_BMP);
    EXPECT_EQ(info.Format, D3DFMT_X8R8G8B8);
    EXPECT_EQ(Pixel(texture, 0, 0), 0xFFFF0000u);
    EXPECT_EQ(Pixel(texture, 1, 0), 0xFFFFFFFFu);
    EXPECT_EQ(Pixel(texture, 0, 1), 0xFF0000FFu);
    EXPECT_EQ(Pixel(texture, 1, 1), 0xFF00FF00u);
    texture->Release();

    // The generated menu background is a JPEG of 1024 x 768.
    ASSERT_EQ(Load(HW_DATA_DIR "/1615.dat", D3DFMT_A8R8G8B8, &texture, &info), S_OK);
    EXPECT_EQ(info.ImageFileFormat, D3DXIFF_JPG);
    EXPECT_EQ(info.Format, D3DFMT_X8R8G8B8);
    EXPECT_EQ(info.Width, 1024u);
    EXPECT_EQ(info.Height, 768u);
    EXPECT_EQ(Pixel(texture, 512, 384) >> 24, 0xFFu);
    texture->Release();
}

// Damaged or hostile files: each is refused from its header, before a
// texture is made or a pixel decoded, or by the decoder without harm.
TEST_F(D3DX9TextureTest, HostileFilesAreRefusedBeforeTheyCostMemory)
{
    auto bmp_header = [](uint32_t width, uint32_t height) {
        std::vector<unsigned char> bytes = {'B', 'M', 54, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, 40, 0, 0, 0};
        for (uint32_t value : {width, height})
            for (int shift = 0; shift < 32; shift += 8)
                bytes.push_back(static_cast<unsigned char>(value >> shift));
        bytes.insert(bytes.end(), {1, 0, 24, 0});
        bytes.resize(54, 0);
        return bytes;
    };
    auto tga_header = [](unsigned char type, unsigned width, unsigned height) {
        return std::vector<unsigned char>{0, 0, type, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                          static_cast<unsigned char>(width), static_cast<unsigned char>(width >> 8),
                                          static_cast<unsigned char>(height), static_cast<unsigned char>(height >> 8),
                                          32, 8};
    };
    std::vector<unsigned char> png_header = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13, 'I', 'H', 'D',
                                             'R', 0, 0, 0x40, 0, 0, 0, 0x40, 0, 8, 6, 0, 0, 0, 0, 0, 0, 0};
    // A table of more than 256 Huffman codes, with no frame to decode.
    std::vector<unsigned char> jpeg_short = {0xFF, 0xD8, 0xFF, 0xC4, 0x00, 0x13, 0x00, 0xFF, 0xFF};
    // The same table after a frame header of 8 x 8 grey.
    std::vector<unsigned char> jpeg_bad_table = {0xFF, 0xD8, 0xFF, 0xC0, 0, 11, 8, 0, 8, 0, 8, 1, 1, 0x11, 0,
                                                 0xFF, 0xC4, 0, 19, 0x00};
    for (int i = 0; i < 16; i++)
        jpeg_bad_table.push_back(0xFF);
    jpeg_bad_table.insert(jpeg_bad_table.end(), {0xFF, 0xD9});
    // A PNG of 16384 x 16384 of the depth and colour type, with image data
    // of the size given and a comment of the size given; the check values
    // are left zero, as the header is refused before they are read.
    auto png_of = [](unsigned char depth, unsigned char colour_type, uint32_t image_data, uint32_t comment) {
        std::vector<unsigned char> bytes = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
        auto chunk = [&bytes](const char *name, std::vector<unsigned char> data) {
            const uint32_t length = static_cast<uint32_t>(data.size());
            for (int shift = 24; shift >= 0; shift -= 8)
                bytes.push_back(static_cast<unsigned char>(length >> shift));
            bytes.insert(bytes.end(), name, name + 4);
            bytes.insert(bytes.end(), data.begin(), data.end());
            bytes.insert(bytes.end(), 4, 0);
        };
        chunk("IHDR", {0, 0, 0x40, 0, 0, 0, 0x40, 0, depth, colour_type, 0, 0, 0});
        chunk("tEXt", std::vector<unsigned char>(comment, 'c'));
        chunk("IDAT", std::vector<unsigned char>(image_data, 0));
        chunk("IEND", {});
        return bytes;
    };
    std::vector<unsigned char> png_cut;
    {
        ASSERT_TRUE(stbi_write_png("whole.png", 3, 2, 4, IMAGE, 3 * 4));
        FILE *file = std::fopen("whole.png", "rb");
        ASSERT_NE(file, nullptr);
        unsigned char buffer[256];
        png_cut.assign(buffer, buffer + std::fread(buffer, 1, sizeof(buffer), file));
        std::fclose(file);
        png_cut.resize(png_cut.size() - 20);
    }

    struct Case {
        const char *what;
        std::vector<unsigned char> bytes;
        HRESULT result;
    };
    const Case cases[] = {
        {"54-byte BMP of 16384 x 16384", bmp_header(16384, 16384), D3DXERR_INVALIDDATA},
        {"BMP of 16384 x -16384 (top down)", bmp_header(16384, 0u - 16384u), D3DXERR_INVALIDDATA},
        {"BMP wider than the device", bmp_header(16385, 1), D3DERR_INVALIDCALL},
        {"18-byte TGA of 16384 x 16384", tga_header(2, 16384, 16384), D3DXERR_INVALIDDATA},
        {"run-length TGA of 16384 x 16384", tga_header(10, 16384, 16384), D3DXERR_INVALIDDATA},
        {"TGA taller than the device", tga_header(2, 1, 65535), D3DERR_INVALIDCALL},
        {"TGA of no size", tga_header(2, 0, 0), D3DXERR_INVALIDDATA},
        {"PNG header of 16384 x 16384", png_header, D3DXERR_INVALIDDATA},
        {"9-byte JPEG with a bad Huffman table", jpeg_short, D3DXERR_INVALIDDATA},
        {"JPEG frame with a bad Huffman table", jpeg_bad_table, D3DXERR_INVALIDDATA},
        {"PNG cut short", png_cut, D3DXERR_INVALIDDATA},
        // 40 KB that are mostly a comment: its pixels cannot come from the
        // little image data, however well packed.
        {"40 KB PNG of 16384 x 16384 grey bits, 100 bytes of image data", png_of(1, 0, 100, 40000),
         D3DXERR_INVALIDDATA},
        // Rows of 64 KB of colour and alpha each need more than 63 bytes of
        // packed data, a gigabyte more than 1 MB.
        {"PNG of 16384 x 16384 colour and alpha, 40 KB of image data", png_of(8, 6, 40000, 0), D3DXERR_INVALIDDATA},
        {"PNG of a depth its colour type does not have", png_of(4, 2, 1 << 20, 0), D3DXERR_INVALIDDATA},
    };
    for (const Case &c : cases) {
        WriteFile("hostile.dat", c.bytes);
        D3D9RecordingReset();
        IDirect3DTexture9 *texture = nullptr;
        EXPECT_EQ(Load("hostile.dat", D3DFMT_A8R8G8B8, &texture), c.result) << c.what;
        EXPECT_EQ(texture, nullptr) << c.what;
        for (const std::string &call : D3D9RecordingGetCalls())
            EXPECT_NE(call.rfind("CreateTexture", 0), 0u) << c.what;
    }
}

} // namespace
