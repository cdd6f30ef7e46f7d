// The emulated USB printer itself, seen through plain libusb calls (not the
// tool's transport): the kernel-driver dance, claims
// from two handles, unsolicited and split replies, stalls.
#include "tools/emulator/core/printer_model.h"
#include "tools/emulator/usb/usb_face.h"

#include <QTest>
#include <libusb.h>

#include <memory>

class TestUsbFace : public QObject
{
    Q_OBJECT

    libusb_device_handle *openFirst()
    {
        libusb_device_handle *h = nullptr;
        libusb_device **devs = nullptr;
        const ssize_t n = libusb_get_device_list(m_ctx, &devs);
        for (ssize_t i = 0; i < n && !h; ++i) {
            libusb_device_descriptor d{};
            if (libusb_get_device_descriptor(devs[i], &d) == 0 && d.idVendor == 0xE51D
                && libusb_open(devs[i], &h) != 0)
                h = nullptr;
        }
        libusb_free_device_list(devs, 1);
        return h;
    }

    std::unique_ptr<emu::PrinterModel> m_model;
    std::unique_ptr<emu::UsbFace> m_face;
    libusb_context *m_ctx = nullptr;
    libusb_device_handle *m_handle = nullptr;
    int m_id = -1;

private slots:
    void initTestCase()
    {
        if (!qEnvironmentVariable("LD_PRELOAD").contains(QLatin1String("umockdev-preload")))
            QSKIP("needs umockdev's preload library (run under umockdev-wrapper)");
    }

    void init()
    {
        m_model = std::make_unique<emu::PrinterModel>();
        m_face = std::make_unique<emu::UsbFace>();
        emu::UsbPrinterConfig c;
        c.port = 3;
        c.productId = 0x4116;
        m_id = m_face->addPrinter(m_model.get(), c);
        QCOMPARE(m_id, 0);
        QCOMPARE(libusb_init(&m_ctx), 0);  // after the testbed exists
    }

    void cleanup()
    {
        if (m_handle)
            libusb_close(m_handle);
        m_handle = nullptr;
        if (m_ctx)
            libusb_exit(m_ctx);
        m_ctx = nullptr;
        m_face.reset();
        m_model.reset();
    }

    void kernelDriver()
    {
        m_face->setKernelDriverBound(m_id, true);
        m_handle = openFirst();
        QVERIFY(m_handle);
        QCOMPARE(libusb_kernel_driver_active(m_handle, 0), 1);
        QCOMPARE(libusb_claim_interface(m_handle, 0), int(LIBUSB_ERROR_BUSY));
        QCOMPARE(libusb_detach_kernel_driver(m_handle, 0), 0);
        QCOMPARE(libusb_kernel_driver_active(m_handle, 0), 0);
        QCOMPARE(libusb_detach_kernel_driver(m_handle, 0), int(LIBUSB_ERROR_NOT_FOUND));
        QCOMPARE(libusb_claim_interface(m_handle, 0), 0);
        QCOMPARE(libusb_release_interface(m_handle, 0), 0);
        QCOMPARE(libusb_attach_kernel_driver(m_handle, 0), 0);
        QVERIFY(m_face->kernelDriverBound(m_id));
        QCOMPARE(m_face->stats(m_id).detaches, 1);
    }

    void secondHandleCannotClaim()
    {
        m_handle = openFirst();
        libusb_device_handle *other = openFirst();
        QVERIFY(m_handle && other);
        QCOMPARE(libusb_claim_interface(m_handle, 0), 0);
        QCOMPARE(libusb_claim_interface(other, 0), int(LIBUSB_ERROR_BUSY));
        QCOMPARE(libusb_release_interface(m_handle, 0), 0);
        QCOMPARE(libusb_claim_interface(other, 0), 0);
        libusb_release_interface(other, 0);
        libusb_close(other);
        QTRY_COMPARE(m_face->stats(m_id).openHandles, 1);
    }

    void unsolicitedBytes()
    {
        m_handle = openFirst();
        QVERIFY(m_handle);
        QCOMPARE(libusb_claim_interface(m_handle, 0), 0);
        m_face->queueReply(m_id, QByteArray("hello printer"));
        unsigned char buffer[8] = {};
        int got = 0;
        // A read takes at most what it asked for; the rest waits for the next.
        QCOMPARE(libusb_bulk_transfer(m_handle, 0x81, buffer, 8, &got, 1000), 0);
        QCOMPARE(QByteArray(reinterpret_cast<char *>(buffer), got), QByteArray("hello pr"));
        QCOMPARE(libusb_bulk_transfer(m_handle, 0x81, buffer, 8, &got, 1000), 0);
        QCOMPARE(QByteArray(reinterpret_cast<char *>(buffer), got), QByteArray("inter"));
        QCOMPARE(libusb_bulk_transfer(m_handle, 0x81, buffer, 8, &got, 200), int(LIBUSB_ERROR_TIMEOUT));
        QCOMPARE(got, 0);
    }

    void splitReplies()
    {
        emu::Faults f;
        f.splitBytes = true;
        m_model->setFaults(f);
        m_handle = openFirst();
        QVERIFY(m_handle);
        QCOMPARE(libusb_claim_interface(m_handle, 0), 0);
        unsigned char query[] = {0x1B, 0xFF, 0xFE, 0x02, 0x00, 0x00, 0x1B, 0xFE, 0xFF};
        int done = 0;
        QCOMPARE(libusb_bulk_transfer(m_handle, 0x01, query, sizeof query, &done, 1000), 0);
        QCOMPARE(done, int(sizeof query));
        unsigned char buffer[264] = {};
        int got = 0;
        QCOMPARE(libusb_bulk_transfer(m_handle, 0x81, buffer, sizeof buffer, &got, 1000), 0);
        QCOMPARE(got, 1);
        QCOMPARE(int(buffer[0]), 0x1B);
    }

    void unknownControlRequestStalls()
    {
        m_handle = openFirst();
        QVERIFY(m_handle);
        unsigned char buffer[4] = {};
        QCOMPARE(libusb_control_transfer(m_handle, 0xC1, 0x42, 0, 0, buffer, 4, 1000), int(LIBUSB_ERROR_PIPE));
        unsigned char text[64] = {};
        QCOMPARE(libusb_get_string_descriptor_ascii(m_handle, 9, text, sizeof text), int(LIBUSB_ERROR_PIPE));
    }
};

QTEST_GUILESS_MAIN(TestUsbFace)
#include "tst_usb_face.moc"
