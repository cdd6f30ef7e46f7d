// Numeric field repair: when the operator finishes editing a numeric field,
// only a valid number may stay in it. The rules live in numeric_repair.cpp;
// this file applies them to the widgets and shows the tip.
#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "ui/label_size_memory.h"
#include "ui/numeric_repair.h"
#include "ui/shared_state.h"

#include <QDebug>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QPointer>
#include <QTimer>

void MainWindow::connectFieldRepair()
{
    // The label size is remembered between runs (written by the label-size
    // instruction); seed the fields without triggering the repair.
    {
        const QSignalBlocker blockWidth(ui->lineEdit);
        const QSignalBlocker blockHeight(ui->lineEdit_2);
        ui->lineEdit->setText(repair::oneDecimal(labelsize::rememberedWidthMm()));
        ui->lineEdit_2->setText(repair::oneDecimal(labelsize::rememberedHeightMm()));
    }

    // The size ranges are the settings catalogue's, which the command line
    // takes as well.
    const auto sizeRange = [](const char *key) {
        return *settings::range(*settings::find(QString::fromLatin1(key)), openModel());
    };
    connect(ui->lineEdit, &QLineEdit::editingFinished, this, [this, sizeRange] {
        const settings::Range width = sizeRange("print.label_width_mm");
        fixLineEditWithTip(ui->lineEdit, tr("宽度范围20-108mm，请重新输入"), width.min, width.max);
    });
    connect(ui->lineEdit_2, &QLineEdit::editingFinished, this, [this, sizeRange] {
        const settings::Range height = sizeRange("print.label_height_mm");
        fixLineEditWithTip(ui->lineEdit_2, tr("高度范围10-1778mm，请重新输入"), height.min, height.max);
    });
    for (QLineEdit *edit : {ui->lineEdit_LabelGap, ui->lineEdit_BlackLabelGap, ui->lineEdit_VerticalShift,
                            ui->lineEdit_PrintShift, ui->lineEdit_DistanceO2PH, ui->lineEdit_DistanceS2PH,
                            ui->lineEdit_DistanceB2PH, ui->lineEdit_DistancePH2T, ui->lineEdit_NetportTCPPort,
                            ui->lineEdit_NetportUDPPort, ui->lineEdit_PaperTime}) {
        connect(edit, &QLineEdit::editingFinished, this, [this, edit] { fixIntegerLineEdit(edit); });
    }
}

void MainWindow::fixLineEditWithTip(QLineEdit *edit, const QString &tip, double min, double max)
{
    if (!m_lastDecimal.contains(edit)) {
        double seed = 0.0;
        if (edit == ui->lineEdit)
            seed = labelsize::rememberedWidthMm();
        else if (edit == ui->lineEdit_2)
            seed = labelsize::rememberedHeightMm();
        m_lastDecimal.insert(edit, seed);
    }

    const QString input = edit->text().trimmed();
    qDebug() << "========== DEBUG fixLineEditWithTip ==========";
    qDebug() << "Raw input:" << input;

    const repair::DecimalResult result = repair::repairDecimal(input, min, max, m_lastDecimal.value(edit));
    if (result.textChanged) {
        const QSignalBlocker blocker(edit);
        edit->setText(result.text);
    }
    m_lastDecimal.insert(edit, result.value);
    if (result.showTip)
        showLineEditTip(edit, tip);
    if (result.valid) {
        qDebug() << "[Result] Final string:" << result.text;
        qDebug() << QString(44, QLatin1Char('='));
    }
}

void MainWindow::fixIntegerLineEdit(QLineEdit *edit)
{
    const int last = m_lastInteger.value(edit, 0);
    const repair::IntegerResult result = repair::repairInteger(edit->text().trimmed(), last);
    if (result.textChanged) {
        const QSignalBlocker blocker(edit);
        edit->setText(result.text);
    }
    m_lastInteger.insert(edit, result.value);
}

void MainWindow::showLineEditTip(QLineEdit *edit, const QString &tip)
{
    if (m_tipLabel) {
        m_tipLabel->deleteLater();
        m_tipLabel = nullptr;
    }
    auto *label = new QLabel(tip, nullptr, Qt::ToolTip);
    label->setObjectName(QStringLiteral("lineEditTip"));
    label->setAttribute(Qt::WA_ShowWithoutActivating);
    label->setStyleSheet(QStringLiteral("background-color: yellow; color: black; border: 1px solid gray; padding: 2px;"));
    label->adjustSize();
    label->move(edit->mapToGlobal(QPoint(0, edit->height())));
    label->show();
    m_tipLabel = label;
    // Only this tip goes after 3 s; a newer one has its own timer.
    QTimer::singleShot(3000, this, [this, guard = QPointer<QLabel>(label)] {
        if (guard && m_tipLabel == guard)
            delete m_tipLabel;
    });
}
