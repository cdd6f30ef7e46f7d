#include "cli/cli.h"

#include "cli/fleet.h"
#include "maintenance/firmware_file.h"
#include "protocol/frame.h"
#include "protocol/instructions.h"
#include "protocol/result.h"
#include "protocol/settings_catalogue.h"
#include "protocol/settings_profile.h"
#include "protocol/status.h"
#include "query/printer_io.h"
#include "query/printer_session.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QTranslator>
#include <map>
#include <optional>

namespace cli {

namespace {

struct Options
{
    bool json = false;
    bool dryRun = false;
    bool verify = false;
    bool all = false;
    bool restart = false;
    bool worker = false;     // apply to the printers named on stdin, one JSON line each
    bool includeSecrets = false;
    bool includeIdentity = false;
    int jobs = 1;
    int udpPort = 38400;
    QString udp;
    QString firmware;
    QString font;
    QString printersFile;
    QStringList positional;
};

QString resultText(int result)
{
    switch (result) {
    case Result::Ok: return QStringLiteral("ok");
    case Result::MalformedReply: return QStringLiteral("the printer's reply was malformed");
    case Result::UsbFailed: return QStringLiteral("USB communication failed");
    case Result::UsbOpenFailed: return QStringLiteral("the USB printer could not be opened");
    case Result::NetworkFailed: return QStringLiteral("no answer on the network (time-out)");
    default: return QStringLiteral("error %1").arg(result);
    }
}

// A secret's value never reaches the output: only its length.
QString shown(const settings::Setting *s, const QString &value)
{
    if (s && s->secret)
        return QStringLiteral("(hidden, %1 characters)").arg(value.size());
    return value;
}

QJsonValue jsonValue(const settings::Setting *s, const QString &value)
{
    if (s && s->secret)
        return QJsonObject{{QStringLiteral("hidden"), true}, {QStringLiteral("length"), value.size()}};
    if (s && s->kind == settings::Kind::Number)
        return value.toLongLong();
    if (s && s->kind == settings::Kind::Decimal)
        return value.toDouble();
    return value;
}

void printJson(QTextStream &out, const QJsonObject &object)
{
    out << QJsonDocument(object).toJson(QJsonDocument::Compact) << '\n';
}

// The frame as hex, with everything after the head left out when the
// instruction carries a secret.
QString frameText(SetInfoType code, const QByteArray &frame)
{
    for (const settings::Setting &s : settings::catalogue()) {
        if (s.code == code && s.secret)
            return QString::fromLatin1(frame.left(6).toHex(' ').toUpper()) + QStringLiteral(" ... (%1 bytes, holds a secret)").arg(frame.size());
    }
    return QString::fromLatin1(frame.toHex(' ').toUpper());
}

// The profile's values as this printer takes them. Keys of the other model
// group (printing method or paper feed) are not on it; the profile was
// checked against every model, this printer's own ranges (12 dots/mm fit
// fewer millimetres in 16 bits) and dots come now.
settings::Values forPrinter(const settings::Values &wanted, const settings::Model &model, QStringList *skipped,
                            QString *refusal)
{
    settings::Values values;
    for (auto it = wanted.begin(); it != wanted.end(); ++it) {
        const settings::Setting *s = settings::find(it.key());
        if (!s || !settings::appliesTo(*s, model)) {
            *skipped << it.key();
            continue;
        }
        const settings::Checked checked = settings::check(*s, it.value(), model);
        if (!checked.ok()) {
            *refusal = checked.error;
            return {};
        }
        values.insert(it.key(), checked.value);
    }
    return values;
}

class Command
{
public:
    Command(const Options &options, Streams streams, const QString &program)
        : o(options), out(streams.out), err(streams.err), progress(streams.progress), m_program(program)
    {
    }

