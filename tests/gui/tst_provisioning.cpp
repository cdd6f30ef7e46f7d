// The Wi-Fi provisioning window on a fake scanner, and the hand-off of its
// credentials to the emulated printer: which frames went out, what the user
// saw, and that no password reached the diagnostic output.
#include "maintenance/firmware_file.h"
#include "page_test_support.h"
#include "provisioning/distributenet.h"

#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QSemaphore>
#include <QSignalSpy>

namespace {

// The window on a scan: with `name` (see confirm()) and a password typed,
// the list items; the reason shown; the box, or "name/password" emitted.
struct WindowRow { WifiScan scan; bool manual; QString name, expected; };
// A hand-off: `steps` first ("read:MODE": a Wi-Fi read finding that mode
// byte; else see step()), then the name and password confirmed in manual
// mode (name "-": the listed network, kGbk); the frames sent, the box shown,
// the window left open or not.
struct HandoffRow { TestMedium medium; QString steps; QStringList cred; QString frames, box; bool stillOpen; };

// Hands out a fixed scan; a test that takes the gate holds the scan.
struct FakeScanner : WifiScanner
{
    WifiScan result;
    QSemaphore gate{1};
    QAtomicInt started, finished;
    WifiScan scan() override
    {
        started.ref();
        if (gate.tryAcquire(1, 30000))
            gate.release();
        finished.ref();
        return result;
    }
};

template<typename T> T *part(QWidget *window, const char *name) { return window->findChild<T *>(name); }

// A finished scan either lists networks or says why there are none.
void waitForScan(QWidget *w)
{
    QTRY_VERIFY_WITH_TIMEOUT(
        part<QListWidget>(w, "listWifi")->count() || part<QLabel>(w, "labelScanStatus")->isVisible(), 10000);
}

// Types the name (unless "-": the one the list put there) and the password,
// in manual mode or not, and confirms.
void confirm(QWidget *window, bool manual, const QString &name, const QString &password)
{
    if (manual)
        clickBox(part<QCheckBox>(window, "checkManualMode"));
    if (name != "-")
        part<QLineEdit>(window, "lineSsidManual")->setText(name);
    part<QLineEdit>(window, "linePassword")->setText(password);
    part<QPushButton>(window, "btnSetNet")->click();
}

// The network every hand-off's scan lists: a name in GBK, not UTF-8.
const QByteArray kGbk = QByteArray::fromHex("D6D0CEC4");

QList<DistributeNet *> provisioningWindows()
{
    QList<DistributeNet *> found;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (auto *d = qobject_cast<DistributeNet *>(w))
            found << d;
    return found;
}

} // namespace

Q_DECLARE_METATYPE(WindowRow)
Q_DECLARE_METATYPE(HandoffRow)

