// The clipboard and the desktop's size need a display: these run under Xvfb.
#include "engine/core/EngPrefs.h"
#include "engine/core/EngDebug.h"
#include "engine/core/EngMisc.h"
#include "engine/runtime/EngProgram.h"
#include "engine/runtime/EngWindow.h"
#include "tests/support/TestHooks.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The clipboard is opened for the main window: each test has a small one.
class EngPrefsDisplayTest : public testing::Test {
protected:
    EngProgram *program = nullptr;
    EngWindow *window = nullptr;

    void SetUp() override
    {
        ResetEngineForTest();
        program = new EngProgram();
        window = new EngWindow(program, "Clipboard");
        _EngCreateWindowParms parms = {-1, -1, 64, 64, 32, 1, 60, 0, 0, 0, 0, 0, "EngPrefsDisplayTest"};
        ASSERT_TRUE(window->Create(&parms));
    }
    void TearDown() override
    {
        delete window;
        delete program;
    }
};

TEST_F(EngPrefsDisplayTest, ClipboardRoundTripKeeps1252Accents)
{
    // "Crème brûlée — 5 €" in the program's 8-bit text.
    const char text[] = "Cr\xE8me br\xFBl\xE9" "e \x97 5 \x80";
    ASSERT_TRUE(VariousCopyClipboardFromString(text));
    char pasted[64] = {};
    ASSERT_TRUE(VariousPasteClipboardToString(pasted, sizeof(pasted)));
    EXPECT_STREQ(pasted, text);

    // Paste cuts to the buffer, never through the middle of a character.
    ASSERT_TRUE(VariousPasteClipboardToString(pasted, 4));
    EXPECT_STREQ(pasted, "Cr\xE8");
    EXPECT_EQ(DebugGetNumMessages(), 0);
}

TEST_F(EngPrefsDisplayTest, PasteNeedsRoomAndCopyNeedsText)
{
    ASSERT_TRUE(VariousCopyClipboardFromString("Hello World"));
    char buffer[16] = {};
    ASSERT_TRUE(VariousPasteClipboardToString(buffer, 6));
    EXPECT_STREQ(buffer, "Hello");

    EXPECT_FALSE(VariousCopyClipboardFromString(""));
    EXPECT_FALSE(VariousPasteClipboardToString(buffer, 1));
    EXPECT_FALSE(VariousPasteClipboardToString(nullptr, 10));
    EXPECT_FALSE(VariousCopyClipboardFromString(nullptr));
    const char *lines[] = {
        " <ERROR>  ( VariousPasteClipboardToString )    Invalid parameters",
        " <ERROR>  ( VariousPasteClipboardToString )    Invalid parameters",
        " <ERROR>  ( VariousCopyClipboardFromString )    Invalid parameters",
    };
    ASSERT_EQ(DebugGetNumMessages(), 3);
    for (int i = 0; i < 3; i++)
        EXPECT_STREQ(DebugGetMessageText(i), lines[i]);

    // The empty copy left the clipboard as it was.
    ASSERT_TRUE(VariousPasteClipboardToString(buffer, sizeof(buffer)));
    EXPECT_STREQ(buffer, "Hello World");
}

TEST_F(EngPrefsDisplayTest, WithoutAMainWindowTheClipboardStaysClosed)
{
    ASSERT_TRUE(VariousCopyClipboardFromString("kept"));
    delete window;
    window = nullptr;
    EXPECT_FALSE(VariousCopyClipboardFromString("lost"));
    char buffer[16] = {};
    EXPECT_FALSE(VariousPasteClipboardToString(buffer, sizeof(buffer)));
    EXPECT_STREQ(buffer, "");
}

TEST_F(EngPrefsDisplayTest, TheDesktopAreaComesFromTheDisplay)
{
    int left = -1, top = -1, width = -1, height = -1;
    ASSERT_TRUE(EngMiscGetDesktopArea(&left, &top, &width, &height, 0));
    EXPECT_EQ(left, 0);
    EXPECT_EQ(top, 0);
    EXPECT_GT(width, 0);
    EXPECT_GT(height, 0);

    int work_left = -1, work_top = -1, work_width = -1, work_height = -1;
    ASSERT_TRUE(EngMiscGetDesktopArea(&work_left, &work_top, &work_width, &work_height, 1));
    EXPECT_GE(work_left, 0);
    EXPECT_GE(work_top, 0);
    EXPECT_GT(work_width, 0);
    EXPECT_LE(work_left + work_width, width);
    EXPECT_LE(work_top + work_height, height);
    EXPECT_TRUE(EngMiscGetDesktopArea(nullptr, nullptr, &width, nullptr, 1)) << "outputs are optional";
}

} // namespace
