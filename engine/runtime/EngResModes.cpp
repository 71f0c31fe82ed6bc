#include "engine/runtime/EngResModes.h"
#include "engine/core/EngDebug.h"
#include "engine/core/EngMemory.h"
#include "engine/core/EngMisc.h"
#include "engine/runtime/EngDevice.h"
#include "engine/runtime/EngUtilsDX9.h"

#include <cstdio>
#include <cstdlib>

namespace {

const int MAX_MODES = 512;

// Multisample types with a number of samples, asked before the non-maskable one.
const int FIRST_SAMPLES_TYPE = 2;
const int LAST_SAMPLES_TYPE = 15;

// Bits, then width, then height, all descending: the largest mode at the
// highest depth comes first.
int CompareModes(const void *a, const void *b)
{
    const _EngResMode *first = static_cast<const _EngResMode *>(a);
    const _EngResMode *second = static_cast<const _EngResMode *>(b);
    if (first->bits != second->bits)
        return second->bits - first->bits;
    if (first->width != second->width)
        return second->width - first->width;
    return second->height - first->height;
}

} // namespace

EngResModes::EngResModes()
    : m_setup(0), m_num_modes(0), m_modes(nullptr), m_windowed_mode(nullptr), m_own_d3d(0), m_d3d(nullptr)
{
    GetModesAvailable();
}

EngResModes::~EngResModes()
{
    ReleaseD3D();
    Free();
}

void EngResModes::ReleaseD3D()
{
    if (m_own_d3d)
        EngUtilsDX9_ReleaseD3D();
    m_own_d3d = 0;
    m_d3d = nullptr;
}

void EngResModes::Free()
{
    if (m_modes)
        EngFree(m_modes, 0, "EngResModes::Free");
    if (m_windowed_mode)
        EngFree(m_windowed_mode, 0, "EngResModes::Free");
    m_modes = nullptr;
    m_windowed_mode = nullptr;
    m_num_modes = 0;
    m_setup = 0;
}

char EngResModes::GetModesAvailable()
{
    const char *where = "EngResModes::GetModesAvailable";
    Free();
    if (eng_device_type == EDT_NONE) {
        DebugError(where, "Device type not set");
        return 0;
    }
    m_windowed_mode = static_cast<_EngResMode *>(EngMalloc(sizeof(_EngResMode), where, 1));
    if (!m_windowed_mode)
        return 0;
    if (eng_device_type == EDT_DX9)
        GetList();
    if (m_num_modes > 0) {
        m_setup = 1;
        return 1;
    }
    DebugError(where, "No modes.");
    Free();
    return 0;
}

char EngResModes::GetList()
{
    return GetList_DX9(1);
}

char EngResModes::AllocModesList(int count)
{
    const char *where = "EngResModes::AllocModesList";
    if (count <= 0) {
        DebugError(where, "Bad num %d.", count);
        return 0;
    }
    m_modes = static_cast<_EngResMode *>(EngMalloc(static_cast<unsigned>(sizeof(_EngResMode) * count), where, 1));
    return m_modes != nullptr;
}

