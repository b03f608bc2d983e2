// The login dialog over settings in memory: what it shows and stores, and how it is left.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

#include "records/LoginDialog.h"
#include "tests/support/Fakes.h"

namespace softphone::test {
namespace {

class LoginDialogTest : public ::testing::Test {
protected:
    MemoryStore store;
    RecordingMessageBox messages;
};

TEST_F(LoginDialogTest, StoredValuesFillTheBoxesAndTickSave) {
    LoginDialog empty(store, messages);
    EXPECT_FALSE(empty.saveBox->isChecked());
    EXPECT_EQ(empty.sipBox->text() + empty.accountBox->text() + empty.passwordBox->text(), "");
    WriteSavedValue(store, "Sip", "sip.example.com");
    LoginDialog onlyServer(store, messages);
    EXPECT_TRUE(onlyServer.saveBox->isChecked());
    EXPECT_EQ(onlyServer.sipBox->text(), "sip.example.com");
    WriteSavedValue(store, "Account", "12345");
    WriteSavedValue(store, "Password", "pw");
    LoginDialog all(store, messages);
    EXPECT_EQ(all.accountBox->text(), "12345");
    EXPECT_EQ(all.passwordBox->text(), "pw");
}

TEST_F(LoginDialogTest, BlankAccountOrPasswordIsRefusedAndNothingStored) {
    for (auto [account, password] : {std::pair{"", "pw"}, {"123", ""}, {"", ""}}) {
        messages.shown.clear();
        LoginDialog dialog(store, messages);
        dialog.accountBox->setText(account);
        dialog.passwordBox->setText(password);
        dialog.loginButton->click();
        EXPECT_EQ(messages.shown, QStringList{"User Name and Password must not be blank"});
        EXPECT_TRUE(store.values.isEmpty());
        EXPECT_EQ(dialog.result(), 0);
    }
}

// Only LOGIN accepts the dialog, and stores what is typed as it is typed, the server even when
// empty; the start-up ends on any other way out.
TEST_F(LoginDialogTest, EachWayOutStoresOnlyOnLogin) {
    const struct {
        const char* way;
        bool save;
        std::function<void(LoginDialog&)> leave;
        int result;
    } cases[] = {
        {"LOGIN", true, [](LoginDialog& d) { d.loginButton->click(); }, QDialog::Accepted},
        {"LOGIN unsaved", false, [](LoginDialog& d) { d.loginButton->click(); }, QDialog::Accepted},
        {"EXIT", true, [](LoginDialog& d) { d.exitButton->click(); }, LoginDialog::Exited},
        {"Escape", true, [](LoginDialog& d) { QTest::keyClick(d.passwordBox, Qt::Key_Escape); },
         QDialog::Rejected},
        {"close", true, [](LoginDialog& d) { d.close(); }, QDialog::Rejected},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.way);
        store.values.clear();
        LoginDialog dialog(store, messages);
        dialog.accountBox->setText(" ");
        dialog.passwordBox->setText("  p w ");
        dialog.saveBox->setChecked(c.save);
        QTimer::singleShot(0, &dialog, [&] { c.leave(dialog); });
        EXPECT_EQ(dialog.exec(), c.result);
        if (c.result != QDialog::Accepted) {
            EXPECT_TRUE(store.values.isEmpty());
            continue;
        }
        EXPECT_EQ(ReadSavedValue(store, "Account"), " ");
        EXPECT_EQ(ReadSavedValue(store, "Password"), "  p w ");
        EXPECT_TRUE(store.values.contains("Sip/Parameters/Validation"));
        EXPECT_EQ(ReadSavedValue(store, "Save"), c.save ? "yes" : "no");
    }
    EXPECT_TRUE(messages.shown.empty());
}

}  // namespace
}  // namespace softphone::test
