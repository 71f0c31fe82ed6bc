#include "engine/runtime/EngDevice.h"
#include "engine/runtime/EngDeviceDX9.h"

#include <new>

_EngDeviceType eng_device_type = EDT_DX9;
EngDevice *eng_device = nullptr;

static bool HaveDX9()
{
    return eng_device_type == EDT_DX9 && eng_device_dx9;
}

EngDevice::EngDevice(EngWindow *window) : m_created(0), m_window(window)
{
    eng_device_dx9 = nullptr;
}

EngDevice::~EngDevice()
{
    Destroy();
}

bool EngDevice::Create(char windowed, int width, int height, int bits, int refresh_rate)
{
    eng_device = nullptr;
    if (eng_device_type != EDT_DX9)
        return false;
    if (!eng_device_dx9) {
        eng_device_dx9 = new (std::nothrow) EngDeviceDX9(this);
        if (!eng_device_dx9)
            return false;
    }
    if (!eng_device_dx9->Create(windowed, width, height, bits, refresh_rate))
        return false;
    m_created = 1;
    eng_device = this;
    return true;
}

void EngDevice::Destroy()
{
    if (eng_device_dx9) {
        delete eng_device_dx9;
        eng_device_dx9 = nullptr;
    }
    m_created = 0;
    eng_device = nullptr;
}

void EngDevice::SyncWithGPU()
{
    if (eng_device_dx9)
        eng_device_dx9->SyncWithGPU();
}

void EngDevice::ModulateTextureAlphaWithColourAlpha()
{
    if (eng_device_dx9)
        eng_device_dx9->ModulateTextureAlphaWithColourAlpha();
}

bool EngDevice::PrepareFor2DIfNeededAlt(char lighting_off)
{
    return PrepareFor2DIfNeeded(lighting_off);
}

void EngDevice::ComputeFullScreenViewport()
{
    if (HaveDX9())
        eng_device_dx9->ComputeFullScreenViewport();
}

void EngDevice::SetViewportFullScreen()
{
    if (HaveDX9())
        eng_device_dx9->SetViewportFullScreen();
}

void EngDevice::SetViewportToDimension(const _Dimension *dimension)
{
    if (HaveDX9())
        eng_device_dx9->SetViewportToDimension(dimension);
}

void EngDevice::SetViewportToSizeRatioed(int x, int y, int w, int h)
{
    if (HaveDX9())
        eng_device_dx9->SetViewportToSizeRatioed(x, y, w, h);
}

void EngDevice::SetViewportToDimensionRatioed(const _Dimension *dimension)
{
    if (HaveDX9())
        eng_device_dx9->SetViewportToDimensionRatioed(dimension);
}

void EngDevice::SetViewportToViewportStruct(const D3DVIEWPORT9 *viewport)
{
    if (HaveDX9())
        eng_device_dx9->SetViewportToViewportStruct(viewport);
}

D3DVIEWPORT9 *EngDevice::GetViewport(D3DVIEWPORT9 *viewport)
{
    return HaveDX9() ? eng_device_dx9->GetViewport(viewport) : nullptr;
}

bool EngDevice::IsViewportFullScreen()
{
    return HaveDX9() ? eng_device_dx9->IsViewportFullScreen() : false;
}

void EngDevice::SetClearColour(float r, float g, float b)
{
    if (HaveDX9())
        eng_device_dx9->SetClearColour(r, g, b);
}

void EngDevice::ClearBackBufferAndZBuffer()
{
    if (HaveDX9())
        eng_device_dx9->ClearBackBufferAndZBuffer();
}

void EngDevice::ClearBackBuffer()
{
    if (HaveDX9())
        eng_device_dx9->ClearBackBuffer();
}

bool EngDevice::IsLightingOn()
{
    return HaveDX9() ? eng_device_dx9->IsLightingOn() : false;
}

void EngDevice::TurnOnLighting()
{
    if (HaveDX9())
        eng_device_dx9->TurnOnLighting();
}

void EngDevice::TurnOffLighting()
{
    if (HaveDX9())
        eng_device_dx9->TurnOffLighting();
}

bool EngDevice::TurnOffLightingIfOn()
{
    return HaveDX9() ? eng_device_dx9->TurnOffLightingIfOn() : false;
}

void EngDevice::EnableZBuffer(char on)
{
    if (HaveDX9())
        eng_device_dx9->EnableZBuffer(on);
}

void EngDevice::RestoreZBuffer()
{
    if (HaveDX9())
        eng_device_dx9->RestoreZBuffer();
}

bool EngDevice::SuspendZBufferIfOn()
{
    return HaveDX9() ? eng_device_dx9->SuspendZBufferIfOn() : false;
}

void EngDevice::EnableBlendingType(int type)
{
    if (HaveDX9())
        eng_device_dx9->EnableBlendingType(type);
}

void EngDevice::EnableBlending(int src_blend, int dest_blend)
{
    if (HaveDX9())
        eng_device_dx9->EnableBlending(src_blend, dest_blend);
}

