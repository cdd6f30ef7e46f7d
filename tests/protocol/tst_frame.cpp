// Reply judging, the TCP stream cut, the discovery payload
// copy and the identity split, one row per rule (the fuzz targets
// reply_judge, stream_cut, discovery and status hold the bounds for every
// input, and the resolution reply's decoding). Buffers whose bounds matter are allocated
// at their exact size so that the sanitizer build sees any overrun.
#include "bytes.h"
#include "protocol/frame.h"

#include <QTest>
#include <vector>

using namespace proto;

class TestFrame : public QObject
{
    Q_OBJECT

private slots:
    void judgeReply_data()
    {
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<bool>("exactArea"); // else the transports' zero-filled 264-byte area
        QTest::addColumn<int>("outSize");
        QTest::addColumn<int>("count");
        QTest::addColumn<QByteArray>("payload");

        const int full = proto::kResultBufferSize;
        QTest::newRow("density 5") << hex("1bfffe02130105 1bfeff") << false << full << 1 << hex("05");
        QTest::newRow("length 0") << hex("1bfffe021300 1bfeff") << false << full << 0 << QByteArray();
        // A failed judgement zeroes the whole result buffer: a reply for
        // another code must never leak into the page.
        QTest::newRow("wrong code") << hex("1bfffe02000103 1bfeff") << false << full << -1 << QByteArray();
        QTest::newRow("nothing received") << QByteArray() << false << full << -1 << QByteArray();
        // Length bytes of 0x80 and above are counts, not negative values; the
        // copy takes whatever lies in the reply area (here zeros past the tail).
        QTest::newRow("length 0x80 short reply") << hex("1bfffe021380 4142 1bfeff") << false << full << 128
                                                 << hex("41421bfeff") + QByteArray(123, '\0');
        // Exact-size areas: the copy stays inside both the reply and the result.
        QTest::newRow("length beyond reply") << hex("1bfffe0213ff 4142") << true << full << 2 << hex("4142");
        QTest::newRow("length beyond out") << hex("1bfffe021305 4142434445 1bfeff") << true << 3 << 3 << hex("414243");
    }

    void judgeReply()
    {
        QFETCH(QByteArray, reply);
        QFETCH(bool, exactArea);
        QFETCH(int, outSize);
        QFETCH(int, count);
        QFETCH(QByteArray, payload);

        std::vector<unsigned char> area(reply.begin(), reply.end());
        if (!exactArea)
            area.resize(proto::kReplyAreaSize, 0);
        std::vector<unsigned char> out(size_t(outSize), 0xAA);
        QCOMPARE(proto::judgeReply(area.data(), int(area.size()), 0x13, out.data(), outSize), count);
        const QByteArray all = toBytes(out.data(), outSize);
        QCOMPARE(all.left(payload.size()), payload);
        QCOMPARE(all.mid(payload.size()), QByteArray(outSize - payload.size(), '\0'));
    }

    void extract_data()
    {
        QTest::addColumn<QByteArray>("received");
        QTest::addColumn<int>("cls");
        QTest::addColumn<int>("code");
        QTest::addColumn<bool>("complete");
        QTest::addColumn<int>("start");
        QTest::addColumn<QByteArray>("frame");

        const QByteArray density = hex("1bfffe02130105 1bfeff");
        QTest::newRow("garbage before") << hex("4f4b0d0a") + density << 2 << 0x13 << true << 4 << density;
        QTest::newRow("leftover after") << density + hex("1bfffe020001") << 2 << 0x13 << true << 0 << density;
        QTest::newRow("other class") << density << 0 << 0x13 << false << -1 << QByteArray();
        // A tail that came before the reply's start does not end the wait.
        QTest::newRow("earlier tail ignored") << hex("1bfeff 1bfffe021302 01") << 2 << 0x13 << false << 3
                                              << QByteArray();
        // Length bytes of 0x80 and above are counts, not negative values.
        const QByteArray longFrame = hex("1bfffe020c80") + QByteArray(128, 'L') + hex("1bfeff");
        QTest::newRow("0x80 length, whole frame") << longFrame + hex("aabb") << 2 << 0x0C << true << 0 << longFrame;
        const QByteArray huge = hex("1bfffe020cff") + QByteArray(600, 'H') + hex("1bfeff");
        QTest::newRow("long frame clipped to capacity") << huge << 2 << 0x0C << true << 0 << huge.left(264);
    }

    void extract()
    {
        QFETCH(QByteArray, received);
        QFETCH(int, cls);
        QFETCH(int, code);
        QFETCH(bool, complete);
        QFETCH(int, start);
        QFETCH(QByteArray, frame);

        // The exchanges hand over a 264-byte reply area.
        const StreamFrame cut = proto::extractReplyFrame(received, quint8(cls), quint8(code), 264);
        QCOMPARE(cut.complete, complete);
        QCOMPARE(int(cut.start), start);
        QCOMPARE(cut.frame.toHex(' '), frame.toHex(' '));
    }

