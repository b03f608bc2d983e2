#pragma once

#include <QPoint>

#include "tests/support/Child.h"
#include "tests/support/XvfbDisplay.h"

namespace softphone::test {

// Centres of the controls, in pixels from the window's corner.
constexpr QPoint kSipBox{148, 41}, kAccountBox{148, 65}, kPasswordBox{148, 89}, kLogin{66, 154};
constexpr QPoint kNumberField{132, 90}, kDial{43, 258}, kEnd{252, 257}, kHide{275, 28},
    kClose{262, 15};

// The program `binary` started on `display` by a user whose home (with its XDG config and data
// folders under it) is `home`, whose runtime folder is `runtime` and whose sound server is at
// `pulseServer`; driven as a person would.
class RunningPhone : public Child {
public:
    RunningPhone(const XvfbDisplay& display, const QString& binary, const QString& home,
                 const QString& runtime, const QString& pulseServer);

    // The login dialog's window id, once it shows; "" when it does not.
    QString LoginDialog() const;
    // Logs in with any server address (registration need not succeed); the handset window's id
    // once it shows, or "".
    QString LogIn(const QString& server, const QString& account = QStringLiteral("1001"),
                  const QString& password = QStringLiteral("secret"));
    bool Ended() { return state() == NotRunning || waitForFinished(15000); }

private:
    const XvfbDisplay& display_;
};

}  // namespace softphone::test
