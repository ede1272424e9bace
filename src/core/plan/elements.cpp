#include "core/plan/elements.h"

namespace Elements {

const std::array<QString, elementCount> &codes()
{
    static const std::array<QString, elementCount> list = {
        QStringLiteral("N"),  QStringLiteral("P"),  QStringLiteral("K"),  QStringLiteral("Mg"),
        QStringLiteral("S"),  QStringLiteral("Mn"), QStringLiteral("Zn"), QStringLiteral("Cu"),
        QStringLiteral("Fe"), QStringLiteral("Mo"), QStringLiteral("B"),
    };
    return list;
}

const std::array<QString, elementCount> &checkBoxNames()
{
    static const std::array<QString, elementCount> list = {
        QStringLiteral("Nitrogén"), QStringLiteral("Foszfor"),   QStringLiteral("Kálium"),
        QStringLiteral("Magnézium"), QStringLiteral("Kén"),      QStringLiteral("Mangán"),
        QStringLiteral("Cink"),     QStringLiteral("Réz"),       QStringLiteral("Vas"),
        QStringLiteral("Molibdén"), QStringLiteral("Bór"),
    };
    return list;
}

const QStringList &scheduleDetailHeader()
{
    static const QStringList list = {
        QStringLiteral("Nitrogén"), QStringLiteral("Foszfor"),    QStringLiteral("Kálium"),
        QStringLiteral("Magnézium"), QStringLiteral("Kén"),       QStringLiteral("Mangán"),
        QStringLiteral("Cink"),     QStringLiteral("Réz"),        QStringLiteral("Vas"),
        QStringLiteral("Molibdelén"), QStringLiteral("Bór"),      QStringLiteral("Egyéb"),
        QStringLiteral("mennyisége"),
    };
    return list;
}

static const std::array<QString, supplyLevelCount> &levelNames()
{
    static const std::array<QString, supplyLevelCount> list = {
        QStringLiteral("Igen gyenge"), QStringLiteral("Gyenge"), QStringLiteral("Közepes"),
        QStringLiteral("Megfelelő"),   QStringLiteral("Jó"),     QStringLiteral("Sok"),
        QStringLiteral("Igen jó"),
    };
    return list;
}

static const std::array<QString, supplyLevelCount> &levelAbbreviations()
{
    static const std::array<QString, supplyLevelCount> list = {
        QStringLiteral("Igy"), QStringLiteral("Gy"), QStringLiteral("K"), QStringLiteral("M"),
        QStringLiteral("J"),   QStringLiteral("S"),  QStringLiteral("I"),
    };
    return list;
}

QString supplyLevelName(int level)
{
    return level >= 1 && level <= supplyLevelCount ? levelNames()[level - 1] : QString();
}

QString supplyLevelAbbreviation(int level)
{
    return level >= 1 && level <= supplyLevelCount ? levelAbbreviations()[level - 1] : QString();
}

const QStringList &siteCategoryNames()
{
    static const QStringList list = {
        QStringLiteral("I.    Csernozjom talaj"),
        QStringLiteral("II.   Barna erdőtalaj"),
        QStringLiteral("III.  Kötött réti talaj, gelejes erdőtalaj"),
        QStringLiteral("IV.  Homok és laza talaj"),
        QStringLiteral("V.   Szikes talaj"),
        QStringLiteral("VI.  Sekély rétegű, lejtős, erodált talaj"),
    };
    return list;
}

const QStringList &soilRowLabels()
{
    static const QStringList list = {
        QStringLiteral("Kémhatás pH"), QStringLiteral("Kötöttség Ka"),
        QStringLiteral("Mész CaCo"),   QStringLiteral("Humusz %"),
        QStringLiteral("Foszfor P2O"), QStringLiteral("Kálium K2O"),
        QStringLiteral("Magnézium Mg"), QStringLiteral("Mangán Mn"),
        QStringLiteral("Cink Zn"),     QStringLiteral("Réz Cu"),
    };
    return list;
}

} // namespace Elements
