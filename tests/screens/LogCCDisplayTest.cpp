// The log viewer on a real window: lines selected by clicks, copied by its
// buttons, and the copy pasted by another program on the desktop, which
// reads the clipboard while the viewer's program serves it. The screen is
// saved as <build>/screens/LogViewer*.png.
#include "tests/screens/MenuScreensTestSupport.h"

#include "engine/core/EngDebug.h"
#include "engine/runtime/EngWindow.h"
#include "gui/MWinButton.h"
#include "platform/d3d9/D3D9GL.h"
#include "platform/win32/Win32Input.h"
#include "platform/win32/Win32Messages.h"
#include "platform/win32/Win32Window.h"
#include "screens/LogCC.h"

#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>

#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <regex>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace {

using namespace menu_screens_test;

class LogCCDisplayTest : public MenuScreensTest {
protected:
    void UseScreens() override
    {
        MenuScreensTest::UseScreens();
        hw_screen_makers[HWS_LOG] = LogCC_Make;
        VirtualClock::Remove();
        PlatformSetHeadless(false);
        ASSERT_TRUE(PlatformStartDisplay());
        D3D9SetBackend(D3D9_BACKEND_GL);
    }

    void TearDown() override
    {
        MenuScreensTest::TearDown();
        D3D9SetBackend(D3D9_BACKEND_RECORDING);
        PlatformSetHeadless(true);
    }

    LogCC *Log() { return static_cast<LogCC *>(screens->GetController(HWS_LOG)); }

    void Frame()
    {
        program->PumpMessages();
        program->DoTick();
        program->DoRender();
    }

    // A left click in the middle of a rectangle given in 640 x 480 units.
    void Click(const _Dimension &area)
    {
        HWND window = program->GetWindow()->GetWindowHandle();
        const float x = area.x + area.w / 2, y = area.y + area.h / 2;
        const LPARAM at = MAKELPARAM(static_cast<int>(x * eng_screen_width / 640.0f),
                                     static_cast<int>(y * eng_screen_height / 480.0f));
        PostMessageA(window, WM_MOUSEMOVE, 0, at);
        Frame();
        PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, at);
        Frame();
        PostMessageA(window, WM_LBUTTONUP, 0, at);
        Frame();
        Frame();
    }
    void ClickControl(LogCollectionController::Row row)
    {
        _Dimension area = {};
        ASSERT_TRUE(Log()->Control(row) && Log()->Control(row)->GetScreenDimension(&area));
        Click(area);
    }

    void Shoot(const char *name)
    {
        Frame();
        const int w = eng_screen_width, h = eng_screen_height;
        std::vector<DWORD> argb(static_cast<size_t>(w) * h, 0);
        RECT all = {0, 0, w, h};
        ASSERT_EQ(D3D9GLReadBackBuffer(eng_d3d_device, &all, argb.data()), S_OK);
        std::vector<unsigned char> rgb(argb.size() * 3);
        for (size_t i = 0; i < argb.size(); i++) {
            rgb[i * 3] = (argb[i] >> 16) & 0xFF;
            rgb[i * 3 + 1] = (argb[i] >> 8) & 0xFF;
            rgb[i * 3 + 2] = argb[i] & 0xFF;
        }
        const std::filesystem::path folder = std::filesystem::path(HW_DATA_DIR).parent_path() / "screens";
        std::filesystem::create_directories(folder);
        const std::string file = (folder / (std::string(name) + ".png")).string();
        EXPECT_NE(stbi_write_png(file.c_str(), w, h, 3, rgb.data(), w * 3), 0) << file;
    }

    // What another program pastes: the reader runs while this program keeps
    // pumping its messages, which is when it answers the reader's request.
    std::string PastedByAnotherProgram()
    {
        int out[2];
        if (pipe(out) != 0)
            return "(no pipe)";
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], 1);
        posix_spawn_file_actions_addclose(&actions, out[0]);
        char *argv[] = {const_cast<char *>(HW_CLIPBOARD_READER), nullptr};
        pid_t reader = 0;
        const int spawned = posix_spawn(&reader, HW_CLIPBOARD_READER, &actions, nullptr, argv, environ);
        posix_spawn_file_actions_destroy(&actions);
        close(out[1]);
        if (spawned != 0) {
            close(out[0]);
            return "(reader not started)";
        }
        fcntl(out[0], F_SETFL, O_NONBLOCK);
        std::string pasted;
        const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(15);
        for (;;) {
            char buffer[4096];
            const ssize_t got = read(out[0], buffer, sizeof(buffer));
            if (got > 0) {
                pasted.append(buffer, static_cast<size_t>(got));
                continue;
            }
            if (got == 0 || std::chrono::steady_clock::now() > give_up)
                break;
            program->PumpMessages();
            usleep(5000);
        }
        close(out[0]);
        int status = 0;
        waitpid(reader, &status, 0);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
            return "(reader failed) " + pasted;
        return pasted;
    }

    // The text after the copy's two-line header, which must start with
    // header_start.
    static std::string AfterHeader(const std::string &copied, const std::string &header_start)
    {
        const std::regex header(header_start +
                                " version 2\\.01 \\[Windows, \\d{1,2}/\\d\\d/\\d{4} \\d{1,2}:\\d\\d\\]\n\n");
        std::smatch found;
        if (!std::regex_search(copied, found, header) || found.position(0) != 0)
            return "(no header) " + copied;
        return copied.substr(static_cast<size_t>(found.length(0)));
    }
};

