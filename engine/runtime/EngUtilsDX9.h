// Small helpers of the Direct3D side of the engine: a Direct3D object of its
// own for code that needs one without the device (the display modes), the
// engine's table of surface formats, and the check through which every
// reported Direct3D call passes its result.
#pragma once

#include "platform/d3d9/D3D9.h"

// The own Direct3D object, loading the runtime first; null when it is
// missing ("DirectX9 Not Installed", with a popup when asked) or cannot make
// the object.
IDirect3D9 *EngUtilsDX9_CreateD3D(char show_popup);
// Releases the own object and the runtime it loaded.
void EngUtilsDX9_ReleaseD3D();

// The index-th format of the engine's table (from 0, in table order);
// false past its end.
bool EngUtilsDX9_GetTableFormat(int index, D3DFORMAT *format);
// Bits per pixel and alpha of a format of the engine's table; false for
// any other format. Either pointer may be null.
bool EngUtilsDX9_IsKnownFormat(D3DFORMAT format, int *bits, char *alpha);
// The bits of a format of the table, or 0 (reported when report is set).
int EngUtilsDX9_GetBitdepthFromFormat(D3DFORMAT format, char *alpha, char report);
// The first format of the table among the candidates for the kind asked
// (with or without alpha), then of the other kind; false without a device.
bool EngUtilsDX9_GetSupportedSurfaceFormat(D3DFORMAT *format, char alpha);

// True for S_OK. Any other result logs "<call>: <text of the result>" as an
// error of `place` (a plain function name) and gives false.
bool EngUtilsDX9_CheckResult(const char *place, const char *call, HRESULT result);
