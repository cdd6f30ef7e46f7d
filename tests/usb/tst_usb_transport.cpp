// The USB transport against emulated printers: real libusb, real usbfs
// ioctls, answered by emu::UsbFace inside a umockdev testbed. Runs under
// umockdev's preload (umockdev-wrapper).
#include "../net/fake_scan_host.h"

#include "protocol/frame.h"
#include "query/printer_io.h"
#include "tools/emulator/core/printer_model.h"
#include "tools/emulator/usb/usb_face.h"
#include "transport/usb_transport.h"

#include <QElapsedTimer>
#include <QSet>
#include <QTest>
#include <libusb.h>
#include <sys/resource.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <vector>

namespace {

struct Exchange
{
    int ret = -99;
    QByteArray reply = QByteArray(264, char(0xAA));  // the caller's area after the call
    int replyLength = -7;
};

// PrinterDataIOSwap, or PrinterDataIOButton (write only) when `buttonPath`.
Exchange io(const QByteArray &request, bool buttonPath = false, bool withReply = true)
{
    std::vector<unsigned char> data(request.begin(), request.end());
    Exchange x;
    auto *reply = withReply ? reinterpret_cast<unsigned char *>(x.reply.data()) : nullptr;
    x.ret = buttonPath ? CDeviceIOOpera::PrinterDataIOButton(data.data(), int(data.size()), reply, x.replyLength)
                       : CDeviceIOOpera::PrinterDataIOSwap(data.data(), int(data.size()), reply, x.replyLength);
    return x;
}
Exchange button(const QByteArray &bytes) { return io(bytes, true); }

const QByteArray kDensityQuery = frame(0x02, 0x13);
QByteArray densityReply(int value) { return frame(0x02, 0x13, QByteArray(1, char(value))); }

qint64 cpuMs()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return (u.ru_utime.tv_sec + u.ru_stime.tv_sec) * 1000LL + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1000;
}

bool allZero(const QByteArray &b) { return b.count('\0') == b.size(); }

bool zeroFrom(const std::array<unsigned char, 1024> &out, int from)
{
    return std::all_of(out.begin() + from, out.end(), [](unsigned char b) { return b == 0; });
}

// Interface 0 has string 4 and bulk 0x02/0x82; the printer interface 1 has
// no string and, when `full`, a second OUT and an interrupt IN ahead of
// its bulk IN; interface 2 has string 6 and no endpoints.
emu::UsbPrinterConfig multiInterface(bool full)
{
    emu::UsbPrinterConfig c;
    emu::UsbInterface config0;
    config0.number = 0;
    config0.stringIndex = 4;
    config0.text = QStringLiteral("Configuration");
    config0.interfaceClass = 0xFF;
    config0.endpoints = {{0x02, 2, 512}, {0x82, 2, 512}};
    emu::UsbInterface printer;
    printer.number = 1;
    printer.endpoints = full ? QList<emu::UsbEndpoint>{{0x03, 2, 512}, {0x05, 2, 512}, {0x86, 3, 64}, {0x84, 2, 512}}
                             : QList<emu::UsbEndpoint>{{0x03, 2, 512}, {0x84, 2, 512}};
    c.interfaces = {config0, printer};
    if (full) {
        emu::UsbInterface spare;
        spare.number = 2;
        spare.stringIndex = 6;
        spare.text = QStringLiteral("Spare");
        spare.endpoints = {};
        c.interfaces.append(spare);
    }
    c.printerInterface = 1;
    return c;
}

} // namespace

class TestUsbTransport : public QObject
{
    Q_OBJECT

    std::unique_ptr<emu::UsbFace> m_face;
    std::vector<std::unique_ptr<emu::PrinterModel>> m_models;
    FakeScanHost m_host;
    std::unique_ptr<CDeviceIOOpera> m_usb;

