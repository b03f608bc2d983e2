#pragma once

#include <array>
#include <memory>

#include "support/Mixer.h"

class QWidget;

namespace softphone {

class IMessageBox;

// The sound card's mixer as integer properties: the level and mute switch of six lines and the
// range of each level. Controls are found once, at construction; every property access then
// reads or writes the mixer afresh.
class MixerLevels {
public:
    // Line bits for HasVolumeControl / HasMuteControl.
    enum LineBit { Wave = 1, Micro = 2, WaveIn = 4, LineIn = 8, CD = 16, MIDI = 32 };

    MixerLevels(std::unique_ptr<IMixer> mixer, IMessageBox& messages, QWidget* parent = nullptr);

    bool HasVolumeControl(int mask) const { return (volumeFound_ & mask) != 0; }
    bool HasMuteControl(int mask) const { return (muteFound_ & mask) != 0; }

    int MinWaveVolume() const { return Min(kWave); }
    int MaxWaveVolume() const { return Max(kWave); }
    int MinMicVolume() const { return Min(kMicro); }
    int MaxMicVolume() const { return Max(kMicro); }
    int MinWavInVolume() const { return Min(kWaveIn); }
    int MaxWavInVolume() const { return Max(kWaveIn); }
    int MinLineInVolume() const { return Min(kLineIn); }
    int MaxLineInVolume() const { return Max(kLineIn); }
    int MinCDVolume() const { return Min(kCD); }
    int MaxCDVolume() const { return Max(kCD); }
    int MinMidVolume() const { return Min(kMIDI); }
    int MaxMidVolume() const { return Max(kMIDI); }

    int WaveVolume() { return Level(kWave); }
    int MicroVolume() { return Level(kMicro); }
    int WaveInVolume() { return Level(kWaveIn); }
    int LineInVolume() { return Level(kLineIn); }
    int CD_Volume() { return Level(kCD); }
    int MIDIVolume() { return Level(kMIDI); }
    void WaveVolume(int NewVolume) { SetLevel(kWave, NewVolume); }
    void MicroVolume(int NewVolume) { SetLevel(kMicro, NewVolume); }
    void WaveInVolume(int NewVolume) { SetLevel(kWaveIn, NewVolume); }
    void LineInVolume(int NewVolume) { SetLevel(kLineIn, NewVolume); }
    void CD_Volume(int NewVolume) { SetLevel(kCD, NewVolume); }
    void MIDIVolume(int NewVolume) { SetLevel(kMIDI, NewVolume); }

    int WaveMute() { return MuteOf(kWave); }
    int MicroMute() { return MuteOf(kMicro); }
    int WaveInMute() { return MuteOf(kWaveIn); }
    int LineInMute() { return MuteOf(kLineIn); }
    int CD_Mute() { return MuteOf(kCD); }
    int MIDIMute() { return MuteOf(kMIDI); }
    void WaveMute(int NewValue) { SetMute(kWave, NewValue); }
    void MicroMute(int NewValue) { SetMute(kMicro, NewValue); }
    void WaveInMute(int NewValue) { SetMute(kWaveIn, NewValue); }
    void LineInMute(int NewValue) { SetMute(kLineIn, NewValue); }
    void CD_Mute(int NewValue) { SetMute(kCD, NewValue); }
    void MIDIMute(int NewValue) { SetMute(kMIDI, NewValue); }

private:
    enum Line { kWave, kMicro, kWaveIn, kLineIn, kCD, kMIDI, kLineCount };

    struct LineControls {
        MixerControl volume;  // empty when not found; its bounds are the line's Min and Max
        MixerControl mute;
    };

    bool Discover(Line line, MixerComponent component);
    int Min(Line line) const { return int(lines_[line].volume.minimum); }
    int Max(Line line) const { return int(lines_[line].volume.maximum); }
    int Level(Line line);
    void SetLevel(Line line, int NewVolume);
    int MuteOf(Line line);
    void SetMute(Line line, int NewValue);
    int Read(const MixerControl& control);

    std::unique_ptr<IMixer> mixer_;
    std::array<LineControls, kLineCount> lines_{};
    int volumeFound_ = 0;
    int muteFound_ = 0;
};

}  // namespace softphone
