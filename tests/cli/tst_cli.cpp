// labelsetup-cli against the emulated printer: profiles round-trip over TCP
// and emulated USB, a clone keeps each printer's addressing and the
// source's dots, a dry run changes nothing, --verify and --restart catch a
// printer that loses a value, failed reads fail, machine output stays one
// JSON document, a profile refused for one printer's model reaches none,
// and every refusal leaves the printer untouched.
#include "cli/cli.h"
#include "tools/emulator/net/net_faces.h"
#include "tools/emulator/serial/serial_face.h"
#include "tools/emulator/usb/usb_face.h"

#include "query/printer_session.h"

#include <QBuffer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <array>
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

QString address(const emu::NetPrinter &printer)
{
    return QStringLiteral("tcp:127.0.0.1:%1").arg(printer.tcpPort());
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
        const QString first = file("first.json"), second = file("second.json");
        QFile::remove(first);
        QFile::remove(second);
        QCOMPARE(cliRun({"profile", "export", printer, first}).code, 0);
        // A clone carries no password, PIN, serial number or static address.
        for (const char *unitOnly : {"secret123", "0000\"", "SN2026", "192.168.1.100", "wifi.sta.password"})
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
        QCOMPARE(cliRun({"profile", "export", printer, second}).code, 0);
        QCOMPARE(readAll(second), readAll(first));
    }

    // A printer on a serial line, named with or without its speed; a
    // speed it does not run at fails with the reason, well within 30 s; a
    // fleet may mix the line with the network.
    void serialLine_data()
    {
        QTest::addColumn<int>("printerBaud");
        QTest::addColumn<QStringList>("args");    // LINE: the printer's serial:PATH
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("said");
        QTest::addColumn<int>("speed");           // the printer's print speed afterwards
        QTest::newRow("get") << 115200 << QStringList{"get", "LINE:115200", "print.speed"} << 0 << "print.speed = 2" << 2;
        QTest::newRow("set") << 115200 << QStringList{"set", "LINE:115200:8N1", "print.speed=3", "--verify"} << 0
                             << "print.speed: 2 -> 3" << 3;
        QTest::newRow("rate looked for") << 19200 << QStringList{"set", "LINE", "print.speed=1"} << 0
                                         << "print.speed: 2 -> 1" << 1;
        QTest::newRow("wrong rate") << 19200 << QStringList{"get", "LINE:9600", "print.speed"} << 1
                                    << "labelsetup-cli: LINE:9600: the printer did not answer its identity query at "
                                       "9600 baud 8N1" << 2;
        QTest::newRow("fleet with the network") << 115200
                                                << QStringList{"profile", "apply", "TCP", "LINE", "PROFILE", "--verify"}
                                                << 0 << "2 of 2 printers succeeded" << 3;
    }
    void serialLine()
    {
        QFETCH(int, printerBaud);
        QFETCH(QStringList, args);
        QFETCH(int, code);
        QFETCH(QString, said);
        QFETCH(int, speed);
        m_serial.setLine({.baud = printerBaud});
        const QString profile = file("line.json");
        write(profile, kProfileHead + R"({"print.speed":3}})");
        args.replaceInStrings("LINE", m_line).replaceInStrings("TCP", m_tcp).replaceInStrings("PROFILE", profile);
        QElapsedTimer clock;
        clock.start();
        const Run r = cliRun(args);
        QVERIFY2(clock.elapsed() < 30000, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(r.code, code);
        QVERIFY2(QString(r.out + r.err).replace(m_line, "LINE").contains(said), qPrintable(r.out + r.err));
        QCOMPARE(m_serial.model().setting(0x00), QByteArray(1, char(speed)));
    }

    void otherResolution()
    {
        // Written at 8 dots/mm, applied at 12: the millimetres hold.
        m_usbModel.setIdentity("VID:E51D", "EMU-420T", "MFG:EMU;MDL:EMU-420T;", "PID:0618", "V1.0");
        const QString profile = file("eight.json");
        QFile::remove(profile);
        QCOMPARE(cliRun({"profile", "export", "usb:2", profile}).code, 0);
        QVERIFY(readAll(profile).contains("\"dots_per_mm\": 8"));
        QCOMPARE(cliRun({"profile", "apply", m_tcp, profile, "--all", "--verify"}).code, 0);
        QCOMPARE(m_net.model().setting(0x19), QByteArray::fromHex("2400"));          // 3 mm: 36 dots
        QCOMPARE(m_net.model().setting(0x18), QByteArray::fromHex("5802b004"));      // 50 x 100 mm
    }

    void dryRunAndVerify()
    {
        emu::PrinterModel &model = m_net.model();
        const QString profile = file("dry.json");
        write(profile, R"({"format":"labelsetup-profile","version":1,"settings":
                          {"print.speed":3,"print.density":2,"bluetooth.ble_name":"Dock-7"}})");
        const Run dry = cliRun({"profile", "apply", m_tcp, profile, "--dry-run"});
        QCOMPARE(dry.code, 0);
        QVERIFY2(dry.out.contains("would send: 1B FF FE 01 2C 07 44 6F 63 6B 2D 37 00 1B FE FF"), qPrintable(dry.out));
        QVERIFY(onlyQueries(model));

        // A firmware that takes the density frame but keeps its old value.
        model.setFaults({.ignoreSetCode = 0x13});
        const Run apply = cliRun({"--json", "profile", "apply", m_tcp, profile, "--verify"});
        QCOMPARE(apply.code, int(cli::Mismatch));
        const QJsonObject report = QJsonDocument::fromJson(apply.out.toUtf8()).object();
        QCOMPARE(report.value("mismatches").toArray().size(), 1);
        QCOMPARE(report.value("mismatches")[0]["key"].toString(), "print.density");
        QCOMPARE(report.value("mismatches")[0]["actual"].toInt(), 8);
    }

    void twentyPrinters()
    {
        std::vector<std::unique_ptr<emu::NetPrinter>> printers;
        QStringList names;
        for (int i = 0; i < 20; ++i) {
            printers.push_back(std::make_unique<emu::NetPrinter>());
            QVERIFY(printers.back()->start({.tcpPort = 0}));
            names << QStringLiteral("tcp:127.0.0.1:%1").arg(printers.back()->tcpPort());
        }
        printers[7]->model().setFaults({.silent = true});
        const QString profile = file("fleet.json");
        write(profile, R"({"format":"labelsetup-profile","version":1,"settings":
                          {"print.speed":1,"print.label_gap_mm":4,"bluetooth.spp_name":"Line-3"}})");
        QProcess cli;
        QElapsedTimer clock;
        clock.start();
        cli.start(QStringLiteral(LPS_CLI), QStringList{"--json", "profile", "apply"} + names
                                               + QStringList{profile, "--jobs", "10", "--verify"});
        QVERIFY(cli.waitForFinished(120000));
        // The silent printer costs its identity time-out (3 s), not more.
        QVERIFY2(clock.elapsed() < 30000, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(cli.exitCode(), int(cli::PrinterFailed));
        const QList<QByteArray> lines = cli.readAllStandardOutput().trimmed().split('\n');
        QCOMPARE(lines.size(), 20);
        for (int i = 0; i < 20; ++i) {
            const QJsonObject r = QJsonDocument::fromJson(lines[i]).object();
            QCOMPARE(r.value("printer").toString(), names[i]);
            QCOMPARE(r.value("ok").toBool(), i != 7);
            if (i == 7) {
                QVERIFY(r.value("error").toString().contains("did not answer"));
                continue;
            }
            const emu::PrinterModel &m = printers[size_t(i)]->model();
            QCOMPARE(m.setting(0x00), QByteArray(1, 1));
            QCOMPARE(m.setting(0x19), QByteArray::fromHex("3000"));   // 4 mm at 12 dots/mm
            QCOMPARE(m.setting(0x2B), QByteArray("Line-3", 7));
        }
    }

    void refusals_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QByteArray>("profile");
        QTest::addColumn<QString>("message");
        const QByteArray head = R"({"format":"labelsetup-profile","version":1,"settings":)";
        const QStringList apply = {"profile", "apply", "PRINTER", "PROFILE"};
        QTest::newRow("range") << QStringList{"set", "PRINTER", "print.speed=9"} << QByteArray()
                               << "The range of print.speed is 0 ~ 7";
        QTest::newRow("choice") << QStringList{"set", "PRINTER", "print.paper_type=glossy"} << QByteArray()
                                << "print.paper_type must be one of gap, black-mark, continuous, auto";
        QTest::newRow("unknown key") << QStringList{"set", "PRINTER", "print.colour=red"} << QByteArray()
                                     << "print.colour: unknown key";
        QTest::newRow("text too long") << QStringList{"set", "PRINTER", "bluetooth.ble_name=" + QString(255, 'x')}
                                       << QByteArray() << "bluetooth.ble_name is too long, at most 254 bytes (UTF-8)";
        QTest::newRow("address") << QStringList{"set", "PRINTER", "ip.dns=8.8.8.256"} << QByteArray()
                                 << "The range of each part of ip.dns is 0 ~ 255";
        QTest::newRow("read only") << QStringList{"set", "PRINTER", "wifi.mac=00:00:00:00:00:00"} << QByteArray()
                                   << "wifi.mac is read only";
        QTest::newRow("not json") << apply << QByteArray("{\"format\":") << "PROFILE: not JSON";
        QTest::newRow("format") << apply << QByteArray(R"({"format":"other","version":1,"settings":{}})")
                                << "PROFILE: not a profile";
        QTest::newRow("version") << apply << QByteArray(R"({"format":"labelsetup-profile","version":2,"settings":{}})")
                                 << "PROFILE: profile version 2 is not supported";
        QTest::newRow("profile key") << apply << head + R"({"print.colour":"red"}})"
                                     << "PROFILE: print.colour: unknown key";
        QTest::newRow("profile range") << apply << head + R"({"print.label_gap_mm":9000}})"
                                       << "PROFILE: print.label_gap_mm: The range of print.label_gap_mm is 0 ~ 8191";
        QTest::newRow("profile type") << apply << head + R"({"print.speed":"fast"}})"
                                      << "PROFILE: print.speed: a number is expected";
        QTest::newRow("label width the window refuses") << QStringList{"set", "PRINTER", "print.label_width_mm=0"}
                                                        << QByteArray() << "The range of print.label_width_mm is 20 ~ 108";
        QTest::newRow("static address to two")
            << QStringList{"profile", "apply", "PRINTER", "tcp:127.0.0.1:1", "PROFILE", "--include-identity"}
            << head + R"({"ethernet.mode":"static","ethernet.address":"10.0.0.9"}})"
            << "PROFILE holds a static IP address";
    }
    void refusals()
    {
        QFETCH(QStringList, args);
        QFETCH(QByteArray, profile);
        QFETCH(QString, message);
        const QString path = file("refused.json");
        write(path, profile);
        args.replaceInStrings("PRINTER", m_tcp).replaceInStrings("PROFILE", path);
        const Run r = cliRun(args);
        QCOMPARE(r.code, int(cli::Refused));
        QVERIFY2(r.err.contains(message.replace("PROFILE", path)), qPrintable(r.err));
        QVERIFY(m_net.model().frames().isEmpty());
    }

    // A clone carries no address mode (a static one would move DHCP printers
    // to whatever address they hold) and carries lengths in millimetres with
    // three decimals, which each printer rounds to its own dots.
    void clones_data()
    {
        QTest::addColumn<QString>("model");   // of the two printers the clone goes to
        QTest::addColumn<QByteArray>("gap");  // their label gap before, dots
        QTest::addColumn<QByteArray>("sent"); // and after
        QTest::newRow("31 dots at 12 dots/mm") << "ZD-N480" << QByteArray::fromHex("2400") << QByteArray::fromHex("1f00");
        QTest::newRow("to 8 dots/mm") << "EMU-420T" << QByteArray::fromHex("1800") << QByteArray::fromHex("1500");
    }
    void clones()
    {
        QFETCH(QString, model);
        QFETCH(QByteArray, gap);
        QFETCH(QByteArray, sent);
        // The source: static Ethernet (the default), Wi-Fi addressing static too.
        m_net.model().setSetting(0x19, QByteArray::fromHex("1f00"));
        m_net.model().setSetting(0x28, QByteArray(1, 0) + m_net.model().setting(0x28).mid(1));
        const QString profile = file("clone.json");
        QFile::remove(profile);
        QCOMPARE(cliRun({"profile", "export", m_tcp, profile}).code, 0);
        QVERIFY(readAll(profile).contains("\"print.label_gap_mm\": 2.583,"));
        std::array<emu::NetPrinter, 2> targets;
        QStringList names;
        const QByteArray dhcp(13, '\0');
        for (emu::NetPrinter &t : targets) {
            QVERIFY(t.start({.tcpPort = 0}));
            setModel(t.model(), model);
            t.model().setSetting(0x19, gap);
            t.model().setSetting(0x0D, dhcp);
            names << address(t);
        }
        const Run diff = cliRun({"profile", "diff", names[0], profile});
        QVERIFY2(diff.out.contains("print.label_gap_mm: 3 -> "), qPrintable(diff.out));
        const Run apply = cliRun(QStringList{"profile", "apply"} + names + QStringList{profile, "--verify"});
        QCOMPARE(apply.code, 0);
        for (emu::NetPrinter &t : targets) {
            QCOMPARE(t.model().setting(0x19), sent);
            QCOMPARE(t.model().setting(0x0D).left(5), dhcp.left(5));   // DHCP, its own address
            QCOMPARE(t.model().setting(0x28).at(0), char(1));
        }
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

    // A read that fails is a failure, named; with --json its value is null
    // and the reason is under "unread".
    void readFailures_data()
    {
        QTest::addColumn<int>("answers");  // before the printer falls silent
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("seen");
        const QString lost = "no answer on the network (time-out)";
        QTest::newRow("dry run") << 1 << QStringList{"profile", "apply", "PRINTER", "PROFILE", "--dry-run"}
                                 << "labelsetup-cli: print.speed could not be read: " + lost;
        QTest::newRow("info") << 3 << QStringList{"info", "PRINTER"}
                              << "labelsetup-cli: PRINTER: serial_number could not be read: " + lost;
        QTest::newRow("get --json") << 1 << QStringList{"--json", "get", "PRINTER", "print.speed"}
                                    << "\"settings\":{\"print.speed\":null},\"unread\":{\"print.speed\":\"" + lost;
    }
    void readFailures()
    {
        QFETCH(int, answers);
        QFETCH(QStringList, args);
        QFETCH(QString, seen);
        const QString profile = file("speed.json");
        write(profile, kProfileHead + R"({"print.speed":3}})");
        m_net.model().setFaults({.answerLimit = answers});
        const Run r = cliRun(args.replaceInStrings("PRINTER", m_tcp).replaceInStrings("PROFILE", profile));
        QCOMPARE(r.code, int(cli::PrinterFailed));
        QVERIFY2(QString(r.out + r.err).replace(m_tcp, "PRINTER").contains(seen), qPrintable(r.out + r.err));
        QVERIFY(!r.out.contains("->"));
        QVERIFY(onlyQueries(m_net.model()));
    }

    // --json: one JSON document, also when the command fails.
    void machineOutput_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("error");  // empty: ok
        QTest::newRow("keys") << QStringList{"keys"} << 0 << QString();
        QTest::newRow("unknown command") << QStringList{"frobnicate"} << int(cli::Usage) << "unknown command \"frobnicate\"";
        QTest::newRow("no jobs") << QStringList{"profile", "apply", "PRINTER", "PRINTER", "PROFILE", "--jobs", "0"}
                                 << int(cli::Usage) << "--jobs must be at least 1";
        QTest::newRow("standard input to two") << QStringList{"profile", "apply", "PRINTER", "tcp:127.0.0.1:1", "-"}
                                               << int(cli::Usage) << "a profile from standard input (-) goes to one printer";
        QTest::newRow("no printer there") << QStringList{"info", "tcp:127.0.0.1:1"} << int(cli::PrinterFailed)
                                          << "tcp:127.0.0.1:1: no connection";
        QTest::newRow("refused") << QStringList{"set", "PRINTER", "print.speed=9"} << int(cli::Refused)
                                 << "The range of print.speed is 0 ~ 7";
    }
    void machineOutput()
    {
        QFETCH(QStringList, args);
        QFETCH(int, code);
        QFETCH(QString, error);
        const Run r = cliRun(QStringList{"--json"} + args.replaceInStrings("PRINTER", m_tcp).replaceInStrings("PROFILE", file("none")));
        QCOMPARE(r.code, code);
        QCOMPARE(r.out.count('\n'), 1);
        const QJsonObject doc = QJsonDocument::fromJson(r.out.toUtf8()).object();
        QCOMPARE(doc.value("ok").toBool(), error.isEmpty());
        QVERIFY2(doc.value("error").toString().contains(error), qPrintable(r.out));
        if (args == QStringList{"keys"})
            QCOMPARE(doc.value("keys")[0]["key"].toString(), "print.speed");
    }

    // A printer's texts cannot colour the terminal or forge a line.
    void terminalSafety()
    {
        m_net.model().setFirmwareVersion("V1\x1b[31m\nmodel: forged");
        const Run r = cliRun({"info", m_tcp});
        QCOMPARE(r.code, 0);
        QVERIFY2(r.out.contains("firmware: V1\\x1b[31m\\nmodel: forged\n"), qPrintable(r.out));
        QVERIFY(!r.out.contains('\x1b'));
    }

    // Every printer is checked against its own model before any is sent
    // anything; the exit status is 3, else 1, else 4, else 0.
    void fleet_data()
    {
        QTest::addColumn<QStringList>("printers");  // models; "silent" never answers, "ignores" drops the speed
        QTest::addColumn<int>("speed");
        QTest::addColumn<int>("code");
        QTest::newRow("refused on one model") << QStringList{"ZD-N310", "EMU-420T"} << 6 << int(cli::Refused);
        QTest::newRow("refused, one unreachable") << QStringList{"ZD-N310", "silent", "EMU-420T"} << 6 << int(cli::Refused);
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
            names << address(*fleet.back());
        }
        const QString profile = file("fleet-speed.json");
        write(profile, kProfileHead + QStringLiteral(R"({"print.speed":%1}})").arg(speed).toUtf8());
        const Run r = cliRun(QStringList{"profile", "apply"} + names + QStringList{profile, "--verify", "--jobs", "3"});
        QCOMPARE(r.code, code);
        for (qsizetype i = 0; i < printers.size(); ++i) {
            if (printers[i] != "silent")
                QCOMPARE(fleet[size_t(i)]->model().framesOf(0x01, 0x00).size(), code == cli::Refused ? 0 : 1);
        }
    }

    // Keys a model does not have are named; settings that take effect after
    // a restart say so.
    void modelDifferences_data()
    {
        QTest::addColumn<QString>("model");
        QTest::addColumn<QByteArray>("settings");
        QTest::addColumn<QString>("line");
        QTest::newRow("printing method") << "EMU-420T" << QByteArray(R"({"print.method":"adaptive"})")
                                         << "skipped print.method: not on EMU-420T";
        QTest::newRow("stripper") << "EMU-420T" << QByteArray(R"({"stripper.paper_take_s":3})")
                                  << "skipped stripper.paper_take_s: EMU-420T has no stripper";
        QTest::newRow("firmware only") << "KV-520" << QByteArray(R"({"print.speed":1})")
                                       << "skipped print.speed: KV-520 takes firmware only";
        QTest::newRow("restart") << "ZD-N480" << QByteArray(R"({"bluetooth.ble_name":"Dock"})")
                                 << "restart the printer for these settings to take effect";
    }
    void modelDifferences()
    {
        QFETCH(QString, model);
        QFETCH(QByteArray, settings);
        QFETCH(QString, line);
        setModel(m_net.model(), model);
        const QString profile = file("model.json");
        write(profile, kProfileHead + settings + '}');
        const Run r = cliRun({"profile", "apply", m_tcp, profile});
        QCOMPARE(r.code, 0);
        QVERIFY2(r.out.contains(line), qPrintable(r.out));
        QCOMPARE(m_net.model().waitForFrame(0x01, 0x2C, line.startsWith("skipped") ? 0 : 5000), !line.startsWith("skipped"));
        QVERIFY(line.startsWith("skipped") == onlyQueries(m_net.model()));
    }

    // Secrets from standard input or a file, never on the command line.
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
