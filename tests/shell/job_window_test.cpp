// The Job menu in both window programs, through the windows' named controls: the register
// of equipment, a job opened and filled in, captured slots added, each record's depth and
// level read off the job window, an indication noted, a result set with its reason, and the
// job report written; an incomplete job reported only as a draft; the archive window adding
// records to the job and finding them by the job's client and the result.
#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTableView>
#include <QTableWidget>
#include <QTest>

#include "profiles/dac.h"
#include "profiles/tft.h"
#include "session/job_desk.h"
#include "shell/archive/archive_hooks.h"
#include "shell/archive/archive_results_model.h"
#include "shell/archive/frmarchive.h"
#include "shell/job/frmequipment.h"
#include "shell/job/frmjob.h"
#include "shell/job/frmjobreport.h"
#include "shell/job/job_hooks.h"
#include "shell/job/json_form.h"
#include "storage/record_file_writer.h"
#include "support/inspection_records.h"
#include "support/report_fixture.h"
#include "support/window_on_pty.h"

using namespace trellicap;

namespace {

class JobWindows : public trellicap::testing::WindowOnPty {
protected:
    template <class T = QWidget>
    T* child(QWidget& w, const char* name) {
        return w.findChild<T*>(QString::fromLatin1(name));
    }
    void trigger(frmmain& w, const char* entry) {
        QAction* action = child<QAction>(w, entry);
        ASSERT_NE(action, nullptr) << entry;
        action->trigger();
    }
    void type(QWidget& form, const char* name, const QString& text) {
        QWidget* box = child(form, name);
        ASSERT_NE(box, nullptr) << name;
        if (auto* line = qobject_cast<QLineEdit*>(box)) {
            line->setText(text);
        } else if (auto* combo = qobject_cast<QComboBox*>(box)) {
            combo->setCurrentText(text);
        }
    }
    // Slots 3 and 4 hold echoes of 30 % and 80 % at sample 99 (-6.0 and +2.5 dB to the curve).
    void fileEchoes(frmmain& w) {
        for (const auto& [column, amplitude] : {std::pair{2, 30}, std::pair{3, 80}}) {
            trellicap::testing::EchoRecord r;
            r.slot = QStringLiteral("00%1").arg(column + 1);
            r.samples = {{99, amplitude}};
            ASSERT_TRUE(w.session()
                            .fileRecord(column, trellicap::testing::echoRecord(*GetParam(), r))
                            .done());
        }
    }
    void keepEntry(frmequipment& window, inspection::ItemKind kind,
                   std::initializer_list<std::pair<const char*, QString>> boxes) {
        window.showKind(kind);
        window.clearForm();
        for (const auto& [name, text] : boxes) {
            type(window.form(kind), name, text);
        }
        ASSERT_TRUE(window.keep());
    }
    // The register a complete job needs, kept through the equipment window.
    void registerEquipment(frmmain& w) {
        trigger(w, "mnuequipment");
        frmequipment* window = w.jobs().equipmentWindow();
        ASSERT_NE(window, nullptr);
        const QString today = QDate::currentDate().toString(Qt::ISODate);
        keepEntry(*window, inspection::ItemKind::Instrument,
                  {{"txteqmodel", "KVR"}, {"txteqserial", "I-100"}, {"txteqdue", "2099-12-31"}});
        keepEntry(*window, inspection::ItemKind::Probe,
                  {{"cboeqprobetype", "angle"},
                   {"txteqserial", "P-77"},
                   {"txteqfrequency", "4"},
                   {"txteqangle", "60"},
                   {"txteqmeasured", "60"},
                   {"txteqdue", "2099-12-31"}});
        keepEntry(*window, inspection::ItemKind::Block,
                  {{"txteqdesignation", "ISO 2400"}, {"txteqid", "K1-07"}});
        keepEntry(*window, inspection::ItemKind::DailyCheck,
                  {{"txteqdate", today},
                   {"txteqinstrument", "I-100"},
                   {"txteqprobe", "P-77"},
                   {"cboeqresult", "pass"}});
        EXPECT_EQ(child<QTableWidget>(*window, "tbleqprobes")->rowCount(), 1);
        EXPECT_EQ(child<QTableWidget>(*window, "tbleqprobes")->item(0, 2)->text(), "P-77");
        EXPECT_EQ(child<QLabel>(*window, "lbleqwarnings")->text(),
                  "Today nothing is due and every check passed.");
        window->close();
    }
    void fillCompleteJob(frmjob& job) {
        JsonForm& form = job.form();
        const std::pair<const char*, QString> boxes[] = {
            {"txtjobclient", "ACME Steel"},
            {"txtjoborder", "4711"},
            {"txtjobobject", "Weld W-12"},
            {"txtjobmaterial", "S355J2"},
            {"txtjobthickness", "20"},
            {"txtjobsurface", "as welded"},
            {"txtjobtemperature", "18"},
            {"txtjobplace", "Shop 2"},
            {"txtjobdatefrom", QDate::currentDate().toString(Qt::ISODate)},
            {"txtjoborganisation", "Nord NDT"},
            {"txtjobprocedure", "UT-P-07"},
            {"txtjobrevision", "C"},
            {"txtjobstandard", "ISO 17640"},
            {"txtjoblevel", "B"},
            {"txtjobinspector", "Anna Inspector"},
            {"txtjobcert", "ISO 9712 UT 2"},
            {"cbojobinstrument", "I-100"},
            {"cbojobprobe", "P-77"},
            {"cbojobblock", "K1-07"},
            {"cbojobcouplant", "paste"},
            {"cbojobmethod", "dac"},
            {"txtjobrefgain", "40"},
            {"txtjobrecording", "-6"},
            {"txtjobacceptance", "0"}};
        for (const auto& [name, text] : boxes) {
            type(form, name, text);
        }
    }
    frmjob& newJob(frmmain& w) {
        trigger(w, "mnunewjob");
        return *w.jobs().jobWindow();
    }
    QString cell(frmjob& job, int row, int column) {
        const QTableWidgetItem* item = job.records()->item(row, column);
        return item ? item->text() : QString();
    }
    template <class Dialog>
    Dialog* openDialog(frmjob& job, const char* name) {
        for (int i = 0; i < 50; ++i) {
            if (auto* dialog = job.findChild<Dialog*>(QString::fromLatin1(name));
                dialog && dialog->isVisible()) {
                return dialog;
            }
            QTest::qWait(10);
        }
        return nullptr;
    }
};

TEST_P(JobWindows, TheJobMenuStandsBeforeHelpWithItsEntries) {
    TRELLICAP_SKIP_WITHOUT_PTY(m_pty);
    auto w = start();
    QStringList titles;
    for (QAction* action : w->menuBar()->actions()) {
        titles << action->text();
    }
    EXPECT_EQ(titles.mid(titles.size() - 3), QStringList({"Archive", "Job", "Help"}));
    QStringList entries;
    for (QAction* action : child<QMenu>(*w, "mnujob")->actions()) {
        entries << action->objectName() + QLatin1Char('=') + action->text();
        EXPECT_FALSE(action->statusTip().isEmpty());
    }
    EXPECT_EQ(entries, QStringList({"mnunewjob=New Job...", "mnuopenjob=Open Job...",
                                    "mnueditjob=Edit Job...", "mnuaddslots=Add Selected Slots",
                                    "mnuequipment=Equipment...", "mnujobreport=Job Report..."}));
    // Without a job there is nothing to add to, and the window says so.
    trigger(*w, "mnuaddslots");
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_EQ(m_messages[0].text, "No job is open.");
}

TEST_P(JobWindows, AnInspectorOpensAJobAddsSlotsReadsTheLevelsDecidesAndReports) {
    TRELLICAP_SKIP_WITHOUT_PTY(m_pty);
    auto w = start();
    fileEchoes(*w);
    registerEquipment(*w);
    frmjob& job = newJob(*w);
    EXPECT_TRUE(job.isNew());
    EXPECT_FALSE(child<QPushButton>(job, "cmdjobaddslots")->isEnabled()) << "saved first";
    fillCompleteJob(job);
    child<QPushButton>(job, "cmdsavejob")->click();
    ASSERT_TRUE(m_messages.empty()) << m_messages[0].informative.toStdString();
    JobDesk& desk = *w->jobs().desk();
    ASSERT_TRUE(desk.hasJob());
    EXPECT_EQ(desk.job().version, 1);
    // The register filled in the probe's frequency and angles.
    EXPECT_EQ(desk.job().probe.measuredAngleDeg, 60.0);

    QListWidget* list = w->slotList();
    list->clearSelection();
    list->item(2)->setSelected(true);
    list->item(3)->setSelected(true);
    list->item(7)->setSelected(true);  // holds no record: left out, and said so
    trigger(*w, "mnuaddslots");
    ASSERT_EQ(job.records()->rowCount(), 2);
    EXPECT_TRUE(
        w->statusBar()->currentMessage().startsWith("2 record(s) from the slot list "
                                                    "joined job"))
        << w->statusBar()->currentMessage().toStdString();
    // Sample 99 of a 100 mm RANGE: 39.6 mm; along 60 degrees 19.8 deep, 34.3 from the probe.
    EXPECT_EQ(cell(job, 0, 3), "39.6");
    EXPECT_EQ(cell(job, 0, 4), "19.8");
    EXPECT_EQ(cell(job, 0, 5), "34.3");
    EXPECT_EQ(cell(job, 0, 7), "-6.0 dB / 50.0 % DAC");
    EXPECT_EQ(cell(job, 0, 10), "acceptable");
    EXPECT_EQ(cell(job, 1, 7), "2.5 dB / 133.3 % DAC");
    EXPECT_EQ(cell(job, 1, 10), "reject");
    EXPECT_TRUE(child<QLabel>(job, "lbljobstatus")->text().contains("Every mandatory item"));

    // The inspector's notes of the second record.
    job.records()->selectRow(1);
    child<QPushButton>(job, "cmdjobnotes")->click();
    auto* notes = openDialog<QDialog>(job, "frmjobnotes");
    ASSERT_NE(notes, nullptr);
    type(*notes, "txtnotelength", "6.5");
    type(*notes, "txtnoteposition", "x 120 mm");
    child<QPushButton>(*notes, "cmdnotesok")->click();
    EXPECT_EQ(cell(job, 1, 8), "6.5");
    EXPECT_EQ(cell(job, 1, 9), "x 120 mm");

    // A result by hand: not without a reason.
    job.records()->selectRow(1);
    child<QPushButton>(job, "cmdjobresult")->click();
    auto* result = openDialog<QDialog>(job, "frmjobresult");
    ASSERT_NE(result, nullptr);
    auto* ok = child<QPushButton>(*result, "cmdresultok");
    EXPECT_FALSE(ok->isEnabled());
    child<QComboBox>(*result, "cboresult")->setCurrentText("acceptable");
    type(*result, "txtresultreason", "root geometry, seen from the other side");
    EXPECT_TRUE(ok->isEnabled());
    ok->click();
    EXPECT_EQ(cell(job, 1, 10), "acceptable*");
    EXPECT_EQ(desk.job().items[1].resultOverride->by, "Anna Inspector");
    EXPECT_EQ(child<QListWidget>(job, "lstjobhistory")->count(), 4);

    // The report, from the window's own button.
    child<QPushButton>(job, "cmdjobreport")->click();
    frmjobreport* report = w->jobs().reportWindow();
    ASSERT_NE(report, nullptr);
    EXPECT_TRUE(report->makeButton()->isEnabled());
    EXPECT_FALSE(report->draftButton()->isVisible());
    const QString pdf = m_dir.filePath("job.pdf");
    type(*report, "txtreportfile", pdf);
    QSignalSpy finished(&w->jobs(), &JobHooks::reportFinished);
    report->makeButton()->click();
    ASSERT_TRUE(finished.wait(60000));
    EXPECT_TRUE(finished.at(0).at(0).toBool());
    const QString text = trellicap::testing::runTool("pdftotext", {"-layout", pdf, "-"});
    EXPECT_TRUE(text.contains("ACME Steel"));
    EXPECT_TRUE(text.contains("acceptable*"));
    EXPECT_TRUE(text.contains("Page 1 of"));
    EXPECT_FALSE(text.contains("DRAFT"));
    EXPECT_GE(test::pdfPageCount(pdf), 3);
    EXPECT_TRUE(m_messages.empty());
}

TEST_P(JobWindows, AFormMistakeIsNamedAndAnIncompleteJobIsOnlyADraft) {
    TRELLICAP_SKIP_WITHOUT_PTY(m_pty);
    auto w = start();
    fileEchoes(*w);
    frmjob& job = newJob(*w);
    type(job.form(), "txtjobclient", "ACME");
    type(job.form(), "txtjobthickness", "twenty");
    child<QPushButton>(job, "cmdsavejob")->click();
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_EQ(m_messages[0].informative, "Thickness (mm): a number is expected");
    EXPECT_FALSE(w->jobs().desk()->hasJob());
    type(job.form(), "txtjobthickness", "20,5");  // a comma is a decimal point too
    child<QPushButton>(job, "cmdsavejob")->click();
    ASSERT_TRUE(w->jobs().desk()->hasJob());
    EXPECT_EQ(w->jobs().desk()->job().thicknessMm, 20.5);
    EXPECT_TRUE(child<QLabel>(job, "lbljobstatus")
                    ->text()
                    .startsWith("Missing for the report: "
                                "Order number"));
    w->slotList()->clearSelection();
    w->slotList()->item(2)->setSelected(true);
    child<QPushButton>(job, "cmdjobaddslots")->click();
    EXPECT_EQ(job.records()->rowCount(), 1);

    trigger(*w, "mnujobreport");
    frmjobreport* report = w->jobs().reportWindow();
    ASSERT_NE(report, nullptr);
    EXPECT_FALSE(report->makeButton()->isEnabled());
    EXPECT_TRUE(report->draftButton()->isVisible());
    EXPECT_TRUE(child<QLabel>(*report, "lblreportstatus")->text().contains("Missing mandatory"));
    const QString pdf = m_dir.filePath("draft.pdf");
    type(*report, "txtreportfile", pdf);
    QSignalSpy finished(&w->jobs(), &JobHooks::reportFinished);
    report->draftButton()->click();
    ASSERT_TRUE(finished.wait(60000));
    const int pages = test::pdfPageCount(pdf);
    ASSERT_GE(pages, 2);
    for (int page = 1; page <= pages; ++page) {
        EXPECT_TRUE(trellicap::testing::runTool("pdftotext", {"-f", QString::number(page), "-l",
                                                              QString::number(page), pdf, "-"})
                        .contains("DRAFT"))
            << page;
    }
}

TEST_P(JobWindows, TheArchiveWindowAddsRecordsAndFindsThemByJobAndResult) {
    TRELLICAP_SKIP_WITHOUT_PTY(m_pty);
    auto w = start();
    // A record file of the two echoes, opened: its records are kept in the archive.
    {
        RecordStore store(*GetParam());
        store.initMemoryTable();
        for (const auto& [column, amplitude] : {std::pair{2, 30}, std::pair{3, 80}}) {
            trellicap::testing::EchoRecord r;
            r.slot = QStringLiteral("00%1").arg(column + 1);
            r.samples = {{99, amplitude}};
            const auto values = trellicap::testing::echoRecord(*GetParam(), r);
            std::copy(values.begin(), values.end(), store.column(column).begin());
        }
        QFile file(m_dir.filePath("shift.dat"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(writeRecordFile(store));
    }
    w->loadFromFile(m_dir.filePath("shift.dat"));
    frmjob& job = newJob(*w);
    type(job.form(), "txtjobclient", "ACME Steel");
    type(job.form(), "txtjobrecording", "-6");
    type(job.form(), "txtjobacceptance", "0");
    child<QPushButton>(job, "cmdsavejob")->click();
    ASSERT_TRUE(w->jobs().desk()->hasJob());

    w->archive().openSearchWindow();
    frmarchive* archive = w->archive().searchWindow();
    ASSERT_NE(archive, nullptr);
    archive->runSearch();
    ASSERT_TRUE(archive->settle());
    ASSERT_EQ(archive->results().rowCount(), 2);
    archive->table()->selectAll();
    auto* add = child<QPushButton>(*archive, "cmdaddtojob");
    ASSERT_TRUE(add->isEnabled());
    add->click();
    ASSERT_TRUE(archive->settle());
    ASSERT_EQ(w->jobs().desk()->job().items.size(), 2u);
    EXPECT_EQ(w->jobs().desk()->job().items[0].origin.kind, inspection::OriginKind::Archive);

    // Found by the job's client, and by the result each record comes to there.
    type(*archive, "txtfindjob", "acme");
    archive->runSearch();
    ASSERT_TRUE(archive->settle());
    EXPECT_EQ(archive->results().rowCount(), 2);
    child<QComboBox>(*archive, "cboresult")->setCurrentText("reject");
    archive->runSearch();
    ASSERT_TRUE(archive->settle());
    ASSERT_EQ(archive->results().rowCount(), 1);
    EXPECT_EQ(archive->results().slot(0), 4);
    type(*archive, "txtfindjob", "nobody");
    archive->runSearch();
    ASSERT_TRUE(archive->settle());
    EXPECT_EQ(archive->results().rowCount(), 0);
    EXPECT_TRUE(m_messages.empty());
}

INSTANTIATE_TEST_SUITE_P(Models, JobWindows, ::testing::Values(&tft::kProfile, &dac::kProfile),
                         [](const auto& info) { return std::string(info.param->programName); });

}  // namespace
