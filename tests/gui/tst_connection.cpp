// Device list refresh, stop, open, close and the adaptation of the window
// to the selected model, driven through the real window against emulated
// printers on loopback TCP and on emulated USB.
#include "page_test_support.h"

#include <QCheckBox>
#include <QLabel>
#include <QScopeGuard>
#include <QTabWidget>
#include <QToolBox>

namespace {

const QStringList kListControls = {"pushButton_getList", "pushButton_StopList", "comboBox_ScanResult",
                                   "pushButton_open", "pushButton_close", "checkBox_USB", "checkBox_NET",
                                   "checkBox_WIFI", "checkBox_BLE", "checkBox_Serialport"};
const QList<bool> kIdle = {true, false, true, true, false, true, true, true, false, false};
const QList<bool> kOpen = {false, false, false, false, true, false, false, false, false, false};
const QList<bool> kRefreshing = {false, true, false, true, false, true, true, true, false, false};
const QString kConnected = QStringLiteral("连接成功！");
// A failed open says so under "错误" with a critical icon (see shownBoxes()).
const QStringList kTimedOut = {"连接超时，请重试！", "(title 错误, icon 3)"};
const QStringList kSelectFirst = {"请先选中打印列表中的打印机"};

QStringList listItems(QComboBox *list)
{
    QStringList items;
    for (int i = 0; i < list->count(); ++i)
        items << list->itemText(i);
    return items;
}

// Clicks through `click` while a 2 ms timer watches for `due`; the first
// time it holds, `then` runs (from inside the handler's waiting).
void whenDuring(const std::function<bool()> &due, const std::function<void()> &then,
                const std::function<void()> &click)
{
    QTimer watcher;
    QObject::connect(&watcher, &QTimer::timeout, &watcher, [&] {
        if (due()) {
            watcher.stop();
            then();
        }
    });
    watcher.start(2);
    click();
}

} // namespace

class TestConnection : public GuiTest
{
    Q_OBJECT

private slots:
    // Open locks the list and sends nothing (it only proves the printer
    // reachable); close shows nothing and keeps the list (that it really
    // closes, the page table's rows after a close show); the same entry
    // opens again, more than once, and the printer answers. In the second
    // round a refresh on the other medium finds nothing there (and drops a
    // stale entry), and two refreshes back on this one replace the
    // transport in charge. (Over the network: a USB printer closes and
    // opens again in the function rows' reboots and the page rows after a
    // close.)
    void openCloseReopen()
    {
        PrinterWindow pw(TestMedium::Tcp);
        QVERIFY(pw.open());
        auto *list = pw.widget<QComboBox>("comboBox_ScanResult");
        const QStringList items = listItems(list);
        const QString port = pw.widget<QLineEdit>("lineEdit_ConnectTCPPort")->text();
        for (int round = 0; round < 3; ++round) {
            pw.click("pushButton_close");
            QCOMPARE(shownBoxes(pw), QStringList());
            QCOMPARE(enabledStates(pw, kListControls), expectedStates(kListControls, kIdle));
            QCOMPARE(listItems(list), items);
            QVERIFY(pw.window()->centralWidget()->isEnabled() && !contrlNet);
            if (round == 1) {
                clickBox(pw.widget<QCheckBox>("checkBox_USB"));
                apply(pw, {"lineEdit_ConnectAddr=127.0.0.1",
                           "lineEdit_ConnectTCPPort=" + QString::number(closedTcpPort())});
                list->addItem("Old [LP-200] {USB009}");
                pw.click("pushButton_getList");
                QVERIFY(list->count() == 0 && !getListStatus);
                QCOMPARE(mismatches(pw, {"progressBar_Scan=100"}), QString());
                QCOMPARE(enabledStates(pw, kListControls), expectedStates(kListControls, kIdle));
                clickBox(pw.widget<QCheckBox>("checkBox_WIFI"));
                apply(pw, {"lineEdit_ConnectTCPPort=" + port});
                for (int i = 0; i < 2; ++i) {
                    pw.click("pushButton_getList");
                    QCOMPARE(listItems(list), items);
                }
                QCOMPARE(shownBoxes(pw), QStringList{"请确保通讯设备已开启"});
                QVERIFY(contrlNet != nullptr);
            }
            pw.boxes().clear();
            pw.clearFrames();

            pw.click("pushButton_open");

            QCOMPARE(enabledStates(pw, kListControls), expectedStates(kListControls, kOpen));
            QVERIFY(pw.window()->centralWidget()->isEnabled() && pw.frames().isEmpty());
            pw.click(round == 1 ? "pushButton_PrintSettingRead" : "pushButton_DistanceSettingRead");
            QCOMPARE(shownBoxes(pw), QStringList({kConnected, kDone}));
            QCOMPARE(pw.frames().size(), round == 1 ? 13 : 4);
            pw.boxes().clear();
        }
    }

