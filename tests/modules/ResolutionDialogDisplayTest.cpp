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

enum { PLAY = 1000, WINDOWED = 1002, CURSOR_TYPE = 1018 };

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
