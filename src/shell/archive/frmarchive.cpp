#include "shell/archive/frmarchive.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDateEdit>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QSplitter>
#include <QTableView>
#include <QThread>
#include <QVBoxLayout>

#include "archive/archive_event.h"
#include "archive/kept_records.h"
#include "profiles/model_registry.h"
#include "record/profile_text.h"
#include "report/export_job.h"
#include "report/vector_report_document.h"
#include "session/job_records.h"
#include "session/session.h"
#include "shell/archive/archive_picture.h"
#include "shell/archive/archive_results_model.h"
#include "shell/archive/archive_scope.h"
#include "shell/common/window_host.h"
#include "shell/compare/archive_reference.h"
#include "storage/record_file_io.h"

namespace trellicap {

namespace {

constexpr int kSearchTypingPauseMs = 250;
constexpr int kPdfDpi = 300;
constexpr int kRowHeight = 40;

}  // namespace

frmarchive::frmarchive(Session& session, WindowHost& host,
                       std::function<void(const ReferenceTrace&)> showReference)
    : QWidget(&host.window(), Qt::Window),
      m_session(session),
      m_host(host),
      m_showReference(std::move(showReference)) {
    setObjectName(QStringLiteral("frmarchive"));
    setWindowTitle(QStringLiteral("Search archive"));
    // A connection of the worker's own: reading never waits for the keeper's writes (WAL),
    // and the window never waits for reading. A missing or unreadable archive shows as the
    // search's own reason.
    m_queries = new archive::ArchiveQueries(session.profile(), this);
    m_queries->useArchive(session.archivePath());
    m_model = new ArchiveResultsModel(session.profile(), *m_queries, this);
    connect(m_model, &ArchiveResultsModel::counted, this, [this](int found) {
        m_lblcount->setText(found == 1 ? QStringLiteral("1 record")
                                       : QStringLiteral("%1 records").arg(found));
    });
    connect(m_model, &ArchiveResultsModel::failed, this, &frmarchive::searchFailed);
    connect(m_queries, &archive::ArchiveQueries::previewRead, this,
            [this](int request, const archive::KeptPreview& preview) {
                if (request == m_previewRequest) {
                    m_previewRequest = 0;
                    showPreview(preview);
                }
            });
    connect(m_queries, &archive::ArchiveQueries::valuesRead, this,
            [this](int request, const std::vector<archive::KeptValues>& values) {
                const auto waiting = m_valueWaits.find(request);
                if (waiting != m_valueWaits.end()) {
                    const auto then = std::move(waiting->second);
                    m_valueWaits.erase(waiting);
                    then(values);
                }
            });
    connect(m_queries, &archive::ArchiveQueries::done, this, [this](int request) {
        const auto waiting = m_works.find(request);
        if (waiting != m_works.end()) {
            const auto then = std::move(waiting->second);
            m_works.erase(waiting);
            then();
        }
    });
    connect(
        m_queries, &archive::ArchiveQueries::failed, this,
        [this](int request, const QString& reason) {
            if (request == m_previewRequest) {
                m_previewRequest = 0;
                m_lblpreview->setText(QStringLiteral("The record cannot be read: %1").arg(reason));
            }
            const bool action = m_valueWaits.erase(request) + m_works.erase(request) > 0;
            if (action) {
                fail(QStringLiteral("The archive did not answer: %1.").arg(reason));
            }
        });

    buildFilters();
    m_table = new QTableView(this);
    m_table->setObjectName(QStringLiteral("tblarchive"));
    m_table->setModel(m_model);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_table->setSortingEnabled(false);  // the database sorts: the header only asks it to
    m_table->horizontalHeader()->setSortIndicatorShown(true);
    m_table->horizontalHeader()->setSectionsClickable(true);
    m_table->horizontalHeader()->setSortIndicator(1, Qt::DescendingOrder);
    m_table->verticalHeader()->setDefaultSectionSize(kRowHeight);
    m_table->verticalHeader()->hide();
    m_table->setIconSize(QSize(kRowHeight * 4 / 3, ArchiveResultsModel::kThumbnailHeight));
    // Room for what each column holds; the header texts take what is left.
    const std::pair<int, int> widths[] = {{0, 60}, {1, 190}, {2, 50}, {3, 45},
                                          {4, 90}, {5, 220}, {6, 60}, {7, 50}};
    for (const auto& [column, width] : widths) {
        m_table->setColumnWidth(column, width);
    }
    m_table->setWordWrap(false);
    connect(m_table->horizontalHeader(), &QHeaderView::sortIndicatorChanged, this,
            [this](int column, Qt::SortOrder order) {
                m_orderBy = ArchiveResultsModel::sortColumn(column);
                m_ascending = order == Qt::AscendingOrder;
                runSearch();
            });
    connect(m_table, &QTableView::doubleClicked, this, [this] { showInMainWindow(); });

    m_lblcount = new QLabel(this);
    m_lblcount->setObjectName(QStringLiteral("lblcount"));
    m_lblnote = new QLabel(this);
    m_lblnote->setObjectName(QStringLiteral("lblnote"));
    m_lblnote->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_picpreview = new QLabel(this);
    m_picpreview->setObjectName(QStringLiteral("picpreview"));
    m_picpreview->setMinimumSize(kPlotWidthTwips / 15, kPlotHeightTwips / 15);
    m_picpreview->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    m_lblpreview = new QLabel(this);
    m_lblpreview->setObjectName(QStringLiteral("lblpreview"));
    m_lblpreview->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_lblpreview->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    m_lblpreview->setWordWrap(true);

    m_cmdshow = new QPushButton(QStringLiteral("Show in main window"), this);
    m_cmdshow->setObjectName(QStringLiteral("cmdshow"));
    m_cmdexportdat = new QPushButton(QStringLiteral("Export record file..."), this);
    m_cmdexportdat->setObjectName(QStringLiteral("cmdexportdat"));
    m_cmdexportpdf = new QPushButton(QStringLiteral("Export PDF..."), this);
    m_cmdexportpdf->setObjectName(QStringLiteral("cmdexportpdf"));
    m_cmdexportcsv = new QPushButton(QStringLiteral("Export CSV..."), this);
    m_cmdexportcsv->setObjectName(QStringLiteral("cmdexportcsv"));
    m_cmdcompare = new QPushButton(QStringLiteral("Compare with"), this);
    m_cmdcompare->setObjectName(QStringLiteral("cmdcomparewith"));
    m_cmdcompare->setToolTip(QStringLiteral(
        "Draw this record behind the main window's trace, leaving its slots as they are"));
    m_cmdaddtojob = new QPushButton(QStringLiteral("Add to Job"), this);
    m_cmdaddtojob->setObjectName(QStringLiteral("cmdaddtojob"));
    m_cmdaddtojob->setToolTip(QStringLiteral("The chosen records join the job open in Job"));
    connect(m_cmdaddtojob, &QPushButton::clicked, this, [this] { addToJob(); });
    connect(m_cmdshow, &QPushButton::clicked, this, [this] { showInMainWindow(); });
    connect(m_cmdcompare, &QPushButton::clicked, this, [this] { compareInMainWindow(); });
    connect(m_cmdexportdat, &QPushButton::clicked, this, [this] {
        const QString path = pathFor(QStringLiteral("Record files (*.dat)"));
        if (!path.isEmpty()) {
            exportRecordFile(path);
        }
    });
    connect(m_cmdexportpdf, &QPushButton::clicked, this, [this] {
        const QString path = pathFor(QStringLiteral("PDF documents (*.pdf)"));
        if (!path.isEmpty()) {
            exportPdf(path);
        }
    });
    connect(m_cmdexportcsv, &QPushButton::clicked, this, [this] {
        const QString path = pathFor(QStringLiteral("CSV tables (*.csv)"));
        if (!path.isEmpty()) {
            exportCsv(path);
        }
    });
    connect(m_table->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &frmarchive::selectionChanged);
    connect(m_model, &QAbstractItemModel::modelReset, this, &frmarchive::selectionChanged);

    auto* preview = new QWidget(this);
    auto* previewLayout = new QVBoxLayout(preview);
    previewLayout->addWidget(m_picpreview);
    previewLayout->addWidget(m_lblpreview, 1);
    auto* split = new QSplitter(this);
    split->addWidget(m_table);
    split->addWidget(preview);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 1);

