#include "engine/net/EngInternetReadURL.h"
#include "engine/core/EngDebug.h"
#include "engine/runtime/EngMain.h"
#include "tests/fixtures/LoopbackServer.h"
#include "tests/support/TestHooks.h"
#include "tests/support/TestLog.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

LoopbackServer server;

std::string RefusedUrl()
{
    return "http://127.0.0.1:" + std::to_string(LoopbackServer::RefusedPort()) + "/";
}

class EngInternetReadURLNetTest : public testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(server.Start()); }
    static void TearDownTestSuite() { server.Stop(); }
    void SetUp() override { ResetEngineForTest(); }

    // Reads into a buffer of size bytes (guarded by a marker beyond it).
    bool Read(const std::string &url, unsigned int size, int timeout_seconds, const char *prefix = "Test")
    {
        data_.assign(size + 16, '#');
        read_ = 12345;
        strcpy(error_, "stale");
        bool ok = EngInternetReadURL(url.c_str(), &data_[0], size, &read_, error_, prefix, timeout_seconds);
        for (size_t i = size; i < data_.size(); i++)
            EXPECT_EQ(data_[i], '#') << "written beyond the buffer at " << i;
        return ok;
    }

    std::string Text() const { return std::string(data_.c_str()); }

    std::string data_;
    unsigned int read_ = 0;
    char error_[ENG_INTERNET_ERROR_TEXT_SIZE] = "";
};

TEST_F(EngInternetReadURLNetTest, ReadsAResourceIntoTheBuffer)
{
    ASSERT_TRUE(Read(server.Url("/bytes?n=1000"), 4096, 5));
    EXPECT_EQ(Text(), Pattern(1000));
    EXPECT_EQ(read_, 1000u);
    EXPECT_STREQ(error_, "");
}

TEST_F(EngInternetReadURLNetTest, SendsItsOwnAgentAndBypassesCaches)
{
    ASSERT_TRUE(Read(server.Url("/echo"), 4096, 5));
    EXPECT_NE(Text().find("User-Agent: EngInternetConnectAndReadURL\n"), std::string::npos) << Text();
    EXPECT_NE(Text().find("Cache-Control: no-cache"), std::string::npos) << Text();
}

TEST_F(EngInternetReadURLNetTest, KeepsWhatFitsAndDropsAPieceThatWouldFillTheBuffer)
{
    const struct {
        int answer;
        unsigned int size;
        unsigned int kept;
        bool warned;
    } cases[] = {
        {9, 10, 9, false},
        {10, 10, 0, true},
        {1200, 4096, 1200, false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::to_string(c.answer) + " into " + std::to_string(c.size));
        ResetEngineForTest();
        EXPECT_TRUE(Read(server.Url("/bytes?n=" + std::to_string(c.answer)), c.size, 5));
        EXPECT_EQ(Text(), Pattern(c.kept));
        EXPECT_EQ(read_, c.kept);
        EXPECT_EQ(LogHas("EngInternetReadOpenUrl > Warning: Buffer too small to read all data."), c.warned);
    }

    // Longer answers come in pieces of at most 511 bytes; the piece that
    // would reach the size is dropped whole.
    ResetEngineForTest();
    EXPECT_TRUE(Read(server.Url("/bytes?n=1200"), 1100, 5));
    EXPECT_LT(read_, 1100u);
    EXPECT_GE(read_, 1100u - 511);
    EXPECT_EQ(Text(), Pattern(read_));
    EXPECT_TRUE(LogHas("Warning: Buffer too small to read all data."));
}

TEST_F(EngInternetReadURLNetTest, SizeZeroOnlyTestsTheConnection)
{
    EXPECT_TRUE(Read(server.Url("/bytes?n=100"), 0, 5));
    EXPECT_EQ(data_[0], '#');
    EXPECT_STREQ(error_, "");
}

