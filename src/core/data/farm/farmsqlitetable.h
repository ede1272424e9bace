#pragma once

#include "core/data/farm/farmtable.h"

#include <memory>

// A farm table kept in an SQLite file that holds one table named as the file. The file is
// opened read only on a connection of its own, which the table removes when destroyed.
class FarmSqliteTable final : public FarmTable
{
public:
    // Opens `filePath` and checks that it holds the table `tableName` (in any letter case).
    // No rows are read yet; FarmDatabase::openTable reads them.
    static std::unique_ptr<FarmSqliteTable> open(const QString &filePath,
                                                 const QString &tableName, QString *error);
    ~FarmSqliteTable() override;

    // The Qt SQL connection reading the file, unique for each open table.
    QString connectionName() const { return m_connectionName; }

protected:
    bool readRows(const Filter &filter, QStringList *fieldNames, QList<QVariantList> *rows,
                  QString *error) override;

private:
    FarmSqliteTable(const QString &tableName, const QString &filePath,
                    const QString &connectionName, const QString &storedTableName);

    QString m_connectionName;
    QString m_storedTableName; // the table's name as the file spells it
};
