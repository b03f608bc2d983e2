#pragma once

#include <QUrl>
#include <functional>
#include <memory>

#include "dialer/Tray.h"
#include "dialer/VolumeSliders.h"
#include "support/Mixer.h"
#include "support/MixerLevels.h"

class QMenu;

namespace softphone {

// The desktop facilities behind the main window's level sliders, tray and banner. Each is
// replaceable so the window's logic can be tested without a sound card or a desktop.
struct DeskServices {
    std::function<std::unique_ptr<IMixer>()> createMixer;
    // The tray, given its context menu.
    std::function<std::unique_ptr<ITray>(QMenu* menu)> createTray;
    VolumeSliders::PlaySoundFile playSoundIfIdle;
    std::function<void(const QUrl&)> openUrl;
    // A desktop notification (summary, body); false when the desktop could not be asked.
    std::function<bool(const QString&, const QString&)> notify;
};

}  // namespace softphone
