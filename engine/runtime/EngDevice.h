// The device facade: every drawing-state call of the engine goes through
// EngDevice, which forwards it to the Direct3D 9 device object when the
// device kind is EDT_DX9 and that object exists, and otherwise does nothing
// and reports nothing.
//
// Coordinates: Pure values are back-buffer pixels; Ratioed values are units
// of the 640 x 480 virtual screen stretched over the back buffer
// (eng_screen_ratio_x/_y, EngWindow.h).
#pragma once

#include "platform/d3d9/D3D9.h"

class EngWindow;

enum _EngDeviceType : int {
    EDT_NONE = 0,
    EDT_DX9 = 1,
};

// The device kind. Direct3D 9 from the start, so the graphics objects that
// are built before the program object already know their kind.
extern _EngDeviceType eng_device_type;

class EngDevice;
// The facade whose Create last succeeded; null while no device exists,
// including the moment inside a device change.
extern EngDevice *eng_device;

class EngDevice {
public:
    explicit EngDevice(EngWindow *window);
    ~EngDevice();
    EngDevice(const EngDevice &) = delete;
    EngDevice &operator=(const EngDevice &) = delete;

    // Makes the device object when there is none and its device; then this
    // facade becomes eng_device.
    bool Create(char windowed, int width, int height, int bits, int refresh_rate);
    // Releases the device and its object; eng_device becomes null.
    void Destroy();
    char IsCreated() const { return m_created; }
    EngWindow *GetWindow() const { return m_window; }

    void ComputeFullScreenViewport();
    // Copies the viewport in force; null without a device.
    D3DVIEWPORT9 *GetViewport(D3DVIEWPORT9 *viewport);
    void SetClearColour(float r, float g, float b);
    void ClearBackBufferAndZBuffer();
    void SwapBuffers();

private:
    char m_created;
    EngWindow *m_window;
};