    emu::PrinterModel &model(int id) { return *m_models.at(size_t(id)); }
    int addPrinter(const emu::UsbPrinterConfig &config)
    {
        m_models.push_back(std::make_unique<emu::PrinterModel>());
        const int id = m_face->addPrinter(m_models.back().get(), config);
        Q_ASSERT(id == int(m_models.size()) - 1);
        return id;
    }
    int addPrinter(int port, quint16 pid = 0x0618, const QString &product = QStringLiteral("ZD-N480"),
                   quint16 vid = 0xE51D)
    {
        emu::UsbPrinterConfig c;
        c.port = port;
        c.productId = pid;
        c.product = product;
        c.vendorId = vid;
        return addPrinter(c);
    }
    // Adds a printer on port 2 and selects it.
    int selectedPrinter(const emu::UsbPrinterConfig &config = {})
    {
        emu::UsbPrinterConfig c = config;
        c.port = 2;
        const int id = addPrinter(c);
        if (CDeviceIOOpera::GetPrinterHandle(2) != 0)
            qFatal("no printer on port 2");
        return id;
    }
    int list(Printer_Vector &printers, _PRINTER_ATTR *records)
    {
        return m_usb->GetPrinterHandle(records, printers);
    }

private slots:
    void initTestCase()
    {
        // umockdev_in_mock_environment() would cache "no" before the first
        // testbed exists; the preload itself is what matters.
        if (!qEnvironmentVariable("LD_PRELOAD").contains(QLatin1String("umockdev-preload")))
            QSKIP("needs umockdev's preload library (run under umockdev-wrapper)");
    }
    void init()
    {
        m_face = std::make_unique<emu::UsbFace>();
        m_host = FakeScanHost{};
        m_usb = std::make_unique<CDeviceIOOpera>(&m_host);
    }
    void cleanup()
    {
        m_usb.reset();   // drops the selection and its libusb context first
        m_face.reset();  // then the testbed
        m_models.clear();
    }

    // ---- enumeration ------------------------------------------------------

    void enumerationNames_data()
    {
        QTest::addColumn<quint16>("pid");
        QTest::addColumn<QString>("product");
        QTest::addColumn<QString>("sysName");
        QTest::addColumn<QString>("item");  // "maker [name] {port}": name and port also go to the list
        QTest::newRow("Corvanta 0618") << quint16(0x0618) << "ZD-N480" << "1-2" << "Corvanta [ZD-N480] {USB002}";
        QTest::newRow("Label last id") << quint16(0x1413) << "L9" << "1-2" << "Label [L9] {USB002}";
        QTest::newRow("Silver Falcon 0505") << quint16(0x0505) << "SF-100" << "1-2"
                                            << "Silver Falcon [SF-100] {USB002}";
        QTest::newRow("unknown product id") << quint16(0x9999) << "X1" << "1-2" << "Unknown [X1] {USB002}";
        QTest::newRow("no product string") << quint16(0x0618) << "" << "1-2" << "Corvanta [Unknown] {USB002}";
        QTest::newRow("port 12") << quint16(0x0618) << "P" << "3-12" << "Corvanta [P] {USB012}";
        QTest::newRow("behind a hub") << quint16(0x0618) << "P" << "1-1.4" << "Corvanta [P] {USB004}";
    }
    void enumerationNames()
    {
        QFETCH(quint16, pid);
        QFETCH(QString, product);
        QFETCH(QString, sysName);
        QFETCH(QString, item);
        const QString listName = item.section(QLatin1Char('['), 1).section(QLatin1Char(']'), 0, 0);
        const QString listPort = item.section(QLatin1Char('{'), 1).chopped(1);
        emu::UsbPrinterConfig c;
        c.productId = pid;
        c.product = product;
        c.sysName = sysName;
        c.bus = sysName.section(QLatin1Char('-'), 0, 0).toInt();
        addPrinter(c);

        std::array<_PRINTER_ATTR, kPrinterAttrCount> records{};
        Printer_Vector printers;
        QCOMPARE(list(printers, records.data()), 1);
        QCOMPARE(m_host.entries, QStringList{item});
        QCOMPARE(QString::fromLatin1(records[0].modelname), item);
        QVERIFY(allZero(QByteArray(records[1].modelname, sizeof records[1].modelname)));
        QCOMPARE(int(printers.size()), 1);
        QCOMPARE(QString::fromLatin1(printers[0].name), listName);
        QCOMPARE(QString::fromLatin1(printers[0].port), listPort);
        QVERIFY(allZero(QByteArray(printers[0].name, sizeof printers[0].name).mid(listName.size())));
        QCOMPARE(m_host.progress, QList<int>{100});
    }

