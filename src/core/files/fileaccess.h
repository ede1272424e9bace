#pragma once

#include <QString>

class QFile;

// Every file the user names (plans, config.ini, report designs, tables) is read only when it
// is a regular file: a FIFO, a device or a directory would block the program or read forever.
namespace Files {

// Opens `file` on `path` for reading when `path` is a regular file, without ever blocking on
// the open; a resource built into the program (":/…") opens as it is. False with the reason
// in `error` otherwise; the file name stays set either way.
bool openForReading(QFile &file, const QString &path, QString *error = nullptr);

// True when `path` exists and is something other than a regular file.
bool isSpecialFile(const QString &path);

// True when both paths name one existing file, whatever the spelling: through links, "..",
// another letter case where the file system ignores case, or a second hard link.
bool sameFile(const QString &first, const QString &second);

} // namespace Files
