#pragma once

#include <array>
#include <memory>

#include "support/Mixer.h"

class QWidget;

namespace softphone {

class IMessageBox;

// The levels of the speaker and microphone lines. Controls are found once, at construction;
// every read or write then goes to the mixer afresh.
class MixerLevels {
public:
    struct Range {
        int minimum = 0;
        int maximum = 0;
    };

    // Without a mixer the user is told "No mixer found!" and no line has a level.
    MixerLevels(std::unique_ptr<IMixer> mixer, IMessageBox& messages, QWidget* parent = nullptr);

    bool hasLevel(MixerLine line) const { return control(line).id != 0; }
    Range levelRange(MixerLine line) const;
    // The line's level now; 0 when it cannot be read.
    int level(MixerLine line);
    // Writes the level, clamped to the line's range.
    void setLevel(MixerLine line, int level);

private:
    const MixerControl& control(MixerLine line) const { return controls_[size_t(line)]; }

    std::unique_ptr<IMixer> mixer_;
    std::array<MixerControl, 2> controls_{};  // empty (id 0) when the line has no level
};

}  // namespace softphone