    // Empty bus, foreign devices only, and the stop button pressed before
    // or while the list fills.
    void listingOutcomes_data()
    {
        QTest::addColumn<int>("ours");
        QTest::addColumn<bool>("foreign");
        QTest::addColumn<int>("stopAfter");  // -2: stopped before the scan
        QTest::addColumn<int>("result");
        QTest::addColumn<int>("entries");
        QTest::addColumn<int>("found");  // -1: not looked at
        QTest::addColumn<QList<int>>("progress");
        QTest::newRow("bus empty") << 0 << false << -1 << 0 << 0 << 0 << QList<int>{100};
        QTest::newRow("only another vendor") << 0 << true << -1 << 0 << 0 << 0 << QList<int>{100};
        QTest::newRow("stopped before listing") << 2 << false << -2 << 0 << 0 << -1 << QList<int>{};
        QTest::newRow("stopped while listing: keeps what is listed") << 3 << false << 1 << 1 << 1 << 3
                                                                      << QList<int>{100};
    }
    void listingOutcomes()
    {
        QFETCH(int, ours);
        QFETCH(bool, foreign);
        QFETCH(int, stopAfter);
        QFETCH(int, result);
        QFETCH(int, entries);
        QFETCH(int, found);
        QFETCH(QList<int>, progress);
        const int foreignId = foreign ? addPrinter(2, 0x0618, QStringLiteral("F"), 0x1234) : -1;
        for (int i = 0; i < ours; ++i)
            addPrinter(2 + i);
        if (stopAfter == -2)
            m_host.running = false;
        m_host.stopAfter = stopAfter;
        std::array<_PRINTER_ATTR, kPrinterAttrCount> records{};
        Printer_Vector printers;
        QCOMPARE(list(printers, records.data()), result);
        QCOMPARE(m_host.entries.size(), entries);
        if (found >= 0)
            QCOMPARE(int(printers.size()), found);
        QCOMPARE(m_host.progress, progress);
        if (foreign)
            QCOMPARE(m_face->stats(foreignId).opens, 0);  // never opened
    }

    void morePrintersThanRecords()
    {
        for (int port = 1; port <= 7; ++port)
            addPrinter(port, 0x0618, QStringLiteral("ZD-%1").arg(port));
        // One guard record behind the five the window hands over.
        std::array<_PRINTER_ATTR, kPrinterAttrCount + 1> records{};
        Printer_Vector printers;
        QCOMPARE(list(printers, records.data()), 1);
        QVERIFY(allZero(QByteArray(records[kPrinterAttrCount].modelname, 256)));
        QCOMPARE(m_host.entries.size(), kPrinterAttrCount);
        QCOMPARE(int(printers.size()), kPrinterAttrCount);
        QSet<QString> ports;
        for (int i = 0; i < kPrinterAttrCount; ++i) {
            QCOMPARE(m_host.entries[i], QString::fromLatin1(records[i].modelname));
            const QString port = QString::fromLatin1(printers[size_t(i)].port);
            QVERIFY(m_host.entries[i].endsWith(QStringLiteral("{%1}").arg(port)));
            ports.insert(port);
        }
        QCOMPARE(ports.size(), kPrinterAttrCount);
    }

