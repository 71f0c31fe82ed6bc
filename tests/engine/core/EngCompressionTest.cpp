#include "engine/core/EngCompression.h"
#include "engine/core/EngDebug.h"
#include "engine/core/EngEncryption.h"
#include "engine/core/EngMemory.h"
#include "tests/support/TestHooks.h"
#include "tests/support/TestLog.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

typedef std::vector<unsigned char> Bytes;

const char CHAIN_KEY[] = "Submit1234";
const char CHAIN_WHERE[] = "EngZlibEncryptCompressAndEncodeToBase64Data";

std::string Encode(const std::string &data)
{
    EngBase64 base64;
    std::string out(base64.GetEncodedLength(static_cast<unsigned>(data.size())), '#');
    base64.Encode(data.data(), static_cast<int>(data.size()), &out[0]);
    return out;
}

// The reverse of the URL-safe base64, written here to check the chain.
Bytes DecodeUrlSafe(const std::string &text)
{
    const std::string alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-.";
    Bytes out;
    unsigned bits = 0;
    int count = 0;
    for (char c : text) {
        if (c == '_')
            break;
        size_t value = alphabet.find(c);
        EXPECT_NE(value, std::string::npos) << "character " << c;
        bits = (bits << 6) | static_cast<unsigned>(value);
        count += 6;
        if (count >= 8) {
            count -= 8;
            out.push_back(static_cast<unsigned char>(bits >> count));
        }
    }
    return out;
}

Bytes Compress(const Bytes &data)
{
    Bytes out(data.size() + 64);
    unsigned length = static_cast<unsigned>(out.size());
    EXPECT_TRUE(EngZlibDeflateData(data.data(), static_cast<unsigned>(data.size()), out.data(), &length, -1));
    out.resize(length);
    return out;
}

Bytes Pattern(size_t size)
{
    Bytes bytes(size);
    for (size_t i = 0; i < size; i++)
        bytes[i] = static_cast<unsigned char>((i * i) % 251);
    return bytes;
}

class EngCompressionTest : public testing::Test {
protected:
    void SetUp() override { ResetEngineForTest(); }
};

TEST_F(EngCompressionTest, Base64EncodesWithPaddingAndSwapsToUrlSafe)
{
    struct Case {
        std::string data;
        const char *encoded;
        const char *url_safe;
        unsigned pad;
    } cases[] = {
        {"", "", "", 0},
        {"a", "YQ==", "YQ__", 2},
        {"ab", "YWI=", "YWI_", 1},
        {"abc", "YWJj", "YWJj", 0},
        {"abcd", "YWJjZA==", "YWJjZA__", 2},
        {"\xFB\xFF\xBF", "+/+/", "-.-.", 0},
        {std::string("\0\0\0\xFF", 4), "AAAA/w==", "AAAA.w__", 2},
    };
    EngBase64 base64;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.encoded);
        std::string encoded = Encode(c.data);
        EXPECT_EQ(encoded, c.encoded);
        EXPECT_EQ(base64.GetNumPadChars(static_cast<unsigned>(c.data.size())), c.pad);
        EngZlibMakeBase64UrlSafe(&encoded[0]);
        EXPECT_EQ(encoded, c.url_safe);
    }
}

TEST_F(EngCompressionTest, Base64LengthsAndEmptyInput)
{
    EngBase64 base64;
    const unsigned expected[] = {0, 4, 4, 4, 8, 8, 8, 12};
    for (unsigned length = 0; length < 8; length++)
        EXPECT_EQ(base64.GetEncodedLength(length), expected[length]) << length;

    char out[8] = "unused";
    base64.Encode("abc", 0, out);
    base64.Encode("abc", -3, out);
    base64.Encode(nullptr, 3, out);
    EXPECT_STREQ(out, "unused");
}

