// Device list refresh, stop, open, close and the adaptation of the window
// to the selected model, driven through the real window against emulated
// printers on loopback TCP and on emulated USB.
#include "page_test_support.h"

#include <QCheckBox>
#include <QLabel>
#include <QProgressBar>
#include <QScopeGuard>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QToolBox>

namespace {

const QStringList kListControls = {
    QStringLiteral("pushButton_getList"), QStringLiteral("pushButton_StopList"),
    QStringLiteral("comboBox_ScanResult"), QStringLiteral("pushButton_open"),
    QStringLiteral("pushButton_close"), QStringLiteral("checkBox_USB"),
    QStringLiteral("checkBox_NET"), QStringLiteral("checkBox_WIFI"),
    QStringLiteral("checkBox_BLE"), QStringLiteral("checkBox_Serialport")};

// getList, StopList, list, open, close, USB, NET, WIFI, BLE, Serial.
const QList<bool> kIdle = {true, false, true, true, false, true, true, true, false, false};
const QList<bool> kOpen = {false, false, false, false, true, false, false, false, false, false};

// Whether a widget was itself enabled or disabled, whatever its ancestors
// are: on the firmware-only models the whole printer-settings tab is
// disabled, and the model adaptation below it must still be right.
bool ownEnabled(const QWidget *w)
{
    return !w->testAttribute(Qt::WA_ForceDisabled);
}

// Same for a tool box page: its header button carries the flag.
bool ownItemEnabled(QToolBox *box, int index)
{
    const auto buttons = box->findChildren<QAbstractButton *>(QStringLiteral("qt_toolbox_toolboxbutton"),
                                                               Qt::FindDirectChildrenOnly);
    if (buttons.size() != box->count() || buttons.at(index)->text() != box->itemText(index))
        qFatal("tool box buttons not in item order");
    return ownEnabled(buttons.at(index));
}

QStringList listItems(QComboBox *list)
{
    QStringList items;
    for (int i = 0; i < list->count(); ++i)
        items << list->itemText(i);
    return items;
}

} // namespace

class TestConnection : public GuiTest
{
    Q_OBJECT

private slots:
    // The emulated USB bus must exist before libusb is first used.

    void openWithoutSelection_data();
    void openWithoutSelection();
    void refreshFindsNothing_data();
    void refreshFindsNothing();
    void openCloseReopen_data();
    void openCloseReopen();
    void networkItemOpens_data();
    void networkItemOpens();
    void tcpPortBeyondRangeMeansPortZero();
    void usbPortFromBraces_data();
    void usbPortFromBraces();
    void modelGroups_data();
    void modelGroups();
    void selectionUndoesPreviousModel();
    void refreshReplacesTransports_data();
    void refreshReplacesTransports();
    void switchMediumBetweenRefreshes();
    void stopDuringProbe_data();
    void stopDuringProbe();
    void readLocksWindowWhileWaiting();

};

void TestConnection::openWithoutSelection_data()
{
    QTest::addColumn<bool>("withItems");
    QTest::newRow("empty list") << false;
    QTest::newRow("items, none current") << true;
}

void TestConnection::openWithoutSelection()
{
    QFETCH(bool, withItems);
    PrinterWindow pw(TestMedium::Tcp);
    QVERIFY(pw.open());
    pw.click("pushButton_close");
    auto *list = pw.widget<QComboBox>("comboBox_ScanResult");
    if (withItems) {
        QCOMPARE(list->count(), 1);
        list->setCurrentIndex(-1);
    } else {
        list->clear();
    }
    pw.boxes().clear();

    pw.click("pushButton_open");

    VERIFY_ONE_BOX(pw, QStringLiteral("请先选中打印列表中的打印机"));
    QCOMPARE(pw.boxes().last().icon, QMessageBox::Information);
    QCOMPARE(enabledStates(pw, kListControls), expectedStates(kListControls, kIdle));
    // Nothing was tried: a read still finds no open printer.
    pw.boxes().clear();
    pw.click("pushButton_PrintSettingRead");
    QCOMPARE(pw.boxes().last().text, kOpenFirst);
    QVERIFY(pw.frames().isEmpty());
}

