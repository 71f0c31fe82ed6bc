// The country table, its lookups, the user's country and the flags; see
// Countries.h.
#include "modules/Countries.h"

#include "engine/core/EngDebug.h"
#include "engine/core/EngFile.h"
#include "engine/core/EngMemory.h"
#include "engine/graphics/EngTexture.h"
#include "engine/runtime/EngWindow.h"
#include "platform/win32/Win32User.h"

#include <cstring>

// Codes are ISO 3166-1 alpha-2, except England (GB), Northern Ireland (G2),
// Scotland (G3) and Wales (G4), and Netherlands Antilles, which keeps its
// withdrawn code. Each row's flag is its own cell, except New Caledonia,
// which shows the flag of France.
const _CountryEntry country_list[COUNTRY_NUM_COUNTRIES] = {
    {"Afghanistan", "AF", 0},
    {"Albania", "AL", 1},
    {"Algeria", "DZ", 2},
    {"American Samoa", "AS", 3},
    {"Andorra", "AD", 4},
    {"Angola", "AO", 5},
    {"Anguilla", "AI", 6},
    {"Antarctica", "AQ", 7},
    {"Antigua & Barbuda", "AG", 8},
    {"Argentina", "AR", 9},
    {"Armenia", "AM", 10},
    {"Aruba", "AW", 11},
    {"Australia", "AU", 12},
    {"Austria", "AT", 13},
    {"Azerbaijan", "AZ", 14},
    {"Bahamas", "BS", 15},
    {"Bahrain", "BH", 16},
    {"Bangladesh", "BD", 17},
    {"Barbados", "BB", 18},
    {"Belarus", "BY", 19},
    {"Belgium", "BE", 20},
    {"Belize", "BZ", 21},
    {"Benin", "BJ", 22},
    {"Bermuda", "BM", 23},
    {"Bhutan", "BT", 24},
    {"Bolivia", "BO", 25},
    {"Bosnia & Herzegovina", "BA", 26},
    {"Botswana", "BW", 27},
    {"Brazil", "BR", 28},
    {"Brunei", "BN", 29},
    {"Bulgaria", "BG", 30},
    {"Burkina Faso", "BF", 31},
    {"Burundi", "BI", 32},
    {"Cambodia", "KH", 33},
    {"Cameroon", "CM", 34},
    {"Canada", "CA", 35},
    {"Cape Verde", "CV", 36},
    {"Cayman Islands", "KY", 37},
    {"Central African Republic", "CF", 38},
    {"Chad", "TD", 39},
    {"Chile", "CL", 40},
    {"China", "CN", 41},
    {"Colombia", "CO", 42},
    {"Comoros", "KM", 43},
    {"Congo", "CG", 44},
    {"Congo, The Democratic Republic of The", "CD", 45},
    {"Cook Islands", "CK", 46},
    {"Costa Rica", "CR", 47},
    {"Cote d'Ivoire", "CI", 48},
    {"Croatia", "HR", 49},
    {"Cuba", "CU", 50},
    {"Cyprus", "CY", 51},
    {"Czech Republic", "CZ", 52},
    {"Denmark", "DK", 53},
    {"Djibouti", "DJ", 54},
    {"Dominica", "DM", 55},
    {"Dominican Republic", "DO", 56},
    {"Ecuador", "EC", 57},
    {"Egypt", "EG", 58},
    {"El Salvador", "SV", 59},
    {"England", "GB", 60},
    {"Equatorial Guinea", "GQ", 61},
    {"Eritrea", "ER", 62},
    {"Estonia", "EE", 63},
    {"Ethiopia", "ET", 64},
    {"Fiji", "FJ", 65},
    {"Finland", "FI", 66},
    {"France", "FR", 67},
    {"Gabon", "GA", 68},
    {"Gambia", "GM", 69},
    {"Georgia", "GE", 70},
    {"Germany", "DE", 71},
    {"Ghana", "GH", 72},
    {"Gibraltar", "GI", 73},
    {"Greece", "GR", 74},
    {"Greenland", "GL", 75},
    {"Grenada", "GD", 76},
    {"Guadeloupe", "GP", 77},
    {"Guam", "GU", 78},
    {"Guatemala", "GT", 79},
    {"Guinea", "GN", 80},
    {"Guinea-Bissau", "GW", 81},
    {"Guyana", "GY", 82},
    {"Haiti", "HT", 83},
    {"Honduras", "HN", 84},
    {"Hong Kong", "HK", 85},
    {"Hungary", "HU", 86},
    {"Iceland", "IS", 87},
    {"India", "IN", 88},
    {"Indonesia", "ID", 89},
    {"Iran", "IR", 90},
    {"Iraq", "IQ", 91},
    {"Ireland", "IE", 92},
    {"Isle of Man", "IM", 93},
    {"Israel", "IL", 94},
    {"Italy", "IT", 95},
    {"Jamaica", "JM", 96},
    {"Japan", "JP", 97},
    {"Jordan", "JO", 98},
    {"Kazakhstan", "KZ", 99},
    {"Kenya", "KE", 100},
    {"Kiribati", "KI", 101},
    {"Korea, Democratic People's Republic of", "KP", 102},
    {"Korea, Republic of", "KR", 103},
    {"Kuwait", "KW", 104},
    {"Kyrgyzstan", "KG", 105},
    {"Laos", "LA", 106},
    {"Latvia", "LV", 107},
    {"Lebanon", "LB", 108},
    {"Lesotho", "LS", 109},
    {"Liberia", "LR", 110},
    {"Libya", "LY", 111},
    {"Liechtenstein", "LI", 112},
    {"Lithuania", "LT", 113},
    {"Luxembourg", "LU", 114},
    {"Macao", "MO", 115},
    {"Macedonia", "MK", 116},
    {"Madagascar", "MG", 117},
    {"Malawi", "MW", 118},
    {"Malaysia", "MY", 119},
    {"Maldives", "MV", 120},
    {"Mali", "ML", 121},
    {"Malta", "MT", 122},
    {"Marshall Islands", "MH", 123},
    {"Martinique", "MQ", 124},
    {"Mauritania", "MR", 125},
    {"Mauritius", "MU", 126},
    {"Mexico", "MX", 127},
    {"Micronesia", "FM", 128},
    {"Moldova", "MD", 129},
    {"Monaco", "MC", 130},
    {"Mongolia", "MN", 131},
    {"Montenegro", "ME", 132},
    {"Montserrat", "MS", 133},
    {"Morocco", "MA", 134},
    {"Mozambique", "MZ", 135},
    {"Myanmar", "MM", 136},
    {"Namibia", "NA", 137},
    {"Nauru", "NR", 138},
    {"Nepal", "NP", 139},
    {"Netherlands", "NL", 140},
    {"Netherlands Antilles", "AN", 141},
    {"New Caledonia", "NC", 67},
    {"New Zealand", "NZ", 143},
    {"Nicaragua", "NI", 144},
    {"Niger", "NE", 145},
    {"Nigeria", "NG", 146},
    {"Northern Ireland", "G2", 147},
    {"Norway", "NO", 148},
    {"Oman", "OM", 149},
    {"Pakistan", "PK", 150},
    {"Palau", "PW", 151},
    {"Palestineian Territory, Occupied", "PS", 152},
    {"Panama", "PA", 153},
    {"Papua New Guinea", "PG", 154},
    {"Paraguay", "PY", 155},
    {"Peru", "PE", 156},
    {"Philippines", "PH", 157},
    {"Poland", "PL", 158},
    {"Portugal", "PT", 159},
    {"Puerto Rico", "PR", 160},
    {"Qatar", "QA", 161},
    {"Reunion", "RE", 162},
    {"Romania", "RO", 163},
    {"Russian Federation", "RU", 164},
    {"Rwanda", "RW", 165},
    {"St Kitts & Nevis", "KN", 166},
    {"St Lucia", "LC", 167},
    {"St Vincent & The Grenadines", "VC", 168},
    {"Samoa", "WS", 169},
    {"San Marino", "SM", 170},
    {"Sao Tome & Principe", "ST", 171},
    {"Saudi Arabia", "SA", 172},
    {"Scotland", "G3", 173},
    {"Senegal", "SN", 174},
    {"Serbia", "RS", 175},
    {"Seychelles", "SC", 176},
    {"Sierra Leone", "SL", 177},
    {"Singapore", "SG", 178},
    {"Slovakia", "SK", 179},
    {"Slovenia", "SI", 180},
    {"Solomon Islands", "SB", 181},
    {"Somalia", "SO", 182},
    {"South Africa", "ZA", 183},
    {"Spain", "ES", 184},
    {"Sri Lanka", "LK", 185},
    {"Sudan", "SD", 186},
    {"Suriname", "SR", 187},
    {"Swaziland", "SZ", 188},
    {"Sweden", "SE", 189},
    {"Switzerland", "CH", 190},
    {"Syria", "SY", 191},
    {"Taiwan", "TW", 192},
    {"Tajikistan", "TJ", 193},
    {"Tanzania", "TZ", 194},
    {"Thailand", "TH", 195},
    {"Timor-Leste", "TL", 196},
    {"Togo", "TG", 197},
    {"Tonga", "TO", 198},
    {"Trinidad & Tobago", "TT", 199},
    {"Tunisia", "TN", 200},
    {"Turkey", "TR", 201},
    {"Turkmenistan", "TM", 202},
    {"Turks & Caicos Islands", "TC", 203},
    {"Tuvalu", "TV", 204},
    {"Uganda", "UG", 205},
    {"Ukraine", "UA", 206},
    {"United Arab Emirates", "AE", 207},
    {"United States", "US", 208},
    {"Uruguay", "UY", 209},
    {"Uzbekistan", "UZ", 210},
    {"Vanuatu", "VU", 211},
    {"Vatican City", "VA", 212},
    {"Venezuela", "VE", 213},
    {"Viet Nam", "VN", 214},
    {"Virgin Islands, British", "VG", 215},
    {"Virgin Islands, U.S.", "VI", 216},
    {"Wales", "G4", 217},
    {"Western Sahara", "EH", 218},
    {"Yemen", "YE", 219},
    {"Zambia", "ZM", 220},
    {"Zimbabwe", "ZW", 221},
};

