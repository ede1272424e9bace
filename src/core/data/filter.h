#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantList>

#include <functional>
#include <memory>

// A row filter over a table, built from typed terms with their values: "field op value"
// joined by AND and OR. Values are never pasted into query text, so a crop name holding an
// apostrophe filters like any other. An empty filter passes every row.
class Filter
{
public:
    enum class Op { Equal, NotEqual, Less, LessOrEqual, Greater, GreaterOrEqual };

    Filter() = default; // passes every row

    // A null value (QVariant()) asks for an empty field: equals gives "field IS NULL", and
    // compare with NotEqual "field IS NOT NULL"; the other comparisons with null pass no row.
    static Filter equals(const QString &field, const QVariant &value);
    static Filter compare(const QString &field, Op op, const QVariant &value);

    // The two sides keep their own grouping: (a OR b) AND c stays so.
    Filter operator&&(const Filter &other) const;
    Filter operator||(const Filter &other) const;

    bool isEmpty() const { return !m_node; }

    // A WHERE clause with one "?" per value, appended to `bindings` in order; empty text for
    // an empty filter. Field names are quoted as identifiers.
    QString sqlWhere(QVariantList *bindings) const;

    // Evaluates the filter on one row; `fieldValue` returns a field's value by name. Texts
    // compare exactly, numbers as numbers, booleans as booleans. An empty (null) field passes
    // only the null tests, as in SQL, so a row matches here exactly when the WHERE clause
    // would select it.
    bool matches(const std::function<QVariant(const QString &)> &fieldValue) const;

    // When the filter is the one term "field = number", that field and number, so that a
    // reader may compare stored numbers without converting each; false for any other.
    bool isNumberEquality(QString *field, double *number) const;

    // The fields the terms name, each once, in the order they first appear.
    QStringList fieldNames() const;

    // A readable form for messages and test output: Novid = '000001' AND Sztid = 3
    QString toString() const;

    struct Node; // the term tree, defined where it is evaluated

private:
    explicit Filter(std::shared_ptr<const Node> node)
        : m_node(std::move(node))
    { }
    static Filter combine(const Filter &left, const Filter &right, bool isAnd);

    std::shared_ptr<const Node> m_node;
};
