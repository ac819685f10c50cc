#pragma once

// Shared by the two start-up programs: when the event loop is first about to wait with
// the window exposed, print the monotonic clock and the peak resident memory so far,
// then quit. The third figure is the CPU time the process has used since it began,
// its dynamic loading included.

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QFile>
#include <QWidget>
#include <QWindow>

#include <cstdio>
#include <ctime>

inline long peakResidentKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    }
    return -1;
}

inline void reportWhenIdle(QWidget *window)
{
    auto *dispatcher = QAbstractEventDispatcher::instance();
    QObject::connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, window, [window] {
        if (!window->windowHandle() || !window->windowHandle()->isExposed())
            return;
        timespec now{};
        clock_gettime(CLOCK_MONOTONIC, &now);
        timespec cpu{};
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &cpu);
        std::printf(
            "%lld %ld %lld\n", static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec,
            peakResidentKiB(), static_cast<long long>(cpu.tv_sec) * 1000000000LL + cpu.tv_nsec);
        std::fflush(stdout);
        QCoreApplication::exit(0);
    });
}
