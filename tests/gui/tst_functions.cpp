// The function tab and the printer-information group: the frame behind
// every function button; reboot and initialisation returning the window to
// the not-connected state, and keeping the connection when they fail; the
// resolution, paper width and model shown.
#include "page_test_support.h"

namespace {

// Connection controls, as the window shows them with the printer open or not,
// and the two progress bars ("@": while the first box is up).
QStringList connection(bool open, const QString &update, const QString &debug, const QString &at = "")
{
    const QStringList names = {"pushButton_getList", "checkBox_USB", "checkBox_NET", "checkBox_WIFI",
                               "comboBox_ScanResult", "pushButton_open", "pushButton_close"};
    QStringList items = {"-checkBox_BLE", "-checkBox_Serialport", "progressBar_Update=" + update,
                         "progressBar_Debug=" + debug};
    for (const QString &name : names)
        items << ((name == "pushButton_close") == open ? "+" : "-") + name;
    return items.replaceInStrings(QRegularExpression("^"), at);
}

const QStringList kProgress = {"progressBar_Update=40", "progressBar_Debug=60"};

void rows()
{
    const char *const functions[][2] = {
        {"SelfCheck", "f00"}, {"Reboot", "f02"}, {"PrinterInit", "f05"}, {"SeamLrn", "f07"},
        {"BlackLableLrn", "f08"}, {"DACLrn", "f09"}, {"OutietLrn", "f0A"}, {"NopaperLrn", "f0D"},
        {"HalfCut", "s25:00"}, {"AllCut", "s25:01"}, {"StripMode", "s25:02"}, {"TearMode", "s25:03"},
        {"KeySettingOpen", "s22:00"}, {"KeySettingClose", "s22:01"}, {"BuzzerOpen", "s23:00"},
        {"BuzzerClose", "s23:01"}};
    int row = 0;
    for (const auto &[button, frame] : functions)
        clickRow(button, std::array{tcp, usb, line, ble}[row++ % 4], "LP-200", {}, QStringLiteral("pushButton_") + button,
                 frame, {kDone});

    // Reboot closes the window's connection (and zeroes both progress bars)
    // before "处理成功" is shown, giving the network printer half a second to
    // drop its end; initialisation reports first and closes after the user
    // has acknowledged, leaving the bars alone. Either way the same list
    // entry opens again.
    const QString reboot = "pushButton_Reboot", init = "pushButton_PrinterInit";
    const QString reopen = " pushButton_open pushButton_SelfCheck";
    const QStringList reopened = {kDone, "连接成功！", kDone};
    for (const auto medium : {tcp, usb}) {
        clickRow("reboot closes", medium, "LP-200", kProgress, reboot + (medium == tcp ? " took:500" : "") + reopen,
                 "f02 f00", reopened, connection(false, "0", "0", "@") + connection(true, "0", "0"));
        clickRow("init closes", medium, "LP-200", kProgress, init + reopen, "f05 f00", reopened,
                 connection(true, "40", "60", "@") + connection(true, "40", "60"));
    }

    // A reboot or initialisation that fails keeps the connection (and the
    // progress bars); once the printer can be reached again (its USB
    // interface no longer held), the same connection carries it.
    const QStringList open = connection(true, "40", "60");
    clickRow("reboot unplugged", usb, "LP-200", kProgress, "unplug " + reboot, "", {kUsbError}, open);
    clickRow("reboot printer off", tcp, "LP-200", kProgress, "off " + reboot, "", {kNetError}, open);
    clickRow("init printer off", tcp, "LP-200", kProgress, "off " + init, "", {kNetError}, open);
    clickRow("reboot claimed again", usb, "LP-200", kProgress, "claim " + reboot + " free " + reboot, "f02",
             {kUsbBusy, kDone}, connection(false, "0", "0"));
    clickRow("init claimed again", usb, "LP-200", kProgress, "claim " + init + " free " + init, "f05",
             {kUsbBusy, kDone}, connection(false, "40", "60"));
    // The codes the result reporter passes over silently come only from a
    // medium without transport: reboot stays connected on any result but
    // success, initialisation closes whenever nothing was shown.
    for (const QString &button : {reboot, init, QStringLiteral("pushButton_SelfCheck")})
        clickRow("no transport: " + button.mid(11), usb, "LP-200", kProgress, "nomedium " + button, "", {},
                 button == init ? connection(false, "40", "60") : open);

    // Resolution and widest paper: 832 dots are 69 mm at the 12 dots/mm of
    // the model group (the remainder dropped; the decoding at 8 and 12 is the
    // frame tests' table).
    const QString info = "pushButton_getPrinterInfo";
    clickRow("information", usb, "ZD-N480", {}, info, "f04 f0B q0C", {kDone},
             {"textBrowser_Ver=V2.4.1", "textBrowser_DPI=203", "textBrowser_Model=ZD-N480",
              "textBrowser_MaxPaperWidth=69"});
    // The model (the identity's second field, split as the frame tests pin
    // it) is shown as plain text, never as markup or a link; without a 00
    // the whole payload is the first field, and the model shown before is
    // cleared.
    const char *const identities[][3] = {
        {"no 00 at all", "4142434445464748", ""},
        {"markup", "56003C623E583C2F623E3C6120687265663D2778273E793C2F613E004D0050004500",
         "<b>X</b><a href='x'>y</a>"}};
    row = 0;
    for (const auto &[name, identity, model] : identities)
        clickRow(QStringLiteral("model ") + name, row++ % 2 ? tcp : usb, "LP-200",
                 {QStringLiteral("0C=") + identity, "textBrowser_Model=from before"}, info, "f04 f0B q0C", {kDone},
                 {QStringLiteral("textBrowser_Model=") + model});
}

} // namespace

CLICK_TABLE_MAIN(rows)
