#include "shell/job/frmjob.h"

#include <QDate>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QJsonDocument>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScrollArea>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include "inspection/job_completeness.h"
#include "inspection/job_json.h"
#include "report/job_report_content.h"
#include "session/job_desk.h"
#include "session/job_records.h"
#include "shell/common/window_host.h"
#include "shell/job/form_fields.h"
#include "shell/job/json_form.h"
#include "shell/job/record_dialogs.h"

namespace trellicap {

namespace {

QPushButton* button(QWidget* parent, const char* name, const QString& text) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    return b;
}

}  // namespace

frmjob::frmjob(JobDesk& desk, WindowHost& host, QWidget* parent)
    : QWidget(parent, Qt::Window), m_desk(desk), m_host(host) {
    setObjectName(QStringLiteral("frmjob"));
    m_title = new QLabel(this);
    m_title->setObjectName(QStringLiteral("lbljobtitle"));
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("lbljobstatus"));
    m_status->setWordWrap(true);
    m_status->setTextInteractionFlags(Qt::TextSelectableByMouse);

    m_form = new JsonForm(kJobFields, this);
    auto* scroll = new QScrollArea(this);
    scroll->setWidget(m_form);
    scroll->setWidgetResizable(true);
    m_save = button(this, "cmdsavejob", QStringLiteral("Save"));
    m_save->setDefault(true);
    connect(m_save, &QPushButton::clicked, this, &frmjob::save);
    auto* detailsPage = new QWidget(this);
    auto* details = new QVBoxLayout(detailsPage);
    details->addWidget(scroll, 1);
    details->addWidget(m_save, 0, Qt::AlignRight);

    m_records = new QTableWidget(this);
    m_records->setObjectName(QStringLiteral("tbljobrecords"));
    m_records->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_records->setSelectionMode(QAbstractItemView::SingleSelection);
    m_records->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_records->verticalHeader()->hide();
    auto* recordButtons = new QHBoxLayout;
    const std::pair<const char*, QString> actions[] = {
        {"cmdjobaddslots", QStringLiteral("Add Selected Slots")},
        {"cmdjobaddfile", QStringLiteral("Add from Record File...")},
        {"cmdjobnotes", QStringLiteral("Notes...")},
        {"cmdjobresult", QStringLiteral("Set Result...")},
        {"cmdjobremove", QStringLiteral("Take Out")}};
    for (const auto& [name, text] : actions) {
        m_recordButtons << button(this, name, text);
        recordButtons->addWidget(m_recordButtons.back());
    }
    recordButtons->addStretch(1);
    connect(m_recordButtons[0], &QPushButton::clicked, this, &frmjob::addSelectedRequested);
    connect(m_recordButtons[1], &QPushButton::clicked, this, &frmjob::addFileRequested);
    connect(m_recordButtons[2], &QPushButton::clicked, this, &frmjob::askNotes);
    connect(m_recordButtons[3], &QPushButton::clicked, this, &frmjob::askResult);
    connect(m_recordButtons[4], &QPushButton::clicked, this, &frmjob::takeOut);
    connect(m_records, &QTableWidget::cellDoubleClicked, this, &frmjob::askNotes);
    auto* recordsPage = new QWidget(this);
    auto* recordsLayout = new QVBoxLayout(recordsPage);
    recordsLayout->addWidget(m_records, 1);
    recordsLayout->addLayout(recordButtons);

    m_history = new QListWidget(this);
    m_history->setObjectName(QStringLiteral("lstjobhistory"));

    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("tabjob"));
    m_tabs->addTab(detailsPage, QStringLiteral("Job"));
    m_tabs->addTab(recordsPage, QStringLiteral("Records"));
    m_tabs->addTab(m_history, QStringLiteral("History"));

    auto* report = button(this, "cmdjobreport", QStringLiteral("Job Report..."));
    connect(report, &QPushButton::clicked, this, &frmjob::reportRequested);
    auto* close = button(this, "cmdclose", QStringLiteral("Close"));
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(report);
    bottom->addStretch(1);
    bottom->addWidget(close);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_title);
    layout->addWidget(m_status);
    layout->addWidget(m_tabs, 1);
    layout->addLayout(bottom);
    resize(900, 680);
    connect(&m_desk, &JobDesk::jobChanged, this, [this] {
        if (!m_new) {
            refresh();
        }
    });
}

