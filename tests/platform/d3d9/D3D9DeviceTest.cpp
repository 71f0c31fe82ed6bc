// The Direct3D stand-in on the recording backend: reference counts, the
// rules the device checks, what a draw hands on, locks, and the runtime
// loader.
#include "platform/d3d9/D3D9.h"
#include "platform/d3d9/D3D9Backend.h"
#include "platform/d3d9/D3D9Recording.h"
#include "platform/win32/Win32Headless.h"
#include "platform/win32/Win32Window.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

LRESULT TestWindowProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam)
{
    return DefWindowProcA(hwnd, message, wparam, lparam);
}

class D3D9DeviceTest : public testing::Test {
protected:
    HWND window = nullptr;
    IDirect3D9 *d3d = nullptr;
    IDirect3DDevice9 *device = nullptr;

    void SetUp() override
    {
        PlatformResetWindowsForTests();
        PlatformSetHeadless(true);
        D3D9SetBackend(D3D9_BACKEND_RECORDING);
        D3D9RecordingReset();
        WNDCLASSA window_class = {0, TestWindowProc, nullptr, "D3D9DeviceTest"};
        RegisterClassA(&window_class);
        // A client area of 320 x 200.
        RECT outer = {0, 0, 320, 200};
        AdjustWindowRect(&outer, WS_OVERLAPPEDWINDOW, FALSE);
        window = CreateWindowExA(0, "D3D9DeviceTest", "D3D9", WS_OVERLAPPEDWINDOW, 0, 0, outer.right - outer.left,
                                 outer.bottom - outer.top, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(window, nullptr);
        d3d = Direct3DCreate9(D3D_SDK_VERSION);
        ASSERT_NE(d3d, nullptr);
        D3DPRESENT_PARAMETERS parameters = Parameters();
        ASSERT_EQ(d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window, D3DCREATE_HARDWARE_VERTEXPROCESSING,
                                    &parameters, &device),
                  S_OK);
        D3D9RecordingReset();
    }

    void TearDown() override
    {
        if (device) {
            EXPECT_EQ(device->Release(), 0u);
        }
        d3d->Release();
        EXPECT_EQ(D3D9GetLiveObjectCount(), 0);
        EXPECT_EQ(D3D9GetLiveDeviceCount(), 0);
        PlatformResetWindowsForTests();
    }

    D3DPRESENT_PARAMETERS Parameters()
    {
        D3DPRESENT_PARAMETERS parameters = {};
        parameters.Windowed = TRUE;
        parameters.SwapEffect = D3DSWAPEFFECT_DISCARD;
        parameters.EnableAutoDepthStencil = TRUE;
        parameters.AutoDepthStencilFormat = D3DFMT_D24S8;
        return parameters;
    }

    IDirect3DVertexBuffer9 *Buffer(const void *vertices, UINT length, DWORD fvf)
    {
        IDirect3DVertexBuffer9 *buffer = nullptr;
        EXPECT_EQ(device->CreateVertexBuffer(length, D3DUSAGE_WRITEONLY, fvf, D3DPOOL_MANAGED, &buffer, nullptr), S_OK);
        void *data = nullptr;
        EXPECT_EQ(buffer->Lock(0, 0, &data, 0), S_OK);
        std::memcpy(data, vertices, length);
        EXPECT_EQ(buffer->Unlock(), S_OK);
        return buffer;
    }
};

