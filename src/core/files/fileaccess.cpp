#include "core/files/fileaccess.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace Files {

namespace {

QString notRegularText()
{
    return QStringLiteral("nem közönséges fájl (hanem mappa, FIFO vagy eszköz)");
}

void setError(QString *error, const QString &text)
{
    if (error)
        *error = text;
}

#ifdef Q_OS_UNIX
// A descriptor for reading a regular file. O_NONBLOCK keeps the open of a FIFO from waiting
// for a writer; it means nothing for a regular file and is cleared before reading.
int openDescriptor(const QString &path, QString *error)
{
    const int descriptor = ::open(QFile::encodeName(path).constData(),
                                  O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0) {
        setError(error, qt_error_string(errno));
        return -1;
    }
    struct stat status = {};
    if (::fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(descriptor);
        setError(error, notRegularText());
        return -1;
    }
    ::fcntl(descriptor, F_SETFL, ::fcntl(descriptor, F_GETFL) & ~O_NONBLOCK);
    return descriptor;
}
#endif

} // namespace

bool openForReading(QFile &file, const QString &path, QString *error)
{
    file.setFileName(path);
    // Built into the program: never a special file.
    if (path.startsWith(QLatin1Char(':'))) {
        if (file.open(QIODevice::ReadOnly))
            return true;
        setError(error, file.errorString());
        return false;
    }
#ifdef Q_OS_UNIX
    const int descriptor = openDescriptor(path, error);
    if (descriptor < 0)
        return false;
    if (!file.open(descriptor, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(descriptor);
        setError(error, file.errorString());
        return false;
    }
    return true;
#else
    if (isSpecialFile(path)) {
        setError(error, notRegularText());
        return false;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        setError(error, file.errorString());
        return false;
    }
    return true;
#endif
}

bool isSpecialFile(const QString &path)
{
    const QFileInfo info(path);
    return info.exists() && !info.isFile();
}

bool sameFile(const QString &first, const QString &second)
{
#ifdef Q_OS_UNIX
    struct stat a = {};
    struct stat b = {};
    if (::stat(QFile::encodeName(first).constData(), &a) != 0
        || ::stat(QFile::encodeName(second).constData(), &b) != 0) {
        return false;
    }
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
#else
    const QString canonical = QFileInfo(first).canonicalFilePath();
    return !canonical.isEmpty()
           && canonical.compare(QFileInfo(second).canonicalFilePath(), Qt::CaseInsensitive) == 0;
#endif
}

} // namespace Files
