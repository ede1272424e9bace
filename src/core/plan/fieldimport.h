#pragma once

#include <QString>

class FarmDatabase;
class FarmTable;
struct PlanItems;

// "Lekérés" of the data request: copies the selected field or parcel of the farm database and
// its soil samples into the plan.
enum class FarmRecordKind { Fields, Parcels };

// `record` is the field (Tablak) or parcel (parcellak) table positioned on the chosen row.
// Fields: lot number := Helysz, area := Ter; parcels: parcel number := Parcsor, area := Ter.
// The samples of the record (Talajmintak or PTalajmintak, "Tablakod = " id) fill the soil
// table in table order: the record with Mintas = 0 the average column, the others the sample
// columns; the sample count becomes the number of those. The grid is not cleared first.
// Returns false with a message and changes nothing when the record or its samples cannot be
// read.
bool importField(PlanItems &items, const FarmTable &record, const FarmDatabase &farm,
                 FarmRecordKind kind, QString *error);
