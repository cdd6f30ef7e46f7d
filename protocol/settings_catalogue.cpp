#include "protocol/settings_catalogue.h"

#include "protocol/conversions.h"
#include "protocol/frame.h"
#include "protocol/instructions.h"

#include <algorithm>
#include <cmath>

namespace settings {

namespace {

Setting number(const char *key, const char *page, SetInfoType code, const char *unit = "")
{
    return {.key = QString::fromLatin1(key), .page = QString::fromLatin1(page), .code = code, .kind = Kind::Number,
            .unit = QString::fromLatin1(unit)};
}

Setting choice(const char *key, const char *page, SetInfoType code, const QStringList &choices)
{
    return {.key = QString::fromLatin1(key), .page = QString::fromLatin1(page), .code = code, .kind = Kind::Choice,
            .choices = choices};
}

Setting of(const char *key, const char *page, SetInfoType code, Kind kind)
{
    return {.key = QString::fromLatin1(key), .page = QString::fromLatin1(page), .code = code, .kind = kind};
}

Setting secret(Setting s)
{
    s.secret = true;
    return s;
}

Setting identity(Setting s)
{
    s.identity = true;
    return s;
}

Setting only(Setting s, Models models)
{
    s.models = models;
    return s;
}

QList<Setting> build()
{
    const QStringList baud = {"4800",   "9600",   "14400",  "19200",  "38400",  "56000",
                              "57600",  "115200", "128000", "230400", "256000", "460800",
                              "500000", "512000", "600000", "750000", "921600"};
    Setting labelHeight = of("print.label_height_mm", "print", LABEL_SIZE, Kind::Decimal);
    Setting labelWidth = of("print.label_width_mm", "print", LABEL_SIZE, Kind::Decimal);
    labelHeight.unit = labelWidth.unit = QStringLiteral("mm");
    return {
        number("print.speed", "print", SPEED),
        number("print.density", "print", Densty_SETTING),
        number("print.label_gap_mm", "print", LABLE_CLEARANCE, "mm"),
        number("print.black_mark_gap_mm", "print", BLACK_CLEARANCE, "mm"),
        choice("print.rotation", "print", PRINT_DIRECTION, {"0", "180"}),
        choice("print.mirror", "print", PRINT_DIRECTION, {"normal", "mirrored"}),
        only(choice("print.method", "print", PRINTER_MODE, {"thermal", "thermal-transfer", "adaptive"}),
             Models::ExtendedOnly),
        only(choice("print.auto_paper", "print", AUTO_PAPER, {"off", "on"}), Models::StandardOnly),
        choice("print.paper_type", "print", PAPER_TYPE, {"gap", "black-mark", "continuous", "auto"}),
        number("print.code_page", "print", DEFAULT_CODE),
        choice("print.command_set", "print", SIMULATION, {"ZPL", "TSPL", "CPCL", "EPL", "DPL", "AUTO"}),
        labelHeight,
        labelWidth,
        number("print.offset_mm", "print", PRINT_OFFSET, "mm"),
        number("print.vertical_offset_mm", "print", VERTICAL_MIGRATION, "mm"),
        choice("print.language", "print", LG_MODE,
               {"english", "chinese-simplified", "chinese-traditional", "korean", "japanese", "arabic", "thai"}),
        number("distance.paper_exit_dots", "distance", THE_DISTANCE_OF_THE_PAPER_EDGE_IS_OUT, "dots"),
        number("distance.seam_mm", "distance", SEAM_TO_PRINT_HRAD_DISTANCE, "mm"),
        number("distance.black_mark_mm", "distance", BLACK_TO_PRINT_HEAD_DISTANCE, "mm"),
        number("distance.tear_dots", "distance", PRINT_HEAD_TO_TEAR_DISTANCE, "dots"),
        choice("serial.baud", "serial", SERIAL_PORT, baud),
        choice("serial.parity", "serial", SERIAL_PORT, {"0", "1", "2"}),
        choice("serial.data_bits", "serial", SERIAL_PORT, {"8", "7"}),
        choice("serial.stop_bits", "serial", SERIAL_PORT, {"1", "2"}),
        identity(of("serial.serial_number", "serial", SN, Kind::Text)),
        of("serial.device_id", "serial", DEVICE_IDENTITY, Kind::Info),
        number("stripper.paper_take_s", "stripper", CUT_DIS, "s"),
        choice("wifi.mode", "wifi", WIFI_MODE, {"sta", "ap"}),
        of("wifi.sta.ssid", "wifi", CONNECT_AP_INFORMATION, Kind::Text),
        secret(of("wifi.sta.password", "wifi", CONNECT_AP_INFORMATION, Kind::Text)),
        of("wifi.ap.ssid", "wifi", AP_MODE, Kind::Text),
        secret(of("wifi.ap.password", "wifi", AP_MODE, Kind::Text)),
        of("wifi.ap.ip", "wifi", AP_MODE, Kind::Address),
        number("wifi.tcp_port", "wifi", TCP_SERVICE_PORT_NUMBER),
        of("wifi.mac", "wifi", MAC_ADDRESSES, Kind::Info),
        choice("ip.mode", "ip", IP_MESSAGE, {"static", "dhcp"}),
        identity(of("ip.address", "ip", IP_MESSAGE, Kind::Address)),
        of("ip.subnet_mask", "ip", IP_MESSAGE, Kind::Address),
        identity(of("ip.gateway", "ip", IP_MESSAGE, Kind::Address)),
        of("ip.dns", "ip", IP_MESSAGE, Kind::Address),
        choice("ethernet.mode", "ethernet", ETHERNET_IP, {"dhcp", "static"}),
        identity(of("ethernet.address", "ethernet", ETHERNET_IP, Kind::Address)),
        of("ethernet.subnet_mask", "ethernet", ETHERNET_IP, Kind::Address),
        identity(of("ethernet.gateway", "ethernet", ETHERNET_IP, Kind::Address)),
        number("ethernet.tcp_port", "ethernet", PORT_MESSAGE),
        number("ethernet.udp_port", "ethernet", PORT_MESSAGE),
        of("bluetooth.spp_name", "bluetooth", BR_EDR_NAME, Kind::Text),
        of("bluetooth.ble_name", "bluetooth", BLE_NAME, Kind::Text),
        choice("bluetooth.pairing", "bluetooth", SPP_MODE, {"simple", "pin"}),
        secret(of("bluetooth.pin", "bluetooth", PIN, Kind::Text)),
        of("bluetooth.mac", "bluetooth", MAC_ADDRESSES, Kind::Info),
    };
}

// The order in which a set sends the instructions: each page in the order
// its Set button sends them.
const QList<SetInfoType> &sendingOrder()
{
    static const QList<SetInfoType> order = {
        DEFAULT_CODE, SPEED, Densty_SETTING, LABLE_CLEARANCE, BLACK_CLEARANCE, PRINT_DIRECTION,
        PRINTER_MODE, AUTO_PAPER, PAPER_TYPE, SIMULATION, VERTICAL_MIGRATION, PRINT_OFFSET, LABEL_SIZE, LG_MODE,
        THE_DISTANCE_OF_THE_PAPER_EDGE_IS_OUT, SEAM_TO_PRINT_HRAD_DISTANCE, BLACK_TO_PRINT_HEAD_DISTANCE,
        PRINT_HEAD_TO_TEAR_DISTANCE,
        SERIAL_PORT, SN,
        CUT_DIS,
        WIFI_MODE, CONNECT_AP_INFORMATION, AP_MODE, TCP_SERVICE_PORT_NUMBER, IP_MESSAGE,
        ETHERNET_IP, PORT_MESSAGE,
        BR_EDR_NAME, BLE_NAME, SPP_MODE, PIN,
    };
    return order;
}

} // namespace

// Integer settings without a 16-bit field of their own: their range is
// the page's combo. A TCP service port of 0 would leave the printer
// unreachable over the network.
std::optional<proto::ValueRange> numberRange(const Setting &s, const Model &model)
{
    if (s.key == QLatin1String("wifi.tcp_port") || s.key == QLatin1String("ethernet.tcp_port"))
        return proto::ValueRange{1, 65535};
    switch (s.code) {
    case SPEED: return proto::ValueRange{0, model.extended ? 7 : 3};
    case Densty_SETTING: return proto::ValueRange{0, 15};
    case DEFAULT_CODE: return proto::ValueRange{0, 61};
    case PORT_MESSAGE: return proto::ValueRange{0, 65535};
    default: return proto::fieldRange(s.code, model.mmToDot);
    }
}

namespace {

// Label sizes in millimetres with two decimals, rounded: at 8 and at 12
// dots/mm every dot count survives the way back (mm x mmToDot, rounded).
QString labelMm(int dots, int mmToDot)
{
    return QString::number(double(dots) / mmToDot, 'f', 2);
}

QString text(const unsigned char *payload, int size)
{
    return proto::payloadText(payload, size);
}

void putChoice(Values &values, const char *key, int index)
{
    const Setting *s = find(QString::fromLatin1(key));
    if (s && index >= 0 && index < s->choices.size())
        values.insert(s->key, s->choices.at(index));
}

// Numbers the page picks from a combo (speed, density, code page): a byte
// beyond the combo's entries is left out, as an enumeration byte that names
// no choice is, so that what a decode yields can always be set again.
void putComboNumber(Values &values, const char *key, int number, const Model &model)
{
    const Setting *s = find(QString::fromLatin1(key));
    const std::optional<proto::ValueRange> range = s ? numberRange(*s, model) : std::nullopt;
    if (range && range->contains(number))
        values.insert(s->key, QString::number(number));
}

QString value(const Values &values, const char *key)
{
    return values.value(QString::fromLatin1(key));
}

int index(const Values &values, const char *key)
{
    return choiceIndex(values, QString::fromLatin1(key));
}

} // namespace

const QList<Setting> &catalogue()
{
    static const QList<Setting> all = build();
    return all;
}

const Setting *find(const QString &key)
{
    for (const Setting &s : catalogue()) {
        if (s.key == key)
            return &s;
    }
    return nullptr;
}

QStringList pageNames()
{
    return {"print", "distance", "serial", "stripper", "wifi", "ip", "ethernet", "bluetooth"};
}

bool appliesTo(const Setting &setting, const Model &model)
{
    switch (setting.models) {
    case Models::ExtendedOnly: return model.extended;
    case Models::StandardOnly: return !model.extended;
    case Models::All: break;
    }
    return true;
}

QList<const Setting *> settingsOf(const QString &page, const Model &model)
{
    QList<const Setting *> list;
    for (const Setting &s : catalogue()) {
        if ((page.isEmpty() || s.page == page) && appliesTo(s, model))
            list << &s;
    }
    return list;
}

QList<SetInfoType> instructionsFor(const QStringList &keys, const Model &model)
{
    QList<SetInfoType> list;
    for (SetInfoType code : sendingOrder()) {
        const QStringList carried = keysOf(code, model);
        if (std::any_of(carried.begin(), carried.end(), [&](const QString &k) { return keys.contains(k); }))
            list << code;
    }
    return list;
}

QStringList keysOf(SetInfoType code, const Model &model)
{
    QStringList keys;
    for (const Setting &s : catalogue()) {
        if (s.code == code && appliesTo(s, model))
            keys << s.key;
    }
    return keys;
}

int choiceIndex(const Values &values, const QString &key)
{
    const Setting *s = find(key);
    if (!s || !values.contains(key))
        return -1;
    return int(s->choices.indexOf(values.value(key)));
}

Values decode(SetInfoType code, const unsigned char *p, int size, const Model &model)
{
    Values v;
    const int mmToDot = qMax(1, model.mmToDot);
    const auto put = [&v](const char *key, const QString &value) { v.insert(QString::fromLatin1(key), value); };
    const auto s16 = [p](int at) { return int(proto::readLeS16(p + at)); };
    const auto u16 = [p](int at) { return int(proto::readLeU16(p + at)); };
    switch (code) {
    case SPEED: putComboNumber(v, "print.speed", p[0], model); break;
    case Densty_SETTING: putComboNumber(v, "print.density", p[0], model); break;
    case DEFAULT_CODE: putComboNumber(v, "print.code_page", p[0], model); break;
    case LABLE_CLEARANCE: put("print.label_gap_mm", QString::number(u16(0) / mmToDot)); break;
    case BLACK_CLEARANCE: put("print.black_mark_gap_mm", QString::number(u16(0) / mmToDot)); break;
    case PRINT_DIRECTION:
        // Any value but 0 counts as rotated, and as mirrored.
        putChoice(v, "print.rotation", p[0] == 0 ? 0 : 1);
        putChoice(v, "print.mirror", p[1] == 0 ? 0 : 1);
        break;
    case PRINTER_MODE: putChoice(v, "print.method", p[0] == 0 ? 0 : p[0] == 1 ? 1 : 2); break;
    case AUTO_PAPER: putChoice(v, "print.auto_paper", p[0]); break;
    case PAPER_TYPE: putChoice(v, "print.paper_type", qMin<int>(p[0], 3)); break;
    case SIMULATION: {
        const QString name = instructionSetNames.value(p[0]);
        if (!name.isEmpty())
            put("print.command_set", name);
        break;
    }
    case LABEL_SIZE:
        // Unsigned, as the set sends them: a size is never negative, and
        // sizes of 32768..65535 dots would otherwise come back below zero.
        put("print.label_height_mm", labelMm(u16(0), mmToDot));
        put("print.label_width_mm", labelMm(u16(2), mmToDot));
        break;
    case PRINT_OFFSET: put("print.offset_mm", QString::number(proto::divideTowardZero(s16(0), mmToDot))); break;
    case VERTICAL_MIGRATION:
        put("print.vertical_offset_mm", QString::number(proto::divideTowardZero(s16(0), mmToDot)));
        break;
    case LG_MODE: putChoice(v, "print.language", p[0]); break;
    case THE_DISTANCE_OF_THE_PAPER_EDGE_IS_OUT: put("distance.paper_exit_dots", QString::number(s16(0))); break;
    case SEAM_TO_PRINT_HRAD_DISTANCE:
        put("distance.seam_mm", QString::number(proto::divideTowardZero(s16(0), mmToDot)));
        break;
    case BLACK_TO_PRINT_HEAD_DISTANCE:
        put("distance.black_mark_mm", QString::number(proto::divideTowardZero(s16(0), mmToDot)));
        break;
    case PRINT_HEAD_TO_TEAR_DISTANCE: put("distance.tear_dots", QString::number(s16(0))); break;
    case SERIAL_PORT:
        putChoice(v, "serial.baud", p[0]);
        putChoice(v, "serial.parity", p[1]);
        putChoice(v, "serial.data_bits", p[2]);
        putChoice(v, "serial.stop_bits", p[3]);
        break;
    case SN: put("serial.serial_number", text(p, size)); break;
    case DEVICE_IDENTITY:
        if (const auto identity = proto::splitDeviceIdentity(p, size))
            put("serial.device_id", identity->deviceId());
        break;
    case CUT_DIS: put("stripper.paper_take_s", QString::number(u16(0) / 1000)); break;
    case WIFI_MODE: putChoice(v, "wifi.mode", p[0] == 1 ? 0 : 1); break; // only 1 means station
    case CONNECT_AP_INFORMATION: {
        const QStringList t = proto::payloadTexts(p, size, 2);
        put("wifi.sta.ssid", t[0]);
        put("wifi.sta.password", t[1]);
        break;
    }
    case AP_MODE: {
        const QStringList t = proto::payloadTexts(p, size, 3);
        put("wifi.ap.ssid", t[0]);
        put("wifi.ap.password", t[1]);
        put("wifi.ap.ip", t[2]);
        break;
    }
    case TCP_SERVICE_PORT_NUMBER: put("wifi.tcp_port", QString::number(u16(0))); break;
    case MAC_ADDRESSES:
        put("wifi.mac", proto::macText(p));
        put("bluetooth.mac", proto::macText(p + 6));
        break;
    case IP_MESSAGE:
        putChoice(v, "ip.mode", proto::ipModeIndex(proto::IpBlock::Wifi, proto::dhcpOn(proto::IpBlock::Wifi, p[0])));
        put("ip.address", proto::dottedQuadText(p + 1));
        put("ip.subnet_mask", proto::dottedQuadText(p + 5));
        put("ip.gateway", proto::dottedQuadText(p + 9));
        put("ip.dns", proto::dottedQuadText(p + 13));
        break;
    case ETHERNET_IP:
        putChoice(v, "ethernet.mode",
                  proto::ipModeIndex(proto::IpBlock::Ethernet, proto::dhcpOn(proto::IpBlock::Ethernet, p[0])));
        put("ethernet.address", proto::dottedQuadText(p + 1));
        put("ethernet.subnet_mask", proto::dottedQuadText(p + 5));
        put("ethernet.gateway", proto::dottedQuadText(p + 9));
        break;
    case PORT_MESSAGE:
        put("ethernet.tcp_port", QString::number(u16(0)));
        put("ethernet.udp_port", QString::number(u16(2)));
        break;
    case BR_EDR_NAME: put("bluetooth.spp_name", text(p, size)); break;
    case BLE_NAME: put("bluetooth.ble_name", text(p, size)); break;
    case SPP_MODE: putChoice(v, "bluetooth.pairing", p[0]); break;
    case PIN: put("bluetooth.pin", text(p, size)); break;
    default: break;
    }
    // Keys of the other model group (printing method, paper feed) never
    // come out of a decode for this model.
    for (auto it = v.begin(); it != v.end();) {
        const Setting *s = find(it.key());
        it = s && appliesTo(*s, model) ? std::next(it) : v.erase(it);
    }
    return v;
}

Checked check(const Setting &s, const QString &input, const Model &model)
{
    const QString text = s.kind == Kind::Text ? input : input.trimmed();
    switch (s.kind) {
    case Kind::Info:
        return {{}, QStringLiteral("%1 is read only").arg(s.key)};
    case Kind::Number: {
        const auto range = numberRange(s, model);
        bool ok = false;
        const qlonglong n = text.toLongLong(&ok, 10);
        if (!ok || !range || !range->contains(n))
            return {{}, QStringLiteral("The range of %1 is %2 ~ %3").arg(s.key).arg(range ? range->min : 0)
                            .arg(range ? range->max : 0)};
        return {QString::number(n), {}};
    }
    case Kind::Decimal: {
        // The printer keeps dots in 16 bits: the largest size is 65535 dots,
        // which it answers as labelMm() rounds them ("8191.88" at 8 dots/mm).
        // That text is the top, so that every value this returns passes here
        // again; anything up to it still comes to at most 65535 dots.
        const int mmToDot = qMax(1, model.mmToDot);
        const double max = labelMm(65535, mmToDot).toDouble();
        bool ok = false;
        const double mm = text.toDouble(&ok);
        if (!ok || !(mm >= 0 && mm <= max))
            return {{}, QStringLiteral("The range of %1 is 0 ~ %2").arg(s.key, QString::number(max, 'f', 2))};
        // What the printer will answer for the dots this sends.
        return {labelMm(int(std::lround(mm * mmToDot)), mmToDot), {}};
    }
    case Kind::Choice: {
        for (const QString &c : s.choices) {
            if (c.compare(text, Qt::CaseInsensitive) == 0)
                return {c, {}};
        }
        return {{}, QStringLiteral("%1 must be one of %2").arg(s.key, s.choices.join(QStringLiteral(", ")))};
    }
    case Kind::Text:
        if (!proto::textPayloadFits(text))
            return {{}, QStringLiteral("%1 is too long, at most %2 bytes (UTF-8)").arg(s.key).arg(proto::kMaxTextBytes)};
        return {text, {}};
    case Kind::Address: {
        const QStringList parts = text.split(QLatin1Char('.'));
        bool fine = parts.size() == 4;
        for (const QString &part : parts) {
            bool ok = false;
            const int n = part.toInt(&ok, 10);
            fine = fine && ok && n >= 0 && n <= 255 && part.size() <= 3;
        }
        if (!fine)
            return {{}, QStringLiteral("The range of each part of %1 is 0 ~ 255").arg(s.key)};
        QStringList canonical;
        for (const QString &part : parts)
            canonical << QString::number(part.toInt());
        return {canonical.join(QLatin1Char('.')), {}};
    }
    }
    return {{}, QStringLiteral("%1 is unknown").arg(s.key)};
}

std::optional<Values> parseAssignments(const QStringList &pairs, const Model *model, QString *error)
{
    Values values;
    for (const QString &pair : pairs) {
        const qsizetype eq = pair.indexOf(QLatin1Char('='));
        if (eq <= 0) {
            *error = QStringLiteral("%1: write KEY=VALUE").arg(pair);
            return std::nullopt;
        }
        const QString key = pair.left(eq);
        const Setting *s = find(key);
        if (!s) {
            *error = QStringLiteral("%1: unknown key (see \"labelsetup-cli keys\")").arg(key);
            return std::nullopt;
        }
        QString firstError;
        bool accepted = false;
        const QList<Model> models = model ? QList<Model>{*model}
                                                    : QList<Model>{{8, true}, {12, true}, {8, false}, {12, false}};
        for (const Model &m : models) {
            if (!appliesTo(*s, m))
                continue;
            const Checked checked = check(*s, pair.mid(eq + 1), m);
            if (checked.ok()) {
                values.insert(key, checked.value);
                accepted = true;
                break;
            }
            if (firstError.isEmpty())
                firstError = checked.error;
        }
        if (!accepted) {
            *error = firstError.isEmpty() ? QStringLiteral("%1 does not exist on this model").arg(key) : firstError;
            return std::nullopt;
        }
    }
    return values;
}

QString checkInstruction(SetInfoType code, const Values &values, const Model &model)
{
    const QStringList keys = keysOf(code, model);
    QStringList texts;
    for (const QString &key : keys) {
        const Setting *s = find(key);
        if (s && (s->kind == Kind::Text || s->kind == Kind::Address) && (code == CONNECT_AP_INFORMATION || code == AP_MODE))
            texts << values.value(key);
    }
    if (!texts.isEmpty() && !proto::textsPayloadFit(texts)) {
        int before = 0;
        for (qsizetype i = 0; i < texts.size(); ++i) {
            const int own = int(texts[i].toUtf8().size());
            const int limit = proto::kMaxPayload - before - int(texts.size() - i);
            if (own > limit)
                return QStringLiteral("%1 is too long, at most %2 bytes (UTF-8)").arg(keys[i]).arg(qMax(0, limit));
            before += own + 1;
        }
    }
    // Characters as people count them: code points, not UTF-16 units.
    if (code == AP_MODE && value(values, "wifi.ap.password").toUcs4().size() < 8)
        return QStringLiteral("wifi.ap.password must have at least 8 characters for an access point");
    // Without DHCP the printer would have no address at all.
    if (code == ETHERNET_IP && value(values, "ethernet.mode") == QLatin1String("static")) {
        const QList<int> parts = proto::dottedQuadValues(value(values, "ethernet.address"));
        if (std::all_of(parts.begin(), parts.end(), [](int part) { return part == 0; }))
            return QStringLiteral("ethernet.address must be set (not 0.0.0.0) when ethernet.mode is static");
    }
    return {};
}

QByteArray frame(SetInfoType code, const Values &v, const Model &model)
{
    const int m = model.mmToDot;
    switch (code) {
    case SPEED: return proto::speedFrame(value(v, "print.speed").toInt());
    case Densty_SETTING: return proto::densityFrame(value(v, "print.density").toInt());
    case DEFAULT_CODE: return proto::defaultCodePageFrame(value(v, "print.code_page").toInt());
    case LABLE_CLEARANCE: return proto::labelGapFrame(value(v, "print.label_gap_mm"), m);
    case BLACK_CLEARANCE: return proto::blackMarkGapFrame(value(v, "print.black_mark_gap_mm"), m);
    case PRINT_DIRECTION: return proto::printDirectionFrame(index(v, "print.rotation"), index(v, "print.mirror"));
    case PRINTER_MODE: return proto::printerModeFrame(index(v, "print.method"));
    case AUTO_PAPER: return proto::autoPaperFrame(index(v, "print.auto_paper"));
    case PAPER_TYPE: return proto::paperTypeFrame(index(v, "print.paper_type"));
    case SIMULATION: return proto::simulationFrame(value(v, "print.command_set"));
    case LABEL_SIZE:
        return proto::labelSizeFrame(value(v, "print.label_height_mm"), value(v, "print.label_width_mm"), m).frame;
    case PRINT_OFFSET: return proto::printOffsetFrame(value(v, "print.offset_mm"), m);
    case VERTICAL_MIGRATION: return proto::verticalOffsetFrame(value(v, "print.vertical_offset_mm"), m);
    case LG_MODE: return proto::languageFrame(index(v, "print.language"));
    case THE_DISTANCE_OF_THE_PAPER_EDGE_IS_OUT: return proto::paperEdgeDistanceFrame(value(v, "distance.paper_exit_dots"));
    case SEAM_TO_PRINT_HRAD_DISTANCE: return proto::seamDistanceFrame(value(v, "distance.seam_mm"), m);
    case BLACK_TO_PRINT_HEAD_DISTANCE: return proto::blackMarkDistanceFrame(value(v, "distance.black_mark_mm"), m);
    case PRINT_HEAD_TO_TEAR_DISTANCE: return proto::tearDistanceFrame(value(v, "distance.tear_dots"));
    case SERIAL_PORT:
        return proto::serialPortFrame(index(v, "serial.baud"), index(v, "serial.parity"), index(v, "serial.data_bits"),
                                      index(v, "serial.stop_bits"));
    case SN: return proto::serialNumberFrame(value(v, "serial.serial_number").toUtf8());
    case CUT_DIS: return proto::paperTakeTimeFrame(value(v, "stripper.paper_take_s"));
    case WIFI_MODE: return proto::wifiModeFrame(index(v, "wifi.mode"));
    case CONNECT_AP_INFORMATION: return proto::stationFrame(value(v, "wifi.sta.ssid"), value(v, "wifi.sta.password"));
    case AP_MODE:
        return proto::accessPointFrame(value(v, "wifi.ap.ssid"), value(v, "wifi.ap.password"), value(v, "wifi.ap.ip"));
    case TCP_SERVICE_PORT_NUMBER: return proto::tcpServicePortFrame(value(v, "wifi.tcp_port"));
    case IP_MESSAGE:
        return proto::wifiIpFrame(index(v, "ip.mode"), value(v, "ip.address"), value(v, "ip.subnet_mask"),
                                  value(v, "ip.gateway"), value(v, "ip.dns"));
    case ETHERNET_IP:
        return proto::ethernetIpFrame(index(v, "ethernet.mode"), value(v, "ethernet.address"),
                                      value(v, "ethernet.subnet_mask"), value(v, "ethernet.gateway"));
    case PORT_MESSAGE: return proto::portMessageFrame(value(v, "ethernet.tcp_port"), value(v, "ethernet.udp_port"));
    case BR_EDR_NAME: return proto::brEdrNameFrame(value(v, "bluetooth.spp_name"));
    case BLE_NAME: return proto::bleNameFrame(value(v, "bluetooth.ble_name"));
    case SPP_MODE: return proto::sppModeFrame(index(v, "bluetooth.pairing"));
    case PIN: return proto::pinFrame(value(v, "bluetooth.pin"));
    default: return {};
    }
}

bool needsPrintDone(SetInfoType code)
{
    const Setting *first = nullptr;
    for (const Setting &s : catalogue()) {
        if (s.code == code) {
            first = &s;
            break;
        }
    }
    return first && first->page == QLatin1String("print");
}

int pauseAfterMs(SetInfoType code)
{
    switch (code) {
    case WIFI_MODE: return 1000;
    case CONNECT_AP_INFORMATION:
    case AP_MODE: return 1000;
    case TCP_SERVICE_PORT_NUMBER: return 500;
    case IP_MESSAGE: return 100;
    default: return 0;
    }
}

bool needsRestart(const QString &page)
{
    return page == QLatin1String("wifi") || page == QLatin1String("ip") || page == QLatin1String("ethernet")
        || page == QLatin1String("bluetooth");
}

} // namespace settings
