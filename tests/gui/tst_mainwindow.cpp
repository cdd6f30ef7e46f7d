// The main window as the user first sees it, the medium check boxes and
// the result messages.
#include "gui_harness.h"
#include "printer_fixture.h"
#include "mainwindow.h"
#include "query/printer_io.h"
#include "ui/shared_state.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QToolBox>
#include <climits>

// Clicks a check box on its indicator (a wide box's centre may lie
// beyond its text, where a click does nothing).
static void clickBox(QAbstractButton *box, Qt::MouseButton button)
{
    QTest::mouseClick(box, button, {}, QPoint(6, box->height() / 2));
}

class TestMainWindow : public GuiTest
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void initialEnabledState();
    void initialValues();
    void comboItems_data();
    void comboItems();

    void mediumCheckBoxes_data();
    void mediumCheckBoxes();
    void wiredMediumCopiesEthernetPorts();
    void wifiMediumCopiesAddress_data();
    void wifiMediumCopiesAddress();

    void retHandler_data();
    void retHandler();

private:
    template<typename T> T *w(const char *name)
    {
        T *widget = m_window->findChild<T *>(QLatin1String(name));
        if (!widget)
            qFatal("missing widget %s", name);
        return widget;
    }

    MainWindow *m_window = nullptr;
    DialogCatcher *m_catcher = nullptr;
};

void TestMainWindow::init()
{
    ret_mode = MediumUsb;
    m_window = new MainWindow;
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window));
    m_catcher = new DialogCatcher(m_window);
}

void TestMainWindow::cleanup()
{
    delete m_window;
    m_window = nullptr;
}

void TestMainWindow::initialEnabledState()
{
    const char *enabled[] = {
        "checkBox_USB", "checkBox_NET", "checkBox_WIFI", "pushButton_getList", "pushButton_open",
        "pushButton_Send", "pushButton_SendFile", "comboBox_OrderSet", "label_37",
        "textBrowser_Model", "textBrowser_Ver", "textBrowser_DPI", "textBrowser_MaxPaperWidth",
        "pushButton_PrintSettingRead", "pushButton_DistanceSettingRead", "pushButton_WifiSettingRead",
        "pushButton_BleSettingRead", "pushButton_NetportSettingRead", "pushButton_ComSettingRead",
        "pushButton_StripperSettingRead", "pushButton_getPrinterInfo", "pushButton_DownloadFW",
        "pushButton_DownloadFL", "pushButton_Reboot", "pushButton_NetSetup", "tabWidget_2",
    };
    const char *disabled[] = {
        "checkBox_BLE", "checkBox_Serialport", "pushButton_close", "pushButton_StopList",
        "label_22", "lineEdit_ConnectAddr", "label_20", "lineEdit_ConnectTCPPort", "label_21",
        "lineEdit_ConnectUDPPort", "comboBox_ComControl_con", "comboBox_ComParityBit_con",
        "comboBox_ComBaud_con", "comboBox_ComDataBit_con", "comboBox_ComStopBit_con", "label_82",
        "label_81", "label_80", "label_79", "label_78", "comboBox_PrintMode", "comboBox_AutoPaper",
        "label_41", "label_28", "lineEdit_WApMAC", "lineEdit_SppMAC", "lineEdit_ComDeviceInfo",
        "lineEdit_ComSN", "progressBar_Update", "pushButton_PrintSettingSet",
        "pushButton_DistanceSettingSet", "pushButton_WifiSettingSet", "pushButton_BleSettingSet",
        "pushButton_NetportSettingSet", "pushButton_ComSettingSet", "pushButton_StripperSettingSet",
    };
    // Compared as one text, so that a failure names every widget that differs.
    QStringList actual, expected;
    auto add = [&](const char *name, bool on) {
        auto *widget = m_window->findChild<QWidget *>(QLatin1String(name));
        actual << QStringLiteral("%1=%2").arg(QLatin1String(name)).arg(widget ? int(widget->isEnabled()) : -1);
        expected << QStringLiteral("%1=%2").arg(QLatin1String(name)).arg(int(on));
    };
    for (const char *name : enabled)
        add(name, true);
    for (const char *name : disabled)
        add(name, false);
    QCOMPARE(actual.join(QLatin1Char(' ')), expected.join(QLatin1Char(' ')));
}

