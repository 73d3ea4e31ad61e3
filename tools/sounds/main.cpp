// make-sounds: synthesises every clip described in a folder of sources (*.seq) and writes each
// as <name>.mp3 into the output folder. Each clip is decoded again before it is written, so a
// stream that would not give back exactly the synthesised samples never reaches the game.
//
//   make-sounds <source folder> <output folder>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <span>
#include <string>
#include <vector>

#include "tools/sounds/Loudness.h"
#include "tools/sounds/Mp3Decoder.h"
#include "tools/sounds/Mp3Encoder.h"
#include "tools/sounds/Renderer.h"
#include "tools/sounds/ScoreReader.h"

namespace fs = std::filesystem;

namespace {

bool MakeClip(const fs::path& source, const fs::path& outputFolder)
{
    Score score;
    std::string error;
    if (!LoadScore(source.string(), score, error)) {
        std::fprintf(stderr, "make-sounds: %s\n", error.c_str());
        return false;
    }
    std::vector<int16_t> pcm = Render(score);
    double loudness = ToDb(LoudestRms(std::span<const int16_t>(pcm)));
    if (score.levelling == Levelling::Loudness && loudness < score.targetDb - 0.5) {
        std::fprintf(stderr,
                     "make-sounds: %s: only %.1f dBFS loud, not %.1f: its peaks are too "
                     "far above its body to reach the loudness without clipping\n",
                     source.filename().c_str(), loudness, score.targetDb);
    }
    std::vector<uint8_t> stream;
    std::vector<int16_t> decoded;
    std::string target = (outputFolder / (score.name + ".mp3")).string();
    if (!EncodeMp3(pcm, stream, error) || !DecodeMp3(stream, decoded, error)) {
        std::fprintf(stderr, "make-sounds: %s: %s\n", target.c_str(), error.c_str());
        return false;
    }
    if (decoded.size() != pcm.size()) {
        std::fprintf(stderr, "make-sounds: %s: decodes to %zu samples, not the %zu made\n",
                     target.c_str(), decoded.size(), pcm.size());
        return false;
    }

    std::ofstream file(target, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(stream.data()), std::ssize(stream));
    if (!file.flush()) {
        std::fprintf(stderr, "make-sounds: %s: cannot be written\n", target.c_str());
        return false;
    }
    std::span<const int16_t> heard(decoded);
    std::printf("%-14s %8.3f s  %7zu bytes  peak %5.1f dBFS  loudest 30 ms %5.1f dBFS%s\n",
                (score.name + ".mp3").c_str(), static_cast<double>(pcm.size()) / kSampleRate,
                stream.size(), ToDb(PeakLevel(heard)), ToDb(LoudestRms(heard)),
                score.loops ? "  (loops)" : "");
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: make-sounds <source folder> <output folder>\n");
        return 2;
    }
    std::error_code failure;
    std::vector<fs::path> sources;
    for (const auto& entry : fs::directory_iterator(argv[1], failure))
        if (entry.path().extension() == ".seq")
            sources.push_back(entry.path());
    if (failure || sources.empty()) {
        std::fprintf(stderr, "make-sounds: %s: no sources (*.seq) to read\n", argv[1]);
        return 1;
    }
    std::sort(sources.begin(), sources.end());
    fs::create_directories(argv[2], failure);

    bool allMade = true;
    for (const fs::path& source : sources)
        allMade = MakeClip(source, argv[2]) && allMade;
    return allMade ? 0 : 1;
}
