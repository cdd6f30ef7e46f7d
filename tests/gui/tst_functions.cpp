// The function tab and the printer-information group against the emulated
// printer: the exact frame behind every function button on both media, the
// open-device guard of every handler, reboot and initialisation returning
// the window to the not-connected state, and the information group.
#include "function_test_support.h"
#include "mainwindow.h"
#include "tools/emulator/net/net_faces.h"
#include "tools/emulator/usb/usb_face.h"
#include "ui/shared_state.h"

#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>

Q_DECLARE_METATYPE(TestMedium)

namespace {

const QString kTitle = QStringLiteral("设置工具");
const QString kDone = QStringLiteral("处理成功");
const QString kOpenFirst = QStringLiteral("请先打开设备");

// A byte string literal with its embedded zeros (not its terminator).
template<size_t N> QByteArray bytes(const char (&text)[N])
{
    return QByteArray(text, qsizetype(N - 1));
}

void addMediumRows(const char *name)
{
    for (TestMedium m : {TestMedium::Tcp, TestMedium::Usb})
        QTest::newRow(qPrintable(QStringLiteral("%1/%2").arg(QLatin1String(name), mediumName(m)))) << m;
}

// The widgets a close hands back to the user, and the ones it takes away.
const char *const kEnabledWhenClosed[] = {"pushButton_getList", "checkBox_USB", "checkBox_NET",
                                          "checkBox_WIFI", "comboBox_ScanResult", "pushButton_open"};

// Lists the printer without opening it: the state just before "打开设备".
void refreshOnly(PrinterWindow &pw)
{
    if (pw.medium() == TestMedium::Tcp) {
        clickBox(pw.widget<QCheckBox>("checkBox_WIFI"));
        pw.setText("lineEdit_ConnectAddr", QStringLiteral("127.0.0.1"));
        pw.setText("lineEdit_ConnectTCPPort", QString::number(pw.net()->tcpPort()));
    }
    pw.click("pushButton_getList");
}

} // namespace

class TestFunctions : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void functionButtonSendsItsFrame_data();
    void functionButtonSendsItsFrame();
    void outletLearningClickedThroughItsCaption();

    void handlersRefuseWithoutOpenDevice_data();
    void handlersRefuseWithoutOpenDevice();
    void printerInfoRefusesWithoutOpenDevice();

    void printerInfoFillsGroup_data();
    void printerInfoFillsGroup();
    void printerInfoModelFromIdentity_data();
    void printerInfoModelFromIdentity();
    void printerInfoLocksWindowWhileReading();
    void printerInfoMalformedRepliesPassSilently();

    void rebootClosesConnectionBeforeReporting_data();
    void rebootClosesConnectionBeforeReporting();
    void initialisationReportsThenCloses_data();
    void initialisationReportsThenCloses();
    void failedRebootOrInitKeepsConnection_data();
    void failedRebootOrInitKeepsConnection();
    void unselectableMediumSendsNothing_data();
    void unselectableMediumSendsNothing();

private:
    TestSettingsLocation m_settings;
};

void TestFunctions::initTestCase()
{
    // The emulated USB bus must exist before libusb is first initialised.
    PrinterWindow::usb();
}

// ---------------------------------------------------------------------------
// Function buttons

