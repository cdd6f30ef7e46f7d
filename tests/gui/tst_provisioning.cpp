// The Wi-Fi provisioning window on a fake scanner, and the hand-off of its
// credentials to the emulated printer: which frames went out, what the user
// saw, and that no password reached the diagnostic output.
#include "page_test_support.h"
#include "provisioning/distributenet.h"

#include <QAtomicInt>
#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSemaphore>
#include <QSignalSpy>

namespace {

// Hands out a fixed scan; with `hold` it waits for the test to open the gate.
struct FakeScanner : WifiScanner
{
    WifiScan result;
    bool hold = false;
    QSemaphore gate;
    QAtomicInt started, finished;
    WifiScan scan() override
    {
        started.ref();
        if (hold)
            gate.tryAcquire(1, 30000);
        finished.ref();
        return result;
    }
};

// "Cafe:-40 *Office:-60": networks, "*" the connected one.
WifiScan scanOf(const QString &text, WifiScan::Outcome outcome = WifiScan::Outcome::Listed)
{
    WifiScan scan{outcome, {}};
    for (const QString &w : text.split(' ', Qt::SkipEmptyParts))
        scan.networks.append({w.section(':', 0, 0).remove('*'), w.section(':', 1).toInt(), w.startsWith('*')});
    return scan;
}

QList<DistributeNet *> provisioningWindows()
{
    QList<DistributeNet *> found;
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (auto *d = qobject_cast<DistributeNet *>(w))
            found << d;
    }
    return found;
}

template<typename T> T *part(QWidget *window, const char *name) { return window->findChild<T *>(name); }

void waitForScan(QWidget *window)
{
    // A finished scan either lists networks or says why there are none.
    QTRY_VERIFY_WITH_TIMEOUT(part<QListWidget>(window, "listWifi")->count() > 0
                                 || part<QLabel>(window, "labelScanStatus")->isVisible(), 10000);
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

const QStringList kSecrets = {"secret-pw", "Pa55-word"};
QtMessageHandler forward = nullptr;
QAtomicInt leaks;

void record(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    const QString flat = QString(text).remove(' ');
    for (const QString &secret : kSecrets) {
        if (flat.contains(secret) || flat.contains(QString::fromLatin1(secret.toUtf8().toHex()), Qt::CaseInsensitive))
            leaks.ref();
    }
    forward(type, context, text);
}

} // namespace

