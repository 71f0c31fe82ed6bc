#include "platform/inet/WinInet.h"
#include "tests/fixtures/LoopbackServer.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

namespace {

LoopbackServer server;

class WinInetNetTest : public testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(server.Start()); }
    static void TearDownTestSuite() { server.Stop(); }

    void SetUp() override { session_ = OpenSession(2000); }

    void TearDown() override
    {
        if (url_) {
            EXPECT_TRUE(InternetCloseHandle(url_));
        }
        EXPECT_TRUE(InternetCloseHandle(session_));
    }

    static HINTERNET OpenSession(DWORD timeout_ms)
    {
        HINTERNET s = InternetOpenA("WinInetNetTest", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0);
        EXPECT_NE(s, nullptr);
        SetTimeouts(s, timeout_ms);
        return s;
    }

    static void SetTimeouts(HINTERNET h, DWORD ms)
    {
        for (DWORD option : {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT, INTERNET_OPTION_RECEIVE_TIMEOUT})
            EXPECT_TRUE(InternetSetOptionA(h, option, &ms, sizeof(ms)));
    }

    bool Open(const std::string &url, DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_UI)
    {
        url_ = InternetOpenUrlA(session_, url.c_str(), nullptr, 0, flags, 0);
        error_ = static_cast<DWORD>(errno);
        return url_ != nullptr;
    }

    // Reads to the end (or the first failure) in pieces of at most piece
    // bytes, keeping the size of every piece.
    bool ReadAll(std::string *body, DWORD piece = 4096)
    {
        std::vector<char> buffer(piece);
        for (;;) {
            DWORD got = 0;
            if (!InternetReadFile(url_, buffer.data(), piece, &got)) {
                error_ = static_cast<DWORD>(errno);
                return false;
            }
            if (got == 0)
                return true;
            EXPECT_LE(got, piece);
            pieces_.push_back(got);
            body->append(buffer.data(), got);
        }
    }

    HINTERNET session_ = nullptr;
    HINTERNET url_ = nullptr;
    DWORD error_ = 0;
    std::vector<DWORD> pieces_;
};

TEST_F(WinInetNetTest, ReadsTheWholeBodyInPiecesOfTheRequestedSize)
{
    ASSERT_TRUE(Open(server.Url("/bytes?n=1000")));
    DWORD available = 0;
    EXPECT_TRUE(InternetQueryDataAvailable(url_, &available, 0, 0));
    EXPECT_GT(available, 0u);
    EXPECT_EQ(InternetSetFilePointer(url_, 0, nullptr, FILE_BEGIN, 0), 0u);

    std::string body;
    ASSERT_TRUE(ReadAll(&body, 300));
    EXPECT_EQ(body, Pattern(1000));
    EXPECT_GE(pieces_.size(), 4u);
    // After the end, reads keep answering "end".
    char byte;
    DWORD got = 1;
    EXPECT_TRUE(InternetReadFile(url_, &byte, 1, &got));
    EXPECT_EQ(got, 0u);
    EXPECT_EQ(InternetSetFilePointer(url_, 1000, nullptr, FILE_BEGIN, 0), 1000u);
    EXPECT_EQ(InternetSetFilePointer(url_, 0, nullptr, FILE_BEGIN, 0), INVALID_SET_FILE_POINTER);
    EXPECT_EQ(errno, ERROR_INTERNET_INVALID_OPERATION);
}

TEST_F(WinInetNetTest, AReadReturnsAsSoonAsAPieceHasArrived)
{
    ASSERT_TRUE(Open(server.Url("/bytes?n=30&pieces=3&gap=0.3")));
    std::string body;
    ASSERT_TRUE(ReadAll(&body, 100));
    EXPECT_EQ(body, Pattern(30));
    // Pieces sent 0.3 s apart come back from different reads.
    EXPECT_GE(pieces_.size(), 2u);
    EXPECT_EQ(pieces_[0] % 10, 0u);
}

TEST_F(WinInetNetTest, ABodyWithoutLengthEndsWithTheConnection)
{
    ASSERT_TRUE(Open(server.Url("/bytes?n=50&length=0&pieces=2&gap=0.1")));
    std::string body;
    ASSERT_TRUE(ReadAll(&body));
    EXPECT_EQ(body, Pattern(50));
}