    int dispatch();

private:
    int fail(int code, const QString &message)
    {
        if (o.json)
            printJson(out, {{QStringLiteral("ok"), false}, {QStringLiteral("error"), message}});
        else
            err << "labelsetup-cli: " << message << '\n';
        return code;
    }
    bool openPrinter(const QString &text, int *exitCode);
    int list();
    int info();
    int status();
    int get();
    int set();
    int runFunction();
    int download();
    int send();
    int profileCommand();
    int profileExport(const QString &file);
    int profileDiff(const QString &file);
    int profileApply(const QStringList &printers, const QString &file);
    int applyAsWorker(const profile::Profile &wanted);
    int applyOne(const profile::Profile &wanted, QJsonObject &report);
    QStringList readableKeys(const QStringList &selection, QString *error) const;

    const Options &o;
    QTextStream &out;
    QTextStream &err;
    bool progress;
    QString m_program;
    PrinterSession session;
};

bool Command::openPrinter(const QString &text, int *exitCode)
{
    QString error;
    const std::optional<PrinterAddress> address = parsePrinterAddress(text, &error);
    if (!address) {
        *exitCode = fail(Usage, error);
        return false;
    }
    if (session.open(*address, &error) != Result::Ok) {
        *exitCode = fail(PrinterFailed, error);
        return false;
    }
    return true;
}

int Command::dispatch()
{
    const QStringList &p = o.positional;
    const QString command = p.value(0);
    const auto needs = [&](int count) { return p.size() >= count; };
    if (command == QLatin1String("list"))
        return list();
    if (command == QLatin1String("keys")) {
        for (const settings::Setting &s : settings::catalogue()) {
            QString what = s.kind == settings::Kind::Choice ? s.choices.join(QLatin1Char('|'))
                         : s.kind == settings::Kind::Info   ? QStringLiteral("read only")
                                                            : s.unit;
            out << s.key << '\t' << what << '\n';
        }
        return Success;
    }
    if (command == QLatin1String("profile"))
        return profileCommand();
    if (!needs(2))
        return fail(Usage, command.isEmpty() ? QStringLiteral("no command given (see --help)")
                                             : QStringLiteral("%1: no printer given (see --help)").arg(command));
    if (command == QLatin1String("info"))
        return info();
    if (command == QLatin1String("status"))
        return status();
    if (command == QLatin1String("get"))
        return get();
    if (command == QLatin1String("set"))
        return set();
    if (command == QLatin1String("run"))
        return runFunction();
    if (command == QLatin1String("download"))
        return download();
    if (command == QLatin1String("send"))
        return send();
    return fail(Usage, QStringLiteral("unknown command \"%1\" (see --help)").arg(command));
}

int Command::list()
{
    const QStringList lines = session.list(o.udp, o.udpPort);
    if (o.json) {
        printJson(out, {{QStringLiteral("ok"), true}, {QStringLiteral("printers"), QJsonArray::fromStringList(lines)}});
        return Success;
    }
    for (const QString &line : lines)
        out << line << '\n';
    if (lines.isEmpty())
        err << "labelsetup-cli: no printer found\n";
    return Success;
}

int Command::info()
{
    int code = Success;
    if (!openPrinter(o.positional[1], &code))
        return code;
    QJsonObject report{{QStringLiteral("printer"), o.positional[1]},
                       {QStringLiteral("model"), session.modelName()},
                       {QStringLiteral("device_id"), session.deviceId()},
                       {QStringLiteral("dots_per_mm"), session.model().mmToDot}};
    QByteArray payload;
    if (session.statusInfo(FIRMWARE_VERSION, payload) == Result::Ok)
        report.insert(QStringLiteral("firmware"), proto::payloadText(reinterpret_cast<const uchar *>(payload.constData()),
                                                                     int(payload.size())));
    if (session.statusInfo(RESOLUTION_WIDTH, payload) == Result::Ok) {
        const proto::ResolutionInfo r = proto::decodeResolution(reinterpret_cast<const uchar *>(payload.constData()),
                                                                session.model().mmToDot);
        report.insert(QStringLiteral("dpi"), r.dpi);
        report.insert(QStringLiteral("max_width_mm"), r.maxWidthMm);
    }
    settings::Values v;
    session.read({QStringLiteral("serial.serial_number"), QStringLiteral("wifi.mac")}, v);
    for (const QString &key : v.keys())
        report.insert(QString(key).replace(QLatin1Char('.'), QLatin1Char('_')), v.value(key));
    if (o.json) {
        report.insert(QStringLiteral("ok"), true);
        printJson(out, report);
    } else {
        for (auto it = report.begin(); it != report.end(); ++it)
            out << it.key() << ": " << it.value().toVariant().toString() << '\n';
    }
    return Success;
}

int Command::status()
{
    int code = Success;
    if (!openPrinter(o.positional[1], &code))
        return code;
    quint32 word = 0;
    const int result = session.statusWord(word);
    if (result != Result::Ok)
        return fail(PrinterFailed, QStringLiteral("%1: %2").arg(o.positional[1], resultText(result)));
    // The printer's status texts, in English.
    QTranslator english;
    if (english.load(QStringLiteral(":/translations/language_en.qm")))
        QCoreApplication::installTranslator(&english);
    const QStringList messages = checkPrinterStatus(word).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    if (o.json) {
        printJson(out, {{QStringLiteral("ok"), true},
                        {QStringLiteral("printer"), o.positional[1]},
                        {QStringLiteral("word"), QStringLiteral("0x%1").arg(word, 8, 16, QLatin1Char('0'))},
                        {QStringLiteral("messages"), QJsonArray::fromStringList(messages)}});
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
            for (const settings::Setting *s : settings::settingsOf(item == QLatin1String("all") ? QString() : item,
                                                                   session.model()))
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
    if (!openPrinter(o.positional[1], &code))
        return code;
    QString error;
    const QStringList selection = o.positional.size() > 2 ? o.positional.mid(2) : QStringList{QStringLiteral("all")};
    const QStringList keys = readableKeys(selection, &error);
    if (!error.isEmpty())
        return fail(Refused, error);
    settings::Values values;
    const int result = session.read(keys, values);
    QJsonObject settingsJson;
    for (const QString &key : keys) {
        const settings::Setting *s = settings::find(key);
        if (!values.contains(key))
            continue;
        if (o.json)
            settingsJson.insert(key, jsonValue(s, values.value(key)));
        else
            out << key << " = " << shown(s, values.value(key)) << (s->unit.isEmpty() ? QString() : QLatin1Char(' ') + s->unit) << '\n';
    }
    if (o.json)
        printJson(out, {{QStringLiteral("ok"), result == Result::Ok},
                        {QStringLiteral("printer"), o.positional[1]},
                        {QStringLiteral("settings"), settingsJson}});
    if (result != Result::Ok) {
        if (!o.json)
            err << "labelsetup-cli: " << o.positional[1] << ": " << resultText(result) << '\n';
        return PrinterFailed;
    }
    return Success;
}

int Command::set()
{
    QString error;
    if (o.positional.size() < 3)
        return fail(Usage, QStringLiteral("set: no KEY=VALUE given"));
    if (!settings::parseAssignments(o.positional.mid(2), nullptr, &error))
        return fail(Refused, error);
    int code = Success;
    if (!openPrinter(o.positional[1], &code))
        return code;
    const settings::Model model = session.model();
    const std::optional<settings::Values> wanted = settings::parseAssignments(o.positional.mid(2), &model, &error);
    if (!wanted)
        return fail(Refused, error);
    profile::Profile p;
    p.values = *wanted;
    QJsonObject report;
    const int exit = applyOne(p, report);
    report.insert(QStringLiteral("printer"), o.positional[1]);
    if (o.json)
        printJson(out, report);
    return exit;
}

// Fills the report of one printer: {printer, ok, model, changed, skipped,
// mismatches, error}. Returns the exit code.
int Command::applyOne(const profile::Profile &wanted, QJsonObject &report)
{
    const settings::Model model = session.model();
    report.insert(QStringLiteral("model"), session.modelName());
    QStringList skipped;
    QString refusal;
    const settings::Values values = forPrinter(wanted.values, model, &skipped, &refusal);
    if (!refusal.isEmpty()) {
        report.insert(QStringLiteral("ok"), false);
        report.insert(QStringLiteral("error"), refusal);
        if (!o.json)
            err << "labelsetup-cli: " << refusal << '\n';
        return Refused;
    }
    report.insert(QStringLiteral("skipped"), QJsonArray::fromStringList(skipped));

    settings::Values current;
    const QStringList keys = values.keys();
    const int readResult = session.read(keys, current);
    const QList<profile::Change> changes = profile::diff(current, values, model);
    QStringList changedKeys;
    for (const profile::Change &c : changes)
        changedKeys << c.key;
    const QList<SetInfoType> codes = settings::instructionsFor(o.all ? keys : changedKeys, model);

    // Every frame is built and checked before the first one goes out.
    QList<std::pair<SetInfoType, settings::Values>> plan;
    for (const SetInfoType code : codes) {
        settings::Values merged;
        for (const QString &key : settings::keysOf(code, model)) {
            if (values.contains(key))
                merged.insert(key, values.value(key));
            else if (current.contains(key))
                merged.insert(key, current.value(key));
        }
        if (merged.size() != settings::keysOf(code, model).size()) {
            const QString message = QStringLiteral("%1: %2 (the rest of its instruction could not be read)")
                                        .arg(settings::keysOf(code, model).join(QLatin1String(", ")), resultText(readResult));
            report.insert(QStringLiteral("ok"), false);
            report.insert(QStringLiteral("error"), message);
            if (!o.json)
                err << "labelsetup-cli: " << message << '\n';
            return PrinterFailed;
        }
        if (const QString refusal = settings::checkInstruction(code, merged, model); !refusal.isEmpty()) {
            report.insert(QStringLiteral("ok"), false);
            report.insert(QStringLiteral("error"), refusal);
            if (!o.json)
                err << "labelsetup-cli: " << refusal << '\n';
            return Refused;
        }
        plan.append({code, merged});
    }

    if (!o.json) {
        for (const profile::Change &c : changes)
            out << profile::describe(c) << '\n';
        if (changes.isEmpty())
            out << "nothing to change\n";
    }
    report.insert(QStringLiteral("changed"), QJsonArray::fromStringList(changedKeys));

    int result = Result::Ok;
    bool printPage = false;
    QJsonArray frames;
    for (const auto &[code, merged] : plan) {
        printPage = printPage || settings::needsPrintDone(code);
        if (o.dryRun) {
            frames << frameText(code, settings::frame(code, merged, model));
            continue;
        }
        const int sent = session.send(code, merged);
        if (result == Result::Ok)
            result = sent;
    }
    if (printPage) {
        if (o.dryRun)
            frames << QString::fromLatin1(proto::functionFrame(PRINT_SETTINGS_DONE).toHex(' ').toUpper());
        else if (const int done = session.printSettingsDone(); result == Result::Ok)
            result = done;
    }
    if (o.dryRun) {
        report.insert(QStringLiteral("frames"), frames);
        if (!o.json)
            for (const QJsonValue &f : std::as_const(frames))
                out << "would send: " << f.toString() << '\n';
        report.insert(QStringLiteral("ok"), true);
        return Success;
    }
    if (result != Result::Ok) {
        report.insert(QStringLiteral("ok"), false);
        report.insert(QStringLiteral("error"), resultText(result));
        if (!o.json)
            err << "labelsetup-cli: " << resultText(result) << '\n';
        return PrinterFailed;
    }
    if (o.restart) {
        session.function(REBOOT);
        // The printer drops the link while it restarts; it is back when it
        // answers its identity query again.
        session.pause(1000);
        if (!session.waitUntilBack(60000)) {
            report.insert(QStringLiteral("ok"), false);
            report.insert(QStringLiteral("error"), QStringLiteral("the printer did not come back after its restart"));
            return PrinterFailed;
        }
    }
    if (o.verify) {
        settings::Values after;
        session.read(keys, after);
        QJsonArray mismatches;
        for (const QString &key : keys) {
            if (after.value(key) == values.value(key) && after.contains(key))
                continue;
            const settings::Setting *s = settings::find(key);
            mismatches << QJsonObject{{QStringLiteral("key"), key},
                                      {QStringLiteral("expected"), jsonValue(s, values.value(key))},
                                      {QStringLiteral("actual"), after.contains(key) ? jsonValue(s, after.value(key))
                                                                                      : QJsonValue()}};
            if (!o.json)
                err << "labelsetup-cli: " << key << " does not hold: expected " << shown(s, values.value(key))
                    << ", the printer has " << (after.contains(key) ? shown(s, after.value(key)) : QStringLiteral("nothing readable"))
                    << '\n';
        }
        report.insert(QStringLiteral("mismatches"), mismatches);
        if (!mismatches.isEmpty()) {
            report.insert(QStringLiteral("ok"), false);
            return Mismatch;
        }
        if (!o.json)
            out << "verified: " << keys.size() << " values hold\n";
    }
    report.insert(QStringLiteral("ok"), true);
    return Success;
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
    if (!openPrinter(o.positional[1], &code))
        return code;
    const int result = session.frame(it->second);
    if (o.json)
        printJson(out, {{QStringLiteral("ok"), result == Result::Ok}, {QStringLiteral("printer"), o.positional[1]},
                        {QStringLiteral("function"), name}});
    return result == Result::Ok ? Success : fail(PrinterFailed, resultText(result));
}

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
    if (!openPrinter(o.positional[1], &code))
        return code;
    const int result = session.stream(image, [&](qint64 sent) {
        if (progress)
            err << QStringLiteral("\r%1: %2 %").arg(o.positional[1], QString::number(sent * 100 / qMax<qint64>(1, image.size())))
                << Qt::flush;
    });
    if (progress)
        err << '\n';
    if (o.json)
        printJson(out, {{QStringLiteral("ok"), result == Result::Ok}, {QStringLiteral("printer"), o.positional[1]},
                        {QStringLiteral("bytes"), image.size()}});
    if (result != Result::Ok)
        return fail(PrinterFailed, QStringLiteral("%1: %2").arg(o.positional[1], resultText(result)));
    if (!o.json)
        out << "sent " << image.size() << " bytes; wait until the printer's light stops blinking\n";
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
    if (!openPrinter(o.positional[1], &code))
        return code;
    const int result = session.stream(data, {});
    if (o.json)
        printJson(out, {{QStringLiteral("ok"), result == Result::Ok}, {QStringLiteral("bytes"), data.size()}});
    return result == Result::Ok ? Success : fail(PrinterFailed, resultText(result));
}

std::optional<profile::Profile> loadProfile(const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("%1: %2").arg(path, file.errorString());
        return std::nullopt;
    }
    const profile::Loaded loaded = profile::fromJson(file.readAll(), path);
    if (!loaded.ok()) {
        *error = loaded.error;
        return std::nullopt;
    }
    return loaded.profile;
}

int Command::profileCommand()
{
    const QStringList &p = o.positional;
    const QString sub = p.value(1);
    if (sub == QLatin1String("export") && p.size() == 4)
        return profileExport(p[3]);
    if (sub == QLatin1String("diff") && p.size() == 4)
        return profileDiff(p[3]);
    if (sub == QLatin1String("apply") && (p.size() >= 4 || (p.size() == 3 && (o.worker || !o.printersFile.isEmpty()))))
        return profileApply(p.mid(2, p.size() - 3), p.last());
    return fail(Usage, QStringLiteral("profile: write profile export|diff PRINTER FILE or profile apply PRINTER... FILE"));
}

int Command::profileExport(const QString &path)
{
    // The tool never replaces a file it did not make.
    if (QFileInfo::exists(path))
        return fail(Refused, QStringLiteral("%1 already exists; choose a new file name").arg(path));
    int code = Success;
    if (!openPrinter(o.positional[2], &code))
        return code;
    const profile::Selection selection{o.includeSecrets, o.includeIdentity};
    QStringList keys;
    for (const settings::Setting *s : settings::settingsOf(QString(), session.model())) {
        if (profile::selected(*s, selection))
            keys << s->key;
    }
    profile::Profile exported{session.modelName(), session.model().mmToDot, {}};
    settings::Values read;
    const int result = session.read(keys, read);
    // A query brings every value of its instruction: keep the chosen ones.
    for (const QString &key : std::as_const(keys)) {
        if (read.contains(key))
            exported.values.insert(key, read.value(key));
    }
    if (result != Result::Ok)
        return fail(PrinterFailed, QStringLiteral("%1: %2").arg(o.positional[2], resultText(result)));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(profile::toJson(exported)) < 0 || !file.commit())
        return fail(Refused, QStringLiteral("%1: %2").arg(path, file.errorString()));
    if (o.json)
        printJson(out, {{QStringLiteral("ok"), true}, {QStringLiteral("file"), path},
                        {QStringLiteral("keys"), int(exported.values.size())}});
    else
        out << "wrote " << exported.values.size() << " settings to " << path << '\n';
    return Success;
}

