#pragma once

#include <QDate>
#include <QLatin1String>
#include <QList>
#include <QString>
#include <QStringList>

// The names of the reference tables and their fields, each spelled once. Field names are
// exactly as stored, capitals included; code elsewhere writes Tables::Find2::Sztid, never
// the bare text.
namespace Tables {

namespace Nov { // crop species
inline constexpr QLatin1String name {"Nov"};
inline constexpr QLatin1String Novid {"Novid"}; // crop id, a decimal number written as text
inline constexpr QLatin1String Nev {"Nev"};
} // namespace Nov

namespace Find { // supply-level classification rules, in file order
inline constexpr QLatin1String name {"Find"};
inline constexpr QLatin1String Find {"Find"}; // element code
inline constexpr QLatin1String St1 {"St1"};
inline constexpr QLatin1String St2 {"St2"};
inline constexpr QLatin1String St3 {"St3"};
inline constexpr QLatin1String S1 {"S1"};
inline constexpr QLatin1String S2 {"S2"};
inline constexpr QLatin1String S3 {"S3"};
inline constexpr QLatin1String S4 {"S4"}; // supply level 1..7
// Row number in the order the rules were imported: the classification walk reads one
// element's rows in this order, so it is the table's key.
inline constexpr QLatin1String Sorszam {"Sorszam"};
} // namespace Find

namespace Find2 { // crops' specific need, kg per tonne of yield
inline constexpr QLatin1String name {"Find2"};
inline constexpr QLatin1String Novid {"Novid"};
inline constexpr QLatin1String Anyid {"Anyid"}; // "N", "P" or "K"
inline constexpr QLatin1String Sztid {"Sztid"}; // site category 1..6
inline constexpr QLatin1String Igy {"Igy"};
inline constexpr QLatin1String Gy {"Gy"};
inline constexpr QLatin1String K {"K"};
inline constexpr QLatin1String M {"M"};
inline constexpr QLatin1String J {"J"};
inline constexpr QLatin1String S {"S"};
inline constexpr QLatin1String I {"I"};
} // namespace Find2

namespace Find2Back { // built-in default copy of Find2, same fields
inline constexpr QLatin1String name {"Find2Back"};
} // namespace Find2Back

namespace Find3 { // autumn/spring split rules
inline constexpr QLatin1String name {"Find3"};
inline constexpr QLatin1String Id {"Id"};
inline constexpr QLatin1String Ka {"Ka"}; // upper limit of the plasticity band
inline constexpr QLatin1String Novid {"Novid"};
inline constexpr QLatin1String Sztid {"Sztid"};
inline constexpr QLatin1String ON {"ON"}; // autumn share of N, %
inline constexpr QLatin1String OP {"OP"};
inline constexpr QLatin1String OK {"OK"};
inline constexpr QLatin1String MaxN {"MaxN"}; // largest autumn N dose, kg/ha
} // namespace Find3

namespace Find3Back { // built-in default copy of Find3, without Id
inline constexpr QLatin1String name {"Find3Back"};
} // namespace Find3Back

namespace Tapanyagok { // fertiliser materials; rows are never removed
inline constexpr QLatin1String name {"Tapanyagok"};
inline constexpr QLatin1String Anyagid {"Anyagid"};
inline constexpr QLatin1String Megnev {"Megnev"};
inline constexpr QLatin1String Mert {"Mert"}; // "kg" or "l"
inline constexpr QLatin1String N {"N"};
inline constexpr QLatin1String P {"P"};
inline constexpr QLatin1String K {"K"};
inline constexpr QLatin1String Mg {"Mg"};
inline constexpr QLatin1String S {"S"};
inline constexpr QLatin1String Mn {"Mn"};
inline constexpr QLatin1String Zn {"Zn"};
inline constexpr QLatin1String Cu {"Cu"};
inline constexpr QLatin1String Fe {"Fe"};
inline constexpr QLatin1String Mo {"Mo"};
inline constexpr QLatin1String B {"B"};
inline constexpr QLatin1String Egyeb {"Egyeb"};
inline constexpr QLatin1String Egyebmeny {"Egyebmeny"};
inline constexpr QLatin1String Ertek {"Ertek"};
inline constexpr QLatin1String Deleted {"Deleted"};
} // namespace Tapanyagok

namespace Jav { // recommendation texts per element
inline constexpr QLatin1String name {"Jav"};
inline constexpr QLatin1String Javid {"Javid"};
inline constexpr QLatin1String Javtap {"Javtap"}; // element code
inline constexpr QLatin1String Jav {"Jav"};
} // namespace Jav

namespace Comptext { // help texts keyed by the main window's control names
inline constexpr QLatin1String name {"Comptext"};
inline constexpr QLatin1String Compname {"Compname"};
inline constexpr QLatin1String Text {"Text"};
} // namespace Comptext

namespace Modtext { // the two editable captions of step 2, one row
inline constexpr QLatin1String name {"Modtext"};
inline constexpr QLatin1String St1 {"St1"};
inline constexpr QLatin1String St2 {"St2"};
} // namespace Modtext

namespace Tanacsado { // the adviser, one row
inline constexpr QLatin1String name {"Tanacsado"};
inline constexpr QLatin1String Nev {"Nev"};
inline constexpr QLatin1String Cim {"Cim"};
inline constexpr QLatin1String Telep {"Telep"};
inline constexpr QLatin1String Irany {"Irany"}; // post code
inline constexpr QLatin1String Tel {"Tel"};
inline constexpr QLatin1String Fax {"Fax"};
inline constexpr QLatin1String Email {"Email"};
inline constexpr QLatin1String Regsz {"Regsz"};
inline constexpr QLatin1String Szerv {"Szerv"};
inline constexpr QLatin1String Megjel {"Megjel"}; // show on the summary
} // namespace Tanacsado

namespace Mintak { // leaf-sample results; rows are never removed
inline constexpr QLatin1String name {"Mintak"};
inline constexpr QLatin1String Id {"Id"};
inline constexpr QLatin1String Nev {"Nev"};
inline constexpr QLatin1String Labor {"Labor"};
inline constexpr QLatin1String Mintaazon {"Mintaazon"};
inline constexpr QLatin1String Datum {"Datum"};
inline constexpr QLatin1String Blokk {"Blokk"};
inline constexpr QLatin1String Tablassz {"Tablassz"};
inline constexpr QLatin1String Gazdev {"Gazdev"};
inline constexpr QLatin1String Ter {"Ter"};
inline constexpr QLatin1String Fajid {"Fajid"};
inline constexpr QLatin1String Szuretkor {"Szuretkor"};
inline constexpr QLatin1String N {"N"};
inline constexpr QLatin1String P {"P"};
inline constexpr QLatin1String K {"K"};
inline constexpr QLatin1String Ca {"Ca"};
inline constexpr QLatin1String Mg {"Mg"};
inline constexpr QLatin1String Deleted {"Deleted"};
} // namespace Mintak

namespace Fajok { // fruit species
inline constexpr QLatin1String name {"Fajok"};
inline constexpr QLatin1String Id {"Id"};
inline constexpr QLatin1String Faj {"Faj"};
inline constexpr QLatin1String Opt {"Opt"};
} // namespace Fajok

namespace Hatar { // leaf-content thresholds
inline constexpr QLatin1String name {"Hatar"};
inline constexpr QLatin1String Fajid {"Fajid"};
inline constexpr QLatin1String Szezon {"Szezon"}; // 1 = sampled at harvest
inline constexpr QLatin1String Elem {"Elem"};
inline constexpr QLatin1String Hatar {"Hatar"};
inline constexpr QLatin1String Ertek {"Ertek"};
inline constexpr QLatin1String Ertekeles {"Ertekeles"};
} // namespace Hatar

namespace NitrateLimits { // largest yearly N dose on nitrate-sensitive areas
inline constexpr QLatin1String name {"NitrateLimits"};
inline constexpr QLatin1String Novid {"Novid"};
inline constexpr QLatin1String Sztid {"Sztid"};
inline constexpr QLatin1String Level {"Level"}; // N supply level 1..7
inline constexpr QLatin1String MaxN {"MaxN"};
} // namespace NitrateLimits

// Every soft-deleted table carries this flag; lists leave its true rows out.
inline constexpr QLatin1String Deleted {"Deleted"};

} // namespace Tables

