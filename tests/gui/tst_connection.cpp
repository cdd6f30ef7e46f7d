// Device list refresh, stop, open, close and the adaptation of the window
// to the selected model, driven through the real window against emulated
// printers on loopback TCP and on emulated USB.
#include "page_test_support.h"

#include "tools/emulator/net/net_faces.h"
#include "tools/emulator/usb/usb_face.h"

#include <QCheckBox>
#include <QLabel>
#include <QProgressBar>
#include <QScopeGuard>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QToolBox>

using namespace pagetest;

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

// A window with no printer of its own (for empty lists, hand-made items
// and printers the test plugs in itself).
struct BareWindow
{
    BareWindow()
    {
        ret_mode = MediumUsb;
        window = new MainWindow;
        window->show();
        if (!QTest::qWaitForWindowExposed(window))
            qFatal("window not exposed");
        catcher = new DialogCatcher(window);
    }
    ~BareWindow() { delete window; }
    template<typename T = QWidget> T *w(const char *name) const
    {
        T *found = window->findChild<T *>(QLatin1String(name));
        if (!found)
            qFatal("no widget %s", name);
        return found;
    }
    void click(const char *name) { w<QAbstractButton>(name)->click(); }
    QString states(const QStringList &names) const
    {
        QStringList parts;
        for (const QString &name : names)
            parts << QStringLiteral("%1=%2").arg(name).arg(w(name.toLatin1().constData())->isEnabled() ? 1 : 0);
        return parts.join(QLatin1Char(' '));
    }

    MainWindow *window = nullptr;
    DialogCatcher *catcher = nullptr;
};

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

class TestConnection : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void openWithoutSelection_data();
    void openWithoutSelection();
    void refreshFindsNothing_data();
    void refreshFindsNothing();
    void openShowsSuccessAndLocksList_data();
    void openShowsSuccessAndLocksList();
    void networkOpenFailure_data();
    void networkOpenFailure();
    void tcpPortBeyondRangeMeansPortZero();
    void networkAddressFromBraces_data();
    void networkAddressFromBraces();
    void usbPortFromBraces_data();
    void usbPortFromBraces();
    void modelGroups_data();
    void modelGroups();
    void selectionUndoesPreviousModel();
    void closeByClick_data();
    void closeByClick();
    void reopenAfterClose_data();
    void reopenAfterClose();
    void refreshReplacesTransports_data();
    void refreshReplacesTransports();
    void switchMediumBetweenRefreshes();
    void stopDuringProbeKeepsItem();
    void refreshAgainWhileStoppedProbeWaits();
    void readLocksWindowWhileWaiting();

private:
    TestSettingsLocation m_settings;
};

void TestConnection::initTestCase()
{
    // The emulated USB bus must exist before libusb is first used.
    PrinterWindow::usb();
}

// ---------------------------------------------------------------- open guards

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

    QCOMPARE(pw.boxes().count(), 1);
    QCOMPARE(pw.boxes().last().title, QStringLiteral("设置工具"));
    QCOMPARE(pw.boxes().last().text, QStringLiteral("请先选中打印列表中的打印机"));
    QCOMPARE(pw.boxes().last().icon, QMessageBox::Information);
    QCOMPARE(enabledStates(pw, kListControls), expectedStates(kListControls, kIdle));
    // Nothing was tried: a read still finds no open printer.
    pw.boxes().clear();
    pw.click("pushButton_PrintSettingRead");
    QCOMPARE(pw.boxes().last().text, QStringLiteral("请先打开设备"));
    QVERIFY(pw.frames().isEmpty());
}

// ---------------------------------------------------------------- refresh

void TestConnection::refreshFindsNothing_data()
{
    QTest::addColumn<bool>("usb");
    QTest::newRow("usb, nothing plugged in") << true;
    QTest::newRow("direct probe, nothing listening") << false;
}

