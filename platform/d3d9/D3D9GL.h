// The GL backend's calls outside the device: the window's GL attributes, and
// reading back what a device has drawn (for tests).
#pragma once

#include "platform/d3d9/D3D9Device.h"

// Sets the GL attributes the backend's windows need (a compatibility
// context, double buffering); the window layer calls it before it makes a
// window with GL. False when the display refuses them.
bool D3D9GLPrepareWindow();

// The rectangle of the device's back buffer (origin top left) as ARGB
// colours, rows top to bottom, from what has been drawn since the last
// clear. D3DERR_INVALIDCALL for a device that does not draw with GL or a
// rectangle outside the back buffer.
HRESULT D3D9GLReadBackBuffer(IDirect3DDevice9 *device, const RECT *rect, DWORD *argb);

// What a picture costs GL itself, for the frame benchmark: triangles of
// vertex_count vertices (x, y in back-buffer pixels, then u, v) drawn white
// with the texture, alpha-blended, in one vertex-array call into the
// device's back buffer. D3DERR_INVALIDCALL for a device that does not draw
// with GL.
HRESULT D3D9GLDrawReferenceTriangles(IDirect3DDevice9 *device, IDirect3DTexture9 *texture, const float *vertices,
                                     int vertex_count);

// The GL calls the device has made since it was made (0 for a device that
// does not draw with GL), so a benchmark can count them per frame.
unsigned long D3D9GLGetCallCount(IDirect3DDevice9 *device);

// Whether the device holds draws that share their state back to send them
// to GL together (on for every new device). Off, each draw goes to GL on
// its own: for tests that compare the two.
void D3D9GLSetBatching(IDirect3DDevice9 *device, bool on);

// For tests: GL records an error now (an invalid enum), as a failing driver
// would while drawing; the device finds it after its next batch.
void D3D9GLRaiseErrorForTests(IDirect3DDevice9 *device);
