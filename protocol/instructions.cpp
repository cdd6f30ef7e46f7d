#include "protocol/instructions.h"

#include "protocol/conversions.h"
#include "protocol/frame.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace proto {

namespace {

QByteArray addressBytes(const QStringList &texts)
{
    QByteArray bytes;
    for (const QString &text : texts) {
        const QStringList pieces = text.split(QLatin1Char('.'));
        for (const QString &piece : pieces) {
            bytes.append(char(parseInteger(piece) & 0xFF));
        }
    }
    return bytes;
}

// Label size: half away from zero, then into the unsigned 16-bit field.
int labelDots(double mm, int mmToDot)
{
    const double dots = std::round(mm * mmToDot);
    return int(std::clamp(dots, 0.0, 65535.0));
}

} // namespace

QByteArray byteSettingFrame(SetInfoType code, int value)
{
    return buildFrame(ClassSet, code, QByteArray(1, char(value & 0xFF)));
}

QByteArray wordSettingFrame(SetInfoType code, qint64 value)
{
    QByteArray payload;
    appendLe16(payload, value);
    return buildFrame(ClassSet, code, payload);
}

QByteArray textSettingFrame(SetInfoType code, const QString &text)
{
    return textsSettingFrame(code, QStringList{text});
}

QByteArray textsSettingFrame(SetInfoType code, const QStringList &texts)
{
    QList<QByteArray> bytes;
    for (const QString &text : texts)
        bytes.append(textBytes(text));
    return textBytesSettingFrame(code, bytes);
}

QByteArray textBytesSettingFrame(SetInfoType code, const QList<QByteArray> &texts)
{
    QByteArray payload;
    for (const QByteArray &text : texts) {
        payload.append(text);
        payload.append('\0');
    }
    return buildFrame(ClassSet, code, payload);
}

std::optional<IntegerField> integerField(SetInfoType code)
{
    switch (code) {
    case LABLE_CLEARANCE:
    case BLACK_CLEARANCE:
        return IntegerField{code, FieldUnit::Millimetres, false};
    case PRINT_OFFSET:
    case VERTICAL_MIGRATION:
    case SEAM_TO_PRINT_HRAD_DISTANCE:
    case BLACK_TO_PRINT_HEAD_DISTANCE:
        return IntegerField{code, FieldUnit::Millimetres, true};
    case THE_DISTANCE_OF_THE_PAPER_EDGE_IS_OUT:
    case PRINT_HEAD_TO_TEAR_DISTANCE:
        return IntegerField{code, FieldUnit::Dots, true};
    case PORT_MESSAGE:
    case TCP_SERVICE_PORT_NUMBER:
        return IntegerField{code, FieldUnit::Number, false};
    case CUT_DIS:
        return IntegerField{code, FieldUnit::Seconds, false};
    default:
        return std::nullopt;
    }
}

qint64 printerValue(SetInfoType code, qint64 screenValue, int mmToDot)
{
    const auto field = integerField(code);
    if (!field)
        return screenValue;
    switch (field->unit) {
    case FieldUnit::Millimetres:
        return screenValue * mmToDot;
    case FieldUnit::Seconds:
        return screenValue * 1000;
    case FieldUnit::Dots:
    case FieldUnit::Number:
        break;
    }
    return screenValue;
}

QByteArray integerSettingFrame(SetInfoType code, const QString &text, int mmToDot)
{
    const int screen = parseInteger(text);
    // The printer tool has always multiplied in 32-bit int and sent the low
    // 16 bits; 64-bit arithmetic gives the same low 16 bits without the
    // signed overflow.
    return wordSettingFrame(code, printerValue(code, screen, mmToDot));
}

QByteArray speedFrame(int index) { return byteSettingFrame(SPEED, index); }
QByteArray defaultCodePageFrame(int index) { return byteSettingFrame(DEFAULT_CODE, index); }

int simulationCode(const QString &name)
{
    for (auto it = instructionSetNames.cbegin(); it != instructionSetNames.cend(); ++it) {
        if (it.value() == name)
            return it.key();
    }
    return 0;
}

QByteArray simulationFrame(const QString &name)
{
    return byteSettingFrame(SIMULATION, simulationCode(name));
}

