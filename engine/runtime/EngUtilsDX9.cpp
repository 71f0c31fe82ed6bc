#include "engine/runtime/EngUtilsDX9.h"
#include "engine/core/EngDebug.h"
#include "engine/core/EngMemory.h"
#include "engine/core/EngMisc.h"
#include "engine/runtime/EngDeviceDX9.h"

#include <cstdio>

namespace {

typedef IDirect3D9 *(*Direct3DCreate9Function)(UINT sdk_version);

// The own Direct3D object, apart from the device's.
IDirect3D9 *own_d3d = nullptr;
HMODULE own_library = nullptr;
Direct3DCreate9Function own_create = nullptr;
char own_created = 0;

struct FormatRow {
    D3DFORMAT format;
    int bits;
    char alpha;
};

const FormatRow FORMATS[] = {
    {D3DFMT_X8R8G8B8, 32, 0}, {D3DFMT_A8R8G8B8, 32, 1}, {D3DFMT_R5G6B5, 16, 0}, {D3DFMT_X1R5G5B5, 16, 0},
    {D3DFMT_A1R5G5B5, 16, 1}, {D3DFMT_X4R4G4B4, 16, 0}, {D3DFMT_A4R4G4B4, 16, 1}, {D3DFMT_R8G8B8, 24, 0},
};

struct ResultText {
    HRESULT result;
    const char *text;
};

#define OWN_NAME(code) {code, #code}

const ResultText RESULT_TEXTS[] = {
    OWN_NAME(D3DXFERR_BADOBJECT),
    OWN_NAME(D3DXFERR_BADVALUE),
    OWN_NAME(D3DXFERR_BADTYPE),
    OWN_NAME(D3DXFERR_NOTFOUND),
    OWN_NAME(D3DXFERR_NOTDONEYET),
    OWN_NAME(D3DXFERR_FILENOTFOUND),
    OWN_NAME(D3DXFERR_RESOURCENOTFOUND),
    OWN_NAME(D3DXFERR_BADRESOURCE),
    OWN_NAME(D3DXFERR_BADFILETYPE),
    OWN_NAME(D3DXFERR_BADFILEVERSION),
    OWN_NAME(D3DXFERR_BADFILEFLOATSIZE),
    OWN_NAME(D3DXFERR_BADFILE),
    OWN_NAME(D3DXFERR_PARSEERROR),
    OWN_NAME(D3DXFERR_BADARRAYSIZE),
    OWN_NAME(D3DXFERR_BADDATAREFERENCE),
    OWN_NAME(D3DXFERR_NOMOREOBJECTS),
    OWN_NAME(D3DXFERR_NOMOREDATA),
    OWN_NAME(D3DXFERR_BADCACHEFILE),
    {D3DOK_NOAUTOGEN,
     "This is a success code. However, the autogeneration of mipmaps is not supported for this format..."},
    {E_NOTIMPL, "Not implemented."},
    {E_NOINTERFACE, "No object interface is available."},
    {E_FAIL, "An undetermined error occurred inside the Direct3D subsystem."},
    {E_OUTOFMEMORY, "Direct3D could not allocate sufficient memory to complete the call."},
    {E_INVALIDARG, "An invalid parameter was passed to the returning function."},
    {D3DERR_OUTOFVIDEOMEMORY, "Direct3D does not have enough display memory to perform the operation."},
    {D3DERR_WASSTILLDRAWING,
     "The previous blit operation that is transferring information to or from this surface is incomplete."},
    {D3DERR_WRONGTEXTUREFORMAT, "The pixel format of the texture surface is not valid."},
    {D3DERR_UNSUPPORTEDCOLOROPERATION,
     "The device does not support a specified texture-blending operation for color values."},
    {D3DERR_UNSUPPORTEDCOLORARG, "The device does not support a specified texture-blending argument for color values."},
    {D3DERR_UNSUPPORTEDALPHAOPERATION,
     "The device does not support a specified texture-blending operation for the alpha channel."},
    {D3DERR_UNSUPPORTEDALPHAARG,
     "The device does not support a specified texture-blending argument for the alpha channel."},
    {D3DERR_TOOMANYOPERATIONS,
     "The application is requesting more texture-filtering operations than the device supports."},
    {D3DERR_CONFLICTINGTEXTUREFILTER, "The current texture filters cannot be used together."},
    {D3DERR_UNSUPPORTEDFACTORVALUE,
     "The device does not support the specified texture factor value. Not used; provided only to support older "
     "drivers."},
    {D3DERR_CONFLICTINGRENDERSTATE, "The currently set render states cannot be used together."},
    {D3DERR_UNSUPPORTEDTEXTUREFILTER, "The device does not support the specified texture filter."},
    {D3DERR_CONFLICTINGTEXTUREPALETTE, "The current textures cannot be used simultaneously."},
    {D3DERR_DRIVERINTERNALERROR,
     "Internal driver error. Applications should destroy and recreate the device when receiving this error."},
    {D3DERR_NOTFOUND, "The requested item was not found."},
    {D3DERR_MOREDATA, "There is more data available than the specified buffer size can hold."},
    {D3DERR_DEVICELOST, "The device has been lost but cannot be reset at this time. Therefore, rendering is not "
                        "possible."},
    {D3DERR_DEVICENOTRESET, "The device has been lost but can be reset at this time."},
    {D3DERR_NOTAVAILABLE, "This device does not support the queried technique."},
    {D3DERR_INVALIDDEVICE, "The requested device type is not valid."},
    {D3DERR_INVALIDCALL, "The method call is invalid."},
    {D3DERR_DRIVERINVALIDCALL, "Not used."},
    {D3DXERR_CANNOTMODIFYINDEXBUFFER, "The index buffer cannot be modified."},
    {D3DXERR_INVALIDMESH, "The mesh is invalid."},
    {D3DXERR_CANNOTATTRSORT, "Attribute sort (D3DXMESHOPT_ATTRSORT) is not supported as an optimization technique."},
    {D3DXERR_SKINNINGNOTSUPPORTED, "Skinning is not supported. "},
    {D3DXERR_TOOMANYINFLUENCES, "Too many influences specified. "},
    {D3DXERR_INVALIDDATA, "The data is invalid."},
    {D3DXERR_LOADEDMESHASNODATA, "The mesh has no data. "},
    {D3DXERR_DUPLICATENAMEDFRAGMENT, "A fragment with that name already exists."},
    {D3DXERR_CANNOTREMOVELASTITEM, "The last item cannot be deleted."},
};

#undef OWN_NAME

const FormatRow *FindFormat(D3DFORMAT format)
{
    for (const FormatRow &row : FORMATS)
        if (row.format == format)
            return &row;
    return nullptr;
}

// The first candidate the format table holds.
bool FindCandidate(const D3DFORMAT *candidates, int count, D3DFORMAT *format)
{
    for (int i = 0; i < count; i++)
        if (EngUtilsDX9_IsKnownFormat(candidates[i], nullptr, nullptr)) {
            *format = candidates[i];
            return true;
        }
    return false;
}

} // namespace

