#include "core/planfile/planfile.h"

#include "core/plan/planitems.h"
#include "core/planfile/planfilelayout.h"
#include "core/planfile/plausiblevalues.h"
#include "core/text/cp1250.h"
#include "core/text/dates.h"
#include "core/text/numbers.h"

#include <QDir>
#include <QIODevice>
#include <QSaveFile>
#include <QtEndian>

#include <algorithm>
#include <cstring>
#include <optional>

namespace PlanFile {

using namespace Layout;

namespace {

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
    if (!isPlausibleQuantity(*parsed)) {
        *error = QStringLiteral("%1 értéke túl nagy: „%2”. A terv nem menthető.").arg(caption, text);
        return false;
    }
    *value = *parsed;
    return true;
}

// A grid cell that holds a quantity: it must hold one, as the steps computed with it.
std::optional<double> cellNumber(const QString &text)
{
    const std::optional<double> value = Text::parseDecimal(text);
    return value && isPlausibleQuantity(*value) ? value : std::nullopt;
}

QString cellError(const QString &grid, int row, int column, const QString &text)
{
    const bool isNumber = Text::parseDecimal(text).has_value();
    return QStringLiteral("%1 %2. sorának %3. oszlopa %4: „%5”. A terv nem menthető.")
        .arg(grid)
        .arg(row)
        .arg(column)
        .arg(isNumber ? QStringLiteral("túl nagy") : QStringLiteral("nem szám"))
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
            const std::optional<double> value = Text::parseDecimal(text);
            if (!value) {
                *error = cellError(QStringLiteral("A talajminták táblázatának"), row, column, text);
                return false;
            }
            if (!isPlausibleSoilValue(row - firstValueRow, *value)) {
                const ValueRange range = soilValueRange(row - firstValueRow);
                *error = QStringLiteral("A talajminták táblázatának %1. sorának %2. oszlopa nem "
                                        "lehet „%3”: %4 és %5 közé esik. A terv nem menthető.")
                             .arg(row)
                             .arg(column)
                             .arg(text, Text::formatGeneral(range.lowest),
                                  Text::formatGeneral(range.highest));
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
        if (!date || !isPlausibleDate(date->year(), date->month(), date->day())) {
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

QString ensureTapExtension(const QString &path)
{
    if (path.endsWith(QLatin1String(".tap"), Qt::CaseSensitive))
        return path;
    return path + QLatin1String(".tap");
}

} // namespace PlanFile
