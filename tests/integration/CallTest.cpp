// Calls with the real engine through a real kamailio to and from sipp far ends: far ends that
// behave like telephone gateways, callers, and malformed datagrams sent to the phone.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <unistd.h>

#include <QComboBox>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusUnixFileDescriptor>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTimer>
#include <QUdpSocket>

#include "records/RecentCalls.h"
#include "support/PictureButton.h"
#include "support/SleepWatcher.h"
#include "tests/support/Child.h"
#include "tests/support/HostileSip.h"
#include "tests/support/Phone.h"
#include "tests/support/PulseServer.h"
#include "tests/support/SipServer.h"
#include "tests/support/Sipp.h"
#include "tests/support/Wait.h"

namespace softphone::test {
namespace {

const QString kNumber = QStringLiteral("15550001111");    // through the account
const QString kTenDigits = QStringLiteral("5550001111");  // without it
const QString kRing = QStringLiteral("file /usr/share/sounds/linphone/rings/oldphone-mono.wav");

// A phone registered at kamailio, which routes kNumber, kTenDigits and 5550000 to 5550006 to
// far ends that are started by each test as it needs them. Its microphone hears a 440 Hz tone.
class CallTest : public ::testing::Test {
protected:
    void SetUp() override {
        sound.useInThisProcess();
        ASSERT_TRUE(server.start());
        phone.start({server.address(), "1001", "secret"});
        ASSERT_TRUE(phone.shows("Registered"));
    }
    QList<SipServer::Route> routes() {
        QList<SipServer::Route> routes{{kNumber, farEnd.uri()}, {kTenDigits, direct.uri()}};
        for (int i = 0; i < int(std::size(gateways)); ++i)
            routes.append({QStringLiteral("555000%1").arg(i), gateways[i].uri()});
        return routes;
    }

