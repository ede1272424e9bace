#include "core/data/reference/cropeditordata.h"

#include "core/data/reference/needtable.h"
#include "core/data/reference/referencedatabase.h"
#include "core/data/reference/tables.h"
#include "support/defaultreference.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

namespace Nov = Tables::Nov;
namespace Find2 = Tables::Find2;

class CropEditorDataTest : public ::testing::Test
{
protected:
    void SetUp() override { openDefaultReference(m_directory, m_reference); }

    QList<QVariantMap> rows(const QString &table, const QString &novid)
    {
        return m_reference.select(table, Filter::equals(Nov::Novid, novid)).value_or(QList<QVariantMap> {});
    }

    // A crop of its own with one need row per site category.
    QString addCropWithRows()
    {
        const Outcome<QString> added = CropEditorData::addCrop(m_reference, QStringLiteral("Mák"));
        EXPECT_TRUE(added) << added.refusalText().toStdString();
        QList<NeedTable::Row> needs;
        for (int site = 1; site <= 6; ++site)
            needs.append({site, {QStringLiteral("1"), {}, {}, {}, {}, QStringLiteral("0,5")}});
        QString error;
        EXPECT_TRUE(NeedTable::storeRows(m_reference, *added, QStringLiteral("N"), needs, &error))
            << error.toStdString();
        return *added;
    }

    QTemporaryDir m_directory;
    ReferenceDatabase m_reference;
};

TEST_F(CropEditorDataTest, AddAndRenameRefuseWithTheirMessagesAndWriteNothing)
{
    const QList<QVariantMap> before = *m_reference.select(Nov::name);
    const QString wheat = before.first().value(Nov::Nev).toString();
    const std::pair<QString, Refusal> cases[] = {
        {wheat, {QStringLiteral("A növény már rögzítve van az adatbázisban!"), MessageKind::Warning, true}},
        {QString(), {QStringLiteral("Nincs megnevezés megadva!"), MessageKind::Error, true}},
    };
    for (const auto &[name, refusal] : cases) {
        SCOPED_TRACE(name.toStdString());
        const Outcome<QString> added = CropEditorData::addCrop(m_reference, name);
        ASSERT_TRUE(added.isRefused());
        EXPECT_EQ(added.refusal(), refusal);
    }
    const Outcome<void> renamed = CropEditorData::renameCrop(m_reference, QStringLiteral("1"), {});
    EXPECT_EQ(renamed.refusal(),
              (Refusal {QStringLiteral("Üres mezőre nem lehet módosítani egy növény megnevezését! "
                                       "Kérem töltse ki a megnevezés mezőt!"),
                        MessageKind::Information, false}));
    EXPECT_EQ(*m_reference.select(Nov::name), before);

    // another case and blanks around make another name: stored as typed
    const QString other = QLatin1Char(' ') + wheat.toUpper();
    const Outcome<QString> added = CropEditorData::addCrop(m_reference, other);
    ASSERT_TRUE(added);
    EXPECT_EQ(rows(Nov::name, *added).value(0).value(Nov::Nev).toString(), other);
}

TEST_F(CropEditorDataTest, NeedRowsAreCheckedFirstAndKeepTheirLevelSeven)
{
    const QString crop = addCropWithRows();
    const Filter site2 = Filter::equals(Find2::Novid, crop) && Filter::equals(Find2::Sztid, 2);
    ASSERT_EQ(m_reference.update(Find2::name, site2, {{Find2::I, 0.25}}), 1);
    const QList<QVariantMap> before = rows(Find2::name, crop);
    QList<NeedTable::Row> shown = *NeedTable::loadRows(m_reference, crop, QStringLiteral("N"), nullptr);
    ASSERT_EQ(shown.size(), 6);
    EXPECT_EQ(shown.at(0).cells, (std::array<QString, 6> {QStringLiteral("1"), {}, {}, {}, {}, QStringLiteral("0,5")}));

    // bad cells: nothing written
    const char *const bad[] = {"1,,5", "-2", "1.5", "x"};
    for (const char *cell : bad) {
        SCOPED_TRACE(cell);
        QList<NeedTable::Row> edited = shown;
        edited[3].cells[2] = QString::fromLatin1(cell);
        QString error;
        EXPECT_FALSE(NeedTable::storeRows(m_reference, crop, QStringLiteral("N"), edited, &error));
        EXPECT_EQ(error, QStringLiteral("Hibás érték: „%1” (IV. Homok és laza talaj, Közepes). "
                                        "Csak nem negatív szám adható meg, tizedesvesszővel. "
                                        "Semmi sem került rögzítésre.").arg(QString::fromLatin1(cell)));
        EXPECT_EQ(rows(Find2::name, crop), before);
    }

    // a rewrite without site 1, with site 2 changed: site 2 keeps its level-7 value
    shown.removeFirst();
    shown[0].cells[0] = QStringLiteral("2,75");
    QString error;
    ASSERT_TRUE(NeedTable::storeRows(m_reference, crop, QStringLiteral("N"), shown, &error))
        << error.toStdString();
    const QList<QVariantMap> after = rows(Find2::name, crop);
    ASSERT_EQ(after.size(), 5);
    EXPECT_EQ(after.at(0).value(Find2::Sztid).toInt(), 2);
    EXPECT_EQ(after.at(0).value(Find2::Igy).toDouble(), 2.75);
    EXPECT_EQ(after.at(0).value(Find2::I).toDouble(), 0.25);
    EXPECT_EQ(*NeedTable::loadRows(m_reference, crop, QStringLiteral("N"), nullptr), shown);
}

} // namespace
