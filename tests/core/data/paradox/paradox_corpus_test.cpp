#include "core/data/paradox/paradoxtable.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace {

// Every seed of the Paradox fuzzer's corpus, split as the fuzzer splits it: "ok-" seeds
// open and read every record, "bad-" seeds are refused with a message naming the table,
// when it is opened or when the damaged record is read.
TEST(ParadoxCorpusTest, EverySeedReadsOrIsRefused)
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
        const quint32 tableSize = quint32(quint8(bytes[0])) | (quint32(quint8(bytes[1])) << 8)
                                  | (quint32(quint8(bytes[2])) << 16)
                                  | (quint32(quint8(bytes[3])) << 24);
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
