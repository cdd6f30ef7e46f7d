// The print settings page through the real window against the emulated
// printer: the queries of a read and the frames of a set, byte for byte
// and in order, over TCP and emulated USB; what the widgets show after a
// read; the messages and the set button; input refused before anything
// is sent; the remembered label size.
#include "page_test_support.h"

#include "tools/emulator/net/net_faces.h"
#include "tools/emulator/usb/usb_face.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <QTabWidget>
#include <memory>

using namespace pagetest;

namespace {

// Query codes of a read in slot order; 0x41 (print mode) is asked only of
// the extended models and 0x54 (automatic paper feed) only of the others.
QList<quint8> readCodes(bool extended)
{
    QList<quint8> codes = {0x00, 0x13, 0x19, 0x1A, 0x1C, 0x1D, 0x1E};
    if (extended)
        codes << 0x41;
    codes << 0x16 << 0x01 << 0x02;
    if (!extended)
        codes << 0x54;
    codes << 0x18 << 0x3E;
    return codes;
}

// "name=value" pairs, applied to or compared with the page's widgets.
void applyValues(PrinterWindow &pw, const QStringList &values)
{
    for (const QString &pair : values) {
        const QString name = pair.section(QLatin1Char('='), 0, 0);
        const QString value = pair.section(QLatin1Char('='), 1);
        QWidget *w = pw.widget(name.toLatin1().constData());
        if (auto *edit = qobject_cast<QLineEdit *>(w)) {
            // Set as if pasted by a program: no repair runs.
            edit->setText(value);
        } else if (auto *combo = qobject_cast<QComboBox *>(w)) {
            bool isIndex = false;
            const int index = value.toInt(&isIndex);
            const int found = isIndex ? index : combo->findText(value);
            if (found < 0 || found >= combo->count())
                qFatal("%s has no item %s", qPrintable(name), qPrintable(value));
            combo->setCurrentIndex(found);
        }
    }
}

QString valueMismatches(PrinterWindow &pw, const QStringList &expected)
{
    QStringList wrong;
    for (const QString &pair : expected) {
        const QString name = pair.section(QLatin1Char('='), 0, 0);
        const QString value = pair.section(QLatin1Char('='), 1);
        const QString actual = shown(pw.widget(name.toLatin1().constData()));
        if (actual != value)
            wrong << QStringLiteral("%1: shows \"%2\", expected \"%3\"").arg(name, actual, value);
    }
    return wrong.join(QStringLiteral("; "));
}

// Settings stored in the emulated printer, "code=payload hex".
void storeSettings(emu::PrinterModel &printer, const QStringList &settings)
{
    for (const QString &pair : settings) {
        bool ok = false;
        const int code = pair.section(QLatin1Char('='), 0, 0).toInt(&ok, 16);
        if (!ok)
            qFatal("bad setting %s", qPrintable(pair));
        printer.setSetting(quint8(code), bytesOf(pair.section(QLatin1Char('='), 1)));
    }
}

// The values the set tests put on the page.
const QStringList kPageValues = {
    QStringLiteral("comboBox_DefaultCodePage=5"), QStringLiteral("comboBox_PrintSpeed=3"),
    QStringLiteral("comboBox_PrintDensty=10"), QStringLiteral("lineEdit_LabelGap=3"),
    QStringLiteral("lineEdit_BlackLabelGap=4"), QStringLiteral("comboBox_PrintDirection=1"),
    QStringLiteral("comboBox_PrintMethod=1"), QStringLiteral("comboBox_PrintMode=2"),
    QStringLiteral("comboBox_AutoPaper=1"), QStringLiteral("comboBox_PaperType=2"),
    QStringLiteral("comboBox_OrderSet=CPCL"), QStringLiteral("lineEdit_VerticalShift=-2"),
    QStringLiteral("lineEdit_PrintShift=2"), QStringLiteral("lineEdit=40.5"),
    QStringLiteral("lineEdit_2=30"), QStringLiteral("comboBox=4")};

std::unique_ptr<PrinterWindow> openedWindow(TestMedium medium, const QString &model)
{
    auto pw = std::make_unique<PrinterWindow>(medium, model);
    if (!pw->open())
        return nullptr;
    return pw;
}

QSettings labelSizeSettings()
{
    return QSettings(QStringLiteral("Company"), QStringLiteral("App"));
}

} // namespace

