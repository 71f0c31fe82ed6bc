#include "engine/runtime/EngResModes.h"
#include "engine/core/EngDebug.h"
#include "engine/core/EngMemory.h"
#include "engine/core/EngMisc.h"
#include "engine/runtime/EngDevice.h"
#include "platform/win32/Win32Display.h"

#include <cstdlib>

namespace {

const int MAX_MODES = 512;

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

EngResModes::EngResModes() : m_setup(0), m_num_modes(0), m_modes(nullptr), m_windowed_mode(nullptr)
{
    GetModesAvailable();
}

EngResModes::~EngResModes()
{
    Free();
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
    const char *where = "EngResModes::GetList";
    m_modes = static_cast<_EngResMode *>(EngMalloc(sizeof(_EngResMode) * MAX_MODES, "EngResModes::AllocModesList", 1));
    if (!m_modes)
        return 0;

    bool noted_full = false;
    DEVMODEA display_mode;
    for (DWORD index = 0; EnumDisplaySettingsA(nullptr, index, &display_mode); index++) {
        int width = static_cast<int>(display_mode.dmPelsWidth);
        int height = static_cast<int>(display_mode.dmPelsHeight);
        int bits = static_cast<int>(display_mode.dmBitsPerPel);
        // Refresh rates of one size and depth collapse into one entry.
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
        m_modes[m_num_modes++] = {width, height, bits};
    }
    if (m_num_modes == 0) {
        DebugError(where, "No modes.");
        return 0;
    }
    std::qsort(m_modes, static_cast<size_t>(m_num_modes), sizeof(_EngResMode), CompareModes);

    if (EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &display_mode))
        *m_windowed_mode = {static_cast<int>(display_mode.dmPelsWidth), static_cast<int>(display_mode.dmPelsHeight),
                            static_cast<int>(display_mode.dmBitsPerPel)};
    else
        *m_windowed_mode = {0, 0, 32};
    return 1;
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