namespace {

const char *const FLAGS_SMALL = "Data\\Common\\CountryFlags512.png";
const char *const FLAGS_LARGE = "Data\\Common\\CountryFlags1024.png";
const char *const UNKNOWN_COUNTRY = "(Unknown Country)";
const double INVALID_NUMBER_LOG_PERIOD = 2.0;
// A flag beside a button: 25 units wide at 4:3, 4 less high than the
// button, 5 units from its edge, 2.5 below its top.
const float FLAG_WIDTH = 25.0f;
const float FLAG_HEIGHT_CHANGE = -4.0f;
const float FLAG_GAP = 5.0f;
const float FLAG_TOP = 2.5f;
const float CELL_SPAN = 1.0f / COUNTRY_FLAG_GRID;

struct CountrySettings {
    signed char large_flags = -1; // -1 until set up
    char release_flags_on_continue = 1;
    CountryContinueCB continue_cb = nullptr;
    Program *program = nullptr;
    float top_offset = 0;
    float bottom_offset = 0;
};

CountrySettings country_settings;
EngTexture *country_flags = nullptr;
char country_chosen_code[3] = "";
double country_next_invalid_log = 0;

// Codes already noted as not found. The screens look their codes up every
// frame (a "??" player's flag on the Players, Load and Scores screens), so
// each unknown code is noted once; past the table's size, no more are.
const int NOTED_CODES_MAX = 32;
const int NOTED_CODE_SIZE = 16;
char country_noted_codes[NOTED_CODES_MAX][NOTED_CODE_SIZE];
int country_noted_count = 0;

// The row whose code is code, or -1.
int FindCode(const char *code)
{
    for (int row = 0; row < COUNTRY_NUM_COUNTRIES; row++)
        if (std::strcmp(country_list[row].code, code) == 0)
            return row;
    return -1;
}

int FindName(const char *name)
{
    for (int row = 0; row < COUNTRY_NUM_COUNTRIES; row++)
        if (std::strcmp(country_list[row].name, name) == 0)
            return row;
    return -1;
}

bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

void NoteCodeNotFound(const char *code)
{
    for (int i = 0; i < country_noted_count; i++)
        if (std::strncmp(country_noted_codes[i], code, NOTED_CODE_SIZE) == 0)
            return;
    if (country_noted_count == NOTED_CODES_MAX)
        return;
    EngSafeStrcpy(country_noted_codes[country_noted_count++], code, NOTED_CODE_SIZE);
    DebugNote(0, "Code [%s] not found.", code);
}

} // namespace

