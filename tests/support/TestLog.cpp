#include "tests/support/TestLog.h"
#include "engine/core/EngDebug.h"

#include <fstream>
#include <sstream>

std::vector<std::string> StoredLines()
{
    std::vector<std::string> lines;
    for (int i = 0; i < DebugGetNumMessages(); i++)
        lines.push_back(DebugGetMessageText(i));
    return lines;
}

std::string LastStored()
{
    int count = DebugGetNumMessages();
    const char *text = count > 0 ? DebugGetMessageText(count - 1) : nullptr;
    return text ? text : "";
}

int LogCount(const std::string &text)
{
    int count = 0;
    for (int i = 0; i < DebugGetNumMessages(); i++) {
        const char *line = DebugGetMessageText(i);
        count += line && std::string(line).find(text) != std::string::npos;
    }
    return count;
}

bool LogHas(const std::string &text)
{
    return LogCount(text) > 0;
}

std::string ErrorLine(const char *where, const std::string &message)
{
    return std::string(" <ERROR>  ( ") + where + " )    " + message;
}

std::string ReadWhole(const std::filesystem::path &path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    return content.str();
}

std::vector<std::string> ReadLines(const std::filesystem::path &path)
{
    std::vector<std::string> lines;
    std::ifstream file(path);
    std::string line;
    while (std::getline(file, line))
        lines.push_back(line);
    return lines;
}

void WriteWhole(const std::filesystem::path &path, const std::string &bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}
