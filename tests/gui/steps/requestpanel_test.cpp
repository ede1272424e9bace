#include "gui/steps/requestpanel.h"

#include "core/data/farm/farmfields.h"
#include "core/data/farm/samplefarm.h"
#include "support/panelfixture.h"

#include <QAbstractItemModelTester>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTableView>

namespace {

// The request over a step panel of its own size, on the sample farm.
class RequestPanelTest : public PanelTest
{
protected:
    void SetUp() override
    {
        PanelTest::SetUp();
        m_farm = m_dir.filePath(QStringLiteral("farm"));
        QString error;
        ASSERT_TRUE(writeSampleFarm(QStringLiteral(NUTRISOR_FARM_SAMPLE_CSV), m_farm, &error))
            << qPrintable(error);
        m_panel = new RequestPanel(m_plan, m_messenger, &m_host);
        showPanel(&m_host, QSize(780, 520), QStringLiteral("request-"));
    }

    QTableView *list() const { return child<QTableView>("recordList"); }
    QAbstractItemModel *records() const { return list()->model(); }
    void press(const char *button) { QTest::mouseClick(child<QPushButton>(button), Qt::LeftButton); }

    void clickRow(int row)
    {
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, {},
                          list()->visualRect(records()->index(row, 0)).center());
    }

    QStringList column(int column) const
    {
        QStringList texts;
        for (int row = 0; row < records()->rowCount(); ++row)
            texts << records()->index(row, column).data().toString();
        return texts;
    }

    void openOnFarm()
    {
        m_panel->setFarmDirectory(m_farm);
        m_panel->open();
        ASSERT_TRUE(m_panel->isVisible());
        EXPECT_EQ(child<QLineEdit>("sourceEdit")->text(), QDir::toNativeSeparators(m_farm));
    }

    QString cell(int row, int column) const { return items().soilSampleTable.cell(row, column); }

    QString m_farm;
    QWidget m_host;
    RequestPanel *m_panel = nullptr;
};

// Opened, the request lists the farm's active fields; a fetch copies the chosen one.
TEST_F(RequestPanelTest, FetchCopiesTheChosenFieldWithItsSamples)
{
    QSignalSpy imported(m_panel, &RequestPanel::fieldImported);
    m_plan.setParcelNumber(QStringLiteral("9"));
    m_plan.markSaved();
    QSignalSpy itemsChanged(&m_plan, &Plan::itemChanged);
    EXPECT_FALSE(m_panel->isVisible()); // until it is opened
    openOnFarm();
    EXPECT_EQ(m_panel->pos(), QPoint(0, 0));
    EXPECT_TRUE(child<QRadioButton>("fieldsModeButton")->isChecked());
    EXPECT_EQ(records()->columnCount(), 5);
    // Field 0124/1 is inactive and not listed.
    EXPECT_EQ(column(0), (QStringList{"0112/3", "0115/1", "0117/2", "0121/5", "0130/7"}));
    EXPECT_EQ(records()->index(0, 1).data().toString(), QStringLiteral("Malom-dűlő"));
    clickRow(3);
    press("fetchButton");

    EXPECT_FALSE(m_panel->isVisible());
    EXPECT_EQ(imported.count(), 1);
    ASSERT_EQ(itemsChanged.count(), 1);
    EXPECT_EQ(itemsChanged.first().first().value<PlanItem>(), PlanItem::All);
    EXPECT_TRUE(m_plan.isModified());
    // Field 0121/5: ten samples, TVG1 … TVG10 in table order, and an average record; the
    // fields leave the parcel number alone.
    EXPECT_EQ(QStringList({items().lotNumber, items().area, items().parcelNumber, cell(1, 1),
                           cell(1, 2), cell(1, 11)}),
              QStringList({"0121/5", "1234500", "9", "Átlag", "TVG1", "TVG10"}));
    EXPECT_EQ(items().sampleCount, 10);
}

TEST_F(RequestPanelTest, DoubleClickAndEnterFetchEscapeCancels)
{
    openOnFarm();
    const QPoint second = list()->visualRect(records()->index(1, 0)).center();
    QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, second);
    QTest::mouseDClick(list()->viewport(), Qt::LeftButton, {}, second);
    EXPECT_FALSE(m_panel->isVisible());
    EXPECT_EQ(items().lotNumber, QStringLiteral("0115/1"));

    m_panel->open();
    ASSERT_TRUE(list()->hasFocus());
    // The first field is the current one; Down goes to the next.
    QTest::keyClick(list(), Qt::Key_Down);
    QTest::keyClick(list(), Qt::Key_Down);
    QTest::keyClick(list(), Qt::Key_Return);
    EXPECT_FALSE(m_panel->isVisible());
    EXPECT_EQ(items().lotNumber, QStringLiteral("0117/2"));

    m_panel->open();
    QTest::keyClick(list(), Qt::Key_Down);
    QTest::keyClick(list(), Qt::Key_Escape);
    EXPECT_FALSE(m_panel->isVisible());
    EXPECT_EQ(items().lotNumber, QStringLiteral("0117/2"));

    m_panel->open();
    press("cancelButton");
    EXPECT_FALSE(m_panel->isVisible());
    EXPECT_EQ(items().lotNumber, QStringLiteral("0117/2"));
}

