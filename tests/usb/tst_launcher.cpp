// lps-launcher end to end: it must hand its child a working emulated USB
// printer (preload, UMOCKDEV_DIR, ioctls served across processes), log the
// frames the printer received and pass the child's exit code on.
#include <QProcess>
#include <QTest>

class TestLauncher : public QObject
{
    Q_OBJECT

private slots:
    void childTalksToTheEmulatedPrinter();
    void exitCodeIsPassedOn_data();
    void exitCodeIsPassedOn();
};

void TestLauncher::childTalksToTheEmulatedPrinter()
{
    QProcess launcher;
    launcher.setProcessChannelMode(QProcess::SeparateChannels);
    launcher.start(QStringLiteral(LPS_LAUNCHER), {QStringLiteral("--no-tcp"), QStringLiteral("--usb-port"),
                                                  QStringLiteral("4"), QStringLiteral("--"),
                                                  QStringLiteral(LPS_USB_PROBE), QStringLiteral("4")});
    QVERIFY(launcher.waitForFinished(60000));
    const QString out = QString::fromUtf8(launcher.readAllStandardOutput());
    const QString err = QString::fromUtf8(launcher.readAllStandardError());
    QVERIFY2(launcher.exitStatus() == QProcess::NormalExit && launcher.exitCode() == 0,
             qPrintable(out + QLatin1Char('\n') + err));
    QVERIFY2(out.contains(QLatin1String("probe: listed Corvanta [ZD-N480] {USB004}")), qPrintable(out));
    QVERIFY2(out.contains(QLatin1String("probe: status read ret 0 length 4")), qPrintable(out));
    // One line per received frame, in hex.
    QVERIFY2(out.contains(QLatin1String("\nusb  1b ff fe 02 13 00 1b fe ff\n")), qPrintable(out));
}

void TestLauncher::exitCodeIsPassedOn_data()
{
    QTest::addColumn<QString>("port");
    QTest::addColumn<int>("exitCode");
    QTest::newRow("printer on the probed port") << "2" << 0;
    QTest::newRow("nothing on the probed port") << "3" << 4;
}

void TestLauncher::exitCodeIsPassedOn()
{
    QFETCH(QString, port);
    QFETCH(int, exitCode);
    QProcess launcher;
    launcher.start(QStringLiteral(LPS_LAUNCHER),
                   {QStringLiteral("--no-tcp"), QStringLiteral("--quiet"), QStringLiteral("--"),
                    QStringLiteral(LPS_USB_PROBE), port});
    QVERIFY(launcher.waitForFinished(60000));
    QCOMPARE(launcher.exitStatus(), QProcess::NormalExit);
    QCOMPARE(launcher.exitCode(), exitCode);
}

QTEST_GUILESS_MAIN(TestLauncher)
#include "tst_launcher.moc"
