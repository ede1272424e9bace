#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// The file formats a report is exported to, with the choices the export dialog offers.
enum class ReportFormat { Pdf, Rtf, Text, Html };

// The format an output file's extension names (.pdf, .rtf, .txt, .html/.htm; any letter
// case); none for any other extension or none at all.
std::optional<ReportFormat> reportFormatForPath(const QString &path);

// One entry of the export dialog: "Adobe Acrobat (PDF)" with "*.pdf" and so on.
struct ReportFormatChoice
{
    ReportFormat format;
    QString description;
    QStringList patterns;
};

// The four choices in the order the dialog offers them: PDF, RTF, TXT, HTML.
const QList<ReportFormatChoice> &reportFormatChoices();

// The choices as the file chooser takes them: "Adobe Acrobat (PDF)|*.pdf|…|*.html;*.htm".
QString reportFileFilter();

// Where an export goes and in which format.
struct ReportTarget
{
    QString path;
    ReportFormat format;
};

// The file the user named keeps its format when its extension names one (an extension
// decides over the chosen filter); otherwise the chosen format's extension is added
// ("terv" with RTF gives "terv.rtf", "terv.2024" with PDF "terv.2024.pdf").
ReportTarget reportTargetFor(const QString &path, ReportFormat chosen);
