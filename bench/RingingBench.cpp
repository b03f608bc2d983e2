// Prints how long an idle, registered phone takes from an INVITE to its 180 Ringing (min /
// median / max of eight calls, each after the engine's fast ticks have run out), for an INVITE
// sent straight to its SIP port and through kamailio over UDP, TCP and TLS. Real engine, kamailio
// and a sipp caller that gives up after the ringing; the wait polls the event loop every few ms.
#include <QApplication>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>

#include "app/NetworkSettings.h"
#include "bench/SippTrace.h"
#include "tests/support/Phone.h"
#include "tests/support/SipServer.h"
#include "tests/support/Sipp.h"
#include "tests/support/Wait.h"

using namespace softphone;
using namespace softphone::test;
using softphone::bench::traceTimeMs;

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const int calls = argc > 1 ? atoi(argv[1]) : 8;
    QTemporaryDir certs;
    if (!makeCertificates(certs.path(), QStringLiteral("127.0.0.1"))) return 1;
    SipServer server({{QStringLiteral("1001"), QStringLiteral("secret")}});
    server.useTls(certs.path());
    if (!server.start()) return 1;

    const struct {
        const char* name;
        SipTransport transport;
        bool straight;
    } rows[] = {
        {"straight to the phone, UDP", SipTransport::Udp, true},
        {"through kamailio, UDP", SipTransport::Udp, false},
        {"through kamailio, TCP", SipTransport::Tcp, false},
        {"through kamailio, TLS", SipTransport::Tls, false},
    };
    for (const auto& row : rows) {
        Phone phone;
        writeNetworkSettings(phone.store, {row.transport, certs.filePath("ca.pem"), {}});
        phone.start({row.transport == SipTransport::Tls ? server.tlsAddress() : server.address(),
                     "1001", "secret"});
        if (!waitUntil([&] { return phone.registered(); }, 10000)) return 1;
        const QString target = row.straight
                                   ? QStringLiteral("127.0.0.1:%1").arg(server.contactPort("1001"))
                                   : server.address();
        QList<double> delays;
        for (int i = 0; i < calls; ++i) {
            pump(2500);  // past the fast ticks of the last request: the phone is idle
            Sipp caller;
            if (!caller.run("call-cancel.xml", {"-s", "1001", "-d", "100", target}) ||
                !caller.finished())
                return 1;
            const QString trace = caller.trace();
            delays << traceTimeMs(trace, "SIP/2.0 180") - traceTimeMs(trace, "INVITE sip:");
        }
        std::sort(delays.begin(), delays.end());
        std::printf("INVITE to 180 Ringing, %s: %.1f / %.1f / %.1f ms (min / median / max)\n",
                    row.name, delays.first(), delays[delays.size() / 2], delays.last());
    }
    return 0;
}
