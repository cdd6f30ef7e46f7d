// Reply judging, the TCP stream cut, the discovery payload
// copy and the identity split. Buffers whose bounds matter are allocated
// at their exact size so that the sanitizer build sees any overrun.
#include "bytes.h"
#include "protocol/frame.h"

#include <QTest>
#include <algorithm>
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
        QTest::newRow("class byte not judged") << hex("1bfffe00130105 1bfeff") << false << full << 1 << hex("05");
        QTest::newRow("tail not judged") << hex("1bfffe0213020102 000000") << false << full << 2 << hex("0102");
        QTest::newRow("length 0") << hex("1bfffe021300 1bfeff") << false << full << 0 << QByteArray();
        // A failed judgement zeroes the whole result buffer: a reply for
        // another code must never leak into the page.
        QTest::newRow("wrong code") << hex("1bfffe02000103 1bfeff") << false << full << -1 << QByteArray();
        QTest::newRow("wrong byte 0") << hex("1cfffe02130105 1bfeff") << false << full << -1 << QByteArray();
        QTest::newRow("nothing received") << QByteArray() << false << full << -1 << QByteArray();
        // Length bytes of 0x80 and above are counts, not negative values; the
        // copy takes whatever lies in the reply area (here zeros past the tail).
        QTest::newRow("length 0x80 short reply") << hex("1bfffe021380 4142 1bfeff") << false << full << 128
                                                 << hex("41421bfeff") + QByteArray(123, '\0');
        QTest::newRow("length 0xff") << hex("1bfffe0213ff 41 1bfeff") << false << full << 255
                                     << hex("411bfeff") + QByteArray(251, '\0');
        // Exact-size areas: the copy stays inside both the reply and the result.
        QTest::newRow("length beyond reply") << hex("1bfffe0213ff 4142") << true << full << 2 << hex("4142");
        QTest::newRow("length beyond out") << hex("1bfffe021305 4142434445 1bfeff") << true << 3 << 3 << hex("414243");
        QTest::newRow("six bytes only") << hex("1bfffe021310") << true << full << 0 << QByteArray();
        QTest::newRow("five bytes") << hex("1bfffe0213") << true << full << -1 << QByteArray();
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
        QTest::newRow("tail missing") << density.left(7) << 2 << 0x13 << false << 0 << QByteArray();
        QTest::newRow("other code") << density << 2 << 0x14 << false << -1 << QByteArray();
        QTest::newRow("other class") << density << 0 << 0x13 << false << -1 << QByteArray();
        QTest::newRow("nothing") << QByteArray() << 2 << 0x13 << false << -1 << QByteArray();
        QTest::newRow("no length byte yet") << hex("1bfeff 1bfffe0213") << 2 << 0x13 << false << 3 << QByteArray();
        // A tail that came before the reply's start does not end the wait.
        QTest::newRow("earlier tail ignored") << hex("1bfeff 1bfffe021302 01") << 2 << 0x13 << false << 3
                                              << QByteArray();
        QTest::newRow("earlier tail, then the rest") << hex("1bfeff 1bfffe021302 0102 1bfeff") << 2 << 0x13
                                                     << true << 3 << hex("1bfffe021302 0102 1bfeff");
        QTest::newRow("status word") << hex("1bfffe000304 80000000 1bfeff") << 0 << 3 << true << 0
                                     << hex("1bfffe000304 80000000 1bfeff");
        // Length bytes of 0x80 and above are counts, not negative values.
        const QByteArray longFrame = hex("1bfffe020c80") + QByteArray(128, 'L') + hex("1bfeff");
        QTest::newRow("0x80 length, whole frame") << longFrame + hex("aabb") << 2 << 0x0C << true << 0 << longFrame;
        QTest::newRow("0xF0 length, fewer arrived") << hex("1bfffe020cf0 41 1bfeff") << 2 << 0x0C << true << 0
                                                    << hex("1bfffe020cf0 41 1bfeff");
        // A 254-character serial number: 255 payload bytes, all delivered.
        const QByteArray longest = hex("1bfffe0210ff") + QByteArray(254, 'S') + hex("00 1bfeff");
        QTest::newRow("0xFF length, whole frame") << longest << 2 << 0x10 << true << 0 << longest;
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
        QTest::newRow("length 0x90 treated as count") << hex("2a1bfffe020c90 4142 1bfeff") << full << hex("41421bfeff");
        QTest::newRow("length 0") << hex("2a1bfffe020c00 1bfeff") << full << QByteArray();
        QTest::newRow("seven bytes") << hex("2a1bfffe020c05") << full << QByteArray();
        QTest::newRow("empty") << QByteArray() << full << QByteArray();
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
        QByteArray threeNuls(kIdentityBufferSize, 'x');
        threeNuls[10] = threeNuls[20] = threeNuls[30] = '\0';
        QTest::newRow("three 00 in full buffer") << threeNuls << false << false << QStringList();
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
        QTest::newRow("first item") << "MFG:Label;CMD:TSPL,ZPL;MDL:ZD-N480;" << "Label";
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

    void resolution_data()
    {
        QTest::addColumn<QByteArray>("payload");
        QTest::addColumn<int>("mmToDot");
        QTest::addColumn<int>("dpi");
        QTest::addColumn<int>("widthMm");
        QTest::newRow("203 dpi, 1408 dots at 12/mm truncates") << hex("cb008005") << 12 << 203 << 117;
        QTest::newRow("high bytes unsigned") << hex("ffffffff") << 8 << 65535 << 8191;
        QTest::newRow("factor 0 is not a division") << hex("cb004003") << 0 << 203 << 0;
    }

    void resolution()
    {
        QFETCH(QByteArray, payload);
        QFETCH(int, mmToDot);
        QFETCH(int, dpi);
        QFETCH(int, widthMm);
        const ResolutionInfo info = decodeResolution(raw(payload), mmToDot);
        QCOMPARE(info.dpi, dpi);
        QCOMPARE(info.maxWidthMm, widthMm);
    }
};

QTEST_APPLESS_MAIN(TestFrame)
#include "tst_frame.moc"
