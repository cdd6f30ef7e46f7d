// The six translation catalogues: each holds exactly the texts of the code
// and the forms, every entry finished and none stale. (That every compiled
// catalogue loads from the resources and translates is tst_startup's.)
#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QStringList kCatalogues = {"zh_TW", "pt_BR", "de", "fr", "nl", "en"};

QStringList lines(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()).split('\n') : QStringList();
}

} // namespace

class TestCatalogues : public QObject
{
    Q_OBJECT

private slots:
    // lupdate over every product folder (all top-level folders but those
    // with no text of the tool), run on copies of the catalogues, must find
    // nothing to add and nothing gone; every entry is translated.
    void catalogues()
    {
        const QStringList notProduct = {"tests", "fuzz", "tools", "bench", "scripts", "docs", "packaging", "build"};
        QStringList arguments = {"-silent", "-locations", "none", "-extensions", "cpp,h,ui"};
        for (const QFileInfo &folder : QDir(LPS_SOURCE_DIR).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot)) {
            if (!notProduct.contains(folder.fileName()))
                arguments << folder.absoluteFilePath();
        }
        QTemporaryDir dir;
        arguments << "-ts";
        for (const QString &code : kCatalogues) {
            arguments << dir.filePath("language_" + code + ".ts");
            QVERIFY(QFile::copy(LPS_SOURCE_DIR "/app/translations/language_" + code + ".ts", arguments.last()));
        }
        QProcess lupdate;
        lupdate.setProcessChannelMode(QProcess::MergedChannels);
        lupdate.start(LPS_LUPDATE, arguments);
        QVERIFY(lupdate.waitForFinished(120000));
        QVERIFY2(lupdate.exitCode() == 0, lupdate.readAll().constData());

        // Unfinished, vanished and obsolete entries carry a type.
        const QRegularExpression unfinished("type=\"|<translation>\\s*</translation>");
        for (const QString &code : kCatalogues) {
            const QStringList old = lines(LPS_SOURCE_DIR "/app/translations/language_" + code + ".ts");
            const QStringList now = lines(dir.filePath("language_" + code + ".ts"));
            const QStringList changed = (QSet(now.begin(), now.end()) - QSet(old.begin(), old.end())).values();
            QVERIFY2(now == old, qPrintable(code + ": lupdate changes " + changed.join(" / ")));
            QVERIFY2(old.filter(unfinished).isEmpty() && old.filter("<translation/>").isEmpty(),
                     qPrintable(code + ": " + old.filter(unfinished).join(" / ")));
        }
    }
};

QTEST_MAIN(TestCatalogues)
#include "tst_catalogues.moc"