    void newObjectReplacesRecord()
    {
        _PRINTER_HANDLE *first = CDeviceIOOpera::printer_handle_usb;
        QVERIFY(first && !first->pHandle && !first->pContext && first->vid == 0 && first->pid == 0);
        auto second = std::make_unique<CDeviceIOOpera>(&m_host);
        QVERIFY(CDeviceIOOpera::printer_handle_usb != first);
        second.reset();
        QVERIFY(!CDeviceIOOpera::printer_handle_usb);  // the current record went with its object
    }

    // ---- selection --------------------------------------------------------

    void selectByPort_data()
    {
        QTest::addColumn<int>("port");
        QTest::addColumn<int>("expectedPid");
        QTest::newRow("port 1") << 1 << 0x0505;
        QTest::newRow("port 3") << 3 << 0x4116;
        QTest::newRow("port 5") << 5 << 0x0618;
    }
    void selectByPort()
    {
        QFETCH(int, port);
        QFETCH(int, expectedPid);
        const QList<int> ports{1, 3, 5};
        for (int p : ports)
            model(addPrinter(p, p == 1 ? 0x0505 : p == 3 ? 0x4116 : 0x0618)).setSetting(0x13, QByteArray(1, char(p)));
        QCOMPARE(CDeviceIOOpera::GetPrinterHandle(port), 0);
        _PRINTER_HANDLE *h = CDeviceIOOpera::printer_handle_usb;
        QVERIFY(h->pHandle && h->pContext);
        QCOMPARE(h->vid, 0xE51D);
        QCOMPARE(h->pid, expectedPid);
        // Bytes go to the printer on that port and nowhere else.
        const Exchange x = io(kDensityQuery);
        QCOMPARE(x.ret, 0);
        QCOMPARE(x.reply.left(10), densityReply(port));
        for (int id = 0; id < ports.size(); ++id)
            QCOMPARE(model(id).frames().size(), ports[id] == port ? 1 : 0);
    }

    void selectMissingPortLeavesNoContext_data()
    {
        QTest::addColumn<bool>("foreignOnPort");
        QTest::newRow("nothing on the port") << false;
        QTest::newRow("another vendor on the port") << true;
    }
    void selectMissingPortLeavesNoContext()
    {
        QFETCH(bool, foreignOnPort);
        addPrinter(2);
        if (foreignOnPort)
            addPrinter(3, 0x0618, QStringLiteral("F"), 0x04B8);
        QCOMPARE(CDeviceIOOpera::GetPrinterHandle(3), -1);
        QVERIFY(!CDeviceIOOpera::printer_handle_usb->pHandle);
        QVERIFY(!CDeviceIOOpera::printer_handle_usb->pContext);
        QCOMPARE(io(kDensityQuery).ret, 4);
    }

    void sharedPortNumberTakesLastInListOrder()
    {
        // Port 2 on two buses: both match the requested port number.
        emu::UsbPrinterConfig a;
        a.bus = 1;
        a.port = 2;
        a.productId = 0x0505;
        emu::UsbPrinterConfig b = a;
        b.bus = 2;
        b.productId = 0x4116;
        addPrinter(a);
        addPrinter(b);
        // The order libusb lists them in decides; find out what it is.
        int lastPid = -1;
        libusb_context *ctx = nullptr;
        QCOMPARE(libusb_init(&ctx), 0);
        libusb_device **devs = nullptr;
        const ssize_t n = libusb_get_device_list(ctx, &devs);
        for (ssize_t i = 0; i < n; ++i) {
            libusb_device_descriptor d{};
            libusb_get_device_descriptor(devs[i], &d);
            if (d.idVendor == 0xE51D && libusb_get_port_number(devs[i]) == 2)
                lastPid = d.idProduct;
        }
        libusb_free_device_list(devs, 1);
        libusb_exit(ctx);
        QVERIFY(lastPid == 0x0505 || lastPid == 0x4116);

        QCOMPARE(CDeviceIOOpera::GetPrinterHandle(2), 0);
        QCOMPARE(CDeviceIOOpera::printer_handle_usb->pid, lastPid);
        // The reference taken for the first match was given back: with a
        // leak, LeakSanitizer reports the device libusb could not free.
        CDeviceIOOpera::ClosePrinterHandle();
        QVERIFY(!CDeviceIOOpera::printer_handle_usb->pHandle);
    }

