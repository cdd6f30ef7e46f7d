// Transfers: firmware and fonts (decrypted in memory) and raw files.
#include "cli/command.h"
#include "cli/output.h"
#include "maintenance/firmware_file.h"
#include "protocol/result.h"

#include <QFile>

namespace cli {

int Command::download()
{
    const bool firmware = !o.firmware.isEmpty();
    const QString path = firmware ? o.firmware : o.font;
    if (path.isEmpty() || (!o.firmware.isEmpty() && !o.font.isEmpty()))
        return fail(Usage, QStringLiteral("download: give --firmware FILE or --font FILE"));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return fail(Refused, QStringLiteral("%1: %2").arg(path, file.errorString()));
    // Decrypted in memory: no decrypted copy is ever left on disk.
    const QByteArray image = firmware::decryptImage(file.readAll());
    int code = Success;
    QJsonObject report;
    if (!openPrinter(o.positional[1], &code, &report) || (!firmware && refuseFirmwareOnly(&code, QStringLiteral("fonts"))))
        return code;
    report.insert(QStringLiteral("bytes"), image.size());
    const int result = session.stream(image, [&](qint64 sent) {
        if (progress)
            err << QStringLiteral("\r%1: %2 %").arg(o.positional[1], QString::number(sent * 100 / qMax<qint64>(1, image.size())))
                << Qt::flush;
    });
    if (progress)
        err << '\n';
    if (result != Result::Ok)
        return fail(PrinterFailed, QStringLiteral("%1: %2").arg(o.positional[1], resultText(result)), report);
    if (o.json) {
        report.insert(QStringLiteral("ok"), true);
        printJson(out, report);
    } else {
        out << "sent " << image.size() << " bytes; wait until the printer's light stops blinking\n";
    }
    return Success;
}

int Command::send()
{
    const QString path = o.positional.value(2);
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly))
        return fail(Refused, QStringLiteral("%1: %2").arg(path, path.isEmpty() ? QStringLiteral("no file given") : file.errorString()));
    const QByteArray data = file.readAll();
    int code = Success;
    QJsonObject report;
    if (!openPrinter(o.positional[1], &code, &report))
        return code;
    report.insert(QStringLiteral("bytes"), data.size());
    const int result = session.stream(data, {});
    if (result != Result::Ok)
        return fail(PrinterFailed, QStringLiteral("%1: %2").arg(o.positional[1], resultText(result)), report);
    if (o.json) {
        report.insert(QStringLiteral("ok"), true);
        printJson(out, report);
    }
    return Success;
}

} // namespace cli
