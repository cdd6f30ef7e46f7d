// The three helpers through which every page talks to the printer, over
// the medium the caller names (1 USB, 2 network; anything else -1).
// On the network the caller connects the socket before and disconnects
// after; on USB the transport opens and releases the device per transfer.
#pragma once

#include "protocol/codes.h"
#include <QByteArray>

// Size of the caller's result buffer; the helpers zero all of it.
constexpr int kResultBufferSize = 1024;
// Reply area handed to the transports.
constexpr int kReplyAreaSize = 264;

// Class-02 query. 0 ok (payload copied to out), the transport's code when
// the exchange failed, 1 when the reply failed the checks, -1 bad mode.
int GetPrinterInfo(SetInfoType type, unsigned char *out, int mode);
// Class-00 status query; same results.
int GetPrinterStatusInfo(POWER_InFo code, unsigned char *out, int mode);
// Class-00 function frame, write only. Transport result, -1 bad mode.
int SetPrinterStatusButton(POWER_InFo code, int mode);
// Write an already built frame with the write-only transport of mode.
int SendFrame(const QByteArray &frame, int mode);
