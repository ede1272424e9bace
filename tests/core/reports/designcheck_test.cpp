#include "core/reports/reportengine.h"
#include "core/reports/reportfeed.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <map>

namespace {

using Files = std::map<QString, QByteArray>;

QByteArray nested(int levels, const QByteArray &inside = "x")
{
    return QByteArray("{{#a}}").repeated(levels) + inside + QByteArray("{{/a}}").repeated(levels);
}

const QString deep = QStringLiteral("a szakaszok és a beillesztett részek 32 szintnél mélyebben "
                                    "ágyazódnak egymásba.");
const QString tooLarge
    = QStringLiteral("a terv a beillesztett részeivel együtt nagyobb 4 MiB-nál.");

// The design "full" filled from the files written into a fresh start directory, with a
// two-row feed "r" (column f1: v1, v2) and, where asked, ten rows.
struct Rendering
{
    explicit Rendering(const Files &files, int rows = 2)
    {
        for (const auto &[name, text] : files) {
            QFile file(m_start.filePath(name));
            EXPECT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(text);
        }
        CountedFeed feed(QStringLiteral("r"), numberedColumns(1), 1, rows,
            [](int row) { return QStringList {QStringLiteral("v%1").arg(row)}; });
        const QVariantMap values {{QStringLiteral("a"), QStringLiteral("{{#nyitott}}")}};
        report
            = ReportEngine(m_start.path()).render(QStringLiteral("full"), {&feed}, values, &error);
    }
    QString fault(const QString &file, const QString &reason) const
    {
        return QStringLiteral("A(z) %1 nyomtatási terv hibás: %2")
            .arg(QDir::toNativeSeparators(m_start.filePath(file)), reason);
    }

    QTemporaryDir m_start;
    std::optional<RenderedReport> report;
    QString error;
};

} // namespace

TEST(DesignCheckTest, ADesignThatWouldOverrunTheEngineIsRefusedNamingItsFile)
{
    const struct
    {
        const char *shape;
        Files files;
        QString blamed;
        QString reason;
        int rows = 2;
    } cases[] = {
        {"includes itself", {{"full.html", "<p>{{> full}}</p>"}}, "full.html",
            "a részek körbe hivatkoznak egymásra: full → full."},
        {"a piece includes itself",
            {{"full.html", "{{> plan-header}}"},
                {"plan-header.html", "<p>{{ > plan-header }}</p>"}},
            "plan-header.html",
            "a részek körbe hivatkoznak egymásra: full → plan-header → plan-header."},
        {"a → b → a",
            {{"full.html", "{{> a}}"}, {"a.html", "{{> b}}"}, {"b.html", "{{#r}}{{> a}}{{/r}}"}},
            "b.html", "a részek körbe hivatkoznak egymásra: full → a → b → a."},
        {"33 nested", {{"full.html", nested(33)}}, "full.html", deep},
        {"33 nested through a piece",
            {{"full.html", nested(16, "{{> p}}")}, {"p.html", nested(16)}}, "full.html", deep},
        {"an include chain 33 deep",
            {{"full.html", "{{> p1}}"}, {"p1.html", "{{> p2}}"}, {"p2.html", nested(31)}},
            "p1.html", deep},
        {"33 nested after a change of delimiters",
            {{"full.html", "{{=<% %>=}}" + nested(33).replace("{{", "<%").replace("}}", "%>")}},
            "full.html", deep},
        {"200000 unclosed", {{"full.html", QByteArray("{{#a}}").repeated(200000)}}, "full.html",
            deep},
        {"20000 nested", {{"full.html", nested(20000)}}, "full.html", deep},
        {"unclosed", {{"full.html", "{{#r}}{{^a}}x{{/a}}"}}, "full.html",
            "a(z) „r” szakasz nincs lezárva."},
        {"mismatched", {{"full.html", "{{> p}}"}, {"p.html", "{{#r}}{{#a}}{{/r}}{{/a}}"}}, "p.html",
            "a nyitott „a” szakasz helyett „r” van lezárva."},
        {"unopened", {{"full.html", "x{{! {{#a}} }}{{/a}}"}}, "full.html",
            "a(z) „a” szakasz lezárásának nincs nyitó párja."},
        {"a file over 4 MiB", {{"full.html", QByteArray(4 * 1024 * 1024 + 1, 'x')}}, "full.html",
            "a fájl nagyobb 4 MiB-nál."},
        {"pieces over 4 MiB together",
            {{"full.html", "{{> p}}" + QByteArray(3 * 1024 * 1024, 'x')},
                {"p.html", QByteArray(1024 * 1024, 'x')}},
            "p.html", tooLarge},
        // ten rows nested twelve deep would be filled 10^12 times
        {"nested repeating sections", {{"full.html", nested(12).replace('a', 'r')}}, "full.html",
            "az egymásba ágyazott ismétlődő szakaszok túl sokszor ismétlődnének.", 10},
    };
    for (const auto &row : cases) {
        SCOPED_TRACE(row.shape);
        const Rendering rendering(row.files, row.rows);
        EXPECT_FALSE(rendering.report);
        EXPECT_EQ(rendering.error, rendering.fault(row.blamed, row.reason));
    }
}

TEST(DesignCheckTest, PiecesIncludeTheirOwnPiecesAndTagsAreReadAsTheEngineReadsThem)
{
    const struct
    {
        const char *shape;
        Files files;
        QString html;
    } cases[] = {
        // the piece "a" wins over the value named "a", which would not parse as a design
        {"a piece in a piece",
            {{"full.html", "<p>{{> a}}</p>"}, {"a.html", "<b>{{>b}}</b>"},
                {"b.html", "{{#r}}{{f1}}{{/r}}"}},
            "<p><b>v1v2</b></p>"},
        {"32 nested, a piece read once",
            {{"full.html", nested(31, "{{> p}}{{> p}}")}, {"p.html", "y"}}, "yy"},
        // a comment ends at the first closing braces
        {"delimiters, comments, raw values",
            {{"full.html", "{{! {{#x}} }}{{{a}}}{{=<% %>=}}{{#a}}<%^r%>-<%/r%><%={{ }}=%>{{&a}}"}},
            " }}{{#nyitott}}{{#a}}{{#nyitott}}"},
    };
    for (const auto &row : cases) {
        SCOPED_TRACE(row.shape);
        const Rendering rendering(row.files);
        ASSERT_TRUE(rendering.report) << rendering.error.toStdString();
        EXPECT_EQ(rendering.report->html, row.html);
    }
}
