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

// A mixer with the lines a test gives it, each control's id its line plus one; records every value
// written.
class FakeMixer : public IMixer {
public:
    struct Write {
        MixerLine line;
        long value;
    };

    // Adds a line with a level control of the given range.
    FakeMixer& WithLine(MixerLine line, long minimum, long maximum) {
        controls_[line] = {int(line) + 1, minimum, maximum};
        return *this;
    }
    bool Open() override { return opens; }
    std::optional<MixerControl> FindControl(MixerLine line) override {
        if (!controls_.contains(line)) return std::nullopt;
        return controls_[line];
    }
    std::optional<long> GetValue(const MixerControl& control) override {
        if (!values_.contains(MixerLine(control.id - 1))) return std::nullopt;
        return values_[MixerLine(control.id - 1)];
    }
    bool SetValue(const MixerControl& control, long value) override {
        writes.push_back({MixerLine(control.id - 1), value});
        values_[MixerLine(control.id - 1)] = value;
        return true;
    }
    // The value last written to a line, or -1 when none was.
    long Last(MixerLine line) const {
        for (auto it = writes.rbegin(); it != writes.rend(); ++it)
            if (it->line == line) return it->value;
        return -1;
    }
    void SetLevel(MixerLine line, long value) { values_[line] = value; }

    bool opens = true;
    std::vector<Write> writes;

private:
    std::map<MixerLine, MixerControl> controls_;
    std::map<MixerLine, long> values_;
};

// A notification area the test controls: whether it exists, what kind it is, what it shows.
class FakeTray : public ITray {
public:
    bool Available() const override { return available; }
    bool ReportsOnlyActivation() const override { return onlyActivation; }
    void ShowIcon(const QIcon&, const QString& tip) override {
        iconShown = true;
        this->tip = tip;
    }
    void RemoveIcon() override { iconShown = false; }
    void ShowMessage(const QString& title, const QString& text) override {
        messages << title + ": " + text;
    }
    void Activate(TrayActivation reason) {
        if (onActivated) onActivated(reason);
    }

    bool available = true;
    bool onlyActivation = false;
    bool iconShown = false;
    QString tip;
    QStringList messages;
};

// The main window's desktop for tests: a sound card with playback and microphone levels, a
// notification area and a browser, all of which the test can look at.
struct FakeDesk {
    std::function<std::unique_ptr<FakeMixer>()> card = [] {
        auto mixer = std::make_unique<FakeMixer>();
        mixer->WithLine(MixerLine::Speaker, 0, 65536).WithLine(MixerLine::Microphone, 0, 65536);
        return mixer;
    };
    FakeTray* tray = nullptr;  // owned by the window
    QMenu* trayMenu = nullptr;
    QList<QUrl> opened;
    QStringList notifications;  // "summary: body"

    DeskServices Services(ISoundPlayer& player) {
        return {[this] { return card(); },
                [this](QMenu* menu) {
                    trayMenu = menu;
                    auto t = std::make_unique<FakeTray>();
                    tray = t.get();
                    return t;
                },
                [&player](const QString& path) { player.PlayFileIfIdle(path); },
                [this](const QUrl& url) { opened << url; },
                [this](const QString& summary, const QString& body) {
                    notifications << summary + ": " + body;
                    return true;
                }};
    }
};

}  // namespace softphone::test
