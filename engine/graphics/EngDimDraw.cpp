#include "engine/graphics/EngDimDraw.h"
#include "engine/core/EngDebug.h"
#include "engine/graphics/EngVertexBufferDX9.h"
#include "engine/runtime/EngDevice.h"

namespace {

EngVertexBufferDX9 dim_quad;
bool dim_quad_made = false;

} // namespace

bool EngDimCreateVertexBuffer_DX9()
{
    if (dim_quad_made)
        return true;
    if (!dim_quad.Create(EVBT_POS_COL_2D, nullptr)) {
        DebugError("EngDimCreateVertexBuffer_DX9", "Could not create VB");
        return false;
    }
    // The whole screen, at the screen's size when the quad is made; a new
    // device (and so a new size) makes it again.
    dim_quad.SetPositionRatioed(0.0f, 0.0f, 640.0f, 480.0f);
    dim_quad_made = true;
    return true;
}

void EngDimDraw_DX9(float alpha)
{
    if (!eng_device || !EngDimCreateVertexBuffer_DX9())
        return;
    if (!(alpha > 0.0f))
        alpha = 0.0f;
    else if (alpha > 1.0f)
        alpha = 1.0f;
    dim_quad.SetColour(0.0f, 0.0f, 0.0f, alpha);
    eng_device->SaveOrRestoreBlendingState(1);
    eng_device->EnableBlendingType(0);
    dim_quad.Draw();
    eng_device->SaveOrRestoreBlendingState(0);
}

void EngDimDestroyVertexBuffer_DX9()
{
    dim_quad.Destroy();
    dim_quad_made = false;
}

void EngDimDraw(float alpha)
{
    if (eng_device_type == EDT_DX9)
        EngDimDraw_DX9(alpha);
}

void EngDimDestroyVertexBuffer()
{
    if (eng_device_type == EDT_DX9)
        EngDimDestroyVertexBuffer_DX9();
}
