// Screen dimming: one black quad over the whole screen, drawn with an alpha
// to darken what lies behind a popup or a fade. The facade's EngDimDraw and
// EngDimDestroyVertexBuffer (EngDevice.h) forward here.
#pragma once

// Makes the quad (once; again after it was destroyed).
bool EngDimCreateVertexBuffer_DX9();
// Darkens the screen by alpha, clamped to 0..1, with ordinary alpha blending
// inside the device's one saved-blending slot: never call it between another
// caller's save and restore. Nothing while no device exists.
void EngDimDraw_DX9(float alpha);
// Frees the quad; the next draw makes it again.
void EngDimDestroyVertexBuffer_DX9();
