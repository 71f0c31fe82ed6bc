// Helpers over the JSON document model (nlohmann::ordered_json, whose
// members keep their order): read a document from a file, write one to a
// text, and read typed values of named members. Every failure is reported
// and no library exception leaves a helper.
//
// Documents in memory hold the program's 1252 text: reading a file converts
// every string and member name from the file's UTF-8, and writing converts
// them back. Numbers are read as doubles, whatever their JSON form; one read
// into a float beyond the float range is a failure, not infinity. Integral
// values are written as integers.
//
// The getters write their outputs element by element, so a failure can
// leave earlier elements stored; callers treat false as an absent value.
#pragma once

#include "engine/core/EngMath.h"

#include <nlohmann/json.hpp>

// True when path held a JSON object, now in *object; *object is untouched
// on failure.
char EngJsonReadObjectFromFile(nlohmann::ordered_json *object, const char *path);
// The document as compact JSON text in a new EngMalloc block (free it with
// EngFree), or null.
char *EngJsonWriteObjectToString(const nlohmann::ordered_json &object);

// True when object has a member called name; report makes a missing member
// a logged failure.
char EngJsonDoesElementExistInObject(const nlohmann::ordered_json &object, const char *name, char report);
// Reads an array of up to four numbers into x, y, w and h; fewer set only
// the leading fields, more fail after storing the first four.
char EngJsonGetDimensionFromObject(const nlohmann::ordered_json &object, const char *name, _Dimension *out);
// The same with up to two numbers, x and y.
char EngJsonGetVector2dFromObject(const nlohmann::ordered_json &object, const char *name, _Vector2d *out);
// A number truncated toward zero, keeping its low 8 bits (300 gives 44).
char EngJsonGetCharFromObject(const nlohmann::ordered_json &object, const char *name, char *out);
// A JSON number kept in a char, as the char getters keep it: truncated toward
// zero, its low 8 bits (0 for a number that is not finite).
char EngJsonNumberToChar(double value);
// An array of up to five numbers, each truncated to its low 8 bits, into
// the outputs given (any may be null).
char EngJsonReadNumbersFromObject(const nlohmann::ordered_json &object, const char *name, char *out0, char *out1,
                                  char *out2, char *out3, char *out4);
// An array of up to four numbers into the outputs given (any may be null).
char EngJsonReadNumbersFromObject(const nlohmann::ordered_json &object, const char *name, float *out0, float *out1,
                                  float *out2, float *out3);
