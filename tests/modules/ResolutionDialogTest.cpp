#include "modules/Resolution.h"
#include "engine/runtime/EngProgram.h"
#include "platform/ui/UiWindow.h"
#include "platform/win32/Win32MessageBox.h"
#include "platform/win32/Win32Time.h"
#include "tests/modules/ModulesTestSupport.h"

#include <functional>
#include <vector>

namespace {

using namespace modules_test;

// The user of the dialog: each time the dialog waits, the next step runs;
// when the steps run out the dialog is closed.
using Step = std::function<void(UiWindow *)>;
std::vector<Step> steps;
size_t next_step = 0;

void RunNextStep(UiWindow *window)
{
    if (next_step < steps.size())
        steps[next_step++](window);
    else
        UiTestCloseBox(window);
}

std::vector<std::string> Items(UiWindow *window, int id)
{
    std::vector<std::string> items;
    for (int i = 0; i < UiListGetCount(window, id); i++)
        items.push_back(UiListGetItem(window, id, i));
    return items;
}

std::string Text(UiWindow *window, int id)
{
    char text[256];
    return UiControlGetText(window, id, text, sizeof(text)) ? text : "(none)";
}

// The dialog's controls.
enum {
    PLAY = 1000,
    FULLSCREEN = 1001,
    WINDOWED = 1002,
    RESOLUTION = 1003,
    ANTIALIASING = 1006,
    VERSION = 1016,
    MOUSE_SYNC = 1017,
    CURSOR_TYPE = 1018,
    MUSIC = 1022,
};

const char *HomePageAddress(int which)
{
    return which == 1 ? "https://home.invalid/" : which == 2 ? "https://forums.invalid/" : nullptr;
}

class ResolutionDialogTest : public ModulesTest {
protected:
    void SetUp() override
    {
        ModulesTest::SetUp();
        ResolutionSetup(3, 0, 2.01f, 1.5f, HomePageAddress, 0, 1, 0, 0, 0);
        steps.clear();
        next_step = 0;
        UiSetTestHook(RunNextStep, true);
        // The updater's check shows its result for a while; no time passes.
        PlatformSetClockHooks(nullptr, [](DWORD) {});
        program = new EngProgram;
    }

    void TearDown() override
    {
        PlatformSetClockHooks(nullptr, nullptr);
        delete program;
        ModulesTest::TearDown();
    }

    // A file the dialog is not needed for, with these changes.
    void WriteSettings(const std::function<void(_ResolutionSettings *)> &change)
    {
        ResolutionSetDefaults();
        _ResolutionSettings *s = ResolutionGetSettings();
        s->show_dialog = 0;
        s->internet_test[0] = 1;
        change(s);
        fs::create_directories(ProductFolder());
        WriteWhole(SettingsFile(), std::string(reinterpret_cast<const char *>(s), sizeof(*s)));
        *s = _ResolutionSettings{};
    }

    static std::string OnDisk() { return ReadWhole(SettingsFile()); }

