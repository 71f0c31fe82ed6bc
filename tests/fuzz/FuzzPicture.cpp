// Picture descriptions: a .ttx file loaded whole or not at all.
#include "engine/graphics/EngPicture.h"
#include "tests/fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzSetup();
    FuzzWriteFile("pic.ttx", data, size);
    {
        EngPicture picture;
        picture.LoadFromFile(nullptr, "pic.ttx", 0);
    }
    EngPictureResetForTests();
    FuzzEndInput();
    return 0;
}
