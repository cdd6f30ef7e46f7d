#include "transport/event_wait.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include <algorithm>
#include <limits>

namespace events {

bool runUntil(const QDeadlineTimer &deadline, const std::function<bool()> &done, int recheckMs)
{
    QTimer wake;
    wake.setSingleShot(true);
    wake.setTimerType(Qt::PreciseTimer);
    for (;;) {
        if (done && done())
            return true;
        const qint64 left = deadline.remainingTime();
        if (left == 0)
            return false;
        // Forever waits (left < 0) still wake up to ask `done` again.
        qint64 next = left < 0 ? recheckMs : left;
        if (recheckMs > 0)
            next = std::min<qint64>(next, recheckMs);
        if (next > 0)
            wake.start(int(std::min<qint64>(next, std::numeric_limits<int>::max())));
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents | QEventLoop::WaitForMoreEvents);
    }
}

} // namespace events
