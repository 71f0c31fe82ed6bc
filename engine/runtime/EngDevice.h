// The device facade: every drawing-state call of the engine, the toolkit and
// the game goes through EngDevice, which forwards it unchanged to the
// Direct3D 9 device object (EngDeviceDX9.h) when the device kind is EDT_DX9
// and that object exists, and otherwise does nothing and reports nothing.
// The facade keeps no render state of its own.
//
// Coordinates: Pure values are back-buffer pixels; Ratioed values are units
// of the 640 x 480 virtual screen stretched over the back buffer
// (eng_screen_ratio_x/_y, EngWindow.h).
#pragma once

#include "engine/core/EngMath.h"
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

    // Makes the device object when there is none, then its device; on
    // success this facade becomes eng_device. A failed device object stays
    // for the next attempt.
    bool Create(char windowed, int width, int height, int bits, int refresh_rate);
    // Releases the device and its object; eng_device becomes null.
    void Destroy();
    char IsCreated() const { return m_created; }
    EngWindow *GetWindow() const { return m_window; }

    void ComputeFullScreenViewport();
    // These two test only that the device object exists.
    void SyncWithGPU();
    void ModulateTextureAlphaWithColourAlpha();

    void SetViewportFullScreen();
    // Pure; each value truncated; null = full screen.
    void SetViewportToDimension(const _Dimension *dimension);
    // Ratioed; each value scaled and rounded (an exact half toward zero).
    void SetViewportToSizeRatioed(int x, int y, int w, int h);
    void SetViewportToDimensionRatioed(const _Dimension *dimension);
    void SetViewportToViewportStruct(const D3DVIEWPORT9 *viewport);
    // Copies the viewport in force; null without a device object.
    D3DVIEWPORT9 *GetViewport(D3DVIEWPORT9 *viewport);
    bool IsViewportFullScreen();

    // r, g, b from 0 to 1.
    void SetClearColour(float r, float g, float b);
    // Depth 1.0, stencil 0.
    void ClearBackBufferAndZBuffer();
    void ClearBackBuffer();

    bool IsLightingOn();
    void TurnOnLighting();
    void TurnOffLighting();
    bool TurnOffLightingIfOn();

    void EnableZBuffer(char on);
    void RestoreZBuffer();
    bool SuspendZBufferIfOn();

    // Types 0 to 18 of the blending-type table.
    void EnableBlendingType(int type);
    // D3DBLEND factors.
    void EnableBlending(int src_blend, int dest_blend);
    void DisableBlending();
    // Each pointer may be null.
    char GetBlendingState(char *on, int *src_blend, int *dest_blend);
    void SetBlendingState(char on, int src_blend, int dest_blend);
    // One level, shared by every caller.
    bool SaveOrRestoreBlendingState(char save);

    void PrepareFor2D(char lighting_off);
    void RestoreAfter2D();
    bool IsPreparedFor2D();
    // True when it prepared, so the caller later calls RestoreAfter2D.
    bool PrepareFor2DIfNeeded(char lighting_off);
    bool PrepareFor2DIfNeededAlt(char lighting_off);

    void PushTransformMatrix();
    void PopTransformMatrix();
    void ResetTransformMatrix();
    // Null = identity.
    void SetTransformMatrix(const EngMatrix *matrix);
    // Null copies nothing; null without a device object.
    EngMatrix *GetTransformMatrix(EngMatrix *matrix);
    // Rotations in radians; each pointer may be null.
    void SetTransformMatrixFromPositionAndRotation(const _Vector3d *position, const _Vector3d *rotation);
    void SetTransformMatrixFromPositionRotationAndScale(const _Vector3d *position, const _Vector3d *rotation,
                                                        const _Vector3d *scale);

    bool AreTwoSidedPolygonsShown();
    void ShowTwoSidedPolygons(char show);

    // Ratioed.
    void TurnOnCrop(float x, float y, float w, float h);
    void TurnOnCropToDimension(const _Dimension *dimension);
    // Ratioed, relative to the viewport.
    void TurnOnCropInViewport(float x, float y, float w, float h);
    void TurnOnCropInViewportToDimension(const _Dimension *dimension);
    bool IsCropOn();
    void TurnOffCrop();
    // Pixels: the crop that is on (false when none), setting it back, and
    // narrowing it to its overlap with a rectangle, so that crops can nest.
    bool GetCrop(RECT *rect);
    void SetCrop(const RECT *rect);
    void IntersectCrop(const RECT *rect);

    bool BeginRendering();
    bool BeginRenderingIfNeeded();
    void EndRendering();
    void SwapBuffers();

private:
    char m_created;
    EngWindow *m_window;
};

// Screen dimming (EngDimDraw.h): each acts only while the device kind is
// EDT_DX9. EngDimDraw darkens the whole screen by alpha (0..1);
// EngDimDestroyVertexBuffer frees its quad, which the next draw makes again.
void EngDimDraw(float alpha);
void EngDimDestroyVertexBuffer();