    auto* actions = new QHBoxLayout;
    actions->addWidget(m_lblcount);
    actions->addWidget(m_lblnote, 1);
    actions->addWidget(m_cmdshow);
    actions->addWidget(m_cmdcompare);
    actions->addWidget(m_cmdexportdat);
    actions->addWidget(m_cmdexportpdf);
    actions->addWidget(m_cmdexportcsv);
    actions->addWidget(m_cmdaddtojob);
    auto* layout = qobject_cast<QVBoxLayout*>(this->layout());
    layout->addWidget(split, 1);
    layout->addLayout(actions);

    m_typing.setSingleShot(true);
    m_typing.setInterval(kSearchTypingPauseMs);
    connect(&m_typing, &QTimer::timeout, this, &frmarchive::runSearch);
    resize(1300, 700);
    runSearch();
}

frmarchive::~frmarchive() {
    // The model reads through the worker: it goes first, the worker after it (a request
    // under way is cut, and waited for at most a second).
    delete m_model;
    m_model = nullptr;
}

void frmarchive::useLocal() {
    m_queries->useArchive(m_session.archivePath());
    m_model->setEngine(archive::Engine::Sqlite);
    runSearch();
}

void frmarchive::useServer(const archive::ServerAddress& address) {
    m_queries->useServer(address);
    m_model->setEngine(archive::Engine::Postgres);
    runSearch();
    m_lblcount->setText(
        QStringLiteral("Connecting to %1:%2 ...").arg(address.host).arg(address.port));
}

