// The emulated printer's model on its own: what it answers, what it
// stores, how it cuts a byte stream into frames, and the faults it can
// play. Frames are written out as bytes here on purpose: the model must
// agree with the wire format, not with the tool's own frame code.
#include "printer_model.h"

#include <QTest>

using namespace emu;

namespace {

QByteArray hex(const char *text)
{
    return QByteArray::fromHex(text);
}

QByteArray query(int code)
{
    return hex("1bfffe02") + char(code) + hex("00 1bfeff");
}

QByteArray reply(int cls, int code, const QByteArray &payload)
{
    return hex("1bfffe") + char(cls) + char(code) + char(payload.size()) + payload + hex("1bfeff");
}

const QByteArray kStatusRequest = QByteArray::fromHex("1bfffe000304 1bfeff");

} // namespace

Q_DECLARE_METATYPE(emu::Faults)

class TestPrinterModel : public QObject
{
    Q_OBJECT

private slots:
    void defaults_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<QByteArray>("payload");
        QTest::newRow("speed") << 0x00 << hex("02");
        QTest::newRow("ethernet block") << 0x0D << hex("01 c0a80164 ffffff00 c0a80101");
        QTest::newRow("SN") << 0x10 << QByteArray("SN20261206001", 14);
        QTest::newRow("label size 400x800") << 0x18 << hex("9001 2003");
        QTest::newRow("access point") << 0x27 << QByteArray("ZD-N480-AP\0" "12345678\0" "192.168.4.1\0", 32);
        QTest::newRow("MACs") << 0x3C << hex("001a2b3c4d5e 112233aabbcc");
        QTest::newRow("stripper 5000 ms") << 0x58 << hex("8813");
        QTest::newRow("unknown code answers empty") << 0x77 << QByteArray();
        QTest::newRow("identity") << 0x0C
                                  << QByteArray("VID:E51D\0ZD-N480\0MFG:Label;CMD:TSPL,ZPL;MDL:ZD-N480;"
                                                "CLS:PRINTER;\0PID:0618\0V1.0\0", 79);
    }

    void defaults()
    {
        QFETCH(int, code);
        QFETCH(QByteArray, payload);
        PrinterModel model;
        auto session = model.openSession(Medium::Tcp);
        QCOMPARE(session->feed(query(code)), reply(2, code, payload));
        QCOMPARE(model.setting(quint8(code)), payload);
    }

    void setThenQuery_data()
    {
        QTest::addColumn<QByteArray>("set");
        QTest::addColumn<int>("code");
        QTest::addColumn<QByteArray>("payload");
        QTest::newRow("speed 3") << hex("1bfffe01000103 1bfeff") << 0x00 << hex("03");
        QTest::newRow("label size") << hex("1bfffe011804f0004001 1bfeff") << 0x18 << hex("f0004001");
        QTest::newRow("empty SN") << hex("1bfffe01100100 1bfeff") << 0x10 << hex("00");
        // A payload that itself contains tail and lead-in bytes: the length
        // byte, not the markers, ends the frame.
        QTest::newRow("markers inside payload") << hex("1bfffe012606 1bfeff1bfffe 1bfeff") << 0x26
                                                << hex("1bfeff1bfffe");
    }

    void setThenQuery()
    {
        QFETCH(QByteArray, set);
        QFETCH(int, code);
        QFETCH(QByteArray, payload);
        PrinterModel model;
        auto session = model.openSession(Medium::Tcp);
        QVERIFY(session->feed(set).isEmpty());
        QCOMPARE(session->feed(query(code)), reply(2, code, payload));
        QCOMPARE(model.rawByteCount(), 0);

        const QList<LoggedFrame> frames = model.frames();
        QCOMPARE(frames.size(), 2);
        QCOMPARE(frames.at(0).bytes, set);
        QCOMPARE(int(frames.at(0).cls), 1);
        QCOMPARE(int(frames.at(0).code), code);
        QCOMPARE(frames.at(0).payload, payload);
        QCOMPARE(int(frames.at(1).cls), 2);
    }

    void setOnlyCodesAreStored()
    {
        PrinterModel model;
        auto session = model.openSession(Medium::Usb);
        for (quint8 code : {0x22, 0x23, 0x25}) {
            QVERIFY(session->feed(hex("1bfffe01") + char(code) + hex("0101 1bfeff")).isEmpty());
            QCOMPARE(model.setting(code), hex("01"));
            QCOMPARE(model.framesOf(1, code).size(), 1);
        }
    }

    void statusRequest_data()
    {
        QTest::addColumn<quint32>("word");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("idle") << quint32(0) << hex("1bfffe000304 00000000 1bfeff");
        QTest::newRow("little-endian") << quint32(0x12345678) << hex("1bfffe000304 78563412 1bfeff");
    }

    void statusRequest()
    {
        QFETCH(quint32, word);
        QFETCH(QByteArray, expected);
        PrinterModel model;
        model.setStatusWord(word);
        auto session = model.openSession(Medium::Tcp);
        // The request says length 4 but carries no payload; it must be
        // answered at once, not held back waiting for four more bytes.
        QCOMPARE(session->feed(kStatusRequest), expected);
        QCOMPARE(session->pendingBytes(), 0);
        const QList<LoggedFrame> frames = model.frames();
        QCOMPARE(frames.size(), 1);
        QCOMPARE(frames.at(0).bytes, kStatusRequest);
        QVERIFY(frames.at(0).payload.isEmpty());

        // Glued to a query and split right after its length byte.
        const QByteArray both = kStatusRequest + query(0x00);
        QVERIFY(session->feed(both.left(6)).isEmpty());
        QCOMPARE(session->feed(both.mid(6)), expected + reply(2, 0x00, hex("02")));
    }

    void versionAndResolution()
    {
        PrinterModel model;
        auto session = model.openSession(Medium::Usb);
        QCOMPARE(session->feed(hex("1bfffe000400 1bfeff")), reply(0, 0x04, QByteArray("V2.4.1", 7)));
        QCOMPARE(session->feed(hex("1bfffe000b00 1bfeff")), reply(0, 0x0B, hex("cb004003")));
        model.setFirmwareVersion("T9");
        model.setResolution(300, 864);
        QCOMPARE(session->feed(hex("1bfffe000400 1bfeff")), reply(0, 0x04, QByteArray("T9", 3)));
        QCOMPARE(session->feed(hex("1bfffe000b00 1bfeff")), reply(0, 0x0B, hex("2c016003")));
    }

    void splitFrameAnsweredOnce()
    {
        PrinterModel model;
        auto session = model.openSession(Medium::Tcp);
        const QByteArray request = query(0x13);
        QByteArray answers;
        for (qsizetype i = 0; i < request.size(); ++i) {
            const QByteArray out = session->feed(request.mid(i, 1));
            if (i + 1 < request.size())
                QVERIFY2(out.isEmpty(), "answered before the frame was complete");
            answers += out;
        }
        QCOMPARE(answers, reply(2, 0x13, hex("08")));
        QCOMPARE(model.frames().size(), 1);
        QCOMPARE(model.rawByteCount(), 0);

        // A set frame split inside its payload.
        const QByteArray set = hex("1bfffe0110054142434400 1bfeff");
        QVERIFY(session->feed(set.left(8)).isEmpty());
        QVERIFY(session->feed(set.mid(8)).isEmpty());
        QCOMPARE(model.setting(0x10), QByteArray("ABCD", 5));
    }

    void gluedFrames()
    {
        PrinterModel model;
        auto session = model.openSession(Medium::Tcp);
        // Function commands (self-test, reboot) are logged, never answered.
        const QByteArray glued = query(0x00) + hex("1bfffe01130103 1bfeff 1bfffe000000 1bfeff 1bfffe000200 1bfeff")
            + query(0x13) + query(0x19);
        QCOMPARE(session->feed(glued),
                 reply(2, 0x00, hex("02")) + reply(2, 0x13, hex("03")) + reply(2, 0x19, hex("1800")));
        QCOMPARE(model.frames().size(), 6);
        QCOMPARE(int(model.frames().at(3).code), 0x02);
    }

    void rawBytes_data()
    {
        QTest::addColumn<QByteArray>("stream");
        QTest::addColumn<int>("raw");
        QTest::addColumn<int>("frames");
        QTest::addColumn<QByteArray>("answer");

        const QByteArray text("SIZE 50 mm,30 mm\r\nPRINT 1\r\n");
        QTest::newRow("debug text") << text << int(text.size()) << 0 << QByteArray();
        QTest::newRow("text around a query") << text + query(0x13) + text << int(2 * text.size()) << 1
                                             << reply(2, 0x13, hex("08"));
        QTest::newRow("unknown class") << hex("1bfffe070000 1bfeff") << 9 << 0 << QByteArray();
        // A lead-in inside file data whose length points past a missing tail:
        // the bytes are data, and the real frame after them is still found.
        const QByteArray fake = hex("41 1bfffe0119 05 0102030405 aabbcc 42");
        QTest::newRow("false lead-in then frame") << fake + query(0x00) << int(fake.size()) << 1
                                                  << reply(2, 0x00, hex("02"));
        QTest::newRow("lone escape bytes") << hex("1b1b1bff1b") + query(0x00) << 5 << 1
                                           << reply(2, 0x00, hex("02"));
    }

    void rawBytes()
    {
        QFETCH(QByteArray, stream);
        QFETCH(int, raw);
        QFETCH(int, frames);
        QFETCH(QByteArray, answer);

        PrinterModel model;
        auto session = model.openSession(Medium::Usb);
        QCOMPARE(session->feed(stream), answer);
        QCOMPARE(model.rawByteCount(), raw);
        QCOMPARE(model.frames().size(), frames);

        // The same stream one byte at a time gives the same result.
        PrinterModel bytewise;
        auto slow = bytewise.openSession(Medium::Usb);
        QByteArray slowAnswer;
        for (const char byte : stream)
            slowAnswer += slow->feed(QByteArray(1, byte));
        QCOMPARE(slowAnswer, answer);
        QCOMPARE(bytewise.rawByteCount(), raw);
    }

    void leftoverCountsAsRawAtEnd()
    {
        PrinterModel model;
        {
            auto session = model.openSession(Medium::Tcp);
            session->feed(hex("41 1bfffe0213"));
            QCOMPARE(model.rawByteCount(), 1);
        }
        QCOMPARE(model.rawByteCount(), 6);
    }

    // Reply faults change what the session answers; timing and connection
    // faults are only stored for the faces. The frame is logged whatever
    // the fault.
    void faults_data()
    {
        QTest::addColumn<Faults>("faults");
        QTest::addColumn<QByteArray>("request");
        QTest::addColumn<QByteArray>("expected");
        Faults timing;
        timing.delayMs = 250;
        timing.splitBytes = true;
        timing.dropAfterBytes = 12;
        timing.refuseConnections = true;
        Faults f = timing;
        QTest::newRow("timing only") << f << query(0x13) << hex("1bfffe02130108 1bfeff");
        f.silent = true;
        QTest::newRow("silent query") << f << query(0x13) << QByteArray();
        f = timing;
        f.wrongCode = true;
        QTest::newRow("wrong code") << f << query(0x13) << hex("1bfffe02140108 1bfeff");
        QTest::newRow("wrong code on status") << f << kStatusRequest << hex("1bfffe000404 00000000 1bfeff");
        f = timing;
        f.negativeLength = true;
        QTest::newRow("negative length") << f << query(0x19) << hex("1bfffe021982 1800 1bfeff");
        f = timing;
        f.garbageBefore = hex("0d0a4f4b");
        QTest::newRow("garbage before") << f << query(0x13) << hex("0d0a4f4b 1bfffe02130108 1bfeff");
        QTest::newRow("set stays silent") << f << hex("1bfffe01000101 1bfeff") << QByteArray();
    }

    void faults()
    {
        QFETCH(Faults, faults);
        QFETCH(QByteArray, request);
        QFETCH(QByteArray, expected);
        PrinterModel model;
        model.setFaults(faults);
        auto session = model.openSession(Medium::Tcp);
        QCOMPARE(session->feed(request), expected);
        QCOMPARE(model.frames().size(), 1);
        const Faults stored = model.faults();
        QCOMPARE(stored.delayMs, 250);
        QVERIFY(stored.splitBytes && stored.refuseConnections);
        QCOMPARE(stored.dropAfterBytes, 12);
    }

    void discovery_data()
    {
        QTest::addColumn<QByteArray>("datagram");
        QTest::addColumn<bool>("answered");
        QTest::newRow("nonce 42") << hex("2a 1bfffe020c00 1bfeff") << true;
        QTest::newRow("nonce 0") << hex("00 1bfffe020c00 1bfeff") << true;
        QTest::newRow("nine bytes") << hex("1bfffe020c00 1bfeff") << false;
        QTest::newRow("other code") << hex("2a 1bfffe021300 1bfeff") << false;
        QTest::newRow("eleven bytes") << hex("2a 1bfffe020c00 1bfeff 00") << false;
        QTest::newRow("empty") << QByteArray() << false;
    }

    void discovery()
    {
        QFETCH(QByteArray, datagram);
        QFETCH(bool, answered);
        PrinterModel model;
        const QByteArray answer = model.discoveryReply(datagram);
        QCOMPARE(!answer.isEmpty(), answered);
        if (!answered) {
            QCOMPARE(model.frames().size(), 0);
            return;
        }
        const QByteArray identity = model.identityPayload();
        QCOMPARE(answer.at(0), datagram.at(0));
        QCOMPARE(int(quint8(answer.at(6))), int(identity.size()));
        QCOMPARE(answer.mid(7, identity.size()), identity);
        QCOMPARE(answer.mid(1), reply(2, 0x0C, identity));
        const QList<LoggedFrame> frames = model.frames();
        QCOMPARE(frames.size(), 1);
        QCOMPARE(frames.at(0).medium, Medium::Udp);
        QCOMPARE(int(frames.at(0).code), 0x0C);
    }

    void discoverySilent()
    {
        PrinterModel model;
        Faults f;
        f.silent = true;
        model.setFaults(f);
        QVERIFY(model.discoveryReply(hex("2a 1bfffe020c00 1bfeff")).isEmpty());
        f.silent = false;
        f.negativeLength = true;
        f.garbageBefore = hex("ffff");
        model.setFaults(f);
        const QByteArray answer = model.discoveryReply(hex("2a 1bfffe020c00 1bfeff"));
        // Garbage is for streams; the datagram keeps its layout.
        QCOMPARE(answer.left(6), hex("2a 1bfffe020c"));
        QVERIFY(quint8(answer.at(6)) >= 0x80);
    }

    void identityRoundTrip()
    {
        PrinterModel model;
        model.setIdentity("VID:1", QString::fromUtf8("标签机"), "MFG:Acme;", "PID:2", "");
        const QByteArray expected("VID:1\0\xE6\xA0\x87\xE7\xAD\xBE\xE6\x9C\xBA\0MFG:Acme;\0PID:2\0\0", 33);
        QCOMPARE(model.identityPayload(), expected);
        auto session = model.openSession(Medium::Tcp);
        QCOMPARE(session->feed(query(0x0C)), reply(2, 0x0C, expected));
    }
};

QTEST_APPLESS_MAIN(TestPrinterModel)
#include "tst_printer_model.moc"
