// Device list refresh, open, close and the adaptation of the window to the
// selected printer's model.
#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "protocol/conversions.h"
#include "protocol/printer_models.h"
#include "protocol/frame.h"
#include "protocol/result.h"
#include "protocol/serial_line.h"
#include "query/line_search.h"
#include "query/printer_io.h"
#include "transport/net_transport.h"
#include "transport/serial_transport.h"
#include "transport/usb_transport.h"
#include "ui/shared_state.h"

#include <QCoreApplication>
#include <QDebug>
#include <QRegularExpression>
#include <QThread>
#include <QTimer>
#include <memory>
#include <new>

namespace {

// "{USB7}" -> 7; "{USB}" or no braces -> 0.
int usbPortFromItem(const QString &text)
{
    const int start = text.indexOf(QLatin1String("{USB"));
    if (start < 0)
        return 0;
    const int end = text.indexOf(QLatin1Char('}'), start + 4);
    if (end < 0 || end == start + 4)
        return 0;
    QString digits = text.mid(start + 4, end - start - 4);
    digits = digits.rightJustified(3, QLatin1Char('0'));
    bool ok = false;
    const int port = digits.toInt(&ok, 10);
    return ok ? port : 0;
}

QString addressFromItem(const QString &text)
{
    static const QRegularExpression braces(QStringLiteral("\\{([^{}]+)\\}"));
    const QRegularExpressionMatch match = braces.match(text);
    return match.hasMatch() ? match.captured(1) : QString();
}

} // namespace

void MainWindow::on_pushButton_getList_clicked()
{
    if (m_refreshRunning) {
        m_refreshPending = true;
        ui->pushButton_getList->setEnabled(false);
        ui->pushButton_StopList->setEnabled(true);
        ui->comboBox_ScanResult->setEnabled(false);
        return;
    }
    m_refreshRunning = true;
    getListStatus = true;
    ui->progressBar_Scan->setValue(0);
    ui->pushButton_getList->setEnabled(false);
    ui->pushButton_StopList->setEnabled(true);
    ui->comboBox_ScanResult->setEnabled(false);
    ui->comboBox_ScanResult->clear();
    QCoreApplication::processEvents();

    std::unique_ptr<_PRINTER_ATTR[]> records(new (std::nothrow) _PRINTER_ATTR[kPrinterAttrCount]());
    if (!records) {
        m_refreshRunning = false;
        showBox(QMessageBox::Critical, tr("设置工具"), tr("内存分配失败"));
        ui->pushButton_getList->setEnabled(true);
        return;
    }
    Printer_Vector devices;

    // Every refresh starts from a fresh transport object; the previous one
    // (and its handle record) is disposed of here, never while in use: the
    // refresh button is disabled while a printer is open.
    int result = -1;
    if (ret_mode == MediumNet) {
        m_netTransport = std::make_unique<DeviceIoContrl_Net>(this);
        contrlNet = m_netTransport.get();
        result = contrlNet->GetPrinterHandle(records.get(), devices);
    } else if (ret_mode == MediumUsb) {
        m_usbTransport = std::make_unique<CDeviceIOOpera>(this);
        contrlUsb = m_usbTransport.get();
        result = contrlUsb->GetPrinterHandle(records.get(), devices);
    } else if (isSerialMedium(ret_mode)) {
        // Only lists the ports: nothing is sent to a port that may be a
        // modem or a GPS.
        m_serialTransport = std::make_unique<DeviceIoContrl_Serial>(this, ret_mode == MediumBle);
        result = m_serialTransport->GetPrinterHandle(records.get(), devices);
    }
    enableLineMedia();

    ui->progressBar_Scan->setValue(100);
    QCoreApplication::processEvents();
    getListStatus = false;
    ui->comboBox_ScanResult->setEnabled(true);
    ui->pushButton_StopList->setEnabled(false);
    ui->pushButton_getList->setEnabled(true);
    QCoreApplication::processEvents();
    m_refreshRunning = false;

    if (m_refreshPending) {
        // This refresh was stopped and another asked for: its outcome no
        // longer matters.
        m_refreshPending = false;
        QTimer::singleShot(0, this, &MainWindow::on_pushButton_getList_clicked);
        return;
    }
    if (result == 0)
        showBox(QMessageBox::Information, tr("设置工具"), tr("请确保通讯设备已开启"));
}

