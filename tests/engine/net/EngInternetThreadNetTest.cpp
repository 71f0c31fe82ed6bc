#include "engine/net/EngInternetThread.h"
#include "engine/core/EngDebug.h"
#include "engine/core/EngMemory.h"
#include "engine/runtime/EngMain.h"
#include "tests/fixtures/LoopbackServer.h"
#include "tests/support/TestHooks.h"
#include "tests/support/TestLog.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

LoopbackServer server;

// Polls like the main loop does, once a frame, until the read leaves the
// in-progress state or max_seconds pass.
_EngInternetThreadReadResult PollUntilSettled(EngInternetThread &reader, double max_seconds = 10)
{
    Clock::time_point start = Clock::now();
    for (;;) {
        EngMainUpdateProgramTime();
        _EngInternetThreadReadResult status = reader.GetReadingStatus(0);
        if (status != EITRR_IN_PROGRESS || SecondsSince(start) > max_seconds)
            return status;
        std::this_thread::sleep_for(std::chrono::milliseconds(16));
    }
}

bool WaitForWorkerEnd(EngInternetThread &reader, double max_seconds)
{
    Clock::time_point start = Clock::now();
    while (reader.IsWorkerRunning()) {
        if (SecondsSince(start) > max_seconds)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

std::string TakeData(EngInternetThread &reader, unsigned int *length = nullptr)
{
    unsigned int n = 0;
    char *data = reader.GetDataReadFreeWhenDone(&n);
    if (length)
        *length = n;
    if (!data)
        return "<null>";
    std::string text(data, n);
    EXPECT_EQ(data[n], 0);
    EngFree(data, 1, "TakeData");
    return text;
}

class EngInternetThreadNetTest : public testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(server.Start()); }
    static void TearDownTestSuite() { server.Stop(); }
    void SetUp() override
    {
        ResetEngineForTest();
        EngMainUpdateProgramTime();
    }
};

TEST_F(EngInternetThreadNetTest, ReadsAResourceAndHandsOutACopy)
{
    EngInternetThread reader("reader", 0);
    ASSERT_TRUE(reader.StartReading(server.Url("/bytes?n=1000").c_str(), 4096, 5));
    EXPECT_EQ(PollUntilSettled(reader), EITRR_DONE);
    unsigned int length = 0;
    EXPECT_EQ(TakeData(reader, &length), Pattern(1000));
    EXPECT_EQ(length, 1000u);
    EXPECT_EQ(LogCount("ERROR"), 0);
    // Silent at verbosity 0.
    EXPECT_EQ(LogCount("ETW>") + LogCount("EIT>"), 0);
}

TEST_F(EngInternetThreadNetTest, SendsItsAgentAndBypassesCaches)
{
    EngInternetThread reader("agent", 0);
    ASSERT_TRUE(reader.StartReading(server.Url("/echo").c_str(), 4096, 5));
    ASSERT_EQ(PollUntilSettled(reader), EITRR_DONE);
    std::string headers = TakeData(reader);
    EXPECT_NE(headers.find("User-Agent: EngInternetThread_PC::PrepareForReading\n"), std::string::npos) << headers;
    EXPECT_NE(headers.find("Cache-Control: no-cache"), std::string::npos) << headers;
}

TEST_F(EngInternetThreadNetTest, ReadsAnAnswerThatArrivesInPiecesOnePiecePerTick)
{
    EngInternetThread reader("pieces", 2);
    ASSERT_TRUE(reader.StartReading(server.Url("/bytes?n=300&pieces=3&gap=0.25").c_str(), 4096, 5));
    EXPECT_EQ(PollUntilSettled(reader), EITRR_DONE);
    EXPECT_EQ(TakeData(reader), Pattern(300));
    // Pieces sent 0.25 s apart arrive on different ticks.
    EXPECT_GE(LogCount("ETW>     Read [1] ["), 2);
    EXPECT_EQ(LogCount("ETW>     Read [2] [0]"), 1);
    EXPECT_TRUE(LogHas("EIT> StartReading..."));
    EXPECT_TRUE(LogHas("ETW> Started reading."));
}