int Command::profileDiff(const QString &path)
{
    QString error;
    const std::optional<profile::Profile> wanted = loadProfile(path, &error);
    if (!wanted)
        return fail(Refused, error);
    int code = Success;
    if (!openPrinter(o.positional[2], &code))
        return code;
    QStringList skipped;
    const settings::Values values = forPrinter(wanted->values, session.model(), &skipped, &error);
    if (!error.isEmpty())
        return fail(Refused, error);
    settings::Values current;
    const int result = session.read(values.keys(), current);
    const QList<profile::Change> changes = profile::diff(current, values, session.model());
    if (o.json) {
        QJsonArray list;
        for (const profile::Change &c : changes) {
            const settings::Setting *s = settings::find(c.key);
            list << QJsonObject{{QStringLiteral("key"), c.key}, {QStringLiteral("old"), jsonValue(s, c.before)},
                                {QStringLiteral("new"), jsonValue(s, c.after)}};
        }
        printJson(out, {{QStringLiteral("ok"), result == Result::Ok}, {QStringLiteral("changes"), list}});
    } else {
        for (const profile::Change &c : changes)
            out << profile::describe(c) << '\n';
        if (changes.isEmpty())
            out << "no difference\n";
    }
    return result == Result::Ok ? Success : fail(PrinterFailed, resultText(result));
}

