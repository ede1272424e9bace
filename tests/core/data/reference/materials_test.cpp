#include "core/data/reference/materials.h"

#include "core/data/reference/referencedatabase.h"
#include "core/data/reference/tables.h"
#include "core/plan/schedule.h"
#include "core/planfile/planfile.h"
#include "support/defaultreference.h"
#include "support/qstringprinter.h"
#include "support/sampleplan.h"

#include <QDate>

#include <gtest/gtest.h>

namespace {

namespace T = Tables::Tapanyagok;

class MaterialsTest : public ::testing::Test
{
protected:
    void SetUp() override { openDefaultReference(m_dir, m_reference); }

    QVariantMap material(qint64 id) const
    {
        return m_reference
            .select(T::name, Filter::equals(T::Anyagid, id), {},
                ReferenceDatabase::DeletedRows::Included)
            .value_or(QList<QVariantMap>())
            .value(0);
    }

    qint64 largestId() const
    {
        qint64 largest = 0;
        const auto rows = m_reference.select(T::name, {}, {}, ReferenceDatabase::DeletedRows::Included);
        for (const QVariantMap &row : *rows)
            largest = std::max(largest, row.value(T::Anyagid).toLongLong());
        return largest;
    }

    QTemporaryDir m_dir;
    ReferenceDatabase m_reference;
};

} // namespace

TEST_F(MaterialsTest, NamesEmptyOrListedAlreadyAreRefused)
{
    ASSERT_EQ(m_reference.markDeleted(T::name, Filter::equals(T::Megnev, "Karbamid 46% N")), 1);
    const int before = m_reference.count(T::name, {}, ReferenceDatabase::DeletedRows::Included);
    const QString taken = QStringLiteral(
        "Már van „Ammónium-nitrát 34% N” nevű anyag! Kérem más nevet adjon meg!");
    const struct
    {
        QString name;
        QString refusal; // empty: accepted
    } cases[] = {
        {"", "Nincs megnevezés megadva!"},
        {"   ", "Nincs megnevezés megadva!"},
        {"Ammónium-nitrát 34% N", taken},
        {" ammónium-NITRÁT 34% n ", taken}, // step 5 could not tell them apart
        {"Karbamid 46% N", ""}, // the deleted material's name is free again
    };
    int added = 0;
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name.toStdString());
        const Outcome<qint64> outcome = Materials::addMaterial(m_reference, c.name, false);
        EXPECT_EQ(outcome.refusalText(), c.refusal);
        added += outcome ? 1 : 0;
    }
    EXPECT_EQ(m_reference.count(T::name, {}, ReferenceDatabase::DeletedRows::Included),
        before + added);
}

// Each new material has an id of its own, so a plan can store it and the purchase list
// keeps them apart; it starts with no content and is listed.
TEST_F(MaterialsTest, TwoNewMaterialsScheduledSaveAndReadBackWithTheirOwnIds)
{
    const qint64 largest = largestId();
    const Outcome<qint64> solid = Materials::addMaterial(m_reference, "Saját keverék", false);
    const Outcome<qint64> liquid = Materials::addMaterial(m_reference, "Lombtrágya", true);
    ASSERT_TRUE(solid && liquid);
    EXPECT_EQ(*solid, largest + 1);
    EXPECT_EQ(*liquid, largest + 2);
    const QVariantMap row = material(*liquid);
    EXPECT_EQ(row.value(T::Mert), QStringLiteral("l"));
    EXPECT_EQ(material(*solid).value(T::Mert), QStringLiteral("kg"));
    EXPECT_EQ(row.value(T::Deleted), false);
    for (const QLatin1String &field : Materials::contentFields())
        EXPECT_EQ(row.value(field).toDouble(), 0) << field.data();

    ASSERT_TRUE(Materials::storeContents(m_reference, *liquid,
        {"12", "", "5,5", "0", "0", "0", "0", "0", "0", "0", "0", "1"}, "Bór-etanol"));
    PlanItems items = samplePlanItems();
    const QDate day(2026, 3, 5);
    ASSERT_TRUE(Schedule::addScheduleRow(items, material(*solid), day, "100"));
    ASSERT_TRUE(Schedule::addScheduleRow(items, material(*liquid), day, "4"));
    const QString path = m_dir.filePath("uj-anyagok.tap");
    QString error;
    ASSERT_TRUE(PlanFile::savePlanFile(path, items, &error)) << error.toStdString();
    PlanItems read;
    ASSERT_TRUE(PlanFile::loadPlanFile(path, read, &error)) << error.toStdString();
    const int idColumn = 13;
    EXPECT_EQ(read.scheduleDetailGrid.cell(1, idColumn), QString::number(*solid));
    EXPECT_EQ(read.scheduleDetailGrid.cell(2, idColumn), QString::number(*liquid));
    EXPECT_EQ(read.scheduleDetailGrid.cell(2, 0), QStringLiteral("12"));
    EXPECT_EQ(read.scheduleDetailGrid.cell(2, 2), QStringLiteral("5,5"));
}

TEST_F(MaterialsTest, ContentsAreStoredOnlyWhenEveryBoxIsANumber)
{
    const Outcome<qint64> id = Materials::addMaterial(m_reference, "Próba", false);
    ASSERT_TRUE(id);
    QStringList boxes(12, QStringLiteral("1"));
    boxes[2] = QStringLiteral("1,,5");
    EXPECT_EQ(Materials::storeContents(m_reference, *id, boxes, "x").refusalText(),
        QStringLiteral("A(z) Kálium tartalma nem szám: „1,,5”. Kérem javítsa!"));
    EXPECT_EQ(material(*id).value(T::N).toDouble(), 0); // nothing written

    ASSERT_TRUE(Materials::deleteMaterial(m_reference, *id));
    EXPECT_EQ(material(*id).value(T::Deleted), true); // still in the table
    EXPECT_FALSE(Materials::listedMaterials(m_reference)->contains(material(*id)));
}
