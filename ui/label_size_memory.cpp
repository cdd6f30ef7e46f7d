#include "ui/label_size_memory.h"

#include <QSettings>

namespace labelsize {

namespace {

const QString kWidthKey = QStringLiteral("lineEdit_text");
const QString kHeightKey = QStringLiteral("lineEdit_2_text");

QSettings store()
{
    return QSettings(QStringLiteral("Company"), QStringLiteral("App"));
}

} // namespace

double rememberedWidthMm()
{
    return store().value(kWidthKey, kDefaultWidthMm).toString().toDouble();
}

double rememberedHeightMm()
{
    return store().value(kHeightKey, kDefaultHeightMm).toString().toDouble();
}

void remember(const QString &heightText, const QString &widthText)
{
    QSettings settings = store();
    settings.setValue(kHeightKey, heightText);
    settings.setValue(kWidthKey, widthText);
}

} // namespace labelsize
