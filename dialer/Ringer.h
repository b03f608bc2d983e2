#pragma once

#include <QObject>
#include <QTimer>

namespace softphone {

class ISoundPlayer;

// The phone ring of an incoming call, on its own player: it plays at once and again every 4 s
// for as long as the call rings.
class Ringer : public QObject {
    Q_OBJECT
public:
    explicit Ringer(ISoundPlayer& player, QObject* parent = nullptr);

    void setRinging(bool ringing);

private:
    void ring();

    ISoundPlayer& player_;
    QTimer repeat_;
};

// liblinphone's old telephone bell (its other rings are Opus files the player cannot read).
inline constexpr char kPhoneRing[] = "/usr/share/sounds/linphone/rings/oldphone-mono.wav";

}  // namespace softphone
