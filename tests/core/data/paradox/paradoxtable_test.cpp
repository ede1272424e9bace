#include "core/data/paradox/paradoxtable.h"

#include "support/paradoxwriter.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

namespace {

using Paradox::FieldType;

// A table with a field of every type the farm and reference tables use, written by pxlib.
ParadoxWriter::Table everyTypeTable(int codePage)
{
    ParadoxWriter::Table table;
    table.codePage = codePage;
    table.fields = {{QStringLiteral("Nev"), FieldType::Alpha, 12},
                    {QStringLiteral("Szam"), FieldType::Number},
                    {QStringLiteral("Rovid"), FieldType::Short},
                    {QStringLiteral("Hosszu"), FieldType::Long},
                    {QStringLiteral("Sorszam"), FieldType::AutoIncrement},
                    {QStringLiteral("Deleted"), FieldType::Logical},
                    {QStringLiteral("Datum"), FieldType::Date},
                    {QStringLiteral("Ertek"), FieldType::Bcd, 0, 2},
                    {QStringLiteral("Jav"), FieldType::FormattedMemo, 20},
                    {QStringLiteral("Megj"), FieldType::Memo, 11}};
    return table;
}

class ParadoxTableTest : public testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_directory.isValid()); }

    QString path(const char *name) const { return m_directory.filePath(QLatin1String(name)); }

    std::unique_ptr<ParadoxTable> written(const ParadoxWriter::Table &table, QString *error)
    {
        if (!ParadoxWriter::write(path("Tabla.db"), table, error))
            return nullptr;
        return ParadoxTable::open(path("Tabla.db"), error);
    }

    QTemporaryDir m_directory;
};

// Each value comes back as the program's row maps hold it, in both Hungarian code pages:
// the texts fill their fields to the last byte, where a converter that sizes its output by
// the input bytes would cut ő and ű off. An empty field of any type reads as null: the farm
// table then shows the empty text and counts 0, as for an SQLite NULL.
TEST_F(ParadoxTableTest, ReadsEveryFieldTypeInBothCodePages)
{
    const QString longMemo = QStringLiteral("Első bekezdés: őszi műtrágya.\r\n"
                                            "Második bekezdés: tavaszi fejtrágya.\r\n")
                                 .repeated(80); // over 2 KiB: a block of its own in the .MB
    for (const int codePage : {852, 1250}) {
        SCOPED_TRACE(codePage);
        ParadoxWriter::Table table = everyTypeTable(codePage);
        table.rows = {
            {QStringLiteral("Tűzőgép Őrs"), 6.07, 12, 70000, 1, true, QDate(2012, 3, 5), 12.5,
             QStringLiteral("rövid"), QStringLiteral("Ű")},
            {QStringLiteral("ÁRVÍZTŰRŐ ő"), -1.5, -3, -70000, 2, false, QDate(1999, 12, 31),
             -0.25, longMemo, QStringLiteral("Egy memó, amely a rekordba már nem fér.")},
            QVariantList(table.fields.size()),
        };
        QString error;
        const auto paradox = written(table, &error);
        ASSERT_TRUE(paradox) << qPrintable(error);
        EXPECT_EQ(paradox->header().codePage, codePage);
        EXPECT_EQ(paradox->fieldNames(),
                  QStringList({"Nev", "Szam", "Rovid", "Hosszu", "Sorszam", "Deleted", "Datum",
                               "Ertek", "Jav", "Megj"}));
        ASSERT_EQ(paradox->recordCount(), 3);
        for (int record = 0; record < 3; ++record) {
            SCOPED_TRACE(record);
            QVariantList values;
            ASSERT_TRUE(paradox->readRecord(record, &values, &error)) << qPrintable(error);
            const QVariantList &expected = table.rows.at(record);
            ASSERT_EQ(values.size(), expected.size());
            for (int field = 0; field < values.size(); ++field) {
                SCOPED_TRACE(field);
                EXPECT_EQ(values.at(field).isNull(), expected.at(field).isNull());
                if (!expected.at(field).isNull()) {
                    EXPECT_EQ(values.at(field), expected.at(field));
                }
            }
            if (record < 2) {
                EXPECT_EQ(values.at(2).typeId(), QMetaType::LongLong); // whole numbers as such
                EXPECT_EQ(values.at(5).typeId(), QMetaType::Bool);
            }
        }
    }
}

