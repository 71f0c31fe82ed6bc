#include "engine/core/EngThread.h"
#include "engine/core/EngDebug.h"
#include "tests/support/TestHooks.h"
#include "tests/support/TestLog.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

bool WaitUntil(const std::function<bool()> &condition, double seconds = 5)
{
    Clock::time_point start = Clock::now();
    while (!condition()) {
        if (SecondsSince(start) > seconds)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

// A worker that records what ran, in order, and answers as told.
class RecordingThread : public EngThread {
public:
    explicit RecordingThread(const char *name, char verbosity = 0) : EngThread(name, verbosity, 1) {}
    // Stops the worker while the records below still exist.
    ~RecordingThread() override { Destroy(true); }

    std::vector<std::string> Events()
    {
        std::lock_guard<std::mutex> lock(events_mutex);
        return events;
    }
    int CountOf(const std::string &event)
    {
        int count = 0;
        for (const std::string &e : Events())
            count += e == event;
        return count;
    }

    std::atomic<bool> init_answer{true};
    // TickCB answers false on this tick (1-based); 0 never.
    std::atomic<int> fail_on_tick{0};
    std::atomic<int> ticks{0};
    std::atomic<bool> worker_saw_own_hold{false};

protected:
    bool InitCB() override
    {
        Record("init");
        ticked_since_init = false;
        return init_answer;
    }
    bool TickCB() override
    {
        int tick = ++ticks;
        // Consecutive ticks are recorded once.
        if (!ticked_since_init)
            Record("tick");
        ticked_since_init = true;
        if (HaveMutex())
            worker_saw_own_hold = true;
        return tick != fail_on_tick;
    }
    void ExitCB(bool destroying) override { Record(destroying ? "exit(destroying)" : "exit"); }

private:
    void Record(const std::string &event)
    {
        std::lock_guard<std::mutex> lock(events_mutex);
        events.push_back(event);
    }

    std::mutex events_mutex;
    std::vector<std::string> events;
    // Worker side only.
    bool ticked_since_init = false;
};

using Events = std::vector<std::string>;

class EngThreadTest : public testing::Test {
protected:
    void SetUp() override { ResetEngineForTest(); }
};

TEST_F(EngThreadTest, MutexLockGivesUpAfterItsLimitWithoutStrandingTheMutex)
{
    EngMutex mutex;
    ASSERT_TRUE(mutex.Setup(0.05));
    EXPECT_FALSE(mutex.Setup(1));
    EXPECT_TRUE(LogHas("( EngMutex::Setup )    Already setup."));

    std::atomic<bool> held{false}, release{false}, released{false};
    std::thread holder([&] {
        if (!mutex.Lock())
            return;
        held = true;
        while (!release)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        released = mutex.Unlock();
    });
    ASSERT_TRUE(WaitUntil([&] { return held.load(); }));

    Clock::time_point start = Clock::now();
    EXPECT_FALSE(mutex.Lock());
    double waited = SecondsSince(start);
    EXPECT_GE(waited, 0.045);
    EXPECT_LT(waited, 2.0);
    EXPECT_TRUE(LogHas("( EngMutex::Lock )    Could not lock mutex."));
    // Only the holder can release its hold.
    EXPECT_FALSE(mutex.Unlock());
    EXPECT_TRUE(LogHas("( EngMutex::Unlock )    Could not unlock mutex."));

    release = true;
    holder.join();
    EXPECT_TRUE(released);
    EXPECT_TRUE(mutex.Lock());
    // Not recursive: a second lock by the holder fails after the limit.
    EXPECT_FALSE(mutex.Lock());
    EXPECT_TRUE(mutex.Unlock());
}

TEST_F(EngThreadTest, MutexNotSetUpRefusesAndConstructorWithTimeoutSetsUp)
{
    EngMutex idle;
    EXPECT_FALSE(idle.Lock());
    EXPECT_TRUE(LogHas("( EngMutex::Lock )    Mutex not setup."));
    EXPECT_FALSE(idle.Unlock());

    EngMutex ready(0.01);
    EXPECT_TRUE(ready.Lock());
    EXPECT_TRUE(ready.Unlock());
}

TEST_F(EngThreadTest, RunsInitThenTicksUntilDestroyedThenExits)
{
    // Verbosity 4 runs every trace line as well.
    RecordingThread thread("Runner", 4);
    EXPECT_FALSE(thread.IsStillRunning());
    ASSERT_TRUE(thread.Create(nullptr));
    ASSERT_TRUE(WaitUntil([&] { return thread.ticks >= 3; }));
    EXPECT_TRUE(thread.IsStillRunning());

    thread.Destroy(true);
    EXPECT_FALSE(thread.IsStillRunning());
    EXPECT_EQ(thread.Events(), (Events{"init", "tick", "exit(destroying)"}));
    EXPECT_EQ(DebugGetNumMessages(), 0);
}

TEST_F(EngThreadTest, InitFalseExitsWithoutTickingAndTheObjectCanRunAgain)
{
    RecordingThread thread("InitFails");
    thread.init_answer = false;
    ASSERT_TRUE(thread.Create(nullptr));
    ASSERT_TRUE(WaitUntil([&] { return !thread.IsStillRunning(); }));
    EXPECT_EQ(thread.ticks, 0);
    EXPECT_EQ(thread.Events(), (Events{"init", "exit"}));

    thread.init_answer = true;
    ASSERT_TRUE(thread.Create(nullptr));
    ASSERT_TRUE(WaitUntil([&] { return thread.ticks >= 1; }));
    thread.Destroy(true);
    EXPECT_EQ(thread.Events(), (Events{"init", "exit", "init", "tick", "exit(destroying)"}));
}

TEST_F(EngThreadTest, TickFalseEndsTheWorkerAfterThatTick)
{
    RecordingThread thread("TickFails");
    thread.fail_on_tick = 3;
    ASSERT_TRUE(thread.Create(nullptr));
    ASSERT_TRUE(WaitUntil([&] { return !thread.IsStillRunning(); }));
    EXPECT_EQ(thread.ticks, 3);
    EXPECT_EQ(thread.Events(), (Events{"init", "tick", "exit"}));
}

TEST_F(EngThreadTest, DefaultCallbacksUseTheGivenFunctions)
{
    struct Counts {
        std::atomic<int> ticks{0};
        std::atomic<int> exits{0};
    } counts;
    EngThread thread("Plain", 0, 0);
    thread.SetTickCallback([](void *user) { return ++static_cast<Counts *>(user)->ticks < 2; }, &counts);
    thread.SetExitCallback([](void *user) { ++static_cast<Counts *>(user)->exits; }, &counts);
    ASSERT_TRUE(thread.Create(nullptr));
    ASSERT_TRUE(WaitUntil([&] { return !thread.IsStillRunning(); }));
    EXPECT_EQ(counts.ticks, 2);
    EXPECT_EQ(counts.exits, 1);
}

TEST_F(EngThreadTest, SecondCreateOnALiveWorkerReplacesIt)
{
    RecordingThread thread("First");
    ASSERT_TRUE(thread.Create(nullptr));
    ASSERT_TRUE(WaitUntil([&] { return thread.ticks >= 1; }));

    ASSERT_TRUE(thread.Create("Second"));
    EXPECT_TRUE(LogHas("( EngThread::Create )    Already Initialsed [2]"));
    EXPECT_STREQ(thread.GetName(), "Second");
    ASSERT_TRUE(WaitUntil([&] { return thread.CountOf("tick") == 2; }));
    thread.Destroy(true);
    EXPECT_EQ(thread.Events(),
              (Events{"init", "tick", "exit(destroying)", "init", "tick", "exit(destroying)"}));
}

TEST_F(EngThreadTest, DestroyOnANeverRunObjectOnlyResets)
{
    RecordingThread thread("Idle");
    thread.Destroy(true);
    EXPECT_FALSE(thread.IsStillRunning());
    EXPECT_FALSE(thread.HaveMutex());
    EXPECT_TRUE(thread.Events().empty());
    EXPECT_EQ(DebugGetNumMessages(), 0);

    testing::internal::CaptureStdout();
    EXPECT_FALSE(thread.WaitForMutex());
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Error: EngThread::WaitForMutex - Thread not setup\n");
}

TEST_F(EngThreadTest, NamesAreCutTo15Characters)
{
    struct Case {
        const char *name;
        const char *kept;
    };
    const Case cases[] = {
        {"", ""},
        {"Fifteen chars!!", "Fifteen chars!!"},
        {"Sixteen chars!!!", "Sixteen chars!!"},
        {"A much longer thread name", "A much longer t"},
    };
    for (const Case &c : cases) {
        RecordingThread constructed(c.name);
        EXPECT_STREQ(constructed.GetName(), c.kept) << c.name;
    }
    RecordingThread thread("Before");
    ASSERT_TRUE(thread.Create("Internet reader worker"));
    EXPECT_STREQ(thread.GetName(), "Internet reader");
    thread.Destroy(true);
}

TEST_F(EngThreadTest, NoTickSleepTicksWithoutPause)
{
    RecordingThread thread("Busy");
    thread.SetTickSleepTime(-1);
    ASSERT_TRUE(thread.Create(nullptr));
    // With the default 1 ms pause 1000 ticks take at least a second.
    EXPECT_TRUE(WaitUntil([&] { return thread.ticks >= 1000; }, 0.9));
    thread.Destroy(true);
}

TEST_F(EngThreadTest, MainSideHoldPausesTicksAndIsItsOwn)
{
    RecordingThread thread("Pause");
    ASSERT_TRUE(thread.Create(nullptr));
    ASSERT_TRUE(WaitUntil([&] { return thread.ticks >= 1; }));

    testing::internal::CaptureStdout();
    ASSERT_TRUE(thread.WaitForMutex());
    EXPECT_TRUE(thread.HaveMutex());
    EXPECT_FALSE(thread.WaitForMutex());
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    int frozen = thread.ticks;
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_EQ(thread.ticks, frozen);

    thread.DoneWithMutex();
    EXPECT_FALSE(thread.HaveMutex());
    EXPECT_TRUE(WaitUntil([&] { return thread.ticks > frozen + 5; }));
    thread.Destroy(true);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Error: EngThread::WaitForMutex - Already have mutex\n");
    EXPECT_FALSE(thread.worker_saw_own_hold);
}

TEST_F(EngThreadTest, OverlongMainSideHoldLeavesNothingLocked)
{
    RecordingThread thread("Overlong");
    thread.SetMaxMutexHoldTime(0.05);
    thread.SetMutexWaitLimit(0.3);
    ASSERT_TRUE(thread.Create(nullptr));
    ASSERT_TRUE(WaitUntil([&] { return thread.ticks >= 1; }));

    testing::internal::CaptureStdout();
    ASSERT_TRUE(thread.WaitForMutex());
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    // The worker gave up waiting and ticks on, never taking the main
    // side's hold for its own.
    int ticks_while_held = thread.ticks;
    thread.DoneWithMutex();
    EXPECT_FALSE(thread.HaveMutex());
    // A second overlong hold is reported again.
    ASSERT_TRUE(thread.WaitForMutex());
    int ticks_before_second = thread.ticks;
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_GT(thread.ticks, ticks_before_second + 1);
    thread.DoneWithMutex();

    // The mutex is free again: the worker can take it to exit.
    thread.Destroy(true);
    std::string out = testing::internal::GetCapturedStdout();
    // Once per hold, though the worker passed its loop many times meanwhile.
    auto count = [&out](const std::string &line) {
        int n = 0;
        for (size_t at = out.find(line); at != std::string::npos; at = out.find(line, at + 1))
            n++;
        return n;
    };
    EXPECT_EQ(count("Error:  EngThread::DoThreadMain:Mutex - mutex locked for longer than max time allowed\n"), 2);
    EXPECT_EQ(count("Error:  EngThread::DoThreadMain:Mutex - forcing free\n"), 2);
    EXPECT_EQ(out.find("Wait timed-out"), std::string::npos);
    EXPECT_GT(ticks_while_held, 1);
    EXPECT_FALSE(thread.worker_saw_own_hold);
    EXPECT_EQ(thread.Events(), (Events{"init", "tick", "exit(destroying)"}));
}

} // namespace