void TestConnection::refreshFindsNothing()
{
    QFETCH(bool, usb);
    BareWindow bw;
    if (usb) {
        clickBox(bw.w<QCheckBox>("checkBox_NET"));
        clickBox(bw.w<QCheckBox>("checkBox_USB"));
    } else {
        clickBox(bw.w<QCheckBox>("checkBox_WIFI"));
        bw.w<QLineEdit>("lineEdit_ConnectAddr")->setText(QStringLiteral("127.0.0.1"));
        bw.w<QLineEdit>("lineEdit_ConnectTCPPort")->setText(QString::number(closedTcpPort()));
    }
    // A stale item from before the refresh must go.
    bw.w<QComboBox>("comboBox_ScanResult")->addItem(QStringLiteral("Old [LP-200] {USB009}"));

    bw.click("pushButton_getList");

    QVERIFY2(bw.catcher->count() == 1, qPrintable(describe(bw.catcher->boxes())));
    QCOMPARE(bw.catcher->last().title, QStringLiteral("设置工具"));
    QCOMPARE(bw.catcher->last().text, QStringLiteral("请确保通讯设备已开启"));
    QCOMPARE(bw.catcher->last().icon, QMessageBox::Information);
    QCOMPARE(bw.w<QComboBox>("comboBox_ScanResult")->count(), 0);
    QCOMPARE(bw.w<QProgressBar>("progressBar_Scan")->value(), 100);
    QCOMPARE(bw.states(kListControls), expectedStates(kListControls, kIdle));
    QVERIFY(!getListStatus);
}

// ---------------------------------------------------------------- open

void TestConnection::openShowsSuccessAndLocksList_data()
{
    QTest::addColumn<int>("medium");
    QTest::newRow("tcp") << int(TestMedium::Tcp);
    QTest::newRow("usb") << int(TestMedium::Usb);
}

void TestConnection::openShowsSuccessAndLocksList()
{
    QFETCH(int, medium);
    PrinterWindow pw{TestMedium(medium)};
    QVERIFY(pw.open());
    pw.click("pushButton_close");
    pw.boxes().clear();

    pw.click("pushButton_open");

    QVERIFY2(pw.boxes().count() == 1, qPrintable(describe(pw.boxes().boxes())));
    QCOMPARE(pw.boxes().last().title, QStringLiteral("设置工具"));
    QCOMPARE(pw.boxes().last().text, QStringLiteral("连接成功！"));
    QCOMPARE(pw.boxes().last().icon, QMessageBox::Information);
    QCOMPARE(enabledStates(pw, kListControls), expectedStates(kListControls, kOpen));
    QVERIFY(pw.window()->centralWidget()->isEnabled());
    // Opening sends nothing: the open only proves the printer reachable.
    QVERIFY(pw.frames().isEmpty());
}

void TestConnection::networkOpenFailure_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("port");     // "closed": a port nothing listens on
    QTest::newRow("nothing listening") << QStringLiteral("Label [LP-200] {127.0.0.1}") << QStringLiteral("closed");
    QTest::newRow("no braces: empty address") << QStringLiteral("Label [LP-200] 127.0.0.1") << QStringLiteral("live");
    QTest::newRow("port text") << QStringLiteral("Label [LP-200] {127.0.0.1}") << QStringLiteral("abc");
    QTest::newRow("port 70000") << QStringLiteral("Label [LP-200] {127.0.0.1}") << QStringLiteral("70000");
    QTest::newRow("port -1") << QStringLiteral("Label [LP-200] {127.0.0.1}") << QStringLiteral("-1");
}

