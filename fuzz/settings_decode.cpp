// Query replies to settings: a reply yields only keys its instruction
// carries on that model (or on a page the window hides for it), every length brings back the dots it was read as,
// and every number, length, choice and address it yields is one the same
// setting's check takes back unchanged (label sizes inside the window's
// range; a TCP port of 0, which leaves the printer unreachable, is shown
// but never set), so whatever a printer reports can be saved in a profile
// and set again; and the frame that sets such values carries them back.
#include "fuzz_check.h"
#include "protocol/conversions.h"
#include "protocol/frame.h"
#include "protocol/settings_catalogue.h"

#include <algorithm>
#include <array>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 2)
        return 0;
    QList<SetInfoType> codes;
    for (const settings::Setting &s : settings::catalogue())
        if (!codes.contains(s.code))
            codes << s.code;
    const SetInfoType code = codes.at(data[0] % codes.size());
    const settings::Model model{data[1] & 1 ? 12 : 8, bool(data[1] & 2)};
    // A reply payload (at most 255 bytes) in the query helpers' zero-filled
    // result buffer.
    std::array<unsigned char, 1024> buffer{};
    const int n = int(std::min<size_t>(size - 2, 255));
    std::memcpy(buffer.data(), data + 2, size_t(n));
    const settings::Values values = settings::decode(code, buffer.data(), n, model);

    const QStringList carried = settings::keysOf(code, model);
    for (auto it = values.begin(); it != values.end(); ++it) {
        const settings::Setting *s = settings::find(it.key());
        // A page the window hides for the model still decodes (a reader
        // asked for it); the other model group's keys never do.
        FUZZ_CHECK(s && s->code == code && (carried.contains(it.key()) || !settings::pageShown(s->page, model)));
        // Texts are left as the printer sent them, bytes that are no UTF-8
        // kept byte for byte, and so is the access point's address, which
        // travels as a text too; read-only values have nothing to check.
        if (s->kind == settings::Kind::Text || s->code == AP_MODE) {
            FUZZ_CHECK(!proto::textBytes(it.value()).contains('\0'));
            // A text of its own comes back as the bytes up to its 00.
            if (code == SN || code == BR_EDR_NAME || code == BLE_NAME || code == PIN)
                FUZZ_CHECK(proto::textBytes(it.value()) == QByteArray(reinterpret_cast<const char *>(buffer.data())));
            continue;
        }
        if (s->kind == settings::Kind::Info)
            continue;
        if (it.key().endsWith(QLatin1String(".tcp_port")) && it.value() == QLatin1String("0"))
            continue;
        // A length comes back as the dots it was read as.
        if (s->kind == settings::Kind::Decimal) {
            const int at = code == LABEL_SIZE && it.key().endsWith(QLatin1String("width_mm")) ? 2 : 0;
            const int dots = code == LABEL_SIZE || code == LABLE_CLEARANCE || code == BLACK_CLEARANCE
                                 ? buffer[size_t(at)] + 256 * buffer[size_t(at + 1)]
                                 : int(qint16(quint16(buffer[0] + 256 * buffer[1])));
            FUZZ_CHECK(settings::dotsOf(it.value(), model) == dots);
            // The window's label-size range is narrower than what a printer
            // can hold: such a size is refused when set again, as the window
            // refuses it.
            if (code == LABEL_SIZE)
                continue;
        }
        const settings::Checked back = settings::check(*s, it.value(), model);
        if (!back.ok() || back.value != it.value())
            std::fprintf(stderr, "%s = \"%s\": %s\n", qPrintable(it.key()), qPrintable(it.value()), qPrintable(back.error));
        FUZZ_CHECK(back.ok() && back.value == it.value());
    }

    // Values read back, when a set takes every one of them unchanged and the
    // instruction can carry them together, go out in a frame that carries
    // the same values: its payload decodes to them. This is what a profile
    // export followed by an apply onto another printer relies on.
    const auto settable = [&](const QString &key) {
        if (!values.contains(key))
            return false;
        const settings::Checked c = settings::check(*settings::find(key), values.value(key), model);
        return c.ok() && c.value == values.value(key);
    };
    if (carried.isEmpty() || !std::all_of(carried.begin(), carried.end(), settable)
        || !settings::checkInstruction(code, values, model).isEmpty())
        return 0;
    const QByteArray frame = settings::frame(code, values, model);
    if (frame.isEmpty())   // read-only: nothing to send
        return 0;
    // Read the way the query helpers read a reply: its payload, whole (the
    // length byte counts every byte up to the tail), in a zeroed buffer.
    std::array<unsigned char, 1024> sent{};
    const int got = proto::judgeReply(reinterpret_cast<const unsigned char *>(frame.constData()), int(frame.size()), code,
                                      sent.data(), int(sent.size()));
    FUZZ_CHECK(got >= 0 && frame.size() == got + 9);
    const settings::Values again = settings::decode(code, sent.data(), got, model);
    if (again != values)
        for (auto it = values.begin(); it != values.end(); ++it)
            std::fprintf(stderr, "%s: \"%s\" went out as \"%s\"\n", qPrintable(it.key()), qPrintable(it.value()),
                         qPrintable(again.value(it.key())));
    FUZZ_CHECK(again == values);
    return 0;
}
