// Whole frames on the wire, one for each frame layout and encoding (the
// window's tests see every setting's own frame arrive at the printer), the
// label-size rules, and the range checks that keep values from wrapping
// in the printer's 16-bit fields or one-byte lengths.
#include "bytes.h"
#include "protocol/conversions.h"
#include "protocol/frame.h"
#include "protocol/instructions.h"

#include <QTest>

using namespace proto;

namespace {

QByteArray frameOf(const char *codeAndPayload)
{
    return hex("1bfffe01") + hex(codeAndPayload) + hex("1bfeff");
}

} // namespace

class TestInstructions : public QObject
{
    Q_OBJECT

private slots:
    void wholeFrames_data()
    {
        QTest::addColumn<QByteArray>("frame");
        QTest::addColumn<QByteArray>("expected");

        // Requests: queries (class 02), status queries and functions (class 00).
        QTest::newRow("query density") << queryFrame(Densty_SETTING) << hex("1bfffe021300 1bfeff");
        QTest::newRow("status version") << statusQueryFrame(FIRMWARE_VERSION) << hex("1bfffe000400 1bfeff");
        QTest::newRow("self test") << functionFrame(SELF_TEST_PAGE) << hex("1bfffe000000 1bfeff");
        QTest::newRow("status word request") << statusWordRequest() << hex("1bfffe000304 1bfeff");

        // One-byte settings.
        QTest::newRow("speed 3") << speedFrame(3) << frameOf("000103");
        QTest::newRow("direction 180, normal") << printDirectionFrame(1, 0) << frameOf("1c020100");
        QTest::newRow("wifi mode index 0 is STA 1") << wifiModeFrame(0) << frameOf("300101");
        QTest::newRow("serial 9600/1/8bit/2bit") << serialPortFrame(1, 1, 0, 1) << frameOf("0e0401010001");

        // Buttons of the function page; keys and buzzer send 00 for "on".
        QTest::newRow("full cut") << cutterModeFrame(CutterMode::FullCut) << frameOf("250101");
        QTest::newRow("keys on") << keyLockFrame(true) << frameOf("220100");
        QTest::newRow("buzzer on") << buzzerFrame(true) << frameOf("230100");

        // Instruction set by name.
        QTest::newRow("AUTO") << simulationFrame("AUTO") << frameOf("020120");
        QTest::newRow("lower-case zpl unknown") << simulationFrame("zpl") << frameOf("020100");

        // Integer fields: millimetres times mmToDot, dots, or milliseconds.
        QTest::newRow("label gap 3mm at 8") << labelGapFrame("3", 8) << frameOf("19021800");
        QTest::newRow("label gap abc") << labelGapFrame("abc", 8) << frameOf("19020000");
        QTest::newRow("vertical -2 at 8") << verticalOffsetFrame("-2", 8) << frameOf("1e02f0ff");
        QTest::newRow("paper exit 120 dots") << paperEdgeDistanceFrame("120") << frameOf("33027800");
        QTest::newRow("gap sensor 6 at 12") << seamDistanceFrame("6", 12) << frameOf("34024800");
        QTest::newRow("paper time 5") << paperTakeTimeFrame("5") << frameOf("58028813");
        QTest::newRow("wifi port 9100") << tcpServicePortFrame("9100") << frameOf("29028c23");
        QTest::newRow("ports 9100/9101") << portMessageFrame("9100", "9101") << frameOf("0f048c238d23");

        // Texts, each ended by 00.
        QTest::newRow("SN1") << serialNumberFrame("SN1") << frameOf("1004534e3100");
        QTest::newRow("empty PIN") << pinFrame("") << frameOf("2e0100");
        QTest::newRow("SPP name UTF-8") << brEdrNameFrame(QString::fromUtf8("打印")) << frameOf("2b07e68993e58db000");
        QTest::newRow("station") << stationFrame("net", "pw") << frameOf("2607 6e657400 707700");
        QTest::newRow("AP with address") << accessPointFrame("ap", "12345678", "10.0.0.1")
                                         << frameOf("2715 617000 313233343536373800 31302e302e302e3100");
        QTest::newRow("AP empty mask text") << accessPointFrame("ap", "12345678", "...")
                                            << frameOf("2718 617000 313233343536373800 3139322e3136382e312e3100");

        // Address blocks.
        QTest::newRow("wifi IP static") << wifiIpFrame(0, "192.168.1.100", "255.255.255.0", "192.168.1.1", "8.8.8.8")
                                        << frameOf("2811 00 c0a80164 ffffff00 c0a80101 08080808");
        QTest::newRow("wifi IP DHCP, empty fields") << wifiIpFrame(1, "...", "...", "...", "...")
                                                    << frameOf("2811 01 00000000 00000000 00000000 00000000");
        QTest::newRow("ethernet DHCP on") << ethernetIpFrame(0, "192.168.1.100", "255.255.255.0", "192.168.1.1")
                                          << frameOf("0d0d 00 c0a80164 ffffff00 c0a80101");
    }