IDirect3D9 *EngUtilsDX9_CreateD3D(char show_popup)
{
    const char *where = "EngUtilsDX9_CreateD3D";
    if (own_created) {
        DebugError(where, "Already called");
        return own_d3d;
    }
    if (!own_library) {
        char path[261];
        UINT length = GetSystemDirectoryA(path, sizeof(path));
        if (length > 0 && length < sizeof(path)) {
            EngSafeStrcpy(path + length, "\\d3d9.dll", sizeof(path) - length);
            own_library = LoadLibraryA(path);
        }
        own_create = own_library ? reinterpret_cast<Direct3DCreate9Function>(GetProcAddress(own_library,
                                                                                            "Direct3DCreate9"))
                                 : nullptr;
        if (!own_create) {
            if (own_library)
                FreeLibrary(own_library);
            own_library = nullptr;
            if (show_popup)
                EngMiscShowPopupMessage(EMPT_ERROR, "DirectX 9 Not Detected",
                                        "DirectX version 9 or later does not appear to be installed on your "
                                        "system.\n\nTo get the latest version of Direct X, go to:\n\n");
            DebugError(where, "DirectX9 Not Installed");
            return nullptr;
        }
    }
    own_d3d = own_create(D3D_SDK_VERSION);
    if (!own_d3d) {
        own_d3d = own_create(31);
        if (own_d3d)
            DebugInfo("EngUtilsDX9_CreateD3D: Warning - Using DirectX version 9.0b (not 9.0c)");
    }
    if (!own_d3d) {
        DebugError(where, "Could not create d3d object");
        return nullptr;
    }
    own_created = 1;
    return own_d3d;
}

