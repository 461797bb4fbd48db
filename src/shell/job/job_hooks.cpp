#include "shell/job/job_hooks.h"

#include <QAction>
#include <QDate>
#include <QDir>
#include <QFileDialog>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>

#include "report/export_job.h"
#include "report/job_report_content.h"
#include "session/archive_inspection_store.h"
#include "session/job_desk.h"
#include "session/job_records.h"
#include "session/session.h"
#include "shell/common/window_host.h"
#include "shell/common/window_placement.h"
#include "shell/export/export_progress.h"
#include "shell/job/frmequipment.h"
#include "shell/job/frmjob.h"
#include "shell/job/frmjoblist.h"
#include "shell/job/frmjobreport.h"

namespace trellicap {

namespace {

const QString kTitle = QStringLiteral("Job");

struct Entry {
    const char* name;
    const char* text;
    void (JobHooks::*command)();
    const char* tip;
};

constexpr Entry kEntries[] = {
    {"mnunewjob", "New Job...", &JobHooks::newJob, "Start a job: client, object, equipment, rule"},
    {"mnuopenjob", "Open Job...", &JobHooks::openJobList, "Open a job kept in the archive"},
    {"mnueditjob", "Edit Job...", &JobHooks::editJob, "The open job: its items and records"},
    {"mnuaddslots", "Add Selected Slots", &JobHooks::addSelectedSlots,
     "The selected slots' records join the open job"},
    {"mnuequipment", "Equipment...", &JobHooks::openEquipment,
     "Instruments, probes, blocks, couplants and daily checks"},
    {"mnujobreport", "Job Report...", &JobHooks::openReport,
     "The job report: the job's pages, then each record's page"},
};

}  // namespace

QString suggestedReportPath(const inspection::Job& job, const QString& folder) {
    QStringList parts{QStringLiteral("job")};
    for (const QString& part : {job.order, job.object}) {
        if (!part.trimmed().isEmpty()) {
            parts << part.trimmed();
        }
    }
    QString name = parts.join(QLatin1Char('-'));
    name.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9._-]+")), QStringLiteral("_"));
    return QDir(folder).filePath(name + QStringLiteral(".pdf"));
}

JobHooks::JobHooks(Session& session, WindowHost& host, QMenuBar& bar,
                   std::function<QList<int>()> selectedColumns)
    : m_session(session), m_host(host), m_selectedColumns(std::move(selectedColumns)) {
    buildMenu(bar);
}

JobHooks::~JobHooks() {
    // The windows go before the desk they show.
    delete m_job;
    delete m_list;
    delete m_equipment;
    delete m_report;
}

frmjob* JobHooks::jobWindow() const {
    return m_job;
}

frmjoblist* JobHooks::jobList() const {
    return m_list;
}

frmequipment* JobHooks::equipmentWindow() const {
    return m_equipment;
}

frmjobreport* JobHooks::reportWindow() const {
    return m_report;
}

QString JobHooks::storeError() const {
    if (!m_store) {
        return QStringLiteral("this program keeps no archive");
    }
    return m_store->error();
}

void JobHooks::buildMenu(QMenuBar& bar) {
    auto* menu = new QMenu(kTitle, &bar);
    menu->setObjectName(QStringLiteral("mnujob"));
    for (const Entry& entry : kEntries) {
        QAction* action = menu->addAction(QString::fromLatin1(entry.text));
        action->setObjectName(QString::fromLatin1(entry.name));
        action->setStatusTip(QString::fromLatin1(entry.tip));
        connect(action, &QAction::triggered, this, entry.command);
    }
    // Before Help, which stays last.
    QAction* before = nullptr;
    for (QAction* action : bar.actions()) {
        if (action->menu() && action->menu()->objectName() == QLatin1String("mnuhelp")) {
            before = action;
        }
    }
    bar.insertMenu(before, menu);
}

bool JobHooks::ready() {
    if (m_desk) {
        return true;
    }
    // Opened at first use, and tried again after a failure (a lock another program held).
    if (!m_session.archivePath().isEmpty()) {
        m_store = std::make_unique<ArchiveInspectionStore>(m_session.archivePath());
        if (m_store->isOpen()) {
            m_desk = std::make_unique<JobDesk>(*m_store, m_session.profile());
            return true;
        }
    }
    m_host.message({kTitle, QStringLiteral("Jobs are kept in the archive, which cannot be opened."),
                    storeError()});
    return false;
}

