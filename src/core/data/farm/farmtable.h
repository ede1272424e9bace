#pragma once

#include "core/data/filter.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

// One table of the farm database, read only: the rows that pass the current filter, in
// table order, with a cursor over them. The farm files come from another program and may
// be SQLite or Paradox; each backend only reads rows, everything else lives here, so the
// callers cannot tell the two apart. Opened through FarmDatabase; the table owns its
// connection or file handle and gives it back when destroyed.
class FarmTable
{
public:
    virtual ~FarmTable() = default;

    FarmTable(const FarmTable &) = delete;
    FarmTable &operator=(const FarmTable &) = delete;

    // The name asked for ("Tablak") and the file it was read from.
    QString tableName() const { return m_tableName; }
    QString filePath() const { return m_filePath; }

    QStringList fieldNames() const { return m_fieldNames; }
    bool hasField(const QString &field) const; // field names match in any letter case

    // Reads the rows that pass `filter` (an empty filter passes every row) again from the
    // file and goes to the first of them. On failure the rows, the filter and the position
    // stay as they were, and `error` says why.
    bool setFilter(const Filter &filter, QString *error = nullptr);
    Filter filter() const { return m_filter; }

    int rowCount() const { return int(m_rows.size()); }
    bool isEmpty() const { return m_rows.isEmpty(); }

    void first() { m_position = 0; }
    void next();
    bool eof() const { return m_position >= m_rows.size(); }
    int position() const { return m_position; }
    void seek(int row); // a row outside 0 .. rowCount() - 1 gives eof

    // The current row's value of a field: a null QVariant for an empty field, an unknown
    // field or at eof.
    QVariant value(const QString &field) const;
    // The value as text: empty for an empty field; numbers in their plain form with a
    // decimal point ("6.07", whole numbers without a point: "124500"). Numbers meant for
    // the user are read with number() and formatted in core/text.
    QString text(const QString &field) const;
    // The value as a whole number (a fractional number is rounded); 0 for an empty field
    // or text that is not a number.
    int integer(const QString &field) const;
    // The value as a number; 0 for an empty field or text that is not a number.
    double number(const QString &field) const;

protected:
    FarmTable(const QString &tableName, const QString &filePath);

    // Reads the field names and the rows that pass `filter`, in table order, each row with
    // one value per field; an empty field is a null QVariant. Changes nothing of the table.
    virtual bool readRows(const Filter &filter, QStringList *fieldNames, QList<QVariantList> *rows,
                          QString *error)
        = 0;

private:
    int fieldIndex(const QString &field) const;

    QString m_tableName;
    QString m_filePath;
    Filter m_filter;
    QStringList m_fieldNames;
    QHash<QString, int> m_fieldIndex; // lower-case name -> column
    QList<QVariantList> m_rows;
    qsizetype m_position = 0;
};
