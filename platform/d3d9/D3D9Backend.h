// Which backend the devices made from now on draw with: GL into a real
// window, or the recording backend (D3D9Recording.h) that draws nothing and
// keeps a log for tests. Chosen by the program before the first window (the
// GL window needs its GL attributes from the start); GL unless told.
#pragma once

enum D3D9BackendKind {
    D3D9_BACKEND_GL,
    D3D9_BACKEND_RECORDING,
};

void D3D9SetBackend(D3D9BackendKind kind);
D3D9BackendKind D3D9GetBackend();

// Devices, and objects made by devices, that are alive.
int D3D9GetLiveDeviceCount();
int D3D9GetLiveObjectCount();
