// libFuzzer entry: any bytes given as a Paradox table (and its memo file) must be read or
// refused with a message, never read past their end, no record decoded before the whole
// file is checked.
//
// An input is a 32-bit little-endian length n, then n bytes of the table (.db), then the
// rest as its memo file (.MB), so that one input can exercise both files.
#include "core/data/paradox/paradoxtable.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 4)
        return 0;
    size_t tableSize = size_t(data[0]) | (size_t(data[1]) << 8) | (size_t(data[2]) << 16)
                       | (size_t(data[3]) << 24);
    if (tableSize > size - 4)
        tableSize = size - 4;
    const QByteArray table(reinterpret_cast<const char *>(data + 4), qsizetype(tableSize));
    const QByteArray memo(reinterpret_cast<const char *>(data + 4 + tableSize),
                          qsizetype(size - 4 - tableSize));
    QString error;
    const std::unique_ptr<ParadoxTable> paradox
        = ParadoxTable::fromBytes(table, memo, QStringLiteral("fuzz.db"), &error);
    if (!paradox) {
        if (error.isEmpty())
            __builtin_trap(); // a refusal always says why
        return 0;
    }
    QVariantList values;
    for (int record = 0; record < paradox->recordCount(); ++record) {
        error.clear();
        if (!paradox->readRecord(record, &values, &error) && error.isEmpty())
            __builtin_trap();
    }
    return 0;
}
