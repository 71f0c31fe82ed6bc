#include "engine/runtime/DxutEnumeration.h"
#include "engine/core/EngDebug.h"
#include "engine/core/EngMemory.h"
#include "engine/core/EngMisc.h"
#include "engine/runtime/EngDeviceDX9.h"
#include "engine/runtime/EngUtilsDX9.h"
#include "platform/win32/Win32Display.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <strings.h>

_DxutEnumeration *dxut_enum = nullptr;

namespace {

const DWORD VERTEX_PROCESSING_FLAGS =
    D3DCREATE_SOFTWARE_VERTEXPROCESSING | D3DCREATE_HARDWARE_VERTEXPROCESSING | D3DCREATE_MIXED_VERTEXPROCESSING;

// Typed access to the lists' entries.
template <typename T> T *Entry(EngLinkedList *list, int index)
{
    return static_cast<T *>(list->GetElementData(index, static_cast<int>(sizeof(T))));
}

template <typename T> bool AddEntry(EngLinkedList *list, const T &value)
{
    return list->AddElement(&value, static_cast<int>(sizeof(T)), 0) >= 0;
}

template <typename T> bool HasEntry(EngLinkedList *list, const T &value)
{
    return list->DoesEntryDataExist(&value, static_cast<int>(sizeof(T)), nullptr);
}

bool HaveEnumeration(const char *where)
{
    if (dxut_enum)
        return true;
    DebugError(where, "No dxut_enum");
    return false;
}

bool HasHardwareProcessing(const D3DCAPS9 &caps)
{
    return (caps.DevCaps & D3DDEVCAPS_HWTRANSFORMANDLIGHT) != 0;
}

// --- Records and their lists ---

void FreeComboLists(_DxutEnumDeviceSettingsCombo *combo)
{
    EngLinkedList **lists[] = {&combo->m_depth_stencil_formats, &combo->m_multisample_types,
                               &combo->m_multisample_qualities, &combo->m_present_intervals,
                               &combo->m_ds_ms_conflicts};
    for (EngLinkedList **list : lists) {
        delete *list;
        *list = nullptr;
    }
}

bool MakeComboLists(_DxutEnumDeviceSettingsCombo *combo)
{
    EngLinkedList **lists[] = {&combo->m_depth_stencil_formats, &combo->m_multisample_types,
                               &combo->m_multisample_qualities, &combo->m_present_intervals,
                               &combo->m_ds_ms_conflicts};
    for (EngLinkedList **list : lists) {
        *list = new (std::nothrow) EngLinkedList();
        if (!*list) {
            FreeComboLists(combo);
            return false;
        }
    }
    return true;
}

void ReleaseDeviceInfoContents(_DxutEnumDeviceInfo *device)
{
    if (!device->m_settings_combos)
        return;
    int count = device->m_settings_combos->GetNumElements();
    for (int i = 0; i < count; i++) {
        _DxutEnumDeviceSettingsCombo *combo = Entry<_DxutEnumDeviceSettingsCombo>(device->m_settings_combos, i);
        if (combo)
            FreeComboLists(combo);
    }
    delete device->m_settings_combos;
    device->m_settings_combos = nullptr;
}

void FreeDeviceInfo(_DxutEnumDeviceInfo *device)
{
    ReleaseDeviceInfoContents(device);
    EngFree(device, 1, "DxutEnumerationEnumerateDevices");
}

void ReleaseAdapterInfoContents(_DxutEnumAdapterInfo *adapter)
{
    delete adapter->m_display_modes;
    adapter->m_display_modes = nullptr;
    if (!adapter->m_device_infos)
        return;
    int count = adapter->m_device_infos->GetNumElements();
    for (int i = 0; i < count; i++) {
        _DxutEnumDeviceInfo *device = Entry<_DxutEnumDeviceInfo>(adapter->m_device_infos, i);
        if (device)
            ReleaseDeviceInfoContents(device);
    }
    delete adapter->m_device_infos;
    adapter->m_device_infos = nullptr;
}

void FreeAdapterInfo(_DxutEnumAdapterInfo *adapter)
{
    ReleaseAdapterInfoContents(adapter);
    EngFree(adapter, 1, "DxutEnumerationDoEnumerate");
}

_DxutEnumAdapterInfo *NewAdapterInfo(UINT ordinal)
{
    auto *adapter = static_cast<_DxutEnumAdapterInfo *>(
        EngMalloc(sizeof(_DxutEnumAdapterInfo), "DxutEnumerationDoEnumerate", 1));
    if (!adapter)
        return nullptr;
    adapter->m_adapter_ordinal = ordinal;
    adapter->m_display_modes = new (std::nothrow) EngLinkedList();
    adapter->m_device_infos = new (std::nothrow) EngLinkedList();
    if (!adapter->m_display_modes || !adapter->m_device_infos) {
        FreeAdapterInfo(adapter);
        return nullptr;
    }
    return adapter;
}

// --- The possible values ---

void SetPossibleVertexProcessingList(char software, char hardware, char pure_hardware, char mixed)
{
    dxut_enum->m_vertex_processing[0] = software;
    dxut_enum->m_vertex_processing[1] = hardware;
    dxut_enum->m_vertex_processing[2] = pure_hardware;
    dxut_enum->m_vertex_processing[3] = mixed;
}

void ResetPossibleDepthStencilFormats()
{
    EngLinkedList &list = dxut_enum->m_depth_stencil_possible;
    list.ReleaseAll();
    for (D3DFORMAT format : {D3DFMT_D16, D3DFMT_D15S1, D3DFMT_D24X8, D3DFMT_D24S8, D3DFMT_D24X4S4, D3DFMT_D32})
        AddEntry(&list, format);
}

void ResetPossibleMultisampleTypeList()
{
    EngLinkedList &list = dxut_enum->m_multisample_type_possible;
    list.ReleaseAll();
    for (int type = 0; type <= 16; type++)
        AddEntry(&list, static_cast<D3DMULTISAMPLE_TYPE>(type));
}

void ResetPossiblePresentIntervalList()
{
    EngLinkedList &list = dxut_enum->m_present_interval_possible;
    list.ReleaseAll();
    for (UINT interval : {D3DPRESENT_INTERVAL_IMMEDIATE, D3DPRESENT_INTERVAL_DEFAULT, D3DPRESENT_INTERVAL_ONE,
                          D3DPRESENT_INTERVAL_TWO, D3DPRESENT_INTERVAL_THREE, D3DPRESENT_INTERVAL_FOUR})
        AddEntry(&list, interval);
}

// --- Enumeration ---

int CompareDisplayModes(const void *a, const void *b)
{
    const D3DDISPLAYMODE *first = static_cast<const D3DDISPLAYMODE *>(a);
    const D3DDISPLAYMODE *second = static_cast<const D3DDISPLAYMODE *>(b);
    if (first->Width != second->Width)
        return first->Width < second->Width ? -1 : 1;
    if (first->Height != second->Height)
        return first->Height < second->Height ? -1 : 1;
    if (first->Format != second->Format)
        return first->Format < second->Format ? -1 : 1;
    if (first->RefreshRate != second->RefreshRate)
        return first->RefreshRate < second->RefreshRate ? -1 : 1;
    return 0;
}

bool IsWithinLimits(const D3DDISPLAYMODE &mode)
{
    const _DxutEnumeration *e = dxut_enum;
    return mode.Width >= e->m_min_width && mode.Width <= e->m_max_width && mode.Height >= e->m_min_height &&
           mode.Height <= e->m_max_height &&
           (mode.RefreshRate == 0 || (mode.RefreshRate >= e->m_min_refresh && mode.RefreshRate <= e->m_max_refresh));
}

// The adapter's modes in the engine's formats, and the formats it shows
// (those of its modes, then its desktop's).
void ListDisplayModes(_DxutEnumAdapterInfo *adapter, EngLinkedList *adapter_formats)
{
    IDirect3D9 *d3d = dxut_enum->m_d3d;
    UINT ordinal = adapter->m_adapter_ordinal;
    D3DFORMAT format;
    for (int f = 0; EngUtilsDX9_GetTableFormat(f, &format); f++) {
        UINT count = d3d->GetAdapterModeCount(ordinal, format);
        for (UINT m = 0; m < count; m++) {
            D3DDISPLAYMODE mode;
            if (FAILED(d3d->EnumAdapterModes(ordinal, format, m, &mode)) || !IsWithinLimits(mode))
                continue;
            AddEntry(adapter->m_display_modes, mode);
            if (!HasEntry(adapter_formats, mode.Format))
                AddEntry(adapter_formats, mode.Format);
        }
    }
    D3DDISPLAYMODE desktop;
    if (EngUtilsDX9_CheckResult("DxutEnumerationDoEnumerate", "GetAdapterDisplayMode",
                                d3d->GetAdapterDisplayMode(ordinal, &desktop)) &&
        !HasEntry(adapter_formats, desktop.Format))
        AddEntry(adapter_formats, desktop.Format);
}

void SortDisplayModes(EngLinkedList *modes)
{
    const char *where = "DxutEnumerationDoEnumerate";
    int count = modes->GetNumElements();
    if (count < 2)
        return;
    auto *sorted = static_cast<D3DDISPLAYMODE *>(
        EngMalloc(static_cast<unsigned>(sizeof(D3DDISPLAYMODE) * count), where, 0));
    if (!sorted) {
        DebugError(where, "no memory to sort modes");
        return;
    }
    bool copied = true;
    for (int i = 0; i < count && copied; i++)
        copied = modes->CopyElementData(i, sizeof(D3DDISPLAYMODE), &sorted[i]);
    if (copied) {
        std::qsort(sorted, static_cast<size_t>(count), sizeof(D3DDISPLAYMODE), CompareDisplayModes);
        for (int i = 0; i < count && copied; i++)
            copied = modes->OverwriteData(i, &sorted[i], sizeof(D3DDISPLAYMODE));
    }
    if (!copied)
        DebugError(where, "could not sort modes");
    EngFree(sorted, 1, where);
}

void BuildDepthStencilFormatList(_DxutEnumDeviceSettingsCombo *combo)
{
    IDirect3D9 *d3d = dxut_enum->m_d3d;
    EngLinkedList *possible = &dxut_enum->m_depth_stencil_possible;
    int count = possible->GetNumElements();
    for (int i = 0; i < count; i++) {
        D3DFORMAT *format = Entry<D3DFORMAT>(possible, i);
        if (format &&
            SUCCEEDED(d3d->CheckDeviceFormat(combo->m_adapter_ordinal, combo->m_device_type, combo->m_adapter_format,
                                             D3DUSAGE_DEPTHSTENCIL, D3DRTYPE_SURFACE, *format)) &&
            SUCCEEDED(d3d->CheckDepthStencilMatch(combo->m_adapter_ordinal, combo->m_device_type,
                                                  combo->m_adapter_format, combo->m_back_buffer_format, *format)))
            AddEntry(combo->m_depth_stencil_formats, *format);
    }
}

void BuildMultiSampleTypeList(_DxutEnumDeviceSettingsCombo *combo)
{
    IDirect3D9 *d3d = dxut_enum->m_d3d;
    EngLinkedList *possible = &dxut_enum->m_multisample_type_possible;
    int count = possible->GetNumElements();
    for (int i = 0; i < count; i++) {
        D3DMULTISAMPLE_TYPE *type = Entry<D3DMULTISAMPLE_TYPE>(possible, i);
        DWORD levels = 0;
        if (!type || FAILED(d3d->CheckDeviceMultiSampleType(combo->m_adapter_ordinal, combo->m_device_type,
                                                             combo->m_back_buffer_format, combo->m_windowed, *type,
                                                             &levels)))
            continue;
        levels = std::min<DWORD>(levels, dxut_enum->m_max_multisample_quality + 1);
        AddEntry(combo->m_multisample_types, *type);
        AddEntry(combo->m_multisample_qualities, levels);
    }
}

void BuildDSMSConflictList(_DxutEnumDeviceSettingsCombo *combo)
{
    IDirect3D9 *d3d = dxut_enum->m_d3d;
    int formats = combo->m_depth_stencil_formats->GetNumElements();
    int types = combo->m_multisample_types->GetNumElements();
    for (int f = 0; f < formats; f++) {
        D3DFORMAT *format = Entry<D3DFORMAT>(combo->m_depth_stencil_formats, f);
        for (int t = 0; format && t < types; t++) {
            D3DMULTISAMPLE_TYPE *type = Entry<D3DMULTISAMPLE_TYPE>(combo->m_multisample_types, t);
            if (type && FAILED(d3d->CheckDeviceMultiSampleType(combo->m_adapter_ordinal, combo->m_device_type,
                                                                *format, combo->m_windowed, *type, nullptr)))
                AddEntry(combo->m_ds_ms_conflicts, _DxutEnumDSMSConflict{*format, *type});
        }
    }
}

void BuildPresentIntervalList(const _DxutEnumDeviceInfo *device, _DxutEnumDeviceSettingsCombo *combo)
{
    EngLinkedList *possible = &dxut_enum->m_present_interval_possible;
    int count = possible->GetNumElements();
    for (int i = 0; i < count; i++) {
        UINT *interval = Entry<UINT>(possible, i);
        if (!interval)
            continue;
        // A window is shown at most at every refresh.
        if (combo->m_windowed && (*interval == D3DPRESENT_INTERVAL_TWO || *interval == D3DPRESENT_INTERVAL_THREE ||
                                  *interval == D3DPRESENT_INTERVAL_FOUR))
            continue;
        if (*interval == D3DPRESENT_INTERVAL_DEFAULT || (device->m_caps.PresentationIntervals & *interval))
            AddEntry(combo->m_present_intervals, *interval);
    }
}

HRESULT EnumerateSettingsCombos(_DxutEnumAdapterInfo *adapter, _DxutEnumDeviceInfo *device,
                                EngLinkedList *adapter_formats)
{
    const D3DFORMAT back_buffer_formats[] = {D3DFMT_R8G8B8,   D3DFMT_A8R8G8B8, D3DFMT_X8R8G8B8, D3DFMT_R5G6B5,
                                             D3DFMT_X1R5G5B5, D3DFMT_A1R5G5B5, D3DFMT_A4R4G4B4, D3DFMT_X4R4G4B4};
    IDirect3D9 *d3d = dxut_enum->m_d3d;
    UINT ordinal = adapter->m_adapter_ordinal;
    bool has_modes = adapter->m_display_modes->GetNumElements() > 0;
    int format_count = adapter_formats->GetNumElements();
    for (int f = 0; f < format_count; f++) {
        D3DFORMAT *adapter_format = Entry<D3DFORMAT>(adapter_formats, f);
        for (int b = 0; adapter_format && b < 8; b++) {
            D3DFORMAT back_buffer_format = back_buffer_formats[b];
            for (char windowed = 0; windowed < 2; windowed++) {
                if (!windowed && !has_modes)
                    continue;
                if (FAILED(d3d->CheckDeviceType(ordinal, device->m_device_type, *adapter_format, back_buffer_format,
                                                windowed)))
                    continue;
                if (dxut_enum->m_require_blending &&
                    FAILED(d3d->CheckDeviceFormat(ordinal, device->m_device_type, *adapter_format,
                                                  D3DUSAGE_QUERY_POSTPIXELSHADER_BLENDING, D3DRTYPE_TEXTURE,
                                                  back_buffer_format)))
                    continue;
                if (dxut_enum->m_is_device_acceptable &&
                    !dxut_enum->m_is_device_acceptable(&device->m_caps, *adapter_format, back_buffer_format, windowed))
                    continue;

                _DxutEnumDeviceSettingsCombo combo = {};
                combo.m_adapter_ordinal = ordinal;
                combo.m_device_type = device->m_device_type;
                combo.m_adapter_format = *adapter_format;
                combo.m_back_buffer_format = back_buffer_format;
                combo.m_windowed = windowed;
                combo.m_adapter_info = adapter;
                combo.m_device_info = device;
                if (!MakeComboLists(&combo))
                    return E_OUTOFMEMORY;
                BuildDepthStencilFormatList(&combo);
                BuildMultiSampleTypeList(&combo);
                if (combo.m_multisample_types->GetNumElements() == 0) {
                    FreeComboLists(&combo);
                    continue;
                }
                BuildDSMSConflictList(&combo);
                BuildPresentIntervalList(device, &combo);
                // The copy in the list owns the combination's lists.
                if (!AddEntry(device->m_settings_combos, combo)) {
                    FreeComboLists(&combo);
                    return E_OUTOFMEMORY;
                }
            }
        }
    }
    return S_OK;
}

HRESULT EnumerateDevices(_DxutEnumAdapterInfo *adapter, EngLinkedList *adapter_formats)
{
    const char *where = "DxutEnumerationEnumerateDevices";
    const D3DDEVTYPE device_types[] = {D3DDEVTYPE_HAL, D3DDEVTYPE_SW, D3DDEVTYPE_REF};
    for (D3DDEVTYPE type : device_types) {
        auto *device = static_cast<_DxutEnumDeviceInfo *>(EngMalloc(sizeof(_DxutEnumDeviceInfo), where, 1));
        if (!device)
            return E_OUTOFMEMORY;
        device->m_settings_combos = new (std::nothrow) EngLinkedList();
        if (!device->m_settings_combos) {
            FreeDeviceInfo(device);
            return E_OUTOFMEMORY;
        }
        device->m_adapter_ordinal = adapter->m_adapter_ordinal;
        device->m_device_type = type;
        if (FAILED(dxut_enum->m_d3d->GetDeviceCaps(adapter->m_adapter_ordinal, type, &device->m_caps)) ||
            FAILED(EnumerateSettingsCombos(adapter, device, adapter_formats)) ||
            device->m_settings_combos->GetNumElements() == 0) {
            FreeDeviceInfo(device);
            continue;
        }
        if (!device->m_settings_combos->IsListOk()) {
            DebugError(where, "Device list not ok");
            FreeDeviceInfo(device);
            return E_FAIL;
        }
        void *block = device;
        if (adapter->m_device_infos->AddElementPointer(&block, sizeof(_DxutEnumDeviceInfo), 0) < 0) {
            FreeDeviceInfo(device);
            return E_OUTOFMEMORY;
        }
    }
    return S_OK;
}

// Adapters sharing a description are told apart by their ordinals.
void MakeUniqueDescriptions()
{
    EngLinkedList *adapters = &dxut_enum->m_adapters;
    int count = adapters->GetNumElements();
    bool shared = false;
    for (int i = 0; i < count && !shared; i++) {
        _DxutEnumAdapterInfo *first = Entry<_DxutEnumAdapterInfo>(adapters, i);
        for (int j = i + 1; first && j < count && !shared; j++) {
            _DxutEnumAdapterInfo *second = Entry<_DxutEnumAdapterInfo>(adapters, j);
            shared = second && strcasecmp(first->m_identifier.Description, second->m_identifier.Description) == 0;
        }
    }
    for (int i = 0; i < count; i++) {
        _DxutEnumAdapterInfo *adapter = Entry<_DxutEnumAdapterInfo>(adapters, i);
        if (!adapter)
            continue;
        if (shared)
            snprintf(adapter->m_unique_description, sizeof(adapter->m_unique_description), "%s (#%u)",
                     adapter->m_identifier.Description, adapter->m_adapter_ordinal);
        else
            EngSafeStrcpy(adapter->m_unique_description, adapter->m_identifier.Description,
                          sizeof(adapter->m_unique_description));
    }
}

// --- The search ---

bool HasDisplayMode(_DxutEnumAdapterInfo *adapter, D3DFORMAT format, UINT width, UINT height)
{
    int count = adapter->m_display_modes->GetNumElements();
    for (int i = 0; i < count; i++) {
        D3DDISPLAYMODE *mode = Entry<D3DDISPLAYMODE>(adapter->m_display_modes, i);
        if (mode && mode->Format == format && mode->Width == width && mode->Height == height)
            return true;
    }
    return false;
}

bool HasRefreshRate(_DxutEnumAdapterInfo *adapter, D3DFORMAT format, UINT refresh_rate)
{
    int count = adapter->m_display_modes->GetNumElements();
    for (int i = 0; i < count; i++) {
        D3DDISPLAYMODE *mode = Entry<D3DDISPLAYMODE>(adapter->m_display_modes, i);
        if (mode && mode->Format == format && mode->RefreshRate == refresh_rate)
            return true;
    }
    return false;
}

// A quality-level count covers the qualities 0 to count - 1.
bool HasMultisample(const _DxutEnumDeviceSettingsCombo *combo, D3DMULTISAMPLE_TYPE type, DWORD quality)
{
    int count = combo->m_multisample_types->GetNumElements();
    for (int i = 0; i < count; i++) {
        D3DMULTISAMPLE_TYPE *listed = Entry<D3DMULTISAMPLE_TYPE>(combo->m_multisample_types, i);
        DWORD *levels = Entry<DWORD>(combo->m_multisample_qualities, i);
        if (listed && levels && *listed == type && *levels > quality)
            return true;
    }
    return false;
}

bool HasDepthStencilBits(const _DxutEnumDeviceSettingsCombo *combo, int (*bits_of)(D3DFORMAT), int bits)
{
    int count = combo->m_depth_stencil_formats->GetNumElements();
    for (int i = 0; i < count; i++) {
        D3DFORMAT *format = Entry<D3DFORMAT>(combo->m_depth_stencil_formats, i);
        if (format && bits_of(*format) == bits)
            return true;
    }
    return false;
}

float FormatScore(D3DFORMAT format, D3DFORMAT ideal)
{
    if (format == ideal)
        return 1.0f;
    int difference = std::abs(DxutEnumerationFormatChannelBits(format) - DxutEnumerationFormatChannelBits(ideal));
    return std::max(0.0f, 0.9f - 0.2f * static_cast<float>(difference));
}

D3DDISPLAYMODE DesktopMode(UINT adapter_ordinal, const char *where)
{
    D3DDISPLAYMODE desktop = {};
    if (!EngUtilsDX9_CheckResult(where, "GetAdapterDisplayMode",
                                 dxut_enum->m_d3d->GetAdapterDisplayMode(adapter_ordinal, &desktop)))
        desktop = D3DDISPLAYMODE();
    return desktop;
}

void DXUTMakeIdealSettings(const _DXUTDeviceSettings *in, const _DXUTMatchOptions *options,
                           _DXUTDeviceSettings *ideal)
{
    *ideal = _DXUTDeviceSettings();
    D3DPRESENT_PARAMETERS &pp = ideal->pp;
    ideal->AdapterOrdinal = options->m_adapter_ordinal != DXUT_MATCH_IGNORE ? in->AdapterOrdinal : 0;
    ideal->DeviceType = options->m_device_type != DXUT_MATCH_IGNORE ? in->DeviceType : D3DDEVTYPE_HAL;
    pp.Windowed = options->m_windowed != DXUT_MATCH_IGNORE ? in->pp.Windowed : TRUE;

    D3DDISPLAYMODE desktop = DesktopMode(ideal->AdapterOrdinal, "DXUTMakeIdealSettings");
    if (options->m_adapter_format != DXUT_MATCH_IGNORE)
        ideal->AdapterFormat = in->AdapterFormat;
    else if (pp.Windowed || DxutEnumerationFormatChannelBits(desktop.Format) >= 8)
        ideal->AdapterFormat = desktop.Format;
    else
        ideal->AdapterFormat = D3DFMT_X8R8G8B8;

    ideal->BehaviorFlags = options->m_vertex_processing != DXUT_MATCH_IGNORE ? in->BehaviorFlags
                                                                              : D3DCREATE_HARDWARE_VERTEXPROCESSING;
    if (options->m_resolution != DXUT_MATCH_IGNORE) {
        pp.BackBufferWidth = in->pp.BackBufferWidth;
        pp.BackBufferHeight = in->pp.BackBufferHeight;
    } else if (pp.Windowed) {
        pp.BackBufferWidth = 640;
        pp.BackBufferHeight = 480;
    } else {
        pp.BackBufferWidth = desktop.Width;
        pp.BackBufferHeight = desktop.Height;
    }
    pp.BackBufferFormat =
        options->m_back_buffer_format != DXUT_MATCH_IGNORE ? in->pp.BackBufferFormat : ideal->AdapterFormat;
    pp.BackBufferCount = options->m_back_buffer_count != DXUT_MATCH_IGNORE ? in->pp.BackBufferCount : 1;
    if (options->m_multisample != DXUT_MATCH_IGNORE) {
        pp.MultiSampleType = in->pp.MultiSampleType;
        pp.MultiSampleQuality = in->pp.MultiSampleQuality;
    }
    pp.SwapEffect = options->m_swap_effect != DXUT_MATCH_IGNORE ? in->pp.SwapEffect : D3DSWAPEFFECT_DISCARD;
    if (options->m_depth_format != DXUT_MATCH_IGNORE || options->m_stencil_format != DXUT_MATCH_IGNORE)
        pp.AutoDepthStencilFormat = in->pp.AutoDepthStencilFormat;
    else
        pp.AutoDepthStencilFormat =
            DxutEnumerationFormatChannelBits(pp.BackBufferFormat) >= 8 ? D3DFMT_D32 : D3DFMT_D16;
    pp.Flags = options->m_present_flags != DXUT_MATCH_IGNORE ? in->pp.Flags : D3DPRESENTFLAG_DISCARD_DEPTHSTENCIL;
    pp.FullScreen_RefreshRateInHz = options->m_refresh_rate != DXUT_MATCH_IGNORE ? in->pp.FullScreen_RefreshRateInHz : 0;
    if (options->m_present_interval != DXUT_MATCH_IGNORE)
        pp.PresentationInterval = in->pp.PresentationInterval;
    else
        pp.PresentationInterval = pp.Windowed ? D3DPRESENT_INTERVAL_IMMEDIATE : D3DPRESENT_INTERVAL_DEFAULT;
}

bool DXUTComboKeepsPreservedSettings(const _DxutEnumDeviceSettingsCombo *combo, const _DXUTDeviceSettings *in,
                                     const _DXUTMatchOptions *options)
{
    const D3DPRESENT_PARAMETERS &pp = in->pp;
    _DxutEnumAdapterInfo *adapter = combo->m_adapter_info;
    if (options->m_adapter_ordinal == DXUT_MATCH_PRESERVE && combo->m_adapter_ordinal != in->AdapterOrdinal)
        return false;
    if (options->m_device_type == DXUT_MATCH_PRESERVE && combo->m_device_type != in->DeviceType)
        return false;
    if (options->m_windowed == DXUT_MATCH_PRESERVE && (combo->m_windowed != 0) != (pp.Windowed != 0))
        return false;
    if (options->m_adapter_format == DXUT_MATCH_PRESERVE && combo->m_adapter_format != in->AdapterFormat)
        return false;
    if (options->m_vertex_processing == DXUT_MATCH_PRESERVE &&
        (in->BehaviorFlags & D3DCREATE_HARDWARE_VERTEXPROCESSING) && !HasHardwareProcessing(combo->m_device_info->m_caps))
        return false;
    if (options->m_resolution == DXUT_MATCH_PRESERVE &&
        !HasDisplayMode(adapter, combo->m_adapter_format, pp.BackBufferWidth, pp.BackBufferHeight))
        return false;
    if (options->m_back_buffer_format == DXUT_MATCH_PRESERVE && combo->m_back_buffer_format != pp.BackBufferFormat)
        return false;
    if (options->m_multisample == DXUT_MATCH_PRESERVE &&
        !HasMultisample(combo, pp.MultiSampleType, pp.MultiSampleQuality))
        return false;
    bool depth = options->m_depth_format == DXUT_MATCH_PRESERVE;
    bool stencil = options->m_stencil_format == DXUT_MATCH_PRESERVE;
    if (depth && stencil && !HasEntry(combo->m_depth_stencil_formats, pp.AutoDepthStencilFormat))
        return false;
    if (depth && !stencil &&
        !HasDepthStencilBits(combo, DxutEnumerationFormatDepthBits,
                             DxutEnumerationFormatDepthBits(pp.AutoDepthStencilFormat)))
        return false;
    if (stencil && !depth &&
        !HasDepthStencilBits(combo, DxutEnumerationFormatStencilBits,
                             DxutEnumerationFormatStencilBits(pp.AutoDepthStencilFormat)))
        return false;
    if (options->m_refresh_rate == DXUT_MATCH_PRESERVE &&
        !HasRefreshRate(adapter, combo->m_adapter_format, pp.FullScreen_RefreshRateInHz))
        return false;
    if (options->m_present_interval == DXUT_MATCH_PRESERVE &&
        !HasEntry(combo->m_present_intervals, pp.PresentationInterval))
        return false;
    return true;
}

float DXUTScoreSettingsCombo(const _DxutEnumDeviceSettingsCombo *combo, const _DXUTDeviceSettings *ideal,
                             const D3DDISPLAYMODE *desktop)
{
    const D3DPRESENT_PARAMETERS &pp = ideal->pp;
    _DxutEnumAdapterInfo *adapter = combo->m_adapter_info;
    float score = 0.0f;
    if (combo->m_adapter_ordinal == ideal->AdapterOrdinal)
        score += 1000.0f;
    if (combo->m_device_type == ideal->DeviceType)
        score += 100.0f;
    if (combo->m_device_type == D3DDEVTYPE_HAL)
        score += 0.1f;
    if ((combo->m_windowed != 0) == (pp.Windowed != 0))
        score += 10.0f;

    score += FormatScore(combo->m_adapter_format, ideal->AdapterFormat);
    if (!combo->m_windowed) {
        D3DFORMAT desktop_like =
            DxutEnumerationFormatChannelBits(desktop->Format) >= 8 ? desktop->Format : D3DFMT_X8R8G8B8;
        if (combo->m_adapter_format == desktop_like)
            score += 0.1f;
    }

    bool hardware = HasHardwareProcessing(combo->m_device_info->m_caps);
    if (hardware &&
        (ideal->BehaviorFlags & (D3DCREATE_HARDWARE_VERTEXPROCESSING | D3DCREATE_MIXED_VERTEXPROCESSING)))
        score += 1.0f;
    if (hardware)
        score += 0.1f;

    if (HasDisplayMode(adapter, combo->m_adapter_format, pp.BackBufferWidth, pp.BackBufferHeight))
        score += 1.0f;

    score += FormatScore(combo->m_back_buffer_format, pp.BackBufferFormat);
    if (combo->m_back_buffer_format == combo->m_adapter_format)
        score += 0.1f;

    if (HasMultisample(combo, pp.MultiSampleType, pp.MultiSampleQuality))
        score += 1.0f;
    if (HasEntry(combo->m_depth_stencil_formats, pp.AutoDepthStencilFormat))
        score += 1.0f;
    if (HasRefreshRate(adapter, combo->m_adapter_format, pp.FullScreen_RefreshRateInHz))
        score += 1.0f;
    if (HasEntry(combo->m_present_intervals, pp.PresentationInterval))
        score += 1.0f;
    return score;
}

// A window is no larger than the desktop; full screen takes the display
// mode nearest the size, or the size itself when the format has no mode.
void DXUTPickResolution(const _DxutEnumDeviceSettingsCombo *combo, UINT *width, UINT *height)
{
    _DxutEnumAdapterInfo *adapter = combo->m_adapter_info;
    if (combo->m_windowed) {
        DEVMODEA desktop;
        if (EnumDisplaySettingsA(adapter->m_identifier.DeviceName, ENUM_REGISTRY_SETTINGS, &desktop)) {
            *width = std::min<UINT>(*width, desktop.dmPelsWidth);
            *height = std::min<UINT>(*height, desktop.dmPelsHeight);
        }
        return;
    }
    long best = 100000;
    const D3DDISPLAYMODE *nearest = nullptr;
    int count = adapter->m_display_modes->GetNumElements();
    for (int i = 0; i < count && best > 0; i++) {
        const D3DDISPLAYMODE *mode = Entry<D3DDISPLAYMODE>(adapter->m_display_modes, i);
        if (!mode || mode->Format != combo->m_adapter_format)
            continue;
        long distance = std::labs(static_cast<long>(mode->Width) - static_cast<long>(*width)) +
                        std::labs(static_cast<long>(mode->Height) - static_cast<long>(*height));
        if (distance < best) {
            best = distance;
            nearest = mode;
        }
    }
    if (nearest) {
        *width = nearest->Width;
        *height = nearest->Height;
    }
}

DWORD PickBehaviourFlags(const _DxutEnumDeviceSettingsCombo *combo, DWORD wanted, int match)
{
    bool hardware = HasHardwareProcessing(combo->m_device_info->m_caps);
    if (match == DXUT_MATCH_PRESERVE)
        return wanted;
    if (match != DXUT_MATCH_CLOSEST)
        return hardware ? D3DCREATE_HARDWARE_VERTEXPROCESSING : D3DCREATE_SOFTWARE_VERTEXPROCESSING;
    DWORD flags = wanted;
    if (!hardware && (flags & (D3DCREATE_HARDWARE_VERTEXPROCESSING | D3DCREATE_MIXED_VERTEXPROCESSING))) {
        flags &= ~(D3DCREATE_HARDWARE_VERTEXPROCESSING | D3DCREATE_MIXED_VERTEXPROCESSING);
        flags |= D3DCREATE_SOFTWARE_VERTEXPROCESSING;
    } else if (!(flags & VERTEX_PROCESSING_FLAGS)) {
        flags |= hardware ? D3DCREATE_HARDWARE_VERTEXPROCESSING : D3DCREATE_SOFTWARE_VERTEXPROCESSING;
    }
    return flags;
}

void PickMultisample(const _DxutEnumDeviceSettingsCombo *combo, const D3DPRESENT_PARAMETERS &wanted, int match,
                     D3DPRESENT_PARAMETERS *pp)
{
    pp->MultiSampleType = D3DMULTISAMPLE_NONE;
    pp->MultiSampleQuality = 0;
    // Only a discarding swap chain can be multisampled.
    if (wanted.SwapEffect != D3DSWAPEFFECT_DISCARD)
        return;
    if (match == DXUT_MATCH_PRESERVE) {
        pp->MultiSampleType = wanted.MultiSampleType;
        pp->MultiSampleQuality = wanted.MultiSampleQuality;
        return;
    }
    if (match != DXUT_MATCH_CLOSEST)
        return;
    int best = INT_MAX;
    int count = combo->m_multisample_types->GetNumElements();
    for (int i = 0; i < count; i++) {
        D3DMULTISAMPLE_TYPE *type = Entry<D3DMULTISAMPLE_TYPE>(combo->m_multisample_types, i);
        DWORD *levels = Entry<DWORD>(combo->m_multisample_qualities, i);
        if (!type || !levels)
            continue;
        int distance = std::abs(static_cast<int>(*type) - static_cast<int>(wanted.MultiSampleType));
        if (distance < best) {
            best = distance;
            pp->MultiSampleType = *type;
            pp->MultiSampleQuality = std::min<DWORD>(*levels > 0 ? *levels - 1 : 0, wanted.MultiSampleQuality);
        }
    }
}

// The combination's depth-stencil format nearest what is wanted, or
// D3DFMT_UNKNOWN when it has none.
D3DFORMAT PickDepthStencilFormat(const _DxutEnumDeviceSettingsCombo *combo, D3DFORMAT wanted,
                                 const _DXUTMatchOptions *options)
{
    int back_buffer_bits = DxutEnumerationFormatChannelBits(combo->m_back_buffer_format);
    int wanted_depth = DxutEnumerationFormatDepthBits(wanted);
    int wanted_stencil = DxutEnumerationFormatStencilBits(wanted);
    D3DFORMAT chosen = D3DFMT_UNKNOWN;
    int best = INT_MAX;
    int count = combo->m_depth_stencil_formats->GetNumElements();
    for (int i = 0; i < count; i++) {
        D3DFORMAT *format = Entry<D3DFORMAT>(combo->m_depth_stencil_formats, i);
        if (!format)
            continue;
        int depth = DxutEnumerationFormatDepthBits(*format);
        int stencil = DxutEnumerationFormatStencilBits(*format);
        int score;
        if (options->m_depth_format == DXUT_MATCH_PRESERVE)
            score = depth == wanted_depth ? 0 : 10000;
        else if (options->m_depth_format == DXUT_MATCH_CLOSEST)
            score = std::abs(depth - wanted_depth);
        else
            score = std::abs(depth - 4 * back_buffer_bits);
        if (options->m_stencil_format == DXUT_MATCH_PRESERVE)
            score += stencil == wanted_stencil ? 0 : 10000;
        else if (options->m_stencil_format == DXUT_MATCH_CLOSEST)
            score += std::abs(stencil - wanted_stencil);
        else
            score += stencil;
        if (score < best) {
            best = score;
            chosen = *format;
        }
    }
    return chosen;
}

// The refresh rate of the display mode of the chosen size nearest the
// target; 0 (the display's own) for a target of 0 or no such mode.
UINT PickRefreshRate(const _DxutEnumDeviceSettingsCombo *combo, const D3DPRESENT_PARAMETERS &pp, UINT target)
{
    if (target == 0)
        return 0;
    _DxutEnumAdapterInfo *adapter = combo->m_adapter_info;
    UINT rate = 0;
    long best = LONG_MAX;
    int count = adapter->m_display_modes->GetNumElements();
    for (int i = 0; i < count && best > 0; i++) {
        const D3DDISPLAYMODE *mode = Entry<D3DDISPLAYMODE>(adapter->m_display_modes, i);
        if (!mode || mode->Format != combo->m_adapter_format || mode->Width != pp.BackBufferWidth ||
            mode->Height != pp.BackBufferHeight)
            continue;
        long distance = std::labs(static_cast<long>(mode->RefreshRate) - static_cast<long>(target));
        if (distance < best) {
            best = distance;
            rate = mode->RefreshRate;
        }
    }
    return rate;
}

void DXUTMakeSettingsFromCombo(const _DxutEnumDeviceSettingsCombo *combo, const _DXUTDeviceSettings *in,
                               const _DXUTMatchOptions *options, _DXUTDeviceSettings *out)
{
    // out may be in.
    const _DXUTDeviceSettings wanted = *in;
    const D3DPRESENT_PARAMETERS &want = wanted.pp;
    D3DDISPLAYMODE desktop = DesktopMode(combo->m_adapter_ordinal, "DXUTMakeSettingsFromCombo");

    _DXUTDeviceSettings made = {};
    D3DPRESENT_PARAMETERS &pp = made.pp;
    made.AdapterOrdinal = combo->m_adapter_ordinal;
    made.DeviceType = combo->m_device_type;
    made.AdapterFormat = combo->m_adapter_format;
    pp.BackBufferFormat = combo->m_back_buffer_format;
    pp.Windowed = combo->m_windowed ? TRUE : FALSE;
    pp.hDeviceWindow = nullptr;

    made.BehaviorFlags = PickBehaviourFlags(combo, wanted.BehaviorFlags, options->m_vertex_processing);

    if (options->m_resolution == DXUT_MATCH_PRESERVE) {
        pp.BackBufferWidth = want.BackBufferWidth;
        pp.BackBufferHeight = want.BackBufferHeight;
    } else {
        if (options->m_resolution == DXUT_MATCH_CLOSEST && want.BackBufferWidth > 0) {
            pp.BackBufferWidth = want.BackBufferWidth;
            pp.BackBufferHeight = want.BackBufferHeight;
        } else if (combo->m_windowed) {
            pp.BackBufferWidth = 640;
            pp.BackBufferHeight = 480;
        } else {
            pp.BackBufferWidth = desktop.Width;
            pp.BackBufferHeight = desktop.Height;
        }
        DXUTPickResolution(combo, &pp.BackBufferWidth, &pp.BackBufferHeight);
    }

    if (options->m_back_buffer_count == DXUT_MATCH_PRESERVE)
        pp.BackBufferCount = want.BackBufferCount;
    else if (options->m_back_buffer_count == DXUT_MATCH_CLOSEST)
        pp.BackBufferCount = std::min<UINT>(std::max<UINT>(want.BackBufferCount, 1), 3);
    else
        pp.BackBufferCount = 1;

    PickMultisample(combo, want, options->m_multisample, &pp);

    if (options->m_swap_effect == DXUT_MATCH_PRESERVE)
        pp.SwapEffect = want.SwapEffect;
    else if (options->m_swap_effect == DXUT_MATCH_CLOSEST &&
             (want.SwapEffect == D3DSWAPEFFECT_DISCARD || want.SwapEffect == D3DSWAPEFFECT_FLIP ||
              want.SwapEffect == D3DSWAPEFFECT_COPY))
        pp.SwapEffect = want.SwapEffect;
    else
        pp.SwapEffect = D3DSWAPEFFECT_DISCARD;

    pp.AutoDepthStencilFormat = PickDepthStencilFormat(combo, want.AutoDepthStencilFormat, options);
    pp.EnableAutoDepthStencil = pp.AutoDepthStencilFormat != D3DFMT_UNKNOWN ? TRUE : FALSE;
    DWORD discard = pp.EnableAutoDepthStencil ? D3DPRESENTFLAG_DISCARD_DEPTHSTENCIL : 0;
    if (options->m_present_flags == DXUT_MATCH_PRESERVE)
        pp.Flags = want.Flags;
    else if (options->m_present_flags == DXUT_MATCH_CLOSEST)
        pp.Flags = want.Flags | discard;
    else
        pp.Flags = discard;

    if (combo->m_windowed)
        pp.FullScreen_RefreshRateInHz = 0;
    else if (options->m_refresh_rate == DXUT_MATCH_PRESERVE)
        pp.FullScreen_RefreshRateInHz = want.FullScreen_RefreshRateInHz;
    else
        pp.FullScreen_RefreshRateInHz = PickRefreshRate(
            combo, pp,
            options->m_refresh_rate == DXUT_MATCH_CLOSEST ? want.FullScreen_RefreshRateInHz : desktop.RefreshRate);

    if (options->m_present_interval == DXUT_MATCH_PRESERVE ||
        (options->m_present_interval == DXUT_MATCH_CLOSEST &&
         HasEntry(combo->m_present_intervals, want.PresentationInterval)))
        pp.PresentationInterval = want.PresentationInterval;
    else
        pp.PresentationInterval = combo->m_windowed ? D3DPRESENT_INTERVAL_IMMEDIATE : D3DPRESENT_INTERVAL_DEFAULT;

    *out = made;
}

} // namespace