    PulseServer sound{{"softphone_test_sink"}, "module-sine-source frequency=440"};  // the mic
    Sipp farEnd, direct, gateways[7];
    SipServer server{{{"1001", "secret"}}, routes()};
    Phone phone;
};

// One registered phone: an outgoing call with key presses, a ten-digit call, a dial that fails,
// malformed datagrams, then callers answered, declined, or giving up while the window is in the
// tray.
TEST_F(CallTest, CallsOutAndIsCalledThroughTheProxy) {
    QFile::remove(recentCallsPath());
    RtpListener rtp;
    ASSERT_TRUE(farEnd.answer(rtp.port()) && direct.answer(freeUdpPort()));
    phone.dial(kNumber);
    ASSERT_TRUE(phone.shows("CONNECTED")) << farEnd;
    EXPECT_TRUE(waitUntil([&] { return rtp.audioPackets() > 10; })) << "the far end hears nothing";
    phone.player.played.clear();
    for (const char* key : {"dialKey1", "dialKeyStar", "dialKeyPound", "dialKey0"}) {
        phone.click(key);  // at a person's pace
        pump(250);
    }
    EXPECT_TRUE(waitUntil([&] { return rtp.digits() == "1*#0"; })) << rtp.digits().toStdString();
    EXPECT_TRUE(phone.player.played.isEmpty()) << "no local tone during a call";
    ASSERT_TRUE(phone.shows("CONNECTED 0:0:"));
    phone.click("endButton");
    EXPECT_TRUE(phone.shows("DISCONNECTED"));
    EXPECT_TRUE(farEnd.finished()) << farEnd;
    EXPECT_TRUE(readRecentCalls().value(0).startsWith((kNumber + "1*#0--Duration: 0:0:").toUtf8()));

    phone.dial(kTenDigits);
    ASSERT_TRUE(phone.shows("CONNECTED"));
    phone.click("endButton");
    ASSERT_TRUE(direct.finished());
    const QString invite = direct.trace().section("INVITE sip:", 1, 1);
    EXPECT_FALSE(invite.contains("Authorization", Qt::CaseInsensitive)) << invite.toStdString();
    EXPECT_FALSE(invite.contains(QRegularExpression("From:[^\\n]*1001"))) << invite.toStdString();

    // The user reads each "Numbers 0 to 9 only" box for a while before closing it; the next
    // caller rings all the same.
    phone.messages.whileShown = [] { pump(400); };
    phone.dial("Home");
    EXPECT_EQ(phone.messages.shown.size(), 4u);
    // The line still reads the last call's DISCONNECTED: wait for this call's end (404 from the
    // proxy). While the forging socket below shares the proxy's port, it takes what the phone
    // sends the proxy; a call still under way then loses its requests and outlasts the forgery,
    // and the callers below hear busy.
    EXPECT_TRUE(waitUntil([&] { return !phone.phone.callActive(); }));
    EXPECT_TRUE(phone.shows("DISCONNECTED"));

    // Malformed datagrams that claim to come from the proxy (UDP source addresses are easily
    // forged; kamailio binds its socket with SO_REUSEADDR, so a second socket may send from it):
    // calls through the proxy still ring.
    const int phonePort = server.contactPort("1001");
    ASSERT_GT(phonePort, 0);
    {
        QUdpSocket proxy;
        ASSERT_TRUE(
            proxy.bind(QHostAddress::LocalHost, quint16(server.port()), QUdpSocket::ShareAddress));
        for (const QByteArray& datagram : sipRequests("malformed", phonePort, server.port()))
            proxy.writeDatagram(datagram, QHostAddress::LocalHost, quint16(phonePort));
    }
    const struct {
        const char* press;  // while it rings, if anything
        const char* farEndHears;
        QByteArray history;  // the call history's line, if the call is written there
    } cases[] = {
        // The history is written when the user presses End; here the caller hangs up.
        {"dialButton", "SIP/2.0 200", {}},
        // Declined after an answered call: recorded as 0:0:0, not as the last call's length.
        {"endButton", "SIP/2.0 603", "caller--Duration: 0:0:0"},
        {nullptr, "SIP/2.0 487", "5557002--Duration: 0:0:0"},  // the caller gives up
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.farEndHears);
        QFile::remove(recentCallsPath());
        phone.player.played.clear();
        if (!c.press) phone.click("hideButton");
        Sipp caller;
        ASSERT_TRUE(caller.run(c.press ? "call.xml" : "call-cancel.xml",
                               {"-s", "1001", "-d", "1500", server.address()}));
        ASSERT_TRUE(phone.shows("INCOMING")) << caller;
        EXPECT_TRUE(phone.player.played.contains(kRing));
        EXPECT_TRUE(!c.press || phone.number() == "caller") << phone.number().toStdString();
        if (c.press) phone.click(c.press);
        EXPECT_TRUE(!c.history.isEmpty() || phone.shows("CONNECTED"))
            << phone.status().toStdString();
        EXPECT_TRUE(phone.shows("DISCONNECTED"));
        EXPECT_TRUE(caller.finished() && caller.trace().contains(c.farEndHears)) << caller;
        EXPECT_TRUE(phone.player.played.endsWith("stop")) << "the ring goes with the call";
        const QList<QByteArray> history = readRecentCalls();
        ASSERT_EQ(history.size(), c.history.isEmpty() ? 0 : 1);
        EXPECT_TRUE(history.value(0).startsWith(c.history)) << history.value(0).data();
        EXPECT_EQ(phone.tray->notifications,
                  c.press ? QStringList() : QStringList{"Softphone: Missed call from 5557002"});
        EXPECT_EQ(phone.tray->tip == "Softphone - 1 missed call", !c.press);
    }
}

// A flood from one address, 100 datagrams a second for 10 s (malformed requests, requests with
// one URI of 3,000 or 30,000 characters, whose parsing would take seconds, and random bytes),
// and the long-URI requests through the proxy to the phone's number too, while the user works
// the window and a caller calls through the proxy: a dial key's click, queued behind what the
// engine does, shows its digit, the caller rings while the flood goes on, and an OPTIONS after
// it is answered.
TEST_F(CallTest, FloodOfHostileDatagramsLeavesThePhoneResponsive) {
    const int phonePort = server.contactPort("1001");
    ASSERT_GT(phonePort, 0);
    QUdpSocket scanner;
    ASSERT_TRUE(scanner.bind(QHostAddress::LocalHost, 0, QUdpSocket::DontShareAddress));
    QList<QByteArray> hostile = sipRequests("malformed", phonePort, scanner.localPort()).values();
    for (const int length : {3000, 30000})
        hostile << sipRequests("long-uri", phonePort, scanner.localPort(),
                               "flood" + QByteArray::number(length), length)
                       .values();
    hostile << QByteArray();                   // random bytes in its place
    for (const QByteArray& request : hostile)  // the proxy puts the contact in the Request-URI
        if (request.startsWith("OPTIONS") || request.startsWith("REFER"))
            scanner.writeDatagram(request, QHostAddress::LocalHost, quint16(server.port()));
    QRandomGenerator noise(4475);
    int sent = 0;
    bool rang = false;  // the flood goes on at least until the caller has rung
    QTimer flood;
    flood.setTimerType(Qt::PreciseTimer);
    QObject::connect(&flood, &QTimer::timeout, [&] {
        QByteArray datagram = hostile[sent % hostile.size()];
        if (datagram.isEmpty()) {
            datagram.resize(1 + noise.bounded(1400));
            for (char& byte : datagram) byte = char(noise.bounded(256));
        }
        scanner.writeDatagram(datagram, QHostAddress::LocalHost, quint16(phonePort));
        if (++sent >= 1000 && rang) flood.stop();
    });
    flood.start(10);

    pump(1000);
    QMetaObject::invokeMethod(phone.button("dialKey5"), &QAbstractButton::click,
                              Qt::QueuedConnection);
    EXPECT_TRUE(waitUntil([&] { return phone.number() == "5"; }, 3000));
    Sipp caller;
    ASSERT_TRUE(caller.call(server.address(), "1001", 1000));
    EXPECT_TRUE(phone.shows("INCOMING", 5000));
    rang = true;
    phone.click("endButton");
    EXPECT_TRUE(caller.finished() && caller.trace().contains("SIP/2.0 180")) << caller;

    ASSERT_TRUE(waitUntil([&] { return !flood.isActive(); }, 20000));
    scanner.writeDatagram(
        sipRequests("long-uri", phonePort, scanner.localPort(), "after", 4)["from"],
        QHostAddress::LocalHost, quint16(phonePort));
    EXPECT_TRUE(answeredOk(scanner, "after"));
}

// Key 5 in a call reaches far ends of every kind, each way the DTMF setting offers: as tones in
// the audio of a far end that takes no telephone-event, by INFO ("Signal=5"), as tones again
// when the far end refuses INFO, and as tones only when so chosen. (Events to a far end that
// takes telephone-event: CallsOutAndIsCalledThroughTheProxy.)
TEST_F(CallTest, KeysReachFarEndsOfEveryKind) {
    const struct {
        const char* what;
        DtmfMode mode;
        const char* formats;     // of the far end's answer
        const char* infoStatus;  // its answer to an INFO
        const char* tones;       // the keys heard in the audio it receives
    } cases[] = {
        {"automatic, PCMU only", DtmfMode::Automatic, "0", "200 OK", "5"},
        {"SIP INFO", DtmfMode::SipInfo, "0 101", "200 OK", ""},
        {"SIP INFO refused", DtmfMode::SipInfo, "0 101", "405 Method Not Allowed", "5"},
        {"in the audio", DtmfMode::InAudio, "0 101", "200 OK", "5"},
    };
    for (int i = 0; i < int(std::size(cases)); ++i) {
        const auto& c = cases[i];
        SCOPED_TRACE(c.what);
        phone.windows.network = NetworkSettings{};
        phone.windows.network->dtmf = c.mode;
        QSignalSpy registering(&phone.phone, &PhoneController::registrationChanged);
        phone.trigger("networkAction");
        ASSERT_TRUE(waitUntil([&] {
            return registering.count() &&
                   phone.phone.registration() == RegistrationState::Registered;
        }));
        RtpListener rtp;
        Sipp& farEnd = gateways[i];
        ASSERT_TRUE(farEnd.runReplacing(
            "answer-keys.xml", "200 INFO taken", c.infoStatus,
            {"-key", "rtpport", QString::number(rtp.port()), "-key", "formats", c.formats}));
        phone.dial(QStringLiteral("555000%1").arg(i));
        ASSERT_TRUE(phone.shows("CONNECTED")) << farEnd;
        ASSERT_TRUE(waitUntil([&] { return rtp.audioPackets() > 10; }));
        phone.click("dialKey5");
        if (*c.tones) waitUntil([&] { return rtp.tones() == c.tones; });
        pump(500);  // for keys sent the wrong way
        EXPECT_EQ(rtp.tones(), c.tones);
        EXPECT_EQ(rtp.digits(), "");
        phone.click("endButton");
        ASSERT_TRUE(farEnd.finished()) << farEnd;
        // An INFO carries the key.
        EXPECT_EQ(farEnd.trace().contains("Signal=5"), c.mode == DtmfMode::SipInfo);
        const QString offer = farEnd.trace().section("SIP/2.0 180", 0, 0);
        EXPECT_EQ(offer.contains("telephone-event"), c.mode == DtmfMode::Automatic);
    }
}

// After a call an empty Dial recalls its number and calls nobody; the second Dial calls it. In
// that call Mute silences the microphone while the audio flows on, Hold sends a re-INVITE that
// holds the far end (sendonly) and a second one resumes it, and End while held sends BYE. A far end
// that holds the phone shows as such.
TEST_F(CallTest, RedialMuteAndHold) {
    QFile::remove(recentCallsPath());
    ASSERT_TRUE(farEnd.answer(freeUdpPort()));
    phone.dial(kNumber);
    ASSERT_TRUE(phone.shows("CONNECTED")) << farEnd;
    phone.click("endButton");
    ASSERT_TRUE(farEnd.finished());
    phone.dial("");
    EXPECT_EQ(phone.number(), kNumber);
    EXPECT_FALSE(phone.phone.session());

    RtpListener rtp;
    ASSERT_TRUE(farEnd.run("answer-hold.xml", {"-key", "rtpport", QString::number(rtp.port())}));
    phone.click("dialButton");
    ASSERT_TRUE(phone.shows("CONNECTED")) << farEnd;
    // The far end's audio loses one packet in seven on its way: the status line's tip says so, and
    // "POOR LINE" shows (the engine rates such a line below 3).
    rtp.sendLosing(quint16(farEnd.trace().section("m=audio ", 1).section(' ', 0, 0).toInt()), 7);
    const auto loss = [&] {
        const QString tip = phone.control<QLabel>("statusLabel")->toolTip();
        return tip.section("Packet loss: ", 1).section(" %", 0, 0).toDouble();
    };
    EXPECT_TRUE(waitUntil([&] { return loss() >= 5 && loss() <= 20; }, 12000)) << loss();
    const auto balance = [&] { return phone.control<QLabel>("balanceLabel")->text(); };
    EXPECT_TRUE(waitUntil([&] { return balance() == "POOR LINE"; }, 12000))
        << phone.phone.line().quality;
    // Muted, the far end hears silence while the audio packets flow on.
    for (const bool muted : {true, false, true}) {
        phone.trigger("muteAction");
        EXPECT_EQ(balance() == "MUTED", muted) << balance().toStdString();
        EXPECT_TRUE(waitUntil([&] { return muted ? rtp.level(440) < 2 : rtp.level(440) > 8; }))
            << muted << ' ' << rtp.level(440);
    }
    const int before = rtp.audioPackets();
    EXPECT_TRUE(waitUntil([&] { return rtp.audioPackets() > before + 25; })) << "muted, no audio";
    // Each re-INVITE is answered and acknowledged before the next press.
    int acks = 1;
    for (const char* shown : {"ON HOLD", "MUTED", "ON HOLD"}) {
        phone.trigger("holdAction");
        EXPECT_TRUE(waitUntil([&] { return balance() == shown; })) << balance().toStdString();
        ++acks;
        EXPECT_TRUE(waitUntil([&] { return farEnd.trace().count("\nACK sip:") >= acks; }))
            << farEnd;
    }
    EXPECT_TRUE(phone.connected()) << "the call clock runs on";
    phone.click("endButton");
    EXPECT_TRUE(phone.shows("DISCONNECTED"));
    ASSERT_TRUE(farEnd.finished()) << farEnd;
    QStringList directions;
    for (const QString& invite : farEnd.trace().split("INVITE sip:").mid(1)) {
        const auto found = QRegularExpression("a=(sendonly|recvonly|inactive|sendrecv)")
                               .match(invite.section("SIP/2.0 200", 0, 0));
        directions << (found.hasMatch() ? found.captured(1) : "sendrecv");
    }
    EXPECT_EQ(directions, (QStringList{"sendrecv", "sendonly", "sendrecv", "sendonly"}));

    // A far end that holds the phone.
    ASSERT_TRUE(
        direct.run("answer-then-hold.xml", {"-key", "rtpport", QString::number(rtp.port())}));
    phone.dial(kTenDigits);
    EXPECT_TRUE(waitUntil([&] { return balance() == "HELD BY FAR END"; })) << direct;
    phone.click("endButton");
    EXPECT_TRUE(direct.finished()) << direct;
}

// Stands in for systemd-logind: each inhibitor lock it hands out is the write end of a pipe
// whose read end tells when the holder closed it.
class FakeLogind : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.login1.Manager")
public:
    ~FakeLogind() override {
        for (int end : readEnds_) ::close(end);
    }
    bool lastLockReleased() const {
        pollfd end{readEnds_.isEmpty() ? -1 : readEnds_.last(), POLLIN, 0};
        return ::poll(&end, 1, 0) == 1 && (end.revents & POLLHUP);
    }
    QStringList locks;  // "what mode" of each lock asked for

public slots:
    QDBusUnixFileDescriptor Inhibit(const QString& what, const QString&, const QString&,
                                    const QString& mode) {
        locks << what + ' ' + mode;
        int ends[2];
        if (::pipe2(ends, O_CLOEXEC) != 0) return {};
        readEnds_ << ends[0];
        const QDBusUnixFileDescriptor lock(ends[1]);  // a copy of its own
        ::close(ends[1]);
        return lock;
    }

private:
    QList<int> readEnds_;
};

