#include "ui/label_size_memory.h"

#include <QDebug>
#include <QSet>
#include <QSettings>

#include <cmath>

namespace labelsize {

namespace {

const QString kWidthKey = QStringLiteral("lineEdit_text");
const QString kHeightKey = QStringLiteral("lineEdit_2_text");

QSettings store()
{
    return QSettings(QStringLiteral("Company"), QStringLiteral("App"));
}

// A remembered text that is no number (the file was edited by hand, or
// written by another program) gives the default; the diagnostic output
// says so once per run, not at every field that asks.
double remembered(const QString &key, const char *what, double fallback)
{
    const QVariant stored = store().value(key);
    if (!stored.isValid())
        return fallback;
    bool ok = false;
    const double mm = stored.toString().toDouble(&ok);
    if (ok && std::isfinite(mm))
        return mm;
    static QSet<QString> told;
    if (!told.contains(key)) {
        told.insert(key);
        qWarning("remembered label %s \"%s\" is not a number: %.1f mm instead", what,
                 qUtf8Printable(stored.toString()), fallback);
    }
    return fallback;
}

} // namespace

double rememberedWidthMm()
{
    return remembered(kWidthKey, "width", kDefaultWidthMm);
}

double rememberedHeightMm()
{
    return remembered(kHeightKey, "height", kDefaultHeightMm);
}

void remember(const QString &heightText, const QString &widthText)
{
    QSettings settings = store();
    settings.setValue(kHeightKey, heightText);
    settings.setValue(kWidthKey, widthText);
}

} // namespace labelsize
