#pragma once
// Measures of how loud a clip is, used both to level what the synthesiser makes and to check
// what the encoder gave back. Samples are full scale at 1.0 (doubles) or 32768 (16-bit).

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <span>

// Effects are levelled by their loudest 30 ms: long enough to hear as loudness, short enough
// that a 50 ms pop is measured by its body and not by the silence after it.
constexpr size_t kLoudnessWindow = 662;

inline double FullScale(double)
{
    return 1.0;
}
inline double FullScale(int16_t)
{
    return 32768.0;
}

inline double ToDb(double ratio)
{
    return 20.0 * std::log10(std::max(ratio, 1e-9));
}

// The highest absolute sample, as a fraction of full scale.
template <typename Sample>
double PeakLevel(std::span<const Sample> samples)
{
    double peak = 0.0;
    for (Sample s : samples)
        peak = std::max(peak, std::abs(static_cast<double>(s)));
    return samples.empty() ? 0.0 : peak / FullScale(samples[0]);
}

// The highest RMS over any window of `window` samples (stepped a quarter window at a time), as
// a fraction of full scale. A clip shorter than the window is measured whole.
template <typename Sample>
double LoudestRms(std::span<const Sample> samples, size_t window = kLoudnessWindow)
{
    if (samples.empty())
        return 0.0;
    window = std::min(window, samples.size());
    size_t hop = std::max<size_t>(1, window / 4);
    double loudest = 0.0;
    for (size_t start = 0; start + window <= samples.size(); start += hop) {
        double sum = 0.0;
        for (size_t i = start; i < start + window; ++i)
            sum += static_cast<double>(samples[i]) * samples[i];
        loudest = std::max(loudest, sum / window);
    }
    return std::sqrt(loudest) / FullScale(samples[0]);
}
