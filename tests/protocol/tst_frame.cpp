// Frame building, reply judging, the TCP stream cut, the discovery payload
// copy and the identity split. Buffers whose bounds matter are allocated
// at their exact size so that the sanitizer build sees any overrun.
#include "protocol/frame.h"
#include "protocol/printer_io.h"

#include <QTest>
#include <algorithm>
#include <vector>

using namespace proto;

namespace {

QByteArray hex(const char *text)
{
    return QByteArray::fromHex(text);
}

QByteArray toBytes(const unsigned char *data, int size)
{
    return QByteArray(reinterpret_cast<const char *>(data), size);
}

} // namespace

class TestFrame : public QObject
{
    Q_OBJECT

private slots:
    void requestFrames_data();
    void requestFrames();
    void buildFrameLengthByte();

    void judgeReply_data();
    void judgeReply();
    void judgeReplyStaysInsideSmallAreas_data();
    void judgeReplyStaysInsideSmallAreas();
    void judgeReplyZeroesOutOnFailure();

    void extract_data();
    void extract();
    void extractSplitReplyAcrossReads();

    void discoveryPayload_data();
    void discoveryPayload();
    void discoveryPayloadRespectsWorkBuffer();

    void identity_data();
    void identity();
    void identityFromFullBuffer();
    void manufacturer_data();
    void manufacturer();

    void payloadTextStopsAtNul();
    void resolution_data();
    void resolution();
};

void TestFrame::requestFrames_data()
{
    QTest::addColumn<QByteArray>("frame");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("query density") << queryFrame(Densty_SETTING) << hex("1bfffe021300 1bfeff");
    QTest::newRow("query identity") << queryFrame(DEVICE_IDENTITY) << hex("1bfffe020c00 1bfeff");
    QTest::newRow("status version") << statusQueryFrame(FIRMWARE_VERSION)
                                    << hex("1bfffe000400 1bfeff");
    QTest::newRow("self test") << functionFrame(SELF_TEST_PAGE) << hex("1bfffe000000 1bfeff");
    QTest::newRow("reboot") << functionFrame(REBOOT) << hex("1bfffe000200 1bfeff");
    QTest::newRow("settings done") << functionFrame(PRINT_SETTINGS_DONE)
                                   << hex("1bfffe000600 1bfeff");
    QTest::newRow("no paper learning") << functionFrame(NO_PAPER_LEARN)
                                       << hex("1bfffe000d00 1bfeff");
    QTest::newRow("status word request") << statusWordRequest() << hex("1bfffe000304 1bfeff");
    QTest::newRow("set speed 3") << buildFrame(ClassSet, SPEED, hex("03"))
                                 << hex("1bfffe01000103 1bfeff");
}

void TestFrame::requestFrames()
{
    QFETCH(QByteArray, frame);
    QFETCH(QByteArray, expected);
    QCOMPARE(frame.toHex(' '), expected.toHex(' '));
}

void TestFrame::buildFrameLengthByte()
{
    // The length byte can only count to 255; longer payloads wrap but are
    // still carried whole (callers refuse such input beforehand).
    const QByteArray payload(300, 'x');
    const QByteArray frame = buildFrame(ClassSet, SN, payload);
    QCOMPARE(frame.size(), 309);
    QCOMPARE(quint8(frame.at(5)), quint8(300 % 256));
    QCOMPARE(frame.right(3), hex("1bfeff"));
}

