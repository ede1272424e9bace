#include "core/plan/corrections.h"

#include "core/plan/calculationstate.h"
#include "core/plan/cropneed.h"
#include "core/plan/elementtable.h"
#include "core/plan/planitems.h"
#include "core/plan/stepcompletion.h"
#include "core/plan/supplyclassifier.h"
#include "core/text/numbers.h"

#include <algorithm>
#include <optional>

namespace {

constexpr int maxListedTexts = 16;

// Site categories IV (light sandy soils) and VI (shallow, sloping, eroded soils) keep no
// nitrogen from a legume forecrop.
bool keepsLegumeNitrogen(int siteCategory)
{
    return siteCategory != 3 && siteCategory != 5;
}

// The value of an amount the user typed; none when it does not convert, and then its term
// applies nothing.
std::optional<double> amountOf(const QString &text)
{
    return Text::parseDecimal(text);
}

// The running correction of one element: each term that applies adds its amount and lists
// its sentence.
class Correction
{
public:
    explicit Correction(CalculationState &state)
        : m_state(state)
    { }

    void add(double amount, int text)
    {
        m_total += amount;
        Corrections::addCorrectionText(m_state, text);
    }
    double total() const { return m_total; }

private:
    CalculationState &m_state;
    double m_total = 0;
};

// What a yield loss (positive residual) or a yield surplus (negative residual) of the
// forecrop left: half a positive residual counts on well supplied soils only, a negative
// one raises the need by its full amount on every soil.
void addResidual(Correction &correction, const PlanItems &items, const QString &residualText,
                 int level, int lossText, int surplusText)
{
    if (!items.yieldLoss)
        return;
    const std::optional<double> residual = amountOf(residualText);
    if (!residual)
        return;
    if (level > 3 && *residual > 0)
        correction.add(-0.5 * *residual, lossText);
    if (*residual < 0)
        correction.add(-*residual, surplusText);
}

// Organic manure counts whatever the supply level: per tonne `oneYear` kg in the year after
// it was applied, `twoYears` kg in the year after that.
void addManure(Correction &correction, const PlanItems &items, double oneYear, int oneYearText,
               double twoYears, int twoYearsText)
{
    if (items.manureTiming != PlanItems::EgyEve && items.manureTiming != PlanItems::KetEve)
        return;
    const std::optional<double> amount = amountOf(items.manureAmount);
    if (!amount)
        return;
    if (items.manureTiming == PlanItems::EgyEve)
        correction.add(-oneYear * *amount, oneYearText);
    else
        correction.add(-twoYears * *amount, twoYearsText);
}

double nitrogenCorrection(const PlanItems &items, int level, CalculationState &state)
{
    Correction correction(state);
    if (keepsLegumeNitrogen(items.siteCategory) && level >= 3) {
        switch (items.legumeEffect) {
        case PlanItems::PillangosElozoEv:
        case PlanItems::LucernaElozoEv:
        case PlanItems::LucernaKetEve:
            correction.add(-30, 1);
            break;
        case PlanItems::EveloPillangos:
            correction.add(-50, 2);
            break;
        default:
            break;
        }
    }
    addResidual(correction, items, items.residualN, level, 3, 14);
    addManure(correction, items, 1.8, 4, 1.2, 5);
    return correction.total();
}

double phosphorusCorrection(const PlanItems &items, int level, CalculationState &state)
{
    Correction correction(state);
    addResidual(correction, items, items.residualP, level, 6, 15);
    addManure(correction, items, 2, 7, 1.5, 8);
    return correction.total();
}

double potassiumCorrection(const PlanItems &items, int level, CalculationState &state)
{
    Correction correction(state);
    // Ploughed-in residue returns potassium only to well supplied soils.
    if (level > 3) {
        const bool isStraw = items.residueCrop == PlanItems::Kukorica
                             || items.residueCrop == PlanItems::OsziBuza
                             || items.residueCrop == PlanItems::Kaposztarepce;
        const bool isSunflower = items.residueCrop == PlanItems::Napraforgo;
        if (isStraw || isSunflower) {
            if (const std::optional<double> yield = amountOf(items.forecropYield)) {
                if (isStraw)
                    correction.add(-7 * *yield, 9);
                else
                    correction.add(-25 * *yield, 10);
            }
        }
    }
    addResidual(correction, items, items.residualK, level, 11, 16);
    addManure(correction, items, 4, 12, 2, 13);
    return correction.total();
}

} // namespace

