#include "protocol/status.h"

#include <QDebug>
#include <QObject>
#include <array>

namespace {

// Index = bit number.
constexpr std::array<const char *, 15> kMessages = {
    QT_TRANSLATE_NOOP("QObject", "打印中"),
    QT_TRANSLATE_NOOP("QObject", "缺纸"),
    QT_TRANSLATE_NOOP("QObject", "纸将尽"),
    QT_TRANSLATE_NOOP("QObject", "卡纸"),
    QT_TRANSLATE_NOOP("QObject", "碳带将尽"),
    QT_TRANSLATE_NOOP("QObject", "无碳带"),
    QT_TRANSLATE_NOOP("QObject", "打印头过热"),
    QT_TRANSLATE_NOOP("QObject", "开盖"),
    QT_TRANSLATE_NOOP("QObject", "定位异常（黑标或缝隙）"),
    QT_TRANSLATE_NOOP("QObject", "切刀异常"),
    QT_TRANSLATE_NOOP("QObject", "升级中"),
    QT_TRANSLATE_NOOP("QObject", "升级异常"),
    QT_TRANSLATE_NOOP("QObject", "指令错误"),
    QT_TRANSLATE_NOOP("QObject", "打印暂停"),
    QT_TRANSLATE_NOOP("QObject", "打印删除"),
};

} // namespace

QString checkPrinterStatus(unsigned int status)
{
    QString result;
    for (size_t bit = 0; bit < kMessages.size(); ++bit) {
        QString piece;
        if (status & (1u << bit))
            piece = QStringLiteral("%1").arg(QObject::tr(kMessages[bit]), 0, QLatin1Char(' '))
                    + QLatin1Char('\n');
        qDebug() << piece;
        result += piece;
    }
    return result;
}
