#pragma once

#include <QString>

// Writes a small farm database into `directory` (created when missing), as the
// farm-management program would leave it: Tablak.db, Talajmintak.db, parcellak.db and
// PTalajmintak.db, SQLite files of one table each. Six fields (one of them inactive) and four
// parcels (one of them inactive) of a farm near Kapuvár get the laboratory results read from
// `csvPath`; some of them also get an average record (Mintas 0, Mintajel "Átlag").
//
// The CSV has a header line naming its columns (Field;Sample;PH;KA;Mesz;Hsz;P2O5;K2O;Mg;Mn;
// Zn;Cu, further columns are ignored), ';' between cells and a decimal point; an empty cell
// was not measured and is stored as an empty field. The CSV is checked in full before
// anything is written, and the four files replace earlier ones only once all four are
// written, so a failure leaves the directory as it was. On failure `error` says why.
bool writeSampleFarm(const QString &csvPath, const QString &directory, QString *error);
