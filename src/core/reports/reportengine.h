#pragma once

#include <QList>
#include <QPageLayout>
#include <QString>
#include <QVariantMap>

#include <optional>

class ReportFeed;

// A report filled from its feeds, ready to be laid out.
struct RenderedReport
{
    QString html;
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
};

// The report engine: a report project is an HTML template named after the project
// ("full.html" for the project full) with one Mustache section per feed, named as the feed,
// whose rows carry the feed's column names. Besides its rows each row has "_index" (its
// place from 0), "_first" and "_blank" (every value empty); "<feed>_count" is the number
// of rows and "<feed>_columns" lists the declared columns (name, width, fullName,
// description). A design asks for landscape pages with
// <meta name="orientation" content="landscape">.
//
// Designs are looked up in the start directory first, the file name in any letter case, so
// a user's own design replaces the built-in one; then among the built-in designs. A design
// includes a piece, itself a design, with {{> name}}, pieces their own pieces too. A design
// is refused before it is filled when its pieces include each other in a circle, sections
// and includes nest deeper than 32 levels, a section is left open or closed out of turn,
// the files pass 4 MiB, or its nested repeating sections would take too long to fill.
class ReportEngine
{
public:
    explicit ReportEngine(const QString &startDirectory) : m_startDirectory(startDirectory) {}

    // The file the project's design is read from; empty when there is none.
    QString templatePath(const QString &project) const;

    // Pulls every feed through Open, GetCols, First, GetRow/Next until EOF and fills the
    // project's design with their rows. `values` adds top-level values: booleans become
    // Mustache conditions, everything else text. Values are escaped by {{name}}; only
    // {{{name}}} inserts markup. No value, with a message naming the file, when the design
    // is missing, cannot be parsed or is refused.
    std::optional<RenderedReport> render(const QString &project, const QList<ReportFeed *> &feeds,
                                         const QVariantMap &values = {},
                                         QString *error = nullptr) const;

private:
    QString m_startDirectory;
};
