// Encoded text files: every line of a file in any encoding, with a small
// buffer so lines and characters straddle refills.
#include "engine/core/TextFile.h"
#include "tests/fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzSetup();
    FuzzWriteFile("text.txt", data, size);
    for (int buffer_size : {16, 0}) {
        TextFile file;
        if (file.Open("text.txt", TEXT_FILE_READ, 0, buffer_size) != 0)
            continue;
        char *line = nullptr;
        int used_default = 0;
        while (file.ReadLine(&used_default, &line) == 0) {
        }
        TextFileFreeBuffer(line);
        file.Close();
    }
    FuzzEndInput();
    return 0;
}
