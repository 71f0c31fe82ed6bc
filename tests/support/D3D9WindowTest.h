// The fixture of the Direct3D stand-in's display tests: a real window of a
// given client size on the display, the GL backend, a Direct3D object, and
// the device the test makes on that window (MakeDevice) with a reader of
// its back buffer. Tear-down expects the test to have let go of everything
// it made on the device: the device's last release must bring it to zero.
// A test that owns more device objects releases them in its own TearDown
// before calling this one's.
#pragma once

#include "platform/d3d9/D3D9.h"
#include "platform/d3d9/D3D9Backend.h"
#include "platform/d3d9/D3D9GL.h"
#include "platform/win32/Win32Headless.h"
#include "platform/win32/Win32Window.h"

#include <gtest/gtest.h>

#include <vector>

class D3D9WindowTest : public testing::Test {
protected:
    const int width;
    const int height;
    HWND window = nullptr;
    IDirect3D9 *d3d = nullptr;
    IDirect3DDevice9 *device = nullptr;

    D3D9WindowTest(int width, int height) : width(width), height(height) {}

    void SetUp() override
    {
        PlatformSetHeadless(false);
        ASSERT_TRUE(PlatformStartDisplay());
        D3D9SetBackend(D3D9_BACKEND_GL);
        WNDCLASSA window_class = {0, WindowProc, nullptr, "D3D9WindowTest"};
        RegisterClassA(&window_class);
        RECT outer = {0, 0, width, height};
        AdjustWindowRect(&outer, WS_OVERLAPPEDWINDOW | WS_VISIBLE, FALSE);
        window = CreateWindowExA(0, "D3D9WindowTest", "D3D9", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10,
                                 outer.right - outer.left, outer.bottom - outer.top, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(window, nullptr);
        d3d = Direct3DCreate9(D3D_SDK_VERSION);
        ASSERT_NE(d3d, nullptr);
    }

    void TearDown() override
    {
        if (device) {
            EXPECT_EQ(device->Release(), 0u);
        }
        if (d3d)
            d3d->Release();
        PlatformResetWindowsForTests();
        D3D9SetBackend(D3D9_BACKEND_RECORDING);
        PlatformSetHeadless(true);
    }

    // A windowed back buffer of the window's size with a depth-stencil buffer.
    D3DPRESENT_PARAMETERS Parameters()
    {
        D3DPRESENT_PARAMETERS parameters = {};
        parameters.BackBufferWidth = width;
        parameters.BackBufferHeight = height;
        parameters.BackBufferFormat = D3DFMT_X8R8G8B8;
        parameters.BackBufferCount = 1;
        parameters.SwapEffect = D3DSWAPEFFECT_DISCARD;
        parameters.hDeviceWindow = window;
        parameters.Windowed = TRUE;
        parameters.EnableAutoDepthStencil = TRUE;
        parameters.AutoDepthStencilFormat = D3DFMT_D24S8;
        parameters.PresentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;
        return parameters;
    }

    HRESULT MakeDevice(D3DPRESENT_PARAMETERS parameters)
    {
        return d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window, D3DCREATE_HARDWARE_VERTEXPROCESSING,
                                 &parameters, &device);
    }

    void MakeDevice() { ASSERT_EQ(MakeDevice(Parameters()), S_OK); }

    // One back-buffer pixel as 0xAARRGGBB, (0, 0) the top-left.
    DWORD Pixel(int x, int y)
    {
        RECT rect = {x, y, x + 1, y + 1};
        DWORD argb = 0;
        EXPECT_EQ(D3D9GLReadBackBuffer(device, &rect, &argb), S_OK);
        return argb;
    }

    // The whole back buffer, row by row from the top.
    std::vector<DWORD> Screen()
    {
        std::vector<DWORD> pixels(static_cast<size_t>(width) * height);
        RECT all = {0, 0, width, height};
        EXPECT_EQ(D3D9GLReadBackBuffer(device, &all, pixels.data()), S_OK);
        return pixels;
    }

private:
    static LRESULT WindowProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam)
    {
        return DefWindowProcA(hwnd, message, wparam, lparam);
    }
};
