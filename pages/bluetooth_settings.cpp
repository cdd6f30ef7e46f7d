// Bluetooth page ("蓝牙设置"): the names of the printer's classic (serial
// port profile) and Low Energy sides, the pairing mode and PIN of the
// classic side, and its Bluetooth MAC address. A set always sends all four
// settings.
#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "query/printer_io.h"
#include "ui/shared_state.h"

#include <QCoreApplication>

void MainWindow::on_pushButton_BleSettingRead_clicked()
{
    // Let the locked window repaint before the exchange blocks it. The
    // Bluetooth identity cannot be changed over the Bluetooth link it
    // describes.
    const PageFlow flow{.lock = PageFlow::Lock::BeforeCheck,
                        .proceed = [] {
                            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
                            return true;
                        },
                        .noSetOver = ui->checkBox_BLE};
    readPage(flow, ui->pushButton_BleSettingSet, [this] { return Blueteeth_Init(); });
}

int MainWindow::Blueteeth_Init()
{
    settings::Values v;
    const auto value = [&v](const char *key) { return v.value(QString::fromLatin1(key)); };
    const auto query = [&](SetInfoType type) { return ReadSetting(type, openModel(), v, ret_mode) == 0; };

    if (!query(BR_EDR_NAME))
        return mediumFailure(ret_mode);
    ui->lineEdit_SppName->setText(value("bluetooth.spp_name"));
    if (!query(BLE_NAME))
        return mediumFailure(ret_mode);
    ui->lineEdit_SppBLE->setText(value("bluetooth.ble_name"));
    if (!query(SPP_MODE))
        return mediumFailure(ret_mode);
    ui->comboBox_SppMode->setCurrentIndex(settings::choiceIndex(v, QStringLiteral("bluetooth.pairing")));
    if (!query(PIN))
        return mediumFailure(ret_mode);
    ui->lineEdit_SppPin->setText(value("bluetooth.pin"));
    if (!query(MAC_ADDRESSES))
        return mediumFailure(ret_mode);
    ui->lineEdit_SppMAC->setText(value("bluetooth.mac"));
    return 0;
}

void MainWindow::on_pushButton_BleSettingSet_clicked()
{
    const auto textsFit = [this] {
        return textFits(fieldNameOf(tr("SPP名称:")), ui->lineEdit_SppName->text().toUtf8())
            && textFits(fieldNameOf(tr("BLE:")), ui->lineEdit_SppBLE->text().toUtf8())
            && textFits(fieldNameOf(tr("SPP_PIN码：")), ui->lineEdit_SppPin->text().toUtf8());
    };
    const std::optional<int> result = runOnPrinter({.proceed = textsFit}, [this] {
        return firstFailure({Set_Send_BR_EDR_NAME_Instruction(), Set_Send_BLE_NAME_Instruction(),
                             Set_Send_SPP_MODE_Instruction(), Set_Send_PIN_Instruction()});
    });
    if (result)
        reportRestartNeeded(*result);
}