void TestFunctions::functionButtonSendsItsFrame_data()
{
    QTest::addColumn<TestMedium>("medium");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("frame");

    const struct
    {
        const char *button;
        const char *frame;
    } rows[] = {
        {"pushButton_SelfCheck", "1B FF FE 00 00 00 1B FE FF"},
        {"pushButton_Reboot", "1B FF FE 00 02 00 1B FE FF"},
        {"pushButton_PrinterInit", "1B FF FE 00 05 00 1B FE FF"},
        {"pushButton_SeamLrn", "1B FF FE 00 07 00 1B FE FF"},
        {"pushButton_BlackLableLrn", "1B FF FE 00 08 00 1B FE FF"},
        {"pushButton_DACLrn", "1B FF FE 00 09 00 1B FE FF"},
        {"pushButton_OutietLrn", "1B FF FE 00 0A 00 1B FE FF"},
        {"pushButton_NopaperLrn", "1B FF FE 00 0D 00 1B FE FF"},
        {"pushButton_HalfCut", "1B FF FE 01 25 01 00 1B FE FF"},
        {"pushButton_AllCut", "1B FF FE 01 25 01 01 1B FE FF"},
        {"pushButton_StripMode", "1B FF FE 01 25 01 02 1B FE FF"},
        {"pushButton_TearMode", "1B FF FE 01 25 01 03 1B FE FF"},
        {"pushButton_KeySettingOpen", "1B FF FE 01 22 01 00 1B FE FF"},
        {"pushButton_KeySettingClose", "1B FF FE 01 22 01 01 1B FE FF"},
        {"pushButton_BuzzerOpen", "1B FF FE 01 23 01 00 1B FE FF"},
        {"pushButton_BuzzerClose", "1B FF FE 01 23 01 01 1B FE FF"},
    };
    for (TestMedium m : {TestMedium::Tcp, TestMedium::Usb}) {
        for (const auto &row : rows) {
            const QString name = QString::fromLatin1(row.button).mid(int(strlen("pushButton_")));
            QTest::newRow(qPrintable(name + QLatin1Char('/') + mediumName(m)))
                << m << QString::fromLatin1(row.button) << QString::fromLatin1(row.frame);
        }
    }
}

void TestFunctions::functionButtonSendsItsFrame()
{
    QFETCH(TestMedium, medium);
    QFETCH(QString, button);
    QFETCH(QString, frame);

    PrinterWindow pw(medium);
    QVERIFY(pw.open());
    pw.click(qPrintable(button));

    QCOMPARE(waitForFrameHex(pw, 1), QStringList{frame});
    QVERIFY2(pw.boxes().count() == 1, qPrintable(describe(pw.boxes().boxes())));
    const ShownBox box = pw.boxes().last();
    QCOMPARE(box.title, kTitle);
    QCOMPARE(box.text, kDone);
    QCOMPARE(box.icon, QMessageBox::Information);
    // A function frame is never answered: nothing is read back, and no
    // bytes outside the frame went out.
    QCOMPARE(pw.printer().rawByteCount(), 0);
}

// The paper-exit learning button's caption is a label laid over it; a
// click on that caption must reach the button.
void TestFunctions::outletLearningClickedThroughItsCaption()
{
    PrinterWindow pw(TestMedium::Usb);
    QVERIFY(pw.open());
    pw.widget<QTabWidget>("tabWidget_2")->setCurrentIndex(1);
    auto *button = pw.widget<QPushButton>("pushButton_OutietLrn");
    QWidget *caption = pw.widget("label_42");
    QVERIFY(caption->isVisible());
    QCOMPARE(caption->geometry(), button->geometry());

    const QPoint inWindow = button->mapTo(pw.window(), button->rect().center());
    QCOMPARE(pw.window()->childAt(inWindow), static_cast<QWidget *>(button));
    QTest::mouseClick(pw.window()->windowHandle(), Qt::LeftButton, {}, inWindow);

    QVERIFY(pw.boxes().waitForCount(1));
    QCOMPARE(pw.frameHex(), QStringList{QStringLiteral("1B FF FE 00 0A 00 1B FE FF")});
    QCOMPARE(pw.boxes().last().text, kDone);
}

// ---------------------------------------------------------------------------
// The open-device guard

void TestFunctions::handlersRefuseWithoutOpenDevice_data()
{
    QTest::addColumn<TestMedium>("medium");
    QTest::addColumn<QString>("button");

    const char *const buttons[] = {
        "pushButton_SelfCheck", "pushButton_Reboot", "pushButton_PrinterInit", "pushButton_SeamLrn",
        "pushButton_BlackLableLrn", "pushButton_DACLrn", "pushButton_OutietLrn", "pushButton_NopaperLrn",
        "pushButton_HalfCut", "pushButton_AllCut", "pushButton_StripMode", "pushButton_TearMode",
        "pushButton_KeySettingOpen", "pushButton_KeySettingClose", "pushButton_BuzzerOpen",
        "pushButton_BuzzerClose", "pushButton_GetPrinterStatus", "pushButton_ComSettingRead",
        "pushButton_ComSettingSet", "pushButton_StripperSettingRead", "pushButton_StripperSettingSet",
    };
    for (TestMedium m : {TestMedium::Tcp, TestMedium::Usb}) {
        for (const char *b : buttons) {
            const QString name = QString::fromLatin1(b).mid(int(strlen("pushButton_")));
            QTest::newRow(qPrintable(name + QLatin1Char('/') + mediumName(m))) << m << QString::fromLatin1(b);
        }
    }
}

