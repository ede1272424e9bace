#include "core/settings/programsettings.h"

#include "core/files/fileaccess.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

namespace {

const QString nitrateChecksName = QStringLiteral("nitrateChecks");

} // namespace

ProgramSettings ProgramSettings::read(QIODevice &device)
{
    ProgramSettings settings;
    while (!device.atEnd()) {
        const QString line = QString::fromUtf8(device.readLine()).trimmed();
        const QString name = line.section(QLatin1Char('='), 0, 0).trimmed();
        const QString value = line.section(QLatin1Char('='), 1).trimmed();
        if (name != nitrateChecksName)
            continue;
        if (value == QLatin1String("true"))
            settings.nitrateChecks = true;
        else if (value == QLatin1String("false"))
            settings.nitrateChecks = false;
    }
    return settings;
}

ProgramSettings ProgramSettings::readFile(const QString &path)
{
    QFile file;
    if (!Files::openForReading(file, path))
        return {};
    return read(file);
}

bool ProgramSettings::write(QIODevice &device) const
{
    const QString text = nitrateChecksName + QLatin1Char('=')
        + (nitrateChecks ? QStringLiteral("true") : QStringLiteral("false")) + QLatin1Char('\n');
    const QByteArray bytes = text.toUtf8();
    return device.write(bytes) == bytes.size();
}

bool ProgramSettings::writeFile(const QString &path, QString *error) const
{
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && write(file) && file.commit())
        return true;
    if (error) {
        *error = QStringLiteral("A(z) %1 beállítási fájl nem írható: %2")
                     .arg(QDir::toNativeSeparators(path), file.errorString());
    }
    return false;
}
