// The real program on native Wayland: a private headless weston, rendering in software so that
// screenshots hold real pixels. (Compositing on X11 is in EndToEndTest.)
#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <algorithm>
#include <utility>

#include "tests/support/Child.h"
#include "tests/support/PulseServer.h"
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
    QTemporaryDir folder;  // it saves into the current folder
    output("sh", {"-c", "cd \"$0\" && exec weston-screenshooter", folder.path()}, nullptr, env);
    const QStringList shots = QDir(folder.path()).entryList({"*.png"}, QDir::Files);
    return shots.isEmpty() ? QImage() : QImage(folder.filePath(shots.first()));
}

// A Wayland window is never cut to a mask: the login dialog must show no key colour around
// its rounded corners.
TEST(Wayland, LoginDialogShowsNoKeyColourAroundItsOutline) {
    PulseServer pulse;  // a mixer, so no message box comes first
    ASSERT_TRUE(pulse.running());
    QTemporaryDir runtime;                          // 0700, as weston demands
    QProcessEnvironment env = pulse.environment();  // with the tests' own home
    env.insert("XDG_RUNTIME_DIR", runtime.path());
    env.insert("WAYLAND_DISPLAY", "softphone-test");
    env.insert("QT_QPA_PLATFORM", "wayland");
    // --debug lets any client take screenshots.
    Child weston("weston",
                 {"--backend=headless-backend.so", "--use-pixman", "--socket=softphone-test",
                  "--width=520", "--height=560", "--idle-time=0", "--debug"},
                 env);
    ASSERT_TRUE(waitUntil([&] { return QFile::exists(runtime.filePath("softphone-test")); }));
    Child phone(SOFTPHONE_BINARY, {}, env);

    // The login dialog's three entry boxes (#f4f8fb) show, and two screenshots in a row agree.
    QImage screen;
    const auto settled = [&] {
        const QImage last = std::exchange(screen, screenshot(env));
        return !screen.isNull() && screen == last &&
               pixelsOfColour(screen, qRgb(0xf4, 0xf8, 0xfb)) > 3000;
    };
    ASSERT_TRUE(waitUntil(settled, 20000));
    EXPECT_EQ(pixelsOfColour(screen, qRgb(0xff, 0x00, 0xff)), 0);
}

}  // namespace
}  // namespace softphone::test
