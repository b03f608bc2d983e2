// The tuning wizard of the real engine: its devices come from liblinphone and the choice made
// in it is still there when the engine starts again.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include "app/LinphoneEngine.h"
#include "app/TuningWizard.h"
#include "tests/support/PulseServer.h"
#include "tests/support/RecordingSoundPlayer.h"
#include "tests/support/Wait.h"

namespace softphone::test {
namespace {

QStringList Items(QComboBox* box) {
    QStringList items;
    for (int i = 0; i < box->count(); ++i) items << box->itemData(i).toString();
    return items;
}

// Runs the engine's wizard; `user` acts in it once it is up, then it is closed with OK.
void RunWizard(LinphoneEngine& engine, const std::function<void(TuningWizard&)>& user) {
    bool seen = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* wizard = dynamic_cast<TuningWizard*>(QApplication::activeModalWidget());
        if (!wizard) return;
        poll.stop();
        seen = true;
        user(*wizard);
        wizard->accept();
    });
    poll.start(20);
    engine.InvokeTuningWizard(nullptr);
    EXPECT_TRUE(seen);
}

TEST(TuningEngine, ChoiceSticksAcrossRuns) {
    PulseServer server;
    ASSERT_TRUE(server.Running());
    server.UseInThisProcess();
    QTemporaryDir folder;
    RecordingSoundPlayer ringer;

    QString chosen;
    {
        LinphoneEngine engine(folder.path(), ringer);
        engine.Initialize();
        RunWizard(engine, [&](TuningWizard& wizard) {
            ASSERT_GE(wizard.cmbPlayback->count(), 2)
                << Items(wizard.cmbPlayback).join(", ").toStdString();
            ASSERT_GE(wizard.cmbCapture->count(), 1);
            // Whatever is not chosen now.
            const int other = wizard.cmbPlayback->currentIndex() == 0 ? 1 : 0;
            wizard.cmbPlayback->setCurrentIndex(other);
            chosen = wizard.cmbPlayback->currentData().toString();
        });
        engine.Shutdown();
    }
    ASSERT_FALSE(chosen.isEmpty());
    LinphoneEngine again(folder.path(), ringer);
    again.Initialize();
    RunWizard(again, [&](TuningWizard& wizard) {
        EXPECT_EQ(wizard.cmbPlayback->currentData().toString(), chosen);
    });
}

TEST(TuningEngine, EchoCalibrationReportsAResult) {
    PulseServer server;
    ASSERT_TRUE(server.Running());
    server.UseInThisProcess();
    QTemporaryDir folder;
    RecordingSoundPlayer ringer;
    LinphoneEngine engine(folder.path(), ringer);
    engine.Initialize();
    QString result;
    RunWizard(engine, [&](TuningWizard& wizard) {
        wizard.cmdCalibrate->click();
        WaitUntil([&] { return wizard.cmdCalibrate->isEnabled(); }, 15000);
        result = wizard.lblCalibration->text();
    });
    // A null sink hears nothing of what it plays.
    EXPECT_TRUE(result == "No echo: echo cancelling off" || result == "Calibration failed")
        << result.toStdString();
}

TEST(TuningEngine, NotStartedEngineRaisesAnError) {
    QTemporaryDir folder;
    RecordingSoundPlayer ringer;
    LinphoneEngine engine(folder.path(), ringer);
    EXPECT_THROW(engine.InvokeTuningWizard(nullptr), EngineError);
}

}  // namespace
}  // namespace softphone::test