void TestFrame::judgeReply_data()
{
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("expectedCount");
    QTest::addColumn<QByteArray>("expectedPayload");

    QTest::newRow("density 5") << hex("1bfffe02130105 1bfeff") << 0x13 << 1 << hex("05");
    QTest::newRow("class byte not judged") << hex("1bfffe00130105 1bfeff") << 0x13 << 1
                                           << hex("05");
    QTest::newRow("tail not judged") << hex("1bfffe0213020102 000000") << 0x13 << 2
                                     << hex("0102");
    QTest::newRow("length 0") << hex("1bfffe021300 1bfeff") << 0x13 << 0 << QByteArray();
    QTest::newRow("wrong code") << hex("1bfffe02000103 1bfeff") << 0x13 << -1 << QByteArray();
    QTest::newRow("wrong byte 0") << hex("1cfffe02130105 1bfeff") << 0x13 << -1 << QByteArray();
    QTest::newRow("wrong byte 1") << hex("1bfefe02130105 1bfeff") << 0x13 << -1 << QByteArray();
    QTest::newRow("wrong byte 2") << hex("1bffff02130105 1bfeff") << 0x13 << -1 << QByteArray();
    QTest::newRow("nothing received") << QByteArray() << 0x13 << -1 << QByteArray();
    // Length bytes of 0x80 and above are counts, not negative values; the
    // copy takes whatever lies in the reply area (here zeros past the tail).
    QByteArray longPayload(200, 'P');
    QTest::newRow("length 0xC8 whole") << hex("1bfffe020cc8") + longPayload + hex("1bfeff")
                                       << 0x0C << 200 << longPayload;
    QTest::newRow("length 0x80 short reply")
        << hex("1bfffe020c80 4142 1bfeff") << 0x0C << 128
        << hex("41421bfeff") + QByteArray(123, '\0');
    QTest::newRow("length 0xff") << hex("1bfffe020cff 41 1bfeff") << 0x0C << 255
                                 << hex("411bfeff") + QByteArray(251, '\0');
}

void TestFrame::judgeReply()
{
    QFETCH(QByteArray, reply);
    QFETCH(int, code);
    QFETCH(int, expectedCount);
    QFETCH(QByteArray, expectedPayload);

    // As the transports deliver it: a zero-filled 264-byte reply area.
    std::vector<unsigned char> area(kReplyAreaSize, 0);
    std::copy_n(reply.constData(), std::min<qsizetype>(reply.size(), kReplyAreaSize), area.begin());
    std::vector<unsigned char> out(kResultBufferSize, 0xAA);

    const int count = proto::judgeReply(area.data(), int(area.size()), quint8(code), out.data(),
                                 int(out.size()));
    QCOMPARE(count, expectedCount);
    const QByteArray all = toBytes(out.data(), int(out.size()));
    QCOMPARE(all.left(expectedPayload.size()), expectedPayload);
    QCOMPARE(all.mid(expectedPayload.size()), QByteArray(kResultBufferSize - expectedPayload.size(), '\0'));
}

void TestFrame::judgeReplyStaysInsideSmallAreas_data()
{
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<int>("outSize");
    QTest::addColumn<int>("expectedCount");

    QTest::newRow("length beyond reply") << hex("1bfffe020cff 4142") << 1024 << 2;
    QTest::newRow("length beyond out") << hex("1bfffe020c05 4142434445 1bfeff") << 3 << 3;
    QTest::newRow("six bytes only") << hex("1bfffe020c10") << 1024 << 0;
    QTest::newRow("five bytes") << hex("1bfffe020c") << 1024 << -1;
}

void TestFrame::judgeReplyStaysInsideSmallAreas()
{
    QFETCH(QByteArray, reply);
    QFETCH(int, outSize);
    QFETCH(int, expectedCount);

    std::vector<unsigned char> area(reply.begin(), reply.end());
    std::vector<unsigned char> out(size_t(outSize), 0xAA);
    QCOMPARE(proto::judgeReply(area.data(), int(area.size()), 0x0C, out.data(), outSize), expectedCount);
    if (expectedCount > 0)
        QCOMPARE(toBytes(out.data(), expectedCount), reply.mid(6, expectedCount));

    const auto payload = replyPayload(reply, 0x0C);
    QCOMPARE(payload.has_value(), expectedCount >= 0);
}

void TestFrame::judgeReplyZeroesOutOnFailure()
{
    // A reply for another code must never leak into the page.
    std::vector<unsigned char> area(kReplyAreaSize, 0);
    const QByteArray reply = hex("1bfffe02000107 1bfeff");
    std::copy(reply.begin(), reply.end(), area.begin());
    std::vector<unsigned char> out(kResultBufferSize, 0x55);
    QCOMPARE(proto::judgeReply(area.data(), kReplyAreaSize, 0x13, out.data(), kResultBufferSize), -1);
    QVERIFY(std::all_of(out.begin(), out.end(), [](unsigned char b) { return b == 0; }));
    QVERIFY(!replyPayload(reply, 0x13).has_value());
    QCOMPARE(replyPayload(reply, 0x00).value(), hex("07"));
}

