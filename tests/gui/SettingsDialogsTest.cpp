// The login and network dialogs: what they show and store, and how the login dialog is left.
#include <gtest/gtest.h>

#include <QtTest>
#include <QtWidgets>

#include "app/NetworkDialog.h"
#include "records/LoginDialog.h"
#include "records/SettingsStore.h"
#include "tests/support/Fakes.h"

namespace softphone::test {
namespace {

// EXIT and the window's close button leave without storing anything (Escape is in
// EndToEndTest). LOGIN stores what is typed as it is typed, the server even when empty, for the
// next dialog to show with Save ticked (Save unticked is in RegistrationTest).
TEST(LoginDialog, OnlyLoginStoresWhatIsTyped) {
    QTemporaryDir dir;
    IniSettingsStore store(dir.filePath("Softphone.conf"));
    RecordingMessageBox messages;
    LoginDialog dialog(store, messages);
    EXPECT_FALSE(dialog.saveBox->isChecked());
    EXPECT_EQ(dialog.sipBox->text() + dialog.accountBox->text() + dialog.passwordBox->text(), "");
    dialog.accountBox->setText("123");
    dialog.loginButton->click();
    dialog.accountBox->clear();
    dialog.passwordBox->setText("pw");
    dialog.loginButton->click();
    EXPECT_EQ(messages.shown, QStringList(2, "User Name and Password must not be blank"));
    EXPECT_EQ(dialog.result(), 0);

    // The same dialog opened again after each way of leaving it.
    dialog.accountBox->setText(" ");
    dialog.passwordBox->setText("  p w ");
    dialog.show();
    dialog.exitButton->click();
    EXPECT_EQ(dialog.result(), LoginDialog::Exited);
    dialog.show();
    dialog.close();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_FALSE(QFile::exists(dir.filePath("Softphone.conf")));
    dialog.show();
    dialog.saveBox->setChecked(true);
    dialog.loginButton->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    LoginDialog next(store, messages);  // Save is ticked only as stored: unticked above
    EXPECT_EQ(next.accountBox->text() + '|' + next.passwordBox->text(), " |  p w ");
    EXPECT_TRUE(next.saveBox->isChecked());
}

// The CA file and SRTP matter only over TLS: elsewhere they can not be changed. The STUN server
// can be set with any transport. What is typed is taken without outer blanks. The international
// prefix takes up to four digits and is read out by its label. ("00" until one is chosen: the
// pasted number in DeskTest.)
TEST(NetworkDialog, ShowsTheSettingsAndOffersCaAndSrtpOnlyOverTls) {
    const NetworkSettings saved{SipTransport::Tls,       "/etc/ca.pem", SrtpPolicy::Optional,
                                "stun.example.net:3478", "011",         DtmfMode::SipInfo};
    NetworkDialog dialog(saved);
    EXPECT_EQ(dialog.settings(), saved);
    for (auto [transport, secure] :
         {std::pair{SipTransport::Udp, false}, {SipTransport::Tls, true}}) {
        dialog.transportBox->setCurrentIndex(dialog.transportBox->findData(int(transport)));
        for (QWidget* box : QWidgetList{dialog.caFileBox, dialog.browseButton, dialog.srtpBox,
                                        dialog.stunServerBox})
            EXPECT_EQ(box->isEnabled(), secure || box == dialog.stunServerBox)
                << int(transport) << qPrintable(box->objectName());
    }
    dialog.caFileBox->setText("  /tmp/test ca.pem ");
    dialog.srtpBox->setCurrentIndex(dialog.srtpBox->findData(int(SrtpPolicy::Required)));
    dialog.stunServerBox->setText(" 198.18.0.1 ");
    dialog.internationalPrefixBox->clear();
    QTest::keyClicks(dialog.internationalPrefixBox, "+0a0112");
    dialog.dtmfBox->setCurrentIndex(dialog.dtmfBox->findData(int(DtmfMode::InAudio)));
    EXPECT_EQ(dialog.settings(),
              (NetworkSettings{SipTransport::Tls, "/tmp/test ca.pem", SrtpPolicy::Required,
                               "198.18.0.1", "0011", DtmfMode::InAudio}));
    EXPECT_EQ(QAccessible::queryAccessibleInterface(dialog.internationalPrefixBox)
                  ->text(QAccessible::Name),
              "International prefix");
}

}  // namespace
}  // namespace softphone::test
