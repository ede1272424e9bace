#include "core/data/farm/farmtable.h"

#include <QMetaType>

#include <cmath>

FarmTable::FarmTable(const QString &tableName, const QString &filePath)
    : m_tableName(tableName)
    , m_filePath(filePath)
{
}

bool FarmTable::setFilter(const Filter &filter, QString *error)
{
    QStringList fieldNames;
    QList<QVariantList> rows;
    QString readError;
    if (!readRows(filter, &fieldNames, &rows, &readError)) {
        if (error)
            *error = readError;
        return false;
    }

    m_filter = filter;
    m_fieldNames = fieldNames;
    m_fieldIndex.clear();
    for (int column = 0; column < fieldNames.size(); ++column)
        m_fieldIndex.insert(fieldNames.at(column).toLower(), column);
    m_rows = rows;
    m_position = 0;
    return true;
}

void FarmTable::next()
{
    if (m_position < m_rows.size())
        ++m_position;
}

void FarmTable::seek(int row)
{
    m_position = row >= 0 && row < m_rows.size() ? row : m_rows.size();
}

bool FarmTable::hasField(const QString &field) const
{
    return fieldIndex(field) >= 0;
}

int FarmTable::fieldIndex(const QString &field) const
{
    return m_fieldIndex.value(field.toLower(), -1);
}

QVariant FarmTable::value(const QString &field) const
{
    const int column = fieldIndex(field);
    if (column < 0 || eof())
        return {};
    const QVariantList &row = m_rows.at(m_position);
    return column < row.size() ? row.at(column) : QVariant();
}

static bool isFloatingPoint(const QVariant &value)
{
    return value.typeId() == QMetaType::Double || value.typeId() == QMetaType::Float;
}

QString FarmTable::text(const QString &field) const
{
    const QVariant stored = value(field);
    if (stored.isNull())
        return {};
    // Areas are whole square metres kept in a floating-point field: 15 significant digits
    // write 1234500 out whole, where the shortest form would give "1.2345e+06".
    if (isFloatingPoint(stored))
        return QString::number(stored.toDouble(), 'g', 15);
    return stored.toString();
}

int FarmTable::integer(const QString &field) const
{
    const QVariant stored = value(field);
    if (stored.isNull())
        return 0;
    bool ok = false;
    if (!isFloatingPoint(stored)) {
        const qlonglong whole = stored.toLongLong(&ok);
        if (ok)
            return int(whole);
    }
    const double number = stored.toDouble(&ok);
    return ok && std::isfinite(number) ? int(std::lround(number)) : 0;
}

double FarmTable::number(const QString &field) const
{
    const QVariant stored = value(field);
    if (stored.isNull())
        return 0;
    bool ok = false;
    const double number = stored.toDouble(&ok);
    return ok ? number : 0;
}
