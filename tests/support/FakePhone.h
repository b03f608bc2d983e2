#pragma once

#include <QComboBox>
#include <QLabel>

#include "app/HandsetWindow.h"
#include "tests/support/FakeDesk.h"
#include "tests/support/FakeEngine.h"
#include "tests/support/Fakes.h"
#include "tests/support/MemoryStore.h"
#include "tests/support/RecordingSoundPlayer.h"
#include "tests/support/Wait.h"

namespace softphone::test {

// The phone and its handset over a fake engine, settings in memory and scripted dialogs.
class FakePhone {
public:
    FakePhone()
        : phone({store, messages, player,
                 [this] {
                     ++enginesCreated;
                     if (noEngine) throw EngineError(EngineFailure::Unavailable, "none");
                     auto e = std::make_unique<FakeEngine>(calls);
                     engine = e.get();
                     return e;
                 }}),
          window(phone, {messages, windows, player}) {
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
        engine->Register(RegistrationState::Registered);
        calls->clear();
    }

    // Dial as the user presses it; returns once the number has been dialled.
    void Dial(const QString& number) {
        window.numberBox->setEditText(number);
        window.OnDialClicked();
        WaitUntil([this] { return !phone.Dialling(); });
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
    PhoneController phone;
    HandsetWindow window;
};

}  // namespace softphone::test
