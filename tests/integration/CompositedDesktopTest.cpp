// The real program where the desktop composites: on native Wayland (a private headless weston,
// software rendering so that screenshots hold real pixels, its socket in a folder of its own)
// and on X11 with a compositing manager (xcompmgr on a private Xvfb).
#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <utility>

#include "tests/support/PulseServer.h"
#include "tests/support/RunningPhone.h"
#include "tests/support/Wait.h"

namespace softphone::test {
namespace {

int pixelsOfColour(const QImage& image, QRgb colour) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) count += (image.pixel(x, y) | 0xFF000000) == colour;
    return count;
}

// The whole screen as the compositor shows it; null on failure.
QImage screenshot(const QProcessEnvironment& env) {
    QTemporaryDir folder;
    Child shooter;
    shooter.setProcessEnvironment(env);
    shooter.setWorkingDirectory(folder.path());
    shooter.start("weston-screenshooter", {});
    if (!shooter.waitForFinished(10000)) return {};
    const QStringList shots = QDir(folder.path()).entryList({"*.png"}, QDir::Files);
    return shots.isEmpty() ? QImage() : QImage(folder.filePath(shots.first()));
}

// A Wayland window is never cut to a mask: the login dialog must show no key colour around
// its rounded corners.
TEST(Wayland, LoginDialogShowsNoKeyColourAroundItsOutline) {
    QTemporaryDir runtime;
    QFile::setPermissions(runtime.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_RUNTIME_DIR", runtime.path());
    env.insert("WAYLAND_DISPLAY", "softphone-test");
    env.insert("QT_QPA_PLATFORM", "wayland");
    env.remove("DISPLAY");
    // --debug lets any client take screenshots.
    Child weston("weston",
                 {"--backend=headless-backend.so", "--use-pixman", "--socket=softphone-test",
                  "--width=520", "--height=560", "--idle-time=0", "--debug"},
                 env);
    ASSERT_TRUE(waitUntil([&] { return QFile::exists(runtime.filePath("softphone-test")); }));
    PulseServer pulse;  // a mixer, so no message box comes first
    ASSERT_TRUE(pulse.running());
    QTemporaryDir home;
    for (const char* folder : {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME"})
        env.insert(folder, home.filePath(folder));
    env.insert("PULSE_SERVER", pulse.address());
    Child phone(SOFTPHONE_BINARY, {}, env);

    // The login dialog's three entry boxes (#f4f8fb) show, and two screenshots in a row agree.
    QImage screen;
    ASSERT_TRUE(waitUntil(
        [&] {
            const QImage last = std::exchange(screen, screenshot(env));
            return !screen.isNull() && screen == last &&
                   pixelsOfColour(screen, qRgb(0xf4, 0xf8, 0xfb)) > 3000;
        },
        20000));
    EXPECT_EQ(pixelsOfColour(screen, qRgb(0xff, 0x00, 0xff)), 0);
}

// On X11 the soft edge stays whole and only the input follows the outline: the pointer over a
// transparent corner of the login dialog is over the window behind (here the screen), a little
// further in it is over the dialog.
TEST(X11Compositing, ClicksAroundTheOutlineReachTheWindowBehind) {
    XvfbDisplay display;
    ASSERT_TRUE(display.started());
    Child compositor("xcompmgr", {}, display.environment());
    // It names the window that owns the compositing selection once it has taken it.
    ASSERT_TRUE(waitUntil([&] {
        return !display.xdo({"search", "--name", "^xcompmgr$"}).isEmpty();
    }));
    PulseServer pulse;  // a mixer, so no message box comes first
    QTemporaryDir home;
    RunningPhone phone(display, SOFTPHONE_BINARY, home.path(), home.filePath("run"),
                       pulse.address());
    const QString login = phone.loginDialog();
    ASSERT_FALSE(login.isEmpty());
    auto windowAt = [&](QPoint at) {
        display.xdo({"mousemove", "--sync", "--window", login, QString::number(at.x()),
                     QString::number(at.y())});
        return display.xdo({"getmouselocation", "--shell"}).section("WINDOW=", 1).trimmed();
    };
    EXPECT_NE(windowAt({1, 1}), QString::number(login.toULongLong()));
    EXPECT_EQ(windowAt({100, 100}), QString::number(login.toULongLong()));
}

}  // namespace
}  // namespace softphone::test
