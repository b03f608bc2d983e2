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

// In the dial pad's reading order, which is also the order of the DialKeys buttons.
inline constexpr std::array<DialKey, 12> kKeyTable{{
    {'1', "Picture20", "Tone1.wav", 1, 697, 1209},
    {'2', "Picture21", "Tone2.wav", 2, 697, 1336},
    {'3', "Picture22", "Tone3.wav", 3, 697, 1477},
    {'4', "Picture25", "Tone4.wav", 4, 770, 1209},
    {'5', "Picture26", "Tone5.wav", 5, 770, 1336},
    {'6', "Picture27", "Tone6.wav", 6, 770, 1477},
    {'7', "Picture30", "Tone7.wav", 7, 852, 1209},
    {'8', "Picture31", "Tone8.wav", 8, 852, 1336},
    {'9', "Picture32", "Tone9.wav", 9, 852, 1477},
    {'*', "Picture35", "Tonestar.wav", 10, 941, 1209},
    {'0', "Picture36", "Tone0.wav", 0, 941, 1336},
    {'#', "Picture37", "Tonepnd.wav", 11, 941, 1477},
}};

// The key that types `c`, or nullptr.
const DialKey* KeyForCharacter(QChar c);
// Exact, case-sensitive match: the lookup that decides which DTMF code a tone name sends.
const DialKey* KeyForToneName(const QString& toneName);
// Sound resources are found whatever the case of the name ("TONE5.WAV").
const DialKey* KeyForToneResource(const QString& toneName);

}  // namespace softphone
