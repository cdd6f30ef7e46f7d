// Distance settings page: four distances along the paper path, two in
// printer dots and two in millimetres.
#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "protocol/conversions.h"
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
    settings::Values v;
    // The millimetre fields show whole millimetres, cut toward zero.
    const auto show = [&v](QLineEdit *field, const char *key) {
        const QString value = v.value(QString::fromLatin1(key));
        if (value.isNull())
            return;
        const bool millimetres = settings::find(QString::fromLatin1(key))->kind == settings::Kind::Decimal;
        field->setText(millimetres ? QString::number(proto::divideTowardZero(settings::dotsOf(value, openModel()), mmToDot))
                                   : value);
    };
    ReadSetting(THE_DISTANCE_OF_THE_PAPER_EDGE_IS_OUT, openModel(), v, ret_mode);
    ReadSetting(SEAM_TO_PRINT_HRAD_DISTANCE, openModel(), v, ret_mode);
    ReadSetting(BLACK_TO_PRINT_HEAD_DISTANCE, openModel(), v, ret_mode);
    // Only the last query's outcome is reported.
    const int result = ReadSetting(PRINT_HEAD_TO_TEAR_DISTANCE, openModel(), v, ret_mode);
    show(ui->lineEdit_DistanceO2PH, "distance.paper_exit_dots");
    show(ui->lineEdit_DistanceS2PH, "distance.seam_mm");
    show(ui->lineEdit_DistanceB2PH, "distance.black_mark_mm");
    show(ui->lineEdit_DistancePH2T, "distance.tear_dots");
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