TEST_F(D3D9DeviceTest, AWindowedDeviceTakesTheClientAreaAndTheDesktopsFormat)
{
    IDirect3DSurface9 *back_buffer = nullptr;
    ASSERT_EQ(device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &back_buffer), S_OK);
    D3DSURFACE_DESC desc;
    ASSERT_EQ(back_buffer->GetDesc(&desc), S_OK);
    EXPECT_EQ(desc.Width, 320u);
    EXPECT_EQ(desc.Height, 200u);
    EXPECT_EQ(desc.Format, D3DFMT_X8R8G8B8);
    // The back buffer cannot be locked.
    D3DLOCKED_RECT locked;
    EXPECT_EQ(back_buffer->LockRect(&locked, nullptr, 0), D3DERR_INVALIDCALL);
    back_buffer->Release();

    D3DVIEWPORT9 viewport;
    ASSERT_EQ(device->GetViewport(&viewport), S_OK);
    EXPECT_EQ(viewport.Width, 320u);
    EXPECT_EQ(viewport.Height, 200u);
    D3DCAPS9 caps;
    ASSERT_EQ(device->GetDeviceCaps(&caps), S_OK);
    EXPECT_TRUE(caps.DevCaps & D3DDEVCAPS_HWTRANSFORMANDLIGHT);
    EXPECT_TRUE(caps.PresentationIntervals & D3DPRESENT_INTERVAL_IMMEDIATE);

    // No window, no device.
    D3DPRESENT_PARAMETERS parameters = Parameters();
    IDirect3DDevice9 *other = nullptr;
    EXPECT_EQ(d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, nullptr, 0, &parameters, &other),
              D3DERR_INVALIDCALL);
    EXPECT_EQ(other, nullptr);
    EXPECT_EQ(Direct3DCreate9(31), nullptr);
}

TEST_F(D3D9DeviceTest, TheDevicesReleaseCountsItsObjectsStillAlive)
{
    IDirect3DTexture9 *texture = nullptr;
    IDirect3DQuery9 *query = nullptr;
    ASSERT_EQ(device->CreateTexture(4, 4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture, nullptr), S_OK);
    ASSERT_EQ(device->CreateQuery(D3DQUERYTYPE_EVENT, &query), S_OK);
    EXPECT_EQ(D3D9GetLiveObjectCount(), 2);
    EXPECT_EQ(device->Release(), 2u);
    // The device stays while its objects do.
    EXPECT_EQ(D3D9GetLiveDeviceCount(), 1);
    query->Release();
    texture->AddRef();
    EXPECT_EQ(texture->Release(), 1u);
    EXPECT_EQ(texture->Release(), 0u);
    EXPECT_EQ(D3D9GetLiveDeviceCount(), 0);
    device = nullptr;
    EXPECT_EQ(D3D9RecordingGetCalls(), (std::vector<std::string>{"CreateTexture 4x4 21", "CreateQuery 8",
                                                                  "Release query", "Release texture 4x4",
                                                                  "Release device"}));
}

TEST_F(D3D9DeviceTest, AnObjectThatGoesIsNoLongerBound)
{
    IDirect3DTexture9 *texture = nullptr;
    ASSERT_EQ(device->CreateTexture(4, 4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture, nullptr), S_OK);
    ASSERT_EQ(device->SetTexture(0, texture), S_OK);
    IDirect3DBaseTexture9 *bound = nullptr;
    ASSERT_EQ(device->GetTexture(0, &bound), S_OK);
    EXPECT_EQ(bound, texture);
    bound->Release();
    texture->Release();
    ASSERT_EQ(device->GetTexture(0, &bound), S_OK);
    EXPECT_EQ(bound, nullptr);
}

