#include "core/data/reference/fieldvalues.h"

#include "core/data/reference/tables.h"
#include "core/text/memohtml.h"

#include <QDate>
#include <QDateTime>

namespace FieldValues {

namespace {

bool fail(QString *error, const QString &text)
{
    if (error)
        *error = text;
    return false;
}

bool isIntegral(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::Short:
    case QMetaType::UShort:
        return true;
    default:
        return false;
    }
}

bool isNumber(const QVariant &value)
{
    return isIntegral(value) || value.typeId() == QMetaType::Double
        || value.typeId() == QMetaType::Float;
}

} // namespace

std::optional<QVariant> toStored(
    const Schema::Table &table, const Schema::Field &field, const QVariant &value, QString *error)
{
    using Schema::FieldType;
    const auto refuse = [&](const QString &what) -> std::optional<QVariant> {
        fail(error,
            QStringLiteral("A(z) %1.%2 mező értéke nem %3: „%4”.")
                .arg(table.name, field.name, what, value.toString()));
        return std::nullopt;
    };
    if (value.isNull())
        return QVariant();
    const bool isEmptyText = value.typeId() == QMetaType::QString && value.toString().isEmpty();
    switch (field.type) {
    case FieldType::Text: {
        // a recommendation text is printed as markup, so it is stored with none that could harm
        const QString text = table.name == Tables::Jav::name && field.name == Tables::Jav::Jav
            ? Text::storedMemo(value.toString())
            : value.toString();
        if (field.maxLength > 0 && text.size() > field.maxLength) {
            fail(error,
                QStringLiteral("A(z) %1.%2 mező legfeljebb %3 karakter lehet: „%4”.")
                    .arg(table.name, field.name)
                    .arg(field.maxLength)
                    .arg(text));
            return std::nullopt;
        }
        // a null QString would be stored as an empty field; text stays text, even empty
        return QVariant(text.isNull() ? QStringLiteral("") : text);
    }
    case FieldType::Real:
        if (isEmptyText)
            return QVariant();
        if (!isNumber(value))
            return refuse(QStringLiteral("szám"));
        return QVariant(value.toDouble());
    case FieldType::Integer:
    case FieldType::AutoIncrement:
        if (isEmptyText)
            return QVariant();
        if (isIntegral(value))
            return QVariant(value.toLongLong());
        if (isNumber(value) && value.toDouble() == double(qint64(value.toDouble())))
            return QVariant(qint64(value.toDouble()));
        return refuse(QStringLiteral("egész szám"));
    case FieldType::Boolean:
        if (isEmptyText)
            return QVariant();
        if (value.typeId() == QMetaType::Bool)
            return QVariant(value.toBool() ? 1 : 0);
        if (isIntegral(value) && (value.toLongLong() == 0 || value.toLongLong() == 1))
            return QVariant(int(value.toLongLong()));
        return refuse(QStringLiteral("logikai érték"));
    case FieldType::Date: {
        if (isEmptyText)
            return QVariant();
        QDate date;
        if (value.typeId() == QMetaType::QDate)
            date = value.toDate();
        else if (value.typeId() == QMetaType::QDateTime)
            date = value.toDateTime().date();
        else if (value.typeId() == QMetaType::QString)
            date = Schema::storedDate(value.toString());
        if (!date.isValid())
            return refuse(QStringLiteral("dátum"));
        return QVariant(date.toString(Qt::ISODate));
    }
    }
    return value;
}

QVariant fromStored(const Schema::Field *field, const QVariant &raw)
{
    if (!field)
        return raw;
    switch (field->type) {
    case Schema::FieldType::Text:
        return raw.toString();
    case Schema::FieldType::Real: {
        bool ok = false;
        const double value = raw.toDouble(&ok);
        return ok ? QVariant(value) : raw;
    }
    case Schema::FieldType::Integer:
    case Schema::FieldType::AutoIncrement: {
        bool ok = false;
        const qlonglong value = raw.toLongLong(&ok);
        return ok ? QVariant(value) : raw;
    }
    case Schema::FieldType::Boolean:
        return raw.toBool();
    case Schema::FieldType::Date: {
        const QDate date = Schema::storedDate(raw.toString());
        return date.isValid() ? QVariant(date) : raw;
    }
    }
    return raw;
}

QVariant bindable(const QVariant &value)
{
    if (value.typeId() == QMetaType::Bool)
        return value.toBool() ? 1 : 0;
    if (value.typeId() == QMetaType::QDate)
        return value.toDate().toString(Qt::ISODate);
    return value;
}

} // namespace FieldValues