    // Which printer the current list entry opens, and the window adapted to
    // its model. Over the network the address is the first non-empty brace
    // text and the port comes from the port field (0 when its text is no
    // 16-bit number: 70000 must not wrap to 4464, where a printer listens);
    // over USB the port is the decimal number in "{USBn}" (the printer sits
    // on port 12: read as hexadecimal that would be 18). A failure leaves
    // the list as it was, with nothing open. The entry opened just before
    // is in every model group the row's model is not (all of them before a
    // plain one), and what it and reads left behind must be undone.
    void openEntry_data()
    {
        QTest::addColumn<QString>("item");       // the current entry (over USB if "{USB"); empty: the list emptied
        QTest::addColumn<QString>("port");       // "closed": nothing listens there; empty: the printer's
        QTest::addColumn<QStringList>("boxes");  // empty: opened
        QTest::addColumn<QString>("groups");     // dots per mm, "firmware" (firmware only), "extended"
        const QStringList opened;
        QTest::newRow("address") << "[LP-200] {127.0.0.1}" << "" << opened << "8";
        QTest::newRow("first non-empty brace") << "{} [LP-200] {x{127.0.0.1} {127.0.0.9}" << "" << opened << "8";
        QTest::newRow("no braces: empty address") << "[LP-200] 127.0.0.1" << "" << kTimedOut << "";
        QTest::newRow("nothing listening") << "[LP-200] {127.0.0.1}" << "closed" << kTimedOut << "";
        QTest::newRow("port 70000 is 0, not 4464") << "[LP-200] {127.0.0.1}" << "70000" << kTimedOut << "";
        QTest::newRow("port 4464") << "[LP-200] {127.0.0.1}" << "4464" << opened << "8";
        QTest::newRow("{USB12}") << "[LP-200] {USB12}" << "" << opened << "8";
        QTest::newRow("{USB13}: nothing there") << "[LP-200] {USB13}" << "" << kTimedOut << "";
        QTest::newRow("{USB}: port 0") << "[LP-200] {USB}" << "" << kTimedOut << "";
        QTest::newRow("{USB12 without closing brace") << "[LP-200] {USB12" << "" << kTimedOut << "";
        QTest::newRow("empty list") << "" << "" << kSelectFirst << "";
        QTest::newRow("entries, none current") << "[LP-200] {USB12}" << "" << kSelectFirst << "";
        QTest::newRow("XP-N480: twelve dots") << "[XP-N480] {USB12}" << "" << opened << "12";
        QTest::newRow("K71: extended") << "[K71] {127.0.0.1}" << "" << opened << "8 extended";
        QTest::newRow("KV-520: firmware only") << "[KV-520] {USB12}" << "" << opened << "8 firmware";
        QTest::newRow("all groups") << "[KV-630 ZD-N480] {127.0.0.1}" << "" << opened << "12 firmware extended";
        QTest::newRow("kv-520: names are case-sensitive") << "[kv-520] {127.0.0.1}" << "" << opened << "8";
    }

