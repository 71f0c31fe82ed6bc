#include "engine/core/EngBlowfish.h"

#include <gtest/gtest.h>
#include <tomcrypt.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

std::vector<unsigned char> Hex(const std::string &text)
{
    std::vector<unsigned char> bytes;
    for (size_t i = 0; i + 1 < text.size(); i += 2)
        bytes.push_back(static_cast<unsigned char>(std::stoul(text.substr(i, 2), nullptr, 16)));
    return bytes;
}

uint32_t Word(const std::vector<unsigned char> &bytes, size_t at)
{
    return (uint32_t(bytes[at]) << 24) | (uint32_t(bytes[at + 1]) << 16) | (uint32_t(bytes[at + 2]) << 8) | bytes[at + 3];
}

struct Vector {
    const char *key;
    const char *plain;
    const char *cipher;
};

// Published test vectors of the algorithm, including some of the
// variable-length key series (key prefixes of F0E1D2C3B4A59687...).
const Vector PUBLISHED[] = {
    {"0000000000000000", "0000000000000000", "4EF997456198DD78"},
    {"FFFFFFFFFFFFFFFF", "FFFFFFFFFFFFFFFF", "51866FD5B85ECB8A"},
    {"3000000000000000", "1000000000000001", "7D856F9A613063F2"},
    {"1111111111111111", "1111111111111111", "2466DD878B963C9D"},
    {"0123456789ABCDEF", "1111111111111111", "61F9C3802281B096"},
    {"1111111111111111", "0123456789ABCDEF", "7D0CC630AFDA1EC7"},
    {"FEDCBA9876543210", "0123456789ABCDEF", "0ACEAB0FC6A0A28D"},
    {"7CA110454A1A6E57", "01A1D6D039776742", "59C68245EB05282B"},
    {"F0", "FEDCBA9876543210", "F9AD597C49DB005E"},
    {"F0E1D2C3B4A59687", "FEDCBA9876543210", "E87A244E2CC85E82"},
    {"F0E1D2C3B4A5968778695A4B3C2D1E0F0011223344556677", "FEDCBA9876543210", "05044B62FA52D080"},
};

TEST(EngBlowfishTest, PublishedVectorsEncipherAndDecipher)
{
    for (const Vector &v : PUBLISHED) {
        SCOPED_TRACE(std::string(v.key) + " / " + v.plain);
        std::vector<unsigned char> key = Hex(v.key), plain = Hex(v.plain), cipher = Hex(v.cipher);
        _EngBlowfishState state;
        EngBlowfishSetKey(&state, key.data(), static_cast<int>(key.size()));

        uint32_t left = Word(plain, 0), right = Word(plain, 4);
        EngBlowfishEncryptBlock(&state, &left, &right);
        EXPECT_EQ(left, Word(cipher, 0));
        EXPECT_EQ(right, Word(cipher, 4));

        EngBlowfishDecryptBlock(&state, &left, &right);
        EXPECT_EQ(left, Word(plain, 0));
        EXPECT_EQ(right, Word(plain, 4));
    }
}

// Every key length the cipher library accepts, against its own Blowfish.
TEST(EngBlowfishTest, MatchesLibraryForEveryKeyLength)
{
    unsigned char key[56];
    for (int i = 0; i < 56; i++)
        key[i] = static_cast<unsigned char>(i * 37 + 11);
    const unsigned char plain[8] = {0xDE, 0xAD, 0xBE, 0xEF, 0x01, 0x23, 0x45, 0x67};

    for (int length = 8; length <= 56; length++) {
        SCOPED_TRACE(length);
        symmetric_key library_key;
        ASSERT_EQ(blowfish_setup(key, length, 0, &library_key), CRYPT_OK);
        unsigned char expected[8];
        ASSERT_EQ(blowfish_ecb_encrypt(plain, expected, &library_key), CRYPT_OK);

        _EngBlowfishState state;
        EngBlowfishSetKey(&state, key, length);
        uint32_t left = (uint32_t(plain[0]) << 24) | (uint32_t(plain[1]) << 16) | (uint32_t(plain[2]) << 8) | plain[3];
        uint32_t right = (uint32_t(plain[4]) << 24) | (uint32_t(plain[5]) << 16) | (uint32_t(plain[6]) << 8) | plain[7];
        EngBlowfishEncryptBlock(&state, &left, &right);
        std::vector<unsigned char> got = {
            static_cast<unsigned char>(left >> 24),  static_cast<unsigned char>(left >> 16),
            static_cast<unsigned char>(left >> 8),   static_cast<unsigned char>(left),
            static_cast<unsigned char>(right >> 24), static_cast<unsigned char>(right >> 16),
            static_cast<unsigned char>(right >> 8),  static_cast<unsigned char>(right)};
        EXPECT_EQ(got, std::vector<unsigned char>(expected, expected + 8));
    }
}

TEST(EngBlowfishTest, KeyBytesBeyondSeventyTwoAreIgnored)
{
    std::vector<unsigned char> key(80);
    for (size_t i = 0; i < key.size(); i++)
        key[i] = static_cast<unsigned char>(i + 1);
    _EngBlowfishState full, cut;
    EngBlowfishSetKey(&full, key.data(), 80);
    EngBlowfishSetKey(&cut, key.data(), 72);
    EXPECT_EQ(std::memcmp(&full, &cut, sizeof(full)), 0);
    key[75] ^= 0xFF;
    EngBlowfishSetKey(&full, key.data(), 80);
    EXPECT_EQ(std::memcmp(&full, &cut, sizeof(full)), 0);
}

} // namespace
