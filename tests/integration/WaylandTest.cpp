// The real program on a native Wayland compositor.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <utility>

#include "tests/support/PulseServer.h"
#include "tests/support/Wait.h"
#include "tests/support/WestonDisplay.h"

namespace softphone::test {
namespace {

int PixelsOfColour(const QImage& image, QRgb colour) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) count += (image.pixel(x, y) | 0xFF000000) == colour;
    return count;
}

// The screen once the login dialog's three entry boxes (#f4f8fb) show and two screenshots in a
// row agree; null when that does not happen within 20 s.
QImage ScreenWithLoginDialog(const WestonDisplay& weston) {
    QImage last, screen;
    bool settled = false;  // WaitUntil asks once more at the end: no new screenshot then
    WaitUntil(
        [&] {
            if (settled) return true;
            last = std::exchange(screen, weston.Screenshot());
            settled = !screen.isNull() && screen == last &&
                      PixelsOfColour(screen, qRgb(0xf4, 0xf8, 0xfb)) > 3000;
            return settled;
        },
        20000);
    return settled ? screen : QImage();
}

// A Wayland window is never cut to a mask: the login dialog must show no key colour around
// its rounded corners.
TEST(Wayland, LoginDialogShowsNoKeyColourAroundItsOutline) {
    WestonDisplay weston;
    ASSERT_TRUE(weston.Started());
    PulseServer pulse;  // a mixer, so no message box comes first
    ASSERT_TRUE(pulse.Running());
    QTemporaryDir home;
    QProcessEnvironment env = weston.Environment();
    for (const char* folder : {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME"})
        env.insert(folder, home.filePath(folder));
    env.insert("PULSE_SERVER", pulse.Address());
    QProcess phone;
    phone.setProcessEnvironment(env);
    phone.start(QStringLiteral(SOFTPHONE_BINARY), QStringList());
    ASSERT_TRUE(phone.waitForStarted(5000));
    const QImage screen = ScreenWithLoginDialog(weston);
    phone.kill();
    phone.waitForFinished(3000);
    ASSERT_FALSE(screen.isNull());
    EXPECT_EQ(PixelsOfColour(screen, qRgb(0xff, 0x00, 0xff)), 0);
}

}  // namespace
}  // namespace softphone::test
