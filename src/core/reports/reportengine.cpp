#include "core/reports/reportengine.h"

#include "core/reports/designcheck.h"
#include "core/reports/reportfeed.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QFileInfo>
#include <QRegularExpression>

#include <kainjow/mustache.hpp>

// The built-in designs live in an object library; a run that prints without ever opening
// the reference database (the purchase list) must still find them.
static void initReportResources()
{
    static const bool initialised = [] {
        Q_INIT_RESOURCE(nutrisor_resources);
        return true;
    }();
    Q_UNUSED(initialised);
}

namespace {

using Data = kainjow::mustache::data;

// The most steps (about one per character and tag put out) filling a design may take: far
// above what the largest plan's designs need, and a few seconds' work at most.
constexpr qint64 workLimit = 10'000'000;

// Pieces are taken from the checked designs only, never from the values being filled in,
// so a value that happens to share a piece's name is not read as a design.
class DesignContext : public kainjow::mustache::context<std::string>
{
public:
    DesignContext(const Data *root, const Data *pieces) : context(root), m_pieces(pieces) {}

    const Data *get_partial(const std::string &name) const override
    {
        return m_pieces->get(name);
    }

private:
    const Data *m_pieces;
};

std::string utf8(const QString &text)
{
    return text.toStdString();
}

Data boolean(bool value)
{
    return Data(value ? Data::type::bool_true : Data::type::bool_false);
}

// The rows and columns of one feed, pulled as the engine of a report designer does; the
// lengths of its lists go to `lists`.
void addFeed(Data &root, ReportFeed &feed, QHash<QString, qint64> &lists)
{
    feed.open(); // the rows are counted as they come
    const QList<FeedColumn> columns = feed.columns();

    Data columnList(Data::type::list);
    for (const FeedColumn &column : columns) {
        Data entry;
        entry.set("name", utf8(column.name));
        entry.set("width", utf8(QString::number(column.width)));
        entry.set("fullName", utf8(column.fullName));
        entry.set("description", utf8(column.description));
        columnList.push_back(entry);
    }

    Data rows(Data::type::list);
    int index = 0;
    for (feed.first(); !feed.eof(); feed.next()) {
        const QStringList values = feed.row();
        Data row;
        bool blank = true;
        for (int column = 0; column < columns.size(); ++column) {
            const QString value = values.value(column);
            blank = blank && value.isEmpty();
            row.set(utf8(columns[column].name), utf8(value));
        }
        for (int column = 0; column < columns.size(); ++column)
            row.set(utf8(columns[column].name) + "_set", boolean(!values.value(column).isEmpty()));
        row.set("_index", utf8(QString::number(index)));
        row.set("_first", boolean(index == 0));
        row.set("_blank", boolean(blank));
        rows.push_back(row);
        ++index;
    }

    const std::string name = utf8(feed.name());
    root.set(name, rows);
    root.set(name + "_columns", columnList);
    root.set(name + "_count", utf8(QString::number(index)));
    lists.insert(feed.name(), index);
    lists.insert(feed.name() + QStringLiteral("_columns"), columns.size());
}

} // namespace

QString ReportEngine::templatePath(const QString &project) const
{
    const QString fileName = project + QStringLiteral(".html");
    if (!m_startDirectory.isEmpty()) {
        const QDir directory(m_startDirectory);
        if (QFileInfo(directory.filePath(fileName)).isFile())
            return directory.filePath(fileName);
        const QStringList entries = directory.entryList(QDir::Files);
        for (const QString &entry : entries) {
            if (entry.compare(fileName, Qt::CaseInsensitive) == 0)
                return directory.filePath(entry);
        }
    }
    initReportResources();
    const QString builtIn = QStringLiteral(":/reports/") + fileName;
    return QFileInfo::exists(builtIn) ? builtIn : QString();
}

std::optional<RenderedReport> ReportEngine::render(const QString &project,
                                                   const QList<ReportFeed *> &feeds,
                                                   const QVariantMap &values,
                                                   QString *error) const
{
    const auto fail = [error](const QString &text) {
        if (error)
            *error = text;
        return std::optional<RenderedReport>();
    };
    const QString path = templatePath(project);
    if (path.isEmpty())
        return fail(QStringLiteral("A(z) „%1” nyomtatási terv nem található.").arg(project));
    const auto broken = [&](const QString &reason) {
        return fail(DesignCheck::faultText(path, reason));
    };
    DesignCheck check([this](const QString &name) { return templatePath(name); });
    if (!check.load(path, project))
        return fail(check.error());
    const QString design = check.design();
    kainjow::mustache::mustache tmpl(utf8(design));
    if (!tmpl.is_valid())
        return broken(QString::fromStdString(tmpl.error_message()));

    // Pieces shared by several designs ("{{> report-style}}") are designs of their own.
    Data pieces;
    const QHash<QString, QString> pieceTexts = check.pieces();
    for (auto it = pieceTexts.cbegin(); it != pieceTexts.cend(); ++it) {
        const std::string text = utf8(it.value());
        pieces.set(utf8(it.key()), kainjow::mustache::partial([text] { return text; }));
    }
    Data root;
    for (auto it = values.cbegin(); it != values.cend(); ++it) {
        if (it.value().typeId() == QMetaType::Bool)
            root.set(utf8(it.key()), boolean(it.value().toBool()));
        else
            root.set(utf8(it.key()), utf8(it.value().toString()));
    }
    QHash<QString, qint64> lists;
    for (ReportFeed *feed : feeds)
        addFeed(root, *feed, lists);
    // a section repeats once per row of the list it names, and at most once otherwise
    if (!check.checkWork([&lists](const QString &name) { return lists.value(name, 1); },
                         workLimit))
        return fail(check.error());

    RenderedReport report;
    DesignContext context(&root, &pieces);
    report.html = QString::fromStdString(tmpl.render(context));
    if (!tmpl.is_valid())
        return broken(QString::fromStdString(tmpl.error_message()));
    static const QRegularExpression landscape(
        QStringLiteral("<meta\\s+name=\"orientation\"\\s+content=\"landscape\""),
        QRegularExpression::CaseInsensitiveOption);
    if (landscape.match(design).hasMatch())
        report.orientation = QPageLayout::Landscape;
    return report;
}
