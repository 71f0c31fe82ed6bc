// The program's ciphers.
//
// Record files (the player's file, saved games, local scores) are made of
// enciphered blocks under one program-wide AES-128 key:
//     [16 random IV bytes][the N plain bytes XORed with the key stream]
// N + 16 bytes with no header, length or checksum, so the reader must know N.
// The key stream is AES(IV), AES(IV + 1), ..., the IV read as one
// little-endian 128-bit number. A file holds one block or several in a row,
// each with its own IV. There is no integrity check: a wrong key yields wrong
// bytes without a report.
//
// Score submissions are enciphered in place with Blowfish instead, each whole
// 8-byte block on its own (EngBlowfish.h).
#pragma once

class EngFile;

enum {
    ENG_ENCRYPTION_IV_SIZE = 16,
    // Longest key text of EngEncryptionInit; shorter ones are zero-padded.
    ENG_ENCRYPTION_KEY_SIZE = 16,
    // Shortest data and key text of the Blowfish calls.
    ENG_ENCRYPTION_BLOWFISH_MIN_SIZE = 8,
};

// Installs the AES key (1 to 16 characters); a second call replaces it.
char EngEncryptionInit(const char *key);

// A new EngMalloc block of size + 16 bytes (free it with EngFree), or null.
// Every call draws a fresh IV from the engine's random generator.
unsigned char *EngEncryptionEncrypt(const void *data, unsigned size);
// Deciphers a block of size + 16 bytes in place: the plain bytes end up at
// its start, followed by a zero byte.
char EngEncryptionDecrypt(unsigned char *block, unsigned size);

// Writes one block to a new (or truncated) binary file.
char EngEncryptionEncryptAndWriteToFile(const char *path, const void *data, unsigned size);
// Writes one block at the open file's position.
char EngEncryptionEncryptAndWriteToOpenFile(EngFile *file, const void *data, unsigned size);
// True when the file holds exactly one block of size plain bytes and they
// are in out; out is left untouched on failure.
char EngEncryptionReadFromFileAndDecrypt(const char *path, void *out, unsigned size);
// Reads the next block of size plain bytes from the open file into out.
char EngEncryptionReadFromOpenFileAndDecrypt(EngFile *file, void *out, unsigned size);
// True when the file's size is exactly size + 16.
char EngEncryptionIsFileSizeOk(const char *path, unsigned size);
char EngEncryptionIsOpenFileSizeOk(EngFile *file, unsigned size);

// Blowfish in place over the whole 8-byte blocks of data (words big-endian);
// the last size mod 8 bytes stay as they are. The key is every character of
// the text (at least 8); data must be at least 8 bytes.
char EngEncryptionEncryptDataUsingBlowfishEncryption(const char *key, void *data, unsigned size);
char EngEncryptionDecryptDataUsingBlowfishEncryption(const char *key, void *data, unsigned size);

// Forgets the AES key, as at start; for tests.
void EngEncryptionResetForTests();
