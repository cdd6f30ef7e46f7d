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
    // Each value is kept as read too, for the set to send back unchanged
    // what nobody edited.
    QByteArray payload;
    const auto query = [&](SetInfoType type) { return ReadSetting(type, openModel(), v, ret_mode, &payload) == 0; };
    const auto keepText = [&](const char *key) { m_kept.keepTexts({QString::fromLatin1(key)}, payload); };

    if (!query(BR_EDR_NAME))
        return mediumFailure(ret_mode);
    keepText("bluetooth.spp_name");
    ui->lineEdit_SppName->setText(value("bluetooth.spp_name"));
    if (!query(BLE_NAME))
        return mediumFailure(ret_mode);
    keepText("bluetooth.ble_name");
    ui->lineEdit_SppBLE->setText(value("bluetooth.ble_name"));
    if (!query(SPP_MODE))
        return mediumFailure(ret_mode);
    // A mode the combo does not list shows no selection.
    m_kept.keepChoices({QStringLiteral("bluetooth.pairing")}, payload);
    ui->comboBox_SppMode->setCurrentIndex(settings::choiceIndex(v, QStringLiteral("bluetooth.pairing")));
    if (!query(PIN))
        return mediumFailure(ret_mode);
    keepText("bluetooth.pin");
    ui->lineEdit_SppPin->setText(value("bluetooth.pin"));
    if (!query(MAC_ADDRESSES))
        return mediumFailure(ret_mode);
    ui->lineEdit_SppMAC->setText(value("bluetooth.mac"));
    return 0;
}

void MainWindow::on_pushButton_BleSettingSet_clicked()
{
    const auto textsFit = [this] {
        return textFits(fieldNameOf(tr("SPP名称:")), keptText("bluetooth.spp_name", ui->lineEdit_SppName))
            && textFits(fieldNameOf(tr("BLE:")), keptText("bluetooth.ble_name", ui->lineEdit_SppBLE))
            && textFits(fieldNameOf(tr("SPP_PIN码：")), keptText("bluetooth.pin", ui->lineEdit_SppPin));
    };
    const std::optional<int> result = runOnPrinter({.proceed = textsFit}, [this] {
        return firstFailure({Set_Send_BR_EDR_NAME_Instruction(), Set_Send_BLE_NAME_Instruction(),
                             Set_Send_SPP_MODE_Instruction(), Set_Send_PIN_Instruction()});
    });
    if (result)
        reportRestartNeeded(*result);
}
