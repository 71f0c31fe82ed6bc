#include "engine/core/EngJson.h"
#include "engine/core/EngDebug.h"
#include "engine/core/EngFile.h"
#include "engine/core/EngMemory.h"
#include "platform/win32/Win32CodePage.h"

#include <cfloat>
#include <climits>
#include <cmath>
#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

typedef nlohmann::ordered_json Json;

// Deeper documents are refused rather than walked by recursion.
const int MAX_DEPTH = 256;
// Doubles of at most this size that hold whole numbers are written as integers.
const double MAX_WHOLE_NUMBER = 9007199254740992.0; // 2^53

// A check of our own, reported like the library's exceptions.
class JsonError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

enum Direction { TO_PROGRAM, TO_FILE };

std::string ConvertText(const std::string &text, Direction direction)
{
    // 1252 needs at most three UTF-8 bytes a character, and UTF-8 never
    // fewer than one byte per 1252 character.
    std::vector<char> out(direction == TO_FILE ? text.size() * 3 + 1 : text.size() + 1);
    bool ok = direction == TO_FILE ? PlatformCp1252ToUtf8(text.c_str(), out.data(), out.size())
                                   : PlatformUtf8ToCp1252(text.c_str(), out.data(), out.size(), '?');
    if (!ok)
        throw JsonError("text could not be converted");
    return out.data();
}

// A copy of value with every string and member name converted; written
// documents also get their whole doubles as integers.
Json Convert(const Json &value, Direction direction, int depth)
{
    if (depth > MAX_DEPTH)
        throw JsonError("document nested too deeply");
    switch (value.type()) {
    case Json::value_t::string:
        return ConvertText(value.get_ref<const std::string &>(), direction);
    case Json::value_t::object: {
        Json out = Json::object();
        for (auto it = value.begin(); it != value.end(); ++it)
            out[ConvertText(it.key(), direction)] = Convert(it.value(), direction, depth + 1);
        return out;
    }
    case Json::value_t::array: {
        Json out = Json::array();
        for (const Json &element : value)
            out.push_back(Convert(element, direction, depth + 1));
        return out;
    }
    case Json::value_t::number_float: {
        double number = value.get<double>();
        if (direction == TO_FILE && std::trunc(number) == number && std::fabs(number) <= MAX_WHOLE_NUMBER)
            return static_cast<long long>(number);
        return value;
    }
    default:
        return value;
    }
}

bool ReadWholeFile(const char *path, std::string *text)
{
    EngFile file;
    if (!file.OpenForReading(path, 0, 1))
        return false;
    unsigned size = file.GetSize();
    text->resize(size);
    return size == 0 || file.Read(&(*text)[0], size, 1);
}

const Json &ArrayMember(const Json &object, const char *name)
{
    const Json &member = object.at(name);
    if (!member.is_array())
        throw JsonError(std::string("type must be array, but is ") + member.type_name());
    return member;
}

double Number(const Json &value)
{
    if (!value.is_number())
        throw JsonError(std::string("type must be number, but is ") + value.type_name());
    return value.get<double>();
}

// A number read into a float must fit one: beyond the float range it would
// become infinity, which no caller can place, scale or compare.
float FloatNumber(double number)
{
    if (!(std::fabs(number) <= FLT_MAX))
        throw JsonError("number out of float range");
    return static_cast<float>(number);
}

bool IsEmptyName(const char *name)
{
    return !name || !name[0];
}

// Runs read, reporting any exception (a missing member, a wrong type, a
// library failure) as the document model's.
template <typename Read>
char Guarded(const char *where, Read read)
{
    try {
        return read();
    } catch (const std::exception &e) {
        DebugError(where, "json::Exception <%s>", e.what());
        return 0;
    }
}

// Hands the array's numbers in order to store(index, number); an element
// beyond max fails after the first max were stored.
template <typename Store>
char ReadNumberArray(const char *where, const Json &object, const char *name, int max, Store store)
{
    return Guarded(where, [&]() -> char {
        int count = 0;
        for (const Json &element : ArrayMember(object, name)) {
            if (count == max) {
                DebugError(where, "Error during parse.");
                return 0;
            }
            store(count++, Number(element));
        }
        return 1;
    });
}

} // namespace

