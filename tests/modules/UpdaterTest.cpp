#include "modules/Updater.h"
#include "engine/core/EngMisc.h"
#include "modules/SWin.h"
#include "platform/win32/Win32Time.h"
#include "tests/modules/ModulesTestSupport.h"

#include <cstring>
#include <string>
#include <vector>

namespace {

using namespace modules_test;

class UpdaterTest : public ModulesTest {
protected:
    void SetUp() override
    {
        ModulesTest::SetUp();
        UpdaterResetForTests();
        PlatformSetClockHooks(nullptr, [](DWORD) {});
    }

    void TearDown() override
    {
        PlatformSetClockHooks(nullptr, nullptr);
        UpdaterResetForTests();
        ModulesTest::TearDown();
    }
};

TEST_F(UpdaterTest, TheRequestNamesThePlatformProgramEditionAndVersion)
{
    EngServersSetUpdateScriptAddressForTests("http://u.invalid/CheckVersionV2.cgi");
    ASSERT_TRUE(UpdaterSetupUrl(UPN_HIVE_WATCHER, 2.01f, UPT_FULL));
    EXPECT_STREQ(UpdaterGetRequestAddress(),
                 "http://u.invalid/CheckVersionV2.cgi?platform=PC&program=hivewatcher&program_type=full&version=2.010");
    ASSERT_TRUE(UpdaterSetupUrl(UPN_NETTLEBROOK, 1.5f, UPT_TRIAL));
    EXPECT_STREQ(UpdaterGetRequestAddress(),
                 "http://u.invalid/CheckVersionV2.cgi?platform=PC&program=nettlebrook&program_type=trial&version=1.500");

    for (int id : {0, 15, 17, -1}) {
        SCOPED_TRACE(id);
        ResetEngineForTest();
        EXPECT_FALSE(UpdaterSetupUrl(id, 2.01f, UPT_FULL));
        EXPECT_TRUE(Logged("Unknown program name"));
    }
    EXPECT_FALSE(UpdaterSetupUrl(UPN_HIVE_WATCHER, 2.01f, 9));
    EXPECT_TRUE(Logged("Unknown program type"));
}

TEST_F(UpdaterTest, ALinkGivesASafeBaseNameOrNone)
{
    const struct {
        const char *link;
        const char *name; // null: refused
    } cases[] = {
        {"http://h/dl/HiveWatcherSetup202.exe", "HiveWatcherSetup202.exe"},
        {"http://h/dl/Setup.exe?session=1#top", "Setup.exe"},
        {"http://h/dl/My Game 2.exe", "My Game 2.exe"},
        // The file layer takes '\' as a folder separator.
        {"http://h/dl/..\\..\\x", "x"},
        {"http://h/dl/\\tmp\\evil.sh", "evil.sh"},
        {"http://h/dl/%2e%2e%2fx;rm -rf", "_2e_2e_2fx_rm -rf"},
        {"http://h/dl/na\xe9me\x01.exe", "na_me_.exe"},
        {"custlogin", nullptr},
        {"", nullptr},
        {"http://h/dl/", nullptr},
        {"http://h/dl/..", nullptr},
        {"http://h/dl/.", nullptr},
        {"http://h/dl/.hidden", nullptr},
        {"http://h/dl/a\\", nullptr},
        {"http://h/dl/?x=1", nullptr},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.link);
        char name[64] = "untouched";
        EXPECT_EQ(UpdaterGetSafeFileName(c.link, name, sizeof(name)), c.name != nullptr);
        EXPECT_STREQ(name, c.name ? c.name : "");
    }
    char small[8];
    EXPECT_FALSE(UpdaterGetSafeFileName("http://h/LongerThanEight.exe", small, sizeof(small)));
}

