#include "platform/d3d9/D3D9Object.h"
#include "platform/d3d9/D3D9Backend.h"
#include "platform/d3d9/D3D9Internal.h"
#include "platform/win32/Win32Display.h"
#include "platform/win32/Win32Headless.h"
#include "platform/win32/Win32Video.h"
#include "platform/win32/Win32Window.h"

#include <SDL2/SDL.h>

#include <cstdarg>
#include <cstdio>
#include <new>

namespace {

D3D9BackendKind backend_kind = D3D9_BACKEND_GL;
int live_devices = 0;
int live_objects = 0;
D3D9ErrorReportCB error_report = nullptr;

// A failure a test asked of the recording backend in place of the call.
HRESULT Fault(const char *call)
{
    return backend_kind == D3D9_BACKEND_RECORDING ? D3D9RecordingFault(call) : S_OK;
}

// A display shows no alpha, so its pixels are told by their layout alone.
D3DFORMAT FormatOfSdlPixels(Uint32 format)
{
    if (SDL_ISPIXELFORMAT_PACKED(format)) {
        switch (SDL_PIXELLAYOUT(format)) {
        case SDL_PACKEDLAYOUT_8888: return D3DFMT_X8R8G8B8;
        case SDL_PACKEDLAYOUT_565: return D3DFMT_R5G6B5;
        case SDL_PACKEDLAYOUT_1555:
        case SDL_PACKEDLAYOUT_5551: return D3DFMT_X1R5G5B5;
        case SDL_PACKEDLAYOUT_4444: return D3DFMT_X4R4G4B4;
        default: return D3DFMT_UNKNOWN;
        }
    }
    if (SDL_ISPIXELFORMAT_ARRAY(format) && SDL_BYTESPERPIXEL(format) == 3)
        return D3DFMT_R8G8B8;
    return D3DFMT_UNKNOWN;
}

D3DFORMAT FormatOfHeadlessMode(const PlatformHeadlessMode &mode)
{
    if (mode.format)
        return static_cast<D3DFORMAT>(mode.format);
    switch (mode.bits) {
    case 32: return D3DFMT_X8R8G8B8;
    case 24: return D3DFMT_R8G8B8;
    case 16: return D3DFMT_R5G6B5;
    case 15: return D3DFMT_X1R5G5B5;
    default: return D3DFMT_UNKNOWN;
    }
}

D3DDISPLAYMODE DisplayModeOf(const PlatformHeadlessMode &mode)
{
    return {static_cast<UINT>(mode.width), static_cast<UINT>(mode.height), static_cast<UINT>(mode.refresh_rate),
            FormatOfHeadlessMode(mode)};
}

D3DDISPLAYMODE DisplayModeOf(const SDL_DisplayMode &mode)
{
    return {static_cast<UINT>(mode.w), static_cast<UINT>(mode.h), static_cast<UINT>(mode.refresh_rate),
            FormatOfSdlPixels(mode.format)};
}

int AdapterCount()
{
    if (PlatformIsHeadless())
        return PlatformHeadlessGetDisplayCount();
    if (!PlatformEnsureVideo())
        return 0;
    int count = SDL_GetNumVideoDisplays();
    return count > 0 ? count : 0;
}

bool IsAdapter(UINT adapter)
{
    return adapter < static_cast<UINT>(AdapterCount());
}

// Every mode of the display, whatever its format; index from 0.
int RawModeCount(UINT adapter)
{
    if (!IsAdapter(adapter))
        return 0;
    if (PlatformIsHeadless())
        return PlatformHeadlessGetModeCount(static_cast<int>(adapter));
    int count = SDL_GetNumDisplayModes(static_cast<int>(adapter));
    return count > 0 ? count : 0;
}

bool RawMode(UINT adapter, int index, D3DDISPLAYMODE *mode)
{
    if (PlatformIsHeadless()) {
        const PlatformHeadlessMode *found = PlatformHeadlessGetMode(static_cast<int>(adapter), index);
        if (found)
            *mode = DisplayModeOf(*found);
        return found != nullptr;
    }
    SDL_DisplayMode sdl_mode;
    if (SDL_GetDisplayMode(static_cast<int>(adapter), index, &sdl_mode) != 0)
        return false;
    *mode = DisplayModeOf(sdl_mode);
    return true;
}

bool DesktopMode(UINT adapter, D3DDISPLAYMODE *mode)
{
    if (!IsAdapter(adapter))
        return false;
    if (PlatformIsHeadless()) {
        *mode = DisplayModeOf(*PlatformHeadlessGetDesktopMode(static_cast<int>(adapter)));
        return true;
    }
    SDL_DisplayMode sdl_mode;
    if (SDL_GetDesktopDisplayMode(static_cast<int>(adapter), &sdl_mode) != 0)
        return false;
    *mode = DisplayModeOf(sdl_mode);
    return true;
}

// The index-th mode of the display in that format.
bool FindMode(UINT adapter, D3DFORMAT format, UINT index, D3DDISPLAYMODE *found)
{
    if (format == D3DFMT_UNKNOWN)
        return false;
    int count = RawModeCount(adapter);
    D3DDISPLAYMODE mode;
    for (int i = 0; i < count; i++)
        if (RawMode(adapter, i, &mode) && mode.Format == format && index-- == 0) {
            *found = mode;
            return true;
        }
    return false;
}

// A format the adapter's display shows: its desktop's or one of its modes'.
bool ShowsFormat(UINT adapter, D3DFORMAT format)
{
    D3DDISPLAYMODE mode;
    return (DesktopMode(adapter, &mode) && mode.Format == format && format != D3DFMT_UNKNOWN) ||
           FindMode(adapter, format, 0, &mode);
}

bool OffersDepthFormat(const D3D9BackBufferOffer &offer, D3DFORMAT format)
{
    for (int i = 0; i < offer.depth_format_count; i++)
        if (offer.depth_formats[i] == format)
            return true;
    return false;
}

// Only hardware devices exist.
HRESULT CheckAdapterAndType(UINT adapter, D3DDEVTYPE type)
{
    if (!IsAdapter(adapter))
        return D3DERR_INVALIDCALL;
    return type == D3DDEVTYPE_HAL ? S_OK : D3DERR_NOTAVAILABLE;
}

} // namespace

