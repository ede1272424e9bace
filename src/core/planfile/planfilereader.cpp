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

bool decode(const QByteArray &bytes, PlanItems &items)
{
    const qint64 size = bytes.size();
    if (size < countsSize + headerSize)
        return false;
    const char *data = bytes.constData();
    const qint32 columnCount = takeInt32(data);
    const qint32 scheduleCount = takeInt32(data + 4);
    const char *header = data + countsSize;
    const qint32 version = takeInt32(header + versionOffset);
    if (version < oldestReadVersion || version > writtenVersion)
        return false;
    if (columnCount < 1 || columnCount > maxColumnRecords || scheduleCount < 0
        || scheduleCount > maxScheduleRecords) {
        return false;
    }
    const qint64 recordsEnd = countsSize + headerSize + qint64(columnCount) * columnRecordSize
                              + qint64(scheduleCount) * scheduleRecordSize;
    int siteCategory = 0;
    int leafLinkCount = 0;
    if (version == oldestReadVersion) {
        if (size != recordsEnd)
            return false;
    } else {
        if (size < recordsEnd + trailerSize)
            return false;
        siteCategory = takeByte(data + recordsEnd);
        if (siteCategory >= siteCategoryCodes)
            return false;
        // Version 14 wrote the count but no links: the byte means nothing there.
        if (version == writtenVersion) {
            leafLinkCount = qint8(data[recordsEnd + 1]);
            if (leafLinkCount < 0 || leafLinkCount > maxLeafLinkRecords)
                return false;
        }
        if (size != recordsEnd + trailerSize + qint64(leafLinkCount) * leafLinkRecordSize)
            return false;
    }

    for (const int offset : quantityOffsets) {
        if (!isPlausibleQuantity(takeDouble(header + offset)))
            return false;
    }

    for (int e = 0; e < Elements::elementCount; ++e)
        items.elementSelected[size_t(e)] = takeByte(header + elementsOffset + e) != 0;
    items.showDescriptions = takeByte(header + showDescriptionsOffset) != 0;

    items.siteCategory = siteCategory;
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
    const char *cursor = header + headerSize;
    for (int column = 1; column <= columnCount; ++column) {
        for (int v = 0; v < valueCount; ++v) {
            const double value = takeDouble(cursor + 8 * v);
            if (!isPlausibleSoilValue(v, value))
                return false;
            soil.setCell(firstValueRow + v, column, Text::formatGeneral(value));
        }
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
        if (!isPlausibleDate(year, month, day))
            return false;
        bool plausible = isPlausibleQuantity(takeDouble(cursor + amountOffset))
                         && isPlausibleQuantity(takeDouble(cursor + otherContentOffset));
        for (int e = 0; e < contentColumnCount && plausible; ++e)
            plausible = isPlausibleQuantity(takeDouble(cursor + contentsOffset + 8 * e));
        if (!plausible)
            return false;
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
    cursor += version == oldestReadVersion ? 0 : trailerSize;

    // The linking grid: header, one row per link, one empty row. Only the mark and the leaf
    // sample's Id are stored; the opener fills the sample's other columns from the register.
    TextGrid &links = items.leafLinks;
    links.resize(leafLinkCount + 2, std::max(links.columnCount(), PlanItems::leafLinkColumnCount));
    links.clear(1, links.rowCount() - 1, 0, links.columnCount() - 1);
    for (int row = 1; row <= leafLinkCount; ++row) {
        links.setCell(row, leafMarkColumn, Text::readFixedField(cursor, leafMarkSize));
        links.setCell(row, leafIdColumn, QString::number(takeInt32(cursor + leafIdOffset)));
        cursor += leafLinkRecordSize;
    }
    return true;
}

} // namespace

bool readPlanFile(QIODevice &device, PlanItems &items, QString *error)
{
    // One byte more than the largest plan tells a file that goes on past its records.
    const QByteArray bytes = device.read(largestFileSize + 1);
    PlanItems read = items;
    if (!decode(bytes, read)) {
        if (error)
            *error = formatError();
        return false;
    }
    items = std::move(read);
    return true;
}

bool loadPlanFile(const QString &path, PlanItems &items, QString *error)
{
    QFile file;
    QString reason;
    if (!Files::openForReading(file, path, &reason)) {
        if (error) {
            *error = QStringLiteral("A fájl nem nyitható meg: %1 (%2)")
                         .arg(QDir::toNativeSeparators(path), reason);
        }
        return false;
    }
    return readPlanFile(file, items, error);
}

} // namespace PlanFile
