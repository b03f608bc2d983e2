// The audio tuning wizard over fake devices: what each list offers, and what OK, Cancel and the
// echo calibration choose.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QPushButton>

#include "tests/support/Fakes.h"

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
    EXPECT_EQ(Items(wizard.playbackBox), (QStringList{"Speakers", "HDMI", "Headset"}));
    EXPECT_EQ(Items(wizard.captureBox), (QStringList{"Microphone", "Headset"}));
    EXPECT_EQ(Items(wizard.ringerBox), (QStringList{"Speakers", "HDMI", "Headset"}));
    EXPECT_EQ(wizard.playbackBox->currentText(), "HDMI");
    EXPECT_EQ(wizard.captureBox->currentText(), "Headset");
    EXPECT_EQ(wizard.ringerBox->currentText(), "Speakers");
}

TEST(TuningWizard, OkKeepsTheChoiceAndCancelDoesNot) {
    for (bool ok : {false, true}) {
        FakeAudioTuning tuning;
        TuningWizard wizard(tuning, nullptr);
        wizard.playbackBox->setCurrentText("Headset");
        wizard.captureBox->setCurrentText("Microphone");
        ok ? wizard.accept() : wizard.reject();
        EXPECT_EQ(tuning.saved,
                  ok ? QStringList{"alsa:headset / pulse:mic / pulse:speakers"} : QStringList());
    }
}

TEST(TuningWizard, CalibrationRunsOnTheShownDevicesAndReportsItsResult) {
    FakeAudioTuning tuning;
    TuningWizard wizard(tuning, nullptr);
    wizard.calibrateButton->click();
    EXPECT_EQ(tuning.saved, QStringList{"pulse:hdmi / alsa:headset / pulse:speakers"});
    EXPECT_FALSE(wizard.calibrateButton->isEnabled());
    ASSERT_TRUE(tuning.calibrationDone);
    tuning.calibrationDone("Echo delay 120 ms: echo cancelling on");
    EXPECT_EQ(wizard.calibrationLabel->text(), "Echo delay 120 ms: echo cancelling on");
    EXPECT_TRUE(wizard.calibrateButton->isEnabled());
}

}  // namespace
}  // namespace softphone::test