class TestPrintPage : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void readQueriesInSlotOrder_data();
    void readQueriesInSlotOrder();
    void readFillsWidgets_data();
    void readFillsWidgets();
    void readWithoutDevice();
    void readLastQueryUnanswered();
    void readMalformedReplyIsSilent();
    void readUsbFailure();

    void setSendsFramesInOrder_data();
    void setSendsFramesInOrder();
    void setRefusesValuesThatWouldWrap_data();
    void setRefusesValuesThatWouldWrap();
    void setSendsValuesThatFit_data();
    void setSendsValuesThatFit();
    void setWithInvalidLabelSize();
    void setWithoutDevice();
    void setUsbFailure();
    void labelSizeRemembered();

private:
    TestSettingsLocation m_settings;
};

void TestPrintPage::initTestCase()
{
    PrinterWindow::usb();
}

void TestPrintPage::init()
{
    // The label size persists between windows; every test starts without.
    labelSizeSettings().clear();
}

// ---------------------------------------------------------------- read

void TestPrintPage::readQueriesInSlotOrder_data()
{
    QTest::addColumn<int>("medium");
    QTest::addColumn<QString>("model");
    QTest::addColumn<bool>("extended");
    for (TestMedium medium : {TestMedium::Tcp, TestMedium::Usb}) {
        const QByteArray m = mediumName(medium).toLatin1();
        QTest::newRow(m + " LP-200") << int(medium) << "LP-200" << false;
        QTest::newRow(m + " ZD-N480") << int(medium) << "ZD-N480" << true;
        QTest::newRow(m + " J62") << int(medium) << "J62" << true;
    }
}

void TestPrintPage::readQueriesInSlotOrder()
{
    QFETCH(int, medium);
    QFETCH(QString, model);
    QFETCH(bool, extended);
    auto pw = openedWindow(TestMedium(medium), model);
    QVERIFY(pw);
    QVERIFY(!pw->widget("pushButton_PrintSettingSet")->isEnabled());

    pw->click("pushButton_PrintSettingRead");

    QStringList expected;
    for (quint8 code : readCodes(extended))
        expected << queryHex(code);
    QCOMPARE(pw->frameHex(), expected);
    QVERIFY2(pw->boxes().count() == 1, qPrintable(describe(pw->boxes().boxes())));
    QCOMPARE(pw->boxes().last().title, QStringLiteral("设置工具"));
    QCOMPARE(pw->boxes().last().text, QStringLiteral("处理成功"));
    QCOMPARE(pw->boxes().last().icon, QMessageBox::Information);
    QVERIFY(pw->widget("pushButton_PrintSettingSet")->isEnabled());
    // The window lock is lifted again.
    QVERIFY(pw->widget("tabWidget_2")->isEnabled());
    QVERIFY(pw->widget("pushButton_close")->isEnabled());
}

