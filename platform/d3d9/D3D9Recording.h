// The recording backend: devices that draw nothing but keep a line for every
// call and a copy of every draw, and that answer with failures a test asks
// for. Chosen with D3D9SetBackend(D3D9_BACKEND_RECORDING).
#pragma once

#include "platform/d3d9/D3D9Device.h"

#include <string>
#include <vector>

// One draw: the device's state at the time and the vertices drawn.
struct D3D9RecordedDraw {
    D3D9DeviceState state;
    D3DPRIMITIVETYPE type;
    UINT primitives;
    UINT vertex_count;
    // vertex_count vertices of state.fvf, state.stream_stride bytes apart.
    std::vector<BYTE> vertices;
};

// The calls made so far, oldest first, for example "CreateDevice 800x600
// windowed", "SetRenderState D3DRS_LIGHTING 0", "Clear 0 3 ff33664c 1 0",
// "DrawPrimitive D3DPT_TRIANGLESTRIP 0 2", "Present", "Release device".
const std::vector<std::string> &D3D9RecordingGetCalls();
const std::vector<D3D9RecordedDraw> &D3D9RecordingGetDraws();
// The next `times` calls of that name (the first word of their line, such as
// "Present" or "CreateOffscreenPlainSurface") answer the result instead of
// doing anything; a negative count keeps answering until the reset.
void D3D9RecordingFailCall(const char *call, HRESULT result, int times = 1);
// Whether calls and draws are kept (on at start and after the reset); a
// benchmark turns it off to measure the device without its log.
void D3D9RecordingKeepLog(bool keep);
// Forgets the calls, the draws and the failures asked for.
void D3D9RecordingReset();