void TestConnection::refreshFindsNothing_data()
{
    QTest::addColumn<bool>("usb");
    QTest::newRow("usb, nothing plugged in") << true;
    QTest::newRow("direct probe, nothing listening") << false;
}

void TestConnection::refreshFindsNothing()
{
    QFETCH(bool, usb);
    PrinterWindow bw(TestMedium::Tcp);   // its own printer is not on the USB bus
    if (usb) {
        clickBox(bw.widget<QCheckBox>("checkBox_NET"));
        clickBox(bw.widget<QCheckBox>("checkBox_USB"));
    } else {
        clickBox(bw.widget<QCheckBox>("checkBox_WIFI"));
        bw.widget<QLineEdit>("lineEdit_ConnectAddr")->setText(QStringLiteral("127.0.0.1"));
        bw.widget<QLineEdit>("lineEdit_ConnectTCPPort")->setText(QString::number(closedTcpPort()));
    }
    // A stale item from before the refresh must go.
    bw.widget<QComboBox>("comboBox_ScanResult")->addItem(QStringLiteral("Old [LP-200] {USB009}"));

    bw.click("pushButton_getList");

    VERIFY_ONE_BOX(bw, QStringLiteral("请确保通讯设备已开启"));
    QCOMPARE(bw.boxes().last().icon, QMessageBox::Information);
    QCOMPARE(bw.widget<QComboBox>("comboBox_ScanResult")->count(), 0);
    QCOMPARE(bw.widget<QProgressBar>("progressBar_Scan")->value(), 100);
    QCOMPARE(enabledStates(bw, kListControls), expectedStates(kListControls, kIdle));
    QVERIFY(!getListStatus);
}

void TestConnection::openCloseReopen_data()
{
    QTest::addColumn<TestMedium>("medium");
    QTest::newRow("tcp") << TestMedium::Tcp;
    QTest::newRow("usb") << TestMedium::Usb;
}

// Open locks the list and sends nothing (it only proves the printer
// reachable); close shows nothing, keeps the list and really closes; the
// same entry opens again, more than once, and the printer answers.
void TestConnection::openCloseReopen()
{
    QFETCH(TestMedium, medium);
    PrinterWindow pw{medium};
    QVERIFY(pw.open());
    const QStringList items = listItems(pw.widget<QComboBox>("comboBox_ScanResult"));
    for (int round = 0; round < 3; ++round) {
        pw.click("pushButton_close");
        QVERIFY2(pw.boxes().count() == 0, qPrintable(describe(pw.boxes().boxes())));
        QCOMPARE(enabledStates(pw, kListControls), expectedStates(kListControls, kIdle));
        QCOMPARE(listItems(pw.widget<QComboBox>("comboBox_ScanResult")), items);
        QVERIFY(pw.window()->centralWidget()->isEnabled());
        if (medium == TestMedium::Tcp)
            QVERIFY(contrlNet == nullptr);
        if (round == 0) {
            pw.click("pushButton_PrintSettingRead");
            VERIFY_ONE_BOX(pw, kOpenFirst);
            QVERIFY(pw.frames().isEmpty());
            pw.boxes().clear();
        }

        pw.click("pushButton_open");

        VERIFY_ONE_BOX(pw, QStringLiteral("连接成功！"));
        QCOMPARE(pw.boxes().last().icon, QMessageBox::Information);
        QCOMPARE(enabledStates(pw, kListControls), expectedStates(kListControls, kOpen));
        QVERIFY(pw.window()->centralWidget()->isEnabled());
        QVERIFY(pw.frames().isEmpty());
        pw.boxes().clear();
        pw.click("pushButton_DistanceSettingRead");
        QCOMPARE(pw.boxes().last().text, kDone);
        QCOMPARE(pw.frames().size(), 4);
        pw.boxes().clear();
        pw.clearFrames();
    }
}

