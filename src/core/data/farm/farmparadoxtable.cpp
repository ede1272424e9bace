#include "core/data/farm/farmparadoxtable.h"

#include "core/data/paradox/paradoxtable.h"
#include "core/data/paradox/paradoxvalue.h"

#include <QHash>

#include <functional>

std::unique_ptr<FarmParadoxTable> FarmParadoxTable::open(const QString &filePath,
                                                         const QString &tableName,
                                                         QString *error)
{
    std::unique_ptr<ParadoxTable> checked = ParadoxTable::open(filePath, error);
    if (!checked)
        return nullptr;
    std::unique_ptr<FarmParadoxTable> table(new FarmParadoxTable(tableName, filePath));
    table->m_checked = std::move(checked);
    return table;
}

bool FarmParadoxTable::readRows(const Filter &filter, QStringList *fieldNames,
                                QList<QVariantList> *rows, QString *error)
{
    // The first read takes the table as open() read and checked it, the others read anew.
    const std::unique_ptr<ParadoxTable> table = m_checked ? std::move(m_checked)
                                                          : ParadoxTable::open(filePath(), error);
    if (!table)
        return false;
    const QStringList names = table->fieldNames();
    QHash<QString, int> columns; // lower-case name -> field, as the farm program's engine
    for (int i = 0; i < names.size(); ++i)
        columns.insert(names.at(i).toLower(), i);
    // The filter's fields are looked up once, not for every record.
    const QStringList filterFields = filter.fieldNames();
    QList<int> filterColumns;
    for (const QString &field : filterFields)
        filterColumns.append(columns.value(field.toLower(), -1));

    // The filter's fields are converted first, the rest of a record only when it passes.
    QString problem;
    const std::function<QVariant(const QString &)> valueOf = [&](const QString &field) {
        const qsizetype known = filterFields.indexOf(field);
        const int column = known >= 0 ? filterColumns.at(known)
                                      : columns.value(field.toLower(), -1);
        return column < 0 ? QVariant() : table->fieldValue(column, &problem);
    };
    // "Field = whole number" on a field of whole numbers compares the stored bytes.
    QString equalField;
    double equalNumber = 0;
    int equalColumn = -1;
    QByteArray equalBytes;
    if (filter.isNumberEquality(&equalField, &equalNumber)) {
        equalColumn = columns.value(equalField.toLower(), -1);
        if (equalColumn >= 0)
            equalBytes = Paradox::wholeNumberBytes(table->header().fields.at(equalColumn),
                                                   equalNumber);
    }
    QList<QVariantList> kept;
    for (int record = 0; record < table->recordCount(); ++record) {
        if (!table->loadRecord(record, error))
            return false;
        const bool passes = !equalBytes.isEmpty() ? table->fieldHolds(equalColumn, equalBytes)
                                                  : filter.isEmpty() || filter.matches(valueOf);
        if (!problem.isEmpty()) {
            QVariantList unread; // reads the record again for the whole message
            table->readRecord(record, &unread, error);
            return false;
        }
        if (!passes)
            continue;
        QVariantList values;
        if (!table->readRecord(record, &values, error))
            return false;
        kept.append(std::move(values));
    }
    *fieldNames = names;
    *rows = std::move(kept);
    return true;
}