    // ---- interface and endpoints ------------------------------------------

    void endpointsByInterfaceString_data()
    {
        QTest::addColumn<int>("requested");
        QTest::addColumn<int>("result");
        QTest::addColumn<int>("claim");
        QTest::addColumn<int>("epIn");
        QTest::addColumn<int>("epOut");
        QTest::newRow("0 picks the first setting without a string") << 0 << 0 << 1 << 0x84 << 0x05;
        QTest::newRow("string index 4 is interface 0") << 4 << 0 << 0 << 0x82 << 0x02;
        QTest::newRow("setting without endpoints") << 6 << 0 << 2 << 0 << 0;
        QTest::newRow("no such string index") << 7 << -5 << -1 << 0 << 0;
    }
    void endpointsByInterfaceString()
    {
        QFETCH(int, requested);
        QFETCH(int, result);
        QFETCH(int, claim);
        QFETCH(int, epIn);
        QFETCH(int, epOut);
        selectedPrinter(multiInterface(true));
        int claimed = -1;
        unsigned char in = 0, out = 0;
        QCOMPARE(CDeviceIOOpera::GetUSBDevEndPoint(CDeviceIOOpera::printer_handle_usb->pHandle, requested, claimed,
                                                   in, out),
                 result);
        QCOMPARE(claimed, claim);
        QCOMPARE(int(in), epIn);
        QCOMPARE(int(out), epOut);
    }

    void swapUsesChosenInterface()
    {
        const int id = selectedPrinter(multiInterface(false));
        model(id).setSetting(0x13, QByteArray(1, char(9)));
        const Exchange x = io(kDensityQuery);
        QCOMPARE(x.ret, 0);
        QCOMPARE(x.reply.left(10), densityReply(9));
        QCOMPARE(m_face->stats(id).claimedInterfaces, QList<int>{1});
        QCOMPARE(m_face->stats(id).outTransfers, (QMap<int, int>{{0x03, 1}}));
        QTRY_COMPARE(m_face->stats(id).releases, 1);
    }

    // ---- byte operations --------------------------------------------------

    void swapExactFramesAndReply_data()
    {
        QTest::addColumn<int>("payloadLength");
        QTest::newRow("one byte") << 1;
        QTest::newRow("empty payload") << 0;
        QTest::newRow("fills the 264-byte area exactly") << 255;
    }
    void swapExactFramesAndReply()
    {
        QFETCH(int, payloadLength);
        const int id = selectedPrinter();
        QByteArray payload(payloadLength, '\0');
        for (int i = 0; i < payloadLength; ++i)
            payload[i] = char(i + 1);
        model(id).setSetting(0x13, payload);

        const Exchange x = io(kDensityQuery);
        QCOMPARE(x.ret, 0);
        QCOMPARE(x.replyLength, 264);
        const QByteArray expected = frame(0x02, 0x13, payload);
        QCOMPARE(x.reply.left(expected.size()), expected);
        QVERIFY(allZero(x.reply.mid(expected.size())));  // zeros after the data, not the caller's old bytes
        const QList<emu::LoggedFrame> frames = model(id).frames();
        QCOMPARE(frames.size(), 1);
        QCOMPARE(frames[0].bytes, kDensityQuery);
        QCOMPARE(int(frames[0].medium), int(emu::Medium::Usb));
        QCOMPARE(m_face->stats(id).outBytes, qint64(kDensityQuery.size()));
        QCOMPARE(m_face->stats(id).claims, 1);
        // Opened, claimed, released and closed within the call.
        QTRY_COMPARE(m_face->stats(id).openHandles, 0);
        QCOMPARE(m_face->stats(id).releases, 1);
    }

