// Repair of the numeric fields through the real window's widgets: what
// the field shows after the user finishes editing, the remembered last
// valid value, and the life of the yellow tip.
#include "gui_harness.h"
#include "printer_fixture.h"
#include "mainwindow.h"
#include "query/printer_io.h"
#include "ui/shared_state.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QSettings>
#include <QTabWidget>
#include <QTest>

namespace {

const QString kWidthTip = QStringLiteral("宽度范围20-108mm，请重新输入");
const QString kHeightTip = QStringLiteral("高度范围10-1778mm，请重新输入");

// How the user finishes editing.
enum class Finish { Enter, Focus, Signal };

QList<QLabel *> visibleTips()
{
    QList<QLabel *> tips;
    for (QWidget *w : QApplication::topLevelWidgets()) {
        auto *label = qobject_cast<QLabel *>(w);
        if (label && label->objectName() == QLatin1String("lineEditTip") && label->isVisible())
            tips << label;
    }
    return tips;
}

QList<QLabel *> allTips()
{
    QList<QLabel *> tips;
    for (QWidget *w : QApplication::topLevelWidgets()) {
        auto *label = qobject_cast<QLabel *>(w);
        if (label && label->objectName() == QLatin1String("lineEditTip"))
            tips << label;
    }
    return tips;
}

bool isAscii(const QString &text)
{
    for (QChar c : text) {
        if (c.unicode() > 0x7E)
            return false;
    }
    return true;
}

} // namespace

class TestFieldRepair : public GuiTest
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void repair_data();
    void repair();
    void remembersLastValid_data();
    void remembersLastValid();
    void decimalFieldSeededFromSettings();
    void everyIntegerFieldIsRepaired_data();
    void everyIntegerFieldIsRepaired();

    void tipShownBelowFieldForThreeSeconds();
    void secondTipReplacesFirst();
    void tabChangeRemovesTip();
    void windowDestroyedWhileEditing_data();
    void windowDestroyedWhileEditing();

private:
    QLineEdit *edit(const char *name)
    {
        auto *found = m_window->findChild<QLineEdit *>(QLatin1String(name));
        if (!found)
            qFatal("no line edit %s", name);
        return found;
    }
    // Types (or pastes) text into an empty field and finishes editing.
    void enter(QLineEdit *field, const QString &text, Finish how = Finish::Enter);

    MainWindow *m_window = nullptr;
    DialogCatcher *m_catcher = nullptr;
};

void TestFieldRepair::init()
{
    QSettings(QStringLiteral("Company"), QStringLiteral("App")).clear();
    ret_mode = MediumUsb;
    m_window = new MainWindow;
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window));
    m_catcher = new DialogCatcher(m_window);
}

void TestFieldRepair::cleanup()
{
    if (m_window) {
        // No field repair ever shows a message box.
        QVERIFY2(m_catcher->count() == 0, qPrintable(describe(m_catcher->boxes())));
        delete m_window;
        m_window = nullptr;
    }
    // Replaced tips go on the event loop's next pass; none may be left.
    QTRY_VERIFY_WITH_TIMEOUT(allTips().isEmpty(), 5000);
}

void TestFieldRepair::enter(QLineEdit *field, const QString &text, Finish how)
{
    field->clear();
    switch (how) {
    case Finish::Enter:
        field->setFocus();
        if (isAscii(text))
            QTest::keyClicks(field, text);
        else
            field->insert(text);      // key clicks carry Latin-1 only
        QTest::keyClick(field, Qt::Key_Return);
        break;
    case Finish::Focus: {
        QApplication::setActiveWindow(m_window);
        QVERIFY(QTest::qWaitForWindowActive(m_window));
        field->setFocus();
        QTRY_VERIFY(field->hasFocus());
        QTest::keyClicks(field, text);
        QWidget *other = field == edit("lineEdit") ? edit("lineEdit_2") : edit("lineEdit");
        other->setFocus();
        QTRY_VERIFY(other->hasFocus());
        break;
    }
    case Finish::Signal:
        field->setText(text);
        emit field->editingFinished();
        break;
    }
}

