// Turning a block of bytes into text fit for an HTTP form field: one-shot
// zlib compression and decompression of memory buffers (zlib stream format,
// default window and memory settings), a base64 encoder and its URL-safe
// character swap, and the chain that score submissions go through.
#pragma once

// Compresses the whole of data into out. *out_length holds out's capacity on
// entry and the bytes produced on success. A level below 0 means 9.
char EngZlibDeflateData(const void *data, unsigned length, void *out, unsigned *out_length, int level);
// The decompressed bytes in a new EngMalloc block with a zero byte after
// them (free it with EngFree), or null; out_length (may be null) receives
// their count, 0 on failure. Output of more than 100 times the input is
// refused.
unsigned char *EngZlibInflateData(const void *data, unsigned length, unsigned *out_length);

// Standard base64 (RFC 4648) with '=' padding and no line breaks.
class EngBase64 {
public:
    // 4 x (length / 3), plus 4 when length mod 3 is not 0.
    unsigned GetEncodedLength(unsigned length);
    // The '=' characters that end the encoding of length bytes.
    unsigned GetNumPadChars(unsigned length);
    // Writes GetEncodedLength(length) characters, no terminator; nothing for
    // null data or a length of 0 or less.
    void Encode(const void *data, int length, char *out);
};

// Swaps '+' to '-', '/' to '.' and '=' to '_' up to the end of text.
void EngZlibMakeBase64UrlSafe(char *text);

// Blowfish-enciphers a copy of data with key (EngEncryption.h), compresses it
// at level 9, encodes it in base64 and makes the encoding URL-safe; the
// result, after the first prefix_length characters of prefix, is a new
// EngMalloc text (free it with EngFree), or null. Data of fewer than 8 bytes
// and keys of fewer than 8 characters are refused. The flag is not read.
char *EngZlibEncryptCompressAndEncodeToBase64Data(const char *key, const void *data, unsigned length, char flag,
                                                  unsigned prefix_length, const char *prefix);
