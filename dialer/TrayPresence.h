#pragma once

#include <QObject>
#include <memory>

#include "dialer/Tray.h"

class QMenu;
class QWidget;

namespace softphone {

// The program's place in the notification area: the window hidden into the tray and back, the
// icon's tip counting missed calls until the user comes back, and calls announced meanwhile.
class TrayPresence : public QObject {
    Q_OBJECT
public:
    // `menu` is the icon's context menu.
    TrayPresence(QWidget* window, std::unique_ptr<ITray> tray, QMenu* menu);

    bool inTray() const { return inTray_; }
    // Into the tray, or only minimised where there is no notification area, so the window can
    // always come back.
    void hide();
    // The window back in front; the missed calls are seen.
    void restore();
    void toggle();
    // Leaving: no icon is left behind.
    void remove();

    void announceIncomingCall(const QString& from);
    void announceMissedCall(const QString& number);
    // The user has seen the call history.
    void forgetMissedCalls();
    // Unregistered, the icon is dimmed and its tip tells why (`reason`, if there is one).
    void showRegistration(bool registered, const QString& reason);

private:
    void showIcon();
    void onActivated(TrayActivation reason);

    QWidget* window_;
    std::unique_ptr<ITray> tray_;
    bool inTray_ = false;
    int missedCalls_ = 0;
    bool registered_ = false;
    QString unregisteredReason_;
};

}  // namespace softphone
