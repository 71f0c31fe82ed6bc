#include "tools/datagen/PictureFiles.h"

#include "tools/datagen/DataGenFiles.h"
#include "tools/datagen/DataPictureList.h"
#include "tools/datagen/PictureJob.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <mutex>
#include <thread>

namespace {

const DataPicture *FindPicture(const std::string &file)
{
    for (const DataPicture &p : DATA_PICTURES)
        if (file == p.file)
            return &p;
    return nullptr;
}

DataImageFormat ImageFormat(DataFormat format)
{
    switch (format) {
    case DataFormat::Tga:
        return DataImageFormat::Tga;
    case DataFormat::Jpeg:
        return DataImageFormat::Jpeg;
    case DataFormat::Png:
        break;
    }
    return DataImageFormat::Png;
}

// Every painted file of the list has exactly one job, and every job a file
// of the list.
bool CheckJobsCoverList(const std::vector<PictureJob> &jobs, std::vector<std::string> *errors)
{
    bool ok = true;
    for (const PictureJob &job : jobs) {
        const DataPicture *p = FindPicture(job.file);
        if (!p || p->maker != DataMaker::Pictures) {
            errors->push_back(job.file + ": painted, but not a painted file of the picture list");
            ok = false;
        }
    }
    for (const DataPicture &p : DATA_PICTURES) {
        if (p.maker != DataMaker::Pictures)
            continue;
        long count = std::count_if(jobs.begin(), jobs.end(), [&](const PictureJob &j) { return j.file == p.file; });
        if (count != 1) {
            errors->push_back(std::string(p.file) + ": painted " + std::to_string(count) + " times, not once");
            ok = false;
        }
    }
    return ok;
}

bool PaintOne(const PictureJob &job, const std::string &out_dir, std::string *error)
{
    const DataPicture *p = FindPicture(job.file);
    cairo_surface_t *surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, p->width, p->height);
    cairo_t *cr = cairo_create(surface);
    bool ok = job.paint(cr, p->width, p->height, error);
    if (ok && cairo_status(cr) != CAIRO_STATUS_SUCCESS) {
        *error = std::string("drawing failed: ") + cairo_status_to_string(cairo_status(cr));
        ok = false;
    }
    cairo_destroy(cr);
    if (ok)
        ok = DataGenWriteImage(surface, job.one_over_alpha ? DataImageFormat::PngOneOverAlpha : ImageFormat(p->format),
                               out_dir + "/" + job.file, error);
    else
        *error = job.file + ": " + *error;
    cairo_surface_destroy(surface);
    return ok;
}

bool CopyDescription(const DataDescription &d, const std::string &source_dir, const std::string &out_dir,
                     std::string *error)
{
    std::string source = source_dir + "/" + d.source;
    std::ifstream in(source, std::ios::binary);
    if (!in) {
        *error = source + ": cannot be read";
        return false;
    }
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::string why;
    if (!PicturesCheckDescription(text, &why)) {
        *error = source + ": " + why;
        return false;
    }
    return DataGenWriteFile(out_dir + "/" + d.file, text.data(), text.size(), error);
}

}  // namespace

bool PicturesCheckDescription(const std::string &text, std::string *error)
{
    nlohmann::json json = nlohmann::json::parse(text, nullptr, false);
    if (json.is_discarded() || !json.is_object()) {
        *error = "not a JSON object";
        return false;
    }
    if (!json.contains("Sets") && !json.contains("Layers")) {
        *error = "has neither \"Sets\" nor \"Layers\"";
        return false;
    }
    if (!json.contains("Textures") || !json["Textures"].is_array() || json["Textures"].empty()) {
        *error = "has no \"Textures\"";
        return false;
    }
    for (const nlohmann::json &t : json["Textures"]) {
        if (!t.is_object() || !t.contains("Path") || !t["Path"].is_string() || !t.contains("Filename") ||
            !t["Filename"].is_string()) {
            *error = "a texture without a \"Path\" and a \"Filename\"";
            return false;
        }
        std::string name = t["Filename"].get<std::string>();
        bool known = std::any_of(std::begin(DATA_TEXTURE_NAMES), std::end(DATA_TEXTURE_NAMES),
                                 [&](const DataTextureName &n) { return name == n.name; });
        if (!known) {
            *error = "texture \"" + name + "\" is not a name the game's texture hooks know";
            return false;
        }
    }
    return true;
}

bool PicturesWriteAll(const std::string &source_dir, const std::string &out_dir, std::vector<std::string> *errors)
{
    std::vector<PictureJob> jobs;
    BugPainterAddJobs(&jobs);
    WeaponPainterAddJobs(&jobs);
    InterfacePainterAddJobs(&jobs);
    SkinPainterAddJobs(&jobs);
    FlagPainterAddJobs(&jobs);
    AdPainterAddJobs(&jobs);
    if (!CheckJobsCoverList(jobs, errors))
        return false;

    for (const char *folder : {"Bugs", "Common", "IGA"}) {
        std::error_code failed;
        std::filesystem::create_directories(out_dir + "/" + folder, failed);
        if (failed) {
            errors->push_back(out_dir + "/" + folder + ": " + failed.message());
            return false;
        }
    }

    // Each picture depends on its job alone, so painting them side by side
    // gives the same bytes as one after another.
    std::atomic<size_t> next{0};
    std::mutex lock;
    bool ok = true;
    auto worker = [&] {
        for (size_t i = next++; i < jobs.size(); i = next++) {
            std::string error;
            if (!PaintOne(jobs[i], out_dir, &error)) {
                std::lock_guard<std::mutex> guard(lock);
                errors->push_back(error);
                ok = false;
            }
        }
    };
    unsigned count = std::max(1u, std::min(8u, std::thread::hardware_concurrency()));
    std::vector<std::thread> workers;
    for (unsigned t = 0; t < count; t++)
        workers.emplace_back(worker);
    for (std::thread &t : workers)
        t.join();

    for (const DataDescription &d : DATA_DESCRIPTIONS) {
        std::string error;
        if (!CopyDescription(d, source_dir, out_dir, &error)) {
            errors->push_back(error);
            ok = false;
        }
    }
    return ok;
}