void TestFunctions::handlersRefuseWithoutOpenDevice()
{
    QFETCH(TestMedium, medium);
    QFETCH(QString, button);

    // A stripper-capable model, so that nothing but the missing device can
    // stop the stripper buttons.
    PrinterWindow pw(medium, QStringLiteral("ZD-N480"));
    refreshOnly(pw);
    QVERIFY(pw.widget<QComboBox>("comboBox_ScanResult")->count() > 0);
    QVERIFY(pw.widget<QPushButton>("pushButton_open")->isEnabled());
    // Set buttons stay enabled after a read when the printer is closed
    // again; the handler itself must notice that nothing is open.
    pw.widget<QPushButton>(qPrintable(button))->setEnabled(true);
    pw.boxes().clear();
    pw.clearFrames();
    const emu::UsbStats before = medium == TestMedium::Usb ? PrinterWindow::usb().stats(pw.usbId()) : emu::UsbStats{};

    pw.click(qPrintable(button));

    QVERIFY2(pw.boxes().count() == 1, qPrintable(describe(pw.boxes().boxes())));
    const ShownBox box = pw.boxes().last();
    QCOMPARE(box.className, QStringLiteral("QMessageBox"));  // no stripper dialog either
    QCOMPARE(box.title, kTitle);
    QCOMPARE(box.text, kOpenFirst);
    QCOMPARE(box.icon, QMessageBox::Information);
    QVERIFY(nothingReachedPrinter(pw));
    if (medium == TestMedium::Usb) {
        const emu::UsbStats after = PrinterWindow::usb().stats(pw.usbId());
        QCOMPARE(after.opens, before.opens);
        QCOMPARE(after.controlReads, before.controlReads);
        QCOMPARE(after.outBytes, before.outBytes);
    }
}

void TestFunctions::printerInfoRefusesWithoutOpenDevice()
{
    for (TestMedium medium : {TestMedium::Tcp, TestMedium::Usb}) {
        PrinterWindow pw(medium);
        refreshOnly(pw);
        pw.boxes().clear();
        pw.clearFrames();
        pw.click("pushButton_getPrinterInfo");
        QVERIFY2(pw.boxes().count() == 1, qPrintable(describe(pw.boxes().boxes())));
        QCOMPARE(pw.boxes().last().title, kTitle);
        QCOMPARE(pw.boxes().last().text, QStringLiteral("设备未打开!"));
        QCOMPARE(pw.boxes().last().icon, QMessageBox::Critical);
        QVERIFY(nothingReachedPrinter(pw));
        QVERIFY(pw.widget<QTextBrowser>("textBrowser_Model")->toPlainText().isEmpty());
    }
}

// ---------------------------------------------------------------------------
// Printer information

void TestFunctions::printerInfoFillsGroup_data()
{
    QTest::addColumn<TestMedium>("medium");
    QTest::addColumn<QString>("model");
    QTest::addColumn<int>("dpi");
    QTest::addColumn<int>("widthDots");
    QTest::addColumn<QString>("shownDpi");
    QTest::addColumn<QString>("shownWidth");

    for (TestMedium m : {TestMedium::Tcp, TestMedium::Usb}) {
        // 2C 01 60 03 on an 8-dot printer: 864 / 8.
        QTest::newRow(qPrintable(QStringLiteral("8dots/") + mediumName(m)))
            << m << QStringLiteral("LP-200") << 0x012C << 0x0360 << QStringLiteral("300") << QStringLiteral("108");
        // Width 80 05 on a 12-dot printer: 1408 / 12, remainder dropped.
        QTest::newRow(qPrintable(QStringLiteral("12dots/") + mediumName(m)))
            << m << QStringLiteral("ZD-N480") << 0x012C << 0x0580 << QStringLiteral("300") << QStringLiteral("117");
    }
}