void D3D9SetBackend(D3D9BackendKind kind)
{
    backend_kind = kind;
}

D3D9BackendKind D3D9GetBackend()
{
    return backend_kind;
}

int D3D9GetLiveDeviceCount()
{
    return live_devices;
}

int D3D9GetLiveObjectCount()
{
    return live_objects;
}

void D3D9SetErrorReport(D3D9ErrorReportCB report)
{
    error_report = report;
}

void D3D9ReportError(const char *where, const char *format, ...)
{
    char text[512];
    va_list args;
    va_start(args, format);
    vsnprintf(text, sizeof(text), format, args);
    va_end(args);
    if (error_report)
        error_report(where, text);
    else
        std::fprintf(stderr, "%s: %s\n", where, text);
}

void D3D9CountDevice(int change)
{
    live_devices += change;
}

void D3D9CountObject(int change)
{
    live_objects += change;
}

IDirect3D9 *Direct3DCreate9(UINT sdk_version)
{
    if (sdk_version != D3D_SDK_VERSION)
        return nullptr;
    return new (std::nothrow) IDirect3D9();
}

IDirect3D9::IDirect3D9() : m_references(1) {}

UINT IDirect3D9::GetAdapterCount()
{
    return static_cast<UINT>(AdapterCount());
}

HRESULT IDirect3D9::GetAdapterIdentifier(UINT adapter, DWORD, D3DADAPTER_IDENTIFIER9 *identifier)
{
    HRESULT fault = Fault("GetAdapterIdentifier");
    if (fault != S_OK)
        return fault;
    if (!identifier || !IsAdapter(adapter))
        return D3DERR_INVALIDCALL;
    *identifier = D3DADAPTER_IDENTIFIER9();
    const char *name = PlatformIsHeadless() ? PlatformHeadlessGetDisplayName(static_cast<int>(adapter))
                                            : SDL_GetDisplayName(static_cast<int>(adapter));
    snprintf(identifier->Description, sizeof(identifier->Description), "%s", name ? name : "");
    PlatformGetDisplayDeviceName(static_cast<int>(adapter), identifier->DeviceName,
                                 static_cast<int>(sizeof(identifier->DeviceName)));
    return S_OK;
}

