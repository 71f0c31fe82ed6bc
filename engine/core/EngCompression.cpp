#include "engine/core/EngCompression.h"
#include "engine/core/EngDebug.h"
#include "engine/core/EngEncryption.h"
#include "engine/core/EngMemory.h"

#define ZLIB_CONST
#include <zlib.h>

#include <climits>
#include <cstring>

namespace {

const int DEFAULT_LEVEL = 9;
// The inflate block grows by this much at a time, with one byte more for
// the zero byte after the data.
const unsigned INFLATE_STEP = 1024;
// Output beyond this many times the input is taken for a damaged or hostile stream.
const unsigned long long INFLATE_MAX_RATIO = 100;

const char BASE64_ALPHABET[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/=";
const int BASE64_PAD = 64;

// The library must share the major version of the headers the program was
// built with; a different release is only noted.
bool CheckZlibVersion(const char *where, const char *incompatible_format)
{
    const char *version = zlibVersion();
    if (version[0] != ZLIB_VERSION[0]) {
        DebugError(where, incompatible_format, version, ZLIB_VERSION);
        return false;
    }
    if (std::strcmp(version, ZLIB_VERSION) != 0)
        DebugInfoWithName(where, "warning: different zlib version (%s vs %s)", version, ZLIB_VERSION);
    return true;
}

// Steps 2 to 5 of the chain, on the copy enciphered in place.
char *CompressAndEncode(const char *where, const unsigned char *enciphered, unsigned length, unsigned capacity,
                        unsigned prefix_length, const char *prefix)
{
    unsigned char *compressed = static_cast<unsigned char *>(EngMalloc(capacity, where, 0));
    if (!compressed)
        return nullptr;
    unsigned compressed_length = capacity;
    if (!EngZlibDeflateData(enciphered, length, compressed, &compressed_length, DEFAULT_LEVEL)) {
        DebugError(where, "Could not delfate data.");
        EngFree(compressed, 1, where);
        return nullptr;
    }

    EngBase64 base64;
    unsigned encoded_length = base64.GetEncodedLength(compressed_length);
    char *result = static_cast<char *>(EngMalloc(prefix_length + encoded_length + 1, where, 0));
    if (result) {
        if (prefix_length)
            std::memcpy(result, prefix, prefix_length);
        base64.Encode(compressed, static_cast<int>(compressed_length), result + prefix_length);
        result[prefix_length + encoded_length] = 0;
        EngZlibMakeBase64UrlSafe(result + prefix_length);
    }
    EngFree(compressed, 1, where);
    return result;
}

} // namespace

char EngZlibDeflateData(const void *data, unsigned length, void *out, unsigned *out_length, int level)
{
    const char *where = "EngZlibDeflateData";
    if ((!data && length) || !out || !out_length) {
        DebugErrorCode(where, 'BAPA');
        return 0;
    }
    if (!CheckZlibVersion(where, "incopatible zlib versions (%s vs %s)"))
        return 0;

    z_stream stream;
    std::memset(&stream, 0, sizeof(stream));
    int err = deflateInit(&stream, level < 0 ? DEFAULT_LEVEL : level);
    if (err != Z_OK) {
        DebugError(where, "deflateInit() error %d", err);
        return 0;
    }
    stream.next_in = static_cast<const Bytef *>(data);
    stream.avail_in = length;
    stream.next_out = static_cast<Bytef *>(out);
    stream.avail_out = *out_length;
    err = deflate(&stream, Z_FINISH);
    if (err != Z_STREAM_END) {
        if (err == Z_OK)
            DebugError(where, "out buffer not big enough");
        else
            DebugError(where, "deflate() error %d", err);
        deflateEnd(&stream);
        return 0;
    }
    if (stream.avail_in != 0) {
        DebugError(where, "deflate() internal error 1");
        deflateEnd(&stream);
        return 0;
    }
    err = deflateEnd(&stream);
    if (err != Z_OK) {
        DebugError(where, "deflateEnd() error: %d", err);
        return 0;
    }
    if (stream.total_out > *out_length) {
        DebugError(where, "deflate() internal error 2");
        return 0;
    }
    *out_length = static_cast<unsigned>(stream.total_out);
    return 1;
}

unsigned char *EngZlibInflateData(const void *data, unsigned length, unsigned *out_length)
{
    const char *where = "EngZlibInflateData";
    if (out_length)
        *out_length = 0;
    if (!data || !length) {
        DebugErrorCode(where, 'BAPA');
        return nullptr;
    }
    if (!CheckZlibVersion(where, "innormalatible zlib versions (%s vs %s)"))
        return nullptr;

    z_stream stream;
    std::memset(&stream, 0, sizeof(stream));
    stream.next_in = static_cast<const Bytef *>(data);
    stream.avail_in = length;
    int err = inflateInit(&stream);
    if (err != Z_OK) {
        DebugError(where, "inflateInit() error %d", err);
        return nullptr;
    }

    unsigned char *block = nullptr;
    unsigned produced = 0;
    // Goes on while inflate filled all the space it was given; a stream that
    // ends early leaves space unused and fails below instead of looping.
    do {
        if (produced > INFLATE_MAX_RATIO * length || produced > UINT_MAX - INFLATE_STEP - 1) {
            DebugError(where, "buffer overrun");
            EngFree(block, 0, where);
            inflateEnd(&stream);
            return nullptr;
        }
        unsigned size = produced + INFLATE_STEP + 1;
        unsigned char *grown = static_cast<unsigned char *>(block ? EngRealloc(block, size, where) : EngMalloc(size, where, 0));
        if (!grown) {
            EngFree(block, 0, where);
            inflateEnd(&stream);
            return nullptr;
        }
        block = grown;
        stream.next_out = block + produced;
        stream.avail_out = INFLATE_STEP;
        err = inflate(&stream, Z_FINISH);
        produced = static_cast<unsigned>(stream.total_out);
    } while (err == Z_BUF_ERROR && stream.avail_out == 0);

    if (err != Z_STREAM_END || stream.avail_in != 0) {
        if (err == Z_STREAM_END)
            DebugError(where, "inflate() internal error 1");
        else if (err == Z_OK)
            DebugError(where, "out buffer not big enough");
        else
            DebugError(where, "inflate() error %d [%s]", err, EngStrOrNone(stream.msg));
        EngFree(block, 1, where);
        inflateEnd(&stream);
        return nullptr;
    }
    err = inflateEnd(&stream);
    if (err != Z_OK) {
        DebugError(where, "inflateEnd() error: %d", err);
        EngFree(block, 1, where);
        return nullptr;
    }
    block[produced] = 0;
    if (out_length)
        *out_length = produced;
    return block;
}

unsigned EngBase64::GetEncodedLength(unsigned length)
{
    return 4 * (length / 3) + (length % 3 ? 4 : 0);
}

unsigned EngBase64::GetNumPadChars(unsigned length)
{
    return length % 3 ? 3 - length % 3 : 0;
}

void EngBase64::Encode(const void *data, int length, char *out)
{
    if (!data || length <= 0 || !out)
        return;
    const unsigned char *bytes = static_cast<const unsigned char *>(data);
    for (int i = 0; i < length; i += 3) {
        int left = length - i;
        unsigned b0 = bytes[i];
        unsigned b1 = left > 1 ? bytes[i + 1] : 0;
        unsigned b2 = left > 2 ? bytes[i + 2] : 0;
        *out++ = BASE64_ALPHABET[b0 >> 2];
        *out++ = BASE64_ALPHABET[((b0 & 0x03) << 4) | (b1 >> 4)];
        *out++ = BASE64_ALPHABET[left > 1 ? ((b1 & 0x0F) << 2) | (b2 >> 6) : BASE64_PAD];
        *out++ = BASE64_ALPHABET[left > 2 ? b2 & 0x3F : BASE64_PAD];
    }
}

void EngZlibMakeBase64UrlSafe(char *text)
{
    for (; text && *text; text++) {
        if (*text == '+')
            *text = '-';
        else if (*text == '/')
            *text = '.';
        else if (*text == '=')
            *text = '_';
    }
}

char *EngZlibEncryptCompressAndEncodeToBase64Data(const char *key, const void *data, unsigned length, char,
                                                  unsigned prefix_length, const char *prefix)
{
    const char *where = "EngZlibEncryptCompressAndEncodeToBase64Data";
    if (!key) {
        DebugError(where, "No cipher");
        return nullptr;
    }
    if (!data || !length) {
        DebugError(where, "No data.");
        return nullptr;
    }
    // The prefix must hold every character taken from it.
    if (!prefix != !prefix_length || (prefix && strnlen(prefix, prefix_length) < prefix_length)) {
        DebugErrorCode(where, 'BAPA');
        return nullptr;
    }
    // Enciphered bytes do not compress: the compressed block needs room for
    // the whole input plus the stream's own overhead. compressBound is
    // deflateBound for the default window and memory settings used here.
    unsigned long long capacity = compressBound(length);
    unsigned long long result_size = prefix_length + 4 * ((capacity + 2) / 3) + 1;
    if (capacity > INT_MAX || result_size > UINT_MAX) {
        DebugErrorCode(where, 'BAPA');
        return nullptr;
    }

    unsigned char *copy = static_cast<unsigned char *>(EngMalloc(length, where, 0));
    if (!copy)
        return nullptr;
    std::memcpy(copy, data, length);
    char *result = nullptr;
    if (EngEncryptionEncryptDataUsingBlowfishEncryption(key, copy, length))
        result = CompressAndEncode(where, copy, length, static_cast<unsigned>(capacity), prefix_length, prefix);
    else
        DebugError(where, "Could not encrpyt data.");
    EngFree(copy, 1, where);
    return result;
}