QString JobHooks::chosenPath(const QString& title, const QString& filter, bool save) {
    if (askPath) {
        return askPath(title, filter, save);
    }
    return save
               ? QFileDialog::getSaveFileName(&m_host.window(), title, m_host.workingDir(), filter)
               : QFileDialog::getOpenFileName(&m_host.window(), title, m_host.workingDir(), filter);
}

frmjob& JobHooks::jobWindowShown() {
    if (!m_job) {
        m_job = new frmjob(*m_desk, m_host, &m_host.window());
        connect(m_job, &frmjob::addSelectedRequested, this, &JobHooks::addSelectedSlots);
        connect(m_job, &frmjob::addFileRequested, this, [this] {
            const QString path =
                chosenPath(QStringLiteral("Add from Record File"),
                           QStringLiteral("Record files (*.dat);;All files (*)"), false);
            if (!path.isEmpty()) {
                addRecordFile(path);
            }
        });
        connect(m_job, &frmjob::reportRequested, this, &JobHooks::openReport);
    }
    showSecondaryWindow(*m_job, &m_host.window());
    return *m_job;
}

void JobHooks::newJob() {
    if (ready()) {
        jobWindowShown().startNew(m_desk->job());
    }
}

void JobHooks::openJobList() {
    if (!ready()) {
        return;
    }
    if (!m_list) {
        m_list = new frmjoblist(*m_store, &m_host.window());
        connect(m_list, &frmjoblist::jobChosen, this, &JobHooks::openJob);
    }
    m_list->reload();
    showSecondaryWindow(*m_list, &m_host.window());
}

bool JobHooks::openJob(const QString& id) {
    if (!ready()) {
        return false;
    }
    if (auto refused = m_desk->open(id)) {
        m_host.message({kTitle, QStringLiteral("The job cannot be opened."), *refused});
        return false;
    }
    jobWindowShown().showOpenJob();
    return true;
}

void JobHooks::editJob() {
    if (!ready()) {
        return;
    }
    if (!m_desk->hasJob()) {
        openJobList();  // no job is open yet: choose one
        return;
    }
    jobWindowShown().showOpenJob();
}

void JobHooks::addRecords(std::vector<inspection::JobItem> items, const QString& from) {
    const int count = static_cast<int>(items.size());
    if (auto refused = m_desk->addRecords(std::move(items), QString())) {
        m_host.message({kTitle, QStringLiteral("The records did not join the job."), *refused});
        return;
    }
    m_host.showStatus(QStringLiteral("%1 record(s) from %2 joined job %3 (version %4)")
                          .arg(count)
                          .arg(from, m_desk->job().id.left(8))
                          .arg(m_desk->job().version),
                      8000);
}

void JobHooks::addSelectedSlots() {
    if (!ready()) {
        return;
    }
    if (!m_desk->hasJob()) {
        m_host.message({kTitle, QStringLiteral("No job is open."),
                        QStringLiteral("Choose Job > New Job... or Job > Open Job... first.")});
        return;
    }
    if (const Refusal busy = m_session.changeRefused(); busy.refused()) {
        m_host.showStatus(busy.reason(), 6000);
        return;
    }
    QList<int> columns;
    QStringList empty;
    for (const int column : m_selectedColumns()) {
        if (m_session.isMarked(column)) {
            columns << column;
        } else {
            empty << QStringLiteral("Mem %1").arg(column + 1);
        }
    }
    if (columns.isEmpty()) {
        m_host.message({kTitle, QStringLiteral("No selected slot holds a record."),
                        QStringLiteral("Select slots marked \" *\" in \"Mem No\" first.")});
        return;
    }
    if (!empty.isEmpty()) {
        m_host.showStatus(
            QStringLiteral("No record in %1: left out").arg(empty.join(QStringLiteral(", "))),
            8000);
    }
    addRecords(itemsFromTable(m_session.store(), columns, m_session.currentFile()),
               QStringLiteral("the slot list"));
}

