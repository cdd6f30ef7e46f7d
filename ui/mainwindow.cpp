#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "protocol/result.h"
#include "query/printer_io.h"
#include "transport/net_transport.h"
#include "transport/serial_transport.h"
#include "transport/usb_transport.h"
#include "ui/shared_state.h"

#include <QDebug>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QTimer>
#include <QMetaType>

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent)
    , ui(new Ui::MainWindow)
{
    ui->setupUi(this);
    setFixedSize(1360, 780);

    // The paper-exit learning button's caption is too long for a button
    // text: a word-wrapped label lies over the button and lets clicks
    // through to it.
    ui->label_42->setParent(ui->pushButton_OutietLrn->parentWidget());
    ui->label_42->setGeometry(ui->pushButton_OutietLrn->geometry());
    ui->label_42->raise();
    ui->label_42->setAlignment(Qt::AlignCenter);
    ui->label_42->setWordWrap(true);
    ui->label_42->setAttribute(Qt::WA_TransparentForMouseEvents);

    qRegisterMetaType<QByteArray>("QByteArray");
    connect(ui->tabWidget_2, &QTabWidget::currentChanged, this, [this] {
        delete m_tipLabel;
    });

    connectFieldRepair();
    applyInitialState();
    setUpTransfers();
}

bool MainWindow::event(QEvent *event)
{
    const bool handled = QMainWindow::event(event);
    if (event->type() == QEvent::Paint && !m_afterShowingScheduled) {
        m_afterShowingScheduled = true;
        QTimer::singleShot(0, this, &MainWindow::finishAfterShowing);
    }
    return handled;
}

void MainWindow::finishAfterShowing()
{
    // Two pieces of start-up wait for the window's first paint, as nobody
    // can use what they prepare before the window is on screen. Sixteen
    // style sheets cost as much as a fifth of the start-up (each combo gets
    // a style of its own and is polished again) and only touch the combos'
    // drop-down lists. Asking the system for its serial ports (a udev
    // enumeration) only decides whether the serial and Bluetooth boxes can
    // be ticked.
    const QString comboStyle = QStringLiteral("QComboBOX QAbstractItemView {background-color:white;}");
    for (QComboBox *combo : {ui->comboBox_PrintSpeed, ui->comboBox_PrintDensty, ui->comboBox_PrintMode,
                             ui->comboBox_PaperType, ui->comboBox_PrintMethod, ui->comboBox_AutoPaper,
                             ui->comboBox_PrintDirection, ui->comboBox_DefaultCodePage, ui->comboBox_OrderSet,
                             ui->comboBox_WifiMode, ui->comboBox_WifiSetIPMode, ui->comboBox_SppMode,
                             ui->comboBox_ComStopBit, ui->comboBox_ComDataBit, ui->comboBox_ComParityBit,
                             ui->comboBox_ComBaud})
        combo->setStyleSheet(comboStyle);
    enableLineMedia();
    m_finishedAfterShowing = true;
}

MainWindow::~MainWindow()
{
    // The base destructor hides a window that is still shown, and hiding
    // takes the focus from a field and finishes its editing: the field
    // repair and the tip handling must not run on a half-destroyed window.
    for (QLineEdit *edit : findChildren<QLineEdit *>())
        disconnect(edit, &QLineEdit::editingFinished, this, nullptr);
    disconnect(ui->tabWidget_2, &QTabWidget::currentChanged, this, nullptr);
    endTransfers();
    endProvisioning();
    contrlNet = nullptr;
    contrlUsb = nullptr;
    delete m_tipLabel;
    delete ui;
}

