// The medium check boxes, the result messages and the pause.
#include "page_test_support.h"

#include "transport/usb_transport.h"

#include <QCheckBox>
#include <QSemaphore>
#include <QThread>
#include <climits>
#include <libusb.h>
#include <time.h>

class TestMainWindow : public GuiTest
{
    Q_OBJECT

private slots:
    // A medium box (the row's first word) sets the medium, empties the
    // device list, enables the connection fields it needs (USB none, wired
    // the ports, Wi-Fi the address too) and copies the printer's address
    // and ports from its Ethernet or Wi-Fi page (an empty or unset source
    // leaves the field alone). The copy is the one a successful Wi-Fi or
    // Ethernet set makes, whose station, AP and empty-address cases are
    // tst_connectivity_pages' rows; an address of 0.0.0.0 is seen here.
    void mediumCheckBoxes_data()
    {
        QTest::addColumn<QString>("pages");        // see apply()
        QTest::addColumn<QString>("connection");   // address, TCP port, UDP port shown afterwards
        QTest::newRow("USB") << "lineEdit_NetportTCPPort=9200 lineEdit_WApPort=9101" << "192.168.1.1 9100 38400";
        QTest::newRow("NET") << "lineEdit_NetportTCPPort=9200 lineEdit_NetportUDPPort=" << "192.168.1.1 9200 38400";
        QTest::newRow("WIFI, zero address") << "lineEdit_WifiSetIP=0.0.0.0 lineEdit_WApPort=9101"
                                            << "192.168.1.1 9101 38400";
    }

    void mediumCheckBoxes()
    {
        QFETCH(QString, pages);
        QFETCH(QString, connection);
        const QString box = QString(QTest::currentDataTag()).section(QRegularExpression("[ ,]"), 0, 0);
        PrinterWindow pw(TestMedium::Tcp);
        // Start from another medium so that clicking the box checks it.
        clickBox(pw.widget<QCheckBox>(box == "NET" ? "checkBox_WIFI" : "checkBox_NET"));
        apply(pw, pages.split(' ') << "progressBar_Scan=100");
        pw.widget<QComboBox>("comboBox_ScanResult")->addItem("stale entry");

        clickBox(pw.widget<QCheckBox>(qPrintable("checkBox_" + box)));

        QCOMPARE(ret_mode, box == "USB" ? MediumUsb : MediumNet);
        const QString address = box == "WIFI" ? "+" : "-", ports = box == "USB" ? "-" : "+";
        const QStringList values = connection.split(' ');
        QCOMPARE(mismatches(pw, {address + "lineEdit_ConnectAddr", address + "label_22", ports + "label_21",
                                 ports + "lineEdit_ConnectTCPPort", ports + "lineEdit_ConnectUDPPort",
                                 "-comboBox_ComBaud_con", "progressBar_Scan=0", "comboBox_ScanResult=",
                                 "lineEdit_ConnectAddr=" + values[0], "lineEdit_ConnectTCPPort=" + values[1],
                                 "lineEdit_ConnectUDPPort=" + values[2]}),
                 QString());
        QCOMPARE(pw.boxes().count(), 0);
    }

    // The result codes no page or function row meets: the information box
    // shown (titled 设置工具) or none. A failure the user is told of is
    // reported to the caller (1); the codes that pass silently are not (0).
    // (Success, a malformed reply, the medium errors, 5 without advice
    // among them, and "no transport" are seen in the page, function, status
    // and fault-matrix rows.)
    void retHandler_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<QStringList>("boxes");
        QTest::addColumn<int>("usbError");  // libusb's answer to the last open or claim
        QTest::newRow("9") << 9 << QStringList() << 0;
        QTest::newRow("INT_MIN") << INT_MIN << QStringList() << 0;
        // The advice line under a USB failure, once: the next result is
        // told without it.
        QTest::newRow("5 usb open, access refused") << 5 << QStringList{kUsbDenied} << int(LIBUSB_ERROR_ACCESS);
        QTest::newRow("6 network after a held interface") << 6 << QStringList{kNetError} << int(LIBUSB_ERROR_BUSY);
    }

    void retHandler()
    {
        QFETCH(int, code);
        QFETCH(QStringList, boxes);
        QFETCH(int, usbError);
        PrinterWindow pw(TestMedium::Tcp);
        CDeviceIOOpera::noteAccessResult(usbError);
        QCOMPARE(pw.window()->Ret_Handler(code), int(code != 0 && !boxes.isEmpty()));
        QCOMPARE(shownBoxes(pw), boxes);
        QCOMPARE(int(CDeviceIOOpera::takeAccessProblem()), int(UsbAccessProblem::None));
    }

    // A pause ends at its deadline with nothing else to wake the thread:
    // no box poller, no socket, no other timer. It starts just after a
    // whole second of the monotonic clock, where a coarse timer of one
    // second rounds down and fires early. A watchdog thread wakes the
    // thread after 3 s, and the row fails, rather than hang.
    void pauseEndsAtItsDeadline()
    {
        PrinterWindow pw(TestMedium::Tcp);
        pw.boxes().stopPolling();
        timespec start{};
        clock_gettime(CLOCK_MONOTONIC, &start);
        start = {start.tv_sec + 1, 25 * 1000 * 1000};
        clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &start, nullptr);
        QSemaphore returned;
        bool fired = false;
        std::unique_ptr<QThread> watchdog(QThread::create([&] {
            if ((fired = !returned.tryAcquire(1, 3000)))
                QMetaObject::invokeMethod(qApp, [] {}, Qt::QueuedConnection);
        }));
        watchdog->start();
        QElapsedTimer clock;
        clock.start();
        pw.window()->pause(1000);
        const qint64 took = clock.elapsed();
        returned.release();
        watchdog->wait();
        QVERIFY2(!fired && took >= 1000 && took <= 1500, qPrintable(QString::number(took)));
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