    EngProgram *program = nullptr;
};

TEST_F(ResolutionDialogTest, ShowsTheBlockInItsControlsAndPlayWritesThem)
{
    steps = {[](UiWindow *w) {
                 EXPECT_TRUE(UiWindowIsDialog(w));
                 int x, y, width, height;
                 UiWindowGetRect(w, &x, &y, &width, &height);
                 EXPECT_EQ(width, 512);
                 EXPECT_EQ(height, 440);
                 ASSERT_TRUE(UiControlGetRect(w, PLAY, &x, &y, &width, &height));
                 EXPECT_EQ(std::vector<int>({x, y, width, height}), std::vector<int>({78, 393, 357, 39}));
                 EXPECT_EQ(Text(w, PLAY), "&PLAY");
                 EXPECT_EQ(std::string(UiPictureGetFile(w, 113)), "Data\\Common\\StartupBanner.png");
                 EXPECT_EQ(Text(w, VERSION), "Version 2.01");
                 EXPECT_TRUE(UiControlIsChecked(w, FULLSCREEN));
                 EXPECT_FALSE(UiControlIsChecked(w, WINDOWED));
                 EXPECT_EQ(Items(w, RESOLUTION), (std::vector<std::string>{"1920 x 1080 x 32", "1280 x 1024 x 32",
                                                                           "1024 x 768 x 32", "800 x 600 x 32"}));
                 EXPECT_EQ(UiListGetSelection(w, RESOLUTION), 0);
                 EXPECT_TRUE(UiControlIsEnabled(w, RESOLUTION));
                 EXPECT_EQ(Items(w, ANTIALIASING), (std::vector<std::string>{"Off", "2x2", "4x4", "8x8", "Level 1", "Level 2",
                                                                             "Level 3", "Level 4"}));
                 EXPECT_EQ(UiListGetSelection(w, ANTIALIASING), 0);
                 EXPECT_EQ(Items(w, MOUSE_SYNC), (std::vector<std::string>{"Off", "Method 1", "Method 2"}));
                 EXPECT_EQ(UiListGetSelection(w, MOUSE_SYNC), 2);
                 EXPECT_EQ(Items(w, CURSOR_TYPE), (std::vector<std::string>{"Texture", "Windows"}));
                 EXPECT_EQ(UiListGetSelection(w, CURSOR_TYPE), 1);
                 EXPECT_EQ(Items(w, MUSIC), (std::vector<std::string>{"Off", "On"}));
                 // The lists of other programs are not in this dialog.
                 EXPECT_EQ(UiListGetCount(w, 2000), -1);
                 UiTestChoose(w, CURSOR_TYPE, 0);
             },
             [](UiWindow *w) { UiTestChoose(w, MOUSE_SYNC, 0); },
             [](UiWindow *w) { UiTestChoose(w, MUSIC, 0); },
             [](UiWindow *w) {
                 // The other lists reach the file only through PLAY.
                 EXPECT_FALSE(fs::exists(SettingsFile()));
                 UiTestClick(w, PLAY);
             }};
    WriteSettings([](_ResolutionSettings *) {});
    fs::remove(SettingsFile());
    EXPECT_EQ(ResolutionDoDialog(), 1);
    EXPECT_EQ(next_step, steps.size());
    std::string bytes = OnDisk();
    ASSERT_EQ(bytes.size(), 424u);
    EXPECT_EQ(bytes[20], 0);
    EXPECT_EQ(At<int>(bytes, 44), 1920);
    EXPECT_EQ(bytes[148], 0);
    EXPECT_EQ(At<int>(bytes, 144), 0);
    EXPECT_EQ(bytes[311], 0);
    EXPECT_EQ(eng_screen_width, 1920);
    EXPECT_EQ(program->GetSyncWithGpuMethod(), -1);
}

TEST_F(ResolutionDialogTest, TheNearestModeWeighsDepthTenTimes)
{
    PlatformHeadlessMode modes[] = {{1152, 864, 32, 60}, {1280, 1024, 16, 60}};
    PlatformHeadlessMode desktop = {1920, 1080, 32, 60};
    PlatformHeadlessSetModes(modes, 2, &desktop);
    WriteSettings([](_ResolutionSettings *s) {
        s->full_screen_width = 1280;
        s->full_screen_height = 1024;
        s->full_screen_bits = 32;
    });
    steps = {[](UiWindow *w) {
        ASSERT_EQ(UiListGetCount(w, RESOLUTION), 2);
        EXPECT_EQ(std::string(UiListGetItem(w, RESOLUTION, UiListGetSelection(w, RESOLUTION))), "1280 x 1024 x 16");
    }};
    EXPECT_EQ(ResolutionDoDialog(), -1);
}

TEST_F(ResolutionDialogTest, WindowedEmptiesTheModesAndOffersTheWindowsAntiAliasing)
{
    WriteSettings([](_ResolutionSettings *s) {
        s->windowed_aa_type = 4;
        s->full_screen_aa_type = 8;
    });
    steps = {[](UiWindow *w) {
                 EXPECT_EQ(std::string(UiListGetItem(w, ANTIALIASING, UiListGetSelection(w, ANTIALIASING))), "8x8");
                 UiTestClick(w, WINDOWED);
             },
             [](UiWindow *w) {
                 EXPECT_TRUE(UiControlIsChecked(w, WINDOWED));
                 EXPECT_FALSE(UiControlIsChecked(w, FULLSCREEN));
                 EXPECT_EQ(UiListGetCount(w, RESOLUTION), 0);
                 EXPECT_FALSE(UiControlIsEnabled(w, RESOLUTION));
                 EXPECT_TRUE(UiControlIsEnabled(w, PLAY));
                 EXPECT_EQ(std::string(UiListGetItem(w, ANTIALIASING, UiListGetSelection(w, ANTIALIASING))), "4x4");
                 UiTestChoose(w, ANTIALIASING, 1);
             },
             [](UiWindow *w) { UiTestClick(w, PLAY); }};
    EXPECT_EQ(ResolutionDoDialog(), 1);
    std::string bytes = OnDisk();
    EXPECT_EQ(bytes[20], 1);
    EXPECT_EQ(At<int>(bytes, 60), 2);
    EXPECT_EQ(At<int>(bytes, 68), 8); // the full-screen choice stays
    EXPECT_EQ(eng_screen_windowed, 1);
}

TEST_F(ResolutionDialogTest, AModeChosenIsWrittenAtOnceAndEscapeKeepsIt)
{
    WriteSettings([](_ResolutionSettings *) {});
    steps = {[](UiWindow *w) { UiTestChoose(w, RESOLUTION, 2); },
             [](UiWindow *w) {
                 EXPECT_EQ(At<int>(OnDisk(), 44), 1024);
                 EXPECT_EQ(UiListGetSelection(w, RESOLUTION), 2);
                 UiTestPressEscape(w);
             }};
    EXPECT_EQ(ResolutionDoDialog(), -1);
    EXPECT_EQ(At<int>(OnDisk(), 44), 1024);
    EXPECT_EQ(At<int>(OnDisk(), 48), 768);
}

TEST_F(ResolutionDialogTest, WithoutModesOnlyTheWindowCanBeChosen)
{
    PlatformHeadlessMode desktop = {1920, 1080, 32, 60};
    PlatformHeadlessSetModes(nullptr, 0, &desktop);
    WriteSettings([](_ResolutionSettings *) {});
    steps = {[](UiWindow *w) {
                 EXPECT_FALSE(UiControlIsEnabled(w, PLAY));
                 EXPECT_FALSE(UiControlIsEnabled(w, RESOLUTION));
                 EXPECT_FALSE(UiControlIsEnabled(w, ANTIALIASING));
                 EXPECT_FALSE(UiTestClick(w, PLAY));
                 UiTestClick(w, WINDOWED);
             },
             [](UiWindow *w) {
                 EXPECT_TRUE(UiControlIsEnabled(w, PLAY));
                 UiTestClick(w, PLAY);
             }};
    EXPECT_EQ(ResolutionDoDialog(), 1);
    EXPECT_EQ(OnDisk()[20], 1);
}

TEST_F(ResolutionDialogTest, QuestionMarksExplainAndLinksOpenTheirPages)
{
    WriteSettings([](_ResolutionSettings *) {});
    steps = {[](UiWindow *w) { UiTestClick(w, 1015); }, [](UiWindow *w) { UiTestClick(w, 1019); },
             [](UiWindow *w) { UiTestClick(w, 1020); }, [](UiWindow *w) { UiTestClick(w, 1025); },
             [](UiWindow *w) { UiTestClick(w, 1032); }, [](UiWindow *w) { UiTestClick(w, 1023); }};
    EXPECT_EQ(ResolutionDoDialog(), -1);
    std::vector<std::string> captions;
    for (const RecordedMessageBox &box : TestHooks::message_boxes)
        captions.push_back(box.caption);
    EXPECT_EQ(captions, (std::vector<std::string>{"Anti-Aliasing", "Mouse Synchronisation", "Cursor Type"}));
    EXPECT_EQ(TestHooks::message_boxes[2].text,
              "Select between two different cursor (or mouse pointer) types :\n\nOne uses a texture as a cursor, the "
              "other uses the default windows cursor.");
    ASSERT_EQ(TestHooks::shell_opens.size(), 2u);
    EXPECT_EQ(TestHooks::shell_opens[0].file, "https://home.invalid/");
    EXPECT_EQ(TestHooks::shell_opens[1].file, "https://forums.invalid/");
    // "Check For New Version" asked the update script.
    EXPECT_TRUE(Logged("Could not read <http://127.0.0.1:1/cgi-bin/common/updater/CheckVersionV2.cgi?platform=PC"));
}

TEST_F(ResolutionDialogTest, AFailedInternetTestShowsTheUpdatersReasonAndNoGivesUp)
{
    WriteSettings([](_ResolutionSettings *s) { s->internet_test[0] = -1; });
    steps = {[](UiWindow *w) { UiTestClick(w, PLAY); }};
    EXPECT_EQ(ResolutionDoDialog(), 1);
    EXPECT_EQ(OnDisk()[312], 0);
    ASSERT_EQ(TestHooks::message_boxes.size(), 4u);
    EXPECT_EQ(TestHooks::message_boxes[0].caption, "Internet Test");
    EXPECT_EQ(TestHooks::message_boxes[2].text, "Could not read result from the URL");
    EXPECT_EQ(TestHooks::message_boxes[2].caption, "Internet Test Failed");
    EXPECT_EQ(TestHooks::message_boxes[3].text.rfind("Try Again ?", 0), 0u);
}

// What the program's start reads from the file, and what the dialog leaves
// there: the dialog never changes the show-the-dialog byte.
TEST_F(ResolutionDialogTest, TheStartupCasesAreAnsweredAndKeepTheShowByte)
{
    struct Case {
        const char *what;
        bool file;
        unsigned char show_dialog;
        float program_version;
        bool loads;
    };
    const Case CASES[] = {
        {"no file", false, 0, 2.01f, false},
        {"byte 8 set", true, 1, 2.01f, true},
        {"version 2.00", true, 0, 2.0f, true},
        {"valid file", true, 0, 2.01f, true},
    };
    for (const Case &c : CASES) {
        SCOPED_TRACE(c.what);
        fs::remove(SettingsFile());
        if (c.file) {
            WriteSettings([&c](_ResolutionSettings *s) {
                s->show_dialog = c.show_dialog;
                s->program_version = c.program_version;
            });
        }
        ResolutionGetSettings()->show_dialog = 0;
        EXPECT_EQ(ResolutionLoadSettings(), c.loads);
        const _ResolutionSettings &s = *ResolutionGetSettings();
        EXPECT_EQ(s.show_dialog, c.file ? c.show_dialog : 1);
        EXPECT_EQ(s.program_version, c.program_version);

        steps = {[](UiWindow *w) { UiTestClick(w, PLAY); }};
        next_step = 0;
        EXPECT_EQ(ResolutionDoDialog(), 1);
        unsigned char shown = ResolutionGetSettings()->show_dialog;
        EXPECT_EQ(static_cast<unsigned char>(OnDisk()[8]), shown);
        EXPECT_EQ(At<float>(OnDisk(), 4), 2.01f);
    }
}

TEST_F(ResolutionDialogTest, NoProgramNoDialog)
{
    delete program;
    program = nullptr;
    steps = {[](UiWindow *) { ADD_FAILURE() << "no dialog without a program"; }};
    EXPECT_EQ(ResolutionDoDialog(), 0);
    EXPECT_FALSE(fs::exists(SettingsFile()));
}

} // namespace