TEST_F(EngInternetThreadNetTest, KeepsAtMostMaximumLessOneBytes)
{
    const struct {
        int size;
        unsigned int maximum;
        size_t kept;
    } cases[] = {{98, 100, 98}, {99, 100, 99}, {100, 100, 99}, {5000, 100, 99}, {1, 2, 1}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.size);
        EngInternetThread reader("cut", 0);
        ASSERT_TRUE(reader.StartReading(server.Url("/bytes?n=" + std::to_string(c.size)).c_str(), c.maximum, 5));
        EXPECT_EQ(PollUntilSettled(reader), EITRR_DONE);
        EXPECT_EQ(TakeData(reader), Pattern(c.kept));
    }
    EXPECT_EQ(LogCount("ERROR"), 0);
}

TEST_F(EngInternetThreadNetTest, AnErrorPageIsAnErrorAndARedirectIsFollowed)
{
    const struct {
        std::string path;
        _EngInternetThreadReadResult result;
        const char *logged;
    } cases[] = {
        {"/bytes?n=20&status=404", EITRR_ERROR, "The server answered with HTTP status 404."},
        {"/bytes?n=20&status=500", EITRR_ERROR, "The server answered with HTTP status 500."},
        {"/bytes?n=20&status=399", EITRR_DONE, nullptr},
        {"/redirect?to=/bytes%3Fn%3D20", EITRR_DONE, nullptr},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.path);
        ResetEngineForTest();
        EngInternetThread reader("status", 0);
        ASSERT_TRUE(reader.StartReading(server.Url(c.path).c_str(), 100, 5));
        EXPECT_EQ(PollUntilSettled(reader), c.result);
        if (c.logged) {
            EXPECT_TRUE(LogHas(c.logged));
        } else {
            EXPECT_EQ(TakeData(reader), Pattern(20));
        }
    }
}

TEST_F(EngInternetThreadNetTest, ARefusedConnectionIsAnErrorWithItsReasonInTheLog)
{
    EngInternetThread reader("refused", 0);
    std::string url = "http://127.0.0.1:" + std::to_string(LoopbackServer::RefusedPort()) + "/";
    ASSERT_TRUE(reader.StartReading(url.c_str(), 100, 5));
    EXPECT_EQ(PollUntilSettled(reader), EITRR_ERROR);
    EXPECT_TRUE(LogHas("( EngInternetThread_PC::OpenConnectionToUrl )    InternetOpenUrlA failed [0x2efd]."));
    EXPECT_TRUE(LogHas("( EngInternetThread_PC::OpenConnectionToUrl )    Error code: 12029 => Message: A connection "
                       "with the server could not be made."));
    EXPECT_TRUE(LogHas("( EngInternetThread_PC::ReadFromOpenStream )    Problem connecting to internet site"));
    // The outcome outlasts the worker.
    ASSERT_TRUE(WaitForWorkerEnd(reader, 2));
    EXPECT_EQ(reader.GetReadingStatus(0), EITRR_ERROR);
    EXPECT_EQ(TakeData(reader), "<null>");
    EXPECT_TRUE(LogHas("( EngInternetThread::GetDataReadFreeWhenDone )    Reading did not complete ok"));
}

TEST_F(EngInternetThreadNetTest, AServerThatNeverAnswersTimesOutOnTimeAndDestroyEndsItAtOnce)
{
    EngInternetThread reader("silent", 1);
    Clock::time_point start = Clock::now();
    ASSERT_TRUE(reader.StartReading(server.Url("/silent").c_str(), 100, 1));
    // The main side sees the time-out at the deadline, while the worker is
    // still waiting for the server.
    EXPECT_EQ(PollUntilSettled(reader), EITRR_TIMED_OUT);
    EXPECT_GE(SecondsSince(start), 0.9);
    EXPECT_LT(SecondsSince(start), 1.5);
    EXPECT_TRUE(reader.IsWorkerRunning());
    EXPECT_TRUE(LogHas("ETW> Timeout reading data"));
    // The worker is stopped where it waits, not at its own limits.
    Clock::time_point destroying = Clock::now();
    reader.Destroy();
    EXPECT_LT(SecondsSince(destroying), 1.0);
    EXPECT_FALSE(reader.IsWorkerRunning());
    EXPECT_TRUE(LogHas("EIT> Destroy() done."));
}

