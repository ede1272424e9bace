#include "core/data/paradox/paradoxtable.h"

#include "core/data/paradox/paradoxmemo.h"
#include "core/data/paradox/paradoxvalue.h"
#include "core/text/codepages.h"
#include "support/paradoxwriter.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

#include <vector>

extern "C" {
#include <paradox.h>
}

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

    QTemporaryDir m_directory;
};

// pxlib's value of one field, converted as the program converted it while pxlib read for it.
// Memos come from the .MB file through the program's own reader, as they always did: pxlib
// overruns its stack opening a .MB file.
QVariant pxlibValue(
    pxdoc_t *doc, const Paradox::Field &field, char *data, int codePage, const QByteArray &memoFile)
{
    double number = 0;
    long whole = 0;
    short shortWhole = 0;
    char byte = 0;
    char *text = nullptr;
    const auto taken = [&]() { // pxlib's text, freed
        const QByteArray bytes(text);
        doc->free(doc, text);
        return bytes;
    };
    switch (field.type) {
    case FieldType::Alpha:
        if (PX_get_data_alpha(doc, data, field.size, &text) <= 0)
            return {};
        return Text::decodeCodePage(taken(), codePage);
    case FieldType::Number:
        return PX_get_data_double(doc, data, 8, &number) > 0 ? QVariant(number) : QVariant();
    case FieldType::Short:
        return PX_get_data_short(doc, data, 2, &shortWhole) > 0 ? QVariant(qlonglong(shortWhole))
                                                                : QVariant();
    case FieldType::Long:
    case FieldType::AutoIncrement:
    case FieldType::Date:
        if (qFromBigEndian<quint32>(data) == 0 || PX_get_data_long(doc, data, 4, &whole) <= 0)
            return {};
        return field.type == FieldType::Date ? QVariant(QDate::fromJulianDay(1721425 + whole))
                                             : QVariant(qlonglong(whole));
    case FieldType::Logical:
        return PX_get_data_byte(doc, data, 1, &byte) > 0 ? QVariant(byte != 0) : QVariant();
    case FieldType::Bcd:
        if (PX_get_data_bcd(doc, reinterpret_cast<uchar *>(data), field.decimals, &text) <= 0)
            return {};
        return QLocale::c().toDouble(QString::fromLatin1(taken()).replace(',', '.'));
    case FieldType::Memo:
    case FieldType::FormattedMemo: {
        const QByteArray memo = Paradox::readBlob(data, field.size, memoFile, nullptr).value();
        return memo.isEmpty() ? QVariant() : Text::decodeCodePage(memo, codePage);
    }
    default:
        return {};
    }
}

// Row `i` of everyTypeTable: each field empty in turn, numbers of both signs, texts that
// fill their field to the last byte, memos from a few bytes to beyond 2 KiB.
QVariantList everyTypeRow(int i)
{
    const QString memo = QStringLiteral("Őszi műtrágya %1.\r\n").arg(i).repeated(i % 4 * 40);
    const auto maybe = [i](int every, const QVariant &value) { // an empty memo is empty
        return i % every == 0 || value.toString().isEmpty() ? QVariant() : value;
    };
    return {maybe(7, QStringLiteral("Tűzőgép Őrs %1").arg(i).left(12)),
        maybe(5, (i - 100) * 1.37e3 / (i % 9 + 1)), maybe(6, (i * 977) % 65535 - 32767),
        maybe(8, int(qint64(i) * 2147483 % 4294967295 - 2147483647)), maybe(9, i + 1),
        maybe(3, i % 2 == 0), maybe(4, QDate(1900, 1, 1).addDays(i * 199)),
        maybe(10, (i - 120) * 12.25), maybe(11, memo), maybe(2, memo.left(i % 13))};
}

// Swaps the first two blocks of the chain and takes the last two records of the block now
// second out of use: they stay in it as deleted records.
void reorderWithDeletedRecords(QByteArray &bytes)
{
    const std::optional<Paradox::Header> header = Paradox::readHeader(bytes, nullptr);
    const Paradox::Block first = header->blocks.at(0);
    const Paradox::Block second = header->blocks.at(1);
    qToLittleEndian<quint16>(second.number, bytes.data() + 0x0E);
    qToLittleEndian<quint16>(header->blocks.at(2).number, bytes.data() + first.offset);
    qToLittleEndian<quint16>(first.number, bytes.data() + second.offset);
    const qint16 used = qFromLittleEndian<qint16>(bytes.constData() + first.offset + 4);
    qToLittleEndian<qint16>(used - 2 * header->recordSize, bytes.data() + first.offset + 4);
    qToLittleEndian<quint32>(header->recordCount - 2, bytes.data() + 0x06);
}

