#pragma once

#include <QPoint>
#include <QProcess>
#include <QTemporaryDir>

#include "tests/support/XvfbDisplay.h"

namespace softphone::test {

// Centres of the controls, in pixels from the window's corner.
constexpr QPoint kSipBox{148, 41}, kAccountBox{148, 65}, kPasswordBox{148, 89}, kLogin{66, 154};
constexpr QPoint kNumberField{132, 90}, kDial{43, 258}, kEnd{252, 257}, kClose{262, 15};

// The program `binary` on `display` with a home of its own, logged in through its login dialog
// as a person would.
class RunningPhone {
  public:
    RunningPhone(const XvfbDisplay& display, QString binary);
    ~RunningPhone();

    // Starts the program; the login dialog's window id, or "" on failure.
    QString Start();
    // Starts the program and logs in; the handset window's id, or "" on failure.
    QString LogIn(const QString& server, const QString& account, const QString& password);
    bool Ended();

    QTemporaryDir home;
    QProcess process;

  private:
    const XvfbDisplay& display_;
    QString binary_;
};

}  // namespace softphone::test
