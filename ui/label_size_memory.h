// The label size the operator last set is remembered between runs: the two
// millimetre texts exactly as typed, under organisation "Company",
// application "App", keys "lineEdit_text" (width) and "lineEdit_2_text"
// (height). The label-size instruction writes them before it checks
// anything; the window seeds its two fields from them at start-up.
#pragma once

#include <QString>

namespace labelsize {

// Shown when nothing is remembered yet.
constexpr double kDefaultWidthMm = 102.0;
constexpr double kDefaultHeightMm = 152.0;

// The remembered texts read as numbers; a text that is no number gives
// the default.
double rememberedWidthMm();
double rememberedHeightMm();

void remember(const QString &heightText, const QString &widthText);

} // namespace labelsize
