// The program object across threads: a worker raises a forced exit while the
// main loop runs; the loop ends and the close-down shows the worker's popup.
// test.sh runs this program under ThreadSanitizer as well.
#include "tests/engine/runtime/RuntimeTestSupport.h"

#include <atomic>
#include <thread>

namespace {

// Counts its passes where another thread can read them.
class LoopingProgram : public RecordingProgram {
public:
    std::atomic<int> passes{0};
    char TickCB() override
    {
        passes++;
        return RecordingProgram::TickCB();
    }
};

class EngProgramThreadTest : public testing::Test {
protected:
    void SetUp() override { ResetRuntimeForTest(); }
    void TearDown() override { VirtualClock::Remove(); }
};

TEST_F(EngProgramThreadTest, AnExitRaisedByAWorkerEndsTheLoopAndShowsItsPopup)
{
    LoopingProgram program;
    _EngCreateWindowParms parms = WindowParms();
    ASSERT_EQ(program.CreateMainWindowAndDevice("Hive Watcher", "HiveWatcherClass", &parms), 1);

    // The worker waits until the loop runs, then raises the exit with texts
    // of its own while the main thread goes on passing.
    std::thread worker([&program] {
        while (program.passes < 3)
            std::this_thread::yield();
        program.ForceExitNow("Net", "Gone", 0);
    });
    program.RunMainLoop();
    worker.join();
    EXPECT_TRUE(TestHooks::message_boxes.empty()) << "nothing is shown before the close-down";

    program.CloseDown(1);
    ASSERT_EQ(TestHooks::message_boxes.size(), 1u);
    EXPECT_EQ(TestHooks::message_boxes[0].caption, "Net");
    EXPECT_EQ(TestHooks::message_boxes[0].text, "Gone");
    EXPECT_TRUE(WasStored(" <ERROR>  ( EngProgram::ForceExitNow )    Not closing down as not the main thread"));
}

} // namespace
