// Distance settings page: four distances along the paper path, two in
// printer dots and two in millimetres.
#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "protocol/conversions.h"
#include "protocol/frame.h"
#include "query/printer_io.h"
#include "ui/shared_state.h"

void MainWindow::on_pushButton_DistanceSettingRead_clicked()
{
    // Set is enabled by any completed read: the page reports only its last
    // query, so the others may well have filled their fields.
    readPage({.lock = PageFlow::Lock::BeforeCheck, .enableSetAlways = true}, ui->pushButton_DistanceSettingSet,
             [this] { return Distance_Init(); });
}

int MainWindow::Distance_Init()
{
    unsigned char buf[proto::kResultBufferSize];
    auto number = [](double value) { return QString::number(value, 'g', 6); };

    if (GetPrinterInfo(THE_DISTANCE_OF_THE_PAPER_EDGE_IS_OUT, buf, ret_mode) == 0)
        ui->lineEdit_DistanceO2PH->setText(number(proto::readLeS16(buf)));
    if (GetPrinterInfo(SEAM_TO_PRINT_HRAD_DISTANCE, buf, ret_mode) == 0)
        ui->lineEdit_DistanceS2PH->setText(number(proto::divideTowardZero(proto::readLeS16(buf), mmToDot)));
    if (GetPrinterInfo(BLACK_TO_PRINT_HEAD_DISTANCE, buf, ret_mode) == 0)
        ui->lineEdit_DistanceB2PH->setText(number(proto::divideTowardZero(proto::readLeS16(buf), mmToDot)));
    // Only the last query's outcome is reported.
    const int result = GetPrinterInfo(PRINT_HEAD_TO_TEAR_DISTANCE, buf, ret_mode);
    if (result == 0)
        ui->lineEdit_DistancePH2T->setText(number(proto::readLeS16(buf)));
    return result;
}

void MainWindow::on_pushButton_DistanceSettingSet_clicked()
{
    const auto valuesFit = [this] {
        return fieldFits(tr("出纸口到打印头距离(单位dot)"), THE_DISTANCE_OF_THE_PAPER_EDGE_IS_OUT,
                         ui->lineEdit_DistanceO2PH->text())
            && fieldFits(tr("缝到打印头距离(单位mm)"), SEAM_TO_PRINT_HRAD_DISTANCE, ui->lineEdit_DistanceS2PH->text())
            && fieldFits(tr("黑标到打印头距离(单位mm)"), BLACK_TO_PRINT_HEAD_DISTANCE,
                         ui->lineEdit_DistanceB2PH->text())
            && fieldFits(tr("打印头到撕纸位置距离(单位dot)"), PRINT_HEAD_TO_TEAR_DISTANCE,
                         ui->lineEdit_DistancePH2T->text());
    };
    setPage({.proceed = valuesFit}, [this] {
        return firstFailure({Set_Send_THE_DISTANCE_OF_THE_PAPER_EDGE_IS_OUT_Instruction(),
                             Set_Send_SEAM_TO_PRINT_HRAD_DISTANCE_Instruction(),
                             Set_Send_BLACK_TO_PRINT_HEAD_DISTANCE_Instruction(),
                             Set_Send_PRINT_HEAD_TO_TEAR_DISTANCE_Instruction()});
    });
}
