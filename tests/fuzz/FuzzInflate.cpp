// Inflate and base64: compressed bytes inflated (output capped at a hundred
// times the input), and the bytes taken through the cipher, deflate and
// base64 chain that server submissions use, checked against the encoder's
// own length.
#include "engine/core/EngCompression.h"
#include "engine/core/EngMemory.h"
#include "tests/fuzz/FuzzSupport.h"

#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzSetup();
    unsigned length = 0;
    unsigned char *inflated = EngZlibInflateData(data, static_cast<unsigned>(size), &length);
    if (inflated && (length > 100u * size || inflated[length] != 0))
        std::abort();
    EngFree(inflated, 0, "FuzzInflate");

    EngBase64 base64;
    unsigned encoded_length = base64.GetEncodedLength(static_cast<unsigned>(size));
    char *encoded = static_cast<char *>(std::malloc(encoded_length + 1));
    encoded[encoded_length] = '#';
    base64.Encode(data, static_cast<int>(size), encoded);
    if (encoded[encoded_length] != '#')
        std::abort();
    encoded[encoded_length] = 0;
    EngZlibMakeBase64UrlSafe(encoded);
    std::free(encoded);

    char *sent = EngZlibEncryptCompressAndEncodeToBase64Data("FuzzKey1", data, static_cast<unsigned>(size), 0, 2,
                                                             "s=");
    if (sent && std::strncmp(sent, "s=", 2) != 0)
        std::abort();
    EngFree(sent, 0, "FuzzInflate");
    FuzzEndInput();
    return 0;
}