TEST_F(D3D9DeviceTest, StatesAreCheckedAndKept)
{
    struct Case {
        const char *name;
        HRESULT result;
    };
    const Case cases[] = {
        {"an unknown render state", device->SetRenderState(static_cast<D3DRENDERSTATETYPE>(8), 1)},
        {"a cull mode out of range", device->SetRenderState(D3DRS_CULLMODE, 7)},
        {"a blend factor out of range", device->SetRenderState(D3DRS_SRCBLEND, 12)},
        {"an operation the device cannot combine",
         device->SetTextureStageState(0, D3DTSS_COLOROP, 7)},
        {"an argument the device cannot combine", device->SetTextureStageState(0, D3DTSS_ALPHAARG1, 3)},
        {"a stage beyond the last", device->SetTextureStageState(8, D3DTSS_COLOROP, D3DTOP_MODULATE)},
        {"a filter the device does not have", device->SetSamplerState(0, D3DSAMP_MINFILTER, 3)},
        {"a null matrix", device->SetTransform(D3DTS_WORLD, nullptr)},
        {"no scissor rectangle", device->SetScissorRect(nullptr)},
    };
    const HRESULT expected[] = {D3DERR_INVALIDCALL, D3DERR_INVALIDCALL, D3DERR_INVALIDCALL,
                                D3DERR_UNSUPPORTEDCOLOROPERATION, D3DERR_UNSUPPORTEDALPHAARG, D3DERR_INVALIDCALL,
                                D3DERR_UNSUPPORTEDTEXTUREFILTER, D3DERR_INVALIDCALL, D3DERR_INVALIDCALL};
    for (size_t i = 0; i < sizeof(cases) / sizeof(cases[0]); i++)
        EXPECT_EQ(cases[i].result, expected[i]) << cases[i].name;

    // Viewports must lie inside the back buffer.
    D3DVIEWPORT9 inside = {300, 190, 20, 10, 0.0f, 1.0f};
    D3DVIEWPORT9 beyond = {301, 190, 20, 10, 0.0f, 1.0f};
    D3DVIEWPORT9 wrapping = {0xFFFFFFF0u, 0, 32, 10, 0.0f, 1.0f};
    D3DVIEWPORT9 depth = {0, 0, 10, 10, 0.8f, 0.2f};
    EXPECT_EQ(device->SetViewport(&inside), S_OK);
    EXPECT_EQ(device->SetViewport(&beyond), D3DERR_INVALIDCALL);
    EXPECT_EQ(device->SetViewport(&wrapping), D3DERR_INVALIDCALL);
    EXPECT_EQ(device->SetViewport(&depth), D3DERR_INVALIDCALL);
    D3DVIEWPORT9 kept;
    device->GetViewport(&kept);
    EXPECT_EQ(kept.X, 300u);

    DWORD value = 0;
    EXPECT_EQ(device->SetRenderState(D3DRS_AMBIENT, 0xFF102030), S_OK);
    EXPECT_EQ(device->GetRenderState(D3DRS_AMBIENT, &value), S_OK);
    EXPECT_EQ(value, 0xFF102030u);
    EXPECT_EQ(device->GetRenderState(D3DRS_DIFFUSEMATERIALSOURCE, &value), S_OK);
    EXPECT_EQ(value, static_cast<DWORD>(D3DMCS_COLOR1));
}