TEST_F(UpdaterTest, TheWeeklyCheckWaitsSevenDaysAndStampsTodayBeforeChecking)
{
    _EngMiscDate today;
    EngMiscGetCurrentDate(&today);
    for (int days : {0, 1, 6, 7, 30, 400}) {
        SCOPED_TRACE(days);
        ResetEngineForTest();
        _EngMiscDate last = today;
        for (int d = 0; d < days; d++)
            EngMiscGetPreviousDay(&last);
        _EngMiscDate before = last;
        // The check itself fails at once: nobody listens on the update port.
        EXPECT_FALSE(UpdaterDoWeeklyVersionCheck(&last, UPN_HIVE_WATCHER, 2.01f, UPT_FULL));
        bool checked = days >= 7;
        EXPECT_EQ(Logged("Could not read"), checked);
        const _EngMiscDate &expected = checked ? today : before;
        EXPECT_EQ(last.year, expected.year);
        EXPECT_EQ(last.month, expected.month);
        EXPECT_EQ(last.day, expected.day);
    }
    // A first start (no date yet) checks; no date at all does nothing.
    _EngMiscDate never = {};
    ResetEngineForTest();
    EXPECT_FALSE(UpdaterDoWeeklyVersionCheck(&never, UPN_HIVE_WATCHER, 2.01f, UPT_FULL));
    EXPECT_EQ(never.year, today.year);
    EXPECT_FALSE(UpdaterDoWeeklyVersionCheck(nullptr, UPN_HIVE_WATCHER, 2.01f, UPT_FULL));
}

TEST_F(UpdaterTest, TheInternetTestHandsOverTheReasonWithinTheCallersRoom)
{
    char message[64];
    EXPECT_FALSE(UpdaterDoInternetTest(message, sizeof(message)));
    EXPECT_STREQ(message, "Could not read result from the URL");
    char small[6] = "xxxxx";
    EXPECT_FALSE(UpdaterDoInternetTest(small, sizeof(small)));
    EXPECT_STREQ(small, "Could");
    char one[1] = {'z'};
    EXPECT_FALSE(UpdaterDoInternetTest(one, 1));
    EXPECT_EQ(one[0], 'z');
    EXPECT_FALSE(UpdaterDoInternetTest(nullptr, 0));
}

TEST_F(UpdaterTest, ALinkWithoutAFileNameIsRefusedBeforeAnyWindow)
{
    for (const char *link : {"custlogin", "http://h/dl/.."}) {
        SCOPED_TRACE(link);
        ResetEngineForTest();
        EXPECT_FALSE(UpdaterStartDownload(link));
        ASSERT_EQ(TestHooks::message_boxes.size(), 1u);
        EXPECT_EQ(TestHooks::message_boxes[0].text, "Internal Error 3.");
        EXPECT_EQ(TestHooks::message_boxes[0].caption, "");
        EXPECT_TRUE(Logged("Invalid link name"));
        EXPECT_FALSE(modules_swin.IsCreated());
    }
}

TEST_F(UpdaterTest, AnAnswerGivenWithoutADownloadIsCheckedAndItsLinkTakenOff)
{
    const struct {
        std::string text;
        char raw;
        bool ok;
        const char *kept;
        const char *link;
    } cases[] = {
        {"Your version is out of date.#DL:<http://h/New.exe>", 0, true, "Your version is out of date.",
         "http://h/New.exe"},
        {"No news.", 0, true, "No news.", ""},
        {" X no such program", 0, false, " X no such program", ""},
        {"", 0, false, "", ""},
        {" X no such program#DL:<http://h/New.exe>", 1, true, " X no such program#DL:<http://h/New.exe>", ""},
        // Bytes after a zero are not part of the text.
        {std::string("Ok\0#DL:<http://h/New.exe>", 25), 0, true, "Ok", ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text);
        UpdaterResetForTests();
        const std::vector<char> answer(c.text.begin(), c.text.end());
        EXPECT_EQ(UpdaterTakeAnswer(answer.data(), static_cast<unsigned>(answer.size()), c.raw), c.ok);
        EXPECT_STREQ(UpdaterGetAnswer(), c.kept);
        EXPECT_STREQ(UpdaterGetDownloadLink(), c.link);
    }
    // A longer answer is cut to what a read would keep.
    const std::vector<char> longer(UPDATER_ANSWER_SIZE + 100, 'a');
    EXPECT_TRUE(UpdaterTakeAnswer(longer.data(), static_cast<unsigned>(longer.size()), 0));
    EXPECT_EQ(std::strlen(UpdaterGetAnswer()), static_cast<size_t>(UPDATER_ANSWER_SIZE - 1));
}

} // namespace
