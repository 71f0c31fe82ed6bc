// What the files of the Direct3D subset share: the backend a device hands
// its work to, the backends' factories, the render states a device knows,
// and the live-object counters.
#pragma once

#include "platform/d3d9/D3D9Device.h"

class D3D9DeviceBackend {
public:
    virtual ~D3D9DeviceBackend() = default;

    // Whether the device writes a call log (Note is then told every line).
    virtual bool Records() const { return false; }
    virtual void Note(const char *) {}
    // A failure a test asked for in place of the named call, or S_OK.
    virtual HRESULT Fault(const char *) { return S_OK; }

    // The device has checked the arguments; rects are cut to the area to clear.
    virtual HRESULT Clear(const D3D9DeviceState &state, DWORD count, const D3DRECT *rects, DWORD flags,
                          D3DCOLOR colour, float z, DWORD stencil) = 0;
    virtual HRESULT Present() = 0;
    // vertex_count vertices of the state's vertex format, stride bytes apart.
    virtual HRESULT Draw(const D3D9DeviceState &state, D3DPRIMITIVETYPE type, UINT primitives,
                         const BYTE *vertices, UINT vertex_count) = 0;
    // Sends the draws the backend holds back to be drawn together; they
    // must reach the texture's pixels or the back buffer before either is
    // read or changed from outside the draws.
    virtual void Flush() {}
    // The texture goes: what the backend made for it goes too.
    virtual void ForgetTexture(IDirect3DTexture9 *texture) = 0;
    // The texture's pixels as the backend holds them, into pixels of its
    // format and size; false when the backend holds none.
    virtual bool ReadTexture(IDirect3DTexture9 *, D3D9Pixels *) { return false; }

    // A marker after the work asked for so far; null when there is nothing
    // to wait for. IsFenceDone with flush sends pending work on.
    virtual void *InsertFence() = 0;
    virtual bool IsFenceDone(void *fence, bool flush) = 0;
    virtual void WaitForFence(void *fence) = 0;
    virtual void DeleteFence(void *fence) = 0;
};

// The recording backend; never fails.
D3D9DeviceBackend *D3D9CreateRecordingBackend();
// A GL backend drawing into the window, its back buffer as the parameters
// say; null with the reason in *result when the window or GL cannot have it.
D3D9DeviceBackend *D3D9CreateGLBackend(HWND window, const D3DPRESENT_PARAMETERS *parameters, HRESULT *result);

// What back buffers can have besides their size (D3D9GLBackend.cpp). The
// colour formats (the ones textures can be blended into as well) and the
// depth-stencil formats a back buffer may be asked for:
bool D3D9IsBackBufferFormat(D3DFORMAT format);
bool D3D9IsDepthStencilFormat(D3DFORMAT format);
// The samples a multisample type and quality stand for (0 for none): types
// 2 to 16 are that many samples (quality 0 only); quality q of the
// non-maskable type is 2(q+1). False for a pair no back buffer can have.
bool D3D9SamplesOf(D3DMULTISAMPLE_TYPE type, DWORD quality, int *samples);

// What the graphics really make of those: the sample counts a back buffer
// gets exactly as asked, the most samples one can be asked for, and the
// depth-stencil formats that can be attached.
struct D3D9BackBufferOffer {
    bool samples[17];
    int max_samples;
    D3DFORMAT depth_formats[8];
    int depth_format_count;
};
// Probed once a run on a hidden GL window of its own; on the headless
// desktop, the sample counts the test describes there and every depth-stencil
// format. Nothing beyond single samples without depth when GL cannot be had.
void D3D9GetBackBufferOffer(D3D9BackBufferOffer *offer);

// The capabilities of a device of that type on that adapter (D3D9Device.cpp).
void D3D9FillCaps(UINT adapter, D3DDEVTYPE type, D3DCAPS9 *caps);

// The recording's side of calls made before a device exists (D3D9Recording.cpp).
void D3D9RecordingNote(const char *line);
HRESULT D3D9RecordingFault(const char *call);

// Render states a device keeps, with their values on a new device.
bool D3D9IsKnownRenderState(DWORD state);
void D3D9SetDefaultStates(D3D9DeviceState *state);

// Names for the call log; the number for an unknown value.
const char *D3D9RenderStateName(DWORD state, char *buffer, int size);
const char *D3D9StageStateName(DWORD type, char *buffer, int size);
const char *D3D9SamplerStateName(DWORD type, char *buffer, int size);
const char *D3D9TransformName(DWORD state, char *buffer, int size);
const char *D3D9PrimitiveName(DWORD type, char *buffer, int size);

// A failure no call can answer, to the error reporter (D3D9Backend.h).
void D3D9ReportError(const char *where, const char *format, ...) __attribute__((format(printf, 2, 3)));

// Counting devices and their objects as they come and go.
void D3D9CountDevice(int change);
void D3D9CountObject(int change);

// Bytes a vertex of the format takes; 0 for a format the device cannot draw.
UINT D3D9VertexSize(DWORD fvf);
