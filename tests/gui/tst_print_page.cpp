// The print settings page through the real window against the emulated
// printer: the queries of a read and the frames of a set in order, over
// TCP and emulated USB; which widget shows and feeds which setting; the
// messages and the set button; input refused before anything is sent;
// the remembered label size.
#include "page_test_support.h"

#include <QElapsedTimer>
#include <QSettings>

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

// "name=value" pairs, applied to the page's widgets as a program would
// (no repair runs); a combo box value is an index or an item text.
void applyValues(PrinterWindow &pw, const QStringList &values)
{
    for (const QString &pair : values) {
        const QString name = pair.section(QLatin1Char('='), 0, 0);
        const QString value = pair.section(QLatin1Char('='), 1);
        QWidget *w = pw.widget(name.toLatin1().constData());
        if (auto *edit = qobject_cast<QLineEdit *>(w)) {
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
    for (const QString &pair : settings)
        printer.setSetting(quint8(pair.section(QLatin1Char('='), 0, 0).toInt(nullptr, 16)),
                           bytesOf(pair.section(QLatin1Char('='), 1)));
}

// Opens, reads the page and forgets what that took.
std::unique_ptr<PrinterWindow> readWindow(TestMedium medium, const QString &model)
{
    auto pw = openedWindow(medium, model);
    if (pw) {
        pw->click("pushButton_PrintSettingRead");
        pw->boxes().clear();
        pw->clearFrames();
    }
    return pw;
}

QSettings labelSizeSettings()
{
    return QSettings(QStringLiteral("Company"), QStringLiteral("App"));
}

} // namespace

class TestPrintPage : public GuiTest
{
    Q_OBJECT

private slots:
    // The label size persists between windows; every test starts without.
    void init() { labelSizeSettings().clear(); }

    void readThenSetInSlotOrder_data();
    void readThenSetInSlotOrder();
    void readFillsWidgets_data();
    void readFillsWidgets();
    void readLastQueryUnanswered();
    void readMalformedReplyIsSilent();
    void usbClaimRefused_data();
    void usbClaimRefused();

    void setFieldRange_data();
    void setFieldRange();
    void setWithInvalidLabelSize();

};

void TestPrintPage::readThenSetInSlotOrder_data()
{
    QTest::addColumn<TestMedium>("medium");
    QTest::addColumn<QString>("model");
    QTest::addColumn<bool>("extended");
    QTest::addColumn<QStringList>("frames");   // of the set

    const QStringList at8 = {
        setHex(0x01, "05"), setHex(0x00, "03"), setHex(0x13, "0A"), setHex(0x19, "1800"), setHex(0x1A, "2000"),
        setHex(0x1C, "0101"), setHex(0x54, "01"), setHex(0x16, "02"), setHex(0x02, "03"), setHex(0x1E, "F0FF"),
        setHex(0x1D, "1000"), setHex(0x18, "F0004401"), setHex(0x3E, "04"), QStringLiteral("1B FF FE 00 06 00 1B FE FF")};
    QStringList at8Extended = at8;
    at8Extended[6] = setHex(0x41, "02");
    QStringList at12Extended = at8Extended;
    at12Extended[3] = setHex(0x19, "2400");
    at12Extended[4] = setHex(0x1A, "3000");
    at12Extended[9] = setHex(0x1E, "E8FF");
    at12Extended[10] = setHex(0x1D, "1800");
    at12Extended[11] = setHex(0x18, "6801E601");
    QTest::newRow("tcp LP-200") << TestMedium::Tcp << "LP-200" << false << at8;
    QTest::newRow("usb LP-200") << TestMedium::Usb << "LP-200" << false << at8;
    QTest::newRow("tcp J62") << TestMedium::Tcp << "J62" << true << at8Extended;
    QTest::newRow("usb ZD-N480") << TestMedium::Usb << "ZD-N480" << true << at12Extended;
}

void TestPrintPage::readThenSetInSlotOrder()
{
    QFETCH(TestMedium, medium);
    QFETCH(QString, model);
    QFETCH(bool, extended);
    QFETCH(QStringList, frames);
    auto pw = openedWindow(medium, model);
    QVERIFY(pw);
    QVERIFY(!pw->widget("pushButton_PrintSettingSet")->isEnabled());

    pw->click("pushButton_PrintSettingRead");

    QStringList queries;
    for (quint8 code : readCodes(extended))
        queries << queryHex(code);
    QCOMPARE(pw->frameHex(), queries);
    VERIFY_ONE_BOX(*pw, kDone);
    QCOMPARE(pw->boxes().last().icon, QMessageBox::Information);
    QVERIFY(pw->widget("pushButton_PrintSettingSet")->isEnabled());
    QVERIFY(pw->widget("tabWidget_2")->isEnabled());
    QVERIFY(pw->widget("pushButton_close")->isEnabled());

    pw->boxes().clear();
    pw->clearFrames();
    applyValues(*pw, {"comboBox_DefaultCodePage=5", "comboBox_PrintSpeed=3", "comboBox_PrintDensty=10",
                      "lineEdit_LabelGap=3", "lineEdit_BlackLabelGap=4", "comboBox_PrintDirection=1",
                      "comboBox_PrintMethod=1", "comboBox_PrintMode=2", "comboBox_AutoPaper=1",
                      "comboBox_PaperType=2", "comboBox_OrderSet=CPCL", "lineEdit_VerticalShift=-2",
                      "lineEdit_PrintShift=2", "lineEdit=40.5", "lineEdit_2=30", "comboBox=4"});
    pw->click("pushButton_PrintSettingSet");

    QVERIFY(pw->printer().waitForFrames(frames.size(), 10000));
    QCOMPARE(pw->frameHex(), frames);
    VERIFY_ONE_BOX(*pw, kDone);
    // A new read shows the page as it was set.
    pw->boxes().clear();
    applyValues(*pw, {"lineEdit_LabelGap=0", "comboBox_OrderSet=ZPL"});
    pw->click("pushButton_PrintSettingRead");
    QCOMPARE(pw->boxes().last().text, kDone);
    const QString wrong = valueMismatches(*pw, {"lineEdit_LabelGap=3", "comboBox_OrderSet=CPCL",
                                                "lineEdit_VerticalShift=-2", "lineEdit=40.5", "lineEdit_2=30.0"});
    QVERIFY2(wrong.isEmpty(), qPrintable(wrong));
}

void TestPrintPage::readFillsWidgets_data()
{
    QTest::addColumn<TestMedium>("medium");
    QTest::addColumn<QString>("model");
    QTest::addColumn<QStringList>("before");    // widget values before the read
    QTest::addColumn<QStringList>("printer");   // settings stored in the printer
    QTest::addColumn<QStringList>("expected");  // what the widgets show afterwards

    const auto tcp = TestMedium::Tcp;
    const auto usb = TestMedium::Usb;
    QTest::newRow("defaults at 8") << tcp << "LP-200" << QStringList() << QStringList()
                                   << QStringList{"comboBox_PrintSpeed=2", "comboBox_PrintDensty=8",
                                                  "lineEdit_LabelGap=3", "lineEdit_BlackLabelGap=3",
                                                  "comboBox_PrintDirection=旋转0度", "comboBox_PrintMethod=正常打印",
                                                  "lineEdit_PrintShift=0", "lineEdit_VerticalShift=0",
                                                  "comboBox_PaperType=标签纸",
                                                  "comboBox_DefaultCodePage=0 PC437(Std.Europe)",
                                                  "comboBox_OrderSet=TSPL", "comboBox_AutoPaper=关",
                                                  "lineEdit_2=50.0", "lineEdit=100.0", "comboBox=中文简体"};
    // 400 and 800 dots at 12 dots/mm: 33.33 and 66.66 mm, cut to one decimal.
    QTest::newRow("defaults at 12") << usb << "ZD-N480" << QStringList() << QStringList()
                                    << QStringList{"lineEdit_LabelGap=2", "lineEdit_BlackLabelGap=2",
                                                   "lineEdit_2=33.3", "lineEdit=66.6", "comboBox_PrintMode=热敏"};
    QTest::newRow("signed offsets") << usb << "LP-200" << QStringList() << QStringList{"1D=0080", "1E=FF7F"}
                                    << QStringList{"lineEdit_PrintShift=-4096", "lineEdit_VerticalShift=4095"};
    QTest::newRow("print mode 05") << tcp << "ZD-N480" << QStringList() << QStringList{"41=05"}
                                   << QStringList{"comboBox_PrintMode=自适应"};
    QTest::newRow("print mode not asked of others") << tcp << "LP-200" << QStringList{"comboBox_PrintMode=1"}
                                                    << QStringList{"41=02", "54=01"}
                                                    << QStringList{"comboBox_PrintMode=热转印", "comboBox_AutoPaper=开"};
    QTest::newRow("auto paper not asked of extended") << tcp << "ZD-N480" << QStringList{"comboBox_AutoPaper=0"}
                                                      << QStringList{"54=01"}
                                                      << QStringList{"comboBox_AutoPaper=关"};
    QTest::newRow("instruction set 06 unknown") << tcp << "LP-200" << QStringList{"comboBox_OrderSet=EPL"}
                                                << QStringList{"02=06"} << QStringList{"comboBox_OrderSet=EPL"};
    QTest::newRow("direction and method") << tcp << "LP-200" << QStringList{"comboBox_PrintDirection=1"}
                                          << QStringList{"1C=0007"}
                                          << QStringList{"comboBox_PrintDirection=旋转0度",
                                                         "comboBox_PrintMethod=镜像打印"};
    QTest::newRow("speed beyond the list") << tcp << "LP-200" << QStringList() << QStringList{"00=05"}
                                           << QStringList{"comboBox_PrintSpeed="};
}

void TestPrintPage::readFillsWidgets()
{
    QFETCH(TestMedium, medium);
    QFETCH(QString, model);
    QFETCH(QStringList, before);
    QFETCH(QStringList, printer);
    QFETCH(QStringList, expected);
    auto pw = openedWindow(medium, model);
    QVERIFY(pw);
    applyValues(*pw, before);
    storeSettings(pw->printer(), printer);

    pw->click("pushButton_PrintSettingRead");

    QCOMPARE(pw->boxes().last().text, kDone);
    const QString wrong = valueMismatches(*pw, expected);
    QVERIFY2(wrong.isEmpty(), qPrintable(wrong));
}

// The printer takes the last query (0x3E) and hangs up without an answer:
// the read waits out that exchange, fills everything else, reports the
// network error and leaves the set button disabled.
void TestPrintPage::readLastQueryUnanswered()
{
    auto pw = openedWindow(TestMedium::Tcp);
    QVERIFY(pw);
    applyValues(*pw, {"comboBox=3"});
    storeSettings(pw->printer(), {"19=4000", "18=F0004001", "3E=00"});
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
    VERIFY_ONE_BOX(*pw, kNetError);
    QVERIFY(!pw->widget("pushButton_PrintSettingSet")->isEnabled());
    const QString wrong = valueMismatches(*pw, {"lineEdit_LabelGap=8", "lineEdit_2=30.0", "lineEdit=40.0",
                                                "comboBox=韩文"});
    QVERIFY2(wrong.isEmpty(), qPrintable(wrong));
    QVERIFY(pw->widget("tabWidget_2")->isEnabled());
}

// A reply that fails the checks (here the first one) is passed over
// silently: the other queries still fill their widgets and the set
// button is enabled.
void TestPrintPage::readMalformedReplyIsSilent()
{
    auto pw = openedWindow(TestMedium::Usb);
    QVERIFY(pw);
    applyValues(*pw, {"comboBox_PrintSpeed=1"});
    storeSettings(pw->printer(), {"00=03", "3E=05"});
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
    const QString wrong = valueMismatches(*pw, {"comboBox_PrintSpeed=1", "comboBox=阿拉伯文"});
    QVERIFY2(wrong.isEmpty(), qPrintable(wrong));
}

void TestPrintPage::usbClaimRefused_data()
{
    QTest::addColumn<QString>("button");
    QTest::newRow("read") << "pushButton_PrintSettingRead";
    QTest::newRow("set") << "pushButton_PrintSettingSet";
}

void TestPrintPage::usbClaimRefused()
{
    QFETCH(QString, button);
    auto pw = readWindow(TestMedium::Usb, QStringLiteral("LP-200"));
    QVERIFY(pw);
    if (button.endsWith(QLatin1String("Read")))
        pw->widget("pushButton_PrintSettingSet")->setEnabled(false);
    cutOff(*pw, QStringLiteral("claim"));

    pw->click(qPrintable(button));

    VERIFY_ONE_BOX(*pw, kUsbError);
    QVERIFY(pw->frames().isEmpty());
    QCOMPARE(pw->widget("pushButton_PrintSettingSet")->isEnabled(), button.endsWith(QLatin1String("Set")));
    PrinterWindow::usb().setClaimRefused(pw->usbId(), false);
}

// Each numeric field is range-checked in dots before anything goes out
// (a 16-bit payload would otherwise wrap); values that fit are sent.
void TestPrintPage::setFieldRange_data()
{
    QTest::addColumn<QString>("model");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("value");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("payload");   // empty: refused with this message part
    QTest::addColumn<QString>("refusal");
    QTest::newRow("gap 8191 at 8") << "LP-200" << "lineEdit_LabelGap" << "8191" << 0x19 << "F8FF" << "";
    QTest::newRow("gap 8192 at 8") << "LP-200" << "lineEdit_LabelGap" << "8192" << 0x19 << ""
                                   << "标签间隙(单位mm)|0 ~ 8191";
    QTest::newRow("gap -1") << "LP-200" << "lineEdit_LabelGap" << "-1" << 0x19 << "" << "标签间隙(单位mm)|0 ~ 8191";
    QTest::newRow("gap 5461 at 12") << "ZD-N480" << "lineEdit_LabelGap" << "5461" << 0x19 << "FCFF" << "";
    QTest::newRow("gap 5462 at 12") << "ZD-N480" << "lineEdit_LabelGap" << "5462" << 0x19 << ""
                                    << "标签间隙(单位mm)|0 ~ 5461";
    // Beyond 32 bits the builder would send 0: refused as well.
    QTest::newRow("gap beyond 32 bits") << "LP-200" << "lineEdit_LabelGap" << "99999999999" << 0x19 << ""
                                        << "标签间隙(单位mm)|0 ~ 8191";
    QTest::newRow("gap not a number") << "LP-200" << "lineEdit_LabelGap" << "abc" << 0x19 << "0000" << "";
    QTest::newRow("black gap 8192") << "LP-200" << "lineEdit_BlackLabelGap" << "8192" << 0x1A << ""
                                    << "黑标间隙(单位mm)|0 ~ 8191";
    QTest::newRow("vertical -4096") << "LP-200" << "lineEdit_VerticalShift" << "-4096" << 0x1E << "0080" << "";
    QTest::newRow("vertical -4097") << "LP-200" << "lineEdit_VerticalShift" << "-4097" << 0x1E << ""
                                    << "垂直偏移(单位mm)|-4096 ~ 4095";
    QTest::newRow("offset -2730 at 12") << "ZD-N480" << "lineEdit_PrintShift" << "-2730" << 0x1D << "0880" << "";
    QTest::newRow("offset 2731 at 12") << "ZD-N480" << "lineEdit_PrintShift" << "2731" << 0x1D << ""
                                       << "打印偏移(单位mm)|-2730 ~ 2730";
}

void TestPrintPage::setFieldRange()
{
    QFETCH(QString, model);
    QFETCH(QString, field);
    QFETCH(QString, value);
    QFETCH(int, code);
    QFETCH(QString, payload);
    QFETCH(QString, refusal);
    auto pw = readWindow(TestMedium::Tcp, model);
    QVERIFY(pw);
    const QByteArray stored = pw->printer().setting(quint8(code));
    const int connections = pw->net()->acceptedConnections();
    applyValues(*pw, {field + QLatin1Char('=') + value});

    pw->click("pushButton_PrintSettingSet");

    if (!payload.isEmpty()) {
        QVERIFY(pw->printer().waitForFrames(14, 10000));
        QCOMPARE(pw->boxes().last().text, kDone);
        const auto sent = pw->printer().framesOf(0x01, quint8(code));
        QCOMPARE(sent.size(), 1);
        QCOMPARE(hex(sent.first().payload), hex(bytesOf(payload)));
        return;
    }
    QVERIFY2(pw->boxes().count() == 1, qPrintable(describe(pw->boxes().boxes())));
    const ShownBox box = pw->boxes().last();
    QCOMPARE(box.title, kTitle);
    QCOMPARE(box.icon, QMessageBox::Information);
    for (const QString &part : refusal.split(QLatin1Char('|')))
        QVERIFY2(box.text.contains(part), qPrintable(box.text));
    // Nothing at all went out: give a frame on its way time to arrive.
    QVERIFY(!pw->printer().waitForFrames(1, 300));
    QCOMPARE(pw->printer().rawByteCount(), 0);
    QCOMPARE(pw->net()->acceptedConnections(), connections);
    QCOMPARE(pw->printer().setting(quint8(code)), stored);
    // The field keeps what the user typed, to be corrected.
    QCOMPARE(pw->widget<QLineEdit>(field.toLatin1().constData())->text(), value);
}

// A label size that is no number is not sent; everything else is, and
// the -1 of the label size shows no message at all. The texts are
// remembered as typed; a valid size is remembered and sent in dots.
void TestPrintPage::setWithInvalidLabelSize()
{
    auto pw = readWindow(TestMedium::Tcp, QStringLiteral("LP-200"));
    QVERIFY(pw);
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
    QCOMPARE(labelSizeSettings().value(QStringLiteral("lineEdit_text")).toString(), QStringLiteral("abc"));

    pw->clearFrames();
    applyValues(*pw, {"lineEdit=64", "lineEdit_2=35.5"});
    pw->click("pushButton_PrintSettingSet");
    QVERIFY(pw->printer().waitForFrames(14, 10000));
    QCOMPARE(hex(pw->printer().setting(0x18)), hex(bytesOf(QStringLiteral("1C010002"))));
    QCOMPARE(labelSizeSettings().value(QStringLiteral("lineEdit_text")).toString(), QStringLiteral("64"));
    QCOMPARE(labelSizeSettings().value(QStringLiteral("lineEdit_2_text")).toString(), QStringLiteral("35.5"));
}

QTEST_MAIN(TestPrintPage)
#include "tst_print_page.moc"