void TestConnection::networkOpenFailure()
{
    QFETCH(QString, item);
    QFETCH(QString, port);
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
    QCOMPARE(pw.boxes().last().title, QStringLiteral("错误"));
    QCOMPARE(pw.boxes().last().text, QStringLiteral("连接超时，请重试！"));
    QCOMPARE(pw.boxes().last().icon, QMessageBox::Critical);
    QCOMPARE(enabledStates(pw, kListControls), expectedStates(kListControls, kIdle));
    QCOMPARE(listItems(list), before);
    QCOMPARE(list->currentIndex(), 0);
    QVERIFY(pw.window()->centralWidget()->isEnabled());
    pw.boxes().clear();
    pw.click("pushButton_DistanceSettingRead");
    QCOMPARE(pw.boxes().last().text, QStringLiteral("请先打开设备"));
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

void TestConnection::networkAddressFromBraces_data()
{
    QTest::addColumn<QString>("item");
    QTest::newRow("plain") << QStringLiteral("Label [LP-200] {127.0.0.1}");
    QTest::newRow("first of two") << QStringLiteral("Label [LP-200] {127.0.0.1} {127.0.0.9}");
    QTest::newRow("nested brace skipped") << QStringLiteral("Label {x{127.0.0.1}");
    QTest::newRow("empty braces skipped") << QStringLiteral("Label {} [LP-200] {127.0.0.1}");
}

void TestConnection::networkAddressFromBraces()
{
    QFETCH(QString, item);
    PrinterWindow pw(TestMedium::Tcp);
    QVERIFY(pw.open());
    pw.click("pushButton_close");
    pw.widget<QComboBox>("comboBox_ScanResult")->setItemText(0, item);
    pw.boxes().clear();

    pw.click("pushButton_open");
    QVERIFY2(pw.boxes().count() == 1, qPrintable(describe(pw.boxes().boxes())));
    QCOMPARE(pw.boxes().last().text, QStringLiteral("连接成功！"));

    // The address reached is the printer's: a read goes to it.
    pw.boxes().clear();
    pw.click("pushButton_DistanceSettingRead");
    QCOMPARE(pw.boxes().last().text, QStringLiteral("处理成功"));
    QCOMPARE(pw.frames().size(), 4);
}

void TestConnection::usbPortFromBraces_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<bool>("opens");
    QTest::newRow("{USB7}") << QStringLiteral("{USB7}") << true;
    QTest::newRow("{USB07}") << QStringLiteral("{USB07}") << true;
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

    BareWindow bw;
    bw.click("pushButton_getList");
    auto *list = bw.w<QComboBox>("comboBox_ScanResult");
    const int found = list->findText(QStringLiteral("{USB007}"), Qt::MatchContains);
    QVERIFY2(found >= 0, qPrintable(listItems(list).join(QLatin1String(", "))));
    list->setItemText(found, QStringLiteral("Corvanta [LP-200] ") + key);
    list->setCurrentIndex(found);
    bw.catcher->clear();

    bw.click("pushButton_open");

    QVERIFY2(bw.catcher->count() == 1, qPrintable(describe(bw.catcher->boxes())));
    if (!opens) {
        QCOMPARE(bw.catcher->last().title, QStringLiteral("错误"));
        QCOMPARE(bw.catcher->last().text, QStringLiteral("连接超时，请重试！"));
        QCOMPARE(bw.states(kListControls), expectedStates(kListControls, kIdle));
        return;
    }
    QCOMPARE(bw.catcher->last().text, QStringLiteral("连接成功！"));
    bw.catcher->clear();
    model.clearLog();
    bw.click("pushButton_DistanceSettingRead");
    QCOMPARE(bw.catcher->last().text, QStringLiteral("处理成功"));
    QCOMPARE(model.frames().size(), 4);
}

// ---------------------------------------------------------------- model groups

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
    QTest::newRow("ZD-N480 tcp") << tcp << "ZD-N480" << 12 << false << true;
    QTest::newRow("ZD-N480 usb") << usb << "ZD-N480" << 12 << false << true;
    QTest::newRow("J62") << tcp << "J62" << 8 << false << true;
    QTest::newRow("J62QX: both groups") << tcp << "J62QX" << 12 << false << true;
    QTest::newRow("862J") << tcp << "862J" << 12 << false << false;
    QTest::newRow("865J") << tcp << "865J" << 12 << false << false;
    QTest::newRow("FB953XR") << tcp << "FB953XR" << 12 << false << false;
    QTest::newRow("N480 alone") << tcp << "XP-N480" << 12 << false << false;
    QTest::newRow("K71") << tcp << "K71" << 8 << false << true;
    QTest::newRow("RM745") << tcp << "RM745" << 8 << false << true;
    QTest::newRow("QRX") << tcp << "QRX-1" << 8 << false << true;
    QTest::newRow("857Q") << tcp << "857Q" << 8 << false << true;
    QTest::newRow("ZD-N310") << tcp << "ZD-N310" << 8 << false << true;
    QTest::newRow("ZD-970WS") << tcp << "ZD-970WS" << 8 << false << true;
    QTest::newRow("ZD-971BWS") << tcp << "ZD-971BWS" << 8 << false << true;
    QTest::newRow("KV-520 tcp") << tcp << "KV-520" << 8 << true << false;
    QTest::newRow("KV-520 usb") << usb << "KV-520" << 8 << true << false;
    QTest::newRow("KV-630") << tcp << "KV-630" << 8 << true << false;
    QTest::newRow("kv-520 lower case") << tcp << "kv-520" << 8 << false << false;
    QTest::newRow("zd-n480 lower case") << tcp << "zd-n480" << 8 << false << false;
    QTest::newRow("j62 lower case") << tcp << "j62" << 8 << false << false;
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