void TestPrintPage::readFillsWidgets_data()
{
    QTest::addColumn<int>("medium");
    QTest::addColumn<QString>("model");
    QTest::addColumn<QStringList>("before");    // widget values before the read
    QTest::addColumn<QStringList>("printer");   // settings stored in the printer
    QTest::addColumn<QStringList>("expected");  // what the widgets show afterwards

    const int tcp = int(TestMedium::Tcp);
    const int usb = int(TestMedium::Usb);
    const QStringList defaults8 = {
        "comboBox_PrintSpeed=2", "comboBox_PrintDensty=8", "lineEdit_LabelGap=3",
        "lineEdit_BlackLabelGap=3", "comboBox_PrintDirection=旋转0度", "comboBox_PrintMethod=正常打印",
        "lineEdit_PrintShift=0", "lineEdit_VerticalShift=0", "comboBox_PaperType=标签纸",
        "comboBox_DefaultCodePage=0 PC437(Std.Europe)", "comboBox_OrderSet=TSPL", "comboBox_AutoPaper=关",
        "lineEdit_2=50.0", "lineEdit=100.0", "comboBox=中文简体"};
    QTest::newRow("tcp defaults at 8 dots") << tcp << "LP-200" << QStringList() << QStringList() << defaults8;
    QTest::newRow("usb defaults at 8 dots") << usb << "LP-200" << QStringList() << QStringList() << defaults8;
    // 400 and 800 dots at 12 dots/mm: 33.33 and 66.66 mm, cut (not
    // rounded) to one decimal.
    const QStringList defaults12 = {"lineEdit_LabelGap=2", "lineEdit_BlackLabelGap=2", "lineEdit_2=33.3",
                                    "lineEdit=66.6", "comboBox_PrintMode=热敏"};
    QTest::newRow("tcp defaults at 12 dots") << tcp << "ZD-N480" << QStringList() << QStringList() << defaults12;
    QTest::newRow("usb defaults at 12 dots") << usb << "ZD-N480" << QStringList() << QStringList() << defaults12;

    QTest::newRow("gap 18 00 at 8") << tcp << "LP-200" << QStringList() << QStringList{"19=1800"}
                                    << QStringList{"lineEdit_LabelGap=3"};
    QTest::newRow("gap 18 00 at 12") << tcp << "ZD-N480" << QStringList() << QStringList{"19=1800"}
                                     << QStringList{"lineEdit_LabelGap=2"};
    QTest::newRow("gaps unsigned") << tcp << "LP-200" << QStringList() << QStringList{"19=FFFF", "1A=0080"}
                                   << QStringList{"lineEdit_LabelGap=8191", "lineEdit_BlackLabelGap=4096"};
    QTest::newRow("offset F4 FF at 8") << tcp << "LP-200" << QStringList() << QStringList{"1D=F4FF", "1E=F4FF"}
                                       << QStringList{"lineEdit_PrintShift=-1", "lineEdit_VerticalShift=-1"};
    QTest::newRow("offset at 12") << tcp << "ZD-N480" << QStringList() << QStringList{"1D=E8FF", "1E=0B00"}
                                  << QStringList{"lineEdit_PrintShift=-2", "lineEdit_VerticalShift=0"};
    QTest::newRow("offset extremes") << usb << "LP-200" << QStringList() << QStringList{"1D=0080", "1E=FF7F"}
                                     << QStringList{"lineEdit_PrintShift=-4096", "lineEdit_VerticalShift=4095"};
    QTest::newRow("label size 90 01 20 03") << tcp << "LP-200" << QStringList() << QStringList{"18=90012003"}
                                            << QStringList{"lineEdit_2=50.0", "lineEdit=100.0"};
    QTest::newRow("label size 1 dot") << tcp << "LP-200" << QStringList() << QStringList{"18=01000100"}
                                      << QStringList{"lineEdit_2=0.1", "lineEdit=0.1"};
    QTest::newRow("label size cut, not rounded") << tcp << "LP-200" << QStringList() << QStringList{"18=0B000F00"}
                                                 << QStringList{"lineEdit_2=1.3", "lineEdit=1.8"};
    QTest::newRow("paper type 07") << tcp << "LP-200" << QStringList() << QStringList{"16=07"}
                                   << QStringList{"comboBox_PaperType=AUTO"};
    QTest::newRow("paper type 01") << tcp << "LP-200" << QStringList() << QStringList{"16=01"}
                                   << QStringList{"comboBox_PaperType=黑标纸"};
    QTest::newRow("print mode 05") << tcp << "ZD-N480" << QStringList() << QStringList{"41=05"}
                                   << QStringList{"comboBox_PrintMode=自适应"};
    QTest::newRow("print mode 01") << usb << "J62" << QStringList() << QStringList{"41=01"}
                                   << QStringList{"comboBox_PrintMode=热转印"};
    QTest::newRow("print mode not asked of others") << tcp << "LP-200" << QStringList{"comboBox_PrintMode=1"}
                                                    << QStringList{"41=02", "54=01"}
                                                    << QStringList{"comboBox_PrintMode=热转印", "comboBox_AutoPaper=开"};
    QTest::newRow("auto paper not asked of extended") << tcp << "ZD-N480" << QStringList{"comboBox_AutoPaper=0"}
                                                      << QStringList{"54=01"}
                                                      << QStringList{"comboBox_AutoPaper=关"};
    QTest::newRow("instruction set 20") << tcp << "LP-200" << QStringList() << QStringList{"02=20"}
                                        << QStringList{"comboBox_OrderSet=AUTO"};
    QTest::newRow("instruction set 06 unknown") << tcp << "LP-200" << QStringList{"comboBox_OrderSet=EPL"}
                                                << QStringList{"02=06"} << QStringList{"comboBox_OrderSet=EPL"};
    QTest::newRow("instruction set 05") << tcp << "LP-200" << QStringList() << QStringList{"02=05"}
                                        << QStringList{"comboBox_OrderSet=DPL"};
    QTest::newRow("direction 02 00") << tcp << "LP-200" << QStringList{"comboBox_PrintMethod=1"}
                                     << QStringList{"1C=0200"}
                                     << QStringList{"comboBox_PrintDirection=旋转180度", "comboBox_PrintMethod=正常打印"};
    QTest::newRow("direction 00 07") << tcp << "LP-200" << QStringList{"comboBox_PrintDirection=1"}
                                     << QStringList{"1C=0007"}
                                     << QStringList{"comboBox_PrintDirection=旋转0度", "comboBox_PrintMethod=镜像打印"};
    QTest::newRow("speed 7 on extended") << tcp << "ZD-N480" << QStringList() << QStringList{"00=07"}
                                         << QStringList{"comboBox_PrintSpeed=7"};
    QTest::newRow("speed beyond the list") << tcp << "LP-200" << QStringList() << QStringList{"00=05"}
                                           << QStringList{"comboBox_PrintSpeed="};
    QTest::newRow("density, code page, language") << tcp << "LP-200" << QStringList()
                                                  << QStringList{"13=0F", "01=3D", "3E=06"}
                                                  << QStringList{"comboBox_PrintDensty=15",
                                                                 "comboBox_DefaultCodePage=61 PC3041(Maltese)",
                                                                 "comboBox=泰文"};
}

