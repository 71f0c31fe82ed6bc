// What every object made by a device shares: a reference count, and one
// reference on its device for as long as the object lives. The device's own
// Release therefore answers how many of its objects are still alive.
#pragma once

#include "platform/d3d9/D3D9Types.h"

class IDirect3DDevice9;

class D3D9DeviceChild {
public:
    D3D9DeviceChild(const D3D9DeviceChild &) = delete;
    D3D9DeviceChild &operator=(const D3D9DeviceChild &) = delete;

    ULONG AddRef();
    // Returns the references left; the object goes at 0.
    ULONG Release();
    // The device that made the object, with a reference added.
    HRESULT GetDevice(IDirect3DDevice9 **device);

protected:
    friend class IDirect3DDevice9;
    explicit D3D9DeviceChild(IDirect3DDevice9 *device);
    virtual ~D3D9DeviceChild();

    IDirect3DDevice9 *m_device;

private:
    ULONG m_references;
};
