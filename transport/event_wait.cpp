#include "transport/event_wait.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include <algorithm>
#include <limits>

namespace events {

bool runUntil(const QDeadlineTimer &deadline, const std::function<bool()> &done)
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
        // A deadline that never passes (left < 0) needs no timer.
        if (left > 0)
            wake.start(int(std::min<qint64>(left, std::numeric_limits<int>::max())));
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents | QEventLoop::WaitForMoreEvents);
    }
}

} // namespace events
