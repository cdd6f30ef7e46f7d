// Print settings page: speed, density, direction, method or paper feed,
// paper type, gaps, offsets, code page, command language, label size and
// the printer's display language.
#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "protocol/conversions.h"
#include "query/printer_io.h"
#include "ui/shared_state.h"

#include <array>
#include <cmath>

void MainWindow::on_pushButton_PrintSettingRead_clicked()
{
    readPage({.lock = PageFlow::Lock::BeforeCheck}, ui->pushButton_PrintSettingSet, [this] { return Print_Init(); });
}

int MainWindow::Print_Init()
{
    settings::Values v;
    std::array<int, 14> slot{};
    QByteArray payload;
    auto query = [&](int index, SetInfoType type) {
        slot[index] = ReadSetting(type, openModel(), v, ret_mode, &payload);
        return slot[index] == 0;
    };
    // A byte beyond a combo's items shows no selection; the set sends it
    // back as read (see KeptBytes).
    const auto keep = [&](const char *key) { m_kept.keepChoices({QString::fromLatin1(key)}, payload); };
    const auto number = [&v](const char *key) { return v.value(QString::fromLatin1(key)); };
    // The page shows whole millimetres, cut toward zero.
    const auto wholeMm = [&](const char *key) {
        return QString::number(proto::divideTowardZero(settings::dotsOf(number(key), openModel()), mmToDot));
    };
    const auto index = [&v](const char *key) { return settings::choiceIndex(v, QString::fromLatin1(key)); };
    // A combo number the decode left out (beyond the combo) selects nothing.
    const auto comboNumber = [&v](const char *key) {
        const QString value = v.value(QString::fromLatin1(key));
        return value.isNull() ? -1 : value.toInt();
    };

    if (query(0, SPEED)) {
        keep("print.speed");
        ui->comboBox_PrintSpeed->setCurrentIndex(comboNumber("print.speed"));
    }
    if (query(1, Densty_SETTING)) {
        keep("print.density");
        ui->comboBox_PrintDensty->setCurrentIndex(comboNumber("print.density"));
    }
    if (query(2, LABLE_CLEARANCE))
        ui->lineEdit_LabelGap->setText(wholeMm("print.label_gap_mm"));
    if (query(3, BLACK_CLEARANCE))
        ui->lineEdit_BlackLabelGap->setText(wholeMm("print.black_mark_gap_mm"));
    if (query(4, PRINT_DIRECTION)) {
        ui->comboBox_PrintDirection->setCurrentIndex(index("print.rotation"));
        ui->comboBox_PrintMethod->setCurrentIndex(index("print.mirror"));
    }
    if (query(5, PRINT_OFFSET))
        ui->lineEdit_PrintShift->setText(wholeMm("print.offset_mm"));
    if (query(6, VERTICAL_MIGRATION))
        ui->lineEdit_VerticalShift->setText(wholeMm("print.vertical_offset_mm"));
    // Printing method exists only on the extended models, automatic paper
    // feed only on the others.
    if (printModeFlag && query(7, PRINTER_MODE))
        ui->comboBox_PrintMode->setCurrentIndex(index("print.method"));
    if (query(8, PAPER_TYPE))
        ui->comboBox_PaperType->setCurrentIndex(index("print.paper_type"));
    if (query(9, DEFAULT_CODE)) {
        keep("print.code_page");
        ui->comboBox_DefaultCodePage->setCurrentIndex(comboNumber("print.code_page"));
    }
    // A code the table does not know leaves the selection alone.
    if (query(10, SIMULATION) && v.contains(QStringLiteral("print.command_set")))
        ui->comboBox_OrderSet->setCurrentText(number("print.command_set"));
    if (!printModeFlag && query(11, AUTO_PAPER)) {
        keep("print.auto_paper");
        ui->comboBox_AutoPaper->setCurrentIndex(index("print.auto_paper"));
    }
    if (query(12, LABEL_SIZE)) {
        // The page shows one decimal, cut off rather than rounded.
        const auto shown = [&](const char *key) {
            return proto::dotsToMmText(settings::dotsOf(number(key), openModel()), mmToDot);
        };
        ui->lineEdit_2->setText(shown("print.label_height_mm"));
        ui->lineEdit->setText(shown("print.label_width_mm"));
    }
    if (query(13, LG_MODE)) {
        keep("print.language");
        ui->comboBox->setCurrentIndex(index("print.language"));
    }

    return firstFailure(slot);
}

void MainWindow::on_pushButton_PrintSettingSet_clicked()
{
    // Refuse, before the first frame, values whose dots would not fit the
    // printer's 16-bit fields (they would silently wrap).
    const auto valuesFit = [this] {
        return fieldFits(tr("标签间隙(单位mm)"), LABLE_CLEARANCE, ui->lineEdit_LabelGap->text())
            && fieldFits(tr("黑标间隙(单位mm)"), BLACK_CLEARANCE, ui->lineEdit_BlackLabelGap->text())
            && fieldFits(tr("垂直偏移(单位mm)"), VERTICAL_MIGRATION, ui->lineEdit_VerticalShift->text())
            && fieldFits(tr("打印偏移(单位mm)"), PRINT_OFFSET, ui->lineEdit_PrintShift->text());
    };
    setPage({.proceed = valuesFit}, [this] {
        std::array<int, 14> slot{};
        slot[0] = Set_Send_DEFAULT_CODE_Instruction();
        slot[1] = Set_Send_SPEED_Instruction();
        slot[2] = Set_Send_Densty_SETTING_Instruction();
        slot[3] = Set_Send_LABLE_CLEARANCE_Instruction();
        slot[4] = Set_Send_BLACK_CLEARANCE_Instruction();
        slot[5] = Set_Send_PRINT_DIRECTION_Instruction();
        slot[6] = printModeFlag ? Set_PRINTER_MODE_Instruction() : Set_AUTO_PAPER_Instruction();
        slot[7] = Set_Send_PAPER_TYPE_Instruction();
        slot[8] = Set_Send_SIMULATION_Instruction();
        slot[9] = Set_Send_VERTICAL_MIGRATION_Instruction();
        slot[10] = Set_Send_PRINT_OFFSET_Instruction();
        slot[11] = Set_Send_LABEL_SIZE_Instruction();
        slot[13] = Set_Send_LG_MODE_Instruction();
        // The printer applies the new print settings when told they are
        // complete; this last frame reports in slot 12.
        slot[12] = SetPrinterStatusButton(PRINT_SETTINGS_DONE, ret_mode);
        return firstFailure(slot);
    });
}
