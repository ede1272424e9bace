#include "core/data/defaults/referencedefaults.h"

#include "core/data/reference/tables.h"

#include <QDate>
#include <QFile>
#include <QLocale>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

// The resources live in an object library; naming its initialiser here keeps the linker
// from dropping it from programs that only reach it through nutrisor_core.
static void initReferenceResources()
{
    static const bool initialised = [] {
        Q_INIT_RESOURCE(nutrisor_resources);
        return true;
    }();
    Q_UNUSED(initialised);
}

namespace ReferenceDefaults {

namespace {

bool setError(QString *error, const QString &text)
{
    if (error)
        *error = text;
    return false;
}

bool fillTable(QSqlDatabase &database, const Schema::Table &table, QString *error)
{
    QString readError;
    const std::optional<Csv::Table> csv = readTable(table, &readError);
    if (!csv)
        return setError(error, readError);

    QList<const Schema::Field *> fields;
    QStringList names;
    QStringList placeholders;
    for (const QString &name : csv->header) {
        const Schema::Field *field = table.field(name);
        if (!field)
            return setError(error,
                QStringLiteral("%1: a(z) %2 tábla nem tartalmaz %3 mezőt.")
                    .arg(table.defaultsResource, table.name, name));
        fields.append(field);
        names.append(Schema::quoted(name));
        placeholders.append(QStringLiteral("?"));
    }

    QSqlQuery insert(database);
    if (!insert.prepare(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                            .arg(Schema::quoted(table.name), names.join(QStringLiteral(", ")),
                                placeholders.join(QStringLiteral(", "))))) {
        return setError(error, insert.lastError().text());
    }
    for (qsizetype row = 0; row < csv->rows.size(); ++row) {
        const QStringList &cells = csv->rows.at(row);
        for (qsizetype column = 0; column < fields.size(); ++column) {
            QString cellError;
            const std::optional<QVariant> value
                = cellValue(*fields.at(column), cells.at(column), &cellError);
            if (!value)
                return setError(error,
                    QStringLiteral("%1, %2. sor: %3")
                        .arg(table.defaultsResource)
                        .arg(csv->lineNumbers.at(row))
                        .arg(cellError));
            insert.bindValue(int(column), *value);
        }
        if (!insert.exec())
            return setError(error,
                QStringLiteral("%1, %2. sor: %3")
                    .arg(table.defaultsResource)
                    .arg(csv->lineNumbers.at(row))
                    .arg(insert.lastError().text()));
    }
    return true;
}

bool createAndFill(QSqlDatabase &database, QString *error)
{
    for (const Schema::Table &table : Schema::referenceTables()) {
        for (const QString &statement : Schema::createStatements(table)) {
            QSqlQuery query(database);
            if (!query.exec(statement))
                return setError(error,
                    QStringLiteral("A(z) %1 tábla nem hozható létre: %2")
                        .arg(table.name, query.lastError().text()));
        }
        if (!table.defaultsResource.isEmpty() && !fillTable(database, table, error))
            return false;
    }
    return true;
}

} // namespace

std::optional<Csv::Table> readTable(const Schema::Table &table, QString *error)
{
    initReferenceResources();
    QFile file(table.defaultsResource);
    if (!file.open(QIODevice::ReadOnly)) {
        setError(error,
            QStringLiteral("A beépített %1 adatfájl nem olvasható.").arg(table.defaultsResource));
        return std::nullopt;
    }
    QString parseError;
    std::optional<Csv::Table> csv = Csv::parse(QString::fromUtf8(file.readAll()), &parseError);
    if (!csv)
        setError(error, table.defaultsResource + QStringLiteral(", ") + parseError);
    return csv;
}

std::optional<QVariant> cellValue(const Schema::Field &field, const QString &cell, QString *error)
{
    using Schema::FieldType;
    const auto refuse = [&](const QString &what) -> std::optional<QVariant> {
        setError(
            error, QStringLiteral("a(z) %1 mező értéke nem %2: „%3”.").arg(field.name, what, cell));
        return std::nullopt;
    };
    if (field.type == FieldType::Text) {
        if (field.maxLength > 0 && cell.size() > field.maxLength)
            return refuse(QStringLiteral("fér el %1 karakteren").arg(field.maxLength));
        // empty cells are empty text, not empty fields (a null QString would bind as NULL)
        return QVariant(cell.isNull() ? QStringLiteral("") : cell);
    }
    if (cell.isEmpty())
        return QVariant();
    // The files write numbers with a decimal point whatever the user's convention.
    QLocale fileLocale = QLocale::c();
    fileLocale.setNumberOptions(QLocale::RejectGroupSeparator);
    bool ok = false;
    switch (field.type) {
    case FieldType::Real: {
        const double value = fileLocale.toDouble(cell, &ok);
        return ok ? std::optional<QVariant>(value) : refuse(QStringLiteral("szám"));
    }
    case FieldType::Integer:
    case FieldType::AutoIncrement: {
        const qlonglong value = fileLocale.toLongLong(cell, &ok);
        return ok ? std::optional<QVariant>(value) : refuse(QStringLiteral("egész szám"));
    }
    case FieldType::Boolean:
        if (cell.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0
            || cell == QLatin1String("1"))
            return QVariant(1);
        if (cell.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0
            || cell == QLatin1String("0"))
            return QVariant(0);
        return refuse(QStringLiteral("logikai érték"));
    case FieldType::Date: {
        const QDate date = Schema::storedDate(cell);
        return date.isValid() ? std::optional<QVariant>(date.toString(Qt::ISODate))
                              : refuse(QStringLiteral("dátum"));
    }
    case FieldType::Text:
        break;
    }
    return QVariant(cell);
}

bool seed(QSqlDatabase &database, QString *error)
{
    if (!database.transaction())
        return setError(error, database.lastError().text());
    if (!createAndFill(database, error)) {
        database.rollback();
        return false;
    }
    if (!database.commit()) {
        setError(error, database.lastError().text());
        database.rollback();
        return false;
    }
    return true;
}

} // namespace ReferenceDefaults
