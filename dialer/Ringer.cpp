#include "dialer/Ringer.h"

#include "dialer/SoundPlayer.h"

namespace softphone {

Ringer::Ringer(ISoundPlayer& player, QObject* parent) : QObject(parent), player_(player) {
    repeat_.setInterval(4000);
    connect(&repeat_, &QTimer::timeout, this, &Ringer::ring);
}

void Ringer::setRinging(bool ringing) {
    if (ringing == repeat_.isActive()) return;
    if (ringing) {
        ring();
        repeat_.start();
    } else {
        repeat_.stop();
        player_.stop();
    }
}

void Ringer::ring() { player_.playFile(QLatin1String(kPhoneRing)); }

}  // namespace softphone