UINT IDirect3D9::GetAdapterModeCount(UINT adapter, D3DFORMAT format)
{
    UINT count = 0;
    D3DDISPLAYMODE mode;
    while (FindMode(adapter, format, count, &mode))
        count++;
    return count;
}

HRESULT IDirect3D9::EnumAdapterModes(UINT adapter, D3DFORMAT format, UINT index, D3DDISPLAYMODE *display_mode)
{
    HRESULT fault = Fault("EnumAdapterModes");
    if (fault != S_OK)
        return fault;
    if (!display_mode || !FindMode(adapter, format, index, display_mode))
        return D3DERR_INVALIDCALL;
    return S_OK;
}

HRESULT IDirect3D9::GetAdapterDisplayMode(UINT adapter, D3DDISPLAYMODE *mode)
{
    HRESULT fault = Fault("GetAdapterDisplayMode");
    if (fault != S_OK)
        return fault;
    if (!mode || !DesktopMode(adapter, mode))
        return D3DERR_INVALIDCALL;
    return S_OK;
}

HRESULT IDirect3D9::GetDeviceCaps(UINT adapter, D3DDEVTYPE type, D3DCAPS9 *caps)
{
    HRESULT result = Fault("GetDeviceCaps");
    if (result == S_OK)
        result = caps ? CheckAdapterAndType(adapter, type) : D3DERR_INVALIDCALL;
    if (result == S_OK)
        D3D9FillCaps(adapter, type, caps);
    return result;
}

HRESULT IDirect3D9::CheckDeviceType(UINT adapter, D3DDEVTYPE type, D3DFORMAT adapter_format,
                                    D3DFORMAT back_buffer_format, BOOL)
{
    HRESULT result = Fault("CheckDeviceType");
    if (result == S_OK)
        result = CheckAdapterAndType(adapter, type);
    if (result == S_OK && (!ShowsFormat(adapter, adapter_format) || !D3D9IsBackBufferFormat(back_buffer_format)))
        result = D3DERR_NOTAVAILABLE;
    return result;
}

HRESULT IDirect3D9::CheckDeviceFormat(UINT adapter, D3DDEVTYPE type, D3DFORMAT adapter_format, DWORD usage,
                                      D3DRESOURCETYPE resource_type, D3DFORMAT check_format)
{
    HRESULT result = Fault("CheckDeviceFormat");
    if (result == S_OK)
        result = CheckAdapterAndType(adapter, type);
    if (result != S_OK)
        return result;
    if (!ShowsFormat(adapter, adapter_format))
        return D3DERR_NOTAVAILABLE;
    if (usage == D3DUSAGE_QUERY_POSTPIXELSHADER_BLENDING && resource_type == D3DRTYPE_TEXTURE)
        return D3D9IsBackBufferFormat(check_format) ? S_OK : D3DERR_NOTAVAILABLE;
    if (usage == D3DUSAGE_DEPTHSTENCIL && resource_type == D3DRTYPE_SURFACE) {
        D3D9BackBufferOffer offer;
        D3D9GetBackBufferOffer(&offer);
        return OffersDepthFormat(offer, check_format) ? S_OK : D3DERR_NOTAVAILABLE;
    }
    return D3DERR_NOTAVAILABLE;
}

HRESULT IDirect3D9::CheckDepthStencilMatch(UINT adapter, D3DDEVTYPE type, D3DFORMAT adapter_format,
                                           D3DFORMAT render_target_format, D3DFORMAT depth_stencil_format)
{
    HRESULT result = Fault("CheckDepthStencilMatch");
    if (result == S_OK)
        result = CheckAdapterAndType(adapter, type);
    if (result != S_OK)
        return result;
    // Frame buffers take any depth buffer beside any colour buffer.
    D3D9BackBufferOffer offer;
    D3D9GetBackBufferOffer(&offer);
    if (!ShowsFormat(adapter, adapter_format) || !D3D9IsBackBufferFormat(render_target_format) ||
        !OffersDepthFormat(offer, depth_stencil_format))
        return D3DERR_NOTAVAILABLE;
    return S_OK;
}