int Command::profileApply(const QStringList &named, const QString &path)
{
    QStringList printers = named;
    if (!o.printersFile.isEmpty()) {
        QFile list(o.printersFile);
        if (!list.open(QIODevice::ReadOnly))
            return fail(Usage, QStringLiteral("%1: %2").arg(o.printersFile, list.errorString()));
        for (const QByteArray &line : list.readAll().split('\n')) {
            const QString entry = QString::fromUtf8(line).trimmed();
            if (!entry.isEmpty() && !entry.startsWith(QLatin1Char('#')))
                printers << entry;
        }
    }
    if (printers.isEmpty() && !o.worker)
        return fail(Usage, QStringLiteral("profile apply: no printer given"));
    for (const QString &printer : std::as_const(printers)) {
        QString error;
        if (!parsePrinterAddress(printer, &error))
            return fail(Usage, error);
    }
    // The whole file is checked before any printer is touched.
    QString error;
    const std::optional<profile::Profile> wanted = loadProfile(path, &error);
    if (!wanted)
        return fail(Refused, error);
    if (printers.size() > 1 && profile::holdsStaticAddress(*wanted))
        return fail(Refused, QStringLiteral("%1 holds a static IP address: applying it to %2 printers would give them "
                                            "all the same address")
                                 .arg(path, QString::number(printers.size())));
    if (o.worker)
        return applyAsWorker(*wanted);
    if (printers.size() > 1) {
        QStringList flags;
        for (const auto &[on, flag] : {std::pair{o.dryRun, "--dry-run"}, {o.verify, "--verify"}, {o.all, "--all"},
                                       {o.restart, "--restart"}}) {
            if (on)
                flags << QString::fromLatin1(flag);
        }
        return runFleet({printers, path, flags, m_program, o.jobs, o.json, progress}, out, err);
    }

    int code = Success;
    if (!openPrinter(printers.first(), &code))
        return code;
    QJsonObject report;
    const int exit = applyOne(*wanted, report);
    report.insert(QStringLiteral("printer"), printers.first());
    if (o.json)
        printJson(out, report);
    return exit;
}

