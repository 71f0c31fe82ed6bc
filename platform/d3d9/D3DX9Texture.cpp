// Textures made empty or from image files. A file is told by its content
// (PNG, JPEG and BMP by their signatures; anything else is taken for TGA,
// which has none). Its header is read here first, and a picture larger than
// the device can hold, or larger than the file's length can describe, is
// refused before any pixel is decoded, so a damaged or hostile file of a few
// bytes cannot ask for gigabytes. The pixels are then decoded by SDL_image
// (over libpng and libjpeg-turbo), whose decoders are fuzzed continuously.
// Failures are answered as Direct3D results, never thrown.
#include "platform/d3d9/D3DX9.h"
#include "platform/win32/Win32Files.h"

#include <SDL2/SDL.h>
#include <SDL2/SDL_image.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <vector>

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

uint32_t Big16(const unsigned char *at)
{
    return static_cast<uint32_t>(at[0]) << 8 | at[1];
}

uint32_t Big32(const unsigned char *at)
{
    return Big16(at) << 16 | Big16(at + 2);
}

uint32_t Little16(const unsigned char *at)
{
    return static_cast<uint32_t>(at[1]) << 8 | at[0];
}

uint32_t Little32(const unsigned char *at)
{
    return Little16(at + 2) << 16 | Little16(at);
}

// What a header says: the picture's size, and the most pixels the file's
// bytes can stand for. For packed pixels that is exact; for compressed ones
// it is the best the format's coding can do, with room to spare: deflate
// packs at most 1032 bytes into one, so a PNG's rows (a filter byte and the
// packed pixels each) take at least a 1032nd of their size in the image
// data chunks; a Huffman-coded JPEG block of 64 pixels takes at least a bit;
// a run-length packet of TGA or BMP takes at least two bytes for at most 255
// pixels.
struct ImageHeader {
    uint32_t width, height;
    uint64_t most_pixels;
};

const uint64_t DEFLATE_BYTES_PER_BYTE = 1032;
const uint64_t JPEG_PIXELS_PER_BYTE = 64 * 8;
const uint64_t RUN_PIXELS_PER_BYTE = 128;

// Bits of one PNG pixel for its colour type and bit depth; 0 for a pair the
// format does not have.
uint32_t PngPixelBits(unsigned colour_type, unsigned depth)
{
    struct Kind {
        unsigned colour_type, channels, depths;  // depths: a bit for each allowed depth
    };
    static const Kind kinds[] = {
        {0, 1, 1 | 2 | 4 | 8 | 16},  // grey
        {2, 3, 8 | 16},              // colour
        {3, 1, 1 | 2 | 4 | 8},       // palette index
        {4, 2, 8 | 16},              // grey and alpha
        {6, 4, 8 | 16},              // colour and alpha
    };
    for (const Kind &kind : kinds)
        if (kind.colour_type == colour_type && depth <= 16 && (kind.depths & depth) && !(depth & (depth - 1)))
            return kind.channels * depth;
    return 0;
}

// The bytes of the image data chunks (IDAT) that lie within the file.
uint64_t PngImageDataBytes(const std::vector<unsigned char> &data)
{
    uint64_t total = 0;
    size_t at = 8;
    while (at + 8 <= data.size()) {
        const uint64_t length = Big32(&data[at]);
        const bool image_data =
            data[at + 4] == 'I' && data[at + 5] == 'D' && data[at + 6] == 'A' && data[at + 7] == 'T';
        const uint64_t start = at + 8;
        const uint64_t within = std::min<uint64_t>(length, data.size() - start);
        if (image_data)
            total += within;
        // The chunk's data and its check value.
        if (length + 4 > data.size() - start)
            break;
        at = static_cast<size_t>(start + length + 4);
    }
    return total;
}

bool ReadPngHeader(const std::vector<unsigned char> &data, ImageHeader *header)
{
    // The signature, then the IHDR chunk: length, name, width, height, bit
    // depth, colour type.
    if (data.size() < 26 || Big32(&data[8]) < 13 || data[12] != 'I' || data[13] != 'H' || data[14] != 'D' ||
        data[15] != 'R')
        return false;
    const uint32_t width = Big32(&data[16]), height = Big32(&data[20]);
    const uint32_t bits = PngPixelBits(data[25], data[24]);
    if (bits == 0 || height == 0)
        return false;
    // The rows unpacked, as interlacing can only add to them.
    const uint64_t row = 1 + (static_cast<uint64_t>(width) * bits + 7) / 8;
    const bool fits = row <= PngImageDataBytes(data) * DEFLATE_BYTES_PER_BYTE / height;
    *header = {width, height, fits ? static_cast<uint64_t>(width) * height : 0};
    return true;
}

