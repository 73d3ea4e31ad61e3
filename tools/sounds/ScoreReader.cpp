#include "tools/sounds/ScoreReader.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <vector>

#include "platform/Text.h"
#include "tools/sounds/PhraseReader.h"

namespace {

struct Setting {
    const char* key;
    const char* unit;
    double scale;  // from the unit written to the one the synthesiser uses
    double Instrument::*field;
};

constexpr Setting kSettings[] = {
    {"volume", "%", 0.01, &Instrument::volume},
    {"duty", "%", 0.01, &Instrument::duty},
    {"duty-end", "%", 0.01, &Instrument::dutyEnd},
    {"duty-time", "ms", 0.001, &Instrument::dutyTime},
    {"attack", "ms", 0.001, &Instrument::attack},
    {"decay", "ms", 0.001, &Instrument::decay},
    {"sustain", "%", 0.01, &Instrument::sustain},
    {"release", "ms", 0.001, &Instrument::release},
    {"vibrato-rate", "Hz", 1.0, &Instrument::vibratoRate},
    {"vibrato-depth", "c", 0.01, &Instrument::vibratoDepth},
    {"vibrato-delay", "ms", 0.001, &Instrument::vibratoDelay},
    {"glide-from", "st", 1.0, &Instrument::glideFrom},
    {"glide-time", "ms", 0.001, &Instrument::glideTime},
    {"sweep", "st/s", 1.0, &Instrument::sweep},
    {"arpeggio-step", "ms", 0.001, &Instrument::arpeggioStep},
    {"rate", "Hz", 1.0, &Instrument::noiseRate},
};

struct Channel {
    std::string name;
    Wave kind = Wave::Pulse;
    double gain = 1.0;
    PhraseContext context;
    std::vector<bool> allowed;
};

struct Section {
    std::string name;
    std::vector<std::vector<Hit>> hits;  // per channel
    int64_t ticks = 0;
};

std::vector<std::string_view> Words(std::string_view line)
{
    std::vector<std::string_view> words;
    size_t at = 0;
    while (at < line.size()) {
        while (at < line.size() && std::isspace(static_cast<unsigned char>(line[at])))
            ++at;
        size_t begin = at;
        while (at < line.size() && !std::isspace(static_cast<unsigned char>(line[at])))
            ++at;
        if (at > begin)
            words.push_back(line.substr(begin, at - begin));
    }
    return words;
}

// A number followed by exactly the given unit, as in "-2dB" or "25%".
bool ParseQuantity(std::string_view text, std::string_view unit, double& value)
{
    std::string copy(text);
    char* end = nullptr;
    value = std::strtod(copy.c_str(), &end);
    return end != copy.c_str() && std::string_view(end) == unit && std::isfinite(value);
}

bool SplitSetting(std::string_view word, std::string_view& key, std::string_view& value)
{
    size_t equals = word.find('=');
    if (equals == std::string_view::npos || equals == 0 || equals + 1 == word.size())
        return false;
    key = word.substr(0, equals);
    value = word.substr(equals + 1);
    return true;
}

bool CanPlay(Wave channel, Wave instrument)
{
    if (channel == Wave::Noise)
        return instrument == Wave::Noise || instrument == Wave::Metal;
    return channel == instrument;
}

class Reader {
public:
    Reader(const std::string& fileName, Score& score) : fileName(fileName), score(score) {}

    bool Line(std::string_view line, int number);
    bool Finish();

    std::string error;

private:
    bool Fail(const std::string& message)
    {
        error = fileName + ":" + std::to_string(lineNumber) + ": " + message;
        return false;
    }
    bool Tempo(const std::vector<std::string_view>& words);
    bool Play(const std::vector<std::string_view>& words);
    bool Level(const std::vector<std::string_view>& words);
    bool DefineInstrument(const std::vector<std::string_view>& words);
    bool Configure(const std::vector<std::string_view>& words, size_t first);
    bool CheckInstrument();
    bool DefineChannel(const std::vector<std::string_view>& words);
    bool DefineKit(const std::vector<std::string_view>& words);
    bool OpenSection(const std::vector<std::string_view>& words);
    bool CloseSection();
    bool ChannelLine(int channel, std::string_view text);
    bool Order(const std::vector<std::string_view>& words);
    int FindChannel(std::string_view name) const;
    int FindInstrument(std::string_view name) const;
    bool Declaring(std::string_view what);
    int64_t SampleAt(int64_t tick) const;

