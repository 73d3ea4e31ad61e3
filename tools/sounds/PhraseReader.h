#pragma once
// Reads the notes of one channel within one section, written in a compact music-macro text:
//
//   c d e f g a b   a note; then + (sharp) or - (flat), a length (1 2 4 8 16 32 64, or
//                   3 6 12 24 48 for triplets) and dots; without a length, the default length
//   r               a rest, with a length like a note
//   &8              ties one more length onto the note or rest before
//   {d f+ a}8       an arpeggio over a chord, its tones written from the bottom up (each one
//                   is the nearest of its name above the one before)
//   o5 > <          octave (o4 holds middle C), one octave up, one down
//   l8 v12 q6       default length; volume 0-15; eighths of the length that the key is held
//   @lead           instrument
//   [ ... ]4        repeat what is between the brackets (closed on the same line)
//   |               bar line: the reader checks that it falls on the start of a bar
//
// On a drum channel the kit's letters stand for their instruments instead of notes. The state
// (octave, lengths, volume, instrument) carries from one line of the section to the next.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

constexpr int kTicksPerBar = 192;  // a whole note; 4/4 throughout

struct Hit {
    int64_t tick = 0;  // from the start of the section
    int64_t ticks = 0;
    int quantize = 8;          // eighths of `ticks` that the key is held
    std::vector<int> pitches;  // semitones, 60 = middle C; empty for a drum
    int instrument = -1;
    int volume = 15;
};

// What a channel's text may name: instruments by name, and for a drum channel its kit.
struct PhraseContext {
    const std::vector<std::string>* instrumentNames = nullptr;
    const std::vector<bool>* allowed = nullptr;  // instruments this channel can play
    std::vector<std::pair<char, int>> kit;       // letter, instrument; empty for a melodic channel
    int defaultInstrument = -1;
};

class PhraseReader {
public:
    explicit PhraseReader(const PhraseContext& context);

    // Reads one line of the channel's text. False on a fault, with error saying what and where
    // on the line.
    bool Read(std::string_view text, std::string& error);

    int64_t position() const { return cursor; }
    const std::vector<Hit>& hits() const { return found; }

private:
    bool ReadSpan(std::string_view text, std::string& error);
    bool ReadNote(std::string_view text, size_t& at, std::string& error);
    bool ReadChord(std::string_view text, size_t& at, std::string& error);
    bool ReadLength(std::string_view text, size_t& at, int64_t& ticks, std::string& error);
    bool ReadTie(std::string_view text, size_t& at, std::string& error);
    void AddHit(std::vector<int> pitches, int instrument, int64_t ticks);

    const PhraseContext& context;
    std::vector<Hit> found;
    int64_t cursor = 0;
    int octave = 4;
    int64_t defaultTicks = kTicksPerBar / 4;
    int volume = 15;
    int quantize = 8;
    int instrument;
    bool lastWasRest = true;
};