// One process of a several-printer run: takes a printer name per line on
// stdin, answers with its JSON result (with its exit code) on one line,
// and goes on until stdin ends. A process start costs more CPU than a
// printer's whole exchange, so each process serves several printers in
// turn, each opened and closed on its own.
int Command::applyAsWorker(const profile::Profile &wanted)
{
    QFile in;
    if (!in.open(stdin, QIODevice::ReadOnly))
        return Usage;
    for (QByteArray line = in.readLine(); !line.isEmpty(); line = in.readLine()) {
        const QString printer = QString::fromUtf8(line).trimmed();
        QJsonObject report;
        QString error;
        int exit = PrinterFailed;
        const std::optional<PrinterAddress> address = parsePrinterAddress(printer, &error);
        if (!address)
            exit = Usage;
        else if (session.open(*address, &error) == Result::Ok)
            exit = applyOne(wanted, report);
        session.close();
        if (!error.isEmpty()) {
            report.insert(QStringLiteral("ok"), false);
            report.insert(QStringLiteral("error"), error);
        }
        report.insert(QStringLiteral("printer"), printer);
        report.insert(QStringLiteral("exit"), exit);
        out << QJsonDocument(report).toJson(QJsonDocument::Compact) << '\n' << Qt::flush;
    }
    return Success;
}

} // namespace