void CountrySetup(char large_flags, char release_flags_on_continue, CountryContinueCB continue_cb,
                  Program *program, float top_offset, float bottom_offset)
{
    country_settings.large_flags = static_cast<signed char>(large_flags);
    country_settings.release_flags_on_continue = release_flags_on_continue;
    country_settings.continue_cb = continue_cb;
    country_settings.program = program;
    country_settings.top_offset = top_offset;
    country_settings.bottom_offset = bottom_offset;
}

void CountrySetContinueCallback(CountryContinueCB continue_cb, Program *program)
{
    country_settings.continue_cb = continue_cb;
    country_settings.program = program;
}

void CountryGetScreenOffsets(float *top_offset, float *bottom_offset)
{
    if (top_offset)
        *top_offset = country_settings.top_offset;
    if (bottom_offset)
        *bottom_offset = country_settings.bottom_offset;
}

const char *CountryGetFlagsFilename()
{
    if (country_settings.large_flags < 0) {
        DebugErrorCode("CountryGetFlagsFilename", 'NOSU');
        country_settings.large_flags = 0;
    }
    return country_settings.large_flags > 0 ? FLAGS_LARGE : FLAGS_SMALL;
}

bool CountryCreateGraphics()
{
    if (country_flags && country_flags->IsCreated())
        return true;
    const char *name = CountryGetFlagsFilename();
    if (!EngFileExists(name, 0)) {
        DebugError("CountryCreateGraphics", "Flags texture file does not exist <%s>", name);
        return false;
    }
    if (!country_flags)
        country_flags = new EngTexture();
    if (country_flags->LoadFromFile(name, 1, 2, 0))
        return true;
    CountryDestroyGraphics();
    return false;
}

