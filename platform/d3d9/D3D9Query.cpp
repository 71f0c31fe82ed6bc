#include "platform/d3d9/D3D9Query.h"
#include "platform/d3d9/D3D9Internal.h"

#include <cstring>

IDirect3DQuery9::IDirect3DQuery9(IDirect3DDevice9 *device) : D3D9DeviceChild(device), m_fence(nullptr) {}

IDirect3DQuery9::~IDirect3DQuery9()
{
    m_device->Record("Release query");
    if (m_fence)
        m_device->GetBackend()->DeleteFence(m_fence);
}

HRESULT IDirect3DQuery9::Issue(DWORD flags)
{
    m_device->Record("Issue 0x%x", static_cast<unsigned>(flags));
    HRESULT fault = m_device->Fault("Issue");
    if (fault != S_OK)
        return fault;
    // An event only ends.
    if (flags != D3DISSUE_END)
        return D3DERR_INVALIDCALL;
    if (m_fence)
        m_device->GetBackend()->DeleteFence(m_fence);
    m_fence = m_device->GetBackend()->InsertFence();
    return S_OK;
}

HRESULT IDirect3DQuery9::GetData(void *data, DWORD size, DWORD flags)
{
    m_device->Record("GetData");
    HRESULT fault = m_device->Fault("GetData");
    if (fault != S_OK)
        return fault;
    if (m_fence) {
        if (!m_device->GetBackend()->IsFenceDone(m_fence, (flags & D3DGETDATA_FLUSH) != 0))
            return S_FALSE;
        m_device->GetBackend()->DeleteFence(m_fence);
        m_fence = nullptr;
    }
    if (data && size >= sizeof(BOOL)) {
        BOOL done = TRUE;
        std::memcpy(data, &done, sizeof(done));
    }
    return S_OK;
}
