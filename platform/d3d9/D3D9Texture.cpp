#include "platform/d3d9/D3D9Texture.h"
#include "platform/d3d9/D3D9Internal.h"

IDirect3DTexture9::IDirect3DTexture9(IDirect3DDevice9 *device, const D3DSURFACE_DESC &desc)
    : IDirect3DBaseTexture9(device), m_desc(desc), m_pixels(), m_locked(false), m_lock_writes(false), m_changed(true),
      m_keep_pixels(false), m_backend_name(0), m_backend_filter(0)
{
    D3D9PixelsAllocate(&m_pixels, desc.Format, desc.Width, desc.Height);
}

IDirect3DTexture9::~IDirect3DTexture9()
{
    m_device->Record("Release texture %ux%u", m_desc.Width, m_desc.Height);
    m_device->GetBackend()->ForgetTexture(this);
    D3D9PixelsFree(&m_pixels);
}

DWORD IDirect3DTexture9::GetLevelCount()
{
    return 1;
}

HRESULT IDirect3DTexture9::GetLevelDesc(UINT level, D3DSURFACE_DESC *desc)
{
    if (level != 0 || !desc)
        return D3DERR_INVALIDCALL;
    *desc = m_desc;
    return S_OK;
}

HRESULT IDirect3DTexture9::LockRect(UINT level, D3DLOCKED_RECT *locked, const RECT *rect, DWORD flags)
{
    m_device->Record("LockRect texture %ux%u 0x%x", m_desc.Width, m_desc.Height, static_cast<unsigned>(flags));
    HRESULT fault = m_device->Fault("LockRect");
    if (fault != S_OK)
        return fault;
    RECT area;
    if (level != 0 || !locked || m_locked || !D3D9PixelsGetRect(&m_pixels, rect, &area))
        return D3DERR_INVALIDCALL;
    // Draws held back with the pixels as they are now go first.
    m_device->GetBackend()->Flush();
    if (!m_pixels.bits) {
        D3D9Pixels pixels;
        if (!D3D9PixelsAllocate(&pixels, m_desc.Format, m_desc.Width, m_desc.Height))
            return E_OUTOFMEMORY;
        if (!m_device->GetBackend()->ReadTexture(this, &pixels)) {
            D3D9PixelsFree(&pixels);
            return D3DERR_INVALIDCALL;
        }
        m_pixels = pixels;
        m_keep_pixels = true;
    }
    locked->Pitch = static_cast<INT>(m_pixels.pitch);
    locked->pBits = D3D9PixelsAt(&m_pixels, area.left, area.top);
    m_locked = true;
    m_lock_writes = !(flags & D3DLOCK_READONLY);
    return S_OK;
}

HRESULT IDirect3DTexture9::UnlockRect(UINT level)
{
    m_device->Record("UnlockRect texture %ux%u", m_desc.Width, m_desc.Height);
    if (level != 0 || !m_locked)
        return D3DERR_INVALIDCALL;
    m_locked = false;
    if (m_lock_writes)
        m_changed = true;
    return S_OK;
}

size_t IDirect3DTexture9::DropPixels()
{
    if (m_desc.Pool != D3DPOOL_MANAGED || m_locked || m_changed || m_keep_pixels || !m_pixels.bits)
        return 0;
    const size_t bytes = static_cast<size_t>(m_pixels.pitch) * m_pixels.height;
    D3D9PixelsFree(&m_pixels);
    return bytes;
}

bool IDirect3DTexture9::TakeChanged()
{
    bool changed = m_changed;
    m_changed = false;
    return changed;
}