void MainWindow::applyInitialState()
{
    ui->checkBox_USB->setChecked(true);
    for (QWidget *w : {static_cast<QWidget *>(ui->checkBox_USB), static_cast<QWidget *>(ui->checkBox_NET),
                       static_cast<QWidget *>(ui->checkBox_WIFI), static_cast<QWidget *>(ui->pushButton_getList),
                       static_cast<QWidget *>(ui->pushButton_open), static_cast<QWidget *>(ui->pushButton_Send),
                       static_cast<QWidget *>(ui->pushButton_SendFile), static_cast<QWidget *>(ui->comboBox_OrderSet),
                       static_cast<QWidget *>(ui->label_37)})
        w->setEnabled(true);
    for (QWidget *w : {static_cast<QWidget *>(ui->checkBox_BLE), static_cast<QWidget *>(ui->checkBox_Serialport),
                       static_cast<QWidget *>(ui->pushButton_close), static_cast<QWidget *>(ui->pushButton_StopList),
                       static_cast<QWidget *>(ui->comboBox_PrintMode), static_cast<QWidget *>(ui->comboBox_AutoPaper),
                       static_cast<QWidget *>(ui->label_41), static_cast<QWidget *>(ui->label_28),
                       static_cast<QWidget *>(ui->lineEdit_WApMAC), static_cast<QWidget *>(ui->lineEdit_SppMAC),
                       static_cast<QWidget *>(ui->lineEdit_ComDeviceInfo), static_cast<QWidget *>(ui->lineEdit_ComSN),
                       static_cast<QWidget *>(ui->progressBar_Update),
                       static_cast<QWidget *>(ui->pushButton_PrintSettingSet),
                       static_cast<QWidget *>(ui->pushButton_DistanceSettingSet),
                       static_cast<QWidget *>(ui->pushButton_WifiSettingSet),
                       static_cast<QWidget *>(ui->pushButton_BleSettingSet),
                       static_cast<QWidget *>(ui->pushButton_NetportSettingSet),
                       static_cast<QWidget *>(ui->pushButton_ComSettingSet),
                       static_cast<QWidget *>(ui->pushButton_StripperSettingSet)})
        w->setEnabled(false);
    setIpConnectionFields(false, false);
    setSerialConnectionFields(false);

    ui->comboBox_OrderSet->setCurrentIndex(0);
    ui->tabWidget_2->setCurrentIndex(0);
    ui->toolBox_PrinterSetting->setCurrentIndex(0);
    ui->progressBar_Scan->setValue(0);
    ui->progressBar_Debug->setValue(0);
    ui->progressBar_Update->setValue(0);
    ui->comboBox_ComBaud->setCurrentIndex(7);
    ui->comboBox_ComBaud_con->setCurrentIndex(7);
    ui->comboBox_ComControl_con->setCurrentIndex(1);
}

void MainWindow::showBox(QMessageBox::Icon icon, const QString &title, const QString &text, const QString &advice)
{
    QMessageBox box(icon, title, text, QMessageBox::Ok, this);
    // Texts may carry what a printer, a file or the system said.
    box.setTextFormat(Qt::PlainText);
    box.setInformativeText(advice);
    box.exec();
}

int MainWindow::Ret_Handler(int code)
{
    QString text;
    QString advice;
    // Asked on every result, so that a cause never outlives its failure.
    const UsbAccessProblem problem = CDeviceIOOpera::takeAccessProblem();
    switch (code) {
    case Result::Ok:
        showBox(QMessageBox::Information, tr("设置工具"), tr("处理成功"));
        return 0;
    case Result::NotConnected:
        text = tr("请确保打印机已进行连接");
        break;
    case Result::UsbFailed:
    case Result::UsbOpenFailed:
        text = tr("USB通讯出错，请重试");
        // Where the failure was an open or a claim the user can fix.
        if (problem == UsbAccessProblem::Permission)
            advice = tr("没有访问该USB设备的权限：请安装本工具的udev规则，然后重新插拔打印机。");
        else if (problem == UsbAccessProblem::Busy)
            advice = tr("打印机接口被其他程序或驱动占用：请关闭该程序或卸载该驱动后重试。");
        break;
    case Result::NetworkFailed:
        text = tr("网络通讯出错，请重试");
        break;
    case Result::BluetoothFailed:
        text = tr("蓝牙通讯出错，请重试");
        break;
    case Result::SerialFailed:
        text = tr("串口通讯出错，请重试");
        break;
    default:
        // Malformed replies, a medium without transport and anything
        // unknown pass silently.
        return 0;
    }
    showBox(QMessageBox::Information, tr("设置工具"), text, advice);
    return 1;
}

void MainWindow::controlAllWidgets(bool enable)
{
    for (QWidget *w : {ui->pushButton_close, ui->pushButton_getPrinterInfo, ui->pushButton_Send, ui->pushButton_SendFile})
        w->setEnabled(enable && !heldByTransfer(w));
    ui->tabWidget_2->setEnabled(enable);
    qDebug() << "-------------cmd:" << (enable ? "true" : "false");
}