bool DxutEnumerationInit()
{
    DxutEnumerationDestroy();
    dxut_enum = new (std::nothrow) _DxutEnumeration();
    if (!dxut_enum) {
        DebugErrorCode("DxutEnumerationInit", 'OMEM');
        return false;
    }
    _DxutEnumeration *e = dxut_enum;
    e->m_initialised = 1;
    e->m_done = 0;
    e->m_d3d = nullptr;
    e->m_is_device_acceptable = nullptr;
    e->m_require_blending = 1;
    SetPossibleVertexProcessingList(1, 1, 1, 0);
    e->m_min_width = 0;
    e->m_max_width = UINT_MAX;
    e->m_min_height = 0;
    e->m_max_height = UINT_MAX;
    e->m_min_refresh = 0;
    e->m_max_refresh = UINT_MAX;
    e->m_max_multisample_quality = 0xFFFF;
    ResetPossibleDepthStencilFormats();
    ResetPossibleMultisampleTypeList();
    ResetPossiblePresentIntervalList();
    return true;
}

bool DxutEnumerationIsDone()
{
    return dxut_enum && dxut_enum->m_done;
}

HRESULT DxutEnumerationDoEnumerate(IDirect3D9 *d3d, DxutIsDeviceAcceptableCB is_device_acceptable)
{
    const char *where = "DxutEnumerationDoEnumerate";
    if (!HaveEnumeration(where))
        return E_FAIL;
    if (!d3d)
        d3d = eng_d3d;
    if (!d3d) {
        EngMiscShowPopupMessage(EMPT_ERROR, where, "No Direct 3D Object");
        return E_FAIL;
    }
    dxut_enum->m_d3d = d3d;
    dxut_enum->m_is_device_acceptable = is_device_acceptable;
    dxut_enum->m_done = 0;
    DxutEnumerationClearAdapterInfoList();

    UINT adapter_count = d3d->GetAdapterCount();
    for (UINT ordinal = 0; ordinal < adapter_count; ordinal++) {
        _DxutEnumAdapterInfo *adapter = NewAdapterInfo(ordinal);
        if (!adapter) {
            DebugError(where, "No memory [adapter to add]");
            return E_FAIL;
        }
        if (!EngUtilsDX9_CheckResult(where, "GetAdapterIdentifier",
                                     d3d->GetAdapterIdentifier(ordinal, 0, &adapter->m_identifier))) {
            FreeAdapterInfo(adapter);
            continue;
        }
        EngLinkedList adapter_formats;
        ListDisplayModes(adapter, &adapter_formats);
        SortDisplayModes(adapter->m_display_modes);
        HRESULT result = EnumerateDevices(adapter, &adapter_formats);
        if (FAILED(result)) {
            FreeAdapterInfo(adapter);
            return result;
        }
        // An adapter on which no device can be made is not listed.
        if (adapter->m_device_infos->GetNumElements() == 0) {
            FreeAdapterInfo(adapter);
            continue;
        }
        if (!adapter->m_display_modes->IsListOk() || !adapter->m_device_infos->IsListOk()) {
            DebugError(where, "Adapater lists not ok");
            FreeAdapterInfo(adapter);
            return E_FAIL;
        }
        void *block = adapter;
        if (dxut_enum->m_adapters.AddElementPointer(&block, sizeof(_DxutEnumAdapterInfo), 0) < 0) {
            DebugError(where, "No memory [adapter to add]");
            FreeAdapterInfo(adapter);
            return E_FAIL;
        }
    }
    MakeUniqueDescriptions();
    dxut_enum->m_done = 1;
    return S_OK;
}