TEST_F(EngCompressionTest, DeflateAndInflateRoundTrip)
{
    // Sizes around the inflate block's 1024-byte steps, and an empty input.
    for (size_t size : {0u, 1u, 100u, 1024u, 2048u, 5000u}) {
        SCOPED_TRACE(size);
        Bytes data = Pattern(size);
        Bytes compressed = Compress(data);
        unsigned length = 12345;
        unsigned char *inflated = EngZlibInflateData(compressed.data(), static_cast<unsigned>(compressed.size()), &length);
        ASSERT_NE(inflated, nullptr);
        EXPECT_EQ(length, size);
        EXPECT_EQ(Bytes(inflated, inflated + length), data);
        EXPECT_EQ(inflated[length], 0);
        EngFree(inflated, 1, "test");
    }
    // The library matches the headers it was built with: nothing is logged.
    EXPECT_TRUE(StoredLines().empty());
}

TEST_F(EngCompressionTest, DeflateRefusesTooSmallOutput)
{
    Bytes data = Pattern(100);
    Bytes out(2, 0);
    unsigned length = 2;
    EXPECT_FALSE(EngZlibDeflateData(data.data(), 100, out.data(), &length, 9));
    EXPECT_EQ(length, 2u);
    EXPECT_EQ(StoredLines(), std::vector<std::string>{ErrorLine("EngZlibDeflateData", "out buffer not big enough")});

    ResetEngineForTest();
    EXPECT_FALSE(EngZlibDeflateData(data.data(), 100, out.data(), &length, 12));
    EXPECT_FALSE(EngZlibDeflateData(data.data(), 100, nullptr, &length, 9));
    EXPECT_EQ(StoredLines(), (std::vector<std::string>{ErrorLine("EngZlibDeflateData", "deflateInit() error -2"),
                                                       ErrorLine("EngZlibDeflateData", "Bad parameters.")}));
}

TEST_F(EngCompressionTest, InflateRefusesBadStreams)
{
    Bytes data = Pattern(3000);
    Bytes compressed = Compress(data);
    Bytes truncated(compressed.begin(), compressed.end() - 10);
    Bytes trailing = compressed;
    trailing.push_back(0x42);
    Bytes bomb = Compress(Bytes(200000, 0));
    ASSERT_LT(bomb.size() * 100, 200000u);

    struct Case {
        const char *label;
        Bytes input;
        std::string report;
    } cases[] = {
        {"not a zlib stream", Bytes{'h', 'e', 'l', 'l', 'o'}, "inflate() error -3 [incorrect header check]"},
        {"stream cut short", truncated, "inflate() error -5 [(none)]"},
        {"bytes after the end", trailing, "inflate() internal error 1"},
        {"more than 100 times the input", bomb, "buffer overrun"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.label);
        ResetEngineForTest();
        unsigned length = 777;
        EXPECT_EQ(EngZlibInflateData(c.input.data(), static_cast<unsigned>(c.input.size()), &length), nullptr);
        EXPECT_EQ(length, 0u);
        EXPECT_EQ(StoredLines(), std::vector<std::string>{ErrorLine("EngZlibInflateData", c.report)});
    }
}

// The chain is checked by undoing it: decode, inflate, decipher.
TEST_F(EngCompressionTest, ChainIsUndoneByDecodeInflateAndDecipher)
{
    std::string json = "{\"score\":123456,\"name\":\"Player\"}";
    struct Case {
        const char *label;
        Bytes data;
        const char *prefix;
        unsigned prefix_length;
    } cases[] = {
        {"text with its zero byte", Bytes(json.c_str(), json.c_str() + json.size() + 1), nullptr, 0},
        {"eight bytes", Bytes{1, 2, 3, 4, 5, 6, 7, 8}, nullptr, 0},
        {"prefix kept as is", Pattern(300), "data=+/=rest", 5},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.label);
        char *text = EngZlibEncryptCompressAndEncodeToBase64Data(CHAIN_KEY, c.data.data(),
                                                                 static_cast<unsigned>(c.data.size()), 1,
                                                                 c.prefix_length, c.prefix);
        ASSERT_NE(text, nullptr);
        std::string result = text;
        EngFree(text, 1, "test");
        ASSERT_GE(result.size(), c.prefix_length);
        EXPECT_EQ(result.substr(0, c.prefix_length), std::string(c.prefix ? c.prefix : "", c.prefix_length));
        std::string encoded = result.substr(c.prefix_length);
        EXPECT_EQ(encoded.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-._"),
                  std::string::npos);

        Bytes compressed = DecodeUrlSafe(encoded);
        unsigned length = 0;
        unsigned char *inflated = EngZlibInflateData(compressed.data(), static_cast<unsigned>(compressed.size()), &length);
        ASSERT_NE(inflated, nullptr);
        Bytes enciphered(inflated, inflated + length);
        EngFree(inflated, 1, "test");
        ASSERT_EQ(enciphered.size(), c.data.size());
        EXPECT_NE(enciphered, c.data);
        ASSERT_TRUE(EngEncryptionDecryptDataUsingBlowfishEncryption(CHAIN_KEY, enciphered.data(),
                                                                    static_cast<unsigned>(enciphered.size())));
        EXPECT_EQ(enciphered, c.data);
    }
    EXPECT_TRUE(StoredLines().empty());
}

