// Restoring a profile: which rows differ and go back, which stay with the
// printer, the frames that carry them; and the backups the tool keeps.
#include "maintenance/settings_backup.h"
#include "protocol/settings_restore.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {

using settings::Values;

const settings::Model k8{8, false}, k12{12, false};

// "key=value ..." to values.
Values values(const QString &text)
{
    Values v;
    for (const QString &pair : text.split(' ', Qt::SkipEmptyParts))
        v.insert(pair.section('=', 0, 0), pair.section('=', 1));
    return v;
}

// A printer of this model, its serial number SN1, DHCP on its Wi-Fi side.
const Values kPrinter = values("serial.serial_number=SN1 print.speed=2 print.label_gap_mm=3.000 ip.mode=dhcp "
                               "ip.address=192.168.1.120 ip.subnet_mask=255.255.255.0 ip.gateway=192.168.1.1 "
                               "ip.dns=8.8.8.8 wifi.sta.ssid=Office wifi.sta.password=secret123 "
                               "distance.seam_mm=6.000");

// Rows as "key+" (goes back), "key~" (differs, stays), "key=" (same),
// "key!" (skipped), with the file's value for this printer after a colon.
QString rowsText(const QList<restore::Row> &rows)
{
    QStringList out;
    for (const restore::Row &r : rows) {
        const char mark = r.skip != restore::Row::Skip::None ? '!' : r.checked ? '+' : r.differs ? '~' : '=';
        out << r.key + mark + ':' + r.file;
    }
    return out.join(' ');
}

} // namespace

