// labelsetup-cli's options, its dispatch and its help; the commands are in
// the files command.h names.
#include "cli/cli.h"

#include "cli/command.h"
#include "cli/output.h"
#include "protocol/result.h"

#include <QJsonObject>

namespace cli {

int Command::fail(int code, const QString &message, QJsonObject report)
{
    if (o.json) {
        report.insert(QStringLiteral("ok"), false);
        report.insert(QStringLiteral("error"), message);
        printJson(out, report);
    } else {
        err << "labelsetup-cli: " << terminalText(message) << '\n';
    }
    return code;
}

bool Command::openPrinter(const QString &text, int *exitCode, QJsonObject *report)
{
    QString error;
    QJsonObject base{{QStringLiteral("printer"), text}};
    const std::optional<PrinterAddress> address = parsePrinterAddress(text, &error);
    if (!address) {
        *exitCode = fail(Usage, error, base);
        return false;
    }
    if (session.open(*address, &error) != Result::Ok) {
        *exitCode = fail(PrinterFailed, error, base);
        return false;
    }
    base.insert(QStringLiteral("model"), session.modelName());
    if (report)
        *report = base;
    return true;
}

bool Command::refuseFirmwareOnly(int *exitCode, const QString &what)
{
    if (!session.model().firmwareOnly)
        return false;
    *exitCode = fail(Refused,
                     QStringLiteral("%1 takes firmware only: it has no %2").arg(session.modelName(), what),
                     {{QStringLiteral("printer"), o.positional.value(1)}, {QStringLiteral("model"), session.modelName()}});
    return true;
}

int Command::dispatch()
{
    const QStringList &p = o.positional;
    const QString command = p.value(0);
    static const QStringList withPrinter = {QStringLiteral("info"), QStringLiteral("status"), QStringLiteral("get"),
                                            QStringLiteral("set"),  QStringLiteral("run"),    QStringLiteral("download"),
                                            QStringLiteral("send")};
    if (command == QLatin1String("list"))
        return list();
    if (command == QLatin1String("keys"))
        return keys();
    if (command == QLatin1String("profile"))
        return profileCommand();
    if (command.isEmpty())
        return fail(Usage, QStringLiteral("no command given (see --help)"));
    if (!withPrinter.contains(command))
        return fail(Usage, QStringLiteral("unknown command \"%1\" (see --help)").arg(command));
    if (p.size() < 2)
        return fail(Usage, QStringLiteral("%1: no printer given (see --help)").arg(command));
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
    return send();
}

QString helpText()
{
    return QStringLiteral(
        "Usage: labelsetup-cli [--json] COMMAND ...\n"
        "\n"
        "Sets up label printers without the window. PRINTER is usb (the first printer\n"
        "found), usb:PORT, tcp:HOST[:PORT] (port 9100 unless given) or\n"
        "serial:PATH[:BAUD[:FRAMING[:FLOW]]] (a serial port or Bluetooth link: FRAMING\n"
        "like 8N1 or 7E2, FLOW none, hw or sw; 8N1 and none unless given; without\n"
        "BAUD the printer's rate is looked for, about 10 s at most).\n"
        "\n"
        "Commands:\n"
        "  list [--udp IFACE|*] [--udp-port N]  USB printers, serial ports and Bluetooth\n"
        "                                       links; with --udp also the printers\n"
        "                                       answering discovery on that wired interface\n"
        "  keys                                 every setting key, its unit or choices\n"
        "  info PRINTER                         model, firmware, resolution, serial number\n"
        "  status PRINTER                       the printer's status messages\n"
        "  get PRINTER [KEY...|PAGE...]         values (pages: print distance serial\n"
        "                                       stripper wifi ip ethernet bluetooth)\n"
        "  set PRINTER KEY=VALUE... [--dry-run] [--verify] [--restart]\n"
        "                                       change values (the window's ranges and\n"
        "                                       choices for the printer's model)\n"
        "  run PRINTER FUNCTION                 self-test, reboot, initialise, learn-seam,\n"
        "                                       learn-black-mark, learn-dac, learn-paper-exit,\n"
        "                                       learn-no-paper, cutter-off, cutter-full,\n"
        "                                       cutter-strip, cutter-tear, keys-on, keys-off,\n"
        "                                       buzzer-on, buzzer-off\n"
        "  download PRINTER --firmware FILE | --font FILE\n"
        "  send PRINTER FILE                    a file as raw bytes\n"
        "  profile export PRINTER FILE [--include-secrets] [--include-identity]\n"
        "  profile diff PRINTER FILE [--include-identity]\n"
        "                                       what applying FILE would change\n"
        "  profile apply PRINTER... FILE [--printers LIST] [--jobs N] [--dry-run]\n"
        "                                [--all] [--verify] [--restart [--restart-wait S]]\n"
        "                                [--include-identity]\n"
        "\n"
        "Profiles hold values in millimetres (three decimals), seconds and names, so\n"
        "one written on an 8 dots/mm printer applies to a 12 dots/mm one; each printer\n"
        "rounds millimetres to its own dots, and diff and --verify compare those dots.\n"
        "Passwords and PINs are left out unless --include-secrets is given (the file is\n"
        "then readable by you only). The serial number, the addresses and their address\n"
        "modes belong to one printer: they are exported, diffed and applied only with\n"
        "--include-identity, and a profile with a static address is refused for more\n"
        "than one printer. Keys the printer's model does not have are skipped and named.\n"
        "apply sends only what differs (--all: everything); a profile is checked against\n"
        "every printer's model before any printer is sent anything. --dry-run reads the\n"
        "printer and prints what would change and the frames it would send; --verify\n"
        "reads every value back. --restart restarts the printers after the values went\n"
        "out, waits up to --restart-wait seconds (60) for each to answer again, and then\n"
        "reads every value back; without it, settings that take effect only after a\n"
        "restart (Wi-Fi, IP, Ethernet, Bluetooth) are said to need one. --printers names\n"
        "a file with one PRINTER per line; --jobs N works on up to N printers at once; a\n"
        "printer named twice is worked on once. FILE - reads the profile from standard\n"
        "input (diff, and apply to one printer).\n"
        "\n"
        "Secrets (passwords, PIN) without the command line: KEY=- reads the value from\n"
        "standard input (one line per -, in the order given; not echoed on a terminal),\n"
        "KEY=@FILE from a file (one trailing line end dropped); KEY=@@... stands for a\n"
        "value beginning with @. Other keys take - and @ as they are.\n"
        "\n"
        "  --json   one JSON document per command, also when it fails (one line per\n"
        "           printer where several are named); values that could not be read\n"
        "           are null, with the reason under \"unread\"\n"
        "\n"
        "Exit status:\n"
        "  0  success\n"
        "  1  a printer did not answer, a value could not be read, an exchange failed,\n"
        "     or a printer did not answer again within --restart-wait after its restart\n"
        "  2  bad command line or printer address\n"
        "  3  refused: unknown key, value out of range or not a choice, bad profile\n"
        "     file (nothing was sent to any printer)\n"
        "  4  a value read back (--verify, --restart) is not the one sent\n"
        "  With several printers: 3 if the check refused, else 1 if any printer failed,\n"
        "  else 4 if any value did not hold, else 0.\n"
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
    o.json = arguments.contains(QStringLiteral("--json")) || arguments.contains(QStringLiteral("--worker"));
    const auto usage = [&](const QString &message) {
        if (o.json)
            printJson(streams.out, {{QStringLiteral("ok"), false}, {QStringLiteral("error"), message}});
        else
            streams.err << "labelsetup-cli: " << message << " (see --help)\n";
        return int(Usage);
    };
    // A number option: present, whole, and within its bounds.
    const auto number = [&](qsizetype &i, int min, int max, int *target) -> std::optional<QString> {
        const QString &name = arguments.at(i);
        if (i + 1 >= arguments.size())
            return QStringLiteral("%1 needs a value").arg(name);
        bool ok = false;
        const qlonglong n = arguments.at(++i).toLongLong(&ok, 10);
        if (!ok)
            return QStringLiteral("%1 must be a whole number").arg(name);
        if (n < min)
            return QStringLiteral("%1 must be at least %2").arg(name).arg(min);
        if (n > max)
            return QStringLiteral("%1 must be at most %2").arg(name).arg(max);
        *target = int(n);
        return std::nullopt;
    };
    const auto value = [&](qsizetype &i, QString *target) -> std::optional<QString> {
        if (i + 1 >= arguments.size())
            return QStringLiteral("%1 needs a value").arg(arguments.at(i));
        *target = arguments.at(++i);
        return std::nullopt;
    };
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &a = arguments.at(i);
        std::optional<QString> problem;
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
        } else if (a == QLatin1String("--restart-wait")) {
            problem = number(i, 1, 86400, &o.restartWaitS);
        } else if (a == QLatin1String("--worker")) {
            o.worker = true;
        } else if (a == QLatin1String("--include-secrets")) {
            o.includeSecrets = true;
        } else if (a == QLatin1String("--include-identity")) {
            o.includeIdentity = true;
        } else if (a == QLatin1String("--udp")) {
            problem = value(i, &o.udp);
        } else if (a == QLatin1String("--firmware")) {
            problem = value(i, &o.firmware);
        } else if (a == QLatin1String("--font")) {
            problem = value(i, &o.font);
        } else if (a == QLatin1String("--printers")) {
            problem = value(i, &o.printersFile);
        } else if (a == QLatin1String("--jobs")) {
            problem = number(i, 1, 64, &o.jobs);
        } else if (a == QLatin1String("--udp-port")) {
            problem = number(i, 1, 65535, &o.udpPort);
        } else if (a.startsWith(QLatin1String("--"))) {
            problem = QStringLiteral("unknown option %1").arg(a);
        } else {
            o.positional << a;
        }
        if (problem)
            return usage(*problem);
    }
    Command command(o, streams, programPath);
    return command.dispatch();
}

} // namespace cli