void TestFrame::extract_data()
{
    QTest::addColumn<QByteArray>("received");
    QTest::addColumn<int>("cls");
    QTest::addColumn<int>("code");
    QTest::addColumn<bool>("complete");
    QTest::addColumn<int>("start");
    QTest::addColumn<QByteArray>("frame");

    const QByteArray density = hex("1bfffe02130105 1bfeff");
    QTest::newRow("exact frame") << density << 2 << 0x13 << true << 0 << density;
    QTest::newRow("garbage before") << hex("4f4b0d0a") + density << 2 << 0x13 << true << 4 << density;
    QTest::newRow("leftover after") << density + hex("1bfffe020001") << 2 << 0x13 << true << 0
                                    << density;
    QTest::newRow("first half only") << density.left(7) << 2 << 0x13 << false << 0 << QByteArray();
    QTest::newRow("tail missing") << hex("1bfffe0213020102") << 2 << 0x13 << false << 0
                                  << QByteArray();
    QTest::newRow("other code") << density << 2 << 0x14 << false << -1 << QByteArray();
    QTest::newRow("other class") << density << 0 << 0x13 << false << -1 << QByteArray();
    QTest::newRow("nothing") << QByteArray() << 2 << 0x13 << false << -1 << QByteArray();
    QTest::newRow("length byte not yet here") << hex("1bfeff 1bfffe0213") << 2 << 0x13 << false
                                              << 3 << QByteArray();
    // The tail is looked for anywhere, so a tail that came before the
    // reply's start already ends the wait: the frame is what has arrived.
    QTest::newRow("earlier tail cuts short") << hex("1bfeff 1bfffe021302 01") << 2 << 0x13
                                             << true << 3 << hex("1bfffe02130201");
    QTest::newRow("status word") << hex("1bfffe000304 80000000 1bfeff") << 0 << 3 << true << 0
                                 << hex("1bfffe000304 80000000 1bfeff");

    // Length bytes of 0x80 and above are counts, not negative values.
    QByteArray longPayload(128, 'L');
    const QByteArray longFrame = hex("1bfffe020c80") + longPayload + hex("1bfeff");
    QTest::newRow("0x80 length, whole frame") << longFrame << 2 << 0x0C << true << 0 << longFrame;
    QTest::newRow("0x80 length, leftover dropped") << longFrame + hex("aabb") << 2 << 0x0C << true << 0
                                                   << longFrame;
    QTest::newRow("0xF0 length, fewer arrived") << hex("1bfffe020cf0 41 1bfeff") << 2 << 0x0C << true << 0
                                                << hex("1bfffe020cf0 41 1bfeff");
    // A 254-character serial number: 255 payload bytes, all delivered.
    const QByteArray longest = hex("1bfffe0210ff") + QByteArray(254, 'S') + hex("00 1bfeff");
    QTest::newRow("0xFF length, whole frame") << longest << 2 << 0x10 << true << 0 << longest;
    QByteArray huge = hex("1bfffe020cff") + QByteArray(600, 'H') + hex("1bfeff");
    QTest::newRow("long frame clipped to capacity") << huge << 2 << 0x0C << true << 0
                                                    << huge.left(264);
}

void TestFrame::extract()
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
    QVERIFY(cut.frame.size() <= 264);
}

