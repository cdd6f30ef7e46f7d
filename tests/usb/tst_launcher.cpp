// lps-launcher end to end, as the newcomer's command uses it: it must hand
// its child a working emulated USB printer (preload, UMOCKDEV_DIR, ioctls
// served across processes), print each frame the printer received with
// the value a set frame stored, and pass the child's exit code on.
#include <QProcess>
#include <QTest>

class TestLauncher : public QObject
{
    Q_OBJECT

private slots:
    void childTalksToThePrinter_data()
    {
        QTest::addColumn<QString>("printerPort");
        QTest::addColumn<QString>("probedPort");
        QTest::newRow("printer on the probed port") << "4" << "4";
        QTest::newRow("nothing on the probed port: the probe's 4 passed on") << "2" << "3";
    }
    void childTalksToThePrinter()
    {
        QFETCH(QString, printerPort);
        QFETCH(QString, probedPort);
        QProcess launcher;
        launcher.start(QStringLiteral(LPS_LAUNCHER), {QStringLiteral("--no-tcp"), QStringLiteral("--usb-port"), printerPort,
                                                      QStringLiteral("--"), QStringLiteral(LPS_USB_PROBE), probedPort});
        QVERIFY(launcher.waitForFinished(60000));
        const QString out = QString::fromUtf8(launcher.readAllStandardOutput() + launcher.readAllStandardError());
        QVERIFY2(launcher.exitStatus() == QProcess::NormalExit
                     && launcher.exitCode() == (printerPort == probedPort ? 0 : 4), qPrintable(out));
        if (printerPort == probedPort)
            for (const char *line : {"probe: listed Corvanta [ZD-N480] {USB004}", "probe: query 0, set 0, status 0",
                                     "\nusb  1b ff fe 02 13 00 1b fe ff\n",
                                     "\nusb  1b ff fe 01 13 01 05 1b fe ff  -> stored 05\n"})
                QVERIFY2(out.contains(QLatin1String(line)), qPrintable(out));
    }
};

QTEST_GUILESS_MAIN(TestLauncher)
#include "tst_launcher.moc"
