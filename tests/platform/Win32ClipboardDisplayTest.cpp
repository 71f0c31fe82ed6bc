// The clipboard stand-in against the system clipboard as other programs see it.
#include "platform/win32/Win32Clipboard.h"
#include "platform/win32/Win32TestDesktop.h"
#include "platform/win32/Win32Window.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

std::string GetText()
{
    HANDLE block = GetClipboardData(CF_TEXT);
    const char *text = block ? static_cast<const char *>(GlobalLock(block)) : nullptr;
    std::string copy = text ? text : "(none)";
    if (text)
        GlobalUnlock(block);
    return copy;
}

bool PutText(const char *text)
{
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, std::strlen(text) + 1);
    std::memcpy(GlobalLock(block), text, std::strlen(text) + 1);
    GlobalUnlock(block);
    if (SetClipboardData(CF_TEXT, block))
        return true;
    GlobalFree(block);
    return false;
}

// The program opens the clipboard for its window: each test has a hidden one.
class Win32ClipboardDisplayTest : public testing::Test {
protected:
    HWND window = nullptr;

    void SetUp() override
    {
        WNDCLASSA window_class = {0, DefWindowProcA, nullptr, "Win32ClipboardDisplayTest"};
        RegisterClassA(&window_class);
        window = CreateWindowExA(0, "Win32ClipboardDisplayTest", "Clipboard", WS_OVERLAPPED, 0, 0, 64, 64, nullptr,
                                 nullptr, nullptr, nullptr);
        ASSERT_NE(window, nullptr);
    }
    void TearDown() override { DestroyWindow(window); }
};

TEST_F(Win32ClipboardDisplayTest, TextIsUtf8OnTheSystemClipboardAnd1252Here)
{
    ASSERT_TRUE(OpenClipboard(window));
    EXPECT_FALSE(OpenClipboard(window)) << "one opener at a time";
    ASSERT_TRUE(EmptyClipboard());
    ASSERT_TRUE(PutText("na\xEFve \x80"));
    ASSERT_TRUE(CloseClipboard());

    EXPECT_EQ(PlatformTestGetSystemClipboard(), "na\xC3\xAFve \xE2\x82\xAC");

    // What other programs put there: a character 1252 lacks reads as '?'.
    ASSERT_TRUE(PlatformTestSetSystemClipboard("\xE4\xB8\xAD caf\xC3\xA9"));
    ASSERT_TRUE(OpenClipboard(window));
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_TEXT));
    EXPECT_EQ(GetText(), "? caf\xE9");
    EXPECT_EQ(GetClipboardData(2), nullptr) << "only plain text";
    ASSERT_TRUE(CloseClipboard());
    EXPECT_EQ(GetClipboardData(CF_TEXT), nullptr) << "closed";
}

TEST_F(Win32ClipboardDisplayTest, OnlyAWindowOfTheProgramOpensIt)
{
    EXPECT_FALSE(OpenClipboard(nullptr)) << "no owner";
    HWND gone = CreateWindowExA(0, "Win32ClipboardDisplayTest", "Gone", WS_OVERLAPPED, 0, 0, 64, 64, nullptr,
                                nullptr, nullptr, nullptr);
    ASSERT_NE(gone, nullptr);
    DestroyWindow(gone);
    EXPECT_FALSE(OpenClipboard(gone)) << "a destroyed owner";
    ASSERT_TRUE(OpenClipboard(window));
    ASSERT_TRUE(CloseClipboard());
}

TEST_F(Win32ClipboardDisplayTest, AnUnterminatedBlockIsRefused)
{
    ASSERT_TRUE(OpenClipboard(window));
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, 3);
    std::memcpy(GlobalLock(block), "abc", 3);
    GlobalUnlock(block);
    EXPECT_EQ(SetClipboardData(CF_TEXT, block), nullptr);
    GlobalFree(block);
    CloseClipboard();
}

} // namespace
