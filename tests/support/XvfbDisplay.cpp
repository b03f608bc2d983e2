#include "tests/support/XvfbDisplay.h"

#include <QFile>

#include "tests/support/Wait.h"

namespace softphone::test {

XvfbDisplay::XvfbDisplay() {
    for (number_ = 140; number_ < 240; ++number_) {
        if (!QFile::exists(QStringLiteral("/tmp/.X%1-lock").arg(number_)) &&
            !QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(number_)))
            break;
    }
    xvfb_.start(QStringLiteral("setpriv"),
                {"--pdeathsig", "KILL", "Xvfb", Name(), "-screen", "0", "640x600x24",
                 "-nolisten", "tcp", "-noreset"});
    started_ = xvfb_.waitForStarted(5000) && WaitUntil([this] {
        return QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(number_));
    }, 10000);
}

XvfbDisplay::~XvfbDisplay() {
    End();
}

void XvfbDisplay::End() {
    if (xvfb_.state() == QProcess::NotRunning) return;
    xvfb_.terminate();
    if (!xvfb_.waitForFinished(3000)) xvfb_.kill();
}

QProcessEnvironment XvfbDisplay::Environment() const {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), Name());
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    return env;
}

QString XvfbDisplay::Xdo(const QStringList& args) const {
    QProcess xdotool;
    xdotool.setProcessEnvironment(Environment());
    xdotool.start(QStringLiteral("xdotool"), args);
    xdotool.waitForFinished(5000);
    return QString::fromUtf8(xdotool.readAllStandardOutput()).trimmed();
}

QString XvfbDisplay::Window(const QString& name, int minWidth, int maxWidth) const {
    const QStringList ids =
        Xdo({"search", "--onlyvisible", "--name", "^" + name + "$"}).split('\n', Qt::SkipEmptyParts);
    for (const QString& id : ids) {
        const QString geometry = Xdo({"getwindowgeometry", "--shell", id});
        const int width = geometry.section("WIDTH=", 1).section('\n', 0, 0).toInt();
        if (width >= minWidth && width <= maxWidth) return id;
    }
    return QString();
}

void XvfbDisplay::Click(const QString& window, int x, int y) const {
    Xdo({"mousemove", "--window", window, QString::number(x), QString::number(y)});
    Xdo({"click", "1"});
}

void XvfbDisplay::ClickAndType(const QString& window, int x, int y, const QString& text) const {
    Click(window, x, y);
    Xdo({"type", "--delay", "30", text});  // goes to the field the click focused
}

}  // namespace softphone::test
