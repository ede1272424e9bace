#include "core/reports/reportengine.h"

#include "core/reports/reportfeed.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <kainjow/mustache.hpp>

namespace {

using Data = kainjow::mustache::data;

std::string utf8(const QString &text)
{
    return text.toStdString();
}

Data boolean(bool value)
{
    return Data(value ? Data::type::bool_true : Data::type::bool_false);
}

// The rows and columns of one feed, pulled as the engine of a report designer does.
void addFeed(Data &root, ReportFeed &feed)
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
    const QString shownPath = QDir::toNativeSeparators(path);
    const auto broken = [&](const QString &reason) {
        return fail(QStringLiteral("A(z) %1 nyomtatási terv hibás: %2").arg(shownPath, reason));
    };
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return fail(QStringLiteral("A(z) %1 nyomtatási terv nem olvasható: %2")
                        .arg(shownPath, file.errorString()));
    }
    const QString design = QString::fromUtf8(file.readAll());
    kainjow::mustache::mustache tmpl(utf8(design));
    if (!tmpl.is_valid())
        return broken(QString::fromStdString(tmpl.error_message()));

    Data root;
    // Pieces shared by several designs ("{{> report-style}}") are designs of their own.
    static const QRegularExpression partialTag(QStringLiteral("\\{\\{>\\s*([\\w-]+)\\s*\\}\\}"));
    for (QRegularExpressionMatchIterator it = partialTag.globalMatch(design); it.hasNext();) {
        const QString name = it.next().captured(1);
        const QString partialPath = templatePath(name);
        QFile partialFile(partialPath);
        if (partialPath.isEmpty() || !partialFile.open(QIODevice::ReadOnly))
            return broken(QStringLiteral("a(z) „%1” rész nem található.").arg(name));
        const std::string text = partialFile.readAll().toStdString();
        root.set(utf8(name), kainjow::mustache::partial([text] { return text; }));
    }
    for (auto it = values.cbegin(); it != values.cend(); ++it) {
        if (it.value().typeId() == QMetaType::Bool)
            root.set(utf8(it.key()), boolean(it.value().toBool()));
        else
            root.set(utf8(it.key()), utf8(it.value().toString()));
    }
    for (ReportFeed *feed : feeds)
        addFeed(root, *feed);

    RenderedReport report;
    report.html = QString::fromStdString(tmpl.render(root));
    if (!tmpl.is_valid())
        return broken(QString::fromStdString(tmpl.error_message()));
    static const QRegularExpression landscape(
        QStringLiteral("<meta\\s+name=\"orientation\"\\s+content=\"landscape\""),
        QRegularExpression::CaseInsensitiveOption);
    if (landscape.match(design).hasMatch())
        report.orientation = QPageLayout::Landscape;
    return report;
}
