// Any bytes read as a sound file: a file that parses has a format the player can convert, the
// conversion stays inside the samples, and samples already in the play format pass unchanged.
#include <cstddef>
#include <cstdint>

#include "dialer/WaveFile.h"
#include "tests/fuzz/FuzzCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace softphone;
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    if (const auto sound = ParseWave(bytes)) {
        FUZZ_CHECK(sound->channels > 0 && sound->sampleRate > 0);
        FUZZ_CHECK(sound->bitsPerSample == 8 || sound->bitsPerSample == 16);
        FUZZ_CHECK(sound->data.size() < bytes.size());
        ToPlayFormat(*sound);
    }
    const auto wrapped = ParseWave(MakeWave(bytes));
    FUZZ_CHECK(wrapped && wrapped->data == bytes && ToPlayFormat(*wrapped) == bytes);
    return 0;
}
