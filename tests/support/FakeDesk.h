#pragma once

#include <QList>
#include <QMenu>
#include <QUrl>

#include "dialer/DeskServices.h"
#include "dialer/SoundPlayer.h"
#include "tests/support/FakeMixer.h"
#include "tests/support/FakeTray.h"

namespace softphone::test {

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
