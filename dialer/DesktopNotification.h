#pragma once

#include <QString>

namespace softphone {

// Shows a notification through the desktop's notification service (org.freedesktop.Notifications
// on the session bus), whether the window is shown or away in the tray. False when there is no
// session bus to ask; the call does not wait for the service's answer.
bool showDesktopNotification(const QString& summary, const QString& body);

}  // namespace softphone