char EngJsonReadObjectFromFile(Json *object, const char *path)
{
    const char *where = "EngJsonReadObjectFromFile";
    if (!object || IsEmptyName(path)) {
        DebugErrorCode(where, 'BAPA');
        return 0;
    }
    if (!EngFileExists(path, 0)) {
        DebugError(where, "File does not exist <%s>", path);
        return 0;
    }
    try {
        std::string text;
        if (!ReadWholeFile(path, &text))
            return 0;
        Json parsed = Json::parse(text);
        if (!parsed.is_object())
            throw JsonError(std::string("top level must be an object, but is ") + parsed.type_name());
        *object = Convert(parsed, TO_PROGRAM, 0);
        return 1;
    } catch (const std::exception &e) {
        DebugError(where, "json::Exception <%s> in <%s>", e.what(), path);
        return 0;
    }
}

char *EngJsonWriteObjectToString(const Json &object)
{
    const char *where = "EngJsonWriteObjectToString";
    std::string text;
    try {
        text = Convert(object, TO_FILE, 0).dump();
    } catch (const std::exception &e) {
        DebugError(where, "json::Exception <%s>", e.what());
        return nullptr;
    }
    if (text.size() >= UINT_MAX) {
        DebugErrorCode(where, 'OMEM');
        return nullptr;
    }
    char *result = static_cast<char *>(EngMalloc(static_cast<unsigned>(text.size()) + 1, where, 1));
    if (result)
        std::memcpy(result, text.data(), text.size());
    return result;
}

char EngJsonDoesElementExistInObject(const Json &object, const char *name, char report)
{
    const char *where = "EngJsonDoesElementExistInObject";
    if (IsEmptyName(name)) {
        DebugErrorCode(where, 'BAPA');
        return 0;
    }
    try {
        (void)object.at(name);
        return 1;
    } catch (const std::exception &e) {
        if (report)
            DebugError(where, "Exception <%s> for element <%s>", e.what(), name);
        return 0;
    }
}

char EngJsonGetDimensionFromObject(const Json &object, const char *name, _Dimension *out)
{
    const char *where = "EngJsonGetDimensionFromObject";
    if (IsEmptyName(name) || !out) {
        DebugErrorCode(where, 'BAPA');
        return 0;
    }
    float *fields[] = {&out->x, &out->y, &out->w, &out->h};
    return ReadNumberArray(where, object, name, 4, [&](int i, double number) { *fields[i] = FloatNumber(number); });
}

char EngJsonGetVector2dFromObject(const Json &object, const char *name, _Vector2d *out)
{
    const char *where = "EngJsonGetVector2dFromObject";
    if (IsEmptyName(name) || !out) {
        DebugErrorCode(where, 'BAPA');
        return 0;
    }
    float *fields[] = {&out->x, &out->y};
    return ReadNumberArray(where, object, name, 2, [&](int i, double number) { *fields[i] = FloatNumber(number); });
}

char EngJsonGetCharFromObject(const Json &object, const char *name, char *out)
{
    const char *where = "EngJsonGetCharFromObject";
    if (IsEmptyName(name) || !out) {
        DebugErrorCode(where, 'BAPA');
        return 0;
    }
    return Guarded(where, [&]() -> char {
        *out = EngJsonNumberToChar(Number(object.at(name)));
        return 1;
    });
}

char EngJsonReadNumbersFromObject(const Json &object, const char *name, char *out0, char *out1, char *out2,
                                  char *out3, char *out4)
{
    const char *where = "EngJsonReadNumbersFromObject";
    if (IsEmptyName(name)) {
        DebugErrorCode(where, 'BAPA');
        return 0;
    }
    char *outs[] = {out0, out1, out2, out3, out4};
    return ReadNumberArray(where, object, name, 5, [&](int i, double number) {
        if (outs[i])
            *outs[i] = EngJsonNumberToChar(number);
    });
}

char EngJsonReadNumbersFromObject(const Json &object, const char *name, float *out0, float *out1, float *out2,
                                  float *out3)
{
    const char *where = "EngJsonReadNumbersFromObject";
    if (IsEmptyName(name)) {
        DebugErrorCode(where, 'BAPA');
        return 0;
    }
    float *outs[] = {out0, out1, out2, out3};
    return ReadNumberArray(where, object, name, 4, [&](int i, double number) {
        if (outs[i])
            *outs[i] = FloatNumber(number);
    });
}

char EngJsonNumberToChar(double value)
{
    // Computed without a conversion that large values would overflow.
    if (!std::isfinite(value))
        return 0;
    double low = std::fmod(std::trunc(value), 256.0);
    if (low < 0)
        low += 256.0;
    return static_cast<char>(static_cast<unsigned char>(low));
}