TEST_F(EngInternetReadURLNetTest, AnErrorPageIsReadAsData)
{
    EXPECT_TRUE(Read(server.Url("/bytes?n=30&status=404"), 100, 5));
    EXPECT_EQ(Text(), Pattern(30));
}

TEST_F(EngInternetReadURLNetTest, FailuresGiveTheirReasonAfterThePrefix)
{
    const struct {
        std::string url;
        const char *prefix;
        const char *error;
    } cases[] = {
        {"", "Updater", "Updater - No URL specified"},
        {"", nullptr, "No URL specified"},
        {RefusedUrl(), "Updater", "Updater - Problem connecting to internet site"},
        {server.Url("/close"), nullptr, "Problem connecting to internet site"},
        {server.Url("/bytes?n=100&cut=40"), "Scores", "Scores - Problem communicating with internet site"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.url);
        EXPECT_FALSE(Read(c.url, 100, 5, c.prefix));
        EXPECT_STREQ(error_, c.error);
        EXPECT_EQ(read_, 0u);
    }
    char error[ENG_INTERNET_ERROR_TEXT_SIZE] = "stale";
    EXPECT_FALSE(EngInternetReadURL(server.Url("/").c_str(), nullptr, 10, nullptr, error, "Null", 5));
    EXPECT_STREQ(error, "Null - Internal Error");
    // A prefix of any length is cut to leave room for the reason; nothing is
    // written beyond the documented size (AddressSanitizer watches the heap
    // block of exactly that size).
    std::vector<char> bounded(ENG_INTERNET_ERROR_TEXT_SIZE);
    std::string long_prefix(300, 'p');
    char small[8];
    EXPECT_FALSE(EngInternetReadURL(RefusedUrl().c_str(), small, sizeof(small), nullptr, bounded.data(),
                                    long_prefix.c_str(), 5));
    std::string text = bounded.data();
    EXPECT_LT(text.size(), static_cast<size_t>(ENG_INTERNET_ERROR_TEXT_SIZE));
    EXPECT_EQ(text, std::string(81, 'p') + " - Problem connecting to internet site");
    EXPECT_FALSE(EngInternetReadURL("", small, sizeof(small), nullptr, bounded.data(), long_prefix.c_str(), 5));
    EXPECT_EQ(std::string(bounded.data()), std::string(81, 'p') + " - No URL specified");
    // Null read and error text are allowed.
    char buffer[8];
    EXPECT_FALSE(EngInternetReadURL(RefusedUrl().c_str(), buffer, sizeof(buffer), nullptr, nullptr, "x", 5));
}

TEST_F(EngInternetReadURLNetTest, ConnectionErrorsAreLoggedWithTheirCode)
{
    EXPECT_FALSE(Read(RefusedUrl(), 100, 5));
    EXPECT_TRUE(LogHas("( InternetOpenUrlA )    Error code: 12029 => Message: A connection with the server could "
                       "not be made."));
    EXPECT_TRUE(LogHas("( EngInternetCheckError )    EngInternetCheckError: "));

    // A failure without a code of its own carries the transfer's detail.
    ResetEngineForTest();
    EXPECT_FALSE(Read("https://127.0.0.1:" + std::to_string(server.Port()) + "/", 100, 5));
    bool found = false;
    for (int i = 0; i < DebugGetNumMessages(); i++) {
        std::string line = DebugGetMessageText(i);
        size_t at = line.find("Error code: 12003 => Message: ");
        if (at != std::string::npos && line.find("see the last response info.", at) != std::string::npos)
            found = line.size() > line.find("info.", at) + 5;
    }
    EXPECT_TRUE(found) << "no extended error line with its detail";
}

