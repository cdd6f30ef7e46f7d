// Small helpers shared by the function, status, serial and stripper page
// tests.
#pragma once

#include "printer_fixture.h"

#include <QApplication>
#include <QByteArray>
#include <QEvent>
#include <QMessageBox>
#include <QObject>
#include <QString>
#include <functional>

// Frame bytes from the hex text the protocol notes use ("1B FF FE ...").
inline QByteArray frameBytes(const char *hexText)
{
    return QByteArray::fromHex(QByteArray(hexText).replace(' ', ""));
}

inline QString mediumName(TestMedium medium)
{
    return medium == TestMedium::Tcp ? QStringLiteral("tcp") : QStringLiteral("usb");
}

// Runs a check at the moment a message box appears, before anyone can
// dismiss it: the window's state "when the user saw the message".
class OnMessageBoxShown : public QObject
{
public:
    explicit OnMessageBoxShown(std::function<void(QMessageBox *)> onShown)
        : m_onShown(std::move(onShown))
    {
        qApp->installEventFilter(this);
    }
    ~OnMessageBoxShown() override { qApp->removeEventFilter(this); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show) {
            if (auto *box = qobject_cast<QMessageBox *>(watched))
                m_onShown(box);
        }
        return false;
    }

private:
    std::function<void(QMessageBox *)> m_onShown;
};

// Frames of a TCP exchange reach the emulated printer's thread a little
// after the window's handler has returned; USB frames are logged before
// the transfer completes. Waits for n frames and returns them.
inline QStringList waitForFrameHex(PrinterWindow &pw, int n, int timeoutMs = 10000)
{
    pw.printer().waitForFrames(n, timeoutMs);
    return pw.frameHex();
}

// Nothing arrives at the printer: over USB the log is complete when the
// handler returns; over TCP a frame would still be on its way, so give it
// a short while to show up.
inline bool nothingReachedPrinter(PrinterWindow &pw)
{
    if (pw.medium() == TestMedium::Tcp && pw.printer().waitForFrames(1, 150))
        return false;
    return pw.frames().isEmpty() && pw.printer().rawByteCount() == 0;
}
