// Settings backup and restore on the maintenance tab against the emulated
// printer: the file written (or not), the restore table as the user saw
// it, the set frames Apply sent, each row's outcome after the read-back;
// and the checks around a firmware download into a printer that restarts.
#include "page_test_support.h"

#include <QDir>
#include <QStandardPaths>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>

namespace {

// The set and function frames among those the printer received: what
// changed it.
QStringList changes(PrinterWindow &pw)
{
    QStringList out;
    for (const QString &frame : pw.frames()) {
        if (frame.startsWith("1B FF FE 01") || frame.startsWith("1B FF FE 00"))
            out << frame;
    }
    return out;
}

// The restore table as the user saw it, one row a line: "setting|printer|
// file|mark|outcome", the mark "x" ticked, "-" unticked, "" no box.
QString tableText(QTableWidget *table)
{
    QStringList lines;
    for (int r = 0; r < table->rowCount(); ++r) {
        const QTableWidgetItem *check = table->item(r, 3);
        const QString mark = !(check->flags() & Qt::ItemIsUserCheckable) ? QString()
                             : check->checkState() == Qt::Checked        ? "x" : "-";
        lines << QStringList{table->item(r, 0)->text(), table->item(r, 1)->text(), table->item(r, 2)->text(), mark,
                             table->item(r, 4)->text()}.join('|');
    }
    return lines.join('\n');
}

// Answers the restore dialog when it comes up: records the table, presses
// Apply (unless `apply` is false), records the table and the line under it
// again. Other boxes are left to the catcher.
struct RestoreAnswer
{
    bool apply = true;
    QString before, after, note, summary;

    void attach(PrinterWindow &pw)
    {
        pw.boxes().onShown = [this] {
            QWidget *dialog = QApplication::activeModalWidget();
            if (!dialog || dialog->objectName() != "RestoreSettingsDialog" || !before.isEmpty())
                return QString();
            auto *table = dialog->findChild<QTableWidget *>("tableWidget_Restore");
            before = tableText(table);
            const auto *line = dialog->findChild<QLabel *>("label_RestoreNote");
            note = line ? line->text() : QString();
            if (apply)
                dialog->findChild<QPushButton *>("pushButton_RestoreApply")->click();
            after = tableText(table);
            summary = dialog->findChild<QLabel *>("label_RestoreSummary")->text();
            return QString();
        };
    }
};

// The lines of `table` whose setting name contains `part`.
QStringList rowsOf(const QString &table, const QString &part)
{
    return table.split('\n').filter(part);
}

QString backUp(PrinterWindow &pw, const QString &path)
{
    pw.boxes().clear();
    pw.boxes().filesToChoose = {path};
    pw.click("pushButton_BackupSettings");
    return describe(pw.boxes().boxes());
}

QString firmwareFile(const QTemporaryDir &dir)
{
    QFile file(dir.filePath("fw.hex"));
    if (!file.open(QIODevice::WriteOnly) || file.write(QByteArray(1000, 'F')) != 1000)
        qFatal("cannot write the firmware file");
    return file.fileName();
}

QDir backupFolder()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + "/backups");
}

const QString kNamed = "将固件下载到这台打印机吗？\n\n型号：LP-200\n固件版本：V2.4.1\n序列号：SN20261206001\n\n文件：fw.hex\n大小：1000字节";

} // namespace

class TestBackupRestore : public GuiTest
{
    Q_OBJECT

private slots:
    // Backed up, changed behind the tool's back, restored: only the
    // changed rows go out (in dots, the print page closed as its Set
    // does), each row is read back: the gap is shown held, the density,
    // which this printer takes but keeps its own, not. (Over one medium:
    // the reads and sets are the pages' own, walked over every medium by
    // the fault matrix; the other tests here use USB.)
    void roundTrip()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("lp200.json");
        PrinterWindow pw(TestMedium::Tcp);
        QVERIFY(pw.open());
        QCOMPARE(backUp(pw, path), "[备份设置… | JSON (*.json)] [设置工具 | 处理成功]");
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray saved = file.readAll();
        QVERIFY(saved.contains("\"serial.serial_number\": \"SN20261206001\""));
        QVERIFY(!saved.contains("secret123"));

