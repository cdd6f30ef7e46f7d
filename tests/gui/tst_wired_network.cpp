// Refresh and open over the wired network through the window, run by
// netns.sh inside network namespaces of its own: the broadcast goes out on
// the veth links only, to the UDP port typed in the connection group, where
// printer 1 (10.213.1.2) answers discovery (38404); it takes TCP on 9100
// (see netns.sh). The open reaches the listed address, so it says so; what
// reads do over TCP is the other window tests'. Outside that fixture the
// test skips: broadcasting on the machine's own interfaces is never right.
#include "page_test_support.h"

class TestWiredNetwork : public GuiTest
{
    Q_OBJECT

private slots:
    void refreshAndOpen()
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
    }
};

QTEST_MAIN(TestWiredNetwork)
#include "tst_wired_network.moc"
