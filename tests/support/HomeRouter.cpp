#include "tests/support/HomeRouter.h"

#include <QCoreApplication>
#include <QRegularExpression>

#include "tests/support/Wait.h"

namespace softphone::test {

HomeRouter::HomeRouter()
    : name_(QStringLiteral("%1-") + QString::number(QCoreApplication::applicationPid())) {
    // up NAMESPACE DEVICE ADDRESS gives a veth end its address and brings it up. The conntrack
    // timeouts exist once the NAT rule has loaded conntrack.
    const QString script = QStringLiteral(
        "for n in %1 %2 %3; do ip netns add $n; ip -n $n link set lo up; done; "
        "ip -n %1 link add home0 type veth peer name lan0 netns %2; "
        "ip -n %2 link add wan0 type veth peer name up0 netns %3; "
        "up() { ip -n $1 addr add $3 dev $2; ip -n $1 link set $2 up; }; up %1 home0 10.0.0.2/24; "
        "up %2 lan0 10.0.0.1/24; up %2 wan0 198.18.0.1/24; up %3 up0 198.18.0.2/24; "
        "ip -n %1 route add default via 10.0.0.1; "
        "ip netns exec %2 nft 'table ip nat { chain out { type nat hook postrouting priority 100; "
        "oifname wan0 ip saddr 10.0.0.0/24 masquerade; }; }'; ip netns exec %2 sysctl -qw "
        "net.ipv4.ip_forward=1 net.netfilter.nf_conntrack_udp_timeout{,_stream}=%4");
    run(script.arg(name("home"), name("router"), name("provider")).arg(kForgetsUdpAfter));
}

QString HomeRouter::startStun() {
    // In the foreground on the usual port, its files in a folder of its own.
    const QString dir = stunDir_.path();
    const QString command = QStringLiteral(
        "netns exec %1 turnserver -n -L %2 -p 3478 --stun-only --no-auth --no-tls --no-dtls "
        "--no-cli --no-stdout-log --simple-log -l %3/log --pidfile %3/pid --db %3/db");
    stun_.start("ip", command.arg(name("provider"), kProvider, dir).split(' '));
    const bool listening =
        waitUntil([&] { return fileBytes(dir + "/log").contains("Total General servers"); });
    return listening ? QStringLiteral("%1:3478").arg(kProvider) : QString();
}

bool HomeRouter::countMediaAt(int port) {
    const QString rules = QStringLiteral(
        "table ip media { counter arrived {}; counter left {}; counter stun {}; chain in { type "
        "filter hook input priority 0; udp dport %1 counter name arrived; udp dport %1 "
        "@th,96,32 0x2112a442 counter name stun; }; chain out { type filter hook output "
        "priority 0; udp sport %1 counter name left; }; }");
    return run(QStringLiteral("ip netns exec %1 nft '%2'").arg(name("provider"), rules.arg(port)));
}

int HomeRouter::packets(const char* counter) const {
    const auto match = QRegularExpression("packets (\\d+)")
                           .match(output("ip", {"netns", "exec", name("provider"), "nft", "list",
                                                "counter", "ip", "media", counter}));
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

bool HomeRouter::run(const QString& script) {
    int status = -1;
    const QString said = output("bash", {"-ec", "exec 2>&1; " + script}, &status);
    if (status != 0 && failure_.isEmpty()) failure_ = script + ": " + said;
    return status == 0;
}

}  // namespace softphone::test
