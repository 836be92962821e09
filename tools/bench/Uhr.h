// Clocks and figures shared by the benchmark programs.
#pragma once

#include <QFile>
#include <QList>

#include <algorithm>
#include <chrono>

namespace Uhr {

// Nanoseconds of the system-wide monotonic clock: comparable between processes.
inline qint64 JetztNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

inline double Median(QList<double> werte)
{
    if (werte.isEmpty())
        return 0;
    std::sort(werte.begin(), werte.end());
    const qsizetype mitte = werte.size() / 2;
    return werte.size() % 2 != 0 ? werte[mitte] : (werte[mitte - 1] + werte[mitte]) / 2;
}

// A line of /proc/self/status such as "VmRSS:" or "VmHWM:", in kB; -1 where there is none.
inline qint64 StatusKb(const QByteArray& schluessel)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& zeile : status.readAll().split('\n'))
        if (zeile.startsWith(schluessel))
            return zeile.mid(schluessel.size()).trimmed().split(' ').value(0).toLongLong();
    return -1;
}

} // namespace Uhr
