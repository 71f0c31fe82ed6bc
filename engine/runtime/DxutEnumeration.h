// What the graphics hardware offers, listed once, and the search through it
// for the device settings closest to those a caller wants. The enumeration
// walks every adapter: its display modes in the engine's formats and, for
// every device type, each usable combination of adapter format, back-buffer
// format and windowed flag with the depth-stencil formats, multisample types
// and present intervals it supports. The search scores the combinations
// against ideal settings, keeps those that respect what the caller wants
// preserved, and completes valid settings from the best one.
#pragma once

#include "engine/core/EngLinkedList.h"
#include "platform/d3d9/D3D9.h"

// Complete settings of a device: what the search hands to the device object.
struct _DXUTDeviceSettings {
    UINT AdapterOrdinal;
    D3DDEVTYPE DeviceType;
    D3DFORMAT AdapterFormat;
    DWORD BehaviorFlags;
    D3DPRESENT_PARAMETERS pp;
};

// How the search treats one wanted setting.
enum _DXUTMatchType {
    // Chooses a default.
    DXUT_MATCH_IGNORE = 0,
    // Keeps the wanted value and rejects combinations that cannot.
    DXUT_MATCH_PRESERVE = 1,
    // Comes as near the wanted value as the hardware allows.
    DXUT_MATCH_CLOSEST = 2,
};

// One _DXUTMatchType per setting.
struct _DXUTMatchOptions {
    int m_adapter_ordinal;
    int m_device_type;
    int m_windowed;
    int m_adapter_format;
    int m_vertex_processing;
    int m_resolution;
    int m_back_buffer_format;
    int m_back_buffer_count;
    int m_multisample;
    int m_swap_effect;
    int m_depth_format;
    int m_stencil_format;
    int m_present_flags;
    int m_refresh_rate;
    int m_present_interval;
};

// The answer of the search when no combination fits: an error of the
// interface facility, code 0x902.
#define DXUT_ERR_NO_COMPATIBLE_DEVICE ((HRESULT)0x80040902)

struct _DxutEnumDeviceInfo;

// One adapter. The lists and the device infos belong to the record.
struct _DxutEnumAdapterInfo {
    UINT m_adapter_ordinal;
    D3DADAPTER_IDENTIFIER9 m_identifier;
    // The description, with " (#ordinal)" when adapters share one.
    char m_unique_description[256];
    // D3DDISPLAYMODE entries, by width, height, format, then refresh rate.
    EngLinkedList *m_display_modes;
    // _DxutEnumDeviceInfo blocks.
    EngLinkedList *m_device_infos;
};

// One device type of an adapter.
struct _DxutEnumDeviceInfo {
    UINT m_adapter_ordinal;
    D3DDEVTYPE m_device_type;
    D3DCAPS9 m_caps;
    // _DxutEnumDeviceSettingsCombo entries.
    EngLinkedList *m_settings_combos;
};

// A depth-stencil format that cannot be had with a multisample type.
struct _DxutEnumDSMSConflict {
    D3DFORMAT m_depth_stencil_format;
    D3DMULTISAMPLE_TYPE m_multisample_type;
};

// One usable combination of a device type; its lists belong to it.
struct _DxutEnumDeviceSettingsCombo {
    UINT m_adapter_ordinal;
    D3DDEVTYPE m_device_type;
    D3DFORMAT m_adapter_format;
    D3DFORMAT m_back_buffer_format;
    int m_windowed;
    // D3DFORMAT entries.
    EngLinkedList *m_depth_stencil_formats;
    // D3DMULTISAMPLE_TYPE entries, and their quality-level counts (DWORD) in
    // the same order.
    EngLinkedList *m_multisample_types;
    EngLinkedList *m_multisample_qualities;
    // UINT entries.
    EngLinkedList *m_present_intervals;
    // _DxutEnumDSMSConflict entries.
    EngLinkedList *m_ds_ms_conflicts;
    _DxutEnumAdapterInfo *m_adapter_info;
    _DxutEnumDeviceInfo *m_device_info;
};

// Whether a device with these capabilities may draw with these formats.
typedef char (*DxutIsDeviceAcceptableCB)(D3DCAPS9 *caps, D3DFORMAT adapter_format, D3DFORMAT back_buffer_format,
                                         char windowed);

// The enumeration: its limits, the values it tries, and what it found.
struct _DxutEnumeration {
    char m_initialised;
    char m_done;
    IDirect3D9 *m_d3d;
    DxutIsDeviceAcceptableCB m_is_device_acceptable;
    // Combinations must blend into their back buffer.
    char m_require_blending;
    EngLinkedList m_depth_stencil_possible;
    EngLinkedList m_multisample_type_possible;
    EngLinkedList m_present_interval_possible;
    // Software, hardware, pure hardware, mixed: kept, not used.
    char m_vertex_processing[4];
    unsigned m_min_width, m_max_width, m_min_height, m_max_height;
    unsigned m_min_refresh, m_max_refresh;
    unsigned m_max_multisample_quality;
    // _DxutEnumAdapterInfo blocks.
    EngLinkedList m_adapters;
};

// The one enumeration, or null.
extern _DxutEnumeration *dxut_enum;

// A new, empty enumeration in place of any existing one; false ('OMEM')
// without memory.
bool DxutEnumerationInit();
bool DxutEnumerationIsDone();
// Lists the adapters with d3d (null: eng_d3d). Allocation failures end it
// with E_FAIL or E_OUTOFMEMORY, keeping the adapters listed so far.
HRESULT DxutEnumerationDoEnumerate(IDirect3D9 *d3d, DxutIsDeviceAcceptableCB is_device_acceptable);
// The adapter list once the enumeration is done.
bool DxutEnumerationGetAdapterInfoListNew(EngLinkedList **adapters);
// The first adapter record of that ordinal.
bool DxutEnumerationGetAdapterInfoNew(UINT adapter_ordinal, _DxutEnumAdapterInfo **adapter_info);
// Empties the adapter list with everything under it.
void DxutEnumerationClearAdapterInfoList();
// Frees the enumeration; dxut_enum becomes null.
void DxutEnumerationDestroy();

// Bits of one colour channel, of depth and of stencil in a format; 0 for a
// format without them.
int DxutEnumerationFormatChannelBits(D3DFORMAT format);
int DxutEnumerationFormatDepthBits(D3DFORMAT format);
int DxutEnumerationFormatStencilBits(D3DFORMAT format);

// Valid settings into *out from the combination nearest *in, as the match
// options say (null: all ignore); out and in may be the same. E_FAIL for bad
// arguments or an enumeration not done, DXUT_ERR_NO_COMPATIBLE_DEVICE when
// nothing fits.
HRESULT DXUTFindValidDeviceSettings(_DXUTDeviceSettings *out, const _DXUTDeviceSettings *in,
                                    const _DXUTMatchOptions *match_options);