TEST_F(D3D9DeviceTest, ClearsAreChecked)
{
    EXPECT_EQ(device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL, 0, 1.0f, 0), S_OK);
    EXPECT_EQ(device->Clear(1, nullptr, D3DCLEAR_TARGET, 0, 1.0f, 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(device->Clear(0, nullptr, 0, 0, 1.0f, 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(device->Clear(0, nullptr, D3DCLEAR_ZBUFFER, 0, 1.5f, 0), D3DERR_INVALIDCALL);
    device->Release();

    // A device without a depth buffer has no depth to clear.
    D3DPRESENT_PARAMETERS parameters = Parameters();
    parameters.EnableAutoDepthStencil = FALSE;
    ASSERT_EQ(d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window, 0, &parameters, &device), S_OK);
    EXPECT_EQ(device->Clear(0, nullptr, D3DCLEAR_ZBUFFER, 0, 1.0f, 0), D3DERR_INVALIDCALL);
    DWORD depth = TRUE;
    device->GetRenderState(D3DRS_ZENABLE, &depth);
    EXPECT_EQ(depth, static_cast<DWORD>(D3DZB_FALSE));
}

TEST_F(D3D9DeviceTest, ADrawHandsOnItsVerticesAndTheStateInForce)
{
    struct Vertex {
        float x, y, z, rhw;
        D3DCOLOR colour;
    };
    const Vertex vertices[5] = {
        {9, 9, 9, 9, 9}, {0, 10, 0, 1, 0xFF0000FF}, {0, 0, 0, 1, 0xFF00FF00}, {10, 10, 0, 1, 0xFFFF0000},
        {10, 0, 0, 1, 0x80FFFFFF}};
    const DWORD fvf = D3DFVF_XYZRHW | D3DFVF_DIFFUSE;
    IDirect3DVertexBuffer9 *buffer = Buffer(vertices, sizeof(vertices), fvf);
    ASSERT_EQ(device->SetFVF(fvf), S_OK);
    ASSERT_EQ(device->SetStreamSource(0, buffer, 0, sizeof(Vertex)), S_OK);

    // Only inside a scene.
    EXPECT_EQ(device->DrawPrimitive(D3DPT_TRIANGLESTRIP, 1, 2), D3DERR_INVALIDCALL);
    ASSERT_EQ(device->BeginScene(), S_OK);
    EXPECT_EQ(device->BeginScene(), D3DERR_INVALIDCALL);
    ASSERT_EQ(device->SetRenderState(D3DRS_LIGHTING, FALSE), S_OK);
    ASSERT_EQ(device->DrawPrimitive(D3DPT_TRIANGLESTRIP, 1, 2), S_OK);
    // Past the end of the buffer.
    EXPECT_EQ(device->DrawPrimitive(D3DPT_TRIANGLESTRIP, 2, 2), D3DERR_INVALIDCALL);
    EXPECT_EQ(device->DrawPrimitive(D3DPT_TRIANGLELIST, 0, 2), D3DERR_INVALIDCALL);
    ASSERT_EQ(device->EndScene(), S_OK);
    EXPECT_EQ(device->EndScene(), D3DERR_INVALIDCALL);

    const std::vector<D3D9RecordedDraw> &draws = D3D9RecordingGetDraws();
    ASSERT_EQ(draws.size(), 1u);
    EXPECT_EQ(draws[0].type, D3DPT_TRIANGLESTRIP);
    EXPECT_EQ(draws[0].vertex_count, 4u);
    EXPECT_EQ(draws[0].state.fvf, fvf);
    EXPECT_EQ(draws[0].state.render_states[D3DRS_LIGHTING], static_cast<DWORD>(FALSE));
    ASSERT_EQ(draws[0].vertices.size(), 4 * sizeof(Vertex));
    Vertex first;
    std::memcpy(&first, draws[0].vertices.data(), sizeof(first));
    EXPECT_EQ(first.y, 10.0f);
    EXPECT_EQ(first.colour, 0xFF0000FFu);

    // A format the device cannot draw.
    ASSERT_EQ(device->SetFVF(D3DFVF_XYZ | 0x1000), S_OK);
    ASSERT_EQ(device->BeginScene(), S_OK);
    EXPECT_EQ(device->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 1), D3DERR_INVALIDCALL);
    ASSERT_EQ(device->EndScene(), S_OK);
    buffer->Release();
}

TEST_F(D3D9DeviceTest, TexturesKeepTheirPixelsForLocking)
{
    IDirect3DTexture9 *texture = nullptr;
    // Any size: no rounding to powers of two.
    ASSERT_EQ(device->CreateTexture(5, 3, 0, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture, nullptr), S_OK);
    EXPECT_EQ(texture->GetLevelCount(), 1u);
    D3DSURFACE_DESC desc;
    ASSERT_EQ(texture->GetLevelDesc(0, &desc), S_OK);
    EXPECT_EQ(desc.Width, 5u);
    EXPECT_EQ(desc.Height, 3u);
    EXPECT_EQ(texture->GetLevelDesc(1, &desc), D3DERR_INVALIDCALL);
    EXPECT_TRUE(texture->TakeChanged());

    D3DLOCKED_RECT locked;
    RECT part = {1, 2, 3, 3};
    ASSERT_EQ(texture->LockRect(0, &locked, &part, 0), S_OK);
    EXPECT_EQ(locked.Pitch, 20);
    D3DLOCKED_RECT again;
    EXPECT_EQ(texture->LockRect(0, &again, nullptr, 0), D3DERR_INVALIDCALL);
    static_cast<DWORD *>(locked.pBits)[0] = 0x11223344;
    ASSERT_EQ(texture->UnlockRect(0), S_OK);
    EXPECT_EQ(texture->UnlockRect(0), D3DERR_INVALIDCALL);
    EXPECT_TRUE(texture->TakeChanged());
    EXPECT_EQ(D3D9ReadPixel(D3DFMT_A8R8G8B8, D3D9PixelsAt(&texture->GetPixels(), 1, 2)), 0x11223344u);

    // A read leaves the texture as the backend has it.
    ASSERT_EQ(texture->LockRect(0, &locked, nullptr, D3DLOCK_READONLY), S_OK);
    ASSERT_EQ(texture->UnlockRect(0), S_OK);
    EXPECT_FALSE(texture->TakeChanged());

    RECT outside = {3, 0, 6, 1};
    EXPECT_EQ(texture->LockRect(0, &locked, &outside, 0), D3DERR_INVALIDCALL);
    texture->Release();

    IDirect3DTexture9 *refused = nullptr;
    EXPECT_EQ(device->CreateTexture(4, 4, 1, 0, D3DFMT_D24S8, D3DPOOL_MANAGED, &refused, nullptr), D3DERR_INVALIDCALL);
    EXPECT_EQ(device->CreateTexture(0, 4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &refused, nullptr),
              D3DERR_INVALIDCALL);
    EXPECT_EQ(refused, nullptr);
}

TEST_F(D3D9DeviceTest, OffScreenSurfacesAreFilledAndRead)
{
    IDirect3DSurface9 *surface = nullptr;
    ASSERT_EQ(device->CreateOffscreenPlainSurface(4, 4, D3DFMT_R5G6B5, D3DPOOL_DEFAULT, &surface, nullptr), S_OK);
    RECT corner = {2, 2, 4, 4};
    ASSERT_EQ(device->ColorFill(surface, &corner, 0xFFFF0000), S_OK);
    D3DLOCKED_RECT locked;
    ASSERT_EQ(surface->LockRect(&locked, nullptr, D3DLOCK_READONLY), S_OK);
    const BYTE *bits = static_cast<const BYTE *>(locked.pBits);
    EXPECT_EQ(D3D9ReadPixel(D3DFMT_R5G6B5, bits + 2 * locked.Pitch + 4), 0xFFFF0000u);
    EXPECT_EQ(D3D9ReadPixel(D3DFMT_R5G6B5, bits + 2 * locked.Pitch + 2), 0xFF000000u);
    // No fill while locked.
    EXPECT_EQ(device->ColorFill(surface, nullptr, 0), D3DERR_INVALIDCALL);
    ASSERT_EQ(surface->UnlockRect(), S_OK);
    surface->Release();

    IDirect3DSurface9 *managed = nullptr;
    EXPECT_EQ(device->CreateOffscreenPlainSurface(4, 4, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &managed, nullptr),
              D3DERR_INVALIDCALL);
    EXPECT_EQ(device->CreateQuery(static_cast<D3DQUERYTYPE>(9), nullptr), D3DERR_NOTAVAILABLE);
    EXPECT_EQ(device->CreateQuery(D3DQUERYTYPE_EVENT, nullptr), S_OK);
}

TEST_F(D3D9DeviceTest, FailuresAskedForAnswerInPlaceOfTheCall)
{
    D3D9RecordingFailCall("Present", D3DERR_DEVICELOST, 2);
    D3D9RecordingFailCall("TestCooperativeLevel", D3DERR_DEVICENOTRESET, -1);
    EXPECT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), D3DERR_DEVICELOST);
    EXPECT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), D3DERR_DEVICELOST);
    EXPECT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), S_OK);
    for (int i = 0; i < 5; i++)
        EXPECT_EQ(device->TestCooperativeLevel(), D3DERR_DEVICENOTRESET);
    D3D9RecordingReset();
    EXPECT_EQ(device->TestCooperativeLevel(), S_OK);
    EXPECT_EQ(device->Present(nullptr, nullptr, window, nullptr), D3DERR_INVALIDCALL);
}