void TestFunctions::printerInfoFillsGroup()
{
    QFETCH(TestMedium, medium);
    QFETCH(QString, model);
    QFETCH(int, dpi);
    QFETCH(int, widthDots);
    QFETCH(QString, shownDpi);
    QFETCH(QString, shownWidth);

    PrinterWindow pw(medium, model);
    pw.printer().setFirmwareVersion(QStringLiteral("V2.3.17 固件"));
    pw.printer().setResolution(quint16(dpi), quint16(widthDots));
    QVERIFY(pw.open());

    pw.click("pushButton_getPrinterInfo");

    QCOMPARE(waitForFrameHex(pw, 3), (QStringList{QStringLiteral("1B FF FE 00 04 00 1B FE FF"),
                                                  QStringLiteral("1B FF FE 00 0B 00 1B FE FF"),
                                                  QStringLiteral("1B FF FE 02 0C 00 1B FE FF")}));
    QVERIFY2(pw.boxes().count() == 1, qPrintable(describe(pw.boxes().boxes())));
    QCOMPARE(pw.boxes().last().text, kDone);
    QCOMPARE(pw.widget<QTextBrowser>("textBrowser_Ver")->toPlainText(), QStringLiteral("V2.3.17 固件"));
    QCOMPARE(pw.widget<QTextBrowser>("textBrowser_DPI")->toPlainText(), shownDpi);
    QCOMPARE(pw.widget<QTextBrowser>("textBrowser_MaxPaperWidth")->toPlainText(), shownWidth);
    QCOMPARE(pw.widget<QTextBrowser>("textBrowser_Model")->toPlainText(), model);
    // The window is unlocked again.
    QVERIFY(pw.widget<QTabWidget>("tabWidget_2")->isEnabled());
    QVERIFY(pw.widget<QPushButton>("pushButton_getPrinterInfo")->isEnabled());
}

void TestFunctions::printerInfoModelFromIdentity_data()
{
    QTest::addColumn<TestMedium>("medium");
    QTest::addColumn<QByteArray>("identity");
    QTest::addColumn<QString>("model");

    for (TestMedium m : {TestMedium::Tcp, TestMedium::Usb}) {
        const QString suffix = QLatin1Char('/') + mediumName(m);
        QTest::newRow(qPrintable(QStringLiteral("five texts") + suffix))
            << m << bytes("VID\0ABC\0MFG:X;\0PID\0MSG\0") << QStringLiteral("ABC");
        QTest::newRow(qPrintable(QStringLiteral("utf-8 model") + suffix))
            << m << bytes("V\0标签机\0M\0P\0E\0") << QStringLiteral("标签机");
        // The zeros after the payload end every field: the whole payload is
        // field 0 and the model is empty.
        QTest::newRow(qPrintable(QStringLiteral("no 00 at all") + suffix))
            << m << bytes("ABCDEFGH") << QString();
        QTest::newRow(qPrintable(QStringLiteral("two texts") + suffix))
            << m << bytes("A\0B") << QStringLiteral("B");
    }
}

void TestFunctions::printerInfoModelFromIdentity()
{
    QFETCH(TestMedium, medium);
    QFETCH(QByteArray, identity);
    QFETCH(QString, model);

    PrinterWindow pw(medium);
    QVERIFY(pw.open());
    pw.widget<QTextBrowser>("textBrowser_Model")->setPlainText(QStringLiteral("from before"));
    pw.printer().setSetting(0x0C, identity);

    pw.click("pushButton_getPrinterInfo");

    QVERIFY2(pw.boxes().count() == 1, qPrintable(describe(pw.boxes().boxes())));
    QCOMPARE(pw.boxes().last().text, kDone);
    QCOMPARE(pw.widget<QTextBrowser>("textBrowser_Model")->toPlainText(), model);
}

