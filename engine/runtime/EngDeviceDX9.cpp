#include "engine/runtime/EngDeviceDX9.h"
#include "engine/core/EngDebug.h"
#include "engine/core/EngMemory.h"
#include "engine/core/EngMisc.h"
#include "engine/runtime/EngDevice.h"
#include "engine/runtime/EngMain.h"
#include "engine/runtime/EngProgram.h"
#include "engine/runtime/EngUtilsDX9.h"
#include "engine/runtime/EngWindow.h"
#include "platform/d3d9/D3D9Backend.h"
#include "platform/d3d9/D3DX9.h"

#include <cstring>

EngDeviceDX9 *eng_device_dx9 = nullptr;
IDirect3D9 *eng_d3d = nullptr;
IDirect3DDevice9 *eng_d3d_device = nullptr;
D3DFORMAT eng_d3d_back_buffer_format = D3DFMT_UNKNOWN;

namespace {

typedef IDirect3D9 *(*Direct3DCreate9Function)(UINT sdk_version);

void ReportDeviceError(const char *where, const char *text)
{
    DebugError(where, "%s", text);
}

// The device's runtime.
HMODULE d3d9_library = nullptr;
Direct3DCreate9Function d3d9_create = nullptr;

// What the two ways of waiting for the graphics processor keep.
IDirect3DQuery9 *sync_query = nullptr;
IDirect3DSurface9 *sync_surfaces[2] = {nullptr, nullptr};
int sync_surface_next = 0;
signed char sync_method_last = -1;

// How long a lost device rests before it is made again, in program seconds.
const double LOST_DEVICE_WAIT = 5.0;

const char CHANGE_DEVICE[] = "EngDeviceDX9::DoChangeDevice";

void ReleaseSyncSurfaces()
{
    for (IDirect3DSurface9 *&surface : sync_surfaces)
        if (surface) {
            surface->Release();
            surface = nullptr;
        }
}

} // namespace

bool EngDeviceDX9LoadD3D9()
{
    if (d3d9_create)
        return true;
    char path[261];
    UINT length = GetSystemDirectoryA(path, sizeof(path));
    if (length == 0 || length >= sizeof(path))
        return false;
    EngSafeStrcpy(path + length, "\\d3d9.dll", sizeof(path) - length);
    d3d9_library = LoadLibraryA(path);
    if (!d3d9_library)
        return false;
    d3d9_create = reinterpret_cast<Direct3DCreate9Function>(GetProcAddress(d3d9_library, "Direct3DCreate9"));
    if (!d3d9_create) {
        FreeLibrary(d3d9_library);
        d3d9_library = nullptr;
        return false;
    }
    return true;
}

IDirect3D9 *EngDeviceDX9Direct3DCreate9(UINT sdk_version)
{
    return EngDeviceDX9LoadD3D9() ? d3d9_create(sdk_version) : nullptr;
}

char EngDeviceDX9IsDeviceAcceptableCB(D3DCAPS9 *caps, D3DFORMAT adapter_format, D3DFORMAT back_buffer_format, char)
{
    if (!eng_d3d || !caps)
        return 0;
    return eng_d3d->CheckDeviceFormat(caps->AdapterOrdinal, caps->DeviceType, adapter_format,
                                      D3DUSAGE_QUERY_POSTPIXELSHADER_BLENDING, D3DRTYPE_TEXTURE,
                                      back_buffer_format) == S_OK;
}

D3DPRESENT_PARAMETERS *DXUTApplyWindowMultisample(D3DPRESENT_PARAMETERS *parameters)
{
    if (!parameters)
        return nullptr;
    const _EngCreateWindowParms *parms = eng_main_window ? eng_main_window->GetCreateParms() : nullptr;
    if (parms && parms->aa_type != 0) {
        parameters->MultiSampleType = static_cast<D3DMULTISAMPLE_TYPE>(parms->aa_type);
        parameters->MultiSampleQuality = static_cast<DWORD>(parms->aa_quality);
    } else {
        parameters->MultiSampleType = D3DMULTISAMPLE_NONE;
        parameters->MultiSampleQuality = 0;
    }
    if (parameters->MultiSampleType != D3DMULTISAMPLE_NONE)
        parameters->SwapEffect = D3DSWAPEFFECT_DISCARD;
    return parameters;
}