void MainWindow::on_pushButton_StopList_clicked()
{
    getListStatus = false;
    m_refreshPending = false;
    ui->pushButton_getList->setEnabled(true);
    ui->pushButton_StopList->setEnabled(false);
    ui->comboBox_ScanResult->setEnabled(true);
    QCoreApplication::processEvents();
}

void MainWindow::on_pushButton_open_clicked()
{
    if (ui->comboBox_ScanResult->count() == 0 || ui->comboBox_ScanResult->currentIndex() < 0) {
        showBox(QMessageBox::Information, tr("设置工具"), tr("请先选中打印列表中的打印机"));
        return;
    }
    const QString item = ui->comboBox_ScanResult->currentText();

    int result = -1;
    QString advice;
    m_modelText = item;
    if (ret_mode == MediumNet) {
        // A close forgets contrlNet but keeps the list: reopening an entry
        // of that list uses the transport that found it.
        if (!contrlNet)
            contrlNet = m_netTransport.get();
        ui->centralwidget->setEnabled(false);
        const QString address = addressFromItem(item);
        const quint16 port = proto::parsePort(ui->lineEdit_ConnectTCPPort->text());
        result = contrlNet ? contrlNet->Connect_Server(address, port) : 1;
        ui->centralwidget->setEnabled(true);
    } else if (ret_mode == MediumUsb) {
        ui->centralwidget->setEnabled(false);
        result = CDeviceIOOpera::GetPrinterHandle(usbPortFromItem(item));
        ui->centralwidget->setEnabled(true);
    } else if (isSerialMedium(ret_mode)) {
        ui->centralwidget->setEnabled(false);
        result = openLine(item, advice);
        ui->centralwidget->setEnabled(true);
    }
    if (result != 0) {
        showBox(QMessageBox::Critical, tr("错误"), tr("连接超时，请重试！"));
        return;
    }

    showBox(QMessageBox::Information, tr("设置工具"), tr("连接成功！"), advice);

    if (models::twelveDots(m_modelText)) {
        mmToDot = 12;
        ui->label_17->setText(tr("注：1mm = 12dot"));
    } else {
        mmToDot = 8;
        ui->label_17->setText(tr("注：1mm = 8dot"));
    }

    ui->pushButton_getList->setEnabled(false);
    for (QWidget *w : {static_cast<QWidget *>(ui->checkBox_USB), static_cast<QWidget *>(ui->checkBox_NET),
                       static_cast<QWidget *>(ui->checkBox_BLE), static_cast<QWidget *>(ui->checkBox_WIFI),
                       static_cast<QWidget *>(ui->checkBox_Serialport)})
        w->setEnabled(false);
    ui->comboBox_ScanResult->setEnabled(false);
    ui->pushButton_open->setEnabled(false);
    ui->pushButton_close->setEnabled(true);

    selectedItem();
}

int MainWindow::openLine(const QString &item, QString &advice)
{
    const bool bluetooth = ret_mode == MediumBle;
    // A Bluetooth link ignores line settings; a cable takes the connection
    // group's.
    std::optional<serial::LineSettings> settings = serial::LineSettings{};
    if (!bluetooth)
        settings = serial::fromComboIndexes(ui->comboBox_ComBaud_con->currentText(),
                                            ui->comboBox_ComParityBit_con->currentIndex(),
                                            ui->comboBox_ComDataBit_con->currentIndex(),
                                            ui->comboBox_ComStopBit_con->currentIndex(),
                                            ui->comboBox_ComControl_con->currentIndex());
    if (!m_serialTransport || !settings || m_serialTransport->Connect_Serial(addressFromItem(item), *settings) != 0)
        return 1;
    unsigned char identity[proto::kResultBufferSize];
    qint32 baud = settings->baud;
    const int result = IdentifyOnLine(!bluetooth, [this](int percent) { ui->progressBar_Scan->setValue(percent); },
                                      baud, identity);
    if (!bluetooth)
        ui->progressBar_Scan->setValue(100);
    if (result != Result::Ok) {
        m_serialTransport->Disconnect_Serial();
        return 1;
    }
    // The list item names a port, not a printer: the model comes from the
    // printer's own identity.
    if (const auto fields = proto::splitDeviceIdentity(identity))
        m_modelText = fields->model();
    qDebug() << "serial printer model:" << m_modelText << "at" << baud << "baud";
    if (baud != settings->baud) {
        ui->comboBox_ComBaud_con->setCurrentText(QString::number(baud));
        advice = tr("打印机在%1波特率下应答，已改用该波特率。").arg(baud);
    }
    return 0;
}