// The address is the first non-empty brace text of the list item; the
// port comes from the port field. A failure shows the time-out and leaves
// the list as it was, with nothing open.
void TestConnection::networkItemOpens_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("port");     // "closed": a port nothing listens on; "live": the printer's
    QTest::addColumn<bool>("opens");
    QTest::newRow("plain") << "Label [LP-200] {127.0.0.1}" << "live" << true;
    QTest::newRow("first of two") << "Label [LP-200] {127.0.0.1} {127.0.0.9}" << "live" << true;
    QTest::newRow("nested brace skipped") << "Label {x{127.0.0.1}" << "live" << true;
    QTest::newRow("empty braces skipped") << "Label {} [LP-200] {127.0.0.1}" << "live" << true;
    QTest::newRow("nothing listening") << "Label [LP-200] {127.0.0.1}" << "closed" << false;
    QTest::newRow("no braces: empty address") << "Label [LP-200] 127.0.0.1" << "live" << false;
    QTest::newRow("port text") << "Label [LP-200] {127.0.0.1}" << "abc" << false;
    QTest::newRow("port -1") << "Label [LP-200] {127.0.0.1}" << "-1" << false;
}

void TestConnection::networkItemOpens()
{
    QFETCH(QString, item);
    QFETCH(QString, port);
    QFETCH(bool, opens);
    PrinterWindow pw(TestMedium::Tcp);
    QVERIFY(pw.open());
    pw.click("pushButton_close");
    auto *list = pw.widget<QComboBox>("comboBox_ScanResult");
    list->setItemText(0, item);
    list->addItem(QStringLiteral("Other [LP-200] {127.0.0.2}"));
    list->setCurrentIndex(0);
    auto *portField = pw.widget<QLineEdit>("lineEdit_ConnectTCPPort");
    if (port == QLatin1String("closed"))
        portField->setText(QString::number(closedTcpPort()));
    else if (port != QLatin1String("live"))
        portField->setText(port);
    const QStringList before = listItems(list);
    pw.boxes().clear();

    pw.click("pushButton_open");

    QVERIFY2(pw.boxes().count() == 1, qPrintable(describe(pw.boxes().boxes())));
    if (opens) {
        QCOMPARE(pw.boxes().last().text, QStringLiteral("连接成功！"));
        pw.boxes().clear();
        // The address reached is the printer's: a read goes to it.
        pw.click("pushButton_DistanceSettingRead");
        QCOMPARE(pw.boxes().last().text, kDone);
        QCOMPARE(pw.frames().size(), 4);
        return;
    }
    QCOMPARE(pw.boxes().last().title, QStringLiteral("错误"));
    QCOMPARE(pw.boxes().last().text, QStringLiteral("连接超时，请重试！"));
    QCOMPARE(pw.boxes().last().icon, QMessageBox::Critical);
    QCOMPARE(enabledStates(pw, kListControls), expectedStates(kListControls, kIdle));
    QCOMPARE(listItems(list), before);
    pw.boxes().clear();
    QCOMPARE(list->currentIndex(), 0);
    QVERIFY(pw.window()->centralWidget()->isEnabled());
    pw.click("pushButton_DistanceSettingRead");
    QCOMPARE(pw.boxes().last().text, kOpenFirst);
}

// 70000 must not wrap to 4464 (70000 - 65536): the port field means 0
// when its number does not fit 16 bits. A printer listening on 4464 would
// accept a wrapped port.
void TestConnection::tcpPortBeyondRangeMeansPortZero()
{
    emu::NetPrinter wrapped;
    emu::NetPrinter::Config config;
    config.tcpPort = quint16(70000 - 65536);
    if (!wrapped.start(config))
        QSKIP("loopback port 4464 is taken on this machine");
    PrinterWindow pw(TestMedium::Tcp);
    QVERIFY(pw.open());
    pw.click("pushButton_close");
    pw.widget<QLineEdit>("lineEdit_ConnectTCPPort")->setText(QStringLiteral("70000"));
    pw.boxes().clear();

    pw.click("pushButton_open");

    QCOMPARE(pw.boxes().last().text, QStringLiteral("连接超时，请重试！"));
    QCOMPARE(wrapped.acceptedConnections(), 0);

    // The same field with the wrapped number connects: the refusal above
    // came from the port parsing, not from the printer.
    pw.widget<QLineEdit>("lineEdit_ConnectTCPPort")->setText(QString::number(config.tcpPort));
    pw.boxes().clear();
    pw.click("pushButton_open");
    QCOMPARE(pw.boxes().last().text, QStringLiteral("连接成功！"));
    QTRY_VERIFY_WITH_TIMEOUT(wrapped.acceptedConnections() >= 1, 5000);
}

