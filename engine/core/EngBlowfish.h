// The Blowfish block cipher: 64-bit blocks as two 32-bit words, 16 rounds,
// keys of 1 to 72 bytes. The state is built per use by the caller.
#pragma once

#include <cstdint>

enum {
    ENG_BLOWFISH_ROUNDS = 16,
    // Key bytes beyond this many do not reach the P array.
    ENG_BLOWFISH_MAX_KEY_BYTES = 72,
};

struct _EngBlowfishState {
    uint32_t p[ENG_BLOWFISH_ROUNDS + 2];
    uint32_t s[4][256];
};

// Runs the key schedule for key_length bytes of key.
void EngBlowfishSetKey(_EngBlowfishState *state, const unsigned char *key, int key_length);
void EngBlowfishEncryptBlock(const _EngBlowfishState *state, uint32_t *left, uint32_t *right);
void EngBlowfishDecryptBlock(const _EngBlowfishState *state, uint32_t *left, uint32_t *right);
// The round function: S-box words chosen by the bytes of word, highest first.
uint32_t EngBlowfishF(const _EngBlowfishState *state, uint32_t word);