TEST_F(LogCCDisplayTest, ClickedLinesAndTheWholeLogArePastedByAnotherProgram)
{
    // The program's 8-bit text: "Café" and "5 €".
    std::string log;
    for (int i = 0; i < 30; i++)
        log += "Entry " + std::to_string(i) + " | done\n";
    log += "Caf\xE9 paid 5 \x80\n";
    std::ofstream(DebugGetLogFilename(), std::ios::binary | std::ios::trunc) << log;

    screens->GotoScreen(HW_SCREEN_LOGS, nullptr);
    ASSERT_EQ(screens->GetCurrentScreen(), HW_SCREEN_LOGS);
    // The program may log more after the file was written.
    int cafe = -1;
    for (int i = 0; i < Log()->GetNumLines(); i++)
        if (std::strncmp(Log()->GetLine(i), "Caf", 3) == 0)
            cafe = i;
    ASSERT_EQ(cafe, 30);
    MWinButton *list = Log()->Control(LogCollectionController::LOG);
    ASSERT_NE(list, nullptr);

    // Clicks on the last line written and the one three above it select
    // both, once a frame has placed the list's rows.
    Frame();
    for (int entry : {cafe, cafe - 3}) {
        _Dimension row = {};
        ASSERT_TRUE(list->PanelGetPosDimension(entry, &row)) << entry;
        Click(row);
    }
    ASSERT_EQ(list->PanelGetNumMultiPos(), 2);
    Shoot("LogViewer");

    ClickControl(LogCollectionController::COPY_SEL);
    EXPECT_TRUE(game->GetMWin()->IsPopupOn()) << "Copy successful.";
    Shoot("LogViewerCopied");
    EXPECT_EQ(AfterHeader(PastedByAnotherProgram(), "Selected log entries for Hive Watcher"),
              "Entry 27 > done\nCaf\xC3\xA9 paid 5 \xE2\x82\xAC\n");
    game->GetMWin()->PopupCloseIfOn();
    Frame();

    ClickControl(LogCollectionController::COPY_ALL);
    const std::string all = AfterHeader(PastedByAnotherProgram(), "Log entries for Hive Watcher");
    EXPECT_EQ(all.rfind("Entry 0 > done\nEntry 1 > done\n", 0), 0u) << all.substr(0, 40);
    EXPECT_NE(all.find("Entry 29 > done\nCaf\xC3\xA9 paid 5 \xE2\x82\xAC\n"), std::string::npos);
}

} // namespace
