#include "core/data/reference/adviserrecord.h"

#include "core/data/reference/fieldvalues.h"
#include "core/data/reference/referencedatabase.h"
#include "core/data/reference/tables.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariantMap>

namespace {

namespace F = Tables::Tanacsado;

bool fail(QString *error, const QString &text)
{
    if (error)
        *error = text;
    return false;
}

QVariantMap fieldValues(const AdviserRecord &record)
{
    return {{F::Nev, record.Nev}, {F::Irany, record.Irany}, {F::Telep, record.Telep},
        {F::Cim, record.Cim}, {F::Tel, record.Tel}, {F::Fax, record.Fax}, {F::Email, record.Email},
        {F::Regsz, record.Regsz}, {F::Szerv, record.Szerv}, {F::Megjel, record.Megjel}};
}

// Sets the fields of the first row alone. The table has no key and may hold copies of one
// row, so the row is picked by its place, in the order a plain read lists the rows: the
// table's own order (none at present), then table order.
bool updateFirstRow(ReferenceDatabase &reference, const QVariantMap &values, QString *error)
{
    const Schema::Table *table = Schema::table(F::name);
    QStringList assignments;
    QVariantList bindings;
    for (auto it = values.cbegin(); it != values.cend(); ++it) {
        const Schema::Field *field = table->field(it.key());
        const std::optional<QVariant> value
            = FieldValues::toStored(*table, *field, it.value(), error);
        if (!value)
            return false;
        assignments.append(Schema::quoted(field->name) + QStringLiteral(" = ?"));
        bindings.append(FieldValues::bindable(*value));
    }
    QStringList order;
    for (const QString &fieldName : table->defaultOrder)
        order.append(Schema::orderExpression(*table->field(fieldName)));
    order.append(QStringLiteral("rowid"));
    QSqlQuery query(reference.database());
    const QString sql
        = QStringLiteral(
            "UPDATE %1 SET %2 WHERE rowid = (SELECT rowid FROM %1 ORDER BY %3 LIMIT 1)")
              .arg(Schema::quoted(table->name), assignments.join(QStringLiteral(", ")),
                  order.join(QStringLiteral(", ")));
    if (!query.prepare(sql))
        return fail(error,
            QStringLiteral("A(z) %1 tábla nem módosítható: %2")
                .arg(table->name, query.lastError().text()));
    for (int i = 0; i < bindings.size(); ++i)
        query.bindValue(i, bindings.at(i));
    if (!query.exec())
        return fail(error,
            QStringLiteral("A(z) %1 tábla nem módosítható: %2")
                .arg(table->name, query.lastError().text()));
    if (query.numRowsAffected() != 1)
        return fail(
            error, QStringLiteral("A(z) %1 tábla első sora nem módosult.").arg(table->name));
    return true;
}

} // namespace

AdviserRecord AdviserRecord::readAdviser(const ReferenceDatabase &reference, QString *error)
{
    QString readError;
    const std::optional<QVariantMap> row = reference.selectFirst(F::name, {}, {}, &readError);
    AdviserRecord record;
    if (!row) {
        if (!readError.isEmpty())
            fail(error, readError);
        return record;
    }
    // empty fields come as null values, which read as empty text and as false
    record.Nev = row->value(F::Nev).toString();
    record.Irany = row->value(F::Irany).toString();
    record.Telep = row->value(F::Telep).toString();
    record.Cim = row->value(F::Cim).toString();
    record.Tel = row->value(F::Tel).toString();
    record.Fax = row->value(F::Fax).toString();
    record.Email = row->value(F::Email).toString();
    record.Regsz = row->value(F::Regsz).toString();
    record.Szerv = row->value(F::Szerv).toString();
    record.Megjel = row->value(F::Megjel).toBool();
    return record;
}

bool AdviserRecord::storeAdviser(
    ReferenceDatabase &reference, const AdviserRecord &record, QString *error)
{
    const QVariantMap values = fieldValues(record);
    // The count and the change in one transaction, so the table never gains a second row.
    return reference.inTransaction(
        [&](QString *workError) {
            const int rows
                = reference.count(F::name, {}, ReferenceDatabase::DeletedRows::Included, workError);
            if (rows < 0)
                return false;
            if (rows == 0)
                return reference.insert(F::name, values, workError).has_value();
            return updateFirstRow(reference, values, workError);
        },
        error);
}

QString AdviserRecord::adviserLine() const
{
    if (!Megjel)
        return QString();
    QString line = QStringLiteral("Tervet készítette: ") + Nev;
    if (!Regsz.isEmpty())
        line += QStringLiteral(", azonosító: ") + Regsz;
    if (!Tel.isEmpty())
        line += QStringLiteral(" (tel.: ") + Tel + QStringLiteral(" )");
    return line;
}
