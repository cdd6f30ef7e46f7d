// The stripper page ("剥离器设置") against the emulated printer: the
// paper-take time read in milliseconds and shown in whole seconds, written
// back in milliseconds, the range the 16-bit field allows, and the
// confirmation dialog asked once per device selection.
#include "function_test_support.h"
#include "mainwindow.h"
#include "pages/cutdialog.h"
#include "tools/emulator/net/net_faces.h"
#include "tools/emulator/usb/usb_face.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

Q_DECLARE_METATYPE(TestMedium)

namespace {

const QString kTitle = QStringLiteral("设置工具");
const QString kDone = QStringLiteral("处理成功");
const QString kQuery = QStringLiteral("1B FF FE 02 58 00 1B FE FF");
// Only these models have the stripper page.
const QString kStripperModel = QStringLiteral("ZD-N480");

template<size_t N> QByteArray bytes(const char (&text)[N])
{
    return QByteArray(text, qsizetype(N - 1));
}

// What the user was shown, as "CutDialog" or the message text.
QStringList shown(PrinterWindow &pw)
{
    QStringList result;
    for (const ShownBox &b : pw.boxes().boxes())
        result << (b.className == QLatin1String("QMessageBox") ? b.text : b.className);
    return result;
}

// Reads the page, confirming the stripper if asked; true when the read
// succeeded. Forgets the boxes and frames it took.
bool readPage(PrinterWindow &pw)
{
    pw.click("pushButton_StripperSettingRead");
    pw.printer().waitForFrames(1, 10000);
    const bool ok = !pw.boxes().boxes().isEmpty() && pw.boxes().last().text == kDone
                    && pw.widget("pushButton_StripperSettingSet")->isEnabled();
    pw.boxes().clear();
    pw.clearFrames();
    return ok;
}

void addMediumRows()
{
    QTest::addColumn<TestMedium>("medium");
    QTest::newRow("tcp") << TestMedium::Tcp;
    QTest::newRow("usb") << TestMedium::Usb;
}

} // namespace

class TestStripperPage : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { PrinterWindow::usb(); }

    void confirmationDialogForm();

    void readShowsWholeSeconds_data();
    void readShowsWholeSeconds();
    void setSendsMilliseconds_data();
    void setSendsMilliseconds();
    void confirmationOncePerSelection_data() { addMediumRows(); }
    void confirmationOncePerSelection();
    void cancelledSetSendsNothing_data() { addMediumRows(); }
    void cancelledSetSendsNothing();
    void cancelledReadKeepsSetDisabled_data() { addMediumRows(); }
    void cancelledReadKeepsSetDisabled();
    void setAfterCloseRefused();
    void failedReadReported_data();
    void failedReadReported();
    void malformedReplyPassesSilently();

private:
    TestSettingsLocation m_settings;
};

void TestStripperPage::confirmationDialogForm()
{
    QWidget parent;
    CutDialog dialog(&parent);
    QCOMPARE(dialog.objectName(), QStringLiteral("CutDialog"));
    QCOMPARE(dialog.windowTitle(), kTitle);
    QCOMPARE(dialog.size(), QSize(398, 192));
    QCOMPARE(dialog.minimumSize(), dialog.maximumSize());
    auto *label = dialog.findChild<QLabel *>(QStringLiteral("label"));
    QVERIFY(label);
    QCOMPARE(label->text(), QStringLiteral("请确保打印机是否已经安装/连接对应剥离器"));
    QVERIFY(label->wordWrap());
    auto *buttons = dialog.findChild<QDialogButtonBox *>(QStringLiteral("buttonBox"));
    QVERIFY(buttons);
    QCOMPARE(buttons->buttons().size(), 2);
    QCOMPARE(buttons->button(QDialogButtonBox::Ok)->text(), QStringLiteral("确定"));
    QCOMPARE(buttons->button(QDialogButtonBox::Cancel)->text(), QStringLiteral("取消"));

    // OK accepts, Cancel and Escape reject.
    dialog.open();
    QTest::mouseClick(buttons->button(QDialogButtonBox::Ok), Qt::LeftButton);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QVERIFY(!dialog.isVisible());
    dialog.open();
    QTest::mouseClick(buttons->button(QDialogButtonBox::Cancel), Qt::LeftButton);
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    dialog.setResult(QDialog::Accepted);
    dialog.open();
    QTest::keyClick(&dialog, Qt::Key_Escape);
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
}

