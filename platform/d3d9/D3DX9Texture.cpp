#include "platform/d3d9/D3DX9.h"
#include "platform/win32/Win32Files.h"

#include <cstdio>
#include <vector>

// The image decoder's own code is not held to this program's warnings.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wsign-compare"
#pragma GCC diagnostic ignored "-Wimplicit-fallthrough"
#define STB_IMAGE_IMPLEMENTATION
#define STB_IMAGE_STATIC
#define STBI_NO_STDIO
#define STBI_ONLY_PNG
#define STBI_ONLY_JPEG
#define STBI_ONLY_TGA
#define STBI_ONLY_BMP
#include <stb/stb_image.h>
#pragma GCC diagnostic pop

namespace {

// The program's names may use '\' and Windows-1252, as on the desktop.
bool ReadFile(const char *name, std::vector<unsigned char> *data)
{
    char path[4096];
    if (!PlatformPathFromAnsi(name, path, sizeof(path)))
        return false;
    FILE *file = std::fopen(path, "rb");
    if (!file)
        return false;
    unsigned char buffer[65536];
    size_t got;
    while ((got = std::fread(buffer, 1, sizeof(buffer), file)) > 0)
        data->insert(data->end(), buffer, buffer + got);
    bool ok = !std::ferror(file);
    std::fclose(file);
    return ok;
}

// Told by the first bytes; what is none of the others is taken for TGA,
// which has no signature.
D3DXIMAGE_FILEFORMAT FileFormatOf(const std::vector<unsigned char> &data)
{
    if (data.size() >= 4 && data[0] == 0x89 && data[1] == 'P' && data[2] == 'N' && data[3] == 'G')
        return D3DXIFF_PNG;
    if (data.size() >= 2 && data[0] == 0xFF && data[1] == 0xD8)
        return D3DXIFF_JPG;
    if (data.size() >= 2 && data[0] == 'B' && data[1] == 'M')
        return D3DXIFF_BMP;
    return D3DXIFF_TGA;
}

bool IsDefaultSize(UINT size)
{
    return size == 0 || size == D3DX_DEFAULT || size == D3DX_DEFAULT_NONPOW2;
}

} // namespace

HRESULT D3DXCreateTexture(IDirect3DDevice9 *device, UINT width, UINT height, UINT levels, DWORD usage,
                          D3DFORMAT format, D3DPOOL pool, IDirect3DTexture9 **texture)
{
    if (!device || !texture)
        return D3DERR_INVALIDCALL;
    return device->CreateTexture(width, height, levels, usage, format == D3DFMT_UNKNOWN ? D3DFMT_A8R8G8B8 : format,
                                 pool, texture, nullptr);
}

HRESULT D3DXCreateTextureFromFileExA(IDirect3DDevice9 *device, const char *file, UINT width, UINT height,
                                     UINT levels, DWORD usage, D3DFORMAT format, D3DPOOL pool, DWORD, DWORD,
                                     D3DCOLOR colour_key, D3DXIMAGE_INFO *source_info, PALETTEENTRY *,
                                     IDirect3DTexture9 **texture)
{
    if (!device || !file || !texture || colour_key != 0)
        return D3DERR_INVALIDCALL;
    *texture = nullptr;
    std::vector<unsigned char> data;
    if (!ReadFile(file, &data))
        return D3DERR_NOTFOUND;
    int image_width = 0, image_height = 0, channels = 0;
    stbi_uc *rgba = stbi_load_from_memory(data.data(), static_cast<int>(data.size()), &image_width, &image_height,
                                          &channels, 4);
    if (!rgba)
        return D3DXERR_INVALIDDATA;
    const UINT w = static_cast<UINT>(image_width), h = static_cast<UINT>(image_height);
    if ((!IsDefaultSize(width) && width != w) || (!IsDefaultSize(height) && height != h)) {
        stbi_image_free(rgba);
        return D3DERR_INVALIDCALL;
    }
    if (format == D3DFMT_UNKNOWN)
        format = D3DFMT_A8R8G8B8;
    IDirect3DTexture9 *made = nullptr;
    HRESULT result = device->CreateTexture(w, h, levels, usage, format, pool, &made, nullptr);
    D3DLOCKED_RECT locked;
    if (result == S_OK)
        result = made->LockRect(0, &locked, nullptr, 0);
    if (result != S_OK) {
        stbi_image_free(rgba);
        if (made)
            made->Release();
        return result;
    }
    const UINT bytes = D3D9FormatBytesPerPixel(format);
    for (UINT y = 0; y < h; y++) {
        BYTE *row = static_cast<BYTE *>(locked.pBits) + static_cast<size_t>(y) * locked.Pitch;
        const stbi_uc *in = rgba + static_cast<size_t>(y) * w * 4;
        for (UINT x = 0; x < w; x++, in += 4)
            D3D9WritePixel(format, row + x * bytes, D3DCOLOR_ARGB(in[3], in[0], in[1], in[2]));
    }
    made->UnlockRect(0);
    stbi_image_free(rgba);
    if (source_info)
        *source_info = {w, h, 1, 1, channels == 4 || channels == 2 ? D3DFMT_A8R8G8B8 : D3DFMT_X8R8G8B8,
                        D3DRTYPE_TEXTURE, FileFormatOf(data)};
    *texture = made;
    return S_OK;
}
