// Running the data generator from a test.
#pragma once

#include <cstdio>
#include <string>

// Runs the generator from `sources` into `out`, making only `parts` when
// given; returns its exit status and appends what it printed.
inline int RunGenerator(const std::string &sources, const std::string &out, std::string *printed,
                        const std::string &parts = "")
{
    std::string command = std::string("'") + HW_DATAGEN + "' '" + sources + "' '" + out + "' " + parts + " 2>&1";
    FILE *pipe = popen(command.c_str(), "r");
    if (!pipe)
        return -1;
    char buffer[256];
    while (fgets(buffer, sizeof(buffer), pipe))
        *printed += buffer;
    return pclose(pipe);
}