void JobHooks::addRecordFile(const QString& path) {
    if (!ready() || !m_desk->hasJob()) {
        return;
    }
    ChosenRecords chosen = itemsFromFile(m_session.profile(), path, std::nullopt);
    if (!chosen.error.isEmpty()) {
        m_host.message({kTitle, QStringLiteral("The records did not join the job."), chosen.error});
        return;
    }
    addRecords(std::move(chosen.items), QFileInfo(path).fileName());
}

void JobHooks::addKeptRecords(std::vector<inspection::JobItem> items) {
    if (!ready()) {
        return;
    }
    if (!m_desk->hasJob()) {
        m_host.message({kTitle, QStringLiteral("No job is open."),
                        QStringLiteral("Choose Job > New Job... or Job > Open Job... first.")});
        return;
    }
    addRecords(std::move(items), QStringLiteral("the archive"));
}

void JobHooks::openEquipment() {
    if (!ready()) {
        return;
    }
    if (!m_equipment) {
        m_equipment = new frmequipment(*m_store, m_host, &m_host.window());
        connect(m_equipment, &frmequipment::registerChanged, this, [this] {
            if (m_job && !m_job->isNew()) {
                m_job->showOpenJob();
            }
        });
    }
    m_equipment->reload();
    showSecondaryWindow(*m_equipment, &m_host.window());
}

void JobHooks::openReport() {
    if (!ready()) {
        return;
    }
    if (!m_desk->hasJob()) {
        m_host.message({kTitle, QStringLiteral("No job is open."),
                        QStringLiteral("Choose Job > Open Job... first.")});
        return;
    }
    QString error;
    const auto equipment = m_store->equipment(&error);
    const JobReportContent content =
        jobReportContent(m_session.profile(), m_desk->job(),
                         equipment.value_or(inspection::EquipmentRegister()), QDate::currentDate());
    delete m_report;
    m_report = new frmjobreport(content, suggestedReportPath(m_desk->job(), m_host.workingDir()),
                                &m_host.window());
    m_report->setAttribute(Qt::WA_DeleteOnClose);
    connect(m_report, &frmjobreport::reportRequested, this, &JobHooks::makeReport);
    showSecondaryWindow(*m_report, &m_host.window());
}

void JobHooks::makeReport(const QString& path, bool draft) {
    if (!ready() || !m_desk->hasJob() || m_reporting || path.isEmpty()) {
        return;
    }
    QString error;
    const auto equipment = m_store->equipment(&error);
    auto content = std::make_shared<JobReportContent>(jobReportContent(
        m_session.profile(), m_desk->job(), equipment.value_or(inspection::EquipmentRegister()),
        QDate::currentDate()));
    if (content->draft() && !draft) {
        m_host.message({kTitle, QStringLiteral("The job lacks mandatory items."),
                        content->missing.join(QStringLiteral(", "))});
        return;
    }
    ExportRequest request;
    request.format = ExportFormat::JobReport;
    request.title = inspection::jobTitle(m_desk->job());
    for (const inspection::JobItem& item : m_desk->job().items) {
        request.records.push_back(item.values);
    }
    request.jobReport = content;
    auto job = std::make_unique<ExportJob>(m_session.store(), std::move(request),
                                           QFileInfo(path).absoluteFilePath());
    if (!job->start()) {
        m_host.message({kTitle, QStringLiteral("The job report could not be written."),
                        QStringLiteral("%1: %2").arg(path, job->error())});
        emit reportFinished(false, path);
        return;
    }
    m_reporting = true;
    auto* running = new ExportProgress(std::move(job), m_host.window());
    connect(running, &ExportProgress::finished, this,
            [this, running](bool ok, const QString& written, const QString& why, bool stopped) {
                running->deleteLater();
                m_reporting = false;
                if (ok) {
                    m_host.showStatus(QStringLiteral("Job report written to %1").arg(written),
                                      10000);
                } else if (stopped) {
                    m_host.showStatus(
                        QStringLiteral("Job report stopped: %1 not written").arg(written), 10000);
                } else {
                    m_host.message({kTitle, QStringLiteral("The job report could not be written."),
                                    QStringLiteral("%1: %2").arg(written, why)});
                }
                emit reportFinished(ok, written);
            });
    running->start();
}

}  // namespace trellicap
