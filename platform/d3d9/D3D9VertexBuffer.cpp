#include "platform/d3d9/D3D9VertexBuffer.h"
#include "platform/d3d9/D3D9Internal.h"

#include <cstdlib>

IDirect3DVertexBuffer9::IDirect3DVertexBuffer9(IDirect3DDevice9 *device, UINT length, DWORD usage, DWORD fvf)
    : D3D9DeviceChild(device), m_data(static_cast<BYTE *>(std::calloc(1, length))), m_length(length), m_usage(usage),
      m_fvf(fvf), m_locked(false)
{
}

IDirect3DVertexBuffer9::~IDirect3DVertexBuffer9()
{
    m_device->Record("Release vertex buffer %u", m_length);
    std::free(m_data);
}

HRESULT IDirect3DVertexBuffer9::Lock(UINT offset, UINT size, void **data, DWORD)
{
    HRESULT fault = m_device->Fault("Lock");
    if (fault != S_OK)
        return fault;
    if (size == 0 && offset < m_length)
        size = m_length - offset;
    if (!data || m_locked || offset >= m_length || size > m_length - offset)
        return D3DERR_INVALIDCALL;
    *data = m_data + offset;
    m_locked = true;
    return S_OK;
}

HRESULT IDirect3DVertexBuffer9::Unlock()
{
    if (!m_locked)
        return D3DERR_INVALIDCALL;
    m_locked = false;
    return S_OK;
}
