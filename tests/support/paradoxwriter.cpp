#include "support/paradoxwriter.h"

#include "core/data/farm/farmdatabase.h"
#include "core/data/farm/farmfields.h"
#include "core/data/farm/samplefarm.h"
#include "core/text/codepages.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <clocale>
#include <cstring>
#include <vector>

extern "C" {
#include <paradox.h>
}

namespace ParadoxWriter {

namespace {

using Paradox::FieldType;

constexpr qint64 julianDayOfDayZero = 1721425;

// The bytes a field takes in the record; only the types the reference and farm tables use.
int recordBytes(const Field &field)
{
    switch (field.type) {
    case FieldType::Logical:
        return 1;
    case FieldType::Short:
        return 2;
    case FieldType::Date:
    case FieldType::Long:
    case FieldType::AutoIncrement:
        return 4;
    case FieldType::Number:
        return 8;
    case FieldType::Bcd:
        return 17;
    default: // alpha and memo fields
        return field.size;
    }
}

// A number as PX_put_data_bcd reads it: the C library's decimal point.
QByteArray bcdText(double value, int decimals)
{
    QByteArray text = QByteArray::number(value, 'f', decimals);
    const char point = std::localeconv()->decimal_point[0];
    text.replace('.', point);
    return text;
}

void putValue(pxdoc_t *document, char *data, const Field &field, const QVariant &value,
              int codePage)
{
    const int size = recordBytes(field);
    if (value.isNull()) {
        std::memset(data, 0, size_t(size));
        return;
    }
    switch (field.type) {
    case FieldType::Alpha: {
        QByteArray bytes = Text::encodeCodePage(value.toString(), codePage);
        PX_put_data_alpha(document, data, size, bytes.data());
        break;
    }
    case FieldType::Number:
        PX_put_data_double(document, data, 8, value.toDouble());
        break;
    case FieldType::Short:
        PX_put_data_short(document, data, 2, short(value.toInt()));
        break;
    case FieldType::Long:
    case FieldType::AutoIncrement:
        PX_put_data_long(document, data, 4, value.toInt());
        break;
    case FieldType::Date:
        PX_put_data_long(document, data, 4, int(value.toDate().toJulianDay() - julianDayOfDayZero));
        break;
    case FieldType::Logical:
        PX_put_data_byte(document, data, 1, value.toBool() ? 1 : 0);
        break;
    case FieldType::Bcd: {
        QByteArray text = bcdText(value.toDouble(), field.decimals);
        PX_put_data_bcd(document, data, field.decimals, text.data());
        break;
    }
    case FieldType::Memo:
    case FieldType::FormattedMemo: {
        QByteArray bytes = Text::encodeCodePage(value.toString(), codePage);
        if (bytes.isEmpty())
            std::memset(data, 0, size_t(size));
        else
            PX_put_data_blob(document, data, size, bytes.data(), int(bytes.size()));
        break;
    }
    default:
        std::memset(data, 0, size_t(size));
        break;
    }
}

void ignoreError(pxdoc_t *, int, const char *message, void *data)
{
    if (data && message)
        *static_cast<QString *>(data) = QString::fromLocal8Bit(message);
}

} // namespace

bool write(const QString &path, const Table &table, QString *error)
{
    const auto fail = [&](const QString &text) {
        if (error)
            *error = text;
        return false;
    };
    QFile::remove(path);
    QString pxlibError;
    pxdoc_t *document = PX_new3(ignoreError, nullptr, nullptr, nullptr, &pxlibError);
    if (!document)
        return fail(QStringLiteral("PX_new3"));

    const int fieldCount = int(table.fields.size());
    auto *fields = static_cast<pxfield_t *>(
        document->malloc(document, size_t(fieldCount) * sizeof(pxfield_t), "fields"));
    std::vector<int> offsets;
    int recordSize = 0;
    bool hasMemo = false;
    for (int i = 0; i < fieldCount; ++i) {
        const Field &field = table.fields.at(i);
        fields[i].px_fname = PX_strdup(document, field.name.toLatin1().constData());
        fields[i].px_ftype = char(field.type);
        fields[i].px_flen = recordBytes(field);
        fields[i].px_fdc = field.type == FieldType::Bcd ? field.decimals : 0;
        offsets.push_back(recordSize);
        recordSize += recordBytes(field);
        hasMemo = hasMemo || field.type == FieldType::Memo
                  || field.type == FieldType::FormattedMemo;
    }
    const QByteArray nativePath = QFile::encodeName(path);
    if (PX_create_file(document, fields, fieldCount, nativePath.constData(),
                       table.isKeyed ? pxfFileTypIndexDB : pxfFileTypNonIndexDB)
        < 0) {
        PX_delete(document);
        return fail(QStringLiteral("PX_create_file: %1").arg(pxlibError));
    }
    if (table.isKeyed)
        PX_set_value(document, "numprimkeys", 1);
    PX_set_value(document, "codepage", float(table.codePage));
    if (hasMemo) {
        const QString memo = QFileInfo(path).path() + QLatin1Char('/')
                             + QFileInfo(path).completeBaseName() + QStringLiteral(".MB");
        QFile::remove(memo);
        if (PX_set_blob_file(document, QFile::encodeName(memo).constData()) < 0) {
            PX_close(document);
            PX_delete(document);
            return fail(QStringLiteral("PX_set_blob_file: %1").arg(pxlibError));
        }
    }

    std::vector<char> record(size_t(recordSize), '\0');
    bool ok = true;
    for (const QVariantList &row : table.rows) {
        for (int i = 0; i < fieldCount; ++i)
            putValue(document, record.data() + offsets[size_t(i)], table.fields.at(i),
                     i < row.size() ? row.at(i) : QVariant(), table.codePage);
        if (PX_put_record(document, record.data()) < 0) {
            ok = false;
            break;
        }
    }
    PX_close(document);
    PX_delete(document);
    return ok || fail(QStringLiteral("PX_put_record: %1").arg(pxlibError));
}

namespace {

Field alpha(const QString &name, int size)
{
    return {name, FieldType::Alpha, size, 0};
}

Field of(const QString &name, FieldType type, int decimals = 0)
{
    return {name, type, 0, decimals};
}

QList<Field> sampleFields()
{
    using namespace FarmFields;
    QList<Field> fields{of(Tablakod, FieldType::Long), of(Mintas, FieldType::Short),
                        alpha(Mintajel, 12)};
    for (const QLatin1String name : sampleValues)
        fields.append(of(name, FieldType::Number));
    return fields;
}

} // namespace

bool writeSampleFarm(const QString &csvPath, const QString &directory, QString *error)
{
    using namespace FarmFields;
    QTemporaryDir sqliteFarm;
    if (!sqliteFarm.isValid() || !::writeSampleFarm(csvPath, sqliteFarm.path(), error))
        return false;
    struct Layout
    {
        QString table;
        QList<Field> fields;
        int codePage;
    };
    const QList<Layout> layouts = {
        {FarmTables::Tablak,
         {of(Tableid, FieldType::AutoIncrement), alpha(Helysz, 20), alpha(Hazmeg, 30),
          of(Ter, FieldType::Number), alpha(Blok, 15), alpha(Muvag, 20),
          of(Aktiv, FieldType::Short)},
         1250},
        {FarmTables::Talajmintak, sampleFields(), 852},
        {FarmTables::parcellak,
         {of(Parc_id, FieldType::AutoIncrement), of(Evj, FieldType::Short), alpha(Parcsor, 5),
          alpha(Agazat, 30), of(Ter, FieldType::Bcd, 2), alpha(Hazmeg, 30),
          alpha(Hasznkod, 10), alpha(Aktiv, 1)},
         852},
        {FarmTables::PTalajmintak, sampleFields(), 1250},
    };
    if (!QDir().mkpath(directory)) {
        if (error)
            *error = QStringLiteral("mkpath %1").arg(directory);
        return false;
    }
    const FarmDatabase source(sqliteFarm.path());
    for (const Layout &layout : layouts) {
        FarmTableResult result = source.openTable(layout.table);
        if (!result) {
            if (error)
                *error = result.error;
            return false;
        }
        Table table;
        table.fields = layout.fields;
        table.codePage = layout.codePage;
        table.isKeyed = layout.fields.first().type == FieldType::AutoIncrement;
        FarmTable &rows = *result.table;
        for (rows.first(); !rows.eof(); rows.next()) {
            QVariantList row;
            for (const Field &field : std::as_const(layout.fields))
                row.append(rows.value(field.name));
            table.rows.append(row);
        }
        // Remove the farm's earlier files in any letter case, as the SQLite writer does.
        for (QString old = FarmDatabase::findTableFile(directory, layout.table); !old.isEmpty();
             old = FarmDatabase::findTableFile(directory, layout.table))
            QFile::remove(old);
        if (!write(QDir(directory).filePath(layout.table + QStringLiteral(".db")), table, error))
            return false;
    }
    return true;
}

} // namespace ParadoxWriter
