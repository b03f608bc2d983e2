#pragma once

#include <QDir>
#include <QPoint>

#include "tests/support/Child.h"
#include "tests/support/Wait.h"

namespace softphone::test {

// A private Xvfb display for one test, and xdotool to act on it as a person would.
class XvfbDisplay {
public:
    XvfbDisplay() {
        // It picks a free display number and prints it once it accepts clients.
        xvfb_.start("Xvfb", {"-displayfd", "1", "-screen", "0", "640x600x24", "-nolisten", "tcp",
                             "-noreset"});
        if (waitUntil([&] { return xvfb_.canReadLine(); }, 10000))
            name_ = ':' + QString::fromUtf8(xvfb_.readLine()).trimmed();
    }
    bool started() const { return !name_.isEmpty(); }
    // Stops the X server, as when a desktop session ends.
    void end() { xvfb_.end(); }
    // The system environment on this display, away from the desktop's session bus.
    QProcessEnvironment environment() const {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("DISPLAY", name_);
        env.insert("QT_QPA_PLATFORM", "xcb");
        env.remove("DBUS_SESSION_BUS_ADDRESS");
        return env;
    }
    // Runs xdotool with the arguments; its output.
    QString xdo(const QStringList& args) const {
        return output("xdotool", args, nullptr, environment());
    }
    // The id of a visible window with exactly this name, at least `minWidth` wide, once it shows
    // (20 s at most); "" when it does not.
    QString window(const QString& name, int minWidth = 1) const {
        QString found;
        const auto shows = [&] {
            const QString ids = xdo({"search", "--onlyvisible", "--name", "^" + name + "$"});
            for (const QString& id : ids.split('\n')) {
                const QString geometry = xdo({"getwindowgeometry", "--shell", id});
                if (geometry.section("WIDTH=", 1).section('\n', 0, 0).toInt() >= minWidth)
                    found = id;
            }
            return !found.isEmpty();
        };
        waitUntil(shows, 20000);
        return found;
    }
    bool visible(const QString& window) const {
        return xdo({"search", "--onlyvisible", "--name", "."}).split('\n').contains(window);
    }
    // Clicks at `at` in the window, then types `text` into the field the click focused.
    void click(const QString& window, QPoint at, const QString& text = {}) const {
        xdo({"mousemove", "--window", window, QString::number(at.x()), QString::number(at.y()),
             "click", "1"});
        if (!text.isEmpty()) xdo({"type", "--delay", "30", text});
    }

private:
    Child xvfb_;
    QString name_;  // ":N"
};

// Centres of the controls, in pixels from the window's corner.
constexpr QPoint kSipBox{148, 41}, kAccountBox{148, 65}, kPasswordBox{148, 89}, kLogin{66, 154};
constexpr QPoint kNumberField{132, 90}, kDial{43, 258}, kEnd{252, 257}, kHide{275, 28},
    kClose{262, 15};

// The program `binary` started on `display` by a user whose home (with its XDG config, data and
// cache folders under it) is `home`, whose runtime folder is `runtime` and whose sound server is
// at `pulseServer`; driven as a person would.
class RunningPhone : public Child {
public:
    RunningPhone(const XvfbDisplay& display, const QString& binary, const QString& home,
                 const QString& runtime, const QString& pulseServer)
        : display_(display) {
        QProcessEnvironment env = display.environment();
        env.insert("HOME", home);
        for (const QString folder : {"config", "data", "cache"})
            env.insert("XDG_" + folder.toUpper() + "_HOME", home + '/' + folder);
        env.insert("XDG_RUNTIME_DIR", runtime);
        env.insert("PULSE_SERVER", pulseServer);
        QDir().mkpath(home);
        QDir().mkdir(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        setProcessEnvironment(env);
        start(binary, {});
        waitForStarted(5000);
    }

    QString loginDialog() const { return display_.window("Please Enter Your Pin"); }
    // Logs in with any server address (registration need not succeed); the handset window's id
    // once it shows, or "".
    QString logIn(const QString& server) {
        const QString login = loginDialog();
        display_.click(login, kSipBox, server);
        display_.click(login, kAccountBox, "1001");
        display_.click(login, kPasswordBox, "secret");
        display_.click(login, kLogin);
        return display_.window("Softphone", 281);  // message boxes share the title; it is wider
    }
    // Whether it has ended or ends within 15 s, by itself rather than by a signal.
    bool endsInOrder() {
        return (state() == NotRunning || waitForFinished(15000)) && exitStatus() == NormalExit;
    }

private:
    const XvfbDisplay& display_;
};

}  // namespace softphone::test