    void discoveryPayload_data()
    {
        QTest::addColumn<QByteArray>("datagram");
        QTest::addColumn<int>("workSize");
        QTest::addColumn<QByteArray>("expected");

        const int full = kIdentityBufferSize;
        const QByteArray identity("VID\0M1\0MFG:Acme;\0P\0V\0", 21);
        QTest::newRow("reply") << hex("2a1bfffe020c") + char(identity.size()) + identity + hex("1bfeff") << full
                               << identity;
        QTest::newRow("length beyond datagram") << hex("2a1bfffe020c7f 414243") << full << hex("414243");
        QTest::newRow("clipped to work buffer") << hex("2a1bfffe020cff") + QByteArray(255, 'Z') + hex("1bfeff")
                                                << 16 << QByteArray(16, 'Z');
    }

    void discoveryPayload()
    {
        QFETCH(QByteArray, datagram);
        QFETCH(int, workSize);
        QFETCH(QByteArray, expected);
        std::vector<unsigned char> work(size_t(workSize), 0xEE);
        const int count = copyDiscoveryPayload(datagram, work.data(), workSize);
        QCOMPARE(count, int(expected.size()));
        const QByteArray all = toBytes(work.data(), workSize);
        QCOMPARE(all.left(count), expected);
        QCOMPARE(all.mid(count), QByteArray(workSize - count, '\0'));
    }

    // The page hands over a payload copied into a zero-filled buffer; the
    // readers split their result buffer in place, given its exact size, and
    // must not read past its end.
    void identity_data()
    {
        QTest::addColumn<QByteArray>("payload");
        QTest::addColumn<bool>("inPlace");
        QTest::addColumn<bool>("complete");
        QTest::addColumn<QStringList>("fields");

        QTest::newRow("five texts") << hex("4100 4200 4300 4400 4500") << false << true
                                    << QStringList{"A", "B", "C", "D", "E"};
        QTest::newRow("no 00 at all") << QByteArray("ABC") << false << true << QStringList{"ABC", "", "", "", ""};
        QTest::newRow("utf-8 model")
            << QByteArray("VID:E51D\0\xE6\xA0\x87\xE7\xAD\xBE\xE6\x9C\xBA\0MFG:Label;\0P\0V\0", 34) << false << true
            << QStringList{"VID:E51D", QString::fromUtf8("标签机"), "MFG:Label;", "P", "V"};
        QByteArray lastByteNul(kIdentityBufferSize, 'x');
        lastByteNul[1] = lastByteNul[3] = lastByteNul[5] = lastByteNul[kIdentityBufferSize - 1] = '\0';
        QTest::newRow("fourth 00 is the last byte")
            << lastByteNul << false << true << QStringList{"x", "x", "x", QString(kIdentityBufferSize - 7, 'x'), ""};
        QTest::newRow("in place, last text runs to the end") << hex("4100 4200 4300 4400 4546") << true << true
                                                             << QStringList{"A", "B", "C", "D", "EF"};
        QTest::newRow("in place, three 00") << hex("4100 4200 4300 44") << true << false << QStringList();
    }

    void identity()
    {
        QFETCH(QByteArray, payload);
        QFETCH(bool, inPlace);
        QFETCH(bool, complete);
        QFETCH(QStringList, fields);

        std::vector<unsigned char> exact(payload.begin(), payload.end());
        const auto identity = inPlace ? splitDeviceIdentity(exact.data(), int(exact.size()))
                                      : splitDeviceIdentity(payload);
        QCOMPARE(identity.has_value(), complete);
        if (!complete)
            return;
        for (int i = 0; i < 5; ++i)
            QCOMPARE(identity->fields[size_t(i)], fields.at(i));
        QCOMPARE(identity->model(), fields.at(1));
        QCOMPARE(identity->deviceId(), fields.at(2));
    }

    void manufacturer_data()
    {
        QTest::addColumn<QString>("deviceId");
        QTest::addColumn<QString>("expected");
        QTest::newRow("later item, blanks trimmed") << "CMD:ZPL;MFG:  Acme Print ;" << "Acme Print";
        QTest::newRow("no terminator") << "MFG:Acme" << "Acme";
        QTest::newRow("none") << "CMD:ZPL;MDL:X;" << QString();
    }

    void manufacturer()
    {
        QFETCH(QString, deviceId);
        QFETCH(QString, expected);
        const QString got = identityManufacturer(deviceId);
        QCOMPARE(got, expected);
        QCOMPARE(got.isNull(), expected.isNull());
    }

    void payloadTextStopsAtNul()
    {
        const QByteArray sn = hex("534e3100 4142");
        QCOMPARE(payloadText(raw(sn), int(sn.size())), QStringLiteral("SN1"));
        QCOMPARE(payloadText(raw(QByteArray("V2.4")), 4), QStringLiteral("V2.4"));
    }
};

QTEST_APPLESS_MAIN(TestFrame)
#include "tst_frame.moc"
