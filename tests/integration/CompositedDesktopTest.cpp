// The real program where the desktop composites: on native Wayland (a private headless weston,
// rendering in software so that screenshots hold real pixels) and on X11 (xcompmgr on Xvfb).
#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <algorithm>
#include <utility>

#include "tests/support/PulseServer.h"
#include "tests/support/RunningPhone.h"
#include "tests/support/Wait.h"

namespace softphone::test {
namespace {

int pixelsOfColour(const QImage& image, QRgb colour) {
    const QImage opaque = image.convertToFormat(QImage::Format_RGB32);  // 0xffRRGGBB per pixel
    const auto* pixels = reinterpret_cast<const QRgb*>(opaque.constBits());
    return int(std::count(pixels, pixels + opaque.width() * opaque.height(), colour));
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
    PulseServer pulse;  // a mixer, so no message box comes first
    ASSERT_TRUE(pulse.running());
    QTemporaryDir runtime, home;  // runtime is 0700, as weston demands
    QProcessEnvironment env = pulse.environment();
    for (const char* folder : {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME"})
        env.insert(folder, home.filePath(folder));
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
    auto windowAt = [&](const QString& x, const QString& y) {
        display.xdo({"mousemove", "--sync", "--window", login, x, y});
        return display.xdo({"getmouselocation", "--shell"}).section("WINDOW=", 1).trimmed();
    };
    EXPECT_NE(windowAt("1", "1"), QString::number(login.toULongLong()));
    EXPECT_EQ(windowAt("100", "100"), QString::number(login.toULongLong()));
}

}  // namespace
}  // namespace softphone::test
