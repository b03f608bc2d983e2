#include <QApplication>
#include <QCommandLineParser>
#include <cstdio>
#include <cstdlib>

#include "app/EngineWarmUp.h"
#include "app/HandsetWindow.h"
#include "app/LinphoneEngine.h"
#include "app/ModalWindows.h"
#include "dialer/AudioTuning.h"
#include "dialer/LinkInbox.h"
#include "dialer/SoundPlayer.h"
#include "dialer/Tray.h"
#include "records/SettingsStore.h"
#include "support/AppPaths.h"
#include "support/CursorBlinkTimeout.h"
#include "support/MessageBox.h"
#include "support/Mixer.h"
#include "support/QuitOnSignals.h"
#include "support/ShutdownOnExit.h"
#include "support/SingleInstance.h"
#include "support/SleepWatcher.h"

using namespace softphone;

namespace {

int run(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Softphone"));
    QApplication::setApplicationVersion(QStringLiteral(SOFTPHONE_VERSION));
    QCommandLineParser arguments;
    arguments.addHelpOption();
    arguments.addVersionOption();
    arguments.addPositionalArgument(
        QStringLiteral("link"),
        QApplication::translate("main", "A tel:, sip: or callto: link whose number to show."),
        QStringLiteral("[link]"));
    arguments.process(app);
    const QString link = arguments.positionalArguments().value(0);
    quitOnSignals();
    const CursorBlinkTimeout cursorBlink;
    // A second start only brings the running program to the front, with its link: it must not
    // log in or touch the engine's or the user's files.
    SingleInstance instance;
    if (!instance.claim(link)) return 0;
    // The link's number waits for the login (the handset opens the inbox once it can show it).
    LinkInbox links;
    links.receive(link);
    QObject::connect(&instance, &SingleInstance::linkOpened, &links, &LinkInbox::receive);

    IniSettingsStore store;
    QtMessageBox messages;
    SoundPlayer speaker, ringer;
    makeFolder(engineFolder(), 0700);
    auto engine = std::make_unique<LinphoneEngine>(engineFolder());
    IAudioTuning& tuning = engine->audioTuning();
    QtModalWindows windows(store, messages, tuning, speaker, ringer);
    PhoneController phone({speaker, warmedUpEngine(std::move(engine))});
    HandsetWindow window(phone, {messages, windows, store, speaker, ringer, createAlsaMixer(),
                                 std::make_unique<QtTray>()});
    // The display going away ends the program by exit(1) from inside the event loop: the
    // window's close still hangs up and unregisters first.
    const ShutdownOnExit orderly([&window] { window.close(); });
    QObject::connect(&instance, &SingleInstance::anotherStart, &window, [&window] {
        // While the login dialog or a message box is up, that is what the user must see.
        if (QWidget* modal = QApplication::activeModalWidget()) {
            modal->raise();
            modal->activateWindow();
        } else if (!window.ended()) {
            window.restoreFromTray();
        }
    });
    SleepWatcher sleep;
    phone.followSleep(sleep);
    window.start();
    if (window.ended()) return 0;
    // The program's own sounds play on the devices chosen in the tuning wizard.
    useChosenOutputs(tuning, speaker, ringer);
    window.show();
    QObject::connect(&links, &LinkInbox::linkArrived, &window, [&window](const QString& link) {
        window.showWrittenNumber(link);
        window.restoreFromTray();
    });
    links.open();
    // A message box can outlive the window only while the loop runs; the window's end ends
    // the program either way.
    QObject::connect(&app, &QApplication::lastWindowClosed, &app, &QApplication::quit);
    const int status = QApplication::exec();
    window.close();
    return status;
}

}  // namespace

int main(int argc, char** argv) {
    const int status = run(argc, argv);
    // The phone has hung up, signed off and saved everything, and every object of the program is
    // gone. The libraries' own teardown at exit is skipped: Qt Multimedia's connection to the
    // sound server, closed by a static destructor while the server's event thread still runs,
    // can abort the program (a PulseAudio mainloop assertion) after a clean shutdown.
    std::fflush(nullptr);
    std::_Exit(status);
}