void EngDevice::DisableBlending()
{
    if (HaveDX9())
        eng_device_dx9->DisableBlending();
}

char EngDevice::GetBlendingState(char *on, int *src_blend, int *dest_blend)
{
    return HaveDX9() ? eng_device_dx9->GetBlendingState(on, src_blend, dest_blend) : 0;
}

void EngDevice::SetBlendingState(char on, int src_blend, int dest_blend)
{
    if (HaveDX9())
        eng_device_dx9->SetBlendingState(on, src_blend, dest_blend);
}

bool EngDevice::SaveOrRestoreBlendingState(char save)
{
    return HaveDX9() ? eng_device_dx9->SaveOrRestoreBlendingState(save) : false;
}

void EngDevice::PrepareFor2D(char lighting_off)
{
    if (HaveDX9())
        eng_device_dx9->PrepareFor2D(lighting_off);
}

void EngDevice::RestoreAfter2D()
{
    if (HaveDX9())
        eng_device_dx9->RestoreAfter2D();
}

bool EngDevice::IsPreparedFor2D()
{
    return HaveDX9() ? eng_device_dx9->IsPreparedFor2D() : false;
}

bool EngDevice::PrepareFor2DIfNeeded(char lighting_off)
{
    return HaveDX9() ? eng_device_dx9->PrepareFor2DIfNeeded(lighting_off) : false;
}

void EngDevice::PushTransformMatrix()
{
    if (HaveDX9())
        eng_device_dx9->PushTransformMatrix();
}

void EngDevice::PopTransformMatrix()
{
    if (HaveDX9())
        eng_device_dx9->PopTransformMatrix();
}

void EngDevice::ResetTransformMatrix()
{
    if (HaveDX9())
        eng_device_dx9->ResetTransformMatrix();
}

void EngDevice::SetTransformMatrix(const EngMatrix *matrix)
{
    if (HaveDX9())
        eng_device_dx9->SetTransformMatrix(matrix);
}

EngMatrix *EngDevice::GetTransformMatrix(EngMatrix *matrix)
{
    return HaveDX9() ? eng_device_dx9->GetTransformMatrix(matrix) : nullptr;
}

void EngDevice::SetTransformMatrixFromPositionAndRotation(const _Vector3d *position, const _Vector3d *rotation)
{
    if (HaveDX9())
        eng_device_dx9->SetTransformMatrixFromPositionAndRotation(position, rotation);
}

void EngDevice::SetTransformMatrixFromPositionRotationAndScale(const _Vector3d *position, const _Vector3d *rotation,
                                                               const _Vector3d *scale)
{
    if (HaveDX9())
        eng_device_dx9->SetTransformMatrixFromPositionRotationAndScale(position, rotation, scale);
}

bool EngDevice::AreTwoSidedPolygonsShown()
{
    return HaveDX9() ? eng_device_dx9->AreTwoSidedPolygonsShown() : false;
}

void EngDevice::ShowTwoSidedPolygons(char show)
{
    if (HaveDX9())
        eng_device_dx9->ShowTwoSidedPolygons(show);
}

void EngDevice::TurnOnCrop(float x, float y, float w, float h)
{
    if (HaveDX9())
        eng_device_dx9->TurnOnCrop(x, y, w, h);
}

void EngDevice::TurnOnCropToDimension(const _Dimension *dimension)
{
    if (HaveDX9())
        eng_device_dx9->TurnOnCropToDimension(dimension);
}

void EngDevice::TurnOnCropInViewport(float x, float y, float w, float h)
{
    if (HaveDX9())
        eng_device_dx9->TurnOnCropInViewport(x, y, w, h);
}

void EngDevice::TurnOnCropInViewportToDimension(const _Dimension *dimension)
{
    if (HaveDX9())
        eng_device_dx9->TurnOnCropInViewportToDimension(dimension);
}

bool EngDevice::IsCropOn()
{
    return HaveDX9() ? eng_device_dx9->IsCropOn() : false;
}

void EngDevice::TurnOffCrop()
{
    if (HaveDX9())
        eng_device_dx9->TurnOffCrop();
}

bool EngDevice::GetCrop(RECT *rect)
{
    return HaveDX9() ? eng_device_dx9->GetCrop(rect) : false;
}

void EngDevice::SetCrop(const RECT *rect)
{
    if (HaveDX9())
        eng_device_dx9->SetCrop(rect);
}

void EngDevice::IntersectCrop(const RECT *rect)
{
    if (HaveDX9())
        eng_device_dx9->IntersectCrop(rect);
}

bool EngDevice::BeginRendering()
{
    return HaveDX9() ? eng_device_dx9->BeginRendering() : false;
}

bool EngDevice::BeginRenderingIfNeeded()
{
    return HaveDX9() ? eng_device_dx9->BeginRenderingIfNeeded() : false;
}

void EngDevice::EndRendering()
{
    if (HaveDX9())
        eng_device_dx9->EndRendering();
}

void EngDevice::SwapBuffers()
{
    if (HaveDX9())
        eng_device_dx9->SwapBuffers();
}
