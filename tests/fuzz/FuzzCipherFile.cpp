// The cipher's file reader: one block read whole by name, at the size the
// file's length suggests and at a fixed record size, and two blocks read in
// turn from an open file.
#include "engine/core/EngEncryption.h"
#include "engine/core/EngFile.h"
#include "tests/fuzz/FuzzSupport.h"

#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzSetup();
    static bool keyed = EngEncryptionInit("HiveKey");
    (void)keyed;
    FuzzWriteFile("block.dat", data, size);
    unsigned suggested = size > 16 ? static_cast<unsigned>(size - 16) : 0;
    for (unsigned record : {suggested, 64u}) {
        std::vector<unsigned char> out(record + 1);
        EngEncryptionIsFileSizeOk("block.dat", record);
        EngEncryptionReadFromFileAndDecrypt("block.dat", out.data(), record);
    }
    EngFile file;
    if (file.OpenForReadingQuietly("block.dat", 0)) {
        std::vector<unsigned char> out(32);
        if (EngEncryptionReadFromOpenFileAndDecrypt(&file, out.data(), 16))
            EngEncryptionReadFromOpenFileAndDecrypt(&file, out.data(), 32);
        file.Close();
    }
    FuzzEndInput();
    return 0;
}
