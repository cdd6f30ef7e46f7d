// Settings backups as files: a new file the operator names (never one
// that is there already), and the backups the tool keeps by itself in its
// data folder before a firmware download, the last ten of each printer.
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>

namespace backup {

// How many backups of one printer the data folder keeps.
inline constexpr int kKept = 10;

struct Written
{
    QString path;
    QString error;   // why not, in the system's words; empty on success
    bool ok() const { return error.isEmpty(); }
};

// Writes `content` into a new file at `path`: never into one that exists,
// readable by its owner only (from the moment it exists) when it holds
// passwords; a write that fails removes the file it made.
Written writeNewFile(const QString &path, const QByteArray &content, bool ownerOnly);

// The name of a backup of the printer with this serial number taken at
// `when`: "<serial>_<yyyyMMdd-HHmmss-zzz>.json", the serial number cut to
// the characters a file name can safely hold ("unknown" when none is
// left). Names of one printer sort by time.
QString fileName(const QString &serialNumber, const QDateTime &when);

// The backups of one printer in `folder`, oldest first: only files the
// tool names so.
QStringList backupsOf(const QString &folder, const QString &serialNumber);

// Writes a backup into `folder` (created readable by its owner only when
// missing) and removes the oldest backups of that printer beyond kKept.
Written writeKept(const QString &folder, const QString &serialNumber, const QDateTime &when,
                  const QByteArray &content, bool ownerOnly);

} // namespace backup