// On a private system bus: without logind the phone calls as before; with it, the lid closing
// in a call hangs up and unregisters before the inhibitor lock goes, and waking registers again
// at once, so the next caller rings.
TEST_F(CallTest, SleepHangsUpAndUnregistersWakingRegistersAgain) {
    QTemporaryDir dir;
    const QString address = "unix:path=" + dir.filePath("bus");
    // A session bus's policy lets this user own and call any name; the phone reaches it as the
    // system bus.
    Child bus("dbus-daemon", {"--session", "--nofork", "--nopidfile", "--address=" + address});
    qputenv("DBUS_SYSTEM_BUS_ADDRESS", address.toUtf8());  // read on the bus's first use
    ASSERT_TRUE(waitUntil([&] { return QFile::exists(dir.filePath("bus")); })) << "no bus";
    ASSERT_TRUE(farEnd.answer(freeUdpPort()));
    {
        SleepWatcher withoutLogind;
        phone.phone.followSleep(withoutLogind);
        phone.dial(kNumber);
        ASSERT_TRUE(phone.shows("CONNECTED")) << farEnd;
    }

    QDBusConnection service = QDBusConnection::connectToBus(address, "logind");
    FakeLogind logind;
    ASSERT_TRUE(service.registerObject("/org/freedesktop/login1", &logind,
                                       QDBusConnection::ExportAllSlots));
    ASSERT_TRUE(service.registerService("org.freedesktop.login1"));
    SleepWatcher sleep;
    phone.phone.followSleep(sleep);
    ASSERT_TRUE(waitUntil([&] { return !logind.locks.isEmpty(); }));
    const auto prepareForSleep = [&](bool sleeping) {
        QDBusMessage signal = QDBusMessage::createSignal(
            "/org/freedesktop/login1", "org.freedesktop.login1.Manager", "PrepareForSleep");
        service.send(signal << sleeping);
    };
    QList<RegistrationState> seen;
    QObject::connect(&phone.phone, &PhoneController::registrationChanged,
                     [&](RegistrationState state) { seen << state; });

    prepareForSleep(true);
    EXPECT_TRUE(farEnd.finished()) << farEnd;
    EXPECT_TRUE(waitUntil([&] { return server.contacts("1001") == 0; }));
    EXPECT_TRUE(waitUntil([&] { return logind.lastLockReleased(); }));

    prepareForSleep(false);
    EXPECT_TRUE(waitUntil([&] { return server.contacts("1001") == 1; }, 2000));
    EXPECT_TRUE(phone.shows("Registered and Ready..."));
    EXPECT_EQ(seen.mid(seen.lastIndexOf(RegistrationState::Registering)),
              (QList{RegistrationState::Registering, RegistrationState::Registered}));
    EXPECT_EQ(logind.locks, (QStringList{"sleep delay", "sleep delay"}));
    Sipp caller;
    ASSERT_TRUE(caller.run("call-cancel.xml", {"-s", "1001", "-d", "1000", server.address()}));
    EXPECT_TRUE(phone.shows("INCOMING")) << caller;
    EXPECT_TRUE(phone.shows("DISCONNECTED"));
    QDBusConnection::disconnectFromBus("logind");
}