// ---------------------------------------------------------------- close

void TestConnection::closeByClick_data()
{
    QTest::addColumn<int>("medium");
    QTest::newRow("tcp") << int(TestMedium::Tcp);
    QTest::newRow("usb") << int(TestMedium::Usb);
}

void TestConnection::closeByClick()
{
    QFETCH(int, medium);
    PrinterWindow pw{TestMedium(medium)};
    QVERIFY(pw.open());
    const QStringList items = listItems(pw.widget<QComboBox>("comboBox_ScanResult"));

    pw.click("pushButton_close");

    QVERIFY2(pw.boxes().count() == 0, qPrintable(describe(pw.boxes().boxes())));
    QCOMPARE(enabledStates(pw, kListControls), expectedStates(kListControls, kIdle));
    QCOMPARE(listItems(pw.widget<QComboBox>("comboBox_ScanResult")), items);
    QVERIFY(pw.window()->centralWidget()->isEnabled());
    if (TestMedium(medium) == TestMedium::Tcp)
        QVERIFY(contrlNet == nullptr);
    // Closed means closed: the pages refuse to talk.
    pw.click("pushButton_PrintSettingRead");
    QCOMPARE(pw.boxes().last().text, QStringLiteral("请先打开设备"));
    QVERIFY(pw.frames().isEmpty());
}

void TestConnection::reopenAfterClose_data()
{
    QTest::addColumn<int>("medium");
    QTest::newRow("tcp") << int(TestMedium::Tcp);
    QTest::newRow("usb") << int(TestMedium::Usb);
}

void TestConnection::reopenAfterClose()
{
    QFETCH(int, medium);
    PrinterWindow pw{TestMedium(medium)};
    QVERIFY(pw.open());
    for (int round = 0; round < 3; ++round) {
        pw.click("pushButton_close");
        pw.boxes().clear();
        pw.click("pushButton_open");
        QVERIFY2(pw.boxes().count() == 1 && pw.boxes().last().text == QStringLiteral("连接成功！"),
                 qPrintable(describe(pw.boxes().boxes())));
        pw.boxes().clear();
        pw.clearFrames();
        pw.click("pushButton_DistanceSettingRead");
        QCOMPARE(pw.boxes().last().text, QStringLiteral("处理成功"));
        QCOMPARE(pw.frames().size(), 4);
    }
}

// ---------------------------------------------------------------- transports

void TestConnection::refreshReplacesTransports_data()
{
    QTest::addColumn<int>("medium");
    QTest::newRow("tcp") << int(TestMedium::Tcp);
    QTest::newRow("usb") << int(TestMedium::Usb);
}

void TestConnection::refreshReplacesTransports()
{
    QFETCH(int, medium);
    PrinterWindow pw{TestMedium(medium)};
    QVERIFY(pw.open());
    pw.click("pushButton_close");

    auto *list = pw.widget<QComboBox>("comboBox_ScanResult");
    const QStringList items = listItems(list);
    for (int i = 0; i < 2; ++i) {
        pw.click("pushButton_getList");
        QVERIFY2(pw.boxes().count() == 0, qPrintable(describe(pw.boxes().boxes())));
        QCOMPARE(listItems(list), items);
    }
    if (TestMedium(medium) == TestMedium::Tcp)
        QVERIFY(contrlNet != nullptr);
    else
        QVERIFY(contrlUsb != nullptr);
    const int index = list->findText(TestMedium(medium) == TestMedium::Tcp ? QStringLiteral("{127.0.0.1}")
                                                                            : QStringLiteral("{USB"),
                                     Qt::MatchContains);
    QVERIFY(index >= 0);
    list->setCurrentIndex(index);
    pw.click("pushButton_open");
    QCOMPARE(pw.boxes().last().text, QStringLiteral("连接成功！"));
    pw.boxes().clear();
    pw.clearFrames();
    pw.click("pushButton_PrintSettingRead");
    QCOMPARE(pw.boxes().last().text, QStringLiteral("处理成功"));
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
    QCOMPARE(pw.boxes().last().text, QStringLiteral("处理成功"));
    QCOMPARE(pw.frames().size(), 4);
}

