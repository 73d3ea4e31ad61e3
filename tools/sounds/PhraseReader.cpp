#include "tools/sounds/PhraseReader.h"

#include <cctype>

namespace {

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Reads a run of digits at `at` into value. False when there is none or it is absurdly long.
bool ReadNumber(std::string_view text, size_t& at, int& value)
{
    size_t begin = at;
    value = 0;
    while (at < text.size() && IsDigit(text[at]) && at - begin < 6)
        value = value * 10 + (text[at++] - '0');
    return at > begin && !(at < text.size() && IsDigit(text[at]));
}

// Semitones above C of a note letter, or -1.
int PitchClass(char letter)
{
    switch (letter) {
    case 'c': return 0;
    case 'd': return 2;
    case 'e': return 4;
    case 'f': return 5;
    case 'g': return 7;
    case 'a': return 9;
    case 'b': return 11;
    default: return -1;
    }
}

int Accidental(std::string_view text, size_t& at)
{
    if (at < text.size() && text[at] == '+') {
        ++at;
        return 1;
    }
    if (at < text.size() && text[at] == '-') {
        ++at;
        return -1;
    }
    return 0;
}

std::string Quote(std::string_view text, size_t at)
{
    size_t end = at;
    while (end < text.size() && !std::isspace(static_cast<unsigned char>(text[end])))
        ++end;
    return "'" + std::string(text.substr(at, end - at)) + "'";
}

}  // namespace

PhraseReader::PhraseReader(const PhraseContext& context)
    : context(context), instrument(context.defaultInstrument)
{
}

bool PhraseReader::Read(std::string_view text, std::string& error)
{
    return ReadSpan(text, error);
}

bool PhraseReader::ReadSpan(std::string_view text, std::string& error)
{
    size_t at = 0;
    while (at < text.size()) {
        char c = text[at];
        if (std::isspace(static_cast<unsigned char>(c))) {
            ++at;
            continue;
        }
        size_t start = at;
        bool isDrum = false;
        for (auto& [letter, drum] : context.kit)
            isDrum = isDrum || letter == c;
        if (isDrum || PitchClass(c) >= 0) {
            if (!ReadNote(text, at, error))
                return false;
            continue;
        }
        int value = 0;
        switch (c) {
        case 'r': {
            int64_t ticks = 0;
            ++at;
            if (!ReadLength(text, at, ticks, error))
                return false;
            cursor += ticks;
            lastWasRest = true;
            break;
        }
        case '{':
            if (!ReadChord(text, at, error))
                return false;
            break;
        case '&':
            if (!ReadTie(text, at, error))
                return false;
            break;
        case 'o':
            ++at;
            if (!ReadNumber(text, at, value) || value > 8) {
                error = "octave " + Quote(text, start) + " is not o0 to o8";
                return false;
            }
            octave = value;
            break;
        case '>':
        case '<':
            ++at;
            octave += c == '>' ? 1 : -1;
            if (octave < 0 || octave > 8) {
                error = "'" + std::string(1, c) + "' takes the octave outside o0 to o8";
                return false;
            }
            break;
        case 'l':
            ++at;
            if (at >= text.size() || !IsDigit(text[at])) {
                error = "default length " + Quote(text, start) + " has no number";
                return false;
            }
            if (!ReadLength(text, at, defaultTicks, error))
                return false;
            break;
        case 'v':
            ++at;
            if (!ReadNumber(text, at, value) || value > 15) {
                error = "volume " + Quote(text, start) + " is not v0 to v15";
                return false;
            }
            volume = value;
            break;
        case 'q':
            ++at;
            if (!ReadNumber(text, at, value) || value < 1 || value > 8) {
                error = "gate " + Quote(text, start) + " is not q1 to q8";
                return false;
            }
            quantize = value;
            break;
        case '@': {
            ++at;
            size_t end = at;
            while (end < text.size() && (std::isalnum(static_cast<unsigned char>(text[end])) ||
                                         text[end] == '-' || text[end] == '_'))
                ++end;
            std::string_view name = text.substr(at, end - at);
            const auto& names = *context.instrumentNames;
            int index = -1;
            for (size_t i = 0; i < names.size(); ++i)
                if (names[i] == name)
                    index = static_cast<int>(i);
            if (index < 0) {
                error = "no instrument named '" + std::string(name) + "'";
                return false;
            }
            if (!(*context.allowed)[index]) {
                error = "instrument '" + std::string(name) + "' cannot play on this channel";
                return false;
            }
            instrument = index;
            at = end;
            break;
        }
        case '[': {
            int depth = 0;
            size_t close = at;
            for (; close < text.size(); ++close) {
                depth += text[close] == '[' ? 1 : text[close] == ']' ? -1 : 0;
                if (depth == 0)
                    break;
            }
            if (close >= text.size()) {
                error = "'[' is not closed on this line";
                return false;
            }
            size_t after = close + 1;
            int count = 2;
            if (after < text.size() && IsDigit(text[after]) &&
                (!ReadNumber(text, after, count) || count < 1 || count > 64)) {
                error = "repeat count after ']' is not 1 to 64";
                return false;
            }
            std::string_view body = text.substr(at + 1, close - at - 1);
            for (int i = 0; i < count; ++i)
                if (!ReadSpan(body, error))
                    return false;
            at = after;
            break;
        }
        case '|':
            ++at;
            if (cursor % kTicksPerBar != 0) {
                int64_t sixteenths = cursor % kTicksPerBar * 16 / kTicksPerBar;
                error = "bar line falls " + std::to_string(sixteenths) + "/16 into a bar (bar " +
                        std::to_string(cursor / kTicksPerBar + 1) + " of the section)";
                return false;
            }
            break;
        default: error = "unexpected " + Quote(text, start); return false;
        }
    }
    return true;
}