void frmarchive::searchFailed(const QString& reason) {
    if (m_scope->onServer()) {
        m_scope->fallBack(reason);  // searches this computer again
        return;
    }
    m_lblcount->setText(QStringLiteral("The archive cannot be read: %1").arg(reason));
}

bool frmarchive::settle(int ms) {
    const auto answered = [this] {
        return !m_model->waiting() && m_previewRequest == 0 && m_works.empty() &&
               m_valueWaits.empty();
    };
    const QDeadlineTimer deadline(ms);
    while (!answered() && !deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(1);
    }
    return answered();
}

void frmarchive::note(const QString& text) {
    m_lblnote->setText(text);
    m_lblnote->setToolTip(text);
}

void frmarchive::buildFilters() {
    const auto later = [this] { m_typing.start(); };
    m_chkfrom = new QCheckBox(QStringLiteral("From"), this);
    m_chkfrom->setObjectName(QStringLiteral("chkfrom"));
    m_dtfrom = new QDateEdit(QDate::currentDate().addMonths(-1), this);
    m_dtfrom->setObjectName(QStringLiteral("dtfrom"));
    m_dtfrom->setCalendarPopup(true);
    m_chkto = new QCheckBox(QStringLiteral("To"), this);
    m_chkto->setObjectName(QStringLiteral("chkto"));
    m_dtto = new QDateEdit(QDate::currentDate(), this);
    m_dtto->setObjectName(QStringLiteral("dtto"));
    m_dtto->setCalendarPopup(true);
    m_txtfind = new QLineEdit(this);
    m_txtfind->setObjectName(QStringLiteral("txtfind"));
    m_txtfind->setPlaceholderText(QStringLiteral("Operator, job, remark or record file name"));
    m_txtfind->setClearButtonEnabled(true);
    m_spnslot = new QSpinBox(this);
    m_spnslot->setObjectName(QStringLiteral("spnslot"));
    m_spnslot->setRange(0, kSlotCount);
    m_spnslot->setSpecialValueText(QStringLiteral("Any"));
    m_cbomodel = new QComboBox(this);
    m_cbomodel->setObjectName(QStringLiteral("cbomodel"));
    m_cbomodel->addItem(QStringLiteral("Any"), QString());
    for (const RegisteredModel& model : registeredModels()) {
        m_cbomodel->addItem(qs(model.name), qs(model.key));
    }
    m_cbosource = new QComboBox(this);
    m_cbosource->setObjectName(QStringLiteral("cbosource"));
    m_cbosource->addItem(QStringLiteral("Any"), QString());
    for (const QString& source : archive::sourceNames()) {
        m_cbosource->addItem(source, source);
    }
    m_chkversions = new QCheckBox(QStringLiteral("All versions"), this);
    m_chkversions->setObjectName(QStringLiteral("chkversions"));

    connect(m_txtfind, &QLineEdit::textChanged, this, later);
    connect(m_chkfrom, &QCheckBox::toggled, this, later);
    connect(m_chkto, &QCheckBox::toggled, this, later);
    connect(m_dtfrom, &QDateEdit::dateChanged, this, later);
    connect(m_dtto, &QDateEdit::dateChanged, this, later);
    connect(m_spnslot, &QSpinBox::valueChanged, this, later);
    connect(m_cbomodel, &QComboBox::currentIndexChanged, this, later);
    connect(m_cbosource, &QComboBox::currentIndexChanged, this, later);
    connect(m_chkversions, &QCheckBox::toggled, this, later);

    m_scope = new ArchiveScope(m_host.workingDir(), this);
    connect(m_scope, &ArchiveScope::localChosen, this, &frmarchive::useLocal);
    connect(m_scope, &ArchiveScope::serverChosen, this, &frmarchive::useServer);

    auto* row = new QHBoxLayout;
    row->addWidget(m_scope->combo());
    row->addWidget(m_scope->note());
    auto* find = new QLabel(QStringLiteral("Find"), this);
    find->setBuddy(m_txtfind);
    row->addWidget(find);
    row->addWidget(m_txtfind, 1);
    row->addWidget(m_chkfrom);
    row->addWidget(m_dtfrom);
    row->addWidget(m_chkto);
    row->addWidget(m_dtto);
    row->addWidget(new QLabel(QStringLiteral("Slot"), this));
    row->addWidget(m_spnslot);
    row->addWidget(new QLabel(QStringLiteral("Model"), this));
    row->addWidget(m_cbomodel);
    row->addWidget(new QLabel(QStringLiteral("Source"), this));
    row->addWidget(m_cbosource);
    row->addWidget(m_chkversions);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addLayout(buildJobFilters());
}

