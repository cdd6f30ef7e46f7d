// The connectivity pages and the settings restore dialog in Chinese and in
// English: every caption, button text and group title fits the room given
// to it (a clipped caption is a form that needs widening),
// and, with LPS_SCREENSHOT_DIR set, they are saved as pictures there
// (docs/screenshots holds the current ones).
#include "app/startup.h"
#include "mainwindow.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBox>
#include <QTranslator>

class TestCaptions : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_settings.path()); }

    void captions_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("page");
        // The form's pages: Wi-Fi (with its IP group), Ethernet, Bluetooth.
        const char *const pages[][2] = {{"page_6", "wifi"}, {"page_2", "ethernet"}, {"page_7", "bluetooth"}};
        for (const QString language : {"zh_CN", "en"}) {
            for (const auto &[page, name] : pages)
                QTest::newRow(qPrintable(QStringLiteral("%1-%2").arg(name, language))) << language << page;
            QTest::newRow(qPrintable("restore-" + language)) << language << "restore";
        }
    }

    void captions()
    {
        QFETCH(QString, language);
        QFETCH(QString, page);
        QTranslator translator;
        const StartupOutcome outcome = configureApplication(*qApp, translator, {"labelsetup", language},
                                                            QLocale(QStringLiteral("zh_CN")));
        QCOMPARE(outcome.catalogueLoaded, language != "zh_CN");
        MainWindow window;
        window.setWindowTitle(mainWindowTitle());
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        // The restore dialog with another printer's file: the line above
        // the table, skipped rows, a password by its length.
        std::unique_ptr<QDialog> dialog;
        QWidget *shown = window.findChild<QWidget *>(page);
        QStringList clipped;
        if (page == "restore") {
            const settings::Values printer = {{"serial.serial_number", "SN20261206001"}, {"print.speed", "2"},
                                              {"print.label_gap_mm", "3.000"}, {"wifi.sta.password", "secret123"},
                                              {"ethernet.address", "192.168.1.100"}};
            const settings::Values file = {{"serial.serial_number", "SN-OTHER"}, {"print.speed", "4"},
                                           {"print.label_gap_mm", "2.000"}, {"wifi.sta.password", "another-one"},
                                           {"ethernet.address", "192.168.1.101"}, {"print.method", "thermal"}};
            dialog = window.restoreDialog(restore::compare(printer, file, {8, false}), {"SN-OTHER", "SN20261206001"});
            dialog->show();
            QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
            shown = dialog.get();
        } else {
            window.findChild<QToolBox *>("toolBox_PrinterSetting")->setCurrentWidget(shown);
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);

        int measured = 0;
        for (QWidget *w : shown->findChildren<QWidget *>()) {
            if (!w->isVisible())
                continue;
            const QFontMetrics metrics(w->font());
            int needed = 0, room = w->contentsRect().width();
            QString text;
            if (auto *label = qobject_cast<QLabel *>(w); label && label->wordWrap()) {
                // A wrapping caption is clipped when its lines need more
                // height than it has.
                text = label->text();
                needed = label->heightForWidth(room);
                room = label->contentsRect().height();
            } else if (label) {
                text = label->text();
                needed = metrics.horizontalAdvance(text);
            } else if (auto *button = qobject_cast<QAbstractButton *>(w)) {
                text = button->text();
                needed = button->sizeHint().width();
                room = button->width();
            } else if (auto *group = qobject_cast<QGroupBox *>(w)) {
                text = group->title();
                needed = metrics.horizontalAdvance(text) + 16;
            } else if (auto *combo = qobject_cast<QComboBox *>(w)) {
                text = combo->currentText();
                needed = combo->minimumSizeHint().width();
                room = combo->width();
            }
            measured += text.isEmpty() ? 0 : 1;
            if (needed > room)
                clipped << QStringLiteral("%1 \"%2\" needs %3 px, has %4").arg(w->objectName(), text).arg(needed).arg(room);
        }
        QVERIFY2(clipped.isEmpty(), qPrintable(clipped.join("; ")));
        QVERIFY2(measured >= (dialog ? 3 : 10), qPrintable(QString::number(measured)));

        const QString dir = qEnvironmentVariable("LPS_SCREENSHOT_DIR");
        if (!dir.isEmpty())
            QVERIFY(shown->window()->grab().save(QStringLiteral("%1/%2.png").arg(dir, QTest::currentDataTag())));
        QCoreApplication::removeTranslator(&translator);
    }

private:
    QTemporaryDir m_settings;
};

QTEST_MAIN(TestCaptions)
#include "tst_captions.moc"
