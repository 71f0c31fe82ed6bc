// Score files: the bytes cut into the header and the entries, each
// enciphered as the table stores it (a short tail written as it is), and the
// garden's table read back.
#include "engine/core/EngEncryption.h"
#include "engine/core/EngFile.h"
#include "engine/core/EngPrefs.h"
#include "game/PlayNeighbours.h"
#include "game/Scores.h"
#include "tests/fuzz/FuzzSupport.h"

#include <cstdint>
#include <cstring>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static bool ready = (FuzzSetup(), PrefFolderSetup("Hive Watcher", 0, nullptr, 0), EngEncryptionInit("HiveKey"));
    (void)ready;
    play_neighbours.scores_screen_get_garden = [] { return 0; };
    play_neighbours.scores_screen_refresh_list = [] {};

    // The header's version and garden are set, so entries are reached.
    std::vector<unsigned char> header(SCORES_HEADER_SIZE, 0);
    std::memcpy(header.data(), data, std::min<size_t>(size, SCORES_HEADER_SIZE));
    const int16_t version = SCORES_FILE_VERSION, garden = 0;
    std::memcpy(&header[0], &version, 2);
    std::memcpy(&header[2], &garden, 2);
    size_t at = std::min<size_t>(size, SCORES_HEADER_SIZE);

    const char *name = ScoresGetFilename(1);
    EngFile file;
    if (name && file.OpenForWriting(name, 0)) {
        EngEncryptionEncryptAndWriteToOpenFile(&file, header.data(), SCORES_HEADER_SIZE);
        for (; at + SCORES_BLOCK_SIZE <= size; at += SCORES_BLOCK_SIZE)
            EngEncryptionEncryptAndWriteToOpenFile(&file, data + at, SCORES_BLOCK_SIZE);
        if (at < size)
            file.Write(data + at, static_cast<unsigned>(size - at));
        file.Close();
        ScoresReadCurrentGardenScores();
    }
    ScoresResetForTests();
    FuzzEndInput();
    return 0;
}
