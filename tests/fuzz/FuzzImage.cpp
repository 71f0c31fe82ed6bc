// Images: a texture made from a file, told by its content (PNG, JPEG, TGA,
// BMP), on the recording device so no display is needed.
#include "platform/d3d9/D3D9Backend.h"
#include "platform/d3d9/D3DX9.h"
#include "platform/win32/Win32Headless.h"
#include "platform/win32/Win32Window.h"
#include "tests/fuzz/FuzzSupport.h"

#include <cstdlib>

namespace {

LRESULT WindowProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam)
{
    return DefWindowProcA(hwnd, message, wparam, lparam);
}

IDirect3DDevice9 *MakeDevice()
{
    PlatformSetHeadless(true);
    D3D9SetBackend(D3D9_BACKEND_RECORDING);
    WNDCLASSA window_class = {0, WindowProc, nullptr, "FuzzImage"};
    RegisterClassA(&window_class);
    static HWND window =
        CreateWindowExA(0, "FuzzImage", "FuzzImage", WS_OVERLAPPEDWINDOW, 0, 0, 200, 200, nullptr, nullptr, nullptr,
                        nullptr);
    // The window and the object are kept for the whole run, as the program
    // keeps its own.
    static IDirect3D9 *d3d = Direct3DCreate9(D3D_SDK_VERSION);
    D3DPRESENT_PARAMETERS parameters = {};
    parameters.Windowed = TRUE;
    IDirect3DDevice9 *device = nullptr;
    if (!d3d || d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window, 0, &parameters, &device) != S_OK)
        std::abort();
    return device;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzSetup();
    static IDirect3DDevice9 *device = MakeDevice();
    FuzzWriteFile("image", data, size);
    for (D3DFORMAT format : {D3DFMT_A8R8G8B8, D3DFMT_UNKNOWN}) {
        IDirect3DTexture9 *texture = nullptr;
        D3DXIMAGE_INFO info;
        if (D3DXCreateTextureFromFileExA(device, "image", D3DX_DEFAULT, D3DX_DEFAULT, 1, 0, format, D3DPOOL_MANAGED,
                                         D3DX_DEFAULT, D3DX_DEFAULT, 0, &info, nullptr, &texture) == S_OK)
            texture->Release();
    }
    FuzzEndInput();
    return 0;
}
