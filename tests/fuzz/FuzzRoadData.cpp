// Road data: a garden's road file read as a level starts, and the board's
// grid built from it when it is taken.
//
// The reader takes only a whole 454,172-byte file, and libFuzzer spends most
// of its time copying and hashing inputs that large. So an input is a list of
// changes to one of the generated gardens' files instead:
//   byte 0       bits 0-1: the garden; bit 2: the file is cut short
//   [3 bytes]    when cut: the file's length, little-endian, modulo its size + 1
//   then patches: 3 bytes offset (little-endian, modulo the size), 1 byte
//                 count (count % 32 + 1 bytes), the bytes written there
#include "game/HiveWatcher.h"
#include "game/Levels.h"
#include "game/RoadDataFile.h"
#include "tests/fuzz/FuzzSupport.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

std::vector<unsigned char> gardens[4];

void SetUpOnce()
{
    FuzzSetup();
    std::filesystem::create_directories("Data");
    for (int g = 0; g < 4; g++) {
        std::string name = std::string(HW_FUZZ_DATA_DIR) + "/113" + std::to_string(g) + ".dat";
        std::ifstream file(name, std::ios::binary);
        gardens[g].assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
        if (gardens[g].size() != ROAD_DATA_FILE_SIZE) {
            std::fprintf(stderr, "FuzzRoadData: %s is not a whole road file\n", name.c_str());
            std::abort();
        }
    }
}

size_t ThreeBytes(const uint8_t *p) { return p[0] | (size_t)p[1] << 8 | (size_t)p[2] << 16; }

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static bool ready = (SetUpOnce(), true);
    (void)ready;
    static std::vector<unsigned char> file;
    int garden = size ? data[0] & 3 : 0;
    bool cut = size && (data[0] & 4);
    file = gardens[garden];
    size_t at = 1, length = file.size();
    if (cut && size >= at + 3) {
        length = ThreeBytes(data + at) % (file.size() + 1);
        at += 3;
    }
    while (size >= at + 4) {
        size_t offset = ThreeBytes(data + at) % file.size();
        size_t count = std::min<size_t>(data[at + 3] % 32 + 1, size - (at + 4));
        count = std::min(count, file.size() - offset);
        std::copy(data + at + 4, data + at + 4 + count, file.begin() + offset);
        at += 4 + count;
    }

    levels_garden = 0;
    FuzzWriteFile(LevelsGetTravCalcsFilename(), file.data(), length);
    if (TraverseSetup())
        HiveWatcherBuildGrid();
    LevelsResetForTests();
    HiveWatcherResetForTests();
    FuzzEndInput();
    return 0;
}
