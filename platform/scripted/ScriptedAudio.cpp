// The sound device as tests see it. Nothing is heard: the mix is taken as the scripted clock
// says it is due, and every play and stop is written down with the clock's time, the buffer's
// tag, number and volume, so that a test can ask what was played and what is playing when.

#include "platform/scripted/ScriptedAudio.h"

#include "platform/ClockedAudio.h"
#include "platform/scripted/Scripted.h"

namespace {

class ScriptedAudioDevice final : public ClockedAudioDevice {
public:
    bool Open(const AudioFormat& format, Callback callback, void* context,
              std::string& error) override
    {
        if (fail) {
            error = "the test switched the sound device off";
            return false;
        }
        return ClockedAudioDevice::Open(format, callback, context, error);
    }

    void OnBufferAction(int tag, int buffer, BufferAction action, int32_t volume) override
    {
        static constexpr scripted::SoundEvent::Kind kinds[] = {
            scripted::SoundEvent::Play, scripted::SoundEvent::Loop, scripted::SoundEvent::Stop};
        events.push_back({timeGetTime(), tag, kinds[static_cast<int>(action)], buffer, volume});
    }

    std::vector<scripted::SoundEvent> events;
    bool fail = false;
};

ScriptedAudioDevice device;

}  // namespace

namespace scripted {

const std::vector<SoundEvent>& SoundEvents()
{
    return device.events;
}

void ClearSoundEvents()
{
    device.events.clear();
}

bool IsClipPlaying(int clip)
{
    return platform::IsSoundPlaying(clip);
}

void FailAudioDevice(bool fail)
{
    device.fail = fail;
}

namespace detail {

AudioDevice& Audio()
{
    return device;
}

void ResetAudio()
{
    device.Close();  // a device left open by an earlier test mixes for nobody now
    device.events.clear();
    device.fail = false;
}

}  // namespace detail
}  // namespace scripted