TEST_F(D3D9DeviceTest, PixelsConvertBetweenFormatsAndColours)
{
    struct Case {
        D3DFORMAT format;
        D3DCOLOR written;
        D3DCOLOR read;
    };
    const Case cases[] = {
        {D3DFMT_A8R8G8B8, 0x80112233, 0x80112233}, {D3DFMT_X8R8G8B8, 0x80112233, 0xFF112233},
        {D3DFMT_R8G8B8, 0x80112233, 0xFF112233},   {D3DFMT_R5G6B5, 0xFFFF8000, 0xFFFF8200},
        {D3DFMT_A1R5G5B5, 0x80FF0000, 0xFFFF0000}, {D3DFMT_A1R5G5B5, 0x7FFF0000, 0x00FF0000},
        {D3DFMT_X1R5G5B5, 0x00FF0000, 0xFFFF0000}, {D3DFMT_A4R4G4B4, 0x80F01020, 0x88FF1122},
        {D3DFMT_X4R4G4B4, 0x00F01020, 0xFFFF1122}, {D3DFMT_L8, 0xFF808080, 0xFF808080},
        {D3DFMT_L8, 0xFF00FF00, 0xFFB6B6B6},
    };
    for (const Case &c : cases) {
        BYTE pixel[4] = {};
        D3D9WritePixel(c.format, pixel, c.written);
        EXPECT_EQ(D3D9ReadPixel(c.format, pixel), c.read) << c.format << " " << std::hex << c.written;
    }
    D3D9Pixels pixels;
    EXPECT_FALSE(D3D9PixelsAllocate(&pixels, D3DFMT_A16B16G16R16, 4, 4));
    ASSERT_TRUE(D3D9PixelsAllocate(&pixels, D3DFMT_R8G8B8, 3, 2));
    EXPECT_EQ(pixels.pitch, 12u);
    D3D9PixelsFree(&pixels);
}