void TestConnection::usbPortFromBraces_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<bool>("opens");
    QTest::newRow("{USB7}") << QStringLiteral("{USB7}") << true;
    QTest::newRow("{USB007}") << QStringLiteral("{USB007}") << true;
    QTest::newRow("{USB8}: nothing there") << QStringLiteral("{USB8}") << false;
    QTest::newRow("{USB}: port 0") << QStringLiteral("{USB}") << false;
    QTest::newRow("{USB7 without closing brace") << QStringLiteral("{USB7") << false;
    QTest::newRow("{USBx7}: not a number") << QStringLiteral("{USBx7}") << false;
}

void TestConnection::usbPortFromBraces()
{
    QFETCH(QString, key);
    QFETCH(bool, opens);
    emu::PrinterModel model;
    emu::UsbPrinterConfig config;
    config.product = QStringLiteral("LP-200");
    config.bus = 2;
    config.port = 7;
    const int id = PrinterWindow::usb().addPrinter(&model, config);
    QVERIFY(id >= 0);
    auto unplug = qScopeGuard([id] { PrinterWindow::usb().unplug(id); });

    PrinterWindow bw(TestMedium::Tcp);   // its own printer is not on the USB bus
    bw.click("pushButton_getList");
    auto *list = bw.widget<QComboBox>("comboBox_ScanResult");
    const int found = list->findText(QStringLiteral("{USB007}"), Qt::MatchContains);
    QVERIFY2(found >= 0, qPrintable(listItems(list).join(QLatin1String(", "))));
    list->setItemText(found, QStringLiteral("Corvanta [LP-200] ") + key);
    list->setCurrentIndex(found);
    bw.boxes().clear();

    bw.click("pushButton_open");

    QVERIFY2(bw.boxes().count() == 1, qPrintable(describe(bw.boxes().boxes())));
    if (!opens) {
        QCOMPARE(bw.boxes().last().title, QStringLiteral("错误"));
        QCOMPARE(bw.boxes().last().text, QStringLiteral("连接超时，请重试！"));
        QCOMPARE(enabledStates(bw, kListControls), expectedStates(kListControls, kIdle));
        return;
    }
    QCOMPARE(bw.boxes().last().text, QStringLiteral("连接成功！"));
    bw.boxes().clear();
    model.clearLog();
    bw.click("pushButton_DistanceSettingRead");
    QCOMPARE(bw.boxes().last().text, kDone);
    QCOMPARE(model.frames().size(), 4);
}

void TestConnection::modelGroups_data()
{
    QTest::addColumn<int>("medium");
    QTest::addColumn<QString>("model");
    QTest::addColumn<int>("dots");
    QTest::addColumn<bool>("firmwareOnly");
    QTest::addColumn<bool>("extended");

    const int tcp = int(TestMedium::Tcp);
    const int usb = int(TestMedium::Usb);
    QTest::newRow("LP-200 tcp") << tcp << "LP-200" << 8 << false << false;
    QTest::newRow("LP-200 usb") << usb << "LP-200" << 8 << false << false;
    QTest::newRow("ZD-N480 usb") << usb << "ZD-N480" << 12 << false << true;
    QTest::newRow("J62") << tcp << "J62" << 8 << false << true;
    QTest::newRow("J62QX: both groups") << tcp << "J62QX" << 12 << false << true;
    QTest::newRow("862J") << tcp << "862J" << 12 << false << false;
    QTest::newRow("FB953XR") << tcp << "FB953XR" << 12 << false << false;
    QTest::newRow("N480 alone") << tcp << "XP-N480" << 12 << false << false;
    QTest::newRow("K71") << tcp << "K71" << 8 << false << true;
    QTest::newRow("RM745") << tcp << "RM745" << 8 << false << true;
    QTest::newRow("QRX") << tcp << "QRX-1" << 8 << false << true;
    QTest::newRow("857Q") << tcp << "857Q" << 8 << false << true;
    QTest::newRow("ZD-N310") << tcp << "ZD-N310" << 8 << false << true;
    QTest::newRow("ZD-970WS") << tcp << "ZD-970WS" << 8 << false << true;
    QTest::newRow("KV-520 usb") << usb << "KV-520" << 8 << true << false;
    QTest::newRow("KV-630") << tcp << "KV-630" << 8 << true << false;
    QTest::newRow("kv-520 lower case") << tcp << "kv-520" << 8 << false << false;
    QTest::newRow("KV-630 ZD-N480: all groups") << tcp << "KV-630 ZD-N480" << 12 << true << true;
}

