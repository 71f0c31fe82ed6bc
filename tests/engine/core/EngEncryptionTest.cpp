#include "engine/core/EngEncryption.h"
#include "engine/core/EngBlowfish.h"
#include "engine/core/EngDebug.h"
#include "engine/core/EngFile.h"
#include "engine/core/EngMemory.h"
#include "engine/core/EngMisc.h"
#include "tests/support/TestHooks.h"
#include "tests/support/TestLog.h"

#include <gtest/gtest.h>
#include <tomcrypt.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

typedef std::vector<unsigned char> Bytes;

const char KEY[] = "RecordKey";

Bytes Sample(size_t size)
{
    Bytes bytes(size);
    for (size_t i = 0; i < size; i++)
        bytes[i] = static_cast<unsigned char>(i * 7 + 3);
    return bytes;
}

// AES-128 of one block under the zero-padded key text, from the cipher
// library's block mode: the oracle for the counter-mode key stream.
Bytes AesBlock(const char *key_text, const Bytes &block)
{
    unsigned char key[16] = {};
    std::memcpy(key, key_text, std::strlen(key_text));
    symmetric_ECB ecb;
    int cipher = find_cipher("aes");
    EXPECT_EQ(ecb_start(cipher, key, 16, 0, &ecb), CRYPT_OK);
    Bytes out(16);
    EXPECT_EQ(ecb_encrypt(block.data(), out.data(), 16, &ecb), CRYPT_OK);
    ecb_done(&ecb);
    return out;
}

Bytes Xor(const Bytes &a, const Bytes &b)
{
    Bytes out(a.size());
    for (size_t i = 0; i < a.size(); i++)
        out[i] = a[i] ^ b[i];
    return out;
}

Bytes Slice(const unsigned char *data, size_t from, size_t count)
{
    return Bytes(data + from, data + from + count);
}

class EngEncryptionTest : public testing::Test {
protected:
    void SetUp() override
    {
        ResetEngineForTest();
        EngEncryptionResetForTests();
        EngMiscRandSeed(1234);
        folder = fs::current_path() / testing::UnitTest::GetInstance()->current_test_info()->name();
        fs::remove_all(folder);
        fs::create_directories(folder);
    }
    void TearDown() override { EngEncryptionResetForTests(); }

    std::string Path(const std::string &name) const { return (folder / name).string(); }

    fs::path folder;
};

TEST_F(EngEncryptionTest, KeyTextMustHoldOneToSixteenCharacters)
{
    struct Case {
        const char *key;
        bool accepted;
    } cases[] = {
        {nullptr, false},
        {"", false},
        {"12345678901234567", false},
        {"1234567890123456", true},
        {"k", true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.key ? c.key : "(null)");
        ResetEngineForTest();
        EXPECT_EQ(EngEncryptionInit(c.key), c.accepted ? 1 : 0);
        if (c.accepted)
            EXPECT_TRUE(StoredLines().empty());
        else
            EXPECT_EQ(StoredLines(), std::vector<std::string>{ErrorLine("EngEncryptionInit", "Invalid password")});
    }
}

TEST_F(EngEncryptionTest, NothingIsEncipheredBeforeSetUpOrWithoutData)
{
    Bytes data = Sample(8);
    EXPECT_EQ(EngEncryptionEncrypt(data.data(), 8), nullptr);
    Bytes block(24);
    EXPECT_FALSE(EngEncryptionDecrypt(block.data(), 8));
    ASSERT_TRUE(EngEncryptionInit(KEY));
    EXPECT_EQ(EngEncryptionEncrypt(nullptr, 8), nullptr);
    EXPECT_EQ(EngEncryptionEncrypt(data.data(), 0), nullptr);
    EXPECT_FALSE(EngEncryptionDecrypt(nullptr, 8));
    EXPECT_FALSE(EngEncryptionDecrypt(block.data(), 0));
    EXPECT_EQ(StoredLines(), (std::vector<std::string>{
                                 ErrorLine("EngEncryptionEncrypt", "Encryption not setup"),
                                 ErrorLine("EngEncryptionDecrypt", "Encryption not setup"),
                                 ErrorLine("EngEncryptionEncrypt", "Invalid data"),
                                 ErrorLine("EngEncryptionEncrypt", "Invalid data"),
                                 ErrorLine("EngEncryptionDecrypt", "Invalid data"),
                                 ErrorLine("EngEncryptionDecrypt", "Invalid data"),
                             }));
}

