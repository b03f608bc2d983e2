// The main window over fakes, but with the desktop's real tray, for tests on a private X
// server. Prints "hide <x> <y>" (the hide button's centre on the screen) once shown, then
// "shown" or "hidden" whenever the window's visibility changes.
#include <QApplication>
#include <QTimer>
#include <cstdio>

#include "support/PictureButton.h"
#include "tests/support/FakePhone.h"

using namespace softphone;

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    test::FakePhone phone;
    DeskServices desk = phone.desk.Services(phone.player);
    desk.createTray = [](QMenu* menu) { return std::make_unique<QtTray>(menu); };
    phone.window.UseDeskServices(desk);
    phone.StartRegistered();
    phone.window.show();

    QTimer watch;
    bool reported = false, visible = false;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (!reported && phone.window.isVisible()) {
            QWidget* hide = phone.window.hideButton;
            const QPoint centre = hide->mapToGlobal(hide->rect().center());
            std::printf("hide %d %d\n", centre.x(), centre.y());
            reported = visible = true;
        } else if (reported && phone.window.isVisible() != visible) {
            visible = phone.window.isVisible();
            std::printf(visible ? "shown\n" : "hidden\n");
        }
        std::fflush(stdout);
    });
    watch.start(50);
    return QApplication::exec();
}