// Every field of 250 records (many blocks) in both Hungarian code pages reads as written
// and as pxlib reads the same bytes: texts fill their fields to the last byte, where a
// converter that sizes its output by the input bytes would cut ő and ű off; an empty field
// of any type is null, so the farm table shows the empty text and counts 0, as for an
// SQLite NULL. Again with the chain out of file order and deleted records left in a block.
TEST_F(ParadoxTableTest, EveryFieldReadsAsWrittenAndAsPxlibReadsIt)
{
    for (const int codePage : {852, 1250}) {
        for (const bool reordered : {false, true}) {
            SCOPED_TRACE(testing::Message() << codePage << (reordered ? " reordered" : ""));
            ParadoxWriter::Table table = everyTypeTable(codePage);
            for (int i = 0; i < 250; ++i)
                table.rows.append(everyTypeRow(i));
            QString error;
            ASSERT_TRUE(ParadoxWriter::write(path("Tabla.db"), table, &error)) << qPrintable(error);
            QFile file(path("Tabla.db"));
            ASSERT_TRUE(file.open(QIODevice::ReadWrite));
            QByteArray bytes = file.readAll();
            ASSERT_GT(Paradox::readHeader(bytes, nullptr)->blocks.size(), 3);
            if (reordered) {
                reorderWithDeletedRecords(bytes);
                file.seek(0);
                file.write(bytes);
            }
            file.close();
            // Paradox keeps whole 4 KiB blocks in the .MB file; pxlib may leave the last short.
            QFile memo(path("Tabla.MB"));
            ASSERT_TRUE(memo.open(QIODevice::ReadWrite | QIODevice::Append));
            memo.write(QByteArray((4096 - memo.size() % 4096) % 4096, '\0'));
            memo.seek(0);
            const QByteArray memoFile = memo.readAll();
            memo.close();

            const auto paradox = ParadoxTable::open(path("Tabla.db"), &error);
            ASSERT_TRUE(paradox) << qPrintable(error);
            EXPECT_EQ(paradox->header().codePage, codePage);
            EXPECT_EQ(paradox->fieldNames(),
                QStringList({"Nev", "Szam", "Rovid", "Hosszu", "Sorszam", "Deleted", "Datum",
                    "Ertek", "Jav", "Megj"}));
            pxdoc_t *doc = PX_new();
            ASSERT_EQ(PX_open_file(doc, QFile::encodeName(path("Tabla.db")).constData()), 0);
            ASSERT_EQ(paradox->recordCount(), PX_get_num_records(doc));
            std::vector<char> record(size_t(paradox->header().recordSize));
            for (int r = 0; r < paradox->recordCount(); ++r) {
                QVariantList values;
                ASSERT_TRUE(paradox->readRecord(r, &values, &error)) << qPrintable(error);
                ASSERT_TRUE(PX_get_record(doc, r, record.data()));
                char *data = record.data();
                for (int f = 0; f < values.size(); ++f) {
                    const Paradox::Field &field = paradox->header().fields.at(f);
                    const QVariant pxlib = pxlibValue(doc, field, data, codePage, memoFile);
                    data += field.size;
                    EXPECT_EQ(values.at(f).typeId(), pxlib.typeId()) << r << ' ' << f;
                    EXPECT_TRUE(values.at(f) == pxlib)
                        << r << ' ' << f << ": " << qPrintable(values.at(f).toString())
                        << " != " << qPrintable(pxlib.toString());
                    if (!reordered) {
                        EXPECT_TRUE(values.at(f) == table.rows.at(r).at(f)) << r << ' ' << f;
                    }
                    // a filter on a whole number compares the stored bytes
                    const QByteArray stored
                        = Paradox::wholeNumberBytes(field, values.at(f).toDouble());
                    if (!values.at(f).isNull() && !stored.isEmpty()) {
                        EXPECT_TRUE(paradox->fieldHolds(f, stored)) << r << ' ' << f;
                    }
                }
            }
            PX_close(doc);
            PX_delete(doc);
        }
    }
}

// The bytes "field = number" looks for: none where no stored value can equal the number,
// nor for the least whole number, whose bytes are all zero like an empty field's.
TEST(ParadoxWholeNumberTest, BytesOfEachNumberAsTheFieldStoresIt)
{
    const struct
    {
        FieldType type;
        double number;
        const char *hex;
    } cases[] = {{FieldType::Long, 7777, "80001e61"}, {FieldType::AutoIncrement, 1, "80000001"},
        {FieldType::Long, -1, "7fffffff"}, {FieldType::Long, 2147483647, "ffffffff"},
        {FieldType::Long, -2147483648.0, ""}, {FieldType::Long, 2147483648.0, ""},
        {FieldType::Short, -32767, "0001"}, {FieldType::Short, 0, "8000"},
        {FieldType::Short, -32768, ""}, {FieldType::Short, 40000, ""},
        {FieldType::Long, 7777.5, ""}, {FieldType::Number, 1, ""}, {FieldType::Date, 1, ""}};
    for (const auto &c : cases) {
        Paradox::Field field;
        field.type = c.type;
        EXPECT_EQ(Paradox::wholeNumberBytes(field, c.number).toHex(), QByteArray(c.hex))
            << c.number;
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
