#pragma once

#include "core/data/farm/farmtable.h"
#include "core/data/paradox/paradoxtable.h"

#include <memory>

// A farm table kept in a genuine Paradox file. Each read reads the file anew (the first
// takes the bytes open() read), checks it and goes through every record, keeping those
// that pass the filter; no file stays open between reads, so the farm-management program
// may go on using its files.
class FarmParadoxTable final : public FarmTable
{
public:
    // Checks that `filePath` is a readable Paradox table. No rows are read yet;
    // FarmDatabase::openTable reads them.
    static std::unique_ptr<FarmParadoxTable> open(const QString &filePath,
                                                  const QString &tableName, QString *error);

protected:
    bool readRows(const Filter &filter, QStringList *fieldNames, QList<QVariantList> *rows,
                  QString *error) override;

private:
    using FarmTable::FarmTable;

    std::unique_ptr<ParadoxTable> m_checked; // read and checked by open(), until the first read
};
