#include "platform/d3d9/D3D9Object.h"
#include "platform/d3d9/D3D9Backend.h"
#include "platform/d3d9/D3D9Internal.h"
#include "platform/win32/Win32Window.h"

#include <new>

namespace {

D3D9BackendKind backend_kind = D3D9_BACKEND_GL;
int live_devices = 0;
int live_objects = 0;

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
