// The countries: a fixed table of 222 countries and regions, each with its
// name, two-letter code and cell in the flags texture; lookups between
// names, codes and row numbers; the user's own country from the locale of
// their session; and the flags, drawn from one 16 x 16 grid texture.
//
// A row's number (0..221) is its country number. The code "UK" has no row:
// it is read as "GB" (England) or, where a caller asks, as the number 223,
// whose flag is cell 223 of the texture. 222 is no country.
//
// Unknown input never fails loudly: lookups log a note (an unknown code
// once a run, however often the screens look it up) and give their
// fallback ("(Unknown Country)", -1, "??"); a missing flags file leaves the
// texture unloaded and every flag blank. Module state lives for the run;
// main thread only.
#pragma once

#include "engine/core/EngMath.h"

class EngTexture;
class Program;

enum {
    COUNTRY_NUM_COUNTRIES = 222,
    // The number of the code "UK" and its flag cell; it has no row.
    COUNTRY_NUM_UK = 223,
    COUNTRY_NAME_SIZE = 64,
    COUNTRY_CODE_SIZE = 4,
    COUNTRY_FLAG_GRID = 16,
};

struct _CountryEntry {
    char name[COUNTRY_NAME_SIZE];
    char code[COUNTRY_CODE_SIZE];
    short flag_cell;
};

// The table, row 0 first.
extern const _CountryEntry country_list[COUNTRY_NUM_COUNTRIES];

// What the country screen calls when the player has chosen.
typedef void (*CountryContinueCB)(Program *program);

// large_flags chooses "CountryFlags1024.png" over "CountryFlags512.png";
// release_flags_on_continue frees the texture when the country screen
// continues; the offsets move the country screen's controls (640 x 480 units).
void CountrySetup(char large_flags, char release_flags_on_continue, CountryContinueCB continue_cb,
                  Program *program, float top_offset, float bottom_offset);
void CountrySetContinueCallback(CountryContinueCB continue_cb, Program *program);
// The set-up's offsets of the country screen's controls.
void CountryGetScreenOffsets(float *top_offset, float *bottom_offset);

const char *CountryGetFlagsFilename();
// Loads the flags texture unless it is loaded; false when the file is
// missing or cannot be loaded.
bool CountryCreateGraphics();
void CountryDestroyGraphics();
// The loaded flags texture, or null.
EngTexture *CountryGetFlagsTexture();

// Exact, case-sensitive lookups.
const char *CountryGetCountryNameFromCode(const char *code);
int CountryGetCountryNumFromName(const char *name);
// "UK" gives 223, or England's row with uk_as_gb.
int CountryGetCountryNumFromCode(const char *code, char uk_as_gb);

// The territory of a locale name ("en_GB.UTF-8" and "de_DE@euro" give "GB"
// and "DE") written into code as two capital letters; false, with an empty
// code, when the name has no two-letter territory ("C", "POSIX", "es_419").
bool CountryGetTerritoryFromLocale(const char *locale, char code[3]);
// The user's country from the locale of their session, or -1.
int CountryGetLocalCountryPos();
// Its code, or "??".
const char *CountryGetLocalCountryCode();

// A flag beside a button: its width, the change to the button's height and
// the gap to the button.
void CountryGetFlagSize(float *width, float *height_change, float *gap);
// The flag cell's texture coordinates of a country number (0..221 or 223).
bool CountryGetFlagTexCoords(int country, float *u0, float *v0, float *u1, float *v1);

// Drawing draws nothing without the texture, a rectangle or a known number.
void CountryDrawFlag(unsigned country, const _Dimension *rect);
// Leaves the texture's colour white with the alpha.
void CountryDrawFlagWithAlpha(int country, const _Dimension *rect, float alpha);
void CountryDrawFlagOnRightSideOfButton(int country, const _Dimension *button);
void CountryDrawFlagBesideButton(int country, const _Dimension *button);

// The player's choice on the country screen: keeps the row's code as the
// chosen country, frees the flags texture when the set-up asks for it and
// calls the continue callback. False, with nothing done, for a number that
// is no row; false after keeping the code when no callback is set, so that
// the screen goes back to the one before.
bool CountryChooseCountry(int country);
// The code last chosen ("" before any), which the new-player screen reads.
const char *CountryGetChosenCountryCode();
// Sets the chosen code (at most two letters; null empties it), as the
// new-player screen does with the local country before any choice.
void CountrySetChosenCountryCode(const char *code);

// The module's settings, choice and texture as at start; for tests.
void CountryResetForTests();
