#pragma once

#include "core/planfile/planfile.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

// One material to buy: its id in the materials table (Anyagid as decimal text, "0" for a
// material of an older installation that had none), its name and the total in kg.
struct PurchaseEntry
{
    QString id;
    QString name;
    double amount = 0;
};

// The purchase list of a farm: every material scheduled in a set of plan files, summed over
// the plans as kg, in the order the materials first appear. Of each file only the area and
// the schedule are read, into records of their own, so the plan open in the window is never
// touched. Files that cannot be read are kept by name and contribute nothing.
class PurchaseList
{
public:
    // Called before each file is read: the number of files done so far and the total.
    using Progress = std::function<void(int done, int total)>;

    // Reads the files in the order given; see addPlanFile.
    static PurchaseList fromFiles(const QStringList &paths, const Progress &progress = {});

    // Reads one plan file and adds its schedule; false when the file is not a plan that can
    // be read (it is then listed among the failures).
    bool addPlanFile(const QString &path);
    // Adds one plan's schedule: each application is area (m²) × kg/ha × 0,0001 kg. The
    // latest name wins for one id; materials without an id are told apart by their names.
    void addPlan(const QString &fileName, const PlanFile::PlanSchedule &schedule);

    const QList<PurchaseEntry> &entries() const { return m_entries; }
    // File names without their directory.
    const QStringList &readPlans() const { return m_readPlans; }
    const QStringList &failedPlans() const { return m_failedPlans; }

    // The rows as the box and the printout show them: name, amount in the general format.
    QList<QStringList> rows() const;

    // The list for a spreadsheet: UTF-8, a header row, semicolons, decimal commas; the plans
    // that could not be read follow after an empty row.
    QByteArray toCsv() const;

private:
    QList<PurchaseEntry> m_entries;
    // Place in m_entries + 1 (0 while the material is new), by id, or by name for id 0.
    QHash<qint32, qsizetype> m_entryById;
    QHash<QString, qsizetype> m_entryByName;
    QStringList m_readPlans;
    QStringList m_failedPlans;
};
