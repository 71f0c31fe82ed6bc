// Textures: one level whose pixels can be locked, read and written at any
// time; the device's backend takes the changes when the texture is next drawn
// with. A backend that holds the pixels itself (GL) lets a managed texture
// drop its own copy once it took it, and hands it back at the next lock: most
// pictures are loaded once and never locked again, and two copies of every
// picture would double the memory they take.
#pragma once

#include "platform/d3d9/D3D9DeviceChild.h"
#include "platform/d3d9/D3D9Pixels.h"

#include <cstddef>

class IDirect3DBaseTexture9 : public D3D9DeviceChild {
protected:
    using D3D9DeviceChild::D3D9DeviceChild;
};

class IDirect3DTexture9 : public IDirect3DBaseTexture9 {
public:
    // Textures have one level: no mipmaps are made.
    DWORD GetLevelCount();
    HRESULT GetLevelDesc(UINT level, D3DSURFACE_DESC *desc);
    // Level 0 only; the whole texture for a null rectangle. One lock at a time.
    HRESULT LockRect(UINT level, D3DLOCKED_RECT *locked, const RECT *rect, DWORD flags);
    HRESULT UnlockRect(UINT level);

    // For the device's backend: the pixels, whether they changed since the
    // backend last took them, and the backend's own name for the texture.
    const D3DSURFACE_DESC &GetDescription() const { return m_desc; }
    const D3D9Pixels &GetPixels() const { return m_pixels; }
    bool TakeChanged();
    // The backend took the pixels and holds them: a managed texture that has
    // not been locked since its pixels were last dropped frees them. Answers
    // the bytes freed.
    size_t DropPixels();
    unsigned int GetBackendName() const { return m_backend_name; }
    void SetBackendName(unsigned int name) { m_backend_name = name; }
    // The filtering the backend last gave its texture (0 for none yet).
    unsigned int GetBackendFilter() const { return m_backend_filter; }
    void SetBackendFilter(unsigned int filter) { m_backend_filter = filter; }

private:
    friend class IDirect3DDevice9;
    IDirect3DTexture9(IDirect3DDevice9 *device, const D3DSURFACE_DESC &desc);
    ~IDirect3DTexture9() override;

    D3DSURFACE_DESC m_desc;
    D3D9Pixels m_pixels;
    bool m_locked;
    bool m_lock_writes;
    bool m_changed;
    // Locked again after its pixels were dropped: written to after it was
    // drawn, so the pixels stay rather than go back and forth.
    bool m_keep_pixels;
    unsigned int m_backend_name;
    unsigned int m_backend_filter;
};