TEST_F(WinInetNetTest, ErrorPagesAreReadAsDataAndTheStatusCanBeAskedFor)
{
    const struct {
        std::string path;
        DWORD status;
    } cases[] = {
        {"/bytes?n=20&status=404", 404},
        {"/bytes?n=20&status=500", 500},
        {"/bytes?n=20", 200},
        // The status of the answer at the end of the redirects.
        {"/redirect?to=/bytes%3Fn%3D20%26status%3D410", 410},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.path);
        ASSERT_TRUE(Open(server.Url(c.path)));
        DWORD status = 0, length = sizeof(status);
        ASSERT_TRUE(HttpQueryInfoA(url_, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &length, nullptr));
        EXPECT_EQ(status, c.status);
        EXPECT_EQ(length, sizeof(DWORD));
        std::string body;
        ASSERT_TRUE(ReadAll(&body));
        EXPECT_EQ(body, Pattern(20));
        // Only the status, as a number, into room for it.
        length = 2;
        EXPECT_FALSE(HttpQueryInfoA(url_, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &length, nullptr));
        length = sizeof(status);
        EXPECT_FALSE(HttpQueryInfoA(url_, HTTP_QUERY_STATUS_CODE, &status, &length, nullptr));
        EXPECT_TRUE(InternetCloseHandle(url_));
        url_ = nullptr;
    }
    DWORD status = 0, length = sizeof(status);
    EXPECT_FALSE(HttpQueryInfoA(session_, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &length, nullptr));
    EXPECT_EQ(errno, ERROR_INVALID_HANDLE);
}

TEST_F(WinInetNetTest, FollowsRedirectsButNotForEver)
{
    ASSERT_TRUE(Open(server.Url("/redirect?to=/bytes%3Fn%3D7")));
    std::string body;
    ASSERT_TRUE(ReadAll(&body));
    EXPECT_EQ(body, Pattern(7));
    EXPECT_TRUE(InternetCloseHandle(url_));

    EXPECT_FALSE(Open(server.Url("/redirect")));
    EXPECT_EQ(error_, static_cast<DWORD>(ERROR_HTTP_REDIRECT_FAILED));
}

TEST_F(WinInetNetTest, ARedirectMayNotLeaveHttps)
{
    PlatformInternetSetCaFileForTests(LoopbackServer::CertificateFile().c_str());
    // Trusted, the TLS port answers, also after a redirect that stays on it.
    ASSERT_TRUE(Open(server.TlsUrl("/redirect?to=/bytes%3Fn%3D7")));
    std::string body;
    ASSERT_TRUE(ReadAll(&body));
    EXPECT_EQ(body, Pattern(7));
    EXPECT_TRUE(InternetCloseHandle(url_));

    // The same page on the plain port is not fetched.
    std::string plain = "http%3A%2F%2F127.0.0.1%3A" + std::to_string(server.Port()) + "%2Fbytes%3Fn%3D7";
    EXPECT_FALSE(Open(server.TlsUrl("/redirect?to=" + plain)));
    EXPECT_EQ(error_, static_cast<DWORD>(ERROR_HTTP_REDIRECT_FAILED));
    PlatformInternetSetCaFileForTests(nullptr);
}

TEST_F(WinInetNetTest, SendsTheAgentAndAsksForAFreshCopyOnReload)
{
    std::string body;
    ASSERT_TRUE(Open(server.Url("/echo")));
    ASSERT_TRUE(ReadAll(&body));
    EXPECT_NE(body.find("User-Agent: WinInetNetTest\n"), std::string::npos) << body;
    EXPECT_NE(body.find("Cache-Control: no-cache"), std::string::npos) << body;
    EXPECT_NE(body.find("Pragma: no-cache"), std::string::npos) << body;
    EXPECT_TRUE(InternetCloseHandle(url_));

    body.clear();
    ASSERT_TRUE(Open(server.Url("/echo"), INTERNET_FLAG_NO_UI));
    ASSERT_TRUE(ReadAll(&body));
    EXPECT_EQ(body.find("no-cache"), std::string::npos) << body;
}

TEST_F(WinInetNetTest, FailedOpensGiveTheirErrorCode)
{
    const struct {
        std::string url;
        DWORD error;
    } cases[] = {
        {"http://127.0.0.1:" + std::to_string(LoopbackServer::RefusedPort()) + "/", ERROR_INTERNET_CANNOT_CONNECT},
        {server.Url("/close"), ERROR_INTERNET_CONNECTION_ABORTED},
        {server.TlsUrl("/bytes?n=5"), ERROR_INTERNET_INVALID_CA},
        {"ftp://127.0.0.1/file", ERROR_INTERNET_UNRECOGNIZED_SCHEME},
        {"http://[127.0.0.1/", ERROR_INTERNET_INVALID_URL},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.url);
        EXPECT_FALSE(Open(c.url));
        EXPECT_EQ(error_, c.error);
        char text[256];
        EXPECT_GT(InternetFormatErrorMessage(error_, text, sizeof(text)), 0u);
    }
}