// The stored layout: the IV from the engine's generator, then the data XORed
// with AES(IV), AES(IV + 1), ...
TEST_F(EngEncryptionTest, BlockIsIvThenCounterModeKeyStream)
{
    ASSERT_TRUE(EngEncryptionInit(KEY));
    EngMiscRandSeed(99);
    Bytes expected_iv(16);
    for (unsigned char &b : expected_iv)
        b = static_cast<unsigned char>(EngMiscRand() & 0xFF);

    EngMiscRandSeed(99);
    Bytes plain = Sample(40);
    unsigned char *block = EngEncryptionEncrypt(plain.data(), 40);
    ASSERT_NE(block, nullptr);
    Bytes iv = Slice(block, 0, 16);
    EXPECT_EQ(iv, expected_iv);

    Bytes counter = iv;
    for (size_t at = 0; at < 40; at += 16) {
        size_t count = std::min<size_t>(16, 40 - at);
        Bytes stream = AesBlock(KEY, counter);
        stream.resize(count);
        EXPECT_EQ(Slice(block + 16, at, count), Xor(Slice(plain.data(), at, count), stream)) << "at " << at;
        for (unsigned char &b : counter) // little-endian increment
            if (++b != 0)
                break;
    }
    EngFree(block, 1, "test");
}

// Deciphering a block of zero bytes yields the key stream itself, so chosen
// IVs show how the counter carries: from byte to byte, and round the top.
TEST_F(EngEncryptionTest, CounterCarriesLittleEndianAcrossBytes)
{
    ASSERT_TRUE(EngEncryptionInit(KEY));
    struct Case {
        const char *label;
        Bytes iv;
        Bytes next;
    } cases[] = {
        {"carry into byte 2", Bytes{0xFF, 0xFF, 0x03, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x80},
         Bytes{0x00, 0x00, 0x04, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x80}},
        {"all FF wraps to zero", Bytes(16, 0xFF), Bytes(16, 0x00)},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.label);
        Bytes block = c.iv;
        block.resize(16 + 32 + 1, 0);
        ASSERT_TRUE(EngEncryptionDecrypt(block.data(), 32));
        EXPECT_EQ(Slice(block.data(), 0, 16), AesBlock(KEY, c.iv));
        EXPECT_EQ(Slice(block.data(), 16, 16), AesBlock(KEY, c.next));
        EXPECT_EQ(block[32], 0);
    }
}

TEST_F(EngEncryptionTest, RoundTripGivesDataAndZeroByteWithFreshIvs)
{
    ASSERT_TRUE(EngEncryptionInit(KEY));
    for (unsigned size : {1u, 15u, 16u, 17u, 660u}) {
        SCOPED_TRACE(size);
        Bytes plain = Sample(size);
        unsigned char *first = EngEncryptionEncrypt(plain.data(), size);
        unsigned char *second = EngEncryptionEncrypt(plain.data(), size);
        ASSERT_TRUE(first && second);
        EXPECT_NE(Slice(first, 0, 16), Slice(second, 0, 16));
        EXPECT_NE(Slice(first, 16, size), plain);

        ASSERT_TRUE(EngEncryptionDecrypt(first, size));
        EXPECT_EQ(Slice(first, 0, size), plain);
        EXPECT_EQ(first[size], 0);
        EngFree(first, 1, "test");
        EngFree(second, 1, "test");
    }
    EXPECT_TRUE(StoredLines().empty());
}

TEST_F(EngEncryptionTest, SixteenCharacterKeyIsUsedWhole)
{
    const char *key = "ABCDEFGHIJKLMNOP";
    ASSERT_TRUE(EngEncryptionInit(key));
    Bytes block(16 + 16 + 1, 0);
    ASSERT_TRUE(EngEncryptionDecrypt(block.data(), 16));
    EXPECT_EQ(Slice(block.data(), 0, 16), AesBlock(key, Bytes(16, 0)));
}

