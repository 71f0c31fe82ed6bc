// Surfaces: off-screen plain surfaces whose pixels live in memory, and the
// description of a device's back buffer.
#pragma once

#include "platform/d3d9/D3D9DeviceChild.h"
#include "platform/d3d9/D3D9Pixels.h"

class IDirect3DSurface9 : public D3D9DeviceChild {
public:
    HRESULT GetDesc(D3DSURFACE_DESC *desc);
    // The whole surface for a null rectangle. READONLY locks wait until the
    // graphics processor has finished the last fill of this surface. The back
    // buffer cannot be locked (D3DERR_INVALIDCALL).
    HRESULT LockRect(D3DLOCKED_RECT *locked, const RECT *rect, DWORD flags);
    HRESULT UnlockRect();

private:
    friend class IDirect3DDevice9;
    // Pixels are kept for an off-screen surface; the back buffer has none.
    IDirect3DSurface9(IDirect3DDevice9 *device, const D3DSURFACE_DESC &desc, bool with_pixels);
    ~IDirect3DSurface9() override;
    bool IsReady() const { return !m_has_pixels || m_pixels.bits; }
    HRESULT Fill(const RECT *rect, D3DCOLOR colour);

    D3DSURFACE_DESC m_desc;
    bool m_has_pixels;
    D3D9Pixels m_pixels;
    bool m_locked;
    // The graphics processor's marker after the last fill; null when none.
    void *m_fence;
};