inspection::EquipmentRegister frmjob::currentRegister() const {
    QString error;
    auto equipment = m_desk.store().equipment(&error);
    return equipment ? std::move(*equipment) : inspection::EquipmentRegister();
}

void frmjob::offerRegister() {
    QStringList instruments;
    QStringList probes;
    QStringList blocks;
    QStringList couplants;
    const inspection::EquipmentRegister equipment = currentRegister();
    for (const inspection::EquipmentItem& item : equipment.items()) {
        const QString key = inspection::itemKey(item.data);
        switch (inspection::kindOf(item.data)) {
            case inspection::ItemKind::Instrument:
                instruments << key;
                break;
            case inspection::ItemKind::Probe:
                probes << key;
                break;
            case inspection::ItemKind::Block:
                blocks << key;
                break;
            case inspection::ItemKind::Couplant:
                couplants << key;
                break;
            case inspection::ItemKind::DailyCheck:
                break;
        }
    }
    m_form->setChoices(QStringLiteral("instrument.serial"), instruments);
    m_form->setChoices(QStringLiteral("probe.serial"), probes);
    m_form->setChoices(QStringLiteral("block.id"), blocks);
    m_form->setChoices(QStringLiteral("couplant"), couplants);
}

void frmjob::startNew(const inspection::Job& start) {
    m_new = true;
    offerRegister();
    inspection::Job blank;
    copyDetails(blank, start);
    blank.object.clear();
    blank.dateFrom.reset();
    blank.dateTo.reset();
    blank.reference.values.clear();
    m_form->setValue(inspection::jobJson(blank));
    setWindowTitle(QStringLiteral("New Job"));
    m_title->setText(QStringLiteral("New job: fill in what you know and press Save."));
    m_tabs->setCurrentIndex(0);
    refresh();
}

void frmjob::showOpenJob() {
    m_new = false;
    offerRegister();
    m_form->setValue(inspection::jobJson(m_desk.job()));
    refresh();
}

void frmjob::refresh() {
    const bool open = !m_new && m_desk.hasJob();
    if (open) {
        setWindowTitle(QStringLiteral("Job %1").arg(inspection::jobTitle(m_desk.job())));
        m_title->setText(QStringLiteral("%1 - job %2, version %3")
                             .arg(inspection::jobTitle(m_desk.job()), m_desk.job().id.left(8))
                             .arg(m_desk.job().version));
    }
    for (QPushButton* b : m_recordButtons) {
        b->setEnabled(open);
    }
    fillRecords();
    fillStatus();
    m_history->clear();
    if (open) {
        for (const inspection::JobChange& change : m_desk.job().history) {
            m_history->addItem(QStringLiteral("Version %1, %2, %3: %4")
                                   .arg(change.version)
                                   .arg(change.at, change.by, change.what));
        }
    }
}

void frmjob::fillRecords() {
    const inspection::Job& job = m_desk.job();
    const JobReportContent content = jobReportContent(
        m_desk.profile(), job, inspection::EquipmentRegister(), QDate::currentDate());
    m_records->clear();
    m_records->setColumnCount(static_cast<int>(content.indicationHeader.size()));
    m_records->setHorizontalHeaderLabels(content.indicationHeader);
    const int rows = m_new ? 0 : static_cast<int>(content.indications.size());
    m_records->setRowCount(rows);
    for (int r = 0; r < rows; ++r) {
        const QStringList& cells = content.indications[static_cast<std::size_t>(r)];
        for (int c = 0; c < cells.size(); ++c) {
            auto* cell = new QTableWidgetItem(cells[c]);
            const auto& notes = m_desk.evaluation().records[static_cast<std::size_t>(r)].notes;
            if (!notes.isEmpty()) {
                cell->setToolTip(notes.join(QLatin1Char('\n')));
            }
            m_records->setItem(r, c, cell);
        }
    }
    m_records->resizeColumnsToContents();
}

void frmjob::fillStatus() {
    if (m_new || !m_desk.hasJob()) {
        m_status->clear();
        return;
    }
    const inspection::Job& job = m_desk.job();
    QStringList lines;
    const QStringList missing = inspection::missingItems(job, m_desk.evaluation().reference);
    lines << (missing.isEmpty() ? QStringLiteral("Every mandatory item is filled in.")
                                : QStringLiteral("Missing for the report: %1.")
                                      .arg(missing.join(QStringLiteral(", "))));
    for (const QString& warning : inspection::equipmentWarnings(
             currentRegister(), inspection::equipmentUse(job),
             inspection::daysOfUse(job.dateFrom, job.dateTo, QDate::currentDate()))) {
        lines << QStringLiteral("Warning: %1.").arg(warning);
    }
    const inspection::JobSummary& summary = m_desk.evaluation().summary;
    lines << QStringLiteral("%1 record(s), %2 recorded, %3 rejected: %4.")
                 .arg(summary.records)
                 .arg(summary.recorded)
                 .arg(summary.rejected)
                 .arg(summary.overall);
    m_status->setText(lines.join(QLatin1Char('\n')));
}

