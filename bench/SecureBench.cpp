// Prints, over UDP, over TLS, and over TLS with SRTP offered: LOGIN to "Registered and Ready..."
// (the engine starting, the TLS handshake, one digest challenge) and Dial click to "CONNECTED"
// less the tone pacing. Medians of several runs; real engine, kamailio and a sipp echo far end.
#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>

#include "tests/support/Phone.h"
#include "tests/support/SipServer.h"
#include "tests/support/Sipp.h"
#include "tests/support/Wait.h"

using namespace softphone;
using namespace softphone::test;

namespace {

struct Figures {
    double registerMs = -1, callMs = -1;
};

// One phone from LOGIN through one call to the echo number; -1 where it did not get there.
Figures run(const QString& sip, const NetworkSettings& network) {
    Figures figures;
    Phone phone;
    writeNetworkSettings(phone.store, network);
    QElapsedTimer clock;
    phone.windows.onLogin = [&] {
        answerLogin(phone.store, phone.messages, {sip, "1001", "secret"});
        clock.start();
    };
    phone.window.start();
    if (!waitUntil([&] { return phone.registered(); }, 10000)) return figures;
    figures.registerMs = clock.elapsed();
    pump(2500);  // the busy spell after registration ends, as for a user who then dials

    const QString number = QStringLiteral("6000");
    phone.setNumber(number);
    clock.start();
    phone.click("dialButton");
    if (waitUntil([&] { return phone.status() == "CONNECTED"; }, 10000))
        figures.callMs = clock.elapsed() - 100.0 * number.size();
    phone.click("endButton");
    waitUntil([&] { return phone.status() == "DISCONNECTED"; });
    return figures;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? -1 : values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const int runs = argc > 1 ? atoi(argv[1]) : 5;

    QTemporaryDir certs;
    if (!makeCertificates(certs.path(), QStringLiteral("127.0.0.1"))) return 1;
    Sipp farEnd;
    // Answers every call of the runs (later options take the place of the helper's own).
    if (!farEnd.run("answer.xml", {"-key", "rtpport", QString::number(freeUdpPort()), "-m", "1000",
                                   "-timeout", "600s"}))
        return 1;
    SipServer server({{"1001", "secret"}}, {{"6000", farEnd.uri()}});
    server.useTls(certs.path());
    if (!server.start()) return 1;

    const QString ca = certs.filePath("ca.pem");
    const struct {
        const char* name;
        QString sip;
        NetworkSettings network;
    } ways[] = {
        {"UDP", server.address(), {}},
        {"TLS", server.tlsAddress(), {SipTransport::Tls, ca, SrtpPolicy::Off}},
        {"TLS, SRTP offered", server.tlsAddress(), {SipTransport::Tls, ca, SrtpPolicy::Optional}},
    };
    for (const auto& way : ways) {
        std::vector<double> registerMs, callMs;
        for (int i = 0; i < runs; ++i) {
            const Figures figures = run(way.sip, way.network);
            if (figures.registerMs < 0 || figures.callMs < 0) {
                std::fprintf(stderr, "%s: run %d did not get through\n", way.name, i + 1);
                return 1;
            }
            registerMs.push_back(figures.registerMs);
            callMs.push_back(figures.callMs);
        }
        std::printf(
            "%s: LOGIN to \"Registered and Ready...\" %.0f ms, Dial click to \"CONNECTED\" "
            "less tone pacing %.0f ms (medians of %d)\n",
            way.name, median(registerMs), median(callMs), runs);
    }
    return 0;
}
