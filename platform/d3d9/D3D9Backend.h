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

// Where the devices report failures that no call can answer, such as a GL
// error found when a batch of draws goes to GL: the program's error
// reporter. Until one is set they are written to the standard error.
typedef void (*D3D9ErrorReportCB)(const char *where, const char *text);
void D3D9SetErrorReport(D3D9ErrorReportCB report);
