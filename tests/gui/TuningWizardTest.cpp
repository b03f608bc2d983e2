// The audio tuning wizard over fake devices: what each list offers, and what calibration and
// Cancel keep. OK, the shown choice and the calibration's result are in TuningEngineTest.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QPushButton>

#include "tests/support/Fakes.h"

namespace softphone::test {
namespace {

QStringList Items(QComboBox* box) {
    QStringList items;
    for (int i = 0; i < box->count(); ++i) items << box->itemText(i);
    return items;
}

// Calibration runs on the devices shown, so it keeps them; Cancel afterwards keeps no more.
TEST(TuningWizard, OffersEachListItsDevicesAndCalibratesOnTheShownOnes) {
    FakeAudioTuning tuning;
    TuningWizard wizard(tuning, nullptr);
    EXPECT_EQ(Items(wizard.playbackBox), (QStringList{"Speakers", "HDMI", "Headset"}));
    EXPECT_EQ(Items(wizard.captureBox), (QStringList{"Microphone", "Headset"}));
    EXPECT_EQ(Items(wizard.ringerBox), Items(wizard.playbackBox));
    wizard.playbackBox->setCurrentText("Headset");
    wizard.calibrateButton->click();
    wizard.captureBox->setCurrentText("Microphone");
    wizard.reject();
    EXPECT_EQ(tuning.saved, QStringList{"alsa:headset / alsa:headset / pulse:speakers"});
}

}  // namespace
}  // namespace softphone::test
