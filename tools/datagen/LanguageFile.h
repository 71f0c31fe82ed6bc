// The English language file: "data/texts/English.txt" checked and copied to
// "Data/Common/CommonTexts/English.txt", where the game looks for its texts.
#pragma once

#include <string>

// Checks the file the way the game reads it and refuses what would be read
// wrongly: first lines other than "Language=English" and
// "FlagCountryCode=GB" (a byte-order mark included), a line of 4096
// characters or more, a line that is neither a comment, a heading, empty nor
// "Token=Text" with a token of 1..63 characters and no blank, a token given
// twice (the game would take only the first), and any byte outside printable
// ASCII (the game reads the file as Windows-1252, so an editor's UTF-8 would
// show as two wrong letters).
bool LanguageFileCheck(const std::string &text, std::string *error);

bool LanguageFileWrite(const std::string &source_dir, const std::string &out_dir, std::string *error);