char EngResModes::GetList_DX9(char show_popup)
{
    const char *where = "EngResModes::GetList";
    if (!m_d3d) {
        m_d3d = EngUtilsDX9_CreateD3D(show_popup);
        if (!m_d3d) {
            DebugError(where, "Could not create directx object");
            return 0;
        }
        m_own_d3d = 1;
    }
    // The own object is needed only while the list is made.
    if (!AllocModesList(MAX_MODES)) {
        ReleaseD3D();
        return 0;
    }

    bool noted_full = false;
    D3DFORMAT format;
    for (int f = 0; EngUtilsDX9_GetTableFormat(f, &format); f++) {
        int bits = EngUtilsDX9_GetBitdepthFromFormat(format, nullptr, 0);
        UINT count = m_d3d->GetAdapterModeCount(D3DADAPTER_DEFAULT, format);
        for (UINT index = 0; index < count; index++) {
            D3DDISPLAYMODE display_mode;
            if (!EngUtilsDX9_CheckResult(where, "EnumAdapterModes",
                                         m_d3d->EnumAdapterModes(D3DADAPTER_DEFAULT, format, index, &display_mode)))
                continue;
            int width = static_cast<int>(display_mode.Width);
            int height = static_cast<int>(display_mode.Height);
            // Refresh rates, and formats of one depth, collapse into one entry.
            bool listed = false;
            for (int i = 0; i < m_num_modes && !listed; i++)
                listed = m_modes[i].width == width && m_modes[i].height == height && m_modes[i].bits == bits;
            if (listed)
                continue;
            if (m_num_modes == MAX_MODES) {
                if (!noted_full)
                    DebugNoteWithName(0, where, "Not all modes were added.");
                noted_full = true;
                continue;
            }
            _EngResMode &mode = m_modes[m_num_modes++];
            mode.width = width;
            mode.height = height;
            mode.bits = bits;
            mode.format = display_mode.Format;
            BuildMultisampleList(&mode);
        }
    }
    if (m_num_modes == 0) {
        DebugError(where, "No modes.");
        ReleaseD3D();
        return 0;
    }
    std::qsort(m_modes, static_cast<size_t>(m_num_modes), sizeof(_EngResMode), CompareModes);

    _EngResMode &windowed = *m_windowed_mode;
    D3DDISPLAYMODE desktop;
    if (m_d3d->GetAdapterDisplayMode(D3DADAPTER_DEFAULT, &desktop) == S_OK) {
        windowed.width = static_cast<int>(desktop.Width);
        windowed.height = static_cast<int>(desktop.Height);
        windowed.format = desktop.Format;
        windowed.bits = EngUtilsDX9_GetBitdepthFromFormat(desktop.Format, nullptr, 1);
        BuildMultisampleList(&windowed);
    } else {
        windowed = _EngResMode();
        windowed.bits = 32;
        windowed.multisample_count = 1;
    }
    ReleaseD3D();
    return 1;
}

// No anti-aliasing, then every quality of each type with a number of
// samples, then the non-maskable type's levels when it has more of them.
void EngResModes::BuildMultisampleList(_EngResMode *mode)
{
    if (!m_d3d || !mode)
        return;
    mode->multisamples[0] = {0, 0};
    mode->multisample_count = 1;
    D3DFORMAT format = static_cast<D3DFORMAT>(mode->format);
    for (int type = FIRST_SAMPLES_TYPE; type <= LAST_SAMPLES_TYPE; type++) {
        DWORD levels = 0;
        if (m_d3d->CheckDeviceMultiSampleType(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, format, FALSE,
                                              static_cast<D3DMULTISAMPLE_TYPE>(type), &levels) != S_OK)
            continue;
        for (DWORD quality = 0; quality < levels && mode->multisample_count < ENG_RES_MODE_MAX_MULTISAMPLES; quality++)
            mode->multisamples[mode->multisample_count++] = {type, static_cast<int>(quality)};
    }
    int added = mode->multisample_count - 1;
    DWORD levels = 0;
    if (m_d3d->CheckDeviceMultiSampleType(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, format, FALSE,
                                          D3DMULTISAMPLE_NONMASKABLE, &levels) != S_OK ||
        static_cast<DWORD>(added) >= levels)
        return;
    for (DWORD quality = 0; quality < levels && mode->multisample_count < ENG_RES_MODE_MAX_MULTISAMPLES; quality++)
        mode->multisamples[mode->multisample_count++] = {D3DMULTISAMPLE_NONMASKABLE, static_cast<int>(quality)};
}

char EngResModes::IsSetup()
{
    if (m_setup && m_modes && m_windowed_mode && m_num_modes > 0)
        return 1;
    if (m_setup) {
        DebugError("EngResModes::IsSetup", "No modes.");
        Free();
    }
    return 0;
}

int EngResModes::GetNumModes()
{
    if (!IsSetup()) {
        DebugErrorCode("EngResModes::GetNumModes", 'NOSU');
        return 0;
    }
    return m_num_modes;
}