    void wholeFrames()
    {
        QFETCH(QByteArray, frame);
        QFETCH(QByteArray, expected);
        QCOMPARE(frame.toHex(' '), expected.toHex(' '));
    }

    void labelSize_data()
    {
        QTest::addColumn<QString>("height");
        QTest::addColumn<QString>("width");
        QTest::addColumn<int>("mmToDot");
        QTest::addColumn<int>("error");
        QTest::addColumn<QByteArray>("payload");

        const int none = int(LabelSizeError::None);
        const int badText = int(LabelSizeError::InvalidText);
        QTest::newRow("30 x 40 at 8, height first") << "30" << "40" << 8 << none << hex("f0004001");
        QTest::newRow("0.06 rounds down") << "0.06" << "40" << 8 << none << hex("00004001");
        QTest::newRow("half rounds away from zero") << "0.0625" << "40" << 8 << none << hex("01004001");
        QTest::newRow("negative clamps to 0") << "-5" << "40" << 8 << none << hex("00004001");
        QTest::newRow("huge clamps to 65535") << "100000" << "40" << 8 << none << hex("ffff4001");
        QTest::newRow("height not a number") << "abc" << "40" << 8 << badText << QByteArray();
        QTest::newRow("mmToDot 0") << "30" << "40" << 0 << int(LabelSizeError::InvalidFactor) << QByteArray();
        QTest::newRow("text checked before factor") << "x" << "40" << 0 << badText << QByteArray();
    }

    void labelSize()
    {
        QFETCH(QString, height);
        QFETCH(QString, width);
        QFETCH(int, mmToDot);
        QFETCH(int, error);
        QFETCH(QByteArray, payload);

        const LabelSizeFrame result = labelSizeFrame(height, width, mmToDot);
        QCOMPARE(int(result.error), error);
        QCOMPARE(result.ok(), error == int(LabelSizeError::None));
        if (!result.ok()) {
            QVERIFY(result.frame.isEmpty());
            return;
        }
        QCOMPARE(result.frame.toHex(' '), (hex("1bfffe011804") + payload + hex("1bfeff")).toHex(' '));
        QCOMPARE(result.heightDots, int(readLeU16(raw(payload))));
        QCOMPARE(result.widthDots, int(readLeU16(raw(payload) + 2)));
    }

    // One row per kind of range: millimetre fields scale with mmToDot,
    // dot fields and ports do not.
    void fieldRanges_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("mmToDot");
        QTest::addColumn<bool>("numeric");
        QTest::addColumn<qint64>("min");
        QTest::addColumn<qint64>("max");

