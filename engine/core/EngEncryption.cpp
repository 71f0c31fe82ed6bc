#include "engine/core/EngEncryption.h"
#include "engine/core/EngBlowfish.h"
#include "engine/core/EngDebug.h"
#include "engine/core/EngFile.h"
#include "engine/core/EngMemory.h"
#include "engine/core/EngMisc.h"

#include <tomcrypt.h>

#include <climits>
#include <cstring>

namespace {

bool is_setup = false;
unsigned char aes_key[ENG_ENCRYPTION_KEY_SIZE];

// Whole blocks, with room for the zero byte that deciphering writes after
// the plain bytes, must stay within an unsigned size.
bool IsDataSizeValid(unsigned size)
{
    return size != 0 && size <= UINT_MAX - ENG_ENCRYPTION_IV_SIZE - 1;
}

bool CheckReady(const char *where, const void *data, unsigned size)
{
    if (!is_setup) {
        DebugError(where, "Encryption not setup");
        return false;
    }
    if (!data || !IsDataSizeValid(size)) {
        DebugError(where, "Invalid data");
        return false;
    }
    return true;
}

bool StartCounterMode(const char *where, const unsigned char *iv, symmetric_CTR *ctr)
{
    int err = ctr_start(find_cipher("aes"), iv, aes_key, ENG_ENCRYPTION_KEY_SIZE, 0, CTR_COUNTER_LITTLE_ENDIAN, ctr);
    if (err != CRYPT_OK) {
        DebugError(where, "ctr_start error: %s", error_to_string(err));
        return false;
    }
    return true;
}

bool EndCounterMode(const char *where, symmetric_CTR *ctr)
{
    int err = ctr_done(ctr);
    if (err != CRYPT_OK) {
        DebugError(where, "ctr_done error: %s", error_to_string(err));
        return false;
    }
    return true;
}

// Reads and deciphers the next block of an open file into out.
bool ReadAndDecrypt(const char *where, EngFile *file, void *out, unsigned size)
{
    unsigned char *block = static_cast<unsigned char *>(EngMalloc(size + ENG_ENCRYPTION_IV_SIZE + 1, where, 0));
    if (!block) {
        DebugErrorCode(where, 'OMEM');
        return false;
    }
    bool ok = file->Read(block, size + ENG_ENCRYPTION_IV_SIZE, 1) && EngEncryptionDecrypt(block, size);
    if (ok)
        std::memcpy(out, block, size);
    EngFree(block, 1, where);
    return ok;
}

uint32_t ReadBigEndian(const unsigned char *bytes)
{
    return (uint32_t(bytes[0]) << 24) | (uint32_t(bytes[1]) << 16) | (uint32_t(bytes[2]) << 8) | bytes[3];
}

void WriteBigEndian(unsigned char *bytes, uint32_t word)
{
    bytes[0] = static_cast<unsigned char>(word >> 24);
    bytes[1] = static_cast<unsigned char>(word >> 16);
    bytes[2] = static_cast<unsigned char>(word >> 8);
    bytes[3] = static_cast<unsigned char>(word);
}

typedef void (*BlowfishBlockFunction)(const _EngBlowfishState *state, uint32_t *left, uint32_t *right);

bool RunBlowfish(const char *where, const char *key, void *data, unsigned size, BlowfishBlockFunction run_block)
{
    if (!data || size < ENG_ENCRYPTION_BLOWFISH_MIN_SIZE) {
        DebugError(where, "Invalid data (must be at least 8 bytes long).");
        return false;
    }
    size_t key_length = key ? std::strlen(key) : 0;
    if (key_length < ENG_ENCRYPTION_BLOWFISH_MIN_SIZE) {
        DebugError(where, "Invalid key.");
        return false;
    }
    // Only the first 72 key bytes reach the schedule.
    if (key_length > ENG_BLOWFISH_MAX_KEY_BYTES)
        key_length = ENG_BLOWFISH_MAX_KEY_BYTES;

    _EngBlowfishState state;
    EngBlowfishSetKey(&state, reinterpret_cast<const unsigned char *>(key), static_cast<int>(key_length));

    unsigned char *bytes = static_cast<unsigned char *>(data);
    for (unsigned block = 0; block < size / 8; block++) {
        unsigned char *at = bytes + block * 8;
        uint32_t left = ReadBigEndian(at);
        uint32_t right = ReadBigEndian(at + 4);
        run_block(&state, &left, &right);
        WriteBigEndian(at, left);
        WriteBigEndian(at + 4, right);
    }
    return true;
}

} // namespace

char EngEncryptionInit(const char *key)
{
    const char *where = "EngEncryptionInit";
    if (!key || !key[0] || std::strlen(key) > ENG_ENCRYPTION_KEY_SIZE) {
        DebugError(where, "Invalid password");
        return 0;
    }
    std::memset(aes_key, 0, sizeof(aes_key));
    std::memcpy(aes_key, key, std::strlen(key));
    if (register_cipher(&aes_desc) == -1) {
        DebugError(where, "Error registering cipher.");
        return 0;
    }
    is_setup = true;
    return 1;
}

