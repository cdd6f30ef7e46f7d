// AES-128 block decryption against published vectors in both engines, and
// firmware/font files decrypted into their temporary copies, checked
// against openssl as the oracle. Runs with umask 0, so that a file the
// code does not itself create owner-only shows.
#include "bytes.h"
#include "maintenance/firmware_file.h"

#include <QDir>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

using firmware::FileKind;

namespace {

const QString kKeyHex = QStringLiteral("383034323731363335706c6d6f6b6e79"); // "804271635plmokny"
const QList<aes::Engine> kEngines{aes::Engine::Portable, aes::Engine::Fastest};
const QFile::Permissions kOwnerReadWrite =
    QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser;

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("unreadable");
}

QByteArray randomBytes(qsizetype size) // size: a multiple of 4
{
    QByteArray bytes(size, Qt::Uninitialized);
    QRandomGenerator(quint32(size)).fillRange(reinterpret_cast<quint32 *>(bytes.data()), size / 4);
    return bytes;
}

} // namespace

class TestAes : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { ::umask(0); }

    // FIPS-197 appendix C.1, through the one-block call and both engines
    // (in place).
    void block()
    {
        const QByteArray key = hex("000102030405060708090a0b0c0d0e0f");
        const QByteArray cipher = hex("69c4e0d86a7b0430d8cdb78070b4c55a");
        const QByteArray plain = hex("00112233445566778899aabbccddeeff");
        unsigned char out[16] = {};
        AES128_ECB_decrypt(raw(cipher), raw(key), out);
        QCOMPARE(toBytes(out, 16), plain);
        for (aes::Engine engine : kEngines) {
            const aes::Decryptor decryptor(raw(key), engine);
            QCOMPARE(decryptor.usesHardware(),
                     engine == aes::Engine::Fastest && aes::Decryptor::hardwareAvailable());
            QByteArray inPlace = cipher;
            auto *bytes = reinterpret_cast<unsigned char *>(inPlace.data());
            decryptor.decrypt(bytes, bytes, 1);
            QCOMPARE(inPlace, plain);
        }
    }

    // `head` random bytes (whole blocks, decrypted by openssl) followed by
    // `rest`, whose decryption `restPlain` was taken from openssl too.
    void files_data()
    {
        QTest::addColumn<int>("head");
        QTest::addColumn<QByteArray>("rest");
        QTest::addColumn<QByteArray>("restPlain");
        const QByteArray blockEndingIn00 = hex("1201") + QByteArray(14, '\0');
        const QByteArray plainEndingIn00 = hex("3faf3108a943216ec2f44f08dfafaf00");
        QTest::newRow("empty") << 0 << QByteArray() << QByteArray();
        QTest::newRow("tail decrypting to 00: nothing") << 16 << hex("15") << QByteArray();
        QTest::newRow("tail ending in 00 loses it") << 16 << hex("8200") << hex("7c");
        QTest::newRow("tail keeps a leading 00") << 0 << hex("1500") << hex("00a7");
        QTest::newRow("whole block keeps its 00") << 0 << blockEndingIn00 << plainEndingIn00;
        QTest::newRow("8 MiB, a block, a tail")
            << (8 << 20) << blockEndingIn00 + hex("8200") << plainEndingIn00 + hex("7c");
    }
    void files()
    {
        QFETCH(int, head);
        QFETCH(QByteArray, rest);
        QFETCH(QByteArray, restPlain);
        if (QStandardPaths::findExecutable(QStringLiteral("openssl")).isEmpty())
            QSKIP("openssl is not installed");
        QTemporaryDir dir;
        const QString chosen = dir.filePath(QStringLiteral("fw.bin"));
        const QString oracle = dir.filePath(QStringLiteral("openssl.out"));
        const QByteArray headBytes = randomBytes(head);
        writeFile(chosen, headBytes);
        QCOMPARE(QProcess::execute(QStringLiteral("openssl"),
                                   {"enc", "-d", "-aes-128-ecb", "-nopad", "-K", kKeyHex, "-in", chosen, "-out", oracle}),
                 0);
        const QByteArray expected = readFile(oracle) + restPlain;
        writeFile(chosen, headBytes + rest);
        // The first run takes the usual name. The second finds a dangling link
        // there, which it must neither follow nor replace, and picks another.
        const QString usual = firmware::decryptedFileName(chosen, FileKind::Firmware);
        const QString linkTarget = dir.filePath(QStringLiteral("elsewhere"));
        for (aes::Engine engine : kEngines) {
            QCOMPARE(firmware::decryptImage(headBytes + rest, engine), expected);
            const firmware::DecryptResult result = firmware::decryptToTemporary(chosen, FileKind::Firmware, engine);
            QVERIFY2(result.ok, qPrintable(result.error));
            QCOMPARE(result.path == usual, engine == kEngines.first());
            QVERIFY(result.path.startsWith(dir.filePath(QStringLiteral("fw_decrypted"))) && result.path.endsWith(".hex"));
            QCOMPARE(QFile::permissions(result.path), kOwnerReadWrite);
            QCOMPARE(readFile(result.path), expected);
            if (result.path == usual)
                QVERIFY(QFile::remove(usual) && QFile::link(linkTarget, usual));
        }
        QVERIFY(QFileInfo(usual).isSymLink() && !QFileInfo::exists(linkTarget));
    }

    void naming_data()
    {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<bool>("font");
        QTest::addColumn<QString>("name");
        QTest::newRow("firmware, last suffix") << "/d/a.b.bin" << false << "/d/a.b_decrypted.hex";
        QTest::newRow("font, last suffix") << "/d/a.b.bin" << true << "/d/a.b_decrypted.bin";
        QTest::newRow("font .TTF") << "/d/F.TTF" << true << "/d/F_decrypted.TTF";
        QTest::newRow("font, no suffix") << "/d/font" << true << "/d/font_decrypted.bin";
        QTest::newRow("relative") << "sub/fw.bin" << false << QDir::currentPath() + "/sub/fw_decrypted.hex";
    }
    void naming()
    {
        QFETCH(QString, chosen);
        QFETCH(bool, font);
        QFETCH(QString, name);
        QCOMPARE(firmware::decryptedFileName(chosen, font ? FileKind::Font : FileKind::Firmware), name);
    }

    // Nothing is created when the input cannot be opened or its folder
    // takes no new file (/proc, whatever the user's rights).
    void failures()
    {
        QTemporaryDir dir;
        for (const QString &chosen : {dir.filePath(QStringLiteral("missing.bin")), QStringLiteral("/proc/version")}) {
            const firmware::DecryptResult result = firmware::decryptToTemporary(chosen, FileKind::Font);
            QVERIFY(!result.ok && result.path.isEmpty() && !result.error.isEmpty());
            QVERIFY(!QFileInfo::exists(firmware::decryptedFileName(chosen, FileKind::Font)));
        }
        QVERIFY(QDir(dir.path()).isEmpty());
    }

    // A write refused midway (file size limit) leaves no partial file.
    void lostWriteLeavesNothing()
    {
        QTemporaryDir dir;
        const QString chosen = dir.filePath(QStringLiteral("fw.bin"));
        writeFile(chosen, randomBytes(2 << 20));
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit saved = {};
        QCOMPARE(::getrlimit(RLIMIT_FSIZE, &saved), 0);
        const rlimit low = {1 << 20, saved.rlim_max};
        QCOMPARE(::setrlimit(RLIMIT_FSIZE, &low), 0);
        const firmware::DecryptResult result = firmware::decryptToTemporary(chosen, FileKind::Firmware);
        ::setrlimit(RLIMIT_FSIZE, &saved);
        QVERIFY(!result.ok && result.path.isEmpty() && !result.error.isEmpty());
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"fw.bin"});
    }
};

QTEST_GUILESS_MAIN(TestAes)
#include "tst_aes.moc"
