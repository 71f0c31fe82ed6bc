// The device: draws into the back buffer of one window and presents it. It
// keeps every state it is given (render, texture-stage and sampler states,
// transforms, viewport, scissor rectangle, material, bound texture and
// vertices) with Direct3D's defaults, and hands clears, draws and
// presentation to its backend: GL for a real window, or the recording
// backend (D3D9Recording.h) for tests.
#pragma once

#include "platform/d3d9/D3D9Query.h"
#include "platform/d3d9/D3D9Surface.h"
#include "platform/d3d9/D3D9Texture.h"
#include "platform/d3d9/D3D9VertexBuffer.h"

class D3D9DeviceBackend;

// Render states are kept by number; texture-stage and sampler states by
// stage and number.
#define D3D9_RENDER_STATE_COUNT 256
#define D3D9_STAGE_STATE_COUNT 7
#define D3D9_SAMPLER_STATE_COUNT 7

// Everything a draw or a clear depends on.
struct D3D9DeviceState {
    DWORD render_states[D3D9_RENDER_STATE_COUNT];
    DWORD stage_states[D3D9_MAX_STAGES][D3D9_STAGE_STATE_COUNT];
    DWORD sampler_states[D3D9_MAX_STAGES][D3D9_SAMPLER_STATE_COUNT];
    D3DMATRIX world;
    D3DMATRIX view;
    D3DMATRIX projection;
    D3DVIEWPORT9 viewport;
    RECT scissor;
    D3DMATERIAL9 material;
    // Bound objects are not referenced: an object that goes is unbound.
    IDirect3DBaseTexture9 *textures[D3D9_MAX_STAGES];
    DWORD fvf;
    IDirect3DVertexBuffer9 *stream;
    UINT stream_offset;
    UINT stream_stride;
    // The back buffer: size, format and whether it has depth.
    D3DPRESENT_PARAMETERS back_buffer;
};

class IDirect3DDevice9 {
public:
    IDirect3DDevice9(const IDirect3DDevice9 &) = delete;
    IDirect3DDevice9 &operator=(const IDirect3DDevice9 &) = delete;

    ULONG AddRef();
    // Returns the references left, one for every object of the device still
    // alive; the device goes at 0.
    ULONG Release();

    // S_OK while the device can draw.
    HRESULT TestCooperativeLevel();
    HRESULT GetDeviceCaps(D3DCAPS9 *caps);
    // Swap chain 0, back buffer 0: a surface describing the back buffer.
    HRESULT GetBackBuffer(UINT swap_chain, UINT index, D3DBACKBUFFER_TYPE type, IDirect3DSurface9 **surface);

    // Draws happen between BeginScene and EndScene.
    HRESULT BeginScene();
    HRESULT EndScene();
    // Clears the viewport (and, with the scissor test on, only its part inside
    // the scissor rectangle); rectangles, when given, are cut to that area.
    HRESULT Clear(DWORD count, const D3DRECT *rects, DWORD flags, D3DCOLOR colour, float z, DWORD stencil);
    // Shows the back buffer in the window; the rectangles and region must be null.
    HRESULT Present(const RECT *source, const RECT *destination, HWND window, const void *dirty_region);

    HRESULT SetRenderState(D3DRENDERSTATETYPE state, DWORD value);
    HRESULT GetRenderState(D3DRENDERSTATETYPE state, DWORD *value);
    HRESULT SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD value);
    HRESULT GetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD *value);
    HRESULT SetSamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type, DWORD value);
    HRESULT GetSamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type, DWORD *value);
    HRESULT SetTransform(D3DTRANSFORMSTATETYPE state, const D3DMATRIX *matrix);
    HRESULT GetTransform(D3DTRANSFORMSTATETYPE state, D3DMATRIX *matrix);
    // The viewport must lie inside the back buffer.
    HRESULT SetViewport(const D3DVIEWPORT9 *viewport);
    HRESULT GetViewport(D3DVIEWPORT9 *viewport);
    HRESULT SetScissorRect(const RECT *rect);
    HRESULT GetScissorRect(RECT *rect);
    HRESULT SetMaterial(const D3DMATERIAL9 *material);
    HRESULT GetMaterial(D3DMATERIAL9 *material);
    // Null unbinds. Only stage 0 is drawn with.
    HRESULT SetTexture(DWORD stage, IDirect3DBaseTexture9 *texture);
    // The bound texture with a reference added, or null.
    HRESULT GetTexture(DWORD stage, IDirect3DBaseTexture9 **texture);
    HRESULT SetFVF(DWORD fvf);
    HRESULT GetFVF(DWORD *fvf);
    // Stream 0 only; null unbinds.
    HRESULT SetStreamSource(UINT stream, IDirect3DVertexBuffer9 *buffer, UINT offset, UINT stride);
    // Draws count triangles of the stream's vertices from vertex start on, in
    // the layout of the vertex format set.
    HRESULT DrawPrimitive(D3DPRIMITIVETYPE type, UINT start, UINT count);

    // One level is made whatever levels asks for.
    HRESULT CreateTexture(UINT width, UINT height, UINT levels, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                          IDirect3DTexture9 **texture, HANDLE *shared);
    HRESULT CreateVertexBuffer(UINT length, DWORD usage, DWORD fvf, D3DPOOL pool, IDirect3DVertexBuffer9 **buffer,
                               HANDLE *shared);
    HRESULT CreateOffscreenPlainSurface(UINT width, UINT height, D3DFORMAT format, D3DPOOL pool,
                                        IDirect3DSurface9 **surface, HANDLE *shared);
    HRESULT CreateQuery(D3DQUERYTYPE type, IDirect3DQuery9 **query);
    // Fills a rectangle of an off-screen surface (null: all of it).
    HRESULT ColorFill(IDirect3DSurface9 *surface, const RECT *rect, D3DCOLOR colour);

    // Made by IDirect3D9::CreateDevice, which gives it its backend.
    IDirect3DDevice9(D3D9DeviceBackend *backend, const D3DPRESENT_PARAMETERS *parameters, D3DDEVTYPE type);

    // For the device's own objects and its backend.
    D3D9DeviceBackend *GetBackend() const { return m_backend; }
    const D3D9DeviceState &GetState() const { return m_state; }
    // A line for the call log when the backend records one.
    void Record(const char *format, ...) __attribute__((format(printf, 2, 3)));
    // The failure a test asked for in place of this call, or S_OK.
    HRESULT Fault(const char *call);
    // An object of the device goes: it is no longer bound.
    void Unbind(const void *object);

private:
    ~IDirect3DDevice9();

    D3D9DeviceBackend *m_backend;
    D3DDEVTYPE m_type;
    ULONG m_references;
    bool m_in_scene;
    D3D9DeviceState m_state;
};
