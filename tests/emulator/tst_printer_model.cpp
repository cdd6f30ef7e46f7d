// The emulated printer's model on its own, for what the tool never sends
// and so no end-to-end test reaches: how a byte stream that is not a clean
// run of frames is cut and counted, and which datagrams discovery answers.
// Frames are written out as bytes on purpose: the model must agree with
// the wire format, not with the tool's own frame code.
#include "printer_model.h"

#include <QTest>

using namespace emu;

namespace {

QByteArray hex(const char *text) { return QByteArray::fromHex(text); }

} // namespace

class TestPrinterModel : public QObject
{
    Q_OBJECT

private slots:
    // Each stream is fed whole to one model and one byte at a time to
    // another: both answer the same, log the same frames and, once the
    // stream has ended, count the same raw (non-frame) bytes.
    void stream_data()
    {
        QTest::addColumn<QByteArray>("stream");
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<int>("frames");
        QTest::addColumn<int>("raw");
        const QByteArray text("SIZE 50 mm,30 mm\r\nPRINT 1\r\n");
        const QByteArray query = hex("1bfffe020000 1bfeff"), speed = hex("1bfffe020001 02 1bfeff");
        QTest::newRow("debug text around a query") << text + query + text << speed << 1 << int(2 * text.size());
        QTest::newRow("unknown class") << hex("1bfffe070000 1bfeff") << QByteArray() << 0 << 9;
        // A lead-in inside file data whose length points past a missing
        // tail: the bytes are data, and the real frame after them is found.
        QTest::newRow("false lead-in, then a frame")
            << hex("41 1bfffe0119 05 0102030405 aabbcc 42") + query << speed << 1 << 16;
        QTest::newRow("lone escape bytes") << hex("1b1b1bff1b") + query << speed << 1 << 5;
        // The length byte, not the markers, ends a frame.
        QTest::newRow("markers inside a set payload, then its query")
            << hex("1bfffe012606 1bfeff1bfffe 1bfeff 1bfffe022600 1bfeff") << hex("1bfffe022606 1bfeff1bfffe 1bfeff") << 2
            << 0;
        // Function frames are logged, never answered; the status request
        // says length 4 but carries no payload and is answered at once.
        QTest::newRow("glued: self-test, reboot, status, query")
            << hex("1bfffe000000 1bfeff 1bfffe000200 1bfeff 1bfffe000304 1bfeff") + query
            << hex("1bfffe000304 00000000 1bfeff") + speed << 4 << 0;
        // What is still held back as the start of a frame counts as raw
        // data once the stream ends.
        QTest::newRow("stream ends inside a frame") << hex("41 1bfffe0213") << QByteArray() << 0 << 6;
    }
    void stream()
    {
        QFETCH(QByteArray, stream);
        QFETCH(QByteArray, answer);
        QFETCH(int, frames);
        QFETCH(int, raw);
        PrinterModel whole, bytewise;
        auto slow = bytewise.openSession(Medium::Usb);
        QByteArray slowAnswer;
        for (const char byte : stream)
            slowAnswer += slow->feed(QByteArray(1, byte));
        slow.reset();
        QCOMPARE(whole.openSession(Medium::Tcp)->feed(stream), answer);
        QCOMPARE(slowAnswer, answer);
        for (const PrinterModel *model : {&whole, &bytewise}) {
            QCOMPARE(model->frames().size(), frames);
            QCOMPARE(model->rawByteCount(), raw);
        }
    }

    // Discovery answers exactly nonce + query 0x0C (the discovery test sees
    // the answer), nothing else, and nothing when silent.
    void discoveryIgnores()
    {
        PrinterModel model;
        for (const char *datagram : {"1bfffe020c00 1bfeff", "2a 1bfffe021300 1bfeff", "2a 1bfffe020c00 1bfeff 00"})
            QVERIFY(model.discoveryReply(hex(datagram)).isEmpty());
        model.setFaults({.silent = true});
        QVERIFY(model.discoveryReply(hex("2a 1bfffe020c00 1bfeff")).isEmpty());
    }

    // A length byte beyond the data: the byte promises four more than the
    // one-byte speed, and the tail follows the one byte.
    void lengthBeyondData()
    {
        PrinterModel model;
        model.setFaults({.lengthBeyond = 4});
        QCOMPARE(model.openSession(Medium::Tcp)->feed(hex("1bfffe020000 1bfeff")), hex("1bfffe020005 02 1bfeff"));
    }
};

QTEST_APPLESS_MAIN(TestPrinterModel)
#include "tst_printer_model.moc"