    // The swap without a reply area and the button path write and read
    // nothing back; the caller's area and length stay untouched.
    void writeOnly_data()
    {
        QTest::addColumn<bool>("buttonPath");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("swap without reply area") << false << frame(0x01, 0x00, QByteArray(1, char(3)));
        QTest::newRow("button: self-test") << true << frame(0x00, 0x00);
    }
    void writeOnly()
    {
        QFETCH(bool, buttonPath);
        QFETCH(QByteArray, bytes);
        const int id = selectedPrinter();
        const Exchange x = io(bytes, buttonPath, buttonPath);
        QCOMPARE(x.ret, 0);
        QCOMPARE(x.reply, QByteArray(264, char(0xAA)));
        QCOMPARE(x.replyLength, -7);
        QCOMPARE(model(id).frames().size(), 1);
        QCOMPARE(model(id).frames().at(0).bytes, bytes);
        QCOMPARE(m_face->stats(id).outTransfers.value(0x01), 1);
        QCOMPARE(m_face->stats(id).inCompleted + m_face->stats(id).discarded, 0);
    }

    void buttonLargeWriteArrivesWhole()
    {
        const int id = selectedPrinter();
        // A firmware-sized chunk of raw bytes: none may be lost on the way.
        const QByteArray chunk(100000, 'A');
        QCOMPARE(button(chunk).ret, 0);
        QVERIFY(model(id).waitForRawBytes(chunk.size(), 5000));
        QCOMPARE(m_face->stats(id).outBytes, qint64(chunk.size()));
    }

    void readDebugDataAfterWrite()
    {
        const int id = selectedPrinter();
        model(id).setFirmwareVersion(QStringLiteral("V2.31"));
        // The debug console writes raw bytes, then reads what came back.
        QCOMPARE(button(frame(0x00, 0x04)).ret, 0);
        const QByteArray got = CDeviceIOOpera::readDebugData();
        QCOMPARE(got.size(), 264);
        const QByteArray expected = frame(0x00, 0x04, QByteArray("V2.31", 6));
        QCOMPARE(got.left(expected.size()), expected);
        QVERIFY(allZero(got.mid(expected.size())));
    }

    void statusWordByControlRead()
    {
        const int id = selectedPrinter();
        model(id).setStatusWord(0x80402011u);
        unsigned char buffer[8];
        std::memset(buffer, 0xEE, sizeof buffer);
        int length = -1;
        QCOMPARE(CDeviceIOOpera::ReadFromControlEndpoint(buffer, length), 0);
        QCOMPARE(length, 4);
        QCOMPARE(QByteArray(reinterpret_cast<char *>(buffer), 8), QByteArray::fromHex("11204080eeeeeeee"));
        QCOMPARE(m_face->stats(id).controlReads, 1);
    }

    // Every operation fails cleanly without a selection, and never opens
    // the printer.
    void missingSelection_data()
    {
        QTest::addColumn<QString>("situation");
        QTest::newRow("record without a selection") << "none";
        QTest::newRow("no record at all") << "no record";
        QTest::newRow("closed (after opening twice), closed again") << "closed";
    }
    void missingSelection()
    {
        QFETCH(QString, situation);
        const int id = addPrinter(2);
        if (situation == QLatin1String("no record")) {
            m_usb.reset();
        } else if (situation == QLatin1String("closed")) {
            QCOMPARE(CDeviceIOOpera::GetPrinterHandle(2), 0);
            QCOMPARE(CDeviceIOOpera::GetPrinterHandle(2), 0);  // replaces the selection cleanly
            CDeviceIOOpera::ClosePrinterHandle();
            QVERIFY(!CDeviceIOOpera::printer_handle_usb->pHandle);
            QVERIFY(!CDeviceIOOpera::printer_handle_usb->pContext);
            CDeviceIOOpera::ClosePrinterHandle();  // harmless
        }
        QCOMPARE(io(kDensityQuery).ret, 4);
        const Exchange b = button(frame(0x00, 0x00));
        QCOMPARE(b.ret, 4);
        QCOMPARE(b.replyLength, -7);
        QVERIFY(CDeviceIOOpera::readDebugData().isEmpty());
        unsigned char buffer[4] = {};
        int length = -3;
        QCOMPARE(CDeviceIOOpera::ReadFromControlEndpoint(buffer, length), -1);
        QCOMPARE(length, -3);
        QCOMPARE(m_face->stats(id).opens, 0);
        QVERIFY(model(id).frames().isEmpty());
    }

