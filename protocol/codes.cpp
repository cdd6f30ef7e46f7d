#include "protocol/codes.h"

const QMap<int, QString> instructionSetNames = {
    {1, QStringLiteral("ZPL")}, {2, QStringLiteral("TSPL")}, {3, QStringLiteral("CPCL")},
    {4, QStringLiteral("EPL")}, {5, QStringLiteral("DPL")},  {32, QStringLiteral("AUTO")},
};
