#include "core/planfile/planfile.h"

#include "core/files/fileaccess.h"
#include "core/plan/planitems.h"
#include "core/planfile/planfilelayout.h"
#include "core/planfile/plausiblevalues.h"
#include "core/text/cp1250.h"
#include "core/text/dates.h"
#include "core/text/numbers.h"

#include <QDir>
#include <QFile>
#include <QIODevice>
#include <QtEndian>

#include <algorithm>
#include <cstring>
#include <optional>

namespace PlanFile {

using namespace Layout;

namespace {

constexpr qint64 largestFileSize = countsSize + headerSize
                                   + qint64(maxColumnRecords) * columnRecordSize
                                   + qint64(maxScheduleRecords) * scheduleRecordSize
                                   + trailerSize
                                   + qint64(maxLeafLinkRecords) * leafLinkRecordSize;

QString formatError()
{
    return QStringLiteral("A fájl nem Tápanyag-gazdálkodási terv, vagy sérült.");
}

qint32 takeInt32(const char *source)
{
    return qFromLittleEndian<qint32>(source);
}

double takeDouble(const char *source)
{
    const quint64 bits = qFromLittleEndian<quint64>(source);
    double value = 0;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

int takeByte(const char *source)
{
    return quint8(*source);
}

// An edit that shows nothing for 0, unless the value is needed.
QString editText(double value, bool needed = false)
{
    return value == 0 && !needed ? QString() : Text::formatGeneral(value);
}

// A radio code the group does not have checks no button.
int radioCode(int code, int codeCount)
{
    return code < codeCount ? code : -1;
}

// The doubles of the header that hold quantities.
constexpr int quantityOffsets[] = {plannedYieldOffset, forecropYieldOffset, manureAmountOffset,
                                   residualNOffset,    residualPOffset,     residualKOffset};

// Where the parts of a plan file lie, once the whole file has been checked.
struct FileParts
{
    int columnCount = 0;
    int scheduleCount = 0;
    int siteCategory = 0;
    int leafLinkCount = 0;
    const char *header = nullptr;
    const char *columns = nullptr;
    const char *schedule = nullptr;
    const char *links = nullptr;
};

bool plausibleApplication(const char *record)
{
    if (!isPlausibleDate(takeInt32(record + yearOffset), takeInt32(record + monthOffset),
                         takeInt32(record + dayOffset))
        || !isPlausibleQuantity(takeDouble(record + amountOffset))
        || !isPlausibleQuantity(takeDouble(record + otherContentOffset))) {
        return false;
    }
    for (int e = 0; e < contentColumnCount; ++e) {
        if (!isPlausibleQuantity(takeDouble(record + contentsOffset + 8 * e)))
            return false;
    }
    return true;
}

// Checks the file whole, as every reader of plans takes it: a version the program reads,
// counts within the limits, the length the counts give, and every stored number plausible.
// No value for a file to be refused.
std::optional<FileParts> checkFile(const QByteArray &bytes)
{
    const qint64 size = bytes.size();
    if (size < countsSize + headerSize)
        return std::nullopt;
    FileParts parts;
    const char *data = bytes.constData();
    const qint32 columnCount = takeInt32(data);
    const qint32 scheduleCount = takeInt32(data + 4);
    parts.header = data + countsSize;
    const qint32 version = takeInt32(parts.header + versionOffset);
    if (version < oldestReadVersion || version > writtenVersion)
        return std::nullopt;
    if (columnCount < 1 || columnCount > maxColumnRecords || scheduleCount < 0
        || scheduleCount > maxScheduleRecords) {
        return std::nullopt;
    }
    parts.columnCount = columnCount;
    parts.scheduleCount = scheduleCount;
    const qint64 recordsEnd = countsSize + headerSize + qint64(columnCount) * columnRecordSize
                              + qint64(scheduleCount) * scheduleRecordSize;
    if (version == oldestReadVersion) {
        if (size != recordsEnd)
            return std::nullopt;
    } else {
        if (size < recordsEnd + trailerSize)
            return std::nullopt;
        parts.siteCategory = takeByte(data + recordsEnd);
        if (parts.siteCategory >= siteCategoryCodes)
            return std::nullopt;
        // Version 14 wrote the count but no links: the byte means nothing there.
        if (version == writtenVersion) {
            parts.leafLinkCount = qint8(data[recordsEnd + 1]);
            if (parts.leafLinkCount < 0 || parts.leafLinkCount > maxLeafLinkRecords)
                return std::nullopt;
        }
        if (size != recordsEnd + trailerSize + qint64(parts.leafLinkCount) * leafLinkRecordSize)
            return std::nullopt;
    }
    parts.columns = parts.header + headerSize;
    parts.schedule = parts.columns + qint64(columnCount) * columnRecordSize;
    parts.links = data + recordsEnd + (version == oldestReadVersion ? 0 : trailerSize);

    for (const int offset : quantityOffsets) {
        if (!isPlausibleQuantity(takeDouble(parts.header + offset)))
            return std::nullopt;
    }
    for (int column = 0; column < columnCount; ++column) {
        const char *record = parts.columns + qint64(column) * columnRecordSize;
        for (int v = 0; v < valueCount; ++v) {
            if (!isPlausibleSoilValue(v, takeDouble(record + 8 * v)))
                return std::nullopt;
        }
    }
    for (int row = 0; row < scheduleCount; ++row) {
        if (!plausibleApplication(parts.schedule + qint64(row) * scheduleRecordSize))
            return std::nullopt;
    }
    return parts;
}

// Writes the items of a checked file.
void decode(const FileParts &parts, PlanItems &items)
{
    const char *header = parts.header;
    const int columnCount = parts.columnCount;
    const int scheduleCount = parts.scheduleCount;
    for (int e = 0; e < Elements::elementCount; ++e)
        items.elementSelected[size_t(e)] = takeByte(header + elementsOffset + e) != 0;
    items.showDescriptions = takeByte(header + showDescriptionsOffset) != 0;

    items.siteCategory = parts.siteCategory;
    items.lotNumber = Text::readFixedField(header + lotNumberOffset, lotNumberSize);
    // An area of 0 was not given: the edit keeps what it shows.
    const qint32 area = takeInt32(header + areaOffset);
    if (area != 0)
        items.area = QString::number(area);
    items.programAverage = takeByte(header + programAverageOffset) != 0;
    items.sampleCount = columnCount - 1;
    TextGrid &soil = items.soilSampleTable;
    if (soil.rowCount() < PlanItems::soilRowCount || soil.columnCount() < PlanItems::soilColumnCount)
        soil.resize(PlanItems::soilRowCount, PlanItems::soilColumnCount);
    soil.clear(markRow, PlanItems::soilRowCount - 1, 1, soil.columnCount() - 1);
    const char *cursor = parts.columns;
    for (int column = 1; column <= columnCount; ++column) {
        for (int v = 0; v < valueCount; ++v)
            soil.setCell(firstValueRow + v, column, Text::formatGeneral(takeDouble(cursor + 8 * v)));
        soil.setCell(markRow, column, Text::readFixedField(cursor + markOffset, markSize));
        cursor += columnRecordSize;
    }
    items.farmingYear = Text::readFixedField(header + farmingYearOffset, farmingYearSize);
    items.parcelNumber = Text::readFixedField(header + parcelNumberOffset, parcelNumberSize);

    const double plannedYield = takeDouble(header + plannedYieldOffset);
    items.plannedYield = plannedYield == -1 ? QString() : editText(plannedYield);
    // Novid has no trailing blanks, so a field padded with blanks names the same crop.
    QString cropId = Text::readFixedField(header + cropIdOffset, cropIdSize);
    while (cropId.endsWith(QLatin1Char(' ')))
        cropId.chop(1);
    items.cropId = cropId;

    items.residueCrop = radioCode(takeByte(header + residueCropOffset), residueCropCodes);
    items.legumeEffect = radioCode(takeByte(header + legumeEffectOffset), legumeEffectCodes);
    items.manureTiming = radioCode(takeByte(header + manureTimingOffset), manureTimingCodes);
    items.yieldLoss = takeByte(header + yieldLossOffset) != 0;
    // A value its option needs shows "0" rather than the empty edit that step 4 refuses,
    // so that a plan saved with such a 0 can still be computed once reopened.
    const bool residueChosen = items.residueCrop != PlanItems::EgyikSem;
    const bool manureChosen = items.manureTiming != PlanItems::NemVolt;
    items.forecropYield = editText(takeDouble(header + forecropYieldOffset), residueChosen);
    items.manureAmount = editText(takeDouble(header + manureAmountOffset), manureChosen);
    items.residualN = editText(takeDouble(header + residualNOffset), items.yieldLoss);
    items.residualP = editText(takeDouble(header + residualPOffset), items.yieldLoss);
    items.residualK = editText(takeDouble(header + residualKOffset), items.yieldLoss);

    // Both grids get a row per application below their headers, and at least one row.
    TextGrid &schedule = items.scheduleGrid;
    TextGrid &detail = items.scheduleDetailGrid;
    const int scheduleRows = std::max(scheduleCount + 1, 2);
    schedule.resize(scheduleRows, std::max(schedule.columnCount(), PlanItems::scheduleColumnCount));
    detail.resize(scheduleRows, std::max(detail.columnCount(), PlanItems::detailColumnCount));
    schedule.clear(1, scheduleRows - 1, 0, schedule.columnCount() - 1);
    detail.clear(1, scheduleRows - 1, 0, detail.columnCount() - 1);
    for (int row = 1; row <= scheduleCount; ++row) {
        const qint32 year = takeInt32(cursor + yearOffset);
        const qint32 month = takeInt32(cursor + monthOffset);
        const qint32 day = takeInt32(cursor + dayOffset);
        schedule.setCell(row, dateColumn, Text::formatShortDateNoLeadingZeros(year, month, day));
        schedule.setCell(row, nameColumn,
                         Text::readFixedField(cursor + materialNameOffset, materialNameSize));
        schedule.setCell(row, amountColumn, Text::formatGeneral(takeDouble(cursor + amountOffset)));
        for (int e = 0; e < contentColumnCount; ++e)
            detail.setCell(row, e, Text::formatGeneral(takeDouble(cursor + contentsOffset + 8 * e)));
        detail.setCell(row, otherNameColumn,
                       Text::readFixedField(cursor + otherNameOffset, otherNameSize));
        detail.setCell(row, otherContentColumn,
                       Text::formatGeneral(takeDouble(cursor + otherContentOffset)));
        detail.setCell(row, materialIdColumn, QString::number(takeInt32(cursor + materialIdOffset)));
        detail.setCell(row, valueColumn, QStringLiteral("0"));
        detail.setCell(row, unitColumn, Text::readFixedField(cursor + unitOffset, unitSize));
        cursor += scheduleRecordSize;
    }
    cursor = parts.links;

    // The linking grid: header, one row per link, one empty row. Only the mark and the leaf
    // sample's Id are stored; the opener fills the sample's other columns from the register.
    TextGrid &links = items.leafLinks;
    const int leafLinkCount = parts.leafLinkCount;
    links.resize(leafLinkCount + 2, std::max(links.columnCount(), PlanItems::leafLinkColumnCount));
    links.clear(1, links.rowCount() - 1, 0, links.columnCount() - 1);
    for (int row = 1; row <= leafLinkCount; ++row) {
        links.setCell(row, leafMarkColumn, Text::readFixedField(cursor, leafMarkSize));
        links.setCell(row, leafIdColumn, QString::number(takeInt32(cursor + leafIdOffset)));
        cursor += leafLinkRecordSize;
    }
}

// The file's bytes, and one byte more than the largest plan to tell a file that goes on
// past its records. A file of known size is read in one buffer of its own size.
QByteArray readWholeFile(QIODevice &device)
{
    qint64 wanted = largestFileSize + 1;
    if (!device.isSequential())
        wanted = std::min(wanted, std::max<qint64>(device.size() - device.pos(), 0) + 1);
    return device.read(wanted);
}

// Reads the whole file into `bytes` and checks all of it; its parts point into `bytes`.
std::optional<FileParts> readCheckedFile(QIODevice &device, QByteArray &bytes, QString *error)
{
    bytes = readWholeFile(device);
    std::optional<FileParts> parts = checkFile(bytes);
    if (!parts && error)
        *error = formatError();
    return parts;
}

} // namespace

bool readPlanFile(QIODevice &device, PlanItems &items, QString *error)
{
    // Every check comes before the first item is written.
    QByteArray bytes;
    const std::optional<FileParts> parts = readCheckedFile(device, bytes, error);
    if (!parts)
        return false;
    decode(*parts, items);
    return true;
}

bool readPlanSchedule(QIODevice &device, PlanSchedule &schedule, QString *error)
{
    QByteArray bytes;
    const std::optional<FileParts> parts = readCheckedFile(device, bytes, error);
    if (!parts)
        return false;
    schedule.area = takeInt32(parts->header + areaOffset);
    schedule.applications.clear();
    for (int row = 0; row < parts->scheduleCount; ++row) {
        const char *record = parts->schedule + qint64(row) * scheduleRecordSize;
        schedule.applications.append(
            {takeInt32(record + materialIdOffset),
             Text::readFixedField(record + materialNameOffset, materialNameSize),
             takeDouble(record + amountOffset)});
    }
    return true;
}

namespace {

// Opens a plan file for one of the readers; false with the message naming the file.
bool openPlanFile(QFile &file, const QString &path, QString *error)
{
    QString reason;
    if (Files::openForReading(file, path, &reason))
        return true;
    if (error) {
        *error = QStringLiteral("A fájl nem nyitható meg: %1 (%2)")
                     .arg(QDir::toNativeSeparators(path), reason);
    }
    return false;
}

} // namespace

bool loadPlanFile(const QString &path, PlanItems &items, QString *error)
{
    QFile file;
    return openPlanFile(file, path, error) && readPlanFile(file, items, error);
}

bool loadPlanSchedule(const QString &path, PlanSchedule &schedule, QString *error)
{
    QFile file;
    return openPlanFile(file, path, error) && readPlanSchedule(file, schedule, error);
}

} // namespace PlanFile