    void replyTiming_data()
    {
        QTest::addColumn<bool>("debugRead");
        QTest::addColumn<bool>("silent");
        QTest::addColumn<int>("delayMs");
        QTest::addColumn<int>("minMs");
        QTest::addColumn<int>("maxMs");
        QTest::newRow("prompt reply") << false << false << 0 << 0 << 2500;
        QTest::newRow("late reply within the time-out") << false << false << 400 << 390 << 2500;
        QTest::newRow("silent printer") << false << true << 0 << 2900 << 5500;
        QTest::newRow("debug read, nothing to read") << true << true << 0 << 2900 << 5500;
    }
    void replyTiming()
    {
        QFETCH(bool, debugRead);
        QFETCH(bool, silent);
        QFETCH(int, delayMs);
        QFETCH(int, minMs);
        QFETCH(int, maxMs);
        const int id = selectedPrinter();
        model(id).setSetting(0x13, QByteArray(1, char(7)));
        emu::Faults f;
        f.silent = silent;
        f.delayMs = delayMs;
        model(id).setFaults(f);
        if (debugRead)
            QCOMPARE(button(kDensityQuery).ret, 0);

        QElapsedTimer clock;
        const qint64 cpuBefore = cpuMs();
        clock.start();
        Exchange x;
        if (debugRead) {
            x.reply = CDeviceIOOpera::readDebugData();
            x.ret = x.reply.isEmpty() ? 4 : 0;
        } else {
            x = io(kDensityQuery);
        }
        const qint64 elapsed = clock.elapsed();
        const qint64 cpu = cpuMs() - cpuBefore;

        QCOMPARE(x.ret, silent ? 4 : 0);
        if (!silent)
            QCOMPARE(x.reply.left(10), densityReply(7));
        QVERIFY2(elapsed >= minMs && elapsed <= maxMs, qPrintable(QStringLiteral("took %1 ms").arg(elapsed)));
        if (silent) {
            // libusb cancelled the read, and did not spin while it waited.
            QCOMPARE(m_face->stats(id).discarded, 1);
            QVERIFY2(cpu < elapsed / 2, qPrintable(QStringLiteral("%1 ms CPU in %2 ms").arg(cpu).arg(elapsed)));
        }
    }

    void claimAfterKernelDriver_data()
    {
        QTest::addColumn<bool>("driverBound");
        QTest::addColumn<bool>("claimRefused");
        QTest::addColumn<int>("result");
        QTest::addColumn<int>("detaches");
        QTest::newRow("free interface") << false << false << 0 << 0;
        QTest::newRow("usblp bound: detach, claim again") << true << false << 0 << 1;
        QTest::newRow("still busy after the detach") << true << true << 5 << 1;
        QTest::newRow("busy, no driver to detach") << false << true << 5 << 0;
    }
    void claimAfterKernelDriver()
    {
        QFETCH(bool, driverBound);
        QFETCH(bool, claimRefused);
        QFETCH(int, result);
        QFETCH(int, detaches);
        emu::UsbPrinterConfig c;
        c.kernelDriverBound = driverBound;
        const int id = selectedPrinter(c);
        m_face->setClaimRefused(id, claimRefused);
        model(id).setSetting(0x13, QByteArray(1, char(2)));

        const Exchange x = io(kDensityQuery);
        QCOMPARE(x.ret, result);
        QCOMPARE(m_face->stats(id).detaches, detaches);
        QCOMPARE(m_face->kernelDriverBound(id), false);
        QCOMPARE(x.reply.left(10), result == 0 ? densityReply(2) : QByteArray(10, char(0xAA)));
        QCOMPARE(model(id).frames().size(), result == 0 ? 1 : 0);
    }

