#pragma once

// Stand-ins for the services the windows use: message boxes, the modal windows, sound, the sound
// card, the tray and the engine's audio devices; and readable Qt strings in test failures.
#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>
#include <functional>
#include <map>
#include <ostream>
#include <vector>

#include "app/ModalWindows.h"
#include "dialer/AudioTuning.h"
#include "dialer/SoundPlayer.h"
#include "dialer/Tray.h"
#include "support/MessageBox.h"
#include "support/Mixer.h"

inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
inline void PrintTo(const QByteArray& b, std::ostream* os) { *os << '"' << b.toStdString() << '"'; }

namespace softphone::test {

class RecordingMessageBox : public IMessageBox {
public:
    void show(QWidget*, const QString& text, const QString&, MessageIcon) override {
        shown << text;
        if (whileShown) whileShown();  // a real box runs the event loop until it is closed
    }
    QStringList shown;  // the texts, in order
    std::function<void()> whileShown;
};

// Plays the user's part in the modal windows.
class ScriptedWindows : public IModalWindows {
public:
    LoginOutcome showLogin(QWidget*) override {
        shown << "login";
        if (onLogin) onLogin();
        return login;
    }
    std::optional<QString> showPhoneBook(QWidget*) override { return noted("phone book", chosen); }
    std::optional<QString> showRecentCalls(QWidget*) override {
        return noted("recent calls", chosen);
    }
    std::optional<NetworkSettings> showNetwork(QWidget*, const NetworkSettings&) override {
        return noted("network", network);
    }
    bool showTuningWizard(QWidget*) override { return noted("tuning wizard", tuningDevices); }
    // `window` noted as opened; hands back `answer`, what the user chose in it.
    template <typename Answer>
    Answer noted(const char* window, const Answer& answer) {
        shown << window;
        return answer;
    }
    std::function<void()> onLogin;           // fills the dialog, typically
    std::optional<NetworkSettings> network;  // what the network dialog hands back
    LoginOutcome login = LoginOutcome::LoggedIn;
    std::optional<QString> chosen;  // what the phone book or call history hands back
    bool tuningDevices = true;      // whether the tuning wizard finds sound devices
    QStringList shown;              // the windows opened, in order
};

// Notes every sound asked for, as "tone Tone5.wav", "file <path>", "idle <path>", "stop".
class RecordingSoundPlayer : public ISoundPlayer {
public:
    void playTone(const QString& toneName) override { played << "tone " + toneName; }
    void playFile(const QString& path) override { played << "file " + path; }
    void playFileIfIdle(const QString& path) override { played << "idle " + path; }
    void stop() override { played << QStringLiteral("stop"); }
    // Which output plays is heard only through a real player.
    void useOutput(const QAudioDevice&) override {}
    QStringList played;
};

// Two speakers, a microphone and a headset; records the devices chosen.
class FakeAudioTuning : public IAudioTuning {
public:
    std::vector<AudioDevice> devices() override { return deviceList; }
    QString playbackDevice() override { return playback; }
    QString captureDevice() override { return capture; }
    QString ringerDevice() override { return ringer; }
    void setDevices(const QString& p, const QString& c, const QString& r) override {
        saved << p + " / " + c + " / " + r;
    }
    void calibrateEchoCanceller(std::function<void(const QString&)>) override {}

    std::vector<AudioDevice> deviceList = {{"pulse:speakers", "Speakers", true, false},
                                           {"pulse:hdmi", "HDMI", true, false},
                                           {"pulse:mic", "Microphone", false, true},
                                           {"alsa:headset", "Headset", true, true}};
    QString playback = "pulse:hdmi", capture = "alsa:headset", ringer = "pulse:speakers";
    QStringList saved;
};

// A sound card whose speaker and microphone levels go from 10 to 110, both at 60; each
// control's id is its line plus one. Records every value written.
class FakeMixer : public IMixer {
public:
    bool open() override { return opens; }
    std::optional<MixerControl> findControl(MixerLine line) override {
        return MixerControl{int(line) + 1, 10, 110};
    }
    std::optional<long> getValue(const MixerControl& control) override {
        return values_[MixerLine(control.id - 1)];
    }
    bool setValue(const MixerControl& control, long value) override {
        writes.push_back({MixerLine(control.id - 1), value});
        values_[MixerLine(control.id - 1)] = value;
        return true;
    }

    bool opens = true;
    std::vector<std::pair<MixerLine, long>> writes;

private:
    std::map<MixerLine, long> values_{{MixerLine::Speaker, 60}, {MixerLine::Microphone, 60}};
};

// A notification area the test controls: whether it exists, what kind it is, what it shows,
// and the desktop notifications asked for ("summary: body").
class FakeTray : public ITray {
public:
    bool available() const override { return present; }
    bool reportsOnlyActivation() const override { return onlyActivation; }
    void setMenu(QMenu* m) override { menu = m; }
    void showIcon(const QIcon& icon, const QString& tip) override {
        iconShown = true;
        this->icon = icon;
        this->tip = tip;
    }
    void removeIcon() override { iconShown = false; }
    void showMessage(const QString& title, const QString& text) override {
        messages << title + ": " + text;
    }
    bool notify(const QString& summary, const QString& body) override {
        notifications << summary + ": " + body;
        return true;
    }

    bool present = true;
    bool onlyActivation = false;
    bool iconShown = false;
    QMenu* menu = nullptr;
    QIcon icon;
    QString tip;
    QStringList messages, notifications;
};

}  // namespace softphone::test
