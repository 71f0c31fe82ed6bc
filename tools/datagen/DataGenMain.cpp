// The data generator: builds the game's run-time data folder from the
// hand-written sources in data/. Run by the build as
//   hw_datagen <source data folder> <output Data folder>
// Every run writes the same bytes: nothing depends on the clock or on an
// unseeded generator, and each garden is made from its own definition alone,
// so making them side by side changes nothing.
#include "tools/datagen/GardenFiles.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

int main(int argc, char **argv)
{
    if (argc != 3) {
        fprintf(stderr, "usage: %s <data sources> <Data folder>\n", argv[0]);
        return 2;
    }
    std::string source = argv[1], out = argv[2];
    std::error_code failed;
    std::filesystem::create_directories(out, failed);
    if (failed) {
        fprintf(stderr, "datagen: cannot create %s: %s\n", out.c_str(), failed.message().c_str());
        return 1;
    }
    std::vector<std::string> errors(GARDEN_COUNT);
    std::vector<std::thread> workers;
    for (int g = 0; g < GARDEN_COUNT; g++)
        workers.emplace_back([&, g] { GardenWriteFiles(g, source, out, &errors[(size_t)g]); });
    int result = 0;
    for (int g = 0; g < GARDEN_COUNT; g++) {
        workers[(size_t)g].join();
        if (!errors[(size_t)g].empty()) {
            fprintf(stderr, "datagen: %s\n", errors[(size_t)g].c_str());
            result = 1;
        }
    }
    return result;
}
