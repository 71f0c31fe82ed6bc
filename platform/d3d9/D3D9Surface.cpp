#include "platform/d3d9/D3D9Surface.h"
#include "platform/d3d9/D3D9Internal.h"

IDirect3DSurface9::IDirect3DSurface9(IDirect3DDevice9 *device, const D3DSURFACE_DESC &desc, bool with_pixels)
    : D3D9DeviceChild(device), m_desc(desc), m_has_pixels(with_pixels), m_pixels(), m_locked(false), m_fence(nullptr)
{
    if (with_pixels)
        D3D9PixelsAllocate(&m_pixels, desc.Format, desc.Width, desc.Height);
}

IDirect3DSurface9::~IDirect3DSurface9()
{
    if (m_has_pixels)
        m_device->Record("Release surface %ux%u", m_desc.Width, m_desc.Height);
    if (m_fence)
        m_device->GetBackend()->DeleteFence(m_fence);
    D3D9PixelsFree(&m_pixels);
}

HRESULT IDirect3DSurface9::GetDesc(D3DSURFACE_DESC *desc)
{
    if (!desc)
        return D3DERR_INVALIDCALL;
    *desc = m_desc;
    return S_OK;
}

HRESULT IDirect3DSurface9::LockRect(D3DLOCKED_RECT *locked, const RECT *rect, DWORD flags)
{
    m_device->Record("LockRect surface %ux%u 0x%x", m_desc.Width, m_desc.Height, static_cast<unsigned>(flags));
    HRESULT fault = m_device->Fault("LockRect");
    if (fault != S_OK)
        return fault;
    RECT area;
    if (!locked || !m_has_pixels || m_locked || !D3D9PixelsGetRect(&m_pixels, rect, &area))
        return D3DERR_INVALIDCALL;
    // Whatever reads the pixels waits for the fill that wrote them.
    if (m_fence) {
        m_device->GetBackend()->WaitForFence(m_fence);
        m_device->GetBackend()->DeleteFence(m_fence);
        m_fence = nullptr;
    }
    locked->Pitch = static_cast<INT>(m_pixels.pitch);
    locked->pBits = D3D9PixelsAt(&m_pixels, area.left, area.top);
    m_locked = true;
    return S_OK;
}

HRESULT IDirect3DSurface9::UnlockRect()
{
    m_device->Record("UnlockRect surface %ux%u", m_desc.Width, m_desc.Height);
    if (!m_locked)
        return D3DERR_INVALIDCALL;
    m_locked = false;
    return S_OK;
}

HRESULT IDirect3DSurface9::Fill(const RECT *rect, D3DCOLOR colour)
{
    RECT area;
    if (!m_has_pixels || m_locked || !D3D9PixelsGetRect(&m_pixels, rect, &area))
        return D3DERR_INVALIDCALL;
    D3D9PixelsFill(&m_pixels, &area, colour);
    // The fill counts as the graphics processor's work: a later lock waits
    // until everything asked of it up to here is done.
    if (m_fence)
        m_device->GetBackend()->DeleteFence(m_fence);
    m_fence = m_device->GetBackend()->InsertFence();
    return S_OK;
}
