#include "platform/win32/Win32CodePage.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(Win32CodePageTest, BytesMapToTheirCodePoints)
{
    struct Case {
        unsigned char byte;
        unsigned code;
    };
    for (Case c : {Case{0x41, 0x41}, Case{0x80, 0x20AC}, Case{0x81, 0x81}, Case{0x8A, 0x0160}, Case{0x97, 0x2014},
                   Case{0x9F, 0x0178}, Case{0xA0, 0xA0}, Case{0xE9, 0xE9}, Case{0xFF, 0xFF}}) {
        EXPECT_EQ(PlatformCp1252ToUnicode(c.byte), c.code) << int(c.byte);
        EXPECT_EQ(PlatformUnicodeToCp1252(c.code), c.byte) << c.code;
    }
    EXPECT_EQ(PlatformUnicodeToCp1252(0x4E2D), -1);
    EXPECT_EQ(PlatformUnicodeToCp1252(0x85), -1) << "0x85 is the ellipsis in 1252";
    EXPECT_EQ(PlatformUnicodeToCp1252(0x0100), -1);
}

TEST(Win32CodePageTest, EveryByteSurvivesARoundTripThroughUtf8)
{
    std::string all;
    for (int c = 1; c < 256; c++)
        all += static_cast<char>(c);
    char utf8[1024];
    ASSERT_TRUE(PlatformCp1252ToUtf8(all.c_str(), utf8, sizeof(utf8)));
    char back[256];
    ASSERT_TRUE(PlatformUtf8ToCp1252(utf8, back, sizeof(back), 0));
    EXPECT_EQ(std::string(back), all);

    ASSERT_TRUE(PlatformCp1252ToUtf8("\x80 caf\xE9", utf8, sizeof(utf8)));
    EXPECT_STREQ(utf8, "\xE2\x82\xAC caf\xC3\xA9");

    // The sized form fits any text: a line of euro signs is three times as long.
    EXPECT_EQ(PlatformCp1252ToUtf8String(std::string(100, '\x80').c_str()).size(), 300u);
    EXPECT_EQ(PlatformCp1252ToUtf8String("Fen\xEAtre"), "Fen\xC3\xAAtre");
    EXPECT_EQ(PlatformCp1252ToUtf8String(nullptr), "");
}

TEST(Win32CodePageTest, ForeignAndMalformedUtf8)
{
    struct Case {
        const char *utf8;
        const char *replaced; // with '?'
        bool strict_ok;       // without replacement
    };
    const Case cases[] = {
        {"plain", "plain", true},
        {"\xE4\xB8\xAD!", "?!", false},          // a character 1252 lacks
        {"\xF0\x9F\x98\x80", "?", false},        // outside the BMP
        {"a\xC3", "a?", false},                 // cut sequence
        {"\xC0\xAF", "??", false},              // overlong '/'
        {"\xED\xA0\x80", "???", false},         // a surrogate
        {"\xFF", "?", false},
        {"\xE2\x80\x94", "\x97", true},         // em dash
    };
    for (const Case &c : cases) {
        char out[32];
        EXPECT_TRUE(PlatformUtf8ToCp1252(c.utf8, out, sizeof(out), '?'));
        EXPECT_STREQ(out, c.replaced) << c.replaced;
        EXPECT_EQ(PlatformUtf8ToCp1252(c.utf8, out, sizeof(out), 0), c.strict_ok) << c.replaced;
    }
}

TEST(Win32CodePageTest, ResultsThatDoNotFitAreRefused)
{
    char out[4] = "xyz";
    EXPECT_FALSE(PlatformCp1252ToUtf8("ab\xE9", out, sizeof(out)));
    EXPECT_STREQ(out, "");
    EXPECT_TRUE(PlatformCp1252ToUtf8("a\xE9", out, sizeof(out)));
    EXPECT_FALSE(PlatformUtf8ToCp1252("abcd", out, sizeof(out), '?'));
    EXPECT_TRUE(PlatformUtf8ToCp1252("ab\xC3\xA9", out, sizeof(out), '?'));
    EXPECT_STREQ(out, "ab\xE9");
    EXPECT_FALSE(PlatformCp1252ToUtf8("a", out, 0));
}

} // namespace