// Enciphered bytes do not compress; eight of them can take 17 bytes once
// compressed, so the chain must not cap the output at twice the input.
TEST_F(EngCompressionTest, ChainEncodesEveryShortInput)
{
    for (int i = 0; i < 64; i++) {
        Bytes data{1, 2, 3, 4, 5, 6, 7, static_cast<unsigned char>(i)};
        char *text = EngZlibEncryptCompressAndEncodeToBase64Data(CHAIN_KEY, data.data(), 8, 0, 0, nullptr);
        EXPECT_NE(text, nullptr) << "last byte " << i;
        EngFree(text, 0, "test");
    }
    EXPECT_TRUE(StoredLines().empty());
}

TEST_F(EngCompressionTest, ChainRefusesBadArguments)
{
    Bytes data = Pattern(16);
    const char *blowfish = "EngEncryptionEncryptDataUsingBlowfishEncryption";
    struct Case {
        const char *label;
        const char *key;
        const unsigned char *data;
        unsigned length;
        unsigned prefix_length;
        const char *prefix;
        std::vector<std::string> reports;
    } cases[] = {
        {"no key", nullptr, data.data(), 16, 0, nullptr, {ErrorLine(CHAIN_WHERE, "No cipher")}},
        {"no data", CHAIN_KEY, nullptr, 16, 0, nullptr, {ErrorLine(CHAIN_WHERE, "No data.")}},
        {"zero length", CHAIN_KEY, data.data(), 0, 0, nullptr, {ErrorLine(CHAIN_WHERE, "No data.")}},
        {"prefix length without text", CHAIN_KEY, data.data(), 16, 3, nullptr, {ErrorLine(CHAIN_WHERE, "Bad parameters.")}},
        {"prefix text without length", CHAIN_KEY, data.data(), 16, 0, "p=", {ErrorLine(CHAIN_WHERE, "Bad parameters.")}},
        {"prefix shorter than its length", CHAIN_KEY, data.data(), 16, 10, "p=", {ErrorLine(CHAIN_WHERE, "Bad parameters.")}},
        {"five bytes", CHAIN_KEY, data.data(), 5, 0, nullptr,
         {ErrorLine(blowfish, "Invalid data (must be at least 8 bytes long)."), ErrorLine(CHAIN_WHERE, "Could not encrpyt data.")}},
        {"seven-character key", "Short7!", data.data(), 16, 0, nullptr,
         {ErrorLine(blowfish, "Invalid key."), ErrorLine(CHAIN_WHERE, "Could not encrpyt data.")}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.label);
        ResetEngineForTest();
        EXPECT_EQ(EngZlibEncryptCompressAndEncodeToBase64Data(c.key, c.data, c.length, 0, c.prefix_length, c.prefix), nullptr);
        EXPECT_EQ(StoredLines(), c.reports);
    }
    // The caller's data is never changed.
    EXPECT_EQ(data, Pattern(16));
}

} // namespace
