#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include <unistd.h>

// A line of /proc/self/status ("VmHWM", "VmRSS") in megabytes; -1 when it
// cannot be read.
inline double procStatusMegabytes(const char *key)
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray prefix = QByteArray(key) + ':';
    for (const QByteArray &line : f.readAll().split('\n')) {
        if (line.startsWith(prefix)) {
            const QByteArray kb = line.mid(prefix.size()).trimmed().split(' ').value(0);
            return kb.toDouble() / 1024.0;
        }
    }
    return -1;
}

// The processor time a process of this machine has used (user and system,
// /proc/PID/stat), in milliseconds; -1 when it cannot be read. Benchmarks
// give it for the database server's process, whose work the wall clock of a
// busy machine hides.
inline double procCpuMilliseconds(qint64 pid)
{
    QFile f(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray stat = f.readAll();
    // The fields after the command name, which is in brackets: utime and stime are the 12th and 13th.
    const QList<QByteArray> fields = stat.mid(stat.lastIndexOf(')') + 2).split(' ');
    if (fields.size() < 13)
        return -1;
    return (fields[11].toDouble() + fields[12].toDouble()) * 1000.0 / static_cast<double>(sysconf(_SC_CLK_TCK));
}
