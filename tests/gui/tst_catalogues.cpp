// The six translation catalogues: same source texts, every text of the
// code and the forms present and finished, the English rows that must stand
// exactly, and every compiled catalogue loadable from the resources.
#include <QDir>
#include <QDirIterator>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QTranslator>
#include <QXmlStreamReader>

namespace {

struct Message
{
    QString context;
    QString source;
    QString translation;
    QString type;     // "", "unfinished", "vanished", "obsolete"
};

QList<Message> readCatalogue(const QString &path, QString *language = nullptr)
{
    QList<Message> messages;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return messages;
    QXmlStreamReader xml(&file);
    QString context;
    Message current;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            const auto name = xml.name();
            if (name == QLatin1String("TS") && language)
                *language = xml.attributes().value(QLatin1String("language")).toString();
            else if (name == QLatin1String("name"))
                context = xml.readElementText();
            else if (name == QLatin1String("message"))
                current = Message{context, {}, {}, {}};
            else if (name == QLatin1String("source"))
                current.source = xml.readElementText();
            else if (name == QLatin1String("translation")) {
                current.type = xml.attributes().value(QLatin1String("type")).toString();
                current.translation = xml.readElementText();
            }
        } else if (xml.isEndElement() && xml.name() == QLatin1String("message")) {
            messages.append(current);
        }
    }
    return messages;
}

QSet<QString> keys(const QList<Message> &messages)
{
    QSet<QString> result;
    for (const Message &m : messages) {
        if (m.type != QLatin1String("vanished") && m.type != QLatin1String("obsolete"))
            result.insert(m.context + QLatin1Char('|') + m.source);
    }
    return result;
}

const char *const kCatalogues[] = {"zh_TW", "pt_BR", "de", "fr", "nl", "en"};

} // namespace

class TestCatalogues : public QObject
{
    Q_OBJECT

private slots:
    void sameSourcesEverywhere();
    void nothingMissingFromCode();
    void everyEntryFinished();
    void englishRows_data();
    void englishRows();
    void compiledCataloguesLoad();
};

static QString tsPath(const char *code)
{
    return QStringLiteral(LPS_SOURCE_DIR "/app/translations/language_%1.ts").arg(QLatin1String(code));
}

void TestCatalogues::sameSourcesEverywhere()
{
    const QSet<QString> reference = keys(readCatalogue(tsPath("en")));
    QVERIFY(reference.size() > 150);
    for (const char *code : kCatalogues) {
        const QSet<QString> other = keys(readCatalogue(tsPath(code)));
        QSet<QString> missing = reference - other;
        QSet<QString> extra = other - reference;
        QVERIFY2(missing.isEmpty() && extra.isEmpty(),
                 qPrintable(QStringLiteral("%1: missing %2, extra %3")
                                .arg(QLatin1String(code), QStringList(missing.values()).join(QLatin1String(", ")),
                                     QStringList(extra.values()).join(QLatin1String(", ")))));
    }
}

void TestCatalogues::nothingMissingFromCode()
{
    // Extract the texts of the code and the forms afresh and compare.
    QTemporaryDir dir;
    const QString fresh = dir.filePath(QStringLiteral("fresh.ts"));
    // Every product folder: all top-level folders but the ones that hold
    // no user-visible text of the tool.
    const QStringList notProduct = {"tests", "fuzz", "tools", "bench", "scripts", "docs", "packaging", "build"};
    QStringList sources;
    for (const QFileInfo &folder : QDir(QStringLiteral(LPS_SOURCE_DIR)).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        if (!notProduct.contains(folder.fileName()))
            sources << folder.absoluteFilePath();
    }
    QProcess lupdate;
    lupdate.setProcessChannelMode(QProcess::MergedChannels);
    lupdate.start(QStringLiteral(LPS_LUPDATE), QStringList() << QStringLiteral("-silent")
                                                     << QStringLiteral("-extensions")
                                                     << QStringLiteral("cpp,h,ui") << sources
                                                     << QStringLiteral("-ts") << fresh);
    QVERIFY(lupdate.waitForFinished(120000));
    QVERIFY2(lupdate.exitCode() == 0, lupdate.readAll().constData());
    const QSet<QString> fromCode = keys(readCatalogue(fresh));
    QVERIFY(!fromCode.isEmpty());
    for (const char *code : kCatalogues) {
        const QSet<QString> missing = fromCode - keys(readCatalogue(tsPath(code)));
        QVERIFY2(missing.isEmpty(), qPrintable(QStringLiteral("%1 lacks: %2")
                                                   .arg(QLatin1String(code),
                                                        QStringList(missing.values()).join(QLatin1String(" / ")))));
    }
}

