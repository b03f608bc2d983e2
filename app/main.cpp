#include <QApplication>

#include "app/LinphoneEngine.h"
#include "app/ModalWindows.h"
#include "app/frmSoftphone.h"
#include "dialer/SoundPlayer.h"
#include "records/SettingsStore.h"
#include "support/AppPaths.h"
#include "support/MessageBox.h"
#include "support/QuitOnSignals.h"

using namespace softphone;

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Softphone"));
    QuitOnSignals();

    IniSettingsStore store;
    QtMessageBox messages;
    QtModalWindows windows(store, messages);
    SoundPlayer player;
    frmSoftphone window({store, messages, windows, player, [&player] {
                             MakeFolder(EngineFolder(), 0700);
                             return std::make_unique<LinphoneEngine>(EngineFolder(), player);
                         }});
    window.FormLoad();
    if (window.Ended()) return 0;
    window.show();
    // A message box can outlive the window only while the loop runs; the window's end ends
    // the program either way.
    QObject::connect(&app, &QApplication::lastWindowClosed, &app, &QApplication::quit);
    const int status = QApplication::exec();
    window.close();
    return status;
}
