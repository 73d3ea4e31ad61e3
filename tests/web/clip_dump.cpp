// Writes each of the game's clips as the desktop decodes it, for the browser's decoding to be
// compared with: <name>.mp3, the stream exactly as the decoder is given it, and <name>.pcm,
// the 16-bit samples that come out. Usage: clip_dump <archive base name> <folder>.

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "archive/ResourceArchive.h"
#include "sound/ClipDecoder.h"
#include "sound/SoundSource.h"
#include "sound/SoundSystem.h"

namespace {

bool Write(const std::string& path, const void* bytes, size_t size)
{
    std::ofstream file(path, std::ios::binary);
    file.write(static_cast<const char*>(bytes), static_cast<std::streamsize>(size));
    return static_cast<bool>(file);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: clip_dump <archive base name> <folder>\n");
        return 2;
    }
    ResourceArchive archive(argv[1]);
    if (!archive.error().empty()) {
        std::fprintf(stderr, "clip_dump: %s\n", archive.error().c_str());
        return 1;
    }
    const std::string folder = argv[2];
    for (const char* name : kClipNames) {
        SoundSource source(archive, name);
        const char* fault = nullptr;
        const std::span<const uint8_t> stream = source.Stream(&fault);
        std::vector<int16_t> pcm;
        std::string problem;
        SoundSource again(archive, name);
        if (fault || !DecodeClip(again, pcm, problem)) {
            std::fprintf(stderr, "clip_dump: %s: %s\n", name, fault ? fault : problem.c_str());
            return 1;
        }
        const std::string stem(name, std::string(name).rfind('.'));
        const std::string base = folder + "/" + stem;
        if (!Write(base + ".mp3", stream.data(), stream.size()) ||
            !Write(base + ".pcm", pcm.data(), pcm.size() * sizeof(int16_t))) {
            std::fprintf(stderr, "clip_dump: cannot write into %s\n", folder.c_str());
            return 1;
        }
    }
    return 0;
}