QHBoxLayout* frmarchive::buildJobFilters() {
    // The records of jobs: by the job's client, order or object, and the result there.
    m_txtfindjob = new QLineEdit(this);
    m_txtfindjob->setObjectName(QStringLiteral("txtfindjob"));
    m_txtfindjob->setPlaceholderText(QStringLiteral("Client, order or object of a job"));
    m_txtfindjob->setClearButtonEnabled(true);
    m_cboresult = new QComboBox(this);
    m_cboresult->setObjectName(QStringLiteral("cboresult"));
    m_cboresult->addItem(QStringLiteral("Any"), QString());
    for (const char* result :
         {"no indication", "below recording level", "acceptable", "reject", "outside DAC"}) {
        m_cboresult->addItem(QString::fromLatin1(result), QString::fromLatin1(result));
    }
    connect(m_txtfindjob, &QLineEdit::textChanged, this, [this] { m_typing.start(); });
    connect(m_cboresult, &QComboBox::currentIndexChanged, this, [this] { m_typing.start(); });
    auto* row = new QHBoxLayout;
    auto* label = new QLabel(QStringLiteral("Job"), this);
    label->setBuddy(m_txtfindjob);
    row->addWidget(label);
    row->addWidget(m_txtfindjob, 1);
    row->addWidget(new QLabel(QStringLiteral("Result in the job"), this));
    row->addWidget(m_cboresult);
    row->addStretch(1);
    return row;
}