struct Gateway {
    const char* name;
    const char* scenario;  // of scripts/sip-service
    QStringList args;
    const char* status;         // in place of refuse.xml's "486 Busy Here"
    QList<SessionState> seen;   // the call's states, in order
    bool userEnds = false;      // the caller presses End once the last state before it is seen
    bool secondCaller = false;  // someone calls the phone before the far end decides
};

using S = SessionState;
const QList<S> kRefused{S::InProgress, S::Disconnected};
const QList<S> kAnswered{S::InProgress, S::Connected, S::Disconnected};

// Each far end walks the window through its states; its controls afterwards are those of an
// idle phone, and a second caller in the meantime hears busy.
TEST_F(CallTest, EveryGatewayWalksTheWindowThroughItsStates) {
    const Gateway cases[] = {
        {"answers at once", "answer-at-once.xml", {}, {}, kAnswered, true, true},
        {"silent, then busy", "refuse.xml", {"-d", "2500"}, "486 Busy Here", kRefused},
        {"forbidden at once", "refuse.xml", {"-d", "0"}, "403 Forbidden", kRefused},
        {"unknown number", "refuse.xml", {"-d", "0"}, "404 Not Found", kRefused},
        {"declined at once", "refuse.xml", {"-d", "0"}, "603 Decline", kRefused},
        {"never answers", "silent.xml", {"-d", "30000"}, {}, kRefused, true},
        {"early media, then answer", "early-media.xml", {"-d", "2500"}, {}, kAnswered, true, true},
    };
    ASSERT_EQ(std::size(cases), std::size(gateways));
    QList<S> seen;
    QObject::connect(&phone.phone, &PhoneController::callStateChanged,
                     [&](SessionState state) { seen << state; });

    for (size_t i = 0; i < std::size(cases); ++i) {
        const Gateway& g = cases[i];
        SCOPED_TRACE(g.name);
        ASSERT_TRUE(gateways[i].runReplacing(g.scenario, "486 Busy Here", g.status, g.args));
        seen.clear();
        phone.tray->notifications.clear();
        phone.dial(QStringLiteral("555000%1").arg(i));
        if (g.secondCaller) {
            ASSERT_TRUE(waitUntil([&] { return phone.phone.session() != nullptr; }));
            const auto live = phone.phone.session();
            Sipp second;
            ASSERT_TRUE(second.call(server.address(), "1001"));
            EXPECT_TRUE(second.finished() && second.trace().contains("SIP/2.0 486")) << second;
            EXPECT_EQ(phone.phone.session(), live);
            EXPECT_EQ(phone.tray->notifications, QStringList{"Softphone: Missed call from caller"});
        }
        if (g.userEnds) {
            ASSERT_TRUE(waitUntil([&] { return seen.endsWith(g.seen[g.seen.size() - 2]); }, 8000))
                << phone.status().toStdString();
            phone.click("endButton");
        }
        ASSERT_TRUE(waitUntil([&] { return seen.endsWith(S::Disconnected); }, 8000))
            << phone.status().toStdString() << "\n"
            << gateways[i] << server.report().toStdString();
        EXPECT_EQ(seen, g.seen) << phone.status().toStdString();
        EXPECT_FALSE(phone.phone.session());
        EXPECT_TRUE(phone.button("dialButton")->isEnabled() &&
                    !phone.button("endButton")->isEnabled());
    }
}

