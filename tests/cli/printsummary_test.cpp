// `nutrisor --print-summary`: the program itself, run as an adviser runs it for many plans.
#include "core/planfile/planfile.h"
#include "support/sampleplan.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace {

class PrintSummaryTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }

    QString path(const QString &name) const { return m_dir.filePath(name); }

    void savePlan(const QString &name, const PlanItems &items)
    {
        QString error;
        ASSERT_TRUE(PlanFile::savePlanFile(path(name), items, &error)) << qPrintable(error);
    }

    // Runs the program with no display; its exit code, the standard error kept in m_errors.
    int runProgram(const QStringList &arguments)
    {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
        environment.remove(QStringLiteral("DISPLAY"));
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral(NUTRISOR_PROGRAM), arguments);
        EXPECT_TRUE(process.waitForFinished(60000));
        m_errors = QString::fromLocal8Bit(process.readAllStandardError());
        return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    }

    int run(const QString &plan, const QString &output)
    {
        return runProgram({QStringLiteral("--data-dir"), path(QStringLiteral("data")),
                           QStringLiteral("--print-summary"), path(plan),
                           QStringLiteral("--output"), path(output)});
    }

    QByteArray contents(const QString &name) const
    {
        QFile file(path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QString pdfText(const QString &name) const
    {
        QProcess process;
        process.start(QStringLiteral("pdftotext"), {path(name), QStringLiteral("-")});
        EXPECT_TRUE(process.waitForFinished(30000));
        return QString::fromUtf8(process.readAllStandardOutput());
    }

    QTemporaryDir m_dir;
    QString m_errors;
};

} // namespace

TEST_F(PrintSummaryTest, TheSummaryIsWrittenFromASavedPlan)
{
    // saved with "Hozamkiesés" ticked and residues of 0: it must reopen computable
    PlanItems items = samplePlanItems();
    items.yieldLoss = true;
    items.residualN = items.residualP = items.residualK = QStringLiteral("0");
    savePlan(QStringLiteral("terv.tap"), items);

    ASSERT_EQ(run(QStringLiteral("terv.tap"), QStringLiteral("terv.pdf")), 0) << qPrintable(m_errors);
    const QString text = pdfText(QStringLiteral("terv.pdf")).simplified(); // cells wrap
    // (the report's blocks are the report engine's tests)
    for (const QString &expected : {QStringLiteral("0452/7 Őrség-dűlő"), QStringLiteral("124500 m2"),
                                    QStringLiteral("K-1"), QStringLiteral("1. oldal")})
        EXPECT_TRUE(text.contains(expected)) << qPrintable(expected);

    // The format follows the extension (reportformat's); the text file stands for the others.
    ASSERT_EQ(run(QStringLiteral("terv.tap"), QStringLiteral("terv.txt")), 0) << qPrintable(m_errors);
    const QString plain = QString::fromUtf8(contents(QStringLiteral("terv.txt")));
    EXPECT_TRUE(plain.contains(QStringLiteral("Őszi búza")));
    EXPECT_TRUE(plain.contains(QStringLiteral("Talajvizsgálati eredmények")));
}

// The combined summary names K-1's leaf sample with "*" and lists its contents; a plan
// without links prints the plain summary's figures and an empty leaf section.
TEST_F(PrintSummaryTest, TheCombinedSummaryListsTheLinkedLeafSamples)
{
    PlanItems items = samplePlanItems();
    savePlan(QStringLiteral("sima.tap"), items);
    items.leafLinks.setRowCount(3);
    items.leafLinks.setCell(1, 0, QStringLiteral("K-1"));
    items.leafLinks.setCell(1, 4, QStringLiteral("1")); // L-2012-001: N 2,1, Ca 1,7
    savePlan(QStringLiteral("level.tap"), items);
    const QStringList leaf {QStringLiteral("--with-leaf-analysis")};
    const auto runLeaf = [&](const QString &plan, const QString &output) {
        return runProgram(QStringList {QStringLiteral("--data-dir"), path(QStringLiteral("data")),
                                       QStringLiteral("--print-summary"), path(plan),
                                       QStringLiteral("--output"), path(output)}
                          + leaf);
    };

    ASSERT_EQ(runLeaf(QStringLiteral("level.tap"), QStringLiteral("level.pdf")), 0) << qPrintable(m_errors);
    const QString text = pdfText(QStringLiteral("level.pdf")).simplified();
    // P, K and Mg of the leaf, values the soil table does not hold
    for (const char *expected : {"Levélvizsgálati eredmények", "L-2012-001*", "0,18", "1,45", "0,28"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(expected))) << expected;

    ASSERT_EQ(runLeaf(QStringLiteral("sima.tap"), QStringLiteral("sima-level.txt")), 0) << qPrintable(m_errors);
    ASSERT_EQ(run(QStringLiteral("sima.tap"), QStringLiteral("sima.txt")), 0) << qPrintable(m_errors);
    const QString combined = QString::fromUtf8(contents(QStringLiteral("sima-level.txt")));
    EXPECT_TRUE(combined.contains(QStringLiteral("A terv talajmintáihoz nincs levélminta kapcsolva.")));
    const QString section = combined.section(QStringLiteral("Ellátottság és hatóanyag"), 1);
    EXPECT_FALSE(section.isEmpty());
    EXPECT_TRUE(QString::fromUtf8(contents(QStringLiteral("sima.txt"))).endsWith(section));
}

