#include "core/planfile/planfile.h"

#include "core/plan/planitems.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace {

// Every seed of the fuzzer's corpus, read as a plan file: "ok-" seeds must read, "bad-"
// seeds must be refused with the format message and leave the items alone.
TEST(PlanFileCorpusTest, EverySeedReadsOrIsRefused)
{
    const QDir corpus(QStringLiteral(PLANFILE_CORPUS_DIR));
    const QStringList seeds = corpus.entryList(QDir::Files, QDir::Name);
    ASSERT_GE(seeds.size(), 12); // the seeds kept beside the fuzzer
    for (const QString &seed : seeds) {
        SCOPED_TRACE(qPrintable(seed));
        QFile file(corpus.filePath(seed));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        PlanItems items;
        items.lotNumber = QStringLiteral("előző");
        QString error;
        const bool read = PlanFile::readPlanFile(file, items, &error);
        if (seed.startsWith(QLatin1String("ok-"))) {
            EXPECT_TRUE(read) << qPrintable(error);
            EXPECT_GE(items.sampleCount, 0);
            EXPECT_LE(items.sampleCount, PlanItems::maxSampleCount);
        } else {
            EXPECT_FALSE(read);
            EXPECT_EQ(error, QStringLiteral("A fájl nem Tápanyag-gazdálkodási terv, vagy sérült."));
            EXPECT_EQ(items.lotNumber, QStringLiteral("előző")); // untouched
        }
    }
}

} // namespace