void TestStripperPage::readShowsWholeSeconds_data()
{
    QTest::addColumn<TestMedium>("medium");
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<QString>("seconds");

    for (TestMedium m : {TestMedium::Tcp, TestMedium::Usb}) {
        const QString suffix = QLatin1Char('/') + mediumName(m);
        QTest::newRow(qPrintable(QStringLiteral("5000 ms") + suffix)) << m << bytes("\x88\x13") << QStringLiteral("5");
        // The remainder is dropped, not rounded.
        QTest::newRow(qPrintable(QStringLiteral("999 ms") + suffix)) << m << bytes("\xE7\x03") << QStringLiteral("0");
        QTest::newRow(qPrintable(QStringLiteral("65535 ms") + suffix)) << m << bytes("\xFF\xFF") << QStringLiteral("65");
        QTest::newRow(qPrintable(QStringLiteral("0 ms") + suffix)) << m << bytes("\x00\x00") << QStringLiteral("0");
    }
}

void TestStripperPage::readShowsWholeSeconds()
{
    QFETCH(TestMedium, medium);
    QFETCH(QByteArray, stored);
    QFETCH(QString, seconds);

    PrinterWindow pw(medium, kStripperModel);
    pw.printer().setSetting(0x58, stored);
    QVERIFY(pw.open());
    pw.setText("lineEdit_PaperTime", QStringLiteral("42"));
    QVERIFY(!pw.widget("pushButton_StripperSettingSet")->isEnabled());

    pw.click("pushButton_StripperSettingRead");

    QCOMPARE(waitForFrameHex(pw, 1), QStringList{kQuery});
    // First the stripper confirmation, then the result.
    QCOMPARE(shown(pw), (QStringList{QStringLiteral("CutDialog"), kDone}));
    QCOMPARE(pw.boxes().boxes().first().title, kTitle);
    QCOMPARE(pw.widget<QLineEdit>("lineEdit_PaperTime")->text(), seconds);
    QVERIFY(pw.widget("pushButton_StripperSettingSet")->isEnabled());
    QVERIFY(pw.widget("tabWidget_2")->isEnabled());
}

void TestStripperPage::setSendsMilliseconds_data()
{
    QTest::addColumn<TestMedium>("medium");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("frame");   // empty: refused before sending

    const struct
    {
        const char *name;
        const char *text;
        const char *frame;
    } rows[] = {
        {"3 s", "3", "1B FF FE 01 58 02 B8 0B 1B FE FF"},
        {"0 s", "0", "1B FF FE 01 58 02 00 00 1B FE FF"},
        {"65 s, the most that fits", "65", "1B FF FE 01 58 02 E8 FD 1B FE FF"},
        // Not a number counts as 0.
        {"empty", "", "1B FF FE 01 58 02 00 00 1B FE FF"},
        // 66 000 ms would go out as its low 16 bits (464 ms).
        {"66 s", "66", ""},
        {"1000 s", "1000", ""},
        {"65536 s", "65536", ""},
        {"-1 s", "-1", ""},
    };
    for (TestMedium m : {TestMedium::Tcp, TestMedium::Usb})
        for (const auto &row : rows)
            QTest::newRow(qPrintable(QStringLiteral("%1/%2").arg(QString::fromUtf8(row.name), mediumName(m))))
                << m << QString::fromLatin1(row.text) << QString::fromLatin1(row.frame);
}

