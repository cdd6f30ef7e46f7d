// Reading and setting one printer: info, status, get, set, and the
// function buttons (run). A read that fails is a failure: exit 1, with the
// items that could not be read named (and null under --json).
#include "cli/command.h"
#include "cli/output.h"
#include "protocol/conversions.h"
#include "protocol/frame.h"
#include "protocol/instructions.h"
#include "protocol/result.h"
#include "protocol/status.h"

#include <QCoreApplication>
#include <QFile>
#include <QJsonArray>
#include <QTranslator>
#include <map>
#include <termios.h>
#include <unistd.h>

namespace cli {

namespace {

// Why a key has no value after a read.
QString unreadReason(const QMap<QString, int> &failed, const QString &key)
{
    return failed.contains(key) ? resultText(failed.value(key))
                                : QStringLiteral("the printer's value is not one this tool knows");
}

// Standard input without echo while a secret is typed on a terminal.
class EchoOff
{
public:
    explicit EchoOff(bool terminal)
    {
        if (terminal && tcgetattr(STDIN_FILENO, &m_saved) == 0) {
            termios quiet = m_saved;
            quiet.c_lflag &= ~tcflag_t(ECHO);
            m_active = tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet) == 0;
        }
    }
    ~EchoOff()
    {
        if (m_active)
            tcsetattr(STDIN_FILENO, TCSAFLUSH, &m_saved);
    }
    EchoOff(const EchoOff &) = delete;
    EchoOff &operator=(const EchoOff &) = delete;

private:
    termios m_saved{};
    bool m_active = false;
};

QByteArray withoutLineEnd(QByteArray line)
{
    if (line.endsWith('\n'))
        line.chop(1);
    if (line.endsWith('\r'))
        line.chop(1);
    return line;
}

} // namespace

int Command::info()
{
    int code = Success;
    QJsonObject report;
    if (!openPrinter(o.positional[1], &code, &report))
        return code;
    report.insert(QStringLiteral("device_id"), jsonText(session.deviceId()));
    report.insert(QStringLiteral("dots_per_mm"), session.model().mmToDot);
    QJsonObject unread;
    const auto missing = [&](const char *field, const QString &why) {
        report.insert(QLatin1String(field), QJsonValue::Null);
        unread.insert(QLatin1String(field), why);
    };
    QByteArray payload;
    if (const int r = session.statusInfo(FIRMWARE_VERSION, payload); r == Result::Ok) {
        const QByteArray text = payload.left(payload.indexOf('\0'));
        report.insert(QStringLiteral("firmware"), jsonText(proto::losslessText(text)));
    } else {
        missing("firmware", resultText(r));
    }
    if (const int r = session.statusInfo(RESOLUTION_WIDTH, payload); r == Result::Ok) {
        const proto::ResolutionInfo info =
            proto::decodeResolution(reinterpret_cast<const uchar *>(payload.constData()), session.model().mmToDot);
        report.insert(QStringLiteral("dpi"), info.dpi);
        report.insert(QStringLiteral("max_width_mm"), info.maxWidthMm);
    } else {
        missing("dpi", resultText(r));
        missing("max_width_mm", resultText(r));
    }
    // The serial number and MAC address as their pages read them, on the
    // models that show those pages.
    const QList<std::pair<const char *, QString>> fields = {{"serial_number", QStringLiteral("serial.serial_number")},
                                                            {"wifi_mac", QStringLiteral("wifi.mac")}};
    QStringList keys;
    for (const auto &[field, key] : fields) {
        if (settings::appliesTo(*settings::find(key), session.model()))
            keys << key;
    }
    settings::Values values;
    QMap<QString, int> failed;
    session.read(keys, values, &failed);
    for (const auto &[field, key] : fields) {
        if (!keys.contains(key))
            continue;
        if (values.contains(key))
            report.insert(QLatin1String(field), jsonText(values.value(key)));
        else
            missing(field, unreadReason(failed, key));
    }

    report.insert(QStringLiteral("ok"), unread.isEmpty());
    if (!unread.isEmpty()) {
        report.insert(QStringLiteral("unread"), unread);
        report.insert(QStringLiteral("error"),
                      QStringLiteral("%1: could not read %2").arg(o.positional[1], unread.keys().join(QLatin1String(", "))));
    }
    if (o.json) {
        printJson(out, report);
    } else {
        static const char *const order[] = {"printer", "model", "device_id", "dots_per_mm", "firmware",
                                            "dpi", "max_width_mm", "serial_number", "wifi_mac"};
        for (const char *field : order) {
            const QJsonValue v = report.value(QLatin1String(field));
            if (v.isUndefined() || v.isNull())
                continue;
            const QString text = v.isObject() ? proto::losslessText(QByteArray::fromHex(
                                                    v.toObject().value(QLatin1String("hex")).toString().toLatin1()))
                                              : v.toVariant().toString();
            out << field << ": " << terminalText(text) << '\n';
        }
        for (auto it = unread.begin(); it != unread.end(); ++it)
            err << "labelsetup-cli: " << o.positional[1] << ": " << it.key() << " could not be read: "
                << it.value().toString() << '\n';
    }
    return unread.isEmpty() ? Success : PrinterFailed;
}

