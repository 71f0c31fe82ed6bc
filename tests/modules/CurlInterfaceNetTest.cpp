#include "modules/CurlInterface.h"
#include "platform/curl/PlatformCurl.h"
#include "tests/fixtures/ScoreServer.h"
#include "tests/support/TestHooks.h"
#include "tests/support/TestLog.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

namespace {

ScoreServer server;

const char *kWhere = "CurlInterface::DoDownloadFromUrl";

class CurlInterfaceNetTest : public testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(server.Start()); }
    static void TearDownTestSuite() { server.Stop(); }
    void SetUp() override
    {
        ResetEngineForTest();
        ASSERT_TRUE(CurlInterface_InitCurl());
        server.ForgetRequests();
    }
    void TearDown() override { CurlInterface_ExitCurl(); }

    // The answer of one GET of path answering body, read with capacity.
    std::string Fetch(const std::string &body, unsigned capacity, char skip_newlines, unsigned *size = nullptr)
    {
        server.Answer("/a", body);
        CurlInterface curl("test", 0);
        EXPECT_TRUE(curl.DownloadFromUrl(server.Url("/a").c_str(), nullptr, capacity, nullptr, 0, skip_newlines, 5,
                                         nullptr));
        if (size)
            *size = curl.GetDownloadedSize();
        char *data = curl.GetDownloadedData();
        return data ? data : "<null>";
    }
};

TEST_F(CurlInterfaceNetTest, SetUpTwiceIsReportedAndStillTrue)
{
    EXPECT_TRUE(CurlInterface_IsCurlSetup());
    EXPECT_TRUE(CurlInterface_InitCurl());
    EXPECT_TRUE(LogHas("Already setup."));
    PlatformCurl *curl = CurlInterface_CallCurlEasyInit();
    EXPECT_NE(curl, nullptr);
    PlatformCurlEasyCleanup(curl);
    CurlInterface_ExitCurl();
    EXPECT_FALSE(CurlInterface_IsCurlSetup());
    EXPECT_EQ(CurlInterface_CallCurlEasyInit(), nullptr);
    EXPECT_TRUE(LogHas("Curl is not setup."));
}

TEST_F(CurlInterfaceNetTest, KeepsAtMostCapacityLessOneBytes)
{
    const std::string forty = Pattern(40);
    const struct {
        std::string body;
        std::string kept;
    } cases[] = {{forty, forty.substr(0, 15)}, {Pattern(15), Pattern(15)}, {Pattern(14), Pattern(14)},
                 {Pattern(16), Pattern(15)}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.body.size());
        unsigned size = 0;
        EXPECT_EQ(Fetch(c.body, 16, 0, &size), c.kept);
        EXPECT_EQ(size, c.kept.size());
    }
    EXPECT_EQ(LogCount("ERROR"), 0);
}

TEST_F(CurlInterfaceNetTest, SkipsAtMostTwoLeadingLineFeedsWhenAsked)
{
    const struct {
        const char *body;
        char skip;
        const char *read;
    } cases[] = {{"abc", 1, "abc"},        {"\nabc", 1, "abc"},       {"\n\nabc", 1, "abc"},
                 {"\n\n\nabc", 1, "\nabc"}, {"\n\nabc", 0, "\n\nabc"}, {"\n", 1, ""}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.body);
        unsigned size = 0;
        std::string read = Fetch(c.body, 64, c.skip, &size);
        EXPECT_EQ(read, c.read);
        EXPECT_EQ(size, read.size());
    }
}

TEST_F(CurlInterfaceNetTest, AnEmptyAnswerIsReceivedButHasNoData)
{
    EXPECT_EQ(Fetch("", 16, 0), "<null>");
    EXPECT_TRUE(LogHas(ErrorLine("CurlInterface::GetDownloadedData", "No Data")));
}

TEST_F(CurlInterfaceNetTest, RefusesBadParametersWithoutARequest)
{
    CurlInterface curl(nullptr, 0);
    EXPECT_FALSE(curl.DownloadFromUrl(nullptr, nullptr, 16, nullptr, 0, 0, 5, nullptr));
    EXPECT_FALSE(curl.DownloadFromUrl("", nullptr, 16, nullptr, 0, 0, 5, nullptr));
    EXPECT_FALSE(curl.DownloadFromUrl(server.Url("/a").c_str(), nullptr, 0, nullptr, 0, 0, 5, nullptr));
    EXPECT_EQ(LogCount(ErrorLine(kWhere, "Parameters error.")), 3);
    EXPECT_TRUE(server.Requests().empty());
}

TEST_F(CurlInterfaceNetTest, JoinsTheQueryAndPostsOnlyWithData)
{
    server.Answer("/q", " A");
    CurlInterface curl("query", 0);
    const char body[] = "payload";
    EXPECT_TRUE(curl.DownloadFromUrl(server.Url("/q").c_str(), "x=1&y=2", 16, body, sizeof(body), 0, 5, nullptr));
    EXPECT_TRUE(curl.DownloadFromUrl(server.Url("/q").c_str(), nullptr, 16, body, 0, 0, 5, nullptr));
    EXPECT_TRUE(curl.DownloadFromUrl(server.Url("/q").c_str(), nullptr, 16, nullptr, 8, 0, 5, nullptr));
    auto requests = server.Requests();
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_EQ(requests[0]["method"], "POST");
    EXPECT_EQ(requests[0]["query"], nlohmann::ordered_json({{"x", "1"}, {"y", "2"}}));
    EXPECT_EQ(requests[0]["body_length"], sizeof(body));
    EXPECT_EQ(requests[1]["method"], "GET");
    EXPECT_TRUE(requests[1]["query"].empty());
    EXPECT_EQ(requests[2]["method"], "GET");
}

