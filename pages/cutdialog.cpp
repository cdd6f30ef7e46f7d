#include "cutdialog.h"
#include "ui_cutdialog.h"

#include <QPushButton>

CutDialog::CutDialog(QWidget *parent)
    : QDialog(parent)
    , ui(new Ui::CutDialog)
{
    ui->setupUi(this);
    setFixedSize(398, 192);
    ui->buttonBox->button(QDialogButtonBox::Ok)->setText(QObject::tr("确定"));
    ui->buttonBox->button(QDialogButtonBox::Cancel)->setText(QObject::tr("取消"));
}

CutDialog::~CutDialog()
{
    delete ui;
}
