#pragma once

#include "core/data/filter.h"
#include "core/data/reference/referencedatabase.h"
#include "core/data/reference/tables.h"
#include "core/plan/calculationstate.h"
#include "core/plan/cropneed.h"
#include "core/plan/planitems.h"
#include "core/plan/soilsamples.h"
#include "core/plan/supplyclassifier.h"
#include "support/defaultreference.h"

#include <QList>
#include <QTemporaryDir>
#include <QVariant>
#include <QVariantMap>

#include <gtest/gtest.h>

// Rows of the soil-sample table the worked examples fill.
constexpr int phRow = 2;
constexpr int kaRow = 3;
constexpr int humusRow = 5;
constexpr int phosphorusRow = 6;
constexpr int potassiumRow = 7;

// A temporary copy of the reference database for the plan computations, with helpers that
// put the rule and need rows a worked example needs in place of the built-in ones.
class PlanDatabaseTest : public testing::Test
{
protected:
    void SetUp() override
    {
        openDefaultReference(m_directory, m_database);
    }

    // One Find row: up to three parameter codes with their limits, then the level.
    struct FindRow
    {
        QString st1;
        double s1 = 0;
        QString st2;
        double s2 = 0;
        QString st3;
        double s3 = 0;
        int level = 0;
    };

    // Replaces the supply rules of one element; the rows keep the order given.
    void setRules(const QString &code, const QList<FindRow> &rows)
    {
        namespace Find = Tables::Find;
        QString error;
        ASSERT_GE(m_database.remove(Find::name, Filter::equals(Find::Find, code), &error), 0)
            << error.toStdString();
        for (const FindRow &row : rows) {
            const QVariantMap values = {
                {Find::Find, code},
                {Find::St1, row.st1},
                {Find::St2, row.st2},
                {Find::St3, row.st3},
                {Find::S1, row.s1},
                {Find::S2, row.s2},
                {Find::S3, row.s3},
                {Find::S4, row.level},
            };
            ASSERT_TRUE(m_database.insert(Find::name, values, &error)) << error.toStdString();
        }
    }

    // A specific-need row of a crop: the level columns given, the others left empty.
    void addNeed(const QString &novid, const QString &anyid, int sztid, const QVariantMap &levels)
    {
        namespace Find2 = Tables::Find2;
        QVariantMap values = levels;
        values.insert(Find2::Novid, novid);
        values.insert(Find2::Anyid, anyid);
        values.insert(Find2::Sztid, sztid);
        QString error;
        ASSERT_TRUE(m_database.insert(Find2::name, values, &error)) << error.toStdString();
    }

    QTemporaryDir m_directory;
    ReferenceDatabase m_database;
};

// A plan to compute on the test database: a soil grid, the crop, site category and a
// planned yield of 8 t/ha, with the classifier and the need calculator over the database.
class PlanCalculationTest : public PlanDatabaseTest
{
protected:
    void startPlan(const QString &cropId, int siteCategory)
    {
        SoilSamples::initSoilGrid(m_items);
        m_items.cropId = cropId;
        m_items.siteCategory = siteCategory;
        m_items.plannedYield = QStringLiteral("8");
    }

    // Selects exactly the element-table entries given.
    void select(const QList<int> &entries)
    {
        m_state.elements.clearSelection();
        for (int entry : entries)
            m_state.elements.entry(entry).selected = true;
    }

    PlanItems m_items;
    CalculationState m_state;
    SupplyClassifier m_classifier {m_database};
    CropNeedCalculator m_calculator {m_database, m_classifier};
};