TEST(D3D9RuntimeTest, TheRuntimeIsFoundByItsFileName)
{
    char folder[261];
    UINT length = GetSystemDirectoryA(folder, sizeof(folder));
    ASSERT_GT(length, 0u);
    EXPECT_EQ(std::strlen(folder), length);
    EXPECT_EQ(GetSystemDirectoryA(folder, 1), length + 1);

    const int loads = D3D9RuntimeGetLoadCount();
    HMODULE module = LoadLibraryA("C:\\Windows\\System32\\D3D9.DLL");
    ASSERT_NE(module, nullptr);
    EXPECT_EQ(LoadLibraryA("/usr/lib/d3d9.dll"), module);
    EXPECT_EQ(D3D9RuntimeGetLoadCount(), loads + 2);
    typedef IDirect3D9 *(*Create)(UINT);
    Create create = reinterpret_cast<Create>(GetProcAddress(module, "Direct3DCreate9"));
    ASSERT_NE(create, nullptr);
    IDirect3D9 *d3d = create(D3D_SDK_VERSION);
    ASSERT_NE(d3d, nullptr);
    d3d->Release();
    EXPECT_EQ(GetProcAddress(module, "Direct3DCreate9Ex"), nullptr);
    EXPECT_EQ(LoadLibraryA("d3dx9_43.dll"), nullptr);
    EXPECT_TRUE(FreeLibrary(module));
    EXPECT_TRUE(FreeLibrary(module));
    EXPECT_EQ(D3D9RuntimeGetLoadCount(), loads);

    D3D9RuntimeSetPresent(false);
    EXPECT_EQ(LoadLibraryA("d3d9.dll"), nullptr);
    D3D9RuntimeSetPresent(true);
}

} // namespace
