#include "tools/sounds/Renderer.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <span>

#include "tools/sounds/Loudness.h"
#include "tools/sounds/Synth.h"

namespace {

constexpr int64_t kCutFade = kSampleRate * 3 / 1000;

// For each note, the samples from its start to the start of the next note of its channel, or
// -1 when none follows. In a loop the last note of a channel is followed by its first, one
// loop later.
std::vector<int64_t> TimeToNextNote(const Score& score)
{
    std::vector<int64_t> next(score.notes.size(), -1);
    std::vector<int> first(score.channelCount, -1);
    std::vector<int> previous(score.channelCount, -1);
    for (size_t i = 0; i < score.notes.size(); ++i) {
        int channel = score.notes[i].channel;
        if (previous[channel] >= 0)
            next[previous[channel]] = score.notes[i].start - score.notes[previous[channel]].start;
        else
            first[channel] = static_cast<int>(i);
        previous[channel] = static_cast<int>(i);
    }
    if (score.loops) {
        for (int channel = 0; channel < score.channelCount; ++channel) {
            if (previous[channel] < 0)
                continue;
            const Note& last = score.notes[previous[channel]];
            next[previous[channel]] = score.notes[first[channel]].start + score.length - last.start;
        }
    }
    return next;
}

double LevellingGain(const Score& score, const std::vector<double>& mix)
{
    std::span<const double> samples(mix);
    double peak = PeakLevel(samples);
    if (peak <= 0.0)
        return 0.0;
    double target = std::pow(10.0, score.targetDb / 20.0);
    double measured = score.levelling == Levelling::Peak ? peak : LoudestRms(samples);
    double ceiling = std::pow(10.0, kPeakCeilingDb / 20.0);
    return std::min(target / measured, ceiling / peak);
}

}  // namespace

std::vector<int16_t> Render(const Score& score)
{
    std::vector<int64_t> next = TimeToNextNote(score);
    std::vector<double> mix(static_cast<size_t>(score.length), 0.0);
    for (size_t i = 0; i < score.notes.size(); ++i) {
        const Note& note = score.notes[i];
        int64_t cut = next[i];
        int64_t limit = cut < 0 ? std::numeric_limits<int64_t>::max() : cut + kCutFade;
        std::vector<double> sound = RenderNote(score.instruments[note.instrument], note, limit);
        for (int64_t k = std::max<int64_t>(cut, 0); cut >= 0 && k < std::ssize(sound); ++k)
            sound[k] *= 1.0 - static_cast<double>(k - cut + 1) / (kCutFade + 1);

        if (score.loops) {
            for (size_t k = 0; k < sound.size(); ++k)
                mix[(note.start + k) % mix.size()] += sound[k];
        } else {
            mix.resize(std::max(mix.size(), note.start + sound.size()), 0.0);
            for (size_t k = 0; k < sound.size(); ++k)
                mix[note.start + k] += sound[k];
        }
    }

    double gain = LevellingGain(score, mix) * 32767.0;
    std::vector<int16_t> pcm(mix.size());
    for (size_t i = 0; i < mix.size(); ++i)
        pcm[i] = static_cast<int16_t>(std::clamp(std::lround(mix[i] * gain), -32768L, 32767L));
    if (!score.loops) {
        // The last release fades to nothing; what lies after the last audible sample is cut.
        while (pcm.size() > 1 && pcm.back() == 0)
            pcm.pop_back();
    }
    return pcm;
}
