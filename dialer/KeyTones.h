#pragma once

#include <QByteArray>

#include "dialer/KeyTable.h"

namespace softphone {

inline constexpr int kToneSamples = 640;  // 80 ms at 8 kHz

// The key tone of `key`: a complete 684-byte RIFF/WAVE file, PCM 8 kHz mono 8-bit, holding the
// sum of two equal sines at the key's DTMF pair, peaking about 64 above and below the centre.
QByteArray keyToneWave(const DialKey& key);

}  // namespace softphone
