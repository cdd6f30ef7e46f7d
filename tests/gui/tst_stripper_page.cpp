// The stripper page ("剥离器设置"): the paper-take time in milliseconds in
// the printer and whole seconds on screen, the values refused because they
// would wrap, and the confirmation that a stripper is fitted: asked once
// per device selection; cancelled, nothing is sent.
#include "page_test_support.h"

namespace {

const QString kRead = "pushButton_StripperSettingRead", kSet = "pushButton_StripperSettingSet";
// Only these models have the stripper page.
const QString kModel = "ZD-N480";

void rows()
{
    // The remainder is dropped, not rounded.
    for (const auto &[stored, seconds] : {std::pair{"8813", "5"}, {"E703", "0"}, {"FFFF", "65"}})
        clickRow(QStringLiteral("%1 s read").arg(seconds), seconds[0] == '0' ? usb : tcp, kModel,
                 {QStringLiteral("58=") + stored, "lineEdit_PaperTime=42"}, kRead, "q58", {"CutDialog", kDone},
                 {QStringLiteral("lineEdit_PaperTime=") + seconds, "+" + kSet});
    // 66 000 ms would go out as its low 16 bits (464 ms); 65 is the top of
    // the range the instruction tests pin, the sets below send seconds as ms.
    refusalRow(usb, kModel, kSet, "lineEdit_PaperTime", "66", "剥离器取纸时间（单位：s）", "0 ~ 65");
    // Later reads and sets do not ask again; opening the printer anew
    // disables Set until the page is read again, and asks again.
    clickRow("asked once", tcp, kModel, {}, kRead + ' ' + kRead + ' ' + kSet + " reopen", "q58 q58 s58:8813",
             {"CutDialog", kDone, kDone, kDone, "连接成功！"}, {"-" + kSet});
    clickRow("asked again after reopening", usb, kModel, {}, kRead + " reopen " + kRead, "q58 q58",
             {"CutDialog", kDone, "连接成功！", "CutDialog", kDone});
    // A cancelled confirmation sends nothing and shows nothing more, leaves
    // the field alone (and a cancelled read Set disabled); the question comes
    // back on the next click. A Set enabled without a read asks as well.
    clickRow("read cancelled", tcp, kModel, {"lineEdit_PaperTime=3"}, "cancel " + kRead, "", {"CutDialog"},
             {"lineEdit_PaperTime=3", "-" + kSet});
    clickRow("set cancelled", usb, kModel, {"+" + kSet, "lineEdit_PaperTime=3"}, "cancel " + kSet, "", {"CutDialog"},
             {"lineEdit_PaperTime=3", "+" + kSet});
    clickRow("set cancelled, then confirmed", tcp, kModel, {"+" + kSet, "lineEdit_PaperTime=3"},
             "cancel " + kSet + ' ' + kSet, "s58:B80B", {"CutDialog", "CutDialog", kDone});
}

} // namespace

CLICK_TABLE_MAIN(rows)
