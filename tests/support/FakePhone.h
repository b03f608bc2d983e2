#pragma once

#include <QLabel>

#include "app/HandsetWindow.h"
#include "tests/support/FakeDesk.h"
#include "tests/support/FakeEngine.h"
#include "tests/support/Fakes.h"
#include "tests/support/MemoryStore.h"
#include "tests/support/RecordingSoundPlayer.h"

namespace softphone::test {

// The main window over a fake engine, settings in memory and scripted dialogs.
class FakePhone {
public:
    FakePhone()
        : window(HandsetWindow::Services{store, messages, windows, player, [this] {
                                             ++enginesCreated;
                                             if (noEngine)
                                                 throw EngineError(kErrorEngineUnavailable, "none");
                                             auto e = std::make_unique<FakeEngine>(calls);
                                             engine = e.get();
                                             return e;
                                         }}) {
        window.UseDeskServices(desk.Services(player));
    }

    void SaveLogin(const QString& sip, const QString& account, const QString& password,
                   const QString& save = QStringLiteral("yes")) {
        WriteSavedValue(store, "Sip", sip);
        WriteSavedValue(store, "Account", account);
        WriteSavedValue(store, "Password", password);
        WriteSavedValue(store, "Save", save);
    }

    // Started and registered, as most call tests need it.
    void StartRegistered() {
        SaveLogin("127.0.0.1:5070", "12345678901", "pw");
        window.Start();
        engine->Raise(kEventRegistrationState, EngineEvent{kRegRegistered, nullptr, 0, 0});
        calls->clear();
    }

    QString Status() const { return window.statusLabel->text(); }

    MemoryStore store;
    RecordingMessageBox messages;
    ScriptedWindows windows;
    RecordingSoundPlayer player;
    std::shared_ptr<QStringList> calls = std::make_shared<QStringList>();
    FakeEngine* engine = nullptr;
    int enginesCreated = 0;
    bool noEngine = false;
    FakeDesk desk;
    HandsetWindow window;
};

}  // namespace softphone::test
