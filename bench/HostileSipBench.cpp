// Prints the CPU time the phone spends on one hostile request of each kind (a long URI in each
// place a URI goes), min/median/max over several: from sending it straight to the registered
// phone until the phone answers the OPTIONS sent right after it. Real engine and kamailio.
#include <QApplication>
#include <QNetworkDatagram>
#include <QUdpSocket>
#include <algorithm>
#include <cstdio>

#include "bench/ProcessFigures.h"
#include "tests/support/HostileSip.h"
#include "tests/support/Phone.h"
#include "tests/support/SipServer.h"
#include "tests/support/Wait.h"

using namespace softphone;
using namespace softphone::test;

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const int length = argc > 1 ? atoi(argv[1]) : 3000;
    const int runs = argc > 2 ? atoi(argv[2]) : 5;
    SipServer server{{{"1001", "secret"}}};
    Phone phone;
    if (!server.start()) return std::fprintf(stderr, "kamailio did not start\n"), 1;
    phone.start({server.address(), "1001", "secret"});
    if (!waitUntil([&] { return phone.registered(); }, 10000))
        return std::fprintf(stderr, "not registered\n"), 1;
    pump(2500);  // the busy spell after registration ends
    const int phonePort = server.contactPort("1001");
    QUdpSocket socket;
    socket.bind(QHostAddress::LocalHost, 0, QUdpSocket::DontShareAddress);
    QByteArray answers;
    QObject::connect(&socket, &QUdpSocket::readyRead, [&] {
        while (socket.hasPendingDatagrams()) answers += socket.receiveDatagram().data();
    });

    std::printf("CPU per hostile request of %d characters, ms (min / median / max of %d)\n", length,
                runs);
    QStringList places = sipRequests("long-uri", 0, 0).keys();
    places.prepend("none (OPTIONS alone)");
    int sent = 0;
    for (const QString& place : places) {
        const bool alone = sent == 0;
        std::vector<double> ms;
        for (int i = 0; i < runs; ++i) {
            const QByteArray id = QByteArray::number(++sent), probe = "probe" + id + '-';
            const QByteArray hostile = sipRequests("long-uri", phonePort, socket.localPort(),
                                                   "hostile" + id, length)[place],
                             options = sipRequests("long-uri", phonePort, socket.localPort(), probe,
                                                   4)["from"];
            const double before = bench::cpuSeconds();
            if (!alone) socket.writeDatagram(hostile, QHostAddress::LocalHost, quint16(phonePort));
            socket.writeDatagram(options, QHostAddress::LocalHost, quint16(phonePort));
            if (!waitUntil([&] { return answers.contains("Call-ID: " + probe); }, 600000))
                return std::fprintf(stderr, "no answer to the OPTIONS\n"), 1;
            ms.push_back((bench::cpuSeconds() - before) * 1000);
        }
        std::sort(ms.begin(), ms.end());
        std::printf("%-22s %8.1f %8.1f %8.1f\n", qPrintable(place), ms.front(), ms[ms.size() / 2],
                    ms.back());
    }
    return 0;
}
