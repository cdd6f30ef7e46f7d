// The serial port and identity page ("串口设置"): the serial parameters
// read into their combo boxes and written back as indexes, the serial
// number and device identification shown; the serial number written back
// byte for byte as the last read got it, or not at all. (Set kept disabled
// over the serial link it would change: tst_serial, on a real line.)
#include "page_test_support.h"

namespace {

const QString kRead = "pushButton_ComSettingRead", kSet = "pushButton_ComSettingSet";
const QString kQueries = "q0E q0C q10";

// Baud rate, parity, data bits and stop bits: indexes to choose, or texts shown.
QStringList serial(const QString &baud, const QString &parity, const QString &dataBits, const QString &stopBits)
{
    return {"comboBox_ComBaud=" + baud, "comboBox_ComParityBit=" + parity, "comboBox_ComDataBit=" + dataBits,
            "comboBox_ComStopBit=" + stopBits};
}

void rows()
{
    const QString longestHex = QByteArray(254, 'S').toHex() + "00";
    // Each combo box starts elsewhere, so that each has to move; neither
    // identity item can be edited.
    clickRow("115200 0 8 1", tcp, "LP-200", serial("0", "1", "1", "1") << "0E=07000000" << "10=534E3100", kRead,
             kQueries, {kDone},
             serial("115200", "0", "8bit", "1bit") << "lineEdit_ComSN=SN1" << "-lineEdit_ComSN" << "+" + kSet
                 << "lineEdit_ComDeviceInfo=MFG:Label;CMD:TSPL,ZPL;MDL:LP-200;CLS:PRINTER;"
                 << "-lineEdit_ComDeviceInfo");
    clickRow("921600 2 7 2", usb, "LP-200", {"0E=10020101", "10=E5BA8FE58897E58FB72D3700"}, kRead, kQueries, {kDone},
             serial("921600", "2", "7bit", "2bit") << "lineEdit_ComSN=序列号-7");
    clickRow("indexes beyond the combos sent back", tcp, "LP-200", {"0E=11020302"}, kSet,
             "s0E:11020302 s10:" + QByteArray("SN20261206001").toHex() + "00", {kDone},
             serial("", "2", "", "") << "+" + kSet);
    clickRow("set", tcp, "LP-200", serial("1", "1", "0", "1") << "10=534E3100", kSet, "s0E:01010001 s10:534E3100",
             {kDone});
    // The serial number goes back exactly as read: the longest, which fills
    // the 264-byte reply (the length byte 0xFF is a count, not -1), and bytes
    // that are not UTF-8; one whose payload would not fit the length byte
    // again is refused before anything is sent; after a read whose
    // serial-number answer was malformed only the serial parameters go out,
    // never an empty or stale number.
    clickRow("254 bytes sent back", tcp, "LP-200", {"10=" + longestHex}, kSet, "s0E:07000000 s10:" + longestHex,
             {kDone}, {"lineEdit_ComSN=" + QString(254, 'S')});
    clickRow("255 bytes without 00 refused", usb, "LP-200", {"10=" + QByteArray(255, 'S').toHex()}, kSet, "",
             {"设备SN号过长，最多254字节（UTF-8），请重新输入"});
    clickRow("not utf-8 sent back", usb, "LP-200", {"10=FFFE4E8000"}, kSet, "s0E:07000000 s10:FFFE4E8000", {kDone});
    clickRow("malformed answer after a whole one", usb, "LP-200", {"10=534E3100"}, "bad:0x10 " + kRead + ' ' + kSet,
             kQueries + " s0E:07000000", {kDone}, {"+" + kSet});
}

} // namespace

CLICK_TABLE_MAIN(rows)
