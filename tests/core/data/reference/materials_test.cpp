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
        return *m_reference.selectFirst(T::name, Filter::equals(T::Anyagid, id));
    }

    QTemporaryDir m_dir;
    ReferenceDatabase m_reference;
};

} // namespace

// Each new material has an id of its own, so a plan can store it and the purchase list
// keeps them apart; it starts with no content and is listed.
TEST_F(MaterialsTest, TwoNewMaterialsScheduledSaveAndReadBackWithTheirOwnIds)
{
    const qint64 largest
        = m_reference.select(T::name, {}, {T::Anyagid}, ReferenceDatabase::DeletedRows::Included)
              ->last()
              .value(T::Anyagid)
              .toLongLong();
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

    // a box that is no number stores nothing
    QStringList boxes = {"12", "", "5,5", "0", "0", "0", "0", "0", "0", "0", "0", "1,,5"};
    EXPECT_EQ(Materials::storeContents(m_reference, *liquid, boxes, "B").refusalText(),
        QStringLiteral("A(z) Egyéb tartalma nem szám: „1,,5”. Kérem javítsa!"));
    EXPECT_EQ(material(*liquid).value(T::N).toDouble(), 0);
    boxes.last() = QStringLiteral("1");
    ASSERT_TRUE(Materials::storeContents(m_reference, *liquid, boxes, "B"));
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