archive::SearchFilter frmarchive::filter() const {
    archive::SearchFilter filter;
    if (m_chkfrom->isChecked()) {
        filter.fromMs = m_dtfrom->date().startOfDay().toMSecsSinceEpoch();
    }
    if (m_chkto->isChecked()) {
        filter.toMs = m_dtto->date().addDays(1).startOfDay().toMSecsSinceEpoch();
    }
    filter.text = m_txtfind->text().trimmed();
    if (m_spnslot->value() > 0) {
        filter.slot = m_spnslot->value();
    }
    filter.model = m_cbomodel->currentData().toString();
    filter.source = m_cbosource->currentData().toString();
    filter.allVersions = m_chkversions->isChecked();
    filter.job = m_txtfindjob->text().trimmed();
    filter.result = m_cboresult->currentData().toString();
    return filter;
}

void frmarchive::runSearch() {
    m_typing.stop();
    // The count arrives through the model's counted(); until then the label says so.
    m_lblcount->setText(QStringLiteral("Searching ..."));
    m_model->search(filter(), m_orderBy, m_ascending);
}

QList<int> frmarchive::selectedRows() const {
    QList<int> rows;
    for (const QModelIndex& index : m_table->selectionModel()->selectedRows()) {
        rows.append(index.row());
    }
    std::sort(rows.begin(), rows.end());
    return rows;
}

void frmarchive::selectionChanged() {
    const QList<int> rows = selectedRows();
    m_cmdshow->setEnabled(rows.size() == 1);
    m_cmdcompare->setEnabled(rows.size() == 1);
    m_cmdexportdat->setEnabled(!rows.isEmpty());
    m_cmdexportpdf->setEnabled(!rows.isEmpty());
    m_cmdexportcsv->setEnabled(!rows.isEmpty());
    m_cmdaddtojob->setEnabled(!rows.isEmpty() && static_cast<bool>(addRecordsToJob));
    m_picpreview->clear();
    m_lblpreview->clear();
    m_previewRequest = 0;  // an earlier row's preview is left aside when it comes
    if (rows.size() != 1) {
        return;
    }
    const int row = rows.front();
    m_previewRequest = m_queries->preview(m_model->uuid(row), m_model->version(row));
}

void frmarchive::showPreview(const archive::KeptPreview& preview) {
    const archive::KeptVersion& kept = preview.version;
    m_picpreview->setPixmap(
        QPixmap::fromImage(keptPicture(m_session.profile(), preview.values, 96.0)));
    QStringList lines;
    lines << QStringLiteral("Mem %1, %2, version %3")
                 .arg(kept.slot)
                 .arg(kept.model.toUpper())
                 .arg(kept.version);
    lines << QStringLiteral("Arrived %1 (%2)").arg(kept.arrived, kept.source);
    if (!kept.path.isEmpty()) {
        lines << QStringLiteral("From %1").arg(kept.path);
    }
    if (const QString stored = kept.timeDate.trimmed(); !stored.isEmpty()) {
        lines << QStringLiteral("Stored on the instrument %1").arg(stored);
    }
    lines << QStringLiteral("RANGE %1, DELAY %2, gain %3 dB, GATE 1 %4, GATE 2 %5")
                 .arg(kept.range, kept.delay, kept.gain, kept.gate1, kept.gate2);
    for (const auto& [name, text] : kept.header) {
        if (!text.isEmpty()) {
            lines << text;
        }
    }
    for (const QString& path : kept.savedIn) {
        lines << QStringLiteral("Saved in %1").arg(path);
    }
    if (!preview.refusal.isEmpty()) {
        lines << preview.refusal;
    }
    m_lblpreview->setText(lines.join(QLatin1Char('\n')));
}

bool frmarchive::ask(const QString& question) {
    if (confirm) {
        return confirm(question);
    }
    return QMessageBox::question(this, QStringLiteral("Search archive"), question) ==
           QMessageBox::Yes;
}

QString frmarchive::pathFor(const QString& filter) {
    if (askPath) {
        return askPath(filter);
    }
    return QFileDialog::getSaveFileName(this, QStringLiteral("Export"), m_host.workingDir(),
                                        filter);
}

