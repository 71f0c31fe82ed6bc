// The GL backend: a GL context on the device's window, drawing into a frame
// buffer of its own (the back buffer, in the device's format, depth format
// and number of samples) that Present copies to the window. Fixed-function GL
// 2.1 with frame buffer objects (GL 3.0 or ARB_framebuffer_object), made to
// behave as Direct3D 9 does: pixel centres on whole coordinates, the y axis
// down, depth 0..1, ARGB colours, lighting from the material.
#pragma once

#include "platform/d3d9/D3D9Internal.h"

#include <cstdint>

struct SDL_Window;

class D3D9GLBackend : public D3D9DeviceBackend {
public:
    static D3D9GLBackend *Create(HWND window, const D3DPRESENT_PARAMETERS *parameters, HRESULT *result);
    ~D3D9GLBackend() override;

    HRESULT Clear(const D3D9DeviceState &state, DWORD count, const D3DRECT *rects, DWORD flags, D3DCOLOR colour,
                  float z, DWORD stencil) override;
    HRESULT Present() override;
    HRESULT Draw(const D3D9DeviceState &state, D3DPRIMITIVETYPE type, UINT primitives, const BYTE *vertices,
                 UINT vertex_count) override;
    void ForgetTexture(IDirect3DTexture9 *texture) override;
    void *InsertFence() override;
    bool IsFenceDone(void *fence, bool flush) override;
    void WaitForFence(void *fence) override;
    void DeleteFence(void *fence) override;

    HRESULT ReadBackBuffer(const RECT *rect, DWORD *argb);
    unsigned long GetCallCount() const { return m_gl_calls; }
    HRESULT DrawReferenceTriangles(IDirect3DTexture9 *texture, const float *vertices, int vertex_count);

private:
    D3D9GLBackend();
    // Makes the context current; false once the window is gone.
    bool Activate();
    HRESULT MakeFramebuffers(const D3DPRESENT_PARAMETERS *parameters);
    // The frame buffer holding a single-sample copy of the back buffer.
    unsigned int ResolvedFramebuffer();

    // Drawing state (D3D9GLDraw.cpp).
    void ApplyRasterState(const D3D9DeviceState &state, bool pretransformed);
    void ApplyTransforms(const D3D9DeviceState &state, bool pretransformed);
    void ApplyTexture(const D3D9DeviceState &state);
    void BindTexture(IDirect3DTexture9 *texture);

    SDL_Window *m_window;
    uint32_t m_window_id;
    void *m_context;
    int m_width, m_height;
    int m_samples;
    bool m_has_depth;
    bool m_has_sync;
    unsigned int m_framebuffer, m_colour, m_depth;
    unsigned int m_resolve_framebuffer, m_resolve_colour;
    unsigned long m_gl_calls;
};