        QTest::newRow("label gap at 8") << int(LABLE_CLEARANCE) << 8 << true << qint64(0) << qint64(8191);
        QTest::newRow("vertical offset at 12") << int(VERTICAL_MIGRATION) << 12 << true << qint64(-2730)
                                               << qint64(2730);
        QTest::newRow("paper exit in dots") << int(THE_DISTANCE_OF_THE_PAPER_EDGE_IS_OUT) << 12 << true
                                            << qint64(-32768) << qint64(32767);
        QTest::newRow("stripper seconds") << int(CUT_DIS) << 8 << true << qint64(0) << qint64(65);
        QTest::newRow("ethernet ports") << int(PORT_MESSAGE) << 8 << true << qint64(0) << qint64(65535);
        QTest::newRow("factor 0 counts as 1") << int(LABLE_CLEARANCE) << 0 << true << qint64(0) << qint64(65535);
        QTest::newRow("speed is a combo") << int(SPEED) << 8 << false << qint64(0) << qint64(0);
    }

    void fieldRanges()
    {
        QFETCH(int, code);
        QFETCH(int, mmToDot);
        QFETCH(bool, numeric);
        QFETCH(qint64, min);
        QFETCH(qint64, max);

        const auto type = SetInfoType(code);
        const auto range = fieldRange(type, mmToDot);
        QCOMPARE(range.has_value(), numeric);
        if (!numeric) {
            QVERIFY(!fieldValueFits(type, 0, mmToDot));
            return;
        }
        QCOMPARE(range->min, min);
        QCOMPARE(range->max, max);
        QVERIFY(fieldValueFits(type, min, mmToDot));
        QVERIFY(fieldValueFits(type, max, mmToDot));
        QVERIFY(!fieldValueFits(type, min - 1, mmToDot));
        QVERIFY(!fieldValueFits(type, max + 1, mmToDot));
    }

    // The validator and the encoder agree for every integer field: at the
    // edges of the allowed range the printer reads back exactly the value
    // meant; one step outside it would read back something else.
    void rangeEdgesSurviveTheWire_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("mmToDot");
        for (const int code : {int(LABLE_CLEARANCE), int(BLACK_CLEARANCE), int(PRINT_OFFSET),
                               int(VERTICAL_MIGRATION), int(THE_DISTANCE_OF_THE_PAPER_EDGE_IS_OUT),
                               int(SEAM_TO_PRINT_HRAD_DISTANCE), int(BLACK_TO_PRINT_HEAD_DISTANCE),
                               int(PRINT_HEAD_TO_TEAR_DISTANCE), int(TCP_SERVICE_PORT_NUMBER), int(CUT_DIS)}) {
            for (const int factor : {8, 12})
                QTest::addRow("code %02X at %d", code, factor) << code << factor;
        }
    }

    void rangeEdgesSurviveTheWire()
    {
        QFETCH(int, code);
        QFETCH(int, mmToDot);
        const auto type = SetInfoType(code);
        const auto field = integerField(type);
        QVERIFY(field.has_value());
        const ValueRange range = fieldRange(type, mmToDot).value();

        auto readBack = [&](qint64 screen) {
            const QByteArray frame = integerSettingFrame(type, QString::number(screen), mmToDot);
            const unsigned char *p = raw(frame) + 6;
            return field->isSigned ? qint64(readLeS16(p)) : qint64(readLeU16(p));
        };
        QCOMPARE(readBack(range.min), printerValue(type, range.min, mmToDot));
        QCOMPARE(readBack(range.max), printerValue(type, range.max, mmToDot));
        QVERIFY(readBack(range.max + 1) != printerValue(type, range.max + 1, mmToDot));
        QVERIFY(readBack(range.min - 1) != printerValue(type, range.min - 1, mmToDot));
    }

    void textFits_data()
    {
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<int>("size");
        QTest::addColumn<bool>("fits");
        QTest::newRow("254 bytes") << QStringList{QString(254, 'a')} << 255 << true;
        QTest::newRow("255 bytes") << QStringList{QString(255, 'a')} << 256 << false;
        QTest::newRow("UTF-8 counts bytes") << QStringList{QString(85, QChar(0x6253))} << 256 << false;
        QTest::newRow("two texts fill 255") << QStringList{QString(127, 'a'), QString(126, 'b')} << 255 << true;
        QTest::newRow("two texts 256") << QStringList{QString(127, 'a'), QString(127, 'b')} << 256 << false;
    }

    void textFits()
    {
        QFETCH(QStringList, texts);
        QFETCH(int, size);
        QFETCH(bool, fits);
        QCOMPARE(textsPayloadSize(texts), size);
        QCOMPARE(textsPayloadFit(texts), fits);
        if (texts.size() == 1)
            QCOMPARE(textPayloadFits(texts.first()), fits);
        // Whatever the size, the texts go out whole; the length byte can
        // only count to 255 and wraps beyond (hence the check above).
        const QByteArray frame = textsSettingFrame(BLE_NAME, texts);
        QCOMPARE(frame.size(), size + 9);
        QCOMPARE(quint8(frame.at(5)), quint8(size % 256));
    }
};

QTEST_APPLESS_MAIN(TestInstructions)
#include "tst_instructions.moc"