// How the reference database stores each table: fields in their positions, keys, indexes and
// the order a plain read gives. The database is created from this description and checked
// against it when opened.
namespace Schema {

enum class FieldType { Text, Real, Integer, Boolean, Date, AutoIncrement };

// How a text field sorts when a read orders by it.
enum class TextOrder {
    Exact, // binary, as stored
    NoCase, // ASCII letters without case
    Hungarian, // without case, accented Hungarian letters included (á with a, ö/ő after o)
};

struct Field
{
    QString name;
    FieldType type = FieldType::Text;
    int maxLength = 0; // text(n); 0 where the size is not fixed
    bool isKey = false; // the single-field primary key
    bool isNotNull = false; // with isKey or a default
    QString defaultValue; // SQL literal, empty for none
    TextOrder order = TextOrder::Exact;
    bool sortsBlankAsZero = false; // a number field whose empty value sorts as 0
};

struct Index
{
    QString name;
    QStringList fields;
    bool isUnique = false;
};

struct Table
{
    QString name;
    QList<Field> fields;
    QList<Index> indexes;
    QStringList uniqueTogether; // a table-level UNIQUE constraint, empty for none
    QStringList defaultOrder; // fields a read orders by when the caller names none
    QString defaultsResource; // the built-in CSV the table is seeded from, empty for none

    const Field *field(const QString &fieldName) const;
    bool hasField(const QString &fieldName) const { return field(fieldName) != nullptr; }
    bool isSoftDeleted() const { return hasField(Tables::Deleted); }
    QStringList fieldNames() const;
};

// Every table of the reference database, in creation order.
const QList<Table> &referenceTables();

// The description of one table, or null for a name that is not a reference table (exact
// comparison).
const Table *table(const QString &tableName);

// "CREATE TABLE ..." and the "CREATE INDEX ..." statements of one table.
QStringList createStatements(const Table &table);

// The SQL expression a read orders by for one field: the quoted name, a case-folding
// expression for fields that sort without case, or the value with a blank read as 0.
QString orderExpression(const Field &field);

// A name quoted as an SQL identifier: ON, K and S are field names here.
QString quoted(const QString &identifier);

// A date field's stored form, "yyyy-MM-dd" exactly; an invalid date for anything else.
QDate storedDate(const QString &text);

} // namespace Schema