bool ReadJpegHeader(const std::vector<unsigned char> &data, ImageHeader *header)
{
    // Markers after the start of image, up to the first start of frame.
    size_t at = 2;
    while (at + 4 <= data.size()) {
        if (data[at] != 0xFF)
            return false;
        const unsigned char marker = data[at + 1];
        if (marker == 0xFF) {
            at++;
            continue;
        }
        const size_t length = Big16(&data[at + 2]);
        const bool frame = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frame) {
            // Length, precision, height, width.
            if (length < 8 || at + 9 > data.size())
                return false;
            *header = {Big16(&data[at + 7]), Big16(&data[at + 5]), data.size() * JPEG_PIXELS_PER_BYTE};
            return true;
        }
        if (length < 2 || (marker >= 0xD0 && marker <= 0xD9))
            return false;
        at += 2 + length;
    }
    return false;
}

bool ReadTgaHeader(const std::vector<unsigned char> &data, ImageHeader *header)
{
    if (data.size() < 18)
        return false;
    const unsigned char type = data[2];
    const uint32_t bits = data[16];
    const bool run_length = type >= 9 && type <= 11;
    if (!(type >= 1 && type <= 3) && !run_length)
        return false;
    const uint64_t bytes = data.size() - 18;
    const uint64_t per_pixel = (bits + 7) / 8;
    if (per_pixel == 0)
        return false;
    *header = {Little16(&data[12]), Little16(&data[14]), run_length ? bytes * RUN_PIXELS_PER_BYTE : bytes / per_pixel};
    return true;
}

bool ReadBmpHeader(const std::vector<unsigned char> &data, ImageHeader *header)
{
    if (data.size() < 26)
        return false;
    const uint32_t info_size = Little32(&data[14]);
    uint64_t width, height, bits, compression = 0;
    if (info_size == 12) {
        width = Little16(&data[18]);
        height = Little16(&data[20]);
        bits = Little16(&data[24]);
    } else {
        if (info_size < 40 || data.size() < 34)
            return false;
        // Rows go top down when the height is negative.
        const int32_t signed_height = static_cast<int32_t>(Little32(&data[22]));
        width = Little32(&data[18]);
        height = signed_height < 0 ? 0 - static_cast<int64_t>(signed_height) : signed_height;
        bits = Little16(&data[28]);
        compression = Little32(&data[30]);
    }
    if (width > UINT32_MAX || height > UINT32_MAX)
        return false;
    const uint64_t bytes = data.size();
    // Run-length coded pixels (compression 1 and 2); otherwise rows of whole
    // 32-bit words.
    uint64_t most = bytes * RUN_PIXELS_PER_BYTE;
    if (compression != 1 && compression != 2) {
        const uint64_t row_bytes = (width * bits + 31) / 32 * 4;
        most = row_bytes == 0 || height * row_bytes > bytes ? 0 : width * height;
    }
    *header = {static_cast<uint32_t>(width), static_cast<uint32_t>(height), most};
    return true;
}

// Each kind of file's header reader and SDL_image's decoder of that kind
// alone (SDL_image's general loader would tell the kind again by content,
// and could hand a file taken for TGA to the decoder of another format).
struct ImageKind {
    D3DXIMAGE_FILEFORMAT format;
    bool (*read_header)(const std::vector<unsigned char> &, ImageHeader *);
    SDL_Surface *(*decode)(SDL_RWops *);
};

const ImageKind IMAGE_KINDS[] = {
    {D3DXIFF_PNG, ReadPngHeader, IMG_LoadPNG_RW},
    {D3DXIFF_JPG, ReadJpegHeader, IMG_LoadJPG_RW},
    {D3DXIFF_TGA, ReadTgaHeader, IMG_LoadTGA_RW},
    {D3DXIFF_BMP, ReadBmpHeader, IMG_LoadBMP_RW},
};

// The file's picture as SDL decoded it, after its header has been checked
// against the device's limit. D3DXERR_INVALIDDATA for a file that is no such
// picture or claims more than it holds, D3DERR_INVALIDCALL for a picture the
// device cannot hold.
HRESULT Decode(IDirect3DDevice9 *device, const std::vector<unsigned char> &data, D3DXIMAGE_FILEFORMAT format,
               SDL_Surface **decoded)
{
    const ImageKind *kind = nullptr;
    for (const ImageKind &known : IMAGE_KINDS)
        if (known.format == format)
            kind = &known;
    ImageHeader header;
    if (!kind || !kind->read_header(data, &header) || header.width == 0 || header.height == 0)
        return D3DXERR_INVALIDDATA;
    D3DCAPS9 caps;
    HRESULT result = device->GetDeviceCaps(&caps);
    if (result != S_OK)
        return result;
    if (header.width > caps.MaxTextureWidth || header.height > caps.MaxTextureHeight)
        return D3DERR_INVALIDCALL;
    if (static_cast<uint64_t>(header.width) * header.height > header.most_pixels)
        return D3DXERR_INVALIDDATA;

    SDL_RWops *stream = SDL_RWFromConstMem(data.data(), static_cast<int>(data.size()));
    *decoded = stream ? kind->decode(stream) : nullptr;
    if (stream)
        SDL_RWclose(stream);
    if (!*decoded)
        return D3DXERR_INVALIDDATA;
    if (static_cast<uint32_t>((*decoded)->w) != header.width || static_cast<uint32_t>((*decoded)->h) != header.height) {
        SDL_FreeSurface(*decoded);
        *decoded = nullptr;
        return D3DXERR_INVALIDDATA;
    }
    return S_OK;
}