EngDeviceDX9::EngDeviceDX9(EngDevice *owner)
    : m_owner(owner), m_window_handle(nullptr), m_d3d_ready(0), m_lost(0), m_lost_time(0.0), m_settings(nullptr),
      m_back_buffer_desc(), m_caps()
{
    EngWindow *window = owner ? owner->GetWindow() : nullptr;
    m_window_handle = window ? window->GetWindowHandle() : nullptr;
    ClearDxutState();
    SetDefaults();
}

void EngDeviceDX9::ClearDxutState()
{
    DxutEnumerationDestroy();
}

EngDeviceDX9::~EngDeviceDX9()
{
    Destroy();
    m_d3d_ready = 0;
}

bool EngDeviceDX9::DxDevicesInit()
{
    if (m_d3d_ready && eng_d3d)
        return true;
    if (!D3DXCheckVersion(D3D_SDK_VERSION, D3DX_SDK_VERSION)) {
        if (!D3DXCheckVersion(31, D3DX_SDK_VERSION)) {
            EngMiscShowPopupMessage(EMPT_ERROR, "Error", "Incorrect DirectX Version");
            return false;
        }
        DebugInfo("[DxDevices] Init - Warning - Using DirectX V9.0b");
    }
    if (!eng_d3d) {
        eng_d3d = EngDeviceDX9Direct3DCreate9(D3D_SDK_VERSION);
        if (!eng_d3d) {
            eng_d3d = EngDeviceDX9Direct3DCreate9(31);
            if (eng_d3d)
                DebugInfo("[DxDevices] Init - Warning - Created DirectX V9.0b");
        }
        if (!eng_d3d) {
            EngMiscShowPopupMessage(EMPT_ERROR, "Error", "Could not create Direct3D Object");
            return false;
        }
    }
    m_d3d_ready = 1;
    return true;
}

bool EngDeviceDX9::Create(char windowed, int width, int height, int bits, int refresh_rate)
{
    if (!SetupCreate(windowed, width, height, bits, refresh_rate))
        return false;
    ApplyDefaultStates();
    // The texture cursor comes with every device; a cursor that does not load
    // gives way to the system's, and the device stands all the same.
    _EngWindowTextureCursor *cursor = eng_main_window ? eng_main_window->GetTextureCursor_PC() : nullptr;
    if (cursor && cursor->in_use)
        SetupTextureCursor(cursor->texture.LoadFromFileUsingExt(cursor->filename, 1, cursor->option1,
                                                                static_cast<_EngTextureFileExt>(cursor->option2), 0));
    return true;
}

bool EngDeviceDX9::SetupCreate(char windowed, int width, int height, int bits, int)
{
    const char *where = "EngDeviceDX9::SetupCreate";
    if (!DxDevicesInit())
        return false;
    // The hardware is listed once and kept for later device changes; a
    // failed listing shows as no valid settings below.
    if (!DxutEnumerationIsDone() && DxutEnumerationInit())
        DxutEnumerationDoEnumerate(eng_d3d, EngDeviceDX9IsDeviceAcceptableCB);

    _DXUTDeviceSettings wanted;
    std::memset(&wanted, 0, sizeof(wanted));
    wanted.pp.Windowed = windowed;
    wanted.pp.BackBufferWidth = static_cast<UINT>(width);
    wanted.pp.BackBufferHeight = static_cast<UINT>(height);
    DXUTApplyWindowMultisample(&wanted.pp);
    bool full_screen_depth = !windowed && bits > 0;
    if (full_screen_depth && bits == 32)
        wanted.AdapterFormat = D3DFMT_X8R8G8B8;
    else if (full_screen_depth && bits == 16)
        wanted.AdapterFormat = D3DFMT_R5G6B5;

    // The device is always made on the first adapter.
    _DXUTMatchOptions match = {};
    match.m_adapter_ordinal = DXUT_MATCH_PRESERVE;
    match.m_windowed = DXUT_MATCH_PRESERVE;
    match.m_resolution = DXUT_MATCH_CLOSEST;
    match.m_multisample = DXUT_MATCH_PRESERVE;
    if (full_screen_depth)
        match.m_adapter_format = DXUT_MATCH_CLOSEST;

    if (FAILED(DXUTFindValidDeviceSettings(&wanted, &wanted, &match))) {
        DebugError(where, "Could not find valid settings");
        EngMiscShowPopupMessage(EMPT_ERROR, "EngDeviceDX9::Create", "Could not find valid settings");
        return false;
    }
    if (!DoChangeDevice(&wanted)) {
        DebugError(where, "Could not change device");
        return false;
    }
    return true;
}

