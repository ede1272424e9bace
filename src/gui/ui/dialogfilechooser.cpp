#include "gui/ui/dialogfilechooser.h"

#include <QFileDialog>
#include <QRegularExpression>

QString DialogFileChooser::dialogFilter(const QString &filter)
{
    // Each "Description|pattern" pair becomes one filter line; a pattern shown in the
    // description already ("(.tap)", "(*.tap)") gives way to the one that is used, while
    // other words in brackets ("(PDF)") stay. The dialog separates patterns by blanks.
    static const QRegularExpression shownPattern(
        QStringLiteral("\\s*\\(\\*?\\.[^()]*\\)\\s*$"));
    QStringList lines;
    const QStringList parts = filter.split(QLatin1Char('|'));
    for (qsizetype at = 0; at + 1 < parts.size(); at += 2) {
        QString description = parts[at];
        description.remove(shownPattern);
        QString patterns = parts[at + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        lines << QStringLiteral("%1 (%2)").arg(description.trimmed(), patterns);
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

QString DialogFileChooser::saveFileNameWithFilter(const QString &caption, const QString &directory,
                                                  const QString &filter, int *chosenFilter)
{
    const QString lines = dialogFilter(filter);
    QString selected;
    const QString path = QFileDialog::getSaveFileName(m_parent, caption, directory, lines,
                                                      &selected);
    if (chosenFilter)
        *chosenFilter = int(lines.split(QStringLiteral(";;")).indexOf(selected));
    return path;
}