// A read with a minute to go: connecting to a server that never answers, or
// receiving an answer whose rest is half a minute away. Cancelling or
// destroying the reader ends the worker within a second all the same.
TEST_F(EngInternetThreadNetTest, CancelAndDestroyStopAWaitingTransferWithinASecond)
{
    for (const char *path : {"/silent", "/bytes?n=20&pieces=2&gap=30"}) {
        SCOPED_TRACE(path);
        EngInternetThread reader("wait", 0);
        ASSERT_TRUE(reader.StartReading(server.Url(path).c_str(), 100, 60));
        std::this_thread::sleep_for(std::chrono::milliseconds(600));
        ASSERT_TRUE(reader.IsWorkerRunning());
        Clock::time_point cancelling = Clock::now();
        EXPECT_TRUE(reader.CancelReading());
        EXPECT_EQ(reader.GetReadingStatus(0), EITRR_CANCELLED);
        EXPECT_TRUE(WaitForWorkerEnd(reader, 1));
        EXPECT_LT(SecondsSince(cancelling), 1.0);
        EXPECT_EQ(reader.GetReadingStatus(0), EITRR_NONE);

        ASSERT_TRUE(reader.StartReading(server.Url(path).c_str(), 100, 60));
        std::this_thread::sleep_for(std::chrono::milliseconds(600));
        ASSERT_TRUE(reader.IsWorkerRunning());
        Clock::time_point destroying = Clock::now();
        reader.Destroy();
        EXPECT_LT(SecondsSince(destroying), 1.0);
        EXPECT_FALSE(reader.IsWorkerRunning());
        // Stopping on purpose is not an error.
        EXPECT_EQ(LogCount("ERROR"), 0);
    }
}

TEST_F(EngInternetThreadNetTest, AStalledAnswerTimesOutInTheWorkerToo)
{
    EngInternetThread reader("stall", 0);
    ASSERT_TRUE(reader.StartReading(server.Url("/bytes?n=20&pieces=2&gap=10").c_str(), 100, 1));
    EXPECT_EQ(PollUntilSettled(reader), EITRR_TIMED_OUT);
    // The worker's own receive limit fails the read a little later; the
    // status stays "timed out", also after the worker has ended.
    ASSERT_TRUE(WaitForWorkerEnd(reader, 3));
    EXPECT_EQ(reader.GetReadingStatus(0), EITRR_TIMED_OUT);
    EXPECT_TRUE(LogHas("( InternetReadFile )    Error code: 12002"));
}

TEST_F(EngInternetThreadNetTest, CancelDuringAReadHoldsUntilTheWorkerEnds)
{
    EngInternetThread reader("cancel", 1);
    ASSERT_TRUE(reader.StartReading(server.Url("/bytes?n=100&pieces=20&gap=0.1").c_str(), 4096, 10));
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    ASSERT_EQ(reader.GetReadingStatus(0), EITRR_IN_PROGRESS);
    EXPECT_TRUE(reader.CancelReading());
    EXPECT_TRUE(LogHas("EIT> CancelReading()."));
    EXPECT_EQ(reader.GetReadingStatus(0), EITRR_CANCELLED);
    EXPECT_EQ(TakeData(reader), "<null>");
    ASSERT_TRUE(WaitForWorkerEnd(reader, 2));
    EXPECT_EQ(reader.GetReadingStatus(0), EITRR_NONE);
    EXPECT_TRUE(LogHas("ETW> Exited."));
}