TEST_F(ParadoxTableTest, MemoFileIsFoundInAnyLetterCaseAndMissingOneIsNamed)
{
    ParadoxWriter::Table table = everyTypeTable(1250);
    table.rows = {{QStringLiteral("a"), 1, 1, 1, 1, true, QDate(2020, 1, 1), 1.0,
                   QStringLiteral("A memó szövege hosszabb a rekordban tartott résznél.")}};
    QString error;
    ASSERT_TRUE(ParadoxWriter::write(path("JAV.DB"), table, &error)) << qPrintable(error);
    ASSERT_TRUE(QFile::rename(path("JAV.MB"), path("jav.mb")));
    auto paradox = ParadoxTable::open(path("JAV.DB"), &error);
    ASSERT_TRUE(paradox) << qPrintable(error);
    QVariantList values;
    ASSERT_TRUE(paradox->readRecord(0, &values, &error)) << qPrintable(error);
    EXPECT_EQ(values.at(8).toString(), table.rows.at(0).at(8).toString());

    ASSERT_TRUE(QFile::remove(path("jav.mb")));
    EXPECT_FALSE(ParadoxTable::open(path("JAV.DB"), &error));
    EXPECT_EQ(error, QStringLiteral("A(z) %1 Paradox táblához tartozó JAV.MB memófájl nem "
                                    "található vagy nem nyitható meg.")
                         .arg(QDir::toNativeSeparators(path("JAV.DB"))));

    // A file of another kind in its place is no memo file.
    QFile other(path("Jav.mb"));
    ASSERT_TRUE(other.open(QIODevice::WriteOnly));
    other.write("nem memó");
    other.close();
    EXPECT_FALSE(ParadoxTable::open(path("JAV.DB"), &error));
    EXPECT_EQ(error, QStringLiteral("A(z) %1 Paradox tábla memófájlja sérült.")
                         .arg(QDir::toNativeSeparators(path("JAV.DB"))));
}

// Every seed of the Paradox fuzzer's corpus, split as the fuzzer splits it: "ok-" seeds
// open and read every record, "bad-" seeds are refused with a message naming the table,
// when it is opened or when the damaged record is read.
TEST(ParadoxTableCorpusTest, EverySeedReadsOrIsRefused)
{
    const QDir corpus(QStringLiteral(PARADOX_CORPUS_DIR));
    const QStringList seeds = corpus.entryList(QDir::Files, QDir::Name);
    ASSERT_GE(seeds.size(), 13); // the seeds tools/make_paradox_seeds writes
    for (const QString &seed : seeds) {
        SCOPED_TRACE(qPrintable(seed));
        QFile file(corpus.filePath(seed));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        ASSERT_GE(bytes.size(), 4);
        const quint32 tableSize = qFromLittleEndian<quint32>(bytes.constData());
        ASSERT_LE(qsizetype(tableSize), bytes.size() - 4);
        QString error;
        const auto table = ParadoxTable::fromBytes(bytes.mid(4, tableSize),
                                                   bytes.mid(4 + tableSize),
                                                   QStringLiteral("mag.db"), &error);
        bool readAll = table != nullptr;
        for (int record = 0; table && readAll && record < table->recordCount(); ++record) {
            QVariantList values;
            readAll = table->readRecord(record, &values, &error);
            if (readAll) {
                EXPECT_EQ(values.size(), table->header().fields.size());
            }
        }
        if (seed.startsWith(QLatin1String("ok-"))) {
            EXPECT_TRUE(readAll) << qPrintable(error);
        } else {
            EXPECT_FALSE(readAll);
            EXPECT_TRUE(error.startsWith(QStringLiteral("A(z) mag.db Paradox tábla")))
                << qPrintable(error);
        }
    }
}

} // namespace
