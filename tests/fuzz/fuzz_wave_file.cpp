// Any bytes read as a sound file: a file that parses has a format the player can convert, the
// conversion stays inside the samples, and samples already in the play format pass unchanged.
#include <cassert>

#include "dialer/WaveFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace softphone;
    const QByteArray bytes = QByteArrayView(data, qsizetype(size)).toByteArray();
    if (const auto sound = parseWave(bytes)) {
        assert(sound->channels > 0 && sound->sampleRate > 0 && sound->data.size() < bytes.size() &&
               (sound->bitsPerSample == 8 || sound->bitsPerSample == 16));
        toPlayFormat(*sound);
    }
    const auto wrapped = parseWave(makeWave(bytes));
    assert(wrapped && wrapped->data == bytes && toPlayFormat(*wrapped) == bytes);
    return 0;
}
