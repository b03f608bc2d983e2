#pragma once

#include <memory>
#include <optional>

namespace softphone {

// The sound card's lines whose levels the program sets.
enum class MixerLine { Speaker, Microphone };

// A line's level control as found on the card; its id is the mixer's own handle for it.
struct MixerControl {
    int id = 0;
    long minimum = 0;
    long maximum = 0;
};

// The sound card's mixer: find a line's level control, read or write its value.
class IMixer {
public:
    virtual ~IMixer() = default;
    virtual bool open() = 0;
    virtual std::optional<MixerControl> findControl(MixerLine line) = 0;
    virtual std::optional<long> getValue(const MixerControl& control) = 0;
    virtual bool setValue(const MixerControl& control, long value) = 0;
};

// The first sound card's mixer: alsa-lib's simple mixer on the "default" device.
std::unique_ptr<IMixer> createAlsaMixer();

}  // namespace softphone
