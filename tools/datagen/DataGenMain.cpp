// The data generator: builds the game's run-time data folder from the
// hand-written sources in data/. Run by the build as
//   hw_datagen <source data folder> <output Data folder>
// Every run writes the same bytes: nothing depends on the clock or on an
// unseeded generator, and each garden is made from its own definition alone,
// so making them side by side changes nothing.
#include "tools/datagen/FontFile.h"
#include "tools/datagen/GardenFiles.h"
#include "tools/datagen/LanguageFile.h"
#include "tools/datagen/MusicSequencer.h"
#include "tools/datagen/SoundEffects.h"

#include <cstdio>
#include <filesystem>
#include <functional>
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
    // Independent jobs, each writing its own files, run side by side.
    std::vector<std::function<bool(std::string *)>> jobs;
    for (int g = 0; g < GARDEN_COUNT; g++)
        jobs.push_back([&, g](std::string *error) { return GardenWriteFiles(g, source, out, error); });
    for (int s = 0; s < SONG_COUNT; s++)
        jobs.push_back([&, s](std::string *error) { return SongWriteFile(s, source, out, error); });
    jobs.push_back([&](std::string *error) { return SoundEffectsWriteFiles(out, error); });
    jobs.push_back([&](std::string *error) {
        return FontWriteFile(out, error) && LanguageFileWrite(source, out, error);
    });
    std::vector<std::string> errors(jobs.size());
    std::vector<std::thread> workers;
    for (size_t j = 0; j < jobs.size(); j++)
        workers.emplace_back([&, j] {
            if (!jobs[j](&errors[j]) && errors[j].empty())
                errors[j] = "a job failed without saying why";
        });
    int result = 0;
    for (size_t j = 0; j < jobs.size(); j++) {
        workers[j].join();
        if (!errors[j].empty()) {
            fprintf(stderr, "datagen: %s\n", errors[j].c_str());
            result = 1;
        }
    }
    return result;
}
