// The distance page: the paper-exit and tear distances in printer dots, the
// two sensor distances in millimetres (cut toward zero), read and set at 8
// and 12 dots per millimetre, and the values refused because they would wrap.
#include "page_test_support.h"

namespace {

const QString kRead = "pushButton_DistanceSettingRead", kSet = "pushButton_DistanceSettingSet";

void rows()
{
    const QStringList stored = {"33=7800", "34=3000", "35=3000", "36=6000"};
    const QString queries = "q33 q34 q35 q36";
    clickRow("read at 8", tcp, "LP-200", stored, kRead, queries, {kDone},
             distances("120", "6", "6", "96") << "+" + kSet);
    clickRow("read at 12", usb, "ZD-N480", stored, kRead, queries, {kDone}, distances("120", "4", "4", "96"));
    // -3 dots are 0 mm (cut toward zero, not down to -1).
    clickRow("negative at 8", tcp, "LP-200", {"33=FDFF", "34=FDFF", "35=F3FF", "36=F6FF"}, kRead, queries, {kDone},
             distances("-3", "0", "-1", "-10"));
    // The set sends the ends of each range (dots, and millimetres at 8 and at
    // 12 dots/mm) and changes no field; text that is no number is sent as 0.
    const auto set = [](const QString &name, TestMedium medium, const QString &model, const QStringList &texts,
                        const QString &frames) {
        const QStringList typed = distances(texts[0], texts[1], texts[2], texts[3]);
        clickRow("set " + name, medium, model, typed, kSet, frames, {kDone}, typed);
    };
    set("at 8", tcp, "LP-200", {"-1", "-4096", "4095", "-32768"}, "s33:FFFF s34:0080 s35:F87F s36:0080");
    set("at 12", usb, "ZD-N480", {"32767", "2730", "-2730", "0"}, "s33:FF7F s34:F87F s35:0880 s36:0000");
    set("not numbers", tcp, "LP-200", {"abc", "", "1x", "-"}, "s33:0000 s34:0000 s35:0000 s36:0000");
    // The first values that would wrap.
    refusalRow(tcp, "LP-200", kSet, "lineEdit_DistanceO2PH", "32768", "出纸口到打印头距离(单位dot)", "-32768 ~ 32767");
    refusalRow(usb, "ZD-N480", kSet, "lineEdit_DistanceS2PH", "2731", "缝到打印头距离(单位mm)", "-2730 ~ 2730");
}

} // namespace

CLICK_TABLE_MAIN(rows)
