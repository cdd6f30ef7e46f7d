// Stripper (peeler) page: the paper-take time, in whole seconds on screen
// and milliseconds in the printer.
#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "pages/cutdialog.h"
#include "query/printer_io.h"
#include "ui/shared_state.h"

#include <QDebug>

bool MainWindow::confirmStripper()
{
    if (CHECK_STATUES == 0) {
        CutDialog dialog(this);
        if (dialog.exec() == QDialog::Rejected) {
            qDebug() << "return Rejected";
            return false;
        }
    }
    CHECK_STATUES = 1;
    return true;
}

void MainWindow::on_pushButton_StripperSettingRead_clicked()
{
    readPage({.lock = PageFlow::Lock::AfterConnect, .proceed = [this] { return confirmStripper(); }},
             ui->pushButton_StripperSettingSet, [this] {
                 settings::Values v;
                 const int result = ReadSetting(CUT_DIS, openModel(), v, ret_mode);
                 if (result == 0)
                     ui->lineEdit_PaperTime->setText(v.value(QStringLiteral("stripper.paper_take_s")));
                 return result;
             });
}

void MainWindow::on_pushButton_StripperSettingSet_clicked()
{
    // 66 s and more would not fit the printer's 16-bit millisecond field.
    const auto confirmedAndFits = [this] {
        return confirmStripper()
            && fieldFits(tr("剥离器取纸时间（单位：s）"), CUT_DIS, ui->lineEdit_PaperTime->text());
    };
    setPage({.proceed = confirmedAndFits}, [this] { return Set_Send_CUT_DIS_Instruction(); });
}