bool EngDeviceDX9::DoChangeDevice(const _DXUTDeviceSettings *settings)
{
    if (!eng_d3d) {
        EngMiscShowPopupMessage(EMPT_ERROR, CHANGE_DEVICE, "No Direct3D Object");
        return false;
    }
    if (!m_window_handle) {
        EngMiscShowPopupMessage(EMPT_ERROR, CHANGE_DEVICE, "No parent window");
        return false;
    }
    _DXUTDeviceSettings *copy = static_cast<_DXUTDeviceSettings *>(EngMalloc(sizeof(*copy), CHANGE_DEVICE, 0));
    if (!copy) {
        EngMiscShowPopupMessage(EMPT_ERROR, CHANGE_DEVICE, "No memory");
        return false;
    }
    *copy = *settings;
    // The previous settings are only needed to know that there were some:
    // they go at once, so no way out of here leaves them behind.
    bool had_settings = m_settings != nullptr;
    if (m_settings)
        EngFree(m_settings, 0, CHANGE_DEVICE);
    m_settings = copy;

    Cleanup3DEnvironment(0);
    if (!had_settings && copy->DeviceType == D3DDEVTYPE_REF)
        EngMiscShowPopupMessage(EMPT_WARNING, nullptr, "Switching to sofware renderer and no hardware renderer found.");

    D3DPRESENT_PARAMETERS *pp = DXUTApplyWindowMultisample(&copy->pp);
    // Frames are never held back for the display's refresh.
    pp->FullScreen_RefreshRateInHz = 0;
    pp->PresentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;
    // Failures the device finds after the call that caused them (GL errors
    // of draws sent together) come to the error reporter.
    D3D9SetErrorReport(ReportDeviceError);
    HRESULT result = eng_d3d->CreateDevice(copy->AdapterOrdinal, copy->DeviceType, m_window_handle,
                                           copy->BehaviorFlags, pp, &eng_d3d_device);
    if (result != S_OK) {
        eng_d3d_device = nullptr;
        if (result == D3DERR_OUTOFVIDEOMEMORY && pp->MultiSampleType != D3DMULTISAMPLE_NONE) {
            EngMiscShowPopupMessage(EMPT_ERROR, "Cannot Create Direct 3D Device",
                                    "Try turning off anti aliasing, or running in a lower resolution.");
        } else if (result == D3DERR_OUTOFVIDEOMEMORY) {
            EngMiscShowPopupMessage(EMPT_ERROR, CHANGE_DEVICE, "Could not create the Direct3D device");
        } else {
            EngUtilsDX9_CheckResult(CHANGE_DEVICE, "CreateDevice", result);
            EngMiscShowPopupMessage(EMPT_ERROR, CHANGE_DEVICE, "Error creating the Direct3D device");
        }
        return false;
    }

    if (pp->MultiSampleType != D3DMULTISAMPLE_NONE)
        EngUtilsDX9_CheckResult("DXUTChangeDevice", "SetRenderState(MS-On)",
                                eng_d3d_device->SetRenderState(D3DRS_MULTISAMPLEANTIALIAS, TRUE));
    else
        EngUtilsDX9_CheckResult("DXUTChangeDevice", "SetRenderState(MS-Off)",
                                eng_d3d_device->SetRenderState(D3DRS_MULTISAMPLEANTIALIAS, FALSE));

    eng_d3d_back_buffer_format = pp->BackBufferFormat;
    EngWindow *window = m_owner ? m_owner->GetWindow() : nullptr;
    // The refresh rate, set to 0 above, keeps the one the measures have.
    if (window)
        window->SetScreenMetrics(static_cast<char>(pp->Windowed), static_cast<int>(pp->BackBufferWidth),
                                 static_cast<int>(pp->BackBufferHeight),
                                 EngUtilsDX9_GetBitdepthFromFormat(pp->BackBufferFormat, nullptr, 1),
                                 static_cast<int>(pp->FullScreen_RefreshRateInHz));
    if (!Init3DEnvironment()) {
        EngMiscShowPopupMessage(EMPT_ERROR, CHANGE_DEVICE, "Init3DEnvironment() failed");
        return false;
    }
    _DxutEnumAdapterInfo *adapter = nullptr;
    if (!DxutEnumerationGetAdapterInfoNew(copy->AdapterOrdinal, &adapter)) {
        EngMiscShowPopupMessage(EMPT_ERROR, CHANGE_DEVICE, "DxutEnumerationGetAdapterInfoNew() failed");
        return false;
    }
    return true;
}