void TestStripperPage::setSendsMilliseconds()
{
    QFETCH(TestMedium, medium);
    QFETCH(QString, text);
    QFETCH(QString, frame);

    PrinterWindow pw(medium, kStripperModel);
    pw.printer().setSetting(0x58, bytes("\x88\x13"));
    QVERIFY(pw.open());
    QVERIFY(readPage(pw));
    pw.setText("lineEdit_PaperTime", text);

    pw.click("pushButton_StripperSettingSet");

    QVERIFY2(pw.boxes().count() == 1, qPrintable(describe(pw.boxes().boxes())));
    const ShownBox box = pw.boxes().last();
    QCOMPARE(box.className, QStringLiteral("QMessageBox"));   // confirmed by the read already
    QCOMPARE(box.title, kTitle);
    QCOMPARE(box.icon, QMessageBox::Information);
    if (frame.isEmpty()) {
        QVERIFY2(box.text.contains(QStringLiteral("剥离器取纸时间")) && box.text.contains(QStringLiteral("0 ~ 65")),
                 qPrintable(box.text));
        QVERIFY(nothingReachedPrinter(pw));
        QCOMPARE(pw.printer().setting(0x58), bytes("\x88\x13"));
        // The refused text stays for the user to correct.
        QCOMPARE(pw.widget<QLineEdit>("lineEdit_PaperTime")->text(), text);
        return;
    }
    QCOMPARE(box.text, kDone);
    QCOMPARE(waitForFrameHex(pw, 1), QStringList{frame});
    QCOMPARE(pw.printer().setting(0x58), frameBytes(qPrintable(frame)).mid(6, 2));
}

// The stripper is confirmed once per device selection: the first read asks,
// later reads and sets do not, and opening the printer again asks again.
void TestStripperPage::confirmationOncePerSelection()
{
    QFETCH(TestMedium, medium);
    PrinterWindow pw(medium, kStripperModel);
    QVERIFY(pw.open());

    pw.click("pushButton_StripperSettingRead");
    QCOMPARE(shown(pw), (QStringList{QStringLiteral("CutDialog"), kDone}));
    pw.boxes().clear();
    pw.click("pushButton_StripperSettingRead");
    QCOMPARE(shown(pw), QStringList{kDone});
    pw.boxes().clear();
    pw.setText("lineEdit_PaperTime", QStringLiteral("3"));
    pw.click("pushButton_StripperSettingSet");
    QCOMPARE(shown(pw), QStringList{kDone});
    QCOMPARE(waitForFrameHex(pw, 3).size(), 3);

    pw.click("pushButton_close");
    QVERIFY(pw.open());
    // A new selection disables the set button until the page is read again.
    QVERIFY(!pw.widget("pushButton_StripperSettingSet")->isEnabled());
    pw.click("pushButton_StripperSettingRead");
    QCOMPARE(shown(pw), (QStringList{QStringLiteral("CutDialog"), kDone}));
    QCOMPARE(waitForFrameHex(pw, 1), QStringList{kQuery});
}

// Cancelling the confirmation on the set button sends nothing and shows
// nothing more; the question comes back on the next click.
void TestStripperPage::cancelledSetSendsNothing()
{
    QFETCH(TestMedium, medium);
    PrinterWindow pw(medium, kStripperModel);
    QVERIFY(pw.open());
    // Unconfirmed with an enabled set button: the page reads nothing
    // without a confirmation, so only the handler's own check is left.
    pw.widget("pushButton_StripperSettingSet")->setEnabled(true);
    pw.setText("lineEdit_PaperTime", QStringLiteral("3"));
    pw.boxes().setDialogAnswer(false);

    pw.click("pushButton_StripperSettingSet");

    QCOMPARE(shown(pw), QStringList{QStringLiteral("CutDialog")});
    QVERIFY(nothingReachedPrinter(pw));

    pw.boxes().clear();
    pw.boxes().setDialogAnswer(true);
    pw.click("pushButton_StripperSettingSet");
    QCOMPARE(shown(pw), (QStringList{QStringLiteral("CutDialog"), kDone}));
    QCOMPARE(waitForFrameHex(pw, 1), QStringList{QStringLiteral("1B FF FE 01 58 02 B8 0B 1B FE FF")});
}