    void openEntry()
    {
        QFETCH(QString, item);
        QFETCH(QString, port);
        QFETCH(QStringList, boxes);
        QFETCH(QString, groups);
        const bool usb = item.contains("{USB"), firmwareOnly = groups.contains("firmware");
        const bool extended = groups.contains("extended");
        const int dots = groups.startsWith("12") ? 12 : 8;
        emu::PrinterModel usbPrinter;
        const int usbId = usb ? PrinterWindow::usb().addPrinter(&usbPrinter, {.bus = 2, .port = 12}) : -1;
        auto unplug = qScopeGuard([usbId] { if (usbId >= 0) PrinterWindow::usb().unplug(usbId); });
        emu::NetPrinter wrapped;
        if ((port == "70000" || port == "4464") && !wrapped.start({.tcpPort = 4464}))
            QSKIP("loopback port 4464 is taken on this machine");
        PrinterWindow pw(TestMedium::Tcp);   // its own printer is not on the USB bus
        emu::PrinterModel &target = usb ? usbPrinter : wrapped.isRunning() ? wrapped.model() : pw.printer();
        auto *list = pw.widget<QComboBox>("comboBox_ScanResult");
        QVERIFY(usb || pw.open());
        pw.click(usb ? "pushButton_getList" : "pushButton_close");
        QVERIFY2(list->count() == 1, qPrintable(listItems(list).join(", ")));
        const QStringList opposite = {dots == 8 ? "XP-N480" : "", firmwareOnly ? "" : "KV-630", extended ? "" : "K71"};
        list->setItemText(0, "Label [" + opposite.join(' ') + (usb ? "] {USB12}" : "] {127.0.0.1}"));
        pw.click("pushButton_open");
        pw.click("pushButton_close");
        list->setItemText(0, "Label " + item);
        list->addItem("Other [LP-200] {127.0.0.2}");
        list->setCurrentIndex(boxes == kSelectFirst ? -1 : 0);
        if (item.isEmpty())
            list->clear();
        if (!port.isEmpty())
            apply(pw, {"lineEdit_ConnectTCPPort=" + (port == "closed" ? QString::number(closedTcpPort()) : port)});
        for (const QString &name : setButtons())
            pw.widget(qPrintable(name))->setEnabled(true);
        CHECK_STATUES = 1;
        const QString before = listItems(list).join(" / ") + " current " + QString::number(list->currentIndex());
        target.clearLog();

        pw.click("pushButton_open");

        QVERIFY(target.frames().isEmpty());
        if (!boxes.isEmpty()) {
            QCOMPARE(enabledStates(pw, kListControls), expectedStates(kListControls, kIdle));
            QCOMPARE(listItems(list).join(" / ") + " current " + QString::number(list->currentIndex()), before);
            QVERIFY(pw.window()->centralWidget()->isEnabled() && wrapped.acceptedConnections() == 0);
        } else {
            QCOMPARE(pw.widget<QLabel>("label_17")->text(), QStringLiteral("注：1mm = %1dot").arg(dots));
            auto *tabs = pw.widget<QTabWidget>("tabWidget_2");
            // dots, extended, status flag, tabs 0 to 2, font and firmware download
            QCOMPARE(QList<int>({mmToDot, printModeFlag, CHECK_STATUES, tabs->isTabEnabled(0), tabs->isTabEnabled(1),
                                 tabs->isTabEnabled(2), pw.widget("pushButton_DownloadFL")->isEnabled(),
                                 pw.widget("pushButton_DownloadFW")->isEnabled()}),
                     QList<int>({dots, extended, 0, !firmwareOnly, !firmwareOnly, true, !firmwareOnly, true}));
            QCOMPARE(listItems(pw.widget<QComboBox>("comboBox_PrintSpeed")).join(""),
                     QString("01234567").left(extended ? 8 : 4));
            // On the firmware-only models the printer-settings tab is
            // disabled; below it the widgets' own flags must still be right.
            // A tool box page's flag is on its header button.
            QWidget *above = firmwareOnly ? tabs->widget(0) : nullptr;
            auto *toolBox = pw.widget<QToolBox>("toolBox_PrinterSetting");
            const auto header = toolBox->findChildren<QAbstractButton *>("qt_toolbox_toolboxbutton").at(6);
            QCOMPARE(header->text(), toolBox->itemText(6));
            QCOMPARE(header->isEnabledTo(above), extended);
            QStringList own = {"comboBox_PrintMode", "label_41", "comboBox_AutoPaper", "label_28"}, ownStates;
            own += setButtons();
            for (const QString &name : own)
                ownStates << name + "=" + QString::number(pw.widget(qPrintable(name))->isEnabledTo(above));
            QCOMPARE(ownStates.join(' '), expectedStates(own, QList<bool>{extended, extended, !extended, !extended}
                                                                  + QList<bool>(7, false)));
        }
        // What opened is the printer that answers.
        pw.click("pushButton_getPrinterInfo");
        QCOMPARE(shownBoxes(pw), QStringList{kConnected} + (boxes.isEmpty() ? QStringList{kConnected, kDone}
                                                                            : boxes + QStringList{"设备未打开!"}));
        QCOMPARE(target.frames().size(), boxes.isEmpty() ? 3 : 0);
    }