bool EngDeviceDX9::Init3DEnvironment()
{
    if (!eng_d3d_device) {
        DebugError("EngDeviceDX9::Init3DEnvironment", "No Device");
        return false;
    }
    if (!m_window_handle) {
        EngMiscShowPopupMessage(EMPT_ERROR, "EngDeviceDX9::Init3DEnvironment", "No parent window");
        return false;
    }
    DXUTPrepareDevice();
    return true;
}

bool EngDeviceDX9::DXUTPrepareDevice()
{
    std::memset(&m_back_buffer_desc, 0, sizeof(m_back_buffer_desc));
    IDirect3DSurface9 *back_buffer = nullptr;
    if (eng_d3d_device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &back_buffer) == S_OK) {
        back_buffer->GetDesc(&m_back_buffer_desc);
        back_buffer->Release();
    }
    return EngUtilsDX9_CheckResult("DXUTPrepareDevice", "GetDeviceCaps", eng_d3d_device->GetDeviceCaps(&m_caps));
}

void EngDeviceDX9::Cleanup3DEnvironment(char free_settings)
{
    // The settings go even when no device was made from them.
    if (free_settings && m_settings) {
        EngFree(m_settings, 0, "EngDeviceDX9::Cleanup3DEnvironment");
        m_settings = nullptr;
    }
    if (!eng_d3d_device)
        return;
    ULONG left = eng_d3d_device->Release();
    if (left > 0)
        DebugError("EngDeviceDX9::Cleanup3DEnvironment", "Graphics objects not released [%d]", static_cast<int>(left));
    eng_d3d_device = nullptr;
    std::memset(&m_back_buffer_desc, 0, sizeof(m_back_buffer_desc));
    std::memset(&m_caps, 0, sizeof(m_caps));
}

void EngDeviceDX9::Destroy()
{
    DoSyncGpuWithCpuUsingEvents(1);
    DoSyncGpuWithCpuUsingLockedSurfaces(1);
    EngDimDestroyVertexBuffer();
    if (eng_main_window)
        eng_main_window->GetTextureCursor_PC()->texture.Destroy();
    Cleanup3DEnvironment(1);
    DxutEnumerationDestroy();
    if (eng_d3d_device) {
        eng_d3d_device->Release();
        eng_d3d_device = nullptr;
    }
    if (eng_d3d) {
        eng_d3d->Release();
        eng_d3d = nullptr;
    }
    if (d3d9_library) {
        FreeLibrary(d3d9_library);
        d3d9_library = nullptr;
        d3d9_create = nullptr;
    }
}