// The read holds the window's exchange starters locked until the printer
// has answered. Over TCP the window keeps handling events while it waits,
// so a timer can look at it mid-exchange.
void TestFunctions::printerInfoLocksWindowWhileReading()
{
    PrinterWindow pw(TestMedium::Tcp);
    QVERIFY(pw.open());
    emu::Faults slow;
    slow.delayMs = 300;
    pw.printer().setFaults(slow);

    const char *const locked[] = {"pushButton_close", "tabWidget_2", "pushButton_getPrinterInfo", "pushButton_Send",
                                  "pushButton_SendFile"};
    QStringList enabledMidway;
    bool looked = false;
    QTimer::singleShot(100, pw.window(), [&] {
        looked = true;
        for (const char *name : locked)
            if (pw.widget(name)->isEnabled())
                enabledMidway << QLatin1String(name);
    });
    pw.click("pushButton_getPrinterInfo");

    QVERIFY(looked);
    QCOMPARE(enabledMidway, QStringList());
    for (const char *name : locked)
        QVERIFY2(pw.widget(name)->isEnabled(), name);
    QCOMPARE(pw.boxes().last().text, kDone);
}

// Over USB a reply for the wrong code still arrives and fails the frame
// check (result 1). The result reporter passes that code over without a
// message, and none of the fields may take the rejected payload.
void TestFunctions::printerInfoMalformedRepliesPassSilently()
{
    PrinterWindow pw(TestMedium::Usb);
    QVERIFY(pw.open());
    for (const char *name : {"textBrowser_Ver", "textBrowser_DPI", "textBrowser_MaxPaperWidth", "textBrowser_Model"})
        pw.widget<QTextBrowser>(name)->setPlainText(QStringLiteral("kept"));
    emu::Faults wrong;
    wrong.wrongCode = true;
    pw.printer().setFaults(wrong);

    pw.click("pushButton_getPrinterInfo");

    QCOMPARE(pw.frames().size(), 3);
    QVERIFY2(pw.boxes().count() == 0, qPrintable(describe(pw.boxes().boxes())));
    for (const char *name : {"textBrowser_Ver", "textBrowser_DPI", "textBrowser_MaxPaperWidth", "textBrowser_Model"})
        QCOMPARE(pw.widget<QTextBrowser>(name)->toPlainText(), QStringLiteral("kept"));
    QVERIFY(pw.widget<QTabWidget>("tabWidget_2")->isEnabled());
}

// ---------------------------------------------------------------------------
// Reboot and initialisation

namespace {

struct WindowState
{
    bool seen = false;
    bool openEnabled = false;
    bool closeEnabled = false;
    int updateProgress = -1;
    int debugProgress = -1;
};

WindowState stateOf(PrinterWindow &pw)
{
    WindowState s;
    s.seen = true;
    s.openEnabled = pw.widget("pushButton_open")->isEnabled();
    s.closeEnabled = pw.widget("pushButton_close")->isEnabled();
    s.updateProgress = pw.widget<QProgressBar>("progressBar_Update")->value();
    s.debugProgress = pw.widget<QProgressBar>("progressBar_Debug")->value();
    return s;
}

void verifyClosedState(PrinterWindow &pw)
{
    for (const char *name : kEnabledWhenClosed)
        QVERIFY2(pw.widget(name)->isEnabled(), name);
    QVERIFY(!pw.widget("pushButton_close")->isEnabled());
    // The media that cannot be chosen stay unavailable.
    QVERIFY(!pw.widget("checkBox_BLE")->isEnabled());
    QVERIFY(!pw.widget("checkBox_Serialport")->isEnabled());
    // The list keeps the printer, ready to be opened again.
    QVERIFY(pw.widget<QComboBox>("comboBox_ScanResult")->count() > 0);
}

void verifyOpenState(PrinterWindow &pw)
{
    QVERIFY(!pw.widget("pushButton_open")->isEnabled());
    QVERIFY(pw.widget("pushButton_close")->isEnabled());
    QVERIFY(!pw.widget("pushButton_getList")->isEnabled());
    QVERIFY(!pw.widget("comboBox_ScanResult")->isEnabled());
}

void setProgress(PrinterWindow &pw, int update, int debug)
{
    pw.widget<QProgressBar>("progressBar_Update")->setValue(update);
    pw.widget<QProgressBar>("progressBar_Debug")->setValue(debug);
}

// After the window went back to the not-connected state, the same list
// entry opens again and the printer answers.
void verifyReopens(PrinterWindow &pw)
{
    pw.boxes().clear();
    pw.clearFrames();
    pw.click("pushButton_open");
    QVERIFY2(pw.boxes().count() == 1, qPrintable(describe(pw.boxes().boxes())));
    QCOMPARE(pw.boxes().last().text, QStringLiteral("连接成功！"));
    pw.boxes().clear();
    pw.click("pushButton_SelfCheck");
    QCOMPARE(waitForFrameHex(pw, 1), QStringList{QStringLiteral("1B FF FE 00 00 00 1B FE FF")});
    QCOMPARE(pw.boxes().last().text, kDone);
}

} // namespace

