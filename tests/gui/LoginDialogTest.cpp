// The login dialog over settings in memory: what it shows and stores, and how it is left.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

#include "records/LoginDialog.h"
#include "tests/support/Fakes.h"

namespace softphone::test {
namespace {

class LoginDialogTest : public ::testing::Test {
protected:
    MemoryStore store;
    RecordingMessageBox messages;
};

TEST_F(LoginDialogTest, NothingStoredLeavesTheBoxesEmptyAndRefusesBlanks) {
    LoginDialog empty(store, messages);
    EXPECT_FALSE(empty.saveBox->isChecked());
    EXPECT_EQ(empty.sipBox->text() + empty.accountBox->text() + empty.passwordBox->text(), "");
    empty.accountBox->setText("123");
    empty.loginButton->click();
    empty.accountBox->clear();
    empty.passwordBox->setText("pw");
    empty.loginButton->click();
    EXPECT_EQ(messages.Texts(), QStringList(2, "User Name and Password must not be blank"));
    EXPECT_TRUE(store.values.isEmpty());
    EXPECT_EQ(empty.result(), 0);
}

// Only LOGIN accepts the dialog, and stores what is typed as it is typed, the server even when
// empty, for the next dialog to show with Save ticked; the start-up ends on any other way out
// (Escape is in EndToEndTest).
TEST_F(LoginDialogTest, EachWayOutStoresOnlyOnLogin) {
    const struct {
        const char* way;
        bool save;
        QPushButton* LoginDialog::*button;  // none: the window's close button
        int result;
    } cases[] = {
        {"LOGIN", true, &LoginDialog::loginButton, QDialog::Accepted},
        {"LOGIN unsaved", false, &LoginDialog::loginButton, QDialog::Accepted},
        {"EXIT", true, &LoginDialog::exitButton, LoginDialog::Exited},
        {"close", true, nullptr, QDialog::Rejected},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.way);
        store.values.clear();
        LoginDialog dialog(store, messages);
        dialog.show();
        dialog.accountBox->setText(" ");
        dialog.passwordBox->setText("  p w ");
        dialog.saveBox->setChecked(c.save);
        c.button ? (dialog.*c.button)->click() : void(dialog.close());
        EXPECT_FALSE(dialog.isVisible());
        EXPECT_EQ(dialog.result(), c.result);
        if (c.result != QDialog::Accepted) {
            EXPECT_TRUE(store.values.isEmpty());
            continue;
        }
        EXPECT_TRUE(store.Has("Sip"));
        LoginDialog next(store, messages);
        EXPECT_EQ(next.accountBox->text(), " ");
        EXPECT_EQ(next.passwordBox->text(), "  p w ");
        EXPECT_TRUE(next.saveBox->isChecked());
        EXPECT_EQ(ReadSavedValue(store, "Save"), c.save ? "yes" : "no");
    }
    EXPECT_TRUE(messages.shown.empty());
}

}  // namespace
}  // namespace softphone::test
