#pragma once

#include <sys/resource.h>
#include <unistd.h>

#include <QFile>

namespace softphone::bench {

// CPU time this process has used so far, user and system, in seconds.
inline double cpuSeconds() {
    rusage usage = {};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// CPU time process `pid` has used so far, user and system, in seconds; -1 when it is gone.
inline double cpuSecondsOf(qint64 pid) {
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly)) return -1;
    const QByteArray line = stat.readAll();
    // Fields 14 and 15 of the line; the name before them may hold spaces, so count from its ')'.
    const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
    return (fields.value(11).toDouble() + fields.value(12).toDouble()) / sysconf(_SC_CLK_TCK);
}

// How often the main thread of process `pid` has gone to sleep and woken again so far (its
// voluntary context switches); -1 when it is gone.
inline qint64 mainThreadWakeUps(qint64 pid) {
    QFile status(QStringLiteral("/proc/%1/task/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("voluntary_ctxt_switches:")) return line.mid(24).trimmed().toLongLong();
    return -1;
}

// Resident memory of this process now, in MB.
inline double residentMb() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ')[0].toDouble() / 1024;
    return -1;
}

}  // namespace softphone::bench
