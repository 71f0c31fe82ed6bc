// Event queries: after Issue(D3DISSUE_END), GetData answers S_FALSE until the
// graphics processor has done everything asked of it before the issue.
#pragma once

#include "platform/d3d9/D3D9DeviceChild.h"

class IDirect3DQuery9 : public D3D9DeviceChild {
public:
    D3DQUERYTYPE GetType() { return D3DQUERYTYPE_EVENT; }
    // An event's data is one BOOL.
    DWORD GetDataSize() { return sizeof(BOOL); }
    HRESULT Issue(DWORD flags);
    // S_OK with TRUE in the data (when there is room) once the event is
    // done, S_FALSE before. D3DGETDATA_FLUSH sends pending work on.
    HRESULT GetData(void *data, DWORD size, DWORD flags);

private:
    friend class IDirect3DDevice9;
    explicit IDirect3DQuery9(IDirect3DDevice9 *device);
    ~IDirect3DQuery9() override;

    void *m_fence;
};
