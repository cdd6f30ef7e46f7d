// The stripper page ("剥离器设置") against the emulated printer: the
// paper-take time read in milliseconds and shown in whole seconds, written
// back in milliseconds, the range the 16-bit field allows, and the
// confirmation dialog asked once per device selection.
#include "page_test_support.h"
#include "pages/cutdialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>

namespace {

const QString kQuery = QStringLiteral("1B FF FE 02 58 00 1B FE FF");
const QString kDialog = QStringLiteral("CutDialog");
// Only these models have the stripper page.
const QString kStripperModel = QStringLiteral("ZD-N480");

// What the user was shown, as "CutDialog" or the message text.
QStringList shownBoxes(PrinterWindow &pw)
{
    QStringList result;
    for (const ShownBox &b : pw.boxes().boxes())
        result << (b.className == QLatin1String("QMessageBox") ? b.text : b.className);
    return result;
}

// Reads the page, confirming the stripper; true when the read succeeded.
// Forgets the boxes and frames it took.
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

class TestStripperPage : public GuiTest
{
    Q_OBJECT

private slots:

    void confirmationDialogForm();
    void readShowsWholeSeconds_data();
    void readShowsWholeSeconds();
    void setSendsMilliseconds_data();
    void setSendsMilliseconds();
    void confirmationOncePerSelection_data() { addMediumRows(); }
    void confirmationOncePerSelection();
    void cancelledConfirmation_data();
    void cancelledConfirmation();
    void setAfterCloseRefused_data() { addMediumRows(); }
    void setAfterCloseRefused();
    void failedReadReported_data();
    void failedReadReported();
    void malformedReplyPassesSilently();

};

void TestStripperPage::confirmationDialogForm()
{
    QWidget parent;
    CutDialog dialog(&parent);
    QCOMPARE(dialog.objectName(), kDialog);
    QCOMPARE(dialog.windowTitle(), kTitle);
    QCOMPARE(dialog.findChild<QLabel *>(QStringLiteral("label"))->text(),
             QStringLiteral("请确保打印机是否已经安装/连接对应剥离器"));
    auto *buttons = dialog.findChild<QDialogButtonBox *>(QStringLiteral("buttonBox"));
    QVERIFY(buttons);
    QCOMPARE(buttons->buttons().size(), 2);
    QCOMPARE(buttons->button(QDialogButtonBox::Ok)->text(), QStringLiteral("确定"));
    QCOMPARE(buttons->button(QDialogButtonBox::Cancel)->text(), QStringLiteral("取消"));
    dialog.open();
    QTest::mouseClick(buttons->button(QDialogButtonBox::Ok), Qt::LeftButton);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    dialog.open();
    QTest::mouseClick(buttons->button(QDialogButtonBox::Cancel), Qt::LeftButton);
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
}

void TestStripperPage::readShowsWholeSeconds_data()
{
    QTest::addColumn<TestMedium>("medium");
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<QString>("seconds");
    QTest::newRow("5000 ms/tcp") << TestMedium::Tcp << bytes("\x88\x13") << QStringLiteral("5");
    // The remainder is dropped, not rounded.
    QTest::newRow("999 ms/usb") << TestMedium::Usb << bytes("\xE7\x03") << QStringLiteral("0");
    QTest::newRow("65535 ms/tcp") << TestMedium::Tcp << bytes("\xFF\xFF") << QStringLiteral("65");
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
    QCOMPARE(shownBoxes(pw), (QStringList{kDialog, kDone}));
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
    QTest::newRow("3 s/tcp") << TestMedium::Tcp << "3" << "1B FF FE 01 58 02 B8 0B 1B FE FF";
    QTest::newRow("65 s, the most that fits/usb") << TestMedium::Usb << "65" << "1B FF FE 01 58 02 E8 FD 1B FE FF";
    // Not a number counts as 0.
    QTest::newRow("empty/tcp") << TestMedium::Tcp << "" << "1B FF FE 01 58 02 00 00 1B FE FF";
    // 66 000 ms would go out as its low 16 bits (464 ms).
    QTest::newRow("66 s/usb") << TestMedium::Usb << "66" << "";
    QTest::newRow("65536 s/tcp") << TestMedium::Tcp << "65536" << "";
    QTest::newRow("-1 s/usb") << TestMedium::Usb << "-1" << "";
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
}

// The stripper is confirmed once per device selection: the first read asks,
// later reads and sets do not, and opening the printer again asks again.
void TestStripperPage::confirmationOncePerSelection()
{
    QFETCH(TestMedium, medium);
    PrinterWindow pw(medium, kStripperModel);
    QVERIFY(pw.open());

    pw.click("pushButton_StripperSettingRead");
    QCOMPARE(shownBoxes(pw), (QStringList{kDialog, kDone}));
    pw.boxes().clear();
    pw.click("pushButton_StripperSettingRead");
    QCOMPARE(shownBoxes(pw), QStringList{kDone});
    pw.boxes().clear();
    pw.setText("lineEdit_PaperTime", QStringLiteral("3"));
    pw.click("pushButton_StripperSettingSet");
    QCOMPARE(shownBoxes(pw), QStringList{kDone});
    QCOMPARE(waitForFrameHex(pw, 3).size(), 3);

    pw.click("pushButton_close");
    QVERIFY(pw.open());
    // A new selection disables the set button until the page is read again.
    QVERIFY(!pw.widget("pushButton_StripperSettingSet")->isEnabled());
    pw.click("pushButton_StripperSettingRead");
    QCOMPARE(shownBoxes(pw), (QStringList{kDialog, kDone}));
    QCOMPARE(waitForFrameHex(pw, 1), QStringList{kQuery});
}

// Cancelling the confirmation sends nothing and shows nothing more (a
// cancelled read leaves the set button disabled and the field alone); the
// question comes back on the next click.
void TestStripperPage::cancelledConfirmation_data()
{
    QTest::addColumn<TestMedium>("medium");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("frame");
    QTest::newRow("read/tcp") << TestMedium::Tcp << "pushButton_StripperSettingRead" << kQuery;
    QTest::newRow("set/usb") << TestMedium::Usb << "pushButton_StripperSettingSet"
                             << "1B FF FE 01 58 02 B8 0B 1B FE FF";
}

void TestStripperPage::cancelledConfirmation()
{
    QFETCH(TestMedium, medium);
    QFETCH(QString, button);
    QFETCH(QString, frame);
    const bool isSet = button.endsWith(QLatin1String("Set"));
    PrinterWindow pw(medium, kStripperModel);
    QVERIFY(pw.open());
    // Unconfirmed with an enabled set button: only the handler's own check
    // is left.
    if (isSet)
        pw.widget("pushButton_StripperSettingSet")->setEnabled(true);
    pw.setText("lineEdit_PaperTime", QStringLiteral("3"));
    pw.boxes().setDialogAnswer(false);

    pw.click(qPrintable(button));

    QCOMPARE(shownBoxes(pw), QStringList{kDialog});
    QVERIFY(nothingReachedPrinter(pw));
    QCOMPARE(pw.widget("pushButton_StripperSettingSet")->isEnabled(), isSet);
    QCOMPARE(pw.widget<QLineEdit>("lineEdit_PaperTime")->text(), QStringLiteral("3"));
    QVERIFY(pw.widget("tabWidget_2")->isEnabled());

    pw.boxes().clear();
    pw.boxes().setDialogAnswer(true);
    pw.click(qPrintable(button));
    QCOMPARE(shownBoxes(pw), (QStringList{kDialog, kDone}));
    QCOMPARE(waitForFrameHex(pw, 1), QStringList{frame});
}

// Closing leaves the set button as the read left it; the handler itself
// must notice that nothing is open.
void TestStripperPage::setAfterCloseRefused()
{
    QFETCH(TestMedium, medium);
    PrinterWindow pw(medium, kStripperModel);
    QVERIFY(pw.open());
    QVERIFY(readPage(pw));
    pw.click("pushButton_close");
    pw.boxes().clear();
    pw.clearFrames();
    QVERIFY(pw.widget("pushButton_StripperSettingSet")->isEnabled());

    pw.click("pushButton_StripperSettingSet");

    QCOMPARE(shownBoxes(pw), QStringList{kOpenFirst});
    QVERIFY(nothingReachedPrinter(pw));
}

void TestStripperPage::failedReadReported_data()
{
    QTest::addColumn<TestMedium>("medium");
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("message");
    QTest::newRow("tcp printer off") << TestMedium::Tcp << "off" << kNetError;
    // Takes the network exchange's full time-out.
    QTest::newRow("tcp silent") << TestMedium::Tcp << "silent" << kNetError;
    QTest::newRow("usb unplugged") << TestMedium::Usb << "unplug" << kUsbError;
}

void TestStripperPage::failedReadReported()
{
    QFETCH(TestMedium, medium);
    QFETCH(QString, fault);
    QFETCH(QString, message);
    PrinterWindow pw(medium, kStripperModel);
    QVERIFY(pw.open());
    pw.setText("lineEdit_PaperTime", QStringLiteral("42"));
    cutOff(pw, fault);

    pw.click("pushButton_StripperSettingRead");

    QCOMPARE(shownBoxes(pw), (QStringList{kDialog, message}));
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
    QCOMPARE(shownBoxes(pw), QStringList{kDialog});
    QCOMPARE(pw.widget<QLineEdit>("lineEdit_PaperTime")->text(), QStringLiteral("42"));
    QVERIFY(pw.widget("pushButton_StripperSettingSet")->isEnabled());
}

QTEST_MAIN(TestStripperPage)
#include "tst_stripper_page.moc"
