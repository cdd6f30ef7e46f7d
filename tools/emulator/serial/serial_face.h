// The emulated printer's serial face: the printer at the far end of an
// RS-232 line (or a Bluetooth link, which is a serial port too), on the
// master side of a pseudo-terminal. The tool opens the terminal side, as
// it opens /dev/ttyUSB0 or /dev/rfcomm0; the pseudo-terminal is either one
// of the face's own (its path printed by lps-emuprinter --serial) or the
// one umockdev backs an emulated tty device node with, so that the tool's
// own port enumeration lists the printer.
//
// The line behaves as a wire does:
//   - the printer runs at its own speed and framing; when the terminal
//     the tool opened is set to another speed, data bits or parity, what
//     arrives is noise to the printer, and it answers nothing (the face
//     reads the line settings from the terminal side, which it keeps open
//     too);
//   - the printer takes in a request at the line's pace, and sends its
//     reply at the line's pace (bytes × bits per byte / baud), so timings
//     mean something;
//   - the timing faults a carrier applies (silence, late and split
//     replies) are applied here; the model applies the content faults.
//
// Like the network faces it is served by a thread of its own, so an
// in-process test can block its GUI thread in the tool's transport. It
// shares no code with the tool.
#pragma once

#include "tools/emulator/core/printer_model.h"

#include <QObject>
#include <QString>
#include <atomic>
#include <memory>

class QThread;

namespace emu {

// The printer's own line: speed and framing.
struct SerialLine
{
    int baud = 115200;
    int dataBits = 8;
    char parity = 'N';   // N, O or E
    int stopBits = 1;
    // A Bluetooth link: the terminal's line settings mean nothing to it
    // (the radio carries the bytes at the printer's pace whatever they say).
    bool anySettings = false;
};

class SerialPrinter : public QObject
{
    Q_OBJECT
public:
    // Uses `model` when given (not owned; it must outlive this object),
    // otherwise a model of its own.
    explicit SerialPrinter(PrinterModel *model = nullptr, QObject *parent = nullptr);
    ~SerialPrinter() override;

    // Serves the master side `masterFd` (duplicated; the caller keeps its
    // own), or, with -1, a new pseudo-terminal of its own. False (and
    // errorString()) when the terminal could not be set up.
    bool start(const SerialLine &line, int masterFd = -1);
    void stop();

    // The terminal side the tool opens.
    QString terminalPath() const { return m_terminal; }
    PrinterModel &model() { return *m_model; }
    QString errorString() const { return m_error; }
    // The printer's line can change while it runs (thread-safe).
    void setLine(const SerialLine &line);
    SerialLine line() const;
    // Bytes heard as noise (the host's line set otherwise).
    qint64 noiseBytes() const { return m_noise.load(); }

signals:
    // A frame arrived (emitted in the face's thread).
    void bytesReceived(const QByteArray &bytes);

private:
    class Worker;
    std::unique_ptr<PrinterModel> m_ownModel;
    PrinterModel *m_model;
    QThread *m_thread = nullptr;
    QObject *m_context = nullptr;   // lives in m_thread
    Worker *m_worker = nullptr;
    QString m_terminal;
    QString m_error;
    std::atomic<qint64> m_noise{0};
    std::shared_ptr<std::atomic<quint64>> m_line;   // packed SerialLine
};

} // namespace emu
