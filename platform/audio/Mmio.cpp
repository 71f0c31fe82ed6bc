#include "platform/audio/Mmio.h"
#include "platform/audio/AudioFiles.h"

#include <cstdint>
#include <cstdio>
#include <new>

struct HMMIO__ {
    FILE *file;
    uint64_t size;
};

static const FOURCC riff_id = mmioFOURCC('R', 'I', 'F', 'F');
static const FOURCC list_id = mmioFOURCC('L', 'I', 'S', 'T');

HMMIO mmioOpenA(char *name, MMIOINFO *, DWORD flags)
{
    if (flags & (MMIO_WRITE | MMIO_READWRITE))
        return nullptr;
    return AudioMmioOpenFile(AudioOpenFileA(name));
}

HMMIO AudioMmioOpenFile(FILE *file)
{
    if (!file)
        return nullptr;
    long size = -1;
    if (std::fseek(file, 0, SEEK_END) == 0)
        size = std::ftell(file);
    if (size < 0 || std::fseek(file, 0, SEEK_SET) != 0) {
        std::fclose(file);
        return nullptr;
    }
    HMMIO mmio = new (std::nothrow) HMMIO__{file, static_cast<uint64_t>(size)};
    if (!mmio)
        std::fclose(file);
    return mmio;
}

UINT mmioClose(HMMIO mmio, UINT)
{
    if (!mmio)
        return MMIOERR_CANNOTREAD;
    std::fclose(mmio->file);
    delete mmio;
    return MMSYSERR_NOERROR;
}

LONG mmioRead(HMMIO mmio, char *buffer, LONG bytes)
{
    if (!mmio || !buffer || bytes < 0)
        return -1;
    size_t got = std::fread(buffer, 1, static_cast<size_t>(bytes), mmio->file);
    if (got < static_cast<size_t>(bytes) && std::ferror(mmio->file))
        return -1;
    return static_cast<LONG>(got);
}

static bool ReadDword(FILE *file, DWORD *value)
{
    unsigned char b[4];
    if (std::fread(b, 1, 4, file) != 4)
        return false;
    *value = static_cast<DWORD>(b[0]) | static_cast<DWORD>(b[1]) << 8 | static_cast<DWORD>(b[2]) << 16 |
             static_cast<DWORD>(b[3]) << 24;
    return true;
}

UINT mmioDescend(HMMIO mmio, MMCKINFO *ck, const MMCKINFO *parent, UINT flags)
{
    if (!mmio || !ck)
        return MMIOERR_CHUNKNOTFOUND;
    uint64_t end = mmio->size;
    if (parent) {
        uint64_t parent_end = static_cast<uint64_t>(parent->dwDataOffset) + parent->cksize;
        if (parent_end < end)
            end = parent_end;
    }
    FOURCC want_id = ck->ckid;
    if (flags & MMIO_FINDRIFF)
        want_id = riff_id;
    else if (flags & MMIO_FINDLIST)
        want_id = list_id;
    bool find = (flags & (MMIO_FINDCHUNK | MMIO_FINDRIFF | MMIO_FINDLIST)) != 0;
    bool want_form = (flags & (MMIO_FINDRIFF | MMIO_FINDLIST)) != 0;

    for (;;) {
        long here = std::ftell(mmio->file);
        if (here < 0)
            return MMIOERR_CANNOTSEEK;
        uint64_t start = static_cast<uint64_t>(here);
        if (start + 8 > end)
            return MMIOERR_CHUNKNOTFOUND;
        MMCKINFO found = {};
        if (!ReadDword(mmio->file, &found.ckid) || !ReadDword(mmio->file, &found.cksize))
            return MMIOERR_CANNOTREAD;
        found.dwDataOffset = static_cast<DWORD>(start + 8);
        uint64_t data_end = start + 8 + found.cksize;
        bool has_form = found.ckid == riff_id || found.ckid == list_id;
        if (has_form) {
            if (found.cksize < 4 || !ReadDword(mmio->file, &found.fccType))
                return MMIOERR_CANNOTREAD;
        }
        bool match = !find || (found.ckid == want_id && (!want_form || found.fccType == ck->fccType));
        if (match) {
            if (data_end > end)
                return MMIOERR_CANNOTREAD;
            *ck = found;
            return MMSYSERR_NOERROR;
        }
        // Chunks are padded to an even length.
        uint64_t next = data_end + (found.cksize & 1);
        if (next >= end || std::fseek(mmio->file, static_cast<long>(next), SEEK_SET) != 0)
            return MMIOERR_CHUNKNOTFOUND;
    }
}

UINT mmioAscend(HMMIO mmio, MMCKINFO *ck, UINT)
{
    if (!mmio || !ck)
        return MMIOERR_CANNOTSEEK;
    uint64_t next = static_cast<uint64_t>(ck->dwDataOffset) + ck->cksize + (ck->cksize & 1);
    if (next > mmio->size)
        next = mmio->size;
    if (std::fseek(mmio->file, static_cast<long>(next), SEEK_SET) != 0)
        return MMIOERR_CANNOTSEEK;
    return MMSYSERR_NOERROR;
}