unsigned char *EngEncryptionEncrypt(const void *data, unsigned size)
{
    const char *where = "EngEncryptionEncrypt";
    if (!CheckReady(where, data, size))
        return nullptr;
    unsigned char *block = static_cast<unsigned char *>(EngMalloc(size + ENG_ENCRYPTION_IV_SIZE, where, 0));
    if (!block) {
        DebugErrorCode(where, 'OMEM');
        return nullptr;
    }
    for (int i = 0; i < ENG_ENCRYPTION_IV_SIZE; i++)
        block[i] = static_cast<unsigned char>(EngMiscRand() & 0xFF);

    symmetric_CTR ctr;
    if (!StartCounterMode(where, block, &ctr)) {
        EngFree(block, 1, where);
        return nullptr;
    }
    int err = ctr_encrypt(static_cast<const unsigned char *>(data), block + ENG_ENCRYPTION_IV_SIZE, size, &ctr);
    if (err != CRYPT_OK) {
        DebugError(where, "ctr_encrypt error: %s", error_to_string(err));
        ctr_done(&ctr);
        EngFree(block, 1, where);
        return nullptr;
    }
    if (!EndCounterMode(where, &ctr)) {
        EngFree(block, 1, where);
        return nullptr;
    }
    return block;
}

char EngEncryptionDecrypt(unsigned char *block, unsigned size)
{
    const char *where = "EngEncryptionDecrypt";
    if (!CheckReady(where, block, size))
        return 0;
    symmetric_CTR ctr;
    if (!StartCounterMode(where, block, &ctr))
        return 0;
    int err = ctr_setiv(block, ENG_ENCRYPTION_IV_SIZE, &ctr);
    if (err != CRYPT_OK) {
        DebugError(where, "ctr_setiv error: %s", error_to_string(err));
        ctr_done(&ctr);
        return 0;
    }
    // Deciphered where it lies, then moved to the front: the cipher is not
    // promised to work between overlapping buffers at different places.
    unsigned char *cipher_bytes = block + ENG_ENCRYPTION_IV_SIZE;
    err = ctr_decrypt(cipher_bytes, cipher_bytes, size, &ctr);
    if (err != CRYPT_OK) {
        DebugError(where, "ctr_decrypt error: %s", error_to_string(err));
        ctr_done(&ctr);
        return 0;
    }
    if (!EndCounterMode(where, &ctr))
        return 0;
    std::memmove(block, cipher_bytes, size);
    block[size] = 0;
    return 1;
}

char EngEncryptionEncryptAndWriteToFile(const char *path, const void *data, unsigned size)
{
    const char *where = "EngEncryptionEncryptAndWriteToFile";
    unsigned char *block = EngEncryptionEncrypt(data, size);
    if (!block)
        return 0;
    // Created or truncated, with a stored report when that fails.
    EngFile file;
    bool ok = file.CreateForWriting(path, 0) && file.Write(block, size + ENG_ENCRYPTION_IV_SIZE);
    file.Close();
    EngFree(block, 1, where);
    return ok;
}

char EngEncryptionEncryptAndWriteToOpenFile(EngFile *file, const void *data, unsigned size)
{
    if (!file)
        return 0;
    unsigned char *block = EngEncryptionEncrypt(data, size);
    if (!block)
        return 0;
    char ok = file->Write(block, size + ENG_ENCRYPTION_IV_SIZE);
    EngFree(block, 1, "EngEncryptionEncryptAndWriteToOpenFile");
    return ok;
}

char EngEncryptionReadFromFileAndDecrypt(const char *path, void *out, unsigned size)
{
    const char *where = "EngEncryptionReadFromFileAndDecrypt";
    if (!path || !path[0] || !out || !IsDataSizeValid(size))
        return 0;
    if (EngFileGetFileSize(path, 0) != size + ENG_ENCRYPTION_IV_SIZE) {
        DebugError("EERFD", "Bad size in file <%s>", path);
        return 0;
    }
    EngFile file;
    if (!file.OpenForReading(path, 0, 1))
        return 0;
    return ReadAndDecrypt(where, &file, out, size);
}

char EngEncryptionReadFromOpenFileAndDecrypt(EngFile *file, void *out, unsigned size)
{
    if (!file || !out || !IsDataSizeValid(size))
        return 0;
    return ReadAndDecrypt("EngEncryptionReadFromOpenFileAndDecrypt", file, out, size);
}

char EngEncryptionIsFileSizeOk(const char *path, unsigned size)
{
    EngFile file;
    if (!file.OpenForReading(path, 0, 1))
        return 0;
    return EngEncryptionIsOpenFileSizeOk(&file, size);
}

char EngEncryptionIsOpenFileSizeOk(EngFile *file, unsigned size)
{
    if (!file)
        return 0;
    return file->GetSize() == static_cast<unsigned long long>(size) + ENG_ENCRYPTION_IV_SIZE;
}

char EngEncryptionEncryptDataUsingBlowfishEncryption(const char *key, void *data, unsigned size)
{
    return RunBlowfish("EngEncryptionEncryptDataUsingBlowfishEncryption", key, data, size, EngBlowfishEncryptBlock);
}

char EngEncryptionDecryptDataUsingBlowfishEncryption(const char *key, void *data, unsigned size)
{
    return RunBlowfish("EngEncryptionDecryptDataUsingBlowfishEncryption", key, data, size, EngBlowfishDecryptBlock);
}

void EngEncryptionResetForTests()
{
    is_setup = false;
    std::memset(aes_key, 0, sizeof(aes_key));
}
