// The USB transport against emulated printers: real libusb, real usbfs
// ioctls, answered by emu::UsbFace inside a umockdev testbed. Runs under
// umockdev's preload (umockdev-wrapper).
#include "../net/fake_scan_host.h"

#include "protocol/result.h"
#include "query/printer_io.h"
#include "tools/emulator/core/printer_model.h"
#include "tools/emulator/usb/usb_face.h"
#include "transport/usb_transport.h"

#include <QElapsedTimer>
#include <QTest>

#include <array>

namespace {

using Plugs = QList<emu::UsbPrinterConfig>;

// A printer on the bus; an empty product means iProduct 0.
emu::UsbPrinterConfig plug(quint16 pid, const QString &product, int bus, int port, quint16 vid = 0xE51D)
{
    return {.vendorId = vid, .productId = pid, .product = product, .bus = bus, .port = port};
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
        // Each printer answers the density query with its own number.
        m_models.back()->setSetting(0x13, QByteArray(1, char(m_models.size())));
        return m_face->addPrinter(m_models.back().get(), config);
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

    // The list entries are "maker [product] {port}"; `possible` holds every
    // entry that may appear, `count` how many must (libusb's order decides
    // which when the list is cut short). The scan succeeds when one is.
    void listing_data()
    {
        QTest::addColumn<Plugs>("plugged");
        QTest::addColumn<int>("stopAfter");
        QTest::addColumn<QStringList>("possible");
        QTest::addColumn<int>("count");
        const emu::UsbPrinterConfig foreign = plug(0x0618, QStringLiteral("F"), 1, 5, 0x1234);
        emu::UsbPrinterConfig behindHub = plug(0x1413, QString(), 1, 0);
        behindHub.sysName = QStringLiteral("1-1.4");
        Plugs seven;
        QStringList sevenEntries;
        for (int port = 1; port <= 7; ++port) {
            seven << plug(0x0618, QStringLiteral("P"), 1, port);
            sevenEntries << QStringLiteral("Corvanta [P] {USB00%1}").arg(port);
        }
        QTest::newRow("makers, names and ports")
            << Plugs{plug(0x0618, QStringLiteral("ZD-N480"), 1, 2), plug(0x0505, QStringLiteral("SF-100"), 2, 3),
                     plug(0x9999, QStringLiteral("X1"), 3, 12), behindHub, foreign}
            << -1
            << QStringList{QStringLiteral("Corvanta [ZD-N480] {USB002}"), QStringLiteral("Silver Falcon [SF-100] {USB003}"),
                           QStringLiteral("Unknown [X1] {USB012}"), QStringLiteral("Label [Unknown] {USB004}")}
            << 4;
        QTest::newRow("more printers than the list holds") << seven << -1 << sevenEntries << kPrinterAttrCount;
        QTest::newRow("stop pressed while listing") << seven.mid(0, 3) << 1 << sevenEntries << 1;
    }
    void listing()
    {
        QFETCH(Plugs, plugged);
        QFETCH(int, stopAfter);
        QFETCH(QStringList, possible);
        QFETCH(int, count);
        int ours = 0;
        for (const emu::UsbPrinterConfig &c : plugged) {
            addPrinter(c);
            ours += c.vendorId == 0xE51D;
        }
        // As on every refresh: a new transport object replaces the last one.
        m_usb = std::make_unique<CDeviceIOOpera>(&m_host);
        m_host.stopAfter = stopAfter;
        // One guard record behind the ones the window hands over.
        std::array<_PRINTER_ATTR, kPrinterAttrCount + 1> records{};
        Printer_Vector printers;
        QCOMPARE(m_usb->GetPrinterHandle(records.data(), printers), count > 0 ? 1 : 0);

        QCOMPARE(m_host.entries.size(), count);
        QCOMPARE(QStringList(m_host.entries).removeDuplicates(), 0);
        const int recorded = std::min(ours, kPrinterAttrCount);
        QCOMPARE(int(printers.size()), recorded);
        for (int i = 0; i < recorded; ++i) {
            const QString record = QString::fromLatin1(records[i].modelname);
            QVERIFY2(possible.contains(record), qPrintable(record));
            QVERIFY(record.endsWith(QStringLiteral(" [%1] {%2}").arg(printers[i].name, printers[i].port)));
            if (i < count)
                QCOMPARE(m_host.entries[i], record);
        }
        QCOMPARE(QByteArray(records[kPrinterAttrCount].modelname, 256), QByteArray(256, '\0'));
        QCOMPARE(m_host.progress, QList<int>{100});
        // Another vendor's device is never opened, not even when its port
        // is asked for.
        for (int id = 0; id < plugged.size(); ++id) {
            if (plugged[id].vendorId != 0xE51D) {
                QCOMPARE(CDeviceIOOpera::GetPrinterHandle(plugged[id].port), -1);
                QCOMPARE(m_face->stats(id).opens, 0);
            }
        }
    }

    // The four byte operations (query = write then read, write only, the
    // debug console's read, the status word) under what only this level
    // sees: usblp bound, the printer interface's place, a long transfer.
    // (The window's boxes for silence, unplugging, stalls and bad replies
    // are the fault matrix's and the page tables'.) Whatever happens, every
    // claimed interface is released, every opened device closed again and
    // usblp, where it was bound, bound again; a refused claim leaves its
    // cause for the window's advice.
    void byteOperations_data()
    {
        QTest::addColumn<QString>("op");
        QTest::addColumn<QString>("fault");
        QTest::addColumn<int>("result");
        QTest::addColumn<int>("detaches");
        QTest::addColumn<int>("problem");  // UsbAccessProblem left behind
        const int openFailed = Result::UsbOpenFailed, failed = Result::UsbFailed;
        QTest::newRow("query, 255-byte reply") << "query" << "long" << 0 << 0 << 0;
        QTest::newRow("query, printer interface behind another") << "query" << "composite" << 0 << 0 << 0;
        QTest::newRow("query, no printer interface") << "query" << "no interface" << failed << 0 << 0;
        QTest::newRow("query, usblp bound: detached, given back") << "query" << "driver" << 0 << 1 << 0;
        QTest::newRow("query, still busy after the detach") << "query" << "driver busy" << openFailed << 1 << 2;
        QTest::newRow("query, silent printer") << "query" << "silent" << failed << 0 << 0;
        QTest::newRow("write, firmware-sized") << "write" << "long" << 0 << 0 << 0;
        QTest::newRow("debug read, usblp bound: detached, given back") << "debug" << "driver" << 0 << 2 << 0;
        QTest::newRow("status, usblp bound: detached, given back") << "status" << "driver" << 0 << 1 << 0;
    }
    void byteOperations()
    {
        QFETCH(QString, op);
        QFETCH(QString, fault);
        QFETCH(int, result);
        QFETCH(int, detaches);
        QFETCH(int, problem);
        emu::UsbPrinterConfig c = plug(0x0618, QStringLiteral("P"), 1, 2);
        c.kernelDriverBound = fault.startsWith(QLatin1String("driver"));
        if (fault == QLatin1String("composite") || fault == QLatin1String("no interface")) {
            // Interface 0 has a string, so it is not the printer interface;
            // interface 1 has a second OUT and an interrupt IN besides its
            // bulk pair.
            c.interfaces = {{.stringIndex = 4, .text = QStringLiteral("Configuration")}};
            if (fault == QLatin1String("composite"))
                c.interfaces << emu::UsbInterface{.number = 1, .endpoints = {{0x03, 2, 512}, {0x05, 2, 512},
                                                                             {0x86, 3, 64}, {0x84, 2, 512}}};
            c.printerInterface = quint8(c.interfaces.size() - 1);
        }
        const int id = addPrinter(c);
        QCOMPARE(CDeviceIOOpera::GetPrinterHandle(2), 0);
        const QByteArray stored = fault == QLatin1String("long") ? QByteArray(255, 'L') : QByteArray(1, char(7));
        model(id).setSetting(0x13, stored);
        model(id).setStatusWord(0x80402011u);
        model(id).setFaults({.silent = fault == QLatin1String("silent")});
        m_face->setClaimRefused(id, fault == QLatin1String("driver busy"));

        std::array<unsigned char, 1024> out;
        out.fill(0xEE);
        QElapsedTimer clock;
        clock.start();
        int ret = -99;
        if (op == QLatin1String("query")) {
            ret = GetPrinterInfo(Densty_SETTING, out.data(), MediumUsb);
            QCOMPARE(QByteArray(reinterpret_cast<char *>(out.data()), 1024),
                     (ret == 0 ? stored : QByteArray()).leftJustified(1024, '\0'));
        } else if (op == QLatin1String("write")) {
            // Every byte goes out once, however many transfers it takes.
            const QByteArray bytes(100000, 'A');
            ret = SendFrame(bytes, MediumUsb);
            QCOMPARE(m_face->stats(id).outBytes, qint64(bytes.size()));
        } else if (op == QLatin1String("debug")) {
            // The console writes by hand, then reads what came back.
            SendFrame(frame(0x02, 0x13), MediumUsb);
            const QByteArray got = CDeviceIOOpera::readDebugData();
            ret = got.isEmpty() ? int(Result::UsbFailed) : 0;
            if (ret == 0)
                QCOMPARE(got, frame(0x02, 0x13, stored).leftJustified(264, '\0'));
        } else {
            quint32 word = 1;
            ret = ReadStatusWord(MediumUsb, nullptr, word);
            QCOMPARE(word, ret == 0 ? 0x80402011u : 0u);
        }
        const qint64 elapsed = clock.elapsed();

        QCOMPARE(ret, result);
        const emu::UsbStats stats = m_face->stats(id);
        QCOMPARE(stats.detaches, detaches);
        QCOMPARE(m_face->kernelDriverBound(id), c.kernelDriverBound);
        QCOMPARE(int(CDeviceIOOpera::takeAccessProblem()), problem);
        QCOMPARE(int(CDeviceIOOpera::takeAccessProblem()), 0);  // taken once
        QCOMPARE(stats.releases, stats.claims);
        QTRY_COMPARE(m_face->stats(id).openHandles, 0);
        if (fault == QLatin1String("composite"))
            QCOMPARE(stats.claimedInterfaces, QList<int>{1});
        if (fault == QLatin1String("silent")) {
            // The printer is given the whole 3 s, then the read is cancelled.
            QVERIFY2(elapsed >= 2900, qPrintable(QString::number(elapsed)));
            QCOMPARE(stats.discarded, 1);
        }
    }

    // A reply that came in pieces fails its query; the rest of it, still in
    // the pipe, must not be taken for the next query's reply.
    void cutReplyDoesNotSpoilTheNext()
    {
        const int id = addPrinter(plug(0x0618, QStringLiteral("P"), 1, 2));
        QCOMPARE(CDeviceIOOpera::GetPrinterHandle(2), 0);
        model(id).setSetting(0x13, QByteArray(1, char(7)));
        std::array<unsigned char, 1024> out{};
        model(id).setFaults({.splitBytes = true});
        QVERIFY(GetPrinterInfo(Densty_SETTING, out.data(), MediumUsb) != 0);
        model(id).setFaults({});
        QCOMPARE(SendFrame(frame(0x00, 0x00), MediumUsb), 0);
        QCOMPARE(GetPrinterInfo(Densty_SETTING, out.data(), MediumUsb), 0);
        QCOMPARE(out[0], 7);
        QCOMPARE(GetPrinterInfo(Densty_SETTING, out.data(), MediumUsb), 0);
    }
};

QTEST_GUILESS_MAIN(TestUsbTransport)
#include "tst_usb_transport.moc"
