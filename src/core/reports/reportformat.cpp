#include "core/reports/reportformat.h"

#include <QFileInfo>

std::optional<ReportFormat> reportFormatForPath(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix();
    for (const ReportFormatChoice &choice : reportFormatChoices()) {
        for (const QString &pattern : choice.patterns) {
            // Every pattern is "*.ext".
            if (suffix.compare(pattern.mid(2), Qt::CaseInsensitive) == 0)
                return choice.format;
        }
    }
    return std::nullopt;
}

const QList<ReportFormatChoice> &reportFormatChoices()
{
    static const QList<ReportFormatChoice> choices = {
        {ReportFormat::Pdf, QStringLiteral("Adobe Acrobat (PDF)"), {QStringLiteral("*.pdf")}},
        {ReportFormat::Rtf, QStringLiteral("Rich Text Format (RTF)"), {QStringLiteral("*.rtf")}},
        {ReportFormat::Text, QStringLiteral("Plain Text (TXT)"), {QStringLiteral("*.txt")}},
        {ReportFormat::Html, QStringLiteral("Web Page (HTML)"),
         {QStringLiteral("*.html"), QStringLiteral("*.htm")}},
    };
    return choices;
}

QString reportFileFilter()
{
    QStringList parts;
    for (const ReportFormatChoice &choice : reportFormatChoices())
        parts << choice.description << choice.patterns.join(QLatin1Char(';'));
    return parts.join(QLatin1Char('|'));
}

ReportTarget reportTargetFor(const QString &path, ReportFormat chosen)
{
    if (const std::optional<ReportFormat> named = reportFormatForPath(path))
        return {path, *named};
    // A name typed with a final point ("terv.") gets the extension after that point.
    const QString base = path.endsWith(QLatin1Char('.')) ? path.chopped(1) : path;
    for (const ReportFormatChoice &choice : reportFormatChoices()) {
        if (choice.format == chosen)
            return {base + choice.patterns.first().mid(1), chosen};
    }
    return {path, chosen};
}
