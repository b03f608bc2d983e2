// The program as installed: the layout `cmake --install` makes in a fresh prefix, the Debian
// package, and the installed program running from that prefix on a private display, one per
// user.
#include <gtest/gtest.h>

#include <QSvgRenderer>
#include <QTemporaryDir>

#include "tests/support/PulseServer.h"
#include "tests/support/RunningPhone.h"
#include "tests/support/ToneListener.h"

namespace softphone::test {
namespace {

// Every file installed, under the prefix; the menu entry and the scalable icon come third and
// fourth.
const QStringList kInstalled = [] {
    QStringList files =
        QString(
            "bin/softphone share/softphone/ding.wav share/applications/softphone.desktop "
            "share/icons/hicolor/scalable/apps/softphone.svg share/doc/softphone/copyright "
            "share/doc/softphone/changelog.gz share/metainfo/com.example.Softphone.metainfo.xml "
            "share/man/man1/softphone.1.gz")
            .split(' ');
    for (int size : {16, 32, 48, 64, 128, 256})
        files << QString("share/icons/hicolor/%1x%1/apps/softphone.png").arg(size);
    return files;
}();

// In a fresh prefix, the menu entry, icon and software-centre listing are valid, and the Debian
// package holds the same files, the packages it needs and passes Debian's checks. The installed
// program from the prefix on a display with a tray: its release sound comes from the prefix's
// data folder; it hides to the tray and comes back; a second start raises it. (A socket left by
// a killed run is in SingleInstanceTest.)
TEST(Install, PrefixAndDebianPackageHoldTheProgramWhichRunsFromThePrefixOncePerUser) {
    QTemporaryDir prefixDir;
    const QString prefix = prefixDir.path() + '/';
    int status = -1;
    output("cmake", {"--install", SOFTPHONE_BUILD_DIR, "--prefix", prefix}, &status);
    ASSERT_EQ(status, 0);
    EXPECT_TRUE(QSvgRenderer(prefix + kInstalled[3]).isValid());
    EXPECT_EQ(output("desktop-file-validate", {prefix + kInstalled[2]}, &status), "");
    EXPECT_EQ(status, 0);
    const QByteArray text = fileBytes(prefix + kInstalled[2]);
    // It opens the links of each kind it handles, the link given to the program.
    EXPECT_TRUE(text.contains("\nExec=softphone %u\n") && text.contains("\nIcon=softphone\n"));
    for (const char* scheme : {"tel", "callto", "sip"})
        EXPECT_TRUE(text.contains(QByteArray("x-scheme-handler/") + scheme + ';')) << scheme;

    const QString listing = output("appstreamcli", {"validate-tree", "--no-net", prefix}, &status);
    EXPECT_EQ(status, 0) << listing.toStdString();

    QTemporaryDir out;
    const QString log = output(
        "cpack", {"--config", SOFTPHONE_BUILD_DIR "/CPackConfig.cmake", "-B", out.path()}, &status);
    const QStringList debs = QDir(out.path()).entryList({"*.deb"}, QDir::Files);
    ASSERT_TRUE(status == 0 && debs.size() == 1) << log.toStdString();
    const QString deb = out.filePath(debs[0]);
    auto field = [&](const char* name) { return output("dpkg-deb", {"--field", deb, name}); };
    EXPECT_EQ(field("Package") + " " + field("Version"), "softphone " SOFTPHONE_VERSION);
    const QString tags = output("lintian", {deb}, &status);
    EXPECT_EQ(status, 0) << tags.toStdString();
    // The engine, its sounds and the skin's fonts (which no library scan finds).
    const QString depends = field("Depends");
    for (const char* package : {"linphone-common", "fonts-liberation", "liblinphone++"})
        EXPECT_TRUE(depends.contains(package)) << package << " not in " << depends.toStdString();
    QStringList files, expected = kInstalled;
    for (const QString& line : output("dpkg-deb", {"--contents", deb}).split('\n'))
        if (!line.endsWith('/')) files << line.section(" ./usr/", -1);
    files.sort();
    expected.sort();
    EXPECT_EQ(files, expected);

    XvfbDisplay display;
    PulseServer pulse;
    QTemporaryDir user;
    ASSERT_TRUE(display.started() && pulse.running());
    Child tray("trayer",
               {"--edge", "bottom", "--align", "right", "--widthtype", "request", "--height", "32",
                "--SetDockType", "false"},
               display.environment());
    ASSERT_TRUE(waitUntil([&] { return !display.xdo({"search", "--class", "trayer"}).isEmpty(); }));
    MonitorRecorder recorder(pulse);
    // Sessions share the runtime folder (and so the running program).
    RunningPhone first(display, prefix + "bin/softphone", user.filePath("first"),
                       user.filePath("run"), pulse.address());
    const QString handset = first.logIn("127.0.0.1:9");
    ASSERT_FALSE(handset.isEmpty()) << first.readAllStandardError().toStdString();

    // The release sound is played when a level slider's thumb is let go: clicks along the
    // playback level's track, 117 pixels down the window, until one lands on the thumb.
    const qsizetype before = recorder.size();
    int x = 66;
    const auto clickAlongTheTrack = [&] {
        display.click(handset, {x = x < 186 ? x + 4 : 70, 117});
        return firstSound(recorder.samples(before), 0, 24) >= 0;
    };
    EXPECT_TRUE(waitUntil(clickAlongTheTrack, 15000)) << "no release sound";

    // Hidden, it comes back with a double click on its icon, the tray's one client, in the
    // middle of trayer's panel (32 pixels high), which grows from a sliver to the icon's width
    // when the icon docks; a single click does nothing.
    display.click(handset, kHide);
    ASSERT_TRUE(waitUntil([&] { return !display.visible(handset); })) << "not in the tray";
    const QString panel = display.window("panel", 16);
    ASSERT_FALSE(panel.isEmpty()) << "the icon did not dock";
    const QString geometry = display.xdo({"getwindowgeometry", "--shell", panel});
    display.click(panel, {geometry.section("WIDTH=", 1).section('\n', 0, 0).toInt() / 2, 16});
    EXPECT_FALSE(waitUntil([&] { return display.visible(handset); }, 700))
        << "a single click restored";
    display.xdo({"click", "--repeat", "2", "--delay", "80", "1"});
    ASSERT_TRUE(waitUntil([&] { return display.visible(handset); })) << "not restored";

    // A second start by another session of the same user raises the hidden window and ends
    // without touching anything.
    display.click(handset, kHide);
    ASSERT_TRUE(waitUntil([&] { return !display.visible(handset); })) << "not in the tray";
    RunningPhone second(display, prefix + "bin/softphone", user.filePath("second"),
                        user.filePath("run"), pulse.address());
    ASSERT_TRUE(second.endsInOrder()) << "the second start kept running";
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_TRUE(waitUntil([&] { return display.visible(handset); })) << "not raised";
    EXPECT_EQ(output("find", {user.filePath("second"), "-xtype", "f"}), "");
}

}  // namespace
}  // namespace softphone::test
