#pragma once

#include <QProcessEnvironment>
#include <QString>

#include "tests/support/Child.h"

namespace softphone::test {

// A private Xvfb display for one test, and xdotool to act on it as a person would.
class XvfbDisplay {
public:
    XvfbDisplay();
    bool Started() const { return !name_.isEmpty(); }
    // Stops the X server, as when a desktop session ends.
    void End() { xvfb_.End(); }
    // The system environment on this display, away from the desktop's session bus.
    QProcessEnvironment Environment() const;
    // Starts a tray (trayer, at the bottom right); true once it shows.
    bool StartTray();

    // Runs xdotool with the arguments; its output.
    QString Xdo(const QStringList& args) const {
        return Output("xdotool", args, nullptr, Environment());
    }
    // The id of a visible window with exactly this name, at least `minWidth` wide.
    QString Window(const QString& name, int minWidth = 1) const;
    bool Visible(const QString& window) const;
    void Click(const QString& window, int x, int y) const;
    void ClickAndType(const QString& window, int x, int y, const QString& text) const;

private:
    Child xvfb_, tray_;
    QString name_;  // ":N"
};

}  // namespace softphone::test
