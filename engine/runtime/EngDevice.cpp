#include "engine/runtime/EngDevice.h"
#include "engine/runtime/EngDeviceDX9.h"

#include <new>

_EngDeviceType eng_device_type = EDT_DX9;
EngDevice *eng_device = nullptr;

static bool HaveDX9()
{
    return eng_device_type == EDT_DX9 && eng_device_dx9;
}

EngDevice::EngDevice(EngWindow *window) : m_created(0), m_window(window)
{
    eng_device_dx9 = nullptr;
}

EngDevice::~EngDevice()
{
    Destroy();
}

bool EngDevice::Create(char windowed, int width, int height, int bits, int refresh_rate)
{
    eng_device = nullptr;
    if (eng_device_type != EDT_DX9)
        return false;
    if (!eng_device_dx9) {
        eng_device_dx9 = new (std::nothrow) EngDeviceDX9(this);
        if (!eng_device_dx9)
            return false;
    }
    if (!eng_device_dx9->Create(windowed, width, height, bits, refresh_rate))
        return false;
    m_created = 1;
    eng_device = this;
    return true;
}

void EngDevice::Destroy()
{
    if (eng_device_dx9) {
        delete eng_device_dx9;
        eng_device_dx9 = nullptr;
    }
    m_created = 0;
    eng_device = nullptr;
}

void EngDevice::ComputeFullScreenViewport()
{
    if (HaveDX9())
        eng_device_dx9->ComputeFullScreenViewport();
}

D3DVIEWPORT9 *EngDevice::GetViewport(D3DVIEWPORT9 *viewport)
{
    return HaveDX9() ? eng_device_dx9->GetViewport(viewport) : nullptr;
}

void EngDevice::SetClearColour(float r, float g, float b)
{
    if (HaveDX9())
        eng_device_dx9->SetClearColour(r, g, b);
}

void EngDevice::ClearBackBufferAndZBuffer()
{
    if (HaveDX9())
        eng_device_dx9->ClearBackBufferAndZBuffer();
}

void EngDevice::SwapBuffers()
{
    if (HaveDX9())
        eng_device_dx9->SwapBuffers();
}
