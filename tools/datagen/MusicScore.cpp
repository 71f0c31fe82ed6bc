#include "tools/datagen/MusicScore.h"

#include <nlohmann/json.hpp>

#include <cctype>
#include <fstream>
#include <map>
#include <sstream>

namespace {

typedef nlohmann::json Json;

const double NORMAL_VELOCITY = 0.8, LOUD_VELOCITY = 1.0, SOFT_VELOCITY = 0.5;

// "C4" -> 60, "F#5" -> 78, "Bb3" -> 58; false when it is not a pitch.
bool ParsePitch(const std::string &text, int *note)
{
    static const int semitones[] = {9, 11, 0, 2, 4, 5, 7};  // A B C D E F G
    if (text.size() < 2 || text[0] < 'A' || text[0] > 'G')
        return false;
    int n = semitones[text[0] - 'A'];
    size_t at = 1;
    if (text[at] == '#' || text[at] == 'b') {
        n += text[at] == '#' ? 1 : -1;
        at++;
    }
    if (at + 1 != text.size() || !isdigit((unsigned char)text[at]))
        return false;
    *note = n + 12 * (text[at] - '0' + 1);
    return true;
}

struct BarPlace {
    const std::string *section;
    const std::string *track;
    size_t bar;
};

std::string Where(const BarPlace &place)
{
    return "section " + *place.section + ", track " + *place.track + ", bar " + std::to_string(place.bar + 1);
}

// Appends the events of one bar starting at `bar_start` seconds.
bool ParseBar(const std::string &bar, const BarPlace &place, bool drums, int steps_per_bar, double step_seconds,
              double bar_start, MusicTrack *track, std::string *error)
{
    std::istringstream in(bar);
    std::string event;
    int at = 0, steps = 4;
    while (in >> event) {
        double velocity = NORMAL_VELOCITY;
        if (event.back() == '!' || event.back() == '?') {
            velocity = event.back() == '!' ? LOUD_VELOCITY : SOFT_VELOCITY;
            event.pop_back();
        }
        std::string notes = event;
        size_t colon = event.find(':');
        if (colon != std::string::npos) {
            notes = event.substr(0, colon);
            std::string count = event.substr(colon + 1);
            if (count.empty() || count.size() > 3 || count.find_first_not_of("0123456789") != std::string::npos ||
                std::stoi(count) < 1) {
                *error = Where(place) + ": bad length in \"" + event + "\"";
                return false;
            }
            steps = std::stoi(count);
        }
        if (notes != "-") {
            std::istringstream parts(notes);
            std::string part;
            bool any = false;
            while (std::getline(parts, part, '+')) {
                int pitch;
                if (drums ? part.size() == 1 && InstrumentIsDrum(part[0]) : ParsePitch(part, &pitch)) {
                    if (drums)
                        pitch = part[0];
                    track->notes.push_back({bar_start + at * step_seconds, steps * step_seconds, pitch, velocity});
                    any = true;
                } else {
                    *error = Where(place) + ": \"" + part + "\" is not a " + (drums ? "drum" : "pitch");
                    return false;
                }
            }
            if (!any) {
                *error = Where(place) + ": empty event \"" + event + "\"";
                return false;
            }
        }
        at += steps;
    }
    if (at != steps_per_bar) {
        *error =
            Where(place) + ": the bar holds " + std::to_string(at) + " steps, not " + std::to_string(steps_per_bar);
        return false;
    }
    return true;
}

}  // namespace

bool MusicScoreParse(const std::string &text, MusicScore *score, std::string *error)
{
    Json json = Json::parse(text, nullptr, false);
    if (json.is_discarded() || !json.is_object()) {
        *error = "not a JSON object";
        return false;
    }
    try {
        score->title = json.at("title").get<std::string>();
        score->tempo = json.at("tempo").get<double>();
        score->beats_per_bar = json.at("beats_per_bar").get<int>();
        score->loudness = json.at("loudness").get<double>();
        score->reverb_room = json.at("reverb").at("room").get<double>();
        score->reverb_damping = json.at("reverb").at("damping").get<double>();
        if (score->tempo < 30.0 || score->tempo > 300.0 || score->beats_per_bar < 1 || score->beats_per_bar > 12) {
            *error = "tempo or bar length out of range";
            return false;
        }
        const double step_seconds = 60.0 / score->tempo / 4.0;
        const int steps_per_bar = score->beats_per_bar * 4;
        const double bar_seconds = steps_per_bar * step_seconds;

        std::map<std::string, size_t> track_index;
        score->tracks.clear();
        for (const auto &item : json.at("instruments").items()) {
            MusicTrack track;
            track.name = item.key();
            std::string voice = item.value().at("voice").get<std::string>();
            if (!InstrumentVoiceFromName(voice, &track.voice)) {
                *error = "instrument " + track.name + ": unknown voice \"" + voice + "\"";
                return false;
            }
            track.volume = item.value().at("volume").get<double>();
            track.pan = item.value().value("pan", 0.0);
            track.reverb = item.value().value("reverb", 0.0);
            track_index[track.name] = score->tracks.size();
            score->tracks.push_back(track);
        }

        const Json &sections = json.at("sections");
        double start = 0.0;
        for (const Json &name_json : json.at("form")) {
            std::string name = name_json.get<std::string>();
            if (!sections.contains(name)) {
                *error = "the form names a missing section " + name;
                return false;
            }
            size_t bars = 0;
            bool first = true;
            for (const auto &part : sections.at(name).items()) {
                auto found = track_index.find(part.key());
                if (found == track_index.end()) {
                    *error = "section " + name + " plays an unknown instrument " + part.key();
                    return false;
                }
                MusicTrack &track = score->tracks[found->second];
                if (!first && part.value().size() != bars) {
                    *error = "section " + name + ": track " + part.key() + " has " +
                             std::to_string(part.value().size()) + " bars, not " + std::to_string(bars);
                    return false;
                }
                first = false;
                bars = part.value().size();
                for (size_t b = 0; b < bars; b++) {
                    BarPlace place = {&name, &track.name, b};
                    if (!ParseBar(part.value()[b].get<std::string>(), place, track.voice == IV_DRUMS, steps_per_bar,
                                  step_seconds, start + b * bar_seconds, &track, error))
                        return false;
                }
            }
            start += bars * bar_seconds;
        }
        score->length = start;
        if (score->length <= 0.0) {
            *error = "the song is empty";
            return false;
        }
    } catch (const Json::exception &e) {
        *error = std::string("bad score: ") + e.what();
        return false;
    }
    return true;
}

bool MusicScoreRead(const std::string &path, MusicScore *score, std::string *error)
{
    std::ifstream in(path);
    if (!in) {
        *error = path + ": cannot be read";
        return false;
    }
    std::stringstream text;
    text << in.rdbuf();
    if (!MusicScoreParse(text.str(), score, error)) {
        *error = path + ": " + *error;
        return false;
    }
    return true;
}