class TestSettingsRestore : public QObject
{
    Q_OBJECT

private slots:
    void compare_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("extended");
        QTest::addColumn<QString>("rows");
        QTest::addColumn<bool>("otherPrinter");
        QTest::newRow("own backup") << "serial.serial_number=SN1 print.speed=3 print.label_gap_mm=3" << false
                                    << "print.speed+:3 print.label_gap_mm=:3.000 serial.serial_number=:SN1" << false;
        QTest::newRow("clone") << "serial.serial_number=SN2 print.speed=3 ip.mode=static ip.address=10.0.0.5 "
                                  "ip.gateway=192.168.1.1" << false
                               << "print.speed+:3 serial.serial_number~:SN2 ip.mode~:static ip.address~:10.0.0.5 "
                                  "ip.gateway=:192.168.1.1" << true;
        QTest::newRow("no serial number") << "ip.address=10.0.0.5" << false << "ip.address~:10.0.0.5" << true;
        QTest::newRow("model lacks") << "print.method=thermal stripper.paper_take_s=5 print.auto_paper=on" << false
                                     << "print.method!:thermal print.auto_paper+:on stripper.paper_take_s!:5" << true;
        QTest::newRow("value not taken") << "print.speed=7" << false << "print.speed!:7" << true;
        QTest::newRow("value taken") << "print.speed=7" << true << "print.speed+:7" << true;
    }
    void compare()
    {
        QFETCH(QString, file);
        QFETCH(bool, extended);
        QFETCH(QString, rows);
        QFETCH(bool, otherPrinter);
        const restore::Comparison c = restore::compare(kPrinter, values(file), {8, extended});
        QCOMPARE(rowsText(c.rows), rows);
        QCOMPARE(c.otherPrinter, otherPrinter);
    }

    // Ticks and unticks: an address mode goes with the differing addresses
    // of its block; what goes out then.
    void ticks_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("ticks");
        QTest::addColumn<QString>("sent");
        const QString clone = "serial.serial_number=SN2 print.speed=3 ip.mode=static ip.address=10.0.0.5 "
                              "ip.gateway=192.168.1.1 ip.dns=1.1.1.1";
        QTest::newRow("clone as it comes") << clone << "" << "print.speed ip.dns";
        QTest::newRow("mode ticked") << clone << "+ip.mode" << "print.speed ip.mode ip.address ip.dns";
        QTest::newRow("address unticked") << clone << "+ip.mode -ip.address" << "print.speed ip.dns";
        QTest::newRow("address ticked alone") << clone << "+ip.address" << "print.speed ip.address ip.dns";
        QTest::newRow("skipped stays") << "print.method=adaptive" << "+print.method" << "";
    }
    void ticks()
    {
        QFETCH(QString, file);
        QFETCH(QString, ticks);
        QFETCH(QString, sent);
        QList<restore::Row> rows = restore::compare(kPrinter, values(file), k8).rows;
        for (const QString &tick : ticks.split(' ', Qt::SkipEmptyParts))
            restore::setChecked(rows, tick.mid(1), tick.startsWith('+'));
        QCOMPARE(restore::keysToSend(rows).join(' '), sent);
    }

    // The frames: only those carrying rows that go back, in the pages'
    // order, the other values of a frame as the printer holds them now.
    void plan_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("printerNow");
        QTest::addColumn<QString>("frames");
        QTest::addColumn<QString>("after");   // print done, restart, unread keys
        const QString now = "wifi.sta.ssid=Office wifi.sta.password=secret123 distance.seam_mm=6.000 "
                            "distance.paper_exit_dots=120 print.label_gap_mm=3.000";
        QTest::newRow("station name only") << "serial.serial_number=SN1 wifi.sta.ssid=Lab" << now
                                           << "1B FF FE 01 26 0E 4C 61 62 00 73 65 63 72 65 74 31 32 33 00 1B FE FF"
                                           << "restart";
        QTest::newRow("frame value unread") << "wifi.sta.ssid=Lab" << "wifi.sta.ssid=Office" << ""
                                            << "unread wifi.sta.password";
        QTest::newRow("nothing differs") << "distance.seam_mm=6" << now << "" << "";
    }
    void plan()
    {
        QFETCH(QString, file);
        QFETCH(QString, printerNow);
        QFETCH(QString, frames);
        QFETCH(QString, after);
        const QList<restore::Row> rows = restore::compare(kPrinter, values(file), k8).rows;
        const restore::Plan plan = restore::plan(rows, values(printerNow), k8);
        QStringList bytes;
        for (const restore::Step &step : plan.steps)
            bytes << QString::fromLatin1(settings::frame(step.code, step.values, k8).toHex(' ').toUpper());
        QCOMPARE(bytes.join(' '), frames);
        const QStringList notes = {plan.printDone ? "print done" : "", plan.restart ? "restart" : "",
                                   plan.unread.isEmpty() ? "" : "unread " + plan.unread.join(' ')};
        QCOMPARE(notes.filter(QRegularExpression(".")).join(' '), after);
    }

    // The data folder keeps the last ten backups of each printer, never
    // touches other files, and a new file never replaces one.
    void keptBackups()
    {
        QTemporaryDir dir;
        const QString folder = dir.filePath("backups");
        const QDateTime start(QDate(2026, 3, 1), QTime(9, 0));
        for (int i = 0; i < 12; ++i)
            QVERIFY(backup::writeKept(folder, "SN1", start.addSecs(i), "{}", false).ok());
        QVERIFY(backup::writeKept(folder, "SN1", start.addSecs(11), "{}", true).ok());   // same millisecond
        QVERIFY(backup::writeKept(folder, "../SN2", start, "{}", true).ok());
        QFile other(folder + "/SN1_notes.json");
        QVERIFY(other.open(QIODevice::WriteOnly) && other.write("mine") == 4);
        other.close();
        QCOMPARE(QFile::permissions(folder) & 0x0077, QFileDevice::Permissions());
        const QStringList kept = backup::backupsOf(folder, "SN1");
        QCOMPARE(kept.size(), backup::kKept);
        QCOMPARE(QFileInfo(kept.first()).fileName(), "SN1_20260301-090003-000.json");
        QCOMPARE(QFileInfo(kept.last()).fileName(), "SN1_20260301-090011-001.json");
        QCOMPARE(QFile::permissions(kept.last()) & 0x0077, QFileDevice::Permissions());
        QCOMPARE(QDir(folder).entryList(QDir::Files).filter(QRegularExpression("^(---SN2_|SN1_notes)")).size(), 2);
        const backup::Written again = backup::writeNewFile(folder + "/SN1_notes.json", "new", false);
        QVERIFY(!again.ok());
        QVERIFY(other.open(QIODevice::ReadOnly) && other.readAll() == "mine");
    }
};

QTEST_GUILESS_MAIN(TestSettingsRestore)
#include "tst_settings_restore.moc"
