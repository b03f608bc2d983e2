#pragma once

#include <QList>
#include <QMenu>
#include <QStringList>
#include <QUrl>
#include <map>
#include <vector>

#include "dialer/DeskServices.h"
#include "dialer/SoundPlayer.h"
#include "dialer/Tray.h"
#include "support/Mixer.h"

namespace softphone::test {

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

// A notification area the test controls: whether it exists, what kind it is, what it shows.
class FakeTray : public ITray {
public:
    bool available() const override { return present; }
    bool reportsOnlyActivation() const override { return onlyActivation; }
    void showIcon(const QIcon&, const QString& tip) override {
        iconShown = true;
        this->tip = tip;
    }
    void removeIcon() override { iconShown = false; }
    void showMessage(const QString& title, const QString& text) override {
        messages << title + ": " + text;
    }
    void activate(TrayActivation reason) {
        if (onActivated) onActivated(reason);
    }

    bool present = true;
    bool onlyActivation = false;
    bool iconShown = false;
    QString tip;
    QStringList messages;
};

// The main window's desktop for tests: a sound card with playback and microphone levels, a
// notification area and a browser, all of which the test can look at.
struct FakeDesk {
    bool mixerOpens = true;
    FakeMixer* mixer = nullptr;  // owned by the window, as is the tray
    FakeTray* tray = nullptr;
    QMenu* trayMenu = nullptr;
    QList<QUrl> opened;
    QStringList notifications;  // "summary: body"

    DeskServices services(ISoundPlayer& player) {
        return {[this] {
                    auto card = std::make_unique<FakeMixer>();
                    card->opens = mixerOpens;
                    mixer = card.get();
                    return card;
                },
                [this](QMenu* menu) {
                    trayMenu = menu;
                    auto t = std::make_unique<FakeTray>();
                    tray = t.get();
                    return t;
                },
                [&player](const QString& path) { player.playFileIfIdle(path); },
                [this](const QUrl& url) { opened << url; },
                [this](const QString& summary, const QString& body) {
                    notifications << summary + ": " + body;
                    return true;
                }};
    }
};

}  // namespace softphone::test
