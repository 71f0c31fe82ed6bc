// The start-up settings dialog as the desktop shows it: a real GTK window,
// used through GTK's own controls.
#include "modules/Resolution.h"
#include "engine/runtime/EngProgram.h"
#include "platform/ui/UiWindow.h"
#include "tests/modules/ModulesTestSupport.h"

#include <functional>
#include <vector>

namespace {

using namespace modules_test;

using Step = std::function<void(UiWindow *)>;
std::vector<Step> steps;
size_t next_step = 0;

// Each step must leave the dialog something to do (a click, a choice, a
// key), or the dialog would wait for a user who is not there.
void RunNextStep(UiWindow *window)
{
    ASSERT_LT(next_step, steps.size()) << "the dialog is still waiting";
    steps[next_step++](window);
}

enum {
    PLAY = 1000,
    WINDOWED = 1002,
    DISPLAY_MODE_LABEL = 1011,
    RESOLUTION_LABEL = 1012,
    ANTIALIASING_LABEL = 1014,
    VERSION = 1016,
    CURSOR_TYPE = 1018,
    MUSIC_LABEL = 1021,
    SYNC_LABEL = 1024,
    CURSOR_LABEL = 1027,
    NOTE = 1031,
};

class ResolutionDialogDisplayTest : public ModulesTest {
protected:
    void SetUp() override
    {
        ModulesTest::SetUp();
        steps.clear();
        next_step = 0;
        UiSetTestHook(RunNextStep, false);
        // The banner is read from the data folder beside the program.
        fs::create_directories("Data/Common");
        fs::copy_file(fs::path(HW_DATA_DIR) / "Common" / "StartupBanner.png", "Data/Common/StartupBanner.png",
                      fs::copy_options::overwrite_existing);
        ResolutionSetDefaults();
        ResolutionGetSettings()->internet_test[0] = 1;
        program = new EngProgram;
    }

    void TearDown() override
    {
        delete program;
        UiSetTestHook(nullptr, false);
        TestHooks::Install();
        ModulesTest::TearDown();
    }

    EngProgram *program = nullptr;
};

TEST_F(ResolutionDialogDisplayTest, PlayPressedThroughGtkAnswersOneAndWritesTheChoices)
{
    steps = {[](UiWindow *w) {
                 ASSERT_TRUE(UiTestWaitUntilShown(w));
                 int width, height;
                 UiTestGetShownSize(w, &width, &height);
                 // Every control fits the dialog's own size.
                 EXPECT_EQ(width, 512);
                 EXPECT_EQ(height, 440);
                 // Every label and the note show their whole text in the
                 // desktop's font, inside the dialog, the labels of a row
                 // clear of each other.
                 for (int id : {VERSION, DISPLAY_MODE_LABEL, RESOLUTION_LABEL, ANTIALIASING_LABEL, MUSIC_LABEL, CURSOR_LABEL,
                                SYNC_LABEL, NOTE}) {
                     SCOPED_TRACE(id);
                     int x, y, wide, high;
                     ASSERT_TRUE(UiControlGetRect(w, id, &x, &y, &wide, &high));
                     EXPECT_TRUE(UiTestTextIsWhole(w, id));
                     EXPECT_GE(x, 0);
                     EXPECT_LE(x + wide, width);
                 }
                 // The note stays under the middle of the settings.
                 int x, y, wide, high;
                 ASSERT_TRUE(UiControlGetRect(w, NOTE, &x, &y, &wide, &high));
                 EXPECT_NEAR(x + wide / 2, width / 2, 4);
                 int right = 0;
                 for (int id : {MUSIC_LABEL, CURSOR_LABEL, SYNC_LABEL}) {
                     int x, y, wide, high;
                     ASSERT_TRUE(UiControlGetRect(w, id, &x, &y, &wide, &high));
                     EXPECT_GE(x, right) << id;
                     right = x + wide;
                 }
                 UiTestClick(w, WINDOWED);
             },
             [](UiWindow *w) { UiTestChoose(w, CURSOR_TYPE, 0); },
             [](UiWindow *w) { UiTestClick(w, PLAY); }};
    EXPECT_EQ(ResolutionDoDialog(), 1);
    EXPECT_EQ(next_step, steps.size());
    std::string bytes = ReadWhole(SettingsFile());
    ASSERT_EQ(bytes.size(), 424u);
    EXPECT_EQ(bytes[20], 1);
    EXPECT_EQ(bytes[148], 0);
    EXPECT_EQ(eng_screen_windowed, 1);
}

TEST_F(ResolutionDialogDisplayTest, EscapeThroughGtkClosesWithoutPlaying)
{
    steps = {[](UiWindow *w) {
        ASSERT_TRUE(UiTestWaitUntilShown(w));
        UiTestPressEscape(w);
    }};
    EXPECT_EQ(ResolutionDoDialog(), -1);
    EXPECT_FALSE(fs::exists(SettingsFile()));
}

} // namespace
