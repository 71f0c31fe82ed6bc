// The multimedia file functions for reading RIFF files (wave sounds): open,
// descend into and ascend out of chunks, read. Reading only.
//
// Unlike the desktop's reader, a chunk whose size reaches past its parent
// chunk or past the end of the file is refused (MMIOERR_CANNOTREAD) rather
// than read short, so a truncated file is noticed when it is opened.
#pragma once

#include "platform/win32/Win32Types.h"

#include <cstdio>

typedef DWORD FOURCC;
#define mmioFOURCC(a, b, c, d)                                                                       \
    ((FOURCC)(BYTE)(a) | ((FOURCC)(BYTE)(b) << 8) | ((FOURCC)(BYTE)(c) << 16) | ((FOURCC)(BYTE)(d) << 24))

#define WAVE_FORMAT_PCM 1

// A wave file's format block as stored: 18 bytes, no padding.
#pragma pack(push, 1)
struct WAVEFORMATEX {
    WORD wFormatTag;
    WORD nChannels;
    DWORD nSamplesPerSec;
    DWORD nAvgBytesPerSec;
    WORD nBlockAlign;
    WORD wBitsPerSample;
    WORD cbSize;
};
#pragma pack(pop)
static_assert(sizeof(WAVEFORMATEX) == 18, "WAVEFORMATEX is 18 bytes");

struct MMCKINFO {
    FOURCC ckid;
    DWORD cksize;
    FOURCC fccType;      // form type of a RIFF or LIST chunk
    DWORD dwDataOffset;  // where the chunk's data starts in the file
    DWORD dwFlags;
};

typedef struct HMMIO__ *HMMIO;
struct MMIOINFO;  // advanced open options; never needed here, pass null

#define MMIO_READ 0x00000000u
#define MMIO_WRITE 0x00000001u
#define MMIO_READWRITE 0x00000002u
#define MMIO_ALLOCBUF 0x00010000u

#define MMIO_FINDCHUNK 0x0010u
#define MMIO_FINDRIFF 0x0020u
#define MMIO_FINDLIST 0x0040u

#define MMSYSERR_NOERROR 0u
#define MMIOERR_CANNOTREAD 261u
#define MMIOERR_CANNOTSEEK 263u
#define MMIOERR_CHUNKNOTFOUND 265u

// Null when the file does not open or the flags ask for writing.
HMMIO mmioOpenA(char *name, MMIOINFO *info, DWORD flags);
// The same over a file opened by the caller; the reader takes it over.
HMMIO AudioMmioOpenFile(FILE *file);
UINT mmioClose(HMMIO mmio, UINT flags);
// Bytes read (0 at the end of the file), or -1.
LONG mmioRead(HMMIO mmio, char *buffer, LONG bytes);
// Reads the next chunk header inside parent (or the file) and leaves the file
// at the chunk's data; with MMIO_FINDCHUNK, MMIO_FINDRIFF or MMIO_FINDLIST it
// skips chunks until one with ck's id (and form type) is found.
UINT mmioDescend(HMMIO mmio, MMCKINFO *ck, const MMCKINFO *parent, UINT flags);
// Moves the file to the end of ck (and its pad byte).
UINT mmioAscend(HMMIO mmio, MMCKINFO *ck, UINT flags);
