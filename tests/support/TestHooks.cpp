#include "tests/support/TestHooks.h"
#include "engine/core/EngDebug.h"
#include "engine/runtime/EngMain.h"
#include "platform/ui/UiWindow.h"
#include "platform/win32/Win32MessageBox.h"
#include "platform/win32/Win32Shell.h"

std::vector<RecordedMessageBox> TestHooks::message_boxes;
std::vector<RecordedShellOpen> TestHooks::shell_opens;
int TestHooks::message_box_answer = IDNO;

static int AnswerMessageBox(const char *text, const char *caption, UINT type)
{
    TestHooks::message_boxes.push_back({text ? text : "", caption ? caption : "", type});
    return TestHooks::message_box_answer;
}

static bool AnswerShellOpen(const char *verb, const char *file, const char *, const char *directory, int)
{
    TestHooks::shell_opens.push_back({verb ? verb : "", file ? file : "", directory ? directory : ""});
    return true;
}

static void CloseNativeWindow(UiWindow *window) { UiTestCloseBox(window); }

void TestHooks::Install()
{
    message_boxes.clear();
    shell_opens.clear();
    message_box_answer = IDNO;
    PlatformSetMessageBoxHook(AnswerMessageBox);
    PlatformSetShellOpenHook(AnswerShellOpen);
    UiSetTestHook(CloseNativeWindow, true);
    UiSetTestDpi(0.0f);
}

void ResetEngineForTest()
{
    DebugResetForTests();
    eng_main_program = nullptr;
    EngMainResetMainThreadForTests();
    TestHooks::Install();
}
