#include "platform/web/WebAudio.h"

#include <emscripten.h>

#include <algorithm>

namespace {

// About 46 ms at 22,050 Hz: longer than any frame, so the node never runs dry while a frame
// is drawn, and short enough that an effect sounds with its frame.
constexpr int kBlockFrames = 1024;

WebAudioDevice* openDevice = nullptr;

// Builds the context and its node; false when the browser has no Web Audio.
// clang-format off
EM_JS(int, OpenWebAudio, (int sampleRate, int channels, int blockFrames), {
    const AudioContextClass = window.AudioContext || window.webkitAudioContext;
    if (!AudioContextClass)
        return 0;
    const audio = new AudioContextClass({sampleRate: sampleRate});
    const node = audio.createScriptProcessor(blockFrames, 0, channels);
    node.onaudioprocess = (event) => {
        const output = event.outputBuffer;
        const frames = output.length;
        const samples = Module._korimo_web_audio_fill(frames * channels) >> 1;
        const pcm = HEAP16.subarray(samples, samples + frames * channels);
        for (let channel = 0; channel < channels; channel++) {
            const data = output.getChannelData(channel);
            for (let i = 0; i < frames; i++)
                data[i] = pcm[i * channels + channel] / 32768;
        }
    };
    node.connect(audio.destination);
    Module.korimoAudio = {context: audio, node: node};
    return 1;
});
// clang-format on

// clang-format off
EM_JS(void, CloseWebAudio, (), {
    if (!Module.korimoAudio)
        return;
    Module.korimoAudio.node.disconnect();
    Module.korimoAudio.context.close();
    Module.korimoAudio = null;
});
// clang-format on

}  // namespace

extern "C" EMSCRIPTEN_KEEPALIVE int16_t* korimo_web_audio_fill(int count)
{
    return openDevice ? openDevice->Fill(static_cast<size_t>(count)) : nullptr;
}

bool WebAudioDevice::Open(const AudioFormat& format, Callback fill, void* owner, std::string& error)
{
    callback = fill;
    context = owner;
    paused = true;
    block.assign(static_cast<size_t>(kBlockFrames) * format.channels, 0);
    if (!OpenWebAudio(static_cast<int>(format.sampleRate), format.channels, kBlockFrames)) {
        error = "this browser has no Web Audio";
        return false;
    }
    openDevice = this;
    return true;
}

void WebAudioDevice::Close()
{
    CloseWebAudio();
    openDevice = nullptr;
}

int16_t* WebAudioDevice::Fill(size_t count)
{
    // The node's block size is fixed when it is made; the buffer only grows if a browser asks
    // for more anyway.
    if (block.size() < count)
        block.resize(count);
    if (paused)
        std::fill_n(block.begin(), count, int16_t(0));
    else
        callback(context, block.data(), count);
    return block.data();
}