void CountryDestroyGraphics()
{
    delete country_flags;
    country_flags = nullptr;
}

EngTexture *CountryGetFlagsTexture()
{
    return country_flags && country_flags->IsCreated() ? country_flags : nullptr;
}

const char *CountryGetCountryNameFromCode(const char *code)
{
    if (!code || !code[0]) {
        DebugErrorCode("CountryGetCountryNameFromCode", 'BAPA');
        return UNKNOWN_COUNTRY;
    }
    int row = FindCode(code);
    if (row < 0 && std::strcmp(code, "UK") == 0)
        row = FindCode("GB");
    if (row < 0) {
        NoteCodeNotFound(code);
        return UNKNOWN_COUNTRY;
    }
    return country_list[row].name;
}

int CountryGetCountryNumFromName(const char *name)
{
    if (!name || !name[0]) {
        DebugErrorCode("CountryGetCountryNumFromName", 'BAPA');
        return -1;
    }
    int row = FindName(name);
    if (row < 0 && std::strcmp(name, "United Kingdom") == 0)
        row = FindName("England");
    if (row < 0)
        DebugNote(0, "Name [%s] not found.", name);
    return row;
}

int CountryGetCountryNumFromCode(const char *code, char uk_as_gb)
{
    if (!code || !code[0]) {
        DebugErrorCode("CountryGetCountryNumFromCode", 'BAPA');
        return -1;
    }
    int row = FindCode(code);
    if (row >= 0)
        return row;
    if (std::strcmp(code, "UK") == 0)
        return uk_as_gb ? FindCode("GB") : COUNTRY_NUM_UK;
    NoteCodeNotFound(code);
    return -1;
}

bool CountryGetTerritoryFromLocale(const char *locale, char code[3])
{
    code[0] = 0;
    if (!locale)
        return false;
    // language[_territory][.codeset][@modifier]
    const char *underscore = std::strchr(locale, '_');
    if (!underscore)
        return false;
    const char *territory = underscore + 1;
    size_t length = std::strcspn(territory, ".@");
    if (length != 2 || !IsLetter(territory[0]) || !IsLetter(territory[1]))
        return false;
    for (int i = 0; i < 2; i++)
        code[i] = static_cast<char>(territory[i] & ~0x20); // ASCII capital
    code[2] = 0;
    return true;
}

int CountryGetLocalCountryPos()
{
    char locale[256];
    char code[3];
    if (PlatformGetUserLocale(locale, sizeof(locale)) && CountryGetTerritoryFromLocale(locale, code)) {
        int row = CountryGetCountryNumFromCode(code, 1);
        if (row >= 0)
            return row;
    }
    DebugError("CountryGetLocalCountryPos", "Could not get local country pos");
    return -1;
}

