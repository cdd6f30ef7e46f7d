// Opening a printer on a serial line: its identity query, and on a cable
// whose speed nobody knows, the search for that speed.
//
// A printer on a line set to another speed hears noise and answers
// nothing, so the open asks for the identity at each rate in turn (the
// chosen one first, then the rates printers ship with, then the rest),
// each with a short wait: a few hundred milliseconds plus the time the
// request and the longest reply take at that rate. The whole search ends
// after about 10 s, answered or not.
#pragma once

#include <QtGlobal>
#include <functional>

constexpr int kSpeedSearchCapMs = 10000;
constexpr int kSpeedProbeWaitMs = 300;

// Asks the printer on the open serial link for its identity; `out`
// (proto::kResultBufferSize bytes) receives the payload as GetPrinterInfo
// gives it. With `search`, a printer that does not answer at the link's
// rate is looked for at the others (`progress` gets 0..100 as rates are
// tried), and the link keeps the rate that answered; without, one query at
// the link's settings with the protocol's full time-out. `baud` is the
// rate that answered. Ok, or the medium's failure (the link back at its
// first rate).
int IdentifyOnLine(bool search, const std::function<void(int percent)> &progress, qint32 &baud,
                   unsigned char *out);
