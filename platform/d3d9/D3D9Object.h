// The Direct3D object: makes devices for windows. The backend of the devices
// it makes is the one chosen with D3D9SetBackend (D3D9Backend.h).
#pragma once

#include "platform/d3d9/D3D9Device.h"

class IDirect3D9 {
public:
    IDirect3D9(const IDirect3D9 &) = delete;
    IDirect3D9 &operator=(const IDirect3D9 &) = delete;

    ULONG AddRef();
    ULONG Release();
    // A device drawing into hDeviceWindow of the parameters (or the focus
    // window when that is null). A windowed back buffer of width or height 0
    // takes the window's client size, and D3DFMT_UNKNOWN the desktop's
    // format; the parameters are updated with what was made.
    HRESULT CreateDevice(UINT adapter, D3DDEVTYPE type, HWND focus_window, DWORD behaviour_flags,
                         D3DPRESENT_PARAMETERS *parameters, IDirect3DDevice9 **device);

private:
    friend IDirect3D9 *Direct3DCreate9(UINT sdk_version);
    IDirect3D9();
    ~IDirect3D9() = default;

    ULONG m_references;
};

// The Direct3D object, or null for an SDK version other than D3D_SDK_VERSION.
IDirect3D9 *Direct3DCreate9(UINT sdk_version);