QByteArray ethernetIpFrame(int ipModeIndex, const QString &ip, const QString &mask,
                           const QString &gateway)
{
    QByteArray payload(1, char(ipModeIndex & 0xFF));
    payload.append(addressBytes({ip, mask, gateway}));
    return buildFrame(ClassSet, ETHERNET_IP, payload);
}

QByteArray serialPortFrame(int baudIndex, int parityIndex, int dataBitsIndex, int stopBitsIndex)
{
    QByteArray payload;
    for (const int index : {baudIndex, parityIndex, dataBitsIndex, stopBitsIndex})
        payload.append(char(index & 0xFF));
    return buildFrame(ClassSet, SERIAL_PORT, payload);
}

QByteArray portMessageFrame(const QString &tcpText, const QString &udpText)
{
    const int tcp = parseInteger(tcpText);
    const int udp = parseInteger(udpText);
    QByteArray payload;
    appendLe16(payload, tcp);
    appendLe16(payload, udp);
    return buildFrame(ClassSet, PORT_MESSAGE, payload);
}

QByteArray serialNumberFrame(const QByteArray &sn)
{
    return buildFrame(ClassSet, SN, sn + '\0');
}
QByteArray densityFrame(int index) { return byteSettingFrame(Densty_SETTING, index); }
QByteArray paperTypeFrame(int index) { return byteSettingFrame(PAPER_TYPE, index); }

LabelSizeFrame labelSizeFrame(const QString &heightText, const QString &widthText, int mmToDot)
{
    LabelSizeFrame result;
    const QString height = heightText.trimmed();
    const QString width = widthText.trimmed();
    double heightMm = 0;
    double widthMm = 0;
    if (!parseFlexibleDouble(height, heightMm) || !parseFlexibleDouble(width, widthMm)) {
        result.error = LabelSizeError::InvalidText;
        return result;
    }
    if (mmToDot < 1) {
        result.error = LabelSizeError::InvalidFactor;
        return result;
    }
    result.heightDots = labelDots(heightMm, mmToDot);
    result.widthDots = labelDots(widthMm, mmToDot);

    QByteArray payload;
    appendLe16(payload, result.heightDots);
    appendLe16(payload, result.widthDots);
    result.frame = buildFrame(ClassSet, LABEL_SIZE, payload);
    return result;
}

QByteArray labelGapFrame(const QString &mmText, int mmToDot)
{
    return integerSettingFrame(LABLE_CLEARANCE, mmText, mmToDot);
}

QByteArray blackMarkGapFrame(const QString &mmText, int mmToDot)
{
    return integerSettingFrame(BLACK_CLEARANCE, mmText, mmToDot);
}

QByteArray printDirectionFrame(int rotationIndex, int mirrorIndex)
{
    QByteArray payload;
    payload.append(char(rotationIndex & 0xFF));
    payload.append(char(mirrorIndex & 0xFF));
    return buildFrame(ClassSet, PRINT_DIRECTION, payload);
}

QByteArray printOffsetFrame(const QString &mmText, int mmToDot)
{
    return integerSettingFrame(PRINT_OFFSET, mmText, mmToDot);
}

QByteArray verticalOffsetFrame(const QString &mmText, int mmToDot)
{
    return integerSettingFrame(VERTICAL_MIGRATION, mmText, mmToDot);
}

QByteArray keyLockFrame(bool keysEnabled) { return byteSettingFrame(KEY_LOCK, keysEnabled ? 0 : 1); }
QByteArray buzzerFrame(bool buzzerEnabled) { return byteSettingFrame(BUZZER, buzzerEnabled ? 0 : 1); }

QByteArray cutterModeFrame(CutterMode mode)
{
    return byteSettingFrame(CUTTER_MODE, int(mode));
}

QByteArray stationFrame(const QString &ssid, const QString &password)
{
    return textsSettingFrame(CONNECT_AP_INFORMATION, {ssid, password});
}

QString accessPointAddress(const QString &ipText)
{
    const bool emptyAddress = ipText == QLatin1String("...") || ipText.isEmpty();
    return emptyAddress ? QStringLiteral("192.168.1.1") : ipText;
}

