// `nutrisor --purchase-list`: the program itself, run over a farm's plans.
#include "support/purchaseplans.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class PurchaseListRunTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        QDir(m_dir.path()).mkpath(QStringLiteral("gazdasag/2026"));
        savePurchasePlan(path(QStringLiteral("gazdasag/kis.tap")),
                         purchasePlanItems(QStringLiteral("5000"), {{7, "Pétisó", "200"}}));
        savePurchasePlan(path(QStringLiteral("gazdasag/2026/nagy.tap")),
                         purchasePlanItems(QStringLiteral("20000"),
                                           {{7, "Pétisó", "200"}, {3, "Kálisó", "150"}}));
        QFile broken(path(QStringLiteral("gazdasag/rossz.tap")));
        ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
        broken.write("nem terv");
    }

    QString path(const QString &name) const { return m_dir.filePath(name); }

    // Runs the program with no display in `workingDirectory`; its exit code, the standard
    // error kept in m_errors.
    int run(const QStringList &arguments, const QString &workingDirectory = {})
    {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
        environment.remove(QStringLiteral("DISPLAY"));
        process.setProcessEnvironment(environment);
        process.setWorkingDirectory(workingDirectory.isEmpty() ? m_dir.path() : workingDirectory);
        process.start(QStringLiteral(NUTRISOR_PROGRAM),
                      QStringList {QStringLiteral("--data-dir"), path(QStringLiteral("data"))}
                          + arguments);
        EXPECT_TRUE(process.waitForFinished(60000));
        m_errors = QString::fromLocal8Bit(process.readAllStandardError());
        return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    }

    QString contents(const QString &name) const
    {
        QFile file(path(name));
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }

    QTemporaryDir m_dir;
    QString m_errors;
};

// 0,5 ha × 200 + 2 ha × 200 kg/ha of Pétisó; 2 ha × 150 kg/ha of Kálisó.
const QString expectedCsv = QStringLiteral("Megnevezés;Mennyiség  (kg)\r\nPétisó;500\r\n"
                                           "Kálisó;300\r\n\r\nSikertelen megnyitások:;rossz.tap\r\n");

} // namespace

TEST_F(PurchaseListRunTest, TotalsAreWrittenInEveryFormat)
{
    const QStringList plans {path(QStringLiteral("gazdasag/kis.tap")),
                             path(QStringLiteral("gazdasag/rossz.tap")),
                             path(QStringLiteral("gazdasag/2026/nagy.tap"))};
    ASSERT_EQ(run(QStringList {QStringLiteral("--purchase-list")} + plans
                  + QStringList {QStringLiteral("--output"), path(QStringLiteral("lista.csv"))}),
              0);
    EXPECT_EQ(contents(QStringLiteral("lista.csv")), expectedCsv);
    EXPECT_TRUE(m_errors.contains(QStringLiteral("rossz.tap: A fájl formátuma helytelen!")))
        << qPrintable(m_errors);

    for (const QString output : {QStringLiteral("lista.txt"), QStringLiteral("lista.html"),
                                 QStringLiteral("lista.rtf"), QStringLiteral("lista.pdf")}) {
        SCOPED_TRACE(qPrintable(output));
        ASSERT_EQ(run(QStringList {QStringLiteral("--purchase-list")} + plans
                      + QStringList {QStringLiteral("--output"), path(output)}),
                  0);
        EXPECT_GT(QFileInfo(path(output)).size(), 200);
    }
    const QString text = contents(QStringLiteral("lista.txt"));
    for (const QString shown : {QStringLiteral("Pétisó"), QStringLiteral("500"),
                                QStringLiteral("Kálisó"), QStringLiteral("kis.tap"),
                                QStringLiteral("nagy.tap"), QStringLiteral("rossz.tap")})
        EXPECT_TRUE(text.contains(shown)) << qPrintable(shown);
}

TEST_F(PurchaseListRunTest, FoldersAndTheCurrentFolderStandForTheirPlans)
{
    const struct
    {
        QStringList arguments;
        QString workingDirectory;
    } cases[] = {
        {{path(QStringLiteral("gazdasag"))}, {}},
        {{QStringLiteral("-")}, path(QStringLiteral("gazdasag"))},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(qPrintable(c.arguments.join(QLatin1Char(' '))));
        QFile::remove(path(QStringLiteral("lista.csv")));
        ASSERT_EQ(run(QStringList {QStringLiteral("--purchase-list")} + c.arguments
                          + QStringList {QStringLiteral("--output"), path(QStringLiteral("lista.csv"))},
                      c.workingDirectory),
                  0)
            << qPrintable(m_errors);
        // the folder's plans in the order of their paths: 2026/nagy.tap, kis.tap, rossz.tap
        EXPECT_EQ(contents(QStringLiteral("lista.csv")),
                  QStringLiteral("Megnevezés;Mennyiség  (kg)\r\nPétisó;500\r\nKálisó;300\r\n\r\n"
                                 "Sikertelen megnyitások:;rossz.tap\r\n"));
    }
}

TEST_F(PurchaseListRunTest, NothingIsWrittenOverAPlanOrWithoutOne)
{
    const QString plan = path(QStringLiteral("gazdasag/kis.tap"));
    const QString before = contents(QStringLiteral("gazdasag/kis.tap"));
    EXPECT_EQ(run({QStringLiteral("--purchase-list"), plan, QStringLiteral("--output"),
                   path(QStringLiteral("gazdasag/../gazdasag/kis.tap"))}),
              1);
    EXPECT_EQ(contents(QStringLiteral("gazdasag/kis.tap")), before);

    EXPECT_EQ(run({QStringLiteral("--purchase-list"), path(QStringLiteral("gazdasag/rossz.tap")),
                   path(QStringLiteral("nincs.tap")), QStringLiteral("--output"),
                   path(QStringLiteral("ures.csv"))}),
              1);
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("ures.csv"))));
    EXPECT_TRUE(m_errors.contains(QStringLiteral("nincs.tap"))) << qPrintable(m_errors);
}
