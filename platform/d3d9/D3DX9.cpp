#include "platform/d3d9/D3DX9.h"

BOOL D3DXCheckVersion(UINT d3d_sdk_version, UINT d3dx_sdk_version)
{
    return d3d_sdk_version == D3D_SDK_VERSION && d3dx_sdk_version == D3DX_SDK_VERSION;
}