void TestStripperPage::cancelledReadKeepsSetDisabled()
{
    QFETCH(TestMedium, medium);
    PrinterWindow pw(medium, kStripperModel);
    QVERIFY(pw.open());
    pw.setText("lineEdit_PaperTime", QStringLiteral("42"));
    pw.boxes().setDialogAnswer(false);

    pw.click("pushButton_StripperSettingRead");

    QCOMPARE(shown(pw), QStringList{QStringLiteral("CutDialog")});
    QVERIFY(nothingReachedPrinter(pw));
    QVERIFY(!pw.widget("pushButton_StripperSettingSet")->isEnabled());
    QCOMPARE(pw.widget<QLineEdit>("lineEdit_PaperTime")->text(), QStringLiteral("42"));
    QVERIFY(pw.widget("tabWidget_2")->isEnabled());

    pw.boxes().clear();
    pw.boxes().setDialogAnswer(true);
    pw.click("pushButton_StripperSettingRead");
    QCOMPARE(shown(pw), (QStringList{QStringLiteral("CutDialog"), kDone}));
}

void TestStripperPage::setAfterCloseRefused()
{
    for (TestMedium medium : {TestMedium::Tcp, TestMedium::Usb}) {
        PrinterWindow pw(medium, kStripperModel);
        QVERIFY(pw.open());
        QVERIFY(readPage(pw));
        pw.click("pushButton_close");
        pw.boxes().clear();
        pw.clearFrames();
        QVERIFY(pw.widget("pushButton_StripperSettingSet")->isEnabled());

        pw.click("pushButton_StripperSettingSet");

        QCOMPARE(shown(pw), QStringList{QStringLiteral("请先打开设备")});
        QVERIFY(nothingReachedPrinter(pw));
    }
}

void TestStripperPage::failedReadReported_data()
{
    QTest::addColumn<TestMedium>("medium");
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("message");
    QTest::newRow("tcp printer off") << TestMedium::Tcp << QStringLiteral("off") << QStringLiteral("网络通讯出错，请重试");
    // Takes the network exchange's full time-out.
    QTest::newRow("tcp silent") << TestMedium::Tcp << QStringLiteral("silent") << QStringLiteral("网络通讯出错，请重试");
    QTest::newRow("usb unplugged") << TestMedium::Usb << QStringLiteral("unplug") << QStringLiteral("USB通讯出错，请重试");
}

void TestStripperPage::failedReadReported()
{
    QFETCH(TestMedium, medium);
    QFETCH(QString, fault);
    QFETCH(QString, message);

    PrinterWindow pw(medium, kStripperModel);
    QVERIFY(pw.open());
    pw.setText("lineEdit_PaperTime", QStringLiteral("42"));
    if (fault == QLatin1String("off")) {
        pw.net()->stop();
    } else if (fault == QLatin1String("silent")) {
        emu::Faults silent;
        silent.silent = true;
        pw.printer().setFaults(silent);
    } else {
        PrinterWindow::usb().unplug(pw.usbId());
    }

    pw.click("pushButton_StripperSettingRead");

    QCOMPARE(shown(pw), (QStringList{QStringLiteral("CutDialog"), message}));
    QCOMPARE(pw.widget<QLineEdit>("lineEdit_PaperTime")->text(), QStringLiteral("42"));
    QVERIFY(!pw.widget("pushButton_StripperSettingSet")->isEnabled());
    QVERIFY(pw.widget("tabWidget_2")->isEnabled());
    QVERIFY(pw.widget("pushButton_getPrinterInfo")->isEnabled());
}

// Over USB a reply for another code fails the frame check (result 1): the
// field keeps its text, no message is shown, and because the result
// reporter passed the code over, the set button is enabled.
void TestStripperPage::malformedReplyPassesSilently()
{
    PrinterWindow pw(TestMedium::Usb, kStripperModel);
    pw.printer().setSetting(0x58, bytes("\x88\x13"));
    QVERIFY(pw.open());
    pw.setText("lineEdit_PaperTime", QStringLiteral("42"));
    emu::Faults wrong;
    wrong.wrongCode = true;
    pw.printer().setFaults(wrong);

    pw.click("pushButton_StripperSettingRead");

    QCOMPARE(pw.frameHex(), QStringList{kQuery});
    QCOMPARE(shown(pw), QStringList{QStringLiteral("CutDialog")});
    QCOMPARE(pw.widget<QLineEdit>("lineEdit_PaperTime")->text(), QStringLiteral("42"));
    QVERIFY(pw.widget("pushButton_StripperSettingSet")->isEnabled());
}

QTEST_MAIN(TestStripperPage)
#include "tst_stripper_page.moc"