void TestFunctions::rebootClosesConnectionBeforeReporting_data()
{
    QTest::addColumn<TestMedium>("medium");
    addMediumRows("reboot");
}

void TestFunctions::rebootClosesConnectionBeforeReporting()
{
    QFETCH(TestMedium, medium);
    PrinterWindow pw(medium);
    QVERIFY(pw.open());
    setProgress(pw, 40, 60);
    WindowState atMessage;
    OnMessageBoxShown watch([&](QMessageBox *) { atMessage = stateOf(pw); });

    QElapsedTimer clock;
    clock.start();
    pw.click("pushButton_Reboot");
    const qint64 took = clock.elapsed();

    QCOMPARE(waitForFrameHex(pw, 1), QStringList{QStringLiteral("1B FF FE 00 02 00 1B FE FF")});
    QVERIFY2(pw.boxes().count() == 1, qPrintable(describe(pw.boxes().boxes())));
    QCOMPARE(pw.boxes().last().text, kDone);
    // By the time the user reads "处理成功" the window is already closed
    // and both progress bars are back at 0.
    QVERIFY(atMessage.seen);
    QVERIFY(atMessage.openEnabled);
    QVERIFY(!atMessage.closeEnabled);
    QCOMPARE(atMessage.updateProgress, 0);
    QCOMPARE(atMessage.debugProgress, 0);
    verifyClosedState(pw);
    QCOMPARE(pw.widget<QProgressBar>("progressBar_Update")->value(), 0);
    QCOMPARE(pw.widget<QProgressBar>("progressBar_Debug")->value(), 0);
    // The network printer is given half a second to drop its end before
    // anything else may reach it.
    if (medium == TestMedium::Tcp)
        QVERIFY2(took >= 500, qPrintable(QString::number(took)));

    verifyReopens(pw);
}

void TestFunctions::initialisationReportsThenCloses_data()
{
    QTest::addColumn<TestMedium>("medium");
    addMediumRows("init");
}

void TestFunctions::initialisationReportsThenCloses()
{
    QFETCH(TestMedium, medium);
    PrinterWindow pw(medium);
    QVERIFY(pw.open());
    setProgress(pw, 40, 60);
    WindowState atMessage;
    OnMessageBoxShown watch([&](QMessageBox *) { atMessage = stateOf(pw); });

    pw.click("pushButton_PrinterInit");

    QCOMPARE(waitForFrameHex(pw, 1), QStringList{QStringLiteral("1B FF FE 00 05 00 1B FE FF")});
    QVERIFY2(pw.boxes().count() == 1, qPrintable(describe(pw.boxes().boxes())));
    QCOMPARE(pw.boxes().last().text, kDone);
    // The result is reported first; the connection closes after the user
    // has acknowledged it.
    QVERIFY(atMessage.seen);
    QVERIFY(!atMessage.openEnabled);
    QVERIFY(atMessage.closeEnabled);
    verifyClosedState(pw);
    // Initialisation leaves the progress bars alone.
    QCOMPARE(pw.widget<QProgressBar>("progressBar_Update")->value(), 40);
    QCOMPARE(pw.widget<QProgressBar>("progressBar_Debug")->value(), 60);

    verifyReopens(pw);
}

