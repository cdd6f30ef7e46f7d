// Wall time of decrypting a 16 MiB firmware file into its temporary copy
// (decryptToTemporary, file to file) against `openssl enc -d -aes-128-ecb
// -nopad` on the same file, process start included; best of three each.
// Both outputs must be equal. Exit code 1 when ours takes more than four
// times openssl's time; the portable engine's time is shown for
// information only.
#include "maintenance/firmware_file.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

namespace {

constexpr qint64 kFileSize = qint64(16) << 20;
constexpr double kAllowedRatio = 4.0;
constexpr int kRuns = 3;

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Best wall time of kRuns calls of `run`, in ms; -1 when a call fails.
template <typename Run>
double bestMs(Run run)
{
    double best = -1;
    for (int i = 0; i < kRuns; ++i) {
        QElapsedTimer clock;
        clock.start();
        if (!run())
            return -1;
        const double ms = double(clock.nsecsElapsed()) / 1e6;
        best = best < 0 ? ms : std::min(best, ms);
    }
    return best;
}

// Each run removes the previous run's output first, so that every run
// creates its file anew (the removal is timed on both sides).
double oursMs(const QString &input, aes::Engine engine, QString &output)
{
    return bestMs([&] {
        if (!output.isEmpty())
            QFile::remove(output);
        const firmware::DecryptResult result =
            firmware::decryptToTemporary(input, firmware::FileKind::Firmware, engine);
        if (!result.ok)
            std::fprintf(stderr, "decryption failed: %s\n", qPrintable(result.error));
        output = result.path;
        return result.ok;
    });
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString input = dir.filePath(QStringLiteral("firmware.bin"));
    {
        QByteArray data(kFileSize, Qt::Uninitialized);
        QRandomGenerator::global()->fillRange(reinterpret_cast<quint32 *>(data.data()),
                                              data.size() / 4);
        QFile file(input);
        if (!dir.isValid() || !file.open(QIODevice::WriteOnly) || file.write(data) != data.size()) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(input));
            return 2;
        }
    }

    const QString opensslOutput = dir.filePath(QStringLiteral("openssl.out"));
    const QByteArray key(reinterpret_cast<const char *>(firmware::kFileKey), sizeof firmware::kFileKey);
    const QStringList arguments{QStringLiteral("enc"), QStringLiteral("-d"), QStringLiteral("-aes-128-ecb"),
                                QStringLiteral("-nopad"), QStringLiteral("-K"), QString::fromLatin1(key.toHex()),
                                QStringLiteral("-in"), input, QStringLiteral("-out"), opensslOutput};
    const double openssl = bestMs([&] {
        QFile::remove(opensslOutput);
        return QProcess::execute(QStringLiteral("openssl"), arguments) == 0;
    });
    QString output, portableOutput;
    const double ours = oursMs(input, aes::Engine::Fastest, output);
    const double portable = oursMs(input, aes::Engine::Portable, portableOutput);
    if (openssl < 0 || ours < 0 || portable < 0) {
        std::fprintf(stderr, "a run failed (is openssl installed?)\n");
        return 2;
    }
    const QByteArray expected = contents(opensslOutput);
    if (expected.size() != kFileSize || contents(output) != expected
        || contents(portableOutput) != expected) {
        std::fprintf(stderr, "the decrypted files differ from openssl's\n");
        return 3;
    }

    const double ratio = ours / openssl;
    std::printf("16 MiB file to file, best of %d wall times:\n", kRuns);
    std::printf("  openssl enc -d -aes-128-ecb   %8.1f ms\n", openssl);
    std::printf("  decryptToTemporary            %8.1f ms  %.2f x openssl (limit %.0f x), %s\n", ours,
                ratio, kAllowedRatio,
                aes::Decryptor::hardwareAvailable() ? "AES instructions" : "no AES instructions: portable");
    std::printf("  same, portable engine         %8.1f ms  %.2f x openssl (for information)\n", portable,
                portable / openssl);
    return ratio <= kAllowedRatio ? 0 : 1;
}
