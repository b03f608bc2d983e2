#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
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
    std::unique_ptr<LoginDialog> Open() {
        return std::make_unique<LoginDialog>(store, messages);
    }
    MemoryStore store;
    RecordingMessageBox messages;
};

TEST_F(LoginDialogTest, BlankAccountOrPasswordIsRefusedAndNothingStored) {
    struct Case {
        const char *account, *password;
    };
    for (Case c : {Case{"", "pw"}, Case{"123", ""}, Case{"", ""}}) {
        messages.shown.clear();
        auto dialog = Open();
        dialog->accountBox->setText(c.account);
        dialog->passwordBox->setText(c.password);
        dialog->loginButton->click();
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
        dialog->sipBox->setText("");
        dialog->accountBox->setText(" ");
        dialog->passwordBox->setText("  p w ");
        dialog->saveBox->setChecked(ticked);
        dialog->loginButton->click();
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
    EXPECT_FALSE(empty->saveBox->isChecked());
    EXPECT_EQ(empty->sipBox->text() + empty->accountBox->text() + empty->passwordBox->text(), "");

    WriteSavedValue(store, "Sip", "sip.example.com");
    auto onlyServer = Open();
    EXPECT_TRUE(onlyServer->saveBox->isChecked());
    EXPECT_EQ(onlyServer->sipBox->text(), "sip.example.com");
    EXPECT_EQ(onlyServer->accountBox->text(), "");

    WriteSavedValue(store, "Account", "12345");
    WriteSavedValue(store, "Password", "pw");
    auto all = Open();
    EXPECT_EQ(all->accountBox->text(), "12345");
    EXPECT_EQ(all->passwordBox->text(), "pw");
    EXPECT_EQ(all->passwordBox->echoMode(), QLineEdit::Normal);
}

TEST_F(LoginDialogTest, AccountStopsAtFifteenCharacters) {
    auto dialog = Open();
    QTest::keyClicks(dialog->accountBox, "12345678901234567890");
    EXPECT_EQ(dialog->accountBox->text(), "123456789012345");
}

// Only LOGIN accepts the dialog: the start-up ends on any other way out.
TEST_F(LoginDialogTest, EachWayOutStoresOnlyOnLogin) {
    const struct {
        const char* way;
        std::function<void(LoginDialog&)> leave;
        int result;
    } cases[] = {
        {"LOGIN", [](LoginDialog& d) { d.loginButton->click(); }, QDialog::Accepted},
        {"EXIT", [](LoginDialog& d) { d.exitButton->click(); }, LoginDialog::Exited},
        {"Escape", [](LoginDialog& d) { QTest::keyClick(d.passwordBox, Qt::Key_Escape); },
         QDialog::Rejected},
        {"close", [](LoginDialog& d) { d.close(); }, QDialog::Rejected},
    };
    for (const auto& c : cases) {
        store.values.clear();
        auto dialog = Open();
        dialog->accountBox->setText("1");
        dialog->passwordBox->setText("2");
        QTimer::singleShot(0, dialog.get(), [&] { c.leave(*dialog); });
        EXPECT_EQ(dialog->exec(), c.result) << c.way;
        EXPECT_EQ(store.values.isEmpty(), c.result != QDialog::Accepted) << c.way;
    }
}

TEST_F(LoginDialogTest, TabGoesThroughTheControlsInOrder) {
    auto dialog = Open();
    QWidget* expected[] = {dialog->sipBox,   dialog->accountBox, dialog->passwordBox,
                           dialog->saveBox, dialog->loginButton, dialog->exitButton};
    for (size_t i = 0; i + 1 < std::size(expected); ++i) {
        QWidget* next = expected[i]->nextInFocusChain();
        while (next && !(next->focusPolicy() & Qt::TabFocus)) next = next->nextInFocusChain();
        EXPECT_EQ(next, expected[i + 1]) << i;
    }
}

}  // namespace
}  // namespace softphone::test
