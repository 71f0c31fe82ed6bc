#include "tools/datagen/LanguageFile.h"

#include "tools/datagen/DataGenFiles.h"

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

bool LanguageFileCheck(const std::string &text, std::string *error)
{
    std::istringstream in(text);
    std::string line;
    std::set<std::string> tokens;
    for (int number = 1; std::getline(in, line); number++) {
        std::string where = "line " + std::to_string(number) + ": ";
        if ((number == 1 && line != "Language=English") || (number == 2 && line != "FlagCountryCode=GB")) {
            *error = where + "the file must start with \"Language=English\" and \"FlagCountryCode=GB\"";
            return false;
        }
        if (line.size() >= 4096) {
            *error = where + "too long";
            return false;
        }
        for (char c : line) {
            if (c < 32 || c > 126) {
                *error = where + "a byte outside printable ASCII";
                return false;
            }
        }
        if (line.empty() || line[0] == ';' || line[0] == '[')
            continue;
        size_t equals = line.find('=');
        if (equals == std::string::npos || equals == 0 || equals > 63) {
            *error = where + "not \"Token=Text\" with a token of 1 to 63 characters";
            return false;
        }
        std::string token = line.substr(0, equals);
        if (token.find(' ') != std::string::npos) {
            *error = where + "the token \"" + token + "\" holds a blank";
            return false;
        }
        if (!tokens.insert(token).second) {
            *error = where + "the token " + token + " is given twice";
            return false;
        }
    }
    return true;
}

bool LanguageFileWrite(const std::string &source_dir, const std::string &out_dir, std::string *error)
{
    std::string source = source_dir + "/texts/English.txt";
    std::ifstream in(source, std::ios::binary);
    if (!in) {
        *error = source + ": cannot be read";
        return false;
    }
    std::stringstream text;
    text << in.rdbuf();
    if (!LanguageFileCheck(text.str(), error)) {
        *error = source + ": " + *error;
        return false;
    }
    std::string folder = out_dir + "/Common/CommonTexts";
    std::error_code failed;
    std::filesystem::create_directories(folder, failed);
    if (failed) {
        *error = folder + ": cannot be created";
        return false;
    }
    return DataGenWriteFile(folder + "/English.txt", text.str().data(), text.str().size(), error);
}
