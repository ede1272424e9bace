// make_user_guide: lays out the user guide hasznalati.pdf with the program's own report engine.
//
//     make_user_guide SOURCE_DIR PICTURE_DIR OUTPUT.pdf
//
// SOURCE_DIR holds the guide's design hasznalati.html (HTML with Mustache values) and its list of
// pictures kepek.txt, one picture a line: "name | file | caption". The design places a picture
// with {{{kep_name}}}; a place whose name the list does not hold stays empty, while a listed
// picture missing from PICTURE_DIR stops the build with its name. {{{tartalom}}} is the table of
// contents: the headings h1 and h2 with the pages they begin on.
#include "core/reports/programfonts.h"
#include "core/reports/reportdocument.h"
#include "core/reports/reportengine.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImageReader>
#include <QTextBlock>
#include <QTextDocument>
#include <QUrl>

#include <algorithm>
#include <cstdio>

namespace {

// The size of a picture on the page, in the pixels of the HTML (1/96 inch), per pixel of a
// screenshot, and the largest picture that fits the body of a page with its caption.
constexpr double unitsPerPixel = 0.75;
constexpr double widestPicture = 660;
constexpr double tallestPicture = 560;

struct Heading
{
    int level = 0;
    QString text;
    int page = 0;
};

int fail(const QString &message)
{
    std::fprintf(stderr, "make_user_guide: %s\n", qPrintable(message));
    return 1;
}

// The pictures of the list as figures for the design, or the reason one cannot be placed.
bool readPictures(const QDir &source, const QDir &pictures, QVariantMap &values, QString &error)
{
    QFile list(source.filePath(QStringLiteral("kepek.txt")));
    if (!list.open(QIODevice::ReadOnly | QIODevice::Text)) {
        error = QStringLiteral("%1 cannot be read").arg(list.fileName());
        return false;
    }
    const QStringList lines = QString::fromUtf8(list.readAll()).split(QLatin1Char('\n'));
    for (const QString &line : lines) {
        if (line.trimmed().isEmpty() || line.trimmed().startsWith(QLatin1Char('#')))
            continue;
        const QStringList parts = line.split(QLatin1Char('|'));
        if (parts.size() != 3) {
            error = QStringLiteral("kepek.txt: not \"name | file | caption\": %1").arg(line);
            return false;
        }
        const QString path = pictures.filePath(parts[1].trimmed());
        const QSize size = QImageReader(path).size();
        if (!size.isValid()) {
            error = QStringLiteral("the picture %1 is missing").arg(path);
            return false;
        }
        const double scale = std::min({unitsPerPixel, widestPicture / size.width(),
                                       tallestPicture / size.height()});
        values.insert(QStringLiteral("kep_") + parts[0].trimmed(),
                      QStringLiteral("<p class=\"kep\" align=\"center\"><img src=\"%1\" width=\"%2\" "
                                     "height=\"%3\"><br><i>%4</i></p>")
                          .arg(QUrl::fromLocalFile(path).toString())
                          .arg(qRound(size.width() * scale))
                          .arg(qRound(size.height() * scale))
                          .arg(parts[2].trimmed().toHtmlEscaped()));
    }
    return true;
}

// The headings of the laid-out guide with the pages (from 1) they begin on.
QList<Heading> headings(const QTextDocument &document)
{
    QList<Heading> found;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        const int level = block.blockFormat().headingLevel();
        if (level == 0 || level > 2)
            continue;
        found.append({level, block.text(), ReportDocument::pageOf(block) + 1});
    }
    return found;
}

QString contents(const QList<Heading> &entries)
{
    QString html = QStringLiteral("<table class=\"tartalom\" width=\"100%\">");
    for (const Heading &entry : entries) {
        const QString indent = entry.level == 1 ? QString() : QStringLiteral("&nbsp;&nbsp;&nbsp;&nbsp;");
        const QString text = entry.level == 1 ? QStringLiteral("<b>%1</b>") : QStringLiteral("%1");
        html += QStringLiteral("<tr><td>%1%2</td><td align=\"right\">%3</td></tr>")
                    .arg(indent, text.arg(entry.text.toHtmlEscaped()))
                    .arg(entry.page);
    }
    return html + QStringLiteral("</table>");
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    loadTahomaFont();
    const QStringList arguments = QGuiApplication::arguments();
    if (arguments.size() != 4)
        return fail(QStringLiteral("usage: make_user_guide SOURCE_DIR PICTURE_DIR OUTPUT.pdf"));
    const QDir source(arguments[1]);
    QVariantMap values;
    QString error;
    if (!readPictures(source, QDir(arguments[2]), values, error))
        return fail(error);

    // Laid out twice: first with the contents' entries to find the pages, then with their
    // pages, which take the same room.
    const QString title = QStringLiteral("Nutrisor – Használati leírás");
    const ReportEngine engine(source.path());
    QList<Heading> entries;
    for (int pass = 0; pass < 3; ++pass) {
        values.insert(QStringLiteral("tartalom"), contents(entries));
        const std::optional<RenderedReport> rendered
            = engine.render(QStringLiteral("hasznalati"), {}, values, &error);
        if (!rendered)
            return fail(error);
        const ReportDocument guide(rendered->html, title, rendered->orientation);
        const QList<Heading> found = headings(guide.document());
        const bool settled = !entries.isEmpty() && std::equal(
            found.begin(), found.end(), entries.begin(), entries.end(),
            [](const Heading &a, const Heading &b) { return a.text == b.text && a.page == b.page; });
        if (settled || pass == 2) {
            if (!guide.exportTo(arguments[3], ReportFormat::Pdf, &error))
                return fail(error);
            return 0;
        }
        entries = found;
    }
    return 0;
}