void EngDeviceDX9::SetupTextureCursor(char loaded)
{
    _EngWindowTextureCursor *cursor = eng_main_window ? eng_main_window->GetTextureCursor_PC() : nullptr;
    if (!cursor || !cursor->in_use)
        return;
    if (!loaded) {
        DebugError("EngDeviceDX9::Create", "Could not create texture cursor <%s>", cursor->filename);
        cursor->in_use = 0;
        // The system cursor takes over.
        if (eng_main_window->IsCursorShown()) {
            eng_main_window->HideMouseCursor();
            eng_main_window->ShowMouseCursor();
        }
        return;
    }
    float scale_x = cursor->scale ? eng_font_scale_x : eng_screen_ratio_x;
    float scale_y = cursor->scale ? eng_font_scale_y : eng_screen_ratio_y;
    cursor->draw_width = static_cast<int>(cursor->width * scale_x);
    cursor->draw_height = static_cast<int>(cursor->height * scale_y);
    cursor->hot_x_scaled = static_cast<int>(cursor->hot_x * scale_x);
    cursor->hot_y_scaled = static_cast<int>(cursor->hot_y * scale_y);
}

bool EngDeviceDX9::BeginRendering()
{
    const char *where = "EngDeviceDX9::BeginRendering";
    if (m_lost) {
        // Frames wait for the device to come back, and for a while more.
        if (!eng_d3d_device || eng_d3d_device->TestCooperativeLevel() == D3DERR_DEVICELOST)
            return false;
        if (eng_main_window && eng_device && eng_main_program_time - m_lost_time > LOST_DEVICE_WAIT) {
            DebugInfo("Re-creating device that was lost.");
            m_lost_time = 0.0;
            m_lost = 0;
            eng_main_window->RequestDeviceRecreation();
        }
        return false;
    }
    if (!eng_d3d_device)
        return false;
    if (m_rendering) {
        DebugError(where, "Already rendering");
        EndRendering();
    }
    if (!EngUtilsDX9_CheckResult(where, "BeginScene", eng_d3d_device->BeginScene()))
        return false;
    m_rendering = 1;
    return true;
}

bool EngDeviceDX9::BeginRenderingIfNeeded()
{
    if (m_rendering)
        return false;
    BeginRendering();
    return true;
}

void EngDeviceDX9::EndRendering()
{
    if (!eng_d3d_device)
        return;
    if (!m_rendering) {
        DebugError("EngDeviceDX9::EndRendering", "Not rendering");
        return;
    }
    eng_d3d_device->EndScene();
    m_rendering = 0;
}

void EngDeviceDX9::SwapBuffers()
{
    const char *where = "EngDeviceDX9::SwapBuffers";
    if (!eng_d3d_device) {
        DebugError(where, "No device");
        return;
    }
    HRESULT result = eng_d3d_device->Present(nullptr, nullptr, nullptr, nullptr);
    if (result == D3DERR_DRIVERINTERNALERROR) {
        DebugError(where, "Internal Driver Error");
    } else if (result == D3DERR_DEVICELOST) {
        DebugInfo("Warning: Device Lost...");
        m_lost = 1;
        if (m_lost_time == 0.0)
            m_lost_time = eng_main_program_time;
    } else if (result != S_OK) {
        DebugError(where, "Unexpected error.");
    }
}

void EngDeviceDX9::SyncWithGPU()
{
    const char *where = "EngDeviceDX9::SyncWithGPU";
    if (!eng_main_program || !eng_d3d_device)
        return;
    int method = eng_main_program->GetSyncWithGpuMethod();
    if (method < 0)
        return;
    if (DoSyncGpuWithCpu(static_cast<signed char>(method), 0))
        return;
    DoSyncGpuWithCpu(static_cast<signed char>(method), 1);
    DebugError(where, "Sync method %d failed", method);

    // A failing method is switched once, or turned off for the rest of the run.
    char try_other = eng_main_program->GetSyncWithGpuTryOther();
    if (try_other) {
        method = method == 0 ? 1 : 0;
        eng_main_program->SetSyncWithGpuMethod(1, method, try_other);
        DebugInfo("EngDeviceDX9::SyncWithGPU - Trying method %d ...", method);
        if (DoSyncGpuWithCpu(static_cast<signed char>(method), 0))
            return;
        DoSyncGpuWithCpu(static_cast<signed char>(method), 1);
        DebugError(where, "Sync method %d failed", method);
    }
    eng_main_program->SetSyncWithGpuMethod(0, -1, try_other);
}

