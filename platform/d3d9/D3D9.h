// Our Direct3D 9 subset: the object that makes devices for a window and the
// device the engine draws through, with the names and numbers the engine
// uses. Devices come from the recording backend (D3D9Recording.h).
#pragma once

#include "platform/win32/Win32Types.h"

typedef unsigned long ULONG;
typedef DWORD D3DCOLOR;

#define D3DCOLOR_ARGB(a, r, g, b)                                                                               \
    ((D3DCOLOR)((((DWORD)(a) & 0xFF) << 24) | (((DWORD)(r) & 0xFF) << 16) | (((DWORD)(g) & 0xFF) << 8) |     \
                ((DWORD)(b) & 0xFF)))

enum D3DFORMAT : int {
    D3DFMT_UNKNOWN = 0,
    D3DFMT_R8G8B8 = 20,
    D3DFMT_A8R8G8B8 = 21,
    D3DFMT_X8R8G8B8 = 22,
    D3DFMT_R5G6B5 = 23,
    D3DFMT_D24S8 = 75,
    D3DFMT_D16 = 80,
};

enum D3DDEVTYPE : int {
    D3DDEVTYPE_HAL = 1,
    D3DDEVTYPE_REF = 2,
    D3DDEVTYPE_SW = 3,
};

enum D3DMULTISAMPLE_TYPE : int {
    D3DMULTISAMPLE_NONE = 0,
};

enum D3DSWAPEFFECT : int {
    D3DSWAPEFFECT_DISCARD = 1,
    D3DSWAPEFFECT_FLIP = 2,
    D3DSWAPEFFECT_COPY = 3,
};

struct D3DPRESENT_PARAMETERS {
    UINT BackBufferWidth;
    UINT BackBufferHeight;
    D3DFORMAT BackBufferFormat;
    UINT BackBufferCount;
    D3DMULTISAMPLE_TYPE MultiSampleType;
    DWORD MultiSampleQuality;
    D3DSWAPEFFECT SwapEffect;
    HWND hDeviceWindow;
    BOOL Windowed;
    BOOL EnableAutoDepthStencil;
    D3DFORMAT AutoDepthStencilFormat;
    DWORD Flags;
    UINT FullScreen_RefreshRateInHz;
    UINT PresentationInterval;
};

struct D3DVIEWPORT9 {
    DWORD X;
    DWORD Y;
    DWORD Width;
    DWORD Height;
    float MinZ;
    float MaxZ;
};

struct D3DRECT {
    LONG x1;
    LONG y1;
    LONG x2;
    LONG y2;
};

#define D3D_SDK_VERSION 32
#define D3DADAPTER_DEFAULT 0
#define D3DCREATE_HARDWARE_VERTEXPROCESSING 0x00000040u
#define D3DPRESENT_INTERVAL_IMMEDIATE 0x80000000u

#define D3DCLEAR_TARGET 0x00000001u
#define D3DCLEAR_ZBUFFER 0x00000002u
#define D3DCLEAR_STENCIL 0x00000004u

#define D3DERR_NOTAVAILABLE ((HRESULT)0x8876086A)
#define D3DERR_INVALIDCALL ((HRESULT)0x8876086C)

class IDirect3DDevice9 {
public:
    virtual ULONG AddRef() = 0;
    // Returns the references left; the device goes at 0.
    virtual ULONG Release() = 0;
    virtual HRESULT Clear(DWORD count, const D3DRECT *rects, DWORD flags, D3DCOLOR colour, float z,
                          DWORD stencil) = 0;
    virtual HRESULT Present(const RECT *source, const RECT *destination, HWND window, const void *dirty_region) = 0;

protected:
    virtual ~IDirect3DDevice9() = default;
};

class IDirect3D9 {
public:
    virtual ULONG AddRef() = 0;
    virtual ULONG Release() = 0;
    // Makes a device drawing into the window given in the parameters.
    virtual HRESULT CreateDevice(UINT adapter, D3DDEVTYPE type, HWND focus_window, DWORD behaviour_flags,
                                 D3DPRESENT_PARAMETERS *parameters, IDirect3DDevice9 **device) = 0;

protected:
    virtual ~IDirect3D9() = default;
};

// The Direct3D object, or null for an SDK version other than 31 or 32.
IDirect3D9 *Direct3DCreate9(UINT sdk_version);