class Provisioning : public GuiTest
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        watchForSecrets({"secret-pw", "Pa55-word"});
        setWifiScannerFactory([] {
            auto scanner = std::make_shared<FakeScanner>();
            scanner->result.networks = {{QString::fromUtf8(kGbk), -50, false, kGbk}};
            return scanner;
        });
    }
    void cleanupTestCase() { QCOMPARE(secretLeaks.loadRelaxed(), 0); }

    void window_data()
    {
        QTest::addColumn<WindowRow>("row");
        const WifiScan two{WifiScan::Outcome::Listed, {{"Cafe", -40, false}, {"Office", -60, true}}}, none{};
        QTest::newRow("listed, connected first") << WindowRow{two, false, "-", "Office   (当前连接)|Cafe;;Office/secret-pw"};
        QTest::newRow("list empty") << WindowRow{none, false, "", ";未扫描到任何WiFi网络，请刷新列表或选择手动输入WiFi名称;请刷新列表，或选择手动输入WiFi名称"};
        QTest::newRow("list without a name") << WindowRow{two, false, "", "Office   (当前连接)|Cafe;;请选择一个WiFi"};
        QTest::newRow("manual without a name") << WindowRow{two, true, " ", "Office   (当前连接)|Cafe;;请输入WiFi名称"};
        QTest::newRow("no scanner: manual works") << WindowRow{{WifiScan::Outcome::NoService, {}}, true, " Lab ",
            ";本机无法扫描WiFi网络（Linux需要NetworkManager），请选择手动输入WiFi名称;Lab/secret-pw"};
    }
    void window()
    {
        QFETCH(WindowRow, row);
        const auto &[scan, manual, name, expected] = row;
        auto scanner = std::make_shared<FakeScanner>();
        scanner->result = scan;
        DialogCatcher boxes;
        DistributeNet window(nullptr, scanner);
        QSignalSpy creds(&window, &DistributeNet::wifiCredReady);
        window.show();
        waitForScan(&window);
        QStringList items;
        for (int i = 0; i < part<QListWidget>(&window, "listWifi")->count(); ++i)
            items << part<QListWidget>(&window, "listWifi")->item(i)->text();
        const QLabel *reason = part<QLabel>(&window, "labelScanStatus");
        items = QStringList{items.join('|'), reason->isVisible() ? reason->text() : QString()};
        confirm(&window, manual, name, " secret-pw ");
        QTRY_VERIFY_WITH_TIMEOUT(boxes.count() + creds.count() == 1, 10000);
        const WifiCred cred = creds.value(0).value(0).value<WifiCred>();
        QCOMPARE((items << (creds.isEmpty() ? boxes.last().text : cred.ssid + '/' + cred.password)).join(';'), expected);
        if (boxes.count())
            QCOMPARE(std::pair(boxes.last().title, boxes.last().icon), std::pair(QStringLiteral("WIFI配网"), QMessageBox::Warning));
    }

    void manualNameClearsPassword()
    {
        DistributeNet window(nullptr, std::make_shared<FakeScanner>());
        window.show();
        confirm(&window, true, "Lab", "secret-pw");
        QTest::keyClick(part<QLineEdit>(&window, "lineSsidManual"), Qt::Key_2);
        QCOMPARE(part<QLineEdit>(&window, "linePassword")->text(), QString());
    }

    void closingDuringScanEndsIt()
    {
        auto scanner = std::make_shared<FakeScanner>();
        scanner->gate.acquire();
        DistributeNet window(nullptr, scanner);
        QSignalSpy closed(&window, &DistributeNet::closed);
        window.show();
        QTRY_COMPARE_WITH_TIMEOUT(scanner->started.loadRelaxed(), 1, 10000);
        const auto *refresh = part<QPushButton>(&window, "btnRefresh");
        QCOMPARE(std::pair(refresh->text(), refresh->isEnabled()), std::pair(QStringLiteral("扫描中..."), false));
        scanner->gate.release();
        window.close();
        QCOMPARE(std::pair(scanner->finished.loadRelaxed(), int(closed.count())), std::pair(1, 1));
    }

    void secondClickRestoresTheWindow()
    {
        PrinterWindow pw(TestMedium::Tcp);
        pw.click("pushButton_NetSetup");
        QCOMPARE(shownBoxes(pw), QStringList{kOpenFirst});
        QVERIFY(pw.open());
        pw.click("pushButton_NetSetup");
        const QPointer<DistributeNet> first = provisioningWindows().value(0);
        first->showMinimized();
        pw.click("pushButton_NetSetup");
        QCOMPARE(provisioningWindows(), QList<DistributeNet *>{first});
        QVERIFY(!first->isMinimized());
        first->close();
        QTRY_VERIFY_WITH_TIMEOUT(first.isNull(), 10000);
    }

    void handoff_data()
    {
        QTest::addColumn<HandoffRow>("row");
        const QStringList lab{"Lab", "Pa55-word"};
        const QString station = "s26:" + QString::fromLatin1(QByteArray("Lab\0Pa55-word\0", 14).toHex());
        QTest::newRow("read STA: station only") << HandoffRow{tcp, "read:01", lab, station, kDone, false};
        QTest::newRow("read AP: mode first") << HandoffRow{usb, "read:02", lab, "s30:01 " + station, kDone, false};
        // What was read from the printer before is no guide to the one opened now.
        QTest::newRow("read STA, another opened: mode first") << HandoffRow{tcp, "read:01 reopen", lab,
                                                                            "s30:01 " + station, kDone, false};
        QTest::newRow("listed name not UTF-8: its bytes") << HandoffRow{usb, "read:01", {"-", "Pa55-word"},
            "s26:" + kGbk.toHex() + "00" + QByteArray("Pa55-word").toHex() + "00", kDone, false};
        QTest::newRow("no read, no password") << HandoffRow{tcp, "", {"Lab", ""}, "s30:01 s26:4C61620000", kDone, false};
        QTest::newRow("mode refused: stays open") << HandoffRow{usb, "stall:1", lab, "", kUsbError, true};
        QTest::newRow("station refused: closes") << HandoffRow{usb, "read:01 stall:1", lab, "", kUsbError, false};
        QTest::newRow("password too long") << HandoffRow{tcp, "", {"Lab", QString(251, 'p')}, "",
                                                         "STA模式 wifi密码过长，最多250字节（UTF-8），请重新输入", true};
    }
    void handoff()
    {
        QFETCH(HandoffRow, row);
        const auto &[medium, steps, cred, frames, box, stillOpen] = row;
        PrinterWindow pw(medium);
        QVERIFY(pw.open());
        pw.click("pushButton_NetSetup");
        const QPointer<DistributeNet> window = provisioningWindows().value(0);
        waitForScan(window);
        for (const QString &word : steps.split(' ', Qt::SkipEmptyParts)) {
            if (word.startsWith("read:")) {
                apply(pw, {"30=" + word.mid(5)});
                pw.click("pushButton_WifiSettingRead");
                QCOMPARE(shownBoxes(pw), QStringList{kDone});
            } else {
                step(pw, word);
            }
            pw.boxes().clear();
            pw.clearFrames();
        }
        confirm(window, cred[0] != "-", cred[0], cred[1]);
        QCOMPARE(framesSent(pw, frameList(frames).size()), frameList(frames));
        QCOMPARE(shownBoxes(pw), QStringList{box});
        QCOMPARE(window && window->isVisible(), stillOpen);
        QCOMPARE(mismatches(pw, {"+pushButton_WifiSettingRead", "+pushButton_NetSetup"}), QString());
        delete window;
    }

    // A download holds the printer: the window cannot send, credentials it
    // delivers all the same are not sent and unlock nothing, and the
    // firmware arrives whole.
    void handoffDuringDownload()
    {
        QTemporaryDir dir;
        QFile file(dir.filePath("fw.hex"));
        const QByteArray content(128 * 1024, '\x5A');
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(content) == content.size());
        file.close();
        PrinterWindow pw(tcp);
        QVERIFY(pw.open());
        pw.click("pushButton_NetSetup");
        const QPointer<DistributeNet> window = provisioningWindows().value(0);
        waitForScan(window);
        atFirmwareConfirmation(pw, false);
        pw.boxes().filesToChoose = {file.fileName()};
        pw.click("pushButton_DownloadFW");
        QTRY_VERIFY_WITH_TIMEOUT(pw.widget<QProgressBar>("progressBar_Update")->value() > 0, 10000);
        QVERIFY(!part<QPushButton>(window, "btnSetNet")->isEnabled());
        emit window->wifiCredReady({true, "Lab", "Pa55-word"});
        QCOMPARE(mismatches(pw, {"-pushButton_Send", "-pushButton_SendFile", "-pushButton_getPrinterInfo", "-pushButton_close"}),
                 QString());
        QTRY_COMPARE_WITH_TIMEOUT(pw.boxes().last().text, QStringLiteral("等待打印机指示灯停止闪烁"), 30000);
        QCOMPARE(pw.printer().received(), firmware::decryptImage(content));
        QVERIFY(part<QPushButton>(window, "btnSetNet")->isEnabled());
        delete window;
    }
};

QTEST_MAIN(Provisioning)
#include "tst_provisioning.moc"
