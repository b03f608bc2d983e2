#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

#include "records/frmLogin.h"
#include "tests/support/Fakes.h"
#include "tests/support/MemoryStore.h"

namespace softphone::test {
namespace {

class LoginDialogTest : public ::testing::Test {
protected:
    std::unique_ptr<frmLogin> Open() {
        return std::make_unique<frmLogin>(store, messages, &lblBalance);
    }
    MemoryStore store;
    RecordingMessageBox messages;
    QLabel lblBalance;
};

TEST_F(LoginDialogTest, BlankAccountOrPasswordIsRefusedAndNothingStored) {
    struct Case {
        const char *account, *password;
    };
    for (Case c : {Case{"", "pw"}, Case{"123", ""}, Case{"", ""}}) {
        messages.shown.clear();
        auto dialog = Open();
        dialog->txtAcctNo->setText(c.account);
        dialog->txtPassword->setText(c.password);
        dialog->cmdLogin->click();
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_EQ(messages.shown[0].text, "User Name and Password must not be blank");
        EXPECT_EQ(messages.shown[0].title, "Softphone");
        EXPECT_EQ(messages.shown[0].icon, MessageIcon::None);
        EXPECT_TRUE(store.values.isEmpty());
        EXPECT_EQ(dialog->result(), 0);
    }
}

TEST_F(LoginDialogTest, LoginStoresValuesAsTypedWhateverTheBox) {
    for (bool ticked : {false, true}) {
        auto dialog = Open();
        dialog->txtSip->setText("");
        dialog->txtAcctNo->setText(" ");
        dialog->txtPassword->setText("  p w ");
        dialog->chkbxSaveSettings->setChecked(ticked);
        dialog->cmdLogin->click();
        EXPECT_TRUE(messages.shown.empty());
        EXPECT_EQ(dialog->result(), QDialog::Accepted);
        EXPECT_EQ(ReadSavedValue(store, "Account"), " ");
        EXPECT_EQ(ReadSavedValue(store, "Password"), "  p w ");
        EXPECT_TRUE(store.Has("Sip"));  // an empty server is stored as ""
        EXPECT_EQ(ReadSavedValue(store, "Save"), ticked ? "yes" : "no");
    }
}

TEST_F(LoginDialogTest, StoredValuesFillTheBoxesAndTickSave) {
    auto empty = Open();
    EXPECT_FALSE(empty->chkbxSaveSettings->isChecked());
    EXPECT_EQ(empty->txtSip->text() + empty->txtAcctNo->text() + empty->txtPassword->text(), "");

    WriteSavedValue(store, "Sip", "sip.example.com");
    auto onlyServer = Open();
    EXPECT_TRUE(onlyServer->chkbxSaveSettings->isChecked());
    EXPECT_EQ(onlyServer->txtSip->text(), "sip.example.com");
    EXPECT_EQ(onlyServer->txtAcctNo->text(), "");

    WriteSavedValue(store, "Account", "12345");
    WriteSavedValue(store, "Password", "pw");
    auto all = Open();
    EXPECT_EQ(all->txtAcctNo->text(), "12345");
    EXPECT_EQ(all->txtPassword->text(), "pw");
    EXPECT_EQ(all->txtPassword->echoMode(), QLineEdit::Normal);
}

TEST_F(LoginDialogTest, AccountStopsAtFifteenCharacters) {
    auto dialog = Open();
    QTest::keyClicks(dialog->txtAcctNo, "12345678901234567890");
    EXPECT_EQ(dialog->txtAcctNo->text(), "123456789012345");
}

// Only LOGIN accepts the dialog: the start-up ends on any other way out.
TEST_F(LoginDialogTest, EachWayOutStoresOnlyOnLogin) {
    const struct {
        const char* way;
        std::function<void(frmLogin&)> leave;
        int result;
        const char* balance;
    } cases[] = {
        {"LOGIN", [](frmLogin& d) { d.cmdLogin->click(); }, QDialog::Accepted, ""},
        {"EXIT", [](frmLogin& d) { d.cmdExit->click(); }, QDialog::Rejected, "EXITING"},
        {"Escape", [](frmLogin& d) { QTest::keyClick(d.txtPassword, Qt::Key_Escape); },
         QDialog::Rejected, ""},
        {"close", [](frmLogin& d) { d.close(); }, QDialog::Rejected, ""},
    };
    for (const auto& c : cases) {
        store.values.clear();
        lblBalance.clear();
        auto dialog = Open();
        dialog->txtAcctNo->setText("1");
        dialog->txtPassword->setText("2");
        QTimer::singleShot(0, dialog.get(), [&] { c.leave(*dialog); });
        EXPECT_EQ(dialog->exec(), c.result) << c.way;
        EXPECT_EQ(lblBalance.text(), c.balance) << c.way;
        EXPECT_EQ(store.values.isEmpty(), c.result == QDialog::Rejected) << c.way;
    }
}

TEST_F(LoginDialogTest, TabGoesThroughTheControlsInOrder) {
    auto dialog = Open();
    QWidget* expected[] = {dialog->txtSip,   dialog->txtAcctNo, dialog->txtPassword,
                           dialog->chkbxSaveSettings, dialog->cmdLogin, dialog->cmdExit};
    for (size_t i = 0; i + 1 < std::size(expected); ++i) {
        QWidget* next = expected[i]->nextInFocusChain();
        while (next && !(next->focusPolicy() & Qt::TabFocus)) next = next->nextInFocusChain();
        EXPECT_EQ(next, expected[i + 1]) << i;
    }
}

}  // namespace
}  // namespace softphone::test