void TestFrame::extractSplitReplyAcrossReads()
{
    // The exchange appends each read to its buffer and tries again; the
    // frame is cut only once the tail is there, and exactly once.
    const QByteArray reply = hex("0d0a 1bfffe020f04 8c238d23 1bfeff");
    QByteArray received;
    int completions = 0;
    QByteArray frame;
    for (const char byte : reply) {
        received.append(byte);
        const StreamFrame cut = proto::extractReplyFrame(received, ClassQuery, PORT_MESSAGE);
        if (cut.complete) {
            ++completions;
            frame = cut.frame;
            break;
        }
    }
    QCOMPARE(completions, 1);
    QCOMPARE(received.size(), reply.size());
    QCOMPARE(frame, reply.mid(2));
    QCOMPARE(replyPayload(frame, PORT_MESSAGE).value(), hex("8c238d23"));
}

void TestFrame::discoveryPayload_data()
{
    QTest::addColumn<QByteArray>("datagram");
    QTest::addColumn<QByteArray>("expected");

    const QByteArray identity = QByteArray("VID\0M1\0MFG:Acme;\0P\0V\0", 21);
    QTest::newRow("reply") << hex("2a1bfffe020c") + char(identity.size()) + identity + hex("1bfeff")
                           << identity;
    QTest::newRow("length beyond datagram") << hex("2a1bfffe020c7f 414243") << hex("414243");
    QTest::newRow("length 0x90 treated as count") << hex("2a1bfffe020c90 4142 1bfeff")
                                                  << hex("41421bfeff");
    QTest::newRow("length 0") << hex("2a1bfffe020c00 1bfeff") << QByteArray();
    QTest::newRow("seven bytes") << hex("2a1bfffe020c05") << QByteArray();
    QTest::newRow("empty") << QByteArray() << QByteArray();
}

void TestFrame::discoveryPayload()
{
    QFETCH(QByteArray, datagram);
    QFETCH(QByteArray, expected);
    std::vector<unsigned char> work(kIdentityBufferSize, 0xEE);
    const int count = copyDiscoveryPayload(datagram, work.data(), int(work.size()));
    QCOMPARE(count, int(expected.size()));
    const QByteArray all = toBytes(work.data(), int(work.size()));
    QCOMPARE(all.left(count), expected);
    QCOMPARE(all.mid(count), QByteArray(kIdentityBufferSize - count, '\0'));
}

void TestFrame::discoveryPayloadRespectsWorkBuffer()
{
    const QByteArray datagram = hex("2a1bfffe020cff") + QByteArray(255, 'Z') + hex("1bfeff");
    std::vector<unsigned char> work(16, 0xEE);
    QCOMPARE(copyDiscoveryPayload(datagram, work.data(), int(work.size())), 16);
    QCOMPARE(toBytes(work.data(), 16), QByteArray(16, 'Z'));
}

void TestFrame::identity_data()
{
    QTest::addColumn<QByteArray>("payload");
    QTest::addColumn<bool>("complete");
    QTest::addColumn<QStringList>("fields");

    QTest::newRow("five texts") << hex("4100 4200 4300 4400 4500") << true
                                << QStringList{"A", "B", "C", "D", "E"};
    QTest::newRow("two texts, rest zero-filled") << hex("4100 42") << true
                                                 << QStringList{"A", "B", "", "", ""};
    QTest::newRow("no 00 at all") << QByteArray("ABC") << true
                                  << QStringList{"ABC", "", "", "", ""};
    QTest::newRow("empty payload") << QByteArray() << true << QStringList{"", "", "", "", ""};
    QTest::newRow("utf-8 model")
        << QByteArray("VID:E51D\0\xE6\xA0\x87\xE7\xAD\xBE\xE6\x9C\xBA\0MFG:Label;\0P\0V\0", 34)
        << true << QStringList{"VID:E51D", QString::fromUtf8("标签机"), "MFG:Label;", "P", "V"};
    QTest::newRow("full buffer without 00") << QByteArray(kIdentityBufferSize, 'x') << false
                                            << QStringList();
    QByteArray threeNuls(kIdentityBufferSize, 'x');
    threeNuls[10] = threeNuls[20] = threeNuls[30] = '\0';
    QTest::newRow("three 00 in full buffer") << threeNuls << false << QStringList();
    QByteArray lastByteNul(kIdentityBufferSize, 'x');
    lastByteNul[1] = lastByteNul[3] = lastByteNul[5] = lastByteNul[kIdentityBufferSize - 1] = '\0';
    QTest::newRow("fourth 00 is the last byte")
        << lastByteNul << true
        << QStringList{"x", "x", "x", QString(kIdentityBufferSize - 7, 'x'), ""};
}

