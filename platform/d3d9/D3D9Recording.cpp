#include "platform/d3d9/D3D9Recording.h"

#include <cstdarg>
#include <cstdio>

namespace {

std::vector<std::string> calls;
int live_devices = 0;
HRESULT next_create_failure = S_OK;

void Record(const char *format, ...) __attribute__((format(printf, 1, 2)));

void Record(const char *format, ...)
{
    char line[256];
    va_list args;
    va_start(args, format);
    vsnprintf(line, sizeof(line), format, args);
    va_end(args);
    calls.push_back(line);
}

class RecordingDevice : public IDirect3DDevice9 {
public:
    RecordingDevice() : m_references(1) { live_devices++; }

    ULONG AddRef() override { return ++m_references; }

    ULONG Release() override
    {
        if (--m_references > 0)
            return m_references;
        Record("Release device");
        live_devices--;
        delete this;
        return 0;
    }

    HRESULT Clear(DWORD count, const D3DRECT *, DWORD flags, D3DCOLOR colour, float z, DWORD stencil) override
    {
        Record("Clear %u %x %08x %g %u", static_cast<unsigned>(count), static_cast<unsigned>(flags),
               static_cast<unsigned>(colour), static_cast<double>(z), static_cast<unsigned>(stencil));
        return S_OK;
    }

    HRESULT Present(const RECT *, const RECT *, HWND, const void *) override
    {
        Record("Present");
        return S_OK;
    }

private:
    ULONG m_references;
};

class RecordingDirect3D : public IDirect3D9 {
public:
    ULONG AddRef() override { return ++m_references; }

    ULONG Release() override
    {
        if (--m_references > 0)
            return m_references;
        delete this;
        return 0;
    }

    HRESULT CreateDevice(UINT, D3DDEVTYPE, HWND focus_window, DWORD, D3DPRESENT_PARAMETERS *parameters,
                         IDirect3DDevice9 **device) override
    {
        if (!parameters || !device)
            return D3DERR_INVALIDCALL;
        *device = nullptr;
        if (!focus_window && !parameters->hDeviceWindow)
            return D3DERR_INVALIDCALL;
        if (next_create_failure != S_OK) {
            HRESULT failure = next_create_failure;
            next_create_failure = S_OK;
            Record("CreateDevice failed");
            return failure;
        }
        Record("CreateDevice %ux%u %s", parameters->BackBufferWidth, parameters->BackBufferHeight,
               parameters->Windowed ? "windowed" : "full screen");
        *device = new RecordingDevice();
        return S_OK;
    }

private:
    ULONG m_references = 1;
};

} // namespace

IDirect3D9 *Direct3DCreate9(UINT sdk_version)
{
    if (sdk_version != 31 && sdk_version != D3D_SDK_VERSION)
        return nullptr;
    return new RecordingDirect3D();
}

const std::vector<std::string> &D3D9RecordingGetCalls()
{
    return calls;
}

int D3D9RecordingGetLiveDevices()
{
    return live_devices;
}

void D3D9RecordingFailNextCreateDevice(HRESULT result)
{
    next_create_failure = result;
}

void D3D9RecordingReset()
{
    calls.clear();
    next_create_failure = S_OK;
}