void TestPrintPage::readFillsWidgets()
{
    QFETCH(int, medium);
    QFETCH(QString, model);
    QFETCH(QStringList, before);
    QFETCH(QStringList, printer);
    QFETCH(QStringList, expected);
    auto pw = openedWindow(TestMedium(medium), model);
    QVERIFY(pw);
    applyValues(*pw, before);
    storeSettings(pw->printer(), printer);

    pw->click("pushButton_PrintSettingRead");

    QCOMPARE(pw->boxes().last().text, QStringLiteral("处理成功"));
    const QString wrong = valueMismatches(*pw, expected);
    QVERIFY2(wrong.isEmpty(), qPrintable(wrong));
}

void TestPrintPage::readWithoutDevice()
{
    PrinterWindow pw(TestMedium::Tcp);
    pw.click("pushButton_PrintSettingRead");
    QCOMPARE(pw.boxes().count(), 1);
    QCOMPARE(pw.boxes().last().title, QStringLiteral("设置工具"));
    QCOMPARE(pw.boxes().last().text, QStringLiteral("请先打开设备"));
    QVERIFY(pw.widget("tabWidget_2")->isEnabled());
    QVERIFY(!pw.widget("pushButton_PrintSettingSet")->isEnabled());
    QVERIFY(pw.frames().isEmpty());
}

// The printer takes the last query (0x3E) and hangs up without an answer:
// the read waits out that exchange, fills everything else, reports the
// network error and leaves the set button disabled.
void TestPrintPage::readLastQueryUnanswered()
{
    auto pw = openedWindow(TestMedium::Tcp, QStringLiteral("LP-200"));
    QVERIFY(pw);
    applyValues(*pw, {QStringLiteral("comboBox=3")});
    storeSettings(pw->printer(), {QStringLiteral("19=4000"), QStringLiteral("18=F0004001"),
                                  QStringLiteral("3E=00")});
    // The connection dies with the byte that completes the 13th query.
    emu::Faults faults;
    faults.dropAfterBytes = 13 * 9;
    pw->printer().setFaults(faults);
    QElapsedTimer clock;
    clock.start();

    pw->click("pushButton_PrintSettingRead");

    QVERIFY2(clock.elapsed() >= 2900, qPrintable(QString::number(clock.elapsed())));
    QVERIFY2(clock.elapsed() < 15000, qPrintable(QString::number(clock.elapsed())));
    QCOMPARE(pw->frames().size(), 13);
    QCOMPARE(pw->frameHex().last(), queryHex(0x3E));
    QVERIFY2(pw->boxes().count() == 1, qPrintable(describe(pw->boxes().boxes())));
    QCOMPARE(pw->boxes().last().title, QStringLiteral("设置工具"));
    QCOMPARE(pw->boxes().last().text, QStringLiteral("网络通讯出错，请重试"));
    QVERIFY(!pw->widget("pushButton_PrintSettingSet")->isEnabled());
    const QString wrong = valueMismatches(
        *pw, {QStringLiteral("lineEdit_LabelGap=8"), QStringLiteral("lineEdit_2=30.0"),
              QStringLiteral("lineEdit=40.0"), QStringLiteral("comboBox=韩文")});
    QVERIFY2(wrong.isEmpty(), qPrintable(wrong));
    QVERIFY(pw->widget("tabWidget_2")->isEnabled());
}