    std::string fileName;
    Score& score;
    int lineNumber = 0;
    int tempo = 0;
    int instrumentLine = 0;  // while an instrument's settings may still go on, its first line
    std::vector<std::string> instrumentNames;
    std::vector<Channel> channels;
    std::vector<Section> sections;
    std::vector<std::string> order;
    bool inSection = false;
    std::vector<std::unique_ptr<PhraseReader>> phrases;
};

bool Reader::Line(std::string_view line, int number)
{
    lineNumber = number;
    line = line.substr(0, line.find('#'));
    bool indented = !line.empty() && std::isspace(static_cast<unsigned char>(line[0]));
    line = Trim(line);
    if (line.empty())
        return true;
    // An indented line of settings carries on the instrument above it.
    if (indented && instrumentLine != 0 && line.find(':') == std::string_view::npos)
        return Configure(Words(line), 0);
    if (!CheckInstrument())
        return false;
    lineNumber = number;

    size_t colon = line.find(':');
    if (colon != std::string_view::npos && Words(line.substr(0, colon)).size() == 1) {
        std::string_view name = Trim(line.substr(0, colon));
        int channel = FindChannel(name);
        if (channel < 0)
            return Fail("no channel named '" + std::string(name) + "'");
        if (!inSection)
            return Fail("notes for '" + std::string(name) + "' outside any section");
        return ChannelLine(channel, line.substr(colon + 1));
    }

    std::vector<std::string_view> words = Words(line);
    std::string_view directive = words[0];
    if (directive == "tempo")
        return Tempo(words);
    if (directive == "play")
        return Play(words);
    if (directive == "level")
        return Level(words);
    if (directive == "instrument")
        return DefineInstrument(words);
    if (directive == "channel")
        return DefineChannel(words);
    if (directive == "kit")
        return DefineKit(words);
    if (directive == "section")
        return OpenSection(words);
    if (directive == "order")
        return Order(words);
    return Fail("unknown directive '" + std::string(directive) + "'");
}

bool Reader::Tempo(const std::vector<std::string_view>& words)
{
    double value = 0;
    if (words.size() != 2 || !ParseQuantity(words[1], "", value) || value != std::floor(value) ||
        value < 20 || value > 400)
        return Fail("tempo takes one whole number of beats per minute, 20 to 400");
    tempo = static_cast<int>(value);
    return true;
}

bool Reader::Play(const std::vector<std::string_view>& words)
{
    if (words.size() != 2 || (words[1] != "loop" && words[1] != "once"))
        return Fail("play takes 'loop' or 'once'");
    score.loops = words[1] == "loop";
    return true;
}

bool Reader::Level(const std::vector<std::string_view>& words)
{
    double value = 0;
    if (words.size() != 3 || (words[1] != "peak" && words[1] != "loudness") ||
        !ParseQuantity(words[2], "dB", value) || value >= 0 || value < -60)
        return Fail("level takes 'peak' or 'loudness' and a level below 0dB, as in -2dB");
    score.levelling = words[1] == "peak" ? Levelling::Peak : Levelling::Loudness;
    score.targetDb = value;
    return true;
}

bool Reader::Declaring(std::string_view what)
{
    if (!sections.empty() || inSection)
        return Fail(std::string(what) + " must be declared before the first section");
    return true;
}

bool Reader::DefineInstrument(const std::vector<std::string_view>& words)
{
    if (!Declaring("instruments"))
        return false;
    if (!channels.empty())
        return Fail("instruments must be declared before the channels that play them");
    if (words.size() < 3)
        return Fail("instrument takes a name, a wave and settings");
    if (FindInstrument(words[1]) >= 0)
        return Fail("instrument '" + std::string(words[1]) + "' is defined twice");
    Instrument instrument;
    instrument.name = words[1];
    if (words[2] == "pulse")
        instrument.wave = Wave::Pulse;
    else if (words[2] == "triangle")
        instrument.wave = Wave::Triangle;
    else if (words[2] == "noise")
        instrument.wave = Wave::Noise;
    else if (words[2] == "metal")
        instrument.wave = Wave::Metal;
    else
        return Fail("wave '" + std::string(words[2]) + "' is not pulse, triangle, noise or metal");
    instrumentNames.push_back(instrument.name);
    score.instruments.push_back(instrument);
    instrumentLine = lineNumber;
    return Configure(words, 3);
}

bool Reader::Configure(const std::vector<std::string_view>& words, size_t first)
{
    Instrument& instrument = score.instruments.back();
    for (size_t i = first; i < words.size(); ++i) {
        std::string_view key, value;
        if (!SplitSetting(words[i], key, value))
            return Fail("setting '" + std::string(words[i]) + "' is not key=value");
        const Setting* setting = nullptr;
        for (const Setting& candidate : kSettings)
            if (key == candidate.key)
                setting = &candidate;
        if (!setting)
            return Fail("no instrument setting named '" + std::string(key) + "'");
        double number = 0;
        if (!ParseQuantity(value, setting->unit, number))
            return Fail("setting '" + std::string(words[i]) + "' needs a number in " +
                        setting->unit);
        instrument.*(setting->field) = number * setting->scale;
    }
    return true;
}

// Once an instrument's last setting line has been read: its settings must make sense together.
bool Reader::CheckInstrument()
{
    if (instrumentLine == 0)
        return true;
    const Instrument& instrument = score.instruments.back();
    lineNumber = instrumentLine;
    instrumentLine = 0;
    bool isNoise = instrument.wave == Wave::Noise || instrument.wave == Wave::Metal;
    if (isNoise && instrument.noiseRate <= 0)
        return Fail("noise instrument '" + instrument.name + "' needs rate=...Hz");
    if (instrument.duty <= 0 || instrument.duty >= 1 || instrument.dutyEnd >= 1)
        return Fail("duty must lie between 0% and 100%");
    if (instrument.attack < 0 || instrument.decay < 0 || instrument.release < 0 ||
        instrument.sustain < 0 || instrument.sustain > 1 || instrument.volume < 0 ||
        instrument.arpeggioStep <= 0)
        return Fail("instrument '" + instrument.name + "' has a negative time or level");
    return true;
}

bool Reader::DefineChannel(const std::vector<std::string_view>& words)
{
    if (!Declaring("channels"))
        return false;
    if (words.size() < 3)
        return Fail("channel takes a name, a kind and settings");
    if (FindChannel(words[1]) >= 0)
        return Fail("channel '" + std::string(words[1]) + "' is defined twice");
    Channel channel;
    channel.name = words[1];
    if (words[2] == "pulse")
        channel.kind = Wave::Pulse;
    else if (words[2] == "triangle")
        channel.kind = Wave::Triangle;
    else if (words[2] == "noise")
        channel.kind = Wave::Noise;
    else
        return Fail("channel kind '" + std::string(words[2]) + "' is not pulse, triangle or noise");
    for (const Instrument& instrument : score.instruments)
        channel.allowed.push_back(CanPlay(channel.kind, instrument.wave));

    for (size_t i = 3; i < words.size(); ++i) {
        std::string_view key, value;
        if (!SplitSetting(words[i], key, value))
            return Fail("setting '" + std::string(words[i]) + "' is not key=value");
        if (key == "gain") {
            if (!ParseQuantity(value, "%", channel.gain) || channel.gain < 0)
                return Fail("gain takes a percentage, as in gain=40%");
            channel.gain *= 0.01;
        } else if (key == "instrument") {
            int index = FindInstrument(value);
            if (index < 0 || !channel.allowed[index])
                return Fail("channel '" + channel.name + "' cannot play instrument '" +
                            std::string(value) + "'");
            channel.context.defaultInstrument = index;
        } else {
            return Fail("no channel setting named '" + std::string(key) + "'");
        }
    }
    channels.push_back(std::move(channel));
    return true;
}

bool Reader::DefineKit(const std::vector<std::string_view>& words)
{
    if (!Declaring("kits"))
        return false;
    int channel = words.size() >= 3 ? FindChannel(words[1]) : -1;
    if (channel < 0)
        return Fail("kit takes a channel's name and letter=instrument pairs");
    for (size_t i = 2; i < words.size(); ++i) {
        std::string_view key, value;
        bool isLetter = SplitSetting(words[i], key, value) && key.size() == 1 && key[0] >= 'a' &&
                        key[0] <= 'z' &&
                        std::string_view("rolvq").find(key[0]) == std::string_view::npos;
        if (!isLetter)
            return Fail("kit entry '" + std::string(words[i]) +
                        "' is not letter=instrument (any letter but r, o, l, v, q)");
        int index = FindInstrument(value);
        if (index < 0 || !channels[channel].allowed[index])
            return Fail("channel '" + channels[channel].name + "' cannot play instrument '" +
                        std::string(value) + "'");
        channels[channel].context.kit.emplace_back(key[0], index);
    }
    return true;
}

bool Reader::OpenSection(const std::vector<std::string_view>& words)
{
    if (!CloseSection())
        return false;
    if (words.size() != 2)
        return Fail("section takes one name");
    for (const Section& section : sections)
        if (section.name == words[1])
            return Fail("section '" + std::string(words[1]) + "' is defined twice");
    if (channels.empty())
        return Fail("a section needs channels declared before it");
    inSection = true;
    phrases.clear();
    for (Channel& channel : channels) {
        channel.context.instrumentNames = &instrumentNames;
        channel.context.allowed = &channel.allowed;
        phrases.push_back(std::make_unique<PhraseReader>(channel.context));
    }
    sections.push_back({std::string(words[1]), {}, 0});
    return true;
}

bool Reader::ChannelLine(int channel, std::string_view text)
{
    std::string message;
    if (!phrases[channel]->Read(text, message))
        return Fail(channels[channel].name + ": " + message);
    return true;
}

// Every channel of a section must fill the same number of bars; a channel with no notes rests.
bool Reader::CloseSection()
{
    if (!inSection)
        return true;
    inSection = false;
    Section& section = sections.back();
    for (const auto& phrase : phrases)
        section.ticks = std::max(section.ticks, phrase->position());
    for (size_t i = 0; i < channels.size(); ++i) {
        int64_t ticks = phrases[i]->position();
        if (ticks != 0 && ticks != section.ticks) {
            return Fail("in section '" + section.name + "', channel '" + channels[i].name +
                        "' lasts " + std::to_string(ticks * 16 / kTicksPerBar) +
                        " sixteenths but the longest " +
                        std::to_string(section.ticks * 16 / kTicksPerBar));
        }
        section.hits.push_back(phrases[i]->hits());
    }
    if (section.ticks == 0)
        return Fail("section '" + section.name + "' has no notes");
    phrases.clear();
    return true;
}

bool Reader::Order(const std::vector<std::string_view>& words)
{
    if (!CloseSection())
        return false;
    for (size_t i = 1; i < words.size(); ++i)
        order.emplace_back(words[i]);
    return true;
}

int64_t Reader::SampleAt(int64_t tick) const
{
    // A quarter note is kTicksPerBar / 4 ticks and lasts 60 / tempo seconds; rounded to the
    // nearest sample from the start, so that rounding never accumulates.
    int64_t numerator = tick * kSampleRate * 60 * 4;
    int64_t denominator = static_cast<int64_t>(tempo) * kTicksPerBar;
    return (2 * numerator + denominator) / (2 * denominator);
}

bool Reader::Finish()
{
    if (!CheckInstrument() || !CloseSection())
        return false;
    if (tempo == 0)
        return Fail("no tempo given");
    if (sections.empty())
        return Fail("no sections");
    if (order.empty())
        for (const Section& section : sections)
            order.push_back(section.name);

    int64_t start = 0;
    for (const std::string& name : order) {
        const Section* section = nullptr;
        for (const Section& candidate : sections)
            if (candidate.name == name)
                section = &candidate;
        if (!section)
            return Fail("order names section '" + name + "', which is not defined");
        for (size_t channel = 0; channel < channels.size(); ++channel) {
            for (const Hit& hit : section->hits[channel]) {
                int64_t from = SampleAt(start + hit.tick);
                int64_t held = (SampleAt(start + hit.tick + hit.ticks) - from) * hit.quantize / 8;
                std::vector<double> pitches(hit.pitches.begin(), hit.pitches.end());
                double level = channels[channel].gain * hit.volume / 15.0;
                score.notes.push_back({static_cast<int>(channel), hit.instrument, from, held,
                                       std::move(pitches), level});
            }
        }
        start += section->ticks;
    }
    std::stable_sort(score.notes.begin(), score.notes.end(),
                     [](const Note& a, const Note& b) { return a.start < b.start; });
    score.channelCount = static_cast<int>(channels.size());
    score.length = SampleAt(start);
    return true;
}

int Reader::FindChannel(std::string_view name) const
{
    for (size_t i = 0; i < channels.size(); ++i)
        if (channels[i].name == name)
            return static_cast<int>(i);
    return -1;
}

int Reader::FindInstrument(std::string_view name) const
{
    for (size_t i = 0; i < instrumentNames.size(); ++i)
        if (instrumentNames[i] == name)
            return static_cast<int>(i);
    return -1;
}

}  // namespace

bool ReadScore(std::string_view text, const std::string& fileName, Score& score, std::string& error)
{
    score = Score{};
    Reader reader(fileName, score);
    int number = 0;
    size_t at = 0;
    while (at <= text.size()) {
        size_t end = text.find('\n', at);
        if (end == std::string_view::npos)
            end = text.size();
        if (!reader.Line(text.substr(at, end - at), ++number)) {
            error = reader.error;
            return false;
        }
        at = end + 1;
    }
    if (!reader.Finish()) {
        error = reader.error;
        return false;
    }
    return true;
}

bool LoadScore(const std::string& path, Score& score, std::string& error)
{
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        error = path + ": cannot be read";
        return false;
    }
    std::ostringstream text;
    text << file.rdbuf();
    std::string name = path.substr(path.find_last_of('/') + 1);
    if (!ReadScore(text.str(), name, score, error))
        return false;
    score.name = name.substr(0, name.find_last_of('.'));
    return true;
}