void TestConnection::modelGroups()
{
    QFETCH(int, medium);
    QFETCH(QString, model);
    QFETCH(int, dots);
    QFETCH(bool, firmwareOnly);
    QFETCH(bool, extended);

    PrinterWindow pw(TestMedium(medium), model);
    // Leftovers of an earlier selection that the selection must undo.
    for (const QString &name : setButtons())
        pw.widget<QWidget>(name.toLatin1().constData())->setEnabled(true);
    CHECK_STATUES = 1;
    mmToDot = dots == 8 ? 12 : 8;
    printModeFlag = !extended;

    QVERIFY(pw.open());

    QVERIFY2(pw.widget<QComboBox>("comboBox_ScanResult")->currentText().contains(model),
             qPrintable(pw.widget<QComboBox>("comboBox_ScanResult")->currentText()));
    QCOMPARE(mmToDot, dots);
    QCOMPARE(pw.widget<QLabel>("label_17")->text(),
             dots == 12 ? QStringLiteral("注：1mm = 12dot") : QStringLiteral("注：1mm = 8dot"));

    auto *tabs = pw.widget<QTabWidget>("tabWidget_2");
    QCOMPARE(tabs->isTabEnabled(0), !firmwareOnly);
    QCOMPARE(tabs->isTabEnabled(1), !firmwareOnly);
    QVERIFY(tabs->isTabEnabled(2));
    QCOMPARE(pw.widget<QWidget>("pushButton_DownloadFL")->isEnabled(), !firmwareOnly);
    QVERIFY(pw.widget<QWidget>("pushButton_DownloadFW")->isEnabled());

    QCOMPARE(ownItemEnabled(pw.widget<QToolBox>("toolBox_PrinterSetting"), 6), extended);
    QCOMPARE(printModeFlag, extended);
    auto *speeds = pw.widget<QComboBox>("comboBox_PrintSpeed");
    QStringList expectedSpeeds;
    for (int i = 0; i < (extended ? 8 : 4); ++i)
        expectedSpeeds << QString::number(i);
    QCOMPARE(listItems(speeds), expectedSpeeds);
    QCOMPARE(ownEnabled(pw.widget("comboBox_PrintMode")), extended);
    QCOMPARE(ownEnabled(pw.widget("label_41")), extended);
    QCOMPARE(ownEnabled(pw.widget("comboBox_AutoPaper")), !extended);
    QCOMPARE(ownEnabled(pw.widget("label_28")), !extended);
    if (!firmwareOnly) {
        QCOMPARE(pw.widget<QToolBox>("toolBox_PrinterSetting")->isItemEnabled(6), extended);
        QCOMPARE(pw.widget("comboBox_PrintMode")->isEnabled(), extended);
        QCOMPARE(pw.widget("comboBox_AutoPaper")->isEnabled(), !extended);
    }

    for (const QString &name : setButtons())
        QVERIFY2(!ownEnabled(pw.widget(name.toLatin1().constData())), qPrintable(name));
    QCOMPARE(CHECK_STATUES, 0);
}

