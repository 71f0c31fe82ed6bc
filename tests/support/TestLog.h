// Small helpers the tests share for reading the reporter's store and files.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

// Every stored entry's text, oldest first; the newest alone.
std::vector<std::string> StoredLines();
std::string LastStored();
// How many stored entries contain the text; whether any does.
int LogCount(const std::string &text);
bool LogHas(const std::string &text);
// The stored form of an error report: " <ERROR>  ( where )    message".
std::string ErrorLine(const char *where, const std::string &message);

// A file's bytes, or its lines without line ends; writing replaces the file.
std::string ReadWhole(const std::filesystem::path &path);
std::vector<std::string> ReadLines(const std::filesystem::path &path);
void WriteWhole(const std::filesystem::path &path, const std::string &bytes);