namespace Corrections {

const QStringList &correctionTexts()
{
    static const QStringList texts = {
        QStringLiteral(" - Pillangós elővetemény csökkenti a szükséges nitrogén mennyiségét."),
        QStringLiteral(
            " - Évelő pillangós elővetemény csökkenti a szükséges nitrogén mennyiségét."),
        QStringLiteral(" - Elővetemény hozamkiesése miatt a szükséges nitrogén mennyisége csökken."),
        QStringLiteral(
            " - Előző évbeni szervestrágyázás csökkenti a szükséges nitrogén mennyiségét."),
        QStringLiteral(
            " - Másod évbeni szervestrágyázás csökkenti a szükséges nitrogén mennyiségét."),
        QStringLiteral(" - Elővetemény hozamkiesése miatt a szükséges foszfor mennyisége csökken."),
        QStringLiteral(
            " - Előző évbeni szervestrágyázás csökkenti a szükséges foszfor mennyiségét."),
        QStringLiteral(
            " - Másod évbeni szervestrágyázás csökkenti a szükséges foszfor mennyiségét."),
        QStringLiteral(" - Elővetemény szármaradványának leszántása csökkenti a szükséges kálium "
                       "mennyiségét."),
        QStringLiteral(" - Elővetemény szármaradványának leszántása csökkenti a szükséges kálium "
                       "mennyiségét."),
        QStringLiteral(" - Elővetemény hozamkiesése miatt a szükséges kálium mennyisége csökken."),
        QStringLiteral(
            " - Előző évbeni szervestrágyázás csökkenti a szükséges kálium mennyiségét."),
        QStringLiteral(
            " - Másod évbeni szervestrágyázás csökkenti a szükséges kálium mennyiségét."),
        QStringLiteral(
            " - Elővetemény hozamnövekménye miatt, a nitrogén szükséges mennyisége megnő."),
        QStringLiteral(
            " - Elővetemény hozamnövekménye miatt, a foszfor szükséges mennyisége megnő."),
        QStringLiteral(
            " - Elővetemény hozamnövekménye miatt, a kálium szükséges mennyisége megnő."),
    };
    return texts;
}

QString invalidInputText()
{
    return QStringLiteral("Helytelen adatkitöltés ! A számításokat nem lehet elvégezni.");
}

bool addCorrectionText(CalculationState &state, int number)
{
    QList<int> &list = state.correctionTextList;
    if (list.contains(number))
        return true;
    if (number >= 1 && number <= int(correctionTexts().size()) && list.size() < maxListedTexts)
        list.append(number);
    return false;
}

double elementCorrection(const QString &elementName, const PlanItems &items,
                         CalculationState &state, SupplyClassifier &classifier)
{
    // Only the previous year's N, P and K carry over.
    for (int index = ElementTable::N; index <= ElementTable::K; ++index) {
        const ElementEntry &entry = state.elements.entry(index);
        if (entry.name != elementName)
            continue;
        const int level = classifier.classifySupply(entry.code, state);
        switch (index) {
        case ElementTable::N:
            return nitrogenCorrection(items, level, state);
        case ElementTable::P:
            return phosphorusCorrection(items, level, state);
        default:
            return potassiumCorrection(items, level, state);
        }
    }
    return 0;
}

Outcome<ResultTable> computeCorrectedDoses(const PlanItems &items, CalculationState &state,
                                           CropNeedCalculator &calculator,
                                           SupplyClassifier &classifier)
{
    if (!checkModifyingFactors(items))
        return Outcome<ResultTable>::refused(invalidInputText());
    ResultTable doses;
    doses.boxTitle = QStringLiteral("Korrigált hatóanyag dózisok");
    doses.reportTitle = QStringLiteral("Korrigált javaslat: (kg/ha)");

    state.correctionTextList.clear();
    // The need computation leaves doseN and doseK to us while this is set, so that Mg, Mn
    // and Cu of a column build on that column's corrected N and K.
    state.correctionsApplied = true;

    const std::optional<double> yield = Text::parseDecimal(items.plannedYield);
    ElementTable &elements = state.elements;
    const int count = std::clamp(items.sampleCount, 0, PlanItems::maxSampleCount);
    doses.headings.append(QString());
    for (int s = 0; s <= count; ++s) {
        elements.loadSampleColumn(items, s);
        QStringList row {elements.currentSampleLabel()};
        state.doseN = 0;
        state.doseK = 0;
        for (int index = ElementTable::firstUsed; index <= ElementTable::Caco; ++index) {
            const ElementEntry &entry = elements.entry(index);
            if (!entry.selected || !entry.listsNeed)
                continue;
            if (s == 0)
                doses.headings.append(entry.name);
            const Outcome<double> specific = calculator.specificNeed(index, items, state);
            if (!specific) {
                state.correctionsApplied = false;
                return specific.refusal();
            }
            const double need = *specific;
            // N, P and K without a reference row give 0; a rule's need of 0 is a real one
            const bool available = yield && (index <= ElementTable::K ? need > 0 : need >= 0);
            if (!available) {
                row.append(ResultTable::noValue());
                continue;
            }
            const double dose
                = need * *yield + elementCorrection(entry.name, items, state, classifier);
            // N and K keep their sign: a dose below zero still moves the micro elements' bands
            if (index == ElementTable::N)
                state.doseN = dose;
            else if (index == ElementTable::K)
                state.doseK = dose;
            row.append(dose < 0 ? QStringLiteral("0") : Text::formatGeneral(dose));
        }
        doses.rows.append(row);
    }

    state.correctionsApplied = false;
    return doses;
}

} // namespace Corrections
