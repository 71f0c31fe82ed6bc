// Shared by the graphics tests: pictures written on the spot, a program with
// its window and device on the recording backend, and readers of what the
// engine wrote into its vertex buffers and textures.
#pragma once

#include "tests/engine/runtime/RuntimeTestSupport.h"
#include "engine/graphics/EngTexture.h"
#include "engine/graphics/EngTextureCopy.h"
#include "engine/graphics/EngVertexBufferDX9.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wsign-compare"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STB_IMAGE_WRITE_STATIC
#include <stb/stb_image_write.h>
#pragma GCC diagnostic pop

// A picture of width x height whose pixel (x, y) is colour(x, y) (ARGB).
typedef std::function<DWORD(int x, int y)> PixelFunction;

inline std::vector<unsigned char> RgbaBytes(int width, int height, const PixelFunction &colour)
{
    std::vector<unsigned char> rgba;
    for (int y = 0; y < height; y++)
        for (int x = 0; x < width; x++) {
            DWORD argb = colour(x, y);
            rgba.insert(rgba.end(), {static_cast<unsigned char>(argb >> 16), static_cast<unsigned char>(argb >> 8),
                                     static_cast<unsigned char>(argb), static_cast<unsigned char>(argb >> 24)});
        }
    return rgba;
}

inline bool WritePng(const char *path, int width, int height, const PixelFunction &colour)
{
    std::vector<unsigned char> rgba = RgbaBytes(width, height, colour);
    return stbi_write_png(path, width, height, 4, rgba.data(), width * 4) != 0;
}

inline bool WriteBytes(const char *path, const std::string &bytes)
{
    FILE *file = std::fopen(path, "wb");
    if (!file)
        return false;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && ok;
}

// One vertex of a quad or triangle as the engine laid it out.
struct ReadVertex {
    float x, y, z, rhw;
    float nx, ny, nz;
    D3DCOLOR colour;
    float u, v;
};

// Bytes one vertex of the format takes.
inline size_t VertexSize(DWORD fvf)
{
    size_t size = (fvf & D3DFVF_POSITION_MASK) == D3DFVF_XYZRHW ? 16 : 12;
    size += (fvf & D3DFVF_NORMAL) ? 12 : 0;
    size += (fvf & D3DFVF_DIFFUSE) ? 4 : 0;
    size += (fvf & D3DFVF_SPECULAR) ? 4 : 0;
    return size + 8 * ((fvf & D3DFVF_TEXCOUNT_MASK) >> D3DFVF_TEXCOUNT_SHIFT);
}

// The vertices of a block of the vertex format fvf, stride bytes apart.
inline std::vector<ReadVertex> ReadVertices(const BYTE *data, size_t bytes, DWORD fvf, UINT stride)
{
    std::vector<ReadVertex> vertices;
    for (size_t at = 0; stride && at + VertexSize(fvf) <= bytes; at += stride) {
        const BYTE *p = data + at;
        ReadVertex v = {};
        auto take = [&p](void *out, size_t size) {
            std::memcpy(out, p, size);
            p += size;
        };
        take(&v.x, 12);
        v.rhw = 1.0f;
        if ((fvf & D3DFVF_POSITION_MASK) == D3DFVF_XYZRHW)
            take(&v.rhw, 4);
        if (fvf & D3DFVF_NORMAL)
            take(&v.nx, 12);
        if (fvf & D3DFVF_DIFFUSE)
            take(&v.colour, 4);
        if (fvf & D3DFVF_SPECULAR)
            p += 4;
        if (fvf & D3DFVF_TEXCOUNT_MASK) {
            take(&v.u, 4);
            take(&v.v, 4);
        }
        vertices.push_back(v);
    }
    return vertices;
}

inline std::vector<ReadVertex> ReadVertices(const IDirect3DVertexBuffer9 *buffer, UINT stride)
{
    return buffer ? ReadVertices(buffer->GetData(), buffer->GetLength(), buffer->GetFVF(), stride)
                  : std::vector<ReadVertex>();
}

