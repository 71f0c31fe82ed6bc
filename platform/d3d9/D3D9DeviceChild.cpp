#include "platform/d3d9/D3D9DeviceChild.h"
#include "platform/d3d9/D3D9Internal.h"

D3D9DeviceChild::D3D9DeviceChild(IDirect3DDevice9 *device) : m_device(device), m_references(1)
{
    m_device->AddRef();
    D3D9CountObject(1);
}

D3D9DeviceChild::~D3D9DeviceChild()
{
    m_device->Unbind(this);
    D3D9CountObject(-1);
    m_device->Release();
}

ULONG D3D9DeviceChild::AddRef()
{
    return ++m_references;
}

ULONG D3D9DeviceChild::Release()
{
    if (--m_references > 0)
        return m_references;
    delete this;
    return 0;
}

HRESULT D3D9DeviceChild::GetDevice(IDirect3DDevice9 **device)
{
    if (!device)
        return D3DERR_INVALIDCALL;
    m_device->AddRef();
    *device = m_device;
    return S_OK;
}