class Provisioning : public GuiTest
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        forward = qInstallMessageHandler(record);
        setWifiScannerFactory([] { return std::make_shared<FakeScanner>(); });
    }
    void cleanupTestCase()
    {
        qInstallMessageHandler(forward);
        QCOMPARE(leaks.loadRelaxed(), 0);
    }

    void window_data()
    {
        QTest::addColumn<int>("outcome");
        QTest::addColumn<QString>("networks");
        QTest::addColumn<bool>("manual");
        QTest::addColumn<QString>("name");        // see confirm()
        QTest::addColumn<QString>("expected");    // list; shown reason or box; "name/password" emitted
        const int listed = 0, noService = 1, off = 3;
        QTest::newRow("listed, connected first") << listed << "Cafe:-40 *Office:-60" << false << "-" << "Office   (当前连接)|Cafe;;Office/secret-pw";
        QTest::newRow("list empty") << listed << "" << false << "" << ";未扫描到任何WiFi网络，请刷新列表或选择手动输入WiFi名称;请刷新列表，或选择手动输入WiFi名称";
        QTest::newRow("list without a name") << listed << "Cafe:-40" << false << "" << "Cafe;;请选择一个WiFi";
        QTest::newRow("manual without a name") << listed << "Cafe:-40" << true << " " << "Cafe;;请输入WiFi名称";
        QTest::newRow("no scanner: manual works") << noService << "" << true << " Lab " << ";本机无法扫描WiFi网络（Linux需要NetworkManager），请选择手动输入WiFi名称;Lab/secret-pw";
        QTest::newRow("Wi-Fi off") << off << "" << true << "Lab" << ";本机WiFi未开启，无法扫描，请选择手动输入WiFi名称;Lab/secret-pw";
    }
    void window()
    {
        QFETCH(int, outcome);
        QFETCH(QString, networks);
        QFETCH(bool, manual);
        QFETCH(QString, name);
        QFETCH(QString, expected);
        auto scanner = std::make_shared<FakeScanner>();
        scanner->result = scanOf(networks, WifiScan::Outcome(outcome));
        DialogCatcher boxes;
        DistributeNet window(nullptr, scanner);
        QSignalSpy creds(&window, &DistributeNet::wifiCredReady);
        window.show();
        waitForScan(&window);
        QStringList items;
        for (int i = 0; i < part<QListWidget>(&window, "listWifi")->count(); ++i)
            items << part<QListWidget>(&window, "listWifi")->item(i)->text();
        const auto *reason = part<QLabel>(&window, "labelScanStatus");
        confirm(&window, manual, name, " secret-pw ");
        QTRY_VERIFY_WITH_TIMEOUT(boxes.count() + creds.count() == 1, 10000);
        const QString result = creds.isEmpty() ? boxes.last().text
                                               : creds[0][0].value<WifiCred>().ssid + '/' + creds[0][0].value<WifiCred>().password;
        QCOMPARE(QStringList({items.join('|'), reason->isVisible() ? reason->text() : QString(), result}).join(';'), expected);
        if (!boxes.boxes().isEmpty())
            QCOMPARE(std::pair(boxes.last().title, boxes.last().icon), std::pair(QStringLiteral("WIFI配网"), QMessageBox::Warning));
    }

    void manualNameClearsPassword()
    {
        DistributeNet window(nullptr, std::make_shared<FakeScanner>());
        window.show();
        waitForScan(&window);
        confirm(&window, true, "Lab", "secret-pw");
        QTest::keyClick(part<QLineEdit>(&window, "lineSsidManual"), Qt::Key_2);
        QCOMPARE(part<QLineEdit>(&window, "linePassword")->text(), QString());
    }

    void closingDuringScanEndsIt()
    {
        auto scanner = std::make_shared<FakeScanner>();
        scanner->hold = true;
        DistributeNet window(nullptr, scanner);
        QSignalSpy closed(&window, &DistributeNet::closed);
        window.show();
        QTRY_COMPARE_WITH_TIMEOUT(scanner->started.loadRelaxed(), 1, 10000);
        const auto *refresh = part<QPushButton>(&window, "btnRefresh");
        QCOMPARE(std::pair(refresh->text(), refresh->isEnabled()), std::pair(QStringLiteral("扫描中..."), false));
        scanner->gate.release();
        window.close();
        QCOMPARE(scanner->finished.loadRelaxed(), 1);
        QCOMPARE(closed.count(), 1);
    }

    void secondClickRestoresTheWindow()
    {
        PrinterWindow pw(TestMedium::Tcp);
        pw.click("pushButton_NetSetup");
        QCOMPARE(shownBoxes(pw), QStringList{kOpenFirst});
        QVERIFY(pw.open());
        pw.click("pushButton_NetSetup");
        QCOMPARE(provisioningWindows().size(), 1);
        const QPointer<DistributeNet> first = provisioningWindows().first();
        first->showMinimized();
        pw.click("pushButton_NetSetup");
        QCOMPARE(provisioningWindows(), QList<DistributeNet *>{first});
        QVERIFY(!first->isMinimized());
        first->close();
        QTRY_VERIFY_WITH_TIMEOUT(first.isNull(), 10000);
    }

    void handoff_data()
    {
        QTest::addColumn<TestMedium>("medium");
        QTest::addColumn<QString>("readMode");   // the mode byte a Wi-Fi read finds first; empty: no read
        QTest::addColumn<QString>("fault");      // a step of page_test_support's step()
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("frames");
        QTest::addColumn<QString>("box");
        QTest::addColumn<bool>("stillOpen");
        const auto z = [](const QStringList &t) { return QString::fromLatin1(t.join(QChar()).toUtf8().toHex()) + "00"; };
        const QString station = "s26:" + z({"Lab", "Pa55-word"});
        QTest::newRow("read STA: station only") << tcp << "01" << "" << "Lab" << "Pa55-word" << station << kDone << false;
        QTest::newRow("read AP: mode first") << usb << "02" << "" << "Lab" << "Pa55-word" << "s30:01 " + station << kDone << false;
        QTest::newRow("no read, no password") << tcp << "" << "" << "Lab" << "" << "s30:01 s26:" + z({"Lab", ""}) << kDone << false;
        QTest::newRow("mode refused: stays open") << usb << "" << "stall:1" << "Lab" << "Pa55-word" << "" << kUsbError << true;
        QTest::newRow("station refused: closes") << usb << "01" << "stall:1" << "Lab" << "Pa55-word" << "" << kUsbError << false;
        QTest::newRow("name too long") << tcp << "" << "" << QString(254, 'n') << "" << ""
                                       << "STA模式 wifi名称过长，最多253字节（UTF-8），请重新输入" << true;
        QTest::newRow("password too long") << tcp << "" << "" << "Lab" << QString(251, 'p') << ""
                                           << "STA模式 wifi密码过长，最多250字节（UTF-8），请重新输入" << true;
    }
    void handoff()
    {
        QFETCH(TestMedium, medium);
        QFETCH(QString, readMode);
        QFETCH(QString, fault);
        QFETCH(QString, name);
        QFETCH(QString, password);
        QFETCH(QString, frames);
        QFETCH(QString, box);
        QFETCH(bool, stillOpen);
        PrinterWindow pw(medium);
        QVERIFY(pw.open());
        if (!readMode.isEmpty()) {
            apply(pw, {"30=" + readMode});
            pw.click("pushButton_WifiSettingRead");
            QCOMPARE(shownBoxes(pw), QStringList{kDone});
            pw.boxes().clear();
            pw.clearFrames();
        }
        pw.click("pushButton_NetSetup");
        const QPointer<DistributeNet> window = provisioningWindows().value(0);
        QVERIFY(window);
        waitForScan(window);
        if (!fault.isEmpty())
            step(pw, fault);
        confirm(window, true, name, password);
        QCOMPARE(framesSent(pw, frameList(frames).size()), frameList(frames));
        QCOMPARE(shownBoxes(pw), QStringList{box});
        QCOMPARE(window && window->isVisible(), stillOpen);
        const QString wrong = mismatches(pw, {"+pushButton_WifiSettingRead", "+pushButton_NetSetup"});
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong));
        delete window;
    }
};

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    app.setAttribute(Qt::AA_Use96Dpi, true);
    Provisioning test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_provisioning.moc"
