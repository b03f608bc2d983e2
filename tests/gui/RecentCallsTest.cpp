// The recent-calls window: its list and the hand-over of a number by double-click.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QFile>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>

#include "records/RecentCallsDialog.h"

namespace softphone {
namespace {

class RecentCallsTest : public ::testing::Test {
protected:
    void PutFile(const QByteArray& bytes) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QStringList Rows(const RecentCallsDialog& window) const {
        QStringList rows;
        for (int i = 0; i < window.callList->count(); ++i) rows << window.callList->item(i)->text();
        return rows;
    }

    QTemporaryDir folder;
    QString path = folder.path() + QStringLiteral("/recentcall.txt");
};

TEST_F(RecentCallsTest, TitledForTaskSwitchersAndScreenReaders) {
    RecentCallsDialog window(nullptr, path);
    EXPECT_EQ(window.windowTitle(), "Recent Calls");
}

TEST_F(RecentCallsTest, NoFileShowsAnEmptyListAndLeavesAnEmptyFile) {
    RecentCallsDialog window(nullptr, path);
    EXPECT_EQ(window.callList->count(), 0);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.size(), 0);
}

TEST_F(RecentCallsTest, ListsTheNewestFiveInFileOrder) {
    PutFile("6--Duration: 0:0:6\r\n5\r\n4\r\n3\r\n2\r\n1\r\n");
    RecentCallsDialog window(nullptr, path);
    EXPECT_EQ(Rows(window), (QStringList{"6--Duration: 0:0:6", "5", "4", "3", "2"}));
}

TEST_F(RecentCallsTest, DoubleClickHandsOverTheNumber) {
    const struct {
        QString row;
        std::optional<QString> chosen;
        bool closes;
    } cases[] = {
        {"123--Duration: 0:1:5", "123", true},
        {"--Duration: 0:0:0", "", true},
        {"5551234", "5551234", true},
        {"12--34--Duration: 0:0:1", "12", true},
        {"", std::nullopt, false},
    };
    for (const auto& c : cases) {
        PutFile(c.row.toUtf8() + "\r\n");
        RecentCallsDialog window(nullptr, path);
        window.show();
        window.OnRecordDoubleClicked(window.callList->item(0));
        EXPECT_EQ(window.ChosenNumber(), c.chosen) << c.row.toStdString();
        EXPECT_EQ(window.isVisible(), !c.closes) << c.row.toStdString();
    }
}

TEST_F(RecentCallsTest, DoubleClickOnNoRowDoesNothingAndCloseCloses) {
    PutFile("123--Duration: 0:1:5\r\n");
    RecentCallsDialog window(nullptr, path);
    window.show();
    window.OnRecordDoubleClicked(nullptr);
    EXPECT_EQ(window.ChosenNumber(), std::nullopt);
    EXPECT_TRUE(window.isVisible());
    window.closeButton->click();
    EXPECT_FALSE(window.isVisible());
}

}  // namespace
}  // namespace softphone