void MainWindow::setIpConnectionFields(bool addressEnabled, bool portsEnabled)
{
    ui->label_22->setEnabled(addressEnabled);
    ui->lineEdit_ConnectAddr->setEnabled(addressEnabled);
    for (QWidget *w : {static_cast<QWidget *>(ui->label_20), static_cast<QWidget *>(ui->lineEdit_ConnectTCPPort),
                       static_cast<QWidget *>(ui->label_21), static_cast<QWidget *>(ui->lineEdit_ConnectUDPPort)})
        w->setEnabled(portsEnabled);
}

void MainWindow::setSerialConnectionFields(bool enabled)
{
    for (QWidget *w : {static_cast<QWidget *>(ui->comboBox_ComControl_con),
                       static_cast<QWidget *>(ui->comboBox_ComParityBit_con),
                       static_cast<QWidget *>(ui->comboBox_ComBaud_con),
                       static_cast<QWidget *>(ui->comboBox_ComDataBit_con),
                       static_cast<QWidget *>(ui->comboBox_ComStopBit_con),
                       static_cast<QWidget *>(ui->label_82), static_cast<QWidget *>(ui->label_81),
                       static_cast<QWidget *>(ui->label_80), static_cast<QWidget *>(ui->label_79),
                       static_cast<QWidget *>(ui->label_78)})
        w->setEnabled(enabled);
}

void MainWindow::selectMedium(int medium, bool addressEnabled, bool portsEnabled, bool serialEnabled)
{
    ret_mode = medium;
    ui->progressBar_Scan->setValue(0);
    ui->comboBox_ScanResult->clear();
    setIpConnectionFields(addressEnabled, portsEnabled);
    setSerialConnectionFields(serialEnabled);
}

void MainWindow::on_checkBox_USB_clicked(bool checked)
{
    if (!checked)
        return;
    selectMedium(MediumUsb, false, false, false);
}

void MainWindow::on_checkBox_NET_clicked(bool checked)
{
    if (!checked)
        return;
    selectMedium(MediumNet, false, true, false);
    fillWiredConnectionPorts();
}

void MainWindow::fillWiredConnectionPorts()
{
    // The wired printer listens on the ports configured on its Ethernet page.
    if (!ui->lineEdit_NetportTCPPort->text().isEmpty())
        ui->lineEdit_ConnectTCPPort->setText(ui->lineEdit_NetportTCPPort->text());
    if (!ui->lineEdit_NetportUDPPort->text().isEmpty())
        ui->lineEdit_ConnectUDPPort->setText(ui->lineEdit_NetportUDPPort->text());
}

void MainWindow::on_checkBox_WIFI_clicked(bool checked)
{
    if (!checked)
        return;
    selectMedium(MediumNet, true, true, false);
    fillWifiConnectionFields();
}

void MainWindow::fillWifiConnectionFields()
{
    // In AP mode the printer is reached at its own access-point address,
    // in station mode at the address it has on the joined network.
    const QString address = ui->comboBox_WifiMode->currentIndex() == 1 ? ui->lineEdit_WApIP->text()
                                                                      : ui->lineEdit_WifiSetIP->text();
    if (address != QLatin1String("...") && address != QLatin1String("0.0.0.0"))
        ui->lineEdit_ConnectAddr->setText(address);
    if (!ui->lineEdit_WApPort->text().isEmpty())
        ui->lineEdit_ConnectTCPPort->setText(ui->lineEdit_WApPort->text());
}

void MainWindow::on_checkBox_BLE_clicked(bool checked)
{
    if (!checked)
        return;
    selectMedium(MediumBle, false, false, false);
}

void MainWindow::on_checkBox_Serialport_clicked(bool checked)
{
    if (!checked)
        return;
    selectMedium(MediumSerial, false, false, true);
}

void MainWindow::addScanResult(const QString &displayText)
{
    ui->comboBox_ScanResult->addItem(displayText);
}

void MainWindow::setScanProgress(int percent)
{
    ui->progressBar_Scan->setValue(percent);
}

bool MainWindow::scanRunning() const
{
    return getListStatus;
}

bool MainWindow::wifiDirectChecked() const
{
    return ui->checkBox_WIFI->isChecked();
}

QString MainWindow::connectAddressText() const
{
    return ui->lineEdit_ConnectAddr->text();
}

QString MainWindow::connectTcpPortText() const
{
    return ui->lineEdit_ConnectTCPPort->text();
}

QString MainWindow::connectUdpPortText() const
{
    return ui->lineEdit_ConnectUDPPort->text();
}