int Command::status()
{
    int code = Success;
    QJsonObject report;
    if (!openPrinter(o.positional[1], &code, &report))
        return code;
    quint32 word = 0;
    const int result = session.statusWord(word);
    if (result != Result::Ok)
        return fail(PrinterFailed, QStringLiteral("%1: %2").arg(o.positional[1], resultText(result)), report);
    // The printer's status texts, in English.
    QTranslator english;
    if (english.load(QStringLiteral(":/translations/language_en.qm")))
        QCoreApplication::installTranslator(&english);
    const QStringList messages = checkPrinterStatus(word).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    if (o.json) {
        report.insert(QStringLiteral("ok"), true);
        report.insert(QStringLiteral("word"), QStringLiteral("0x%1").arg(word, 8, 16, QLatin1Char('0')));
        report.insert(QStringLiteral("messages"), QJsonArray::fromStringList(messages));
        printJson(out, report);
        return Success;
    }
    out << (messages.isEmpty() ? QObject::tr("空闲中") : messages.join(QLatin1Char('\n'))) << '\n';
    return Success;
}

QStringList Command::readableKeys(const QStringList &selection, QString *error) const
{
    QStringList keys;
    for (const QString &item : selection) {
        if (settings::pageNames().contains(item) || item == QLatin1String("all")) {
            const QString page = item == QLatin1String("all") ? QString() : item;
            if (!page.isEmpty() && !settings::pageShown(page, session.model())) {
                *error = QStringLiteral("%1 has no %2 page").arg(session.modelName(), page);
                return {};
            }
            for (const settings::Setting *s : settings::settingsOf(page, session.model()))
                keys << s->key;
            continue;
        }
        const settings::Setting *s = settings::find(item);
        if (!s) {
            *error = QStringLiteral("%1: unknown key (see \"labelsetup-cli keys\")").arg(item);
            return {};
        }
        if (!settings::appliesTo(*s, session.model())) {
            *error = QStringLiteral("%1 does not exist on %2").arg(item, session.modelName());
            return {};
        }
        keys << s->key;
    }
    keys.removeDuplicates();
    return keys;
}

int Command::get()
{
    // Unknown keys are refused before the printer is even opened.
    for (const QString &item : o.positional.mid(2)) {
        if (!settings::find(item) && !settings::pageNames().contains(item) && item != QLatin1String("all"))
            return fail(Refused, QStringLiteral("%1: unknown key (see \"labelsetup-cli keys\")").arg(item));
    }
    int code = Success;
    QJsonObject report;
    if (!openPrinter(o.positional[1], &code, &report) || refuseFirmwareOnly(&code, QStringLiteral("settings")))
        return code;
    QString error;
    const QStringList selection = o.positional.size() > 2 ? o.positional.mid(2) : QStringList{QStringLiteral("all")};
    const QStringList keys = readableKeys(selection, &error);
    if (!error.isEmpty())
        return fail(Refused, error, report);
    settings::Values values;
    QMap<QString, int> failed;
    session.read(keys, values, &failed);
    QJsonObject settingsJson, unread;
    for (const QString &key : keys) {
        const settings::Setting &s = *settings::find(key);
        if (!values.contains(key)) {
            settingsJson.insert(key, QJsonValue::Null);
            unread.insert(key, unreadReason(failed, key));
            continue;
        }
        settingsJson.insert(key, jsonValue(s, values.value(key)));
        if (!o.json)
            out << key << " = " << shownValue(s, values.value(key)) << (s.unit.isEmpty() ? QString() : QLatin1Char(' ') + s.unit)
                << '\n';
    }
    report.insert(QStringLiteral("ok"), unread.isEmpty());
    report.insert(QStringLiteral("settings"), settingsJson);
    if (!unread.isEmpty()) {
        report.insert(QStringLiteral("unread"), unread);
        report.insert(QStringLiteral("error"),
                      QStringLiteral("%1: could not read %2").arg(o.positional[1], unread.keys().join(QLatin1String(", "))));
    }
    if (o.json) {
        printJson(out, report);
    } else {
        // One line for a page that failed whole (the usual case: the
        // printer stopped answering), one per key otherwise.
        QMap<QString, QStringList> byReason;
        for (auto it = unread.begin(); it != unread.end(); ++it)
            byReason[it.value().toString()] << it.key();
        for (auto it = byReason.begin(); it != byReason.end(); ++it)
            err << "labelsetup-cli: " << o.positional[1] << ": " << it.key() << " (" << it.value().join(QLatin1String(", "))
                << ")\n";
    }
    return unread.isEmpty() ? Success : PrinterFailed;
}

