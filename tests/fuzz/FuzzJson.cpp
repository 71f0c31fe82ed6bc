// JSON helpers: a document read from a file, then every typed getter asked
// for every member it has, whatever the member's type.
#include "engine/core/EngJson.h"
#include "engine/core/EngMemory.h"
#include "tests/fuzz/FuzzSupport.h"

#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzSetup();
    FuzzWriteFile("doc.json", data, size);
    nlohmann::ordered_json object;
    if (EngJsonReadObjectFromFile(&object, "doc.json")) {
        std::vector<std::string> names;
        for (auto it = object.begin(); it != object.end(); ++it)
            names.push_back(it.key());
        names.push_back("missing");
        for (const std::string &name : names) {
            const char *n = name.c_str();
            _Dimension dimension;
            _Vector2d vector;
            char c[5];
            float f[4];
            EngJsonDoesElementExistInObject(object, n, 1);
            EngJsonGetDimensionFromObject(object, n, &dimension);
            EngJsonGetVector2dFromObject(object, n, &vector);
            EngJsonGetCharFromObject(object, n, &c[0]);
            EngJsonReadNumbersFromObject(object, n, &c[0], &c[1], &c[2], &c[3], &c[4]);
            EngJsonReadNumbersFromObject(object, n, &f[0], &f[1], &f[2], &f[3]);
        }
        char *text = EngJsonWriteObjectToString(object);
        EngFree(text, 0, "FuzzJson");
    }
    FuzzEndInput();
    return 0;
}