TEST_F(WinInetNetTest, OtherTransferFailuresCarryTheirDetail)
{
    // A TLS client talking to the plain port fails its handshake.
    EXPECT_FALSE(Open("https://127.0.0.1:" + std::to_string(server.Port()) + "/"));
    EXPECT_EQ(error_, static_cast<DWORD>(ERROR_INTERNET_EXTENDED_ERROR));

    DWORD code = 0, length = 0;
    EXPECT_FALSE(InternetGetLastResponseInfoA(&code, nullptr, &length));
    EXPECT_EQ(errno, ERROR_INSUFFICIENT_BUFFER);
    ASSERT_GT(length, 1u);
    std::vector<char> detail(length);
    EXPECT_TRUE(InternetGetLastResponseInfoA(&code, detail.data(), &length));
    EXPECT_EQ(code, static_cast<DWORD>(ERROR_INTERNET_EXTENDED_ERROR));
    EXPECT_EQ(length, strlen(detail.data()));
}

TEST_F(WinInetNetTest, AServerThatNeverAnswersTimesOutWithinTheLimit)
{
    SetTimeouts(session_, 300);
    auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(Open(server.Url("/silent")));
    EXPECT_EQ(error_, static_cast<DWORD>(ERROR_INTERNET_TIMEOUT));
    // Connect, send and receive limits together bound the open.
    EXPECT_GE(SecondsSince(start), 0.85);
    EXPECT_LT(SecondsSince(start), 3.0);
}

TEST_F(WinInetNetTest, TheSessionsTimeLimitBoundsTheOpenAndTheReadsAsAWhole)
{
    // Each wait alone is allowed 2 s; the whole URL gets 600 ms.
    ASSERT_TRUE(PlatformInternetSetTimeLimit(session_, 600));
    const struct {
        std::string path;
        bool opens;
    } cases[] = {
        {"/silent", false},
        {"/bytes?n=10&delay=1", false},
        {"/bytes?n=10&pieces=2&gap=1", true},
        {"/bytes?n=40&pieces=8&gap=0.15", true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.path);
        auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(Open(server.Url(c.path)), c.opens);
        if (c.opens) {
            std::string body;
            EXPECT_FALSE(ReadAll(&body));
            EXPECT_FALSE(body.empty());
            EXPECT_TRUE(InternetCloseHandle(url_));
            url_ = nullptr;
        }
        EXPECT_EQ(error_, static_cast<DWORD>(ERROR_INTERNET_TIMEOUT));
        EXPECT_GE(SecondsSince(start), 0.55);
        EXPECT_LT(SecondsSince(start), 1.5);
    }
    // Within the limit, or without one, the same answers are read whole.
    ASSERT_TRUE(Open(server.Url("/bytes?n=10&pieces=2&gap=0.2")));
    std::string body;
    EXPECT_TRUE(ReadAll(&body));
    EXPECT_TRUE(InternetCloseHandle(url_));
    ASSERT_TRUE(PlatformInternetSetTimeLimit(session_, 0));
    ASSERT_TRUE(Open(server.Url("/bytes?n=10&pieces=2&gap=1")));
    body.clear();
    EXPECT_TRUE(ReadAll(&body));
    EXPECT_EQ(body, Pattern(10));
    EXPECT_FALSE(PlatformInternetSetTimeLimit(url_, 100));
}

TEST_F(WinInetNetTest, AStalledBodyTimesOutTheRead)
{
    ASSERT_TRUE(Open(server.Url("/bytes?n=10&pieces=2&gap=10")));
    DWORD ms = 300;
    ASSERT_TRUE(InternetSetOptionA(url_, INTERNET_OPTION_RECEIVE_TIMEOUT, &ms, sizeof(ms)));
    char buffer[16];
    DWORD got = 0;
    ASSERT_TRUE(InternetReadFile(url_, buffer, sizeof(buffer), &got));
    EXPECT_EQ(got, 5u);
    auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(InternetReadFile(url_, buffer, sizeof(buffer), &got));
    EXPECT_EQ(errno, ERROR_INTERNET_TIMEOUT);
    EXPECT_EQ(got, 0u);
    EXPECT_GE(SecondsSince(start), 0.25);
    EXPECT_LT(SecondsSince(start), 2.0);
}