// A reply that fails the checks (here the first one) is passed over
// silently: the other queries still fill their widgets and the set
// button is enabled.
void TestPrintPage::readMalformedReplyIsSilent()
{
    auto pw = openedWindow(TestMedium::Usb, QStringLiteral("LP-200"));
    QVERIFY(pw);
    applyValues(*pw, {QStringLiteral("comboBox_PrintSpeed=1")});
    storeSettings(pw->printer(), {QStringLiteral("00=03"), QStringLiteral("3E=05")});
    PrinterWindow::usb().setReplyFilter(pw->usbId(), [](const QByteArray &reply) {
        QByteArray out = reply;
        if (out.size() > 4 && quint8(out.at(3)) == 0x02 && quint8(out.at(4)) == 0x00)
            out[0] = 0x00;      // lead-in broken
        return out;
    });

    pw->click("pushButton_PrintSettingRead");

    QCOMPARE(pw->frames().size(), 13);
    QVERIFY2(pw->boxes().count() == 0, qPrintable(describe(pw->boxes().boxes())));
    QVERIFY(pw->widget("pushButton_PrintSettingSet")->isEnabled());
    const QString wrong = valueMismatches(*pw, {QStringLiteral("comboBox_PrintSpeed=1"),
                                                QStringLiteral("comboBox=阿拉伯文")});
    QVERIFY2(wrong.isEmpty(), qPrintable(wrong));
}

void TestPrintPage::readUsbFailure()
{
    auto pw = openedWindow(TestMedium::Usb, QStringLiteral("LP-200"));
    QVERIFY(pw);
    PrinterWindow::usb().setClaimRefused(pw->usbId(), true);

    pw->click("pushButton_PrintSettingRead");

    QVERIFY2(pw->boxes().count() == 1, qPrintable(describe(pw->boxes().boxes())));
    QCOMPARE(pw->boxes().last().text, QStringLiteral("USB通讯出错，请重试"));
    QVERIFY(!pw->widget("pushButton_PrintSettingSet")->isEnabled());
    QVERIFY(pw->frames().isEmpty());
    PrinterWindow::usb().setClaimRefused(pw->usbId(), false);
}

// ---------------------------------------------------------------- set

void TestPrintPage::setSendsFramesInOrder_data()
{
    QTest::addColumn<int>("medium");
    QTest::addColumn<QString>("model");
    QTest::addColumn<QStringList>("frames");

    const QStringList at8 = {
        setHex(0x01, "05"), setHex(0x00, "03"), setHex(0x13, "0A"), setHex(0x19, "1800"), setHex(0x1A, "2000"),
        setHex(0x1C, "0101"), setHex(0x54, "01"), setHex(0x16, "02"), setHex(0x02, "03"), setHex(0x1E, "F0FF"),
        setHex(0x1D, "1000"), setHex(0x18, "F0004401"), setHex(0x3E, "04"), printSettingsDoneHex()};
    QStringList at8Extended = at8;
    at8Extended[6] = setHex(0x41, "02");
    const QStringList at12Extended = {
        setHex(0x01, "05"), setHex(0x00, "03"), setHex(0x13, "0A"), setHex(0x19, "2400"), setHex(0x1A, "3000"),
        setHex(0x1C, "0101"), setHex(0x41, "02"), setHex(0x16, "02"), setHex(0x02, "03"), setHex(0x1E, "E8FF"),
        setHex(0x1D, "1800"), setHex(0x18, "6801E601"), setHex(0x3E, "04"), printSettingsDoneHex()};
    for (TestMedium medium : {TestMedium::Tcp, TestMedium::Usb}) {
        const QByteArray m = mediumName(medium).toLatin1();
        QTest::newRow(m + " LP-200") << int(medium) << "LP-200" << at8;
        QTest::newRow(m + " J62") << int(medium) << "J62" << at8Extended;
        QTest::newRow(m + " ZD-N480") << int(medium) << "ZD-N480" << at12Extended;
    }
}

