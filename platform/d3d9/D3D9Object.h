// The Direct3D object: lists the adapters (the displays) with their modes,
// answers what devices on them can have, and makes devices for windows. The
// backend of the devices it makes is the one chosen with D3D9SetBackend
// (D3D9Backend.h).
#pragma once

#include "platform/d3d9/D3D9Device.h"

class IDirect3D9 {
public:
    IDirect3D9(const IDirect3D9 &) = delete;
    IDirect3D9 &operator=(const IDirect3D9 &) = delete;

    ULONG AddRef();
    ULONG Release();

    // The adapters are the displays, the first being the primary one, as
    // the display or the headless desktop describes them. Each display mode
    // has the format of its pixels; one of four bytes counts as X8R8G8B8.
    // With the recording backend, a failure asked for with
    // D3D9RecordingFailCall answers in place of any query returning HRESULT.
    UINT GetAdapterCount();
    HRESULT GetAdapterIdentifier(UINT adapter, DWORD flags, D3DADAPTER_IDENTIFIER9 *identifier);
    // The adapter's modes in that format, in the display's order.
    UINT GetAdapterModeCount(UINT adapter, D3DFORMAT format);
    HRESULT EnumAdapterModes(UINT adapter, D3DFORMAT format, UINT mode, D3DDISPLAYMODE *display_mode);
    // The desktop's mode.
    HRESULT GetAdapterDisplayMode(UINT adapter, D3DDISPLAYMODE *mode);

    // What a device can have, answered from what the GL backend makes: only
    // hardware devices, any of its back-buffer formats on a format the
    // adapter shows (its modes' and its desktop's), the depth-stencil formats
    // and sample counts GL really makes (D3D9GetBackBufferOffer). A refusal
    // is D3DERR_NOTAVAILABLE; a bad adapter or argument D3DERR_INVALIDCALL.
    HRESULT GetDeviceCaps(UINT adapter, D3DDEVTYPE type, D3DCAPS9 *caps);
    HRESULT CheckDeviceType(UINT adapter, D3DDEVTYPE type, D3DFORMAT adapter_format, D3DFORMAT back_buffer_format,
                            BOOL windowed);
    // Usage D3DUSAGE_QUERY_POSTPIXELSHADER_BLENDING on D3DRTYPE_TEXTURE asks
    // whether drawing into that format can blend; D3DUSAGE_DEPTHSTENCIL on
    // D3DRTYPE_SURFACE whether a back buffer can have that depth format.
    HRESULT CheckDeviceFormat(UINT adapter, D3DDEVTYPE type, D3DFORMAT adapter_format, DWORD usage,
                              D3DRESOURCETYPE resource_type, D3DFORMAT check_format);
    HRESULT CheckDepthStencilMatch(UINT adapter, D3DDEVTYPE type, D3DFORMAT adapter_format,
                                   D3DFORMAT render_target_format, D3DFORMAT depth_stencil_format);
    // Types 2 to 16 are offered with one quality level when GL makes exactly
    // that many samples; the non-maskable type has a level for every even
    // count from 2 up to the most GL makes (at most 8 levels).
    HRESULT CheckDeviceMultiSampleType(UINT adapter, D3DDEVTYPE type, D3DFORMAT surface_format, BOOL windowed,
                                       D3DMULTISAMPLE_TYPE multisample_type, DWORD *quality_levels);

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