// Opening a normal model after a firmware-only, extended one gives the
// tabs, the font download and the four speeds back.
void TestConnection::selectionUndoesPreviousModel()
{
    PrinterWindow pw(TestMedium::Tcp, QStringLiteral("LP-200"));
    QVERIFY(pw.open());
    pw.click("pushButton_close");
    auto *list = pw.widget<QComboBox>("comboBox_ScanResult");
    list->addItem(QStringLiteral("Label [KV-630 ZD-N480] {127.0.0.1}"));
    list->setCurrentIndex(1);
    pw.click("pushButton_open");
    QCOMPARE(mmToDot, 12);
    QVERIFY(!pw.widget<QTabWidget>("tabWidget_2")->isTabEnabled(0));
    QCOMPARE(pw.widget<QComboBox>("comboBox_PrintSpeed")->count(), 8);
    pw.click("pushButton_close");

    list->setCurrentIndex(0);
    pw.boxes().clear();
    pw.click("pushButton_open");

    QCOMPARE(pw.boxes().last().text, QStringLiteral("连接成功！"));
    QCOMPARE(mmToDot, 8);
    QCOMPARE(pw.widget<QLabel>("label_17")->text(), QStringLiteral("注：1mm = 8dot"));
    QVERIFY(pw.widget<QTabWidget>("tabWidget_2")->isTabEnabled(0));
    QVERIFY(pw.widget<QTabWidget>("tabWidget_2")->isTabEnabled(1));
    QVERIFY(pw.widget<QWidget>("pushButton_DownloadFL")->isEnabled());
    QCOMPARE(pw.widget<QComboBox>("comboBox_PrintSpeed")->count(), 4);
    QVERIFY(!pw.widget<QToolBox>("toolBox_PrinterSetting")->isItemEnabled(6));
    QVERIFY(!printModeFlag);
}

void TestConnection::refreshReplacesTransports_data()
{
    openCloseReopen_data();
}

void TestConnection::refreshReplacesTransports()
{
    QFETCH(TestMedium, medium);
    PrinterWindow pw{medium};
    QVERIFY(pw.open());
    pw.click("pushButton_close");

    auto *list = pw.widget<QComboBox>("comboBox_ScanResult");
    const QStringList items = listItems(list);
    for (int i = 0; i < 2; ++i) {
        pw.click("pushButton_getList");
        QVERIFY2(pw.boxes().count() == 0, qPrintable(describe(pw.boxes().boxes())));
        QCOMPARE(listItems(list), items);
    }
    if (medium == TestMedium::Tcp)
        QVERIFY(contrlNet != nullptr);
    else
        QVERIFY(contrlUsb != nullptr);
    const int index = list->findText(medium == TestMedium::Tcp ? QStringLiteral("{127.0.0.1}")
                                                                            : QStringLiteral("{USB"),
                                     Qt::MatchContains);
    QVERIFY(index >= 0);
    list->setCurrentIndex(index);
    pw.click("pushButton_open");
    QCOMPARE(pw.boxes().last().text, QStringLiteral("连接成功！"));
    pw.boxes().clear();
    pw.clearFrames();
    pw.click("pushButton_PrintSettingRead");
    QCOMPARE(pw.boxes().last().text, kDone);
    QCOMPARE(pw.frames().size(), 13);
}

// A USB refresh between two network refreshes leaves the network
// transport of the latest network refresh in charge.
void TestConnection::switchMediumBetweenRefreshes()
{
    PrinterWindow pw(TestMedium::Tcp);
    QVERIFY(pw.open());
    const QString port = pw.widget<QLineEdit>("lineEdit_ConnectTCPPort")->text();
    pw.click("pushButton_close");

    clickBox(pw.widget<QCheckBox>("checkBox_USB"));
    QCOMPARE(ret_mode, int(MediumUsb));
    QCOMPARE(pw.widget<QComboBox>("comboBox_ScanResult")->count(), 0);
    pw.click("pushButton_getList");
    pw.boxes().clear();

    clickBox(pw.widget<QCheckBox>("checkBox_WIFI"));
    pw.widget<QLineEdit>("lineEdit_ConnectAddr")->setText(QStringLiteral("127.0.0.1"));
    pw.widget<QLineEdit>("lineEdit_ConnectTCPPort")->setText(port);
    pw.click("pushButton_getList");
    QCOMPARE(pw.widget<QComboBox>("comboBox_ScanResult")->count(), 1);
    pw.click("pushButton_open");
    QCOMPARE(pw.boxes().last().text, QStringLiteral("连接成功！"));
    pw.boxes().clear();
    pw.clearFrames();
    pw.click("pushButton_DistanceSettingRead");
    QCOMPARE(pw.boxes().last().text, kDone);
    QCOMPARE(pw.frames().size(), 4);
}

