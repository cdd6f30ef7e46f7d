// The "获取打印机状态" button: the status word fetched over USB by the
// vendor control read and over the network by the status frame, one line
// per condition; the box shown when the printer cannot be asked.
#include "page_test_support.h"

namespace {

const QString kStatus = "pushButton_GetPrinterStatus";
// Over the network the status frame (length 4, no payload); over USB the
// vendor control read, with nothing down the bulk pipe.
const QString kStatusFrame = "1BFFFE0003041BFEFF";
const QString kNotConnected = "请确保打印机已进行连接";

void rows()
{
    // Decoding (several conditions, one line each) is pinned by the protocol
    // tests; here the idle text and the second byte of the word carrying
    // bits 8..15.
    clickRow("idle", usb, "LP-200", {"status=0"}, kStatus, "", {"空闲中"});
    // A serial line carries the network's status frame.
    for (const auto medium : {tcp, usb, line})
        clickRow("positioning error", medium, "LP-200", {"status=0100"}, kStatus, medium == usb ? "" : kStatusFrame,
                 {"定位异常（黑标或缝隙）\n"});
    // A printer that takes the request and never answers is given the
    // network exchange's full three seconds; two of the four status bytes
    // are a failed read, never "idle". The connection stays open.
    for (const auto &[fault, medium] : {std::pair{QString("silent"), tcp}, {"off", tcp}, {"unplug", usb},
                                        {"short", usb}, {"short", tcp}})
        clickRow("unreachable: " + fault + (medium == tcp ? " (network)" : ""), medium, "LP-200", {"status=0002"},
                 fault + ' ' + kStatus + (fault == "silent" ? " took:3000" : ""),
                 medium == tcp && fault != "off" ? kStatusFrame : "", {kNotConnected}, {"-pushButton_open"});
    // A close forgets the network transport object; reopening the same list
    // entry without a new refresh must give the status read a transport again.
    clickRow("after reopening", tcp, "LP-200", {"status=0080"}, "reopen " + kStatus, kStatusFrame,
             {"连接成功！", "开盖\n"});
    // The status button leaves the window usable while the network printer
    // takes its time, so a function button can run inside the wait. The
    // function ends the shared connection (self-test: disconnect; reboot:
    // close and dispose of the socket); the waiting status read must then
    // give up cleanly, and both results reach the user in order.
    for (const auto &[button, frame, open] : {std::tuple{"SelfCheck", " f00", "-"}, {"Reboot", " f02", "+"}})
        clickRow(QStringLiteral("%1 while the status waits").arg(button), tcp, "LP-200", {},
                 QStringLiteral("slow during:pushButton_%1 ").arg(button) + kStatus, kStatusFrame + frame,
                 {kDone, kNotConnected}, {open + QStringLiteral("pushButton_open")});
}

} // namespace

CLICK_TABLE_MAIN(rows)
