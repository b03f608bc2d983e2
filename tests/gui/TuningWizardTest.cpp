#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QPushButton>

#include "tests/support/FakeAudioTuning.h"

namespace softphone::test {
namespace {

QStringList Items(QComboBox* box) {
    QStringList items;
    for (int i = 0; i < box->count(); ++i) items << box->itemText(i);
    return items;
}

TEST(TuningWizard, OffersEachListTheDevicesThatCanServeIt) {
    FakeAudioTuning tuning;
    TuningWizard wizard(tuning, nullptr);
    EXPECT_EQ(Items(wizard.cmbPlayback), (QStringList{"Speakers", "HDMI", "Headset"}));
    EXPECT_EQ(Items(wizard.cmbCapture), (QStringList{"Microphone", "Headset"}));
    EXPECT_EQ(Items(wizard.cmbRinger), (QStringList{"Speakers", "HDMI", "Headset"}));
    EXPECT_EQ(wizard.cmbPlayback->currentText(), "HDMI");
    EXPECT_EQ(wizard.cmbCapture->currentText(), "Headset");
    EXPECT_EQ(wizard.cmbRinger->currentText(), "Speakers");
}

TEST(TuningWizard, OkKeepsTheChoiceAndCancelDoesNot) {
    FakeAudioTuning tuning;
    {
        TuningWizard wizard(tuning, nullptr);
        wizard.cmbPlayback->setCurrentText("Headset");
        wizard.cmbCapture->setCurrentText("Microphone");
        wizard.reject();
    }
    EXPECT_TRUE(tuning.saved.isEmpty());
    TuningWizard wizard(tuning, nullptr);
    wizard.cmbPlayback->setCurrentText("Headset");
    wizard.cmbCapture->setCurrentText("Microphone");
    wizard.accept();
    EXPECT_EQ(tuning.saved, QStringList{"alsa:headset / pulse:mic / pulse:speakers"});
    EXPECT_EQ(wizard.result(), QDialog::Accepted);
}

TEST(TuningWizard, CalibrationRunsOnTheShownDevicesAndReportsItsResult) {
    FakeAudioTuning tuning;
    TuningWizard wizard(tuning, nullptr);
    wizard.cmdCalibrate->click();
    EXPECT_EQ(tuning.saved, QStringList{"pulse:hdmi / alsa:headset / pulse:speakers"});
    EXPECT_FALSE(wizard.cmdCalibrate->isEnabled());
    ASSERT_TRUE(tuning.calibrationDone);
    tuning.calibrationDone("Echo delay 120 ms: echo cancelling on");
    EXPECT_EQ(wizard.lblCalibration->text(), "Echo delay 120 ms: echo cancelling on");
    EXPECT_TRUE(wizard.cmdCalibrate->isEnabled());
}

TEST(TuningWizard, LateCalibrationResultAfterTheWizardClosedIsHarmless) {
    FakeAudioTuning tuning;
    {
        TuningWizard wizard(tuning, nullptr);
        wizard.CalibrateEchoCanceller();
    }
    tuning.calibrationDone("No echo: echo cancelling off");
}

}  // namespace
}  // namespace softphone::test