// Stop is clicked while the probe waits for the identity reply: the item
// is kept and the controls come back. Stop gives the refresh button back
// at once, but a stopped direct probe still waits for the reply it asked
// for; a refresh asked for meanwhile must not pull the transport from
// under that wait, and runs once the old one has finished.
void TestConnection::stopDuringProbe_data()
{
    QTest::addColumn<bool>("again");
    QTest::newRow("stop") << false;
    QTest::newRow("stop, then refresh again") << true;
}

void TestConnection::stopDuringProbe()
{
    QFETCH(bool, again);
    PrinterWindow pw(TestMedium::Tcp);
    QVERIFY(pw.open());
    pw.click("pushButton_close");
    pw.boxes().clear();
    emu::Faults slow;
    slow.delayMs = 800;
    pw.printer().setFaults(slow);
    pw.clearFrames();
    QString whileRefreshing;
    bool clicked = false;
    QTimer watcher;
    watcher.setInterval(2);
    QObject::connect(&watcher, &QTimer::timeout, &watcher, [&] {
        if (clicked || pw.printer().framesOf(0x02, 0x0C).isEmpty())
            return;
        clicked = true;
        whileRefreshing = enabledStates(pw, kListControls);
        pw.click("pushButton_StopList");
        if (again) {
            QVERIFY(pw.widget("pushButton_getList")->isEnabled());
            pw.click("pushButton_getList");
        }
    });
    watcher.start();
    pw.click("pushButton_getList");
    watcher.stop();

    QVERIFY(clicked);
    QCOMPARE(whileRefreshing,
             expectedStates(kListControls, {false, true, false, true, false, true, true, true, false, false}));
    QTRY_COMPARE_WITH_TIMEOUT(pw.printer().framesOf(0x02, 0x0C).size(), again ? 2 : 1, 10000);
    auto *list = pw.widget<QComboBox>("comboBox_ScanResult");
    QTRY_VERIFY_WITH_TIMEOUT(!getListStatus && list->count() == 1 && pw.widget("pushButton_getList")->isEnabled(),
                             10000);
    QVERIFY(list->currentText().contains(QStringLiteral("{127.0.0.1}")));
    QCOMPARE(enabledStates(pw, kListControls), expectedStates(kListControls, kIdle));
    QVERIFY2(pw.boxes().count() == 0, qPrintable(describe(pw.boxes().boxes())));

    pw.printer().setFaults({});
    pw.click("pushButton_open");
    QCOMPARE(pw.boxes().last().text, QStringLiteral("连接成功！"));
    pw.boxes().clear();
    pw.click("pushButton_DistanceSettingRead");
    QCOMPARE(pw.boxes().last().text, kDone);
}

// While a read waits for its replies, the controls that could start a
// second exchange are locked; they come back afterwards.
void TestConnection::readLocksWindowWhileWaiting()
{
    PrinterWindow pw(TestMedium::Tcp);
    QVERIFY(pw.open());
    emu::Faults slow;
    slow.delayMs = 30;
    pw.printer().setFaults(slow);
    const QStringList locked = {QStringLiteral("pushButton_close"), QStringLiteral("tabWidget_2"),
                                QStringLiteral("pushButton_getPrinterInfo"), QStringLiteral("pushButton_Send"),
                                QStringLiteral("pushButton_SendFile")};
    QString during;
    QTimer watcher;
    watcher.setInterval(2);
    QObject::connect(&watcher, &QTimer::timeout, &watcher, [&] {
        if (during.isEmpty() && !pw.frames().isEmpty())
            during = enabledStates(pw, locked);
    });
    watcher.start();
    pw.click("pushButton_DistanceSettingRead");
    watcher.stop();

    QCOMPARE(during, expectedStates(locked, QList<bool>(locked.size(), false)));
    QCOMPARE(enabledStates(pw, locked), expectedStates(locked, QList<bool>(locked.size(), true)));
    QCOMPARE(pw.boxes().last().text, kDone);
}

QTEST_MAIN(TestConnection)
#include "tst_connection.moc"
