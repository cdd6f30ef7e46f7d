#include "maintenance/restore_dialog.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace {

enum Column { Name, Printer, File, Check, Outcome, Columns };

} // namespace

RestoreSettingsDialog::RestoreSettingsDialog(const restore::Comparison &comparison, const Wording &wording,
                                             const QString &note, QWidget *parent)
    : QDialog(parent), m_rows(comparison.rows), m_wording(wording), m_table(new QTableWidget(this)),
      m_summary(new QLabel(this)), m_apply(new QPushButton(tr("应用"), this))
{
    setObjectName(QStringLiteral("RestoreSettingsDialog"));
    setWindowTitle(tr("恢复设置"));
    auto *layout = new QVBoxLayout(this);
    if (!note.isEmpty()) {
        // The note quotes serial numbers, which come from printers.
        auto *line = new QLabel(note, this);
        line->setObjectName(QStringLiteral("label_RestoreNote"));
        line->setTextFormat(Qt::PlainText);
        line->setWordWrap(true);
        layout->addWidget(line);
    }
    m_table->setObjectName(QStringLiteral("tableWidget_Restore"));
    m_table->setColumnCount(Columns);
    m_table->setHorizontalHeaderLabels({tr("设置"), tr("打印机中的值"), tr("文件中的值"), tr("恢复"), tr("结果")});
    m_table->verticalHeader()->hide();
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionMode(QAbstractItemView::NoSelection);
    m_table->horizontalHeader()->setStretchLastSection(true);
    layout->addWidget(m_table);
    m_summary->setObjectName(QStringLiteral("label_RestoreSummary"));
    m_summary->setWordWrap(true);
    m_summary->setTextFormat(Qt::PlainText);
    layout->addWidget(m_summary);
    auto *buttons = new QHBoxLayout;
    auto *close = new QPushButton(tr("关闭"), this);
    m_apply->setObjectName(QStringLiteral("pushButton_RestoreApply"));
    close->setObjectName(QStringLiteral("pushButton_RestoreClose"));
    buttons->addStretch();
    buttons->addWidget(m_apply);
    buttons->addWidget(close);
    layout->addLayout(buttons);
    connect(m_apply, &QPushButton::clicked, this, &RestoreSettingsDialog::applyClicked);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    fill();
    m_table->resizeColumnsToContents();
    // Wide enough for every column as its contents need it.
    int width = 2 * m_table->frameWidth() + layout->contentsMargins().left() + layout->contentsMargins().right();
    for (int c = 0; c < Columns; ++c)
        width += m_table->horizontalHeader()->sectionSize(c);
    resize(std::max(820, width + 24), 520);
    connect(m_table, &QTableWidget::cellChanged, this, &RestoreSettingsDialog::onItemChanged);
}

void RestoreSettingsDialog::fill()
{
    const QSignalBlocker blocker(m_table);
    m_table->setRowCount(int(m_rows.size()));
    for (int i = 0; i < m_rows.size(); ++i) {
        const restore::Row &row = m_rows.at(i);
        const bool skipped = row.skip != restore::Row::Skip::None;
        // Table items never interpret markup: printer and file texts show as written.
        const auto cell = [&](int column, const QString &text) {
            auto *item = new QTableWidgetItem(text);
            item->setFlags(skipped ? Qt::NoItemFlags : Qt::ItemIsEnabled);
            m_table->setItem(i, column, item);
            return item;
        };
        cell(Name, m_wording.name(row.key));
        cell(Printer, row.printer.isNull() ? QStringLiteral("—") : m_wording.value(row.key, row.printer));
        cell(File, m_wording.value(row.key, row.file));
        QTableWidgetItem *check = cell(Check, QString());
        if (!skipped) {
            check->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
            check->setCheckState(row.checked ? Qt::Checked : Qt::Unchecked);
        }
        cell(Outcome, row.skip == restore::Row::Skip::NotOnModel    ? tr("跳过：这个型号没有此设置")
                      : row.skip == restore::Row::Skip::NotAccepted ? tr("跳过：这个型号不接受此值")
                                                                    : QString());
    }
    m_apply->setEnabled(!restore::keysToSend(m_rows).isEmpty());
}

void RestoreSettingsDialog::onItemChanged(int row, int column)
{
    if (column != Check || row < 0 || row >= m_rows.size())
        return;
    restore::setChecked(m_rows, m_rows.at(row).key, m_table->item(row, Check)->checkState() == Qt::Checked);
    // Tied rows follow (an address mode and its addresses).
    const QSignalBlocker blocker(m_table);
    for (int i = 0; i < m_rows.size(); ++i) {
        if (m_rows.at(i).skip == restore::Row::Skip::None)
            m_table->item(i, Check)->setCheckState(m_rows.at(i).checked ? Qt::Checked : Qt::Unchecked);
    }
    m_apply->setEnabled(!restore::keysToSend(m_rows).isEmpty());
}

void RestoreSettingsDialog::showOutcome(const settings::Values &readBack, const QStringList &sent, const QString &summary)
{
    const QSignalBlocker blocker(m_table);
    for (int i = 0; i < m_rows.size(); ++i) {
        restore::Row &row = m_rows[i];
        if (row.skip != restore::Row::Skip::None)
            continue;
        row.printer = readBack.contains(row.key) ? readBack.value(row.key) : QString();
        m_table->item(i, Printer)->setText(row.printer.isNull() ? QStringLiteral("—") : m_wording.value(row.key, row.printer));
        m_table->item(i, Check)->setFlags(Qt::ItemIsUserCheckable);
        if (sent.contains(row.key))
            m_table->item(i, Outcome)->setText(restore::held(row, readBack) ? tr("已生效") : tr("未生效"));
    }
    m_summary->setText(summary);
    // One Apply per dialog: the rows now describe what was done.
    m_apply->setEnabled(false);
}
