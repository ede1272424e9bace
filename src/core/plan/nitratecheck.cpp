#include "core/plan/nitratecheck.h"

#include "core/data/reference/planlookups.h"
#include "core/plan/calculationstate.h"
#include "core/plan/corrections.h"
#include "core/plan/needcalculation.h"
#include "core/plan/planitems.h"
#include "core/plan/schedule.h"
#include "core/plan/supplyclassifier.h"
#include "core/text/dates.h"
#include "core/text/numbers.h"

#include <QHash>

#include <cmath>

namespace {

const QString nitrogenName = QStringLiteral("Nitrogén");

// "<sample>: … legnagyobb N-adag: 170 kg/ha.", with " — <excess>" before the full stop, as a
// warning, where the column goes beyond the limit.
ListNote limitNote(const NitrateColumn &column, const QString &excess)
{
    QString text = column.sampleLabel
        + QStringLiteral(": nitrátérzékeny területen megengedett legnagyobb N-adag: ")
        + NitrateCheck::limitText(column.limit);
    if (!excess.isEmpty())
        text += QStringLiteral(" — ") + excess;
    return {text + QLatin1Char('.'), !excess.isEmpty()};
}

} // namespace

double NitrateColumn::doseExcess() const
{
    return limit && correctedDose && *correctedDose > *limit ? *correctedDose - *limit : 0;
}

double NitrateColumn::scheduleExcess() const
{
    return limit && scheduledNitrogen > *limit ? scheduledNitrogen - *limit : 0;
}

// To a tenth of a kilogram: the limits are whole numbers, and a dose computed from a yield
// carries digits nobody applies.
QString NitrateCheck::kilograms(double value)
{
    return Text::formatGeneral(std::round(value * 10) / 10) + QStringLiteral(" kg/ha");
}

QString NitrateCheck::remark(const NitrateColumn &column)
{
    if (!column.limit)
        return {};
    QStringList parts;
    if (column.doseExcess() > 0) {
        parts << QStringLiteral("a korrigált adag ") + kilograms(column.doseExcess())
                + QStringLiteral("-val több");
    }
    if (column.scheduleExcess() > 0) {
        parts << QStringLiteral("az ütemezett N ") + kilograms(column.scheduleExcess())
                + QStringLiteral("-val több");
    }
    return parts.isEmpty() ? QStringLiteral("megfelel") : parts.join(QStringLiteral("; "));
}

QString NitrateCheck::limitText(const std::optional<double> &limit)
{
    return limit ? kilograms(*limit) : noLimitText();
}

QString NitrateCheck::closedPeriodText() const
{
    return isAutumnCereal ? QStringLiteral("október 31. – január 31., őszi gabona fejtrágyázása "
                                           "február 1-jétől megengedett")
                          : QStringLiteral("október 31. – február 15.");
}

QList<ListNote> NitrateCheck::doseNotes() const
{
    QList<ListNote> notes;
    for (const NitrateColumn &column : columns) {
        notes.append(limitNote(column, column.doseExcess() > 0
                                           ? QStringLiteral("a korrigált adag ")
                                                 + kilograms(column.doseExcess())
                                                 + QStringLiteral("-val több")
                                           : QString()));
    }
    return notes;
}

QList<ListNote> NitrateCheck::scheduleNotes() const
{
    QList<ListNote> notes;
    for (const NitrateColumn &column : columns) {
        notes.append(limitNote(column, column.scheduleExcess() > 0
                                           ? QStringLiteral("az ütemterv szerint kijuttatott N (")
                                                 + kilograms(column.scheduledNitrogen)
                                                 + QStringLiteral(") ")
                                                 + kilograms(column.scheduleExcess())
                                                 + QStringLiteral("-val több")
                                           : QString()));
    }
    for (const ClosedPeriodApplication &application : closedPeriod) {
        notes.append({QStringLiteral("Tilalmi időszakban (%1) kijuttatott N: %2 %3, %4 N.")
                          .arg(closedPeriodText(), Text::formatShortDate(application.date),
                              application.material, kilograms(application.nitrogen)),
            true});
    }
    return notes;
}

namespace NitrateRules {

bool isInClosedPeriod(const QDate &date, bool autumnCereal)
{
    if (!date.isValid())
        return false;
    const int month = date.month();
    const int day = date.day();
    if ((month == 10 && day == 31) || month == 11 || month == 12 || month == 1)
        return true;
    return month == 2 && day <= 15 && !autumnCereal;
}

Outcome<NitrateCheck> checkNitrate(
    const PlanItems &items, const ReferenceDatabase &reference, const ResultTable &correctedDoses)
{
    NitrateCheck check;
    check.isAutumnCereal = PlanLookups::isAutumnCereal(reference, items.cropId);
    const double scheduled = Schedule::appliedAmount(items, nitrogenName);
    const int nitrogenColumn = int(correctedDoses.headings.indexOf(nitrogenName));

    // The soil's own level, whatever a linked leaf sample says: the limits are set by soil.
    SupplyClassifier classifier(reference);
    CalculationState state;
    // One crop and one site: the limit depends on the level alone, so each is looked up once.
    QHash<int, std::optional<double>> limitOfLevel;
    for (int s = 0; s < correctedDoses.rowCount(); ++s) {
        state.elements.loadSampleColumn(items, s);
        NitrateColumn column;
        column.sampleLabel = correctedDoses.cell(s, 0);
        column.nitrogenLevel = classifier.classifySupply(QStringLiteral("N"), state);
        if (!classifier.error().isEmpty())
            return Outcome<NitrateCheck>::refused(classifier.error());
        if (column.nitrogenLevel > 0) {
            auto known = limitOfLevel.constFind(column.nitrogenLevel);
            if (known == limitOfLevel.cend()) {
                known = limitOfLevel.insert(
                    column.nitrogenLevel,
                    PlanLookups::nitrateLimit(reference, items.cropId, items.siteCategory + 1,
                                              column.nitrogenLevel));
            }
            column.limit = *known;
        }
        if (nitrogenColumn > 0)
            column.correctedDose = Text::parseDecimal(correctedDoses.cell(s, nitrogenColumn));
        column.scheduledNitrogen = scheduled;
        check.columns.append(column);
    }

    if (Schedule::isEmpty(items))
        return check;
    for (int row = 1; row < items.scheduleGrid.rowCount(); ++row) {
        const std::optional<QDate> date = Text::parseShortDate(items.scheduleGrid.cell(row, 0));
        if (!date)
            continue;
        const double content
            = Text::parseDecimal(items.scheduleDetailGrid.cell(row, 0)).value_or(0);
        const double amount = Text::parseDecimal(items.scheduleGrid.cell(row, 2)).value_or(0);
        if (content <= 0 || amount <= 0 || !isInClosedPeriod(*date, check.isAutumnCereal))
            continue;
        check.closedPeriod.append(
            {row, *date, items.scheduleGrid.cell(row, 1), amount, content * amount / 100});
    }
    return check;
}

Outcome<NitrateCheck> checkNitrate(
    const PlanItems &items, const ReferenceDatabase &reference, CalculationState state)
{
    // with the plan's leaf links, so the doses are those the step lists show in leaf mode
    NeedCalculation need(reference, items);
    const Outcome<ResultTable> corrected
        = Corrections::computeCorrectedDoses(items, state, need.calculator, need.classifier);
    if (!corrected)
        return corrected.refusal();
    return checkNitrate(items, reference, *corrected);
}

} // namespace NitrateRules