QString helpText()
{
    return QStringLiteral(
        "Usage: labelsetup-cli [--json] COMMAND ...\n"
        "\n"
        "Sets up label printers without the window. PRINTER is usb (the first printer\n"
        "found), usb:PORT or tcp:HOST[:PORT] (port 9100 unless given).\n"
        "\n"
        "Commands:\n"
        "  list [--udp IFACE|*] [--udp-port N]  USB printers; with --udp also the printers\n"
        "                                       answering discovery on that wired interface\n"
        "  keys                                 every setting key, its unit or choices\n"
        "  info PRINTER                         model, firmware, resolution, serial number\n"
        "  status PRINTER                       the printer's status messages\n"
        "  get PRINTER [KEY...|PAGE...]         values (pages: print distance serial\n"
        "                                       stripper wifi ip ethernet bluetooth)\n"
        "  set PRINTER KEY=VALUE...             change values (same checks as the window)\n"
        "  run PRINTER FUNCTION                 self-test, reboot, initialise, learn-seam,\n"
        "                                       learn-black-mark, learn-dac, learn-paper-exit,\n"
        "                                       learn-no-paper, cutter-off, cutter-full,\n"
        "                                       cutter-strip, cutter-tear, keys-on, keys-off,\n"
        "                                       buzzer-on, buzzer-off\n"
        "  download PRINTER --firmware FILE | --font FILE\n"
        "  send PRINTER FILE                    a file as raw bytes\n"
        "  profile export PRINTER FILE [--include-secrets] [--include-identity]\n"
        "  profile diff PRINTER FILE            what applying FILE would change\n"
        "  profile apply PRINTER... FILE [--printers LIST] [--jobs N] [--dry-run]\n"
        "                                [--all] [--verify] [--restart]\n"
        "\n"
        "Profiles hold values in millimetres, seconds and names, so one written on an\n"
        "8 dots/mm printer applies to a 12 dots/mm one. Passwords and PINs are left out\n"
        "unless --include-secrets is given; the serial number and static addresses\n"
        "unless --include-identity is given. A profile with a static address is refused\n"
        "for more than one printer. apply sends only what differs (--all: everything);\n"
        "--dry-run reads the printer and prints the frames it would send, changing\n"
        "nothing; --verify reads every value back; --restart restarts the printers at\n"
        "the end and verifies once they answer again. --printers names a file with one\n"
        "PRINTER per line; --jobs N works on up to N printers at once.\n"
        "\n"
        "  --json   one JSON document (one JSON line per printer where several are named)\n"
        "\n"
        "Exit status:\n"
        "  0  success\n"
        "  1  a printer did not answer or an exchange failed\n"
        "  2  bad command line or printer address\n"
        "  3  refused: unknown key, value out of range or not a choice, bad profile\n"
        "     file (nothing was sent)\n"
        "  4  --verify found values the printer does not hold\n"
        "\n"
        "Example, against the emulated printer (lps-emuprinter --tcp 127.0.0.1:9100):\n"
        "  labelsetup-cli profile export tcp:127.0.0.1 shop.json\n"
        "  (edit shop.json: \"print.speed\": 3, \"print.label_width_mm\": 60.0)\n"
        "  labelsetup-cli profile diff tcp:127.0.0.1 shop.json\n"
        "  labelsetup-cli profile apply tcp:127.0.0.1:9100 tcp:127.0.0.1:9101 shop.json --verify\n");
}

