// Line reading and writing of the data files, and the call history's rules.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include "records/DataFile.h"
#include "records/DataLines.h"
#include "records/RecentCalls.h"

namespace softphone {
namespace {

QByteArray FileBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return "<unreadable>";
    return file.readAll();
}

void PutFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

TEST(DataLines, SplitsAtLfAndCrLf) {
    const struct {
        QByteArray bytes;
        QList<QByteArray> lines;
    } cases[] = {
        {"", {}},
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\nb\n", {"a", "b"}},
        {"a\r\nb", {"a", "b"}},
        {"\r\n", {""}},
        {"a\r\n\r\nb\r\n", {"a", "", "b"}},
        {"a\rb\r\n", {"a\rb"}},  // a lone CR is a byte of the line
        {"a\r", {"a\r"}},
        {QByteArray("x\0y\r\n", 5), {QByteArray("x\0y", 3)}},
    };
    for (const auto& c : cases) EXPECT_EQ(SplitLines(c.bytes), c.lines) << c.bytes.toHex().constData();
}

TEST(DataLines, WritesCrLfAfterEveryLineAndReadsItBack) {
    const QList<QByteArray> lines = {"Ann--123", "", "\xff\xfe--9", "a\r"};
    EXPECT_EQ(JoinLines(lines), QByteArray("Ann--123\r\n\r\n\xff\xfe--9\r\na\r\r\n"));
    EXPECT_EQ(SplitLines(JoinLines(lines)), lines);
}

TEST(DataLines, TypedTextIsUtf8) {
    EXPECT_EQ(EncodeText(QStringLiteral("Jörg")), QByteArray("J\xc3\xb6rg"));
    EXPECT_EQ(DecodeLine("J\xc3\xb6rg"), QStringLiteral("Jörg"));
}

TEST(DataLines, ShowsVeryLongLinesCutShort) {
    const QByteArray longest(kShownLineLength * 4, 'a');
    EXPECT_EQ(ShownLine(longest), QString(longest));
    const QString cut = ShownLine(QByteArray(1 << 20, 'b'));
    EXPECT_EQ(cut, QString(kShownLineLength, QLatin1Char('b')) + QChar(0x2026));
    // Four-byte characters are two UTF-16 units: a cut never leaves half of one.
    QByteArray emoji;
    for (int i = 0; i < 2000; ++i) emoji += "\xf0\x9f\x98\x80";
    const QString emojiCut = ShownLine("x" + emoji);
    EXPECT_FALSE(emojiCut.chopped(1).back().isHighSurrogate());
}

class DataFolderTest : public ::testing::Test {
protected:
    QString PathOf(const QString& name) const { return folder.path() + QLatin1Char('/') + name; }
    QTemporaryDir folder;
};

TEST_F(DataFolderTest, MissingFileIsCreatedEmptyAlsoInAMissingFolder) {
    const QString path = PathOf(QStringLiteral("sub/PhoneBook.txt"));
    DataFile file(path);
    EXPECT_EQ(file.Read(), QList<QByteArray>());
    EXPECT_TRUE(QFile::exists(path));
    EXPECT_EQ(FileBytes(path), QByteArray());
}

TEST_F(DataFolderTest, WritesOnlyAfterARead) {
    const QString path = PathOf(QStringLiteral("PhoneBook.txt"));
    PutFile(path, "old\r\n");
    DataFile file(path);
    EXPECT_FALSE(file.Write({"new"}));
    EXPECT_EQ(FileBytes(path), QByteArray("old\r\n"));
    ASSERT_EQ(file.Read(), QList<QByteArray>{"old"});
    EXPECT_TRUE(file.Write({"new", "line"}));
    EXPECT_EQ(FileBytes(path), QByteArray("new\r\nline\r\n"));
}

TEST_F(DataFolderTest, SomethingThatIsNotAFileIsNeitherReadNorReplaced) {
    const QString path = PathOf(QStringLiteral("PhoneBook.txt"));
    ASSERT_TRUE(QDir().mkpath(path + QStringLiteral("/inside")));
    DataFile file(path);
    EXPECT_FALSE(file.Read().has_value());
    EXPECT_FALSE(file.Write({"x"}));
    EXPECT_TRUE(QFileInfo(path + QStringLiteral("/inside")).isDir());
}

TEST_F(DataFolderTest, HugeAndBinaryFilesLoadInBoundedTime) {
    const QByteArray megabyteLine(1 << 20, 'x');
    QByteArray binary(1 << 20, '\0');
    for (int i = 0; i < binary.size(); ++i) binary[i] = static_cast<char>((i * 131) & 0xff);
    QByteArray manyLines;
    for (int i = 0; i < 100000; ++i) manyLines += "Name " + QByteArray::number(i) + "--123\r\n";
    const struct {
        const char* what;
        QByteArray bytes;
        qsizetype lines;
    } cases[] = {
        {"100 000 lines", manyLines, 100000},
        {"three 1 MB lines", megabyteLine + "\n" + megabyteLine + "\r\n" + megabyteLine, 3},
        {"binary with NUL bytes", binary, binary.count('\n') + (binary.endsWith('\n') ? 0 : 1)},
    };
    for (const auto& c : cases) {
        const QString path = PathOf(QStringLiteral("big.txt"));
        PutFile(path, c.bytes);
        QElapsedTimer clock;
        clock.start();
        DataFile file(path);
        const auto lines = file.Read();
        ASSERT_TRUE(lines.has_value()) << c.what;
        EXPECT_EQ(lines->size(), c.lines) << c.what;
        for (const QByteArray& line : *lines) DecodeLine(line);
        ASSERT_TRUE(file.Write(*lines)) << c.what;
        EXPECT_EQ(SplitLines(FileBytes(path)), *lines) << c.what;
        EXPECT_LT(clock.elapsed(), 10000) << c.what;
    }
}

TEST_F(DataFolderTest, CallHistoryRules) {
    const struct {
        const char* what;
        std::optional<QByteArray> before;  // nothing: no file
        QString number;
        int hours, minutes, seconds;
        QByteArray after;
    } cases[] = {
        {"no file", std::nullopt, "123", 0, 1, 5, "123--Duration: 0:1:5\r\n"},
        {"empty file", QByteArray(), "123", 2, 3, 4, "123--Duration: 2:3:4\r\n"},
        {"no leading zeros", QByteArray(), "9", 10, 0, 59, "9--Duration: 10:0:59\r\n"},
        {"empty number", QByteArray(), "", 0, 0, 0, "--Duration: 0:0:0\r\n"},
        {"number with percent signs", QByteArray(), "%1%2", 1, 2, 3, "%1%2--Duration: 1:2:3\r\n"},
        {"four lines grow to five", "d\r\nc\r\nb\r\na\r\n", "e", 0, 0, 1,
         "e--Duration: 0:0:1\r\nd\r\nc\r\nb\r\na\r\n"},
        {"five lines: the oldest falls off", "e\r\nd\r\nc\r\nb\r\na\r\n", "f", 0, 0, 1,
         "f--Duration: 0:0:1\r\ne\r\nd\r\nc\r\nb\r\n"},
        {"more than five: the newest are kept", "g\nf\ne\nd\nc\nb\na\n", "h", 0, 0, 1,
         "h--Duration: 0:0:1\r\ng\r\nf\r\ne\r\nd\r\n"},
        {"LF lines and odd bytes kept", "\xff\x01--x\n", "1", 0, 0, 2,
         "1--Duration: 0:0:2\r\n\xff\x01--x\r\n"},
    };
    for (const auto& c : cases) {
        const QString path = PathOf(QStringLiteral("recentcall.txt"));
        QFile::remove(path);
        if (c.before) PutFile(path, *c.before);
        UpdateRecentCalls(c.number, c.hours, c.minutes, c.seconds, path);
        EXPECT_EQ(FileBytes(path), c.after) << c.what;
    }
}

TEST_F(DataFolderTest, HistoryReaderShowsTheNewestFiveAndCreatesAMissingFile) {
    const QString path = PathOf(QStringLiteral("recentcall.txt"));
    EXPECT_TRUE(ReadRecentCalls(path).isEmpty());
    EXPECT_EQ(FileBytes(path), QByteArray());
    PutFile(path, "g\r\nf\r\ne\r\nd\r\nc\r\nb\r\na\r\n");
    EXPECT_EQ(ReadRecentCalls(path), (QList<QByteArray>{"g", "f", "e", "d", "c"}));
}

}  // namespace
}  // namespace softphone
