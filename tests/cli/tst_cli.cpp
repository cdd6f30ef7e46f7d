// labelsetup-cli against the emulated printer: what only the command line
// shows. Profiles round-trip over TCP, emulated USB and a serial line, a
// clone carries no unit's identity, --verify and --restart catch a printer
// that loses a value, refusals, failed reads and dry runs send nothing and
// say why, machine output stays one JSON document, a profile refused for
// one printer's model reaches none, and secrets stay out of the output.
// The values' rules (ranges, millimetres and dots, texts' bytes) are the
// settings catalogue's own tests; the command line under each printer
// fault is the fault matrix's.
#include "cli/cli.h"
#include "tools/emulator/net/net_faces.h"
#include "tools/emulator/serial/serial_face.h"
#include "tools/emulator/usb/usb_face.h"

#include "query/printer_session.h"

#include <QBuffer>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

namespace {

struct Run
{
    int code = -1;
    QString out, err;
};

Run cliRun(const QStringList &args, const QByteArray &input = {})
{
    Run r;
    QTextStream out(&r.out), err(&r.err);
    QBuffer in;
    in.setData(input);
    in.open(QIODevice::ReadOnly);
    r.code = cli::run(args, {out, err, false, &in}, QStringLiteral(LPS_CLI));
    out.flush();
    err.flush();
    return r;
}

void setModel(emu::PrinterModel &printer, const QString &model)
{
    printer.setIdentity("VID:E51D", model, "MFG:EMU;MDL:" + model + ";");
}

const QByteArray kProfileHead = R"({"format":"labelsetup-profile","version":1,"settings":)";

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void write(const QString &path, const QByteArray &data)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(data);
}

// Nothing but queries (and the status queries for firmware and resolution).
bool onlyQueries(const emu::PrinterModel &model)
{
    for (const emu::LoggedFrame &f : model.frames()) {
        if (f.cls != 0x02 && !(f.cls == 0x00 && (f.code == 0x04 || f.code == 0x0B)))
            return false;
    }
    return true;
}

} // namespace

class CliTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<emu::UsbFace> m_usb;
    emu::PrinterModel m_usbModel;
    emu::NetPrinter m_net;
    emu::SerialPrinter m_serial;
    QTemporaryDir m_dir;
    QString m_tcp;
    QString m_line;   // serial:PATH of m_serial's pseudo-terminal

    emu::PrinterModel &modelFor(const QString &printer)
    {
        return printer == "usb" ? m_usbModel : printer.startsWith("serial:") ? m_serial.model() : m_net.model();
    }
    QString file(const char *name) const { return m_dir.filePath(QString::fromLatin1(name)); }