// What a field shows after the user finishes editing, and whether the
// yellow tip appears (decimal fields only); `prior` is a valid value
// entered first, which a refused input falls back to.
void TestFieldRepair::repair_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("prior");
    QTest::addColumn<QString>("input");
    QTest::addColumn<int>("how");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("tip");       // empty: no tip

    const int enter = int(Finish::Enter);
    const int focus = int(Finish::Focus);
    QTest::newRow("50mm") << "lineEdit" << "" << "50mm" << enter << "50" << "";
    QTest::newRow("50mm, focus leaves") << "lineEdit" << "" << "50mm" << focus << "50" << "";
    QTest::newRow("60.25") << "lineEdit" << "" << "60.25" << enter << "60.3" << "";
    QTest::newRow("12,5 raised") << "lineEdit" << "" << "12,5" << enter << "20" << kWidthTip;
    QTest::newRow("12,5 raised, focus leaves") << "lineEdit" << "" << "12,5" << focus << "20" << kWidthTip;
    QTest::newRow("full-width comma") << "lineEdit" << "" << QStringLiteral("30，5") << enter << "30.5" << "";
    QTest::newRow("abc restores 102.0") << "lineEdit" << "" << "abc" << enter << "102.0" << kWidthTip;
    QTest::newRow("height 2000 lowered") << "lineEdit_2" << "" << "2000" << enter << "1778" << kHeightTip;
    QTest::newRow("int 12ab3") << "lineEdit_LabelGap" << "" << "12ab3" << enter << "123" << "";
    QTest::newRow("int 12ab3, focus leaves") << "lineEdit_LabelGap" << "" << "12ab3" << focus << "123" << "";
    QTest::newRow("int --3 restores") << "lineEdit_LabelGap" << "7" << "--3" << enter << "7" << "";
    QTest::newRow("int 2147483647") << "lineEdit_LabelGap" << "" << "2147483647" << enter << "2147483647" << "";
    QTest::newRow("int 2147483648 restores") << "lineEdit_LabelGap" << "42" << "2147483648" << enter << "42" << "";
}

void TestFieldRepair::repair()
{
    QFETCH(QString, field);
    QFETCH(QString, prior);
    QFETCH(QString, input);
    QFETCH(int, how);
    QFETCH(QString, shown);
    QFETCH(QString, tip);
    QLineEdit *e = edit(field.toLatin1().constData());
    if (!prior.isEmpty()) {
        enter(e, prior);
        QCOMPARE(e->text(), prior);
    }

    enter(e, input, Finish(how));

    QCOMPARE(e->text(), shown);
    const QList<QLabel *> tips = visibleTips();
    QCOMPARE(tips.size(), tip.isEmpty() ? 0 : 1);
    if (!tip.isEmpty())
        QCOMPARE(tips.first()->text(), tip);
}

// Each field falls back to its own last valid value; a value moved into
// the range is the one remembered.
void TestFieldRepair::remembersLastValid_data()
{
    QTest::addColumn<QStringList>("steps");   // "field|typed|shown"
    QTest::newRow("width") << QStringList{"lineEdit|60.25|60.3", "lineEdit|abc|60.3", "lineEdit|500|108",
                                          "lineEdit|x|108.0"};
    QTest::newRow("width and height apart") << QStringList{"lineEdit|50|50", "lineEdit_2|abc|152.0",
                                                           "lineEdit|abc|50.0"};
    QTest::newRow("integer fields apart") << QStringList{"lineEdit_LabelGap|1a2|12", "lineEdit_PrintShift|-3|-3",
                                                         "lineEdit_LabelGap|--|12", "lineEdit_PrintShift|x|-3"};
}

void TestFieldRepair::remembersLastValid()
{
    QFETCH(QStringList, steps);
    for (const QString &step : steps) {
        const QStringList parts = step.split(QLatin1Char('|'));
        QLineEdit *e = edit(parts.at(0).toLatin1().constData());
        enter(e, parts.at(1));
        QCOMPARE(e->text(), parts.at(2));
    }
}

void TestFieldRepair::decimalFieldSeededFromSettings()
{
    delete m_window;
    QSettings settings(QStringLiteral("Company"), QStringLiteral("App"));
    settings.setValue(QStringLiteral("lineEdit_text"), QStringLiteral("64"));
    settings.setValue(QStringLiteral("lineEdit_2_text"), QStringLiteral("35.5"));
    settings.sync();
    m_window = new MainWindow;
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window));
    m_catcher = new DialogCatcher(m_window);

    QCOMPARE(edit("lineEdit")->text(), QStringLiteral("64.0"));
    QCOMPARE(edit("lineEdit_2")->text(), QStringLiteral("35.5"));
    enter(edit("lineEdit"), QStringLiteral("abc"));
    QCOMPARE(edit("lineEdit")->text(), QStringLiteral("64.0"));
    enter(edit("lineEdit_2"), QStringLiteral("abc"));
    QCOMPARE(edit("lineEdit_2")->text(), QStringLiteral("35.5"));
}

void TestFieldRepair::everyIntegerFieldIsRepaired_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("shown");
    for (const char *name : {"lineEdit_LabelGap", "lineEdit_BlackLabelGap", "lineEdit_VerticalShift",
                             "lineEdit_PrintShift", "lineEdit_DistanceO2PH", "lineEdit_DistanceS2PH",
                             "lineEdit_DistanceB2PH", "lineEdit_DistancePH2T", "lineEdit_NetportTCPPort",
                             "lineEdit_NetportUDPPort", "lineEdit_PaperTime"})
        QTest::newRow(name) << name << "42";
    // Fields that are not numbers of this kind keep what was typed.
    QTest::newRow("lineEdit_WApPort is not repaired") << "lineEdit_WApPort" << "4x2";
    QTest::newRow("lineEdit_ComSN is not repaired") << "lineEdit_ComSN" << "4x2";
}

