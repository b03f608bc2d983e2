#pragma once

// Stand-ins for the services the windows use: message boxes, the modal windows, settings, sound
// and audio devices; and readable Qt strings in test failures.
#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>
#include <functional>
#include <ostream>

#include "app/ModalWindows.h"
#include "app/TuningWizard.h"
#include "dialer/SoundPlayer.h"
#include "records/SettingsStore.h"
#include "support/MessageBox.h"

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
    std::optional<QString> showPhoneBook(QWidget*) override {
        shown << "phone book";
        return chosen;
    }
    std::optional<QString> showRecentCalls(QWidget*) override {
        shown << "recent calls";
        return chosen;
    }
    std::optional<NetworkSettings> showNetwork(QWidget*, const NetworkSettings&) override {
        return network;
    }
    std::function<void()> onLogin;           // fills the dialog, typically
    std::optional<NetworkSettings> network;  // what the network dialog hands back
    LoginOutcome login = LoginOutcome::LoggedIn;
    std::optional<QString> chosen;  // what the phone book or call history hands back
    QStringList shown;              // the windows opened, in order
};

// Settings kept in memory.
class MemoryStore : public ISettingsStore {
public:
    QString read(const QString& app, const QString& section, const QString& key,
                 const QString& defaultValue) const override {
        return values.value(app + '/' + section + '/' + key, defaultValue);
    }
    void write(const QString& app, const QString& section, const QString& key,
               const QString& value) override {
        values[app + '/' + section + '/' + key] = value;
    }
    void remove(const QString& app) override {
        for (auto it = values.begin(); it != values.end();)
            it = it.key().startsWith(app + '/') ? values.erase(it) : std::next(it);
    }
    QMap<QString, QString> values;
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

    std::vector<AudioDevice> deviceList = {
        {"pulse:speakers", "Speakers", true, false},
        {"pulse:hdmi", "HDMI", true, false},
        {"pulse:mic", "Microphone", false, true},
        {"alsa:headset", "Headset", true, true},
    };
    QString playback = "pulse:hdmi", capture = "alsa:headset", ringer = "pulse:speakers";
    QStringList saved;
};

}  // namespace softphone::test
