#include "core/planfile/planfile.h"

#include "core/plan/planitems.h"
#include "core/text/cp1250.h"
#include "core/text/dates.h"
#include "core/text/numbers.h"

#include <QDir>
#include <QFile>
#include <QIODevice>
#include <QSaveFile>
#include <QtEndian>

#include <algorithm>
#include <cstring>
#include <optional>

namespace PlanFile {

namespace {

// Header offsets, from the start of the header (the file offset is 8 more).
constexpr int versionOffset = 0;
constexpr int areaOffset = 4;
constexpr int plannedYieldOffset = 8;
constexpr int programAverageOffset = 16;
constexpr int showDescriptionsOffset = 17;
constexpr int elementsOffset = 18;
constexpr int lotNumberOffset = 29;
constexpr int lotNumberSize = 30;
constexpr int parcelNumberOffset = 59;
constexpr int parcelNumberSize = 30;
constexpr int farmingYearOffset = 89;
constexpr int farmingYearSize = 20;
constexpr int cropIdOffset = 109;
constexpr int cropIdSize = 6;
constexpr int residueCropOffset = 115;
constexpr int legumeEffectOffset = 116;
constexpr int forecropYieldOffset = 120;
constexpr int manureAmountOffset = 128;
constexpr int manureTimingOffset = 136;
constexpr int yieldLossOffset = 137;
constexpr int residualNOffset = 144;
constexpr int residualPOffset = 152;
constexpr int residualKOffset = 160;

// Soil-sample column record: the ten values of rows 2–11, then the mark of row 1.
constexpr int markRow = 1;
constexpr int firstValueRow = 2;
constexpr int valueCount = 10;
constexpr int markOffset = 80;
constexpr int markSize = 32;

// Schedule record.
constexpr int materialIdOffset = 0;
constexpr int amountOffset = 8;
constexpr int yearOffset = 16;
constexpr int monthOffset = 20;
constexpr int dayOffset = 24;
constexpr int materialNameOffset = 28;
constexpr int materialNameSize = 36;
constexpr int contentsOffset = 64;
constexpr int otherNameOffset = 152;
constexpr int otherNameSize = 32;
constexpr int otherContentOffset = 184;
constexpr int unitOffset = 200;
constexpr int unitSize = 16;

// Columns of the schedule and its detail grid.
constexpr int dateColumn = 0;
constexpr int nameColumn = 1;
constexpr int amountColumn = 2;
constexpr int contentColumnCount = 11; // N … B
constexpr int otherNameColumn = 11;
constexpr int otherContentColumn = 12;
constexpr int materialIdColumn = 13;
constexpr int valueColumn = 14;
constexpr int unitColumn = 15;

// Leaf-link record.
constexpr int leafMarkSize = 52;
constexpr int leafIdOffset = 52;
constexpr int leafMarkColumn = 0;
constexpr int leafIdColumn = 4;

// Codes the file knows for the radio groups of step 4.
constexpr int residueCropCodes = 4; // Kukorica, Napraforgó, Őszi búza, Egyik sem
constexpr int legumeEffectCodes = 5;
constexpr int manureTimingCodes = 3;
constexpr int siteCategoryCodes = 6;

constexpr qint64 largestFileSize = countsSize + headerSize
                                   + qint64(maxColumnRecords) * columnRecordSize
                                   + qint64(maxScheduleRecords) * scheduleRecordSize
                                   + trailerSize
                                   + qint64(maxLeafLinkRecords) * leafLinkRecordSize;

QString formatError()
{
    return QStringLiteral("A fájl nem Tápanyag-gazdálkodási terv, vagy sérült.");
}

// ---- writing ------------------------------------------------------------------------

void putInt32(char *dest, qint32 value)
{
    qToLittleEndian(value, dest);
}

void putDouble(char *dest, double value)
{
    quint64 bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    qToLittleEndian(bits, dest);
}

void putByte(char *dest, int value)
{
    *dest = char(quint8(value));
}

// The converted plan, ready to be laid out: every value that can fail is checked here.
struct PlanRecord
{
    qint32 area = 0;
    double plannedYield = 0;
    double forecropYield = 0;
    double manureAmount = 0;
    double residualN = 0;
    double residualP = 0;
    double residualK = 0;
    int residueCrop = 0;
    int siteCategory = 0;
    int columnCount = 0;
    int scheduleCount = 0;
    int leafLinkCount = 0;
    QList<double> sampleValues; // valueCount per column
    struct Application
    {
        qint32 materialId = 0;
        double amount = 0;
        QDate date;
        double contents[contentColumnCount] = {};
        double otherContent = 0;
    };
    QList<Application> applications;
    QList<qint32> leafIds;
};

// An edit that holds a number: empty counts as 0, as the loaders show 0 as an empty edit.
bool editNumber(const QString &text, const QString &caption, double *value, QString *error)
{
    if (text.trimmed().isEmpty()) {
        *value = 0;
        return true;
    }
    const std::optional<double> parsed = Text::parseDecimal(text);
    if (!parsed) {
        *error = QStringLiteral("%1 értéke nem szám: „%2”. A terv nem menthető.").arg(caption, text);
        return false;
    }
    *value = *parsed;
    return true;
}

// A grid cell that holds a number: it must hold one, as the steps computed with it.
std::optional<double> cellNumber(const QString &text)
{
    return Text::parseDecimal(text);
}

QString cellError(const QString &grid, int row, int column, const QString &text)
{
    return QStringLiteral("%1 %2. sorának %3. oszlopa nem szám: „%4”. A terv nem menthető.")
        .arg(grid)
        .arg(row)
        .arg(column)
        .arg(text);
}

bool convertPlan(const PlanItems &items, PlanRecord *record, QString *error)
{
    if (!items.area.trimmed().isEmpty()) {
        const std::optional<int> area = Text::parseInteger(items.area);
        if (!area) {
            *error = QStringLiteral("A terület nem egész szám: „%1”. A terv nem menthető.")
                         .arg(items.area);
            return false;
        }
        record->area = *area;
    }
    if (!editNumber(items.plannedYield, QStringLiteral("A tervezett hozam"),
                    &record->plannedYield, error)
        || !editNumber(items.forecropYield, QStringLiteral("Az elővetemény hozama"),
                       &record->forecropYield, error)
        || !editNumber(items.manureAmount, QStringLiteral("A szervestrágya mennyisége"),
                       &record->manureAmount, error)
        || !editNumber(items.residualN, QStringLiteral("A visszamaradt N"), &record->residualN,
                       error)
        || !editNumber(items.residualP, QStringLiteral("A visszamaradt P"), &record->residualP,
                       error)
        || !editNumber(items.residualK, QStringLiteral("A visszamaradt K"), &record->residualK,
                       error)) {
        return false;
    }
    if (items.cropId.size() > cropIdSize) {
        *error = QStringLiteral("A növény azonosítója hosszabb hat karakternél: „%1”.")
                     .arg(items.cropId);
        return false;
    }

    // Káposztarepce has no code in the file; its residue counts in the corrections exactly
    // as the straw of winter wheat does, so it is kept as "Őszi búza".
    record->residueCrop = items.residueCrop == PlanItems::Kaposztarepce ? PlanItems::OsziBuza
                                                                        : items.residueCrop;
    // No category chosen yet: the combo box would show I.
    record->siteCategory = items.siteCategory >= 0 && items.siteCategory < siteCategoryCodes
                               ? items.siteCategory
                               : 0;

    record->columnCount = items.sampleCount + 1;
    if (record->columnCount < 1 || record->columnCount > maxColumnRecords) {
        *error = QStringLiteral("A minták száma 0 és 999 között lehet, nem %1. A terv nem "
                                "menthető.")
                     .arg(items.sampleCount);
        return false;
    }
    record->sampleValues.reserve(record->columnCount * valueCount);
    for (int column = 1; column <= record->columnCount; ++column) {
        for (int row = firstValueRow; row < firstValueRow + valueCount; ++row) {
            const QString text = items.soilSampleTable.cell(row, column);
            const std::optional<double> value = cellNumber(text);
            if (!value) {
                *error = cellError(QStringLiteral("A talajminták táblázatának"), row, column, text);
                return false;
            }
            record->sampleValues.append(*value);
        }
    }

    record->scheduleCount = scheduleRecordCount(items);
    if (record->scheduleCount > maxScheduleRecords) {
        *error = QStringLiteral("A terv legfeljebb 50 kijuttatási sort tartalmazhat.");
        return false;
    }
    for (int row = 1; row <= record->scheduleCount; ++row) {
        PlanRecord::Application application;
        const QString dateText = items.scheduleGrid.cell(row, dateColumn);
        const std::optional<QDate> date = Text::parseShortDate(dateText);
        if (!date) {
            *error = QStringLiteral("A kijuttatás %1. sorának dátuma hibás: „%2”. A terv nem "
                                    "menthető.")
                         .arg(row)
                         .arg(dateText);
            return false;
        }
        application.date = *date;
        const QString amountText = items.scheduleGrid.cell(row, amountColumn);
        const std::optional<double> amount = cellNumber(amountText);
        if (!amount) {
            *error = cellError(QStringLiteral("A kijuttatás"), row, amountColumn, amountText);
            return false;
        }
        application.amount = *amount;
        const TextGrid &detail = items.scheduleDetailGrid;
        for (int column = 0; column < contentColumnCount; ++column) {
            const std::optional<double> content = cellNumber(detail.cell(row, column));
            if (!content) {
                *error = cellError(QStringLiteral("Az anyagok adatainak"), row, column,
                                   detail.cell(row, column));
                return false;
            }
            application.contents[column] = *content;
        }
        const std::optional<double> otherContent = cellNumber(detail.cell(row, otherContentColumn));
        if (!otherContent) {
            *error = cellError(QStringLiteral("Az anyagok adatainak"), row, otherContentColumn,
                               detail.cell(row, otherContentColumn));
            return false;
        }
        application.otherContent = *otherContent;
        const std::optional<int> materialId = Text::parseInteger(detail.cell(row, materialIdColumn));
        if (!materialId) {
            *error = QStringLiteral("A kijuttatás %1. sorának anyagazonosítója hibás: „%2”. A "
                                    "terv nem menthető.")
                         .arg(row)
                         .arg(detail.cell(row, materialIdColumn));
            return false;
        }
        application.materialId = *materialId;
        record->applications.append(application);
    }

    record->leafLinkCount = leafLinkRecordCount(items);
    if (record->leafLinkCount > maxLeafLinkRecords) {
        *error = QStringLiteral("A terv legfeljebb 127 talaj- és levélminta-kapcsolatot "
                                "tartalmazhat.");
        return false;
    }
    for (int row = 1; row <= record->leafLinkCount; ++row) {
        const QString idText = items.leafLinks.cell(row, leafIdColumn);
        // A link whose leaf sample is gone has only its mark; no leaf sample has Id 0.
        if (idText.trimmed().isEmpty()) {
            record->leafIds.append(0);
            continue;
        }
        const std::optional<int> id = Text::parseInteger(idText);
        if (!id) {
            *error = QStringLiteral("A %1. talaj- és levélminta-kapcsolat levélmintájának "
                                    "azonosítója hibás: „%2”. A terv nem menthető.")
                         .arg(row)
                         .arg(idText);
            return false;
        }
        record->leafIds.append(*id);
    }
    return true;
}

QByteArray layOut(const PlanItems &items, const PlanRecord &record)
{
    const qint64 size = countsSize + headerSize + qint64(record.columnCount) * columnRecordSize
                        + qint64(record.scheduleCount) * scheduleRecordSize + trailerSize
                        + qint64(record.leafLinkCount) * leafLinkRecordSize;
    QByteArray bytes(size, '\0'); // the padding stays zero
    char *data = bytes.data();

    putInt32(data, record.columnCount);
    putInt32(data + 4, record.scheduleCount);

    char *header = data + countsSize;
    putInt32(header + versionOffset, writtenVersion);
    putInt32(header + areaOffset, record.area);
    putDouble(header + plannedYieldOffset, record.plannedYield);
    putByte(header + programAverageOffset, items.programAverage);
    putByte(header + showDescriptionsOffset, items.showDescriptions);
    for (int e = 0; e < Elements::elementCount; ++e)
        putByte(header + elementsOffset + e, items.elementSelected[size_t(e)]);
    Text::writeFixedField(header + lotNumberOffset, lotNumberSize, items.lotNumber);
    Text::writeFixedField(header + parcelNumberOffset, parcelNumberSize, items.parcelNumber);
    Text::writeFixedField(header + farmingYearOffset, farmingYearSize, items.farmingYear);
    // Six characters without a terminator; a shorter id is padded with NULs, which the
    // reader stops at, so "1" reads back as "1".
    const QByteArray cropId = Text::encodeCp1250(items.cropId);
    std::memcpy(header + cropIdOffset, cropId.constData(), size_t(cropId.size()));
    putByte(header + residueCropOffset, record.residueCrop);
    putByte(header + legumeEffectOffset, items.legumeEffect);
    putDouble(header + forecropYieldOffset, record.forecropYield);
    putDouble(header + manureAmountOffset, record.manureAmount);
    putByte(header + manureTimingOffset, items.manureTiming);
    putByte(header + yieldLossOffset, items.yieldLoss);
    putDouble(header + residualNOffset, record.residualN);
    putDouble(header + residualPOffset, record.residualP);
    putDouble(header + residualKOffset, record.residualK);

    char *cursor = header + headerSize;
    for (int column = 1; column <= record.columnCount; ++column) {
        for (int v = 0; v < valueCount; ++v)
            putDouble(cursor + 8 * v, record.sampleValues[(column - 1) * valueCount + v]);
        Text::writeFixedField(cursor + markOffset, markSize,
                              items.soilSampleTable.cell(markRow, column));
        cursor += columnRecordSize;
    }

    for (int row = 1; row <= record.scheduleCount; ++row) {
        const PlanRecord::Application &application = record.applications[row - 1];
        putInt32(cursor + materialIdOffset, application.materialId);
        putDouble(cursor + amountOffset, application.amount);
        putInt32(cursor + yearOffset, application.date.year());
        putInt32(cursor + monthOffset, application.date.month());
        putInt32(cursor + dayOffset, application.date.day());
        Text::writeFixedField(cursor + materialNameOffset, materialNameSize,
                              items.scheduleGrid.cell(row, nameColumn));
        for (int e = 0; e < contentColumnCount; ++e)
            putDouble(cursor + contentsOffset + 8 * e, application.contents[e]);
        Text::writeFixedField(cursor + otherNameOffset, otherNameSize,
                              items.scheduleDetailGrid.cell(row, otherNameColumn));
        putDouble(cursor + otherContentOffset, application.otherContent);
        // The eight bytes of Ertek stay zero: the value is not stored.
        Text::writeFixedField(cursor + unitOffset, unitSize,
                              items.scheduleDetailGrid.cell(row, unitColumn));
        cursor += scheduleRecordSize;
    }

    putByte(cursor, record.siteCategory);
    putByte(cursor + 1, record.leafLinkCount);
    cursor += trailerSize;

    for (int row = 1; row <= record.leafLinkCount; ++row) {
        Text::writeFixedField(cursor, leafMarkSize, items.leafLinks.cell(row, leafMarkColumn));
        putInt32(cursor + leafIdOffset, record.leafIds[row - 1]);
        cursor += leafLinkRecordSize;
    }
    Q_ASSERT(cursor == data + bytes.size());
    return bytes;
}

// ---- reading ------------------------------------------------------------------------

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
        schedule.setCell(row, dateColumn,
                         Text::formatShortDateNoLeadingZeros(takeInt32(cursor + yearOffset),
                                                             takeInt32(cursor + monthOffset),
                                                             takeInt32(cursor + dayOffset)));
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

int scheduleRecordCount(const PlanItems &items)
{
    if (items.scheduleGrid.cell(1, nameColumn).isEmpty())
        return 0;
    return std::max(items.scheduleGrid.rowCount() - 1, 0);
}

int leafLinkRecordCount(const PlanItems &items)
{
    return std::max(items.leafLinks.rowCount() - 2, 0);
}

bool writePlanFile(QIODevice &device, const PlanItems &items, QString *error)
{
    PlanRecord record;
    QString message;
    if (!convertPlan(items, &record, &message)) {
        if (error)
            *error = message;
        return false;
    }
    const QByteArray bytes = layOut(items, record);
    if (device.write(bytes) != bytes.size()) {
        if (error)
            *error = QStringLiteral("A terv nem írható ki: %1").arg(device.errorString());
        return false;
    }
    return true;
}

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

bool savePlanFile(const QString &path, const PlanItems &items, QString *error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error) {
            *error = QStringLiteral("A fájl nem hozható létre: %1 (%2)")
                         .arg(QDir::toNativeSeparators(path), file.errorString());
        }
        return false;
    }
    if (!writePlanFile(file, items, error)) {
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        if (error) {
            *error = QStringLiteral("A terv nem menthető ide: %1 (%2)")
                         .arg(QDir::toNativeSeparators(path), file.errorString());
        }
        return false;
    }
    return true;
}

bool loadPlanFile(const QString &path, PlanItems &items, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error) {
            *error = QStringLiteral("A fájl nem nyitható meg: %1 (%2)")
                         .arg(QDir::toNativeSeparators(path), file.errorString());
        }
        return false;
    }
    return readPlanFile(file, items, error);
}

QString ensureTapExtension(const QString &path)
{
    if (path.endsWith(QLatin1String(".tap"), Qt::CaseSensitive))
        return path;
    return path + QLatin1String(".tap");
}

} // namespace PlanFile
