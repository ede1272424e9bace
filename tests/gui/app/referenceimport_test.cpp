#include "core/data/reference/referenceimportflow.h"
#include "cli/commandruns.h"

#include "core/data/reference/referenceimport.h"
#include "core/data/reference/tables.h"
#include "cli/commandline.h"
#include "gui/steps/step3panel.h"
#include "mainwindowfixture.h"
#include "support/paradoxwriter.h"

#include <QDir>
#include <QFileInfo>
#include <QTableWidget>

#include <cstdio>

namespace {

using Paradox::FieldType;

// An earlier installation's directory with two of its tables: the crops in code page 852,
// the step-2 captions in 1250.
void writeOldTables(const QString &directory)
{
    ParadoxWriter::Table crops;
    crops.codePage = 852;
    crops.fields = {{Tables::Nov::Novid, FieldType::Alpha, 6}, {Tables::Nov::Nev, FieldType::Alpha, 50}};
    crops.rows = {{QStringLiteral("1"), QStringLiteral("Őszi búza")},
                  {QStringLiteral("90"), QStringLiteral("Tönköly")}};
    ParadoxWriter::Table captions;
    captions.fields = {{Tables::Modtext::St1, FieldType::Alpha, 40},
                       {Tables::Modtext::St2, FieldType::Alpha, 40}};
    captions.rows = {{QStringLiteral("Tábla"), QStringLiteral("Parcella")}};
    QString error;
    ASSERT_TRUE(ParadoxWriter::write(QDir(directory).filePath(QStringLiteral("Nov.db")), crops,
                                     &error))
        << qPrintable(error);
    ASSERT_TRUE(ParadoxWriter::write(QDir(directory).filePath(QStringLiteral("MODTEXT.DB")),
                                     captions, &error))
        << qPrintable(error);
}

// What was written to `stream`; the stream is closed.
QString contents(std::FILE *stream)
{
    std::rewind(stream);
    QByteArray bytes;
    char buffer[4096];
    for (size_t count; (count = std::fread(buffer, 1, sizeof buffer, stream)) > 0;)
        bytes.append(buffer, qsizetype(count));
    std::fclose(stream);
    return QString::fromLocal8Bit(bytes);
}

TEST(ImportReferenceCommandTest, OptionsOfTheCommandLine)
{
    CommandLine parsed = CommandLine::parse({"nutrisor", "--import-reference", "/regi", "--yes"});
    EXPECT_EQ(parsed.importReferenceDir, QStringLiteral("/regi"));
    EXPECT_TRUE(parsed.assumeYes);
    EXPECT_TRUE(parsed.error.isEmpty());
    parsed = CommandLine::parse({"nutrisor", "--import-reference"});
    EXPECT_EQ(parsed.error, QStringLiteral("A(z) --import-reference kapcsolóhoz meg kell adni egy "
                                           "értéket."));
}

// The terminal run: what was found is printed, the answer read; "n" changes nothing and
// exits 1 with the reason, "i" and --yes take the tables over.
TEST(ImportReferenceCommandTest, AsksOnTheTerminalUnlessYes)
{
    QTemporaryDir data;
    QTemporaryDir old;
    writeOldTables(old.path());
    CommandLine commandLine;
    commandLine.dataDir = data.path();
    commandLine.importReferenceDir = old.path();
    const QString database = data.filePath(AppPaths::referenceDatabaseName());

    const auto run = [&](const char *answer, QString *out, QString *err) {
        std::FILE *in = std::tmpfile();
        std::fputs(answer, in);
        std::rewind(in);
        std::FILE *outStream = std::tmpfile();
        std::FILE *errStream = std::tmpfile();
        const int code = importReferenceCommand(commandLine, data.path(), in, outStream, errStream);
        *out = contents(outStream);
        *err = contents(errStream);
        std::fclose(in);
        return code;
    };
    const auto cropCount = [&] {
        ReferenceDatabase reference;
        EXPECT_TRUE(reference.open(database));
        return reference.count(Tables::Nov::name);
    };

    QString out;
    QString err;
    EXPECT_EQ(run("n\n", &out, &err), 1);
    EXPECT_TRUE(out.contains(QStringLiteral("  Nov (Nov.db): 2 sor\n  Modtext (MODTEXT.DB): 1 sor\n")))
        << qPrintable(out);
    EXPECT_TRUE(out.startsWith(QStringLiteral("Átveszi a korábbi telepítés alább felsorolt "
                                              "referencia-tábláit?")))
        << qPrintable(out);
    EXPECT_TRUE(out.endsWith(QStringLiteral("Hiányzó táblák: Find, Find2, Find2Back, Find3, "
                                            "Find3Back, Tapanyagok, Jav, Comptext, Tanacsado, "
                                            "Mintak, Fajok, Hatar\nIgen vagy nem? [i/n] ")))
        << qPrintable(out);
    EXPECT_EQ(err, QStringLiteral("nutrisor: A régi referencia-táblák átvétele elmaradt, a "
                                  "referencia-adatbázis nem változott.\n"));
    const int defaultCrops = cropCount();
    EXPECT_GT(defaultCrops, 2); // the database was created from the defaults, then left alone

    const QString backup = ReferenceImport::backupPath(database, QDate::currentDate());
    EXPECT_EQ(run("i\n", &out, &err), 0);
    EXPECT_TRUE(out.endsWith(QStringLiteral("2 tábla 3 sora átvéve. A korábbi referencia-adatbázis "
                                            "másolata: %1\n")
                                 .arg(QDir::toNativeSeparators(backup))))
        << qPrintable(out);
    EXPECT_TRUE(err.isEmpty());
    EXPECT_EQ(cropCount(), 2);
    EXPECT_TRUE(QFileInfo::exists(backup));

    commandLine.assumeYes = true;
    EXPECT_EQ(run("", &out, &err), 0);
    EXPECT_TRUE(out.contains(QStringLiteral("Hatar\nIgen (--yes)\n"))) << qPrintable(out);

    QTemporaryDir empty;
    commandLine.importReferenceDir = empty.path();
    EXPECT_EQ(run("", &out, &err), 1);
    EXPECT_EQ(err, QStringLiteral("nutrisor: A(z) %1 mappában nincs referencia-tábla.\n")
                       .arg(QDir::toNativeSeparators(empty.path())));
}

// The menu entry: the directory chooser, the question with what was found, the result.
TEST_F(MainWindowTest, ReferenceTablesTakenOverFromTheMenu)
{
    QTemporaryDir old;
    writeOldTables(old.path());

    m_chooser.expect(QString()); // "Mégse" in the directory chooser: nothing is asked
    action("importReferenceAction")->trigger();
    EXPECT_TRUE(m_messenger.shown().isEmpty());

    m_chooser.expect(old.path());
    m_messenger.expect(Answer::Nem);
    action("importReferenceAction")->trigger();
    ASSERT_EQ(m_messenger.shown().size(), 1); // declining needs no further word
    EXPECT_EQ(m_messenger.shown().at(0).buttons, ButtonSet::IgenNem);
    EXPECT_FALSE(m_messenger.shown().at(0).inLabel);
    EXPECT_TRUE(m_messenger.shown().at(0).text.contains(
        QStringLiteral("előtte másolat készül a referencia-adatbázisról.\n\n"
                       "Régi referencia-táblák a(z) %1 mappában:\n  Nov (Nov.db): 2 sor")
            .arg(QDir::toNativeSeparators(old.path()))));
    EXPECT_GT(m_reference.count(Tables::Nov::name), 2);

    m_chooser.expect(old.path());
    m_messenger.expect(Answer::Igen);
    m_messenger.expect(Answer::Ok);
    action("importReferenceAction")->trigger();
    ASSERT_EQ(m_messenger.shown().size(), 3);
    EXPECT_TRUE(m_messenger.lastText().startsWith(QStringLiteral("2 tábla 3 sora átvéve.")))
        << qPrintable(m_messenger.lastText());
    EXPECT_EQ(m_messenger.shown().last().kind, MessageKind::Information);
    EXPECT_EQ(m_reference.count(Tables::Nov::name), 2);
    // The crop list of step 3 offers the crops taken over.
    auto *crops = m_window->wizard().step3Panel()->findChild<QTableWidget *>(QStringLiteral("cropList"));
    ASSERT_NE(crops, nullptr);
    ASSERT_EQ(crops->rowCount(), 2);
    EXPECT_EQ(QStringList({crops->item(0, 0)->text(), crops->item(1, 0)->text()}),
              QStringList({"Őszi búza", "Tönköly"}));
}

} // namespace
