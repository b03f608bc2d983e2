#include "support/MixerLevels.h"

#include <algorithm>

#include "support/MessageBox.h"

namespace softphone {

MixerLevels::MixerLevels(std::unique_ptr<IMixer> mixer, IMessageBox& messages, QWidget* parent)
    : mixer_(std::move(mixer)) {
    if (!mixer_ || !mixer_->open()) {
        mixer_.reset();
        messages.show(parent, QStringLiteral("No mixer found!"));
        return;
    }
    for (MixerLine line : {MixerLine::Speaker, MixerLine::Microphone})
        controls_[size_t(line)] = mixer_->findControl(line).value_or(MixerControl{});
}

MixerLevels::Range MixerLevels::levelRange(MixerLine line) const {
    return {int(control(line).minimum), int(control(line).maximum)};
}

int MixerLevels::level(MixerLine line) {
    if (!hasLevel(line)) return 0;
    return int(mixer_->getValue(control(line)).value_or(0));
}

void MixerLevels::setLevel(MixerLine line, int level) {
    if (!hasLevel(line)) return;
    const Range range = levelRange(line);
    mixer_->setValue(control(line), std::clamp(level, range.minimum, range.maximum));
}

}  // namespace softphone