void TestMainWindow::initialValues()
{
    QVERIFY(w<QCheckBox>("checkBox_USB")->isChecked());
    QCOMPARE(w<QTabWidget>("tabWidget_2")->currentIndex(), 0);
    auto *tools = w<QToolBox>("toolBox_PrinterSetting");
    QCOMPARE(tools->currentIndex(), 0);
    QCOMPARE(tools->count(), 7);
    for (int i = 0; i < tools->count(); ++i)
        QVERIFY(tools->isItemEnabled(i));
    for (const char *bar : {"progressBar_Scan", "progressBar_Debug", "progressBar_Update"})
        QCOMPARE(w<QProgressBar>(bar)->value(), 0);
    QCOMPARE(w<QComboBox>("comboBox_ComBaud")->currentText(), QStringLiteral("115200"));
    QCOMPARE(w<QComboBox>("comboBox_ComBaud_con")->currentText(), QStringLiteral("115200"));
    QCOMPARE(w<QComboBox>("comboBox_ComControl_con")->currentText(), QStringLiteral("硬件"));
    QCOMPARE(w<QComboBox>("comboBox_OrderSet")->currentIndex(), 0);
    QCOMPARE(w<QLineEdit>("lineEdit_ConnectAddr")->text(), QStringLiteral("192.168.1.1"));
    QCOMPARE(w<QLineEdit>("lineEdit_ConnectTCPPort")->text(), QStringLiteral("9100"));
    QCOMPARE(w<QLineEdit>("lineEdit_ConnectUDPPort")->text(), QStringLiteral("38400"));
    // Label size seeded from the (empty) remembered settings.
    QCOMPARE(w<QLineEdit>("lineEdit")->text(), QStringLiteral("102.0"));
    QCOMPARE(w<QLineEdit>("lineEdit_2")->text(), QStringLiteral("152.0"));
}

void TestMainWindow::comboItems_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("last");
    QTest::newRow("code pages") << "comboBox_DefaultCodePage" << 62 << "0 PC437(Std.Europe)" << "61 PC3041(Maltese)";
    QTest::newRow("baud") << "comboBox_ComBaud" << 17 << "4800" << "921600";
    QTest::newRow("speed before selection") << "comboBox_PrintSpeed" << 6 << "0" << "5";
    QTest::newRow("density") << "comboBox_PrintDensty" << 16 << "0" << "15";
    QTest::newRow("instruction set") << "comboBox_OrderSet" << 6 << "ZPL" << "AUTO";
    QTest::newRow("paper type") << "comboBox_PaperType" << 4 << "标签纸" << "AUTO";
    QTest::newRow("print mode") << "comboBox_PrintMode" << 3 << "热敏" << "自适应";
    QTest::newRow("language") << "comboBox" << 7 << "英文" << "泰文";
    QTest::newRow("flow control") << "comboBox_ComControl_con" << 3 << "无" << "软件";
}

void TestMainWindow::comboItems()
{
    QFETCH(QString, name);
    QFETCH(int, count);
    QFETCH(QString, first);
    QFETCH(QString, last);
    auto *combo = m_window->findChild<QComboBox *>(name);
    QVERIFY2(combo, qPrintable(name));
    QCOMPARE(combo->count(), count);
    QCOMPARE(combo->itemText(0), first);
    QCOMPARE(combo->itemText(count - 1), last);
}

void TestMainWindow::mediumCheckBoxes_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("addressEnabled");
    QTest::addColumn<bool>("portsEnabled");
    QTest::newRow("wired") << "checkBox_NET" << 2 << false << true;
    QTest::newRow("wifi") << "checkBox_WIFI" << 2 << true << true;
    QTest::newRow("usb") << "checkBox_USB" << 1 << false << false;
}

void TestMainWindow::mediumCheckBoxes()
{
    QFETCH(QString, box);
    QFETCH(int, mode);
    QFETCH(bool, addressEnabled);
    QFETCH(bool, portsEnabled);

    // Start from another medium so that clicking the box checks it.
    clickBox(w<QCheckBox>(box == QLatin1String("checkBox_NET") ? "checkBox_WIFI" : "checkBox_NET"),
                      Qt::LeftButton);
    w<QComboBox>("comboBox_ScanResult")->addItem(QStringLiteral("stale entry"));
    w<QProgressBar>("progressBar_Scan")->setValue(100);

    auto *checkBox = m_window->findChild<QCheckBox *>(box);
    clickBox(checkBox, Qt::LeftButton);
    QVERIFY(checkBox->isChecked());
    QCOMPARE(ret_mode, mode);
    QCOMPARE(w<QComboBox>("comboBox_ScanResult")->count(), 0);
    QCOMPARE(w<QProgressBar>("progressBar_Scan")->value(), 0);
    QCOMPARE(w<QLineEdit>("lineEdit_ConnectAddr")->isEnabled(), addressEnabled);
    QCOMPARE(w<QLabel>("label_22")->isEnabled(), addressEnabled);
    QCOMPARE(w<QLineEdit>("lineEdit_ConnectTCPPort")->isEnabled(), portsEnabled);
    QCOMPARE(w<QLineEdit>("lineEdit_ConnectUDPPort")->isEnabled(), portsEnabled);
    QCOMPARE(w<QLabel>("label_21")->isEnabled(), portsEnabled);
    QVERIFY(!w<QComboBox>("comboBox_ComBaud_con")->isEnabled());
    QCOMPARE(m_catcher->count(), 0);
}

