// The full-screen display modes of the first display and the desktop's
// (windowed) mode, each with the anti-aliasing choices the display's
// graphics offer, listed once at construction, largest first. The main
// window asks it for the mode nearest a wanted one when it switches between
// full screen and a window; the start-up settings dialog shows the modes and
// their choices. It asks a Direct3D object of its own, which it lets go as
// soon as the list is made, so it works before any device exists.
#pragma once

#include "platform/d3d9/D3D9.h"

#define ENG_RES_MODE_MAX_MULTISAMPLES 20

// One anti-aliasing choice: a multisample type and quality.
struct _EngResModeMultisample {
    int type;
    int quality;
};

struct _EngResMode {
    int width;
    int height;
    // From the engine's format table.
    int bits;
    // The mode's D3DFORMAT.
    int format;
    // Choices used, 1 to ENG_RES_MODE_MAX_MULTISAMPLES; the first is always
    // (0, 0), no anti-aliasing.
    int multisample_count;
    _EngResModeMultisample multisamples[ENG_RES_MODE_MAX_MULTISAMPLES];
};

class EngResModes {
public:
    EngResModes();
    ~EngResModes();
    EngResModes(const EngResModes &) = delete;
    EngResModes &operator=(const EngResModes &) = delete;

    // A set-up list without modes reports "No modes." and frees itself.
    char IsSetup();
    int GetNumModes();
    _EngResMode *GetMode(int index);
    _EngResMode *GetWindowedMode();
    // The mode nearest width x height at bits replaces them; the refresh
    // rate becomes 0 (the display's own).
    char GetClosestFullScreenModeToMode(int *width, int *height, int *bits, int *refresh_rate);
    // The desktop's bits and the work area's size (each output may be null).
    char GetWindowedModeDetails(int *width, int *height, int *bits, int *refresh_rate);

private:
    char GetModesAvailable();
    char GetList();
    char GetList_DX9(char show_popup);
    char AllocModesList(int count);
    void BuildMultisampleList(_EngResMode *mode);
    void ReleaseD3D();
    void Free();
    char GetClosestFullScreenModeToMode_DX9(int *width, int *height, int *bits);
    char GetWindowedModeDetails_DX9(int *width, int *height, int *bits);

    char m_setup;
    int m_num_modes;
    _EngResMode *m_modes;
    _EngResMode *m_windowed_mode;
    char m_own_d3d;
    IDirect3D9 *m_d3d;
};

// The name of an anti-aliasing choice: "Off", "Level 2", "4x4", "4x4 Level 3"
// ("(error)" for null, "?" for an unknown type). The text lives in one
// static buffer that the next call overwrites.
const char *EngResModesGetMultisampleText_DX9(const _EngResModeMultisample *multisample);