void TestFrame::identity()
{
    QFETCH(QByteArray, payload);
    QFETCH(bool, complete);
    QFETCH(QStringList, fields);

    const auto identity = proto::splitDeviceIdentity(payload);
    QCOMPARE(identity.has_value(), complete);
    if (!complete)
        return;
    for (int i = 0; i < 5; ++i)
        QCOMPARE(identity->fields[size_t(i)], fields.at(i));
    QCOMPARE(identity->model(), fields.at(1));
    QCOMPARE(identity->deviceId(), fields.at(2));
}

void TestFrame::identityFromFullBuffer()
{
    // The readers split their 1024-byte result buffer in place; a buffer
    // smaller than the texts must not be read past its end.
    const QByteArray payload = hex("4100 4200 4300 4400 4546");
    std::vector<unsigned char> exact(payload.begin(), payload.end());
    const auto identity = splitDeviceIdentity(exact.data(), int(exact.size()));
    QVERIFY(identity.has_value());
    QCOMPARE(identity->fields[4], QStringLiteral("EF"));

    std::vector<unsigned char> threeOnly{'A', 0, 'B', 0, 'C', 0, 'D'};
    QVERIFY(!splitDeviceIdentity(threeOnly.data(), int(threeOnly.size())).has_value());
}

void TestFrame::manufacturer_data()
{
    QTest::addColumn<QString>("deviceId");
    QTest::addColumn<QString>("expected");
    QTest::newRow("first item") << "MFG:Label;CMD:TSPL,ZPL;MDL:ZD-N480;" << "Label";
    QTest::newRow("later item, blanks trimmed") << "CMD:ZPL;MFG:  Acme Print ;" << "Acme Print";
    QTest::newRow("no terminator") << "MFG:Acme" << "Acme";
    QTest::newRow("none") << "CMD:ZPL;MDL:X;" << QString();
}

void TestFrame::manufacturer()
{
    QFETCH(QString, deviceId);
    QFETCH(QString, expected);
    const QString got = identityManufacturer(deviceId);
    QCOMPARE(got, expected);
    QCOMPARE(got.isNull(), expected.isNull());
}

void TestFrame::payloadTextStopsAtNul()
{
    const QByteArray sn = hex("534e3100 4142");
    QCOMPARE(payloadText(reinterpret_cast<const unsigned char *>(sn.constData()), int(sn.size())),
             QStringLiteral("SN1"));
    const QByteArray noNul("V2.4", 4);
    QCOMPARE(payloadText(reinterpret_cast<const unsigned char *>(noNul.constData()), 4),
             QStringLiteral("V2.4"));
}

void TestFrame::resolution_data()
{
    QTest::addColumn<QByteArray>("payload");
    QTest::addColumn<int>("mmToDot");
    QTest::addColumn<int>("dpi");
    QTest::addColumn<int>("widthMm");
    QTest::newRow("300 dpi, 864 dots, 8/mm") << hex("2c016003") << 8 << 300 << 108;
    QTest::newRow("1408 dots at 12/mm truncates") << hex("cb008005") << 12 << 203 << 117;
    QTest::newRow("high bytes unsigned") << hex("ffffffff") << 8 << 65535 << 8191;
    QTest::newRow("factor 0 is not a division") << hex("cb004003") << 0 << 203 << 0;
}

void TestFrame::resolution()
{
    QFETCH(QByteArray, payload);
    QFETCH(int, mmToDot);
    QFETCH(int, dpi);
    QFETCH(int, widthMm);
    const ResolutionInfo info =
        decodeResolution(reinterpret_cast<const unsigned char *>(payload.constData()), mmToDot);
    QCOMPARE(info.dpi, dpi);
    QCOMPARE(info.maxWidthMm, widthMm);
}

QTEST_APPLESS_MAIN(TestFrame)
#include "tst_frame.moc"