bool EngDeviceDX9::DoSyncGpuWithCpu(signed char method, char cleanup)
{
    const char *where = "EngDeviceDX9::DoSyncGpuWithCpu";
    if (method < 0)
        method = sync_method_last;
    else
        sync_method_last = method;
    if (method == 0 && !DoSyncGpuWithCpuUsingLockedSurfaces(cleanup)) {
        DebugError(where, "DoSyncGpuWithCpuUsingLockedSurfaces() failed");
        return false;
    }
    if (method == 1 && !DoSyncGpuWithCpuUsingEvents(cleanup)) {
        DebugError(where, "DoSyncGpuWithCpuUsingEvents() failed");
        return false;
    }
    return true;
}

bool EngDeviceDX9::DoSyncGpuWithCpuUsingEvents(char cleanup)
{
    const char *where = "EngDeviceDX9::DoSyncGpuWithCpuUsingEvents";
    if (cleanup) {
        if (sync_query) {
            if (!eng_d3d_device)
                DebugError(where, "Could not cleanup as device not ok");
            sync_query->Release();
            sync_query = nullptr;
        }
        return true;
    }
    if (!eng_d3d_device)
        return false;
    if (!sync_query) {
        if (!EngUtilsDX9_CheckResult(where, "CreateQuery", eng_d3d_device->CreateQuery(D3DQUERYTYPE_EVENT, &sync_query)))
            return false;
        if (!sync_query) {
            DebugErrorCode(where, 'IERR');
            return false;
        }
    }
    if (!EngUtilsDX9_CheckResult(where, "Issue", sync_query->Issue(D3DISSUE_END))) {
        sync_query->Release();
        sync_query = nullptr;
        return false;
    }
    BOOL done = FALSE;
    while (sync_query->GetData(&done, sizeof(done), D3DGETDATA_FLUSH) == S_FALSE) {
    }
    return true;
}

bool EngDeviceDX9::DoSyncGpuWithCpuUsingLockedSurfaces(char cleanup)
{
    const char *where = "EngDeviceDX9::DoSyncGpuWithCpuUsingLockedSurfaces";
    if (cleanup) {
        ReleaseSyncSurfaces();
        return true;
    }
    if (!eng_d3d_device)
        return false;
    for (int i = 0; i < 2; i++) {
        if (sync_surfaces[i])
            continue;
        D3DFORMAT format = D3DFMT_UNKNOWN;
        bool made = EngUtilsDX9_GetSupportedSurfaceFormat(&format, 1) &&
                    EngUtilsDX9_CheckResult(where, "CreateOffscreenPlainSurface(1)",
                                            eng_d3d_device->CreateOffscreenPlainSurface(
                                                16, 16, format, D3DPOOL_DEFAULT, &sync_surfaces[i], nullptr));
        if (!made)
            made = EngUtilsDX9_GetSupportedSurfaceFormat(&format, 0) &&
                   EngUtilsDX9_CheckResult(where, "CreateOffscreenPlainSurface",
                                           eng_d3d_device->CreateOffscreenPlainSurface(
                                               16, 16, format, D3DPOOL_DEFAULT, &sync_surfaces[i], nullptr));
        if (!made) {
            ReleaseSyncSurfaces();
            DebugError(where, "Creation of surface %d failed", i);
            return false;
        }
    }
    // Fill one surface and read the other, filled a frame earlier: the read
    // waits for that fill, so the graphics processor is never more than a
    // frame behind.
    EngUtilsDX9_CheckResult(where, "ColorFill", eng_d3d_device->ColorFill(sync_surfaces[sync_surface_next], nullptr, 0));
    sync_surface_next = 1 - sync_surface_next;
    D3DLOCKED_RECT locked;
    if (sync_surfaces[sync_surface_next]->LockRect(&locked, nullptr, D3DLOCK_READONLY) == S_OK)
        sync_surfaces[sync_surface_next]->UnlockRect();
    return true;
}

void EngDeviceDX9ResetForTests()
{
    sync_method_last = -1;
    sync_surface_next = 0;
    EngDeviceDX9ResetRenderStateForTests();
}
