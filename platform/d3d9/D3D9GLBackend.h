// The GL backend: a GL context on the device's window, drawing into the
// window's own back buffer while that is the back buffer the device was
// made with (same size, same colour channels, one sample) and nothing has
// used depth or stencil yet; otherwise into a frame buffer of its own (in the
// device's format, depth format and number of samples) that Present copies to
// the window. A software GL pays for that copy as for a full-screen draw, so
// the window's buffer is kept as long as it serves. Fixed-function GL
// 2.1 with frame buffer objects (GL 3.0 or ARB_framebuffer_object), made to
// behave as Direct3D 9 does: pixel centres on whole coordinates, the y axis
// down, depth 0..1, ARGB colours, lighting from the material.
//
// Draws are held back while they share their state (texture, stage and
// sampler settings, blending and the other render states, viewport):
// their vertices are transformed and lit on the CPU into one buffer, and the
// batch goes to GL as one vertex-array draw when the state changes, before a
// clear, at Present, when a texture is locked or goes, before a fence and
// before the back buffer is read. GL state is sent only where it differs
// from what was sent before (D3D9GLState.h). A GL error found after a batch
// is reported through the error reporter (D3D9Backend.h).
#pragma once

#include "platform/d3d9/D3D9GLState.h"
#include "platform/d3d9/D3D9Internal.h"

#include <cstddef>
#include <cstdint>
#include <vector>

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
    void Flush() override;
    void ForgetTexture(IDirect3DTexture9 *texture) override;
    bool ReadTexture(IDirect3DTexture9 *texture, D3D9Pixels *pixels) override;
    void *InsertFence() override;
    bool IsFenceDone(void *fence, bool flush) override;
    void WaitForFence(void *fence) override;
    void DeleteFence(void *fence) override;

    HRESULT ReadBackBuffer(const RECT *rect, DWORD *argb);
    unsigned long GetCallCount() const { return m_gl.Calls(); }
    // Off: every draw goes to GL on its own (for tests).
    void SetBatching(bool on);
    void RaiseError();
    HRESULT DrawReferenceTriangles(IDirect3DTexture9 *texture, const float *vertices, int vertex_count);

private:
    D3D9GLBackend();
    // Makes the context current; false once the window is gone.
    bool Activate();
    HRESULT MakeFramebuffers(const D3DPRESENT_PARAMETERS *parameters);
    // The frame buffer holding a single-sample copy of the back buffer.
    unsigned int ResolvedFramebuffer();
    // True when the window's buffer can be the back buffer: one sample, the
    // back buffer's size and colour channels.
    bool WindowServes(D3DFORMAT format);
    // Called before the back buffer is drawn or read: a window whose size has
    // changed since the last Present no longer serves.
    void CheckWindowSize();
    // Draws into the device's own frame buffer from now on, with the depth
    // and stencil clears held back, and the colour drawn so far when it is
    // kept (not after a resize, which leaves the window's buffer undefined).
    void LeaveWindow(bool keep_colour);
    // Where the back buffer is drawn.
    unsigned int DrawFramebuffer() const { return m_in_window ? 0 : m_framebuffer; }

    // What a batch shares: every state a draw hands to GL other than its
    // vertices, with unused settings zero so that draws differing only in
    // those share a batch. Compared as bytes.
    struct BatchKey {
        IDirect3DTexture9 *texture;
        DWORD pretransformed;
        D3DVIEWPORT9 viewport;
        DWORD scissor_on;
        RECT scissor;
        DWORD depth_on, blend_on, source_blend, destination_blend, cull, multisample;
        DWORD colour_op, colour_arg1, colour_arg2, alpha_op, alpha_arg1, alpha_arg2, mag_filter, min_filter;
    };

    // Drawing (D3D9GLDraw.cpp).
    void MakeBatchKey(const D3D9DeviceState &state, BatchKey *key) const;
    void AppendVertices(const D3D9DeviceState &state, D3DPRIMITIVETYPE type, const BYTE *vertices,
                        UINT vertex_count);
    void ApplyRasterState(const BatchKey &key);
    void ApplyTexture(const BatchKey &key);
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
    // Drawing into the window's own back buffer (see above); its size is
    // checked once a frame.
    bool m_in_window;
    bool m_size_checked;
    // Whole depth and stencil clears made while in the window, which has
    // neither: they are done on the frame buffer when drawing moves there.
    DWORD m_held_clears;
    float m_held_z;
    DWORD m_held_stencil;
    D3D9GLStateCache m_gl;
    bool m_batching;
    BatchKey m_batch_key;
    // The batch's vertices, as triangles; the buffer keeps its size from
    // batch to batch, so drawing allocates only while it grows.
    std::vector<D3D9GLVertex> m_batch;
    size_t m_batch_size;
    // Bytes of texture pixels freed since the heap was last trimmed.
    size_t m_dropped_bytes;
};