void TestCatalogues::everyEntryFinished()
{
    const QHash<QString, QString> languages = {
        {"zh_TW", "zh_TW"}, {"pt_BR", "pt_BR"}, {"de", "de_DE"}, {"fr", "fr_FR"}, {"nl", "nl_NL"}, {"en", "en_US"}};
    for (const char *code : kCatalogues) {
        QString language;
        const QList<Message> messages = readCatalogue(tsPath(code), &language);
        QCOMPARE(language, languages.value(QLatin1String(code)));
        for (const Message &m : messages) {
            if (m.type == QLatin1String("vanished") || m.type == QLatin1String("obsolete"))
                QFAIL(qPrintable(QStringLiteral("%1: stale entry %2").arg(QLatin1String(code), m.source)));
            QVERIFY2(m.type.isEmpty() && !m.translation.isEmpty(),
                     qPrintable(QStringLiteral("%1: unfinished %2 / %3").arg(QLatin1String(code), m.context, m.source)));
        }
    }
}

void TestCatalogues::englishRows_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("english");
    const char *rows[][2] = {
        {"标签机设置工具", "Label printer setup tool"}, {"设置工具", "Setup tool"}, {"错误", "Error"},
        {"处理成功", "Successfully processed"}, {"请确保打印机已进行连接", "Make sure the printer is connected"},
        {"USB通讯出错，请重试", "USB communication error, please try again"},
        {"网络通讯出错，请重试", "Network communication error, please try again"},
        {"蓝牙通讯出错，请重试", "Bluetooth communication error, please try again"},
        {"串口通讯出错，请重试", "Serial communication error, please try again"},
        {"请先打开设备", "Please turn on the device"}, {"设备未打开!", "Device not turned on!"},
        {"请先选中打印列表中的打印机", "Please first select the printer in the print list"},
        {"连接成功！", "The connection is successful!"}, {"连接超时，请重试！", "Connection timed out, please try again!"},
        {"关闭成功！", "Closed successfully!"}, {"请确保通讯设备已开启", "Make sure your communication device is turned on"},
        {"内存分配失败", "Memory allocation failure"},
        {"处理成功，请重启打印机", "Operation successful. Please restart the printer"},
        {"AP模式的wifi密码最少为8位", "Wi-Fi password in AP mode must be at least 8 characters"},
        {"此十六进制字符串格式无效。", "Invalid hexadecimal string format."},
        {"发送失败！请重试", "Sending failed! Please try again"}, {"下载成功", "Download successfully"},
        {"等待打印机指示灯停止闪烁", "Wait for the printer light to stop blinking"},
        {"打开文件失败：%1", "Failed to open file: %1"}, {"向打印机发送数据失败。", "Failed to send data to printer."},
        {"宽度范围20-108mm，请重新输入", "Width range 20–108 mm, please re-enter"},
        {"高度范围10-1778mm，请重新输入", "Height range 10–1778 mm, please re-enter"},
        {"注：1mm = 12dot", "Note: 1mm = 12 dots"}, {"注：1mm = 8dot", "Note: 1mm = 8 dots"},
        {"空闲中", "At leisure"}, {"打印中", "Printing"}, {"缺纸", "Paper out"}, {"卡纸", "cardboard"},
        {"碳带将尽", "The ribbion will run out"}, {"开盖", "uncap"},
        {"定位异常（黑标或缝隙）", "Locating anomalies (black marks or gaps)"}, {"切刀异常", "Cutter anomaly"},
        {"升级异常", "Upgrade exception"},
        {"请确保打印机是否已经安装/连接对应剥离器", "Please ensure the printer has installed/connected the correct peeler"},
        {"WIFI配网", "WiFi Setup"}, {"扫描中...", "Scanning..."}, {"(当前连接)", "(Currently Connected)"},
        {"请刷新列表，或选择手动输入WiFi名称", "Please refresh the list, or manually enter the WiFi name"},
    };
    for (const auto &row : rows)
        QTest::newRow(row[0]) << QString::fromUtf8(row[0]) << QString::fromUtf8(row[1]);
}

void TestCatalogues::englishRows()
{
    QFETCH(QString, source);
    QFETCH(QString, english);
    // Only texts the program already uses have to be in the catalogue;
    // every occurrence (any context) must carry the exact English text.
    const QList<Message> messages = readCatalogue(tsPath("en"));
    int seen = 0;
    for (const Message &m : messages) {
        if (m.source == source) {
            ++seen;
            QCOMPARE(m.translation, english);
        }
    }
    if (seen == 0)
        QSKIP("text not used by the program yet");
}

void TestCatalogues::compiledCataloguesLoad()
{
    for (const char *code : kCatalogues) {
        QTranslator translator;
        QVERIFY2(translator.load(QStringLiteral("language_%1.qm").arg(QLatin1String(code)),
                                 QStringLiteral(":/translations/")),
                 code);
        QVERIFY(!translator.isEmpty());
    }
    QTranslator english;
    QVERIFY(english.load(QStringLiteral("language_en.qm"), QStringLiteral(":/translations/")));
    QCOMPARE(english.translate("QObject", "标签机设置工具"), QStringLiteral("Label printer setup tool"));
}

QTEST_MAIN(TestCatalogues)
#include "tst_catalogues.moc"
