// What every page and function button shares, one row per page and
// situation: nothing is sent without an open printer; a printer that is
// off, unplugged, refuses its USB interface, answers malformed or stalls a
// set frame halfway; which failure the user is told of, and whether Set can
// be used afterwards.
#include "page_test_support.h"

namespace {

const QString kPrintRead = "pushButton_PrintSettingRead", kPrintSet = "pushButton_PrintSettingSet";
const QString kDistanceRead = "pushButton_DistanceSettingRead", kDistanceSet = "pushButton_DistanceSettingSet";
const QString kSerialRead = "pushButton_ComSettingRead";
// The read of an 8-dot printer that is not an extended model, and the set
// after reading the emulated printer's defaults.
const QString kPrintQueries = "q00 q13 q19 q1A q1C q1D q1E q16 q01 q02 q54 q18 q3E";
const QString kPrintSets = "s01:00 s00:02 s13:08 s19:1800 s1A:1800 s1C:0000 s54:00 s16:00 s02:02 s1E:0000 s1D:0000 "
                           "s18:90012003 s3E:01 f06";

void rows()
{
    // Every handler checks for an open printer itself: after a close the
    // set buttons are still enabled from the read before it.
    const char *const buttons[] = {
        "SelfCheck", "Reboot", "PrinterInit", "SeamLrn", "BlackLableLrn", "DACLrn", "OutietLrn", "NopaperLrn",
        "HalfCut", "AllCut", "StripMode", "TearMode", "KeySettingOpen", "KeySettingClose", "BuzzerOpen",
        "BuzzerClose", "GetPrinterStatus", "ComSettingRead", "ComSettingSet", "StripperSettingRead",
        "StripperSettingSet", "PrintSettingRead", "PrintSettingSet", "DistanceSettingRead", "DistanceSettingSet",
        "WifiSettingRead", "WifiSettingSet", "NetportSettingRead", "NetportSettingSet", "BleSettingRead",
        "BleSettingSet", "getPrinterInfo", "DownloadFW", "DownloadFL", "Send", "SendFile"};
    int row = 0;
    for (const QString b : buttons)
        clickRow("closed: " + b, row++ % 2 ? usb : tcp, "ZD-N480", {}, "closed pushButton_" + b, "",
                 {b == "getPrinterInfo" || b.startsWith("Send") ? "设备未打开!" : kOpenFirst});

    // The print page reports the first failure in slot order and enables
    // Set only after a read that showed no error.
    clickRow("print: last query unanswered", tcp, "LP-200", {"comboBox=3", "19=4000", "18=F0004001", "3E=00"},
             "drop:117 " + kPrintRead + " took:2900", kPrintQueries, {kNetError},
             {"-" + kPrintSet, "lineEdit_LabelGap=8", "lineEdit_2=30.0", "lineEdit=40.0", "comboBox=韩文"});
    clickRow("print: first answer malformed", usb, "LP-200", {"comboBox_PrintSpeed=1", "00=03", "3E=05"},
             "bad:0x00 " + kPrintRead, kPrintQueries, {},
             {"+" + kPrintSet, "comboBox_PrintSpeed=1", "comboBox=阿拉伯文"});
    // (The stalled first query never reaches the printer.)
    clickRow("print: first query stalls, last malformed", usb, "LP-200", {}, "stall:1 bad:0x3E " + kPrintRead,
             kPrintQueries.mid(4), {kUsbError}, {"-" + kPrintSet});
    clickRow("print: read claim refused", usb, "LP-200", {}, "claim " + kPrintRead, "", {kUsbBusy}, {"-" + kPrintSet});
    // A frame that fails does not stop a set: the others still go out, in
    // order, and the failure is reported.
    clickRow("print: 5th set frame stalls", usb, "LP-200", {}, "stall:5 " + kPrintSet,
             QString(kPrintSets).remove("s1A:1800 "), {kUsbError}, {"+" + kPrintSet});

    // The distance page reports only its last query, and any read that
    // completed enables Set; a failed query leaves its field alone.
    const QStringList kept = distances("keep", "keep", "keep", "keep");
    clickRow("distance: first answer malformed", usb, "LP-200", kept, "bad:0x33 " + kDistanceRead, "q33 q34 q35 q36",
             {kDone}, distances("keep", "6", "6", "96") << "+" + kDistanceSet);
    clickRow("distance: last answer malformed", usb, "LP-200", kept, "bad:0x36 " + kDistanceRead, "q33 q34 q35 q36",
             {}, distances("120", "6", "6", "keep") << "+" + kDistanceSet);
    clickRow("distance: last query unanswered", tcp, "ZD-N480", kept + QStringList{"34=4800", "35=4800"},
             "drop:36 " + kDistanceRead + " took:2900", "q33 q34 q35 q36", {kNetError},
             distances("120", "6", "6", "keep") << "+" + kDistanceSet);
    clickRow("distance: 2nd set frame stalls", usb, "LP-200", {}, "stall:2 " + kDistanceSet,
             "s33:7800 s35:3000 s36:6000", {kUsbError});

    // The serial page reports its serial-number query.
    const QStringList serialKept = {"lineEdit_ComSN=kept", "lineEdit_ComDeviceInfo=kept too"};
    clickRow("serial: unplugged", usb, "LP-200", serialKept, "unplug " + kSerialRead, "", {kUsbError},
             serialKept + QStringList{"-pushButton_ComSettingSet"});
    clickRow("serial: answers for other codes", usb, "LP-200", serialKept + QStringList{"0E=10020101"},
             "wrong " + kSerialRead, "q0E q0C q10", {},
             QStringList(serialKept) << "comboBox_ComBaud=115200" << "comboBox_ComParityBit=0"
                                     << "+pushButton_ComSettingSet");

    // The Wi-Fi read reports a malformed access-point answer, after reading
    // the rest, but not a failed IP group; a failed set frame leaves the
    // snapshot alone, so the next set sends it again.
    const QString kWifiRead = "pushButton_WifiSettingRead", kWifiSet = "pushButton_WifiSettingSet";
    const QString kNetSet = "pushButton_NetportSettingSet", kBleSet = "pushButton_BleSettingSet";
    clickRow("wifi: AP answer malformed", usb, "LP-200", {"30=02", "29=8D23"}, "bad:0x27 " + kWifiRead,
             "q30 q27 q29 q3C q28", {kUsbError}, {"lineEdit_WApPort=9101", "-" + kWifiSet});
    clickRow("wifi: IP group malformed", usb, "LP-200", {"lineEdit_WifiSetIP=1.2.3.4"}, "bad:0x28 " + kWifiRead,
             "q30 q26 q29 q3C q28", {kDone}, {"lineEdit_WifiSetIP=1.2.3.4", "+" + kWifiSet});
    clickRow("wifi: 1st set frame stalls", usb, "LP-200", {"lineEdit_WApPort=9101", "comboBox_WifiSetIPMode=0"},
             "stall:1 " + kWifiSet + ' ' + kWifiSet, "s28:00C0A80178FFFFFF00C0A8010100000000 s29:8D23 "
             "s28:00C0A80178FFFFFF00C0A8010100000000", {kUsbError, "处理成功，请重启打印机"});
    // The Ethernet read does not report its ports; a Bluetooth read stops at
    // the first failure and reports the medium's error for any.
    clickRow("ethernet: ports answer malformed", usb, "LP-200", {"lineEdit_NetportTCPPort=kept"}, "bad:0x0F "
             "pushButton_NetportSettingRead", "q0F q0D", {kDone}, {"lineEdit_NetportTCPPort=kept", "+" + kNetSet});
    clickRow("bluetooth: mode answer malformed", usb, "LP-200", {"lineEdit_SppPin=kept"}, "bad:0x2F "
             "pushButton_BleSettingRead", "q2B q2C q2F", {kUsbError}, {"lineEdit_SppPin=kept", "-" + kBleSet});

    const QStringList infoKept = {"textBrowser_Ver=kept", "textBrowser_DPI=kept", "textBrowser_MaxPaperWidth=kept",
                                  "textBrowser_Model=kept"};
    clickRow("information: answers for other codes", usb, "LP-200", infoKept, "wrong pushButton_getPrinterInfo",
             "f04 f0B q0C", {}, infoKept);
}

} // namespace

CLICK_TABLE_MAIN(rows)
