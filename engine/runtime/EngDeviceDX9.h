// The Direct3D 9 device object of the main window: makes and releases the
// device, keeps the full-screen viewport and the clear colour, clears and
// presents the frame. The facade (EngDevice.h) makes and deletes it.
#pragma once

#include "platform/d3d9/D3D9.h"

class EngDevice;

class EngDeviceDX9 {
public:
    explicit EngDeviceDX9(EngDevice *owner);
    ~EngDeviceDX9();
    EngDeviceDX9(const EngDeviceDX9 &) = delete;
    EngDeviceDX9 &operator=(const EngDeviceDX9 &) = delete;

    // A device for the owner's window with a back buffer of width x height;
    // then the screen measures follow the device's back buffer.
    bool Create(char windowed, int width, int height, int bits, int refresh_rate);
    void Destroy();

    // The whole client area (0, 0, 640, 480 without a main window). Only the
    // record changes; no device call.
    void ComputeFullScreenViewport();
    D3DVIEWPORT9 *GetViewport(D3DVIEWPORT9 *viewport);
    void SetClearColour(float r, float g, float b);
    void ClearBackBufferAndZBuffer();
    void SwapBuffers();

private:
    EngDevice *m_owner;
    HWND m_window_handle;
    D3DVIEWPORT9 m_full_screen_viewport;
    D3DCOLOR m_clear_colour;
};

// The one device object, the Direct3D object and its device; null while
// they do not exist.
extern EngDeviceDX9 *eng_device_dx9;
extern IDirect3D9 *eng_d3d;
extern IDirect3DDevice9 *eng_d3d_device;
