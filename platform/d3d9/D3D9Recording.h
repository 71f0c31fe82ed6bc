// The recording backend of our Direct3D 9 subset: devices that draw nothing
// and keep one line per call, so engine code that drives a device is tested
// without a display.
#pragma once

#include "platform/d3d9/D3D9.h"

#include <string>
#include <vector>

// The calls made so far, oldest first, for example "CreateDevice 800x600
// windowed", "Clear 3 ff33664c 1 0", "Present", "Release device".
const std::vector<std::string> &D3D9RecordingGetCalls();
// Devices made and not yet released.
int D3D9RecordingGetLiveDevices();
// The next CreateDevice answers this failure instead of making a device.
void D3D9RecordingFailNextCreateDevice(HRESULT result);
// Forgets the calls and any failure asked for.
void D3D9RecordingReset();
