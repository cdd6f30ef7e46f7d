// The restore dialog: the settings of a file next to the printer's, one
// row each with a check box, the rows that go back ticked. It only shows
// and collects; the window reads the printer, plans (protocol/
// settings_restore.h) and sends when Apply is pressed, and then hands the
// outcome back.
#pragma once

#include "protocol/settings_restore.h"

#include <QDialog>
#include <functional>

class QLabel;
class QPushButton;
class QTableWidget;

class RestoreSettingsDialog : public QDialog
{
    Q_OBJECT

public:
    // The window words what the table shows: a setting's name, and a
    // value of a setting (a choice as its page shows it, a password by its
    // length only).
    struct Wording
    {
        std::function<QString(const QString &key)> name;
        std::function<QString(const QString &key, const QString &value)> value;
    };

    RestoreSettingsDialog(const restore::Comparison &comparison, const Wording &wording, const QString &note,
                          QWidget *parent = nullptr);

    // The rows with the operator's ticks.
    QList<restore::Row> rows() const { return m_rows; }
    // After Apply: what the printer holds now, and the outcome of each row
    // that went out (held or not), with a line under the table.
    void showOutcome(const settings::Values &readBack, const QStringList &sent, const QString &summary);

signals:
    void applyClicked();

private:
    void fill();
    void onItemChanged(int row, int column);

    QList<restore::Row> m_rows;
    Wording m_wording;
    QTableWidget *m_table;
    QLabel *m_summary;
    QPushButton *m_apply;
};