void EngUtilsDX9_ReleaseD3D()
{
    const char *where = "EngUtilsDX9_ReleaseD3D";
    if (!own_created) {
        DebugErrorCode(where, 'NOSU');
        return;
    }
    if (!own_d3d) {
        DebugError(where, "Created but NULL");
    } else {
        own_d3d->Release();
        own_d3d = nullptr;
        FreeLibrary(own_library);
        own_library = nullptr;
        own_create = nullptr;
    }
    own_created = 0;
}

bool EngUtilsDX9_GetTableFormat(int index, D3DFORMAT *format)
{
    if (index < 0 || index >= static_cast<int>(sizeof(FORMATS) / sizeof(FORMATS[0])))
        return false;
    *format = FORMATS[index].format;
    return true;
}

bool EngUtilsDX9_IsKnownFormat(D3DFORMAT format, int *bits, char *alpha)
{
    const FormatRow *row = FindFormat(format);
    if (!row)
        return false;
    if (bits)
        *bits = row->bits;
    if (alpha)
        *alpha = row->alpha;
    return true;
}

int EngUtilsDX9_GetBitdepthFromFormat(D3DFORMAT format, char *alpha, char report)
{
    int bits = 0;
    if (!EngUtilsDX9_IsKnownFormat(format, &bits, alpha)) {
        if (report)
            DebugError("EngUtilsDX9_GetBitdepthFromFormat", "Unrecognised format [%d]", format);
        return 0;
    }
    return bits;
}

bool EngUtilsDX9_GetSupportedSurfaceFormat(D3DFORMAT *format, char alpha)
{
    const char *where = "EngUtilsDX9_GetSupportedSurfaceFormat";
    if (!format || !eng_d3d_device)
        return false;
    const D3DFORMAT with_alpha[] = {D3DFMT_A8R8G8B8, D3DFMT_A1R5G5B5, D3DFMT_A4R4G4B4};
    const D3DFORMAT without_alpha[] = {D3DFMT_X8R8G8B8, D3DFMT_X1R5G5B5, D3DFMT_X4R4G4B4, D3DFMT_R5G6B5};
    if (alpha) {
        if (FindCandidate(with_alpha, 3, format))
            return true;
        DebugError(where, "Could not get alpha channel. Using non-alpha.");
        if (FindCandidate(without_alpha, 4, format))
            return true;
    } else {
        if (FindCandidate(without_alpha, 4, format))
            return true;
        DebugError(where, "Could not get non alpha channel. Trying alpha.");
        if (FindCandidate(with_alpha, 3, format))
            return true;
    }
    DebugError(where, "Could not get a format.");
    *format = D3DFMT_UNKNOWN;
    return false;
}

bool EngUtilsDX9_CheckResult(const char *place, const char *call, HRESULT result)
{
    if (result == S_OK)
        return true;
    const char *text = nullptr;
    for (const ResultText &known : RESULT_TEXTS)
        if (known.result == result)
            text = known.text;
    char unknown[64];
    if (!text) {
        snprintf(unknown, sizeof(unknown), "Unknown error <0x%x>", static_cast<unsigned>(result));
        text = unknown;
    }
    DebugError(place, "%s: %s", call, text);
    return false;
}
