// Streams (a firmware, a font, a file or text from the debug console) go
// to the printer in chunks, and a chunk must arrive exactly once: a
// printer busy writing its flash stops taking data for seconds, and a
// chunk handed to the medium a second time while its first copy still
// waits would land in the printer twice.
//
// So a chunk's later attempts never start over. Each medium says what of
// a chunk has gone out and what is still on its way: a network write
// queues the whole chunk once and every attempt waits for that same queue
// to drain; a USB bulk write that ends part-way (a time-out, a stall)
// leaves the rest to the next attempt, which sends only that rest. A
// medium that can carry nothing more (connection closed, cable pulled)
// ends the chunk at once.
//
// Every wait runs the thread's events, user input held back
// (transport/event_wait.h): the window keeps painting while the printer
// takes its time.
#pragma once

#include <QByteArray>
#include <QDeadlineTimer>
#include <functional>

class ChunkLink
{
public:
    virtual ~ChunkLink() = default;

    // Hands `bytes` to the medium to send. False when it takes none of
    // them (the link is broken).
    virtual bool start(const QByteArray &bytes) = 0;
    // Waits until what was started has gone out, the link breaks,
    // `deadline` passes or `stop` holds; the bytes that went out during
    // this wait.
    virtual qint64 wait(const QDeadlineTimer &deadline, const std::function<bool()> &stop) = 0;
    // Started bytes still on their way when a wait ended: the next
    // attempt waits for them rather than starting them again.
    virtual qint64 onTheWay() const = 0;
    // Nothing more can go over this link.
    virtual bool broken() const = 0;
};

// How long a chunk is given: `attempts` waits of `attemptMs` each.
struct ChunkBudget
{
    int attempts = 1;
    int attemptMs = 0;
};

// Sends `chunk` over `link` within `budget`; true when every byte of it
// went out, each once. `stop` (when given) ends the waits early.
bool sendChunk(ChunkLink &link, const QByteArray &chunk, const ChunkBudget &budget,
               const std::function<bool()> &stop = {});