void frmjob::failed(const QString& what, const QString& reason) {
    m_host.message({QStringLiteral("Job"), what, reason});
}

bool frmjob::save() {
    inspection::JobRead read = inspection::readJob(QJsonDocument(m_form->value()).toJson());
    if (!read.errors.isEmpty()) {
        failed(QStringLiteral("The job was not saved: a box holds what it cannot take."),
               m_form->labelled(read.errors).join(QLatin1Char('\n')));
        return false;
    }
    inspection::Job details = inspection::withRegisterDetails(read.job, currentRegister());
    if (auto error =
            loadReferenceRecord(details.reference, m_desk.profile(), m_host.workingDir())) {
        failed(QStringLiteral("The job was not saved: its reference record cannot be read."),
               *error);
        return false;
    }
    const auto refused =
        m_new ? m_desk.create(details, QString()) : m_desk.editDetails(details, QString());
    if (refused) {
        failed(QStringLiteral("The job was not saved."), *refused);
        return false;
    }
    m_new = false;
    showOpenJob();
    m_host.showStatus(QStringLiteral("Job %1 saved as version %2")
                          .arg(m_desk.job().id.left(8))
                          .arg(m_desk.job().version),
                      6000);
    return true;
}

std::optional<int> frmjob::chosenRecord() const {
    const int row = m_records->currentRow();
    if (row < 0 || row >= static_cast<int>(m_desk.job().items.size())) {
        return std::nullopt;
    }
    return m_desk.job().items[static_cast<std::size_t>(row)].item;
}

void frmjob::askNotes() {
    const auto item = chosenRecord();
    if (!item) {
        m_host.showStatus(QStringLiteral("Choose a record of the job first"), 4000);
        return;
    }
    auto* dialog = new NotesDialog(*inspection::findItem(m_desk.job(), *item), this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QDialog::accepted, this, [this, dialog, item] {
        bool ok = false;
        const auto length = dialog->length(&ok);
        if (!ok) {
            failed(QStringLiteral("The notes were not kept."),
                   QStringLiteral("The length must be a number of millimetres."));
            return;
        }
        if (auto refused = m_desk.setNotes(*item, length, dialog->position(), QString())) {
            failed(QStringLiteral("The notes were not kept."), *refused);
        }
    });
    dialog->open();
}

void frmjob::askResult() {
    const auto item = chosenRecord();
    if (!item) {
        m_host.showStatus(QStringLiteral("Choose a record of the job first"), 4000);
        return;
    }
    const std::size_t index = static_cast<std::size_t>(m_records->currentRow());
    auto* dialog =
        new ResultDialog(*inspection::findItem(m_desk.job(), *item),
                         m_desk.evaluation().records[index].computed, m_desk.defaultAuthor(), this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QDialog::accepted, this, [this, dialog, item] {
        if (auto refused =
                m_desk.overrideResult(*item, dialog->result(), dialog->reason(), dialog->by())) {
            failed(QStringLiteral("The result was not set."), *refused);
        }
    });
    dialog->open();
}

void frmjob::takeOut() {
    const auto item = chosenRecord();
    if (!item) {
        m_host.showStatus(QStringLiteral("Choose a record of the job first"), 4000);
        return;
    }
    const QString name = inspection::itemName(*inspection::findItem(m_desk.job(), *item));
    const Answer answer =
        m_host.ask({{QStringLiteral("Job"),
                     QStringLiteral("Take record %1 (%2) out of the job?").arg(*item).arg(name),
                     QStringLiteral("The job's earlier versions keep it."), false},
                    {Answer::TakeOut, Answer::Cancel},
                    Answer::Cancel,
                    Answer::Cancel});
    if (answer != Answer::TakeOut) {
        return;
    }
    if (auto refused = m_desk.removeRecord(*item, QString())) {
        failed(QStringLiteral("The record was not taken out."), *refused);
    }
}

}  // namespace trellicap
