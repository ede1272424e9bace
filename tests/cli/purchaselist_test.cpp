// `nutrisor --purchase-list`: the program itself, run over a farm's plans.
#include "support/purchaseplans.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

TEST(PurchaseListRunTest, TotalsOfPlansAndFoldersInEveryFormat)
{
    QTemporaryDir dir;
    const auto path = [&dir](const char *name) { return dir.filePath(QString::fromUtf8(name)); };
    QDir(dir.path()).mkpath(QStringLiteral("gazdasag/2026"));
    savePurchasePlan(path("gazdasag/kis.tap"), QStringLiteral("5000"), {{7, "Pétisó", "200"}});
    savePurchasePlan(path("gazdasag/2026/nagy.tap"), QStringLiteral("20000"),
                     {{7, "Pétisó", "200"}, {3, "Kálisó", "150"}});
    QFile broken(path("gazdasag/rossz.tap"));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly) && broken.write("nem terv") == 8);
    broken.close();
    QString errors;
    const auto run = [&](QStringList plans, const char *output, const char *workingDirectory = "") {
        QProcess process;
        process.setWorkingDirectory(path(workingDirectory));
        process.start(QStringLiteral(NUTRISOR_PROGRAM),
                      QStringList {"--data-dir", path("data"), "--purchase-list"} + plans
                          + QStringList {"--output", path(output)});
        EXPECT_TRUE(process.waitForFinished(60000));
        errors = QString::fromLocal8Bit(process.readAllStandardError());
        return process.exitCode();
    };
    const auto contents = [&](const char *name) {
        QFile file(path(name));
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    };
    // 0,5 ha × 200 + 2 ha × 200 kg/ha of Pétisó; 2 ha × 150 kg/ha of Kálisó; the folder's
    // plans in the order of their paths, the plan named twice counted twice
    const QString csv = QStringLiteral("Megnevezés;Mennyiség  (kg)\r\nPétisó;%1\r\nKálisó;300\r\n"
                                       "\r\nSikertelen megnyitások:;rossz.tap\r\n");
    EXPECT_EQ(run({path("gazdasag")}, "a.csv"), 0);
    EXPECT_EQ(contents("a.csv"), csv.arg(500));
    EXPECT_TRUE(errors.contains(QStringLiteral("rossz.tap: A fájl formátuma helytelen!")));
    EXPECT_EQ(run({"-", path("gazdasag/kis.tap")}, "b.csv", "gazdasag"), 0);
    EXPECT_EQ(contents("b.csv"), csv.arg(600));
    for (const char *output : {"c.txt", "c.html", "c.rtf", "c.pdf"}) {
        ASSERT_EQ(run({path("gazdasag")}, output), 0) << output;
        EXPECT_GT(QFileInfo(path(output)).size(), 200) << output;
    }
    for (const char *shown : {"Pétisó", "500", "Kálisó", "kis.tap", "nagy.tap", "rossz.tap"})
        EXPECT_TRUE(contents("c.txt").contains(QString::fromUtf8(shown))) << shown;

    // never over one of its plans, nor without a plan read
    const QString plan = contents("gazdasag/kis.tap");
    EXPECT_EQ(run({path("gazdasag")}, "gazdasag/../gazdasag/kis.tap"), 1);
    EXPECT_EQ(contents("gazdasag/kis.tap"), plan);
    EXPECT_EQ(run({path("gazdasag/rossz.tap"), path("nincs.tap")}, "d.csv"), 1);
    EXPECT_FALSE(QFile::exists(path("d.csv")));
    EXPECT_TRUE(errors.contains(QStringLiteral("nincs.tap")));
}