void TestPrintPage::setSendsFramesInOrder()
{
    QFETCH(int, medium);
    QFETCH(QString, model);
    QFETCH(QStringList, frames);
    auto pw = openedWindow(TestMedium(medium), model);
    QVERIFY(pw);
    pw->click("pushButton_PrintSettingRead");
    pw->boxes().clear();
    pw->clearFrames();
    applyValues(*pw, kPageValues);

    pw->click("pushButton_PrintSettingSet");

    // Over TCP the last frames may still be on their way to the printer.
    QVERIFY(pw->printer().waitForFrames(frames.size(), 10000));
    QCOMPARE(pw->frameHex(), frames);
    QVERIFY2(pw->boxes().count() == 1, qPrintable(describe(pw->boxes().boxes())));
    QCOMPARE(pw->boxes().last().title, QStringLiteral("设置工具"));
    QCOMPARE(pw->boxes().last().text, QStringLiteral("处理成功"));
    // The printer keeps what it was sent ...
    for (const QByteArray &frame : pw->frames()) {
        if (quint8(frame.at(3)) != 0x01)
            continue;
        const quint8 code = quint8(frame.at(4));
        QCOMPARE(pw->printer().setting(code), frame.mid(6, frame.size() - 9));
    }
    // ... and a new read shows the page as it was set.
    pw->boxes().clear();
    applyValues(*pw, {QStringLiteral("lineEdit_LabelGap=0"), QStringLiteral("comboBox_OrderSet=ZPL")});
    pw->click("pushButton_PrintSettingRead");
    QCOMPARE(pw->boxes().last().text, QStringLiteral("处理成功"));
    const QString wrong = valueMismatches(*pw, {QStringLiteral("lineEdit_LabelGap=3"),
                                                QStringLiteral("comboBox_OrderSet=CPCL"),
                                                QStringLiteral("lineEdit_VerticalShift=-2"),
                                                QStringLiteral("lineEdit=40.5"), QStringLiteral("lineEdit_2=30.0")});
    QVERIFY2(wrong.isEmpty(), qPrintable(wrong));
}

void TestPrintPage::setRefusesValuesThatWouldWrap_data()
{
    QTest::addColumn<QString>("model");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("fieldName");
    QTest::addColumn<int>("min");
    QTest::addColumn<int>("max");
    QTest::newRow("gap 8192 at 8") << "LP-200" << "lineEdit_LabelGap" << "8192" << "标签间隙(单位mm)" << 0 << 8191;
    QTest::newRow("gap -1") << "LP-200" << "lineEdit_LabelGap" << "-1" << "标签间隙(单位mm)" << 0 << 8191;
    QTest::newRow("gap 5462 at 12") << "ZD-N480" << "lineEdit_LabelGap" << "5462" << "标签间隙(单位mm)" << 0 << 5461;
    QTest::newRow("black gap 8192") << "LP-200" << "lineEdit_BlackLabelGap" << "8192" << "黑标间隙(单位mm)" << 0
                                    << 8191;
    QTest::newRow("vertical -4097") << "LP-200" << "lineEdit_VerticalShift" << "-4097" << "垂直偏移(单位mm)"
                                    << -4096 << 4095;
    QTest::newRow("vertical 4096") << "LP-200" << "lineEdit_VerticalShift" << "4096" << "垂直偏移(单位mm)" << -4096
                                   << 4095;
    QTest::newRow("offset 4096 at 8") << "LP-200" << "lineEdit_PrintShift" << "4096" << "打印偏移(单位mm)" << -4096
                                      << 4095;
    QTest::newRow("offset 2731 at 12") << "ZD-N480" << "lineEdit_PrintShift" << "2731" << "打印偏移(单位mm)"
                                       << -2730 << 2730;
    QTest::newRow("offset -2147483648") << "LP-200" << "lineEdit_PrintShift" << "-2147483648"
                                        << "打印偏移(单位mm)" << -4096 << 4095;
    // Beyond 32 bits the builder would send 0: refused as well.
    QTest::newRow("gap beyond 32 bits") << "LP-200" << "lineEdit_LabelGap" << "99999999999" << "标签间隙(单位mm)"
                                        << 0 << 8191;
}