void TestMainWindow::wiredMediumCopiesEthernetPorts()
{
    w<QLineEdit>("lineEdit_NetportTCPPort")->setText(QStringLiteral("9200"));
    w<QLineEdit>("lineEdit_NetportUDPPort")->clear();
    clickBox(w<QCheckBox>("checkBox_NET"), Qt::LeftButton);
    QCOMPARE(w<QLineEdit>("lineEdit_ConnectTCPPort")->text(), QStringLiteral("9200"));
    // An empty source leaves the connection field alone.
    QCOMPARE(w<QLineEdit>("lineEdit_ConnectUDPPort")->text(), QStringLiteral("38400"));
}

void TestMainWindow::wifiMediumCopiesAddress_data()
{
    QTest::addColumn<int>("wifiMode");
    QTest::addColumn<QString>("stationIp");
    QTest::addColumn<QString>("apIp");
    QTest::addColumn<QString>("apPort");
    QTest::addColumn<QString>("expectedAddress");
    QTest::addColumn<QString>("expectedPort");
    QTest::newRow("station") << 0 << "10.0.0.7" << "192.168.4.1" << "" << "10.0.0.7" << "9100";
    QTest::newRow("access point") << 1 << "10.0.0.7" << "192.168.4.1" << "9101" << "192.168.4.1" << "9101";
    QTest::newRow("empty station address keeps field") << 0 << "" << "" << "" << "192.168.1.1" << "9100";
    QTest::newRow("zero address keeps field") << 0 << "0.0.0.0" << "" << "" << "192.168.1.1" << "9100";
}

void TestMainWindow::wifiMediumCopiesAddress()
{
    QFETCH(int, wifiMode);
    QFETCH(QString, stationIp);
    QFETCH(QString, apIp);
    QFETCH(QString, apPort);
    QFETCH(QString, expectedAddress);
    QFETCH(QString, expectedPort);
    w<QComboBox>("comboBox_WifiMode")->setCurrentIndex(wifiMode);
    w<QLineEdit>("lineEdit_WifiSetIP")->setText(stationIp);
    w<QLineEdit>("lineEdit_WApIP")->setText(apIp);
    w<QLineEdit>("lineEdit_WApPort")->setText(apPort);
    clickBox(w<QCheckBox>("checkBox_WIFI"), Qt::LeftButton);
    QCOMPARE(w<QLineEdit>("lineEdit_ConnectAddr")->text(), expectedAddress);
    QCOMPARE(w<QLineEdit>("lineEdit_ConnectTCPPort")->text(), expectedPort);
}

void TestMainWindow::retHandler_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("returned");
    QTest::addColumn<QString>("text");
    QTest::newRow("0 success") << 0 << 0 << "处理成功";
    QTest::newRow("1 malformed reply") << 1 << 0 << "";
    QTest::newRow("3 not connected") << 3 << 1 << "请确保打印机已进行连接";
    QTest::newRow("4 usb transfer") << 4 << 1 << "USB通讯出错，请重试";
    QTest::newRow("5 usb open") << 5 << 1 << "USB通讯出错，请重试";
    QTest::newRow("6 network") << 6 << 1 << "网络通讯出错，请重试";
    QTest::newRow("7 bluetooth") << 7 << 1 << "蓝牙通讯出错，请重试";
    QTest::newRow("8 serial") << 8 << 1 << "串口通讯出错，请重试";
    QTest::newRow("9") << 9 << 0 << "";
    QTest::newRow("-1 no transport") << -1 << 0 << "";
    QTest::newRow("INT_MIN") << INT_MIN << 0 << "";
}

void TestMainWindow::retHandler()
{
    QFETCH(int, code);
    QFETCH(int, returned);
    QFETCH(QString, text);
    QCOMPARE(m_window->Ret_Handler(code), returned);
    if (text.isEmpty()) {
        QCoreApplication::processEvents();
        QVERIFY2(m_catcher->count() == 0, qPrintable(describe(m_catcher->boxes())));
        return;
    }
    QCOMPARE(m_catcher->count(), 1);
    QCOMPARE(m_catcher->last().title, QStringLiteral("设置工具"));
    QCOMPARE(m_catcher->last().text, text);
    QCOMPARE(m_catcher->last().icon, QMessageBox::Information);
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