std::optional<QStringList> Command::secretInputs(const QStringList &pairs, QString *error)
{
    QStringList resolved;
    for (const QString &pair : pairs) {
        const qsizetype eq = pair.indexOf(QLatin1Char('='));
        const settings::Setting *s = eq > 0 ? settings::find(pair.left(eq)) : nullptr;
        const QString value = eq > 0 ? pair.mid(eq + 1) : QString();
        if (!s || !s->secret || (value != QLatin1String("-") && !value.startsWith(QLatin1Char('@')))) {
            resolved << pair;
            continue;
        }
        const QString key = pair.left(eq);
        if (value.startsWith(QLatin1String("@@"))) {
            resolved << key + QLatin1Char('=') + value.mid(1);
        } else if (value.startsWith(QLatin1Char('@'))) {
            QFile file(value.mid(1));
            if (!file.open(QIODevice::ReadOnly)) {
                *error = QStringLiteral("%1: %2").arg(pair, file.errorString());
                return std::nullopt;
            }
            resolved << key + QLatin1Char('=') + proto::losslessText(withoutLineEnd(file.readAll()));
        } else {
            // One line of standard input per "-", in the order given.
            if (inTerminal)
                err << key << ": " << Qt::flush;
            QByteArray line;
            {
                const EchoOff quiet(inTerminal);
                line = in ? in->readLine() : QByteArray();
            }
            if (inTerminal)
                err << '\n' << Qt::flush;
            if (line.isEmpty()) {
                *error = QStringLiteral("%1: standard input ended before a line for %2").arg(pair, key);
                return std::nullopt;
            }
            resolved << key + QLatin1Char('=') + proto::losslessText(withoutLineEnd(line));
        }
    }
    return resolved;
}

int Command::set()
{
    QString error;
    if (o.positional.size() < 3)
        return fail(Usage, QStringLiteral("set: no KEY=VALUE given"));
    const std::optional<QStringList> pairs = secretInputs(o.positional.mid(2), &error);
    if (!pairs)
        return fail(Usage, error);
    if (!settings::parseAssignments(*pairs, nullptr, &error))
        return fail(Refused, error);
    int code = Success;
    QJsonObject report;
    if (!openPrinter(o.positional[1], &code, &report) || refuseFirmwareOnly(&code, QStringLiteral("settings")))
        return code;
    const settings::Model model = session.model();
    const std::optional<settings::Values> wanted = settings::parseAssignments(*pairs, &model, &error);
    if (!wanted)
        return fail(Refused, error, report);
    profile::Profile p;
    p.values = *wanted;
    Plan planned;
    int exit = plan(p, true, planned, report);
    if (exit == Success)
        exit = execute(planned, report);
    printReport(report, false);
    return exit;
}

int Command::runFunction()
{
    static const std::map<QString, QByteArray> functions = {
        {QStringLiteral("self-test"), proto::functionFrame(SELF_TEST_PAGE)},
        {QStringLiteral("reboot"), proto::functionFrame(REBOOT)},
        {QStringLiteral("initialise"), proto::functionFrame(PRINTER_INIT)},
        {QStringLiteral("learn-seam"), proto::functionFrame(SEAM_LEARN)},
        {QStringLiteral("learn-black-mark"), proto::functionFrame(BLACK_MARK_LEARN)},
        {QStringLiteral("learn-dac"), proto::functionFrame(DAC_LEARN)},
        {QStringLiteral("learn-paper-exit"), proto::functionFrame(PAPER_EXIT_LEARN)},
        {QStringLiteral("learn-no-paper"), proto::functionFrame(NO_PAPER_LEARN)},
        {QStringLiteral("cutter-off"), proto::cutterModeFrame(proto::CutterMode::Off)},
        {QStringLiteral("cutter-full"), proto::cutterModeFrame(proto::CutterMode::FullCut)},
        {QStringLiteral("cutter-strip"), proto::cutterModeFrame(proto::CutterMode::Strip)},
        {QStringLiteral("cutter-tear"), proto::cutterModeFrame(proto::CutterMode::Tear)},
        {QStringLiteral("keys-on"), proto::keyLockFrame(true)},
        {QStringLiteral("keys-off"), proto::keyLockFrame(false)},
        {QStringLiteral("buzzer-on"), proto::buzzerFrame(true)},
        {QStringLiteral("buzzer-off"), proto::buzzerFrame(false)},
    };
    const QString name = o.positional.value(2);
    const auto it = functions.find(name);
    if (it == functions.end()) {
        QStringList names;
        for (const auto &[n, f] : functions)
            names << n;
        return fail(Refused, QStringLiteral("run: FUNCTION must be one of %1").arg(names.join(QLatin1String(", "))));
    }
    int code = Success;
    QJsonObject report;
    if (!openPrinter(o.positional[1], &code, &report) || refuseFirmwareOnly(&code, QStringLiteral("functions")))
        return code;
    report.insert(QStringLiteral("function"), name);
    const int result = session.frame(it->second);
    if (result != Result::Ok)
        return fail(PrinterFailed, QStringLiteral("%1: %2").arg(o.positional[1], resultText(result)), report);
    if (o.json) {
        report.insert(QStringLiteral("ok"), true);
        printJson(out, report);
    }
    return Success;
}

} // namespace cli
