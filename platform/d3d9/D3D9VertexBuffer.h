// Vertex buffers: vertices in memory, drawn from by the device.
#pragma once

#include "platform/d3d9/D3D9DeviceChild.h"

class IDirect3DVertexBuffer9 : public D3D9DeviceChild {
public:
    // size 0 locks from offset to the end. One lock at a time.
    HRESULT Lock(UINT offset, UINT size, void **data, DWORD flags);
    HRESULT Unlock();

    // For the device's drawing.
    const BYTE *GetData() const { return m_data; }
    UINT GetLength() const { return m_length; }
    DWORD GetFVF() const { return m_fvf; }

private:
    friend class IDirect3DDevice9;
    IDirect3DVertexBuffer9(IDirect3DDevice9 *device, UINT length, DWORD usage, DWORD fvf);
    ~IDirect3DVertexBuffer9() override;

    BYTE *m_data;
    UINT m_length;
    DWORD m_usage;
    DWORD m_fvf;
    bool m_locked;
};
