#pragma once

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>

namespace softphone::test {

// A private Xvfb display for one test, and xdotool to act on it as a person would.
class XvfbDisplay {
public:
    XvfbDisplay();
    ~XvfbDisplay();
    bool Started() const { return started_; }
    // Stops the X server, as when a desktop session ends.
    void End();
    QString Name() const { return QStringLiteral(":%1").arg(number_); }
    QProcessEnvironment Environment() const;  // the system environment on this display

    // Runs xdotool with the arguments; its output, trimmed.
    QString Xdo(const QStringList& args) const;
    // The id of a visible window with exactly this name whose width lies in [minWidth, maxWidth].
    QString Window(const QString& name, int minWidth = 0, int maxWidth = 100000) const;
    void Click(const QString& window, int x, int y) const;
    void ClickAndType(const QString& window, int x, int y, const QString& text) const;

private:
    QProcess xvfb_;
    int number_ = 0;
    bool started_ = false;
};

}  // namespace softphone::test
