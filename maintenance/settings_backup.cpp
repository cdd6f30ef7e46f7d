#include "maintenance/settings_backup.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

namespace backup {

namespace {

QString safeSerial(const QString &serialNumber)
{
    // A serial number comes from the printer: nothing in it may reach
    // outside the folder or look like another printer's prefix.
    QString safe;
    for (const QChar c : serialNumber.left(64)) {
        const bool plain = (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
        safe += plain ? c : QChar(u'-');
    }
    return safe.isEmpty() ? QStringLiteral("unknown") : safe;
}

} // namespace

Written writeNewFile(const QString &path, const QByteArray &content, bool ownerOnly)
{
    QFile file(path);
    const QFileDevice::Permissions permissions =
        ownerOnly ? QFileDevice::ReadOwner | QFileDevice::WriteOwner
                  : QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther;
    // NewOnly never opens a file someone else put there.
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly, permissions))
        return {path, file.errorString()};
    if (file.write(content) != content.size() || !file.flush()) {
        const QString why = file.errorString();
        file.close();
        file.remove();
        return {path, why};
    }
    file.close();
    return {path, {}};
}

QString fileName(const QString &serialNumber, const QDateTime &when)
{
    return QStringLiteral("%1_%2.json").arg(safeSerial(serialNumber), when.toString(QStringLiteral("yyyyMMdd-HHmmss-zzz")));
}

QStringList backupsOf(const QString &folder, const QString &serialNumber)
{
    const QRegularExpression ours(QStringLiteral("^%1_\\d{8}-\\d{6}-\\d{3}\\.json$")
                                      .arg(QRegularExpression::escape(safeSerial(serialNumber))));
    QStringList names = QDir(folder).entryList(QDir::Files, QDir::Name);
    names = names.filter(ours);
    QStringList paths;
    for (const QString &name : std::as_const(names))
        paths << QDir(folder).filePath(name);
    return paths;
}

Written writeKept(const QString &folder, const QString &serialNumber, const QDateTime &when,
                  const QByteArray &content, bool ownerOnly)
{
    QDir dir(folder);
    if (!dir.exists()) {
        if (!dir.mkpath(QStringLiteral(".")))
            return {folder, QStringLiteral("cannot create the folder")};
        QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }
    // A backup within the same millisecond as the last one is named a
    // millisecond later, so that names keep sorting by time.
    Written written = writeNewFile(dir.filePath(fileName(serialNumber, when)), content, ownerOnly);
    for (int n = 1; !written.ok() && QFile::exists(written.path) && n < 1000; ++n)
        written = writeNewFile(dir.filePath(fileName(serialNumber, when.addMSecs(n))), content, ownerOnly);
    if (!written.ok())
        return written;
    QStringList kept = backupsOf(folder, serialNumber);
    while (kept.size() > kKept)
        QFile::remove(kept.takeFirst());
    return written;
}

} // namespace backup