void TestFunctions::failedRebootOrInitKeepsConnection_data()
{
    QTest::addColumn<TestMedium>("medium");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("message");

    const QString usbError = QStringLiteral("USB通讯出错，请重试");
    const QString netError = QStringLiteral("网络通讯出错，请重试");
    for (const char *b : {"pushButton_Reboot", "pushButton_PrinterInit"}) {
        const QString button = QString::fromLatin1(b);
        const QString name = button.mid(int(strlen("pushButton_")));
        QTest::newRow(qPrintable(name + QStringLiteral("/usb unplugged")))
            << TestMedium::Usb << button << QStringLiteral("unplug") << usbError;
        QTest::newRow(qPrintable(name + QStringLiteral("/usb claim refused")))
            << TestMedium::Usb << button << QStringLiteral("claim") << usbError;
        QTest::newRow(qPrintable(name + QStringLiteral("/tcp printer off")))
            << TestMedium::Tcp << button << QStringLiteral("off") << netError;
    }
}

void TestFunctions::failedRebootOrInitKeepsConnection()
{
    QFETCH(TestMedium, medium);
    QFETCH(QString, button);
    QFETCH(QString, fault);
    QFETCH(QString, message);

    PrinterWindow pw(medium);
    QVERIFY(pw.open());
    setProgress(pw, 40, 60);
    if (fault == QLatin1String("unplug"))
        PrinterWindow::usb().unplug(pw.usbId());
    else if (fault == QLatin1String("claim"))
        PrinterWindow::usb().setClaimRefused(pw.usbId(), true);
    else
        pw.net()->stop();

    pw.click(qPrintable(button));

    QVERIFY2(pw.boxes().count() == 1, qPrintable(describe(pw.boxes().boxes())));
    QCOMPARE(pw.boxes().last().title, kTitle);
    QCOMPARE(pw.boxes().last().text, message);
    QVERIFY(pw.frames().isEmpty());
    verifyOpenState(pw);
    QCOMPARE(pw.widget<QProgressBar>("progressBar_Update")->value(), 40);
    QCOMPARE(pw.widget<QProgressBar>("progressBar_Debug")->value(), 60);

    // Once the printer can be reached again, the same open connection
    // carries the function.
    if (fault == QLatin1String("claim")) {
        PrinterWindow::usb().setClaimRefused(pw.usbId(), false);
        pw.boxes().clear();
        pw.click(qPrintable(button));
        QCOMPARE(pw.frames().size(), 1);
        QCOMPARE(pw.boxes().last().text, kDone);
        verifyClosedState(pw);
    }
}

// The real transports only return codes that the result reporter shows
// (USB 4 and 5, network 6); the codes it passes over silently come from a
// medium without transport (-1). Reboot stays connected on any non-zero
// result; initialisation closes whenever nothing was shown.
void TestFunctions::unselectableMediumSendsNothing_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<bool>("closes");
    QTest::newRow("reboot") << QStringLiteral("pushButton_Reboot") << false;
    QTest::newRow("init") << QStringLiteral("pushButton_PrinterInit") << true;
    QTest::newRow("self-test") << QStringLiteral("pushButton_SelfCheck") << false;
    QTest::newRow("full cut") << QStringLiteral("pushButton_AllCut") << false;
}

void TestFunctions::unselectableMediumSendsNothing()
{
    QFETCH(QString, button);
    QFETCH(bool, closes);

    PrinterWindow pw(TestMedium::Usb);
    QVERIFY(pw.open());
    setProgress(pw, 40, 60);
    const emu::UsbStats before = PrinterWindow::usb().stats(pw.usbId());
    const int savedMode = ret_mode;
    ret_mode = MediumBle;
    pw.click(qPrintable(button));
    ret_mode = savedMode;

    QVERIFY2(pw.boxes().count() == 0, qPrintable(describe(pw.boxes().boxes())));
    QVERIFY(pw.frames().isEmpty());
    QCOMPARE(PrinterWindow::usb().stats(pw.usbId()).opens, before.opens);
    if (closes)
        verifyClosedState(pw);
    else
        verifyOpenState(pw);
    QCOMPARE(pw.widget<QProgressBar>("progressBar_Update")->value(), 40);
    QCOMPARE(pw.widget<QProgressBar>("progressBar_Debug")->value(), 60);
}

QTEST_MAIN(TestFunctions)
#include "tst_functions.moc"
