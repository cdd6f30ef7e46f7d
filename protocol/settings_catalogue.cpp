#include "protocol/settings_catalogue.h"

#include "protocol/conversions.h"
#include "protocol/frame.h"
#include "protocol/instructions.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>

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

Setting length(const char *key, const char *page, SetInfoType code)
{
    return {.key = QString::fromLatin1(key), .page = QString::fromLatin1(page), .code = code, .kind = Kind::Decimal,
            .unit = QStringLiteral("mm")};
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
    return {
        number("print.speed", "print", SPEED),
        number("print.density", "print", Densty_SETTING),
        length("print.label_gap_mm", "print", LABLE_CLEARANCE),
        length("print.black_mark_gap_mm", "print", BLACK_CLEARANCE),
        choice("print.rotation", "print", PRINT_DIRECTION, {"0", "180"}),
        choice("print.mirror", "print", PRINT_DIRECTION, {"normal", "mirrored"}),
        only(choice("print.method", "print", PRINTER_MODE, {"thermal", "thermal-transfer", "adaptive"}),
             Models::ExtendedOnly),
        only(choice("print.auto_paper", "print", AUTO_PAPER, {"off", "on"}), Models::StandardOnly),
        choice("print.paper_type", "print", PAPER_TYPE, {"gap", "black-mark", "continuous", "auto"}),
        number("print.code_page", "print", DEFAULT_CODE),
        choice("print.command_set", "print", SIMULATION, {"ZPL", "TSPL", "CPCL", "EPL", "DPL", "AUTO"}),
        length("print.label_height_mm", "print", LABEL_SIZE),
        length("print.label_width_mm", "print", LABEL_SIZE),
        length("print.offset_mm", "print", PRINT_OFFSET),
        length("print.vertical_offset_mm", "print", VERTICAL_MIGRATION),
        choice("print.language", "print", LG_MODE,
               {"english", "chinese-simplified", "chinese-traditional", "korean", "japanese", "arabic", "thai"}),
        number("distance.paper_exit_dots", "distance", THE_DISTANCE_OF_THE_PAPER_EDGE_IS_OUT, "dots"),
        length("distance.seam_mm", "distance", SEAM_TO_PRINT_HRAD_DISTANCE),
        length("distance.black_mark_mm", "distance", BLACK_TO_PRINT_HEAD_DISTANCE),
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
        // An address mode travels only with its addresses: a clone that
        // switched a printer to static would keep whatever address it has.
        identity(choice("ip.mode", "ip", IP_MESSAGE, {"static", "dhcp"})),
        identity(of("ip.address", "ip", IP_MESSAGE, Kind::Address)),
        of("ip.subnet_mask", "ip", IP_MESSAGE, Kind::Address),
        identity(of("ip.gateway", "ip", IP_MESSAGE, Kind::Address)),
        of("ip.dns", "ip", IP_MESSAGE, Kind::Address),
        identity(choice("ethernet.mode", "ethernet", ETHERNET_IP, {"dhcp", "static"})),
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

// The range of a number in its unit, or of a length in dots.
struct DotsRange
{
    qint64 min = 0;
    qint64 max = 0;
};

// The refusal table's bounds in printer units: combo entries, the window's
// label size in dots, otherwise the printer's 16-bit field.
std::optional<DotsRange> printerRange(const Setting &s, const Model &model)
{
    const int mmToDot = std::max(1, model.mmToDot);
    // A TCP service port of 0 would leave the printer unreachable over the
    // network.
    if (s.key == QLatin1String("wifi.tcp_port") || s.key == QLatin1String("ethernet.tcp_port"))
        return DotsRange{1, 65535};
    switch (s.code) {
    case SPEED: return DotsRange{0, model.extended ? 7 : 3};
    case Densty_SETTING: return DotsRange{0, 15};
    case DEFAULT_CODE: return DotsRange{0, 61};
    case PORT_MESSAGE: return DotsRange{0, 65535};
    case LABEL_SIZE:
        // The window's size fields take width 20 ~ 108 and height 10 ~ 1778.
        return s.key == QLatin1String("print.label_width_mm") ? DotsRange{20 * mmToDot, 108 * mmToDot}
                                                              : DotsRange{10 * mmToDot, 1778 * mmToDot};
    default: break;
    }
    if (s.kind == Kind::Decimal) {
        // The whole 16-bit field, in dots.
        if (const auto field = proto::fieldRange(s.code, 1))
            return DotsRange{field->min, field->max};
        return std::nullopt;
    }
    if (const auto field = proto::fieldRange(s.code, mmToDot))
        return DotsRange{field->min, field->max};
    return std::nullopt;
}

// Bounds as the operator writes them: whole numbers plain, fractions with
// at most three decimals (8191.875).
QString boundText(double value)
{
    QString text = QString::number(value, 'f', 3);
    while (text.endsWith(QLatin1Char('0')))
        text.chop(1);
    if (text.endsWith(QLatin1Char('.')))
        text.chop(1);
    return text == QLatin1String("-0") ? QStringLiteral("0") : text;
}

// The `count` 00-terminated texts at the start of a payload, each kept
// byte for byte (proto::losslessText); missing ones are empty.
QStringList texts(const unsigned char *payload, int size, int count)
{
    QStringList list;
    int at = 0;
    for (int i = 0; i < count; ++i) {
        const auto *start = payload + at;
        const int room = std::max(0, size - at);
        const void *nul = room > 0 ? std::memchr(start, 0, size_t(room)) : nullptr;
        const int length = nul ? int(static_cast<const unsigned char *>(nul) - start) : room;
        list << proto::losslessText(QByteArrayView(start, length));
        at += length + 1;
    }
    return list;
}

QString text(const unsigned char *payload, int size)
{
    return texts(payload, size, 1).first();
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
    const std::optional<DotsRange> range = s ? printerRange(*s, model) : std::nullopt;
    if (range && number >= range->min && number <= range->max)
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

namespace {

// The model group only: printing method on the extended models, paper
// feed on the others.
bool inModelGroup(const Setting &setting, const Model &model)
{
    switch (setting.models) {
    case Models::ExtendedOnly: return model.extended;
    case Models::StandardOnly: return !model.extended;
    case Models::All: break;
    }
    return true;
}

} // namespace

bool pageShown(const QString &page, const Model &model)
{
    if (model.firmwareOnly)
        return false;
    return page != QLatin1String("stripper") || model.extended;
}

bool appliesTo(const Setting &setting, const Model &model)
{
    return inModelGroup(setting, model) && pageShown(setting.page, model);
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
    const auto put = [&v](const char *key, const QString &value) { v.insert(QString::fromLatin1(key), value); };
    const auto s16 = [p](int at) { return int(proto::readLeS16(p + at)); };
    const auto u16 = [p](int at) { return int(proto::readLeU16(p + at)); };
    switch (code) {
    case SPEED: putComboNumber(v, "print.speed", p[0], model); break;
    case Densty_SETTING: putComboNumber(v, "print.density", p[0], model); break;
    case DEFAULT_CODE: putComboNumber(v, "print.code_page", p[0], model); break;
    case LABLE_CLEARANCE: put("print.label_gap_mm", millimetresOf(u16(0), model)); break;
    case BLACK_CLEARANCE: put("print.black_mark_gap_mm", millimetresOf(u16(0), model)); break;
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
        put("print.label_height_mm", millimetresOf(u16(0), model));
        put("print.label_width_mm", millimetresOf(u16(2), model));
        break;
    case PRINT_OFFSET: put("print.offset_mm", millimetresOf(s16(0), model)); break;
    case VERTICAL_MIGRATION: put("print.vertical_offset_mm", millimetresOf(s16(0), model)); break;
    case LG_MODE: putChoice(v, "print.language", p[0]); break;
    case THE_DISTANCE_OF_THE_PAPER_EDGE_IS_OUT: put("distance.paper_exit_dots", QString::number(s16(0))); break;
    case SEAM_TO_PRINT_HRAD_DISTANCE: put("distance.seam_mm", millimetresOf(s16(0), model)); break;
    case BLACK_TO_PRINT_HEAD_DISTANCE: put("distance.black_mark_mm", millimetresOf(s16(0), model)); break;
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
        const QStringList t = texts(p, size, 2);
        put("wifi.sta.ssid", t[0]);
        put("wifi.sta.password", t[1]);
        break;
    }
    case AP_MODE: {
        const QStringList t = texts(p, size, 3);
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
        it = s && inModelGroup(*s, model) ? std::next(it) : v.erase(it);
    }
    return v;
}

int dotsOf(const QString &millimetres, const Model &model)
{
    const double dots = std::round(millimetres.toDouble() * std::max(1, model.mmToDot));
    return int(std::clamp(std::isfinite(dots) ? dots : 0.0, double(INT_MIN), double(INT_MAX)));
}

QString millimetresOf(int dots, const Model &model)
{
    return QString::number(double(dots) / std::max(1, model.mmToDot), 'f', 3);
}

std::optional<Range> range(const Setting &s, const Model &model)
{
    const std::optional<DotsRange> dots = printerRange(s, model);
    if (!dots || (s.kind != Kind::Number && s.kind != Kind::Decimal))
        return std::nullopt;
    const double factor = s.kind == Kind::Decimal ? std::max(1, model.mmToDot) : 1;
    return Range{double(dots->min) / factor, double(dots->max) / factor};
}

Refusal refusal(const Setting &s, const QString &input, const Model &model)
{
    const QString text = s.kind == Kind::Text ? input : input.trimmed();
    const auto outOfRange = [&] {
        const std::optional<Range> r = range(s, model);
        return Refusal{.reason = Refusal::Reason::Range, .min = r ? r->min : 0, .max = r ? r->max : 0};
    };
    switch (s.kind) {
    case Kind::Info:
        return {.reason = Refusal::Reason::ReadOnly};
    case Kind::Number: {
        const std::optional<DotsRange> r = printerRange(s, model);
        bool ok = false;
        const qlonglong n = text.toLongLong(&ok, 10);
        return ok && r && n >= r->min && n <= r->max ? Refusal{} : outOfRange();
    }
    case Kind::Decimal: {
        // Judged by the dots the printer will keep.
        const std::optional<DotsRange> r = printerRange(s, model);
        bool ok = false;
        const double dots = std::round(text.toDouble(&ok) * std::max(1, model.mmToDot));
        return ok && r && dots >= double(r->min) && dots <= double(r->max) ? Refusal{} : outOfRange();
    }
    case Kind::Choice:
        for (const QString &c : s.choices) {
            if (c.compare(text, Qt::CaseInsensitive) == 0)
                return {};
        }
        return {.reason = Refusal::Reason::NotAChoice};
    case Kind::Text:
        if (!proto::textPayloadFits(text))
            return {.reason = Refusal::Reason::TooLong, .limit = proto::kMaxTextBytes};
        return {};
    case Kind::Address: {
        const QStringList parts = text.split(QLatin1Char('.'));
        bool fine = parts.size() == 4;
        for (const QString &part : parts) {
            bool ok = false;
            const int n = part.toInt(&ok, 10);
            fine = fine && ok && n >= 0 && n <= 255 && part.size() <= 3;
        }
        return fine ? Refusal{} : Refusal{.reason = Refusal::Reason::AddressPart};
    }
    }
    return {.reason = Refusal::Reason::ReadOnly};
}

QString describe(const Setting &s, const Refusal &r)
{
    switch (r.reason) {
    case Refusal::Reason::None: return {};
    case Refusal::Reason::Range:
        return QStringLiteral("The range of %1 is %2 ~ %3").arg(s.key, boundText(r.min), boundText(r.max));
    case Refusal::Reason::AddressPart: return QStringLiteral("The range of each part of %1 is 0 ~ 255").arg(s.key);
    case Refusal::Reason::TooLong: return QStringLiteral("%1 is too long, at most %2 bytes (UTF-8)").arg(s.key).arg(r.limit);
    case Refusal::Reason::NotAChoice:
        return QStringLiteral("%1 must be one of %2").arg(s.key, s.choices.join(QStringLiteral(", ")));
    case Refusal::Reason::ReadOnly: return QStringLiteral("%1 is read only").arg(s.key);
    }
    return {};
}

Checked check(const Setting &s, const QString &input, const Model &model)
{
    const Refusal r = refusal(s, input, model);
    if (!r.ok())
        return {{}, describe(s, r)};
    const QString text = s.kind == Kind::Text ? input : input.trimmed();
    switch (s.kind) {
    case Kind::Number: return {QString::number(text.toLongLong()), {}};
    // What the printer will answer for the dots this sends.
    case Kind::Decimal: return {millimetresOf(dotsOf(text, model), model), {}};
    case Kind::Choice:
        for (const QString &c : s.choices) {
            if (c.compare(text, Qt::CaseInsensitive) == 0)
                return {c, {}};
        }
        break;
    case Kind::Address: {
        QStringList canonical;
        for (const QString &part : text.split(QLatin1Char('.')))
            canonical << QString::number(part.toInt());
        return {canonical.join(QLatin1Char('.')), {}};
    }
    case Kind::Text:
    case Kind::Info: break;
    }
    return {text, {}};
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
        const QList<Model> models = model ? QList<Model>{*model} : everyModel();
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

InstructionRefusal instructionRefusal(SetInfoType code, const Values &values, const Model &model)
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
            const int own = int(proto::textBytes(texts[i]).size());
            const int limit = proto::kMaxPayload - before - int(texts.size() - i);
            if (own > limit)
                return {InstructionRefusal::Reason::TooLong, keys[i], qMax(0, limit)};
            before += own + 1;
        }
    }
    // Characters as people count them: code points, not UTF-16 units.
    if (code == AP_MODE && value(values, "wifi.ap.password").toUcs4().size() < 8)
        return {InstructionRefusal::Reason::ShortApPassword, QStringLiteral("wifi.ap.password")};
    // Without DHCP the printer would have no address at all.
    if (code == ETHERNET_IP && value(values, "ethernet.mode") == QLatin1String("static")) {
        const QList<int> parts = proto::dottedQuadValues(value(values, "ethernet.address"));
        if (std::all_of(parts.begin(), parts.end(), [](int part) { return part == 0; }))
            return {InstructionRefusal::Reason::StaticWithoutAddress, QStringLiteral("ethernet.address")};
    }
    return {};
}

QString checkInstruction(SetInfoType code, const Values &values, const Model &model)
{
    const InstructionRefusal r = instructionRefusal(code, values, model);
    switch (r.reason) {
    case InstructionRefusal::Reason::None: return {};
    case InstructionRefusal::Reason::TooLong:
        return QStringLiteral("%1 is too long, at most %2 bytes (UTF-8)").arg(r.key).arg(r.limit);
    case InstructionRefusal::Reason::ShortApPassword:
        return QStringLiteral("wifi.ap.password must have at least 8 characters for an access point");
    case InstructionRefusal::Reason::StaticWithoutAddress:
        return QStringLiteral("ethernet.address must be set (not 0.0.0.0) when ethernet.mode is static");
    }
    return {};
}

QByteArray frame(SetInfoType code, const Values &v, const Model &model)
{
    // Lengths go out as the dots they round to (never through a locale:
    // a profile writes "2.583" whatever the operator's language).
    const auto dots = [&](const char *key) { return dotsOf(value(v, key), model); };
    switch (code) {
    case SPEED: return proto::speedFrame(value(v, "print.speed").toInt());
    case Densty_SETTING: return proto::densityFrame(value(v, "print.density").toInt());
    case DEFAULT_CODE: return proto::defaultCodePageFrame(value(v, "print.code_page").toInt());
    case LABLE_CLEARANCE: return proto::wordSettingFrame(code, dots("print.label_gap_mm"));
    case BLACK_CLEARANCE: return proto::wordSettingFrame(code, dots("print.black_mark_gap_mm"));
    case PRINT_DIRECTION: return proto::printDirectionFrame(index(v, "print.rotation"), index(v, "print.mirror"));
    case PRINTER_MODE: return proto::printerModeFrame(index(v, "print.method"));
    case AUTO_PAPER: return proto::autoPaperFrame(index(v, "print.auto_paper"));
    case PAPER_TYPE: return proto::paperTypeFrame(index(v, "print.paper_type"));
    case SIMULATION: return proto::simulationFrame(value(v, "print.command_set"));
    case LABEL_SIZE: {
        QByteArray payload;
        proto::appendLe16(payload, dots("print.label_height_mm"));
        proto::appendLe16(payload, dots("print.label_width_mm"));
        return proto::buildFrame(ClassSet, LABEL_SIZE, payload);
    }
    case PRINT_OFFSET: return proto::wordSettingFrame(code, dots("print.offset_mm"));
    case VERTICAL_MIGRATION: return proto::wordSettingFrame(code, dots("print.vertical_offset_mm"));
    case LG_MODE: return proto::languageFrame(index(v, "print.language"));
    case THE_DISTANCE_OF_THE_PAPER_EDGE_IS_OUT: return proto::paperEdgeDistanceFrame(value(v, "distance.paper_exit_dots"));
    case SEAM_TO_PRINT_HRAD_DISTANCE: return proto::wordSettingFrame(code, dots("distance.seam_mm"));
    case BLACK_TO_PRINT_HEAD_DISTANCE: return proto::wordSettingFrame(code, dots("distance.black_mark_mm"));
    case PRINT_HEAD_TO_TEAR_DISTANCE: return proto::tearDistanceFrame(value(v, "distance.tear_dots"));
    case SERIAL_PORT:
        return proto::serialPortFrame(index(v, "serial.baud"), index(v, "serial.parity"), index(v, "serial.data_bits"),
                                      index(v, "serial.stop_bits"));
    case SN: return proto::serialNumberFrame(proto::textBytes(value(v, "serial.serial_number")));
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

const QList<Model> &everyModel()
{
    static const QList<Model> models = {{8, true}, {12, true}, {8, false}, {12, false}};
    return models;
}

} // namespace settings