TEST_F(EngInternetReadURLNetTest, TheTimeOutLimitsTheWholeRead)
{
    // Pieces come often enough for every receive, but the whole read is too slow.
    Clock::time_point start = Clock::now();
    EXPECT_FALSE(Read(server.Url("/bytes?n=40&pieces=8&gap=0.4"), 100, 1));
    EXPECT_LT(SecondsSince(start), 2.5);
    EXPECT_TRUE(LogHas("( EngInternetReadOpenUrl )    Timeout after 1 seconds"));
    EXPECT_STREQ(error_, "Test - Problem communicating with internet site");

    // A server that stops sending fails at the receive limit.
    start = Clock::now();
    EXPECT_FALSE(Read(server.Url("/bytes?n=40&pieces=2&gap=10"), 100, 1));
    EXPECT_LT(SecondsSince(start), 2.5);

    // Opening waits for connecting, sending and receiving in turn, yet the
    // whole stays within the time-out: a silent server, or an answer that
    // comes too late, fails at it.
    for (const char *path : {"/silent", "/bytes?n=40&delay=1.5"}) {
        SCOPED_TRACE(path);
        ResetEngineForTest();
        start = Clock::now();
        EXPECT_FALSE(Read(server.Url(path), 100, 1));
        EXPECT_LT(SecondsSince(start), 1.4);
        EXPECT_STREQ(error_, "Test - Problem connecting to internet site");
        EXPECT_TRUE(LogHas("Error code: 12002 => Message: The operation timed out."));
    }
}

TEST_F(EngInternetReadURLNetTest, LongZeroAndNegativeTimeOutsAllowASlowRead)
{
    // 200 s once wrapped to a negative count and failed at once; 0 sets no
    // limit on the read; a negative value means 10 s.
    for (int timeout : {200, 0, -1}) {
        SCOPED_TRACE(timeout);
        EXPECT_TRUE(Read(server.Url("/bytes?n=40&pieces=4&gap=0.2"), 100, timeout));
        EXPECT_EQ(Text(), Pattern(40));
    }
}

TEST_F(EngInternetReadURLNetTest, TheHelpersRefuseMissingHandlesAndParameters)
{
    EXPECT_EQ(EngInternetInitSession(nullptr), nullptr);
    EXPECT_TRUE(LogHas("( EngInternetInitSession )    No session name"));
    EXPECT_EQ(EngInternetOpenConnectionToUrl(nullptr, "http://127.0.0.1/", 1, 0), nullptr);
    EXPECT_TRUE(LogHas("( EngInternetOpenConnectionToUrl )    No session exists"));
    char buffer[8];
    EXPECT_FALSE(EngInternetReadOpenUrl(nullptr, buffer, sizeof(buffer), 0, nullptr, 5));
    EXPECT_TRUE(LogHas("( EngInternetReadOpenUrl )    No connection exists"));

    HINTERNET session = EngInternetInitSession("helpers");
    ASSERT_NE(session, nullptr);
    EXPECT_EQ(EngInternetOpenConnectionToUrl(session, nullptr, 1, 0), nullptr);
    EXPECT_TRUE(LogHas("( EngInternetOpenConnectionToUrl )    No URL specified"));
    HINTERNET connection = EngInternetOpenConnectionToUrl(session, server.Url("/bytes?n=4").c_str(), 1, 1);
    ASSERT_NE(connection, nullptr);
    EXPECT_TRUE(LogHas("Check SW_HIDE calling here - causes deletion / creation of graphics"));
    EXPECT_FALSE(EngInternetReadOpenUrl(connection, buffer, 0, 0, nullptr, 5));
    EXPECT_TRUE(LogHas("( EngInternetReadOpenUrl )    Invalid parameters"));
    unsigned int n = 0;
    EXPECT_TRUE(EngInternetReadOpenUrl(connection, buffer, sizeof(buffer), 0, &n, 5));
    EXPECT_STREQ(buffer, "abcd");
    EngInternetCloseHandle(connection);
    EngInternetCloseHandle(session);
    EngInternetCloseHandle(nullptr);
    EXPECT_TRUE(EngInternetIsConnected());
}

} // namespace
