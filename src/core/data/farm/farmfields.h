#pragma once

#include "core/data/filter.h"

#include <QLatin1String>
#include <QString>

#include <array>

// Names of the farm tables and their fields, as the farm-management program stores them.
// The farm directory holds one file per table, "<table>.db"; Talajmintak and PTalajmintak
// share one layout.
namespace FarmTables {

inline constexpr QLatin1String Tablak{"Tablak"};             // fields of the farm
inline constexpr QLatin1String Talajmintak{"Talajmintak"};   // soil samples of the fields
inline constexpr QLatin1String parcellak{"parcellak"};       // parcels
inline constexpr QLatin1String PTalajmintak{"PTalajmintak"}; // soil samples of the parcels

} // namespace FarmTables

namespace FarmFields {

// Tablak
inline constexpr QLatin1String Tableid{"Tableid"}; // integer key
inline constexpr QLatin1String Helysz{"Helysz"};   // lot number
inline constexpr QLatin1String Blok{"Blok"};       // block
inline constexpr QLatin1String Muvag{"Muvag"};     // cultivation branch

// Tablak and parcellak
inline constexpr QLatin1String Hazmeg{"Hazmeg"}; // house name
inline constexpr QLatin1String Ter{"Ter"};       // area in square metres
inline constexpr QLatin1String Aktiv{"Aktiv"};   // Tablak: 1 = active; parcellak: "A"

// parcellak
inline constexpr QLatin1String Parc_id{"Parc_id"};   // integer key
inline constexpr QLatin1String Evj{"Evj"};           // farming year
inline constexpr QLatin1String Parcsor{"Parcsor"};   // parcel number
inline constexpr QLatin1String Agazat{"Agazat"};     // branch
inline constexpr QLatin1String Hasznkod{"Hasznkod"}; // use code

// Talajmintak and PTalajmintak
inline constexpr QLatin1String Tablakod{"Tablakod"}; // Tableid or Parc_id of the owner
inline constexpr QLatin1String Mintas{"Mintas"};     // sample number, 0 = the average
inline constexpr QLatin1String Mintajel{"Mintajel"}; // sample mark
inline constexpr QLatin1String PH{"PH"};
inline constexpr QLatin1String KA{"KA"};
inline constexpr QLatin1String Mesz{"Mesz"};
inline constexpr QLatin1String Hsz{"Hsz"};
inline constexpr QLatin1String P2O2{"P2O2"}; // phosphorus (P2O5), stored under this name
inline constexpr QLatin1String K2O{"K2O"};
inline constexpr QLatin1String Mg{"Mg"};
inline constexpr QLatin1String Mn{"Mn"};
inline constexpr QLatin1String Zn{"Zn"};
inline constexpr QLatin1String Cu{"Cu"};

// The ten laboratory values of a sample in the order of the soil-sample grid's rows 2-11.
inline constexpr std::array<QLatin1String, 10> sampleValues{PH, KA, Mesz, Hsz, P2O2, K2O, Mg, Mn, Zn, Cu};

// The value of Mintas that marks the field's average record.
inline constexpr int averageSampleNumber = 0;

// The rows the data request lists: active fields ("Aktiv = 1"), active parcels
// ("Aktiv = 'A'"), and the samples of one field or parcel ("Tablakod = " id).
inline Filter activeFields()
{
    return Filter::equals(Aktiv, 1);
}

inline Filter activeParcels()
{
    return Filter::equals(Aktiv, QStringLiteral("A"));
}

inline Filter samplesOf(int ownerId)
{
    return Filter::equals(Tablakod, ownerId);
}

} // namespace FarmFields
