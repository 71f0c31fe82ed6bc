// The data generator: builds the game's run-time data folder from the
// hand-written sources in data/. Run by the build as
//   hw_datagen <source data folder> <output Data folder> [<part>...]
// which makes every part, or only the parts named ("gardens", "pictures"),
// as the generator's own tests do.
// Every run writes the same bytes: nothing depends on the clock or on an
// unseeded generator, and each garden and picture is made from its own
// definition alone, so making them side by side changes nothing.
#include "tools/datagen/GardenFiles.h"
#include "tools/datagen/PictureFiles.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <iterator>
#include <set>
#include <string>
#include <thread>
#include <vector>

int main(int argc, char **argv)
{
    const char *PARTS[] = {"gardens", "pictures"};
    std::set<std::string> parts;
    for (int i = 3; i < argc; i++)
        parts.insert(argv[i]);
    bool known = std::all_of(parts.begin(), parts.end(), [&](const std::string &p) {
        return std::find(std::begin(PARTS), std::end(PARTS), p) != std::end(PARTS);
    });
    if (argc < 3 || !known) {
        fprintf(stderr, "usage: %s <data sources> <Data folder> [gardens] [pictures]\n", argv[0]);
        return 2;
    }
    auto wanted = [&](const char *part) { return parts.empty() || parts.count(part) > 0; };
    std::string source = argv[1], out = argv[2];
    std::error_code failed;
    std::filesystem::create_directories(out, failed);
    if (failed) {
        fprintf(stderr, "datagen: cannot create %s: %s\n", out.c_str(), failed.message().c_str());
        return 1;
    }
    std::vector<std::string> errors(GARDEN_COUNT), picture_errors;
    std::vector<std::thread> workers;
    if (wanted("gardens"))
        for (int g = 0; g < GARDEN_COUNT; g++)
            workers.emplace_back([&, g] { GardenWriteFiles(g, source, out, &errors[(size_t)g]); });
    if (wanted("pictures"))
        workers.emplace_back([&] { PicturesWriteAll(source, out, &picture_errors); });
    for (std::thread &worker : workers)
        worker.join();
    errors.insert(errors.end(), picture_errors.begin(), picture_errors.end());
    int result = 0;
    for (const std::string &error : errors) {
        if (!error.empty()) {
            fprintf(stderr, "datagen: %s\n", error.c_str());
            result = 1;
        }
    }
    return result;
}
