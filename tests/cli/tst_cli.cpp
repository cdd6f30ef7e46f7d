// labelsetup-cli against the emulated printer: profiles round-trip over TCP
// and emulated USB, a dry run changes nothing, --verify catches a printer
// that ignores a value, twenty printers at once with one of them silent,
// and every refusal leaves the printer untouched.
#include "cli/cli.h"
#include "tools/emulator/net/net_faces.h"
#include "tools/emulator/usb/usb_face.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

namespace {

struct Run
{
    int code = -1;
    QString out, err;
};

Run cliRun(const QStringList &args)
{
    Run r;
    QTextStream out(&r.out), err(&r.err);
    r.code = cli::run(args, {out, err, false}, QStringLiteral(LPS_CLI));
    out.flush();
    err.flush();
    return r;
}

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

bool onlyQueries(const emu::PrinterModel &model)
{
    for (const emu::LoggedFrame &f : model.frames()) {
        if (f.cls != 0x02)
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
    QTemporaryDir m_dir;
    QString m_tcp;

    emu::PrinterModel &modelFor(const QString &printer) { return printer == "usb" ? m_usbModel : m_net.model(); }
    QString file(const char *name) const { return m_dir.filePath(QString::fromLatin1(name)); }

private slots:
    void initTestCase()
    {
        m_usb = std::make_unique<emu::UsbFace>();
        QVERIFY(m_usb->addPrinter(&m_usbModel) >= 0);
        QVERIFY(m_net.start({.tcpPort = 0}));
        m_tcp = QStringLiteral("tcp:127.0.0.1:%1").arg(m_net.tcpPort());
    }

    void init()
    {
        for (emu::PrinterModel *m : {&m_usbModel, &m_net.model()}) {
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
    }
    void roundTrip()
    {
        QFETCH(QString, printer);
        if (printer.isEmpty())
            printer = m_tcp;
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
        QCOMPARE(diff.out, "print.speed: 1 -> 2\nprint.label_height_mm: 30.00 -> 33.33\n"
                           "print.label_width_mm: 40.00 -> 66.67\n");

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
        QTest::newRow("static address to two")
            << QStringList{"profile", "apply", "PRINTER", "PRINTER", "PROFILE"}
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
};

QTEST_GUILESS_MAIN(CliTest)
#include "tst_cli.moc"
