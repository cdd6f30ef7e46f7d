// Refresh and open over the wired network through the window, run by
// netns.sh inside network namespaces of its own: the broadcast goes out on
// the veth links only, printer 1 (10.213.1.2) answers discovery on UDP
// 38404 and takes TCP on 9100 (see netns.sh). Outside that fixture the
// test skips: broadcasting on the machine's own interfaces is never right.
#include "page_test_support.h"

#include <QFile>

namespace {

// What lps-emuprinter printed for printer 1 on the window test's port.
QString printerLog()
{
    QFile file(qEnvironmentVariable("LPS_NETNS_LOGDIR") + QStringLiteral("/p1-38404.log"));
    return file.open(QIODevice::ReadOnly) ? QString::fromLatin1(file.readAll()) : QString();
}

} // namespace

class TestWiredNetwork : public GuiTest
{
    Q_OBJECT

private slots:
    void refreshOpenAndRead()
    {
        if (qEnvironmentVariableIsEmpty("LPS_NETNS_LOGDIR"))
            QSKIP("runs only inside the namespaces of netns.sh");
        MainWindow window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        DialogCatcher boxes(&window);
        const auto widget = [&window](const char *name) {
            return window.findChild<QWidget *>(QLatin1String(name));
        };
        clickBox(qobject_cast<QAbstractButton *>(widget("checkBox_NET")));
        qobject_cast<QLineEdit *>(widget("lineEdit_ConnectUDPPort"))->setText(QStringLiteral("38404"));
        qobject_cast<QLineEdit *>(widget("lineEdit_ConnectTCPPort"))->setText(QStringLiteral("9100"));

        qobject_cast<QAbstractButton *>(widget("pushButton_getList"))->click();
        auto *list = qobject_cast<QComboBox *>(widget("comboBox_ScanResult"));
        QCOMPARE(list->currentText(), QStringLiteral("ACME [LP-1] {10.213.1.2}"));
        QVERIFY2(boxes.count() == 0, qPrintable(describe(boxes.boxes())));

        qobject_cast<QAbstractButton *>(widget("pushButton_open"))->click();
        QCOMPARE(boxes.last().text, QStringLiteral("连接成功！"));
        QVERIFY(!widget("pushButton_open")->isEnabled());

        boxes.clear();
        qobject_cast<QAbstractButton *>(widget("pushButton_DistanceSettingRead"))->click();
        QCOMPARE(boxes.last().text, kDone);
        QTRY_VERIFY_WITH_TIMEOUT(printerLog().contains(QStringLiteral("TCP query 0x36")), 10000);
    }
};

QTEST_MAIN(TestWiredNetwork)
#include "tst_wired_network.moc"