void TestPrintPage::setRefusesValuesThatWouldWrap()
{
    QFETCH(QString, model);
    QFETCH(QString, field);
    QFETCH(QString, value);
    QFETCH(QString, fieldName);
    QFETCH(int, min);
    QFETCH(int, max);
    auto pw = openedWindow(TestMedium::Tcp, model);
    QVERIFY(pw);
    pw->click("pushButton_PrintSettingRead");
    pw->boxes().clear();
    pw->clearFrames();
    const QByteArray storedGap = pw->printer().setting(0x19);
    const int connections = pw->net()->acceptedConnections();
    applyValues(*pw, {field + QLatin1Char('=') + value});

    pw->click("pushButton_PrintSettingSet");

    QVERIFY2(pw->boxes().count() == 1, qPrintable(describe(pw->boxes().boxes())));
    const ShownBox box = pw->boxes().last();
    QCOMPARE(box.title, QStringLiteral("设置工具"));
    QCOMPARE(box.icon, QMessageBox::Information);
    QVERIFY2(box.text.contains(fieldName), qPrintable(box.text));
    QVERIFY2(box.text.contains(QStringLiteral("%1 ~ %2").arg(min).arg(max)), qPrintable(box.text));
    // Nothing at all went out: give a frame on its way time to arrive.
    QVERIFY(!pw->printer().waitForFrames(1, 300));
    QCOMPARE(pw->printer().rawByteCount(), 0);
    QCOMPARE(pw->net()->acceptedConnections(), connections);
    QCOMPARE(pw->printer().setting(0x19), storedGap);
    // The field keeps what the user typed, to be corrected.
    QCOMPARE(pw->widget<QLineEdit>(field.toLatin1().constData())->text(), value);
}

void TestPrintPage::setSendsValuesThatFit_data()
{
    QTest::addColumn<QString>("model");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("value");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("payload");
    QTest::newRow("gap 8191 at 8") << "LP-200" << "lineEdit_LabelGap" << "8191" << 0x19 << "F8FF";
    QTest::newRow("gap 0") << "LP-200" << "lineEdit_LabelGap" << "0" << 0x19 << "0000";
    QTest::newRow("gap not a number") << "LP-200" << "lineEdit_LabelGap" << "abc" << 0x19 << "0000";
    QTest::newRow("gap 5461 at 12") << "ZD-N480" << "lineEdit_LabelGap" << "5461" << 0x19 << "FCFF";
    QTest::newRow("black gap 1") << "LP-200" << "lineEdit_BlackLabelGap" << "1" << 0x1A << "0800";
    QTest::newRow("vertical -4096") << "LP-200" << "lineEdit_VerticalShift" << "-4096" << 0x1E << "0080";
    QTest::newRow("offset 4095") << "LP-200" << "lineEdit_PrintShift" << "4095" << 0x1D << "F87F";
    QTest::newRow("offset -2730 at 12") << "ZD-N480" << "lineEdit_PrintShift" << "-2730" << 0x1D << "0880";
    QTest::newRow("offset 2 at 12") << "ZD-N480" << "lineEdit_PrintShift" << "2" << 0x1D << "1800";
    QTest::newRow("instruction set ZPL") << "LP-200" << "comboBox_OrderSet" << "ZPL" << 0x02 << "01";
}

void TestPrintPage::setSendsValuesThatFit()
{
    QFETCH(QString, model);
    QFETCH(QString, field);
    QFETCH(QString, value);
    QFETCH(int, code);
    QFETCH(QString, payload);
    auto pw = openedWindow(TestMedium::Tcp, model);
    QVERIFY(pw);
    pw->click("pushButton_PrintSettingRead");
    pw->boxes().clear();
    pw->clearFrames();
    applyValues(*pw, {field + QLatin1Char('=') + value});

    pw->click("pushButton_PrintSettingSet");

    QVERIFY(pw->printer().waitForFrames(14, 10000));
    QCOMPARE(pw->boxes().last().text, QStringLiteral("处理成功"));
    const auto sent = pw->printer().framesOf(0x01, quint8(code));
    QCOMPARE(sent.size(), 1);
    QCOMPARE(hex(sent.first().payload), hex(bytesOf(payload)));
    QCOMPARE(hex(pw->printer().setting(quint8(code))), hex(bytesOf(payload)));
}

