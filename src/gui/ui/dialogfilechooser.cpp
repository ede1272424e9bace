#include "gui/ui/dialogfilechooser.h"

#include <QFileDialog>
#include <QRegularExpression>

QString DialogFileChooser::dialogFilter(const QString &filter)
{
    // Each "Description|pattern" pair becomes one filter line; a pattern shown in the
    // description already ("(.tap)", "(*.tap)") gives way to the one that is used.
    QStringList lines;
    const QStringList parts = filter.split(QLatin1Char('|'));
    for (qsizetype at = 0; at + 1 < parts.size(); at += 2) {
        QString description = parts[at];
        description.remove(QRegularExpression(QStringLiteral("\\s*\\([^()]*\\)\\s*$")));
        lines << QStringLiteral("%1 (%2)").arg(description.trimmed(), parts[at + 1]);
    }
    return lines.isEmpty() ? filter : lines.join(QStringLiteral(";;"));
}

QString DialogFileChooser::openFileName(const QString &caption, const QString &directory,
                                        const QString &filter)
{
    return QFileDialog::getOpenFileName(m_parent, caption, directory, dialogFilter(filter));
}

QStringList DialogFileChooser::openFileNames(const QString &caption, const QString &directory,
                                             const QString &filter)
{
    return QFileDialog::getOpenFileNames(m_parent, caption, directory, dialogFilter(filter));
}

QString DialogFileChooser::saveFileName(const QString &caption, const QString &directory,
                                        const QString &filter)
{
    return QFileDialog::getSaveFileName(m_parent, caption, directory, dialogFilter(filter));
}

QString DialogFileChooser::existingDirectory(const QString &caption, const QString &directory)
{
    return QFileDialog::getExistingDirectory(m_parent, caption, directory);
}