bool DxutEnumerationGetAdapterInfoListNew(EngLinkedList **adapters)
{
    if (!HaveEnumeration("DxutEnumerationGetAdapterInfoListNew") || !adapters || !dxut_enum->m_done)
        return false;
    *adapters = &dxut_enum->m_adapters;
    return true;
}

bool DxutEnumerationGetAdapterInfoNew(UINT adapter_ordinal, _DxutEnumAdapterInfo **adapter_info)
{
    if (!HaveEnumeration("DxutEnumerationGetAdapterInfoNew") || !adapter_info)
        return false;
    int count = dxut_enum->m_adapters.GetNumElements();
    for (int i = 0; i < count; i++) {
        _DxutEnumAdapterInfo *adapter = Entry<_DxutEnumAdapterInfo>(&dxut_enum->m_adapters, i);
        if (adapter && adapter->m_adapter_ordinal == adapter_ordinal) {
            *adapter_info = adapter;
            return true;
        }
    }
    return false;
}

void DxutEnumerationClearAdapterInfoList()
{
    if (!HaveEnumeration("DxutEnumerationClearAdapterInfoList"))
        return;
    EngLinkedList *adapters = &dxut_enum->m_adapters;
    int count = adapters->GetNumElements();
    for (int i = 0; i < count; i++) {
        _DxutEnumAdapterInfo *adapter = Entry<_DxutEnumAdapterInfo>(adapters, i);
        if (adapter)
            ReleaseAdapterInfoContents(adapter);
    }
    adapters->ReleaseAll();
}

