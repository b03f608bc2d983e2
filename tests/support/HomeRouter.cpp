#include "tests/support/HomeRouter.h"

#include <fcntl.h>
#include <sched.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QFile>
#include <QRegularExpression>

#include "tests/support/SipServer.h"
#include "tests/support/Wait.h"

namespace softphone::test {

HomeRouter::HomeRouter()
    : name_(QStringLiteral("%1-") + QString::number(QCoreApplication::applicationPid())) {
    const QString home = homeName(), router = name_.arg("router"), provider = providerName();
    const QString nat = QStringLiteral(
        "add table ip nat; "
        "add chain ip nat out { type nat hook postrouting priority 100; }; "
        "add rule ip nat out oifname \"wan0\" ip saddr 10.0.0.0/24 masquerade");
    const QList<QStringList> steps{
        {"ip", "netns", "add", home},
        {"ip", "netns", "add", router},
        {"ip", "netns", "add", provider},
        {"ip", "-n", home, "link", "add", "home0", "type", "veth", "peer", "name", "lan0", "netns",
         router},
        {"ip", "-n", router, "link", "add", "wan0", "type", "veth", "peer", "name", "up0", "netns",
         provider},
        {"ip", "-n", home, "addr", "add", "10.0.0.2/24", "dev", "home0"},
        {"ip", "-n", router, "addr", "add", "10.0.0.1/24", "dev", "lan0"},
        {"ip", "-n", router, "addr", "add", "198.18.0.1/24", "dev", "wan0"},
        {"ip", "-n", provider, "addr", "add", "198.18.0.2/24", "dev", "up0"},
        {"ip", "-n", home, "link", "set", "lo", "up"},
        {"ip", "-n", home, "link", "set", "home0", "up"},
        {"ip", "-n", router, "link", "set", "lan0", "up"},
        {"ip", "-n", router, "link", "set", "wan0", "up"},
        {"ip", "-n", provider, "link", "set", "lo", "up"},
        {"ip", "-n", provider, "link", "set", "up0", "up"},
        {"ip", "-n", home, "route", "add", "default", "via", "10.0.0.1"},
        {"ip", "netns", "exec", router, "sysctl", "-qw", "net.ipv4.ip_forward=1"},
        {"ip", "netns", "exec", router, "nft", nat},
        {"ip", "netns", "exec", router, "sysctl", "-qw",
         QStringLiteral("net.netfilter.nf_conntrack_udp_timeout=%1").arg(kForgetsUdpAfter)},
        {"ip", "netns", "exec", router, "sysctl", "-qw",
         QStringLiteral("net.netfilter.nf_conntrack_udp_timeout_stream=%1").arg(kForgetsUdpAfter)},
    };
    for (const QStringList& step : steps)
        if (!run(step)) return;
}

HomeRouter::~HomeRouter() {
    stun_.end();
    // Removing a namespace removes its end of each veth pair, and with it the other end.
    for (const char* role : {"home", "router", "provider"})
        output("ip", {"netns", "del", name_.arg(role)});
}

QString HomeRouter::startStun() {
    InNamespace provider(providerName());
    const QString port = QString::number(freeUdpPort()), dir = stunDir_.path();
    // In the foreground, its files in a folder of its own.
    stun_.start("turnserver",
                QStringLiteral("-n -L %1 -p %2 --stun-only "
                               "--no-auth --no-tls --no-dtls --no-cli --no-stdout-log "
                               "--simple-log -l %3/log --pidfile %3/pid --db %3/db")
                    .arg(kProvider, port, dir)
                    .split(' '));
    const auto listening = [&] {
        QFile log(dir + "/log");
        return log.open(QIODevice::ReadOnly) && log.readAll().contains("Total General servers");
    };
    return provider.entered() && waitUntil(listening) ? QStringLiteral("%1:%2").arg(kProvider, port)
                                                      : QString();
}

bool HomeRouter::countMediaAt(int port) {
    return run({"ip", "netns", "exec", providerName(), "nft",
                QStringLiteral("add table ip media; add counter ip media arrived; "
                               "add counter ip media left; add counter ip media stun; "
                               "add chain ip media in { type filter hook input priority 0; }; "
                               "add chain ip media out { type filter hook output priority 0; }; "
                               "add rule ip media in udp dport %1 counter name arrived; "
                               "add rule ip media out udp sport %1 counter name left; "
                               "add rule ip media in udp dport %1 @th,96,32 0x2112a442 "
                               "counter name stun")
                    .arg(port)});
}

bool HomeRouter::run(const QStringList& command) {
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(command.first(), command.mid(1));
    const bool done = process.waitForFinished(5000) &&
                      process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    if (!done && failure_.isEmpty())
        failure_ = command.join(' ') + ": " + process.errorString() + ": " + process.readAll();
    return done;
}

int HomeRouter::counter(const QString& name) const {
    const auto match = QRegularExpression("packets (\\d+)")
                           .match(output("ip", {"netns", "exec", providerName(), "nft", "list",
                                                "counter", "ip", "media", name}));
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

InNamespace::InNamespace(const QString& name)
    : previous_(::open("/proc/thread-self/ns/net", O_RDONLY | O_CLOEXEC)) {
    const int target =
        ::open(("/run/netns/" + name).toLocal8Bit().constData(), O_RDONLY | O_CLOEXEC);
    entered_ = previous_ >= 0 && target >= 0 && ::setns(target, CLONE_NEWNET) == 0;
    if (target >= 0) ::close(target);
}

InNamespace::~InNamespace() {
    if (previous_ < 0) return;
    if (entered_) ::setns(previous_, CLONE_NEWNET);
    ::close(previous_);
}

}  // namespace softphone::test
