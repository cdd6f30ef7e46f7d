// The moment a window is on screen: its first paint. The child prints the
// steady clock's reading then (CLOCK_MONOTONIC on Linux, the same clock the
// parent read before starting it) and leaves at once: tearing the window
// down is not part of starting.
#pragma once

#include <QEvent>
#include <QObject>
#include <chrono>
#include <cstdio>
#include <unistd.h>

class FirstPaint : public QObject
{
public:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint) {
            const auto now = std::chrono::steady_clock::now().time_since_epoch();
            std::printf("%lld\n", static_cast<long long>(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()));
            std::fflush(stdout);
            _exit(0);
        }
        return QObject::eventFilter(watched, event);
    }
};
