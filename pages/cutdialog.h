// Asks the operator to confirm that the matching label stripper is
// installed before the stripper settings are read or written.
#pragma once

#include <QDialog>

namespace Ui { class CutDialog; }

class CutDialog : public QDialog
{
    Q_OBJECT
public:
    explicit CutDialog(QWidget *parent = nullptr);
    ~CutDialog() override;

private:
    Ui::CutDialog *ui;
};