// The decoded pixels into the locked level in its format. Pictures are
// large and many are loaded at start, so a 32-bit texture takes them
// converted straight into it; other formats, and a palette or a colour key
// (a transparent palette entry, which becomes alpha), go through an ARGB
// copy first.
HRESULT CopyPixels(SDL_Surface *decoded, bool has_alpha, D3DFORMAT format, const D3DLOCKED_RECT &locked)
{
    const int w = decoded->w, h = decoded->h;
    const bool direct = (format == D3DFMT_A8R8G8B8 || format == D3DFMT_X8R8G8B8) &&
                        !SDL_ISPIXELFORMAT_INDEXED(decoded->format->format) && !SDL_HasColorKey(decoded);
    if (direct) {
        if (SDL_ConvertPixels(w, h, decoded->format->format, decoded->pixels, decoded->pitch,
                              SDL_PIXELFORMAT_ARGB8888, locked.pBits, locked.Pitch) != 0)
            return E_OUTOFMEMORY;
        for (int y = 0; y < h && !has_alpha; y++) {
            Uint32 *row =
                reinterpret_cast<Uint32 *>(static_cast<BYTE *>(locked.pBits) + static_cast<size_t>(y) * locked.Pitch);
            for (int x = 0; x < w; x++)
                row[x] |= 0xFF000000u;
        }
        return S_OK;
    }
    SDL_Surface *argb = nullptr;
    const Uint8 *from = static_cast<const Uint8 *>(decoded->pixels);
    int from_pitch = decoded->pitch;
    if (decoded->format->format != SDL_PIXELFORMAT_ARGB8888 || SDL_HasColorKey(decoded)) {
        argb = SDL_ConvertSurfaceFormat(decoded, SDL_PIXELFORMAT_ARGB8888, 0);
        if (!argb)
            return E_OUTOFMEMORY;
        from = static_cast<const Uint8 *>(argb->pixels);
        from_pitch = argb->pitch;
    }
    const UINT bytes = D3D9FormatBytesPerPixel(format);
    for (int y = 0; y < h; y++) {
        const Uint32 *in = reinterpret_cast<const Uint32 *>(from + static_cast<size_t>(y) * from_pitch);
        BYTE *row = static_cast<BYTE *>(locked.pBits) + static_cast<size_t>(y) * locked.Pitch;
        for (int x = 0; x < w; x++)
            D3D9WritePixel(format, row + x * bytes, has_alpha ? in[x] : (in[x] | 0xFF000000u));
    }
    if (argb)
        SDL_FreeSurface(argb);
    return S_OK;
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
    if (data.size() > INT32_MAX)
        return D3DXERR_INVALIDDATA;
    const D3DXIMAGE_FILEFORMAT file_format = FileFormatOf(data);
    SDL_Surface *decoded = nullptr;
    HRESULT result = Decode(device, data, file_format, &decoded);
    if (result != S_OK)
        return result;
    const UINT w = static_cast<UINT>(decoded->w), h = static_cast<UINT>(decoded->h);
    const bool has_alpha = decoded->format->Amask != 0 || SDL_HasColorKey(decoded);
    if (format == D3DFMT_UNKNOWN)
        format = D3DFMT_A8R8G8B8;
    IDirect3DTexture9 *made = nullptr;
    if ((!IsDefaultSize(width) && width != w) || (!IsDefaultSize(height) && height != h))
        result = D3DERR_INVALIDCALL;
    else
        result = device->CreateTexture(w, h, levels, usage, format, pool, &made, nullptr);
    D3DLOCKED_RECT locked;
    if (result == S_OK)
        result = made->LockRect(0, &locked, nullptr, 0);
    if (result == S_OK) {
        result = CopyPixels(decoded, has_alpha, format, locked);
        made->UnlockRect(0);
    }
    SDL_FreeSurface(decoded);
    if (result != S_OK) {
        if (made)
            made->Release();
        return result;
    }
    if (source_info)
        *source_info = {w, h, 1, 1, has_alpha ? D3DFMT_A8R8G8B8 : D3DFMT_X8R8G8B8, D3DRTYPE_TEXTURE, file_format};
    *texture = made;
    return S_OK;
}
