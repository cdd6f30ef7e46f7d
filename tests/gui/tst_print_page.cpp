// The print settings page: which widget shows and feeds which setting, for
// an 8-dot printer and a 12-dot extended model (print mode instead of
// automatic paper feed); the values refused because they would wrap; the
// label size remembered for the next run.
#include "page_test_support.h"

namespace {

const QString kRead = "pushButton_PrintSettingRead", kSet = "pushButton_PrintSettingSet";
// Everything the set sends, typed as a program would (no repair runs), with
// the largest label gap and the offsets at the ends of their ranges.
const QStringList kTyped = {
    "comboBox_DefaultCodePage=5", "comboBox_PrintSpeed=3", "comboBox_PrintDensty=10", "lineEdit_BlackLabelGap=4",
    "comboBox_PrintDirection=1", "comboBox_PrintMethod=1", "comboBox_PrintMode=2", "comboBox_AutoPaper=1",
    "comboBox_PaperType=2", "comboBox_OrderSet=CPCL", "lineEdit_VerticalShift=-2", "lineEdit_PrintShift=2",
    "lineEdit=40.5", "lineEdit_2=30", "comboBox=4"};

void rows()
{
    // Print mode (0x41) is asked of the extended models only, automatic
    // paper feed (0x54) of the others only; a code the instruction-set list
    // does not know leaves the choice alone; offsets are signed.
    clickRow("read at 8", tcp, "LP-200",
             {"1D=0080", "1E=FF7F", "1C=0007", "02=06", "00=05", "41=02", "54=01", "comboBox_OrderSet=EPL",
              "comboBox_PrintMode=1", "comboBox_PrintDirection=1"},
             kRead, "q00 q13 q19 q1A q1C q1D q1E q16 q01 q02 q54 q18 q3E", {kDone},
             {"+" + kSet, "+pushButton_close", "comboBox_PrintSpeed=", "comboBox_PrintDensty=8",
              "lineEdit_LabelGap=3", "lineEdit_BlackLabelGap=3", "comboBox_PrintDirection=旋转0度",
              "comboBox_PrintMethod=镜像打印", "lineEdit_PrintShift=-4096", "lineEdit_VerticalShift=4095",
              "comboBox_PaperType=标签纸", "comboBox_DefaultCodePage=0 PC437(Std.Europe)", "comboBox_OrderSet=EPL",
              "comboBox_AutoPaper=开", "comboBox_PrintMode=热转印", "lineEdit_2=50.0", "lineEdit=100.0",
              "comboBox=中文简体"});
    // 400 and 800 dots at 12 dots/mm: 33.33 and 66.66 mm, cut to one decimal.
    // Over a serial line or a Bluetooth link the model comes from the
    // printer's identity, not from the list item.
    for (const TestMedium medium : {usb, ble})
        clickRow("read at 12", medium, "ZD-N480", {"41=05", "54=01", "comboBox_AutoPaper=0"}, kRead,
                 "q00 q13 q19 q1A q1C q1D q1E q41 q16 q01 q02 q18 q3E", {kDone},
                 {"+" + kSet, "lineEdit_LabelGap=2", "lineEdit_BlackLabelGap=2", "lineEdit_2=33.3", "lineEdit=66.6",
                  "comboBox_PrintMode=自适应", "comboBox_AutoPaper=关", "comboBox_OrderSet=TSPL"});
    // The printer is told the settings are complete after the last of them.
    clickRow("set at 8", tcp, "LP-200", kTyped + QStringList{"lineEdit_LabelGap=8191", "lineEdit_VerticalShift=-4096"},
             kSet, "s01:05 s00:03 s13:0A s19:F8FF s1A:2000 s1C:0101 s54:01 s16:02 s02:03 s1E:0080 s1D:1000 "
             "s18:F0004401 s3E:04 f06", {kDone});
    clickRow("set at 12", usb, "ZD-N480",
             kTyped + QStringList{"lineEdit_LabelGap=5461", "lineEdit_PrintShift=-2730"}, kSet,
             "s01:05 s00:03 s13:0A s19:FCFF s1A:3000 s1C:0101 s41:02 s16:02 s02:03 s1E:E8FF s1D:0880 s18:6801E601 "
             "s3E:04 f06", {kDone});
    // The first values that would wrap; beyond 32 bits the builder would
    // send 0, so such a value is refused as well.
    refusalRow(tcp, "LP-200", kSet, "lineEdit_BlackLabelGap", "8192", "黑标间隙(单位mm)", "0 ~ 8191");
    refusalRow(tcp, "LP-200", kSet, "lineEdit_LabelGap", "99999999999", "标签间隙(单位mm)", "0 ~ 8191");
    refusalRow(usb, "ZD-N480", kSet, "lineEdit_PrintShift", "2731", "打印偏移(单位mm)", "-2730 ~ 2730");
    // A label size that is no number is not sent, everything else is, and no
    // message at all is shown for it. The texts are remembered as typed (the
    // fields come back so on the next run); a valid size is sent in dots.
    const QString defaults = "s01:00 s00:02 s13:08 s19:1800 s1A:1800 s1C:0000 s54:00 s16:00 s02:02 s1E:0000 s1D:0000 ";
    clickRow("width not a number", tcp, "LP-200", {"lineEdit=abc"}, kSet, defaults + "s3E:01 f06", {},
             {"remembered:lineEdit_text=abc"});
    // Bytes the speed and language combos do not list go back as read.
    clickRow("bytes beyond the combos", usb, "LP-200", {"00=09", "3E=09"}, kSet,
             "s01:00 s00:09 s13:08 s19:1800 s1A:1800 s1C:0000 s54:00 s16:00 s02:02 s1E:0000 s1D:0000 s18:90012003 "
             "s3E:09 f06", {kDone}, {"comboBox_PrintSpeed=", "comboBox="});
    clickRow("label size remembered", usb, "LP-200", {"lineEdit=64", "lineEdit_2=35.5"}, kSet,
             defaults + "s18:1C010002 s3E:01 f06", {kDone},
             {"remembered:lineEdit_text=64", "remembered:lineEdit_2_text=35.5"});
}

} // namespace

CLICK_TABLE_MAIN(rows)
