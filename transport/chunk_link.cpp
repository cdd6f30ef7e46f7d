#include "transport/chunk_link.h"

#include <QDebug>

bool sendChunk(ChunkLink &link, const QByteArray &chunk, const ChunkBudget &budget,
               const std::function<bool()> &stop)
{
    if (chunk.isEmpty())
        return true;
    qint64 gone = 0;
    for (int attempt = 1; attempt <= budget.attempts; ++attempt) {
        if (link.onTheWay() == 0 && !link.start(chunk.mid(gone))) {
            qDebug() << "Send failed: the link takes nothing more," << gone << "/" << chunk.size() << "bytes sent";
            return false;
        }
        gone += link.wait(QDeadlineTimer(budget.attemptMs, Qt::PreciseTimer), stop);
        if (gone >= chunk.size())
            return true;
        if (link.broken() || (stop && stop()))
            break;
        if (attempt < budget.attempts)
            qDebug() << "Send failed, retry" << attempt << "/" << budget.attempts << ":" << gone << "/" << chunk.size()
                     << "bytes sent," << link.onTheWay() << "on the way";
    }
    qDebug() << "Send failed:" << gone << "/" << chunk.size() << "bytes sent";
    return false;
}
