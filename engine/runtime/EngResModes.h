// The full-screen display modes of the first display and the desktop's
// (windowed) mode, listed once at construction, largest first. The main
// window asks it for the mode nearest a wanted one when it switches between
// full screen and a window.
#pragma once

struct _EngResMode {
    int width;
    int height;
    int bits;
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
    void Free();
    char GetClosestFullScreenModeToMode_DX9(int *width, int *height, int *bits);
    char GetWindowedModeDetails_DX9(int *width, int *height, int *bits);

    char m_setup;
    int m_num_modes;
    _EngResMode *m_modes;
    _EngResMode *m_windowed_mode;
};
