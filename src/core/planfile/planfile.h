#pragma once

#include <QList>
#include <QString>

class QIODevice;
struct PlanItems;

// The plan file (*.tap, "Tápanyag-gazdálkodási terv"): a flat little-endian image of the
// persisted plan items — two counts, a 168-byte header, then the soil-sample columns, the
// schedule rows and (from version 14 on) the site category and the soil–leaf links. The
// program writes version 15 and reads versions 13 to 15.
namespace PlanFile {

constexpr int writtenVersion = 15;
constexpr int oldestReadVersion = 13;

// Sizes of the parts of the file.
constexpr int countsSize = 8;
constexpr int headerSize = 168;
constexpr int columnRecordSize = 112;
constexpr int scheduleRecordSize = 216;
constexpr int trailerSize = 2; // site category and leaf-link count, versions 14 and 15
constexpr int leafLinkRecordSize = 56;

constexpr int maxColumnRecords = 1000; // the average column and at most 999 samples
constexpr int maxScheduleRecords = 50;
constexpr int maxLeafLinkRecords = 127;

// Schedule rows the file holds: none while row 1 has no material name, else every row
// below the header.
int scheduleRecordCount(const PlanItems &items);

// Soil–leaf links the file holds: the linking grid keeps one empty row below its last
// link, so the count is the row count less the header and that row.
int leafLinkRecordCount(const PlanItems &items);

// Converts every item first and writes nothing when one does not convert (an area that
// is not a whole number, a grid number or date that is not one, a count beyond the file's
// limits); the error text says which. Texts longer than their field are cut so that they
// end inside it. A site category that is not chosen is written as I.
bool writePlanFile(QIODevice &device, const PlanItems &items, QString *error);

// Reads a whole plan file into the persisted items (the caller resets the plan first).
// The numbers come back as text in the general format, dates without leading zeros, an
// empty edit for a zero value, and the Ertek column of the schedule details as "0". A file
// of another version, with counts beyond the limits or of another length than its counts
// give is refused with the same format message, and the items are left as they were.
bool readPlanFile(QIODevice &device, PlanItems &items, QString *error);

// What a plan schedules, without the rest of the plan: for summing many plan files.
struct ScheduledApplication
{
    qint32 materialId = 0; // Anyagid; 0 for a material of an older installation
    QString materialName;
    double amount = 0; // kg/ha
};
struct PlanSchedule
{
    qint32 area = 0; // whole square metres; 0 when the plan has none
    QList<ScheduledApplication> applications;
};

// Reads only the area and the schedule of a plan file, which is checked exactly as
// readPlanFile checks it: a file readPlanFile refuses is refused here with the same message.
bool readPlanSchedule(QIODevice &device, PlanSchedule &schedule, QString *error);
bool loadPlanSchedule(const QString &path, PlanSchedule &schedule, QString *error);

// Writes through a temporary file in the target's directory that replaces the target only
// when it is complete, so a failed save leaves the old file as it was.
bool savePlanFile(const QString &path, const PlanItems &items, QString *error);
bool loadPlanFile(const QString &path, PlanItems &items, QString *error);

// "terv" gives "terv.tap"; only a name ending in exactly ".tap" is kept ("terv.TAP" gets
// ".tap" too, as the save dialog's filter has it in lower case).
QString ensureTapExtension(const QString &path);

} // namespace PlanFile
