#include "engine/runtime/EngDeviceDX9.h"
#include "engine/core/EngDebug.h"
#include "engine/core/EngMisc.h"
#include "engine/runtime/EngDevice.h"
#include "engine/runtime/EngWindow.h"

EngDeviceDX9 *eng_device_dx9 = nullptr;
IDirect3D9 *eng_d3d = nullptr;
IDirect3DDevice9 *eng_d3d_device = nullptr;

static int BitsOfFormat(D3DFORMAT format)
{
    return format == D3DFMT_R5G6B5 ? 16 : 32;
}

EngDeviceDX9::EngDeviceDX9(EngDevice *owner)
    : m_owner(owner), m_window_handle(nullptr), m_full_screen_viewport{0, 0, 640, 480, 0.0f, 1.0f},
      m_clear_colour(0)
{
    EngWindow *window = owner ? owner->GetWindow() : nullptr;
    m_window_handle = window ? window->GetWindowHandle() : nullptr;
}

EngDeviceDX9::~EngDeviceDX9()
{
    Destroy();
}

bool EngDeviceDX9::Create(char windowed, int width, int height, int bits, int)
{
    const char *where = "EngDeviceDX9::DoChangeDevice";
    if (!eng_d3d)
        eng_d3d = Direct3DCreate9(D3D_SDK_VERSION);
    if (!eng_d3d) {
        EngMiscShowPopupMessage(EMPT_ERROR, "Error", "Could not create Direct3D Object");
        return false;
    }
    if (!m_window_handle) {
        EngMiscShowPopupMessage(EMPT_ERROR, where, "No parent window");
        return false;
    }
    if (eng_d3d_device) {
        eng_d3d_device->Release();
        eng_d3d_device = nullptr;
    }

    D3DPRESENT_PARAMETERS parameters = {};
    parameters.BackBufferWidth = static_cast<UINT>(width);
    parameters.BackBufferHeight = static_cast<UINT>(height);
    parameters.BackBufferFormat = (!windowed && bits == 16) ? D3DFMT_R5G6B5 : D3DFMT_X8R8G8B8;
    parameters.BackBufferCount = 1;
    parameters.SwapEffect = D3DSWAPEFFECT_DISCARD;
    parameters.hDeviceWindow = m_window_handle;
    parameters.Windowed = windowed ? TRUE : FALSE;
    parameters.EnableAutoDepthStencil = TRUE;
    parameters.AutoDepthStencilFormat = D3DFMT_D24S8;
    // Frames are never held back for the display's refresh.
    parameters.FullScreen_RefreshRateInHz = 0;
    parameters.PresentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;

    HRESULT result = eng_d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, m_window_handle,
                                           D3DCREATE_HARDWARE_VERTEXPROCESSING, &parameters, &eng_d3d_device);
    if (FAILED(result) || !eng_d3d_device) {
        eng_d3d_device = nullptr;
        DebugError(where, "CreateDevice: 0x%08x", static_cast<unsigned>(result));
        EngMiscShowPopupMessage(EMPT_ERROR, where, "Error creating the Direct3D device");
        return false;
    }

    // The refresh rate 0 keeps the one the measures have.
    EngWindow *window = m_owner ? m_owner->GetWindow() : nullptr;
    if (window)
        window->SetScreenMetrics(windowed, width, height, BitsOfFormat(parameters.BackBufferFormat), 0);
    ComputeFullScreenViewport();
    return true;
}

void EngDeviceDX9::Destroy()
{
    if (eng_d3d_device) {
        eng_d3d_device->Release();
        eng_d3d_device = nullptr;
    }
    if (eng_d3d) {
        eng_d3d->Release();
        eng_d3d = nullptr;
    }
}

void EngDeviceDX9::ComputeFullScreenViewport()
{
    D3DVIEWPORT9 viewport = {0, 0, 640, 480, 0.0f, 1.0f};
    RECT client;
    if (eng_main_window && eng_main_window->GetWindowHandle() && eng_screen_windowed &&
        GetClientRect(eng_main_window->GetWindowHandle(), &client)) {
        viewport.X = static_cast<DWORD>(client.left);
        viewport.Y = static_cast<DWORD>(client.top);
        viewport.Width = static_cast<DWORD>(client.right - client.left);
        viewport.Height = static_cast<DWORD>(client.bottom - client.top);
    } else if (eng_main_window) {
        viewport.Width = static_cast<DWORD>(eng_screen_width);
        viewport.Height = static_cast<DWORD>(eng_screen_height);
    }
    m_full_screen_viewport = viewport;
}

D3DVIEWPORT9 *EngDeviceDX9::GetViewport(D3DVIEWPORT9 *viewport)
{
    if (!viewport)
        return nullptr;
    *viewport = m_full_screen_viewport;
    return viewport;
}

void EngDeviceDX9::SetClearColour(float r, float g, float b)
{
    m_clear_colour = D3DCOLOR_ARGB(255, static_cast<int>(r * 255.0f), static_cast<int>(g * 255.0f),
                                   static_cast<int>(b * 255.0f));
}

void EngDeviceDX9::ClearBackBufferAndZBuffer()
{
    if (eng_d3d_device)
        eng_d3d_device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, m_clear_colour, 1.0f, 0);
}

void EngDeviceDX9::SwapBuffers()
{
    if (!eng_d3d_device) {
        DebugError("EngDeviceDX9::SwapBuffers", "No device");
        return;
    }
    if (FAILED(eng_d3d_device->Present(nullptr, nullptr, nullptr, nullptr)))
        DebugError("EngDeviceDX9::SwapBuffers", "Unexpected error.");
}