// A label size that is no number is not sent; everything else is, and
// the -1 of the label size shows no message at all.
void TestPrintPage::setWithInvalidLabelSize()
{
    auto pw = openedWindow(TestMedium::Tcp, QStringLiteral("LP-200"));
    QVERIFY(pw);
    pw->click("pushButton_PrintSettingRead");
    pw->boxes().clear();
    pw->clearFrames();
    const QByteArray storedSize = pw->printer().setting(0x18);
    {
        // Put there by a program: the repair would never leave it.
        const QSignalBlocker blocker(pw->widget("lineEdit"));
        pw->widget<QLineEdit>("lineEdit")->setText(QStringLiteral("abc"));
    }

    pw->click("pushButton_PrintSettingSet");

    QVERIFY(pw->printer().waitForFrames(13, 10000));
    QVERIFY2(!pw->printer().waitForFrames(14, 300), qPrintable(pw->frameHex().join(QLatin1Char('\n'))));
    QStringList codes;
    for (const emu::LoggedFrame &f : pw->printer().frames())
        codes << QStringLiteral("%1/%2").arg(f.cls).arg(f.code, 2, 16, QLatin1Char('0'));
    QCOMPARE(codes, QStringList({"1/01", "1/00", "1/13", "1/19", "1/1a", "1/1c", "1/54", "1/16", "1/02", "1/1e",
                                 "1/1d", "1/3e", "0/06"}));
    QVERIFY2(pw->boxes().count() == 0, qPrintable(describe(pw->boxes().boxes())));
    QCOMPARE(pw->printer().setting(0x18), storedSize);
    // Remembered as typed, before the check.
    QCOMPARE(labelSizeSettings().value(QStringLiteral("lineEdit_text")).toString(), QStringLiteral("abc"));
}

void TestPrintPage::setWithoutDevice()
{
    PrinterWindow pw(TestMedium::Usb);
    pw.widget("pushButton_PrintSettingSet")->setEnabled(true);
    pw.click("pushButton_PrintSettingSet");
    QCOMPARE(pw.boxes().count(), 1);
    QCOMPARE(pw.boxes().last().title, QStringLiteral("设置工具"));
    QCOMPARE(pw.boxes().last().text, QStringLiteral("请先打开设备"));
    QVERIFY(pw.frames().isEmpty());
}

void TestPrintPage::setUsbFailure()
{
    auto pw = openedWindow(TestMedium::Usb, QStringLiteral("LP-200"));
    QVERIFY(pw);
    pw->click("pushButton_PrintSettingRead");
    pw->boxes().clear();
    pw->clearFrames();
    PrinterWindow::usb().setClaimRefused(pw->usbId(), true);

    pw->click("pushButton_PrintSettingSet");

    QVERIFY2(pw->boxes().count() == 1, qPrintable(describe(pw->boxes().boxes())));
    QCOMPARE(pw->boxes().last().text, QStringLiteral("USB通讯出错，请重试"));
    QVERIFY(pw->frames().isEmpty());
    PrinterWindow::usb().setClaimRefused(pw->usbId(), false);
}

// The label size survives the program: a set remembers the two texts,
// and the next window starts with them (and repairs back to them).
void TestPrintPage::labelSizeRemembered()
{
    {
        auto pw = openedWindow(TestMedium::Tcp, QStringLiteral("LP-200"));
        QVERIFY(pw);
        pw->click("pushButton_PrintSettingRead");
        applyValues(*pw, {QStringLiteral("lineEdit=64"), QStringLiteral("lineEdit_2=35.5")});
        pw->click("pushButton_PrintSettingSet");
        QVERIFY(pw->printer().waitForFrames(27, 10000));
        QCOMPARE(hex(pw->printer().setting(0x18)), hex(bytesOf(QStringLiteral("1C010002"))));
    }
    QSettings settings = labelSizeSettings();
    QCOMPARE(settings.value(QStringLiteral("lineEdit_text")).toString(), QStringLiteral("64"));
    QCOMPARE(settings.value(QStringLiteral("lineEdit_2_text")).toString(), QStringLiteral("35.5"));

    MainWindow window;
    auto *width = window.findChild<QLineEdit *>(QStringLiteral("lineEdit"));
    auto *height = window.findChild<QLineEdit *>(QStringLiteral("lineEdit_2"));
    QCOMPARE(width->text(), QStringLiteral("64.0"));
    QCOMPARE(height->text(), QStringLiteral("35.5"));
    // The remembered value is also what a refused input falls back to.
    width->setText(QStringLiteral("abc"));
    emit width->editingFinished();
    QCOMPARE(width->text(), QStringLiteral("64.0"));
    height->setText(QStringLiteral("x"));
    emit height->editingFinished();
    QCOMPARE(height->text(), QStringLiteral("35.5"));
}

QTEST_MAIN(TestPrintPage)
#include "tst_print_page.moc"
