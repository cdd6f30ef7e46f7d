// The command line's KEY=VALUE pairs and printer addresses: accepted pairs
// become catalogue keys with values that some model's check takes
// unchanged; an accepted address is USB with a port 0..255 (or the first
// printer), TCP with a host and a port 1..65535, or a serial port with a
// path, a positive rate and a framing and flow control that print back to
// what was written.
#include "fuzz_check.h"
#include "protocol/settings_catalogue.h"
#include "query/printer_session.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1)
        return 0;
    const QStringList lines =
        QString::fromUtf8(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1)).split(QLatin1Char('\n'));
    const settings::Model model{data[0] & 1 ? 12 : 8, bool(data[0] & 2)};
    QString error;
    const std::optional<settings::Values> values =
        settings::parseAssignments(lines, data[0] & 4 ? &model : nullptr, &error);
    FUZZ_CHECK(values.has_value() == error.isEmpty());
    if (values) {
        FUZZ_CHECK(values->size() <= lines.size());
        for (auto it = values->begin(); it != values->end(); ++it) {
            const settings::Setting *s = settings::find(it.key());
            FUZZ_CHECK(s && s->writable());
            FUZZ_CHECK(lines.contains(it.key() + QLatin1Char('=') + it.value()) || s->kind != settings::Kind::Text);
        }
    }

    QString why;
    const std::optional<PrinterAddress> address = parsePrinterAddress(lines.first(), &why);
    FUZZ_CHECK(address.has_value() == why.isEmpty());
    if (address && address->kind == PrinterAddress::Kind::Usb)
        FUZZ_CHECK(address->usbPort >= -1 && address->usbPort <= 255);
    if (address && address->kind == PrinterAddress::Kind::Tcp)
        FUZZ_CHECK(!address->host.isEmpty() && address->port >= 1);
    if (address && address->kind == PrinterAddress::Kind::Serial) {
        const QStringList parts = lines.first().mid(7).split(QLatin1Char(':'));
        FUZZ_CHECK(!address->path.isEmpty() && address->line.baud > 0);
        FUZZ_CHECK(parts.size() < 3 || serial::framingText(address->line) == parts.at(2).toUpper());
        FUZZ_CHECK(parts.size() < 4 || serial::flowText(address->line.flow) == parts.at(3));
    }
    return 0;
}