_EngResMode *EngResModes::GetMode(int index)
{
    if (!IsSetup()) {
        DebugErrorCode("EngResModes::GetMode", 'NOSU');
        return nullptr;
    }
    if (index < 0 || index >= m_num_modes) {
        DebugError("EngResModes::GetMode", "Bad mode num %d (%d).", index, m_num_modes);
        return nullptr;
    }
    return &m_modes[index];
}

_EngResMode *EngResModes::GetWindowedMode()
{
    if (!IsSetup()) {
        DebugErrorCode("EngResModes::GetWindowedMode", 'NOSU');
        return nullptr;
    }
    return m_windowed_mode;
}

char EngResModes::GetClosestFullScreenModeToMode(int *width, int *height, int *bits, int *refresh_rate)
{
    if (!IsSetup()) {
        DebugErrorCode("EngResModes::GetClosestFullScreenModeToMode", 'NOSU');
        return 0;
    }
    if (eng_device_type != EDT_DX9)
        return 0;
    if (refresh_rate)
        *refresh_rate = 0;
    return GetClosestFullScreenModeToMode_DX9(width, height, bits);
}

char EngResModes::GetClosestFullScreenModeToMode_DX9(int *width, int *height, int *bits)
{
    const char *where = "EngResModes::GetClosestFullScreenModeToMode_DX9";
    if (!width || !height || !bits) {
        DebugError(where, "Invalid Parameters");
        return 0;
    }
    if (!m_setup) {
        DebugError(where, "Modes not setup");
        return 0;
    }
    // A difference in depth outweighs any difference in size.
    int best = 1000000000;
    const _EngResMode *closest = nullptr;
    for (int i = 0; i < m_num_modes; i++) {
        const _EngResMode &mode = m_modes[i];
        int score = std::abs(mode.bits - *bits) * 10000 + std::abs(mode.width - *width) + std::abs(mode.height - *height);
        if (score < best) {
            best = score;
            closest = &mode;
        }
    }
    if (!closest) {
        DebugError(where, "Could not get closest mode");
        return 0;
    }
    *width = closest->width;
    *height = closest->height;
    *bits = closest->bits;
    return 1;
}

char EngResModes::GetWindowedModeDetails(int *width, int *height, int *bits, int *refresh_rate)
{
    if (!IsSetup()) {
        DebugErrorCode("EngResModes::GetWindowedModeDetails", 'NOSU');
        return 0;
    }
    if (eng_device_type != EDT_DX9)
        return 0;
    if (refresh_rate)
        *refresh_rate = 0;
    return GetWindowedModeDetails_DX9(width, height, bits);
}

char EngResModes::GetWindowedModeDetails_DX9(int *width, int *height, int *bits)
{
    if (!m_setup) {
        DebugError("EngResModes::GetWindowedModeDetails_DX9", "Modes not setup");
        return 0;
    }
    if (bits)
        *bits = m_windowed_mode->bits;
    EngMiscGetDesktopArea(nullptr, nullptr, width, height, 1);
    return 1;
}

const char *EngResModesGetMultisampleText_DX9(const _EngResModeMultisample *multisample)
{
    static char text[64];
    if (!multisample)
        EngSafeStrcpy(text, "(error)", sizeof(text));
    else if (multisample->type == 0)
        EngSafeStrcpy(text, "Off", sizeof(text));
    else if (multisample->type == 1)
        snprintf(text, sizeof(text), "Level %d", multisample->quality + 1);
    else if (multisample->type >= 2 && multisample->type <= 16 && multisample->quality <= 0)
        snprintf(text, sizeof(text), "%dx%d", multisample->type, multisample->type);
    else if (multisample->type >= 2 && multisample->type <= 16)
        snprintf(text, sizeof(text), "%dx%d Level %d", multisample->type, multisample->type, multisample->quality + 1);
    else
        EngSafeStrcpy(text, "?", sizeof(text));
    return text;
}