        apply(pw, {"13=0C", "19=2800"});   // density 12, gap 5 mm
        pw.printer().setFaults({.ignoreSetCode = 0x13});
        pw.clearFrames();
        RestoreAnswer answer;
        answer.attach(pw);
        pw.boxes().clear();
        pw.boxes().filesToChoose = {path};
        pw.click("pushButton_RestoreSettings");
        QCOMPARE(rowsOf(answer.before, "|x|"), QStringList({"打印设置 › 打印浓度|12|8|x|", "打印设置 › 标签间隙(单位mm)|5.000 mm|3.000 mm|x|"}));
        QCOMPARE(changes(pw), frameList("s13:08 s19:1800 f06"));
        QCOMPARE(answer.summary, "1项已生效，1项未生效。");
        QCOMPARE(rowsOf(answer.after, "浓度"), QStringList{"打印设置 › 打印浓度|12|8|x|未生效"});
        QCOMPARE(rowsOf(answer.after, "已生效").size(), 1);
        QCOMPARE(pw.printer().setting(0x19), QByteArray::fromHex("1800"));
    }

    // A read that fails part of the way: the page named, no file at all.
    void readFailsMidway()
    {
        QTemporaryDir dir;
        PrinterWindow pw(TestMedium::Usb);
        QVERIFY(pw.open());
        emu::Faults faults;
        faults.answerLimit = 6;
        pw.printer().setFaults(faults);
        QCOMPARE(backUp(pw, dir.filePath("b.json")), "[备份设置… | JSON (*.json)] [设置工具 | 备份失败：无法读取打印设置]");
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList());
    }

    // A 12 dots/mm printer's backup onto an 8 dots/mm one: lengths as
    // millimetres in the new printer's dots; the other printer's identity
    // stays unticked (no frame carries it), with a line saying whose file it
    // is. Which rows a clone ticks or skips is tst_settings_restore's table.
    void cloneOntoOtherResolution()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("n480.json");
        {
            PrinterWindow source(TestMedium::Usb, "ZD-N480");
            QVERIFY(source.open());
            apply(source, {"10=534E2D4F5448455200", "0D=01C0A80165FFFFFF00C0A80101"});
            backUp(source, path);
        }
        PrinterWindow pw(TestMedium::Tcp);
        QVERIFY(pw.open());
        RestoreAnswer answer;
        answer.attach(pw);
        pw.boxes().filesToChoose = {path};
        pw.click("pushButton_RestoreSettings");
        QCOMPARE(answer.note, "文件来自另一台打印机（序列号SN-OTHER，这台是SN20261206001）：序列号和地址等标识设置未勾选。");
        QCOMPARE(rowsOf(answer.before, "|x|").join('\n'),
                 "打印设置 › 标签间隙(单位mm)|3.000 mm|2.000 mm|x|\n打印设置 › 黑标间隙(单位mm)|3.000 mm|2.000 mm|x|\n"
                 "打印设置 › 高度|50.000 mm|33.375 mm|x|\n打印设置 › 宽度|100.000 mm|66.625 mm|x|\n"
                 "距离设置 › 缝到打印头距离(单位mm)|6.000 mm|4.000 mm|x|\n距离设置 › 黑标到打印头距离(单位mm)|6.000 mm|4.000 mm|x|");
        // 400 and 800 dots at 12 dots/mm are 267 and 533 at 8.
        QCOMPARE(changes(pw), frameList("s19:1000 s1A:1000 s18:0B011502 s34:2000 s35:2000 f06"));
        QCOMPARE(answer.summary, "6项已生效，0项未生效。");
    }

    // The confirmation names printer and file, the backup offered; cancel
    // sends nothing and leaves no backup.
    void firmwareCancelled()
    {
        QTemporaryDir dir;
        PrinterWindow pw(TestMedium::Tcp);
        QVERIFY(pw.open());
        backupFolder().removeRecursively();
        atFirmwareConfirmation(pw, true);
        pw.boxes().filesToChoose = {firmwareFile(dir)};
        pw.boxes().boxesToCancel = 1;
        pw.click("pushButton_DownloadFW");
        QCOMPARE(describe(pw.boxes().boxes()), "[HEX File | HEX Files (*.hex);;All Files (*)] [设置工具 | " + kNamed + "]");
        QCOMPARE(pw.boxes().last().seen, "先备份设置1");
        QCOMPARE(pw.frames(), QStringList());
        // Nothing decrypted, no transfer holding the controls.
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"fw.hex"});
        QVERIFY(pw.widget("pushButton_DownloadFW")->isEnabled());
        QVERIFY(!backupFolder().exists());
    }

    // A printer that restarts into a new firmware with factory settings:
    // the version line, the offer to restore, the backup's values back
    // after Apply.
    void firmwareRestarts_data()
    {
        QTest::addColumn<TestMedium>("medium");
        QTest::newRow("tcp") << TestMedium::Tcp;
        QTest::newRow("usb") << TestMedium::Usb;
    }
    void firmwareRestarts()
    {
        QFETCH(TestMedium, medium);
        QTemporaryDir dir;
        PrinterWindow pw(medium);
        QVERIFY(pw.open());
        pw.window()->setRestartWait(60000);
        apply(pw, {"13=0C"});
        pw.printer().setFirmwareRestart({.enabled = true, .quietMs = 300, .downMs = 1000, .version = "V2.5.0", .factoryReset = true});
        RestoreAnswer answer;
        answer.attach(pw);
        pw.boxes().filesToChoose = {firmwareFile(dir)};
        pw.click("pushButton_DownloadFW");
        QVERIFY2(runEvents([&] { return !answer.summary.isEmpty(); }, 60000), qPrintable(describe(pw.boxes().boxes())));
        QStringList seen;
        for (const ShownBox &box : pw.boxes().boxes())
            seen << box.text;
        QCOMPARE(seen.filter("→"), QStringList{"固件版本：V2.4.1 → V2.5.0\n\n打印机的设置与下载前的备份不同，现在恢复吗？"});
        QCOMPARE(pw.printer().restarts(), 1);
        QCOMPARE(rowsOf(answer.before, "|x|"), QStringList{"打印设置 › 打印浓度|8|12|x|"});
        QCOMPARE(answer.summary, "1项已生效，0项未生效。");
        QCOMPARE(pw.printer().setting(0x13), QByteArray::fromHex("0C"));
        QCOMPARE(backupFolder().entryList({"SN20261206001_*.json"}, QDir::Files).size() > 0, true);
    }

    // A printer that never comes back: said within the wait, with the backup.
    void firmwareNeverBack()
    {
        QTemporaryDir dir;
        PrinterWindow pw(TestMedium::Tcp);
        QVERIFY(pw.open());
        pw.window()->setRestartWait(3000);
        pw.printer().setFirmwareRestart({.enabled = true, .quietMs = 300, .downMs = -1});
        pw.boxes().filesToChoose = {firmwareFile(dir)};
        QElapsedTimer took;
        took.start();
        pw.click("pushButton_DownloadFW");
        QVERIFY(runEvents([&] { return pw.boxes().last().text.startsWith("打印机在"); }, 30000));
        QVERIFY(took.elapsed() < 20000);
        const QString text = pw.boxes().last().text;
        QVERIFY2(text.startsWith("打印机在3秒内没有重新应答。\n下载前的设置备份：" + backupFolder().path() + "/SN20261206001_"), qPrintable(text));
    }
};

QTEST_MAIN(TestBackupRestore)
#include "tst_backup_restore.moc"