TEST_F(EngInternetThreadNetTest, FinishedDataWaitsForTheMainSideAfterTheWorkerHasEnded)
{
    EngInternetThread reader("fade", 0);
    ASSERT_TRUE(reader.StartReading(server.Url("/bytes?n=50").c_str(), 100, 5));
    // No poll for a while, as during a screen fade.
    std::this_thread::sleep_for(std::chrono::milliseconds(1000));
    EXPECT_TRUE(WaitForWorkerEnd(reader, 2));
    EngMainUpdateProgramTime();
    EXPECT_EQ(reader.GetReadingStatus(0), EITRR_DONE);
    EXPECT_EQ(TakeData(reader), Pattern(50));
    // A cancel after the end changes nothing; a new read drops the old data.
    EXPECT_TRUE(reader.CancelReading());
    EXPECT_EQ(reader.GetReadingStatus(0), EITRR_DONE);
    ASSERT_TRUE(reader.StartReading(server.Url("/bytes?n=3").c_str(), 100, 5));
    EXPECT_EQ(PollUntilSettled(reader), EITRR_DONE);
    EXPECT_EQ(TakeData(reader), "abc");
}

TEST_F(EngInternetThreadNetTest, WithoutAWorkerTheQueriesSaySo)
{
    EngInternetThread reader("none", 0);
    EXPECT_EQ(reader.GetReadingStatus(0.5), EITRR_ERROR);
    EXPECT_TRUE(LogHas("( EngInternetThread::GetReadingStatus )    No thread."));
    EXPECT_EQ(TakeData(reader), "<null>");
    EXPECT_TRUE(LogHas("( EngInternetThread::GetDataReadFreeWhenDone )    No thread"));
    EXPECT_TRUE(reader.CancelReading());
    EXPECT_FALSE(reader.IsWorkerRunning());
    reader.Destroy();
}

TEST_F(EngInternetThreadNetTest, StartReadingRefusesBadParametersAfterEndingTheEarlierRead)
{
    EngInternetThread reader("params", 0);
    ASSERT_TRUE(reader.StartReading(server.Url("/bytes?n=10&pieces=2&gap=5").c_str(), 100, 10));
    const struct {
        const char *url;
        unsigned int maximum;
    } cases[] = {{nullptr, 100}, {"", 100}, {"http://127.0.0.1/", 0}};
    for (const auto &c : cases) {
        EXPECT_FALSE(reader.StartReading(c.url, c.maximum, 5));
        EXPECT_FALSE(reader.IsWorkerRunning());
    }
    EXPECT_EQ(LogCount("( EngInternetThread::StartReading )    Parameters Error"), 3);
    EXPECT_EQ(reader.GetReadingStatus(0), EITRR_ERROR);
}

TEST_F(EngInternetThreadNetTest, GetReadingStatusWaitsOnlyWhileReading)
{
    EngInternetThread reader("wait", 0);
    ASSERT_TRUE(reader.StartReading(server.Url("/bytes?n=10&delay=1").c_str(), 100, 5));
    Clock::time_point start = Clock::now();
    EXPECT_EQ(reader.GetReadingStatus(0.3), EITRR_IN_PROGRESS);
    EXPECT_GE(SecondsSince(start), 0.29);
    EXPECT_EQ(PollUntilSettled(reader), EITRR_DONE);
    start = Clock::now();
    EXPECT_EQ(reader.GetReadingStatus(0.3), EITRR_DONE);
    EXPECT_LT(SecondsSince(start), 0.1);
}

TEST_F(EngInternetThreadNetTest, SeveralReadersRunSideBySide)
{
    EngInternetThread a("a", 1), b("b", 1), c("c", 1);
    ASSERT_TRUE(a.StartReading(server.Url("/bytes?n=200&pieces=4&gap=0.1").c_str(), 4096, 5));
    ASSERT_TRUE(b.StartReading(server.Url("/bytes?n=300&pieces=3&gap=0.1").c_str(), 4096, 5));
    ASSERT_TRUE(c.StartReading(server.Url("/bytes?n=400&pieces=2&gap=0.1").c_str(), 4096, 5));
    EXPECT_EQ(PollUntilSettled(a), EITRR_DONE);
    EXPECT_EQ(PollUntilSettled(b), EITRR_DONE);
    b.CancelReading();
    EXPECT_EQ(PollUntilSettled(c), EITRR_DONE);
    EXPECT_EQ(TakeData(a), Pattern(200));
    EXPECT_EQ(TakeData(b), Pattern(300));
    EXPECT_EQ(TakeData(c), Pattern(400));
}

} // namespace