HRESULT IDirect3D9::CheckDeviceMultiSampleType(UINT adapter, D3DDEVTYPE type, D3DFORMAT surface_format, BOOL,
                                               D3DMULTISAMPLE_TYPE multisample_type, DWORD *quality_levels)
{
    if (quality_levels)
        *quality_levels = 0;
    HRESULT result = Fault("CheckDeviceMultiSampleType");
    if (result == S_OK)
        result = CheckAdapterAndType(adapter, type);
    if (result != S_OK)
        return result;
    D3D9BackBufferOffer offer;
    D3D9GetBackBufferOffer(&offer);
    if (!D3D9IsBackBufferFormat(surface_format) && !OffersDepthFormat(offer, surface_format))
        return D3DERR_NOTAVAILABLE;
    DWORD levels = 0;
    int samples = 0;
    if (multisample_type == D3DMULTISAMPLE_NONMASKABLE) {
        while (D3D9SamplesOf(multisample_type, levels, &samples) && samples <= offer.max_samples)
            levels++;
    } else if (D3D9SamplesOf(multisample_type, 0, &samples) && (samples == 0 || offer.samples[samples])) {
        levels = 1;
    }
    if (levels == 0)
        return D3DERR_NOTAVAILABLE;
    if (quality_levels)
        *quality_levels = levels;
    return S_OK;
}

ULONG IDirect3D9::AddRef()
{
    return ++m_references;
}

ULONG IDirect3D9::Release()
{
    if (--m_references > 0)
        return m_references;
    delete this;
    return 0;
}

HRESULT IDirect3D9::CreateDevice(UINT adapter, D3DDEVTYPE type, HWND focus_window, DWORD,
                                 D3DPRESENT_PARAMETERS *parameters, IDirect3DDevice9 **device)
{
    if (!parameters || !device)
        return D3DERR_INVALIDCALL;
    *device = nullptr;
    HWND window = parameters->hDeviceWindow ? parameters->hDeviceWindow : focus_window;
    if (adapter != D3DADAPTER_DEFAULT || type < D3DDEVTYPE_HAL || type > D3DDEVTYPE_SW || !IsWindow(window))
        return D3DERR_INVALIDCALL;
    if (parameters->Windowed) {
        RECT client;
        if (GetClientRect(window, &client)) {
            if (parameters->BackBufferWidth == 0)
                parameters->BackBufferWidth = static_cast<UINT>(client.right - client.left);
            if (parameters->BackBufferHeight == 0)
                parameters->BackBufferHeight = static_cast<UINT>(client.bottom - client.top);
        }
        if (parameters->BackBufferFormat == D3DFMT_UNKNOWN)
            parameters->BackBufferFormat = D3DFMT_X8R8G8B8;
    }
    if (parameters->BackBufferCount == 0)
        parameters->BackBufferCount = 1;
    if (parameters->BackBufferWidth == 0 || parameters->BackBufferHeight == 0 ||
        !D3D9FormatBytesPerPixel(parameters->BackBufferFormat))
        return D3DERR_INVALIDCALL;

    D3D9DeviceBackend *backend = nullptr;
    HRESULT result = S_OK;
    if (backend_kind == D3D9_BACKEND_RECORDING) {
        result = D3D9RecordingFault("CreateDevice");
        if (result != S_OK) {
            D3D9RecordingNote("CreateDevice failed");
            return result;
        }
        backend = D3D9CreateRecordingBackend();
        if (!backend)
            return E_OUTOFMEMORY;
    } else {
        backend = D3D9CreateGLBackend(window, parameters, &result);
        if (!backend)
            return result;
    }
    IDirect3DDevice9 *made = new (std::nothrow) IDirect3DDevice9(backend, parameters, type);
    if (!made) {
        delete backend;
        return E_OUTOFMEMORY;
    }
    made->Record("CreateDevice %ux%u %s", parameters->BackBufferWidth, parameters->BackBufferHeight,
                 parameters->Windowed ? "windowed" : "full screen");
    *device = made;
    return S_OK;
}