TEST_F(EngEncryptionTest, FileHoldsOneBlockOfExactSize)
{
    ASSERT_TRUE(EngEncryptionInit(KEY));
    std::string path = Path("Record.usr");
    Bytes plain = Sample(100);
    ASSERT_TRUE(EngEncryptionEncryptAndWriteToFile(path.c_str(), plain.data(), 100));
    EXPECT_EQ(fs::file_size(path), 116u);
    EXPECT_TRUE(EngEncryptionIsFileSizeOk(path.c_str(), 100));
    EXPECT_FALSE(EngEncryptionIsFileSizeOk(path.c_str(), 99));

    Bytes out(100, 0xEE);
    ASSERT_TRUE(EngEncryptionReadFromFileAndDecrypt(path.c_str(), out.data(), 100));
    EXPECT_EQ(out, plain);
    EXPECT_TRUE(StoredLines().empty());

    // Rewriting replaces the file and draws a new IV.
    std::string before = ReadWhole(path);
    ASSERT_TRUE(EngEncryptionEncryptAndWriteToFile(path.c_str(), plain.data(), 100));
    EXPECT_EQ(fs::file_size(path), 116u);
    EXPECT_NE(ReadWhole(path), before);
}

TEST_F(EngEncryptionTest, FileOfWrongSizeIsRefusedBeforeReading)
{
    ASSERT_TRUE(EngEncryptionInit(KEY));
    std::string path = Path("Scores.sco");
    for (size_t size : {115u, 117u}) {
        SCOPED_TRACE(size);
        ResetEngineForTest();
        WriteWhole(path, std::string(size, 'x'));
        Bytes out(100, 0xEE);
        EXPECT_FALSE(EngEncryptionReadFromFileAndDecrypt(path.c_str(), out.data(), 100));
        EXPECT_EQ(out, Bytes(100, 0xEE));
        EXPECT_EQ(StoredLines(), std::vector<std::string>{ErrorLine("EERFD", "Bad size in file <" + path + ">")});
    }
    // Missing arguments are refused without a report.
    ResetEngineForTest();
    Bytes out(100);
    EXPECT_FALSE(EngEncryptionReadFromFileAndDecrypt(nullptr, out.data(), 100));
    EXPECT_FALSE(EngEncryptionReadFromFileAndDecrypt("", out.data(), 100));
    EXPECT_FALSE(EngEncryptionReadFromFileAndDecrypt(path.c_str(), nullptr, 100));
    EXPECT_FALSE(EngEncryptionReadFromFileAndDecrypt(path.c_str(), out.data(), 0));
    EXPECT_TRUE(StoredLines().empty());
}

TEST_F(EngEncryptionTest, BlocksInARowAreReadBackInOrder)
{
    ASSERT_TRUE(EngEncryptionInit(KEY));
    std::string path = Path("LG_1.sco");
    Bytes header = Sample(12), score = Sample(40);
    score[0] = 0x55;
    {
        EngFile file;
        ASSERT_TRUE(file.CreateForWriting(path.c_str(), 0));
        ASSERT_TRUE(EngEncryptionEncryptAndWriteToOpenFile(&file, header.data(), 12));
        ASSERT_TRUE(EngEncryptionEncryptAndWriteToOpenFile(&file, score.data(), 40));
    }
    EXPECT_EQ(fs::file_size(path), 28u + 56u);

    EngFile file;
    ASSERT_TRUE(file.OpenForReading(path.c_str(), 0, 1));
    EXPECT_TRUE(EngEncryptionIsOpenFileSizeOk(&file, 28 + 56 - 16));
    Bytes header_out(12), score_out(40);
    ASSERT_TRUE(EngEncryptionReadFromOpenFileAndDecrypt(&file, header_out.data(), 12));
    ASSERT_TRUE(EngEncryptionReadFromOpenFileAndDecrypt(&file, score_out.data(), 40));
    EXPECT_EQ(header_out, header);
    EXPECT_EQ(score_out, score);
    EXPECT_TRUE(StoredLines().empty());

    // Past the end, the read fails and the output stays as it was.
    Bytes more(12, 0xEE);
    EXPECT_FALSE(EngEncryptionReadFromOpenFileAndDecrypt(&file, more.data(), 12));
    EXPECT_EQ(more, Bytes(12, 0xEE));
    EXPECT_FALSE(EngEncryptionReadFromOpenFileAndDecrypt(nullptr, more.data(), 12));
    EXPECT_FALSE(EngEncryptionEncryptAndWriteToOpenFile(nullptr, more.data(), 12));
    EXPECT_FALSE(EngEncryptionIsOpenFileSizeOk(nullptr, 12));
}

