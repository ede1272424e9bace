#include "core/data/farm/farmparadoxtable.h"

#include "core/data/paradox/paradoxtable.h"

#include <QHash>

std::unique_ptr<FarmParadoxTable> FarmParadoxTable::open(const QString &filePath,
                                                         const QString &tableName,
                                                         QString *error)
{
    if (!ParadoxTable::open(filePath, error))
        return nullptr;
    return std::unique_ptr<FarmParadoxTable>(new FarmParadoxTable(tableName, filePath));
}

bool FarmParadoxTable::readRows(const Filter &filter, QStringList *fieldNames,
                                QList<QVariantList> *rows, QString *error)
{
    const std::unique_ptr<ParadoxTable> table = ParadoxTable::open(filePath(), error);
    if (!table)
        return false;
    const QStringList names = table->fieldNames();
    QHash<QString, int> columns; // lower-case name -> field, as the farm program's engine
    for (int i = 0; i < names.size(); ++i)
        columns.insert(names.at(i).toLower(), i);

    // The filter's fields are converted first, the rest of a record only when it passes.
    QList<QVariantList> kept;
    for (int record = 0; record < table->recordCount(); ++record) {
        if (!table->loadRecord(record, error))
            return false;
        QString problem;
        const bool passes = filter.isEmpty() || filter.matches([&](const QString &field) {
            const int column = columns.value(field.toLower(), -1);
            return column < 0 ? QVariant() : table->fieldValue(column, &problem);
        });
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
