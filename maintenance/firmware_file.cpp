#include "maintenance/firmware_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <cstring>
#include <memory>

namespace firmware {
namespace {

constexpr qint64 kBlock = aes::kBlockSize;
// Reads of 4 MiB, a whole number of blocks: a 16 MiB file takes four
// reads and writes and is never held whole.
constexpr qint64 kChunkSize = qint64(4) << 20;
static_assert(kChunkSize % kBlock == 0);

const uint8_t *bytes(const char *p)
{
    return reinterpret_cast<const uint8_t *>(p);
}

uint8_t *bytes(char *p)
{
    return reinterpret_cast<uint8_t *>(p);
}

// The final partial block of n (1..15) bytes, zero-filled and decrypted
// into `plain`. Returns how many of plain's bytes the file keeps: n less
// the zero bytes at the end of plain's first n.
qint64 decryptPartialBlock(const aes::Decryptor &decryptor, const char *tail, qint64 n,
                           uint8_t plain[aes::kBlockSize])
{
    uint8_t block[aes::kBlockSize] = {};
    std::memcpy(block, tail, std::size_t(n));
    decryptor.decrypt(block, plain, 1);
    while (n > 0 && plain[n - 1] == 0)
        --n;
    return n;
}

// "<folder>/<name without last suffix>_decrypted" and the suffix to end in.
QString stem(const QFileInfo &chosen)
{
    return chosen.absoluteDir().filePath(chosen.completeBaseName() + QStringLiteral("_decrypted"));
}

QString suffixFor(const QFileInfo &chosen, FileKind kind)
{
    if (kind == FileKind::Firmware)
        return QStringLiteral("hex");
    const QString suffix = chosen.suffix();
    return suffix.isEmpty() ? QStringLiteral("bin") : suffix;
}

// A new file, owner read/write only from its creation: the usual name if
// it is free (an exclusive create, so not even a dangling link there is
// followed), else a unique one beside it. QTemporaryFile creates its
// files exclusively and with 0600 too.
std::unique_ptr<QFile> createOutput(const QString &chosenPath, FileKind kind, QString &path,
                                    QString &error)
{
    path = decryptedFileName(chosenPath, kind);
    auto file = std::make_unique<QFile>(path);
    if (file->open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered,
                   QFileDevice::ReadOwner | QFileDevice::WriteOwner))
        return file;
    const QFileInfo chosen(chosenPath);
    auto unique = std::make_unique<QTemporaryFile>(stem(chosen) + QStringLiteral("-XXXXXX.")
                                                   + suffixFor(chosen, kind));
    unique->setAutoRemove(false);
    if (unique->open()) {
        path = unique->fileName();
        return unique;
    }
    path.clear();
    error = unique->errorString();
    return {};
}

// Streams `in` decrypted into `out`. Returns the error text, empty when
// all went well.
QString copyDecrypted(QFile &in, QFile &out, const aes::Decryptor &decryptor)
{
    QByteArray buffer(kChunkSize, Qt::Uninitialized);
    char *data = buffer.data();
    qint64 held = 0; // bytes read but not yet decrypted: a partial block
    for (;;) {
        const qint64 got = in.read(data + held, kChunkSize - held);
        if (got < 0)
            return in.errorString();
        if (got == 0)
            break;
        held += got;
        const qint64 whole = held - held % kBlock;
        decryptor.decrypt(bytes(data), bytes(data), std::size_t(whole / kBlock));
        if (out.write(data, whole) != whole)
            return out.errorString();
        held -= whole;
        std::memmove(data, data + whole, std::size_t(held));
    }
    if (held > 0) {
        uint8_t plain[aes::kBlockSize];
        const qint64 kept = decryptPartialBlock(decryptor, data, held, plain);
        if (out.write(reinterpret_cast<const char *>(plain), kept) != kept)
            return out.errorString();
    }
    return out.flush() ? QString() : out.errorString();
}

} // namespace

QString decryptedFileName(const QString &chosenPath, FileKind kind)
{
    const QFileInfo chosen(chosenPath);
    return stem(chosen) + QLatin1Char('.') + suffixFor(chosen, kind);
}

QByteArray decryptImage(const QByteArray &encrypted, aes::Engine engine)
{
    const aes::Decryptor decryptor(kFileKey, engine);
    const qint64 whole = encrypted.size() - encrypted.size() % kBlock;
    QByteArray plain(whole, Qt::Uninitialized);
    decryptor.decrypt(bytes(encrypted.constData()), bytes(plain.data()), std::size_t(whole / kBlock));
    if (whole < encrypted.size()) {
        uint8_t block[aes::kBlockSize];
        const qint64 kept = decryptPartialBlock(decryptor, encrypted.constData() + whole,
                                                encrypted.size() - whole, block);
        plain.append(reinterpret_cast<const char *>(block), kept);
    }
    return plain;
}

DecryptResult decryptToTemporary(const QString &chosenPath, FileKind kind, aes::Engine engine)
{
    DecryptResult result;
    QFile in(chosenPath);
    if (!in.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
        result.error = in.errorString();
        return result;
    }
    const std::unique_ptr<QFile> out = createOutput(chosenPath, kind, result.path, result.error);
    if (!out)
        return result;
    result.error = copyDecrypted(in, *out, aes::Decryptor(kFileKey, engine));
    out->close();
    result.ok = result.error.isEmpty();
    if (!result.ok) {
        QFile::remove(result.path);
        result.path.clear();
    }
    return result;
}

} // namespace firmware
