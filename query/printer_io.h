// The helpers through which every page and function talks to the printer,
// over the medium the caller names. They sit on top of both transports:
// build the frame, hand it to the transport of the medium, judge the reply.
// On the network the caller connects the socket before and disconnects
// after; on USB the transport opens and releases the device per transfer.
// All of them return a Result code (protocol/result.h).
#pragma once

#include "protocol/codes.h"
#include "protocol/settings_catalogue.h"

#include <QByteArray>
#include <QtGlobal>
#include <functional>

class DeviceIoContrl_Net;

// Connection medium as the window keeps it in ret_mode. Bluetooth and the
// serial cable share the serial transport; the helpers answer
// Result::NoTransport for any other value and send nothing.
enum Medium { MediumUsb = 1, MediumNet = 2, MediumBle = 3, MediumSerial = 4 };
constexpr bool isSerialMedium(int mode) { return mode == MediumBle || mode == MediumSerial; }

// Class-02 query. `out` (proto::kResultBufferSize bytes) is zeroed, then
// receives the payload. Ok, the transport's code when the exchange failed,
// MalformedReply when the reply failed the checks.
int GetPrinterInfo(SetInfoType type, unsigned char *out, int mode);
// Query one setting instruction and decode its payload with the settings
// catalogue. `values` receives the keys the reply carries (left untouched
// unless the result is Ok). `payload`, when given, receives the zero-filled
// result buffer as it was decoded, for the bytes a page keeps as read.
int ReadSetting(SetInfoType type, const settings::Model &model, settings::Values &values, int mode,
                QByteArray *payload = nullptr);
// Class-00 status query; same results.
int GetPrinterStatusInfo(POWER_InFo code, unsigned char *out, int mode);
// Class-00 function frame, write only.
int SetPrinterStatusButton(POWER_InFo code, int mode);
// Write an already built frame with the write-only transport of the medium.
int SendFrame(const QByteArray &frame, int mode);
// A set frame of the catalogue. Frames that carry a password or PIN are
// not logged byte for byte as all others are: the log shows the frame's
// head and the length of the secret, never the secret itself.
int SendSettingFrame(const QByteArray &frame, SetInfoType type, const settings::Values &values, int mode);
// Raw data goes out in the chunks the printer takes at once: 10240 bytes
// over USB, 850 over the network followed by a 2 ms pause.
constexpr int kUsbDataChunk = 10240;
constexpr int kNetDataChunk = 850;
constexpr int kNetChunkPauseMs = 2;
// A chunk gets three attempts of 10 s each. A printer that stops taking
// data for less than that (it is writing its flash) costs time, not the
// transfer.
constexpr int kChunkAttempts = 3;
constexpr int kChunkAttemptMs = 10000;
// One chunk of a stream (console text, a file, a firmware or font) over
// the medium, within those attempts; no byte of it goes out twice
// (transport/chunk_link.h). Not logged: a file would flood the log, and
// the console shows what it sent. `stop`, when given and true, ends the
// waits early (the window is closing). A Result.
int SendChunk(const QByteArray &chunk, int mode, const std::function<bool()> &stop = {});
// Bytes per chunk of a stream on the medium: the sizes above, and on a
// serial line what it carries in about 100 ms.
int StreamChunkSize(int mode);
// What the printer sent back after a console write: the bytes waiting on
// the network connection (up to 1 s), or one USB read (264 bytes,
// zero-filled, up to 3 s). Empty when nothing came.
QByteArray ReadBack(int mode);

// The printer's 32-bit status word. USB answers a vendor control read with
// the bare four bytes; the network and the serial line answer the status
// frame (over the network sent through `net`) with the word as its payload. A USB read that brings fewer than
// four bytes is a failed read (Result::UsbFailed, as is any other failed
// USB read), never a word of zeros.
int ReadStatusWord(int mode, DeviceIoContrl_Net *net, quint32 &word);
