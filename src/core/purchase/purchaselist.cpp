#include "core/purchase/purchaselist.h"

#include "core/planfile/planfile.h"
#include "core/text/numbers.h"

#include <QFileInfo>

namespace {

// A spreadsheet cell: quoted when it holds the separator, a quote or a line break.
QString csvCell(const QString &text)
{
    if (!text.contains(QLatin1Char(';')) && !text.contains(QLatin1Char('"'))
        && !text.contains(QLatin1Char('\n')) && !text.contains(QLatin1Char('\r'))) {
        return text;
    }
    QString quoted = text;
    quoted.replace(QLatin1String("\""), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

} // namespace

PurchaseList PurchaseList::fromFiles(const QStringList &paths, const Progress &progress)
{
    PurchaseList list;
    for (qsizetype i = 0; i < paths.size(); ++i) {
        if (progress)
            progress(int(i), int(paths.size()));
        list.addPlanFile(paths.at(i));
    }
    return list;
}

bool PurchaseList::addPlanFile(const QString &path)
{
    const QString fileName = QFileInfo(path).fileName();
    PlanFile::PlanSchedule schedule;
    if (!PlanFile::loadPlanSchedule(path, schedule, nullptr)) {
        m_failedPlans.append(fileName);
        return false;
    }
    addPlan(fileName, schedule);
    return true;
}

void PurchaseList::addPlan(const QString &fileName, const PlanFile::PlanSchedule &schedule)
{
    for (const PlanFile::ScheduledApplication &application : schedule.applications) {
        // A material with an id is known by it; one without (id 0) only by its name, so
        // that two unrelated materials of an older installation are never added together.
        qsizetype &place = application.materialId != 0 ? m_entryById[application.materialId]
                                                       : m_entryByName[application.materialName];
        if (place == 0) {
            m_entries.append(
                {QString::number(application.materialId), application.materialName, 0});
            place = m_entries.size();
        }
        PurchaseEntry &entry = m_entries[place - 1];
        entry.name = application.materialName;
        // The area in m², the amount in kg/ha: 1 ha is 10,000 m².
        entry.amount += double(schedule.area) * application.amount * 0.0001;
    }
    m_readPlans.append(fileName);
}

QList<QStringList> PurchaseList::rows() const
{
    QList<QStringList> rows;
    rows.reserve(m_entries.size());
    for (const PurchaseEntry &entry : m_entries)
        rows.append({entry.name, Text::formatGeneral(entry.amount)});
    return rows;
}

QByteArray PurchaseList::toCsv() const
{
    QString text = QStringLiteral("Megnevezés;Mennyiség  (kg)\r\n");
    for (const QStringList &row : rows())
        text += csvCell(row.at(0)) + QLatin1Char(';') + csvCell(row.at(1)) + QLatin1String("\r\n");
    if (!m_failedPlans.isEmpty()) {
        text += QLatin1String("\r\n");
        for (const QString &file : m_failedPlans) {
            text += QStringLiteral("Sikertelen megnyitások:;") + csvCell(file)
                + QLatin1String("\r\n");
        }
    }
    return text.toUtf8();
}
