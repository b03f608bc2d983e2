#include "support/MixerLevels.h"

#include <algorithm>

#include "support/MessageBox.h"

namespace softphone {

MixerLevels::MixerLevels(std::unique_ptr<IMixer> mixer, IMessageBox& messages, QWidget* parent)
    : mixer_(std::move(mixer)) {
    if (!mixer_ || !mixer_->Open()) {
        mixer_.reset();
        messages.Show(parent, QStringLiteral("No mixer found!"));
        return;
    }
    for (MixerLine line : {MixerLine::Speaker, MixerLine::Microphone})
        controls_[size_t(line)] = mixer_->FindControl(line).value_or(MixerControl{});
}

MixerLevels::Range MixerLevels::LevelRange(MixerLine line) const {
    return {int(Control(line).minimum), int(Control(line).maximum)};
}

int MixerLevels::Level(MixerLine line) {
    if (!HasLevel(line)) return 0;
    return int(mixer_->GetValue(Control(line)).value_or(0));
}

void MixerLevels::SetLevel(MixerLine line, int level) {
    if (!HasLevel(line)) return;
    const Range range = LevelRange(line);
    mixer_->SetValue(Control(line), std::clamp(level, range.minimum, range.maximum));
}

}  // namespace softphone
