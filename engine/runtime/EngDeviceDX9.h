// The Direct3D 9 device object of the main window. It loads the runtime,
// makes and replaces the device, gives every new device the remembered
// render state, opens and closes each frame's scene, presents the frame,
// notices a lost device and has it re-created, and can hold the processor
// back until the graphics processor has caught up. Its render-state
// operations (EngDeviceDX9RenderState.cpp) remember every state they set, so
// queries need no device call and setters skip what would change nothing.
// The facade (EngDevice.h) makes and deletes it.
#pragma once

#include "engine/core/EngMath.h"
#include "engine/runtime/DxutEnumeration.h"
#include "platform/d3d9/D3D9.h"

class EngDevice;

// Depth of the two matrix stacks.
#define ENG_DEVICE_STACK_SIZE 10

class EngDeviceDX9 {
public:
    explicit EngDeviceDX9(EngDevice *owner);
    ~EngDeviceDX9();
    EngDeviceDX9(const EngDeviceDX9 &) = delete;
    EngDeviceDX9 &operator=(const EngDeviceDX9 &) = delete;

    // Life cycle (EngDeviceDX9.cpp).
    // SetupCreate, then the remembered states on the new device.
    bool Create(char windowed, int width, int height, int bits, int refresh_rate);
    // The runtime, the hardware's list (made once), the settings nearest
    // those wanted and the device; refresh_rate is not used.
    bool SetupCreate(char windowed, int width, int height, int bits, int refresh_rate);
    // Releases the device in force and makes one with the settings.
    bool DoChangeDevice(const _DXUTDeviceSettings *settings);
    bool Init3DEnvironment();
    bool DXUTPrepareDevice();
    void Cleanup3DEnvironment(char free_settings);
    bool DxDevicesInit();
    // A new device object lists the hardware afresh.
    void ClearDxutState();
    void Destroy();
    // The texture cursor's draw size and scaled hot spot once its texture has
    // loaded, or the system cursor in its place when the load failed.
    void SetupTextureCursor(char loaded);

    // Frames.
    bool BeginRendering();
    // False with a scene open; otherwise BeginRendering, and true whatever it did.
    bool BeginRenderingIfNeeded();
    void EndRendering();
    bool IsRendering() const { return m_rendering; }
    void SwapBuffers();

    // Holding the processor back until the graphics processor has caught up,
    // by the program's sync method: 0 locked surfaces, 1 event query.
    void SyncWithGPU();
    bool DoSyncGpuWithCpu(signed char method, char cleanup);
    bool DoSyncGpuWithCpuUsingEvents(char cleanup);
    bool DoSyncGpuWithCpuUsingLockedSurfaces(char cleanup);

    const _DXUTDeviceSettings *GetSettings() const { return m_settings; }
    const D3DSURFACE_DESC *GetBackBufferDesc() const { return &m_back_buffer_desc; }
    const D3DCAPS9 *GetCaps() const { return &m_caps; }
    char IsLost() const { return m_lost; }
    double GetLostTime() const { return m_lost_time; }

    // Render state (EngDeviceDX9RenderState.cpp).
    void SetDefaults();
    void ResetStateFlags();
    void ApplyDefaultStates();

    void ComputeFullScreenViewport();
    void SetViewportFullScreen();
    void SetViewportToSize(int x, int y, int w, int h);
    void SetViewportToDimension(const _Dimension *dimension);
    void SetViewportToSizeRatioed(int x, int y, int w, int h);
    void SetViewportToDimensionRatioed(const _Dimension *dimension);
    void SetViewportToViewportStruct(const D3DVIEWPORT9 *viewport);
    D3DVIEWPORT9 *GetViewport(D3DVIEWPORT9 *viewport);
    bool IsViewportFullScreen() const { return m_viewport_full_screen; }

    void SetClearColour(float r, float g, float b);
    void ClearBackBufferAndZBuffer();
    void ClearBackBuffer();

    void SetProjectionMatrixToDxMatrix(const float *matrix);
    void SetProjectionMatrix(const EngMatrix *matrix);
    void SetPerspectiveProjection();
    void SetViewMatrixToDxMatrix(const float *matrix);
    void SetViewMatrix(const EngMatrix *matrix);
    void UpdateViewMatrix();
    void SetTransformMatrixToDxMatrix(const float *matrix);
    void SetTransformMatrix(const EngMatrix *matrix);
    void DoSetTransformMatrix();
    void ResetTransformMatrix();
    EngMatrix *GetTransformMatrix(EngMatrix *matrix);
    void CopyTransformMatrix(float *matrix);
    void BuildTransformMatrix(const _Vector3d *position, const _Vector3d *rotation, float *matrix);
    void SetTransformMatrixFromPositionAndRotation(const _Vector3d *position, const _Vector3d *rotation);
    void SetTransformMatrixFromPositionRotationAndScale(const _Vector3d *position, const _Vector3d *rotation,
                                                        const _Vector3d *scale);

    void PushAllMatrices();
    void PopAllMatrices();
    void PushTransformMatrix();
    void PopTransformMatrix();
    void PushOrPopAllMatrices(char push, char restore_lighting);

    void PrepareFor2D(char lighting_off);
    void RestoreAfter2D();
    bool IsPreparedFor2D() const { return m_prepared_2d; }
    bool PrepareFor2DIfNeeded(char lighting_off);