void frmarchive::fail(const QString& text) {
    m_host.message({QStringLiteral("Search archive"), text});
}

bool frmarchive::withValuesOfChosen(std::function<void(int row, const archive::KeptValues&)> then) {
    const QList<int> rows = selectedRows();
    if (rows.size() != 1) {
        return false;
    }
    const int row = rows.front();
    const QString uuid = m_model->uuid(row);
    const int version = m_model->version(row);
    const int request = m_queries->values({{uuid, version}});
    m_valueWaits[request] = [this, row, uuid, version,
                             then = std::move(then)](const std::vector<archive::KeptValues>& read) {
        // The table may have been searched again meanwhile: the row is found again by its key.
        if (read.size() != 1 || m_model->uuid(row) != uuid || m_model->version(row) != version) {
            fail(QStringLiteral("Record %1 v%2 is no longer in the list.")
                     .arg(uuid.left(8))
                     .arg(version));
            return;
        }
        then(row, read.front());
    };
    return true;
}

bool frmarchive::showInMainWindow() {
    const QList<int> rows = selectedRows();
    if (rows.size() != 1) {
        return false;
    }
    const int row = rows.front();
    const QString ownModel = qs(m_session.profile().modelKey);
    if (m_model->model(row) != ownModel) {
        fail(QStringLiteral("This record is of the %1 model; this program shows %2 records.")
                 .arg(m_model->model(row).toUpper(), ownModel.toUpper()));
        return false;
    }
    // A frame on its way, or a record that names no slot: said before anything is asked.
    if (const Refusal refusal = m_session.changeRefused(); refusal.refused()) {
        fail(refusal.reason());
        return false;
    }
    const int slot = m_model->slot(row);
    if (slot < 1 || slot > kSlotCount) {
        fail(QStringLiteral("Record %1 v%2 names slot %3; the slots are 1 to %4.")
                 .arg(m_model->uuid(row).left(8))
                 .arg(m_model->version(row))
                 .arg(slot)
                 .arg(kSlotCount));
        return false;
    }
    return withValuesOfChosen(
        [this](int chosen, const archive::KeptValues& values) { showValues(chosen, values); });
}

void frmarchive::showValues(int row, const archive::KeptValues& values) {
    if (!values.refusal.isEmpty()) {
        // A record of this model refused all the same (a slot outside 1..200, the wrong
        // count of values): the archive's reason names it.
        fail(values.refusal);
        return;
    }
    const int column = m_model->slot(row) - 1;
    if (const Refusal refusal = m_session.changeRefused(); refusal.refused()) {
        fail(refusal.reason());
        return;
    }
    if (m_session.holdsOtherRecord(column, values.values) &&
        !ask(QStringLiteral("Mem %1 holds a record. Replace it with the record from the archive?")
                 .arg(column + 1))) {
        return;
    }
    if (const Refusal refusal =
            m_session.restoreRecord(column, values.values, values.uuid, values.version);
        refusal.refused()) {
        fail(QStringLiteral("Record %1 v%2 was not filed: %3")
                 .arg(values.uuid.left(8))
                 .arg(values.version)
                 .arg(refusal.reason()));
        return;
    }
    (void)m_session.recall(column);
    m_host.bringToFront();
}

bool frmarchive::compareInMainWindow() {
    // The version in the row chosen (with "all versions" an older one may be), read from the
    // database this window shows: this computer's archive or the team server.
    return withValuesOfChosen(
        [this](int row, const archive::KeptValues& values) { compareValues(row, values); });
}

void frmarchive::compareValues(int row, const archive::KeptValues& values) {
    if (values.values.empty()) {
        fail(QStringLiteral("This record cannot be compared: it is of the %1 model, or its "
                            "values are missing.")
                 .arg(m_model->model(row).toUpper()));
        return;
    }
    m_showReference(referenceFromRecord(m_session.profile(),
                                        archiveReferenceName(m_model->kept(row)), values.values));
    m_host.bringToFront();
}

