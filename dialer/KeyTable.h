#pragma once

#include <QString>
#include <array>

namespace softphone {

// One key of the dial pad: the character it types, the button that taps it, its local key tone
// and the DTMF code the engine sends for it during a call.
struct DialKey {
    char key;
    const char* control;
    const char* toneName;
    int dtmfCode;
    int lowHz, highHz;
};

// In the dial pad's reading order, which is also the order of the dialKeys buttons.
inline constexpr std::array<DialKey, 12> kKeyTable{{
    {'1', "dialKey1", "Tone1.wav", 1, 697, 1209},
    {'2', "dialKey2", "Tone2.wav", 2, 697, 1336},
    {'3', "dialKey3", "Tone3.wav", 3, 697, 1477},
    {'4', "dialKey4", "Tone4.wav", 4, 770, 1209},
    {'5', "dialKey5", "Tone5.wav", 5, 770, 1336},
    {'6', "dialKey6", "Tone6.wav", 6, 770, 1477},
    {'7', "dialKey7", "Tone7.wav", 7, 852, 1209},
    {'8', "dialKey8", "Tone8.wav", 8, 852, 1336},
    {'9', "dialKey9", "Tone9.wav", 9, 852, 1477},
    {'*', "dialKeyStar", "Tonestar.wav", 10, 941, 1209},
    {'0', "dialKey0", "Tone0.wav", 0, 941, 1336},
    {'#', "dialKeyPound", "Tonepnd.wav", 11, 941, 1477},
}};

// The key that types `c`, or nullptr.
const DialKey* keyForCharacter(QChar c);
// Exact, case-sensitive match: the lookup that decides which DTMF code a tone name sends.
const DialKey* keyForToneName(const QString& toneName);
// Sound resources are found whatever the case of the name ("TONE5.WAV").
const DialKey* keyForToneResource(const QString& toneName);

}  // namespace softphone