TEST_F(EngEncryptionTest, FailedWriteIsReportedAndLeavesNoFile)
{
    Bytes plain = Sample(8);
    std::string path = Path("Saved.dat");
    // Not set up: nothing is created.
    EXPECT_FALSE(EngEncryptionEncryptAndWriteToFile(path.c_str(), plain.data(), 8));
    EXPECT_FALSE(fs::exists(path));

    ASSERT_TRUE(EngEncryptionInit(KEY));
    ResetEngineForTest();
    std::string bad = Path("NoFolder/Saved.dat");
    EXPECT_FALSE(EngEncryptionEncryptAndWriteToFile(bad.c_str(), plain.data(), 8));
    EXPECT_EQ(StoredLines(),
              std::vector<std::string>{ErrorLine("EngFile::CreateForWriting", "Could not create file <" + bad + ">")});
}

// Blowfish over the data: whole 8-byte blocks, words big-endian, the rest left.
TEST_F(EngEncryptionTest, BlowfishEnciphersWholeBlocksInPlace)
{
    // A published vector whose key has no zero byte, so it can be a key text.
    const char key[] = "\x01\x23\x45\x67\x89\xAB\xCD\xEF";
    Bytes data(8, 0x11);
    ASSERT_TRUE(EngEncryptionEncryptDataUsingBlowfishEncryption(key, data.data(), 8));
    EXPECT_EQ(data, (Bytes{0x61, 0xF9, 0xC3, 0x80, 0x22, 0x81, 0xB0, 0x96}));

    const char *text_key = "ScoreKey10";
    Bytes plain = Sample(20), changed = plain;
    ASSERT_TRUE(EngEncryptionEncryptDataUsingBlowfishEncryption(text_key, changed.data(), 20));
    _EngBlowfishState state;
    EngBlowfishSetKey(&state, reinterpret_cast<const unsigned char *>(text_key), 10);
    for (size_t at = 0; at < 16; at += 8) {
        uint32_t left = (uint32_t(plain[at]) << 24) | (uint32_t(plain[at + 1]) << 16) | (uint32_t(plain[at + 2]) << 8) | plain[at + 3];
        uint32_t right = (uint32_t(plain[at + 4]) << 24) | (uint32_t(plain[at + 5]) << 16) | (uint32_t(plain[at + 6]) << 8) | plain[at + 7];
        EngBlowfishEncryptBlock(&state, &left, &right);
        EXPECT_EQ(changed[at], left >> 24);
        EXPECT_EQ(changed[at + 7], right & 0xFF);
        EXPECT_NE(Slice(changed.data(), at, 8), Slice(plain.data(), at, 8));
    }
    EXPECT_EQ(Slice(changed.data(), 16, 4), Slice(plain.data(), 16, 4));

    ASSERT_TRUE(EngEncryptionDecryptDataUsingBlowfishEncryption(text_key, changed.data(), 20));
    EXPECT_EQ(changed, plain);
    EXPECT_TRUE(StoredLines().empty());
}

TEST_F(EngEncryptionTest, BlowfishRefusesShortDataAndKeys)
{
    Bytes data = Sample(8);
    const char *encrypt = "EngEncryptionEncryptDataUsingBlowfishEncryption";
    const char *decrypt = "EngEncryptionDecryptDataUsingBlowfishEncryption";
    EXPECT_FALSE(EngEncryptionEncryptDataUsingBlowfishEncryption("LongEnough", data.data(), 7));
    EXPECT_FALSE(EngEncryptionEncryptDataUsingBlowfishEncryption("LongEnough", nullptr, 8));
    EXPECT_FALSE(EngEncryptionEncryptDataUsingBlowfishEncryption("Short7!", data.data(), 8));
    EXPECT_FALSE(EngEncryptionDecryptDataUsingBlowfishEncryption(nullptr, data.data(), 8));
    EXPECT_EQ(data, Sample(8));
    EXPECT_EQ(StoredLines(), (std::vector<std::string>{
                                 ErrorLine(encrypt, "Invalid data (must be at least 8 bytes long)."),
                                 ErrorLine(encrypt, "Invalid data (must be at least 8 bytes long)."),
                                 ErrorLine(encrypt, "Invalid key."),
                                 ErrorLine(decrypt, "Invalid key."),
                             }));
}

TEST_F(EngEncryptionTest, BlowfishKeyTextBeyondSeventyTwoCharactersIsCut)
{
    std::string key72(72, 'k');
    std::string longer = key72 + "different tail";
    Bytes a = Sample(16), b = Sample(16);
    ASSERT_TRUE(EngEncryptionEncryptDataUsingBlowfishEncryption(key72.c_str(), a.data(), 16));
    ASSERT_TRUE(EngEncryptionEncryptDataUsingBlowfishEncryption(longer.c_str(), b.data(), 16));
    EXPECT_EQ(a, b);
}

} // namespace
