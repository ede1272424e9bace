#include "core/data/filter.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

#include <gtest/gtest.h>

namespace {

TEST(FilterSql, FieldNamesAreListedOnceInOrder)
{
    const Filter filter = (Filter::equals(QStringLiteral("Novid"), 1)
                              || Filter::equals(QStringLiteral("Anyid"), QStringLiteral("N")))
        && Filter::equals(QStringLiteral("Novid"), 2);
    EXPECT_EQ(
        filter.fieldNames(), (QStringList {QStringLiteral("Novid"), QStringLiteral("Anyid")}));
    EXPECT_FALSE(filter.isEmpty());
    EXPECT_TRUE(Filter().isEmpty());
}

// matches() must select exactly the rows the WHERE clause selects, so code that filters rows
// it already holds agrees with the database. Checked on one table holding texts, numbers,
// logical values and empty fields; where a case gives the WHERE clause, its bindings and
// its text, the grouping of the filter must show in each.
class FilterAgreement : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_database = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connectionName);
        m_database.setDatabaseName(QStringLiteral(":memory:"));
        ASSERT_TRUE(m_database.open());
        QSqlQuery query(m_database);
        ASSERT_TRUE(query.exec(QStringLiteral(
            "CREATE TABLE t (Id INTEGER PRIMARY KEY, Novid TEXT, Ka REAL, Deleted BOOLEAN, "
            "\"ON\" REAL)")));
        const QVariantList rows[] = {
            {1, QStringLiteral("1"), 30.0, 0, 20.0},
            {2, QStringLiteral("2"), 42.0, 1, 60.0},
            {3, QStringLiteral("13"), QVariant(), 0, 50.5},
            {4, QVariant(), 50.5, QVariant(), QVariant()},
            {5, QStringLiteral("Kukorica 'FAO 300'"), 99.0, 0, 50.0},
            {6, QStringLiteral(""), 0.0, 1, 0.0},
        };
        ASSERT_TRUE(query.prepare(QStringLiteral("INSERT INTO t VALUES (?, ?, ?, ?, ?)")));
        for (const QVariantList &row : rows) {
            for (int i = 0; i < row.size(); ++i)
                query.bindValue(i, row.at(i));
            ASSERT_TRUE(query.exec()) << query.lastError().text().toStdString();
        }
    }

    void TearDown() override
    {
        m_database.close();
        m_database = QSqlDatabase();
        QSqlDatabase::removeDatabase(connectionName);
    }

    QList<int> selectedBySql(const Filter &filter)
    {
        QVariantList bindings = {};
        const QString where = filter.sqlWhere(&bindings);
        QSqlQuery query(m_database);
        EXPECT_TRUE(query.prepare(QStringLiteral("SELECT * FROM t")
            + (where.isEmpty() ? QString() : QStringLiteral(" WHERE ") + where)
            + QStringLiteral(" ORDER BY Id")));
        for (int i = 0; i < bindings.size(); ++i)
            query.bindValue(i,
                bindings.at(i).typeId() == QMetaType::Bool
                    ? QVariant(bindings.at(i).toBool() ? 1 : 0)
                    : bindings.at(i));
        EXPECT_TRUE(query.exec()) << query.lastError().text().toStdString();
        QList<int> ids;
        while (query.next())
            ids.append(query.value(0).toInt());
        return ids;
    }

    QList<int> selectedByMatches(const Filter &filter)
    {
        QSqlQuery query(m_database);
        EXPECT_TRUE(query.exec(QStringLiteral("SELECT * FROM t ORDER BY Id")));
        QList<int> ids;
        while (query.next()) {
            const QSqlRecord record = query.record();
            const auto fieldValue = [&](const QString &name) {
                const int index = record.indexOf(name);
                return query.isNull(index) ? QVariant() : query.value(index);
            };
            if (filter.matches(fieldValue))
                ids.append(query.value(0).toInt());
        }
        return ids;
    }

    static inline const QString connectionName = QStringLiteral("filter-test");
    QSqlDatabase m_database;
};