TEST_F(CurlInterfaceNetTest, FailuresLeaveTheObjectIdleAndReusable)
{
    // The time-out is short where the server keeps silent; the refused
    // certificate gets longer, since loading the system's certificate store
    // can take over a second on a busy machine.
    const struct {
        std::string url;
        std::string message;
        int timeout;
    } cases[] = {
        {"http://127.0.0.1:" + std::to_string(LoopbackServer::RefusedPort()) + "/a", "Could not connect.", 1},
        // An error page is not an answer.
        {server.Url("/error"), "Problem ( from: 10  error: 22 (", 1},
        {server.Url("/cut"), "Problem ( from: 10  error: 18 (", 1},
        {server.Url("/silent"), "Problem ( from: 10  error: 28 (", 1},
        // Peers are verified: a self-signed certificate is refused.
        {server.TlsUrl("/a"), "Problem ( from: 10  error: 60 (", 15},
        {"http://scores.lichenware.invalid/a", "Problem ( from: 10  error: 6 (", 1},
        // Web addresses only: another scheme is refused before any request.
        {"file:///etc/hostname", "Problem ( from: 10  error: 1 (", 1},
        {"gopher" + server.Base().substr(4) + "/_GET%20/a", "Problem ( from: 10  error: 1 (", 1},
    };
    server.Script({{"/a", {{"body", "fine"}}},
                   {"/error", {{"status", 500}, {"body", "trouble"}}},
                   {"/cut", {{"body", Pattern(40)}, {"cut", 10}}},
                   {"/silent", {{"silent", true}}}});
    CurlInterface curl("fail", 0);
    for (const auto &c : cases) {
        SCOPED_TRACE(c.url);
        ResetEngineForTest();
        auto start = std::chrono::steady_clock::now();
        EXPECT_FALSE(curl.DownloadFromUrl(c.url.c_str(), nullptr, 64, nullptr, 0, 0, c.timeout, nullptr));
        EXPECT_LT(SecondsSince(start), c.timeout + 3.0);
        EXPECT_TRUE(LogHas(c.message)) << LastStored();
        EXPECT_EQ(curl.GetDownloadedData(), nullptr);
        ASSERT_TRUE(curl.DownloadFromUrl(server.Url("/a").c_str(), nullptr, 64, nullptr, 0, 0, 5, nullptr));
        EXPECT_STREQ(curl.GetDownloadedData(), "fine");
    }
    // Only the good fetches after each failure reached the server.
    EXPECT_EQ(server.Requests().size(), 11u);
}

TEST_F(CurlInterfaceNetTest, AnExitFromAnotherThreadIsDoneWhenTheTransferReturns)
{
    server.Script({{"/slow", {{"body", "late"}, {"delay", 1.0}}}});
    CurlInterface curl("slow", 0);
    char aborted = 0;
    bool received = true;
    std::thread transfer([&] {
        received = curl.DownloadFromUrl(server.Url("/slow").c_str(), nullptr, 64, nullptr, 0, 0, 5, &aborted);
    });
    // Wait until the request is under way, then ask for the exit meanwhile.
    for (int i = 0; i < 200 && server.Requests().empty(); i++)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    ASSERT_EQ(server.Requests().size(), 1u);
    EXPECT_TRUE(curl.ExitWithWait());
    transfer.join();
    EXPECT_FALSE(received);
    EXPECT_EQ(aborted, 1);
    EXPECT_EQ(curl.GetDownloadedData(), nullptr);
    EXPECT_FALSE(LogHas("Perform did not complete."));
    // Idle again and reusable.
    server.Answer("/a", "again");
    ASSERT_TRUE(curl.DownloadFromUrl(server.Url("/a").c_str(), nullptr, 64, nullptr, 0, 0, 5, nullptr));
    EXPECT_STREQ(curl.GetDownloadedData(), "again");
}

TEST_F(CurlInterfaceNetTest, ExitOnAnIdleObjectIsQuiet)
{
    CurlInterface curl("idle", 0);
    curl.Exit();
    EXPECT_TRUE(curl.ExitWithWait());
    EXPECT_EQ(LogCount("ERROR"), 0);
}

TEST_F(CurlInterfaceNetTest, SetsLibcurlUpItselfWhenNeeded)
{
    CurlInterface_ExitCurl();
    server.Answer("/a", "self");
    {
        CurlInterface curl("self", 0);
        ASSERT_TRUE(curl.DownloadFromUrl(server.Url("/a").c_str(), nullptr, 64, nullptr, 0, 0, 5, nullptr));
        EXPECT_STREQ(curl.GetDownloadedData(), "self");
    }
    // The object that set it up ended it.
    EXPECT_FALSE(CurlInterface_IsCurlSetup());
}

} // namespace
