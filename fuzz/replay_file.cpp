// Arbitrary replay bytes: the file reader must refuse or accept them without reading outside
// them, and the frame reader, given them as frames, must stop at the first damage; every frame it
// does read must come back the same after packing it again.

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "replay/JournalCodec.h"

namespace {

constexpr size_t kMostFrames = 256;  // quiet runs repeat a frame without end

void RoundTrip(const std::vector<journal::FrameRecord>& frames, uint32_t clockBase)
{
    journal::FrameWriter writer;
    writer.Reset(clockBase);
    for (const auto& frame : frames)
        writer.Write(frame);
    writer.Finish();
    journal::FrameReader reader;
    reader.Reset(writer.bytes().data(), writer.bytes().size(), clockBase);
    std::string error;
    journal::FrameRecord again;
    for (const auto& frame : frames) {
        if (!reader.Next(again, error) || !(again.reads == frame.reads) ||
            !(again.answers == frame.answers) || !(again.events == frame.events))
            std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* input, size_t size)
{
    journal::Recording recording;
    std::string error;
    journal::DecodeRecording({input, size}, recording, error);

    journal::FrameReader reader;
    reader.Reset(input, size, 1000);
    std::vector<journal::FrameRecord> frames;
    journal::FrameRecord frame;
    while (frames.size() < kMostFrames && reader.Next(frame, error)) {
        if (frame.answers.size() != frame.reads.size())
            std::abort();
        frames.push_back(frame);
    }
    RoundTrip(frames, 1000);
    return 0;
}
