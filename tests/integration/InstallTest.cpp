// The program as installed: the layout `cmake --install` makes in a fresh prefix, the Debian
// package, and the installed program running from that prefix on a private display.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QRegularExpression>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <algorithm>

#include "tests/support/InstalledTree.h"
#include "tests/support/PulseServer.h"
#include "tests/support/Wait.h"
#include "tests/support/XvfbDisplay.h"

namespace softphone::test {
namespace {

const int kIconSizes[] = {16, 32, 48, 64, 128, 256};

const InstalledTree& Tree() {
    static const InstalledTree tree;
    return tree;
}

QString Output(const QString& program, const QStringList& args, int* exitCode = nullptr) {
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, args);
    const bool finished = process.waitForFinished(60000);
    if (exitCode) *exitCode = finished ? process.exitCode() : -1;
    return QString::fromUtf8(process.readAll());
}

TEST(InstallLayout, ProgramAssetsMenuEntryAndIconsUnderThePrefix) {
    ASSERT_TRUE(Tree().Installed()) << Tree().Log().toStdString();
    EXPECT_TRUE(QFileInfo(Tree().Path("bin/softphone")).isExecutable());
    EXPECT_TRUE(QFile::exists(Tree().Path("share/softphone/ding.wav")));
    for (int size : kIconSizes) {
        const QString path =
            Tree().Path(QString("share/icons/hicolor/%1x%1/apps/softphone.png").arg(size));
        EXPECT_EQ(QImage(path).size(), QSize(size, size)) << path.toStdString();
    }
    QSvgRenderer scalable(Tree().Path("share/icons/hicolor/scalable/apps/softphone.svg"));
    ASSERT_TRUE(scalable.isValid());
    EXPECT_EQ(scalable.viewBoxF().width(), scalable.viewBoxF().height());
}

TEST(InstallLayout, MenuEntryIsValidAndStartsTheProgramWithItsIcon) {
    ASSERT_TRUE(Tree().Installed()) << Tree().Log().toStdString();
    const QString entry = Tree().Path("share/applications/softphone.desktop");
    int status = -1;
    const QString complaints = Output("desktop-file-validate", {entry}, &status);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(complaints, "");
    QFile file(entry);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(file.readAll());
    for (const char* line : {"Name=Softphone", "Exec=softphone", "Icon=softphone",
                             "Categories=Network;Telephony;", "Type=Application"})
        EXPECT_TRUE(text.contains(
            QRegularExpression(QString("^%1$").arg(line), QRegularExpression::MultilineOption)))
            << line;
}

TEST(DebianPackage, DependsOnTheRuntimePackagesAndHoldsOnlyTheInstalledFiles) {
    QTemporaryDir out;
    int status = -1;
    const QString log = Output(
        "cpack", {"--config", SOFTPHONE_BUILD_DIR "/CPackConfig.cmake", "-B", out.path()}, &status);
    ASSERT_EQ(status, 0) << log.toStdString();
    const QStringList debs = QDir(out.path()).entryList({"*.deb"}, QDir::Files);
    ASSERT_EQ(debs.size(), 1) << log.toStdString();
    const QString deb = out.filePath(debs[0]);

    auto field = [&](const char* name) {
        return Output("dpkg-deb", {"--field", deb, name}).trimmed();
    };
    EXPECT_EQ(field("Package"), "softphone");
    EXPECT_EQ(field("Version"), SOFTPHONE_VERSION);
    EXPECT_FALSE(field("Maintainer").isEmpty());
    EXPECT_FALSE(field("Description").isEmpty());
    EXPECT_FALSE(field("Section").isEmpty());
    const QStringList depends = field("Depends").split(QRegularExpression(",\\s*"));
    for (const char* package :
         {"linphone-common", "fonts-liberation", "liblinphone\\+\\+\\d+", "libqt6widgets6",
          "libqt6multimedia6", "libqt6svg6", "libqt6network6", "libasound2"}) {
        const QRegularExpression wanted(QString("^%1( \\(.*\\))?$").arg(package));
        EXPECT_TRUE(depends.indexOf(wanted) >= 0)
            << package << " in " << field("Depends").toStdString();
    }

    EXPECT_EQ(field("Recommends"), "qt6-wayland");

    QStringList files;
    for (const QString& line :
         Output("dpkg-deb", {"--contents", deb}).split('\n', Qt::SkipEmptyParts))
        if (!line.endsWith('/')) files << line.section(' ', -1);
    QStringList expected = {"./usr/bin/softphone", "./usr/share/softphone/ding.wav",
                            "./usr/share/applications/softphone.desktop",
                            "./usr/share/icons/hicolor/scalable/apps/softphone.svg"};
    for (int size : kIconSizes)
        expected << QString("./usr/share/icons/hicolor/%1x%1/apps/softphone.png").arg(size);
    files.sort();
    expected.sort();
    EXPECT_EQ(files, expected);
}

// The release sound is played when a level slider's thumb is let go; with the program's own
// folder holding no sound, it can only come from the prefix's data folder.
TEST(InstalledProgram, StartsOnTheDesktopAndPlaysItsReleaseSoundFromThePrefix) {
    ASSERT_TRUE(Tree().Installed()) << Tree().Log().toStdString();
    ASSERT_FALSE(QFile::exists(Tree().Path("bin/ding.wav")));
    XvfbDisplay display;
    ASSERT_TRUE(display.Started());
    PulseServer pulse;
    ASSERT_TRUE(pulse.Running());
    MonitorRecorder recorder(pulse);
    ASSERT_TRUE(recorder.Running());

    QTemporaryDir user;
    ProgramRun phone(
        Tree().Path("bin/softphone"),
        UserEnvironment(display, user.filePath("home"), user.filePath("run"), pulse.Address()));
    const QString handset = LogIn(display, "127.0.0.1:9");
    ASSERT_FALSE(handset.isEmpty()) << phone.readAllStandardError().toStdString();

    // The playback level's thumb lies somewhere along its track, 117 pixels down the window.
    Pump(2500);  // the program's kept-open sound stream settles
    const qsizetype before = recorder.Size();
    for (int x = 70; x <= 186; x += 4) display.Click(handset, x, 117);
    auto loud = [&] {
        const QByteArray samples = recorder.Samples(before);
        return std::any_of(samples.begin(), samples.end(),
                           [](char s) { return std::abs(int(uchar(s)) - 128) > 24; });
    };
    EXPECT_TRUE(WaitUntil(loud, 5000)) << "no release sound";
}

}  // namespace
}  // namespace softphone::test