void TestFieldRepair::everyIntegerFieldIsRepaired()
{
    QFETCH(QString, field);
    QFETCH(QString, shown);
    QLineEdit *e = edit(field.toLatin1().constData());
    enter(e, QStringLiteral("4x2"), Finish::Signal);
    QCOMPARE(e->text(), shown);
}

// ---------------------------------------------------------------- the tip

// The tip sits below the field without taking the focus, and goes after
// about three seconds.
void TestFieldRepair::tipShownBelowFieldForThreeSeconds()
{
    QLineEdit *height = edit("lineEdit_2");
    enter(height, QStringLiteral("2000"));
    QElapsedTimer clock;
    clock.start();

    const QList<QLabel *> tips = visibleTips();
    QCOMPARE(tips.size(), 1);
    QPointer<QLabel> tip = tips.first();
    QCOMPARE(tip->text(), kHeightTip);
    QVERIFY(tip->windowFlags().testFlag(Qt::ToolTip));
    QVERIFY(tip->testAttribute(Qt::WA_ShowWithoutActivating));
    QCOMPARE(tip->pos(), height->mapToGlobal(QPoint(0, height->height())));
    QVERIFY(!tip->isActiveWindow());

    QTRY_VERIFY_WITH_TIMEOUT(tip.isNull(), 10000);
    QVERIFY2(clock.elapsed() >= 2500, qPrintable(QString::number(clock.elapsed())));
    QVERIFY2(clock.elapsed() <= 6000, qPrintable(QString::number(clock.elapsed())));
    QVERIFY(allTips().isEmpty());
}

void TestFieldRepair::secondTipReplacesFirst()
{
    enter(edit("lineEdit"), QStringLiteral("abc"));
    QPointer<QLabel> first = visibleTips().value(0);
    QVERIFY(first);
    // Deliberate spacing: the first tip's own 3 s are a second older than
    // the second's, and must not cut the second one short.
    QTest::qWait(1000);

    enter(edit("lineEdit_2"), QStringLiteral("2000"));
    QElapsedTimer clock;
    clock.start();

    QTRY_VERIFY_WITH_TIMEOUT(first.isNull(), 1000);
    QCOMPARE(visibleTips().size(), 1);
    QPointer<QLabel> second = visibleTips().first();
    QCOMPARE(second->text(), kHeightTip);

    QTRY_VERIFY_WITH_TIMEOUT(second.isNull(), 10000);
    QVERIFY2(clock.elapsed() >= 2500, qPrintable(QString::number(clock.elapsed())));
}

void TestFieldRepair::tabChangeRemovesTip()
{
    auto *tabs = m_window->findChild<QTabWidget *>(QStringLiteral("tabWidget_2"));
    enter(edit("lineEdit"), QStringLiteral("5"));
    QPointer<QLabel> tip = visibleTips().value(0);
    QVERIFY(tip);

    tabs->setCurrentIndex(1);

    // At once, not on the next pass of the event loop.
    QVERIFY(tip.isNull());
    QVERIFY(allTips().isEmpty());

    // Back on the tab, a new tip lives its full time although the removed
    // one's timer runs out meanwhile.
    tabs->setCurrentIndex(0);
    enter(edit("lineEdit"), QStringLiteral("500"));
    QElapsedTimer clock;
    clock.start();
    QPointer<QLabel> next = visibleTips().value(0);
    QVERIFY(next);
    QTRY_VERIFY_WITH_TIMEOUT(next.isNull(), 10000);
    QVERIFY2(clock.elapsed() >= 2500, qPrintable(QString::number(clock.elapsed())));
}

// Destroying the shown window hides it, which takes the focus from the
// field being edited and so finishes its editing: the repair must not run
// on the half-destroyed window.
void TestFieldRepair::windowDestroyedWhileEditing_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("input");
    QTest::newRow("width, tip due") << "lineEdit" << "abc";
    QTest::newRow("height") << "lineEdit_2" << "30";
    QTest::newRow("integer field") << "lineEdit_LabelGap" << "1x2";
}

void TestFieldRepair::windowDestroyedWhileEditing()
{
    QFETCH(QString, field);
    QFETCH(QString, input);
    QApplication::setActiveWindow(m_window);
    QVERIFY(QTest::qWaitForWindowActive(m_window));
    QLineEdit *e = edit(field.toLatin1().constData());
    // The field has a remembered value by then.
    enter(e, QStringLiteral("50"));
    e->setFocus();
    QTRY_VERIFY(e->hasFocus());
    QTest::keyClicks(e, input);

    delete m_window;
    m_window = nullptr;

    QTRY_VERIFY_WITH_TIMEOUT(allTips().isEmpty(), 5000);
}

QTEST_MAIN(TestFieldRepair)
#include "tst_field_repair.moc"