bool PhraseReader::ReadNote(std::string_view text, size_t& at, std::string& error)
{
    size_t start = at;
    char letter = text[at++];
    std::vector<int> pitches;
    int sound = instrument;
    bool isDrum = false;
    for (auto& [kitLetter, drum] : context.kit) {
        if (kitLetter == letter) {
            sound = drum;
            isDrum = true;
        }
    }
    if (!isDrum) {
        if (!context.kit.empty()) {
            error = Quote(text, start) + " is not a drum of this channel's kit";
            return false;
        }
        int pitch = (octave + 1) * 12 + PitchClass(letter) + Accidental(text, at);
        pitches.push_back(pitch);
    }
    if (sound < 0) {
        error = "note " + Quote(text, start) + " comes before any instrument (@name)";
        return false;
    }
    int64_t ticks = 0;
    if (!ReadLength(text, at, ticks, error))
        return false;
    AddHit(std::move(pitches), sound, ticks);
    return true;
}

bool PhraseReader::ReadChord(std::string_view text, size_t& at, std::string& error)
{
    if (!context.kit.empty()) {
        error = "a drum channel cannot play chords";
        return false;
    }
    if (instrument < 0) {
        error = "chord comes before any instrument (@name)";
        return false;
    }
    size_t start = at++;
    std::vector<int> pitches;
    while (at < text.size() && text[at] != '}') {
        char c = text[at];
        if (std::isspace(static_cast<unsigned char>(c))) {
            ++at;
            continue;
        }
        if (PitchClass(c) < 0) {
            error = "chord " + Quote(text, start) + " holds something that is not a note";
            return false;
        }
        ++at;
        int pitch = (octave + 1) * 12 + PitchClass(c) + Accidental(text, at);
        while (!pitches.empty() && pitch <= pitches.back())
            pitch += 12;
        pitches.push_back(pitch);
    }
    if (at >= text.size() || pitches.empty()) {
        error = "chord " + Quote(text, start) + " is empty or not closed with '}'";
        return false;
    }
    ++at;
    int64_t ticks = 0;
    if (!ReadLength(text, at, ticks, error))
        return false;
    AddHit(std::move(pitches), instrument, ticks);
    return true;
}

bool PhraseReader::ReadLength(std::string_view text, size_t& at, int64_t& ticks, std::string& error)
{
    ticks = defaultTicks;
    if (at < text.size() && IsDigit(text[at])) {
        size_t start = at;
        int divisor = 0;
        if (!ReadNumber(text, at, divisor) || divisor == 0 || kTicksPerBar % divisor != 0) {
            error = "length " + Quote(text, start) + " is not a whole, half, quarter... note";
            return false;
        }
        ticks = kTicksPerBar / divisor;
    }
    int64_t part = ticks;
    while (at < text.size() && text[at] == '.') {
        ++at;
        if (part % 2 != 0) {
            error = "too many dots for this length";
            return false;
        }
        part /= 2;
        ticks += part;
    }
    return true;
}

bool PhraseReader::ReadTie(std::string_view text, size_t& at, std::string& error)
{
    ++at;
    if (at >= text.size() || !IsDigit(text[at])) {
        error = "'&' must be followed by a length";
        return false;
    }
    int64_t ticks = 0;
    if (!ReadLength(text, at, ticks, error))
        return false;
    if (!lastWasRest && !found.empty())
        found.back().ticks += ticks;
    cursor += ticks;
    return true;
}

void PhraseReader::AddHit(std::vector<int> pitches, int sound, int64_t ticks)
{
    found.push_back({cursor, ticks, quantize, std::move(pitches), sound, volume});
    cursor += ticks;
    lastWasRest = false;
}
