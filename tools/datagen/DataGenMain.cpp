// The data generator: builds the game's run-time data folder from the
// hand-written sources in data/. Run by the build as
//   hw_datagen <source data folder> <output Data folder> [<part>...]
// which makes every part, or only the parts named ("gardens", "pictures",
// "sounds", "songs", "font", "texts"), as the generator's own tests do.
// Every run writes the same bytes: nothing depends on the clock or on an
// unseeded generator, and each garden, picture, sound and song is made from
// its own definition alone, so making them side by side changes nothing.
#include "tools/datagen/FontFile.h"
#include "tools/datagen/GardenFiles.h"
#include "tools/datagen/LanguageFile.h"
#include "tools/datagen/MusicSequencer.h"
#include "tools/datagen/PictureFiles.h"
#include "tools/datagen/SoundEffects.h"

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
    const char *PARTS[] = {"gardens", "pictures", "sounds", "songs", "font", "texts"};
    std::set<std::string> parts;
    for (int i = 3; i < argc; i++)
        parts.insert(argv[i]);
    bool known = std::all_of(parts.begin(), parts.end(), [&](const std::string &p) {
        return std::find(std::begin(PARTS), std::end(PARTS), p) != std::end(PARTS);
    });
    if (argc < 3 || !known) {
        fprintf(stderr, "usage: %s <data sources> <Data folder> [gardens] [pictures] [sounds] [songs] [font] [texts]\n",
                argv[0]);
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
    std::vector<std::string> errors(GARDEN_COUNT), picture_errors, song_errors(SONG_COUNT), other_errors(3);
    std::vector<std::thread> workers;
    if (wanted("gardens"))
        for (int g = 0; g < GARDEN_COUNT; g++)
            workers.emplace_back([&, g] { GardenWriteFiles(g, source, out, &errors[(size_t)g]); });
    if (wanted("pictures"))
        workers.emplace_back([&] { PicturesWriteAll(source, out, &picture_errors); });
    if (wanted("songs"))
        for (int s = 0; s < SONG_COUNT; s++)
            workers.emplace_back([&, s] { SongWriteFile(s, source, out, &song_errors[(size_t)s]); });
    if (wanted("sounds"))
        workers.emplace_back([&] { SoundEffectsWriteFiles(out, &other_errors[0]); });
    if (wanted("font"))
        FontWriteFile(out, &other_errors[1]);
    if (wanted("texts"))
        LanguageFileWrite(source, out, &other_errors[2]);
    for (std::thread &worker : workers)
        worker.join();
    errors.insert(errors.end(), picture_errors.begin(), picture_errors.end());
    errors.insert(errors.end(), song_errors.begin(), song_errors.end());
    errors.insert(errors.end(), other_errors.begin(), other_errors.end());
    int result = 0;
    for (const std::string &error : errors) {
        if (!error.empty()) {
            fprintf(stderr, "datagen: %s\n", error.c_str());
            result = 1;
        }
    }
    return result;
}