QStringList frmarchive::selectedUuids(QString* error) const {
    QStringList uuids;
    for (const int row : selectedRows()) {
        if (!uuids.contains(m_model->uuid(row))) {
            uuids.append(m_model->uuid(row));
        }
    }
    if (uuids.isEmpty()) {
        *error = QStringLiteral("Choose the records to export first.");
    }
    return uuids;
}

void frmarchive::afterWork(const QString& what, archive::ArchiveQueries::Reading work,
                           std::function<void()> then) {
    note(what);
    m_works[m_queries->work(std::move(work))] = std::move(then);
}

bool frmarchive::exportRecordFile(const QString& path) {
    return exportChosen(path, Export::RecordFile);
}

bool frmarchive::exportPdf(const QString& path) {
    return exportChosen(path, Export::Pdf);
}

bool frmarchive::exportCsv(const QString& path) {
    return exportChosen(path, Export::Csv);
}

bool frmarchive::exportChosen(const QString& path, Export kind) {
    QString error;
    const QStringList uuids = selectedUuids(&error);
    if (uuids.isEmpty()) {
        fail(error);
        return false;
    }
    // Read by the worker into a table of its own; written here once it has come.
    auto store = std::make_shared<RecordStore>(m_session.profile());
    auto table = std::make_shared<KeptTable>();
    afterWork(
        tr("Reading %n record(s) ...", nullptr, static_cast<int>(uuids.size())),
        [uuids, store, table](QSqlDatabase& db, QString*) {
            *table = tableFromKept(db, uuids, *store);
        },
        [this, path, kind, store, table] {
            if (!table->error.isEmpty()) {
                note({});
                fail(QStringLiteral("%1 was not written: %2.").arg(path, table->error));
                return;
            }
            writeExport(path, kind, *store, table->filled);
        });
    return true;
}

void frmarchive::writeExport(const QString& path, Export kind, const RecordStore& store,
                             const std::vector<int>& filled) {
    if (kind == Export::RecordFile) {
        if (const auto failed = saveRecordFile(path, store)) {
            note({});
            fail(QStringLiteral("The record file %1 was not written: %2").arg(path, *failed));
            return;
        }
    } else {
        ExportRequest request;
        request.slotNumbers = filled;
        request.marked.fill(true);  // every record exported holds a record
        if (kind == Export::Pdf) {
            request.format = ExportFormat::VectorPdf;
            request.title = vectorReportTitle(QStringLiteral("Archive"),
                                              QList<int>(filled.begin(), filled.end()));
        } else {
            request.format = ExportFormat::Csv;
        }
        // Written aside and renamed into place, so a failure leaves an earlier file as it was.
        ExportJob job(store, std::move(request), path);
        if (!job.run()) {
            note({});
            fail(QStringLiteral("The %1 %2 was not written: %3.")
                     .arg(kind == Export::Pdf ? QStringLiteral("PDF") : QStringLiteral("CSV table"),
                          path, job.error()));
            return;
        }
    }
    note(tr("Wrote %n record(s) to %1", nullptr, static_cast<int>(filled.size()))
             .arg(QDir::toNativeSeparators(path)));
}

bool frmarchive::addToJob() {
    QString error;
    const QStringList uuids = selectedUuids(&error);
    if (uuids.isEmpty() || !addRecordsToJob) {
        return false;
    }
    auto chosen = std::make_shared<ChosenRecords>();
    const ModelProfile* profile = &m_session.profile();
    afterWork(
        tr("Reading %n record(s) ...", nullptr, static_cast<int>(uuids.size())),
        [uuids, chosen, profile](QSqlDatabase& db, QString*) {
            *chosen = itemsFromArchive(db, *profile, uuids);
        },
        [this, chosen] {
            note({});
            if (!chosen->error.isEmpty()) {
                fail(QStringLiteral("The records did not join the job: %1.").arg(chosen->error));
                return;
            }
            if (addRecordsToJob) {
                addRecordsToJob(std::move(chosen->items));
            }
        });
    return true;
}

}  // namespace trellicap
