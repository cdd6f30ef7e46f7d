// A printer that stops taking data in the middle of a firmware, as one
// busy writing its flash does, over TCP and over USB. A pause shorter than
// a chunk's attempts (3 x 10 s) costs time, not the download; a longer one
// fails it; either way no byte reaches the printer twice (over USB the
// transfer that meets the pause is cut short, and only its rest follows),
// and the window keeps answering throughout.
#include "maintenance/firmware_file.h"
#include "page_test_support.h"

#include <QRandomGenerator>
#include <QTemporaryDir>

class TestTransferStalls : public GuiTest
{
    Q_OBJECT

private slots:
    void stall_data()
    {
        QTest::addColumn<TestMedium>("medium");
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("pauseMs");
        QTest::addColumn<QString>("box");
        const QString done = "下载成功|等待打印机指示灯停止闪烁", failed = "错误|向打印机发送数据失败。";
        // Over TCP the system's buffers take a few MiB before the tool
        // feels the pause; over USB the transfer meets it at once.
        QTest::newRow("25 s/tcp") << tcp << (3 << 20) << 25000 << done;
        QTest::newRow("40 s/tcp") << tcp << (3 << 20) << 40000 << failed;
        QTest::newRow("25 s/usb") << usb << 200000 << 25000 << done;
        QTest::newRow("40 s/usb") << usb << 200000 << 40000 << failed;
    }

    void stall()
    {
        QFETCH(TestMedium, medium);
        QFETCH(int, size);
        QFETCH(int, pauseMs);
        QFETCH(QString, box);
        QTemporaryDir dir;
        QByteArray content(size, '\0');
        QRandomGenerator generator(size);
        for (char &b : content)
            b = char(generator.bounded(256));
        QFile file(dir.filePath("fw.hex"));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(content) == size);
        file.close();
        const QByteArray sent = firmware::decryptImage(content);

        PrinterWindow pw(medium);
        QVERIFY(pw.open());
        constexpr int kPauseAfter = 100000;
        if (medium == tcp) {
            emu::Faults faults;
            faults.pauseAfterBytes = kPauseAfter;
            faults.pauseMs = pauseMs;
            pw.printer().setFaults(faults);
        } else {
            PrinterWindow::usb().pauseOutAfter(pw.usbId(), kPauseAfter, pauseMs);
        }
        // The window answers: a timer of the GUI thread is served every
        // few hundred milliseconds whatever the printer does.
        QElapsedTimer sinceBeat;
        qint64 longestGap = 0;
        QTimer beat;
        connect(&beat, &QTimer::timeout, [&] { longestGap = std::max(longestGap, sinceBeat.restart()); });
        pw.boxes().filesToChoose = {file.fileName()};
        sinceBeat.start();
        beat.start(100);
        pw.click("pushButton_DownloadFW");
        QVERIFY(runEvents([&] { return pw.boxes().count() == 2; }, pauseMs + 60000));
        beat.stop();

        QCOMPARE(pw.boxes().last().title + '|' + pw.boxes().last().text, box);
        const QByteArray received = pw.printer().received();
        if (box.endsWith("闪烁"))
            QVERIFY2(received == sent, qPrintable(QStringLiteral("%1 of %2 bytes").arg(received.size()).arg(sent.size())));
        else
            QVERIFY2(received.size() < sent.size() && sent.startsWith(received),
                     qPrintable(QStringLiteral("%1 of %2 bytes").arg(received.size()).arg(sent.size())));
        QVERIFY2(longestGap < 2000, qPrintable(QStringLiteral("the window did not answer for %1 ms").arg(longestGap)));
    }
};

QTEST_MAIN(TestTransferStalls)
#include "tst_transfer_stalls.moc"