    // Stop is clicked while the probe waits for the identity reply: the item
    // is kept and the controls come back. Stop gives the refresh button back
    // at once, but a stopped direct probe still waits for the reply it asked
    // for; a refresh asked for meanwhile must not pull the transport from
    // under that wait, and runs once the old one has finished. Afterwards,
    // while a read waits for its replies, the controls that could start a
    // second exchange are locked, and come back.
    void stopDuringProbe()
    {
        PrinterWindow pw(TestMedium::Tcp);
        QVERIFY(pw.open());
        pw.click("pushButton_close");
        auto *list = pw.widget<QComboBox>("comboBox_ScanResult");
        pw.printer().setFaults({.delayMs = 800});
        for (const bool again : {false, true}) {
            pw.clearFrames();
            QString whileRefreshing;
            whenDuring([&] { return !pw.printer().framesOf(0x02, 0x0C).isEmpty(); }, [&] {
                whileRefreshing = enabledStates(pw, kListControls);
                pw.click("pushButton_StopList");
                if (again && pw.widget("pushButton_getList")->isEnabled())
                    pw.click("pushButton_getList");
            }, [&] { pw.click("pushButton_getList"); });
            QCOMPARE(whileRefreshing, expectedStates(kListControls, kRefreshing));
            QTRY_COMPARE_WITH_TIMEOUT(pw.printer().framesOf(0x02, 0x0C).size(), again ? 2 : 1, 10000);
            QTRY_VERIFY_WITH_TIMEOUT(!getListStatus && list->count() == 1
                                         && pw.widget("pushButton_getList")->isEnabled(), 10000);
            QVERIFY(list->currentText().contains("{127.0.0.1}"));
            QCOMPARE(enabledStates(pw, kListControls), expectedStates(kListControls, kIdle));
            QCOMPARE(shownBoxes(pw), QStringList());
        }

        pw.printer().setFaults({.delayMs = 30});
        pw.click("pushButton_open");
        pw.clearFrames();
        const QStringList locked = {"pushButton_close", "tabWidget_2", "pushButton_getPrinterInfo", "pushButton_Send",
                                    "pushButton_SendFile"};
        QString during;
        whenDuring([&] { return !pw.frames().isEmpty(); }, [&] { during = enabledStates(pw, locked); },
                   [&] { pw.click("pushButton_DistanceSettingRead"); });
        QCOMPARE(during, expectedStates(locked, QList<bool>(locked.size(), false)));
        QCOMPARE(enabledStates(pw, locked), expectedStates(locked, QList<bool>(locked.size(), true)));
        QCOMPARE(shownBoxes(pw), QStringList({kConnected, kDone}));
    }
};

QTEST_MAIN(TestConnection)
#include "tst_connection.moc"
