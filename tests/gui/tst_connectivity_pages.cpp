// The connectivity pages: Wi-Fi with its IP group, Ethernet port and
// Bluetooth. Which widget shows and feeds which byte; the Wi-Fi set sending
// only what changed, in order, with its pauses and the controls locked
// meanwhile; a set that changes the link in use closing it; values the
// frames cannot carry refused before anything is sent; what the printer
// stored read back; what nobody edited sent back as read, names that are
// not UTF-8 and bytes no combo lists included. The tool's diagnostic output
// holds no password or PIN.
#include "page_test_support.h"

namespace {

const QString kWRead = "pushButton_WifiSettingRead", kWSet = "pushButton_WifiSettingSet";
const QString kNRead = "pushButton_NetportSettingRead", kNSet = "pushButton_NetportSettingSet";
const QString kBRead = "pushButton_BleSettingRead", kBSet = "pushButton_BleSettingSet";
const QString kRestart = "处理成功，请重启打印机";
const QString kSta = "q30 q26 q29 q3C q28", kAp = "q30 q27 q29 q3C q28", kBt = "q2B q2C q2F q2E q3C";
// Passwords and the PIN the rows read and send; none may reach the log.
const QStringList kSecrets = {"secret123", "abcdefgh", "Pa55-word", "AP-pass8", "Pin-9Q"};

void rows()
{
    // Texts as the printer keeps them: each followed by 00, in hex.
    const auto z = [](const QStringList &t) { return QString::fromLatin1(t.join(QChar()).toUtf8().toHex()) + "00"; };
    clickRow("wifi STA read", tcp, "LP-200", {"29=8C23", "28=00C0A80164FFFFFF00C0A8010108080808",
             "lineEdit_WApIP=1.2.3.4"}, kWRead, kSta, {kDone}, {"comboBox_WifiMode=STA", "lineEdit_WApIP=...",
             "lineEdit_WStaName=Office-WiFi", "lineEdit_WStaPassword=secret123", "lineEdit_WApPort=9100",
             "lineEdit_WApMAC=00:1A:2B:3C:4D:5E", "comboBox_WifiSetIPMode=DHCP OFF", "lineEdit_WifiSetIP=192.168.1.100",
             "lineEdit_WifiSetGateway=192.168.1.1", "lineEdit_WifiSetSubnetMask=255.255.255.0",
             "lineEdit_WifiSetDNS=8.8.8.8", "+" + kWSet});
    // Any mode byte but 1 is AP; with DHCP on the DNS field keeps its text.
    clickRow("wifi AP read", usb, "LP-200", {"30=00", "27=" + z({"Lab-AP", "abcdefgh", "10.0.0.1"}),
             "28=07C0A80164FFFFFF00C0A8010108080808", "lineEdit_WStaName=x", "lineEdit_WifiSetDNS=1.2.3.4"}, kWRead,
             kAp, {kDone}, {"comboBox_WifiMode=AP", "lineEdit_WApName=Lab-AP", "lineEdit_WApPassword=abcdefgh",
             "lineEdit_WApIP=10.0.0.1", "lineEdit_WStaName=", "comboBox_WifiSetIPMode=DHCP ON",
             "-lineEdit_WifiSetDNS", "lineEdit_WifiSetDNS=1.2.3.4"});
    // A read clicked during the pauses finds the page locked.
    clickRow("wifi port only", tcp, "LP-200", {"29=8D23", "lineEdit_WApPort=9100"}, "during:" + kWRead + ' ' + kWSet
             + " took:600", "s29:8C23", {kRestart}, {"lineEdit_ConnectTCPPort=9100",
             "lineEdit_ConnectAddr=192.168.1.120", "-pushButton_close"});
    clickRow("wifi STA password with AP selected", usb, "LP-200", {"30=02", "lineEdit_WStaPassword=Pa55-word"},
             kWSet, "s27:" + z({"ZD-N480-AP", "12345678", "192.168.4.1"}), {kRestart}, {"+pushButton_close"});
    // Seven characters, eight UTF-16 units.
    clickRow("wifi AP password of 7", usb, "LP-200", {"comboBox_WifiMode=1", "lineEdit_WApPassword=123456😀"}, kWSet,
             "", {"AP模式的wifi密码最少为8位"});
    clickRow("wifi AP password of 8, no AP address", tcp, "LP-200", {"comboBox_WifiMode=1", "lineEdit_WApName=P1",
             "lineEdit_WApPassword=AP-pass8"}, kWSet + " took:2100",
             "s30:02 s27:" + z({"P1", "AP-pass8", "192.168.1.1"}), {kRestart},
             {"lineEdit_ConnectAddr=127.0.0.1", "-pushButton_close"});
    // Set without a read: the empty snapshot differs everywhere, so all four go out, in this order.
    clickRow("wifi everything, read back", usb, "LP-200", {"30=02", "+" + kWSet, "lineEdit_WStaName=Lab",
             "lineEdit_WStaPassword=Pa55-word", "lineEdit_WApPort=9101", "lineEdit_WifiSetIP=10.0..1",
             "lineEdit_WifiSetSubnetMask=255.255.255.0", "lineEdit_WifiSetDNS=1.1.1.1"},
             kWSet + " took:2600 " + kWRead,
             "s30:01 s26:" + z({"Lab", "Pa55-word"}) + " s29:8D23 s28:000A000001FFFFFF000000000001010101 " + kSta,
             {kRestart, kDone},
             {"lineEdit_WStaPassword=Pa55-word", "lineEdit_WApPort=9101", "lineEdit_WifiSetIP=10.0.0.1"});

    // In AP mode the access point's address alone sends the AP network.
    clickRow("wifi AP address only", usb, "LP-200", {"30=02", "lineEdit_WApIP=10.0.0.9"}, kWSet,
             "s27:" + z({"ZD-N480-AP", "12345678", "10.0.0.9"}), {kRestart}, {"lineEdit_ConnectAddr=10.0.0.9"});
    // A name in GBK goes back byte for byte when only the password changed.
    clickRow("wifi name not UTF-8 kept", tcp, "LP-200", {"26=D6D0CEC400" + z({"old-pw"}),
             "lineEdit_WStaPassword=Pa55-word"}, kWSet, "s26:D6D0CEC400" + z({"Pa55-word"}), {kRestart});

    clickRow("ethernet read", tcp, "LP-200", {"0F=8C238D23", "0D=00C0A80164FFFFFF00C0A80101"}, kNRead, "q0F q0D",
             {kDone}, {"lineEdit_NetportTCPPort=9100", "lineEdit_NetportUDPPort=9101", "comboBox_NetportIPMode=DHCP ON",
             "lineEdit_NetportIP=192.168.1.100", "lineEdit_NetportSubnetMask=255.255.255.0", "+" + kNSet});
    clickRow("ethernet set over the wired network", tcp, "LP-200", {"checkBox_NET=1", "lineEdit_NetportIP=10.0..1",
             "lineEdit_NetportUDPPort=", "lineEdit_ConnectUDPPort=1234"}, kNSet,
             "s0D:010A000001FFFFFF00C0A80101 s0F:8C230000", {kRestart},
             {"lineEdit_ConnectUDPPort=1234", "lineEdit_ConnectTCPPort=9100", "-pushButton_close"});

    clickRow("bluetooth read", usb, "LP-200", {"2B=" + z({"SPP-1"}), "2F=01", "2E=" + z({"Pin-9Q"})}, kBRead, kBt,
             {kDone}, {"lineEdit_SppName=SPP-1", "lineEdit_SppBLE=ZD-N480-BLE", "comboBox_SppMode=配对码配对",
             "lineEdit_SppPin=Pin-9Q", "lineEdit_SppMAC=11:22:33:AA:BB:CC", "+" + kBSet});
    // Only the PIN changed: the GBK name and a mode the combo does not list go back as read.
    clickRow("bluetooth name and mode kept", usb, "LP-200", {"2B=D6D0CEC400", "2F=02", "lineEdit_SppPin=Pin-9Q"},
             kBSet, "s2B:D6D0CEC400 s2C:" + z({"ZD-N480-BLE"}) + " s2F:02 s2E:" + z({"Pin-9Q"}), {kRestart},
             {"comboBox_SppMode="});
    clickRow("bluetooth read over Bluetooth", tcp, "LP-200", {"checkBox_BLE=1"}, kBRead, kBt, {kDone}, {"-" + kBSet});
    clickRow("bluetooth empty PIN, read back", tcp, "LP-200", {"+" + kBSet, "lineEdit_SppBLE=P1", "comboBox_SppMode=1"},
             kBSet + ' ' + kBRead, "s2B:00 s2C:503100 s2F:01 s2E:00 " + kBt, {kRestart, kDone},
             {"lineEdit_SppBLE=P1", "comboBox_SppMode=配对码配对", "+pushButton_close"});

    // Refused before anything is sent.
    clickRow("wifi address 300", tcp, "LP-200", {"lineEdit_WifiSetIP=192.168.1.300"}, kWSet, "",
             {"IP每段的取值范围为0 ~ 255，请重新输入"});
    clickRow("wifi name of 300 bytes", tcp, "LP-200", {"lineEdit_WStaName=" + QString(300, 'n')}, kWSet, "",
             {"STA模式 wifi名称过长，最多253字节（UTF-8），请重新输入"});
    clickRow("ethernet UDP 70000", tcp, "LP-200", {"lineEdit_NetportUDPPort=70000"}, kNSet, "",
             {"UDP端口的取值范围为0 ~ 65535，请重新输入"});
    // Values that would leave the printer unreachable, or with a broken address.
    refusalRow(tcp, "LP-200", kWSet, "lineEdit_WApPort", "", "TCP端口号", "1 ~ 65535");
    refusalRow(usb, "LP-200", kNSet, "lineEdit_NetportTCPPort", "0", "TCP端口", "1 ~ 65535");
    clickRow("wifi AP address 192.168..1", tcp, "LP-200", {"comboBox_WifiMode=1", "lineEdit_WApPassword=12345678",
             "lineEdit_WApIP=192.168..1"}, kWSet, "", {"AP_IP每段的取值范围为0 ~ 255，请重新输入"});
    clickRow("ethernet static without an address", tcp, "LP-200", {"comboBox_NetportIPMode=1", "lineEdit_NetportIP="},
             kNSet, "", {"DHCP OFF时IP不能为空或0.0.0.0，请重新输入"});
}

} // namespace

CLICK_TABLE_MAIN(rows, kSecrets)
