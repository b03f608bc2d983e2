#include "dialer/WaveFile.h"

#include <QtEndian>
#include <algorithm>
#include <cmath>
#include <cstring>

namespace softphone {

namespace {

constexpr int kFmtChunkSize = 16;
constexpr quint16 kFormatPcm = 1;
// No real sound file is slower; a rate of 1 Hz would make every byte 8,000 bytes to play.
constexpr int kLowestRate = 1000;

quint16 U16(const char* p) { return qFromLittleEndian<quint16>(p); }
quint32 U32(const char* p) { return qFromLittleEndian<quint32>(p); }

void putU16(QByteArray& out, quint16 v) {
    char b[2];
    qToLittleEndian(v, b);
    out.append(b, 2);
}

void putU32(QByteArray& out, quint32 v) {
    char b[4];
    qToLittleEndian(v, b);
    out.append(b, 4);
}

// One sample as a value from -1 to 1.
double sampleAt(const PcmSound& s, qsizetype frame, int channel) {
    const int bytes = s.bitsPerSample / 8;
    const char* p = s.data.constData() + (frame * s.channels + channel) * bytes;
    if (bytes == 1) return (quint8(*p) - 128) / 128.0;
    return qint16(U16(p)) / 32768.0;
}

}  // namespace

std::optional<PcmSound> parseWave(const QByteArray& file) {
    if (file.size() < 12 || !file.startsWith("RIFF") || file.mid(8, 4) != "WAVE")
        return std::nullopt;
    PcmSound sound;
    bool haveFormat = false, haveData = false;
    qsizetype pos = 12;
    while (pos + 8 <= file.size()) {
        const char* chunk = file.constData() + pos;
        const qsizetype size = U32(chunk + 4);
        const QByteArray body = file.mid(pos + 8, size);
        if (!std::memcmp(chunk, "fmt ", 4) && body.size() >= kFmtChunkSize) {
            if (U16(body.constData()) != kFormatPcm) return std::nullopt;
            sound.channels = U16(body.constData() + 2);
            sound.sampleRate = int(U32(body.constData() + 4));
            sound.bitsPerSample = U16(body.constData() + 14);
            haveFormat = true;
        } else if (!std::memcmp(chunk, "data", 4) && haveFormat) {
            sound.data = body;
            haveData = true;
            break;
        }
        pos += 8 + size + (size & 1);  // chunks are padded to even sizes
    }
    const bool usable = haveFormat && haveData && sound.channels > 0 &&
                        sound.sampleRate >= kLowestRate &&
                        (sound.bitsPerSample == 8 || sound.bitsPerSample == 16);
    if (!usable) return std::nullopt;
    return sound;
}

QByteArray makeWave(const QByteArray& samples) {
    QByteArray out("RIFF");
    putU32(out, quint32(4 + 8 + kFmtChunkSize + 8 + samples.size()));
    out.append("WAVEfmt ");
    putU32(out, kFmtChunkSize);
    putU16(out, kFormatPcm);
    putU16(out, 1);          // channels
    putU32(out, kPlayRate);  // samples per second
    putU32(out, kPlayRate);  // bytes per second
    putU16(out, 1);          // block align
    putU16(out, 8);          // bits per sample
    out.append("data");
    putU32(out, quint32(samples.size()));
    out.append(samples);
    return out;
}

QByteArray toPlayFormat(const PcmSound& s) {
    const qsizetype frames = s.data.size() / (s.channels * (s.bitsPerSample / 8));
    const double step = double(s.sampleRate) / kPlayRate;
    const qsizetype outFrames = qsizetype(frames / step);
    QByteArray out(outFrames, kSilence);
    for (qsizetype i = 0; i < outFrames; ++i) {
        const qsizetype first = qsizetype(i * step);
        const qsizetype last = std::clamp(qsizetype((i + 1) * step), first + 1, frames);
        double sum = 0;
        for (qsizetype f = first; f < last; ++f)
            for (int c = 0; c < s.channels; ++c) sum += sampleAt(s, f, c);
        const double mean = sum / double((last - first) * s.channels);
        out[i] = char(std::clamp(int(std::lround(128 + mean * 128)), 0, 255));
    }
    return out;
}

}  // namespace softphone