// The demo service of the run command, used as the README tells a user to: the echo number
// answers and the service calls the phone, over UDP as printed and over TLS with the service's
// own CA.
TEST(DemoServiceTest, EchoNumberAnswersAndTheServiceCallsThePhone) {
    QDir().mkpath(qEnvironmentVariable("XDG_RUNTIME_DIR"));
    Child service;
    service.setProcessChannelMode(QProcess::MergedChannels);
    service.start(sourceDir() + "/scripts/demo-service");
    QString output;
    const auto ready = [&] { return (output += service.readAll()).contains("Number 6000"); };
    ASSERT_TRUE(waitUntil(ready, 10000)) << output.toStdString();
    auto printed = [&](const char* field) {
        return QRegularExpression(field + QString(" +(\\S+)")).match(output).captured(1);
    };
    for (bool tls : {false, true}) {
        Phone phone;
        if (tls)
            writeNetworkSettings(
                phone.store, {SipTransport::Tls, printed("Trusted CA file"), SrtpPolicy::Optional});
        phone.start({printed(tls ? "TLS Sip IP/Domain" : "Sip IP/Domain"), "1001", "demo1001"});
        ASSERT_TRUE(phone.shows("Registered")) << tls << output.toStdString();

        phone.dial("6000");
        ASSERT_TRUE(phone.shows("CONNECTED"));
        phone.click("endButton");
        ASSERT_TRUE(phone.shows("DISCONNECTED"));

        Child callMe(sourceDir() + "/scripts/call-me", {"1001", "1"});
        ASSERT_TRUE(phone.shows("INCOMING"));
        phone.click("dialButton");
        EXPECT_TRUE(phone.shows("CONNECTED"));
        EXPECT_TRUE(phone.shows("DISCONNECTED"));
        EXPECT_TRUE(waitUntil(
            [&] { return callMe.state() == QProcess::NotRunning && callMe.exitCode() == 0; }));
    }
}

}  // namespace
}  // namespace softphone::test

#include "CallTest.moc"