int run(const QStringList &arguments, Streams streams, const QString &programPath)
{
    Options o;
    const auto value = [&](qsizetype &i, QString *target) {
        if (i + 1 >= arguments.size())
            return false;
        *target = arguments.at(++i);
        return true;
    };
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &a = arguments.at(i);
        QString number;
        bool ok = true;
        if (a == QLatin1String("--help") || a == QLatin1String("-h")) {
            streams.out << helpText();
            return Success;
        } else if (a == QLatin1String("--json")) {
            o.json = true;
        } else if (a == QLatin1String("--dry-run")) {
            o.dryRun = true;
        } else if (a == QLatin1String("--verify")) {
            o.verify = true;
        } else if (a == QLatin1String("--all")) {
            o.all = true;
        } else if (a == QLatin1String("--restart")) {
            o.restart = true;
        } else if (a == QLatin1String("--worker")) {
            o.worker = true;
            o.json = true;
        } else if (a == QLatin1String("--include-secrets")) {
            o.includeSecrets = true;
        } else if (a == QLatin1String("--include-identity")) {
            o.includeIdentity = true;
        } else if (a == QLatin1String("--udp")) {
            ok = value(i, &o.udp);
        } else if (a == QLatin1String("--firmware")) {
            ok = value(i, &o.firmware);
        } else if (a == QLatin1String("--font")) {
            ok = value(i, &o.font);
        } else if (a == QLatin1String("--printers")) {
            ok = value(i, &o.printersFile);
        } else if (a == QLatin1String("--jobs") || a == QLatin1String("--udp-port")) {
            ok = value(i, &number);
            const int n = number.toInt(&ok);
            ok = ok && n >= 1 && n <= (a == QLatin1String("--jobs") ? 64 : 65535);
            (a == QLatin1String("--jobs") ? o.jobs : o.udpPort) = n;
        } else if (a.startsWith(QLatin1String("--"))) {
            streams.err << "labelsetup-cli: unknown option " << a << " (see --help)\n";
            return Usage;
        } else {
            o.positional << a;
        }
        if (!ok) {
            streams.err << "labelsetup-cli: " << a << " needs a value (see --help)\n";
            return Usage;
        }
    }
    Command command(o, streams, programPath);
    return command.dispatch();
}

} // namespace cli