const char *CountryGetLocalCountryCode()
{
    int row = CountryGetLocalCountryPos();
    return row >= 0 ? country_list[row].code : "??";
}

void CountryGetFlagSize(float *width, float *height_change, float *gap)
{
    if (width)
        *width = FLAG_WIDTH * eng_font_scale_x;
    if (height_change)
        *height_change = FLAG_HEIGHT_CHANGE;
    if (gap)
        *gap = FLAG_GAP;
}

bool CountryGetFlagTexCoords(int country, float *u0, float *v0, float *u1, float *v1)
{
    int cell;
    if (country >= 0 && country < COUNTRY_NUM_COUNTRIES)
        cell = country_list[country].flag_cell;
    else if (country == COUNTRY_NUM_UK)
        cell = COUNTRY_NUM_UK;
    else
        return false;
    int column = cell % COUNTRY_FLAG_GRID;
    int row = cell / COUNTRY_FLAG_GRID;
    if (column < 0 || column >= COUNTRY_FLAG_GRID || row < 0 || row >= COUNTRY_FLAG_GRID)
        return false;
    *u0 = column * CELL_SPAN;
    *v0 = row * CELL_SPAN;
    *u1 = *u0 + CELL_SPAN;
    *v1 = *v0 + CELL_SPAN;
    return true;
}

void CountryDrawFlag(unsigned country, const _Dimension *rect)
{
    float u0, v0, u1, v1;
    if (!CountryGetFlagsTexture() || !rect || country > COUNTRY_NUM_UK ||
        !CountryGetFlagTexCoords(static_cast<int>(country), &u0, &v0, &u1, &v1))
        return;
    country_flags->PositionRatioedToDimension(rect);
    country_flags->DrawWithTextureCoordinates(u0, v0, u1, v1);
}

void CountryDrawFlagWithAlpha(int country, const _Dimension *rect, float alpha)
{
    if (!CountryGetFlagsTexture())
        return;
    country_flags->SetAlpha(alpha);
    CountryDrawFlag(static_cast<unsigned>(country), rect);
}

void CountryDrawFlagOnRightSideOfButton(int country, const _Dimension *button)
{
    if (!button) {
        DebugError("CountryDrawFlagOnRightSideOfButton", "No dimension.");
        return;
    }
    if (country < 0) {
        DebugInfoThrottled(&country_next_invalid_log, INVALID_NUMBER_LOG_PERIOD,
                           "ERROR: CountryDrawFlagOnRightSideOfButton: Invalid cnum %d.", country);
        return;
    }
    float width, height_change, gap;
    CountryGetFlagSize(&width, &height_change, &gap);
    _Dimension flag = {button->x + button->w - width - gap, button->y + FLAG_TOP, width, button->h + height_change};
    CountryDrawFlag(static_cast<unsigned>(country), &flag);
}

void CountryDrawFlagBesideButton(int country, const _Dimension *button)
{
    if (!button || country < 0)
        return;
    float width, height_change, gap;
    CountryGetFlagSize(&width, &height_change, &gap);
    _Dimension flag = {button->x + button->w + gap, button->y + FLAG_TOP, width, button->h + height_change};
    CountryDrawFlag(static_cast<unsigned>(country), &flag);
}

bool CountryChooseCountry(int country)
{
    if (country < 0 || country >= COUNTRY_NUM_COUNTRIES) {
        DebugErrorCode("CountryChooseCountry", 'BAPA');
        return false;
    }
    EngSafeStrcpy(country_chosen_code, country_list[country].code, sizeof(country_chosen_code));
    if (country_settings.release_flags_on_continue)
        CountryDestroyGraphics();
    if (!country_settings.continue_cb)
        return false;
    country_settings.continue_cb(country_settings.program);
    return true;
}

const char *CountryGetChosenCountryCode()
{
    return country_chosen_code;
}

void CountrySetChosenCountryCode(const char *code)
{
    EngSafeStrcpy(country_chosen_code, code ? code : "", sizeof(country_chosen_code));
}

void CountryResetForTests()
{
    CountryDestroyGraphics();
    country_settings = CountrySettings();
    country_chosen_code[0] = 0;
    country_next_invalid_log = 0;
    country_noted_count = 0;
}
