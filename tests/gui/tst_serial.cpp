// The serial and Bluetooth media in the window, on emulated ports that the
// window's own port list finds (umockdev tty devices backed by the
// emulated printer): which ports each medium lists, its connection fields,
// the pages that cannot change the line they are read over, and the open
// looking for the printer's speed when the connection group names another.
// (The model taken from the printer's identity is the print page's table's.)
#include "page_test_support.h"
#include "tools/emulator/serial/serial_face.h"
#include "tools/emulator/serial/serial_umockdev.h"

#include <QCheckBox>
#include <QScopeGuard>

class TestSerial : public GuiTest
{
    Q_OBJECT

private slots:
    void media_data()
    {
        QTest::addColumn<TestMedium>("medium");
        QTest::addColumn<QString>("item");          // the list's one item; %1 the port's name
        QTest::addColumn<bool>("lineFields");
        QTest::addColumn<QString>("ownPage");       // read over this medium, its Set stays disabled
        QTest::addColumn<QString>("otherPage");
        QTest::newRow("serial") << line << "FTDI [FT232R USB UART] {%1}" << true << "Com" << "Ble";
        QTest::newRow("bluetooth") << ble << "Bluetooth [/dev/%1] {%1}" << false << "Ble" << "Com";
    }

    void media()
    {
        QFETCH(TestMedium, medium);
        QFETCH(QString, item);
        QFETCH(bool, lineFields);
        QFETCH(QString, ownPage);
        QFETCH(QString, otherPage);
        // A port of the other kind, which this medium must not list.
        PrinterWindow pw(medium);
        const emu::EmulatedPort other = emu::addSerialPort(PrinterWindow::usb().testbed(), 90, medium == line);
        const auto unplug = qScopeGuard([&other] { emu::removeSerialPort(PrinterWindow::usb().testbed(), other); });
        QVERIFY(pw.open());
        auto *list = pw.widget<QComboBox>("comboBox_ScanResult");
        const QString key = pw.listKey();
        QCOMPARE(list->count(), 1);
        QCOMPARE(list->itemText(0), item.arg(key.mid(1, key.size() - 2)));
        QCOMPARE(pw.widget("comboBox_ComBaud_con")->isEnabled(), lineFields);

        for (const QString &page : {ownPage, otherPage}) {
            pw.click(qPrintable("pushButton_" + page + "SettingRead"));
            QCOMPARE(pw.boxes().last().text, kDone);
            QCOMPARE(pw.widget(qPrintable("pushButton_" + page + "SettingSet"))->isEnabled(), page == otherPage);
        }
        pw.click("pushButton_close");
        QVERIFY(pw.widget("checkBox_Serialport")->isEnabled());
        QVERIFY(pw.widget("checkBox_BLE")->isEnabled());
    }

    // The printer at another speed than the connection group's: the open
    // tries the rates printers ship with first, and says which answered;
    // a printer no rate reaches ends the search within about 10 s.
    void speedSearch_data()
    {
        QTest::addColumn<int>("printerBaud");
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("advice");
        QTest::addColumn<QString>("baudAfter");
        QTest::newRow("found") << 57600 << "连接成功！" << "打印机在57600波特率下应答，已改用该波特率。" << "57600";
        QTest::newRow("no rate reaches it") << 1234 << "连接超时，请重试！" << "" << "115200";
    }

    void speedSearch()
    {
        QFETCH(int, printerBaud);
        QFETCH(QString, box);
        QFETCH(QString, advice);
        QFETCH(QString, baudAfter);
        PrinterWindow pw(line, "LP-200", printerBaud);
        clickBox(pw.widget<QCheckBox>("checkBox_Serialport"));
        QCOMPARE(pw.widget<QComboBox>("comboBox_ComBaud_con")->currentText(), QStringLiteral("115200"));
        pw.click("pushButton_getList");
        auto *list = pw.widget<QComboBox>("comboBox_ScanResult");
        list->setCurrentIndex(list->findText(pw.listKey(), Qt::MatchContains));
        pw.boxes().clear();
        QElapsedTimer clock;
        clock.start();
        pw.click("pushButton_open");
        QVERIFY2(clock.elapsed() < kSearchCapMs + 1500, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(pw.boxes().count(), 1);
        QCOMPARE(pw.boxes().last().text, box);
        QCOMPARE(pw.boxes().last().advice, advice);
        QCOMPARE(pw.widget<QComboBox>("comboBox_ComBaud_con")->currentText(), baudAfter);
        QCOMPARE(pw.widget("pushButton_open")->isEnabled(), advice.isEmpty());
        // The open asked for the identity at the rate that answered only.
        QCOMPARE(pw.printer().framesOf(0x02, 0x0C).size(), advice.isEmpty() ? 0 : 1);
        QCOMPARE(pw.serial()->noiseBytes() > 0, true);
    }

private:
    static constexpr int kSearchCapMs = 10000;
};

QTEST_MAIN(TestSerial)
#include "tst_serial.moc"