TEST_F(RequestPanelTest, TheParcelsListTheActiveParcels)
{
    openOnFarm();
    QTest::mouseClick(child<QRadioButton>("parcelsModeButton"), Qt::LeftButton);
    EXPECT_EQ(m_panel->mode(), FarmRecordKind::Parcels);
    EXPECT_TRUE(child<QRadioButton>("parcelsModeButton")->isChecked());
    EXPECT_EQ(records()->columnCount(), 6);
    EXPECT_EQ(column(1), (QStringList{"1", "2", "3"})); // parcel 4 is not active
    EXPECT_EQ(records()->index(0, 0).data().toString(), QStringLiteral("2024"));
    EXPECT_EQ(records()->index(0, 4).data().toString(), QStringLiteral("Csárda-dűlő"));

    m_plan.setLotNumber(QStringLiteral("0112/3"));
    clickRow(0);
    press("fetchButton");
    // The parcels leave the lot number alone.
    EXPECT_EQ(QStringList({items().parcelNumber, items().area, items().lotNumber}),
              QStringList({"1", "58200", "0112/3"}));
    EXPECT_GE(items().sampleCount, 1);

    // A new request starts from the fields again.
    m_panel->open();
    EXPECT_EQ(m_panel->mode(), FarmRecordKind::Fields);
    EXPECT_TRUE(child<QRadioButton>("fieldsModeButton")->isChecked());
    EXPECT_EQ(column(0).first(), QStringLiteral("0112/3"));
    EXPECT_FALSE(records()->flags(records()->index(0, 0)) & Qt::ItemIsEditable);

    // Without the parcel tables the switch changes nothing.
    ASSERT_TRUE(QFile::remove(QDir(m_farm).filePath(QStringLiteral("parcellak.db"))));
    QTest::mouseClick(child<QRadioButton>("parcelsModeButton"), Qt::LeftButton);
    EXPECT_EQ(m_panel->mode(), FarmRecordKind::Fields);
    EXPECT_TRUE(child<QRadioButton>("fieldsModeButton")->isChecked());
    EXPECT_EQ(records()->rowCount(), 5);
    EXPECT_EQ(records()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Helyrajzi szám"));
}

TEST_F(RequestPanelTest, FetchWithoutAFarmTableSaysSo)
{
    QAbstractItemModelTester tester(records(),
                                    QAbstractItemModelTester::FailureReportingMode::Fatal);
    m_panel->setFarmDirectory(m_dir.filePath(QStringLiteral("nincs")));
    m_panel->open();
    ASSERT_TRUE(m_panel->isVisible());
    EXPECT_FALSE(m_panel->hasRecords());
    // An empty list keeps its column titles.
    EXPECT_EQ(records()->rowCount(), 0);
    EXPECT_EQ(records()->columnCount(), 5);

    m_messenger.expect(Answer::Ok);
    press("fetchButton");
    EXPECT_EQ(m_messenger.shown(),
              QList<ScriptedMessenger::Shown>(
                  {{"Nincs megnyitott adattábla: a megadott helyen nem található a táblák "
                    "adatbázisa. Az adatok helyét a „Beálítás” gombbal adhatja meg.",
                    ButtonSet::OkOnly, false, MessageKind::Information}}));
    // The request stays open for another directory; the plan is untouched.
    EXPECT_TRUE(m_panel->isVisible());
    EXPECT_FALSE(m_plan.isModified());
    EXPECT_EQ(items().lotNumber, QString());

    // (a switch to parcels that finds none: TheParcelsListTheActiveParcels)
    QSignalSpy location(m_panel, &RequestPanel::dataLocationRequested);
    press("settingsButton");
    EXPECT_EQ(location.count(), 1);

    // The chosen directory lists at once.
    m_panel->setFarmDirectory(m_farm);
    EXPECT_EQ(records()->rowCount(), 5);
    EXPECT_EQ(child<QLineEdit>("sourceEdit")->text(), QDir::toNativeSeparators(m_farm));
}

// A fetch that cannot be done says why and leaves the request open and the plan untouched.
TEST_F(RequestPanelTest, AFetchThatFailsSaysWhy)
{
    struct Case
    {
        const char *name;
        bool spoilSamples; // the sample table is no database at all
        QString message;   // the message, or how it starts when the reader's reason follows
        MessageKind kind;
    };
    const Case cases[] = {
        {"no row selected", false, QStringLiteral("Nincs kiválasztott tábla."),
         MessageKind::Information},
        {"unreadable sample table", true,
         QStringLiteral("A(z) Talajmintak talajminta-tábla nem olvasható. "), MessageKind::Error},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        if (c.spoilSamples) {
            QFile samples(QDir(m_farm).filePath(QStringLiteral("Talajmintak.db")));
            ASSERT_TRUE(samples.open(QIODevice::WriteOnly | QIODevice::Truncate));
            samples.write("nem adatbázis");
        }
        openOnFarm();
        if (c.spoilSamples)
            clickRow(0);
        else
            list()->clearSelection();
        m_messenger.expect(Answer::Ok);
        press("fetchButton");
        const QString shown = m_messenger.lastText();
        EXPECT_EQ(c.spoilSamples ? shown.left(c.message.size()) : shown, c.message);
        EXPECT_EQ(m_messenger.shown().last().kind, c.kind);
        EXPECT_TRUE(m_panel->isVisible());
        EXPECT_EQ(items().lotNumber, QString());
        EXPECT_EQ(items().sampleCount, 0);
        EXPECT_FALSE(m_plan.isModified());
    }
    EXPECT_EQ(m_messenger.shown().size(), 2);
}

} // namespace