void DxutEnumerationDestroy()
{
    if (!dxut_enum)
        return;
    DxutEnumerationClearAdapterInfoList();
    dxut_enum->m_depth_stencil_possible.ReleaseAll();
    dxut_enum->m_multisample_type_possible.ReleaseAll();
    dxut_enum->m_present_interval_possible.ReleaseAll();
    dxut_enum->m_initialised = 0;
    dxut_enum->m_done = 0;
    delete dxut_enum;
    dxut_enum = nullptr;
}

int DxutEnumerationFormatChannelBits(D3DFORMAT format)
{
    switch (format) {
    case D3DFMT_R8G8B8:
    case D3DFMT_A8R8G8B8:
    case D3DFMT_X8R8G8B8:
    case D3DFMT_A8B8G8R8: return 8;
    case D3DFMT_R5G6B5:
    case D3DFMT_X1R5G5B5:
    case D3DFMT_A1R5G5B5: return 5;
    case D3DFMT_A4R4G4B4:
    case D3DFMT_X4R4G4B4: return 4;
    case D3DFMT_R3G3B2:
    case D3DFMT_A8R3G3B2: return 2;
    case D3DFMT_A2B10G10R10:
    case D3DFMT_A2R10G10B10: return 10;
    case D3DFMT_A16B16G16R16: return 16;
    default: return 0;
    }
}