void MainWindow::enableLineMedia()
{
    bool serialPort = false, bluetooth = false;
    const PortSystem system = currentPortSystem();
    for (const SerialPortFacts &port : systemPorts())
        (isBluetoothLink(port, system) ? bluetooth : serialPort) = true;
    ui->checkBox_Serialport->setEnabled(serialPort);
    ui->checkBox_BLE->setEnabled(bluetooth);
}

void MainWindow::selectedItem()
{
    const QString item = m_modelText;
    CHECK_STATUES = 0;
    forgetPrinterValues();

    if (models::firmwareOnly(item)) {
        ui->tabWidget_2->setTabEnabled(0, false);
        ui->tabWidget_2->setTabEnabled(1, false);
        ui->pushButton_DownloadFL->setEnabled(false);
        // No settings to keep.
        ui->pushButton_BackupSettings->setEnabled(false);
        ui->pushButton_RestoreSettings->setEnabled(false);
    } else {
        ui->tabWidget_2->setTabEnabled(1, true);
        ui->tabWidget_2->setTabEnabled(0, true);
        ui->pushButton_DownloadFL->setEnabled(true);
        ui->pushButton_BackupSettings->setEnabled(true);
        ui->pushButton_RestoreSettings->setEnabled(true);
    }

    const bool extended = models::extendedPrint(item);
    if (extended)
        qDebug() << "select";
    ui->toolBox_PrinterSetting->setItemEnabled(6, extended);
    ui->comboBox_PrintSpeed->clear();
    ui->comboBox_PrintMode->setEnabled(extended);
    ui->label_41->setEnabled(extended);
    ui->comboBox_AutoPaper->setEnabled(!extended);
    ui->label_28->setEnabled(!extended);
    printModeFlag = extended;
    const int speeds = extended ? 8 : 4;
    for (int i = 0; i < speeds; ++i)
        ui->comboBox_PrintSpeed->addItem(QString::number(i));

    for (QWidget *w : {ui->pushButton_PrintSettingSet, ui->pushButton_DistanceSettingSet,
                       ui->pushButton_WifiSettingSet, ui->pushButton_BleSettingSet,
                       ui->pushButton_NetportSettingSet, ui->pushButton_ComSettingSet,
                       ui->pushButton_StripperSettingSet})
        w->setEnabled(false);
}

void MainWindow::closeConnection(unsigned long networkPauseMs)
{
    if (ret_mode == MediumNet) {
        ui->centralwidget->setEnabled(false);
        if (contrlNet)
            contrlNet->Disconnect_Server();
        ui->centralwidget->setEnabled(true);
        QThread::msleep(networkPauseMs);
    } else if (ret_mode == MediumUsb) {
        ui->centralwidget->setEnabled(false);
        CDeviceIOOpera::ClosePrinterHandle();
        ui->centralwidget->setEnabled(true);
    } else if (isSerialMedium(ret_mode) && m_serialTransport) {
        m_serialTransport->Disconnect_Serial();
    }
    for (QWidget *w : {static_cast<QWidget *>(ui->pushButton_getList), static_cast<QWidget *>(ui->checkBox_USB),
                       static_cast<QWidget *>(ui->checkBox_NET), static_cast<QWidget *>(ui->checkBox_WIFI),
                       static_cast<QWidget *>(ui->comboBox_ScanResult), static_cast<QWidget *>(ui->pushButton_open)})
        w->setEnabled(true);
    ui->pushButton_close->setEnabled(false);
    enableLineMedia();
    forgetPrinterValues();
}

void MainWindow::on_pushButton_close_clicked(bool openDebug)
{
    closeConnection(10);
    if (openDebug)
        showBox(QMessageBox::Information, tr("设置工具"), tr("关闭成功！"));
    contrlNet = nullptr;
}