QByteArray accessPointFrame(const QString &name, const QString &password, const QString &ipText)
{
    return textsSettingFrame(AP_MODE, {name, password, accessPointAddress(ipText)});
}

QByteArray wifiIpFrame(int ipModeIndex, const QString &ip, const QString &mask,
                       const QString &gateway, const QString &dns)
{
    QByteArray payload(1, char(ipModeIndex & 0xFF));
    payload.append(addressBytes({ip, mask, gateway, dns}));
    return buildFrame(ClassSet, IP_MESSAGE, payload);
}

QByteArray tcpServicePortFrame(const QString &portText)
{
    return integerSettingFrame(TCP_SERVICE_PORT_NUMBER, portText, 1);
}

QByteArray brEdrNameFrame(const QString &name) { return textSettingFrame(BR_EDR_NAME, name); }
QByteArray bleNameFrame(const QString &name) { return textSettingFrame(BLE_NAME, name); }
QByteArray pinFrame(const QString &pin) { return textSettingFrame(PIN, pin); }
QByteArray sppModeFrame(int index) { return byteSettingFrame(SPP_MODE, index); }
QByteArray wifiModeFrame(int comboIndex) { return byteSettingFrame(WIFI_MODE, comboIndex + 1); }

QByteArray paperEdgeDistanceFrame(const QString &dotsText)
{
    return integerSettingFrame(THE_DISTANCE_OF_THE_PAPER_EDGE_IS_OUT, dotsText, 1);
}

QByteArray seamDistanceFrame(const QString &mmText, int mmToDot)
{
    return integerSettingFrame(SEAM_TO_PRINT_HRAD_DISTANCE, mmText, mmToDot);
}

QByteArray blackMarkDistanceFrame(const QString &mmText, int mmToDot)
{
    return integerSettingFrame(BLACK_TO_PRINT_HEAD_DISTANCE, mmText, mmToDot);
}

QByteArray tearDistanceFrame(const QString &dotsText)
{
    return integerSettingFrame(PRINT_HEAD_TO_TEAR_DISTANCE, dotsText, 1);
}

QByteArray languageFrame(int index) { return byteSettingFrame(LG_MODE, index); }
QByteArray printerModeFrame(int index) { return byteSettingFrame(PRINTER_MODE, index); }
QByteArray autoPaperFrame(int index) { return byteSettingFrame(AUTO_PAPER, index); }

QByteArray paperTakeTimeFrame(const QString &secondsText)
{
    return integerSettingFrame(CUT_DIS, secondsText, 1);
}

std::optional<ValueRange> fieldRange(SetInfoType code, int mmToDot)
{
    const auto field = integerField(code);
    if (!field)
        return std::nullopt;
    const qint64 low = field->isSigned ? -32768 : 0;
    const qint64 high = field->isSigned ? 32767 : 65535;
    qint64 factor = 1;
    switch (field->unit) {
    case FieldUnit::Millimetres:
        factor = std::max(mmToDot, 1);
        break;
    case FieldUnit::Seconds:
        factor = 1000;
        break;
    case FieldUnit::Dots:
    case FieldUnit::Number:
        break;
    }
    // Smallest and largest screen values whose product stays inside
    // [low, high]: round the bounds toward zero.
    return ValueRange{low / factor, high / factor};
}

bool fieldValueFits(SetInfoType code, qint64 screenValue, int mmToDot)
{
    const auto range = fieldRange(code, mmToDot);
    return range && range->contains(screenValue);
}

int textsPayloadSize(const QStringList &texts)
{
    qsizetype size = 0;
    for (const QString &text : texts)
        size += textBytes(text).size() + 1;
    return int(std::min<qsizetype>(size, INT_MAX));
}

bool textsPayloadFit(const QStringList &texts)
{
    return textsPayloadSize(texts) <= kMaxPayload;
}

bool textPayloadFits(const QString &text)
{
    return textsPayloadFit(QStringList{text});
}

bool dottedQuadFits(const QString &text)
{
    const QStringList pieces = text.split(QLatin1Char('.'));
    for (const QString &piece : pieces) {
        const int value = parseInteger(piece);
        if (value < 0 || value > 255)
            return false;
    }
    return true;
}

} // namespace proto