TEST_F(FilterAgreement, MatchesSelectsWhatTheWhereClauseSelects)
{
    struct Case
    {
        const char *name;
        Filter filter;
        QList<int> expected;
        QString sql = {}; // empty: not checked, unless the filter is empty too
        QVariantList bindings = {};
        QString text = {};
    };
    const QString novid = QStringLiteral("Novid");
    const QString ka = QStringLiteral("Ka");
    const QString deleted = QStringLiteral("Deleted");
    const Filter novid1 = Filter::equals(novid, QStringLiteral("1"));
    const Filter novid2 = Filter::equals(novid, QStringLiteral("2"));
    const Filter kept = Filter::equals(deleted, false);
    const Case cases[] = {
        {"empty filter passes every row", Filter(), {1, 2, 3, 4, 5, 6}, QString(), {}, QString()},
        {"text equality", novid1, {1}},
        // texts compare as texts: "13" is not "1"
        {"text is exact", Filter::equals(novid, QStringLiteral("13")), {3}},
        {"apostrophe", Filter::equals(novid, QStringLiteral("Kukorica 'FAO 300'")), {5}},
        {"empty text is not an empty field", Filter::equals(novid, QString()), {6}},
        {"number limit inclusive", Filter::compare(ka, Filter::Op::LessOrEqual, 42), {1, 2, 6}},
        {"number above", Filter::compare(ka, Filter::Op::Greater, 42), {4, 5}},
        // an empty field passes no comparison, not even "not equal"
        {"not equal skips empty fields", Filter::compare(ka, Filter::Op::NotEqual, 30),
            {2, 4, 5, 6}},
        {"null test", Filter::equals(ka, QVariant()), {3}},
        {"not null test", Filter::compare(novid, Filter::Op::NotEqual, QVariant()),
            {1, 2, 3, 5, 6}},
        {"boolean false", kept, {1, 3, 5}},
        {"boolean true", Filter::equals(deleted, true), {2, 6}},
        {"(a OR b) AND c", (novid1 || novid2) && kept, {1},
            QStringLiteral("((\"Novid\" = ? OR \"Novid\" = ?) AND \"Deleted\" = ?)"),
            {QStringLiteral("1"), QStringLiteral("2"), false},
            QStringLiteral("(Novid = '1' OR Novid = '2') AND Deleted = false")},
        {"a OR (b AND c)", novid1 || (novid2 && kept), {1},
            QStringLiteral("(\"Novid\" = ? OR (\"Novid\" = ? AND \"Deleted\" = ?))"),
            {QStringLiteral("1"), QStringLiteral("2"), false},
            QStringLiteral("Novid = '1' OR (Novid = '2' AND Deleted = false)")},
        {"a OR (b AND c) with b and c true",
            novid1 || (novid2 && Filter::equals(deleted, true)), {1, 2}},
        // an empty side leaves the other one as it is
        {"empty AND a", Filter() && novid1, {1}, QStringLiteral("\"Novid\" = ?"),
            {QStringLiteral("1")}, QStringLiteral("Novid = '1'")},
        {"numbers and booleans", Filter::compare(ka, Filter::Op::GreaterOrEqual, 3) && kept,
            {1, 5}, QStringLiteral("(\"Ka\" >= ? AND \"Deleted\" = ?)"), {3, false},
            QStringLiteral("Ka >= 3 AND Deleted = false")},
        // "= NULL" would never hold: a null value asks for an empty field, with no binding
        {"null",
            Filter::equals(ka, QVariant())
                || Filter::compare(novid, Filter::Op::NotEqual, QVariant()),
            {1, 2, 3, 5, 6}, QStringLiteral("(\"Ka\" IS NULL OR \"Novid\" IS NOT NULL)"), {},
            QStringLiteral("Ka IS NULL OR Novid IS NOT NULL")},
        // the field name ON is an SQL keyword; quoting keeps it a name
        {"keyword field", Filter::compare(QStringLiteral("ON"), Filter::Op::Less, 50.5),
            {1, 5, 6}, QStringLiteral("\"ON\" < ?"), {50.5}, QStringLiteral("ON < 50.5")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(selectedBySql(c.filter), c.expected);
        EXPECT_EQ(selectedByMatches(c.filter), c.expected);
        if (c.sql.isEmpty() && !c.filter.isEmpty())
            continue;
        QVariantList bindings = {};
        EXPECT_EQ(c.filter.sqlWhere(&bindings), c.sql);
        EXPECT_EQ(bindings, c.bindings);
        EXPECT_EQ(c.filter.toString(), c.text);
    }
}

} // namespace
