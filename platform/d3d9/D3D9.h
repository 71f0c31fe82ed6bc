// Our Direct3D 9 subset: the object that makes devices, the device, and its
// surfaces, textures, vertex buffers and queries, with the names and numbers
// the engine is written against. D3DX9.h has the extension library's part.
#pragma once

#include "platform/d3d9/D3D9Device.h"
#include "platform/d3d9/D3D9Object.h"
#include "platform/d3d9/D3D9Runtime.h"