int DxutEnumerationFormatDepthBits(D3DFORMAT format)
{
    switch (format) {
    case D3DFMT_D16_LOCKABLE:
    case D3DFMT_D16: return 16;
    case D3DFMT_D32:
    case D3DFMT_D32F_LOCKABLE: return 32;
    case D3DFMT_D15S1: return 15;
    case D3DFMT_D24S8:
    case D3DFMT_D24X8:
    case D3DFMT_D24X4S4:
    case D3DFMT_D24FS8: return 24;
    default: return 0;
    }
}

int DxutEnumerationFormatStencilBits(D3DFORMAT format)
{
    switch (format) {
    case D3DFMT_D15S1: return 1;
    case D3DFMT_D24S8:
    case D3DFMT_D24FS8: return 8;
    case D3DFMT_D24X4S4: return 4;
    default: return 0;
    }
}

HRESULT DXUTFindValidDeviceSettings(_DXUTDeviceSettings *out, const _DXUTDeviceSettings *in,
                                    const _DXUTMatchOptions *match_options)
{
    const char *where = "DXUTFindValidDeviceSettings";
    if (!out || !in) {
        EngMiscShowPopupMessage(EMPT_ERROR, where, "Invalid Arguments");
        return E_FAIL;
    }
    if (!HaveEnumeration(where))
        return E_FAIL;
    if (!dxut_enum->m_done) {
        EngMiscShowPopupMessage(EMPT_ERROR, where, "Enumeration not done");
        return E_FAIL;
    }
    _DXUTMatchOptions options = {};
    if (match_options)
        options = *match_options;
    _DXUTDeviceSettings ideal;
    DXUTMakeIdealSettings(in, &options, &ideal);
    EngLinkedList *adapters = nullptr;
    if (!DxutEnumerationGetAdapterInfoListNew(&adapters)) {
        DebugError(where, "Could not get adapter list");
        return E_FAIL;
    }

    const _DxutEnumDeviceSettingsCombo *best = nullptr;
    float best_score = -1.0f;
    int adapter_count = adapters->GetNumElements();
    for (int a = 0; a < adapter_count; a++) {
        _DxutEnumAdapterInfo *adapter = Entry<_DxutEnumAdapterInfo>(adapters, a);
        if (!adapter)
            return E_FAIL;
        D3DDISPLAYMODE desktop = DesktopMode(adapter->m_adapter_ordinal, where);
        int device_count = adapter->m_device_infos->GetNumElements();
        for (int d = 0; d < device_count; d++) {
            _DxutEnumDeviceInfo *device = Entry<_DxutEnumDeviceInfo>(adapter->m_device_infos, d);
            if (!device)
                return E_FAIL;
            int combo_count = device->m_settings_combos->GetNumElements();
            for (int c = 0; c < combo_count; c++) {
                const _DxutEnumDeviceSettingsCombo *combo =
                    Entry<_DxutEnumDeviceSettingsCombo>(device->m_settings_combos, c);
                if (!combo)
                    return E_FAIL;
                // A window shows on the desktop as it is.
                if (combo->m_windowed && combo->m_adapter_format != desktop.Format)
                    continue;
                if (!DXUTComboKeepsPreservedSettings(combo, in, &options))
                    continue;
                float score = DXUTScoreSettingsCombo(combo, &ideal, &desktop);
                if (score > best_score) {
                    best_score = score;
                    best = combo;
                }
            }
        }
    }
    if (!best)
        return DXUT_ERR_NO_COMPATIBLE_DEVICE;
    DXUTMakeSettingsFromCombo(best, in, &options, out);
    return S_OK;
}
