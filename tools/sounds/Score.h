#pragma once
// A clip as the synthesiser sees it: the instruments, every note laid out in samples, and how
// loud the finished clip should be. ScoreReader builds one from a text source; Render turns it
// into PCM.

#include <cstdint>
#include <string>
#include <vector>

constexpr int kSampleRate = 22050;

// The voices of the chip: two pulse channels, a triangle and a noise generator ("metal" is the
// noise generator's short, ringing sequence).
enum class Wave { Pulse, Triangle, Noise, Metal };

// Times are in seconds, pitches in semitones, levels from 0 to 1. A negative dutyEnd means the
// duty cycle stays where it starts.
struct Instrument {
    std::string name;
    Wave wave = Wave::Pulse;
    double volume = 1.0;
    double duty = 0.5;
    double dutyEnd = -1.0;
    double dutyTime = 0.0;
    double attack = 0.002;
    double decay = 0.0;  // time to fall to the sustain level; 0 holds full level
    double sustain = 1.0;
    double release = 0.02;
    double vibratoRate = 0.0;   // Hz
    double vibratoDepth = 0.0;  // semitones either way
    double vibratoDelay = 0.0;
    double glideFrom = 0.0;  // the note starts this far from its pitch and slides onto it
    double glideTime = 0.0;
    double sweep = 0.0;          // semitones per second, for as long as the note sounds
    double arpeggioStep = 0.04;  // how long each tone of a chord sounds in turn
    double noiseRate = 0.0;      // clock of the noise generator in Hz (noise instruments only)
};

struct Note {
    int channel = 0;
    int instrument = 0;
    int64_t start = 0;            // samples from the start of the clip
    int64_t gate = 0;             // samples the key is held; the release follows
    std::vector<double> pitches;  // semitones, 69 = A 440 Hz; several make an arpeggio
    double level = 1.0;           // note volume times channel gain
};

// How the clip is levelled: its highest peak, or its loudest short stretch (effects, so they
// match one another), in dB below full scale.
enum class Levelling { Peak, Loudness };

struct Score {
    std::string name;
    std::vector<Instrument> instruments;
    std::vector<Note> notes;  // in order of start
    int channelCount = 0;
    int64_t length = 0;  // samples up to the end of the last bar
    bool loops = false;  // a looping clip is exactly `length` long and wraps its tails around
    Levelling levelling = Levelling::Peak;
    double targetDb = -2.0;
};
