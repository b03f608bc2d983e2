// Prints what the skin costs: rendering the artwork, cutting each window to its skin's outline
// (target: all four under 5 ms together), showing the handset window, and the memory the
// pictures take. With a folder as argument, also saves the handset and the login dialog there
// as PNG pictures, drawn without a screen.
#include <QApplication>
#include <QElapsedTimer>
#include <QPainter>
#include <QTest>
#include <cstdio>

#include "records/LoginDialog.h"
#include "support/Skin.h"
#include "support/WindowShape.h"
#include "tests/support/FakePhone.h"

using namespace softphone;

namespace {

struct Named {
    WindowSkin which;
    const char* name;
};
constexpr Named kSkins[] = {{WindowSkin::Handset, "handset"},
                            {WindowSkin::Login, "login"},
                            {WindowSkin::PhoneBook, "phone book"},
                            {WindowSkin::RecentCalls, "recent calls"}};

const char* const kArt[] = {"dial-off",  "dial-on",  "end-off",   "end-on",     "recent-off",
                            "recent-on", "book-off", "book-on",   "wizard-off", "wizard-on",
                            "pin-off",   "pin-on",   "clear-off", "clear-on",   "back-off",
                            "back-on",   "close",    "hide",      "banner",     "tray",
                            "speaker",   "mic",      "signal",    "knob"};
const char* const kKeys[] = {"1", "2", "3", "4", "5", "6", "7", "8", "9", "*", "0", "#"};

double ms(const QElapsedTimer& clock) { return clock.nsecsElapsed() / 1e6; }

// The window as the screen shows it: what its mask cuts away is transparent.
QImage shaped(QWidget& window) {
    QImage image = window.grab().toImage().convertToFormat(QImage::Format_ARGB32);
    const QRegion mask = window.mask();
    const int scale = qRound(image.devicePixelRatio());
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (!mask.contains(QPoint(x / scale, y / scale))) image.setPixel(x, y, 0);
    return image;
}

// What start-up does for the looks: shape the window, then show and paint it.
void showHandset(QWidget& window) {
    shapeWindowToPicture(&window, windowSkinPicture(WindowSkin::Handset),
                         QColor::fromRgb(kSkinKeyColor));
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) std::printf("the window was never exposed\n");
    QCoreApplication::processEvents();
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    // The handset from nothing: controls with their artwork rendered, shape, shown and painted.
    QElapsedTimer clock;
    clock.start();
    auto phone = std::make_unique<test::FakePhone>();
    showHandset(phone->window);
    std::printf("show handset window (first, artwork rendered): %8.2f ms\n", ms(clock));
    if (argc > 1) {
        const QString folder = QString::fromLocal8Bit(argv[1]);
        shaped(phone->window).save(folder + "/handset.png");
        LoginDialog login(phone->store, phone->messages, &phone->window);
        login.show();
        shaped(login).save(folder + "/login.png");
    }
    phone.reset();
    clock.restart();
    phone = std::make_unique<test::FakePhone>();
    showHandset(phone->window);
    std::printf("show handset window (again, artwork kept):     %8.2f ms\n", ms(clock));

    constexpr int kRounds = 200;
    double allScans = 0;
    qint64 bytes1 = 0, bytes2 = 0;
    for (const Named& skin : kSkins) {
        clock.restart();
        const QImage logical = renderWindowSkin(skin.which, 1);
        const double render1 = ms(clock);
        clock.restart();
        const QImage large = renderWindowSkin(skin.which, 2);
        const double render2 = ms(clock);
        QWidget window(nullptr, Qt::FramelessWindowHint);
        clock.restart();
        for (int i = 0; i < kRounds; ++i)
            shapeWindowToPicture(&window, logical, QColor::fromRgb(kSkinKeyColor));
        const double scan = ms(clock) / kRounds;
        allScans += scan;
        bytes1 += logical.sizeInBytes();
        bytes2 += large.sizeInBytes();
        std::printf(
            "%-12s %3dx%3d  render %6.2f ms, twice size %6.2f ms, shape %6.3f ms, "
            "%3d rectangles\n",
            skin.name, logical.width(), logical.height(), render1, render2, scan,
            window.mask().rectCount());
    }
    std::printf("all four shapes: %.3f ms (target under 5 ms)\n", allScans);

    clock.restart();
    for (const char* art : kArt) {
        bytes1 += renderArt(QLatin1String(art), 1).sizeInBytes();
        bytes2 += renderArt(QLatin1String(art), 2).sizeInBytes();
    }
    for (const char* key : kKeys)
        for (const char* face : {"key-off", "key-on"}) {
            bytes1 += renderArt(QLatin1String(face), 1, QLatin1String(key)).sizeInBytes();
            bytes2 += renderArt(QLatin1String(face), 2, QLatin1String(key)).sizeInBytes();
        }
    std::printf("render all %zu faces and icons at both sizes: %.2f ms\n",
                std::size(kArt) + 2 * std::size(kKeys), ms(clock));
    std::printf("memory of all pictures: %.0f KiB at normal size, %.0f KiB at twice size\n",
                bytes1 / 1024.0, bytes2 / 1024.0);
    return 0;
}
