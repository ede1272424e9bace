#include "core/data/reference/tables.h"

namespace Schema {

namespace {

Field text(const QString &name, int maxLength = 0)
{
    Field field;
    field.name = name;
    field.type = FieldType::Text;
    field.maxLength = maxLength;
    return field;
}

Field real(const QString &name, const QString &defaultValue = QString())
{
    Field field;
    field.name = name;
    field.type = FieldType::Real;
    field.defaultValue = defaultValue;
    return field;
}

Field integer(const QString &name)
{
    Field field;
    field.name = name;
    field.type = FieldType::Integer;
    return field;
}

Field boolean(const QString &name)
{
    Field field;
    field.name = name;
    field.type = FieldType::Boolean;
    return field;
}

Field date(const QString &name)
{
    Field field;
    field.name = name;
    field.type = FieldType::Date;
    return field;
}

// A row key that the engine numbers on insert.
Field autoIncrement(const QString &name)
{
    Field field;
    field.name = name;
    field.type = FieldType::AutoIncrement;
    field.isKey = true;
    field.isNotNull = true;
    return field;
}

Field key(Field field)
{
    field.isKey = true;
    field.isNotNull = true;
    return field;
}

Field sortedAs(Field field, TextOrder order)
{
    field.order = order;
    return field;
}

// The soft-delete flag: false unless set, so a row inserted without it is listed.
Field deletedFlag()
{
    Field field = boolean(Tables::Deleted);
    field.isNotNull = true;
    field.defaultValue = QStringLiteral("0");
    return field;
}

QList<Field> needFields()
{
    namespace F = Tables::Find2;
    return {text(F::Novid, 6), text(F::Anyid), integer(F::Sztid), real(F::Igy), real(F::Gy),
        real(F::K), real(F::M), real(F::J), real(F::S), real(F::I)};
}

QList<Field> splitFields()
{
    namespace F = Tables::Find3;
    // the lookup takes the first band reaching the soil's plasticity: a blank limit is 0
    Field ka = real(F::Ka);
    ka.sortsBlankAsZero = true;
    return {ka, text(F::Novid, 6), real(F::Sztid), real(F::ON), real(F::OP), real(F::OK),
        real(F::MaxN)};
}

QList<Table> buildTables()
{
    QList<Table> tables;

    {
        namespace F = Tables::Nov;
        Table t;
        t.name = F::name;
        t.fields = {key(text(F::Novid, 6)), sortedAs(text(F::Nev, 50), TextOrder::Hungarian)};
        t.indexes = {{QStringLiteral("NovNevInd"), {F::Nev}}};
        t.defaultOrder = {F::Nev};
        t.defaultsResource = QStringLiteral(":/reference/Nov.csv");
        tables.append(t);
    }
    {
        namespace F = Tables::Find;
        Table t;
        t.name = F::name;
        t.fields = {text(F::Find), text(F::St1), text(F::St2), text(F::St3), real(F::S1),
            real(F::S2), real(F::S3), integer(F::S4), key(integer(F::Sorszam))};
        t.indexes = {{QStringLiteral("FindInd"), {F::Find, F::Sorszam}}};
        t.defaultOrder = {F::Sorszam};
        t.defaultsResource = QStringLiteral(":/reference/Find.csv");
        tables.append(t);
    }
    {
        namespace F = Tables::Find2;
        Table t;
        t.name = F::name;
        t.fields = needFields();
        t.indexes = {{QStringLiteral("F2SztInd"), {F::Novid, F::Anyid, F::Sztid}}};
        t.defaultOrder = {F::Novid, F::Anyid, F::Sztid};
        t.defaultsResource = QStringLiteral(":/reference/Find2.csv");
        tables.append(t);

        t.name = Tables::Find2Back::name;
        t.indexes = {{QStringLiteral("F2BackSztInd"), {F::Novid, F::Anyid, F::Sztid}}};
        tables.append(t);
    }
    {
        namespace F = Tables::Find3;
        Table t;
        t.name = F::name;
        t.fields = QList<Field> {autoIncrement(F::Id)} + splitFields();
        t.indexes = {{QStringLiteral("F3KaInd"), {F::Novid, F::Sztid, F::Ka}}};
        t.defaultOrder = {F::Novid, F::Sztid, F::Ka, F::Id};
        t.defaultsResource = QStringLiteral(":/reference/Find3.csv");
        tables.append(t);

        t.name = Tables::Find3Back::name;
        t.fields = splitFields();
        t.indexes = {{QStringLiteral("F3BackKaInd"), {F::Novid, F::Sztid, F::Ka}}};
        t.defaultOrder = {F::Novid, F::Sztid, F::Ka};
        tables.append(t);
    }
    {
        namespace F = Tables::Tapanyagok;
        // A material created by name and unit alone has no content until it is edited.
        const QString none = QStringLiteral("0");
        Field egyeb = text(F::Egyeb, 20);
        egyeb.defaultValue = QStringLiteral("''");
        Table t;
        t.name = F::name;
        t.fields = {key(integer(F::Anyagid)), text(F::Megnev, 30), text(F::Mert), real(F::N, none),
            real(F::P, none), real(F::K, none), real(F::Mg, none), real(F::S, none),
            real(F::Mn, none), real(F::Zn, none), real(F::Cu, none), real(F::Fe, none),
            real(F::Mo, none), real(F::B, none), egyeb, real(F::Egyebmeny, none),
            real(F::Ertek, none), deletedFlag()};
        t.indexes = {{QStringLiteral("TapMegnevInd"), {F::Megnev}}};
        t.defaultOrder = {F::Anyagid};
        t.defaultsResource = QStringLiteral(":/reference/Tapanyagok.csv");
        tables.append(t);
    }
    {
        namespace F = Tables::Jav;
        Table t;
        t.name = F::name;
        t.fields = {
            autoIncrement(F::Javid), sortedAs(text(F::Javtap, 6), TextOrder::NoCase), text(F::Jav)};
        t.uniqueTogether = {F::Javid, F::Javtap};
        t.indexes = {{QStringLiteral("Javtapid"), {F::Javtap}}};
        t.defaultOrder = {F::Javid};
        t.defaultsResource = QStringLiteral(":/reference/Jav.csv");
        tables.append(t);
    }
    {
        namespace F = Tables::Comptext;
        Table t;
        t.name = F::name;
        t.fields = {text(F::Compname), text(F::Text)};
        t.indexes = {{QStringLiteral("Compnameind"), {F::Compname}, true}};
        t.defaultOrder = {F::Compname};
        t.defaultsResource = QStringLiteral(":/reference/Comptext.csv");
        tables.append(t);
    }
    {
        namespace F = Tables::Modtext;
        Table t;
        t.name = F::name;
        t.fields = {text(F::St1), text(F::St2)};
        t.defaultsResource = QStringLiteral(":/reference/Modtext.csv");
        tables.append(t);
    }
    {
        namespace F = Tables::Tanacsado;
        Field megjel = boolean(F::Megjel);
        megjel.defaultValue = QStringLiteral("0");
        Table t;
        t.name = F::name;
        t.fields = {text(F::Nev), text(F::Cim), text(F::Telep), text(F::Irany, 4), text(F::Tel),
            text(F::Fax), text(F::Email), text(F::Regsz), text(F::Szerv), megjel};
        t.defaultsResource = QStringLiteral(":/reference/Tanacsado.csv");
        tables.append(t);
    }
    {
        // The evaluation reads this table by field position: keep the 17 fields in order.
        namespace F = Tables::Mintak;
        Table t;
        t.name = F::name;
        t.fields = {key(integer(F::Id)), text(F::Nev), text(F::Labor), text(F::Mintaazon),
            date(F::Datum), text(F::Blokk), text(F::Tablassz), text(F::Gazdev), real(F::Ter),
            integer(F::Fajid), boolean(F::Szuretkor), real(F::N), real(F::P), real(F::K),
            real(F::Ca), real(F::Mg), deletedFlag()};
        t.indexes = {{QStringLiteral("MintakGazdevInd"), {F::Gazdev, F::Datum}}};
        t.defaultOrder = {F::Id};
        t.defaultsResource = QStringLiteral(":/reference/Mintak.csv");
        tables.append(t);
    }
    {
        namespace F = Tables::Fajok;
        Table t;
        t.name = F::name;
        t.fields = {key(integer(F::Id)), text(F::Faj), text(F::Opt)};
        t.defaultOrder = {F::Id};
        t.defaultsResource = QStringLiteral(":/reference/Fajok.csv");
        tables.append(t);
    }
    {
        namespace F = Tables::Hatar;
        Table t;
        t.name = F::name;
        t.fields = {integer(F::Fajid), integer(F::Szezon), text(F::Elem), real(F::Hatar),
            integer(F::Ertek), text(F::Ertekeles)};
        t.indexes = {{QStringLiteral("HatarInd"), {F::Fajid, F::Szezon, F::Elem, F::Hatar}}};
        // table order: the rows as imported
        t.defaultsResource = QStringLiteral(":/reference/Hatar.csv");
        tables.append(t);
    }
    {
        namespace F = Tables::NitrateLimits;
        Table t;
        t.name = F::name;
        t.fields = {text(F::Novid, 6), integer(F::Sztid), integer(F::Level), real(F::MaxN)};
        t.indexes = {{QStringLiteral("NitrateLimitsInd"), {F::Novid, F::Sztid, F::Level}}};
        t.defaultOrder = {F::Novid, F::Sztid, F::Level};
        t.defaultsResource = QStringLiteral(":/reference/NitrateLimits.csv");
        tables.append(t);
    }
    return tables;
}

QString typeSql(const Field &field)
{
    switch (field.type) {
    case FieldType::Text:
        return field.maxLength > 0 ? QStringLiteral("TEXT(%1)").arg(field.maxLength)
                                   : QStringLiteral("TEXT");
    case FieldType::Real:
        return QStringLiteral("REAL");
    case FieldType::Integer:
        return QStringLiteral("INTEGER");
    case FieldType::Boolean:
        return QStringLiteral("BOOLEAN");
    // ISO text (yyyy-MM-dd); a TEXT declaration keeps SQLite from reading it as a number
    case FieldType::Date:
        return QStringLiteral("TEXT");
    case FieldType::AutoIncrement:
        return QStringLiteral("INTEGER");
    }
    return QStringLiteral("TEXT");
}

QString columnSql(const Field &field)
{
    const QString name = quoted(field.name);
    QString sql = name + QLatin1Char(' ') + typeSql(field);
    if (field.isKey) {
        sql += QStringLiteral(" PRIMARY KEY");
        if (field.type == FieldType::AutoIncrement)
            sql += QStringLiteral(" AUTOINCREMENT");
    }
    if (field.isNotNull)
        sql += QStringLiteral(" NOT NULL");
    if (!field.defaultValue.isEmpty())
        sql += QStringLiteral(" DEFAULT ") + field.defaultValue;
    if (field.type == FieldType::Text && field.maxLength > 0)
        sql += QStringLiteral(" CHECK (length(%1) <= %2)").arg(name).arg(field.maxLength);
    if (field.type == FieldType::Boolean)
        sql += QStringLiteral(" CHECK (%1 IN (0, 1))").arg(name);
    if (field.type == FieldType::Date)
        sql += QStringLiteral(" CHECK (%1 IS NULL OR %1 = date(%1))").arg(name);
    return sql;
}

// Lower case with the Hungarian accents folded: á é í ó ú sort with their base letter,
// ö ő and ü ű right after every word of o and u ("{" follows "z"). SQLite's lower() knows
// ASCII letters only, so the accented capitals are replaced first.
QString hungarianFoldSql(const QString &expression)
{
    static const QList<std::pair<QString, QString>> replacements = {
        {QStringLiteral("Á"), QStringLiteral("a")},
        {QStringLiteral("á"), QStringLiteral("a")},
        {QStringLiteral("É"), QStringLiteral("e")},
        {QStringLiteral("é"), QStringLiteral("e")},
        {QStringLiteral("Í"), QStringLiteral("i")},
        {QStringLiteral("í"), QStringLiteral("i")},
        {QStringLiteral("Ó"), QStringLiteral("o")},
        {QStringLiteral("ó"), QStringLiteral("o")},
        {QStringLiteral("Ö"), QStringLiteral("o{")},
        {QStringLiteral("ö"), QStringLiteral("o{")},
        {QStringLiteral("Ő"), QStringLiteral("o{")},
        {QStringLiteral("ő"), QStringLiteral("o{")},
        {QStringLiteral("Ú"), QStringLiteral("u")},
        {QStringLiteral("ú"), QStringLiteral("u")},
        {QStringLiteral("Ü"), QStringLiteral("u{")},
        {QStringLiteral("ü"), QStringLiteral("u{")},
        {QStringLiteral("Ű"), QStringLiteral("u{")},
        {QStringLiteral("ű"), QStringLiteral("u{")},
    };
    QString sql = expression;
    for (const auto &[from, to] : replacements)
        sql = QStringLiteral("replace(%1, '%2', '%3')").arg(sql, from, to);
    return QStringLiteral("lower(%1)").arg(sql);
}

} // namespace

const Field *Table::field(const QString &fieldName) const
{
    for (const Field &candidate : fields) {
        if (candidate.name == fieldName)
            return &candidate;
    }
    return nullptr;
}

QStringList Table::fieldNames() const
{
    QStringList names;
    for (const Field &candidate : fields)
        names.append(candidate.name);
    return names;
}

const QList<Table> &referenceTables()
{
    static const QList<Table> tables = buildTables();
    return tables;
}

const Table *table(const QString &tableName)
{
    for (const Table &candidate : referenceTables()) {
        if (candidate.name == tableName)
            return &candidate;
    }
    return nullptr;
}

QString quoted(const QString &identifier)
{
    QString text = identifier;
    text.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + text + QLatin1Char('"');
}

QDate storedDate(const QString &text)
{
    // Qt's ISO reading accepts other separators; the stored form has exactly this one
    static const QString format = QStringLiteral("yyyy-MM-dd");
    if (text.size() != format.size())
        return QDate();
    const QDate date = QDate::fromString(text, format);
    return date.isValid() && date.toString(format) == text ? date : QDate();
}

QString orderExpression(const Field &field)
{
    if (field.sortsBlankAsZero)
        return QStringLiteral("coalesce(%1, 0)").arg(quoted(field.name));
    switch (field.order) {
    case TextOrder::Exact:
        return quoted(field.name);
    case TextOrder::NoCase:
        return quoted(field.name) + QStringLiteral(" COLLATE NOCASE");
    case TextOrder::Hungarian:
        return hungarianFoldSql(quoted(field.name));
    }
    return quoted(field.name);
}

QStringList createStatements(const Table &table)
{
    QStringList columns;
    for (const Field &field : table.fields)
        columns.append(columnSql(field));
    if (!table.uniqueTogether.isEmpty()) {
        QStringList names;
        for (const QString &name : table.uniqueTogether)
            names.append(quoted(name));
        columns.append(QStringLiteral("UNIQUE (%1)").arg(names.join(QStringLiteral(", "))));
    }
    QStringList statements;
    statements.append(QStringLiteral("CREATE TABLE %1 (%2)")
                          .arg(quoted(table.name), columns.join(QStringLiteral(", "))));
    for (const Index &index : table.indexes) {
        QStringList keys;
        for (const QString &name : index.fields) {
            const Field *field = table.field(name);
            keys.append(field ? orderExpression(*field) : quoted(name));
        }
        statements.append(
            QStringLiteral("CREATE %1INDEX %2 ON %3 (%4)")
                .arg(index.isUnique ? QStringLiteral("UNIQUE ") : QString(), quoted(index.name),
                    quoted(table.name), keys.join(QStringLiteral(", "))));
    }
    return statements;
}

} // namespace Schema