TEST_F(PrintSummaryTest, APlanThatCannotBeSummarisedWritesNothing)
{
    ASSERT_TRUE(QFile(path(QStringLiteral("rossz.tap"))).open(QIODevice::WriteOnly));
    EXPECT_EQ(run(QStringLiteral("rossz.tap"), QStringLiteral("rossz.pdf")), 1);
    EXPECT_TRUE(m_errors.contains(QStringLiteral("A fájl formátuma helytelen!"))) << qPrintable(m_errors);
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("rossz.pdf"))));

    // a replayed step that fails says why, as the window would; every step-4 value a plan
    // file holds is a number, so here it is the planned yield that was never given
    PlanItems items = samplePlanItems();
    items.plannedYield.clear();
    savePlan(QStringLiteral("hozam.tap"), items);
    EXPECT_EQ(run(QStringLiteral("hozam.tap"), QStringLiteral("hozam.pdf")), 1);
    EXPECT_TRUE(m_errors.contains(QStringLiteral("A várt hozam nincs megadva!"))) << qPrintable(m_errors);
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("hozam.pdf"))));

    EXPECT_EQ(run(QStringLiteral("terv-nincs.tap"), QStringLiteral("x.txt")), 1);
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("x.txt"))));

    savePlan(QStringLiteral("jo.tap"), samplePlanItems());
    EXPECT_EQ(run(QStringLiteral("jo.tap"), QStringLiteral("jo.doc")), 1);
    EXPECT_TRUE(m_errors.contains(QStringLiteral(".pdf, .rtf, .html, .htm, .txt"))) << qPrintable(m_errors);
    EXPECT_EQ(run(QStringLiteral("jo.tap"), QStringLiteral("nincs-mappa/jo.pdf")), 1);
    EXPECT_FALSE(m_errors.isEmpty());
}

TEST_F(PrintSummaryTest, TheUsageAndAMissingOutputNeedNoDisplay)
{
    EXPECT_EQ(runProgram({QStringLiteral("--help")}), 0);
    EXPECT_EQ(runProgram({QStringLiteral("--print-summary"), path(QStringLiteral("terv.tap"))}), 2);
    EXPECT_TRUE(m_errors.contains(
        QStringLiteral("A --print-summary és az --output kapcsolót együtt kell megadni.")))
        << qPrintable(m_errors);
}

TEST_F(PrintSummaryTest, NoOutputOverwritesItsPlanAndNoSpecialFileIsWaitedFor)
{
    // a plan named like a text file, then the same file under other spellings
    savePlan(QStringLiteral("terv.txt"), samplePlanItems());
    const QByteArray plan = contents(QStringLiteral("terv.txt"));
    ASSERT_TRUE(QDir(m_dir.path()).mkdir(QStringLiteral("al")));
    ASSERT_TRUE(QFile::link(path(QStringLiteral("terv.txt")), path(QStringLiteral("jel.txt"))));
    ASSERT_EQ(::link(QFile::encodeName(path(QStringLiteral("terv.txt"))).constData(),
                     QFile::encodeName(path(QStringLiteral("kemeny.txt"))).constData()), 0);
    for (const char *output : {"terv.txt", "jel.txt", "al/../terv.txt", "kemeny.txt"}) {
        SCOPED_TRACE(output);
        EXPECT_EQ(run(QStringLiteral("terv.txt"), QString::fromLatin1(output)), 1);
        EXPECT_TRUE(m_errors.contains(QStringLiteral("nem írom felül"))) << qPrintable(m_errors);
        EXPECT_EQ(contents(QStringLiteral("terv.txt")), plan);
    }

    // a FIFO nobody writes to is refused at once, as any unreadable plan
    const QByteArray fifo = QFile::encodeName(path(QStringLiteral("fifo.tap")));
    ASSERT_EQ(::mkfifo(fifo.constData(), 0600), 0);
    EXPECT_EQ(runProgram({QStringLiteral("--export-json"), path(QStringLiteral("fifo.tap"))}), 1);
    EXPECT_EQ(run(QStringLiteral("fifo.tap"), QStringLiteral("ki.txt")), 1);
    EXPECT_TRUE(m_errors.contains(QStringLiteral("A fájl formátuma helytelen!")))
        << qPrintable(m_errors);
}