private slots:
    void initTestCase()
    {
        m_usb = std::make_unique<emu::UsbFace>();
        QVERIFY(m_usb->addPrinter(&m_usbModel) >= 0);
        QVERIFY(m_net.start({.tcpPort = 0}));
        m_tcp = QStringLiteral("tcp:127.0.0.1:%1").arg(m_net.tcpPort());
        QVERIFY(m_serial.start({}));
        m_line = "serial:" + m_serial.terminalPath();
    }

    void init()
    {
        m_serial.setLine({});
        for (emu::PrinterModel *m : {&m_usbModel, &m_net.model(), &m_serial.model()}) {
            m->resetToDefaults();
            m->setFaults({});
            m->clearLog();
        }
    }

    void roundTrip_data()
    {
        QTest::addColumn<QString>("printer");
        QTest::newRow("tcp") << QString();
        QTest::newRow("usb") << QStringLiteral("usb");
        QTest::newRow("serial") << QStringLiteral("serial");
    }
    void roundTrip()
    {
        QFETCH(QString, printer);
        if (printer.isEmpty())
            printer = m_tcp;
        if (printer == "serial")
            printer = m_line + ":115200:8N1:none";
        emu::PrinterModel &model = modelFor(printer);
        const QString first = file("first.json");
        QFile::remove(first);
        QCOMPARE(cliRun({"profile", "export", printer, first}).code, 0);
        // A clone carries no password, PIN, serial number, static address,
        // nor an address mode (that would move DHCP printers to whatever
        // address they hold).
        for (const char *unitOnly : {"secret123", "0000\"", "SN2026", "192.168.1.100", "wifi.sta.password", "ip.mode",
                                     "ethernet.mode"})
            QVERIFY2(!readAll(first).contains(unitOnly), unitOnly);

        // The printer drifts: speed 1, label 30 x 40 mm (at 12 dots/mm).
        model.setSetting(0x00, QByteArray(1, 1));
        model.setSetting(0x18, QByteArray::fromHex("6801e001"));
        const Run diff = cliRun({"profile", "diff", printer, first});
        QCOMPARE(diff.out, "print.speed: 1 -> 2\nprint.label_height_mm: 30 -> 33.333\n"
                           "print.label_width_mm: 40 -> 66.667\n");

        model.clearLog();
        const Run apply = cliRun({"profile", "apply", printer, first, "--verify"});
        QCOMPARE(apply.code, 0);
        QVERIFY(apply.out.contains("verified"));
        // Only what differs, then the print page's "settings done".
        QStringList sent;
        for (const emu::LoggedFrame &f : model.frames()) {
            if (f.cls != 0x02)
                sent << QString::fromLatin1(f.bytes.toHex());
        }
        QCOMPARE(sent, QStringList({"1bfffe010001021bfeff", "1bfffe011804900120031bfeff", "1bfffe0006001bfeff"}));
    }

    // What the command line says when it sends nothing: refusals (before
    // any connection), reads that fail, keys the model lacks, dry runs,
    // usage errors, a serial line at another speed than named (well
    // within 30 s) or looked for. With --json: one JSON document, also when
    // it fails.
    void sendsNothing_data()
    {
        // Its model, "answers:N" before it falls silent, "line at N" baud, or "firmware VERSION".
        QTest::addColumn<QString>("printer");
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QByteArray>("profile");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("said");
        const QStringList apply = {"profile", "apply", "PRINTER", "PROFILE"};
        const QString lost = "no answer on the network (time-out)";
        QTest::newRow("unknown key") << "" << QStringList{"set", "PRINTER", "print.colour=red"} << QByteArray()
                                     << int(cli::Refused) << "print.colour: unknown key";
        QTest::newRow("address") << "" << QStringList{"set", "PRINTER", "ip.dns=8.8.8.256"} << QByteArray()
                                 << int(cli::Refused) << "The range of each part of ip.dns is 0 ~ 255";
        QTest::newRow("not json") << "" << apply << QByteArray("{\"format\":") << int(cli::Refused) << "PROFILE: not JSON";
        QTest::newRow("version") << "" << apply << QByteArray(R"({"format":"labelsetup-profile","version":2,"settings":{}})")
                                 << int(cli::Refused) << "PROFILE: profile version 2 is not supported";
        QTest::newRow("profile key") << "" << apply << kProfileHead + R"({"print.colour":"red"}})" << int(cli::Refused)
                                     << "PROFILE: print.colour: unknown key";
        QTest::newRow("static address to two")
            << "" << QStringList{"profile", "apply", "PRINTER", "tcp:127.0.0.1:1", "PROFILE", "--include-identity"}
            << kProfileHead + R"({"ethernet.mode":"static","ethernet.address":"10.0.0.9"}})" << int(cli::Refused)
            << "PROFILE holds a static IP address";
        QTest::newRow("dry run") << "" << QStringList{"profile", "apply", "PRINTER", "PROFILE", "--dry-run"}
                                 << kProfileHead + R"({"print.speed":3,"bluetooth.ble_name":"Dock-7"}})" << 0
                                 << "would send: 1B FF FE 01 2C 07 44 6F 63 6B 2D 37 00 1B FE FF";
        QTest::newRow("dry run, read fails") << "answers:1" << QStringList{"profile", "apply", "PRINTER", "PROFILE", "--dry-run"}
                                             << kProfileHead + R"({"print.speed":3}})" << int(cli::PrinterFailed)
                                             << "labelsetup-cli: print.speed could not be read: " + lost;
        QTest::newRow("line, rate looked for") << "line at 19200" << QStringList{"get", "LINE", "print.speed"} << QByteArray()
                                               << 0 << "print.speed = 2";
        QTest::newRow("line, wrong rate") << "line at 19200" << QStringList{"get", "LINE:9600", "print.speed"} << QByteArray()
                                          << int(cli::PrinterFailed)
                                          << "LINE:9600: the printer did not answer its identity query at 9600 baud 8N1";
        // A printer's texts cannot colour the terminal or forge a line.
        QTest::newRow("printer text") << "firmware V1\x1b[31m\nmodel: forged" << QStringList{"info", "PRINTER"} << QByteArray()
                                      << 0 << "firmware: V1\\x1b[31m\\nmodel: forged\n";
        QTest::newRow("printing method") << "EMU-420T" << apply << kProfileHead + R"({"print.method":"adaptive"}})" << 0
                                         << "skipped print.method: not on EMU-420T";
        QTest::newRow("stripper") << "EMU-420T" << apply << kProfileHead + R"({"stripper.paper_take_s":3}})" << 0
                                  << "skipped stripper.paper_take_s: EMU-420T has no stripper";
        QTest::newRow("firmware only") << "KV-520" << apply << kProfileHead + R"({"print.speed":1}})" << 0
                                       << "skipped print.speed: KV-520 takes firmware only";
        QTest::newRow("--json unknown command") << "" << QStringList{"--json", "frobnicate"} << QByteArray() << int(cli::Usage)
                                                << "unknown command \"frobnicate\"";
        QTest::newRow("--json standard input to two")
            << "" << QStringList{"--json", "profile", "apply", "PRINTER", "tcp:127.0.0.1:1", "-"} << QByteArray()
            << int(cli::Usage) << "a profile from standard input (-) goes to one printer";
        QTest::newRow("--json read fails") << "answers:1" << QStringList{"--json", "get", "PRINTER", "print.speed"}
                                           << QByteArray() << int(cli::PrinterFailed)
                                           << "\"settings\":{\"print.speed\":null},\"unread\":{\"print.speed\":\"" + lost;
        QTest::newRow("--json info, read fails") << "answers:3" << QStringList{"--json", "info", "PRINTER"} << QByteArray()
                                                 << int(cli::PrinterFailed) << "PRINTER: could not read serial_number, wifi_mac";
    }
    void sendsNothing()
    {
        QFETCH(QString, printer);
        QFETCH(QStringList, args);
        QFETCH(QByteArray, profile);
        QFETCH(int, code);
        QFETCH(QString, said);
        emu::PrinterModel &model = printer.startsWith("line") ? m_serial.model() : m_net.model();
        if (printer.startsWith("line"))
            m_serial.setLine({.baud = printer.section(' ', -1).toInt()});
        else if (printer.startsWith("firmware "))
            model.setFirmwareVersion(printer.mid(9));
        else if (printer.startsWith("answers:"))
            model.setFaults({.answerLimit = printer.mid(8).toInt()});
        else if (!printer.isEmpty())
            setModel(model, printer);
        const QString path = file("profile.json");
        write(path, profile);
        QElapsedTimer clock;
        clock.start();
        const Run r = cliRun(args.replaceInStrings("PRINTER", m_tcp).replaceInStrings("LINE", m_line).replaceInStrings("PROFILE", path));
        QVERIFY2(clock.elapsed() < 30000, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(r.code, code);
        QString seen = r.out + r.err;
        if (args.first() == "--json") {
            QCOMPARE(r.out.count('\n'), 1);
            const QJsonObject doc = QJsonDocument::fromJson(r.out.toUtf8()).object();
            QCOMPARE(doc.value("ok").toBool(), code == 0);
            seen += doc.value("error").toString();
        }
        QVERIFY2(seen.replace(m_tcp, "PRINTER").replace(m_line, "LINE").replace(path, "PROFILE").contains(said), qPrintable(seen));
        QVERIFY(code == 0 || !r.out.contains("->"));
        QVERIFY(code == cli::Refused ? model.frames().isEmpty() : onlyQueries(model));
    }

    // With --restart every value is read back once the printer answers
    // again; one that never does is named with the time waited.
    void restart_data()
    {
        QTest::addColumn<bool>("gone");
        QTest::addColumn<int>("forget");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("message");
        QTest::newRow("never comes back") << true << -1 << int(cli::PrinterFailed)
                                          << "did not answer again after its restart (waited ";
        QTest::newRow("forgets the speed") << false << 0x00 << int(cli::Mismatch)
                                           << "print.speed does not hold: expected 3, the printer has 2";
    }
    void restart()
    {
        QFETCH(bool, gone);
        QFETCH(int, forget);
        QFETCH(int, code);
        QFETCH(QString, message);
        m_net.model().setFaults({.goneAfterReboot = gone, .forgetOnReboot = forget});
        QElapsedTimer clock;
        clock.start();
        const Run r = cliRun({"set", m_tcp, "print.speed=3", "--restart", "--restart-wait", "2"});
        QCOMPARE(r.code, code);
        QVERIFY2(r.err.contains(message), qPrintable(r.err));
        // The wait, and at most one identity query under way when it ends.
        QVERIFY2(clock.elapsed() < 2000 + 3000 + 1500, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(m_net.model().framesOf(0x00, 0x02).size(), 1);
    }

    // Every printer is checked against its own model before any is sent
    // anything; the exit status is 3, else 1, else 4, else 0.
    void fleet_data()
    {
        QTest::addColumn<QStringList>("printers");  // models; "silent" never answers, "ignores" drops the speed
        QTest::addColumn<int>("speed");
        QTest::addColumn<int>("code");
        QTest::newRow("refused on one model") << QStringList{"ZD-N310", "EMU-420T"} << 6 << int(cli::Refused);
        QTest::newRow("unreachable, one not holding") << QStringList{"ignores", "silent", "ZD-N310"} << 3 << int(cli::PrinterFailed);
        QTest::newRow("one not holding") << QStringList{"ZD-N310", "ignores"} << 3 << int(cli::Mismatch);
    }
    void fleet()
    {
        QFETCH(QStringList, printers);
        QFETCH(int, speed);
        QFETCH(int, code);
        std::vector<std::unique_ptr<emu::NetPrinter>> fleet;
        QStringList names;
        for (const QString &model : printers) {
            fleet.push_back(std::make_unique<emu::NetPrinter>());
            QVERIFY(fleet.back()->start({.tcpPort = 0}));
            setModel(fleet.back()->model(), model == "ignores" ? "EMU-420T" : model);
            fleet.back()->model().setFaults({.silent = model == "silent", .ignoreSetCode = model == "ignores" ? 0 : -1});
            names << QStringLiteral("tcp:127.0.0.1:%1").arg(fleet.back()->tcpPort());
        }
        const QString profile = file("fleet-speed.json");
        write(profile, kProfileHead + QStringLiteral(R"({"print.speed":%1}})").arg(speed).toUtf8());
        const Run r = cliRun(QStringList{"--json", "profile", "apply"} + names + QStringList{profile, "--verify", "--jobs", "3"});
        QCOMPARE(r.code, code);
        // One JSON line a printer, in the order named.
        const QStringList lines = r.out.trimmed().split('\n');
        QCOMPARE(lines.size(), printers.size());
        for (qsizetype i = 0; i < printers.size(); ++i) {
            const QJsonObject line = QJsonDocument::fromJson(lines[i].toUtf8()).object();
            QCOMPARE(line.value("printer").toString(), names[i]);
            QCOMPARE(line.value("ok").toBool(), code != cli::Refused && printers[i] != "silent" && printers[i] != "ignores");
            if (printers[i] != "silent")
                QCOMPARE(fleet[size_t(i)]->model().framesOf(0x01, 0x00).size(), code == cli::Refused ? 0 : 1);
        }
        // As text: a line a printer (the one that did not hold named as
        // failed), what its own run would have said, then the count.
        if (code == cli::Mismatch) {
            const Run text = cliRun(QStringList{"profile", "apply"} + names + QStringList{profile, "--verify"});
            QCOMPARE(text.code, code);
            QCOMPARE(text.out, QStringLiteral("%1: ok, nothing changed\n  nothing to change\n  verified: 1 values hold\n"
                                              "%2: FAILED: print.speed does not hold\n  print.speed: 2 -> 3\n"
                                              "  print.speed does not hold: expected 3, the printer has 2\n"
                                              "1 of 2 printers succeeded\n")
                                   .arg(names[0], names[1]));
        }
    }

    // Secrets from standard input or a file, never on the command line nor
    // in the output.
    void secretInputs_data()
    {
        QTest::addColumn<QString>("assignment");
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<QByteArray>("pin");
        QTest::newRow("standard input") << "bluetooth.pin=-" << QByteArray("4321\nrest\n") << QByteArray("4321");
        QTest::newRow("file") << "bluetooth.pin=@FILE" << QByteArray() << QByteArray("9876");
        QTest::newRow("literal @") << "bluetooth.pin=@@12" << QByteArray() << QByteArray("@12");
    }
    void secretInputs()
    {
        QFETCH(QString, assignment);
        QFETCH(QByteArray, input);
        QFETCH(QByteArray, pin);
        write(file("pin.txt"), "9876\n");
        const Run r = cliRun({"set", m_tcp, assignment.replace("FILE", file("pin.txt")), "--verify"}, input);
        QCOMPARE(r.code, 0);
        QCOMPARE(m_net.model().setting(0x2E), pin + '\0');
        QVERIFY(!(r.out + r.err).contains(QString::fromLatin1(pin)));
        // A Bluetooth setting takes effect after a restart, and says so.
        QVERIFY2(r.out.contains("restart the printer for these settings to take effect"), qPrintable(r.out));
    }

    // A profile with secrets is readable by its owner only; a network name
    // that is not UTF-8 goes from one printer to another byte for byte.
    void secretsAndRawTexts()
    {
        const QByteArray station = QByteArray::fromHex("c4e3bac300") + "pw123456" + '\0';
        m_net.model().setSetting(0x26, station);
        const QString profile = file("secrets.json");
        QFile::remove(profile);
        QCOMPARE(cliRun({"profile", "export", m_tcp, profile, "--include-secrets"}).code, 0);
        QCOMPARE(QFile::permissions(profile) & 0x0FFF, QFile::ReadUser | QFile::WriteUser);
        QVERIFY(readAll(profile).contains(R"("wifi.sta.ssid": {"hex": "C4E3BAC3"})"));
        m_net.model().setSetting(0x26, QByteArray("Other\0x\0", 8));
        QCOMPARE(cliRun({"profile", "apply", m_tcp, profile, "--verify"}).code, 0);
        QCOMPARE(m_net.model().setting(0x26), station);
        QVERIFY(cliRun({"--json", "get", m_tcp, "wifi.sta.ssid"}).out.contains(R"({"hex":"C4E3BAC3"})"));
    }

    // The same printer named twice, however spelled, is worked on once.
    void samePrinterTwice()
    {
        QCOMPARE(parsePrinterAddress("tcp:Host", nullptr)->canonical(), parsePrinterAddress("tcp:host:9100", nullptr)->canonical());
        const QString profile = file("once.json");
        write(profile, kProfileHead + R"({"print.speed":1}})");
        const Run r = cliRun({"profile", "apply", m_tcp, m_tcp, profile, "--verify"});
        QCOMPARE(r.code, 0);
        QVERIFY2(r.err.contains("is the same printer as"), qPrintable(r.err));
        QCOMPARE(m_net.model().framesOf(0x01, 0x00).size(), 1);
    }
};

QTEST_GUILESS_MAIN(CliTest)
#include "tst_cli.moc"