    void EnableZBuffer(char on);
    void SuspendZBuffer();
    bool SuspendZBufferIfOn();
    void RestoreZBuffer();

    bool IsLightingOn() const { return m_lighting; }
    void TurnOnLighting();
    void TurnOffLighting();
    bool TurnOffLightingIfOn();

    void EnableBlending(int src_blend, int dest_blend);
    void EnableBlendingType(int type);
    void DisableBlending();
    bool IsBlendingOn() const { return m_blending_on; }
    char GetBlendingState(char *on, int *src_blend, int *dest_blend);
    void SetBlendingState(char on, int src_blend, int dest_blend);
    bool SaveOrRestoreBlendingState(char save);

    bool AreTwoSidedPolygonsShown() const { return m_two_sided; }
    void ShowTwoSidedPolygons(char show);

    void TurnOnCrop(float x, float y, float w, float h);
    void TurnOnCropToDimension(const _Dimension *dimension);
    void TurnOnCropInViewport(float x, float y, float w, float h);
    void TurnOnCropInViewportToDimension(const _Dimension *dimension);
    bool IsCropOn() const { return m_crop_on; }
    void TurnOffCrop();
    // Narrows a crop that is on to its overlap with the rectangle (pixels);
    // no overlap leaves an empty crop, so nothing is drawn.
    void IntersectCrop(const RECT *rect);
    // The crop in pixels: false when none is on; setting one turns it on.
    bool GetCrop(RECT *rect);
    void SetCrop(const RECT *rect);

    void ModulateTextureAlphaWithColourAlpha();
    void BlendTextureAlphaWithColourAlpha();
    void ModulateTextureAlphaIfNeeded(char *changed);
    void SetTextureQuality(signed char quality);
    void SetNoTexture();
    void SetMaterialToDefault();

private:
    void SetScissor(int left, int top, int right, int bottom);
    // Cuts a viewport that starts on the back buffer to the back buffer.
    D3DVIEWPORT9 ClampToBackBuffer(D3DVIEWPORT9 viewport) const;

    EngDevice *m_owner;
    HWND m_window_handle;
    char m_d3d_ready;
    char m_lost;
    double m_lost_time;
    _DXUTDeviceSettings *m_settings;
    D3DSURFACE_DESC m_back_buffer_desc;
    D3DCAPS9 m_caps;

    D3DVIEWPORT9 m_full_screen_viewport;
    D3DVIEWPORT9 m_viewport;
    D3DMATERIAL9 m_material;
    float m_field_of_view;
    float m_aspect;
    float m_near_plane;
    float m_far_plane;
    char m_depth_wanted;
    char m_texture_alpha_modulate;
    char m_texture_quality;
    char m_prepared_2d;
    char m_lighting;
    char m_depth_on;
    char m_two_sided;
    D3DCOLOR m_clear_colour;
    char m_rendering;
    char m_viewport_full_screen;
    int m_all_level;
    int m_transform_level;
    float m_stack_projection[ENG_DEVICE_STACK_SIZE][16];
    float m_stack_view[ENG_DEVICE_STACK_SIZE][16];
    float m_stack_world[ENG_DEVICE_STACK_SIZE][16];
    float m_stack_transform[ENG_DEVICE_STACK_SIZE][16];
    int m_src_blend;
    int m_dest_blend;
    char m_blending_on;
    char m_crop_on;
    float m_projection[16];
    float m_view[16];
    float m_world[16];
    float m_reset_matrix[16];
};

// The one device object, the Direct3D object and its device; null while
// they do not exist, the device also during a device change.
extern EngDeviceDX9 *eng_device_dx9;
extern IDirect3D9 *eng_d3d;
extern IDirect3DDevice9 *eng_d3d_device;
// The back-buffer format of the device in force.
extern D3DFORMAT eng_d3d_back_buffer_format;
// The engine's blend-factor numbers 0 to 10 as D3DBLEND values (ZERO, ONE,
// SRCCOLOR, INVSRCCOLOR, SRCALPHA, INVSRCALPHA, INVDESTCOLOR, INVDESTALPHA,
// DESTCOLOR, DESTALPHA, SRCALPHASAT).
extern int eng_device_blend_factors[11];

// Offered to the settings search: only back-buffer formats that textures
// can be blended into are taken.
char EngDeviceDX9IsDeviceAcceptableCB(D3DCAPS9 *caps, D3DFORMAT adapter_format, D3DFORMAT back_buffer_format,
                                      char windowed);
// The window's anti-aliasing choice into presentation parameters; null
// gives null.
D3DPRESENT_PARAMETERS *DXUTApplyWindowMultisample(D3DPRESENT_PARAMETERS *parameters);
// Loads the runtime once (until the device object's Destroy frees it).
bool EngDeviceDX9LoadD3D9();
// The Direct3D object of the loaded runtime; null without the runtime.
IDirect3D9 *EngDeviceDX9Direct3DCreate9(UINT sdk_version);

// The module state that outlives one device object (the sync method last
// used, the saved blending state, the lighting flag of the matrix push)
// back as at start.
void EngDeviceDX9ResetForTests();
// The render-state part of that reset.
void EngDeviceDX9ResetRenderStateForTests();
