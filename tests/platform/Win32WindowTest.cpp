// The window layer on the headless desktop: classes, the default handling
// of a close, the frame around a client area, and the queue's mouse moves.
#include "platform/win32/Win32Error.h"
#include "platform/win32/Win32Headless.h"
#include "platform/win32/Win32Input.h"
#include "platform/win32/Win32Window.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<UINT> received;

LRESULT RecordingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    received.push_back(message);
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

class Win32WindowTest : public testing::Test {
protected:
    void SetUp() override
    {
        PlatformResetMessagesForTests();
        PlatformResetWindowsForTests();
        PlatformResetHeadlessForTests();
        PlatformSetHeadless(true);
        received.clear();
        WNDCLASSA window_class = {CS_DBLCLKS, RecordingProc, nullptr, "TestClass"};
        ASSERT_NE(RegisterClassA(&window_class), 0);
    }

    void TearDown() override { PlatformResetWindowsForTests(); }

    HWND Create(DWORD style = WS_OVERLAPPEDWINDOW | WS_VISIBLE)
    {
        return CreateWindowExA(0, "TestClass", "Test", style, 100, 50, 816, 639, nullptr, nullptr, nullptr, nullptr);
    }
};

TEST_F(Win32WindowTest, AClassIsRegisteredOnce)
{
    WNDCLASSA again = {0, RecordingProc, nullptr, "TestClass"};
    EXPECT_EQ(RegisterClassA(&again), 0);
    EXPECT_EQ(GetLastError(), ERROR_CLASS_ALREADY_EXISTS);
    WNDCLASSA nameless = {0, RecordingProc, nullptr, ""};
    EXPECT_EQ(RegisterClassA(&nameless), 0);
    EXPECT_NE(GetLastError(), ERROR_CLASS_ALREADY_EXISTS);
    EXPECT_EQ(CreateWindowExA(0, "NoSuchClass", "", WS_VISIBLE, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr),
              nullptr);
}

TEST_F(Win32WindowTest, TheFrameSurroundsTheClientArea)
{
    HWND hwnd = Create();
    RECT outer, client;
    ASSERT_TRUE(GetWindowRect(hwnd, &outer));
    ASSERT_TRUE(GetClientRect(hwnd, &client));
    EXPECT_EQ(outer.left, 100);
    EXPECT_EQ(outer.top, 50);
    EXPECT_EQ(client.right, 800);
    EXPECT_EQ(client.bottom, 600);
    // AdjustWindowRect gives back the outer size of that client area.
    RECT grown = {0, 0, 800, 600};
    AdjustWindowRect(&grown, WS_OVERLAPPEDWINDOW | WS_VISIBLE, FALSE);
    EXPECT_EQ(grown.right - grown.left, 816);
    EXPECT_EQ(grown.bottom - grown.top, 639);
    POINT corner = {0, 0};
    ClientToScreen(hwnd, &corner);
    EXPECT_EQ(corner.x, 108);
    EXPECT_EQ(corner.y, 81);

    // A full-screen window has no frame.
    HWND full = Create(WS_POPUP | WS_VISIBLE);
    ASSERT_TRUE(GetClientRect(full, &client));
    EXPECT_EQ(client.right, 816);
    EXPECT_EQ(client.bottom, 639);
}

TEST_F(Win32WindowTest, ACloseDestroysTheWindowOnce)
{
    HWND hwnd = Create();
    PostMessageA(hwnd, WM_CLOSE, 0, 0);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    DispatchMessageA(&msg);
    EXPECT_EQ(received, (std::vector<UINT>{WM_CLOSE, WM_DESTROY}));
    EXPECT_FALSE(IsWindow(hwnd));
    // Messages for the window that is gone go nowhere.
    PostMessageA(hwnd, WM_KEYDOWN, 'A', 0);
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(DispatchMessageA(&msg), 0);
    EXPECT_FALSE(DestroyWindow(hwnd));
    EXPECT_EQ(received.size(), 2u);
}

TEST_F(Win32WindowTest, OnlyTheLatestMouseMoveWaits)
{
    HWND hwnd = Create();
    PlatformPostMouseMove(hwnd, 0, MAKELPARAM(1, 1));
    PlatformPostMouseMove(hwnd, 0, MAKELPARAM(2, 2));
    PostMessageA(hwnd, WM_LBUTTONDOWN, 0, MAKELPARAM(2, 2));
    PlatformPostMouseMove(hwnd, 0, MAKELPARAM(3, 3));
    PlatformPostMouseMove(hwnd, 0, MAKELPARAM(-4, 4));
    std::vector<std::pair<UINT, int>> taken;
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        taken.push_back({msg.message, GET_X_LPARAM(msg.lParam)});
    EXPECT_EQ(taken, (std::vector<std::pair<UINT, int>>{{WM_MOUSEMOVE, 2}, {WM_LBUTTONDOWN, 2}, {WM_MOUSEMOVE, -4}}));
}

TEST_F(Win32WindowTest, MinimisingTellsTheWindowAtOnce)
{
    HWND hwnd = Create();
    ShowWindow(hwnd, SW_MINIMIZE);
    EXPECT_TRUE(IsIconic(hwnd));
    ShowWindow(hwnd, SW_MINIMIZE);
    ShowWindow(hwnd, SW_RESTORE);
    EXPECT_FALSE(IsIconic(hwnd));
    EXPECT_EQ(received, (std::vector<UINT>{WM_SIZE, WM_SIZE}));
}

TEST_F(Win32WindowTest, TheMouseButtonsOfTheDesktop)
{
    PlatformHeadlessSetMouse(5, 6, VK_LBUTTON | VK_MBUTTON);
    EXPECT_TRUE(GetAsyncKeyState(VK_LBUTTON) & 0x8000);
    EXPECT_FALSE(GetAsyncKeyState(VK_RBUTTON) & 0x8000);
    EXPECT_TRUE(GetAsyncKeyState(VK_MBUTTON) & 0x8000);
    EXPECT_FALSE(GetAsyncKeyState('A') & 0x8000);
    POINT cursor;
    ASSERT_TRUE(GetCursorPos(&cursor));
    EXPECT_EQ(cursor.x, 5);
    EXPECT_EQ(cursor.y, 6);
}

} // namespace
