#include "support/MixerLevels.h"

#include "support/MessageBox.h"

namespace softphone {

MixerLevels::MixerLevels(std::unique_ptr<IMixer> mixer, IMessageBox& messages, QWidget* parent)
    : mixer_(std::move(mixer)) {
    if (!mixer_ || !mixer_->Open()) {
        mixer_.reset();
        messages.Show(parent, QStringLiteral("No mixer found!"));
        return;
    }
    Discover(kWave, MixerComponent::Speakers);
    Discover(kMicro, MixerComponent::Microphone);
    Discover(kWaveIn, MixerComponent::WaveOut);
    if (!Discover(kLineIn, MixerComponent::Line)) Discover(kLineIn, MixerComponent::Auxiliary);
    Discover(kCD, MixerComponent::CompactDisc);
    Discover(kMIDI, MixerComponent::Synthesizer);
}

// Finds the line's volume control and, only when there is one, its mute control.
bool MixerLevels::Discover(Line line, MixerComponent component) {
    const std::optional<MixerControl> volume =
        mixer_->FindControl(component, MixerControlKind::Volume);
    if (!volume) return false;
    const int bit = 1 << line;
    lines_[line].volume = *volume;
    volumeFound_ |= bit;
    if (const auto mute = mixer_->FindControl(component, MixerControlKind::Mute)) {
        lines_[line].mute = *mute;
        muteFound_ |= bit;
    }
    return true;
}

int MixerLevels::Read(const MixerControl& control) {
    if (!mixer_ || control.id == 0) return 0;
    return int(mixer_->GetValue(control).value_or(0));
}

int MixerLevels::Level(Line line) {
    return Read(lines_[line].volume);
}

int MixerLevels::MuteOf(Line line) {
    return Read(lines_[line].mute);
}

void MixerLevels::SetLevel(Line line, int NewVolume) {
    const MixerControl& control = lines_[line].volume;
    if (!mixer_ || control.id == 0) return;
    int value = NewVolume;
    if (value < Min(line)) value = Min(line);
    if (value > Max(line)) value = Max(line);
    mixer_->SetValue(control, value);
}

void MixerLevels::SetMute(Line line, int NewValue) {
    const MixerControl& control = lines_[line].mute;
    if (!mixer_ || control.id == 0) return;
    mixer_->SetValue(control, NewValue);
}

}  // namespace softphone
