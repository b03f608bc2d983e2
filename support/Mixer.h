#pragma once

#include <memory>
#include <optional>

namespace softphone {

// The mixer lines the program asks for, by what they carry.
enum class MixerComponent {
    Speakers,
    Microphone,
    WaveOut,
    Line,
    Auxiliary,
    CompactDisc,
    Synthesizer
};

enum class MixerControlKind { Volume, Mute };

// One control found on a mixer line; id 0 is the empty record of a control that was not found.
struct MixerControl {
    int id = 0;
    long minimum = 0;
    long maximum = 0;
};

// The sound card's mixer: find a line's control, read or write its one value. A mute control
// reads and takes non-zero for "muted".
class IMixer {
public:
    virtual ~IMixer() = default;
    virtual bool Open() = 0;
    virtual std::optional<MixerControl> FindControl(MixerComponent line, MixerControlKind kind) = 0;
    virtual std::optional<long> GetValue(const MixerControl& control) = 0;
    virtual bool SetValue(const MixerControl& control, long value) = 0;
};

// The first sound card's mixer: alsa-lib's simple mixer on the "default" device.
std::unique_ptr<IMixer> CreateAlsaMixer();

}  // namespace softphone