TEST_F(WinInetNetTest, TheAbortFlagEndsAWaitingOpenOrReadAtOnce)
{
    std::atomic<bool> abort{false};
    SetTimeouts(session_, 60000);
    ASSERT_TRUE(PlatformInternetSetAbortFlag(session_, &abort));
    auto raise_soon = [&abort] {
        return std::thread([&abort] {
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            abort = true;
        });
    };

    // Connected, the request sent, no answer.
    std::thread raiser = raise_soon();
    auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(Open(server.Url("/silent")));
    raiser.join();
    EXPECT_EQ(error_, static_cast<DWORD>(ERROR_INTERNET_OPERATION_CANCELLED));
    EXPECT_LT(SecondsSince(start), 1.0);

    // Half the body read, the rest thirty seconds away.
    abort = false;
    ASSERT_TRUE(Open(server.Url("/bytes?n=10&pieces=2&gap=30")));
    char buffer[16];
    DWORD got = 0;
    ASSERT_TRUE(InternetReadFile(url_, buffer, sizeof(buffer), &got));
    raiser = raise_soon();
    start = std::chrono::steady_clock::now();
    EXPECT_FALSE(InternetReadFile(url_, buffer, sizeof(buffer), &got));
    raiser.join();
    EXPECT_EQ(errno, ERROR_INTERNET_OPERATION_CANCELLED);
    EXPECT_LT(SecondsSince(start), 1.0);
    char text[64];
    EXPECT_GT(InternetFormatErrorMessage(ERROR_INTERNET_OPERATION_CANCELLED, text, sizeof(text)), 0u);

    // The flag is the caller's: let go of it before it goes.
    EXPECT_TRUE(InternetCloseHandle(url_));
    url_ = nullptr;
    EXPECT_TRUE(PlatformInternetSetAbortFlag(session_, nullptr));
}

TEST_F(WinInetNetTest, ABodyCutShortGivesItsBytesThenAnError)
{
    ASSERT_TRUE(Open(server.Url("/bytes?n=100&cut=40")));
    std::string body;
    EXPECT_FALSE(ReadAll(&body));
    EXPECT_EQ(body, Pattern(40));
    EXPECT_EQ(error_, static_cast<DWORD>(ERROR_INTERNET_CONNECTION_ABORTED));
}

TEST_F(WinInetNetTest, RefusesBadHandlesAndParameters)
{
    char buffer[8];
    DWORD got = 0, value = 1000;
    EXPECT_FALSE(InternetCloseHandle(nullptr));
    EXPECT_EQ(errno, ERROR_INVALID_HANDLE);
    EXPECT_FALSE(InternetReadFile(session_, buffer, sizeof(buffer), &got));
    EXPECT_EQ(errno, ERROR_INVALID_HANDLE);
    EXPECT_EQ(InternetOpenUrlA(buffer, server.Url("/").c_str(), nullptr, 0, 0, 0), nullptr);
    EXPECT_EQ(errno, ERROR_INVALID_HANDLE);
    EXPECT_FALSE(InternetSetOptionA(session_, 99, &value, sizeof(value)));
    EXPECT_EQ(errno, ERROR_INTERNET_INVALID_OPTION);
    EXPECT_FALSE(InternetSetOptionA(session_, INTERNET_OPTION_RECEIVE_TIMEOUT, &value, 2));
    EXPECT_EQ(errno, ERROR_INVALID_PARAMETER);
    EXPECT_EQ(InternetOpenA("x", 3, "proxy:8080", nullptr, 0), nullptr);
    EXPECT_EQ(errno, ERROR_INVALID_PARAMETER);

    HINTERNET other = OpenSession(1000);
    EXPECT_TRUE(InternetCloseHandle(other));
    EXPECT_FALSE(InternetCloseHandle(other));
    EXPECT_EQ(errno, ERROR_INVALID_HANDLE);

    ASSERT_TRUE(Open(server.Url("/bytes?n=3")));
    EXPECT_FALSE(InternetReadFile(url_, buffer, 0, &got));
    EXPECT_EQ(errno, ERROR_INVALID_PARAMETER);
    EXPECT_FALSE(InternetReadFile(url_, nullptr, sizeof(buffer), &got));
    EXPECT_EQ(errno, ERROR_INVALID_PARAMETER);
}

} // namespace