// ---------------------------------------------------------------- stop

void TestConnection::stopDuringProbeKeepsItem()
{
    PrinterWindow pw(TestMedium::Tcp);
    QVERIFY(pw.open());
    pw.click("pushButton_close");
    pw.boxes().clear();
    emu::Faults slow;
    slow.delayMs = 800;
    pw.printer().setFaults(slow);
    pw.clearFrames();

    // Stop is clicked while the probe waits for the identity reply.
    QString whileRefreshing;
    bool stopped = false;
    QTimer watcher;
    watcher.setInterval(2);
    QObject::connect(&watcher, &QTimer::timeout, &watcher, [&] {
        if (stopped || pw.printer().framesOf(0x02, 0x0C).isEmpty())
            return;
        stopped = true;
        whileRefreshing = enabledStates(pw, kListControls);
        pw.click("pushButton_StopList");
    });
    watcher.start();
    pw.click("pushButton_getList");
    watcher.stop();

    QVERIFY(stopped);
    QCOMPARE(whileRefreshing,
             expectedStates(kListControls, {false, true, false, true, false, true, true, true, false, false}));
    QVERIFY2(pw.boxes().count() == 0, qPrintable(describe(pw.boxes().boxes())));
    QCOMPARE(pw.widget<QComboBox>("comboBox_ScanResult")->count(), 1);
    QVERIFY(pw.widget<QComboBox>("comboBox_ScanResult")->currentText().contains(QStringLiteral("{127.0.0.1}")));
    QCOMPARE(enabledStates(pw, kListControls), expectedStates(kListControls, kIdle));
    QVERIFY(!getListStatus);

    pw.printer().setFaults({});
    pw.click("pushButton_open");
    QCOMPARE(pw.boxes().last().text, QStringLiteral("连接成功！"));
}

// Stop gives the refresh button back at once, but a stopped direct probe
// still waits for the identity reply it asked for. A new refresh asked for
// meanwhile must not pull the transport from under that wait; it runs
// once the old one has finished.
void TestConnection::refreshAgainWhileStoppedProbeWaits()
{
    PrinterWindow pw(TestMedium::Tcp);
    QVERIFY(pw.open());
    pw.click("pushButton_close");
    pw.boxes().clear();
    emu::Faults slow;
    slow.delayMs = 600;
    pw.printer().setFaults(slow);
    pw.clearFrames();

    bool clicked = false;
    QTimer watcher;
    watcher.setInterval(2);
    QObject::connect(&watcher, &QTimer::timeout, &watcher, [&] {
        if (clicked || pw.printer().framesOf(0x02, 0x0C).isEmpty())
            return;
        clicked = true;
        pw.click("pushButton_StopList");
        QVERIFY(pw.widget("pushButton_getList")->isEnabled());
        pw.click("pushButton_getList");
    });
    watcher.start();
    pw.click("pushButton_getList");
    watcher.stop();
    QVERIFY(clicked);

    // Both probes asked the printer, and the list ends with one entry.
    QTRY_COMPARE_WITH_TIMEOUT(pw.printer().framesOf(0x02, 0x0C).size(), 2, 10000);
    auto *list = pw.widget<QComboBox>("comboBox_ScanResult");
    QTRY_VERIFY_WITH_TIMEOUT(!getListStatus && list->count() == 1
                                 && pw.widget("pushButton_getList")->isEnabled(),
                             10000);
    QCOMPARE(enabledStates(pw, kListControls), expectedStates(kListControls, kIdle));
    QVERIFY2(pw.boxes().count() == 0, qPrintable(describe(pw.boxes().boxes())));

    pw.printer().setFaults({});
    pw.click("pushButton_open");
    QCOMPARE(pw.boxes().last().text, QStringLiteral("连接成功！"));
    pw.boxes().clear();
    pw.click("pushButton_DistanceSettingRead");
    QCOMPARE(pw.boxes().last().text, QStringLiteral("处理成功"));
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
    QCOMPARE(pw.boxes().last().text, QStringLiteral("处理成功"));
}

QTEST_MAIN(TestConnection)
#include "tst_connection.moc"
