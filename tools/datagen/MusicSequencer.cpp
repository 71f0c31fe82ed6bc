#include "tools/datagen/MusicSequencer.h"

#include "tools/datagen/OggWriter.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <tuple>

namespace {

const double SQRT2 = 1.4142135623730951;
// How long the room rings on after the last note has died away.
const double ROOM_TAIL_SECONDS = 4.0;
// The fade at the loop's ends.
const double SEAM_FADE_SECONDS = 0.004;
// Highest sample before encoding; the encoder may add a little on top.
const double SONG_PEAK = 0.85;
const double SONG_QUALITY = 0.4;

struct SongFile {
    const char *score;
    const char *data_file;
};
const SongFile SONGS[SONG_COUNT] = {
    {"main.json", "1595.dat"}, {"gameover.json", "1596.dat"}, {"gamewon.json", "1597.dat"}};

// Repeated notes sound the same, so each distinct one is made once.
class NoteCache {
public:
    const SynthBuffer &Get(InstrumentVoice voice, int pitch, double held, double velocity)
    {
        auto key = std::make_tuple((int)voice, pitch, std::lround(held * 1000.0), std::lround(velocity * 1000.0));
        auto found = m_notes.find(key);
        if (found != m_notes.end())
            return found->second;
        return m_notes[key] = InstrumentNote(voice, InstrumentFrequency(pitch), held, velocity);
    }

private:
    std::map<std::tuple<int, int, long, long>, SynthBuffer> m_notes;
};

// Each drum hit differs a little in level and noise, as a player's would.
SynthBuffer DrumHit(const MusicNote &note, size_t index, uint64_t track_seed)
{
    DataGenRandom random(track_seed * 0x9E3779B97F4A7C15ull + index);
    double velocity = note.velocity * random.Range(0.92, 1.0);
    return InstrumentDrum((char)note.pitch, velocity, random.Next());
}

}  // namespace

SynthBuffer MusicRender(const MusicScore &score)
{
    size_t loop = SynthFrames(score.length);
    SynthBuffer mix(loop + SynthFrames(ROOM_TAIL_SECONDS));
    std::vector<float> send(mix.Frames(), 0.0f);
    NoteCache cache;
    for (size_t t = 0; t < score.tracks.size(); t++) {
        const MusicTrack &track = score.tracks[t];
        SynthBuffer part;
        for (size_t n = 0; n < track.notes.size(); n++) {
            const MusicNote &note = track.notes[n];
            size_t at = SynthFrames(note.start);
            if (track.voice == IV_DRUMS)
                part.AddBuffer(DrumHit(note, n, t + 1), at, 1.0);
            else
                part.AddBuffer(
                    cache.Get(track.voice, note.pitch, note.length * InstrumentGate(track.voice), note.velocity), at,
                    1.0);
        }
        double left, right;
        SynthPanGains(track.pan, &left, &right);
        left *= SQRT2 * track.volume;
        right *= SQRT2 * track.volume;
        // A note may ring on past the loop's end; the room rings longer.
        mix.Reserve(part.Frames() + SynthFrames(ROOM_TAIL_SECONDS));
        send.resize(mix.Frames(), 0.0f);
        for (size_t i = 0; i < part.Frames(); i++) {
            mix.left[i] += (float)(part.left[i] * left);
            mix.right[i] += (float)(part.right[i] * right);
            send[i] += (float)((part.left[i] + part.right[i]) * 0.5 * track.volume * track.reverb);
        }
    }
    SynthReverb room(score.reverb_room, score.reverb_damping);
    room.Process(send, &mix, 1.0);
    SynthRemoveDc(&mix.left);
    SynthRemoveDc(&mix.right);

    // Lay what rings past the end over the start: the loop as it sounds the
    // second time round.
    for (size_t i = loop; i < mix.Frames(); i++) {
        mix.left[(i - loop) % loop] += mix.left[i];
        mix.right[(i - loop) % loop] += mix.right[i];
    }
    mix.left.resize(loop);
    mix.right.resize(loop);
    SynthFadeEnds(&mix, SEAM_FADE_SECONDS, SEAM_FADE_SECONDS);

    double gain = std::pow(10.0, (score.loudness - SynthLoudness(mix, 0.0)) / 20.0);
    double peak = mix.Peak();
    if (peak * gain > SONG_PEAK)
        gain = SONG_PEAK / peak;
    mix.Scale(gain);
    return mix;
}

bool SongWriteFile(int song, const std::string &source_dir, const std::string &out_dir, std::string *error)
{
    if (song < 0 || song >= SONG_COUNT) {
        *error = "no song " + std::to_string(song);
        return false;
    }
    MusicScore score;
    if (!MusicScoreRead(source_dir + "/music/" + SONGS[song].score, &score, error))
        return false;
    SynthBuffer recording = MusicRender(score);
    return OggWriteFile(out_dir + "/" + SONGS[song].data_file, recording, SONG_QUALITY, score.title, error);
}
