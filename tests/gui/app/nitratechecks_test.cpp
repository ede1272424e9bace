// The nitrate action programme in the window: the notes under the corrected doses and the
// remainder, the summary's section, and the settings entry that turns all of them off.
#include "core/data/reference/tables.h"
#include "core/plan/schedule.h"
#include "core/reports/reportdocument.h"
#include "core/settings/programsettings.h"
#include "gui/steps/resultbox.h"
#include "gui/steps/resultnotes.h"
#include "support/qstringprinter.h"

#include <QTextDocument>

#include "mainwindowfixture.h"

namespace {

class NitrateChecksTest : public MainWindowTest
{
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        m_window->printing().setReportViewer([this](const ReportDocument &report) {
            m_summaries << report.html();
            if (const QString shots = qEnvironmentVariable("NUTRISOR_SCREENSHOTS"); !shots.isEmpty())
                report.exportTo(shots + QStringLiteral("/nitrate-summary-%1.pdf").arg(m_summaries.size()),
                               ReportFormat::Pdf);
        });
        m_window->resize(1100, 760);
        makePlan(4);
        m_plan.setPlannedYield(QStringLiteral("8"), Plan::Change::Computed);
        // Pétisó 27% N: 200 kg/ha in November spreads 54 kg/ha N in the closed period.
        const auto material = m_reference.selectFirst(
            Tables::Tapanyagok::name,
            Filter::equals(Tables::Tapanyagok::Megnev, QStringLiteral("Pétisó 27% N")));
        ASSERT_TRUE(material);
        m_plan.update(PlanItem::Schedule, [&](PlanItems &items) {
            Schedule::addScheduleRow(items, *material, QDate(2024, 11, 15), QStringLiteral("200"));
        });
        ASSERT_EQ(completeStep(m_plan, 5, true, m_messenger), StepOutcome::Completed);
    }

    // The notes under the list `button` of step `step` shows.
    QList<ListNote> notesOf(int step, const char *button)
    {
        m_window->wizard().showStep(step);
        inBox<QPushButton>(step, button)->click();
        return m_window->resultBox()->notes()->notes();
    }

    QStringList m_summaries;
};

TEST_F(NitrateChecksTest, TheSettingTurnsNotesAndSectionOff)
{
    // Winter wheat on site III, N "Gyenge": 170 kg/ha; 8 t/ha need 212 kg/ha.
    const QList<ListNote> doseNotes = notesOf(4, "correctedDosesButton");
    ASSERT_EQ(doseNotes.size(), 2);
    EXPECT_EQ(doseNotes[0].text, QStringLiteral("Átlag: nitrátérzékeny területen megengedett "
                                                 "legnagyobb N-adag: 170 kg/ha — a korrigált "
                                                 "adag 42 kg/ha-val több."));
    EXPECT_TRUE(doseNotes[0].isWarning);
    snapshot("step4");

    const QList<ListNote> rest = notesOf(5, "remainderButton");
    ASSERT_EQ(rest.size(), 3);
    EXPECT_EQ(rest[2].text, QStringLiteral("Tilalmi időszakban (október 31. – január 31., őszi "
                                           "gabona fejtrágyázása február 1-jétől megengedett) "
                                           "kijuttatott N: 2024.11.15. Pétisó 27% N, 54 kg/ha N."));
    EXPECT_TRUE(rest[2].isWarning);
    EXPECT_TRUE(m_window->resultBox()->notes()->isVisible());
    snapshot("step5");

    action("summaryAction")->trigger();
    ASSERT_EQ(m_summaries.size(), 1) << qPrintable(m_messenger.lastText());
    EXPECT_TRUE(m_summaries[0].contains(QStringLiteral("Pétisó 27% N</td><td class=\"number\">200"
                                                       "</td><td class=\"number\">54</td>")));

    action("nitrateChecksAction")->trigger();
    EXPECT_FALSE(ProgramSettings::readFile(m_paths.settingsPath()).nitrateChecks);
    EXPECT_TRUE(notesOf(4, "correctedDosesButton").isEmpty());
    EXPECT_TRUE(notesOf(5, "remainderButton").isEmpty());
    EXPECT_FALSE(m_window->resultBox()->notes()->isVisible());
    action("summaryAction")->trigger();
    ASSERT_EQ(m_summaries.size(), 2);
    EXPECT_FALSE(m_summaries[1].contains(QStringLiteral("Nitrát cselekvési program")));
    EXPECT_TRUE(m_messenger.shown().isEmpty()) << qPrintable(m_messenger.lastText());
}

} // namespace