    void debugReadDetachesDriver()
    {
        emu::UsbPrinterConfig c;
        c.kernelDriverBound = true;
        const int id = selectedPrinter(c);
        // The write-only path gives up on a held interface...
        QCOMPARE(button(frame(0x00, 0x00)).ret, 5);
        QVERIFY(m_face->kernelDriverBound(id));
        // ...the debug read frees it for the next operation.
        QVERIFY(CDeviceIOOpera::readDebugData().isEmpty());
        QVERIFY(!m_face->kernelDriverBound(id));
        QCOMPARE(button(frame(0x00, 0x00)).ret, 0);
        QCOMPARE(model(id).frames().size(), 1);
    }

    void unpluggedPrinter()
    {
        const int id = selectedPrinter();
        m_face->unplug(id);
        QCOMPARE(io(kDensityQuery).ret, 5);
        QCOMPARE(button(frame(0x00, 0x00)).ret, 5);
        CDeviceIOOpera::ClosePrinterHandle();
        std::array<_PRINTER_ATTR, kPrinterAttrCount> records{};
        Printer_Vector printers;
        QCOMPARE(list(printers, records.data()), 0);
        QCOMPARE(CDeviceIOOpera::GetPrinterHandle(2), -1);

        // Plugged in again (the kernel hands out the freed device number
        // once more), it works as before.
        m_models[size_t(id)].reset();
        const int again = addPrinter(2, 0x0505, QStringLiteral("SF-2"));
        QCOMPARE(m_face->devNode(again), m_face->devNode(id));
        model(again).setSetting(0x13, QByteArray(1, char(4)));
        QCOMPARE(list(printers, records.data()), 1);
        QCOMPARE(m_host.entries, QStringList{QStringLiteral("Silver Falcon [SF-2] {USB002}")});
        QCOMPARE(CDeviceIOOpera::GetPrinterHandle(2), 0);
        QCOMPARE(io(kDensityQuery).reply.left(10), densityReply(4));
    }

    // ---- the query helpers over USB: what reaches the caller ----------------

    void replyJudging_data()
    {
        QTest::addColumn<int>("byteIndex");
        QTest::addColumn<int>("newValue");
        QTest::addColumn<int>("result");
        // The USB transport hands over whatever came first; only lead-in
        // and code are judged, so a wrong class byte still passes. The
        // value lands in the caller's area, the rest of it zeroed.
        QTest::newRow("class byte 00 instead of 02") << 3 << 0x00 << 0;
        QTest::newRow("reply for another code") << 4 << 0x00 << 1;
        QTest::newRow("broken lead-in") << 1 << 0xFE << 1;
        QTest::newRow("broken tail") << 7 << 0x00 << 0;
    }
    void replyJudging()
    {
        QFETCH(int, byteIndex);
        QFETCH(int, newValue);
        QFETCH(int, result);
        const int id = selectedPrinter();
        model(id).setSetting(0x13, QByteArray(1, char(5)));
        m_face->setReplyFilter(id, [=](QByteArray reply) {
            reply[byteIndex] = char(newValue);
            return reply;
        });
        std::array<unsigned char, 1024> out;
        out.fill(0xCC);
        QCOMPARE(GetPrinterInfo(Densty_SETTING, out.data(), 1), result);
        QCOMPARE(out[0], result == 0 ? 5 : 0);
        QVERIFY(zeroFrom(out, 1));
    }
};

QTEST_GUILESS_MAIN(TestUsbTransport)
#include "tst_usb_transport.moc"