inline std::vector<ReadVertex> ReadVertices(const D3D9RecordedDraw &draw)
{
    return ReadVertices(draw.vertices.data(), draw.vertices.size(), draw.state.fvf, draw.state.stream_stride);
}

// A 3D quad's rectangle back in 640 x 480 units, and its texture rectangle,
// from corners 1 (top-left) and 2 (bottom-right) of a drawn quad placed
// with PositionRatioed.
struct QuadPlace {
    float x, y, w, h;
    float u0, v0, u1, v1;
};

inline QuadPlace PlaceOf3dQuad(const std::vector<ReadVertex> &corners)
{
    const ReadVertex &tl = corners.at(1), &br = corners.at(2);
    return {(tl.x + 1.0f) * 320.0f, (1.0f - tl.y) * 240.0f, (br.x - tl.x) * 320.0f, (tl.y - br.y) * 240.0f,
            tl.u, tl.v, br.u, br.v};
}

// A program with its window and a device on the recording backend.
class RecordingDeviceTest : public testing::Test {
protected:
    RecordingProgram *program = nullptr;
    _EngCreateWindowParms parms = WindowParms(1, 800, 600);

    void SetUp() override
    {
        ResetRuntimeForTest();
        EngTextureResetForTests();
        program = new RecordingProgram();
        ASSERT_EQ(program->CreateMainWindowAndDevice("Hive Watcher", "HiveWatcherClass", &parms), 1);
        ASSERT_NE(eng_d3d_device, nullptr);
        D3D9RecordingReset();
        DebugClearLogs();
        EngMainUpdateProgramTime();
    }

    void TearDown() override
    {
        program->CloseDown(1);
        delete program;
        VirtualClock::Remove();
        EXPECT_EQ(D3D9GetLiveDeviceCount(), 0) << "something still holds the device";
    }

    // The draws recorded from now on.
    void StartRecording() { D3D9RecordingReset(); }
    const std::vector<D3D9RecordedDraw> &Draws() { return D3D9RecordingGetDraws(); }

    // Draws between a scene's begin and end, as a frame would.
    void InScene(const std::function<void()> &draw)
    {
        ASSERT_TRUE(eng_device->BeginRendering());
        draw();
        eng_device->EndRendering();
    }
};

inline std::string ErrorText(const char *where, const std::string &message)
{
    return std::string(" <ERROR>  ( ") + where + " )    " + message;
}

// The pixel (x, y) of a locked 32-bit texture as ARGB.
inline DWORD PixelAt(const D3DLOCKED_RECT &locked, int x, int y)
{
    DWORD argb;
    std::memcpy(&argb, static_cast<const BYTE *>(locked.pBits) + static_cast<size_t>(y) * locked.Pitch + x * 4, 4);
    return argb;
}

// Every pixel of a 32-bit texture through its lock: read, or set from a function.
inline std::vector<DWORD> ReadPixels(EngTexture *texture)
{
    std::vector<DWORD> pixels;
    EngTextureDX9 *part = texture->GetTextureDX9();
    D3DLOCKED_RECT locked;
    if (!part || !part->LockDxSurface(&locked))
        return pixels;
    for (int y = 0; y < part->GetHeight(); y++)
        for (int x = 0; x < part->GetWidth(); x++)
            pixels.push_back(PixelAt(locked, x, y));
    part->UnlockDxSurface();
    return pixels;
}

inline bool FillPixels(EngTexture *texture, const PixelFunction &colour)
{
    EngTextureDX9 *part = texture->GetTextureDX9();
    D3DLOCKED_RECT locked;
    if (!part || !part->LockDxSurface(&locked))
        return false;
    for (int y = 0; y < part->GetHeight(); y++)
        for (int x = 0; x < part->GetWidth(); x++) {
            DWORD argb = colour(x, y);
            std::memcpy(static_cast<BYTE *>(locked.pBits) + static_cast<size_t>(y) * locked.Pitch + x * 4, &argb, 4);
        }
    part->UnlockDxSurface();
    return true;
}
