#include "tools/sounds/Synth.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

// The shortest attack and release the voices allow: anything quicker clicks.
constexpr double kShortestAttack = 0.0005;
constexpr double kShortestRelease = 0.002;
// Exponential segments reach 1% of their distance (-40 dB) at their nominal time.
constexpr double kSegmentRate = 4.6;
// Vibrato fades in over this long once its delay has passed.
constexpr double kVibratoFadeIn = 0.15;

double Frequency(double semitones)
{
    return 440.0 * std::exp2((semitones - 69.0) / 12.0);
}

// Correction for a unit step that the naive waveform takes at phase 0; phase advances by
// `step` per sample. Removes most of the aliasing of a hard edge.
double PolyBlep(double phase, double step)
{
    if (phase < step) {
        double t = phase / step;
        return t + t - t * t - 1.0;
    }
    if (phase > 1.0 - step) {
        double t = (phase - 1.0) / step;
        return t * t + t + t + 1.0;
    }
    return 0.0;
}

class Pulse {
public:
    // High for `duty` of each period; centred so that its average is zero.
    double Next(double frequency, double duty)
    {
        double step = frequency / kSampleRate;
        double value = (phase < duty ? 1.0 : 0.0) - duty;
        value += 0.5 * PolyBlep(phase, step);
        double sinceFall = phase - duty;
        value -= 0.5 * PolyBlep(sinceFall < 0 ? sinceFall + 1.0 : sinceFall, step);
        phase += step;
        phase -= std::floor(phase);
        return value;
    }

private:
    double phase = 0.0;
};

class Triangle {
public:
    // Sixteen levels down and sixteen up, as a 4-bit converter would give them.
    double Next(double frequency)
    {
        int position = static_cast<int>(phase * 32.0);
        int level = position < 16 ? 15 - position : position - 16;
        phase += frequency / kSampleRate;
        phase -= std::floor(phase);
        return level / 15.0 - 0.5;
    }

private:
    double phase = 0.0;
};

class Noise {
public:
    // A 15-bit shift register clocked at `rate`; taps 0 and 1 give a long hiss, taps 0 and 6
    // a short, ringing sequence. Every note starts from the same state, so every hit of a
    // drum sounds the same and a clip renders identically each time.
    explicit Noise(bool ringing) : tap(ringing ? 6 : 1) {}

    double Next(double rate)
    {
        clock += std::min(rate / kSampleRate, 8.0);
        while (clock >= 1.0) {
            unsigned feedback = (bits ^ (bits >> tap)) & 1u;
            bits = static_cast<uint16_t>((bits >> 1) | (feedback << 14));
            clock -= 1.0;
        }
        return (bits & 1u) ? -0.5 : 0.5;
    }

private:
    int tap;
    uint16_t bits = 1;
    double clock = 0.0;
};

double EnvelopeWhileHeld(const Instrument& instrument, double t)
{
    double attack = std::max(instrument.attack, kShortestAttack);
    if (t < attack)
        return t / attack;
    if (instrument.decay <= 0.0)
        return 1.0;
    double fall = std::exp(-kSegmentRate * (t - attack) / instrument.decay);
    return instrument.sustain + (1.0 - instrument.sustain) * fall;
}

double Envelope(const Instrument& instrument, double t, double gate)
{
    if (t <= gate)
        return EnvelopeWhileHeld(instrument, t);
    double release = std::max(instrument.release, kShortestRelease);
    double since = t - gate;
    if (since >= release)
        return 0.0;
    // Exponential like a real release, pulled to exactly zero at its end.
    double fall = std::exp(-kSegmentRate * since / release) * (1.0 - since / release);
    return EnvelopeWhileHeld(instrument, gate) * fall;
}

// Semitones added to the note's own pitch at time t: the glide onto the note, the sweep and
// the vibrato.
double PitchOffset(const Instrument& instrument, double t)
{
    double offset = instrument.sweep * t;
    if (instrument.glideTime > 0.0 && t < instrument.glideTime)
        offset += instrument.glideFrom * (1.0 - t / instrument.glideTime);
    double vibratoTime = t - instrument.vibratoDelay;
    if (instrument.vibratoDepth > 0.0 && vibratoTime > 0.0) {
        double fadeIn = std::min(1.0, vibratoTime / kVibratoFadeIn);
        offset += instrument.vibratoDepth * fadeIn *
                  std::sin(2.0 * std::numbers::pi * instrument.vibratoRate * vibratoTime);
    }
    return offset;
}

double Duty(const Instrument& instrument, double t)
{
    if (instrument.dutyEnd < 0.0)
        return instrument.duty;
    double progress = instrument.dutyTime > 0.0 ? std::min(1.0, t / instrument.dutyTime) : 1.0;
    return instrument.duty + (instrument.dutyEnd - instrument.duty) * progress;
}

}  // namespace

double SoundingTime(const Instrument& instrument, double gate)
{
    return gate + std::max(instrument.release, kShortestRelease);
}

std::vector<double> RenderNote(const Instrument& instrument, const Note& note, int64_t samples)
{
    double gate = static_cast<double>(note.gate) / kSampleRate;
    int64_t sounding =
        static_cast<int64_t>(std::ceil(SoundingTime(instrument, gate) * kSampleRate));
    std::vector<double> out(static_cast<size_t>(std::min(samples, sounding)));

    Pulse pulse;
    Triangle triangle;
    Noise noise(instrument.wave == Wave::Metal);
    double level = note.level * instrument.volume;
    for (size_t i = 0; i < out.size(); ++i) {
        double t = static_cast<double>(i) / kSampleRate;
        double offset = PitchOffset(instrument, t);
        double value = 0.0;
        if (instrument.wave == Wave::Noise || instrument.wave == Wave::Metal) {
            value = noise.Next(instrument.noiseRate * std::exp2(offset / 12.0));
        } else {
            size_t tone = static_cast<size_t>(t / instrument.arpeggioStep) % note.pitches.size();
            double frequency = std::min(Frequency(note.pitches[tone] + offset), 0.45 * kSampleRate);
            value = instrument.wave == Wave::Pulse ? pulse.Next(frequency, Duty(instrument, t))
                                                   : triangle.Next(frequency);
        }
        out[i] = value * level * Envelope(instrument, t, gate);
    }
    return out;
}
