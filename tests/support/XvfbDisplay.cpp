#include "tests/support/XvfbDisplay.h"

#include "tests/support/Wait.h"

namespace softphone::test {

XvfbDisplay::XvfbDisplay() {
    // It picks a free display number and prints it once it accepts clients.
    xvfb_.start("Xvfb",
                {"-displayfd", "1", "-screen", "0", "640x600x24", "-nolisten", "tcp", "-noreset"});
    if (WaitUntil([&] { return xvfb_.canReadLine(); }, 10000))
        name_ = ':' + QString::fromUtf8(xvfb_.readLine()).trimmed();
}

QProcessEnvironment XvfbDisplay::Environment() const {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DISPLAY", name_);
    env.insert("QT_QPA_PLATFORM", "xcb");
    env.remove("DBUS_SESSION_BUS_ADDRESS");
    return env;
}

bool XvfbDisplay::StartTray() {
    tray_.setProcessEnvironment(Environment());
    tray_.start("trayer", {"--edge", "bottom", "--align", "right", "--widthtype", "request",
                           "--height", "32", "--SetDockType", "false"});
    return WaitUntil([&] { return !Xdo({"search", "--class", "trayer"}).isEmpty(); }, 10000);
}

QString XvfbDisplay::Window(const QString& name, int minWidth) const {
    for (const QString& id :
         Xdo({"search", "--onlyvisible", "--name", "^" + name + "$"}).split('\n')) {
        const QString geometry = Xdo({"getwindowgeometry", "--shell", id});
        const int width = geometry.section("WIDTH=", 1).section('\n', 0, 0).toInt();
        if (width >= minWidth) return id;
    }
    return QString();
}

bool XvfbDisplay::Visible(const QString& window) const {
    return Xdo({"search", "--onlyvisible", "--name", "."}).split('\n').contains(window);
}

void XvfbDisplay::Click(const QString& window, int x, int y) const {
    Xdo({"mousemove", "--window", window, QString::number(x), QString::number(y), "click", "1"});
}

void XvfbDisplay::ClickAndType(const QString& window, int x, int y, const QString& text) const {
    Click(window, x, y);
    Xdo({"type", "--delay", "30", text});  // goes to the field the click focused
}

}  // namespace softphone::test
